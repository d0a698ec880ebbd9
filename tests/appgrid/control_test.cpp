#include "appgrid/control.hpp"

#include "fixtures.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using namespace appgrid_test;
using appgrid::V3;

// Control values from a few differences of exact coordinates: a few ulps.
constexpr float kControlTol = 1e-6f;

// A flat block whose rows all have the points x(1..im) and lie at y = 0, 1, ...
Block rows_at(const std::vector<float>& xs, int jm) {
    return Block(static_cast<int>(xs.size()), jm,
                 [&](int i, int j) -> V3 { return {xs[i - 1], static_cast<float>(j - 1), 0}; });
}

struct Fields {
    Field phi, psi;
    Sides st;
    Fields(int im, int jm) : phi(im, jm), psi(im, jm), st(im, jm) {}
};

Fields tandm_of(Block& b) {
    Fields f(b.im, b.jm);
    appgrid::tandm(b.x.g(), b.y.g(), b.z.g(), f.st.row.g(), f.st.col.g(), f.phi.g(), f.psi.g(), b.im, b.jm);
    return f;
}

TEST(Tandm, SpacingOfTheRowsGivesPhi) {
    struct Case {
        const char* what;
        std::vector<float> x, phi;
    };
    const float q = 1.5f, interior = -2 * (q - 1) / (q + 1);   // spacings 1, 1.5, 2.25, 3.375: exact
    const Case cases[] = {
        // the ends take minus half the second difference, so 0.5 and 1/6
        {"x = 0 1 3 6", {0, 1, 3, 6}, {0.5f, -2 / 3.0f, -0.4f, 1 / 6.0f}},
        {"geometric", {0, 1, 2.5f, 4.75f, 8.125f}, {0.5f * (q - 1), interior, interior, interior, 0.5f * (q - 1) / q}},
        {"even", {0, 2, 4, 6}, {0, 0, 0, 0}},
        // no first difference at the two inner points: 0 there, not 0/0
        {"doubling back", {0, 1, 0, 1}, {-1, 0, 0, 1}},
        {"one point", {3, 3, 3, 3}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        Block b = rows_at(c.x, 3);
        Fields f = tandm_of(b);
        const int im = b.im;
        for (int i = 1; i <= im; ++i)
            for (int j = 1; j <= 3; ++j) {
                // rows identical, so the interior and the columns repeat them
                EXPECT_NEAR(f.phi(i, j), c.phi[i - 1], kControlTol) << c.what << ", point " << i << "," << j;
                EXPECT_EQ(f.psi(i, j), 0.0f) << c.what << ", straight even columns";
            }
        // fractions of the grid as xyzst gives them
        std::vector<float> arc{0};
        for (int i = 1; i < im; ++i) arc.push_back(arc.back() + std::fabs(c.x[i] - c.x[i - 1]));
        for (int i = 1; i <= im; ++i)
            EXPECT_NEAR(f.st.row(i, 1), arc.back() > 0 ? arc[i - 1] / arc.back() : (i - 1) / float(im - 1), kControlTol)
                << c.what;
    }
}

TEST(Tandm, BlocksWithoutRoomForTheEndFormulas) {
    // no control, fractions as xyzst gives them, nothing read outside the block
    for (auto [im, jm] : {std::pair{2, 5}, {5, 2}, {4, 1}, {1, 4}, {1, 1}}) {
        Block b(im, jm, [](int i, int j) -> V3 { return {static_cast<float>(i * i), static_cast<float>(j * j), 0}; });
        Fields f = tandm_of(b);
        for (float v : f.phi.v) EXPECT_EQ(v, 0.0f) << im << " x " << jm;
        for (float v : f.psi.v) EXPECT_EQ(v, 0.0f) << im << " x " << jm;
        EXPECT_FLOAT_EQ(f.st.row(im, 1), im > 1 ? 1.0f : 0.0f) << im << " x " << jm;
        EXPECT_FLOAT_EQ(f.st.col(jm, 2), jm > 1 ? 1.0f : 0.0f) << im << " x " << jm;
    }
}

// --- boundary targets ------------------------------------------------------------

// 3 x 2 block, flat: x = (i-1) + a(i) (j-1), y = j-1, with a = 0, 0.5, 1.
// On both rows the angle between +i and +j is pi/2, atan(2), pi/4 and the
// off-wall spacing 1, sqrt(1.25), sqrt(2); column 1 is at pi/2, column im at
// pi/4, their spacings 1 and 1.5 along j.
Block leaning() {
    const float a[] = {0, 0.5f, 1};
    return Block(3, 2, [&](int i, int j) -> V3 { return {(i - 1) + a[i - 1] * (j - 1), static_cast<float>(j - 1), 0}; });
}

struct Targets {
    Sides st, angle, space;
    Targets(int im, int jm) : st(im, jm), angle(im, jm), space(im, jm) {}
};

Targets angdel_of(Block& b, const std::array<int, 8>& opt, const std::array<float, 8>& decay) {
    Targets t(b.im, b.jm);
    appgrid::angdel(opt, b.x.g(), b.y.g(), b.z.g(), b.im, b.jm, t.st.row.g(), t.st.col.g(), t.angle.row.g(),
                    t.angle.col.g(), t.space.row.g(), t.space.col.g(), decay);
    return t;
}

constexpr float kHalfPi = 1.5707964f;
constexpr float kAngleTol = 2e-6f;

TEST(Angdel, AngleOptionsOnARow) {
    // row 1 with decay lengths 0.5 (first end) and 0.25 (last end); s = 0, 0.5, 1
    struct Case {
        int opt;
        std::array<float, 3> angle;
    };
    const Case cases[] = {
        {1, {kHalfPi, 1.10714872f, 0.78539816f}},
        {7, {kHalfPi, 1.10714872f, 0.78539816f}},   // acts as 1
        {2, {kHalfPi, 1.17809725f, 0.78539816f}},   // blended between the ends
        // the deviation decayed by exp(max(-4.6 s, -9.2 (1 - s))), exp(-2.3) inside
        {3, {kHalfPi, 1.52431155f, 0.78539816f}},
        {4, {kHalfPi, 1.53142477f, 0.78539816f}},   // the blended value decayed
        // pi/2 + the last end's deviation times exp(-9.2 (1 - s)): not the
        // measured angle at the first end
        {5, {1.57071697f, 1.56290163f, 0.78539816f}},
    };
    for (const Case& c : cases) {
        Block b = leaning();
        Targets t = angdel_of(b, {c.opt, 0, c.opt, 0, 0, 0, 0, 0}, {0.5f, 0.25f, 0.5f, 0.25f, 0, 0, 0, 0});
        for (int i = 1; i <= 3; ++i) {
            EXPECT_NEAR(t.angle.row(i, 1), c.angle[i - 1], kAngleTol) << "option " << c.opt << ", point " << i;
            EXPECT_NEAR(t.angle.row(i, 2), c.angle[i - 1], kAngleTol) << "row jm measures +i against +j too";
        }
        for (float v : t.space.row.v) EXPECT_EQ(v, kUntouched) << "no spacing option";
        for (float v : t.angle.col.v) EXPECT_EQ(v, kUntouched) << "columns off";
    }
}

TEST(Angdel, SpacingsAndColumns) {
    Block b = leaning();
    Targets t = angdel_of(b, {0, 1, 0, 2, -1, 1, 1, 0}, {});
    const float measured[] = {1, std::sqrt(1.25f), std::sqrt(2.0f)};
    for (int i = 1; i <= 3; ++i) EXPECT_NEAR(t.space.row(i, 1), measured[i - 1], kAngleTol) << "row 1, " << i;
    EXPECT_NEAR(t.space.row(2, 2), 0.5f * std::sqrt(2.0f) + 0.5f, kAngleTol) << "row jm blended";
    for (float v : t.angle.row.v) EXPECT_EQ(v, kUntouched) << "no angle option on the rows";
    // column 1: a negative angle option does nothing, spacing along j 1 and 1.5
    EXPECT_EQ(t.angle.col(1, 1), kUntouched);
    EXPECT_NEAR(t.space.col(1, 1), 1.0f, kAngleTol);
    EXPECT_NEAR(t.space.col(2, 1), 1.5f, kAngleTol);
    // column im: angle only
    EXPECT_NEAR(t.angle.col(1, 2), 0.78539816f, kAngleTol);
    EXPECT_NEAR(t.angle.col(2, 2), 0.78539816f, kAngleTol);
    EXPECT_EQ(t.space.col(1, 2), kUntouched);
}

TEST(Angdel, DegenerateAndSmallBlocks) {
    // all options 0: only the fractions
    Block b = leaning();
    Targets off = angdel_of(b, {}, {});
    EXPECT_EQ(off.st.row(3, 1), 1.0f);
    for (Field* f : {&off.angle.row, &off.angle.col, &off.space.row, &off.space.col})
        for (float v : f->v) EXPECT_EQ(v, kUntouched);
    // a point whose neighbour on the next line coincides with it: a right angle, spacing 0
    b.x(2, 2) = b.x(2, 1), b.y(2, 2) = b.y(2, 1);
    Targets t = angdel_of(b, {1, 1, 0, 0, 0, 0, 0, 0}, {});
    EXPECT_EQ(t.angle.row(2, 1), kHalfPi);
    EXPECT_EQ(t.space.row(2, 1), 0.0f);
    // one point per row: fractions only
    Block thin(1, 3, [](int, int j) -> V3 { return {0, static_cast<float>(j), 0}; });
    Targets one = angdel_of(thin, {1, 1, 1, 1, 1, 1, 1, 1}, {});
    EXPECT_EQ(one.st.col(3, 1), 1.0f);
    for (float v : one.angle.col.v) EXPECT_EQ(v, kUntouched);
}

// --- control-function update -------------------------------------------------------

// Everything phipsi reads and writes for an im x jm block.
struct Update {
    Block b;
    Field phi, psi, phi_ref, psi_ref;
    Sides bphi, bpsi, angle, space;
    appgrid::PhipsiSettings set{};
    appgrid::PhipsiState state{};
    float omega = 1, ra = 1, rb = 1;

    template <typename F>
    Update(int im, int jm, F p)
        : b(im, jm, p), phi(im, jm), psi(im, jm), phi_ref(im, jm), psi_ref(im, jm), bphi(im, jm), bpsi(im, jm),
          angle(im, jm, kHalfPi), space(im, jm, 1.0f) {
        for (int j = 1; j <= jm; ++j)
            for (int i = 1; i <= im; ++i) phi_ref(i, j) = 0.01f * (i + 10 * j), psi_ref(i, j) = -0.02f * (i + j);
    }
    void run() {
        appgrid::phipsi(b.x.g(), b.y.g(), b.z.g(), phi.g(), psi.g(), phi_ref.g(), psi_ref.g(), b.im, b.jm,
                        bphi.row.g(), bpsi.row.g(), bphi.col.g(), bpsi.col.g(), angle.row.g(), angle.col.g(),
                        space.row.g(), space.col.g(), set, omega, ra, rb, state);
    }
};

// A plane grid of unit squares: with right-angle targets and unit spacing
// every boundary already has its target, and the equations hold with phi = psi = 0.
V3 unit_square(int i, int j) { return {static_cast<float>(i), static_cast<float>(j), 0}; }

TEST(Phipsi, AllSwitchesOffGivesTheReferenceFields) {
    Update u(5, 4, unit_square);
    u.omega = -3, u.ra = -1, u.rb = 0;
    u.run();
    EXPECT_EQ(u.omega, 0.5f);
    EXPECT_EQ(u.ra, 0.1f);
    EXPECT_EQ(u.rb, 0.0f) << "0 stays 0";
    EXPECT_EQ(u.phi.v, u.phi_ref.v);
    EXPECT_EQ(u.psi.v, u.psi_ref.v);
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(u.bphi.row(i, 2), u.phi_ref(i, 4));
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(u.bpsi.col(j, 2), u.psi_ref(5, j));
}

TEST(Phipsi, LimitedStepsTowardsTheTargets) {
    // row 1 on: its targets ask for phi = psi = 0 (up to rounding)
    struct Case {
        float omega, ra, rb, v, after;
    };
    const Case cases[] = {
        {1, 1, 0.05f, 0.3f, 0.25f},   // bounded by max(|v|, 1) wb = 0.05
        {1, 1, 0.05f, 40, 38},        // bounded by 40 wb = 2
        {1, 0.5f, 1, 0.01f, 0.005f},  // |e| wa = 0.005
        {0.2f, 1, 1, -0.5f, -0.4f},   // omega bounds both: 0.5 * 0.2
        {0, 1, 1, 0.3f, 0.3f},        // omega 0: no step
    };
    for (const Case& c : cases) {
        Update u(5, 4, unit_square);
        u.set.on = {1, 0, 0, 0};
        u.omega = c.omega, u.ra = c.ra, u.rb = c.rb;
        for (int i = 1; i <= 5; ++i) u.bphi.row(i, 1) = c.v, u.bpsi.row(i, 1) = -c.v;
        u.run();
        for (int i = 1; i <= 5; ++i) {
            EXPECT_NEAR(u.bphi.row(i, 1), c.after, kControlTol) << "v " << c.v << ", point " << i;
            EXPECT_NEAR(u.bpsi.row(i, 1), -c.after, kControlTol) << "v " << c.v << ", point " << i;
        }
    }
}

TEST(Phipsi, ExponentsScaleTheTargetSpacing) {
    // unit squares, row 1 on with a right-angle target of spacing D: the
    // target off-wall vector has length L = D (D/|N|)^n = D^(n+1) here, and
    // the equations then ask for psi = 3 (L - 1) / L on the row (phi = 0);
    // omega = rA = rB = 1 takes the whole step from 0.  n is the second
    // exponent where |N| <= D, the first where |N| > D.
    struct Case {
        std::array<int, 2> pair;
        float d, length;
    };
    const Case cases[] = {
        {{0, 0}, 1.1f, 1.1f},        {{1, 1}, 1.1f, 1.21f},      {{2, 0}, 1.1f, 1.1f},
        {{2, 0}, 0.95f, 0.857375f},  {{3, 0}, 0.95f, 0.81450625f}, {{-2, 0}, 0.95f, 1 / 0.95f},
    };
    for (const Case& c : cases) {
        Update u(5, 4, unit_square);
        u.set.on = {1, 0, 0, 0};
        u.set.exponent = {c.pair[0], c.pair[1], 0, 0, 0, 0, 0, 0};
        for (int i = 1; i <= 5; ++i) u.space.row(i, 1) = c.d, u.bphi.row(i, 1) = u.bpsi.row(i, 1) = 0;
        u.run();
        for (int i = 1; i <= 5; ++i) {
            EXPECT_NEAR(u.bpsi.row(i, 1), 3 * (c.length - 1) / c.length, 2e-6f)
                << "pair " << c.pair[0] << "," << c.pair[1] << ", D " << c.d << ", point " << i;
            EXPECT_NEAR(u.bphi.row(i, 1), 0.0f, 1e-6f) << "point " << i;
        }
    }
}

TEST(Phipsi, RebuildWeighsTheBoundarySumTwice) {
    // only row 1 on, decay length 0.5 over jm = 5: eB = exp(-4.6 (j-1)/4), and
    // phi = eB^2 phi_row + (1 - eB) reference away from the corners
    Update u(5, 5, unit_square);
    u.set.on = {1, 0, 0, 0};
    u.set.decay = {0.5f, 0, 0, 0};
    u.omega = 0;   // keep the boundary values as set
    for (int i = 1; i <= 5; ++i) u.bphi.row(i, 1) = 2.0f;
    for (int j = 1; j <= 5; ++j) u.bphi.col(j, 1) = u.bphi.col(j, 2) = 7.0f;   // replaced by the reference
    u.run();
    for (int j = 1; j <= 5; ++j) {
        const float eb = std::exp(-4.6f * (j - 1) / 4);
        for (int i = 2; i <= 4; ++i)
            EXPECT_NEAR(u.phi(i, j), eb * eb * 2 + (1 - eb) * u.phi_ref(i, j), kControlTol) << i << "," << j;
    }
    // the corners of row 1: the mean of the row's value and the column's (the reference)
    EXPECT_NEAR(u.phi(1, 1), 0.5f * (2 + u.phi_ref(1, 1)), kControlTol);
    EXPECT_NEAR(u.phi(5, 1), 0.5f * (2 + u.phi_ref(5, 1)), kControlTol);
}

TEST(Phipsi, DecayConstantsPersistAndNegativeSwitchesKeepThem) {
    Update u(5, 5, unit_square);
    u.omega = 0;
    for (int i = 1; i <= 5; ++i) u.bphi.row(i, 1) = 2.0f;
    // a negative switch before any positive one: constant 0, weight 1 everywhere
    u.set.on = {-1, 0, 0, 0};
    u.set.decay = {0.5f, 0, 0, 0};
    u.run();
    EXPECT_EQ(u.state.decay_const[0], 0.0f);
    EXPECT_NEAR(u.phi(3, 5), 2.0f, kControlTol);
    // a positive switch sets it; a later negative one with another length keeps it
    u.set.on = {1, 0, 0, 0};
    u.run();
    const float c = u.state.decay_const[0];
    EXPECT_FLOAT_EQ(c, -4.6f);
    u.set.on = {-1, 0, 0, 0};
    u.set.decay = {100, 0, 0, 0};
    u.run();
    EXPECT_EQ(u.state.decay_const[0], c);
    const float eb = std::exp(-4.6f);
    EXPECT_NEAR(u.phi(3, 5), eb * eb * 2 + (1 - eb) * u.phi_ref(3, 5), kControlTol);
}

TEST(Phipsi, DegenerateBoundaryPointsKeepTheirValues) {
    // row 2 on top of row 1 at point 3: no off-wall vector, so g22 = 0 there
    Update u(5, 4, unit_square);
    u.b.y(3, 2) = u.b.y(3, 1);
    u.set.on = {1, 0, 0, 0};
    for (int i = 1; i <= 5; ++i) u.bphi.row(i, 1) = 0.3f, u.bpsi.row(i, 1) = 0.3f;
    u.run();
    EXPECT_EQ(u.bphi.row(3, 1), 0.3f);
    EXPECT_EQ(u.bpsi.row(3, 1), 0.3f);
    for (float v : u.phi.v) EXPECT_TRUE(std::isfinite(v));
    for (float v : u.psi.v) EXPECT_TRUE(std::isfinite(v));
}

TEST(Phipsi, BlocksBelowThreePoints) {
    // switched-on boundaries keep their values, switched-off ones take the
    // reference, the rebuild and the write-back run; nothing outside is read
    for (auto [im, jm] : {std::pair{2, 4}, {4, 2}, {1, 3}, {3, 1}, {1, 1}}) {
        Update u(im, jm, unit_square);
        u.set.on = {1, 0, -1, 0};
        u.set.decay = {0.5f, 0.5f, 0.5f, 0.5f};
        u.omega = -1;
        for (float& v : u.bphi.row.v) v = 0.3f;
        for (float& v : u.bphi.col.v) v = 0.3f;
        u.run();
        EXPECT_EQ(u.omega, 0.5f);
        for (int i = 1; i <= im; ++i) {
            EXPECT_EQ(u.bphi.row(i, 1), 0.3f) << im << " x " << jm;
            EXPECT_EQ(u.bphi.row(i, 2), u.phi_ref(i, jm)) << im << " x " << jm;
        }
        for (int j = 1; j <= jm; ++j) EXPECT_EQ(u.bphi.col(j, 1), 0.3f) << im << " x " << jm;
        for (float v : u.phi.v) EXPECT_TRUE(std::isfinite(v)) << im << " x " << jm;
    }
}

// --- fixed-point control functions ------------------------------------------------

Fields fixed_of(Block& b) {
    Fields f(b.im, b.jm);
    appgrid::fixed(b.x.g(), b.y.g(), b.z.g(), f.phi.g(), f.psi.g(), b.im, b.jm);
    return f;
}

TEST(Fixed, PlaneGrids) {
    Block even(5, 4, [](int i, int j) -> V3 { return {1.5f * i, 2.0f * j, 3}; });
    Fields f = fixed_of(even);
    for (float v : f.phi.v) EXPECT_EQ(v, 0.0f);
    for (float v : f.psi.v) EXPECT_EQ(v, 0.0f);
    // stretched in i (q = 1.5): psi = 0, phi = -(r_xi . r_xixi) / g11 with the
    // ends one-sided and their neighbours' second differences
    Block stretched = rows_at({0, 1, 2.5f, 4.75f, 8.125f}, 4);
    Fields g = fixed_of(stretched);
    const float interior = -2 * 0.5f / 2.5f;
    const float phi[] = {-0.5f, interior, interior, interior, -0.5f / 1.5f};
    for (int j = 1; j <= 4; ++j)
        for (int i = 1; i <= 5; ++i) {
            EXPECT_NEAR(g.phi(i, j), phi[i - 1], kControlTol) << i << "," << j;
            EXPECT_EQ(g.psi(i, j), 0.0f) << i << "," << j;
        }
}

TEST(Fixed, DegenerateOrSmallBlocksKeepTheCallersValues) {
    // row 1 gathered into one point: no r_xi there
    Block b(4, 3, [](int i, int j) -> V3 { return {j == 1 ? 0.0f : static_cast<float>(i), static_cast<float>(j), 0}; });
    Fields f = fixed_of(b);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(f.phi(i, 1), kUntouched) << i;
        EXPECT_EQ(f.psi(i, 1), kUntouched) << i;
    }
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(std::isfinite(f.phi(i, 2)) && std::isfinite(f.psi(i, 2))) << i;
    for (auto [im, jm] : {std::pair{2, 4}, {4, 2}, {0, 3}}) {
        Block small(im, jm, unit_square);
        Fields g = fixed_of(small);
        for (float v : g.phi.v) EXPECT_EQ(v, kUntouched) << im << " x " << jm;
    }
}

}  // namespace
