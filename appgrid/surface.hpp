// Boundary arc-length fractions of a grid block, and points of the working
// surface at index-space coordinates (u, v).
//
// Blocks are views (first element, leading dimension) indexed from 1; they
// may start inside a larger array.  s holds the fractions of rows 1 and jm in
// its columns 1 and 2, t those of columns 1 and im.
#pragma once

#include "appgrid/vec3.hpp"
#include "lib/grid.hpp"

namespace appgrid {

// Fractions of the block's (u, v) boundaries, by distance in index units.
void uvst(geom::Grid u, geom::Grid v, geom::Grid s, geom::Grid t, int im, int jm);

// Fractions of the block's (x, y, z) boundaries, by straight distance.
void xyzst(geom::Grid x, geom::Grid y, geom::Grid z, geom::Grid s, geom::Grid t, int im, int jm);

// The surface network (imi x jmi points) evaluated bilinearly at every (u, v)
// of an im x jm block into x, y, z; u is held to [1, imi] and v to [1, jmi].
void xyzuv(geom::Grid xs, geom::Grid ys, geom::Grid zs, int imi, int jmi, geom::Grid u, geom::Grid v,
           geom::Grid x, geom::Grid y, geom::Grid z, int im, int jm);

// One point of xyzuv.
V3 surface_point(const Points& surface, int imi, int jmi, float u, float v);

}  // namespace appgrid
