// Curve numerics: local Aitken-Neville interpolation, the cubic spline with
// its inverse, and the cluster function that spaces points along a line.
#pragma once

#include "lib/grid.hpp"

namespace geom {

// yi(m) = the table (x, y) at xi(m) by local polynomials of order 1 to 4.
// ni > 0: the interval search carries on from the previous point (xi
// ascending); ni < 0: it restarts for every point.
void runatk(int n, Vec x, Vec y, int ni, Vec xi, Vec yi, float order, float tol);

// Fits the cubic spline through (x, y) with end conditions of type ibc1,
// ibc2 (< 2 slope, 2 curvature, > 2 third derivative) and values bcv1, bcv2;
// then mode 1 evaluates at xo, any other mode finds xo where it takes yo.
void spline(Vec x, Vec y, Vec xo, Vec yo, Vec ypo, Vec yppo, Vec c1, Vec c2, Vec c3, int ibc1, int ibc2,
            float bcv1, float bcv2, int n, int no, int mode);

// s(1..n) from 0 to 1, evenly or bunched by a polynomial of degree ideg
// with first/last spacings ds1, ds2 and end second differences d2a, d2b.
void poly(Vec s, int n, int ideg, float ds1, float ds2, float d2a, float d2b);

}  // namespace geom
