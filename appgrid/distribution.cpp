#include "distribution.hpp"

#include "linpack.hpp"

#include <array>

namespace appgrid {

namespace {

constexpr int kOrder = 6;   // unknowns c0..c5 of the polynomial in t

using Row = std::array<float, kOrder + 1>;   // six coefficients, then the right side

// The conditions of orders 3 to 5 on c0 + c1 t + ... + c5 t^5.  f4, f5 free
// c4 and c5 in the rows that would otherwise hold them.
struct Conditions {
    Row start, end, at_h, at_g, start_curv, end_curv, pin4, pin5;

    Conditions(float h, int m, float d1, float d2, float e1, float e2) {
        const float f4 = m >= 4 ? 1.0f : 0.0f;
        const float f5 = m >= 5 ? 1.0f : 0.0f;
        const float h2 = h * h, h3 = h2 * h, h4 = h2 * h2, h5 = h4 * h;
        const float g = 1.0f - h;
        const float g2 = g * g, g3 = g2 * g, g4 = g2 * g2, g5 = g4 * g;
        start = {1, 0, 0, 0, 0, 0, 0.0f};
        end = {1, 1, 1, 1, f4, f5, 1.0f};
        at_h = {1, h, h2, h3, f4 * h4, f5 * h5, d1};
        at_g = {1, g, g2, g3, f4 * g4, f5 * g5, 1.0f - d2};
        start_curv = {0, 0, 2, 0, 0, 0, e1 / h2};
        end_curv = {0, 0, 2, 6, 12.0f * f4, 20.0f * f5, e2 / h2};
        pin4 = {0, 0, 0, 0, 1, 0, 0.0f};
        pin5 = {0, 0, 0, 0, 0, 1, 0.0f};
    }

    // Rows 3 to 6 of the system by order.  Order 3 replaces a missing last
    // interval by the start curvature and a missing first interval by the end
    // curvature; in order 4 the sign of e1 picks the curvature condition.
    std::array<const Row*, 4> chosen(int m, float d1, float d2, float e1) const {
        if (m == 3) {
            if (d1 >= 0.0f && d2 >= 0.0f) return {&at_h, &at_g, &pin4, &pin5};
            if (d1 >= 0.0f) return {&at_h, &start_curv, &pin4, &pin5};
            return {&at_g, &end_curv, &pin4, &pin5};
        }
        if (m == 4) return {&at_h, &at_g, e1 >= 0.0f ? &start_curv : &end_curv, &pin5};
        return {&at_h, &at_g, &start_curv, &end_curv};
    }
};

}  // namespace

void poly(geom::Vec x, int n, int m, float d1, float d2, float e1, float e2) {
    if (n <= 0) return;
    if (n == 1) {   // no interval to shape
        x(1) = 0.0f;
        return;
    }
    std::array<float, 5> a{1.0f, 0.0f, 0.0f, 0.0f, 0.0f};
    const float h = 1.0f / static_cast<float>(n - 1);
    if (m == 2) {
        a[0] = d1 >= 0.0f ? d1 / h : 2.0f - d2 / h;
        a[1] = 1.0f - a[0];
    } else if (m >= 3) {
        const Conditions c(h, m, d1, d2, e1, e2);
        const auto rest = c.chosen(m, d1, d2, e1);
        const std::array<const Row*, kOrder> rows{&c.start, &c.end, rest[0], rest[1], rest[2], rest[3]};
        std::array<float, kOrder * kOrder> mat;
        std::array<float, kOrder> rhs;
        geom::Grid am(mat.data(), kOrder);
        for (int r = 1; r <= kOrder; ++r) {
            for (int col = 1; col <= kOrder; ++col) am(r, col) = (*rows[r - 1])[col - 1];
            rhs[r - 1] = (*rows[r - 1])[kOrder];
        }
        std::array<int, kOrder> ipvt;
        // A singular system (n = 2, or n = 3 with both value rows, where h = 1 - h)
        // would divide by a zero pivot and leave nothing finite: keep x = t then.
        if (ssgefa(am, kOrder, ipvt.data()) == 0) {
            ssgesl(am, kOrder, ipvt.data(), rhs.data(), 0);
            for (int k = 0; k < 5; ++k) a[k] = rhs[k + 1];
        }
    }
    for (int k = 0; k <= n - 1; ++k) {
        const float t = static_cast<float>(k) / static_cast<float>(n - 1);
        x(k + 1) = t * (a[0] + t * (a[1] + t * (a[2] + t * (a[3] + t * a[4]))));
    }
}

}  // namespace appgrid
