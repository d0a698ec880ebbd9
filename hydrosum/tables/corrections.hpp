// The middle steps of the correction chain, called by correc in its fixed
// order and under its switches: surfing rudder, upright transfer, anchor.
#pragma once

#include "hydrosum/input/store.hpp"

namespace hydrosum {

// Inviscid drag of every present r run plus the rudder-off minus rudder-on
// wakes-off drag at its case speeds; one progress line per run.
void surfing_rudder(Store& st);

// ku's rudder and frud groups (breakdown of r usable) or its whole viscous
// group (breakdown not usable) from the upright reference run of r, carried
// along the friction line beyond that run's speed range, with a warning per
// ku speed outside it. Nothing without r(1,1) holding cases or without ku.
void upright_group_transfer(Store& st);

// ku's rudder and frud wetted areas from the upright reference run of r.
// Nothing without r(1,1) holding cases or without ku.
void upright_area_transfer(Store& st);

// Every r and k run moved (or scaled) by ku minus (or over) its class's
// upright reference run; one progress line per anchored run.
void upright_anchor(Store& st);

}  // namespace hydrosum
