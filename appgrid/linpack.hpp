// Gaussian elimination with partial pivoting over level-1 BLAS, step for
// step the LINPACK routines of the same names.
#pragma once

#include "lib/grid.hpp"

namespace appgrid {

// Factors the n x n matrix a (column-major, its leading dimension in the
// view) in place; ipvt(1..n) receive the pivot rows, ipvt(n) = n.  Returns
// 0, or the index of the last pivot that is exactly 0 (a solve would divide
// by it).
int ssgefa(geom::Grid a, int n, int* ipvt);

// With ssgefa's output, overwrites b(1..n) with the solution of a x = b
// (job 0) or of trans(a) x = b (any other job).  No test for a zero pivot.
void ssgesl(geom::Grid a, int n, const int* ipvt, float* b, int job);

}  // namespace appgrid
