// Networks turned into the orientation two direction specs ask for: the
// xsi spec names the file direction (m: i, n: j) that becomes the fastest
// index in memory, the eta spec the other one; a "-" runs it backward.
#pragma once

#include "lib/grid.hpp"
#include "textio/units.hpp"

#include <array>
#include <span>
#include <string_view>

namespace intersect {

// A sign '+' or '-' and a letter 'm' or 'n', as validated and folded.
using Spec = std::array<char, 2>;

inline bool plus(const Spec& s) { return s[0] == '+'; }
inline bool names_m(const Spec& s) { return s[1] == 'm'; }

// Position p along a direction of `count` points, mapped between the
// forward and the backward sense of spec s: count + 1 - p under '-'.
inline float oriented(float p, const Spec& s, int count) {
    return plus(s) ? p : static_cast<float>(count + 1) - p;
}

// Reads the first network of fname into the work array w (capacity mw)
// after cell lw: x, y, z slices at ix, iy, iz of m x n points in memory
// orientation. lw comes back as the cell just after the z slice, or
// unchanged when the file ends before its header (an empty network whose
// slices all start at lw + 1). A network that does not fit stops the run
// with the reader's message; a missing file ends the run naming it.
void mnread(int iunit, std::string_view fname, std::span<char> title, int iopen, int irewind, int iclose,
            std::span<float> w, int mw, int& lw, int& ix, int& iy, int& iz, int& m, int& n, const Spec& dx,
            const Spec& de);

// Writes the m x n network held in memory orientation (leading dimension
// m) in file orientation, so that mnread with the same specs reads it
// back. The title is written whole, trailing blanks included.
void mnwrit(int iunit, std::string_view fname, std::string_view title, int iopen, int irewind, int iclose,
            geom::Vec x, geom::Vec y, geom::Vec z, int m, int n, const Spec& dx, const Spec& de);

// Opens a unit on a file (an input as existing, an output as
// existing-or-new); a failed open ends the run naming the file as opened.
void open_or_fail(int unit, std::string_view name, textio::Access access);

}  // namespace intersect
