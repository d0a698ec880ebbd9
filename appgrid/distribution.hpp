// appgrid's own point distribution along a boundary segment.  It prescribes
// the first and last interval lengths, where the library's geom::poly
// prescribes end slopes: the namespaces keep the two apart at link time.
#pragma once

#include "lib/grid.hpp"

namespace appgrid {

// x(1..n) = t (a0 + a1 t + ... + a4 t^4), t = (k-1)/(n-1), so x(1) = 0 and
// x(n) = 1 up to rounding.  Order m <= 1: x = t.  m = 2: x'(0) = d1/h, or
// x'(1) = d2/h when d1 < 0 (h = 1/(n-1)).  m >= 3 (above 5 as 5): the first
// interval d1, the last interval d2 and the end curvature terms e1 = x''(0) h^2,
// e2 = x''(1) h^2 as far as the order allows (the table of conditions in
// distribution.cpp).  Conditions that contradict each other (n = 2, or n = 3
// with both intervals) give the uniform distribution.  n = 1 gives x(1) = 0;
// n <= 0 writes nothing.
void poly(geom::Vec x, int n, int m, float d1, float d2, float e1, float e2);

}  // namespace appgrid
