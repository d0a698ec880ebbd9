#include "tfi.hpp"

namespace appgrid {

namespace {

// Blending coordinates of point (i, j): where the line joining point i's
// fractions on rows 1 and jm crosses the line joining row j's fractions on
// columns 1 and im.
struct Blend {
    float xi, eta;
};

Blend blend(geom::Grid s, geom::Grid t, int i, int j) {
    const float sb = s(i, 1), st = s(i, 2), tl = t(j, 1), tr = t(j, 2);
    const float ds = st - sb, dt = tr - tl;
    const float d = 1.0f - ds * dt;
    return {(tl * ds + sb) / d, (sb * dt + tl) / d};
}

void interpolate(geom::Grid f, Blend b, int i, int j, int im, int jm) {
    const float xi = b.xi, eta = b.eta;
    f(i, j) = (1.0f - eta) * f(i, 1) + eta * f(i, jm) + (1.0f - xi) * f(1, j) + xi * f(im, j) -
              (1.0f - eta) * ((1.0f - xi) * f(1, 1) + xi * f(im, 1)) - eta * ((1.0f - xi) * f(1, jm) + xi * f(im, jm));
}

// Only boundary values enter, so the interior may be filled in any order.
void interior(geom::Grid f, geom::Grid g, geom::Grid s, geom::Grid t, int im, int jm) {
    for (int j = 2; j <= jm - 1; ++j)
        for (int i = 2; i <= im - 1; ++i) {
            const Blend b = blend(s, t, i, j);
            interpolate(f, b, i, j, im, jm);
            interpolate(g, b, i, j, im, jm);
        }
}

}  // namespace

void uvtfi(geom::Grid u, geom::Grid v, geom::Grid s, geom::Grid t, int im, int jm) { interior(u, v, s, t, im, jm); }

void pptfi(geom::Grid phi, geom::Grid psi, geom::Grid s, geom::Grid t, int im, int jm) {
    if (im < 1 || jm < 1) return;
    for (int j = 2; j <= jm - 1; ++j) {
        phi(1, j) = (1.0f - t(j, 1)) * phi(1, 1) + t(j, 1) * phi(1, jm);
        phi(im, j) = (1.0f - t(j, 2)) * phi(im, 1) + t(j, 2) * phi(im, jm);
    }
    for (int i = 2; i <= im - 1; ++i) {
        psi(i, 1) = (1.0f - s(i, 1)) * psi(1, 1) + s(i, 1) * psi(im, 1);
        psi(i, jm) = (1.0f - s(i, 2)) * psi(1, jm) + s(i, 2) * psi(im, jm);
    }
    interior(phi, psi, s, t, im, jm);
}

}  // namespace appgrid
