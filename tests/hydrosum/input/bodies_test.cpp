// Body friction of hull and bulb: the friction lines, the visited cases and
// the bulb's form factor from its own network.
//
// References are worked in double precision from the published forms of
// the lines and from closed-form section areas.
#include "unit_fixtures.hpp"

#include "hydrosum/input/parts.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <memory>
#include <string>
#include <vector>

namespace hydrosum {
namespace {

namespace fs = std::filesystem;
using hydrosum_test::write_file;

// Single-precision evaluation of pow, log10 and a few products against a
// double reference: a few units in the last place, with room.
constexpr double single_rel = 1.0e-5;
constexpr float untouched = -777.0f;
constexpr double pi = std::numbers::pi;

// Density and viscosity powers of two, so that Re = V x L x 2^20 is exact.
constexpr float rho = 1024.0f;
constexpr float mu = 1.0f / 1024.0f;
constexpr double re_per_vl = 1048576.0;

double laminar(double re) { return 1.328 / std::sqrt(re); }
double turbulent(double re) { return 0.455 / std::pow(std::log10(re), 2.58); }
double matched() { return (turbulent(5.0e5) - laminar(5.0e5)) * 5.0e5; }

double cf_ref(int option, double re) {
    switch (option) {
        case 1: return laminar(re);
        case 2: return turbulent(re);
        case 3: return re < 5.0e5 ? laminar(re) : turbulent(re) - matched() / re;
        case 4: return std::min(std::max(laminar(re), 0.00293), turbulent(re));
        default: return 0.0;
    }
}

double form_of_slenderness(double t) { return 1.0 + 1.5 * std::pow(t, 1.5) + 7.0 * t * t * t; }

// Form factor of a body of length l whose largest section has area a.
double form_ref(double a, double l) { return form_of_slenderness(std::sqrt(4.0 * a / pi) / l); }

// A network, point (i, j) at (i - 1) + ni (j - 1).
struct Body {
    int ni = 0, nj = 0;
    std::vector<float> x, y, z;
    Body(int ni_, int nj_) : ni(ni_), nj(nj_), x(std::size_t(ni * nj)), y(x.size()), z(x.size()) {}
    void set(int i, int j, double px, double py, double pz) {
        const std::size_t k = std::size_t(i - 1 + ni * (j - 1));
        x[k] = static_cast<float>(px), y[k] = static_cast<float>(py), z[k] = static_cast<float>(pz);
    }
    std::string text() const {
        char b[96];
        std::snprintf(b, sizeof b, "%5d%5d    1 body\n", ni, nj);
        std::string s = b;
        for (std::size_t k = 0; k < x.size(); ++k) {
            std::snprintf(b, sizeof b, "%.9g %.9g %.9g\n", double(x[k]), double(y[k]), double(z[k]));
            s += b;
        }
        return s;
    }
};

// Half ellipsoid of revolution in z >= 0, length 10, largest radius 0.5;
// rows at angles 0..pi (or pi..0), so every section starts and ends on z = 0.
constexpr int spheroid_rows = 33;
Body half_spheroid(bool reversed) {
    Body b(41, spheroid_rows);
    for (int j = 1; j <= b.nj; ++j) {
        double th = pi * (j - 1) / (b.nj - 1);
        if (reversed) th = pi - th;
        for (int i = 1; i <= b.ni; ++i) {
            const double x = 0.25 * (i - 1);
            const double r = 0.5 * std::sqrt(std::max(0.0, 1.0 - (x - 5.0) * (x - 5.0) / 25.0));
            b.set(i, j, x, r * std::cos(th), r * std::sin(th));
        }
    }
    return b;
}
// The mirrored sections are regular polygons of 2 (rows - 1) sides.
double spheroid_area() {
    const double n = 2.0 * (spheroid_rows - 1);
    return 0.5 * n * 0.25 * std::sin(2.0 * pi / n);
}

// Half of a 2 x 2 square section: mirrored, an area of 4 x r(x)^2.
constexpr std::array<std::array<double, 2>, 4> half_square = {{{1, 0}, {1, 1}, {-1, 1}, {-1, 0}}};

// A prism of that section whose rows have their own x spacing and ends:
// x from -1 to 11 overall, common range 0 to 10.
Body prism() {
    const double xs[4][5] = {{0, 2.5, 5, 7.5, 10}, {-1, 0, 4, 9, 10}, {0, 1, 2, 3, 11}, {0, 5, 6, 7, 10}};
    Body b(5, 4);
    for (int j = 1; j <= 4; ++j)
        for (int i = 1; i <= 5; ++i) b.set(i, j, xs[j - 1][i - 1], half_square[j - 1][0], half_square[j - 1][1]);
    return b;
}

// Tapered ends, full section between x = 3 and 7; rows 1, 3 and rows 2, 4
// are spaced so differently that no raw i-th points of all rows share one
// x inside the full part: only the resampled sections reach area 4.
Body staggered_midbody() {
    const double xs[2][9] = {{0, 1, 2, 3, 5, 7, 8, 9, 10}, {0, 3, 7, 7.5, 8, 8.5, 9, 9.5, 10}};
    auto r = [](double x) { return x < 3 ? 0.5 + 0.5 * x / 3 : x > 7 ? 1.0 - 0.5 * (x - 7) / 3 : 1.0; };
    Body b(9, 4);
    for (int j = 1; j <= 4; ++j)
        for (int i = 1; i <= 9; ++i) {
            const double x = xs[(j - 1) % 2][i - 1];
            b.set(i, j, x, r(x) * half_square[j - 1][0], r(x) * half_square[j - 1][1]);
        }
    return b;
}

class Bodies : public hydrosum_test::StdioTest {
protected:
    void SetUp() override {
        StdioTest::SetUp();
        st = std::make_unique<Store>();
        st->ci(1) = 3;
        st->ci(2) = 3;
        st->c(3) = mu;
        st->c(4) = rho;
        st->c(5) = 1.0f;
        st->c(18) = 0.75f;
        set_text(st->vchr[0], "none");
        set_text(st->vchr[2], "hull.net");
        set_text(st->vchr[4], "bulb.net");
        Body h(2, 2);   // its points must not matter
        h.set(1, 1, 0, 0, 0), h.set(2, 1, 3, 0, 0), h.set(1, 2, 0, 1, 1), h.set(2, 2, 3, 1, 1);
        write_file("hull.net", h.text());
    }

    static void set_text(std::array<char, 255>& t, const std::string& s) {
        t.fill(' ');
        s.copy(t.data(), s.size());
    }
    // One upright case with these values, all drag slots untouched.
    hydrosum::Run one_case(float speed, float area_hull, float area_bulb, float length) {
        hydrosum::Run ku = st->ku.run();
        ku.present() = true;
        ku.n() = 1;
        ku.s(1, 1) = speed;
        ku.s(1, 8) = area_hull;
        ku.s(1, 10) = area_bulb;
        ku.s(1, 15) = length;
        ku.s(1, 53) = ku.s(1, 56) = untouched;
        return ku;
    }

    std::unique_ptr<Store> st;

private:
    hydrosum_test::ScratchDir dir_{"hydrosum-bodies"};
};

void expect_rel(double actual, double expected) {
    EXPECT_NEAR(actual, expected, single_rel * std::abs(expected)) << "expected " << expected;
}

TEST_F(Bodies, HullFrictionLinesOfEachOption) {
    EXPECT_NEAR(matched(), 1613.8, 0.1);   // the matched constant, not a published 1700
    struct Case {
        int option;
        double re;
    };
    const Case cases[] = {
        {1, 1.0e6},     {1, 2.0e3},     {2, 1.0e6},     {2, 1.0e8},
        {3, 499999.0},  {3, 500000.0},  {3, 1.0e6},     {3, 1.0e8},
        {4, 3.0e5},     {4, 1.0e4},     {4, 1.0e8},     // floor, laminar cap, turbulent
        {5, 1.0e6},     {7, 1.0e6},     {-1, 1.0e6},    // no line for a body
    };
    constexpr float area = 10.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE("option " + std::to_string(c.option) + ", Re " + std::to_string(c.re));
        st->vint[hull] = c.option;
        const hydrosum::Run ku = one_case(2.0f, area, 1.0f, static_cast<float>(c.re / re_per_vl / 2.0));
        vhull(*st);
        expect_rel(ku.s(1, 53), cf_ref(c.option, c.re) * 1.04 * area);
        EXPECT_EQ(ku.s(1, 56), untouched);
        char line[40];
        std::snprintf(line, sizeof line, "hull stripping, option%5d\n", c.option);
        EXPECT_EQ(take_output(), line);
    }
    // the worked case: option 1 at Re = 10^6 on 10 units of wetted area
    st->vint[hull] = 1;
    const hydrosum::Run ku = one_case(1.0f, area, 1.0f, static_cast<float>(1.0e6 / re_per_vl));
    vhull(*st);
    EXPECT_NEAR(ku.s(1, 53), 0.0138112, 0.0138112 * single_rel);
}

TEST_F(Bodies, ReynoldsNumbersWithoutALineGiveNoDrag) {
    struct Case {
        const char* what;
        int option;
        float speed, length, density, viscosity;
    };
    const float nan = std::nanf("");
    const Case cases[] = {
        {"zero viscosity", 1, 2.0f, 5.0f, rho, 0.0f},
        {"zero density", 2, 2.0f, 5.0f, 0.0f, mu},
        {"zero length", 3, 2.0f, 0.0f, rho, mu},
        {"negative length", 1, 2.0f, -5.0f, rho, mu},
        {"no length", 4, 2.0f, nan, rho, mu},
        {"turbulent at Re 1", 2, 1.0f, 1.0f, 1.0f, 1.0f},
        {"turbulent below Re 1", 4, 0.5f, 1.0f, 1.0f, 1.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        st->vint[hull] = c.option;
        st->c(3) = c.viscosity;
        st->c(4) = c.density;
        const hydrosum::Run ku = one_case(c.speed, 10.0f, 1.0f, c.length);
        vhull(*st);
        EXPECT_EQ(ku.s(1, 53), 0.0f);
    }
}

TEST_F(Bodies, AbsentBodiesReadNothingButAnUnusedHullNetworkStillCounts) {
    fs::remove("hull.net");
    st->vint[hull] = 0;
    st->vint[bulb] = 0;
    const hydrosum::Run ku = one_case(2.0f, 1.0f, 1.0f, 1.0f);
    vhull(*st);
    vbulb(*st);
    EXPECT_EQ(ku.s(1, 53), untouched);
    EXPECT_EQ(ku.s(1, 56), untouched);
    EXPECT_EQ(take_output(), "");

    st->vint[hull] = 1;
    EXPECT_THROW(vhull(*st), textio::Failure);
    EXPECT_FALSE(fs::exists("hull.net"));
}

TEST_F(Bodies, BulbFormFactorFromItsLargestSection) {
    struct Case {
        const char* what;
        Body body;
        double area, length;   // of the largest section; overall
    };
    const Case cases[] = {
        {"half body of revolution", half_spheroid(false), spheroid_area(), 10.0},
        {"the same, rows the other way round", half_spheroid(true), spheroid_area(), 10.0},
        {"prism with rows of their own spacing and ends", prism(), 4.0, 12.0},
        {"staggered rows, full section only after resampling", staggered_midbody(), 4.0, 10.0},
    };
    // the polygon stands close to the circle: t near 0.1, k near 1.0544
    EXPECT_NEAR(form_ref(spheroid_area(), 10.0), 1.0 + 1.5 * std::pow(0.1, 1.5) + 7.0e-3, 1.0e-3);
    st->vint[bulb] = 1;
    constexpr float area = 3.0f;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write_file("bulb.net", c.body.text());
        const hydrosum::Run ku = one_case(1.0f, 1.0f, area, 1.0f);
        vbulb(*st);
        expect_rel(ku.s(1, 56), laminar(c.length * re_per_vl) * form_ref(c.area, c.length) * area);
        EXPECT_EQ(ku.s(1, 53), untouched);
        EXPECT_EQ(take_output(), "bulb stripping, option    1\n");
    }
}

TEST_F(Bodies, DegenerateBulbGeometryStopsTheRun) {
    auto rows = [](std::array<double, 2> row1, std::array<double, 2> row2, std::array<double, 2> row3) {
        Body b(2, 3);
        const std::array<double, 2> ends[3] = {row1, row2, row3};
        for (int j = 1; j <= 3; ++j)
            for (int i = 1; i <= 2; ++i)
                b.set(i, j, ends[j - 1][i - 1], half_square[j - 1][0], j == 2 ? 1.0 : 0.0);
        return b;
    };
    struct Case {
        const char* what;
        Body body;
    };
    const Case cases[] = {
        {"rows running aft to fore", rows({10, 0}, {10, 0}, {10, 0})},
        {"no length at all", rows({4, 4}, {4, 4}, {4, 4})},
        {"one row with equal end x", rows({0, 10}, {5, 5}, {0, 10})},
    };
    st->vint[bulb] = 2;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write_file("bulb.net", c.body.text());
        const hydrosum::Run ku = one_case(1.0f, 1.0f, 1.0f, 1.0f);
        EXPECT_EQ(hydrosum_test::stop_code([&] { vbulb(*st); }), 1);
        EXPECT_EQ(take_output(), "error ... bulb network geometry degenerate\n");
        EXPECT_EQ(ku.s(1, 56), untouched);
    }
}

TEST_F(Bodies, EveryVisitedCaseGetsItsDragAreaSlowOnesAtTheSmallestSpeed) {
    write_file("bulb.net", prism().text());
    const double bulb_length = 12.0, bulb_form = form_ref(4.0, bulb_length);
    struct Case {
        char cls;   // 'r', 'k' or 'u' (ku)
        int j, h, i;
        float speed, length, area;
        bool visited;
    };
    const Case cases[] = {
        {'r', 2, 3, 1, 0.0f, 2.0f, 3.0f, true},     {'r', 2, 3, 2, 5.0e-7f, 4.0f, 5.0f, true},
        {'r', 2, 3, 3, 2.0f, 6.0f, 7.0f, true},     {'r', 2, 3, 4, 2.0f, 6.0f, 7.0f, false},   // beyond the count
        {'k', 2, 3, 1, 1.0e-6f, 3.0f, 2.0f, true},  {'u', 1, 1, 1, 3.0f, 8.0f, 9.0f, true},
        {'u', 1, 1, 2, -1.0f, 1.0f, 4.0f, true},
        {'r', 1, 1, 1, 2.0f, 1.0f, 1.0f, false},    // file absent
        {'k', 3, 1, 1, 2.0f, 1.0f, 1.0f, false},    // present without cases
    };
    st->r.n(2, 3) = 3, st->r.present(2, 3) = true;
    st->k.n(2, 3) = 1, st->k.present(2, 3) = true;
    st->ku.count = 2, st->ku.flag = true;
    st->r.n(1, 1) = 2;
    st->k.present(3, 1) = true;
    auto run_of = [&](const Case& c) {
        return c.cls == 'r' ? st->r.run(c.j, c.h) : c.cls == 'k' ? st->k.run(c.j, c.h) : st->ku.run();
    };

    for (Part part : {hull, bulb}) {
        SCOPED_TRACE(part == hull ? "hull" : "bulb");
        for (const Case& c : cases) {
            const hydrosum::Run run = run_of(c);
            run.s(c.i, 1) = c.speed;
            run.s(c.i, 15) = c.length;
            run.s(c.i, part == hull ? 8 : 10) = c.area;
            run.s(c.i, 53) = run.s(c.i, 56) = untouched;
        }
        st->vint[hull] = part == hull ? 1 : 0;
        st->vint[bulb] = part == bulb ? 1 : 0;
        vhull(*st);
        vbulb(*st);
        const int slot = part == hull ? 53 : 56, other = part == hull ? 56 : 53;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(1, c.cls) + " run " + std::to_string(c.j) + " heel " + std::to_string(c.h) +
                         " case " + std::to_string(c.i));
            const hydrosum::Run run = run_of(c);
            EXPECT_EQ(run.s(c.i, other), untouched);
            if (!c.visited) {
                EXPECT_EQ(run.s(c.i, slot), untouched);
                continue;
            }
            const double v = c.speed > 1.0e-6f ? c.speed : st->c(18);
            const double length = part == hull ? c.length : bulb_length;
            const double form = part == hull ? 1.04 : bulb_form;
            expect_rel(run.s(c.i, slot), laminar(v * length * re_per_vl) * form * c.area);
        }
    }
}

}  // namespace
}  // namespace hydrosum
