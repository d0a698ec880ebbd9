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

// What bvalue takes of the knots and x alone, whatever the coefficients:
// the knot interval, the coefficients bcoef(first..last) that it reads and
// the distances of its triangle. Splines on the same knots at the same x
// share one span.
struct Span {
    int mflag = 0;             // interv's; bvalue gives 0 unless it is 0
    int k = 0, first = 0, last = 0;
    int jcmin = 0;             // the first coefficient's place in the triangle
    std::array<float, nwork> dl{}, dr{};
};
// k at least 1; ilo as for interv.
void span_of(const float* t, int n, int k, float x, int& ilo, Span& s);
// bvalue(t, bcoef, n, k, x, 0, w) of the span's t, n, k and x for count
// splines at once (1, or lane::count times 1 to nwork rows; any other
// count aborts): from_first[m * count + l] is coefficient first + m of
// spline l; its value goes to value[l]. mflag must be 0.
void span_values(const Span& s, int count, const float* from_first, float* value);

// x moved inside [first, last), the range of a spline with those end knots
// outside which bvalue gives 0: raised to first, or lowered to the float
// just below last.
float inside_knots(float x, float first, float last);

}  // namespace surfmesh
