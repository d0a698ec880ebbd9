// Piecewise-linear interpolation of N ordinate arrays over one abscissa
// array: one search and one weight per point serve every array.
#pragma once

#include <array>

namespace geom {

// x(1..n), y[k](1..n) -> yi[k](1..ni) at xi(1..ni); 1-based pointers.
// Equal end abscissae give each array's mean; outside the table the end
// segment is extended; a segment of zero length gives the mean of its two
// ordinates; a NaN end abscissa writes nothing.
template <int N>
void interp(const float* x, const std::array<const float*, N>& y, int n, const float* xi,
            const std::array<float*, N>& yi, int ni) {
    auto X = [&](int k) { return x[k - 1]; };
    if (ni <= 0) return;
    if (X(n) == X(1)) {
        for (int a = 0; a < N; ++a) {
            float sum = 0.0f;
            for (int k = 1; k <= n; ++k) sum += y[a][k - 1];
            const float mean = sum / static_cast<float>(n);
            for (int p = 1; p <= ni; ++p) yi[a][p - 1] = mean;
        }
        return;
    }
    const bool up = X(n) > X(1);
    if (!up && !(X(n) < X(1))) return;
    for (int p = 1; p <= ni; ++p) {
        const float t0 = xi[p - 1];
        int j = 2;
        while (j < n && !(up ? X(j) >= t0 : X(j) <= t0)) ++j;
        const float dx = X(j) - X(j - 1);
        if (dx == 0.0f) {
            for (int a = 0; a < N; ++a) yi[a][p - 1] = 0.5f * (y[a][j - 2] + y[a][j - 1]);
            continue;
        }
        const float t = (t0 - X(j - 1)) / dx;
        for (int a = 0; a < N; ++a) yi[a][p - 1] = (y[a][j - 1] - y[a][j - 2]) * t + y[a][j - 2];
    }
}

}  // namespace geom
