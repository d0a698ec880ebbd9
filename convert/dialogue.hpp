// What the three converters share of their dialogue: questions, whole-line
// answers, and opens of files that end the run on failure.
#pragma once

#include "textio/answers.hpp"
#include "textio/units.hpp"

#include <cstddef>
#include <span>
#include <string_view>

namespace convert {

// The file names of gridplot and meshdump, in fields of 80 columns;
// runplan's fields are 256 columns wide. A name that fits its field is
// opened whole; one typed past it is refused, never opened cut.
inline constexpr std::size_t name_columns = 80;
using FileName = textio::NameAnswer<name_columns>;

// The question on its line and " ? " on the next, written with "(a,/,a)",
// then its answer.
void ask(std::string_view question, std::span<char> answer);
void ask(std::string_view question, FileName& answer);

// Ends the run for a blank name, in words of its own.
void refuse_if_blank(int unit, std::string_view name);

// Opens the file named by the field (leading and trailing blanks dropped)
// on unit: an input as existing, so that a mistyped name is refused rather
// than read as an empty file; an output as existing-or-new. A blank name, a
// name already open on another unit or any other refusal ends the run
// naming the file, as does a name typed past its field (shown cut, with
// "...").
template <std::size_t N>
void open_file(int unit, const textio::NameAnswer<N>& name, textio::Access access) {
    if (const textio::OpenResult r = textio::open(unit, name, access); !r) {
        if (!name.cut) refuse_if_blank(unit, name.text());
        textio::fail_open(unit, name, r.status);
    }
}

}  // namespace convert
