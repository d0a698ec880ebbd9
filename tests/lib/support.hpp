// Shared by the geometry library tests: the stand-in for output slots a
// routine must not touch, float bit patterns, and tables of points.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

namespace lib_test {

// Stands in every output slot a routine must not touch.
constexpr float kUntouched = -777.0f;

inline std::uint32_t bits(float v) { return std::bit_cast<std::uint32_t>(v); }

// Abscissae and ordinates of a table, or the knots of a curve.
struct Table {
    std::vector<float> x, y;
    int n() const { return static_cast<int>(x.size()); }
};

// The same points in the opposite order.
inline Table reversed(Table t) {
    std::reverse(t.x.begin(), t.x.end());
    std::reverse(t.y.begin(), t.y.end());
    return t;
}

}  // namespace lib_test
