// Strip-theory drag of the lifting parts (keel, wing, rudder, frud) from a
// part network already read and scaled to full size.
#pragma once

#include "hydrosum/input/parts.hpp"

namespace hydrosum {

// Turns net into the part's plane and every station onto its chord (net is
// changed), cuts it into strips, writes the part's stripping line and fills
// the part's drag-area slot of every visited case. Geometry that gives no
// strip area, or no plane with two stations or more, stops the run. The
// counts are those the reader accepts (at most part_dim each).
void foil_drag(Store& st, Part part, PartNetwork& net);

}  // namespace hydrosum
