#include "linpack.hpp"

#include "blas.hpp"

namespace appgrid {

namespace {

constexpr int kUnit = 1;   // every vector here is contiguous

void axpy(int n, float a, const float* x, float* y) { saxpy_(&n, &a, x, &kUnit, y, &kUnit); }

}  // namespace

int ssgefa(geom::Grid a, int n, int* ipvt) {
    int info = 0;
    for (int k = 1; k <= n - 1; ++k) {
        const int len = n - k + 1;
        const int l = isamax_(&len, &a(k, k), &kUnit) + k - 1;
        ipvt[k - 1] = l;
        if (a(l, k) == 0.0f) {   // the column is already triangular
            info = k;
            continue;
        }
        if (l != k) {
            const float t = a(l, k);
            a(l, k) = a(k, k);
            a(k, k) = t;
        }
        const float scale = -1.0f / a(k, k);
        const int below = n - k;
        sscal_(&below, &scale, &a(k + 1, k), &kUnit);
        for (int j = k + 1; j <= n; ++j) {
            const float t = a(l, j);
            if (l != k) {
                a(l, j) = a(k, j);
                a(k, j) = t;
            }
            axpy(below, t, &a(k + 1, k), &a(k + 1, j));
        }
    }
    if (n >= 1) {
        ipvt[n - 1] = n;
        if (a(n, n) == 0.0f) info = n;
    }
    return info;
}

void ssgesl(geom::Grid a, int n, const int* ipvt, float* b, int job) {
    if (job == 0) {
        for (int k = 1; k <= n - 1; ++k) {   // L y = b
            const int l = ipvt[k - 1];
            const float t = b[l - 1];
            if (l != k) {
                b[l - 1] = b[k - 1];
                b[k - 1] = t;
            }
            axpy(n - k, t, &a(k + 1, k), &b[k]);
        }
        for (int k = n; k >= 1; --k) {   // U x = y
            b[k - 1] = b[k - 1] / a(k, k);
            axpy(k - 1, -b[k - 1], &a(1, k), &b[0]);
        }
        return;
    }
    for (int k = 1; k <= n; ++k) {   // trans(U) y = b
        const int len = k - 1;
        const float t = sdot_(&len, &a(1, k), &kUnit, &b[0], &kUnit);
        b[k - 1] = (b[k - 1] - t) / a(k, k);
    }
    for (int k = n - 1; k >= 1; --k) {   // trans(L) x = y
        const int len = n - k;
        b[k - 1] = b[k - 1] + sdot_(&len, &a(k + 1, k), &kUnit, &b[k], &kUnit);
        const int l = ipvt[k - 1];
        if (l != k) {
            const float t = b[l - 1];
            b[l - 1] = b[k - 1];
            b[k - 1] = t;
        }
    }
}

}  // namespace appgrid
