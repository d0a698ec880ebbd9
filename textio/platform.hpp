// The two services of the C library beyond files: an environment variable
// as a fixed-length text, and today's date.
#pragma once

#include <span>
#include <string_view>

namespace textio {

// value gets the variable's text, cut or blank-padded to its length; an
// unset variable gives all blanks.
void getenv_text(std::string_view name, std::span<char> value);

struct LocalDate {
    int day = 0;     // 1..31
    int month = 0;   // 1..12
    int year = 0;    // year of the century, 0..99
};

LocalDate local_date();

}  // namespace textio
