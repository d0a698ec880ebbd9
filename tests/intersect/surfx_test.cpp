// surfx: the plane test, the bilinear inverse, root acceptance with the
// extension flags, and the two selection rules.
#include "intersect/surfx.hpp"

#include "support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace intersect_test {
namespace {

using intersect::Rule;
using intersect::SourceFlags;
using intersect::TargetFlags;

constexpr float kLo = -1e-6f;
constexpr float kHi = 1.0f + 1e-6f;

struct Cut {
    int iint;
    float xint, yint, zint, xsis, xsit, etat;
};

// A source of one station through the given points.
Net line(std::initializer_list<P3> points) {
    Net n(static_cast<int>(points.size()), 1);
    int i = 0;
    for (const P3& p : points) n.set(++i, 1, p);
    return n;
}

// A vertical line through (x, y), from z = 1 down to z = -1.
Net vertical(float x, float y) { return line({{x, y, 1}, {x, y, -1}}); }

// A flat m x n target in z = 0 of unit cells: point (i, j) at (i - 1, j - 1).
Net plate(int m, int n) {
    return Net(m, n, [](int i, int j) { return P3{float(i - 1), float(j - 1), 0}; });
}

// Two cells in z = 0: cell 2 has the corners (1, 0), (2, 0), (2, 1) and
// p3; cell 1 shares its edge (1, 0) to p3 and has p1 and p4 besides.
Net two_cells(P3 p1, P3 p3, P3 p4) {
    Net n = cell(p1, {1, 0, 0}, p3, p4);
    Net t(3, 2);
    for (int j = 1; j <= 2; ++j)
        for (int i = 1; i <= 2; ++i) t.set(i, j, n.at(i, j));
    t.set(3, 1, {2, 0, 0});
    t.set(3, 2, {2, 1, 0});
    return t;
}

class Surfx : public RoutineTest {
protected:
    // panels and surfx as the drivers run them; the result slices start at
    // zero but for iint, which must be set by surfx
    std::vector<Cut> run(Net source, Net target, Rule rule, SourceFlags sf = {}, TargetFlags tf = {}) {
        PanelStore store(target);
        const intersect::Panels p = store.view();
        intersect::panels(target.gx(), target.gy(), target.gz(), target.m, target.n, p);
        const int ns = source.n;
        std::vector<float> r(std::size_t(7 * ns + 1), 0.0f);
        for (int j = 0; j < ns; ++j) r[std::size_t(6 * ns + j)] = 7.0f;
        auto at = [&](int slice) { return geom::Vec(r.data() + slice * ns); };
        const intersect::Cuts c{at(0), at(1), at(2), at(3), at(4), at(5), at(6)};
        intersect::surfx(source.gx(), source.gy(), source.gz(), source.m, ns, sf, target.m, target.n, tf, p, c, rule);
        std::vector<Cut> out;
        for (int j = 1; j <= ns; ++j)
            out.push_back({static_cast<int>(c.iint(j)), c.xint(j), c.yint(j), c.zint(j), c.xsis(j), c.xsit(j),
                           c.etat(j)});
        return out;
    }

    // Both rules give one cut for the station.
    Cut both(const Net& source, const Net& target, SourceFlags sf = {}, TargetFlags tf = {}) {
        const Cut f = run(source, target, Rule::first_panel, sf, tf)[0];
        const Cut k = run(source, target, Rule::least_residual, sf, tf)[0];
        EXPECT_EQ(f.iint, k.iint);
        EXPECT_EQ(f.xsit, k.xsit);
        EXPECT_EQ(f.etat, k.etat);
        return f;
    }
};

void expect_cut(const Cut& c, const Cut& want) {
    EXPECT_EQ(c.iint, want.iint);
    EXPECT_EQ(c.xint, want.xint);
    EXPECT_EQ(c.yint, want.yint);
    EXPECT_EQ(c.zint, want.zint);
    EXPECT_EQ(c.xsis, want.xsis);
    EXPECT_EQ(c.xsit, want.xsit);
    EXPECT_EQ(c.etat, want.etat);
}

const Cut kNone{0, 0, 0, 0, 0, 0, 0};

TEST_F(Surfx, StraightThroughTheMiddleOfACell) {
    // cell (1, 2) of the plate; cell (1, 1) is crossed in its plane too,
    // but its eta root 1.5 lies outside it
    expect_cut(both(vertical(0.5f, 1.5f), plate(3, 3)), {1, 0.5f, 1.5f, 0, 1.5f, 1.5f, 2.5f});
    EXPECT_EQ(console(), "");
}

TEST_F(Surfx, BeyondTheFirstXsiEdgeOnlyWithItsFlag) {
    const Net src = vertical(-0.1f, 0.5f);
    expect_cut(both(src, plate(3, 3)), kNone);
    expect_cut(both(src, plate(3, 3), {}, {0, 1, 1, 1}), kNone);   // the other edges' flags
    const Cut c = both(src, plate(3, 3), {}, {1, 0, 0, 0});
    EXPECT_EQ(c.iint, -1);
    EXPECT_NEAR(c.xsit, 0.9f, 1e-6f);
    EXPECT_EQ(c.etat, 1.5f);
    EXPECT_EQ(c.xint, -0.1f);
}

TEST_F(Surfx, SourceFlagsProlongTheEndSegmentsAndNeverMakeTheCutNegative) {
    // above the plate all the way: the last segment reaches z = 0 at t = 2
    const Net above = line({{0.5f, 0.5f, 3}, {0.5f, 0.5f, 2}, {0.5f, 0.5f, 1}});
    expect_cut(both(above, plate(2, 2)), kNone);
    expect_cut(both(above, plate(2, 2), {1, 0}), kNone);
    expect_cut(both(above, plate(2, 2), {0, 1}), {1, 0.5f, 0.5f, 0, 4.0f, 1.5f, 1.5f});
    // below it: the first segment, prolonged back, at t = -1
    const Net below = line({{0.5f, 0.5f, -1}, {0.5f, 0.5f, -2}, {0.5f, 0.5f, -3}});
    expect_cut(both(below, plate(2, 2), {0, 1}), kNone);
    expect_cut(both(below, plate(2, 2), {1, 0}), {1, 0.5f, 0.5f, 0, 0.0f, 1.5f, 1.5f});
}

TEST_F(Surfx, ACrossingAtTheToleranceIsAcceptedWithoutAFlag) {
    // z of A and B such that t comes out exactly hi, then just above it
    const float at_hi_a = kHi, at_hi_b = 0x1p-20f;   // t = hi / (hi - 2^-20) = hi
    ASSERT_EQ(at_hi_a / (at_hi_a - at_hi_b), kHi);
    Cut c = both(line({{0.5f, 0.5f, at_hi_a}, {0.5f, 0.5f, at_hi_b}}), plate(2, 2));
    EXPECT_EQ(c.iint, 1);
    EXPECT_EQ(c.xsis, 1.0f + kHi);
    expect_cut(both(line({{0.5f, 0.5f, 1.0f + 0x1p-19f}, {0.5f, 0.5f, 0x1p-19f}}), plate(2, 2)), kNone);

    // and exactly lo, behind A
    const float at_lo_a = 0x1.0c6f68p-20f, at_lo_b = 1.0f;
    ASSERT_EQ(at_lo_a / (at_lo_a - at_lo_b), kLo);
    c = both(line({{0.5f, 0.5f, at_lo_a}, {0.5f, 0.5f, at_lo_b}}), plate(2, 2));
    EXPECT_EQ(c.iint, 1);
    EXPECT_EQ(c.xsis, 1.0f + kLo);
    expect_cut(both(line({{0.5f, 0.5f, 0x1.0c6f70p-20f}, {0.5f, 0.5f, 1.0f}}), plate(2, 2)), kNone);
}

TEST_F(Surfx, ARootAtTheToleranceNeedsTheFlagOfItsEdge) {
    // unit cell: s is the x of the line, exactly
    const Net at_hi = vertical(kHi, 0.5f);
    expect_cut(both(at_hi, plate(2, 2)), kNone);
    Cut c = both(at_hi, plate(2, 2), {}, {0, 1, 0, 0});
    EXPECT_EQ(c.iint, -1);
    EXPECT_EQ(c.xsit, 1.0f + kHi);

    // A cell of width w centred on x = 0: s = (x + w/2) / w, exactly lo
    // for this w and x (20 steps of 2^-24 to the left of the edge), just
    // inside for 19 steps.
    const float w = 0x1.312dp+0f, half = w / 2.0f;
    const Net target = cell({-half, 0, 0}, {half, 0, 0}, {half, 1, 0}, {-half, 1, 0});
    const Net at_lo = vertical(-half - 20 * 0x1p-24f, 0.5f);
    expect_cut(both(at_lo, target), kNone);
    c = both(at_lo, target, {}, {1, 0, 0, 0});
    EXPECT_EQ(c.iint, -1);
    EXPECT_EQ(c.xsit, 1.0f + kLo);
    c = both(vertical(-half - 19 * 0x1p-24f, 0.5f), target);
    EXPECT_EQ(c.iint, 1);
    EXPECT_GT(c.xsit, 1.0f + kLo);
}

TEST_F(Surfx, AParallelogramGivesItsSingleRoots) {
    // sheared cell: P = P1 + s (P2 - P1) + u (P4 - P1) at s = 0.25, u = 0.5
    const Cut c = both(vertical(1.0f, 0.5f), cell({0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {1, 1, 0}));
    EXPECT_EQ(c.iint, 1);
    EXPECT_NEAR(c.xsit, 1.25f, 2e-7f);
    EXPECT_NEAR(c.etat, 1.5f, 2e-7f);
}

TEST_F(Surfx, OfTwoPreimagesInAFoldedCellATrueOneIsTaken) {
    // a dart-shaped cell covers this point twice: the four pairs of roots
    // hold both preimages and two mixed pairs of large residual
    const Net target = cell({0, 0, 0}, {1, 0, 0}, {0.3f, 0.3f, 0}, {0, 1, 0});
    const Cut c = both(vertical(0.375447898f, 0.310746452f), target);
    EXPECT_EQ(c.iint, 1);
    const bool first = std::fabs(c.xsit - 1.601337f) < 1e-4f && std::fabs(c.etat - 1.536636f) < 1e-4f;
    const bool second = std::fabs(c.xsit - 1.891936f) < 1e-4f && std::fabs(c.etat - 1.827234f) < 1e-4f;
    EXPECT_TRUE(first || second) << c.xsit << " " << c.etat;
}

TEST_F(Surfx, ACellWithoutNormalNeverTakesACut) {
    const P3 q{0.5f, 0.5f, 0};
    expect_cut(both(vertical(0.5f, 0.5f), cell(q, q, q, q)), kNone);
}

TEST_F(Surfx, FoilcutEndsAtTheFirstPanelWithAPairKeelcutTakesTheBest) {
    // column 1 collapsed to a nose point: the triangle's plane is crossed
    // outside it, but its collapsed edge gives the root s = 0 and with it a
    // pair of residual 1.5, ahead of the true cut in cell 2
    const Net target = two_cells({0, 0.5f, 0}, {1, 1, 0}, {0, 0.5f, 0});
    const Net src = vertical(1.5f, 0.5f);
    expect_cut(run(src, target, Rule::first_panel)[0], {1, 1.5f, 0.5f, 0, 1.5f, 1.0f, 1.5f});
    expect_cut(run(src, target, Rule::least_residual)[0], {1, 1.5f, 0.5f, 0, 1.5f, 2.5f, 1.5f});
}

TEST_F(Surfx, ComplexRootsGiveTheDoubleRootAndFoilcutTakesItWhateverItsResidual) {
    // The dart-shaped cell 1 does not cover this point: both quadratics
    // have negative discriminants, and their double roots (0.9676, 0.4610)
    // make a pair of large residual. Cell 2 holds the true cut.
    const Net target = two_cells({0, 0, 0}, {0.3f, 0.3f, 0}, {0, 1, 0});
    const Net src = vertical(0.740901824f, 0.234330961f);
    const Cut f = run(src, target, Rule::first_panel)[0];
    EXPECT_EQ(f.iint, 1);
    EXPECT_NEAR(f.xsit, 1.967571f, 1e-4f);
    EXPECT_NEAR(f.etat, 1.461000f, 1e-4f);
    const Cut k = run(src, target, Rule::least_residual)[0];
    EXPECT_EQ(k.iint, 1);
    EXPECT_NEAR(k.xsit, 2.118491f, 1e-4f);
    EXPECT_NEAR(k.etat, 1.611920f, 1e-4f);
}

TEST_F(Surfx, OnATieTheFirstCutStays) {
    // down through the plate and up again: both crossings fit exactly
    const Net zigzag = line({{0.5f, 0.5f, 1}, {0.5f, 0.5f, -1}, {1.5f, 0.5f, 1}});
    for (Rule r : {Rule::first_panel, Rule::least_residual})
        expect_cut(run(zigzag, plate(3, 2), r)[0], {1, 0.5f, 0.5f, 0, 1.5f, 1.5f, 1.5f});
}

TEST_F(Surfx, StationsWithoutCutGetIintZero) {
    Net src(2, 3);
    src.set(1, 1, {0.5f, 0.5f, 1});
    src.set(2, 1, {0.5f, 0.5f, -1});
    src.set(1, 2, {5, 5, 1});   // misses
    src.set(2, 2, {5, 5, -1});
    src.set(1, 3, {1.5f, 0.5f, 1});
    src.set(2, 3, {1.5f, 0.5f, -1});
    const auto cuts = run(src, plate(3, 2), Rule::first_panel);
    expect_cut(cuts[0], {1, 0.5f, 0.5f, 0, 1.5f, 1.5f, 1.5f});
    expect_cut(cuts[1], kNone);
    expect_cut(cuts[2], {1, 1.5f, 0.5f, 0, 1.5f, 2.5f, 1.5f});
}

TEST_F(Surfx, NoSegmentOrNoPanelGivesNoCut) {
    Net points(1, 2, [](int, int j) { return P3{0.5f, 0.5f, float(j)}; });
    for (const Cut& c : run(points, plate(3, 3), Rule::least_residual)) expect_cut(c, kNone);
    for (auto [m, n] : {std::pair{0, 0}, std::pair{3, 0}, std::pair{0, 4}, std::pair{1, 3}, std::pair{3, 1}})
        expect_cut(run(vertical(0.5f, 0.5f), Net(m, n), Rule::first_panel, {1, 1}, {1, 1, 1, 1})[0], kNone);
}

}  // namespace
}  // namespace intersect_test
