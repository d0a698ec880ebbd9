#include "dialogue.hpp"

#include "lib/strings.hpp"

namespace gridedit {

void prompt() { textio::write(textio::stdout_unit, "(a)", " ? "); }

void ask(std::initializer_list<std::string_view> lines) {
    for (std::string_view l : lines) textio::write(textio::stdout_unit, "(a)", l);
    prompt();
}

void ask2(std::string_view first, std::string_view second) {
    textio::write(textio::stdout_unit, "(a,/,a)", first, second);
    prompt();
}

void ok_line() { textio::write(textio::stdout_unit, "(a)", " ***********************************  OK"); }

void read_word(std::span<char> field) {
    geom::blank(field, static_cast<int>(field.size()));
    textio::Result r = textio::read(textio::stdin_unit, "(a)", field);
    if (r.status == textio::Status::end) throw textio::failure_from(r);
}

bool is_word(std::span<const char> field, std::string_view word) {
    if (word.size() > field.size()) return false;
    for (std::size_t k = 0; k < field.size(); ++k)
        if (field[k] != (k < word.size() ? word[k] : ' ')) return false;
    return true;
}

}  // namespace gridedit
