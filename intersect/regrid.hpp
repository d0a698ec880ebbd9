// Re-gridding of a network held in memory orientation at the positions an
// intersection search finds: redoi moves the end (or start) of each flagged
// xsi line to its cut, redojt lays new eta lines through station positions.
// Each program carries its own variant of both.
#pragma once

#include "lib/grid.hpp"

#include <span>

namespace intersect {

enum class Variant { foil, keel };

// For each eta line j (1..n) of the m x n network x, y, z with iflag(j) != 0:
// spec '-' makes the line end at xipos(j) (point index + fraction), spec
// '+' makes it start there; the points up to (from) the anchor breakpoint
// keep their arc positions, the others are spread along the arc length.
// ibrk(1..nbrk) are ascending point indices, ibrk(1) = 1, ibrk(nbrk) = m.
// The foil variant anchors at the nearest breakpoint short of the cut, the
// keel variant at the farthest. A line of fewer than 2 points, a position
// that is not finite, or a spec other than '+' or '-' leaves the line as
// it is. Work arrays xw..sn: m cells each.
void redoi(geom::Grid x, geom::Grid y, geom::Grid z, int m, int n, geom::Vec xw, geom::Vec yw, geom::Vec zw,
           geom::Vec s, geom::Vec xn, geom::Vec yn, geom::Vec zn, geom::Vec sn, std::span<const int> iflag,
           geom::Vec xipos, char spec, std::span<const int> ibrk, int nbrk, Variant variant);

// The network xo, yo, zo (mo = m, no eta lines; room for n + nsta) whose
// eta lines are the old ones below the least flagged station position,
// the flagged stations in ascending eta position, and the old lines above
// the greatest; each new line passes through every xsi column at its
// fractional eta index. iflag, xipos, etapos (nsta stations) are sorted in
// place. iflo and xio (room for the new lines) get each new line's flag
// and xi position: a station's own, and for the kept old lines those of the
// lowest or highest station (foil) or 0 and 0.0 (keel). Without a flagged
// station the network is copied unchanged. Work arrays: xw, yw, zw, s, t of
// n cells, xn, yn, zn, sn, tn of no cells.
void redojt(geom::Grid x, geom::Grid y, geom::Grid z, int m, int n, geom::Vec xw, geom::Vec yw, geom::Vec zw,
            geom::Vec s, geom::Vec t, geom::Vec xn, geom::Vec yn, geom::Vec zn, geom::Vec sn, geom::Vec tn,
            std::span<int> iflag, geom::Vec xipos, geom::Vec etapos, int nsta, geom::Grid xo, geom::Grid yo,
            geom::Grid zo, int& mo, int& no, std::span<int> iflo, geom::Vec xio, Variant variant);

}  // namespace intersect
