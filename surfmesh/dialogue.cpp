#include "dialogue.hpp"

#include <algorithm>

namespace surfmesh {

using textio::stdout_unit;

void empty_line() { textio::write_list(stdout_unit); }

void say(std::string_view line) { textio::write(stdout_unit, "(a)", line); }

void prompt(std::string_view question) { textio::write(stdout_unit, "(a,$)", question); }

void ask(std::string_view question) {
    empty_line();
    prompt(question);
}

void menu(std::initializer_list<std::string_view> lines, std::string_view question) {
    for (std::string_view l : lines) say(l);
    prompt(question);
}

bool accept_or_refuse(bool in_range) {
    if (!in_range) textio::fail_and_go_on();
    return in_range;
}

void read_text(std::span<char> field) {
    std::fill(field.begin(), field.end(), ' ');
    textio::read_required(textio::stdin_unit, "(a)", field);
}

}  // namespace surfmesh
