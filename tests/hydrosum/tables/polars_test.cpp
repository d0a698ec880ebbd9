// Induced-drag polars: the fit, the gathering over the converted store and
// the polar tables rtr.tab and ktr.tab.
#include "scratch.hpp"

#include "hydrosum/tables/polars.hpp"

#include <string>
#include <vector>

namespace hydrosum_test {
namespace {

using hydrosum::PolarPass;
using hydrosum::PolarRow;

// 1/sqrt(6.28318 k) at k = 0.5 and 0.75, worked out in single precision
// outside the code; 2 pi to full precision would give 0x1.20dd74p-1f at 0.5.
constexpr float tr_half = 0x1.20dd7cp-1f;
constexpr float tr_three_quarters = 0x1.d7b702p-2f;

TEST(Qpolar, FitsDragAgainstSquaredSideForce) {
    struct Case {
        std::string what;
        std::vector<float> x, y;
        float a0, k, tr;
    };
    // values exact in binary: the sums and quotients are exact
    const std::vector<Case> cases = {
        {"no point", {}, {}, 0.0f, 0.0f, 0.0f},
        {"one point is no polar", {2.0f}, {3.0f}, 0.0f, 0.0f, 0.0f},
        {"two points suffice", {0.0f, 2.0f}, {1.0f, 3.0f}, 1.0f, 0.5f, tr_half},
        {"the sign of the side force does not count", {0.0f, -1.0f, 2.0f}, {1.0f, 1.5f, 3.0f}, 1.0f, 0.5f, tr_half},
        {"singular: zero side force throughout", {0.0f, 0.0f, 0.0f}, {1.0f, 2.0f, 3.0f}, 0.0f, 0.0f, 0.0f},
        {"singular: one side-force magnitude", {1.0f, -1.0f, 1.0f}, {3.0f, 5.0f, 4.0f}, 0.0f, 0.0f, 0.0f},
        {"drag falling with side force: k < 0, no tr", {0.0f, 1.0f, 2.0f}, {3.0f, 2.5f, 1.0f}, 3.0f, -0.5f, 0.0f},
        {"flat polar: k = 0, no tr", {0.0f, 1.0f, 2.0f}, {2.0f, 2.0f, 2.0f}, 2.0f, 0.0f, 0.0f},
        {"least squares over more points", {0.0f, 2.0f, 2.0f}, {1.0f, 3.0f, 5.0f}, 1.0f, 0.75f, tr_three_quarters},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const hydrosum::PolarFit fit = hydrosum::qpolar(c.x, c.y);
        EXPECT_EQ(fit.a0, c.a0);
        EXPECT_EQ(fit.k, c.k);
        EXPECT_EQ(fit.al0, 0.0f);
        EXPECT_EQ(fit.tr, c.tr);
    }
}

// One case of a run: speed (output units), side force, total drag.
struct Point {
    float speed, side, drag;
};

void put_run(const hydrosum::Run& run, const std::vector<Point>& points, float heel = 0.0f) {
    run.present() = true;
    run.n() = static_cast<int>(points.size());
    int i = 0;
    for (const Point& p : points) {
        ++i;
        run.s(i, 1) = p.speed;
        run.s(i, 2) = heel;
        run.s(i, 45) = p.drag;
        run.s(i, 47) = p.side;
    }
}

void expect_rows(const std::vector<PolarRow>& got, const std::vector<PolarRow>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t r = 0; r < got.size(); ++r) {
        SCOPED_TRACE("row " + std::to_string(r + 1));
        EXPECT_EQ(got[r].speed, want[r].speed);
        EXPECT_EQ(got[r].heel, want[r].heel);
        EXPECT_EQ(got[r].a0, want[r].a0);
        EXPECT_EQ(got[r].k, want[r].k);
        EXPECT_EQ(got[r].al0, 0.0f);
        EXPECT_EQ(got[r].tr, want[r].tr);
    }
}

using Polars = StoreTest;

TEST_F(Polars, GatheringBySpeedRunsAndPass) {
    struct Scenario {
        std::string what;
        std::vector<std::vector<Point>> runs;   // runs 1, 2, ... of heel 1
        float sref;
        std::vector<PolarRow> t0, tr;
    };
    // The points (0, 1) and (2, 3) alone fit a0 = 1, k = 0.5; a stray point
    // (1, 7) would change the fit; (0, 1), (2, 3), (2, 5) fit k = 0.75.
    const std::vector<Scenario> scenarios = {
        {"within 0.01, strictly",
         {{{0.0f, 0.0f, 1.0f}, {8.0f, 0.0f, 1.0f}},
          {{0.0099f, 2.0f, 3.0f}, {8.005f, 2.0f, 3.0f}},
          {{0.01f, 1.0f, 7.0f}, {8.02f, 1.0f, 7.0f}}},
         1.0f,
         {{0.0f, 0.0f, 1.0f, 0.5f, 0.0f, tr_half}, {8.0f, 0.0f, 1.0f, 0.5f, 0.0f, tr_half}},
         {}},
        {"three runs meet both passes",
         {{{6.0f, 0.0f, 1.0f}}, {{6.0f, 2.0f, 3.0f}}, {{6.0f, 1.0f, 1.5f}}},
         1.0f,
         {{6.0f, 0.0f, 1.0f, 0.5f, 0.0f, tr_half}},
         {{6.0f, 0.0f, 1.0f, 0.5f, 0.0f, tr_half}}},
        {"a repeated speed of run 1 gives one row, both cases are points",
         {{{5.0f, 0.0f, 1.0f}, {5.004f, 2.0f, 3.0f}}, {{5.0f, 2.0f, 5.0f}}},
         1.0f,
         {{5.0f, 0.0f, 1.0f, 0.75f, 0.0f, tr_three_quarters}},
         {}},
        {"a run with two points at the speed counts once",
         {{{7.0f, 0.0f, 1.0f}}, {{7.0f, 2.0f, 3.0f}, {7.0f, 2.0f, 5.0f}}},
         1.0f,
         {{7.0f, 0.0f, 1.0f, 0.75f, 0.0f, tr_three_quarters}},
         {}},
        {"runs without cases in between are passed over",
         {{{6.0f, 0.0f, 1.0f}}, {}, {{6.0f, 2.0f, 3.0f}}, {}, {{6.0f, 1.0f, 1.5f}}},
         1.0f,
         {{6.0f, 0.0f, 1.0f, 0.5f, 0.0f, tr_half}},
         {{6.0f, 0.0f, 1.0f, 0.5f, 0.0f, tr_half}}},
        {"reference area 4: tr times 2",
         {{{6.0f, 0.0f, 1.0f}}, {{6.0f, 2.0f, 3.0f}}, {{6.0f, 1.0f, 1.5f}}},
         4.0f,
         {{6.0f, 0.0f, 1.0f, 0.5f, 0.0f, 2.0f * tr_half}},
         {{6.0f, 0.0f, 1.0f, 0.5f, 0.0f, 2.0f * tr_half}}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.what);
        reset_store();
        st.c(23) = s.sref;
        for (std::size_t j = 0; j < s.runs.size(); ++j) put_run(st.r.run(static_cast<int>(j) + 1, 1), s.runs[j]);
        expect_rows(hydrosum::gather_polars(st, st.r, 1, PolarPass::t0), s.t0);
        expect_rows(hydrosum::gather_polars(st, st.r, 1, PolarPass::tr), s.tr);
    }
}

TEST_F(Polars, LargestGatherFitsEveryCaseOfEveryRun) {
    // 100 runs of 51 cases at one speed: 5100 points, far past 102
    st.c(23) = 1.0f;
    for (int j = 1; j <= hydrosum::nruns; ++j) {
        std::vector<Point> points(hydrosum::ncases, Point{3.0f, 0.0f, 1.0f});
        points[0].side = (j % 2 == 0) ? 2.0f : 0.0f;
        points[0].drag = (j % 2 == 0) ? 3.0f : 1.0f;
        put_run(st.r.run(j, 1), points);
    }
    // every point but the side-force ones lies at (0, 1): still a0 = 1, k = 0.5
    const std::vector<PolarRow> rows = hydrosum::gather_polars(st, st.r, 1, PolarPass::tr);
    expect_rows(rows, {{3.0f, 0.0f, 1.0f, 0.5f, 0.0f, tr_half}});
}

TEST_F(Polars, BlocksInHeelOrderWithTheT0PassAtHeelOneOnly) {
    const std::vector<std::vector<Point>> three_runs = {
        {{6.0f, 0.0f, 1.0f}}, {{6.0f, 2.0f, 3.0f}}, {{6.0f, 1.0f, 1.5f}}};
    const auto put_heel = [&](int h, const std::vector<std::vector<Point>>& runs, float heel) {
        for (std::size_t j = 0; j < runs.size(); ++j)
            put_run(st.r.run(static_cast<int>(j) + 1, h), runs[j], heel);
    };
    put_heel(1, three_runs, 0.0f);
    // no reference cases: the other runs' speeds are never asked for
    put_heel(2, {{}, {{6.0f, 0.0f, 1.0f}}, {{6.0f, 2.0f, 3.0f}}, {{6.0f, 1.0f, 1.5f}}}, 5.0f);
    put_heel(3, three_runs, 10.0f);
    st.r.s(1, 2, 3, 2) = 99.0f;   // the heel of a row is the reference run's
    put_heel(5, {three_runs[0], three_runs[1]}, 20.0f);   // two runs: enough for t0 only
    st.c(23) = 1.0f;

    const std::vector<hydrosum::PolarBlock> blocks = hydrosum::class_polars(st, st.r);
    ASSERT_EQ(blocks.size(), 3u);
    const std::vector<std::pair<int, PolarPass>> want = {{1, PolarPass::t0}, {1, PolarPass::tr}, {3, PolarPass::tr}};
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        EXPECT_EQ(blocks[b].heel, want[b].first) << "block " << b;
        EXPECT_EQ(blocks[b].pass, want[b].second) << "block " << b;
    }
    expect_rows(blocks[2].rows, {{6.0f, 10.0f, 1.0f, 0.5f, 0.0f, tr_half}});
}

using PolarTables = ScratchStoreTest;

TEST_F(PolarTables, LayoutAndRowFormatByReferenceArea) {
    struct Variant {
        float sref;
        std::string heel_1_row, heel_3_row;
    };
    const std::string indent(8, ' ');
    // HEEL before VEL, both f5.1
    const std::vector<Variant> variants = {
        {1.0f, indent + "  0.0  8.0   1.00000 0.5000000    0.0000    0.5642",
         indent + " 10.0  6.5   1.00000 0.5000000    0.0000    0.5642"},
        {4.0f, indent + "  0.0  8.0  1.000000  0.500000   0.00000    1.1284",
         indent + " 10.0  6.5  1.000000  0.500000   0.00000    1.1284"},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE("reference area " + std::to_string(v.sref));
        reset_store();
        clear_dir();
        st.c(23) = v.sref;
        st.r_any = true;
        st.k_any = true;   // present, but no heel gives a k polar
        put_run(st.k.run(1, 1), {{8.0f, 0.0f, 1.0f}});
        const std::vector<std::vector<Point>> at_8 = {{{8.0f, 0.0f, 1.0f}}, {{8.0f, 2.0f, 3.0f}}, {{8.0f, 1.0f, 1.5f}}};
        for (int j = 1; j <= 3; ++j) {
            std::vector<Point> p = at_8[static_cast<std::size_t>(j - 1)];
            put_run(st.r.run(j, 1), p, 0.0f);
            for (Point& q : p) q.speed = 6.5f;
            put_run(st.r.run(j, 3), p, 10.0f);
        }
        hydrosum::build_stamps(st, {5, 3, 7});
        hydrosum::polar_tables(st);

        const auto preamble = [&](int from) {
            return std::vector<std::string>{"", "", "", "", stamp(from), "",
                                            "AD=ADO+K*(AL-ALO)**2 ; TR=1/SQRT(2*PI*K/SREF)", "",
                                            indent + " HEEL  VEL       AD0         K       AL0        TR",
                                            indent + "  deg  kts       l^2     1/l^2       l^2         l"};
        };
        std::vector<std::string> r_want = preamble(hydrosum::stamp::r);
        // heel 1: its t0 block, then its tr block; heel 3: tr only
        for (const std::string& line : {std::string(), v.heel_1_row, std::string(), v.heel_1_row, std::string(),
                                        v.heel_3_row})
            r_want.push_back(line);
        EXPECT_EQ(file_lines("rtr.tab"), r_want);
        EXPECT_EQ(file_lines("ktr.tab"), preamble(hydrosum::stamp::k));
    }
}

TEST_F(PolarTables, AbsentClassWritesNoTable) {
    st.r_any = true;
    hydrosum::build_stamps(st, {5, 3, 7});
    hydrosum::polar_tables(st);
    EXPECT_TRUE(file_lines("rtr.tab").has_value());
    EXPECT_FALSE(file_lines("ktr.tab").has_value());
}

}  // namespace
}  // namespace hydrosum_test
