// At-rest hydrostatics removed and hydrostatic forces added, in place in
// the store, with their progress lines.
#include "unit_fixtures.hpp"

#include "hydrosum/input/steps.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace hydrosum {
namespace {

// A hydrostatic group that tells its case apart: member m of case i.
std::array<float, 6> group_of(int i) {
    std::array<float, 6> g;
    for (int m = 0; m < 6; ++m) g[static_cast<std::size_t>(m)] = static_cast<float>(16 * i + 2 * m + 1);
    return g;
}

class Hydrostatics : public hydrosum_test::StdioTest {
protected:
    void SetUp() override {
        StdioTest::SetUp();
        st = hydrosum_test::framed_store();
    }
    // A present run whose case i has the given speed and group_of(i).
    static void fill(const hydrosum::Run& run, std::vector<float> speeds) {
        run.present() = true;
        run.n() = static_cast<std::int32_t>(speeds.size());
        for (int i = 1; i <= run.n(); ++i) {
            run.s(i, 1) = speeds[static_cast<std::size_t>(i - 1)];
            for (int m = 0; m < 6; ++m) run.s(i, 27 + m) = group_of(i)[static_cast<std::size_t>(m)];
        }
    }
    static std::array<float, 6> group(const hydrosum::Run& run, int i, int first = 27) {
        std::array<float, 6> g;
        for (int m = 0; m < 6; ++m) g[static_cast<std::size_t>(m)] = run.s(i, first + m);
        return g;
    }
    std::unique_ptr<Store> st;
};

std::array<float, 6> minus(const std::array<float, 6>& a, const std::array<float, 6>& b) {
    std::array<float, 6> d;
    for (std::size_t m = 0; m < 6; ++m) d[m] = a[m] - b[m];
    return d;
}

TEST_F(Hydrostatics, AtRestValuesComeFromTheRunsOwnZeroSpeedCase) {
    const auto run = st->r.run(1, 1);
    fill(run, {0.0f, 6.0f, 7.0f});
    atrest(*st);
    EXPECT_EQ(output(), "   at-rest hydrostatics for r00a00\n");
    EXPECT_EQ(group(run, 1), (std::array<float, 6>{}));
    EXPECT_EQ(group(run, 2), minus(group_of(2), group_of(1)));
    EXPECT_EQ(group(run, 3), minus(group_of(3), group_of(1)));
}

// Where the zero-speed case stands decides the interval; the first and last
// speeds decide the rule. Speeds and groups are exact in binary, so every
// case here is exact.
TEST_F(Hydrostatics, AtRestValuesAreInterpolatedOverAllCases) {
    struct Row {
        std::vector<float> speeds;
        std::array<float, 6> rest;
    };
    const auto mean13 = [] {
        std::array<float, 6> g;
        for (std::size_t m = 0; m < 6; ++m) g[m] = (group_of(1)[m] + group_of(2)[m] + group_of(3)[m]) / 3.0f;
        return g;
    }();
    const std::vector<Row> rows = {
        {{6.0f, 0.0f, 7.0f}, group_of(2)},   // weight all on the second case
        {{7.0f, 6.0f, 0.0f}, group_of(3)},   // falling speeds: the third
        {{0.0f, 6.0f, 0.0f}, mean13},        // equal end speeds: the means
        {{0.0f, 0.0f}, mean13},              // (the first two of three means below)
    };
    for (std::size_t r = 0; r < rows.size(); ++r) {
        SCOPED_TRACE(r);
        st = hydrosum_test::framed_store();
        const auto run = st->k.run(1, 2);
        fill(run, rows[r].speeds);
        std::array<float, 6> rest = rows[r].rest;
        if (rows[r].speeds.size() == 2)
            for (std::size_t m = 0; m < 6; ++m) rest[m] = (group_of(1)[m] + group_of(2)[m]) / 2.0f;
        atrest(*st);
        for (int i = 1; i <= run.n(); ++i) EXPECT_EQ(group(run, i), minus(group_of(i), rest)) << "case " << i;
    }
}

TEST_F(Hydrostatics, NegativeSpeedIsAtRestButOneMillionthIsNot) {
    const auto run = st->w.run(1, 1);
    fill(run, {-0.5f, 6.0f, 7.0f});
    const auto slow = st->w.run(2, 1);
    fill(slow, {1.0e-6f, 6.0f});
    st->w.present(1, 1) = true;
    // r02's reference a00 has a zero-speed case, so the slow run takes a00's values
    atrest(*st);
    const float t = 0.5f / 6.5f;
    std::array<float, 6> rest;
    for (std::size_t m = 0; m < 6; ++m) rest[m] = (group_of(2)[m] - group_of(1)[m]) * t + group_of(1)[m];
    EXPECT_EQ(group(run, 1), minus(group_of(1), rest));
    EXPECT_EQ(group(slow, 2), minus(group_of(2), rest));
    EXPECT_EQ(output(), "   at-rest hydrostatics for w00r01\n   at-rest hydrostatics for w00a00\n");
}

TEST_F(Hydrostatics, ReferenceRunIsReadBeforeItIsChanged) {
    const auto ref = st->r.run(1, 1);
    const auto other = st->r.run(2, 1);
    fill(ref, {0.0f, 4.0f});
    fill(other, {4.0f, 8.0f});
    atrest(*st);
    EXPECT_EQ(group(other, 1), minus(group_of(1), group_of(1)));   // a00's stored first case
    EXPECT_EQ(group(other, 2), minus(group_of(2), group_of(1)));
    EXPECT_EQ(group(ref, 1), (std::array<float, 6>{}));
}

TEST_F(Hydrostatics, WithoutAZeroSpeedCaseNothingIsRemoved) {
    fill(st->r.run(1, 1), {2.0f, 4.0f});
    fill(st->r.run(2, 1), {3.0f});
    st->r.present(3, 1) = true;   // present, no cases
    fill(st->ku.run(), {5.0f});
    fill(st->k.run(1, 1), {0.0f, 1.0f});   // ku never falls back on another class
    atrest(*st);
    EXPECT_EQ(output(),
              "   no at-rest hydrostatics for r00r02\n"
              "   no at-rest hydrostatics for r00r01\n"
              "   no at-rest hydrostatics for r00a00\n"
              "   at-rest hydrostatics for k00a00\n"
              "   no at-rest hydrostatics for ku\n");
    EXPECT_EQ(group(st->r.run(2, 1), 1), group_of(1));
    EXPECT_EQ(group(st->ku.run(), 1), group_of(1));
}

TEST_F(Hydrostatics, LinesComeHeelsAndRunsDescendingClassesRWKN) {
    for (int h : {1, 3})
        for (int j : {1, 2}) {
            fill(st->r.run(j, h), {0.0f});
            fill(st->w.run(j, h), {0.0f});
            fill(st->k.run(j, h), {0.0f});
            fill(st->n.run(j, h), {0.0f});
        }
    fill(st->ku.run(), {0.0f});
    fill(st->nu.run(), {0.0f});
    addstatic(*st);
    std::string expected;
    for (const char* h : {"10", "00"})
        for (const char* j : {"r01", "a00"})
            for (const char* c : {" r", " w", " k", " n"})
                expected += std::string("   adding hydrostatics for") + c + h + j + "\n";
    expected += "   adding hydrostatics for ku\n   adding hydrostatics for nu\n";
    EXPECT_EQ(output(), expected);
}

TEST_F(Hydrostatics, MovingCasesGetTheirHydrostaticsAsForceAreas) {
    st->c(4) = 2.0f;   // q = V * V
    const auto r = st->r.run(4, 2);
    const auto n = st->n.run(4, 2);
    fill(r, {0.0f, 4.0f, 1.0e-6f, -2.0f});
    fill(n, {8.0f});
    for (int m = 0; m < 6; ++m) {
        r.s(2, 39 + m) = 1.0f;
        n.s(1, 33 + m) = 1.0f;
    }
    addstatic(*st);
    EXPECT_EQ(output(), "   adding hydrostatics for r05r03\n   adding hydrostatics for n05r03\n");
    for (int i : {1, 3, 4}) EXPECT_EQ(group(r, i), group_of(i)) << "case " << i;
    std::array<float, 6> area, inviscid, wakes_off;
    for (std::size_t m = 0; m < 6; ++m) {
        area[m] = group_of(2)[m] / 16.0f;
        inviscid[m] = 1.0f + area[m];
        wakes_off[m] = 1.0f + group_of(1)[m] / 64.0f;
    }
    EXPECT_EQ(group(r, 2), area);
    EXPECT_EQ(group(r, 2, 39), inviscid);
    EXPECT_EQ(group(n, 1, 33), wakes_off);
    EXPECT_EQ(group(n, 1, 39), (std::array<float, 6>{}));   // the wakes-off zero group stays
}

TEST_F(Hydrostatics, ZeroDensityLeavesEveryCaseAsAtRest) {
    st->c(4) = 0.0f;
    const auto r = st->r.run(1, 1);
    fill(r, {3.0f});
    addstatic(*st);
    EXPECT_EQ(group(r, 1), group_of(1));
    EXPECT_EQ(group(r, 1, 39), (std::array<float, 6>{}));
}

}  // namespace
}  // namespace hydrosum
