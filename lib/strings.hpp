// Fixed-length texts: blanking an answer field, the length without
// trailing blanks.
#pragma once

#include <span>
#include <string_view>

namespace geom {

// c(1:n) = blanks; n <= 0 leaves c alone. n beyond c's length stops at its end.
void blank(std::span<char> c, int n);

// Position (from 1) of the last character that is not code 32; 0 if none.
int lenchr(std::string_view str);

}  // namespace geom
