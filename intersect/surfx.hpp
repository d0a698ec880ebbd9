// Where each xsi grid line of the source passes through the target's
// panels: the segment is cut with a panel's mean plane, and the crossing
// located in the cell by inverting the panel's bilinear map.
#pragma once

#include "intersect/panels.hpp"
#include "lib/grid.hpp"

namespace intersect {

// Which hit of a station wins: foilcut takes the first panel that yields a
// pair of cell parameters, keelcut the least residual over the station.
enum class Rule { first_panel, least_residual };

// Extension flags, nonzero = on: the source's first segment may reach
// before its start and its last segment beyond its end; the target's edge
// cells may be prolonged past their outer edges.
struct SourceFlags {
    int start = 0, end = 0;
};
struct TargetFlags {
    int xsi_start = 0, xsi_end = 0, eta_start = 0, eta_end = 0;
};

// Per source station: the cut point, its position along the source line
// (segment + fraction) and in the target (cell + fraction, memory
// orientation), and the status iint (1 inside, -1 through an extended
// target edge, 0 no cut), held as a real in its work-array cell.
struct Cuts {
    geom::Vec xint, yint, zint, xsis, xsit, etat, iint;
};

// The result slices must hold zeros on entry (fresh work-array slices); a
// station without a cut keeps them, with iint set to 0.
void surfx(geom::Grid x, geom::Grid y, geom::Grid z, int ms, int ns, SourceFlags source, int mt, int nt,
           TargetFlags target, const Panels& p, const Cuts& c, Rule rule);

}  // namespace intersect
