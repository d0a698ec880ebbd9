#include "sweep.hpp"

#include "surface.hpp"

#include <algorithm>
#include <cmath>

namespace appgrid {

namespace {

// Weight of the second difference that goes with a control value c:
// c^2/4 up to |c| = 2, |c|/2 beyond.
float weight(float c) { return 0.5f * std::fabs(c) * std::min(std::fabs(c) / 2.0f, 1.0f); }

// Central differences of a scalar field at an interior point.
struct Diff {
    float xi, eta, xixi, etaeta;
};

Diff diff(geom::Grid f, int i, int j) {
    return {0.5f * (f(i + 1, j) - f(i - 1, j)), 0.5f * (f(i, j + 1) - f(i, j - 1)),
            f(i + 1, j) - 2.0f * f(i, j) + f(i - 1, j), f(i, j + 1) - 2.0f * f(i, j) + f(i, j - 1)};
}

// One point: the new (u, v), or false where the metric is degenerate or
// the move is not finite.
bool relax(const Points& r, geom::Grid u, geom::Grid v, geom::Grid phi, geom::Grid psi, int i, int j, float omega,
           float& un, float& vn) {
    const V3 rxi = 0.5f * (r(i + 1, j) - r(i - 1, j));
    const V3 reta = 0.5f * (r(i, j + 1) - r(i, j - 1));
    const V3 rxixi = r(i + 1, j) - 2.0f * r(i, j) + r(i - 1, j);
    const V3 retaeta = r(i, j + 1) - 2.0f * r(i, j) + r(i, j - 1);
    const V3 rxieta = 0.25f * (r(i + 1, j + 1) - r(i - 1, j + 1) - r(i + 1, j - 1) + r(i - 1, j - 1));
    const float g11 = dot(rxi, rxi), g12 = dot(rxi, reta), g22 = dot(reta, reta);
    const float j2 = g11 * g22 - g12 * g12;
    if (j2 == 0.0f) return false;
    // the difference forms of the derivatives of J2 along xi and eta
    const float b1 = 2.0f * (g22 * dot(rxi, rxixi) + g11 * dot(reta, rxieta) - g12 * (dot(rxi, rxieta) + dot(reta, rxixi)));
    const float b2 =
        2.0f * (g22 * dot(rxi, rxieta) + g11 * dot(reta, retaeta) - g12 * (dot(rxi, retaeta) + dot(reta, rxieta)));
    const float c1 = 0.5f * (g22 * b1 - g12 * b2) / j2;
    const float c2 = 0.5f * (g11 * b2 - g12 * b1) / j2;
    const float a1 = c1 - (dot(reta, rxieta) - dot(rxi, retaeta));
    const float a2 = c2 - (dot(rxi, rxieta) - dot(reta, rxixi));
    const float p = phi(i, j), q = psi(i, j);
    const float wp = weight(p), wq = weight(q);
    const float d = (1.0f + wq) * g11 + (1.0f + wp) * g22;
    if (d == 0.0f) return false;
    const auto move = [&](const Diff& f) {
        return omega * 0.5f * (g22 * (wp * f.xixi + p * f.xi) + a1 * f.xi + a2 * f.eta + g11 * (wq * f.etaeta + q * f.eta)) /
               d;
    };
    un = u(i, j) + move(diff(u, i, j));
    vn = v(i, j) + move(diff(v, i, j));
    return std::isfinite(un) && std::isfinite(vn);
}

float dist2(V3 a, V3 b) {
    const V3 d = a - b;
    return dot(d, d);
}

}  // namespace

void uvsolv(geom::Grid xs, geom::Grid ys, geom::Grid zs, int imi, int jmi, geom::Grid u, geom::Grid v,
            geom::Grid x, geom::Grid y, geom::Grid z, geom::Grid phi, geom::Grid psi, int im, int jm, float omega,
            int iter, float& resrms, float& resmax) {
    resrms = 0.0f;
    resmax = 0.0f;
    if (im < 3 || jm < 3) return;
    const Points surface{xs, ys, zs};
    const Points r{x, y, z};
    int k = iter % 4;
    if (k < 0) k += 4;
    const bool i_down = k == 2 || k == 0, j_down = k == 3 || k == 0;
    float sum = 0.0f, top = 0.0f;
    for (int jn = 2; jn <= jm - 1; ++jn) {
        const int j = j_down ? jm + 1 - jn : jn;
        for (int in = 2; in <= im - 1; ++in) {
            const int i = i_down ? im + 1 - in : in;
            float un, vn;
            if (!relax(r, u, v, phi, psi, i, j, omega, un, vn)) continue;
            u(i, j) = un;
            v(i, j) = vn;
            const V3 r0 = r(i, j);
            r.set(i, j, surface_point(surface, imi, jmi, un, vn));
            const float m = std::min({dist2(r(i - 1, j), r0), dist2(r(i + 1, j), r0), dist2(r(i, j - 1), r0),
                                      dist2(r(i, j + 1), r0)});
            if (m == 0.0f) continue;   // no scale to measure the move by
            const float e = dist2(r(i, j), r0) / m;
            sum = sum + e;
            top = std::max(top, e);
        }
    }
    resrms = std::sqrt(sum) / static_cast<float>((jm - 2) * (im - 2));
    resmax = std::sqrt(top);
}

}  // namespace appgrid
