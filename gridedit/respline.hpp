// Resampling the grid lines of a working range along their arc length.
#pragma once

#include "editor.hpp"

namespace gridedit {

// The lines along i (one per j, nsub points each) or along j (one per i,
// msub points each) of the sub-array whose (1, 1) is the range's first
// point; each gets ipnts new points at 1..ipnts, spaced by the cluster
// function with ideg, ds1, ds2, d2a, d2b.
void resplni(geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int nsub, int msub, WorkArrays& w,
             int ipnts, int ideg, float ds1, float ds2, float d2a, float d2b);
void resplnj(geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int nsub, int msub, WorkArrays& w,
             int ipnts, int ideg, float ds1, float ds2, float d2a, float d2b);

}  // namespace gridedit
