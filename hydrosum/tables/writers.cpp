// The writers that follow the result tables (the zone files are in zones.cpp).
#include "hydrosum/tables/tables.hpp"

namespace hydrosum {

// Plot tables ku.plot, r.plot and k.plot with their comparison: not built yet.
void tabplt(Store&) {}

// Velocity-prediction tables rvpp.plot and kvpp.plot: not built yet.
void tabvpp(Store&) {}

}  // namespace hydrosum
