// What the three converters share of their dialogue: questions, whole-line
// answers, and opens of existing-or-new files that end the run on failure.
#pragma once

#include <span>
#include <string_view>

namespace convert {

// One line of standard input into the field, cut or blank-padded to its
// length. The end of the answers ends the run.
void read_answer(std::span<char> field);

// The question on its line and " ? " on the next, written with "(a,/,a)",
// then its answer.
void ask(std::string_view question, std::span<char> answer);

// Opens the file named by the field (leading and trailing blanks dropped)
// on unit, creating it empty when missing. A blank name, a name already
// open on another unit or any other refusal ends the run naming the file.
void open_file(int unit, std::span<const char> name);

}  // namespace convert
