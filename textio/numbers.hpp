// Number fields as Fortran writes and reads them: Iw, Fw.d, Ew.d with a
// scale factor, the free-format item layout, and the number syntax of
// fixed fields and free-format lists.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace textio::numbers {

// Each put_* appends exactly one field to out.
void put_int(std::string& out, std::int32_t v, int w);
void put_fixed(std::string& out, float x, int w, int d, int scale);
void put_exp(std::string& out, float x, int w, int d, int scale);

// Free-format items: integers in 11 columns, reals in 16.
void put_list_int(std::string& out, std::int32_t v);
void put_list_real(std::string& out, float x);

enum class Parse { ok, bad, overflow };

// Fixed-column fields; `field` holds the characters the record has for the
// field (a short record gives fewer than w). Blanks carry no value.
Parse read_int_field(std::string_view field, std::int32_t& v);
Parse read_real_field(std::string_view field, int d, float& v);

// One free-format token (no separators inside). A point without digits
// (".", "-.") is bad but still sets v to zero, as gfortran stores it.
Parse read_list_int(std::string_view token, std::int32_t& v);
Parse read_list_real(std::string_view token, float& v);

}  // namespace textio::numbers
