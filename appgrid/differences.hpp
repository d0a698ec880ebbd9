// Differences along and across a block boundary, and the control values
// that make a point solve the grid equations, shared by the control kernels.
#pragma once

#include "appgrid/vec3.hpp"

#include <algorithm>
#include <cmath>
#include <optional>

namespace appgrid {

// Shorter tangents, off-wall vectors or lines have no direction.
constexpr float kMinLength = 1.0e-6f;

// exp(-2.3 distance / length): a tenth at one decay length, which is a
// fraction of a boundary's arc length or of a block's index range.
inline float decay_constant(float length) {
    constexpr float kMinDecay = 1.0e-6f;
    return -2.3f / std::max(length, kMinDecay);
}
// Exponents below -75 would only underflow.
inline float decayed(float exponent) { return std::exp(std::max(exponent, -75.0f)); }

// Tangent at point k of a boundary line of n points: one-sided at the ends,
// half the central difference inside.
inline V3 tangent(const Boundary& b, int k, int n) {
    if (k == 1) return b(2, 0) - b(1, 0);
    if (k == n) return b(n, 0) - b(n - 1, 0);
    return 0.5f * (b(k + 1, 0) - b(k - 1, 0));
}

// Second difference at the end point r0 of a line r0, r1, r2 from its
// one-sided slope (taken towards r1 times d).  It equals minus half the
// plain second difference of the three points: so the formula stands.
inline V3 end_second(V3 r0, V3 r1, V3 r2, V3 slope, float d) {
    return 0.5f * (8.0f * r1 - 7.0f * r0 - r2) - 3.0f * d * slope;
}

// phi and psi that make the equations hold at a point with these
// derivatives; each is empty where its quotient is not finite (g11, g22 or J2
// of 0: g11 = 0 or g22 = 0 makes J2 = 0 too).
struct FixedPoint {
    std::optional<float> phi, psi;
};

inline std::optional<float> finite_quotient(float num, float den) {
    if (den == 0.0f) return std::nullopt;
    const float q = num / den;
    if (!std::isfinite(q)) return std::nullopt;
    return q;
}

inline FixedPoint fixed_point(V3 rxi, V3 reta, V3 rxixi, V3 rxieta, V3 retaeta) {
    const float g11 = dot(rxi, rxi), g12 = dot(rxi, reta), g22 = dot(reta, reta);
    const float j2 = g11 * g22 - g12 * g12;
    const V3 r = g22 * rxixi - 2.0f * g12 * rxieta + g11 * retaeta;
    return {finite_quotient(g12 * dot(r, reta) - g22 * dot(r, rxi), g22 * j2),
            finite_quotient(g12 * dot(r, rxi) - g11 * dot(r, reta), g11 * j2)};
}

}  // namespace appgrid
