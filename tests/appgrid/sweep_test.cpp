#include "appgrid/surface.hpp"
#include "appgrid/sweep.hpp"

#include "fixtures.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace appgrid_test;
using appgrid::V3;

// A block on the flat network x = i, y = j of the same size, so that
// (u, v) and (x, y) agree up to the rounding of the bilinear weights.
struct Sweep {
    int im, jm;
    Block surface;
    Field u, v, x, y, z, phi, psi;
    float resrms = -1, resmax = -1;

    Sweep(int im_, int jm_)
        : im(im_), jm(jm_),
          surface(im_, jm_, [](int i, int j) -> V3 { return {static_cast<float>(i), static_cast<float>(j), 0}; }),
          u(im_, jm_), v(im_, jm_), x(im_, jm_), y(im_, jm_), z(im_, jm_), phi(im_, jm_, 0.0f), psi(im_, jm_, 0.0f) {
        for (int j = 1; j <= jm; ++j)
            for (int i = 1; i <= im; ++i) u(i, j) = static_cast<float>(i), v(i, j) = static_cast<float>(j);
    }
    // x, y, z from u, v
    void place() {
        appgrid::xyzuv(surface.x.g(), surface.y.g(), surface.z.g(), im, jm, u.g(), v.g(), x.g(), y.g(), z.g(), im, jm);
    }
    void run(float omega, int iter) {
        appgrid::uvsolv(surface.x.g(), surface.y.g(), surface.z.g(), im, jm, u.g(), v.g(), x.g(), y.g(), z.g(),
                        phi.g(), psi.g(), im, jm, omega, iter, resrms, resmax);
    }
    V3 r(int i, int j) { return {x(i, j), y(i, j), z(i, j)}; }
    // One sweep that must move no point and report no residual.
    void expect_still(float omega, int iter, const std::string& what) {
        const std::vector<float> u0 = u.v, v0 = v.v, x0 = x.v;
        run(omega, iter);
        EXPECT_EQ(u.v, u0) << what;
        EXPECT_EQ(v.v, v0) << what;
        EXPECT_EQ(x.v, x0) << what;
        EXPECT_EQ(resrms, 0.0f) << what;
        EXPECT_EQ(resmax, 0.0f) << what;
    }
    // The interior moved off the even grid, and control values that vary.
    void perturb() {
        for (int j = 2; j <= jm - 1; ++j)
            for (int i = 2; i <= im - 1; ++i) {
                u(i, j) += 0.2f * std::sin(1.3f * i + 2.1f * j);
                v(i, j) += 0.15f * std::cos(0.7f * i * j);
            }
        for (int j = 1; j <= jm; ++j)
            for (int i = 1; i <= im; ++i) phi(i, j) = 0.3f + 0.1f * i, psi(i, j) = -0.2f + 0.3f * j;
        place();
    }
    // The mirror image in i and/or j: the control function of a reversed
    // direction changes sign.
    Sweep mirrored(bool in_i, bool in_j) {
        Sweep m(im, jm);
        for (int j = 1; j <= jm; ++j)
            for (int i = 1; i <= im; ++i) {
                const int mi = in_i ? im + 1 - i : i, mj = in_j ? jm + 1 - j : j;
                m.u(mi, mj) = in_i ? static_cast<float>(im + 1) - u(i, j) : u(i, j);
                m.v(mi, mj) = in_j ? static_cast<float>(jm + 1) - v(i, j) : v(i, j);
                m.phi(mi, mj) = in_i ? -phi(i, j) : phi(i, j);
                m.psi(mi, mj) = in_j ? -psi(i, j) : psi(i, j);
            }
        m.place();
        return m;
    }
};

TEST(Uvsolv, EvenGridIsAFixedPoint) {
    for (int iter = 1; iter <= 4; ++iter) {
        Sweep s(6, 5);
        s.place();
        s.expect_still(1.5f, iter, "iter " + std::to_string(iter));
    }
    Sweep s(6, 5);
    s.perturb();
    s.expect_still(0.0f, 1, "omega 0 moves nothing, even off the fixed point");
}

TEST(Uvsolv, ResidualsMeasureMovesByTheNearestNeighbour) {
    // one interior point half a cell off: omega 0.5 moves it back by 0.25,
    // half its distance 0.5 to the nearest neighbour
    Sweep one(3, 3);
    one.u(2, 2) = 2.5f;
    one.place();
    one.run(0.5f, 1);
    EXPECT_EQ(one.u(2, 2), 2.25f);
    EXPECT_EQ(one.v(2, 2), 2.0f);
    EXPECT_EQ(one.resmax, 0.5f);
    EXPECT_EQ(one.resrms, 0.5f);

    // many points, Gauss-Seidel: each move against the old point and the
    // neighbours as they stand when it is visited (i and j up); resrms is the
    // root of the sum over the count, not a root mean square
    Sweep s(6, 5);
    s.perturb();
    Sweep before = s;
    s.run(1.0f, 1);
    double sum = 0, top = 0;
    for (int j = 2; j <= 4; ++j)
        for (int i = 2; i <= 5; ++i) {
            const auto d2 = [&](V3 a) {
                const V3 d = a - before.r(i, j);
                return appgrid::dot(d, d);
            };
            const float m = std::min({d2(s.r(i - 1, j)), d2(before.r(i + 1, j)), d2(s.r(i, j - 1)), d2(before.r(i, j + 1))});
            const double e = d2(s.r(i, j)) / m;
            sum += e;
            top = std::max(top, e);
        }
    ASSERT_GT(top, 1e-4) << "the points moved";
    EXPECT_NEAR(s.resrms, std::sqrt(sum) / 12, 1e-6 * std::sqrt(sum));
    EXPECT_NEAR(s.resmax, std::sqrt(top), 1e-6 * std::sqrt(top));
}

TEST(Uvsolv, DirectionFollowsIterModFour) {
    // iter 2 runs i down: the mirror image in i of iter 1 on the mirrored
    // grid; iter 3 alike in j, iter 4 in both.  The orders give visibly
    // different grids, so the mirror test tells them apart.
    constexpr float kMirrorTol = 2e-5f;   // rounding of the mirrored arithmetic
    Sweep base(7, 6);
    base.perturb();
    Sweep up = base;
    up.run(1.0f, 1);
    const std::pair<int, std::pair<bool, bool>> orders[] = {{2, {true, false}}, {3, {false, true}}, {4, {true, true}}};
    for (auto [iter, mirror] : orders) {
        auto [in_i, in_j] = mirror;
        Sweep s = base;
        s.run(1.0f, iter);
        Sweep m = base.mirrored(in_i, in_j);
        m.run(1.0f, 1);
        Sweep back = m.mirrored(in_i, in_j);
        float order_gap = 0;
        for (std::size_t k = 0; k < s.u.v.size(); ++k) {
            EXPECT_NEAR(s.u.v[k], back.u.v[k], kMirrorTol) << "iter " << iter << ", entry " << k;
            EXPECT_NEAR(s.v.v[k], back.v.v[k], kMirrorTol) << "iter " << iter << ", entry " << k;
            order_gap = std::max(order_gap, std::fabs(s.u.v[k] - up.u.v[k]) + std::fabs(s.v.v[k] - up.v.v[k]));
        }
        EXPECT_GT(order_gap, 100 * kMirrorTol) << "iter " << iter << " differs from iter 1";
        EXPECT_NEAR(s.resmax, m.resmax, kMirrorTol) << "iter " << iter;
    }
    for (auto [iter, same] : {std::pair{5, 1}, {0, 4}, {8, 4}}) {
        Sweep a = base, b = base;
        a.run(1.0f, iter);
        b.run(1.0f, same);
        EXPECT_EQ(a.u.v, b.u.v) << "iter " << iter << " as " << same;
        EXPECT_EQ(a.resrms, b.resrms) << "iter " << iter << " as " << same;
    }
}

TEST(Uvsolv, DegeneratePointsStayFinite) {
    // every point in one place: no metric anywhere, nothing moves
    Sweep flat(4, 4);
    for (float& w : flat.u.v) w = 2;
    for (float& w : flat.v.v) w = 2;
    flat.place();
    flat.expect_still(1.0f, 1, "all in one place");
    // the interior point on top of its neighbour (1, 2): it moves, but has no
    // distance to measure the move by
    Sweep one(3, 3);
    one.u(2, 2) = 1;
    one.place();
    one.run(1.0f, 1);
    EXPECT_NE(one.u(2, 2), 1.0f);
    EXPECT_TRUE(std::isfinite(one.u(2, 2)) && std::isfinite(one.x(2, 2)));
    EXPECT_EQ(one.resrms, 0.0f);
    EXPECT_EQ(one.resmax, 0.0f);
    // a network so large that the metric overflows: no point moves
    Sweep huge(5, 4);
    huge.perturb();
    for (Field* f : {&huge.surface.x, &huge.surface.y})
        for (float& w : f->v) w *= 1e20f;
    huge.place();
    huge.expect_still(1.0f, 1, "metric overflows");
}

TEST(Uvsolv, BlocksWithoutInterior) {
    for (auto [im, jm] : {std::pair{2, 4}, {4, 2}, {1, 1}}) {
        Sweep s(im, jm);
        s.perturb();
        s.resrms = s.resmax = 5;
        s.expect_still(1.0f, 1, std::to_string(im) + " x " + std::to_string(jm));
    }
}

}  // namespace
