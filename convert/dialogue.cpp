#include "convert/dialogue.hpp"

#include "textio/textio.hpp"

#include <cerrno>
#include <string>
#include <utility>

namespace convert {

void read_answer(std::span<char> field) { textio::read_required(textio::stdin_unit, "(a)", field); }

namespace {

void put_question(std::string_view question) { textio::write(textio::stdout_unit, "(a,/,a)", question, " ? "); }

// A blank name is told in words of its own.
[[noreturn]] void fail_open(int unit, std::string shown, int status, std::size_t columns = 0) {
    if (shown.empty()) throw textio::Failure(unit, shown, 0, "blank file name");
    textio::fail_open(unit, std::move(shown), status, columns);
}

}  // namespace

void ask(std::string_view question, std::span<char> answer) {
    put_question(question);
    read_answer(answer);
}

void ask(std::string_view question, FileName& answer) {
    put_question(question);
    textio::read_answer(answer);
}

void open_file(int unit, std::span<const char> name, textio::Access access) {
    const std::string_view text(name.data(), name.size());
    if (const textio::OpenResult r = textio::open(unit, text, access); !r)
        fail_open(unit, textio::shown_name(text), r.status);
}

void open_file(int unit, const FileName& name, textio::Access access) {
    if (const textio::OpenResult r = textio::open(unit, name, access); !r)
        fail_open(unit, textio::shown_name(name), r.status, name.cut ? name.field.size() : 0);
}

}  // namespace convert
