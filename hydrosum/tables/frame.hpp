// The test-matrix frame as the writers and corrections walk it: its bounds,
// the run codes and the result slots they share.
#pragma once

#include "hydrosum/input/store.hpp"

#include <algorithm>
#include <array>

namespace hydrosum::frame {

// Loop bounds from comint(1) and comint(2), kept inside the store.
inline int runs(Store& st) { return std::clamp(st.ci(1), 0, nruns); }
inline int heels(Store& st) { return std::clamp(st.ci(2), 0, nheels); }

inline std::array<char, 3> code(int j) { return run_code(j); }

inline constexpr int group_size = 6;   // drag, vertical, side, roll, yaw, pitch

// Slots of r, k and ku.
inline constexpr int speed = 1;
inline constexpr int yaw = 3;
inline constexpr int viscous = 33;
inline constexpr int inviscid = 39;
inline constexpr int total = 45;
inline constexpr int v_clr = 51;
inline constexpr int l_clr = 52;
inline constexpr std::array<int, 6> breakdown = {60, 66, 72, 78, 84, 90};   // hull, keel, bulb, wing, rudder, frud
inline constexpr int appendage_sum = 96;
// The inviscid group of w, n and nu sits where r, k and ku have the viscous one.
inline constexpr int inviscid_wakes_off = 33;

}  // namespace hydrosum::frame
