// Value of a spline in B-spline form at one point, and the knot interval
// search behind it (de Boor's BVALUE and INTERV, 1978).
#pragma once

#include "blocks.hpp"

namespace surfmesh {

// xt(1..lxt) nondecreasing. mflag -1, left 1: x < xt(1); mflag 1, left lxt:
// x >= xt(lxt); else mflag 0 and xt(left) <= x < xt(left+1). ilo is where
// the search starts and is left at the bracket found; any start gives the
// same answer. lxt must be at least 1.
void interv(const float* xt, int lxt, float x, int& left, int& mflag, int& ilo);

// The jderiv-th derivative at x of the spline of order k with knots
// t(1..n+k) and coefficients bcoef(1..n); 0 outside [t(1), t(n+k)) and for
// jderiv >= k. k at most 9 (the work arrays), n at least 1.
float bvalue(const float* t, const float* bcoef, int n, int k, float x, int jderiv, BvalueWork& w);

// x moved inside [first, last), the range of a spline with those end knots
// outside which bvalue gives 0: raised to first, or lowered to the float
// just below last.
float inside_knots(float x, float first, float last);

}  // namespace surfmesh
