// Foil-strip drag: plates against the laminar line weighted by strip area,
// section thickness, heel and twist invariance, the wrapped wing, the cases
// visited, and the geometry that stops the run.
//
// Networks are built here in a local frame (chord xi, thickness eta, span
// zeta) and placed as a keel (span down -z, thickness in y) or as a wing
// (span along y, thickness in z), then handed to foil_drag as the reader
// would leave them.
#include "unit_fixtures.hpp"

#include "hydrosum/input/foils.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

namespace hydrosum {
namespace {

// The turns go through atan2, cos and sin and the strip sums round at every
// step: a few ulps to a few dozen of 1.2e-7 in the chords, areas and
// thickness ratios. A wrong chord, weight, pivot or form factor is off by
// 1e-3 or more.
constexpr double drag_tol = 5.0e-6;

constexpr float untouched = -777.0f;   // sentinel of slots that must stay
constexpr double density = 1025.0, viscosity = 1.19e-3, smallest_speed = 0.5;

double blasius(double re) { return 1.328 / std::sqrt(re); }
double k_th(double t) { return 1.0 + 1.2 * t + 70.0 * std::pow(t, 4); }

struct Station {
    double le, chord, span;   // leading edge xi, chord, span position zeta
    double half = 0.0;        // largest half thickness
    double twist = 0.0;       // degrees about the quarter chord
    double gap = 0.0;         // half the opening of a wrapped section's trailing edge
};

struct Member {
    Part part;
    int wetted, drag;
    bool wrapped;
};
constexpr Member keel_m{keel, 9, 55, false}, wing_m{wing, 13, 57, true}, rudder_m{rudder, 12, 58, false},
    frud_m{frud, 14, 59, false};

// Section point i of ni: one-sided from LE (i = 1) to TE; wrapped from the
// TE round the LE at (ni + 1) / 2 back to the TE. Parabolic thickness.
void section(int i, int ni, bool wrapped, double& s, double& sign) {
    sign = 1.0;
    if (ni == 1) {
        s = 0.0;
    } else if (!wrapped) {
        s = static_cast<double>(i - 1) / (ni - 1);
        return;
    }
    const int im = (ni + 1) / 2;
    if (i <= im) {
        s = static_cast<double>(im - i) / (im - 1);
    } else {
        s = static_cast<double>(i - im) / (ni - im);
        sign = -1.0;
    }
}

void build(PartNetwork& net, const std::vector<Station>& stations, int ni, bool wrapped, double heel_deg = 0.0) {
    net.ni = ni;
    net.nj = static_cast<int>(stations.size());
    const double heel = heel_deg * std::numbers::pi / 180.0;
    for (int j = 1; j <= net.nj; ++j) {
        const Station& sj = stations[static_cast<std::size_t>(j - 1)];
        const double tw = sj.twist * std::numbers::pi / 180.0, xq = sj.le + 0.25 * sj.chord;
        for (int i = 1; i <= ni; ++i) {
            double s = 0.0, sign = 1.0;
            section(i, ni, wrapped, s, sign);
            const double xi0 = sj.le + sj.chord * s, eta0 = sign * (sj.half * 4.0 * s * (1.0 - s) + sj.gap * s);
            const double xi = xq + (xi0 - xq) * std::cos(tw) - eta0 * std::sin(tw);
            const double eta = (xi0 - xq) * std::sin(tw) + eta0 * std::cos(tw);
            const double y0 = wrapped ? sj.span : eta, z0 = wrapped ? eta : -sj.span;
            net.px(i, j) = static_cast<float>(xi);
            net.py(i, j) = static_cast<float>(y0 * std::cos(heel) - z0 * std::sin(heel));
            net.pz(i, j) = static_cast<float>(y0 * std::sin(heel) + z0 * std::cos(heel));
        }
    }
}

// Laminar drag coefficient of a flat plate of trapezoidal strips at speed v.
double plate_coefficient(const std::vector<Station>& stations, double v) {
    double sum = 0.0, total = 0.0;
    for (std::size_t m = 0; m + 1 < stations.size(); ++m) {
        const double c = 0.5 * (stations[m].chord + stations[m + 1].chord);
        const double s = c * std::abs(stations[m + 1].span - stations[m].span);
        if (s == 0.0) continue;
        sum += blasius(v * density * c / viscosity) * s;
        total += s;
    }
    return sum / total;
}

struct Visit {
    hydrosum::Run run;
    int i;
};

class Foils : public hydrosum_test::StdioTest {
protected:
    void SetUp() override {
        StdioTest::SetUp();
        fresh();
    }

    // A fresh frame of cases and standard output, for each row of a table.
    void fresh() {
        fresh_output();
        // allocated once (about 55 MB); every field the tests touch is set afresh
        if (!st) st = std::make_unique<Store>();
        if (!net) net = std::make_unique<PartNetwork>();
        st->vint = {};
        st->ci(1) = 2;   // runs
        st->ci(2) = 1;   // heels
        st->c(3) = static_cast<float>(viscosity);
        st->c(4) = static_cast<float>(density);
        st->c(18) = static_cast<float>(smallest_speed);
        // r of run 1: a moving case, one at rest, one barely moving; k and ku one case each
        add(st->r.run(1, 1), {2.0f, 0.0f, 2.0e-6f});
        add(st->k.run(1, 1), {3.0f});
        add(st->ku.run(), {1.0f});
        // a run with a count but no presence is not visited
        add(st->r.run(2, 1), {2.5f});
        st->r.present(2, 1) = false;
    }

    void add(const hydrosum::Run& run, const std::vector<float>& speeds) {
        run.present() = true;
        run.n() = static_cast<int>(speeds.size());
        for (int i = 1; i <= run.n(); ++i) {
            run.s(i, 1) = speeds[static_cast<std::size_t>(i - 1)];
            for (int slot : {9, 12, 13, 14})
                run.s(i, slot) = 3.0f + static_cast<float>(i) + static_cast<float>(slot) / 4.0f;
            for (int slot = 55; slot <= 59; ++slot) run.s(i, slot) = untouched;
        }
    }
    std::vector<Visit> visited() {
        const hydrosum::Run r = st->r.run(1, 1);
        return {{r, 1}, {r, 2}, {r, 3}, {st->k.run(1, 1), 1}, {st->ku.run(), 1}};
    }
    static double speed(const Visit& c) {
        const float v = c.run.s(c.i, 1);
        return v > 1.0e-6f ? v : smallest_speed;
    }
    double drag(const Visit& c, const Member& m) { return c.run.s(c.i, m.drag); }

    double run_drag(const Member& m, int option) {
        st->vint[static_cast<std::size_t>(m.part)] = option;
        foil_drag(*st, m.part, *net);
        return drag(visited()[0], m);
    }

    std::unique_ptr<Store> st;
    std::unique_ptr<PartNetwork> net;
};

TEST_F(Foils, FlatPlateGivesTheLaminarLineWeightedByStripArea) {
    const std::vector<Station> rectangle = {{0, 1.2, 0}, {0, 1.2, 0.7}, {0, 1.2, 1.1}, {0, 1.2, 2.0}};
    const std::vector<Station> tapered = {
        {0, 2.0, 0}, {0.3, 1.5, 0.5}, {0.7, 1.1, 1.2}, {1.0, 0.6, 1.6}, {1.1, 0.4, 1.9}};
    // a pointed tip given twice: its strip has no area and no chord
    const std::vector<Station> pointed = {{0, 1.0, 0}, {0.5, 0.0, 1.0}, {0.5, 0.0, 1.0}};
    struct Row {
        const char* what;
        Member m;
        int ni;
        std::vector<Station> stations;
    };
    const std::vector<Row> rows = {
        {"keel, fewest points", keel_m, 2, {{0, 1.2, 0}, {0, 1.2, 2.0}}},
        {"keel rectangle", keel_m, 7, rectangle},
        {"keel tapered and swept", keel_m, 5, tapered},
        {"keel with a pointed tip", keel_m, 4, pointed},
        {"rudder tapered", rudder_m, 3, tapered},
        {"frud rectangle", frud_m, 9, rectangle},
        {"wing rectangle", wing_m, 5, rectangle},
        {"wing tapered", wing_m, 7, tapered},
    };
    for (const Row& row : rows) {
        fresh();
        build(*net, row.stations, row.ni, row.m.wrapped);
        st->vint[static_cast<std::size_t>(row.m.part)] = 1;
        foil_drag(*st, row.m.part, *net);
        for (const Visit& c : visited()) {
            const double want = plate_coefficient(row.stations, speed(c)) * c.run.s(c.i, row.m.wetted);
            EXPECT_NEAR(drag(c, row.m), want, drag_tol * want) << row.what << ", speed " << c.run.s(c.i, 1);
        }
        EXPECT_EQ(st->r.s(1, 2, 1, row.m.drag), untouched) << row.what;
    }
}

TEST_F(Foils, ThicknessRatioFromTheSectionSetsTheFormFactor) {
    struct Row {
        const char* what;
        Member m;
        int ni;
        double half, gap, t;
    };
    // chord 1; centroids of the panels next to the largest thickness
    const std::vector<Row> rows = {
        {"one-sided, three points", keel_m, 3, 0.05, 0, 0.05},            // centroid at h/2: t = 2 (h/2) / c
        {"one-sided, five points", rudder_m, 5, 0.04, 0, 1.75 * 0.04},     // centroid at 7h/8
        {"wrapped, odd points", wing_m, 5, 0.05, 0, 0.05},                 // sides h/2 above and below
        // the trailing edge midway between the two ends: chord along x, the
        // panels next to the ends (h + 1.5 g) apart
        {"wrapped, open trailing edge", wing_m, 5, 0.05, 0.01, 0.05 + 1.5 * 0.01},
        // even count: pairs (3, 2) and (4, 1) of panels 1..5; (4, 1) are the farther
        // apart, c/4 in x and h/2 + 8h/9 in z; panel 5 has no partner
        {"wrapped, even points", wing_m, 6, 0.04, 0, std::sqrt(1.0 / 16.0 + std::pow(25.0 / 18.0 * 0.04, 2))},
    };
    for (const Row& row : rows) {
        fresh();
        const double h = row.half, g = row.gap;
        build(*net, {{0, 1, 0, h, 0, g}, {0, 1, 0.8, h, 0, g}, {0, 1, 1.5, h, 0, g}}, row.ni, row.m.wrapped);
        run_drag(row.m, 1);
        for (const Visit& c : visited()) {
            const double want = blasius(speed(c) * density / viscosity) * k_th(row.t) * c.run.s(c.i, row.m.wetted);
            EXPECT_NEAR(drag(c, row.m), want, drag_tol * want) << row.what;
        }
    }
}

TEST_F(Foils, ThickTaperedFoilWeightsStripsByTheirTiltedPanelAreas) {
    // Stations level and chords along x: the turns only move the keel rigidly,
    // so panel areas (half the diagonals' cross product) and centroid
    // offsets can be taken from the points as built.
    const std::vector<Station> stations = {
        {0, 2.0, 0, 0.2}, {0.6, 1.4, 0.5, 0.15}, {1.1, 0.9, 1.0, 0.1}, {1.5, 0.5, 1.4, 0.06}};
    constexpr int ni = 6;
    build(*net, stations, ni, false);
    auto p = [&](int i, int j) {
        return std::array<double, 3>{net->px(i, j), net->py(i, j), net->pz(i, j)};
    };
    std::vector<double> chord, area, thick;
    for (int m = 1; m + 1 <= net->nj; ++m) {
        const auto ms = static_cast<std::size_t>(m);
        const double c = 0.5 * (stations[ms - 1].chord + stations[ms].chord);
        double s = 0.0, t = 0.0;
        for (int i = 1; i < ni; ++i) {
            const auto p1 = p(i, m), p2 = p(i + 1, m), p3 = p(i + 1, m + 1), p4 = p(i, m + 1);
            std::array<double, 3> d1{}, d2{};
            for (std::size_t q = 0; q < 3; ++q) d1[q] = p3[q] - p1[q], d2[q] = p4[q] - p2[q];
            s += 0.5 * std::hypot(d1[1] * d2[2] - d1[2] * d2[1], d1[2] * d2[0] - d1[0] * d2[2],
                                  d1[0] * d2[1] - d1[1] * d2[0]);
            t = std::max(t, 2.0 * std::abs(0.25 * (p1[1] + p2[1] + p3[1] + p4[1])) / c);   // thickness in y
        }
        chord.push_back(c), area.push_back(s), thick.push_back(t);
    }
    run_drag(keel_m, 1);
    for (const Visit& c : visited()) {
        double sum = 0.0, total = 0.0;
        for (std::size_t m = 0; m < chord.size(); ++m) {
            sum += blasius(speed(c) * density * chord[m] / viscosity) * k_th(thick[m]) * area[m];
            total += area[m];
        }
        const double want = sum / total * c.run.s(c.i, keel_m.wetted);
        EXPECT_NEAR(drag(c, keel_m), want, drag_tol * want) << "speed " << c.run.s(c.i, 1);
    }
}

TEST_F(Foils, HeelAndTwistAboutTheQuarterChordLeaveTheDragUnchanged) {
    // Tapered, swept and thick. Twist only inside: the first and last
    // stations also give the part's plane.
    auto foil = [](bool twisted) {
        std::vector<Station> s = {{0, 2.0, 0, 0.12},
                                  {0.2, 1.7, 0.4, 0.1},
                                  {0.5, 1.3, 0.9, 0.08},
                                  {0.8, 1.0, 1.3, 0.06},
                                  {1.0, 0.7, 1.7, 0.04}};
        if (twisted) s[1].twist = 6.0, s[2].twist = -9.0, s[3].twist = 14.0;
        return s;
    };
    for (const Member& m : {keel_m, wing_m}) {
        const int ni = m.wrapped ? 11 : 6;
        build(*net, foil(false), ni, m.wrapped);
        std::vector<double> base;
        run_drag(m, 6);
        for (const Visit& c : visited()) base.push_back(drag(c, m));
        ASSERT_GT(base[0], 0.0);
        struct Variant {
            const char* what;
            double heel;
            bool twisted;
        };
        for (const Variant& v : {Variant{"heel 25", 25.0, false}, Variant{"heel -40", -40.0, false},
                                 Variant{"heel 120", 120.0, false}, Variant{"twisted", 0.0, true},
                                 Variant{"twisted and heeled 30", 30.0, true}}) {
            build(*net, foil(v.twisted), ni, m.wrapped, v.heel);
            run_drag(m, 6);
            const std::vector<Visit> cases = visited();
            for (std::size_t q = 0; q < cases.size(); ++q)
                EXPECT_NEAR(drag(cases[q], m), base[q], drag_tol * base[q])
                    << (m.wrapped ? "wing, " : "keel, ") << v.what;
        }
    }
}

TEST_F(Foils, EachPartFillsItsOwnSlotAndOtherOptionsGiveNoDrag) {
    const std::vector<Station> plate = {{0, 1.0, 0}, {0, 1.0, 1.0}};
    for (const Member& m : {keel_m, wing_m, rudder_m, frud_m}) {
        fresh();
        build(*net, plate, 3, m.wrapped);
        run_drag(m, 1);
        for (const Visit& c : visited())
            for (const Member& other : {keel_m, wing_m, rudder_m, frud_m}) {
                if (other.part != m.part) {
                    EXPECT_EQ(drag(c, other), untouched);
                    continue;
                }
                const double want = blasius(speed(c) * density / viscosity) * c.run.s(c.i, m.wetted);
                EXPECT_NEAR(drag(c, m), want, drag_tol * want);
            }
    }
    // no friction line: 0, also after another part's coefficients
    build(*net, plate, 3, false);
    ASSERT_GT(run_drag(keel_m, 1), 0.0);
    for (int option : {8, -1}) {
        build(*net, plate, 3, false);
        run_drag(rudder_m, option);
        for (const Visit& c : visited()) EXPECT_EQ(drag(c, rudder_m), 0.0) << option;
    }
}

TEST_F(Foils, NoReynoldsNumberOrOneStationGivesNoDrag) {
    struct Row {
        const char* what;
        Member m;
        int nj;
        float density, viscosity;
    };
    const std::vector<Row> rows = {
        {"one station", keel_m, 1, static_cast<float>(density), static_cast<float>(viscosity)},
        {"one station, wing", wing_m, 1, static_cast<float>(density), static_cast<float>(viscosity)},
        {"density 0", keel_m, 3, 0.0f, static_cast<float>(viscosity)},
        {"viscosity 0", wing_m, 3, static_cast<float>(density), 0.0f},
    };
    for (const Row& row : rows) {
        fresh();
        std::vector<Station> s = {{0, 1.0, 0}, {0, 1.0, 1.0}, {0, 1.0, 2.0}};
        s.resize(static_cast<std::size_t>(row.nj));
        build(*net, s, 5, row.m.wrapped);
        st->c(3) = row.viscosity;
        st->c(4) = row.density;
        run_drag(row.m, 1);
        for (const Visit& c : visited()) EXPECT_EQ(drag(c, row.m), 0.0) << row.what;
    }
}

TEST_F(Foils, DegenerateGeometryStops) {
    struct Row {
        const char* what;
        Member m;
        int ni;
        std::vector<Station> stations;
        const char* word;
    };
    const std::vector<Row> rows = {
        // first and last stations the same: no plane
        {"stations on top of each other", keel_m, 4, {{0, 1, 0}, {0, 1, 0}}, "keel"},
        {"closed ring of stations", wing_m, 5, {{0, 1, 0, 0.1}, {0, 1, 1, 0.1}, {0, 1, 0, 0.1}}, "wing"},
        // a plane, but every panel area is below what single precision holds
        {"strip areas vanish", rudder_m, 3, {{0, 1e-11, 0}, {0, 1e-11, 1e-11}}, "rudr"},
        {"one point per station", frud_m, 1, {{0, 1, 0}, {0.2, 1, 1}}, "frud"},
    };
    for (const Row& row : rows) {
        fresh();
        build(*net, row.stations, row.ni, row.m.wrapped);
        st->vint[static_cast<std::size_t>(row.m.part)] = 1;
        EXPECT_EQ(hydrosum_test::stop_code([&] { foil_drag(*st, row.m.part, *net); }), 1) << row.what;
        EXPECT_EQ(output(), std::string("error ... ") + row.word + " network geometry degenerate\n") << row.what;
        for (const Visit& c : visited()) EXPECT_EQ(drag(c, row.m), untouched) << row.what;
    }
}

TEST_F(Foils, OptionZeroLeavesThePartAlone) {
    vkeel(*st);
    vwing(*st);
    vrudr(*st);
    vfrud(*st);
    for (const Visit& c : visited())
        for (int slot = 55; slot <= 59; ++slot) EXPECT_EQ(c.run.s(c.i, slot), untouched) << slot;
    EXPECT_EQ(output(), "");
}

}  // namespace
}  // namespace hydrosum
