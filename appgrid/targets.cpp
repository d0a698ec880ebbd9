// Boundary angle and off-wall spacing targets.
#include "control.hpp"

#include "differences.hpp"
#include "surface.hpp"

#include <algorithm>
#include <cmath>

namespace appgrid {

namespace {

// One boundary of angdel: its fractions f, angle and spacing targets a and
// sp (views of one column of the caller's arrays), options and decay lengths.
struct Side {
    Boundary line;
    int n;
    geom::Vec f, a, sp;
    int angle_opt, space_opt;
    float decay_first, decay_last;
};

void targets(const Side& b) {
    const int n = b.n;
    const float half_pi = 0.5f * std::acos(-1.0f);
    for (int k = 1; k <= n; ++k) {
        const V3 tk = tangent(b.line, k, n);
        const V3 nk = static_cast<float>(b.line.d) * (b.line(k, 1) - b.line(k, 0));
        const float tl = norm(tk), nl = norm(nk);
        if (b.angle_opt > 0) {
            if (tl < kMinLength || nl < kMinLength) {
                b.a(k) = half_pi;
            } else {
                const float c = std::max(std::min(dot(tk, nk) / (nl * tl), 1.0f), -1.0f);
                b.a(k) = std::acos(c);
            }
        }
        if (b.space_opt > 0) b.sp(k) = nl;
    }
    const auto blend = [&](geom::Vec v) {
        for (int k = 2; k <= n - 1; ++k) v(k) = v(n) * b.f(k) + (1.0f - b.f(k)) * v(1);
    };
    if (b.angle_opt == 2 || b.angle_opt == 4) blend(b.a);
    if (b.space_opt == 2) blend(b.sp);
    const float ca = decay_constant(b.decay_first);
    const float cb = decay_constant(b.decay_last);
    if (b.angle_opt == 3 || b.angle_opt == 4) {
        for (int k = 1; k <= n; ++k) {
            const float f = decayed(std::max(ca * b.f(k), cb * (1.0f - b.f(k))));
            b.a(k) = half_pi + f * (b.a(k) - half_pi);
        }
    } else if (b.angle_opt == 5) {
        const float dev_first = b.a(1) - half_pi;
        const float dev_last = b.a(n) - half_pi;
        for (int k = 1; k <= n; ++k)
            b.a(k) = half_pi + dev_first * decayed(ca * b.f(k)) + dev_last * decayed(cb * (1.0f - b.f(k)));
    }
}

}  // namespace

void angdel(const std::array<int, 8>& opt, geom::Grid x, geom::Grid y, geom::Grid z, int im, int jm, geom::Grid s,
            geom::Grid t, geom::Grid angle_row, geom::Grid angle_col, geom::Grid space_row, geom::Grid space_col,
            const std::array<float, 8>& decay) {
    xyzst(x, y, z, s, t, im, jm);
    if (im < 2 || jm < 2) return;   // the tangent and the off-wall vector need two points each way
    const Points r{x, y, z};
    for (int side = 1; side <= 4; ++side) {
        const int angle_opt = opt[2 * side - 2], space_opt = opt[2 * side - 1];
        if (angle_opt == 0 && space_opt == 0) continue;
        const bool row = side <= 2;
        const int c = row ? side : side - 2;   // column of the per-boundary arrays
        const int first = row ? (c == 1 ? 1 : jm) : (c == 1 ? 1 : im);
        const geom::Grid f = row ? s : t, a = row ? angle_row : angle_col, sp = row ? space_row : space_col;
        targets(Side{Boundary{r, row, first, c == 1 ? 1 : -1}, row ? im : jm, &f(1, c), &a(1, c), &sp(1, c),
                     angle_opt, space_opt, decay[2 * side - 2], decay[2 * side - 1]});
    }
}

}  // namespace appgrid
