// The IGES entity type numbers that surfmesh reads.
#pragma once

#include <cstdint>

namespace surfmesh {

inline constexpr std::int32_t composite_type = 102;    // composite curve
inline constexpr std::int32_t segment_type = 126;      // rational B-spline curve, a segment of a 102
inline constexpr std::int32_t surface_type = 128;      // rational B-spline surface
inline constexpr std::int32_t on_surface_type = 142;   // curve on a parametric surface
inline constexpr std::int32_t trimmed_type = 144;      // trimmed parametric surface

}  // namespace surfmesh
