// Transfinite interpolation of a block's interior from its four boundary
// lines, blended along the boundaries' arc-length fractions s and t (as
// uvst or xyzst return them).
#pragma once

#include "lib/grid.hpp"

namespace appgrid {

// u and v at i = 2..im-1, j = 2..jm-1; the boundary lines stay.
void uvtfi(geom::Grid u, geom::Grid v, geom::Grid s, geom::Grid t, int im, int jm);

// phi, set on rows 1 and jm, along columns 1 and im linearly in t between
// its corners; psi, set on columns 1 and im, along rows 1 and jm linearly in
// s; then both inside as uvtfi.
void pptfi(geom::Grid phi, geom::Grid psi, geom::Grid s, geom::Grid t, int im, int jm);

}  // namespace appgrid
