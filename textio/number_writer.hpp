// Number fields as Fortran writes them: Iw, Fw.d, Ew.d with a scale
// factor, and the free-format item layout.
#pragma once

#include <cstdint>
#include <string>

namespace textio::numbers {

// Each put_* appends exactly one field to out.
void put_int(std::string& out, std::int32_t v, int w);
void put_fixed(std::string& out, float x, int w, int d, int scale);
void put_exp(std::string& out, float x, int w, int d, int scale);

// Free-format items: integers in 11 columns, reals in 16.
void put_list_int(std::string& out, std::int32_t v);
void put_list_real(std::string& out, float x);

// The same fields without their fast paths (exact digits in 64-bit
// integers); both give the same bytes for every value.
namespace general {
void put_fixed(std::string& out, float x, int w, int d, int scale);
void put_exp(std::string& out, float x, int w, int d, int scale);
void put_list_real(std::string& out, float x);
}  // namespace general

}  // namespace textio::numbers
