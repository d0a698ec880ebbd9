// The test-matrix frame as the writers and corrections walk it: its bounds,
// the result slots they share and their progress lines; and what every
// table writer shares: the header stamps, the output unit and the lines
// each table begins with.
#pragma once

#include "hydrosum/input/store.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <string_view>

namespace hydrosum::frame {

// Loop bounds from comint(1) and comint(2), kept inside the store.
inline int runs(Store& st) { return std::clamp(st.ci(1), 0, nruns); }
inline int heels(Store& st) { return std::clamp(st.ci(2), 0, nheels); }

inline constexpr int group_size = 6;   // drag, vertical, side, roll, yaw, pitch

// Slots of r, k and ku.
inline constexpr int speed = 1;
inline constexpr int heel = 2;
inline constexpr int yaw = 3;
inline constexpr int sink = 6;
inline constexpr int trim = 7;
inline constexpr int hull_area = 8;
inline constexpr int keel_area = 9;
inline constexpr int bulb_area = 10;
inline constexpr int fourth_area = 11;
inline constexpr int rudder_area = 12;
inline constexpr int wing_area = 13;
inline constexpr int frud_area = 14;
inline constexpr int hull_length = 15;
inline constexpr int hydrostatic = 27;
inline constexpr int viscous = 33;
inline constexpr int inviscid = 39;
inline constexpr int total = 45;
inline constexpr int side_force = total + 2;
inline constexpr int v_clr = 51;
inline constexpr int l_clr = 52;
inline constexpr int hull_drag = 53;
inline constexpr int bulb_drag = 56;
inline constexpr std::array<int, 6> breakdown = {60, 66, 72, 78, 84, 90};   // hull, keel, bulb, wing, rudder, frud
inline constexpr int appendage_sum = 96;
// The inviscid group of w, n and nu sits where r, k and ku have the viscous one.
inline constexpr int inviscid_wakes_off = 33;

// Slots of case i added in the order given, from the first on: the result
// tables, the plot tables, the zone files and the upright transfer each sum
// their wetted areas in an order of their own.
inline float slot_sum(const Run& run, int i, std::span<const int> slots) {
    float sum = run.s(i, slots[0]);
    for (std::size_t k = 1; k < slots.size(); ++k) sum += run.s(i, slots[k]);
    return sum;
}

// The runs with cases of a class as the result and plot tables list them,
// heel by heel and run by run: set_apart() before each of the first two runs
// of a heel only, then rows(run).
template <class SetApart, class Rows>
void table_runs(Store& st, RunClass<full_slots>& cls, SetApart set_apart, Rows rows) {
    for (int h = 1; h <= heels(st); ++h) {
        int with_cases = 0;
        for (int j = 1; j <= runs(st); ++j) {
            const Run run = cls.run(j, h);
            if (run.n() <= 0) continue;
            if (++with_cases <= 2) set_apart();
            rows(run);
        }
    }
}

// Progress lines on standard output: wording, class (" r"), heel code and
// run code of one run; or wording and upright set (" ku").
void progress(std::string_view wording, std::string_view cls, int j, int h);
void progress(std::string_view wording, std::string_view set);

}  // namespace hydrosum::frame

namespace hydrosum {

// Header stamps in comchr, 120 characters each, as the table writers build them.
namespace stamp {
inline constexpr int length = 120;
inline constexpr int r = 241;
inline constexpr int k = 361;
inline constexpr int ku = 481;
inline std::span<char> at(Store& st, int from) { return st.chr(from, from + length - 1); }
}  // namespace stamp

// A reference area (comscl(23)) of 1, to single-precision rounding.
inline bool unit_area(float sref) { return std::fabs(sref - 1.0f) < 1.0e-6f; }

// Every table and zone file goes out on this unit, one file at a time.
inline constexpr int output_unit = 2;
// Opens output_unit on a file, created or replaced; a failure ends the run.
void open_output(std::string_view name);
// An empty line on output_unit.
void empty_line();
// How every table begins on output_unit: four empty lines, the stamp, one more empty line.
void stamp_lines(std::span<const char> stamp);

// A column heading or units line of the result and plot tables, in five pieces.
using Pieces = std::array<std::string_view, 5>;
// stamp_lines, then the heading line and the units line.
void table_preamble(std::span<const char> stamp, const Pieces& header, const Pieces& units);

}  // namespace hydrosum
