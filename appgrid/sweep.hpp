// One relaxed sweep of the elliptic grid equations over a block that lies on
// the working surface.
#pragma once

#include "lib/grid.hpp"

namespace appgrid {

// Moves the interior (u, v) of an im x jm block point by point, Gauss-Seidel
// with relaxation factor omega under the control functions phi, psi, and
// maps each moved point onto the surface (imi x jmi points) at once.  The
// sweep direction follows iter mod 4: 1 i and j up, 2 i down, 3 j down, 0
// both down.  resrms = sqrt(sum of e) / ((im-2)(jm-2)) and resmax = sqrt(max
// e), e being a point's squared move over its squared distance to the
// nearest neighbour.  A point with a degenerate metric or a non-finite move
// stays; a point on top of a neighbour adds nothing to the residuals.  A
// block below 3 points either way has no interior: both residuals 0.
void uvsolv(geom::Grid xs, geom::Grid ys, geom::Grid zs, int imi, int jmi, geom::Grid u, geom::Grid v,
            geom::Grid x, geom::Grid y, geom::Grid z, geom::Grid phi, geom::Grid psi, int im, int jm, float omega,
            int iter, float& resrms, float& resmax);

}  // namespace appgrid
