// Friction lines: all seven options over Reynolds number and thickness,
// against double-precision values built from the published laminar
// (Blasius) and turbulent (Prandtl-Schlichting) lines and the tables.
#include "hydrosum/input/parts.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace hydrosum {
namespace {

// The single-precision chain (logarithms, real powers, quotients, the blend
// across the band) loses a few dozen ulps of 1.2e-7; a wrong branch, edge,
// constant or order of clamping is off by 1e-4 or far more.
constexpr double rel_tol = 1.0e-5;
// Values quoted to four significant digits.
constexpr double quoted_tol = 2.0e-4;

double blasius(double re) { return 1.328 / std::sqrt(re); }
double schlichting(double re) { return 0.455 / std::pow(std::log10(re), 2.58); }
double k_th(double t) { return 1.0 + 1.2 * t + 70.0 * std::pow(t, 4); }
double k_sec(double t) { return 1.0 + 2.0 * t + 60.0 * std::pow(t, 4); }

struct Expect {
    double cf, k, cd;
};

Expect with_k(double cf, double k) { return {cf, k, cf * k}; }

// Transition band of options 5 and 6 (laminar side with the absolute t^2
// term, turbulent side frozen below 1e7).
double cd_laminar(double cf, double t) { return (1.0 + t) * cf + 0.5 * t * t; }
Expect laminar_side(double re, double t) {
    const double cf = blasius(re), cd = cd_laminar(cf, t);
    return {cf, cd / cf, cd};
}
Expect turbulent_side(int option, double re, double t) {
    return with_k(schlichting(std::max(re, 1.0e7)), option == 5 ? k_sec(t) : k_th(t));
}
// At the geometric middle of the band both coefficients are the geometric
// means of their values at the two edges.
Expect band_middle(int option, double lo, double t) {
    const double cf_l = blasius(lo), cd_l = cd_laminar(cf_l, t);
    const Expect turb = turbulent_side(option, 1.0e7, t);
    const double cf = std::sqrt(cf_l * turb.cf), cd = std::sqrt(cd_l * turb.cd);
    return {cf, cd / cf, cd};
}

struct Row {
    std::string what;
    int option;
    double re;
    double t;
    Expect e;
    double tol = rel_tol;
};

void check(const Row& row) {
    float cf = -1.0f, k = -1.0f, cd = -1.0f;
    strip(row.option, static_cast<float>(row.re), static_cast<float>(row.t), cf, k, cd);
    EXPECT_NEAR(cf, row.e.cf, row.tol * row.e.cf) << row.what << ": cf";
    EXPECT_NEAR(k, row.e.k, row.tol * row.e.k) << row.what << ": k";
    EXPECT_NEAR(cd, row.e.cd, row.tol * row.e.cd) << row.what << ": cd";
}

double e10(double x) { return std::pow(10.0, x); }

TEST(FrictionLines, OptionsOneToFourWithTheThicknessFormFactor) {
    const double a = (schlichting(5.0e5) - blasius(5.0e5)) * 5.0e5;   // about 1614
    const std::vector<Row> rows = {
        {"laminar", 1, 1.0e6, 0.1, with_k(0.001328, 1.127)},
        {"laminar, no thickness", 1, 1.0e6, 0.0, with_k(0.001328, 1.0)},
        {"laminar at a small Re", 1, 0.5, 0.0, with_k(blasius(0.5), 1.0)},
        {"turbulent", 2, 1.0e7, 0.2, with_k(schlichting(1.0e7), k_th(0.2))},
        {"transition, just below", 3, 499999.0, 0.05, with_k(blasius(499999.0), k_th(0.05))},
        {"transition, at the point the branches meet", 3, 5.0e5, 0.0, with_k(blasius(5.0e5), 1.0)},
        {"transition, turbulent less A/Re", 3, 1.0e6, 0.3, with_k(schlichting(1.0e6) - a / 1.0e6, k_th(0.3))},
        {"bounded, laminar between floor and cap", 4, 2.0e5, 0.1, with_k(blasius(2.0e5), k_th(0.1))},
        {"bounded, raised to the floor", 4, 3.0e5, 0.0, with_k(0.00293, 1.0)},
        {"bounded, capped by the turbulent line", 4, 1.0e4, 0.0, with_k(schlichting(1.0e4), 1.0)},
        {"bounded, floor above the cap", 4, 1.0e8, 0.0, with_k(schlichting(1.0e8), 1.0)},
    };
    for (const Row& row : rows) check(row);
    EXPECT_NEAR(a, 1613.8, 0.1);
    EXPECT_NEAR(schlichting(1.0e6) - a / 1.0e6, 0.0028569, 1e-7);
}

TEST(FrictionLines, TransitionBandOfOptionsFiveAndSix) {
    const double lo12 = e10(4.8), hi12 = e10(5.7);   // band of t = 0.12
    const double lo16 = 0.5 * (e10(4.8) + e10(4.9));   // t = 0.16: halfway in Re, not in log Re
    std::vector<Row> rows;
    for (int option : {5, 6}) {
        const std::string o = "option " + std::to_string(option) + ", ";
        auto add = [&](const std::string& what, double re, double t, Expect e) {
            rows.push_back({o + what, option, re, t, e});
        };
        add("below the band", 50000.0, 0.12, laminar_side(50000.0, 0.12));
        add("at the lower edge 10^5 exactly", 1.0e5, 0.25, laminar_side(1.0e5, 0.25));
        add("above the band, frozen at 1e7", 1.0e6, 0.12, turbulent_side(option, 1.0e6, 0.12));
        add("just above the upper edge", 501200.0, 0.25, turbulent_side(option, 501200.0, 0.25));
        add("above 1e7", 2.0e7, 0.12, turbulent_side(option, 2.0e7, 0.12));
        add("middle of a row's band", std::sqrt(lo12 * hi12), 0.12, band_middle(option, lo12, 0.12));
        add("middle of t = 0.2", std::sqrt(e10(4.9) * e10(5.7)), 0.2, band_middle(option, e10(4.9), 0.2));
        // between the log- and the Re-interpolated lower edge (70795 and 71264)
        add("edge interpolated in Re", 71000.0, 0.16, laminar_side(71000.0, 0.16));
        add("middle between rows", std::sqrt(lo16 * e10(5.7)), 0.16, band_middle(option, lo16, 0.16));
        add("t < 0 takes the first row", std::sqrt(e10(4.6) * e10(5.5)), -0.1, band_middle(option, e10(4.6), -0.1));
        add("t = 2 takes the last row", std::sqrt(e10(5.75) * e10(5.9)), 2.0, band_middle(option, e10(5.75), 2.0));
        add("t > 2 takes the last row", std::sqrt(e10(5.75) * e10(5.9)), 3.0, band_middle(option, e10(5.75), 3.0));
    }
    rows.push_back(
        {"option 5 inside the band", 5, 200000.0, 0.12, {0.003859, 0.006545 / 0.003859, 0.006545}, quoted_tol});
    for (const Row& row : rows) check(row);
}

TEST(FrictionLines, TransitionBandIsContinuousAtItsEdges) {
    // The lines change by about the step over a relative step of 1e-5; a
    // misplaced edge or blend end jumps by percents.
    constexpr double step = 1.0e-5, tol = 1.0e-4;
    struct Band {
        double t, lo, hi;
    };
    const std::array<Band, 4> bands = {{{0.0, e10(4.6), e10(5.5)},
                                        {0.06, e10(4.7), e10(5.6)},
                                        {0.43, e10(5.1) + (0.06 / 0.13) * (e10(5.2) - e10(5.1)), e10(5.7)},
                                        {1.5, 0.5 * (e10(5.5) + e10(5.75)), 0.5 * (e10(5.8) + e10(5.9))}}};
    for (int option : {5, 6})
        for (const Band& b : bands)
            for (double edge : {b.lo, b.hi}) {
                std::array<float, 3> below{}, above{};
                const auto t = static_cast<float>(b.t);
                strip(option, static_cast<float>(edge * (1.0 - step)), t, below[0], below[1], below[2]);
                strip(option, static_cast<float>(edge * (1.0 + step)), t, above[0], above[1], above[2]);
                for (std::size_t q = 0; q < 3; ++q)
                    EXPECT_NEAR(below[q], above[q], tol * above[q])
                        << "option " << option << ", t " << b.t << ", edge " << edge << ", output " << q;
            }
}

TEST(FrictionLines, SectionDragTableOfOptionSeven) {
    struct Point {
        double re, cd;
    };
    const std::array<Point, 15> table = {{{1010, 0.046094},    {4006.7, 0.024039}, {7003.3, 0.018621},
                                          {10000, 0.015877},   {59000, 0.0075486}, {100000, 0.00608},
                                          {300000, 0.00385},   {500000, 0.00355},  {1.0e6, 0.00336},
                                          {2.0e6, 0.00325},    {3.0e6, 0.00317},   {1.0e7, 0.0032227},
                                          {3.9667e7, 0.002608}, {6.9333e7, 0.0024049}, {9.9e7, 0.0022867}}};
    auto same = [](double cd) { return Expect{cd, 1.0, cd}; };
    // power law through two neighbouring points, evaluated at re
    auto along = [](const Point& a, const Point& b, double re) {
        return a.cd * std::pow(re / a.re, std::log(b.cd / a.cd) / std::log(b.re / a.re));
    };
    std::vector<Row> rows;
    for (const Point& p : table) rows.push_back({"table point " + std::to_string(p.re), 7, p.re, 0.1, same(p.cd)});
    rows.push_back({"between 1e6 and 2e6", 7, std::sqrt(2.0) * 1.0e6, 0.0, same(std::sqrt(0.00336 * 0.00325))});
    rows.push_back({"below the table", 7, 500.0, 0.0, same(along(table[0], table[1], 500.0))});
    rows.push_back({"above the table", 7, 2.0e8, 0.0, same(along(table[13], table[14], 2.0e8))});
    for (const Row& row : rows) check(row);
    EXPECT_GT(along(table[0], table[1], 500.0), 0.046094);
}

// The bodies take the cf of options 1 to 4 and no other line.
TEST(FrictionLines, BodyLinesAreTheStripLinesOneToFour) {
    for (float re : {0.5f, 1.0f, 2.0e3f, 3.0e5f, 499999.0f, 5.0e5f, 1.0e6f, 1.0e8f, 0.0f, -1.0e5f}) {
        for (int option = 1; option <= 4; ++option) {
            float cf = -1.0f, k = -1.0f, cd = -1.0f;
            strip(option, re, 0.1f, cf, k, cd);
            EXPECT_EQ(friction_cf(option, re), cf) << "option " << option << ", Re " << re;
        }
        for (int option : {0, 5, 6, 7, 8, -1}) EXPECT_EQ(friction_cf(option, re), 0.0f) << "option " << option;
    }
    EXPECT_NEAR(friction_cf(1, 1.0e6f), 0.001328, rel_tol * 0.001328);
    EXPECT_NEAR(friction_cf(4, 3.0e5f), 0.00293, rel_tol * 0.00293);
}

TEST(FrictionLines, OtherOptionsLeaveTheOutputsAlone) {
    for (int option : {0, 8, -1})
        for (float re : {1.0e6f, 0.0f}) {
            float cf = -1.0f, k = -2.0f, cd = -3.0f;
            strip(option, re, 0.1f, cf, k, cd);
            EXPECT_EQ(cf, -1.0f) << option;
            EXPECT_EQ(k, -2.0f) << option;
            EXPECT_EQ(cd, -3.0f) << option;
        }
}

TEST(FrictionLines, NoLineWithoutAPositiveFiniteReynoldsNumber) {
    constexpr float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Bad {
        int option;
        float re;
    };
    std::vector<Bad> bad;
    for (int option = 1; option <= 7; ++option)
        for (float re : {0.0f, -1.0e5f, nan, inf}) bad.push_back({option, re});
    // where the turbulent line is taken at Re itself, its logarithm must be positive
    for (int option : {2, 4})
        for (float re : {0.5f, 1.0f}) bad.push_back({option, re});
    for (const Bad& b : bad) {
        float cf = -1.0f, k = -1.0f, cd = -1.0f;
        strip(b.option, b.re, 0.1f, cf, k, cd);
        EXPECT_EQ(cf, 0.0f) << "option " << b.option << ", Re " << b.re;
        EXPECT_EQ(k, 0.0f) << "option " << b.option << ", Re " << b.re;
        EXPECT_EQ(cd, 0.0f) << "option " << b.option << ", Re " << b.re;
    }
}

}  // namespace
}  // namespace hydrosum
