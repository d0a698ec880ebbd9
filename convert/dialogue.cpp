#include "convert/dialogue.hpp"

#include "textio/textio.hpp"

namespace convert {

namespace {

// One line of standard input into the field, cut or blank-padded to its
// length. The end of the answers ends the run.
void read_answer(std::span<char> field) { textio::read_required(textio::stdin_unit, "(a)", field); }

void put_question(std::string_view question) { textio::write(textio::stdout_unit, "(a,/,a)", question, " ? "); }

}  // namespace

void ask(std::string_view question, std::span<char> answer) {
    put_question(question);
    read_answer(answer);
}

void ask(std::string_view question, FileName& answer) {
    put_question(question);
    textio::read_answer(answer);
}

void refuse_if_blank(int unit, std::string_view name) {
    if (textio::shown_name(name).empty()) throw textio::Failure(unit, "", 0, "blank file name");
}

}  // namespace convert
