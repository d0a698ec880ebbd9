// One grid line of a working range as the curve commands work on it: copied
// into the work arrays, measured by arc length, fitted and sampled again.
// The work arrays, as these routines use them:
//   1-3 the line's x, y, z; 4 its arc lengths; 5-7 the new x, y, z;
//   8 the arc lengths to sample at; 9-13 the spline's scratch.
#pragma once

#include "editor.hpp"

namespace gridedit {

inline constexpr float min_length = 1.0e-6f;   // a line no longer than this is not fitted
// order and tolerance of the local interpolation
inline constexpr float atk_order = 2.0f;
inline constexpr float atk_tol = 1.0e-6f;

// Work array k (1 to 13) as a 1-based vector.
inline geom::Vec work_vec(WorkArrays& w, int k) { return geom::Vec(w[static_cast<std::size_t>(k - 1)].data()); }

// One grid line of the sub-array: point k at (k, line) along i, at (line, k) along j.
struct Line {
    geom::Grid x, y, z;
    bool along_i;
    int line;

    // coordinate c (0, 1, 2 = x, y, z) of point k
    float& p(int c, int k) const {
        const geom::Grid& g = c == 0 ? x : (c == 1 ? y : z);
        return along_i ? g(k, line) : g(line, k);
    }
    // points 1..n into work arrays 1-3
    void load(WorkArrays& w, int n) const {
        for (int k = 1; k <= n; ++k)
            for (int c = 0; c < 3; ++c) work_vec(w, c + 1)(k) = p(c, k);
    }
    // points 1..n from work arrays first..first+2
    void store(WorkArrays& w, int n, int first) const {
        for (int k = 1; k <= n; ++k)
            for (int c = 0; c < 3; ++c) p(c, k) = work_vec(w, first + c)(k);
    }
};

// The fit for a line of n points: 1 straight, 2 local interpolation, 3 cubic spline.
inline int fit_method(int n) { return n <= 2 ? 1 : (n == 3 ? 2 : 3); }

// Arc lengths of the n points of work arrays 1-3 into work array 4: by chords
// for method 1, by circular arcs through point triples otherwise.
void measure(WorkArrays& w, int method, int n);

// Slope at the first point of the parabola through the first three points of
// f against s. (The slopes at the last point are summed in a different order
// by the cut commands and by respline, so each keeps its own.)
float first_slope(geom::Vec f, geom::Vec s);

// The line of work arrays 1-3 over its n arc lengths (work array 4) at the
// nout arc lengths of work array 8, into work arrays 5-7, by the method's
// fit. The spline takes the end slopes first[c] and last[c] of coordinate c;
// the other fits ignore them.
void resample(WorkArrays& w, int method, int n, int nout, const float (&first)[3], const float (&last)[3]);

}  // namespace gridedit
