#include "surface.hpp"

#include <algorithm>

namespace appgrid {

namespace {

// Shorter lines count as degenerate: their points get even fractions.
constexpr float kMinLength = 1.0e-6f;

// f(1..n) = the cumulative distances along a line of n points, divided by
// the total; dist(k) is the distance from point k-1 to point k.
template <typename Dist, typename Out>
void fractions(int n, Dist dist, Out f) {
    f(1) = 0.0f;
    for (int k = 2; k <= n; ++k) f(k) = f(k - 1) + dist(k);
    if (f(n) > kMinLength) {
        const float r = 1.0f / f(n);
        for (int k = 2; k <= n; ++k) f(k) = f(k) * r;
    } else if (n > 1) {
        const float r = 1.0f / static_cast<float>(n - 1);
        for (int k = 1; k <= n - 1; ++k) f(k + 1) = static_cast<float>(k) * r;
    }
}

// The four boundary lines of an im x jm block: row 1 into s(., 1), row jm
// into s(., 2), column 1 into t(., 1), column im into t(., 2).  dist(a, b)
// is the distance between the block points a and b.
template <typename Dist>
void boundary_fractions(geom::Grid s, geom::Grid t, int im, int jm, Dist dist) {
    if (im < 1 || jm < 1) return;
    for (int side = 1; side <= 2; ++side) {
        const int j = side == 1 ? 1 : jm;
        fractions(im, [&](int k) { return dist(k - 1, j, k, j); }, [&](int k) -> float& { return s(k, side); });
    }
    for (int side = 1; side <= 2; ++side) {
        const int i = side == 1 ? 1 : im;
        fractions(jm, [&](int k) { return dist(i, k - 1, i, k); }, [&](int k) -> float& { return t(k, side); });
    }
}

// Cell index and weight of one coordinate w on a network of n points.
struct Cell {
    int lo, hi;
    float a;
};

Cell cell(float w, int n) {
    if (!(w <= static_cast<float>(n))) w = static_cast<float>(n);   // a NaN ends there too
    if (w <= 1.0f) w = 1.0f;
    // a network one point wide has no cell: its one point serves
    const int lo = std::max(1, std::min(static_cast<int>(w), n - 1));
    return {lo, n > 1 ? lo + 1 : lo, w - static_cast<float>(lo)};
}

}  // namespace

void uvst(geom::Grid u, geom::Grid v, geom::Grid s, geom::Grid t, int im, int jm) {
    boundary_fractions(s, t, im, jm, [&](int i0, int j0, int i1, int j1) {
        const float du = u(i1, j1) - u(i0, j0);
        const float dv = v(i1, j1) - v(i0, j0);
        return std::sqrt(du * du + dv * dv);
    });
}

void xyzst(geom::Grid x, geom::Grid y, geom::Grid z, geom::Grid s, geom::Grid t, int im, int jm) {
    const Points r{x, y, z};
    boundary_fractions(s, t, im, jm, [&](int i0, int j0, int i1, int j1) { return norm(r(i1, j1) - r(i0, j0)); });
}

V3 surface_point(const Points& surface, int imi, int jmi, float u, float v) {
    const Cell ci = cell(u, imi);
    const Cell cj = cell(v, jmi);
    const float a = ci.a, b = cj.a;
    const V3 p00 = surface(ci.lo, cj.lo), p10 = surface(ci.hi, cj.lo);
    const V3 p01 = surface(ci.lo, cj.hi), p11 = surface(ci.hi, cj.hi);
    return (1.0f - b) * (1.0f - a) * p00 + (1.0f - b) * a * p10 + (1.0f - a) * b * p01 + a * b * p11;
}

void xyzuv(geom::Grid xs, geom::Grid ys, geom::Grid zs, int imi, int jmi, geom::Grid u, geom::Grid v,
           geom::Grid x, geom::Grid y, geom::Grid z, int im, int jm) {
    if (imi < 1 || jmi < 1) return;
    const Points surface{xs, ys, zs};
    const Points r{x, y, z};
    for (int j = 1; j <= jm; ++j)
        for (int i = 1; i <= im; ++i) r.set(i, j, surface_point(surface, imi, jmi, u(i, j), v(i, j)));
}

}  // namespace appgrid
