// Cutting bulbs and hulls along their grid lines: bulb truncation, bulb
// split, overhung transom and the cuts at a transom x.  Each routine gets
// the sub-array whose (1, 1) is the working range's first point and
// returns false, changing nothing, when the range has too few points.
#pragma once

#include "editor.hpp"

namespace gridedit {

// pct: in, percent of body length; out, the x of the cut.
bool truncate(geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int nsub, int msub, WorkArrays& w,
              float& pct);
bool splitbulb(geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int nsub, int msub, WorkArrays& w);
bool transom(geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int nsub, int msub, WorkArrays& w);
// mode 0: curves by the line's point count; 1: straight lines throughout.
bool tranatx(geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int nsub, int msub, WorkArrays& w,
             float xtran, int mode);

}  // namespace gridedit
