// surfmesh's questions: an empty line, then the question with the answer
// typed on the same line; numbers in free format, asked again when they
// cannot be read. An answer asked again is refused: the run ends with
// status 1.
#pragma once

#include "textio/textio.hpp"

#include <initializer_list>
#include <span>
#include <string_view>

namespace surfmesh {

void empty_line();
void say(std::string_view line);              // one line under "(a)"
void prompt(std::string_view question);       // under "(a,$)"
void ask(std::string_view question);          // empty line, then the prompt

// Lines under "(a)" and the last one as the prompt.
void menu(std::initializer_list<std::string_view> lines, std::string_view question);

// One answer line into the blank-padded field. The end of the answers ends the run.
void read_text(std::span<char> field);

// Gives back whether an answer that could be read lies in range; one that
// does not is asked again, and the run has failed (fail_and_go_on).
bool accept_or_refuse(bool in_range);

// ask, until the numbers can be read.
template <class... T>
void ask_numbers(std::string_view question, T&... v) {
    do ask(question);
    while (!textio::read_answer_numbers(v...));
}

}  // namespace surfmesh
