// The back half of a hydrosum run: the correction chain and the writers of
// the result, polar, plot, velocity-prediction and zone files.
#pragma once

#include "hydrosum/input/store.hpp"
#include "textio/platform.hpp"

namespace hydrosum {

// Interpolation of 4 or 6 ordinate arrays on one abscissa array (1-based
// arrays as pointers to their first element).
void intrp4(const float* x, const float* y1, const float* y2, const float* y3, const float* y4, int n,
            const float* xi, float* y1i, float* y2i, float* y3i, float* y4i, int ni);
void intrp6(const float* x, const float* y1, const float* y2, const float* y3, const float* y4, const float* y5,
            const float* y6, int n, const float* xi, float* y1i, float* y2i, float* y3i, float* y4i, float* y5i,
            float* y6i, int ni);

// Corrections of the store in place: leakage, surfing rudder, upright
// transfer, upright anchor, wind axes.
void correc(Store& st);

// Date into comint(9..11) and the header stamps of the present classes.
void build_stamps(Store& st, const textio::LocalDate& date);

// Result tables (converting the store to output units) and polar tables.
void tabout(Store& st);
// Plot tables and velocity-prediction tables, each compared with a previous version.
void tabplt(Store& st);
void tabvpp(Store& st);
// Tecplot zone files.
void teczon(Store& st);

}  // namespace hydrosum
