#include "appgrid/distribution.hpp"
#include "appgrid/linpack.hpp"
#include "lib/curves.hpp"

#include "fixtures.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

using appgrid_test::kUntouched;

std::vector<float> poly_of(int n, int m, float d1, float d2, float e1, float e2, int room = 0) {
    std::vector<float> x(static_cast<std::size_t>(std::max(n, 0) + room), kUntouched);
    appgrid::poly(x.data(), n, m, d1, d2, e1, e2);
    return x;
}

// Values near 1 after a 6 x 6 solve and a Horner sum: a few float ulps.
constexpr float kValueTol = 2e-6f;
// Curvature terms recovered from the values by a six-point formula whose
// weights reach 18: the value error grows by about 60.
constexpr float kCurvTol = 2e-4f;

// x''(0) h^2 from x(1..6) by the one-sided six-point formula, exact for
// polynomials up to degree 5; x''(1) h^2 alike from the last six values.
float start_curvature(const std::vector<float>& x) {
    const double w[6] = {15.0 / 4, -77.0 / 6, 107.0 / 6, -13.0, 61.0 / 12, -5.0 / 6};
    double c = 0;
    for (int k = 0; k < 6; ++k) c += w[k] * x[k];
    return static_cast<float>(c);
}
float end_curvature(const std::vector<float>& x) { return start_curvature(std::vector<float>(x.rbegin(), x.rend())); }

TEST(Poly, OrdersOneAndTwoAreClosedForms) {
    const std::vector<float> uniform{0, 0.25f, 0.5f, 0.75f, 1};
    for (int m : {1, 0, -3}) EXPECT_EQ(poly_of(5, m, 0.3f, 0.3f, 0, 0), uniform) << "order " << m;
    EXPECT_EQ(poly_of(5, 2, 0.25f, -1, 0, 0), uniform) << "first interval h: a0 = 1, a1 = 0";
    EXPECT_EQ(poly_of(5, 2, 0.0f, -1, 0, 0), (std::vector<float>{0, 0.0625f, 0.25f, 0.5625f, 1})) << "x = t^2";
    // d1 < 0: the slope at the end is d2/h = 2 - a0, so x = 0.5 t + 0.5 t^2
    EXPECT_EQ(poly_of(5, 2, -1, 0.375f, 0, 0), (std::vector<float>{0, 0.15625f, 0.375f, 0.65625f, 1}));
}

TEST(Poly, HigherOrdersMeetTheirConditions) {
    // n = 6 (h = 0.2); each case checks every condition its order imposes
    struct Case {
        const char* what;
        int m;
        float d1, d2, e1, e2;
        bool first, last, start_curv, end_curv;
    };
    const Case cases[] = {
        {"order 3, both intervals", 3, 0.1f, 0.3f, 0, 0, true, true, false, false},
        {"order 3, even intervals", 3, 0.2f, 0.2f, 0, 0, true, true, false, false},
        {"order 3, zero first interval counts as given", 3, 0.0f, 0.3f, 0, 0, true, true, false, false},
        {"order 3, no last interval: start curvature", 3, 0.1f, -1, 0.03f, 0, true, false, true, false},
        {"order 3, no first interval: end curvature", 3, -1, 0.3f, 0, -0.02f, false, true, false, true},
        {"order 4, e1 >= 0: start curvature", 4, 0.05f, 0.3f, 0.02f, 0, true, true, true, false},
        {"order 4, e1 < 0: end curvature (the layout's)", 4, 0.05f, 0.3f, -1, 0, true, true, false, true},
        {"order 5, all four", 5, 0.05f, 0.3f, 0.01f, -0.05f, true, true, true, true},
    };
    for (const Case& c : cases) {
        const std::vector<float> x = poly_of(6, c.m, c.d1, c.d2, c.e1, c.e2);
        EXPECT_EQ(x[0], 0.0f) << c.what;
        EXPECT_NEAR(x[5], 1.0f, kValueTol) << c.what;
        if (c.first) { EXPECT_NEAR(x[1] - x[0], c.d1, kValueTol) << c.what; }
        if (c.last) { EXPECT_NEAR(x[5] - x[4], c.d2, kValueTol) << c.what; }
        if (c.start_curv) { EXPECT_NEAR(start_curvature(x), c.e1, kCurvTol) << c.what; }
        if (c.end_curv) { EXPECT_NEAR(end_curvature(x), c.e2, kCurvTol) << c.what; }
    }
    EXPECT_EQ(poly_of(6, 7, 0.05f, 0.3f, 0.01f, -0.05f), poly_of(6, 5, 0.05f, 0.3f, 0.01f, -0.05f)) << "7 acts as 5";
    // even intervals give the uniform distribution up to rounding
    const std::vector<float> even = poly_of(11, 3, 0.1f, 0.1f, 0, 0);
    for (int k = 0; k < 11; ++k) EXPECT_NEAR(even[k], k / 10.0f, kValueTol) << k;
}

TEST(Poly, ContradictoryConditionsGiveTheUniformDistribution) {
    // n = 2: a value row repeats the start or end row; n = 3: h = 1 - h, so
    // the two value rows coincide wherever both are used
    struct Case {
        int n, m;
        float d1, d2, e1;
    };
    const Case cases[] = {{2, 3, 0.5f, 0.5f, 0}, {2, 3, 0.5f, -1, 0}, {2, 3, -1, 0.5f, 0}, {2, 4, 0.5f, 0.5f, -1},
                          {2, 5, 0.5f, 0.5f, 0}, {3, 3, 0.4f, 0.2f, 0}, {3, 4, 0.4f, 0.2f, -1}, {3, 4, 0.4f, 0.2f, 0},
                          {3, 5, 0.4f, 0.2f, 0}, {3, 7, 0.4f, 0.2f, 0}};
    for (const Case& c : cases) {
        std::vector<float> uniform;
        for (int k = 0; k < c.n; ++k) uniform.push_back(static_cast<float>(k) / static_cast<float>(c.n - 1));
        EXPECT_EQ(poly_of(c.n, c.m, c.d1, c.d2, c.e1, 0), uniform) << "n " << c.n << ", order " << c.m;
    }
    // order 3 at n = 3 with one interval missing uses one value row: regular
    const std::vector<float> x = poly_of(3, 3, -1, 0.2f, 0, 0);
    EXPECT_NEAR(x[1], 0.8f, kValueTol);
    EXPECT_NEAR(x[2], 1.0f, kValueTol);
}

TEST(Poly, ShortCounts) {
    EXPECT_EQ(poly_of(1, 3, 0.1f, 0.1f, 0, 0, 1), (std::vector<float>{0, kUntouched}));
    EXPECT_EQ(poly_of(0, 3, 0.1f, 0.1f, 0, 0, 2), (std::vector<float>{kUntouched, kUntouched}));
    EXPECT_EQ(poly_of(-1, 1, 0.1f, 0.1f, 0, 0, 2), (std::vector<float>{kUntouched, kUntouched}));
}

TEST(Poly, DiffersFromTheLibrarysSlopeForm) {
    // the library reads d1, d2 as end slopes times h: its first interval is not d1
    std::vector<float> lib(5);
    geom::poly(lib.data(), 5, 3, 0.1f, 0.1f, 0, 0);
    const std::vector<float> own = poly_of(5, 3, 0.1f, 0.1f, 0, 0);
    EXPECT_NEAR(own[1], 0.1f, kValueTol);
    EXPECT_GT(std::fabs(lib[1] - 0.1f), 0.05f);
}

// --- LU factorisation and solve ----------------------------------------------

TEST(Linpack, SolvesBothWaysWithPivoting) {
    // 3 x 3 in a leading dimension of 4; the first pivot is row 3
    constexpr int lda = 4;
    const float rows[3][3] = {{0, 2, 1}, {1, 1, 1}, {2, 1, 3}};
    std::array<float, lda * 3> a{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) a[i + j * lda] = rows[i][j];
    std::array<int, 3> ipvt{};
    ASSERT_EQ(appgrid::ssgefa({a.data(), lda}, 3, ipvt.data()), 0);
    EXPECT_EQ(ipvt[0], 3);
    EXPECT_EQ(ipvt[2], 3);
    std::array<float, 3> b{7, 6, 13};   // A (1, 2, 3)
    appgrid::ssgesl({a.data(), lda}, 3, ipvt.data(), b.data(), 0);
    std::array<float, 3> bt{8, 7, 12};   // trans(A) (1, 2, 3)
    appgrid::ssgesl({a.data(), lda}, 3, ipvt.data(), bt.data(), 1);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(b[k], k + 1.0f, 1e-6f) << k;
        EXPECT_NEAR(bt[k], k + 1.0f, 1e-6f) << k;
    }
}

TEST(Linpack, PivotsAndZeroPivots) {
    struct Case {
        const char* what;
        std::array<float, 4> a;   // 2 x 2, column-major
        int info, pivot1;
    };
    const Case cases[] = {
        {"equal magnitudes: the first is the pivot", {1, -1, 2, 3}, 0, 1},
        {"larger second entry", {1, -3, 2, 3}, 0, 2},
        {"dependent rows", {1, 2, 2, 4}, 2, 2},
        {"zero first column", {0, 0, 1, 1}, 1, 1},
        {"zero matrix: the last zero pivot", {0, 0, 0, 0}, 2, 1},
    };
    for (Case c : cases) {
        std::array<int, 2> ipvt{};
        EXPECT_EQ(appgrid::ssgefa({c.a.data(), 2}, 2, ipvt.data()), c.info) << c.what;
        EXPECT_EQ(ipvt[0], c.pivot1) << c.what;
        EXPECT_EQ(ipvt[1], 2) << c.what;
    }
}

}  // namespace
