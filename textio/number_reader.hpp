// Numbers as Fortran reads them: the number syntax of fixed fields and of
// free-format lists.
#pragma once

#include <cstdint>
#include <string_view>

namespace textio::numbers {

enum class Parse { ok, bad, overflow };

// Fixed-column fields; `field` holds the characters the record has for the
// field (a short record gives fewer than w). Blanks carry no value.
Parse read_int_field(std::string_view field, std::int32_t& v);
Parse read_real_field(std::string_view field, int d, float& v);

// One free-format token (no separators inside). A point without digits
// (".", "-.") is bad but still sets v to zero, as gfortran stores it.
Parse read_list_int(std::string_view token, std::int32_t& v);
Parse read_list_real(std::string_view token, float& v);

// The fast path of the readers: a plain decimal at p, [sign] digits
// [. digits] [E [sign] digits], converted straight to the nearest float;
// implied is the number of decimals of a field's descriptor, for a number
// written without a point. Returns the end of the number, or nullptr
// (v untouched) where only the general reader decides: other forms, more
// than 19 digits, exponents beyond 10^22, results near or beyond the ends
// of the float range, and the rare values where one rounding in double
// and one to float might differ from a single correct rounding. The text
// after the number is the caller's to judge.
const char* parse_plain_decimal(const char* p, const char* end, int implied, float& v);

// The same readings without parse_plain_decimal; both give the same
// values for every text.
namespace general {
Parse read_real_field(std::string_view field, int d, float& v);
Parse read_list_real(std::string_view token, float& v);
}  // namespace general

}  // namespace textio::numbers
