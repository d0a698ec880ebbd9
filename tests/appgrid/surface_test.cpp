#include "appgrid/surface.hpp"
#include "appgrid/tfi.hpp"

#include "fixtures.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

using namespace appgrid_test;
using appgrid::V3;

// Fractions: one division and a product per entry on sums of a few exact
// distances, a few float ulps near 1.
constexpr float kFracTol = 3e-7f;

std::vector<float> column(Field& f, int c, int n) {
    std::vector<float> out;
    for (int k = 1; k <= n; ++k) out.push_back(f(k, c));
    return out;
}

void expect_near(const std::vector<float>& got, const std::vector<float>& want, float tol, const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], want[k], tol) << what << ", entry " << k + 1;
}

TEST(Fractions, FourLinesOfABlock) {
    // 4 x 3 block: row 1 straight and even, row 3 with every point in one place,
    // column 1 with distances 1 and 3, column 4 with a 3-4-5 step and a 0
    Block b(4, 3, [](int i, int j) -> V3 {
        if (j == 3) return {5, 5, 5};
        if (i == 4) return j == 1 ? V3{3, 0, 0} : V3{6, 4, 0};
        return {static_cast<float>(i - 1), 0, j == 2 ? 1.0f : 0.0f};
    });
    Sides st(4, 3);
    appgrid::xyzst(b.x.g(), b.y.g(), b.z.g(), st.row.g(), st.col.g(), 4, 3);
    expect_near(column(st.row, 1, 4), {0, 1 / 3.0f, 2 / 3.0f, 1}, kFracTol, "row 1");
    EXPECT_EQ(column(st.row, 2, 4), (std::vector<float>{0, 1 / 3.0f, 2 * (1 / 3.0f), 3 * (1 / 3.0f)}))
        << "row jm, all in one point: k r exactly";
    // column 1: (0,0,0) (0,0,1) (5,5,5): 1 then sqrt(66)
    const float c1 = 1 + std::sqrt(66.0f);
    expect_near(column(st.col, 1, 3), {0, 1 / c1, 1}, kFracTol, "column 1");
    // column 4: (3,0,0) (6,4,0) (5,5,5): 5 then sqrt(27)
    const float c4 = 5 + std::sqrt(27.0f);
    expect_near(column(st.col, 2, 3), {0, 5 / c4, 1}, kFracTol, "column im");
}

TEST(Fractions, IndexDistancesAndOnePointLines) {
    // (u, v) from (1, 1) to (4, 5) and on: index units, not scaled
    Field u(3, 1), v(3, 1);
    const float us[] = {1, 4, 4}, vs[] = {1, 5, 15};
    for (int i = 1; i <= 3; ++i) u(i, 1) = us[i - 1], v(i, 1) = vs[i - 1];
    Sides st(3, 1);
    appgrid::uvst(u.g(), v.g(), st.row.g(), st.col.g(), 3, 1);
    expect_near(column(st.row, 1, 3), {0, 1 / 3.0f, 1}, kFracTol, "the one row");
    // jm = 1: the columns are single points
    EXPECT_EQ(column(st.col, 1, 1), std::vector<float>{0});
    EXPECT_EQ(column(st.col, 2, 1), std::vector<float>{0});
}

// --- surface evaluation --------------------------------------------------------

// A 4 x 3 network with values that tell every point apart.
struct Network {
    Block s{4, 3, [](int i, int j) -> V3 {
                return {static_cast<float>(i * i + 10 * j), static_cast<float>(i * j), static_cast<float>(7 - i)};
            }};
    V3 at(float u, float v, int imi = 4, int jmi = 3) {
        Field uu(1, 1, u), vv(1, 1, v), x(1, 1), y(1, 1), z(1, 1);
        appgrid::xyzuv(s.x.g(), s.y.g(), s.z.g(), imi, jmi, uu.g(), vv.g(), x.g(), y.g(), z.g(), 1, 1);
        return {x(1, 1), y(1, 1), z(1, 1)};
    }
};

void expect_point(V3 got, V3 want, const std::string& what) {
    EXPECT_EQ(got.x, want.x) << what;
    EXPECT_EQ(got.y, want.y) << what;
    EXPECT_EQ(got.z, want.z) << what;
}

TEST(Xyzuv, NetworkPointsExactlyAndClampedOutside) {
    Network n;
    for (int j = 1; j <= 3; ++j)
        for (int i = 1; i <= 4; ++i)
            expect_point(n.at(static_cast<float>(i), static_cast<float>(j)), n.s(i, j),
                         "point " + std::to_string(i) + "," + std::to_string(j));
    struct Case {
        float u, v, cu, cv;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const Case clamped[] = {{0.3f, 2, 1, 2},  {6, 2, 4, 2},   {2, -5, 2, 1},
                            {2, 3.5f, 2, 3},  {-1, 99, 1, 3}, {nan, 1, 4, 1}};
    for (const Case& c : clamped)
        expect_point(n.at(c.u, c.v), n.at(c.cu, c.cv), "u " + std::to_string(c.u) + ", v " + std::to_string(c.v));
    // inside a cell: x = i^2 + 10 j is bilinear in j, and between i = 2 and 3
    // the weights are exact here: (1-0.25) 4 + 0.25 9 + 10 * 1.5
    const V3 p = n.at(2.25f, 1.5f);
    EXPECT_EQ(p.x, 0.75f * 4 + 0.25f * 9 + 15);
    EXPECT_EQ(p.y, 2.25f * 1.5f);
    EXPECT_EQ(p.z, 7 - 2.25f);
}

TEST(Xyzuv, NetworkOfOneRowOrColumn) {
    // one row: v has no cell and the row's own points serve
    Network n;
    expect_point(n.at(2.5f, 1.7f, 4, 1), n.at(2.5f, 1.0f), "one row");
    Block col(1, 3, [](int, int j) -> V3 { return {0, static_cast<float>(2 * j), 1}; });
    Field u(1, 1, 3.0f), v(1, 1, 2.5f), x(1, 1), y(1, 1), z(1, 1);
    appgrid::xyzuv(col.x.g(), col.y.g(), col.z.g(), 1, 3, u.g(), v.g(), x.g(), y.g(), z.g(), 1, 1);
    EXPECT_EQ(y(1, 1), 5.0f);
}

// --- transfinite interpolation --------------------------------------------------

// s and t of an im x jm block with even fractions on all four lines.
Sides even_fractions(int im, int jm) {
    Sides st(im, jm);
    for (int c = 1; c <= 2; ++c) {
        for (int i = 1; i <= im; ++i) st.row(i, c) = static_cast<float>(i - 1) / static_cast<float>(im - 1);
        for (int j = 1; j <= jm; ++j) st.col(j, c) = static_cast<float>(j - 1) / static_cast<float>(jm - 1);
    }
    return st;
}

// Interpolated values up to 6 after a dozen roundings.
constexpr float kTfiTol = 5e-6f;

TEST(Tfi, ReproducesACoonsPatchFromItsBoundaries) {
    // f = g(xi) + h(eta) + c xi eta is reproduced exactly by the boolean sum
    const int im = 5, jm = 4;
    const auto f = [](float xi, float eta) { return xi * xi + 3 * eta * eta * eta + 2 * xi * eta; };
    const auto g = [](float xi, float eta) { return 1 + 8 * xi - eta; };
    Field u(im, jm, 0.0f), v(im, jm, 0.0f);
    for (int j = 1; j <= jm; ++j)
        for (int i = 1; i <= im; ++i)
            if (i == 1 || i == im || j == 1 || j == jm) {
                const float xi = (i - 1) / 4.0f, eta = (j - 1) / 3.0f;
                u(i, j) = f(xi, eta);
                v(i, j) = g(xi, eta);
            }
    Sides st = even_fractions(im, jm);
    appgrid::uvtfi(u.g(), v.g(), st.row.g(), st.col.g(), im, jm);
    for (int j = 1; j <= jm; ++j)
        for (int i = 1; i <= im; ++i) {
            const bool edge = i == 1 || i == im || j == 1 || j == jm;
            const float xi = (i - 1) / 4.0f, eta = (j - 1) / 3.0f;
            if (edge) {
                EXPECT_EQ(u(i, j), f(xi, eta)) << "boundary " << i << "," << j;
                EXPECT_EQ(v(i, j), g(xi, eta)) << "boundary " << i << "," << j;
            } else {
                EXPECT_NEAR(u(i, j), f(xi, eta), kTfiTol) << i << "," << j;
                EXPECT_NEAR(v(i, j), g(xi, eta), kTfiTol) << i << "," << j;
            }
        }
}

TEST(Tfi, BlendsAtTheCrossingOfTheLinesJoiningMatchingFractions) {
    // the fields xi and eta themselves (each 0 and 1 on its opposite lines,
    // the fractions on the others), both families bunched differently on
    // their two lines: at point (2, 2) the line from (0.1, 0) to (0.5, 1)
    // crosses the line from (0, 0.2) to (1, 0.6) at (3/14, 2/7)
    const int im = 4, jm = 3;
    Sides st(im, jm);
    const float bottom[] = {0, 0.1f, 0.3f, 1}, top[] = {0, 0.5f, 0.9f, 1};
    const float left[] = {0, 0.2f, 1}, right[] = {0, 0.6f, 1};
    Field xi(im, jm, 0.0f), eta(im, jm, 0.0f);
    for (int i = 1; i <= im; ++i) {
        st.row(i, 1) = xi(i, 1) = bottom[i - 1];
        st.row(i, 2) = xi(i, jm) = top[i - 1];
        eta(i, jm) = 1;
    }
    for (int j = 1; j <= jm; ++j) {
        st.col(j, 1) = eta(1, j) = left[j - 1];
        st.col(j, 2) = eta(im, j) = right[j - 1];
        xi(im, j) = 1;
    }
    appgrid::uvtfi(xi.g(), eta.g(), st.row.g(), st.col.g(), im, jm);
    EXPECT_NEAR(xi(2, 2), 3 / 14.0f, 1e-7f);
    EXPECT_NEAR(eta(2, 2), 2 / 7.0f, 1e-7f);
}

TEST(Pptfi, ControlFunctionsAlongTheSidesThenInside) {
    const int im = 4, jm = 5;
    Sides st = even_fractions(im, jm);
    const float tl[] = {0, 0.1f, 0.4f, 0.8f, 1};
    for (int j = 1; j <= jm; ++j) st.col(j, 1) = tl[j - 1];
    Field phi(im, jm, 0.0f), psi(im, jm, 0.0f);
    for (int i = 1; i <= im; ++i) phi(i, 1) = 1, phi(i, jm) = 3;   // phi set on the rows
    for (int j = 1; j <= jm; ++j) psi(1, j) = -2, psi(im, j) = -2;   // psi constant on the columns
    appgrid::pptfi(phi.g(), psi.g(), st.row.g(), st.col.g(), im, jm);
    for (int j = 1; j <= jm; ++j) {
        EXPECT_NEAR(phi(1, j), 1 + 2 * tl[j - 1], 1e-6f) << "column 1, row " << j;
        EXPECT_NEAR(phi(im, j), 1 + 2 * st.col(j, 2), 1e-6f) << "column im, row " << j;
    }
    for (int j = 1; j <= jm; ++j)
        for (int i = 1; i <= im; ++i) EXPECT_NEAR(psi(i, j), -2.0f, 1e-6f) << "a constant stays: " << i << "," << j;
    // a block without points reads nothing
    Field none(0, 4);
    appgrid::pptfi(none.g(), none.g(), none.g(), st.col.g(), 0, 4);
}

}  // namespace
