// intrp4 and intrp6: one piecewise-linear rule for every ordinate array.
#include "hydrosum/tables/tables.hpp"

#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr float nan = std::numeric_limits<float>::quiet_NaN();
constexpr float untouched = -7.0f;   // what the outputs hold before a call that writes nothing

struct Case {
    std::string name;
    std::vector<float> x, y, xi;
    std::vector<float> want;   // empty: nothing written
};

// Ordinate array k is y + 100 k, so every array must come out shifted by
// the same 100 k; all values are exact in binary.
const std::vector<Case> cases = {
    {"ascending, before the first point", {1, 2, 3}, {10, 20, 30}, {0}, {0}},
    {"ascending, beyond the last point", {1, 2, 3}, {10, 20, 30}, {5}, {50}},
    {"ascending, at its own abscissae", {1, 2, 3}, {10, 20, 30}, {1, 2, 3}, {10, 20, 30}},
    {"descending, beyond the last point", {3, 2, 1}, {30, 20, 10}, {0}, {0}},
    {"equal end abscissae give the means", {1, 2, 1}, {10, 20, 30}, {1.5f, 7, nan}, {20, 20, 20}},
    {"a single point", {4}, {9}, {0, 8}, {9, 9}},
    {"no points asked", {1, 2, 3}, {10, 20, 30}, {}, {}},
    {"first segment whose end reaches the point", {0, 2, 1, 3}, {0, 20, 50, 70}, {1.5f}, {15}},
    {"points in any order", {1, 2, 3}, {10, 20, 30}, {2.5f, 1.5f, 2.75f}, {25, 15, 27.5f}},
    {"first segment of equal abscissae", {1, 1, 2, 3}, {10, 20, 40, 80}, {0.5f}, {15}},
    {"last segment of equal abscissae", {1, 2, 3, 3}, {10, 20, 40, 80}, {4}, {60}},
    {"NaN first abscissa", {nan, 2, 3}, {10, 20, 30}, {2.5f}, {}},
    {"NaN last abscissa", {1, 2, nan}, {10, 20, 30}, {2.5f}, {}},
};

template <int N>
std::array<std::vector<float>, N> shifted(const std::vector<float>& y) {
    std::array<std::vector<float>, N> a;
    for (int k = 0; k < N; ++k)
        for (float v : y) a[static_cast<std::size_t>(k)].push_back(v + 100.0f * static_cast<float>(k));
    return a;
}

template <int N>
void expect_case(const Case& c, const std::array<std::vector<float>, N>& got) {
    const std::size_t ni = c.xi.size();
    for (int k = 0; k < N; ++k)
        for (std::size_t p = 0; p < ni; ++p) {
            const float want = c.want.empty() ? untouched : c.want[p] + 100.0f * static_cast<float>(k);
            EXPECT_EQ(got[static_cast<std::size_t>(k)][p], want) << c.name << ", array " << k + 1 << ", point " << p + 1;
        }
}

TEST(Intrp, FourArraysFollowTheRule) {
    for (const Case& c : cases) {
        const auto y = shifted<4>(c.y);
        std::array<std::vector<float>, 4> yi;
        for (auto& v : yi) v.assign(c.xi.size() + 1, untouched);   // one beyond: never written
        hydrosum::intrp4(c.x.data(), y[0].data(), y[1].data(), y[2].data(), y[3].data(), static_cast<int>(c.x.size()),
               c.xi.data(), yi[0].data(), yi[1].data(), yi[2].data(), yi[3].data(), static_cast<int>(c.xi.size()));
        expect_case<4>(c, yi);
        for (auto& v : yi) EXPECT_EQ(v.back(), untouched) << c.name;
    }
}

TEST(Intrp, SixArraysFollowTheRule) {
    for (const Case& c : cases) {
        const auto y = shifted<6>(c.y);
        std::array<std::vector<float>, 6> yi;
        for (auto& v : yi) v.assign(c.xi.size() + 1, untouched);
        hydrosum::intrp6(c.x.data(), y[0].data(), y[1].data(), y[2].data(), y[3].data(), y[4].data(), y[5].data(),
                         static_cast<int>(c.x.size()), c.xi.data(), yi[0].data(), yi[1].data(), yi[2].data(),
                         yi[3].data(), yi[4].data(), yi[5].data(), static_cast<int>(c.xi.size()));
        expect_case<6>(c, yi);
        for (auto& v : yi) EXPECT_EQ(v.back(), untouched) << c.name;
    }
}

}  // namespace
