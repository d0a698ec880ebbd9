// The one work array of foilcut and keelcut: both networks, the panel
// geometry and the results are consecutive slices of it, each known by the
// 1-based index of its first cell.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace intersect {

inline constexpr int mw = 500000;   // cells of the work array

// All zero at the start, so a fresh slice holds zeros.
struct Work {
    std::vector<float> cells = std::vector<float>(mw, 0.0f);

    std::span<float> all() { return cells; }
    // The slice that starts at cell k (k may be mw + 1 for an empty slice).
    float* at(std::int64_t k) { return cells.data() + (k - 1); }
};

// The three-line capacity message of the programs and the reader, then a
// stop. Against the work array both values have six digits, so their
// five-column fields show asterisks.
[[noreturn]] void capacity_stop(std::string_view who, std::string_view what, std::int64_t value,
                                std::int64_t capacity);

}  // namespace intersect
