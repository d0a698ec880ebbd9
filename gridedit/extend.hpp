// Extending the network beyond one of its edges, to a coordinate or by a
// distance, with a fairing between prismatic, linear and quadratic.
#pragma once

#include "editor.hpp"

#include <span>

namespace gridedit {

// side: "imin", "imax", "jmin", "jmax"; axis: "x", "y", "z" or "s" (arc
// length). False, with nothing changed, when the lines along the edge are
// too short to give its derivatives.
bool extend(geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int& imax, int& jmax,
            std::span<const char> side, std::span<const char> axis, float value, int npts, float fair);
bool dextend(geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int& imax, int& jmax,
             std::span<const char> side, std::span<const char> axis, float value, int npts, float fair,
             geom::Vec work, int nwork);

}  // namespace gridedit
