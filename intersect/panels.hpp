// Flat panels of the target network: for every cell a centre, an
// orthonormal frame and the frame coordinates of its four corners, so that
// a grid line can be cut with it by two dot products and a bilinear inverse.
#pragma once

#include "lib/grid.hpp"

#include <cstdint>

namespace intersect {

// The 14 panel slices, each of np cells but the corner coordinates, which
// hold corner k of panel ip at (k - 1)·np + ip.
struct Panels {
    geom::Vec xc, yc, zc;            // centre
    geom::Vec cxi, ceta;             // corner coordinates along exi and eeta
    geom::Vec exix, exiy, exiz;      // in-plane unit vector normal to eeta
    geom::Vec eetax, eetay, eetaz;   // unit vector along the eta tangent
    geom::Vec enorx, enory, enorz;   // unit normal (shorter for a floored tiny panel)

    static constexpr int cells_per_panel = 20;
};

// Panels of an m x n network: (m - 1)(n - 1), and none when either count
// is below 2 (an empty network has no panel either).
inline std::int64_t panel_count(int m, int n) {
    return m < 2 || n < 2 ? 0 : static_cast<std::int64_t>(m - 1) * (n - 1);
}

// Corner k (1..4) of panel ip of np.
inline float& corner(geom::Vec c, int np, int ip, int k) { return c((k - 1) * np + ip); }

// Fills the slices for the m x n network x, y, z (memory orientation),
// panel ip = (j - 1)(m - 1) + i for the cell (i..i+1, j..j+1). Warns of
// panels whose square root of area is below eps and of panels twisted out
// of their mean plane by more than half their size; never stops.
void panels(geom::Grid x, geom::Grid y, geom::Grid z, int m, int n, const Panels& p);

}  // namespace intersect
