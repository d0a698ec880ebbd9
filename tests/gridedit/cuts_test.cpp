// truncate, splitbulb, transom, tranatx and tranxlin: the cuts along grid lines.

#include "session.hpp"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace gridedit_test {
namespace {

struct P3 {
    double x, y, z;
};

// A network file as output writes it (klue 0), from its points in file
// order (i fastest).
std::string network_text(int ni, int nj, const std::string& title, const std::vector<P3>& pts)
{
    return net_file(ni, nj, title, [&](int i, int j) {
        const P3& p = pts.at(static_cast<std::size_t>((i - 1) + (j - 1) * ni));
        return pointf(static_cast<float>(p.x), static_cast<float>(p.y), static_cast<float>(p.z));
    });
}

// Lines of constant i, given one after the other, in the file's order.
std::vector<P3> by_line(const std::vector<P3>& lines, int ni, int nj)
{
    std::vector<P3> pts;
    for (int j = 0; j < nj; ++j)
        for (int i = 0; i < ni; ++i) pts.push_back(lines[static_cast<std::size_t>(i * nj + j)]);
    return pts;
}

// One "(a,f10.5)" report line.
std::string report(std::string_view label, double v)
{
    char b[32];
    std::snprintf(b, sizeof b, "%10.5f", v);
    return line(std::string(label) + b);
}

// The program works in float; the expected values below were worked out
// with the same steps in double. Arc lengths, slopes and the spline solve
// each round at float precision (about 6e-8 relative), and the inverse
// spline stops within 1e-6 of the cut x: 2e-6 relative leaves room for both.
// Networks compared as text are chosen so that every step is exact in float.
constexpr double kFloatTol = 2e-6;

// Compares the points of a written network file with `want` (i fastest).
void expect_points(const std::optional<std::string>& file, int ni, int nj, const std::vector<P3>& want,
                   double tol = kFloatTol)
{
    std::optional<Points> got = parse_net(file);
    ASSERT_TRUE(got.has_value());
    ASSERT_EQ(got->imax, ni);
    ASSERT_EQ(got->jmax, nj);
    ASSERT_EQ(got->p.size(), want.size());
    for (std::size_t k = 0; k < want.size(); ++k) {
        const int i = static_cast<int>(k) % ni + 1, j = static_cast<int>(k) / ni + 1;
        const double w[3] = {want[k].x, want[k].y, want[k].z};
        for (int c = 0; c < 3; ++c) {
            const double g = got->at(i, j)[static_cast<std::size_t>(c)];
            EXPECT_LE(std::fabs(g - w[c]), tol * std::max(1.0, std::fabs(w[c])))
                << "point (" << i << "," << j << ") coordinate " << c + 1 << ": " << g << " want " << w[c];
        }
    }
}

// Two points per line of constant j: a nose line at x = 0 whose trapezoidal
// mean is the origin, tails at x = 10, 16 and 10.
const std::vector<P3> kBulb = {{-1, 2, 3}, {10, 24, 0}, {0, -1, -2}, {16, 0, 12}, {1, 0, 1}, {10, 0, -7.5}};

TEST(CutDialogues, AskAgainOnUnreadableOrOutOfRangeAnswersAndBackUpOn999)
{
    const std::string bulb = network_text(2, 3, "Bulb", kBulb);
    Session s = edit(bulb, "Bulb", 2, 3, [&](Dialogue& d) {
        d.say("truncate", kPercentQ)
            .say("0", kPercentQ)
            .refused()
            .say("100", kPercentQ)
            .refused()
            .say("-5", kPercentQ)
            .refused()
            .say("abc", kPercentQ)
            .refused()
            .say("999.")
            .again();
        d.say("tranatx", kXtranQ).say("x", kXtranQ).refused().say("999").again();
        d.say("tranxlin", kXtranQ).say("1.0.0", kXtranQ).refused().say("999.").again();
    });
    expect_end(s.outcome, s.dialogue);
    EXPECT_EQ(s.written, bulb);
}

TEST(CutDialogues, RangesWithTooFewPointsAreRefusedAfterTheQuestions)
{
    struct Case {
        const char* what;
        int ni, nj;  // network read first; 0 x 0: none
        const char* word;
        const char* answer;  // nullptr: the command asks nothing
        std::string opening;
    };
    const Case cases[] = {
        {"truncate, no network", 0, 0, "truncate", "50", kPercentQ},
        {"splitbulb, no network", 0, 0, "splitbulb", nullptr, kSplitNote},
        {"transom, no network", 0, 0, "transom", nullptr, kTransomNote},
        {"tranatx, no network", 0, 0, "tranatx", "3", kXtranQ},
        {"tranxlin, no network", 0, 0, "tranxlin", "3", kXtranQ},
        {"splitbulb, two-point lines", 4, 2, "splitbulb", nullptr, kSplitNote},
        {"transom, two-point lines", 4, 2, "transom", nullptr, kTransomNote},
        {"splitbulb, one-point lines", 3, 1, "splitbulb", nullptr, kSplitNote},
        {"transom, one-point lines", 3, 1, "transom", nullptr, kTransomNote},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<P3> pts;
        for (int j = 1; j <= c.nj; ++j)
            for (int i = 1; i <= c.ni; ++i) pts.push_back({1.0 * i, 0.5 * j, -0.25 * i * j});
        const std::string file = network_text(c.ni, c.nj, "Short", pts);
        Dialogue d;
        if (c.ni > 0) load(d, "in.net", "Short", c.ni, c.nj);
        // the refusal follows the command's last read, if it has one
        if (c.answer)
            d.say(c.word, c.opening).say(c.answer, kTooFew);
        else
            d.say(c.word, c.opening + kTooFew);
        d.refused().again();
        if (c.ni > 0) save(d, "out.net");
        d.quit();

        Session s = run_with(d, file);
        expect_end(s.outcome, d);
        EXPECT_EQ(s.written, c.ni > 0 ? std::optional(file) : std::nullopt);
    }
}

TEST(Truncate, TwoPointLinesEndAtTheCutWithTheirLengthsReported)
{
    auto out = edit_cleanly(network_text(2, 3, "Bulb", kBulb), "Bulb", 2, 3, [&](Dialogue& d) {
        // xtail is the smallest tail x; each line from the nose point to x = 5
        d.say("truncate", kPercentQ)
            .say("50", report(" xnose=", 0) + report(" xtail=", 10) + report(" xtrunc=", 5) + report(" strunc=", 13) +
                           report(" strunc=", 6.25) + report(" strunc=", 6.25))
            .ok();
    });
    EXPECT_EQ(out,
              network_text(2, 3, "Bulb", {{0, 0, 0}, {5, 12, 0}, {0, 0, 0}, {5, 0, 3.75}, {0, 0, 0}, {5, 0, -3.75}}));
}

TEST(Truncate, SinglePointLinesOnlyCollapseTheNoseAndASingleLineKeepsItsNose)
{
    struct Case {
        const char* what;
        int ni, nj;
        std::vector<P3> before;
        std::string reports;
        std::vector<P3> after;
    };
    const Case cases[] = {
        {"one point per line", 1, 3, {{0, 0, 1}, {2, 4, 0}, {4, 0, -1}},
         report(" xnose=", 2) + report(" xtail=", 2) + report(" xtrunc=", 2), {{2, 2, 0}, {2, 2, 0}, {2, 2, 0}}},
        {"one line", 2, 1, {{1, 2, 3}, {9, 2, 9}},
         report(" xnose=", 1) + report(" xtail=", 9) + report(" xtrunc=", 5) + report(" strunc=", 5),
         {{1, 2, 3}, {5, 2, 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto out = edit_cleanly(network_text(c.ni, c.nj, "Small", c.before), "Small", c.ni, c.nj,
                                [&](Dialogue& d) { d.say("truncate", kPercentQ).say("50", c.reports).ok(); });
        EXPECT_EQ(out, network_text(c.ni, c.nj, "Small", c.after));
    }
}

TEST(Truncate, CurvedLinesAreCutOnTheirInterpolant)
{
    // Lines of constant j, the file's order. The nose line (0,0,1), (0,0,0),
    // (0,0,-1) has the origin as its mean; the middle line runs along x, so
    // its nose slopes of y and z are both 0.
    struct Case {
        const char* what;
        int ni;
        std::vector<P3> before;
        std::string cuts;
        std::vector<P3> after;
    };
    const Case cases[] = {
        {"three points: local interpolation",
         3,
         {{0, 0, 1}, {1, 0, 1.5}, {4, 0, 2}, {0, 0, 0}, {2, 0, 0}, {4, 0, 0}, {0, 0, -1}, {1, 0, -1.5}, {4, 0, -2}},
         report(" strunc=", 2.35412353) + report(" strunc=", 1.4) + report(" strunc=", 2.35412353),
         {{0, 0, 0}, {0.436714142, 0, 0.75963965}, {1.43916403, 0, 1.67449575},  // local quadratics: not quite 1.4
          {0, 0, 0}, {0.7, 0, 0}, {1.4, 0, 0},
          {0, 0, 0}, {0.436714142, 0, -0.75963965}, {1.43916403, 0, -1.67449575}}},
        {"four points: spline with a nose tangent normal to x",
         4,
         {{0, 0, 1}, {1, 0, 1.5}, {2, 0, 1.75}, {4, 0, 2},
          {0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {4, 0, 0},
          {0, 0, -1}, {1, 0, -1.5}, {2, 0, -1.75}, {4, 0, -2}},
         report(" strunc=", 2.30017117) + report(" strunc=", 1.35238242) + report(" strunc=", 2.30017117),
         {{0, 0, 0}, {0.255226448, 0, 0.829479137}, {0.572648431, 0, 1.2077812}, {1.4, 0, 1.64114955},
          {0, 0, 0}, {0.169335102, 0, 0}, {0.564912053, 0, 0}, {1.4, 0, 0},
          {0, 0, 0}, {0.255226448, 0, -0.829479137}, {0.572648431, 0, -1.2077812}, {1.4, 0, -1.64114955}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto out = edit_cleanly(network_text(c.ni, 3, "Round nose", c.before), "Round nose", c.ni, 3, [&](Dialogue& d) {
            d.say("truncate", kPercentQ)
                .say("35", report(" xnose=", 0) + report(" xtail=", 4) + report(" xtrunc=", 1.4) + c.cuts)
                .ok();
        });
        expect_points(out, c.ni, 3, c.after);
    }
}

TEST(Truncate, WorksOnTheSubblockAlone)
{
    const std::vector<P3> before = {
        {0, 1, 9}, {2, 1, 9}, {10, 1, 9},   //
        {0, 2, 9}, {2, 1, 1}, {10, 6, 1},   // block: nose (2,1,1) and (2,-1,1), tails at x = 10
        {0, 3, 9}, {2, -1, 1}, {10, 0, 7},  //
        {0, 4, 9}, {2, 4, 9}, {10, 4, 9},
    };
    auto out = edit_cleanly(network_text(3, 4, "Block", before), "Block", 3, 4, [&](Dialogue& d) {
        set_block(d, 2, 3, 2, 3);
        d.say("truncate", kPercentQ)
            .say("50", report(" xnose=", 2) + report(" xtail=", 10) + report(" xtrunc=", 6) + report(" strunc=", 5) +
                           report(" strunc=", 5))
            .ok();
        clear_block(d);
    });
    EXPECT_EQ(out, network_text(3, 4, "Block",
                                {{0, 1, 9}, {2, 1, 9}, {10, 1, 9},
                                 {0, 2, 9}, {2, 0, 1}, {6, 3, 1},
                                 {0, 3, 9}, {2, 0, 1}, {6, 0, 4},
                                 {0, 4, 9}, {2, 4, 9}, {10, 4, 9}}));
}

TEST(Splitbulb, TwoStationsOnlyCollapseTheNoseAndFoldTheTail)
{
    // nose column (i = 1) and tail column (i = 2), j = 1..5
    const std::vector<P3> nose = {{0, 1, 0}, {0, 1, 1}, {0, 0, 2}, {0, -1, 1}, {0, -1, 0}};
    const std::vector<P3> tail = {{10, 5, 0}, {10, 3, 4}, {10, 0, 5}, {10, -2, 5}, {11, -5, 1}};
    const std::vector<P3> folded = {{10.5, 0, 0.5}, {10, 0.5, 4.5}, {10, 0, 5}, {10, 0.5, 4.5}, {10.5, 0, 0.5}};
    std::vector<P3> before, after;
    for (std::size_t j = 0; j < 5; ++j) {
        before.insert(before.end(), {nose[j], tail[j]});
        after.insert(after.end(), {{0, 0, 1}, folded[j]});
    }
    auto out = edit_cleanly(network_text(2, 5, "Split", before), "Split", 2, 5,
                            [&](Dialogue& d) { d.say("splitbulb", kSplitNote).ok(); });
    EXPECT_EQ(out, network_text(2, 5, "Split", after));
}

TEST(Splitbulb, InteriorStationsPutTheMiddleRowAtTheMaximumHalfBreadth)
{
    struct Case {
        const char* what;
        int nj;
        std::vector<P3> before, after;  // file order: i = nose, station, tail
    };
    const Case cases[] = {
        {"three rows: only the middle point moves",
         3,
         {{0, 0, 1}, {5, 1, 0}, {10, 0.5, 0.25},
          {0, 0.5, 0.5}, {5, 0.5, 1}, {10, 0, 0.5},
          {0, -1, 0}, {5, -1, 0}, {10, -0.5, 0.75}},
         {{0, 0, 0.5}, {5, 1, 0}, {10, 0, 0.5},
          {0, 0, 0.5}, {5, 0.372427726, 1.07367102}, {10, 0, 0.5},
          {0, 0, 0.5}, {5, -1, 0}, {10, 0, 0.5}}},
        // a circle of radius 5 whose widest point is row 3; rows 2 and 4 come
        // to the same arc length on either side of it
        {"five rows on a symmetric station",
         5,
         {{0, 1, 0}, {5, 5, 0}, {10, 5, 0},
          {0, 1, 1}, {5, 4, 3}, {10, 3, 4},
          {0, 0, 2}, {5, 0, 5}, {10, 0, 5},
          {0, -1, 1}, {5, -4, 3}, {10, -3, 4},
          {0, -1, 0}, {5, -5, 0}, {10, -5, 0}},
         {{0, 0, 1}, {5, 5, 0}, {10, 0, 0},
          {0, 0, 1}, {5, 3.54808985, 3.51038649}, {10, 0, 4},
          {0, 0, 1}, {5, 0, 5}, {10, 0, 5},
          {0, 0, 1}, {5, -3.54808985, 3.51038649}, {10, 0, 4},
          {0, 0, 1}, {5, -5, 0}, {10, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto out = edit_cleanly(network_text(3, c.nj, "Split", c.before), "Split", 3, c.nj,
                                [&](Dialogue& d) { d.say("splitbulb", kSplitNote).ok(); });
        expect_points(out, 3, c.nj, c.after);
    }
}

TEST(Transom, AftEdgeRunsFromTheFirstLineToTheLastLinesTangent)
{
    // Lines of constant i running in j to the aft edge j = 3; listed line by line.
    struct Case {
        const char* what;
        int ni;
        std::vector<P3> before, after;
    };
    const Case cases[] = {
        // x' = 0, y' < 0 at A: no overhang, X = xA = 20; zA = zB leaves z
        {"first line ends running in -y",
         2,
         {{20, 2, 0}, {20, 1, 0}, {20, 0, 0}, {0, 6, 0}, {5, 6, 0}, {8, 6, 0}},
         {{20, 2, 0}, {20, 1, 0}, {20, 0, 0}, {0, 6, 0}, {12.5, 6, 0}, {20, 6, 0}}},
        // straight aft at A: X = xA + (yA - yB) = 6; B slides along its own
        // straight line to (6, 2, -3), the middle aft point to x = 7
        {"first line ends running straight aft",
         3,
         {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {0, 1, 0}, {4, 1, -1}, {8, 1, -2}, {0, 2, 0}, {4, 2, -2}, {8, 2, -4}},
         {{0, 0, 0}, {4, 0, 0}, {8, 0, 0},
          {0, 1, 0}, {3.47528661, 1, -0.868821653}, {7, 1, -1.5},
          {0, 2, 0}, {3, 2, -1.5}, {6, 2, -3}}},
        // yA = yB leaves x; zT = -4 - (1/3)(8 - 6)
        {"aft ends at the same y",
         2,
         {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {0, 0, -2}, {3, 0, -3}, {6, 0, -4}},
         {{0, 0, 0}, {4, 0, 0}, {8, 0, 0}, {0, 0, -2}, {3.11783599, 0, -3.06546444}, {6, 0, -4.66666667}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto out = edit_cleanly(network_text(c.ni, 3, "Hull", by_line(c.before, c.ni, 3)), "Hull", c.ni, 3,
                                [&](Dialogue& d) { d.say("transom", kTransomNote).ok(); });
        expect_points(out, c.ni, 3, by_line(c.after, c.ni, 3));
    }
}

TEST(Tranxlin, CutsPolylinesAndExtendsShortOnesStraight)
{
    // Lines of constant i, listed line by line: a bent polyline crossing
    // x = 5, a straight one ending at x = 4, and one of coincident points.
    const std::vector<P3> lines = {{0, 0, 0}, {3, 4, 0}, {7, 7, 0},
                                   {0, 1, 0}, {2, 1, 1.5}, {4, 1, 3},
                                   {3, 3, 3}, {3, 3, 3}, {3, 3, 3}};
    const std::vector<P3> cut = {{0, 0, 0}, {2.25, 3, 0}, {5, 5.5, 0},
                                 {0, 1, 0}, {2.5, 1, 1.875}, {5, 1, 3.75},
                                 {3, 3, 3}, {3, 3, 3}, {3, 3, 3}};
    auto out = edit_cleanly(network_text(3, 3, "Hull", by_line(lines, 3, 3)), "Hull", 3, 3, [&](Dialogue& d) {
        // three points per line would take local interpolation in tranatx
        d.say("tranxlin", kXtranQ).say("5", report(" stran=", 7.5) + report(" stran=", 6.25)).ok();
    });
    EXPECT_EQ(out, network_text(3, 3, "Hull", by_line(cut, 3, 3)));
}

TEST(Tranatx, EveryLineIsCutAtTheValueEntered)
{
    // Five points per line: the spline. Past x = 16 no float residual of the
    // inverse spline but 0 is within 1e-6, and at 29.6 the second line's
    // iteration never lands on 0, so it has to be stopped. Line 1 ends before
    // the cut: it is measured to its end and keeps its shape, and the later
    // lines are still cut at 29.6. Line 3 ends in two coincident points: its
    // end slopes are not finite, so it keeps its points and has no report.
    const std::vector<P3> lines = {
        {20, 0, 0}, {22, 1, 0}, {24, 1.5, 0}, {25, 1.75, 0}, {26, 2, 0},
        {20, 0, 1}, {25, 2, 1}, {30, 3, 1}, {35, 3.5, 1}, {40, 3.75, 1},
        {20, 0, 2}, {25, 1, 2}, {30, 2, 2}, {40, 3, 2}, {40, 3, 2},
        {20, 0, 3}, {24, 1, 3}, {28, 1.5, 3}, {36, 2, 3}, {43, 2.5, 3},
    };
    const std::vector<P3> cut = {
        {20, 0, 0}, {22, 1, 0}, {24, 1.5, 0}, {25, 1.75, 0}, {26, 2, 0},
        {20, 0, 1}, {22.4195903, 1.10846914, 1}, {24.7777296, 1.9350729, 1}, {27.1706371, 2.52811296, 1},
        {29.6, 2.94426603, 1},
        {20, 0, 2}, {25, 1, 2}, {30, 2, 2}, {40, 3, 2}, {40, 3, 2},
        {20, 0, 3}, {21.6716526, 0.483318015, 3}, {23.3220858, 0.869282622, 3}, {26.6550865, 1.37140275, 3},
        {29.6, 1.62472005, 3},
    };
    auto out = edit_cleanly(network_text(4, 5, "Hull", by_line(lines, 4, 5)), "Hull", 4, 5, [&](Dialogue& d) {
        d.say("tranatx", kXtranQ)
            .say("29.6", report(" stran=", 6.36589861) + report(" stran=", 10.0933211) + report(" stran=", 9.76228075))
            .ok();
    });
    expect_points(out, 4, 5, by_line(cut, 4, 5));
}

TEST(Tranatx, SubblockLinesAreCutWithinTheBlock)
{
    // Block i = 2..3, j = 2..4: three points per line, straight, so local
    // interpolation is linear and exact.
    const std::vector<P3> before = {
        {1, 9, 9}, {-3, 0, -4}, {-4, -1, 0},
        {2, 9, 9}, {0, 0, 0}, {0, 2, 0},
        {3, 9, 9}, {3, 0, 4}, {4, 5, 0},
        {4, 9, 9}, {6, 0, 8}, {8, 8, 0},
        {5, 9, 9}, {9, 0, 12}, {12, 11, 0},
    };
    const std::vector<P3> after = {
        {1, 9, 9}, {-3, 0, -4}, {-4, -1, 0},
        {2, 9, 9}, {0, 0, 0}, {0, 2, 0},
        {3, 9, 9}, {2.25, 0, 3}, {2.25, 3.6875, 0},
        {4, 9, 9}, {4.5, 0, 6}, {4.5, 5.375, 0},
        {5, 9, 9}, {9, 0, 12}, {12, 11, 0},
    };
    auto out = edit_cleanly(network_text(3, 5, "Block", before), "Block", 3, 5, [&](Dialogue& d) {
        set_block(d, 2, 3, 2, 4);
        d.say("tranatx", kXtranQ).say("4.5", report(" stran=", 7.5) + report(" stran=", 5.625)).ok();
        clear_block(d);
    });
    EXPECT_EQ(out, network_text(3, 5, "Block", after));
}

}  // namespace
}  // namespace gridedit_test
