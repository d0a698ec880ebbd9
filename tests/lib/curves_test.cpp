#include "lib/curves.hpp"

#include "support.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace lib_test;

// --- local interpolation ---------------------------------------------------

std::vector<float> runatk_of(Table t, std::vector<float> xi, int ni, float order, float tol) {
    std::vector<float> yi(std::max<std::size_t>(xi.size(), 1), kUntouched);
    geom::runatk(t.n(), t.x.data(), t.y.data(), ni, xi.data(), yi.data(), order, tol);
    return yi;
}

std::vector<float> runatk_of(const Table& t, const std::vector<float>& xi, float order, float tol) {
    return runatk_of(t, xi, static_cast<int>(xi.size()), order, tol);
}

// Absolute error allowed for interpolated values against a double reference:
// the data and results reach about 20 here (float ulp up to 2e-6), and each of
// the few nested two-point blends rounds once.
constexpr double kInterpTol = 2e-6;

TEST(Runatk, NoCountOrOnePointWritesAtMostTheFirst) {
    const Table one{{2.0f}, {5.0f}};
    const Table four{{0, 1, 2, 3}, {0, 1, 4, 9}};
    EXPECT_EQ(runatk_of(one, {1.0f}, 0, 2.0f, 1e-6f), std::vector<float>{kUntouched});
    EXPECT_EQ(runatk_of(four, {1.5f}, 0, 2.0f, 1e-6f), std::vector<float>{kUntouched});
    // one table point is copied to the first output only, whatever the order
    for (float order : {2.0f, 0.0f, -1.0f})
        for (int ni : {2, -2})
            EXPECT_EQ(runatk_of(one, {1.0f, 3.0f}, ni, order, 1e-6f), (std::vector<float>{5.0f, kUntouched}))
                << "order " << order << ", ni " << ni;
}

TEST(Runatk, TwoPointsAreLinearAtEveryOrder) {
    const Table t{{1, 3}, {2, 6}};   // y = 2x
    const std::vector<float> xi{0.0f, 1.0f, 2.0f, 3.0f, 5.0f};
    const std::vector<float> line{0.0f, 2.0f, 4.0f, 6.0f, 10.0f};
    for (float order : {1.0f, 2.0f, 3.0f, 4.0f, 0.5f, 9.0f})
        for (float tol : {0.0f, 1e-6f, 5.0f})
            EXPECT_EQ(runatk_of(t, xi, order, tol), line) << "order " << order << ", tol " << tol;
    for (float order : {0.0f, -2.0f})
        EXPECT_EQ(runatk_of(t, xi, order, 1e-6f), std::vector<float>(xi.size(), kUntouched)) << "order " << order;
}

TEST(Runatk, SmallTriangleOnEitherSideGivesTheChord) {
    struct Case {
        const char* what;
        Table table;
        float xi, order, tol, expected;
    };
    const Table kink{{0, 1, 2, 3}, {0, 1, 2, 5}};   // left triple collinear, right one bent
    const Table line{{0, 0.5f, 2, 3.5f, 4}, {1, 2, 5, 8, 9}};   // y = 2x + 1
    const Table bowl{{0, 1, 2, 3, 4}, {0, 2, 8, 18, 32}};   // y = 2x^2, every triangle of area 2
    const Case cases[] = {
        {"collinear left triple", kink, 1.5f, 2.0f, 1e-6f, 1.5f},
        // a zero area is not below a zero tolerance: (QL + L + L + QR) / 4 with QR = 1.25
        {"zero tolerance", kink, 1.5f, 2.0f, 0.0f, 1.4375f},
        {"straight data, order 4", line, 3.0f, 4.0f, 1e-6f, 7.0f},
        {"straight data, order 3, extrapolated", line, -1.0f, 3.0f, 1e-6f, -1.0f},
        {"straight data, order 2, extrapolated", line, 5.0f, 2.0f, 1e-6f, 11.0f},
        // a missing triangle counts as area 1: above that every end interval is straight
        {"first interval, tol above 1", bowl, 0.5f, 3.0f, 1.5f, 1.0f},
        {"interior, area above tol", bowl, 2.5f, 3.0f, 1.5f, 12.5f},
        {"last interval, tol above 1", bowl, 3.5f, 3.0f, 1.5f, 25.0f},
        {"first interval, tol below 1", bowl, 0.5f, 3.0f, 0.5f, 0.5f},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(runatk_of(c.table, {c.xi}, c.order, c.tol)[0], c.expected, kInterpTol) << c.what;
}

// The interval of xv as the search finds it: the first whose right end lies
// beyond xv, the end intervals for points outside the table.
std::size_t interval_of(const std::vector<double>& x, double xv) {
    std::size_t j = 0;
    while (j + 2 < x.size() && x[j + 1] <= xv) ++j;
    return j;
}

TEST(Runatk, ParabolaByOrder) {
    // Orders 3 and up reproduce the parabola, order 2 gives its mean with the
    // chord, order 1 the chord. Uneven abscissae; the output points cover every
    // interval, the knots and both sides beyond the table.
    const std::vector<double> xd{-1.0, 0.0, 0.5, 2.0, 2.5, 4.0};
    auto q = [](double v) { return 0.5 * v * v - v + 2.0; };
    Table t;
    for (double v : xd) {
        t.x.push_back(static_cast<float>(v));
        t.y.push_back(static_cast<float>(q(v)));
    }
    const std::vector<float> xi{-2.0f, -1.0f, -0.5f, 0.0f, 0.25f, 1.25f, 2.0f, 2.25f, 3.0f, 4.0f, 5.0f};
    struct Case {
        float order;
        double weight_of_chord;   // result = (1 - w) Q + w L
    };
    const Case cases[] = {
        {3.0f, 0.0}, {4.0f, 0.0}, {3.7f, 0.0}, {12.0f, 0.0},
        {0.5f, 0.0},   // scheme 0 takes the cubic's branch
        {2.0f, 0.5}, {2.9f, 0.5}, {1.0f, 1.0}, {1.5f, 1.0},
    };
    for (const Case& c : cases) {
        std::vector<float> yi = runatk_of(t, xi, c.order, 1e-6f);
        for (std::size_t m = 0; m < xi.size(); ++m) {
            const double xv = xi[m];
            const std::size_t j = interval_of(xd, xv);
            const double chord = q(xd[j]) + (q(xd[j + 1]) - q(xd[j])) * (xv - xd[j]) / (xd[j + 1] - xd[j]);
            const double expected = (1.0 - c.weight_of_chord) * q(xv) + c.weight_of_chord * chord;
            EXPECT_NEAR(yi[m], expected, kInterpTol) << "order " << c.order << ", xi = " << xv;
        }
    }
}

TEST(Runatk, CubicOnInteriorIntervalsSeparatesTheOrders) {
    const std::vector<double> xd{-1.0, -0.25, 0.5, 1.0, 2.0, 2.75, 3.5};
    auto p = [](double v) { return ((v - 2.0) * v + 0.5) * v + 1.0; };
    Table t;
    for (double v : xd) {
        t.x.push_back(static_cast<float>(v));
        t.y.push_back(static_cast<float>(p(v)));
    }
    // the polynomial through table points i..i+d at v, in Lagrange form
    auto through = [&](std::size_t i, std::size_t d, double v) {
        double sum = 0.0;
        for (std::size_t a = i; a <= i + d; ++a) {
            double w = p(xd[a]);
            for (std::size_t b = i; b <= i + d; ++b)
                if (b != a) w *= (v - xd[b]) / (xd[a] - xd[b]);
            sum += w;
        }
        return sum;
    };
    // points in the interior intervals 2..5 only, as the ends have no cubic
    const std::vector<float> xi{-0.25f, 0.1f, 0.5f, 0.8f, 1.5f, 2.0f, 2.3f, 2.7f};
    for (float order : {4.0f, 0.5f, 3.0f, 2.0f}) {
        std::vector<float> yi = runatk_of(t, xi, order, 1e-6f);
        for (std::size_t m = 0; m < xi.size(); ++m) {
            const double v = xi[m];
            const std::size_t j = interval_of(xd, v);   // 0-based: points j..j+1
            const double ql = through(j - 1, 2, v), qr = through(j, 2, v), line = through(j, 1, v);
            double expected = p(v);   // order 4: the cubic through j-1..j+2
            if (order == 3.0f) expected = ((v - xd[j]) * qr + (xd[j + 1] - v) * ql) / (xd[j + 1] - xd[j]);
            if (order == 2.0f) expected = (ql + 2.0 * line + qr) / 4.0;
            EXPECT_NEAR(yi[m], expected, kInterpTol) << "order " << order << ", xi = " << xi[m];
        }
    }
}

TEST(Runatk, RepeatedAbscissaGivesTheMeanOfItsOrdinates) {
    struct Case {
        const char* what;
        Table table;
        float xi, order, expected;
    };
    const Table front{{0, 0, 1, 2}, {2, 4, 5, 7}};
    const Table back{{0, 1, 2, 2}, {0, 1, 4, 6}};
    const Case cases[] = {
        {"before a repeated first abscissa", front, -1.0f, 1.0f, 3.0f},
        {"at a repeated last abscissa", back, 2.0f, 1.0f, 5.0f},
        {"beyond a repeated last abscissa", back, 3.0f, 1.0f, 5.0f},
        // the chord is the mean, the quadratic through points 2..4 still blends:
        // P = 7 from points 2 and 3, QL = (2 L - P) = 3, result (QL + L) / 2
        {"beyond it, order 2", back, 3.0f, 2.0f, 4.0f},
    };
    for (const Case& c : cases) EXPECT_EQ(runatk_of(c.table, {c.xi}, c.order, 1e-6f)[0], c.expected) << c.what;
}

TEST(Runatk, PositiveCountNeverSearchesBack) {
    const Table t{{0, 1, 2, 3, 4}, {0, 1, 4, 9, 16}};
    const std::vector<float> xi{3.5f, 0.5f};
    // ni > 0: 0.5 stays in the last interval, extrapolating its chord 9 + 7 (x - 3)
    EXPECT_EQ(runatk_of(t, xi, 2, 1.0f, 1e-6f), (std::vector<float>{12.5f, -8.5f}));
    // ni < 0: the search restarts and finds the first interval
    EXPECT_EQ(runatk_of(t, xi, -2, 1.0f, 1e-6f), (std::vector<float>{12.5f, 0.5f}));
}

// --- cubic spline ------------------------------------------------------------

using Knots = Table;

struct Ends {
    int ibc1, ibc2;
    float bcv1, bcv2;
};

struct SplineOut {
    std::vector<float> xo, yo, ypo, yppo, c1, c2, c3;
};

// Evaluate mode takes the abscissae in `at`, inverse mode the targets.
SplineOut spline_of(const Knots& k, const Ends& e, int mode, const std::vector<float>& at, int no) {
    const std::size_t m = std::max<std::size_t>(at.size(), 1);
    const std::size_t n = k.x.size();
    SplineOut o{std::vector<float>(m, kUntouched), std::vector<float>(m, kUntouched),
                std::vector<float>(m, kUntouched), std::vector<float>(m, kUntouched),
                std::vector<float>(n, kUntouched), std::vector<float>(n, kUntouched),
                std::vector<float>(n, kUntouched)};
    std::vector<float>& input = mode == 1 ? o.xo : o.yo;
    std::copy(at.begin(), at.end(), input.begin());
    Knots c = k;
    geom::spline(c.x.data(), c.y.data(), o.xo.data(), o.yo.data(), o.ypo.data(), o.yppo.data(), o.c1.data(),
                 o.c2.data(), o.c3.data(), e.ibc1, e.ibc2, e.bcv1, e.bcv2, k.n(), no, mode);
    return o;
}

SplineOut spline_of(const Knots& k, const Ends& e, int mode, const std::vector<float>& at) {
    return spline_of(k, e, mode, at, static_cast<int>(at.size()));
}

// A cubic in double, with its derivatives.
struct Cubic {
    double a0, a1, a2, a3;
    double d(double v, int order) const {
        switch (order) {
            case 0: return ((a3 * v + a2) * v + a1) * v + a0;
            case 1: return (3.0 * a3 * v + 2.0 * a2) * v + a1;
            case 2: return 6.0 * a3 * v + 2.0 * a2;
            default: return 6.0 * a3;
        }
    }
    // the root of d(v, 0) = target in [lo, hi], where the cubic increases
    double root(double target, double lo, double hi) const {
        for (int it = 0; it < 200; ++it) {
            const double mid = 0.5 * (lo + hi);
            (d(mid, 0) < target ? lo : hi) = mid;
        }
        return 0.5 * (lo + hi);
    }
};

Knots sample(const Cubic& p, const std::vector<double>& x) {
    Knots k;
    for (double v : x) {
        k.x.push_back(static_cast<float>(v));
        k.y.push_back(static_cast<float>(p.d(v, 0)));
    }
    return k;
}

// The end value that an end condition of this type takes from p at v.
float end_value(const Cubic& p, int type, double v) {
    return static_cast<float>(p.d(v, type < 2 ? 1 : type == 2 ? 2 : 3));
}

// Increasing for all x (p' = 2 - x + 0.75 x^2 > 0), with ordinates from
// about -2 to 17 on the knots below.
constexpr Cubic kCubic{1.0, 2.0, -0.5, 0.25};
const std::vector<double> kCubicKnots{-1.0, -0.25, 0.5, 2.0, 2.75, 4.0};

// Errors allowed against a double reference: about two float ulps of the
// largest magnitude each quantity reaches in these tests (values up to 20,
// slopes up to 16, curvatures up to 8, third derivatives up to 12); the fits
// are well conditioned, so the solve adds no more than rounding of that order.
constexpr double kValueTol = 4e-6;
constexpr double kSlopeTol = 2e-6;
constexpr double kCurvatureTol = 1e-6;
constexpr double kThirdTol = 2e-6;

TEST(Spline, ReproducesACubicUnderEveryEndCondition) {
    const Knots k = sample(kCubic, kCubicKnots);
    const double first = kCubicKnots.front(), last = kCubicKnots.back();
    // types below 2 (slope), 2 (curvature) and above 2 (third derivative) at
    // either end, each given the cubic's own value
    const std::pair<int, int> types[] = {{1, 1}, {0, -4}, {2, 2}, {3, 3}, {7, 1}, {1, 2}, {2, 5}, {-1, 3}};
    // between the knots, at them, and before the first (the first cubic extended)
    const std::vector<float> at{-1.75f, -1.0f, -0.6f, 0.1f, 0.5f, 1.3f, 2.0f, 2.4f, 3.1f, 3.9f, 4.0f};
    for (auto [t1, t2] : types) {
        const Ends e{t1, t2, end_value(kCubic, t1, first), end_value(kCubic, t2, last)};
        const SplineOut o = spline_of(k, e, 1, at);
        for (std::size_t i = 0; i < k.x.size(); ++i) {
            const double v = kCubicKnots[i];
            EXPECT_NEAR(o.c1[i], kCubic.d(v, 1), kSlopeTol) << "types " << t1 << "/" << t2 << ", knot " << i + 1;
            EXPECT_NEAR(o.c2[i], kCubic.d(v, 2), kCurvatureTol) << "types " << t1 << "/" << t2 << ", knot " << i + 1;
            EXPECT_NEAR(o.c3[i], kCubic.d(v, 3), kThirdTol) << "types " << t1 << "/" << t2 << ", knot " << i + 1;
        }
        for (std::size_t m = 0; m < at.size(); ++m) {
            EXPECT_NEAR(o.yo[m], kCubic.d(at[m], 0), kValueTol) << "types " << t1 << "/" << t2 << ", x = " << at[m];
            EXPECT_NEAR(o.ypo[m], kCubic.d(at[m], 1), kSlopeTol) << "types " << t1 << "/" << t2 << ", x = " << at[m];
            EXPECT_NEAR(o.yppo[m], kCubic.d(at[m], 2), kCurvatureTol)
                << "types " << t1 << "/" << t2 << ", x = " << at[m];
        }
    }
}

TEST(Spline, NaturalSplineHasStraightEnds) {
    // Worked by hand: the natural spline through these knots has the second
    // derivatives 0, 6, -6, 0, so it is x^3 - x on the first interval and
    // symmetric about (1.5, 1.5).
    const Knots k{{0, 1, 2, 3}, {0, 0, 3, 3}};
    const SplineOut o = spline_of(k, {2, 2, 0.0f, 0.0f}, 1, {0.5f, 1.5f, 2.5f});
    EXPECT_EQ(o.c2.front(), 0.0f);
    EXPECT_EQ(o.c2.back(), 0.0f);
    const double c1[] = {-1, 2, 2, -1}, c2[] = {0, 6, -6, 0}, c3[] = {6, 6, -12, 6};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(o.c1[i], c1[i], kSlopeTol) << "knot " << i + 1;
        EXPECT_NEAR(o.c2[i], c2[i], kCurvatureTol) << "knot " << i + 1;
        EXPECT_NEAR(o.c3[i], c3[i], kThirdTol) << "knot " << i + 1;
    }
    const double y[] = {-0.375, 1.5, 3.375}, yp[] = {-0.25, 3.5, -0.25}, ypp[] = {3, 0, -3};
    for (std::size_t m = 0; m < 3; ++m) {
        EXPECT_NEAR(o.yo[m], y[m], kValueTol) << "point " << m + 1;
        EXPECT_NEAR(o.ypo[m], yp[m], kSlopeTol) << "point " << m + 1;
        EXPECT_NEAR(o.yppo[m], ypp[m], kCurvatureTol) << "point " << m + 1;
    }
}

// Uneven knots through wavy data: no polynomial the fit could reproduce.
const Knots kWavy{{0.0f, 0.7f, 1.5f, 2.4f, 3.0f, 4.1f}, {0.3f, 1.0f, 0.4f, -0.8f, -0.2f, 0.9f}};

TEST(Spline, DecreasingKnotsGiveTheSameCurve) {
    const std::vector<float> at{0.2f, 0.7f, 1.1f, 2.0f, 2.7f, 3.5f, 4.0f};
    const Ends ends[] = {{1, 1, 0.5f, -1.0f}, {2, 3, -1.0f, 0.75f}, {0, 2, 2.0f, 0.0f}};
    for (const Ends& e : ends) {
        const SplineOut up = spline_of(kWavy, e, 1, at);
        const SplineOut down = spline_of(reversed(kWavy), {e.ibc2, e.ibc1, e.bcv2, e.bcv1}, 1, at);
        const std::size_t n = kWavy.x.size();
        for (std::size_t i = 0; i < n; ++i) {
            EXPECT_NEAR(down.c1[n - 1 - i], up.c1[i], kSlopeTol)
                << "types " << e.ibc1 << "/" << e.ibc2 << ", knot " << i + 1;
            EXPECT_NEAR(down.c2[n - 1 - i], up.c2[i], kCurvatureTol)
                << "types " << e.ibc1 << "/" << e.ibc2 << ", knot " << i + 1;
        }
        for (std::size_t m = 0; m < at.size(); ++m) {
            EXPECT_NEAR(down.yo[m], up.yo[m], kValueTol) << "types " << e.ibc1 << "/" << e.ibc2 << ", x = " << at[m];
            EXPECT_NEAR(down.ypo[m], up.ypo[m], kSlopeTol) << "types " << e.ibc1 << "/" << e.ibc2 << ", x = " << at[m];
            EXPECT_NEAR(down.yppo[m], up.yppo[m], kCurvatureTol)
                << "types " << e.ibc1 << "/" << e.ibc2 << ", x = " << at[m];
        }
    }
}

TEST(Spline, EvaluationAtKnotsAndBeyondTheLastIsExact) {
    const Ends e{1, 1, 0.5f, -1.0f};
    for (const Knots& k : {kWavy, reversed(kWavy)}) {
        const bool up = k.x.front() < k.x.back();
        // every knot, then three points beyond the last one
        std::vector<float> at = k.x;
        for (float beyond : {0.01f, 1.0f, 100.0f}) at.push_back(up ? k.x.back() + beyond : k.x.back() - beyond);
        const SplineOut o = spline_of(k, e, 1, at);
        for (std::size_t m = 0; m < at.size(); ++m) {
            const std::size_t i = std::min(m, k.x.size() - 1);
            EXPECT_EQ(bits(o.yo[m]), bits(k.y[i])) << (up ? "up" : "down") << ", x = " << at[m];
            EXPECT_EQ(bits(o.ypo[m]), bits(o.c1[i])) << (up ? "up" : "down") << ", x = " << at[m];
            EXPECT_EQ(bits(o.yppo[m]), bits(o.c2[i])) << (up ? "up" : "down") << ", x = " << at[m];
        }
    }
}

// Error allowed in an abscissa found by the inverse mode: at ordinates of 32
// to 64 the float residual steps by 2^-18 ~ 3.8e-6, which over slopes of 4 or
// more is 1e-6 in the abscissa, plus an ulp of abscissae up to 5.
constexpr double kRootTol = 2e-6;

TEST(Spline, InverseFindsWhereTheCubicTakesTheTarget) {
    const Knots k = sample(kCubic, kCubicKnots);
    const Ends e{1, 1, end_value(kCubic, 1, kCubicKnots.front()), end_value(kCubic, 1, kCubicKnots.back())};
    const double lo = -3.0, hi = kCubicKnots.back();
    // between the knots, and below the first ordinate (the first cubic extended)
    const std::vector<float> targets{-4.0f, -1.9f, -0.5f, 0.3f, 2.2f, 5.0f, 11.0f, 16.9f};
    for (const Knots& kk : {k, reversed(k)}) {
        const bool up = kk.x.front() < kk.x.back();
        const Ends ee = up ? e : Ends{1, 1, e.bcv2, e.bcv1};
        const SplineOut o = spline_of(kk, ee, 0, targets);
        for (std::size_t m = 0; m < targets.size(); ++m) {
            if (!up && targets[m] < kk.y.back()) continue;   // beyond y(n) for the reversed knots
            const double root = kCubic.root(targets[m], lo, hi);
            EXPECT_NEAR(o.xo[m], root, kRootTol) << (up ? "up" : "down") << ", target " << targets[m];
            EXPECT_NEAR(o.ypo[m], kCubic.d(root, 1), kSlopeTol) << (up ? "up" : "down") << ", target " << targets[m];
            EXPECT_NEAR(o.yppo[m], kCubic.d(root, 2), kCurvatureTol)
                << (up ? "up" : "down") << ", target " << targets[m];
            EXPECT_EQ(o.yo[m], targets[m]) << "the target is kept";
        }
    }
}

TEST(Spline, InverseAtAKnotAndBeyondTheLastOrdinate) {
    for (const Knots& k : {sample(kCubic, kCubicKnots), reversed(sample(kCubic, kCubicKnots))}) {
        const bool up = k.y.front() < k.y.back();
        // every knot's ordinate, then targets beyond y(n) in the knots' direction
        std::vector<float> targets = k.y;
        for (float beyond : {0.001f, 3.0f, 1e6f}) targets.push_back(up ? k.y.back() + beyond : k.y.back() - beyond);
        const SplineOut o = spline_of(k, {1, 1, 2.0f, 9.0f}, 0, targets);
        for (std::size_t m = 0; m < targets.size(); ++m) {
            const std::size_t i = std::min(m, k.x.size() - 1);
            EXPECT_EQ(bits(o.xo[m]), bits(k.x[i])) << (up ? "up" : "down") << ", target " << targets[m];
            EXPECT_EQ(bits(o.yo[m]), bits(k.y[i])) << (up ? "up" : "down") << ", target " << targets[m];
            EXPECT_EQ(bits(o.ypo[m]), bits(o.c1[i])) << (up ? "up" : "down") << ", target " << targets[m];
            EXPECT_EQ(bits(o.yppo[m]), bits(o.c2[i])) << (up ? "up" : "down") << ", target " << targets[m];
        }
    }
}

TEST(Spline, InverseTerminatesForLargeOrdinates) {
    // Hull-like x values of 30 to 55 along an arc length 0..5: near them the
    // float residuals step by 2^-19 or 2^-18, so only an exact 0 meets the
    // tolerance and the iteration must stop by its bound or a zero step.
    constexpr Cubic hull{30.0, 4.0, 0.3, -0.02};   // slope 4 + 0.6 s - 0.06 s^2 >= 4 on [0, 5]
    const std::vector<double> s{0.0, 0.6, 1.5, 2.5, 3.2, 4.1, 5.0};
    const Knots k = sample(hull, s);
    const Ends e{1, 1, end_value(hull, 1, s.front()), end_value(hull, 1, s.back())};
    // a dense sweep: some of its targets make the iterates cycle between
    // neighbouring floats with residuals of one step either side of 0
    std::vector<float> targets;
    for (int m = 1; m < 4000; ++m)
        targets.push_back(k.y.front() + (k.y.back() - k.y.front()) * static_cast<float>(m) / 4000.0f);
    const SplineOut o = spline_of(k, e, 0, targets);
    for (std::size_t m = 0; m < targets.size(); ++m) {
        ASSERT_TRUE(std::isfinite(o.xo[m])) << "target " << targets[m];
        EXPECT_NEAR(o.xo[m], hull.root(targets[m], s.front(), s.back()), kRootTol) << "target " << targets[m];
    }
}

TEST(Spline, InverseFromAZeroSlopeStaysAtTheKnot) {
    // Equal first ordinates with a zero start slope make c1(1) exactly 0: the
    // first Newton step is infinite, so the knot itself is the answer (as it
    // is, with no step at all, for a target equal to y(1)).
    const Knots k{{0, 1, 2, 3}, {20, 20, 21, 23}};
    const std::vector<float> targets{19.5f, 20.0f, -1e6f};
    const SplineOut o = spline_of(k, {1, 1, 0.0f, 2.0f}, 0, targets);
    ASSERT_EQ(o.c1[0], 0.0f);
    for (std::size_t m = 0; m < targets.size(); ++m) {
        EXPECT_EQ(o.xo[m], 0.0f) << "target " << targets[m];
        EXPECT_EQ(o.ypo[m], 0.0f) << "target " << targets[m];
        EXPECT_EQ(bits(o.yppo[m]), bits(o.c2[0])) << "target " << targets[m];
        EXPECT_EQ(o.yo[m], targets[m]) << "target " << targets[m];
    }
}

TEST(Spline, InverseWithoutARootStopsAtTheLastFiniteIterate) {
    // Knots on y = x + x^2 / 2 with its curvature 1 at both ends: the fit is
    // that parabola exactly (c1(1) = 1, c2 = 1, c3 = 0), whose vertex (-1, -0.5)
    // lies before the first knot.
    const Knots k{{0, 1, 2}, {0, 1.5f, 4}};
    const Ends e{2, 2, 1.0f, 1.0f};
    // The first step from knot 1 towards -1 lands on the vertex, where the
    // slope is 0: the next step is infinite, so the vertex is returned.
    const SplineOut vertex = spline_of(k, e, 0, {-1.0f});
    ASSERT_EQ(vertex.c1[0], 1.0f);
    ASSERT_EQ(vertex.c3[0], 0.0f);
    EXPECT_EQ(vertex.xo[0], -1.0f);
    EXPECT_EQ(vertex.ypo[0], 0.0f);
    EXPECT_EQ(vertex.yppo[0], 1.0f);
    // below the vertex the iterates never settle; the bound ends them
    const SplineOut wander = spline_of(k, e, 0, {-0.75f, -3.0f});
    for (float xo : wander.xo) EXPECT_TRUE(std::isfinite(xo)) << xo;
}

TEST(Spline, NoOutputPointsFillOnlyTheCoefficients) {
    const Ends e{1, 2, 0.5f, -1.0f};
    const SplineOut full = spline_of(kWavy, e, 1, {1.0f});
    for (int mode : {1, 0}) {
        for (int no : {0, -2}) {
            const SplineOut o = spline_of(kWavy, e, mode, {}, no);
            EXPECT_EQ(o.c1, full.c1) << "mode " << mode << ", no " << no;
            EXPECT_EQ(o.c2, full.c2) << "mode " << mode << ", no " << no;
            EXPECT_EQ(o.c3, full.c3) << "mode " << mode << ", no " << no;
            for (const std::vector<float>* out : {&o.xo, &o.yo, &o.ypo, &o.yppo})
                EXPECT_EQ(*out, std::vector<float>{kUntouched}) << "mode " << mode << ", no " << no;
        }
    }
}

// --- cluster function ----------------------------------------------------------

std::vector<float> poly_of(int n, int ideg, float ds1, float ds2, float d2a, float d2b) {
    // one slot more than n, to see that nothing is written past it
    std::vector<float> s(static_cast<std::size_t>(std::max(n, 0) + 1), kUntouched);
    geom::poly(s.data(), n, ideg, ds1, ds2, d2a, d2b);
    return s;
}

TEST(Poly, DegreeOneOrLessSpacesEvenlyByDivision) {
    // 9 * (1 / 10) rounds to 0.900000036, 9 / 10 to 0.899999976: the counts
    // must be divided, not stepped by the even spacing
    ASSERT_NE(9.0f * (1.0f / 10.0f), 9.0f / 10.0f);
    for (int n : {2, 8, 11})
        for (int ideg : {1, 0, -1, -7}) {
            const std::vector<float> s = poly_of(n, ideg, 3.0f, -2.0f, 0.5f, -9.0f);
            for (int k = 1; k <= n; ++k)
                EXPECT_EQ(bits(s[static_cast<std::size_t>(k - 1)]),
                          bits(static_cast<float>(k - 1) / static_cast<float>(n - 1)))
                    << "n " << n << ", degree " << ideg << ", k " << k;
            EXPECT_EQ(s.back(), kUntouched);
        }
}

// The polynomial's coefficients for given end conditions, worked by hand.
struct PolyCase {
    const char* what;
    int ideg;
    float ds1, ds2, d2a, d2b;
    double a[5];
};

// With n = 5 the even spacing h = 1/4 and h^2 = 1/16; the conditions below
// are small multiples of them.
constexpr float kH = 0.25f, kH2 = 0.0625f;
constexpr float kUnused = 0.3125f;   // a value the branch must ignore

const PolyCase kPolyCases[] = {
    {"2, even first spacing", 2, kH, kUnused, kUnused, kUnused, {1, 0, 0, 0, 0}},
    {"2, half first spacing", 2, 0.5f * kH, kUnused, kUnused, kUnused, {0.5, 0.5, 0, 0, 0}},
    {"2, zero first spacing", 2, 0.0f, kUnused, kUnused, kUnused, {0, 1, 0, 0, 0}},
    {"2, last spacing 1.5 h", 2, -1.0f, 1.5f * kH, kUnused, kUnused, {0.5, 0.5, 0, 0, 0}},
    // the last spacing is used whatever its sign; this one overshoots 1
    {"2, negative last spacing", 2, -1.0f, -kH, kUnused, kUnused, {3, -2, 0, 0, 0}},
    {"2, first spacing 3 h overshoots", 2, 3.0f * kH, kUnused, kUnused, kUnused, {3, -2, 0, 0, 0}},
    {"3, even spacings", 3, kH, kH, kUnused, kUnused, {1, 0, 0, 0, 0}},
    {"3, half spacings", 3, 0.5f * kH, 0.5f * kH, kUnused, kUnused, {0.5, 1.5, -1, 0, 0}},
    {"3, spacings h/2 and 2 h", 3, 0.5f * kH, 2.0f * kH, kUnused, kUnused, {0.5, 0, 0.5, 0, 0}},
    {"3, zero last spacing", 3, 0.5f * kH, 0.0f, kUnused, kUnused, {0.5, 2, -1.5, 0, 0}},
    {"3, spacings 4 h run backwards", 3, 4.0f * kH, 4.0f * kH, kUnused, kUnused, {4, -9, 6, 0, 0}},
    {"3, first spacing and curvature", 3, kH, -1.0f, kH2, kUnused, {1, 0.5, -0.5, 0, 0}},
    {"3, first spacing, negative curvature", 3, kH, -1.0f, -2.0f * kH2, kUnused, {1, -1, 1, 0, 0}},
    {"3, last spacing and curvature", 3, -1.0f, 0.5f * kH, kUnused, 2.0f * kH2, {3, -3.5, 1.5, 0, 0}},
    {"3, negative last spacing, zero curvature", 3, -1.0f, -0.5f * kH, kUnused, 0.0f, {4, -4.5, 1.5, 0, 0}},
    {"4, zero first curvature", 4, 0.5f * kH, 0.5f * kH, 0.0f, kUnused, {0.5, 0, 2, -1.5, 0}},
    {"4, first curvature 2", 4, 0.5f * kH, 0.5f * kH, 2.0f * kH2, kUnused, {0.5, 1, 0, -0.5, 0}},
    {"4, zero last curvature", 4, 0.5f * kH, 0.5f * kH, -1.0f, 0.0f, {0.5, 3, -4, 1.5, 0}},
    {"4, last curvature 1", 4, 0.5f * kH, 0.5f * kH, -1.0f, kH2, {0.5, 3.5, -5, 2, 0}},
    {"5, zero curvatures", 5, 0.5f * kH, 0.5f * kH, 0.0f, 0.0f, {0.5, 0, 5, -7.5, 3}},
    {"5, curvatures 1 and 2", 5, 0.5f * kH, 0.5f * kH, kH2, 2.0f * kH2, {0.5, 0.5, 4.5, -8, 3.5}},
    {"9 takes the degree-5 rule", 9, 0.5f * kH, 0.5f * kH, 0.0f, 0.0f, {0.5, 0, 5, -7.5, 3}},
};

TEST(Poly, EveryDegreeMeetsItsEndConditions) {
    // t = 0, 1/4, ..., 1 and these dyadic coefficients keep every float step
    // exact, the elimination included, so the values must match to the bit.
    for (const PolyCase& c : kPolyCases) {
        const std::vector<float> s = poly_of(5, c.ideg, c.ds1, c.ds2, c.d2a, c.d2b);
        for (int k = 1; k <= 5; ++k) {
            const double t = (k - 1) / 4.0;
            double sigma = 0.0;
            for (int i = 4; i >= 0; --i) sigma = sigma * t + c.a[i];
            EXPECT_EQ(s[static_cast<std::size_t>(k - 1)], sigma * t) << c.what << ", k " << k;
        }
        EXPECT_EQ(s.back(), kUntouched) << c.what;
    }
}

TEST(Poly, TwoPointsGiveZeroAndTheCoefficientSum) {
    // h = 1: the same conditions now mean other coefficients, still summing to 1
    for (const PolyCase& c : kPolyCases)
        EXPECT_EQ(poly_of(2, c.ideg, c.ds1, c.ds2, c.d2a, c.d2b), (std::vector<float>{0.0f, 1.0f, kUntouched}))
            << c.what;
}

TEST(Poly, OnePointIsZeroAndNoPointsWriteNothing) {
    for (int ideg : {1, 2, 3, 4, 5}) {
        EXPECT_EQ(poly_of(1, ideg, 0.1f, 0.1f, 0.0f, 0.0f), (std::vector<float>{0.0f, kUntouched})) << ideg;
        for (int n : {0, -3}) EXPECT_EQ(poly_of(n, ideg, 0.1f, 0.1f, 0.0f, 0.0f), std::vector<float>{kUntouched});
    }
}

}  // namespace
