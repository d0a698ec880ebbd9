// extend and dextend: new lines of points beyond one edge of the network.

#include "session.hpp"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace gridedit_test {
namespace {

const std::string& value_q(const std::string& cmd, const std::string& axis)
{
    const int a = axis == "x" ? 0 : axis == "y" ? 1 : axis == "z" ? 2 : 3;
    return cmd == "extend" ? kExtendToQ[a] : kExtendByQ[a];
}

// The whole dialogue up to the fairing answer and what the run writes; the
// caller sets the counts the display shows next and writes ok().
Dialogue& extend(Dialogue& d, const std::string& cmd, const std::string& side, const std::string& axis,
                 const std::string& value, const std::string& npts, const std::string& fair,
                 const std::string& reply = "")
{
    return d.say(cmd, ask(kSideQ))
        .say(side, ask(kExtAxisQ))
        .say(axis, ask(value_q(cmd, axis)))
        .say(value, ask(kPointsQ))
        .say(npts, ask(kFairQ))
        .say(fair, reply);
}

using P3 = std::array<double, 3>;
using Shape = std::function<P3(int m, int l)>;  // point m along line l

// Lines of 3 points, 2 lines; for an i edge point (i, j) is shape(i, j), for
// a j edge shape(j, i).
std::string shape_file(const Shape& f, bool i_edge)
{
    return net_file(i_edge ? 3 : 2, i_edge ? 2 : 3, "Rudder", [&](int i, int j) {
        P3 p = i_edge ? f(i, j) : f(j, i);
        return pointf(float(p[0]), float(p[1]), float(p[2]));
    });
}

P3 parab(int m, int l) { return {double(m), double(m * m), double(l)}; }  // x = 1, 2, 3; y = 1, 4, 9
P3 straight(int m, int l) { return {double(m), double(l), double(-l)}; }
P3 steps(int m, int l) { return {1.5 * (m - 1), double(l), 0}; }  // an edge step of 1.5
// line 2 does not advance in x
P3 no_dx(int m, int l) { return l == 1 ? parab(m, 1) : P3{3, double(m), 2}; }
// line 2 is one point three times
P3 one_point(int m, int l) { return l == 1 ? straight(m, 1) : P3{7, 7, 7}; }

// The spacing of floats at |v|, or at 1 below 1.
float ulp_of(double v)
{
    const float a = float(std::max(std::fabs(v), 1.0));
    return std::nextafter(a, 2 * a) - a;
}

TEST(Extend, RefusedWhileASubblockIsActive)
{
    Dialogue d;
    set_block(d, 1, 1, 1, 1);
    d.say("extend", line(kBlocked)).refused().again();
    d.say("dextend", line(kBlocked)).refused().again();
    d.quit();
    Sandbox box;
    expect_end(run_dialogue(box, d), d);
    EXPECT_EQ(d.status(), 1);
}

TEST(Extend, BackupChainAndAnswersAskedAgain)
{
    const std::string start = shape_file(parab, true);
    Dialogue d;
    load(d, "in.net", "Rudder", 3, 2);
    d.say("extend", ask(kSideQ))
        .say("IMIN", ask(kSideQ))
        .refused()
        .say(" imin", ask(kSideQ))
        .refused()
        .say("iminx", ask(kSideQ))
        .refused()
        .say("backup")
        .again();
    // only the first ten columns of a word count
    d.say("extend", ask(kSideQ))
        .say("jmax      and more", ask(kExtAxisQ))
        .say("X", ask(kExtAxisQ))
        .refused()
        .say("backup", ask(kSideQ))
        .say("imin", ask(kExtAxisQ))
        .say("s", ask(kExtendToQ[3]))
        .say("999", ask(kExtAxisQ))
        .say("z", ask(kExtendToQ[2]))
        .say("far", ask(kExtendToQ[2]))
        .refused()
        .say("4", ask(kPointsQ))
        .say("many", ask(kPointsQ))
        .refused()
        .say("-1", ask(kPointsQ))  // a negative count is asked again
        .refused()
        .say("999", ask(kExtendToQ[2]))
        .say("4", ask(kPointsQ))
        .say("2", ask(kFairQ))
        .say("smooth", ask(kFairQ))
        .refused()
        .say("999", ask(kPointsQ))
        .say("999", ask(kExtendToQ[2]))
        .say("999", ask(kExtAxisQ))
        .say("backup", ask(kSideQ))
        .say("backup")
        .again();
    d.say("dextend", ask(kSideQ))
        .say("imax", ask(kExtAxisQ))
        .say("x", ask(kExtendByQ[0]))
        .say("999", ask(kExtAxisQ))
        .say("y", ask(kExtendByQ[1]))
        .say("999", ask(kExtAxisQ))
        .say("z", ask(kExtendByQ[2]))
        .say("999", ask(kExtAxisQ))
        .say("s", ask(kExtendByQ[3]))
        .say("1", ask(kPointsQ))
        .say("999", ask(kExtendByQ[3]))
        .say("999", ask(kExtAxisQ))
        .say("backup", ask(kSideQ))
        .say("backup")
        .again();
    d.say("extend", ask(kSideQ)).say("imax", ask(kExtAxisQ)).say("y", ask(kExtendToQ[1])).say("999", ask(kExtAxisQ));
    d.say("backup", ask(kSideQ)).say("backup").again();
    // no points: nothing changes, and the command has run
    extend(d, "extend", "imax", "x", "5", "0", "1").ok();
    extend(d, "dextend", "jmin", "s", "2", "0", "1").ok();
    save(d, "out.net");
    d.quit();

    expect_unchanged(d, start);
}

TEST(Extend, CapacityIsCheckedAfterTheQuestionsAndStillEndsWithOk)
{
    // 3 x 3: x = i, y = i^2, z = j
    const std::string start = net_file(3, 3, "Rudder", [](int i, int j) { return point(i, i * i, j); });
    Dialogue d;
    load(d, "in.net", "Rudder", 3, 3);
    extend(d, "extend", "imax", "x", "500", "479", "1", line(kInew)).refused().ok();
    extend(d, "dextend", "jmin", "z", "-2", "479", "1", line(kJnew)).refused().ok();
    // a count whose sum with imax does not fit an integer
    extend(d, "extend", "imin", "x", "0", "2147483647", "1", line(kInew)).refused().ok();
    extend(d, "dextend", "jmax", "s", "1", "2147483647", "1", line(kJnew)).refused().ok();
    save(d, "out.net");
    extend(d, "extend", "imax", "x", "500", "478", "1");
    d.net.imax = 481;
    d.ok();
    extend(d, "dextend", "jmax", "z", "500", "478", "1");
    d.net.jmax = 481;
    d.ok();
    extend(d, "extend", "jmin", "z", "0", "1", "1", line(kJnew)).refused().ok();
    extend(d, "dextend", "imax", "x", "1", "1", "1", line(kInew)).refused().ok();
    d.quit();

    expect_unchanged(d, start);
}

TEST(Extend, LinesOfFewerThanThreePointsAreRefused)
{
    // 2 x 3: the i lines are too short, the j lines are not
    const std::string start = shape_file(parab, false);
    Dialogue d;
    load(d, "in.net", "Rudder", 2, 3);
    extend(d, "extend", "imax", "x", "5", "2", "1", line(kShort)).refused().again();
    extend(d, "dextend", "imin", "s", "-1", "1", "2", line(kShort)).refused().again();
    save(d, "same.net");
    extend(d, "extend", "jmax", "x", "5", "2", "2");
    d.net.jmax = 5;
    d.ok();
    save(d, "out.net");
    d.quit();

    Sandbox box;
    box.write("in.net", start);
    expect_end(run_dialogue(box, d), d);
    EXPECT_EQ(box.read("same.net"), start);
    // the parabola continued
    EXPECT_EQ(box.read("out.net"), net_file(2, 5, "Rudder", [](int i, int j) { return point(j, j * j, i); }));
}

// ---- the new points ----

struct Case {
    const char* what;
    std::string cmd;
    Shape shape;
    std::string side, axis, value;
    int npts;
    std::string fair;
    int ulps;  // allowed distance from the expected values
    // new point n (counted outward) of line l: its first coordinate, then
    // the others, which may follow the first as the program placed it
    std::function<P3(int n, int l, double x)> want;
};

// The blends of the tangent L and the parabola Q at the edge of parab:
// fair 1 gives L, 2 gives Q, 1.5 their mean.
double tangent_max(double x) { return 6 * x - 9; }
double tangent_min(double x) { return 2 * x - 1; }

void check(const Case& c)
{
    SCOPED_TRACE(c.what);
    const bool i_edge = c.side[0] == 'i';
    const bool max_edge = c.side.ends_with("max");
    const int along = 3 + c.npts;
    Session s = edit(shape_file(c.shape, i_edge), "Rudder", i_edge ? 3 : 2, i_edge ? 2 : 3, [&](Dialogue& d) {
        extend(d, c.cmd, c.side, c.axis, c.value, std::to_string(c.npts), c.fair);
        (i_edge ? d.net.imax : d.net.jmax) = along;
        d.ok();
    });
    auto got = parse_net(s.written);
    ASSERT_TRUE(got);
    ASSERT_EQ(i_edge ? got->imax : got->jmax, along);
    for (int l = 1; l <= 2; ++l)
        for (int m = 1; m <= along; ++m) {
            SCOPED_TRACE(testing::Message() << "point " << m << " of line " << l);
            const auto& p = i_edge ? got->at(m, l) : got->at(l, m);
            const int old = max_edge ? (m <= 3 ? m : 0) : (m > c.npts ? m - c.npts : 0);
            if (old) {
                const P3 w = c.shape(old, l);
                EXPECT_EQ(p, (std::array<float, 3>{float(w[0]), float(w[1]), float(w[2])}));
                continue;
            }
            const P3 w = c.want(max_edge ? m - 3 : c.npts + 1 - m, l, p[0]);
            for (int k = 0; k < 3; ++k) {
                // ulps at the size of the line's largest value of that coordinate
                double size = std::fabs(w[k]);
                for (int e = 1; e <= 3; ++e) size = std::max(size, std::fabs(c.shape(e, l)[k]));
                EXPECT_LE(std::fabs(p[k] - w[k]), c.ulps * ulp_of(size)) << "coordinate " << k << " wants " << w[k];
            }
        }
}

TEST(Extend, ToACoordinateOrAnArcLength)
{
    const Case cases[] = {
        {"prismatic", "extend", parab, "imax", "x", "5", 2, "0", 0,
         [](int n, int l, double) {
             return P3{3.0 + n, 9, double(l)};
         }},
        {"below 0 is prismatic", "extend", parab, "imax", "x", "5", 2, "-0.5", 0,
         [](int n, int l, double) {
             return P3{3.0 + n, 9, double(l)};
         }},
        {"half way to linear", "extend", parab, "imax", "x", "5", 2, "0.5", 0,
         [](int n, int l, double x) {
             return P3{3.0 + n, 3 * x, double(l)};
         }},
        {"linear", "extend", parab, "imax", "x", "5", 2, "1", 0,
         [](int n, int l, double x) {
             return P3{3.0 + n, tangent_max(x), double(l)};
         }},
        {"between linear and quadratic", "extend", parab, "imax", "x", "5", 2, "1.5", 0,
         [](int n, int l, double x) {
             return P3{3.0 + n, (tangent_max(x) + x * x) / 2, double(l)};
         }},
        {"quadratic: the parabola continued", "extend", parab, "imax", "x", "5", 2, "2", 0,
         [](int n, int l, double x) {
             return P3{3.0 + n, x * x, double(l)};
         }},
        {"above 2 is quadratic", "extend", parab, "imax", "x", "5", 2, "7", 0,
         [](int n, int l, double x) {
             return P3{3.0 + n, x * x, double(l)};
         }},
        {"min edge, linear", "extend", parab, "imin", "x", "-1", 2, "1", 0,
         [](int n, int l, double x) {
             return P3{1.0 - n, tangent_min(x), double(l)};
         }},
        {"min edge, quadratic", "extend", parab, "imin", "x", "-1", 2, "2", 0,
         [](int n, int l, double x) {
             return P3{1.0 - n, x * x, double(l)};
         }},
        {"j max edge", "extend", parab, "jmax", "x", "5", 2, "2", 0,
         [](int n, int l, double x) {
             return P3{3.0 + n, x * x, double(l)};
         }},
        {"j min edge", "extend", parab, "jmin", "x", "-1", 2, "1", 0,
         [](int n, int l, double x) {
             return P3{1.0 - n, tangent_min(x), double(l)};
         }},
        {"one point lies at the target", "extend", parab, "imax", "x", "5", 1, "2", 0,
         [](int, int l, double) {
             return P3{5, 25, double(l)};
         }},
        {"a target on the edge repeats the edge point", "extend", parab, "imax", "x", "3", 2, "2", 0,
         [](int, int l, double) {
             return P3{3, 9, double(l)};
         }},
        {"along y", "extend", parab, "imax", "y", "16", 1, "0", 0,
         [](int, int l, double) {
             return P3{3, 16, double(l)};
         }},
        // z does not advance along any line: prismatic, z still evenly to 4
        {"along z with no z step", "extend", parab, "imax", "z", "4", 2, "2", 0,
         [](int n, int l, double) {
             return P3{3, 9, l + n * (4.0 - l) / 2};
         }},
        {"a line with no x step", "extend", no_dx, "imax", "x", "5", 2, "2", 0,
         [](int n, int l, double x) {
             return l == 1 ? P3{3.0 + n, x * x, 1} : P3{3.0 + n, 3, 2};
         }},
        {"arc length, linear", "extend", straight, "imax", "s", "2", 2, "1", 0,
         [](int n, int l, double) { return P3{3.0 + n, double(l), double(-l)}; }},
        {"arc length, quadratic", "extend", straight, "imax", "s", "2", 2, "2", 0,
         [](int n, int l, double) { return P3{3.0 + n, double(l), double(-l)}; }},
        {"arc length, prismatic", "extend", straight, "imax", "s", "2", 2, "0", 0,
         [](int, int l, double) { return P3{3, double(l), double(-l)}; }},
        {"arc length, half way", "extend", straight, "imax", "s", "2", 2, "0.5", 0,
         [](int n, int l, double) { return P3{3 + 0.5 * n, double(l), double(-l)}; }},
        {"arc length, min edge", "extend", straight, "imin", "s", "2", 2, "1", 0,
         [](int n, int l, double) { return P3{1.0 - n, double(l), double(-l)}; }},
        {"arc length, j min edge", "extend", straight, "jmin", "s", "2", 2, "1", 0,
         [](int n, int l, double) { return P3{1.0 - n, double(l), double(-l)}; }},
        {"arc length, coincident edge points", "extend", one_point, "imax", "s", "2", 2, "1", 0,
         [](int n, int l, double) {
             return l == 1 ? P3{3.0 + n, 1, -1} : P3{7, 7, 7};
         }},
    };
    for (const Case& c : cases) check(c);
}

// The fractions of the cluster cubic are evaluated in float, and at a min
// edge each new point takes 1 - work(k): a rounding or two before the last
// operation, so the values can miss the nearest float by an ulp or two.
constexpr int kDistUlps = 2;

TEST(Dextend, ByADistanceWithTheEdgeSpacingCarriedOn)
{
    const Case cases[] = {
        // x' = 1 at the edge and a mean step of 1: even steps, exact
        {"edge step kept, linear", "dextend", parab, "imax", "x", "3", 3, "1", 0,
         [](int n, int l, double x) {
             return P3{3.0 + n, tangent_max(x), double(l)};
         }},
        {"edge step kept, quadratic", "dextend", parab, "imax", "x", "3", 3, "2", 0,
         [](int n, int l, double x) {
             return P3{3.0 + n, x * x, double(l)};
         }},
        {"edge step kept, prismatic", "dextend", parab, "imax", "x", "3", 3, "0", 0,
         [](int n, int l, double) {
             return P3{3.0 + n, 9, double(l)};
         }},
        {"steps growing (ratio 0.5)", "dextend", parab, "imax", "x", "6", 3, "1", kDistUlps,
         [](int n, int l, double x) {
             const double w[] = {37 / 9.0, 53 / 9.0, 9};
             return P3{w[n - 1], tangent_max(x), double(l)};
         }},
        {"steps shrinking (ratio 2)", "dextend", parab, "imax", "x", "1.5", 3, "2", kDistUlps,
         [](int n, int l, double x) {
             const double w[] = {34 / 9.0, 38 / 9.0, 4.5};
             return P3{w[n - 1], x * x, double(l)};
         }},
        {"ratio 5 clamped to 3", "dextend", parab, "imax", "x", "0.6", 3, "1", kDistUlps,
         [](int n, int l, double x) {
             const double w[] = {3 + 19 / 45.0, 3 + 26 / 45.0, 3.6};
             return P3{w[n - 1], tangent_max(x), double(l)};
         }},
        {"backwards, ratio clamped to 0", "dextend", parab, "imax", "x", "-3", 3, "1", kDistUlps,
         [](int n, int l, double x) {
             const double w[] = {26 / 9.0, 19 / 9.0, 0};
             return P3{w[n - 1], tangent_max(x), double(l)};
         }},
        {"min edge", "dextend", parab, "imin", "x", "-3", 3, "1", kDistUlps,
         [](int n, int l, double x) {
             return P3{1.0 - n, tangent_min(x), double(l)};
         }},
        {"min edge, back over the network", "dextend", parab, "imin", "x", "3", 3, "2", kDistUlps,
         [](int n, int l, double x) {
             const double w[] = {10 / 9.0, 17 / 9.0, 4};
             return P3{w[n - 1], x * x, double(l)};
         }},
        {"one point lies at the distance", "dextend", parab, "imax", "x", "6", 1, "1", 0,
         [](int, int l, double) {
             return P3{9, 45, double(l)};
         }},
        // also where x does not advance either (line 2), so no ratio exists
        {"no distance: on the edge point", "dextend", no_dx, "imax", "x", "0", 2, "2", 0,
         [](int, int l, double) {
             return l == 1 ? P3{3, 9, 1} : P3{3, 3, 2};
         }},
        // x does not advance along line 2: ratio 0, prismatic, x = 3 + 3 (n/3)^3
        {"a line with no x step", "dextend", no_dx, "imax", "x", "3", 3, "1", kDistUlps,
         [](int n, int l, double x) {
             return l == 1 ? P3{3.0 + n, tangent_max(x), 1} : P3{3 + n * n * n / 9.0, 3, 2};
         }},
        {"arc length, edge step kept", "dextend", straight, "imax", "s", "3", 3, "1", 0,
         [](int n, int l, double) {
             return P3{3.0 + n, double(l), double(-l)};
         }},
        {"arc length, ratio 2", "dextend", straight, "imax", "s", "1.5", 3, "1", kDistUlps,
         [](int n, int l, double) {
             const double w[] = {34 / 9.0, 38 / 9.0, 4.5};
             return P3{w[n - 1], double(l), double(-l)};
         }},
        {"arc length, min edge", "dextend", straight, "imin", "s", "-3", 3, "1", kDistUlps,
         [](int n, int l, double) {
             return P3{1.0 - n, double(l), double(-l)};
         }},
        {"arc length, min edge back over the network", "dextend", straight, "imin", "s", "3", 3, "1", kDistUlps,
         [](int n, int l, double) {
             const double w[] = {10 / 9.0, 17 / 9.0, 4};
             return P3{w[n - 1], double(l), double(-l)};
         }},
        // an edge step of 1.5 times the mean step: ratio 1.5, far slope 0.75,
        // s(t) = 1.5 t - 0.75 t^2 + 0.25 t^3
        {"arc length, j max edge, ratio 1.5", "dextend", steps, "jmax", "s", "3", 3, "1", kDistUlps,
         [](int n, int l, double) {
             const double w[] = {3 + 23 / 18.0, 3 + 20 / 9.0, 6};
             return P3{w[n - 1], double(l), 0};
         }},
        {"arc length, no distance", "dextend", straight, "imax", "s", "0", 2, "1", 0,
         [](int, int l, double) { return P3{3, double(l), double(-l)}; }},
    };
    for (const Case& c : cases) check(c);
}

}  // namespace
}  // namespace gridedit_test
