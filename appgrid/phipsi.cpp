// Control-function update towards the boundary targets.
#include "control.hpp"

#include "differences.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace appgrid {

namespace {

// x to the integer power n by repeated squaring in single precision
// (Fortran's real**integer); a negative n gives 1 / x^|n|.
float powi(float x, int n) {
    unsigned m = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
    float y = (m & 1u) ? x : 1.0f;
    while (m >>= 1) {
        x = x * x;
        if (m & 1u) y = y * x;
    }
    return n < 0 ? 1.0f / y : y;
}

// v moved towards target by at most |e| wa and at most max(|v|, 1) wb.
void limited_step(float& v, float target, float wa, float wb) {
    const float e = target - v;
    const float step = std::min(std::fabs(e) * wa, std::max(std::fabs(v), 1.0f) * wb);
    v = v + (e < 0.0f ? -step : step);
}

// One switched-on boundary of phipsi and what it updates.
struct Side {
    Boundary line;
    int n;
    geom::Vec angle, space;     // targets along the boundary
    geom::Vec phi, psi;         // boundary values along it
    int exp_above, exp_below;   // exponents where |N| is above the target spacing, at or below it
};

void update_side(const Side& b, float wa, float wb) {
    const int n = b.n;
    std::array<V3, kLineCap> tan, off;
    for (int k = 1; k <= n; ++k) {
        tan[k - 1] = tangent(b.line, k, n);
        off[k - 1] = static_cast<float>(b.line.d) * (b.line(k, 1) - b.line(k, 0));
    }
    // The off-wall vectors of the targets: at angle A from T, on N's side, of
    // length D (D/|N|)^n.  The whole line is done before the differences of N.
    for (int k = 1; k <= n; ++k) {
        const V3 tk = tan[k - 1], nk = off[k - 1];
        const float tl = norm(tk);
        const V3 c = cross(tk, nk);
        const float cl = norm(c);
        if (!(tl > kMinLength && std::sqrt(cl) > kMinLength)) continue;   // T x N vanishes: keep N
        const float a = b.angle(k), d = b.space(k);
        const float nl = norm(nk);
        const float p = powi(d / nl, nl <= d ? b.exp_below : b.exp_above);
        const V3 chat{c.x / cl, c.y / cl, c.z / cl};
        off[k - 1] = (d * p / tl) * (std::cos(a) * tk + std::sin(a) * cross(chat, tk));
    }
    for (int k = 1; k <= n; ++k) {
        V3 along;   // second difference along the boundary
        V3 mixed;   // difference of the off-wall vectors along it
        if (k == 1) {
            along = end_second(b.line(1, 0), b.line(2, 0), b.line(3, 0), tan[0], 1.0f);
            mixed = off[1] - off[0];
        } else if (k == n) {
            along = end_second(b.line(n, 0), b.line(n - 1, 0), b.line(n - 2, 0), tan[n - 1], -1.0f);
            mixed = off[n - 1] - off[n - 2];
        } else {
            along = b.line(k - 1, 0) - 2.0f * b.line(k, 0) + b.line(k + 1, 0);
            mixed = 0.5f * (off[k] - off[k - 2]);
        }
        const V3 across =
            end_second(b.line(k, 0), b.line(k, 1), b.line(k, 2), off[k - 1], static_cast<float>(b.line.d));
        const FixedPoint f = b.line.row ? fixed_point(tan[k - 1], off[k - 1], along, mixed, across)
                                        : fixed_point(off[k - 1], tan[k - 1], across, mixed, along);
        if (f.phi) limited_step(b.phi(k), *f.phi, wa, wb);
        if (f.psi) limited_step(b.psi(k), *f.psi, wa, wb);
    }
}

float decay_weight(bool on, int steps, float h, float c) { return on ? decayed(static_cast<float>(steps) * h * c) : 0.0f; }

// The corner values (mean of the row's and the column's) and the rebuild of
// one field from its boundary values and its reference field.
void rebuild(geom::Grid f, geom::Grid ref, geom::Grid row, geom::Grid col, const std::array<int, 4>& on,
             const std::array<float, 4>& c, int im, int jm) {
    const float f11 = 0.5f * (row(1, 1) + col(1, 1));
    const float fm1 = 0.5f * (row(im, 1) + col(1, 2));
    const float f1n = 0.5f * (row(1, 2) + col(jm, 1));
    const float fmn = 0.5f * (row(im, 2) + col(jm, 2));
    // a block one point wide spans no index range
    const float hi = im > 1 ? 1.0f / static_cast<float>(im - 1) : 0.0f;
    const float hj = jm > 1 ? 1.0f / static_cast<float>(jm - 1) : 0.0f;
    for (int j = 1; j <= jm; ++j) {
        const float eb = decay_weight(on[0] != 0, j - 1, hj, c[0]);
        const float et = decay_weight(on[1] != 0, jm - j, hj, c[1]);
        const float fl = j == 1 ? f11 : j == jm ? f1n : col(j, 1);
        const float fr = j == 1 ? fm1 : j == jm ? fmn : col(j, 2);
        for (int i = 1; i <= im; ++i) {
            const float el = decay_weight(on[2] != 0, i - 1, hi, c[2]);
            const float er = decay_weight(on[3] != 0, im - i, hi, c[3]);
            const float fb = i == 1 ? f11 : i == im ? fm1 : row(i, 1);
            const float ft = i == 1 ? f1n : i == im ? fmn : row(i, 2);
            const float sr = eb + et, sc = el + er;
            const float w = sr + sc - sr * sc;
            const float bsum = el * fl + er * fr + eb * fb + et * ft - eb * (el * f11 + er * fm1) -
                               et * (el * f1n + er * fmn);
            // W B, not B: the boundary sum is weighted once more
            f(i, j) = w * bsum + (1.0f - w) * ref(i, j);
        }
    }
}

}  // namespace

void phipsi(geom::Grid x, geom::Grid y, geom::Grid z, geom::Grid phi, geom::Grid psi, geom::Grid phi_ref,
            geom::Grid psi_ref, int im, int jm, geom::Grid phi_row, geom::Grid psi_row, geom::Grid phi_col,
            geom::Grid psi_col, geom::Grid angle_row, geom::Grid angle_col, geom::Grid space_row,
            geom::Grid space_col, const PhipsiSettings& set, float& omega, float& ra, float& rb, PhipsiState& state) {
    if (std::max(im, jm) > kLineCap) throw std::length_error("phipsi: a boundary longer than its scratch lines");
    if (omega < 0.0f) omega = 0.5f;
    if (ra < 0.0f) ra = 0.1f;
    if (rb < 0.0f) rb = 0.1f;
    const float wa = std::min(omega, ra), wb = std::min(omega, rb);
    for (int side = 0; side < 4; ++side)
        if (set.on[side] > 0) state.decay_const[side] = decay_constant(set.decay[side]);
    if (im < 1 || jm < 1) return;

    const Points r{x, y, z};
    // the one-sided formulas reach three lines into the block, and along it
    const bool room = im >= 3 && jm >= 3;
    for (int side = 0; side < 4; ++side) {
        const bool row = side < 2;
        const int c = side % 2 + 1;   // column of the per-boundary arrays
        const int first = c == 1 ? 1 : (row ? jm : im);
        const int n = row ? im : jm;
        const geom::Grid bphi = row ? phi_row : phi_col, bpsi = row ? psi_row : psi_col;
        if (set.on[side] == 0) {
            for (int k = 1; k <= n; ++k) {
                bphi(k, c) = row ? phi_ref(k, first) : phi_ref(first, k);
                bpsi(k, c) = row ? psi_ref(k, first) : psi_ref(first, k);
            }
        } else if (room) {
            const geom::Grid a = row ? angle_row : angle_col, sp = row ? space_row : space_col;
            update_side(Side{Boundary{r, row, first, c == 1 ? 1 : -1}, n, &a(1, c), &sp(1, c), &bphi(1, c),
                             &bpsi(1, c), set.exponent[2 * side], set.exponent[2 * side + 1]},
                        wa, wb);
        }
    }
    rebuild(phi, phi_ref, phi_row, phi_col, set.on, state.decay_const, im, jm);
    rebuild(psi, psi_ref, psi_row, psi_col, set.on, state.decay_const, im, jm);
}

}  // namespace appgrid
