// A rational B-spline surface (IGES type 128) from the store into Meshes,
// its transforms, and its evaluation into a mesh with refit passes and
// edge closures.
#pragma once

#include "blocks.hpp"

namespace surfmesh {

// Entry e's parameter lines from fort.14 into a fresh fort.21, each cut
// before its first ";" (columns 65 to 80 never go), then fort.21 rewound
// for free-format reads. Short data end the run and leave fort.21.
void entity_to_scratch(const Deinfo& d, int e);
// fort.21 closed and deleted.
void drop_scratch();

// The switches of one mesh specification that act on the control net.
struct Transforms {
    std::int32_t iyzflp = 0;
    float xscale = 1.0f, yscale = 1.0f, zscale = 1.0f;
    std::int32_t iflip = 0, jflip = 0, ijflip = 0;
};
Transforms transforms_of(const Ispecs& is, const Rspecs& rs, int k);

// Loads entry e's surface and applies the transforms; stops the program,
// fort.21 deleted, when the surface does not fit the arrays.
void load_surface(const Deinfo& d, int e, const Transforms& t, Meshes& m);

// y/z swap, scaling, u flip, v flip and u/v swap of the loaded surface.
void transform_surface(const Transforms& t, Meshes& m);

// The surface point at (u, v), taken as given: outside [S(1), S(nks)) or
// [T(1), T(nkt)) the weight sum is 0 and the point not finite.
void surface_point(Meshes& m, float u, float v, float& x, float& y, float& z);

// A mesh parameter stays this fraction of its range below the upper end,
// where bvalue still sees the last knot interval.
inline constexpr float end_offset = 1.0e-6f;

// The last parameter of the range lo..hi that a mesh takes: end_offset of
// the range below hi.
float range_end(float lo, float hi);
// p, or end when end is smaller.
inline float at_most(float p, float end) { return end < p ? end : p; }

// surface_point with u and v moved inside the knot ranges, where the
// weight sum is not 0: raised to the first knot, or lowered to just below
// the last where the offset of the range's end is lost in rounding. The
// callers keep their values.
void point_within_knots(Meshes& m, float u, float v, float& x, float& y, float& z);

// The mesh of specification k (inum x jnum points in m.x, m.y, m.z):
// distributions, evaluation, refit passes and edge closures.
void make_mesh(const Ispecs& is, const Rspecs& rs, int k, Meshes& m);

}  // namespace surfmesh
