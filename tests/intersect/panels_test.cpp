// panels: centres, frames, corner coordinates and the two warnings.
#include "intersect/panels.hpp"

#include "support.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace intersect_test {
namespace {

class Panels : public RoutineTest {
protected:
    // Panels of `target`, as floats per slice of panel ip.
    struct Panel {
        P3 centre, exi, eeta, enor;
        std::array<float, 4> cxi, ceta;
    };

    std::vector<Panel> run(Net target) {
        PanelStore store(target);
        const intersect::Panels p = store.view();
        intersect::panels(target.gx(), target.gy(), target.gz(), target.m, target.n, p);
        std::vector<Panel> out;
        for (int ip = 1; ip <= store.np; ++ip) {
            Panel q;
            q.centre = {p.xc(ip), p.yc(ip), p.zc(ip)};
            q.exi = {p.exix(ip), p.exiy(ip), p.exiz(ip)};
            q.eeta = {p.eetax(ip), p.eetay(ip), p.eetaz(ip)};
            q.enor = {p.enorx(ip), p.enory(ip), p.enorz(ip)};
            for (int k = 1; k <= 4; ++k) {
                q.cxi[k - 1] = intersect::corner(p.cxi, store.np, ip, k);
                q.ceta[k - 1] = intersect::corner(p.ceta, store.np, ip, k);
            }
            out.push_back(q);
        }
        return out;
    }
};

TEST_F(Panels, UnitSquare) {
    const auto p = run(cell({0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}));
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].centre, (P3{0.5f, 0.5f, 0}));
    EXPECT_EQ(p[0].enor, (P3{0, 0, 1}));
    EXPECT_EQ(p[0].eeta, (P3{0, 1, 0}));
    EXPECT_EQ(p[0].exi, (P3{1, 0, 0}));
    EXPECT_EQ(p[0].cxi, (std::array<float, 4>{-0.5f, 0.5f, 0.5f, -0.5f}));
    EXPECT_EQ(p[0].ceta, (std::array<float, 4>{-0.5f, -0.5f, 0.5f, 0.5f}));
    EXPECT_EQ(console(), "");
}

TEST_F(Panels, ExiIsNormalToTheEtaTangentNotAlongTheXsiSides) {
    // a sheared cell: its xsi sides run at 45 degrees to exi
    const auto p = run(cell({0, 0, 0}, {2, 0, 0}, {3, 1, 0}, {1, 1, 0}));
    const float r = 1.0f / std::sqrt(2.0f);
    EXPECT_FLOAT_EQ(p[0].eeta[0], r);
    EXPECT_FLOAT_EQ(p[0].eeta[1], r);
    EXPECT_FLOAT_EQ(p[0].exi[0], r);
    EXPECT_FLOAT_EQ(p[0].exi[1], -r);
    EXPECT_EQ(p[0].enor, (P3{0, 0, 1}));
}

TEST_F(Panels, PanelsAreNumberedXsiFastest) {
    // 3 x 2 cells: the centres tell the order
    Net t(4, 3, [](int i, int j) { return P3{float(i), float(j), 0}; });
    const auto p = run(t);
    ASSERT_EQ(p.size(), 6u);
    EXPECT_EQ(p[1].centre, (P3{2.5f, 1.5f, 0}));
    EXPECT_EQ(p[3].centre, (P3{1.5f, 2.5f, 0}));
}

TEST_F(Panels, TwistWarnsOnlyAboveHalfTheSize) {
    for (float h : {0.5f, 0.6f}) {
        feed("");
        // cell 2 of a row of three (its neighbours twist far less)
        Net t(4, 2, [](int i, int j) { return P3{float(i), float(j), 0}; });
        t.set(2, 1, {2, 1, h});
        t.set(3, 1, {3, 1, -h});
        t.set(3, 2, {3, 2, h});
        t.set(2, 2, {2, 2, -h});
        const auto p = run(t);
        EXPECT_EQ(p[1].centre, (P3{2.5f, 1.5f, 0}));
        EXPECT_EQ(p[1].enor, (P3{0, 0, 1}));
        EXPECT_EQ(console(), h > 0.5f ? " warning from panels: panel    2 skewz > skewmx\n" : "") << h;
    }
}

TEST_F(Panels, CoincidentCornersWarnAndHaveNoNormal) {
    const P3 q{1, 2, 3};
    const auto p = run(cell(q, q, q, q));
    EXPECT_EQ(p[0].centre, q);
    EXPECT_EQ(p[0].enor, (P3{0, 0, 0}));
    EXPECT_EQ(p[0].exi, (P3{0, 0, 0}));
    EXPECT_EQ(p[0].eeta, (P3{0, 0, 0}));
    EXPECT_EQ(p[0].cxi, (std::array<float, 4>{0, 0, 0, 0}));
    // no skew warning: the skew of a panel of no size is not a number
    EXPECT_EQ(console(), " warning from panels: panel    1 sqrt(area) < eps\n");
}

TEST_F(Panels, ATinyTwistedPanelWarnsOfBothAreaFirst) {
    // 1e-7 wide: area 1e-14, so the normal is divided by the floor
    // eps²/4 and comes out 1/100 long, which still leaves a skew of 1
    const float a = 1e-7f, h = 1e-5f;
    const auto p = run(cell({0, 0, h}, {a, 0, -h}, {a, a, h}, {0, a, -h}));
    EXPECT_NEAR(p[0].enor[2], 0.01f, 1e-5f);
    EXPECT_EQ(console(),
              " warning from panels: panel    1 sqrt(area) < eps\n"
              " warning from panels: panel    1 skewz > skewmx\n");
}

TEST_F(Panels, OnePointPerRowOrOneRowHasNoPanel) {
    for (auto [m, n] : {std::pair{1, 5}, std::pair{5, 1}, std::pair{0, 0}, std::pair{3, 0}, std::pair{0, 4}}) {
        EXPECT_EQ(intersect::panel_count(m, n), 0) << m << " x " << n;
        EXPECT_TRUE(run(Net(m, n)).empty());
    }
    EXPECT_EQ(intersect::panel_count(3, 4), 6);
    EXPECT_EQ(console(), "");
}

}  // namespace
}  // namespace intersect_test
