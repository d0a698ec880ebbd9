// The editor's question-and-answer conventions: question lines, the prompt
// line, word and number answers, and the success line.
#pragma once

#include "textio/textio.hpp"

#include <initializer_list>
#include <span>
#include <string_view>

namespace gridedit {

// Each line with "(a)", then the prompt line.
void ask(std::initializer_list<std::string_view> lines);
// A two-line question written with "(a,/,a)", then the prompt line.
void ask2(std::string_view first, std::string_view second);
void prompt();
void ok_line();

// One record into the blanked field. The end of the answers ends the run.
void read_word(std::span<char> field);

// True when the field is word followed by blanks.
bool is_word(std::span<const char> field, std::string_view word);

// The question, asked again until its numbers can be read.
template <class... T>
void ask_numbers(std::initializer_list<std::string_view> lines, T&... v) {
    do ask(lines);
    while (!textio::read_answer_numbers(v...));
}

}  // namespace gridedit
