// bvalue and interv: de Boor's cases, the saved search start, and values
// against a double-precision Cox-de Boor evaluation.

#include "reference.hpp"
#include "surfmesh/bspline.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace {

using surfmesh::BvalueWork;
using surfmesh::bvalue;
using surfmesh::interv;

TEST(Bvalue, ClampedCubic)
{
    const std::vector<float> t{0, 0, 0, 0, 1, 1, 1, 1}, c{1, 2, 3, 4};
    BvalueWork w;
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 4, 0.5f, 0, w), 2.5f);
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 4, 0.5f, 1, w), 3.0f);
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 4, 0.5f, 3, w), 0.0f);
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 4, 0.0f, 0, w), 1.0f);
    // the last knot and beyond, and below the first: outside the spline
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 4, 1.0f, 0, w), 0.0f);
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 4, 1.5f, 0, w), 0.0f);
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 4, -0.1f, 0, w), 0.0f);
    // derivatives of the order and above are 0 wherever x is
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 4, 0.5f, 4, w), 0.0f);
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 4, 0.5f, 7, w), 0.0f);
}

TEST(Bvalue, InsideKnots)
{
    using surfmesh::inside_knots;
    EXPECT_EQ(inside_knots(-0.5f, 0.0f, 1.0f), 0.0f);
    EXPECT_EQ(inside_knots(0.25f, 0.0f, 1.0f), 0.25f);
    EXPECT_EQ(inside_knots(1.0f, 0.0f, 1.0f), std::nextafter(1.0f, 0.0f));
    EXPECT_EQ(inside_knots(3.0f, 0.0f, 1.0f), std::nextafter(1.0f, 0.0f));
    // the value there is the spline's, not 0
    const std::vector<float> t{0, 0, 1, 1}, c{2, 4};
    BvalueWork w;
    EXPECT_NEAR(bvalue(t.data(), c.data(), 2, 2, inside_knots(1.0f, 0.0f, 1.0f), 0, w), 4.0f, 1.0e-6f);
}

TEST(Bvalue, OrderOneGivesTheCoefficientOfTheInterval)
{
    const std::vector<float> t{0, 1, 1, 2, 3}, c{10, 20, 30, 40};
    BvalueWork w;
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 1, 0.5f, 0, w), 10.0f);
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 1, 1.0f, 0, w), 30.0f);   // right-continuous, past the empty interval
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 1, 2.9f, 0, w), 40.0f);
    EXPECT_EQ(bvalue(t.data(), c.data(), 4, 1, 3.0f, 0, w), 0.0f);
}

struct IntervCase {
    float x;
    int left, mflag;
};

TEST(Interv, KnotCasesInEveryOrderOfCalls)
{
    const std::vector<float> t{0, 0, 1, 2, 2};
    std::array<IntervCase, 4> cases{{{0.0f, 2, 0}, {1.5f, 3, 0}, {2.0f, 5, 1}, {-1.0f, 1, -1}}};
    std::sort(cases.begin(), cases.end(), [](auto& a, auto& b) { return a.x < b.x; });
    int ilo = 1;   // carried from call to call, as in a run
    do {
        for (const IntervCase& c : cases) {
            int left = -9, mflag = -9;
            interv(t.data(), 5, c.x, left, mflag, ilo);
            EXPECT_EQ(left, c.left) << "x = " << c.x;
            EXPECT_EQ(mflag, c.mflag) << "x = " << c.x;
        }
    } while (std::next_permutation(cases.begin(), cases.end(), [](auto& a, auto& b) { return a.x < b.x; }));
}

TEST(Interv, StartLeftByALongerSequence)
{
    std::vector<float> long_knots(400);
    for (int k = 0; k < 400; ++k) long_knots[static_cast<std::size_t>(k)] = static_cast<float>(k);
    const std::vector<float> t{0, 0, 1, 2, 2};
    int ilo = 1, left = 0, mflag = 0;
    interv(long_knots.data(), 400, 350.5f, left, mflag, ilo);
    EXPECT_EQ(left, 351);
    ASSERT_GT(ilo, 5);
    interv(t.data(), 5, 0.5f, left, mflag, ilo);
    EXPECT_EQ(left, 2);
    EXPECT_EQ(mflag, 0);
    ilo = 300;
    interv(t.data(), 5, 2.5f, left, mflag, ilo);
    EXPECT_EQ(left, 5);
    EXPECT_EQ(mflag, 1);
}

TEST(Interv, SingleKnot)
{
    const float t[] = {1.0f};
    int ilo = 1, left = 0, mflag = 0;
    interv(t, 1, 1.0f, left, mflag, ilo);
    EXPECT_EQ(mflag, 1);
    EXPECT_EQ(left, 1);
    interv(t, 1, 0.5f, left, mflag, ilo);
    EXPECT_EQ(mflag, -1);
    EXPECT_EQ(left, 1);
}

// Random splines of every order 1 to 9, clamped and unclamped knots with
// repeats, fewer coefficients than the order too: bvalue against the
// recurrence in double precision.
TEST(Bvalue, AgreesWithCoxDeBoor)
{
    std::mt19937 gen(128);
    std::uniform_int_distribution<int> order(1, 9), count(1, 14), step(0, 3);
    std::uniform_real_distribution<float> coef(-1.0f, 1.0f), unit(0.0f, 1.0f);
    BvalueWork w;
    // the value of a degree-p spline is an average of coefficients: rounding
    // stays within a few float steps of 1
    constexpr double tol = 2.0e-5;
    for (int trial = 0; trial < 400; ++trial) {
        const int k = order(gen), n = count(gen);
        const bool clamped = trial % 2 == 0;
        std::vector<float> t;
        float at = 0.0f;
        for (int m = 0; m < n + k; ++m) {
            const bool end = clamped && (m < k || m >= n);
            if (m > 0 && !end) at += 0.25f * static_cast<float>(step(gen));
            if (clamped && m == n) at += 0.25f;   // a clamped spline spans something
            t.push_back(at);
        }
        if (t.back() == t.front()) continue;
        std::vector<float> c(static_cast<std::size_t>(n));
        for (float& v : c) v = coef(gen);
        const std::vector<double> td(t.begin(), t.end()), cd(c.begin(), c.end());
        for (int p = 0; p < 20; ++p) {
            const float x = t.front() + (t.back() - t.front()) * unit(gen);
            if (!(x < t.back())) continue;
            const double want = surfmesh_test::spline(td, k - 1, cd, x);
            EXPECT_NEAR(bvalue(t.data(), c.data(), n, k, x, 0, w), want, tol)
                << "order " << k << ", " << n << " coefficients, x = " << x << (clamped ? ", clamped" : "");
        }
    }
}

}  // namespace
