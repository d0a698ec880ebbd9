// What the three converters share of their dialogue: questions, whole-line
// answers, and opens of files that end the run on failure.
#pragma once

#include "textio/answers.hpp"
#include "textio/units.hpp"

#include <span>
#include <string_view>

namespace convert {

// The file names of gridplot and meshdump; runplan's fields are wide
// enough to hold any name whole.
inline constexpr std::size_t name_columns = 80;
using FileName = textio::NameAnswer<name_columns>;

// One line of standard input into the field, cut or blank-padded to its
// length. The end of the answers ends the run.
void read_answer(std::span<char> field);

// The question on its line and " ? " on the next, written with "(a,/,a)",
// then its answer.
void ask(std::string_view question, std::span<char> answer);
void ask(std::string_view question, FileName& answer);

// Opens the file named by the field (leading and trailing blanks dropped)
// on unit: an input as existing, so that a mistyped name is refused rather
// than read as an empty file; an output as existing-or-new. A blank name, a
// name already open on another unit or any other refusal ends the run
// naming the file, as does a name cut at its field (shown with "...").
void open_file(int unit, std::span<const char> name, textio::Access access);
void open_file(int unit, const FileName& name, textio::Access access);

}  // namespace convert
