// The new bulb network, half by half: its boundaries laid out in the old
// bulb's index space, then its points smoothed on the old bulb's surface.
#pragma once

#include "appgrid/driver.hpp"

#include <cmath>

namespace appgrid {

// Upper pass: the top centre line (row 1), the middle row jmoh and the fore
// and aft columns of rows 1..jmoh.  Lower pass: the wing's stretch of the
// middle row again (along the other side of the wing root), the bottom
// centre line (row jmo) and the fore and aft columns of rows jmoh..jmo.
void lay_out_upper(Run& run);
void lay_out_lower(Run& run);

// The start grid of a block of im x jm points: the interior (u, v) by
// transfinite interpolation from the block's boundaries, every point
// mapped onto the surface (imi x jmi points).  s and t receive the
// boundaries' arc fractions.
void partfi(geom::Grid xs, geom::Grid ys, geom::Grid zs, int imi, int jmi, geom::Grid u, geom::Grid v, geom::Grid x,
            geom::Grid y, geom::Grid z, geom::Grid s, geom::Grid t, int im, int jm);

// The relaxation factor of one smoothing phase: a quarter of the deck's
// factor over f, raised by f before each of the first nr = niter/2 sweeps.
// It levels off one factor f below the deck's value; a phase of one sweep
// has nr = 0, an infinite f and a factor of 0.
struct Ramp {
    int nr;
    float f;
    float omega;
    Ramp(int niter, float omega_deck)
        : nr(static_cast<int>(static_cast<float>(niter) * 0.5f)),
          f(std::exp(std::log(4.0f) / static_cast<float>(nr))),
          omega(omega_deck / 4.0f / f) {}
    // before sweep k of the phase, from 1
    void step(long long k) {
        if (k <= nr) omega = f * omega;
    }
};

// Smooths the half whose first output row is j0 (jm rows) and leaves it
// in the output arrays.
void smooth_half(Run& run, int j0, int jm);

}  // namespace appgrid
