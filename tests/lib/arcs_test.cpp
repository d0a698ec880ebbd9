#include "lib/arcs.hpp"

#include "support.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using namespace lib_test;

// Relative error allowed for arc lengths that single precision can only
// approximate: a few float ulps (2^-23 ~ 1.2e-7) gathered along a short sum.
constexpr double kArcRel = 2e-6;

// Absolute error allowed for interpolated values of magnitude up to 10:
// about four float ulps there.
constexpr float kInterpTol = 4e-6f;

struct Points {
    std::vector<float> x, y, z;
    int n() const { return static_cast<int>(x.size()); }
};

std::vector<float> arcxyz_of(Points p, int n) {
    std::vector<float> s(static_cast<std::size_t>(n), kUntouched);
    geom::arcxyz(n, p.x.data(), p.y.data(), p.z.data(), s.data());
    return s;
}

std::vector<float> arc3_of(Points p, int n) {
    std::vector<float> s(static_cast<std::size_t>(n), kUntouched);
    geom::arc3(p.x.data(), p.y.data(), p.z.data(), s.data(), n);
    return s;
}

TEST(Arc3, ChordsAndCoincidentPoints) {
    // a 3-4-5 chord, a repeated point, a 12 along z, a 2 along x
    Points p{{0, 3, 3, 3, 1}, {0, 4, 4, 4, 4}, {0, 0, 0, 12, 12}};
    EXPECT_EQ(arc3_of(p, 5), (std::vector<float>{0, 5, 5, 17, 19}));
}

TEST(Arc3, SinglePointSetsOnlyTheFirst) {
    std::vector<float> x{1}, y{2}, z{3}, s{kUntouched, kUntouched};
    geom::arc3(x.data(), y.data(), z.data(), s.data(), 1);
    EXPECT_EQ(s, (std::vector<float>{0, kUntouched}));
}

TEST(Arcn, NormalisesByTrueDivision) {
    // 41 * (1/41) is not 1 in float: only a true division makes the end exact
    std::vector<float> s{0, 1, 3, 41};
    geom::arcn(s.data(), 4);
    EXPECT_EQ(s[0], 0.0f);
    EXPECT_EQ(s[1], 1.0f / 41.0f);
    EXPECT_EQ(s[2], 3.0f / 41.0f);
    EXPECT_EQ(s[3], 1.0f);
}

TEST(Arcn, ZeroTotalLeavesTheArrayAlone) {
    std::vector<float> s{0, 0, 0};
    geom::arcn(s.data(), 3);
    EXPECT_EQ(s, (std::vector<float>{0, 0, 0}));
    std::vector<float> one{0};
    geom::arcn(one.data(), 1);
    EXPECT_EQ(one[0], 0.0f);
}

TEST(Arcxyz, CircularArcGivesTheArcLengths) {
    // unevenly spaced points on a circle of radius 2 in a tilted plane
    const double r = 2.0;
    const std::vector<double> theta{0.0, 0.1, 0.35, 0.5, 0.9, 1.2, 1.5};
    Points p;
    for (double t : theta) {
        p.x.push_back(static_cast<float>(1.0 + r * std::cos(t)));
        p.y.push_back(static_cast<float>(-2.0 + 0.6 * r * std::sin(t)));
        p.z.push_back(static_cast<float>(3.0 + 0.8 * r * std::sin(t)));
    }
    for (int n : {3, 4, 7}) {
        std::vector<float> s = arcxyz_of(p, n);
        EXPECT_EQ(s[0], 0.0f);
        for (int k = 1; k < n; ++k) {
            const double exact = r * theta[static_cast<std::size_t>(k)];
            EXPECT_NEAR(s[static_cast<std::size_t>(k)], exact, kArcRel * exact) << "n = " << n << ", k = " << k + 1;
        }
    }
}

TEST(Arcxyz, CollinearPointsGiveTheChords) {
    const std::vector<double> t{0.0, 0.3, 1.1, 1.15, 2.6, 4.0};
    Points p;
    for (double u : t) {
        p.x.push_back(static_cast<float>(0.5 + u));
        p.y.push_back(static_cast<float>(-1.0 + 2.0 * u));
        p.z.push_back(static_cast<float>(2.0 * u));
    }
    for (int n : {3, 6}) {
        std::vector<float> s = arcxyz_of(p, n);
        std::vector<float> chords = arc3_of(p, n);
        for (std::size_t k = 0; k < s.size(); ++k)
            EXPECT_NEAR(s[k], chords[k], kArcRel * chords[k]) << "n = " << n << ", k = " << k + 1;
    }
}

TEST(Arcxyz, InteriorSegmentsAverageTheirTwoEstimates) {
    // The first triple is collinear (chords 1 and 1); the second, (1,0), (2,0),
    // (3,1), lies on a circle of radius sqrt(10)/2, which gives its chords 1 and
    // sqrt(2) the arcs sqrt(10) asin(1/sqrt(10)) and sqrt(10) asin(1/sqrt(5)).
    Points p{{0, 1, 2, 3}, {0, 0, 0, 1}, {0, 0, 0, 0}};
    const double arc_a = std::sqrt(10.0) * std::asin(1.0 / std::sqrt(10.0));
    const double arc_b = std::sqrt(10.0) * std::asin(1.0 / std::sqrt(5.0));
    const double s3 = 1.0 + 0.5 * (1.0 + arc_a);
    const std::vector<double> expected{0.0, 1.0, s3, s3 + arc_b};
    std::vector<float> s = arcxyz_of(p, 4);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR(s[k], expected[k], kArcRel * expected[k]) << "k = " << k + 1;
}

TEST(Arcxyz, TwoPointsGiveTheChord) {
    Points p{{0, 3}, {0, 4}, {1, 1}};
    EXPECT_EQ(arcxyz_of(p, 2), (std::vector<float>{0, 5}));
}

TEST(Arcxyz, RepeatedPointGivesAZeroSegment) {
    // both triples have zero area, so the chords are used throughout
    Points p{{0, 3, 3, 3}, {0, 4, 4, 4}, {0, 0, 0, 12}};
    EXPECT_EQ(arcxyz_of(p, 4), (std::vector<float>{0, 5, 5, 17}));
}

TEST(Arcxyz, HalfChordAtTheRadiusStaysFinite) {
    // The first chord is the diameter of the circle through the three points;
    // in float the half chord comes out one ulp above the radius here.
    Points p{{-1.0f, 1.0f, 0.74314481f}, {0.0f, 0.0f, 0.669130623f}, {0.0f, 0.0f, 0.0f}};
    std::vector<float> s = arcxyz_of(p, 3);
    const double pi = std::acos(-1.0);
    const double half = pi;
    const double whole = pi + 42.0 * pi / 180.0;
    ASSERT_TRUE(std::isfinite(s[1]) && std::isfinite(s[2]));
    EXPECT_NEAR(s[1], half, kArcRel * half);
    EXPECT_NEAR(s[2], whole, kArcRel * whole);
}

// --- linear interpolation -------------------------------------------------

std::vector<float> intrp1_of(Table t, std::vector<float> xi, int ni) {
    std::vector<float> yi(std::max<std::size_t>(xi.size(), 1), kUntouched);
    geom::intrp1(t.x.data(), t.y.data(), t.n(), xi.data(), yi.data(), ni);
    return yi;
}

std::vector<float> intrp1_of(const Table& t, const std::vector<float>& xi) {
    return intrp1_of(t, xi, static_cast<int>(xi.size()));
}

TEST(Intrp1, InterpolatesAndExtrapolatesInEitherOrder) {
    const Table up{{0, 1, 3, 6}, {1, 3, -1, 5}};
    struct Case {
        float xi, expected;
    };
    const Case cases[] = {
        {-1.0f, -1.0f},  // before the table: along the first segment
        {0.0f, 1.0f},   {0.5f, 2.0f}, {1.0f, 3.0f}, {2.0f, 1.0f}, {3.0f, -1.0f},
        {4.5f, 2.0f},   {6.0f, 5.0f},
        {7.0f, 7.0f},  // beyond the table: along the last segment
        {-10.0f, -19.0f}, {16.0f, 25.0f},
    };
    std::vector<float> xi;
    for (const Case& c : cases) xi.push_back(c.xi);
    for (const Table& t : {up, reversed(up)}) {
        std::vector<float> yi = intrp1_of(t, xi);
        for (std::size_t m = 0; m < xi.size(); ++m)
            EXPECT_NEAR(yi[m], cases[m].expected, kInterpTol)
                << "xi = " << xi[m] << (t.x[0] < t.x[3] ? " increasing" : " decreasing");
    }
}

TEST(Intrp1, EqualEndAbscissaeGiveTheMean) {
    struct Case {
        const char* what;
        Table table;
        float mean;
    };
    const Case cases[] = {
        {"all abscissae 0", {{0, 0, 0}, {1, 2, 6}}, 3.0f},
        {"only the ends equal", {{2, 5, 2}, {1, 2, 6}}, 3.0f},
        {"a single point", {{4}, {-7}}, -7.0f},
    };
    const std::vector<float> xi{-100.0f, 0.0f, 2.0f, 5.0f, 1e6f};
    for (const Case& c : cases)
        EXPECT_EQ(intrp1_of(c.table, xi), std::vector<float>(xi.size(), c.mean)) << c.what;
}

TEST(Intrp1, NoOutputPointsWriteNothing) {
    const Table t{{0, 1}, {0, 1}};
    for (int ni : {0, -1}) EXPECT_EQ(intrp1_of(t, {0.5f}, ni), std::vector<float>{kUntouched}) << "ni = " << ni;
}

TEST(Intrp1, ZeroLengthEndSegmentGivesItsMean) {
    struct Case {
        const char* what;
        Table table;
        std::vector<float> xi, expected;
    };
    const Case cases[] = {
        {"increasing, first segment", {{0, 0, 1, 2}, {4, 2, 3, 5}}, {-1.0f, 0.0f, 0.5f}, {3.0f, 3.0f, 2.5f}},
        {"increasing, last segment", {{0, 1, 2, 2}, {1, 3, 5, 9}}, {3.0f, 2.0f, 1.5f}, {7.0f, 5.0f, 4.0f}},
        {"decreasing, first segment", {{2, 2, 1, 0}, {4, 2, 3, 5}}, {3.0f, 2.0f, 1.5f}, {3.0f, 3.0f, 2.5f}},
        {"decreasing, last segment", {{2, 1, 0, 0}, {1, 3, 5, 9}}, {-1.0f, 0.0f, 0.5f}, {7.0f, 5.0f, 4.0f}},
    };
    for (const Case& c : cases) EXPECT_EQ(intrp1_of(c.table, c.xi), c.expected) << c.what;
}

TEST(Intrp3, EqualsThreeCallsOfIntrp1) {
    const std::vector<std::vector<float>> abscissae{
        {0, 1, 3, 6}, {6, 3, 1, 0}, {0, 0.3f, 0.7f, 2.9f, 3.1f}, {0, 0, 1, 2}, {2, 1, 0, 0}, {1, 4, 1}, {5},
    };
    const std::vector<float> xi{-2.5f, 0.0f, 0.1f, 0.3f, 1.7f, 3.0f, 4.25f, 9.0f};
    const int ni = static_cast<int>(xi.size());
    for (const std::vector<float>& x : abscissae) {
        const std::size_t n = x.size();
        std::vector<float> y1(n), y2(n), y3(n);
        for (std::size_t k = 0; k < n; ++k) {
            y1[k] = 0.5f * static_cast<float>(k) - 1.0f;
            y2[k] = static_cast<float>(k * k) / 3.0f;
            y3[k] = static_cast<float>((k % 2) ? 7 : -2) + 0.1f * static_cast<float>(k);
        }
        std::vector<float> o1(xi.size()), o2(xi.size()), o3(xi.size());
        std::vector<float> xc = x, xic = xi;
        geom::intrp3(xc.data(), y1.data(), y2.data(), y3.data(), static_cast<int>(n), xic.data(), o1.data(),
                     o2.data(), o3.data(), ni);
        std::size_t which = 0;
        for (const auto& [y, out] : {std::pair{y1, o1}, std::pair{y2, o2}, std::pair{y3, o3}}) {
            std::vector<float> single = intrp1_of(Table{x, y}, xi);
            for (std::size_t m = 0; m < xi.size(); ++m)
                EXPECT_EQ(bits(out[m]), bits(single[m]))
                    << "table " << &x - abscissae.data() << ", array " << which + 1 << ", xi = " << xi[m];
            ++which;
        }
    }
}

TEST(Intrp3, NoOutputPointsWriteNothing) {
    std::vector<float> x{0, 1}, y{0, 1}, xi{0.5f}, o1{kUntouched}, o2{kUntouched}, o3{kUntouched};
    for (int ni : {0, -1}) {
        geom::intrp3(x.data(), y.data(), y.data(), y.data(), 2, xi.data(), o1.data(), o2.data(), o3.data(), ni);
        EXPECT_EQ(o1[0], kUntouched);
        EXPECT_EQ(o2[0], kUntouched);
        EXPECT_EQ(o3[0], kUntouched);
    }
}

}  // namespace
