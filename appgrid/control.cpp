// Thomas-Middlecoff start fields and the fixed-point fields of a grid.
#include "control.hpp"

#include "differences.hpp"
#include "surface.hpp"
#include "tfi.hpp"

#include <algorithm>

namespace appgrid {

namespace {

// The control function of the direction along a line of n >= 3 points that
// its own spacing asks for: -(r' . r'') / |r'|^2 at every point, 0 where r'
// vanishes and on the whole of a vanishing line.
template <typename Out>
void line_control(const Boundary& b, int n, Out c) {
    float length = 0.0f;
    for (int k = 1; k <= n; ++k) {
        const V3 d1 = tangent(b, k, n);
        V3 d2;
        if (k == 1)
            d2 = end_second(b(1, 0), b(2, 0), b(3, 0), d1, 1.0f);
        else if (k == n)
            d2 = end_second(b(n, 0), b(n - 1, 0), b(n - 2, 0), d1, -1.0f);
        else
            d2 = b(k + 1, 0) - 2.0f * b(k, 0) + b(k - 1, 0);
        const float len = norm(d1);
        c(k) = len <= kMinLength ? 0.0f : -dot(d1, d2) / (len * len);
        if (k > 1) length = length + norm(b(k, 0) - b(k - 1, 0));
    }
    if (length < kMinLength)
        for (int k = 1; k <= n; ++k) c(k) = 0.0f;
}

}  // namespace

void tandm(geom::Grid x, geom::Grid y, geom::Grid z, geom::Grid s, geom::Grid t, geom::Grid phi, geom::Grid psi,
           int im, int jm) {
    const Points r{x, y, z};
    if (im < 3 || jm < 3) {
        for (int j = 1; j <= jm; ++j)
            for (int i = 1; i <= im; ++i) phi(i, j) = psi(i, j) = 0.0f;
        xyzst(x, y, z, s, t, im, jm);
        return;
    }
    for (int j : {1, jm}) line_control(Boundary{r, true, j, 1}, im, [&](int k) -> float& { return phi(k, j); });
    for (int i : {1, im}) line_control(Boundary{r, false, i, 1}, jm, [&](int k) -> float& { return psi(i, k); });
    xyzst(x, y, z, s, t, im, jm);
    pptfi(phi, psi, s, t, im, jm);
}

void fixed(geom::Grid x, geom::Grid y, geom::Grid z, geom::Grid phi, geom::Grid psi, int im, int jm) {
    if (im < 3 || jm < 3) return;   // the boundary points' second differences reach two points in
    const Points r{x, y, z};
    // Neighbours and step factor of index k of n: central inside, one-sided at
    // the ends, where the second difference is the neighbour's.
    struct Stencil {
        int lo, hi, centre;
        float h;
    };
    const auto stencil = [](int k, int n) {
        const bool inside = k > 1 && k < n;
        return Stencil{k > 1 ? k - 1 : k, k < n ? k + 1 : k, std::clamp(k, 2, n - 1), inside ? 0.5f : 1.0f};
    };
    for (int j = 1; j <= jm; ++j) {
        const Stencil sj = stencil(j, jm);
        for (int i = 1; i <= im; ++i) {
            const Stencil si = stencil(i, im);
            const V3 rxi = si.h * (r(si.hi, j) - r(si.lo, j));
            const V3 reta = sj.h * (r(i, sj.hi) - r(i, sj.lo));
            const V3 rxieta = si.h * sj.h * (r(si.hi, sj.hi) - r(si.hi, sj.lo) - r(si.lo, sj.hi) + r(si.lo, sj.lo));
            const V3 rxixi = r(si.centre + 1, j) - 2.0f * r(si.centre, j) + r(si.centre - 1, j);
            const V3 retaeta = r(i, sj.centre + 1) - 2.0f * r(i, sj.centre) + r(i, sj.centre - 1);
            const FixedPoint f = fixed_point(rxi, reta, rxixi, rxieta, retaeta);
            if (f.phi) phi(i, j) = *f.phi;
            if (f.psi) psi(i, j) = *f.psi;
        }
    }
}

}  // namespace appgrid
