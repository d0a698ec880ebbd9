// Four and six ordinate arrays over one abscissa array, by the library's one
// piecewise-linear rule, so that every caller gets the same numbers.
#include "hydrosum/tables/tables.hpp"

#include "lib/interp.hpp"

namespace hydrosum {

void intrp4(const float* x, const float* y1, const float* y2, const float* y3, const float* y4, int n,
            const float* xi, float* y1i, float* y2i, float* y3i, float* y4i, int ni) {
    geom::interp<4>(x, {y1, y2, y3, y4}, n, xi, {y1i, y2i, y3i, y4i}, ni);
}

void intrp6(const float* x, const float* y1, const float* y2, const float* y3, const float* y4, const float* y5,
            const float* y6, int n, const float* xi, float* y1i, float* y2i, float* y3i, float* y4i, float* y5i,
            float* y6i, int ni) {
    geom::interp<6>(x, {y1, y2, y3, y4, y5, y6}, n, xi, {y1i, y2i, y3i, y4i, y5i, y6i}, ni);
}

}  // namespace hydrosum
