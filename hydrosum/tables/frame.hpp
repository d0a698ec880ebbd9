// The test-matrix frame as the writers and corrections walk it: its bounds,
// the run codes and the result slots they share.
#pragma once

#include "hydrosum/input/store.hpp"

#include <algorithm>
#include <array>
#include <span>
#include <string_view>

namespace hydrosum::frame {

// Loop bounds from comint(1) and comint(2), kept inside the store.
inline int runs(Store& st) { return std::clamp(st.ci(1), 0, nruns); }
inline int heels(Store& st) { return std::clamp(st.ci(2), 0, nheels); }

inline std::array<char, 3> code(int j) { return run_code(j); }

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
inline constexpr int v_clr = 51;
inline constexpr int l_clr = 52;
inline constexpr int hull_drag = 53;
inline constexpr int bulb_drag = 56;
inline constexpr std::array<int, 6> breakdown = {60, 66, 72, 78, 84, 90};   // hull, keel, bulb, wing, rudder, frud
inline constexpr int appendage_sum = 96;
// The inviscid group of w, n and nu sits where r, k and ku have the viscous one.
inline constexpr int inviscid_wakes_off = 33;

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

// Every table and zone file goes out on this unit, one file at a time.
inline constexpr int output_unit = 2;
// Opens output_unit on a file, created or replaced; a failure ends the run.
void open_output(std::string_view name);

}  // namespace hydrosum
