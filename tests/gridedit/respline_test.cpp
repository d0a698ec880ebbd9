// respline: grid lines resampled along their arc length by the cluster
// function, with the count changed where whole rows can move.

#include "session.hpp"

#include <cmath>
#include <gtest/gtest.h>

namespace gridedit_test {
namespace {

std::string limit(int n) { return line(" cannot use ipnts > " + i5(n)); }

// The answers of one respline up to its last one; count < 0: not asked.
// The caller sets the counts the display shows next, then calls ok().
Dialogue& respline(Dialogue& d, const std::string& dir, int count, const std::vector<std::string>& degree)
{
    d.say("respline", ask(kDirQ)).say(dir, ask(count >= 0 ? kCountQ : kDegQ));
    if (count >= 0) d.say(std::to_string(count), ask(kDegQ));
    const std::string& deg = degree.at(0);
    if (deg == "1") return d.say(deg);
    d.say(deg, ask(deg == "2" ? kFirstQ : deg == "-2" ? kLastQ : kBothQ));
    return d.say(degree.at(1));
}

// Every network here is titled Keel.
std::optional<Points> run_on(const std::string& file, int imax, int jmax, const Steps& steps)
{
    return parse_net(edit_cleanly(file, "Keel", imax, jmax, steps));
}

// ---- double-precision references ----

using P3 = std::array<double, 3>;

// The cluster polynomial s(t) = c1 t + ... + cd t^d fixed by d conditions
// on its value or its first or second derivative.
struct Cond {
    int deriv;
    double t, value;
};

std::vector<double> cluster(int n, const std::vector<Cond>& conds)
{
    const int d = static_cast<int>(conds.size());
    std::vector<std::vector<double>> a(d, std::vector<double>(d + 1));
    for (int r = 0; r < d; ++r) {
        for (int m = 1; m <= d; ++m) {
            const Cond& c = conds[r];
            double f = c.deriv == 0 ? 1 : c.deriv == 1 ? m : m * (m - 1.0);
            a[r][m - 1] = m - c.deriv < 0 ? 0 : f * std::pow(c.t, m - c.deriv);
        }
        a[r][d] = conds[r].value;
    }
    for (int c = 0; c < d; ++c) {  // Gaussian elimination, partial pivoting
        int piv = c;
        for (int r = c + 1; r < d; ++r)
            if (std::fabs(a[r][c]) > std::fabs(a[piv][c])) piv = r;
        std::swap(a[c], a[piv]);
        for (int r = 0; r < d; ++r)
            if (r != c) {
                const double f = a[r][c] / a[c][c];
                for (int k = c; k <= d; ++k) a[r][k] -= f * a[c][k];
            }
    }
    std::vector<double> s(n);
    for (int k = 0; k < n; ++k) {
        const double t = static_cast<double>(k) / (n - 1);
        for (int m = 1; m <= d; ++m) s[k] += a[m - 1][d] / a[m - 1][m - 1] * std::pow(t, m);
    }
    return s;
}

const Cond kEnd{0, 1, 1};  // s(1) = 1

// Slope at s[0] of the parabola through three points of a table.
double parabola_slope(double s0, double s1, double s2, double c0, double c1, double c2)
{
    return c0 * (2 * s0 - s1 - s2) / ((s0 - s1) * (s0 - s2)) + c1 * (s0 - s2) / ((s1 - s0) * (s1 - s2)) +
           c2 * (s0 - s1) / ((s2 - s0) * (s2 - s1));
}

double parabola(const double* s, const double* c, double x)
{
    return c[0] * (x - s[1]) * (x - s[2]) / ((s[0] - s[1]) * (s[0] - s[2])) +
           c[1] * (x - s[0]) * (x - s[2]) / ((s[1] - s[0]) * (s[1] - s[2])) +
           c[2] * (x - s[0]) * (x - s[1]) / ((s[2] - s[0]) * (s[2] - s[1]));
}

// The cubic spline through (s, c) with the given end slopes, at x.
double clamped_spline(const std::vector<double>& s, const std::vector<double>& c, double slope0, double slope1,
                      double x)
{
    const int n = static_cast<int>(s.size());
    std::vector<double> h(n - 1), lo(n), di(n), up(n), rhs(n);
    for (int k = 0; k < n - 1; ++k) h[k] = s[k + 1] - s[k];
    auto d = [&](int k) { return (c[k + 1] - c[k]) / h[k]; };
    di[0] = 2 * h[0], up[0] = h[0], rhs[0] = 6 * (d(0) - slope0);
    for (int k = 1; k < n - 1; ++k) {
        lo[k] = h[k - 1], di[k] = 2 * (h[k - 1] + h[k]), up[k] = h[k];
        rhs[k] = 6 * (d(k) - d(k - 1));
    }
    lo[n - 1] = h[n - 2], di[n - 1] = 2 * h[n - 2], rhs[n - 1] = 6 * (slope1 - d(n - 2));
    for (int k = 1; k < n; ++k) {
        const double f = lo[k] / di[k - 1];
        di[k] -= f * up[k - 1];
        rhs[k] -= f * rhs[k - 1];
    }
    std::vector<double> m(n);
    m[n - 1] = rhs[n - 1] / di[n - 1];
    for (int k = n - 2; k >= 0; --k) m[k] = (rhs[k] - up[k] * m[k + 1]) / di[k];
    int k = 0;
    while (k < n - 2 && x > s[k + 1]) ++k;
    const double a = s[k + 1] - x, b = x - s[k];
    return m[k] * a * a * a / (6 * h[k]) + m[k + 1] * b * b * b / (6 * h[k]) + (c[k] / h[k] - m[k] * h[k] / 6) * a +
           (c[k + 1] / h[k] - m[k + 1] * h[k] / 6) * b;
}

// Single-precision arc lengths, curve fits and cluster polynomials on
// coordinates up to about 10 leave a few ulps of 10 (1e-6) in the result;
// a wrong spacing, fit or end slope is off by 1e-3 or more.
constexpr double kResampleTol = 4.0e-6;

void expect_point(const std::array<float, 3>& got, const P3& want, double tol = kResampleTol)
{
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], tol) << "coordinate " << c;
}

// ---- the dialogue ----

TEST(Respline, BackupChainsAndRefusedAnswers)
{
    const std::string start = net_file(4, 2, "Keel", [](int i, int j) { return point(i, j, i * j); });
    Dialogue d;
    load(d, "in.net", "Keel", 4, 2);
    d.say("respline", ask(kDirQ))
        .say("k", ask(kDirQ))
        .refused()
        .say("I", ask(kDirQ))
        .refused()
        .say("i", ask(kCountQ))
        .say("1", ask(kCountQ))
        .refused()
        .say("-3", ask(kCountQ))
        .refused()
        .say("x", ask(kCountQ))
        .refused()
        .say("999", ask(kDirQ))
        .say("j", ask(kCountQ))
        .say("3", ask(kDegQ));
    for (const char* deg : {"0", "-1", "-3", "-5", "6", "x"}) d.say(deg, ask(kDegQ)).refused();
    d.say("999", ask(kDirQ))  // the degree backs up to the direction, not the count
        .say("i", ask(kCountQ))
        .say("4", ask(kDegQ))
        .say("2", ask(kFirstQ))
        .say("-0.5", ask(kFirstQ))
        .refused()
        .say("999", ask(kDegQ))
        .say("-2", ask(kLastQ))
        .say("999", ask(kDegQ))
        .say("3", ask(kBothQ))
        .say("-1 1", ask(kBothQ))
        .refused()
        .say("1 -1", ask(kBothQ))
        .refused()
        .say("1 999", ask(kDegQ))  // either factor backs up
        .say("-4", ask(kBothQ))
        .say("999 1", ask(kDegQ))
        .say("5", ask(kBothQ))
        .say("999 999", ask(kDegQ))
        .say("4", ask(kBothQ))
        .say("a", ask(kBothQ))
        .refused()
        .say("999 0", ask(kDegQ))
        .say("999", ask(kDirQ))
        .say("backup")
        .again();
    save(d, "out.net");
    d.quit();

    expect_unchanged(d, start);
}

TEST(Respline, CountLimitLeavesRoomForThePointsBeyondTheSubblock)
{
    const std::string start = net_file(400, 1, "Keel", [](int i, int) { return pointf(static_cast<float>(i), 0, 0); });
    Dialogue d;
    load(d, "in.net", "Keel", 400, 1);
    set_block(d, 5, 14, 1, 1);  // 10 points, every j
    d.say("respline", ask(kDirQ))
        .say("i", ask(kCountQ))
        .say("92", limit(481 - 390) + ask(kCountQ))
        .refused()
        .say("2147483647", limit(91) + ask(kCountQ))  // its sum with 390 does not fit an integer
        .refused()
        .say("999", ask(kDirQ))                       // 999 is backup, not a count above the limit
        .say("i", ask(kCountQ))
        .say("91", ask(kDegQ))
        .say("1");
    d.net.imax = 481;
    d.net.i2 = 95;
    d.ok();
    clear_block(d);
    d.say("respline", ask(kDirQ))
        .say("i", ask(kCountQ))
        .say("482", limit(481) + ask(kCountQ))
        .refused()
        .say("481", ask(kDegQ))
        .say("1")
        .ok();
    d.quit();

    const Session s = run_with(d, start);
    expect_end(s.outcome, d);
    EXPECT_EQ(s.outcome.status, 1);
}

// ---- distributions on straight lines ----

// i lines along u at arc lengths 0, 3, 9, 12; j lines along v at 0, 3, 9.
// Every chord is a whole number, so the arc lengths are exact.
const int kS[] = {0, 3, 9, 12};
const int kT[] = {0, 3, 9};
std::array<int, 3> flat(int i, int j)
{
    const int s = kS[i - 1] / 3, t = kT[j - 1] / 3;
    return {1 + 2 * s + t, 2 + s + 2 * t, 3 - 2 * s + 2 * t};  // u = (2, 1, -2)/3, v = (1, 2, 2)/3
}

TEST(Respline, StraightLinesTakeTheClusterDistribution)
{
    struct Case {
        const char* what;
        std::string dir;
        int ni, nj, count;
        std::vector<std::string> degree;
        std::vector<Cond> conds;
    };
    const Case cases[] = {
        {"even, more points", "i", 4, 3, 7, {"1"}, {kEnd}},
        {"even, fewer points", "i", 4, 3, 3, {"1"}, {kEnd}},
        {"first spacing", "i", 4, 3, 6, {"2", "0.5"}, {kEnd, {1, 0, 0.5}}},
        {"last spacing: the mirror image", "i", 4, 3, 6, {"-2", "0.5"}, {kEnd, {1, 1, 0.5}}},
        {"both spacings, one of them 0", "i", 4, 3, 5, {"3", "0 1.5"}, {kEnd, {1, 0, 0}, {1, 1, 1.5}}},
        {"quartic, first curvature zero", "i", 4, 3, 8, {"4", "0.5 2"}, {kEnd, {1, 0, 0.5}, {1, 1, 2}, {2, 0, 0}}},
        {"quartic, last curvature zero", "i", 4, 3, 8, {"-4", "2 0.5"}, {kEnd, {1, 0, 2}, {1, 1, 0.5}, {2, 1, 0}}},
        {"quintic", "i", 4, 3, 9, {"5", "0.5 0.5"}, {kEnd, {1, 0, 0.5}, {1, 1, 0.5}, {2, 0, 0}, {2, 1, 0}}},
        {"lines of three points", "j", 4, 3, 5, {"3", "0.5 1.5"}, {kEnd, {1, 0, 0.5}, {1, 1, 1.5}}},
        {"lines of two points", "j", 4, 2, 4, {"2", "1.5"}, {kEnd, {1, 0, 1.5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool along_i = c.dir == "i";
        auto got = run_on(net_file(c.ni, c.nj, "Keel",
                                   [](int i, int j) {
                                       auto p = flat(i, j);
                                       return point(p[0], p[1], p[2]);
                                   }),
                          c.ni, c.nj, [&](Dialogue& d) {
                              respline(d, c.dir, c.count, c.degree);
                              (along_i ? d.net.imax : d.net.jmax) = c.count;
                              d.ok();
                          });
        ASSERT_TRUE(got);
        const int ni = along_i ? c.count : c.ni, nj = along_i ? c.nj : c.count;
        ASSERT_EQ(got->imax, ni);
        ASSERT_EQ(got->jmax, nj);
        const std::vector<double> sigma = cluster(c.count, c.conds);
        for (int j = 1; j <= nj; ++j)
            for (int i = 1; i <= ni; ++i) {
                SCOPED_TRACE(testing::Message() << "point " << i << "," << j);
                // from the line's first point to its last
                const auto a = along_i ? flat(1, j) : flat(i, 1);
                const auto b = along_i ? flat(c.ni, j) : flat(i, c.nj);
                const double f = sigma[(along_i ? i : j) - 1];
                expect_point(got->at(i, j),
                             {a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1]), a[2] + f * (b[2] - a[2])});
            }
    }
}

// ---- curved lines: the fit by the number of points ----

constexpr double kR = 4.0;
P3 on_circle(double theta, double z) { return {1 + kR * std::cos(theta), -2 + kR * std::sin(theta), z}; }

std::string circle_file(const std::vector<std::vector<double>>& lines)
{
    const int ni = static_cast<int>(lines[0].size()), nj = static_cast<int>(lines.size());
    return net_file(ni, nj, "Keel", [&](int i, int j) {
        P3 p = on_circle(lines[j - 1][i - 1], j);
        return pointf(static_cast<float>(p[0]), static_cast<float>(p[1]), static_cast<float>(p[2]));
    });
}

// The expected points of a circle line through distinct angles: the arc
// lengths are those of the circle, the fit a spline (4 or more points) or
// the mean of the parabola and the chord (3 points).
std::vector<P3> resampled(const std::vector<double>& theta, double z, const std::vector<double>& sigma)
{
    const int n = static_cast<int>(theta.size());
    std::vector<double> s(n);
    std::vector<std::vector<double>> c(2, std::vector<double>(n));
    for (int k = 0; k < n; ++k) {
        s[k] = kR * (theta[k] - theta[0]);
        P3 p = on_circle(theta[k], z);
        c[0][k] = p[0], c[1][k] = p[1];
    }
    std::vector<P3> out;
    for (double f : sigma) {
        const double x = f * s[n - 1];
        P3 p{0, 0, z};
        for (int a = 0; a < 2; ++a) {
            const std::vector<double>& v = c[a];
            if (n == 3) {
                const int j = x < s[1] ? 0 : 1;
                const double chord = v[j] + (v[j + 1] - v[j]) * (x - s[j]) / (s[j + 1] - s[j]);
                p[a] = (parabola(s.data(), v.data(), x) + chord) / 2;
            } else {
                const double d0 = parabola_slope(s[0], s[1], s[2], v[0], v[1], v[2]);
                const double d1 = parabola_slope(s[n - 1], s[n - 2], s[n - 3], v[n - 1], v[n - 2], v[n - 3]);
                p[a] = clamped_spline(s, v, d0, d1, x);
            }
        }
        out.push_back(p);
    }
    return out;
}

TEST(Respline, CurvedLinesBySplineOrLocalInterpolationRepeatsDropped)
{
    const std::vector<double> four = {0.1, 0.5, 0.8, 1.4};
    struct Case {
        const char* what;
        std::vector<std::vector<double>> lines;  // the angles of each line's points
        std::vector<std::vector<double>> fit;    // the distinct ones the result follows
        int count;
        std::vector<std::string> degree;
        std::vector<Cond> conds;
    };
    const Case cases[] = {
        {"spline; repeated last, first and inner points dropped",
         {{0.1, 0.5, 0.8, 1.1, 1.4}, {0.1, 0.5, 0.8, 1.4, 1.4}, {0.1, 0.1, 0.5, 0.8, 1.4}, {0.1, 0.5, 0.5, 0.8, 1.4}},
         {{0.1, 0.5, 0.8, 1.1, 1.4}, four, four, four},
         7,
         {"3", "0.5 1.5"},
         {kEnd, {1, 0, 0.5}, {1, 1, 1.5}}},
        {"four points, three once a repeated end is dropped",
         {{0.2, 0.6, 0.9, 1.3}, {0.2, 0.9, 1.3, 1.3}, {0.2, 0.2, 0.9, 1.3}},
         {{0.2, 0.6, 0.9, 1.3}, {0.2, 0.9, 1.3}, {0.2, 0.9, 1.3}},
         6,
         {"1"},
         {kEnd}},
        {"three points, two once a repeated end is dropped",
         {{0.2, 0.9, 1.3}, {0.2, 0.9, 0.9}},
         {{0.2, 0.9, 1.3}, {0.2, 0.9}},
         5,
         {"2", "0.5"},
         {kEnd, {1, 0, 0.5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int ni = static_cast<int>(c.lines[0].size()), nj = static_cast<int>(c.lines.size());
        auto got = run_on(circle_file(c.lines), ni, nj, [&](Dialogue& d) {
            respline(d, "i", c.count, c.degree);
            d.net.imax = c.count;
            d.ok();
        });
        ASSERT_TRUE(got);
        ASSERT_EQ(got->imax, c.count);
        const std::vector<double> sigma = cluster(c.count, c.conds);
        for (int j = 1; j <= nj; ++j) {
            const std::vector<double>& th = c.fit[j - 1];
            std::vector<P3> want;
            if (th.size() == 2) {  // two points left: the chord
                const P3 a = on_circle(th[0], j), b = on_circle(th[1], j);
                for (double f : sigma)
                    want.push_back({a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1]), a[2] + f * (b[2] - a[2])});
            } else {
                want = resampled(th, j, sigma);
            }
            for (int i = 1; i <= c.count; ++i) {
                SCOPED_TRACE(testing::Message() << "point " << i << "," << j);
                expect_point(got->at(i, j), want[i - 1]);
            }
        }
    }
}

TEST(Respline, SplineKeepsTheEndPointsExactly)
{
    const std::vector<std::vector<double>> lines = {{0.1, 0.5, 0.8, 1.1, 1.4}, {0.3, 0.4, 0.8, 1.0, 1.5}};
    const std::string file = circle_file(lines);
    auto before = parse_net(file);
    auto got = run_on(file, 5, 2, [](Dialogue& d) {
        respline(d, "i", 19, {"1"});
        d.net.imax = 19;
        d.ok();
    });
    ASSERT_TRUE(got && before);
    for (int j = 1; j <= 2; ++j) {
        EXPECT_EQ(got->at(1, j), before->at(1, j));
        EXPECT_EQ(got->at(19, j), before->at(5, j));
    }
}

// ---- counts, subblocks and the points beyond them ----

TEST(Respline, CountChangeMovesThePointsBeyondTheSubblock)
{
    // imax = 8, subblock i = 3..5 over every j; the lines are straight, z = i j
    // marks every point. The "j" cases run the same on the transposed network.
    struct Case {
        std::string dir;
        int count, newmax, newi2;
    };
    const Case cases[] = {{"i", 6, 11, 8}, {"i", 2, 7, 4}, {"j", 6, 11, 8}, {"j", 2, 7, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dir + " to " + std::to_string(c.count));
        const bool along_i = c.dir == "i";
        // m along the lines, l across them
        auto mark = [](int m, int l) { return std::array<int, 3>{m, l, m * l}; };
        auto rec = [&](int i, int j) {
            auto p = along_i ? mark(i, j) : mark(j, i);
            return point(p[0], p[1], p[2]);
        };
        const int ni = along_i ? 8 : 2, nj = along_i ? 2 : 8;
        auto got = run_on(net_file(ni, nj, "Keel", rec), ni, nj, [&](Dialogue& d) {
            if (along_i)
                set_block(d, 3, 5, 1, 2);
            else
                set_block(d, 1, 2, 3, 5);
            respline(d, c.dir, c.count, {"1"});
            (along_i ? d.net.imax : d.net.jmax) = c.newmax;
            (along_i ? d.net.i2 : d.net.j2) = c.newi2;
            d.ok();
        });
        ASSERT_TRUE(got);
        ASSERT_EQ(along_i ? got->imax : got->jmax, c.newmax);
        for (int l = 1; l <= 2; ++l)
            for (int m = 1; m <= c.newmax; ++m) {
                SCOPED_TRACE(testing::Message() << "point " << m << " of line " << l);
                const auto& p = along_i ? got->at(m, l) : got->at(l, m);
                auto exact = [&](int from) {
                    auto w = mark(from, l);
                    EXPECT_EQ(p, (std::array<float, 3>{float(w[0]), float(w[1]), float(w[2])}));
                };
                if (m < 3) {
                    exact(m);
                } else if (m > c.newi2) {
                    exact(m - c.count + 3);  // moved along by the change of count
                } else {                     // evenly from the old 3 to the old 5
                    const double q = 3 + 2.0 * (m - 3) / (c.count - 1);
                    expect_point(p, {q, double(l), q * l});
                }
            }
    }
}

TEST(Respline, CountAskedOnlyWhereWholeRowsCanMove)
{
    const std::string start = net_file(4, 2, "Keel", [](int i, int j) { return point(i, j, i * j); });
    // not across every j: the lines of the subblock are only redistributed
    auto got = run_on(start, 4, 2, [](Dialogue& d) {
        set_block(d, 1, 4, 2, 2);
        respline(d, "i", -1, {"2", "0.5"}).ok();
    });
    ASSERT_TRUE(got);
    EXPECT_EQ(got->imax, 4);
    const std::vector<double> sigma = cluster(4, {kEnd, {1, 0, 0.5}});
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got->at(i, 1), (std::array<float, 3>{float(i), 1, float(i)}));
        const double x = 1 + 3 * sigma[i - 1];
        expect_point(got->at(i, 2), {x, 2, 2 * x});
    }

    // across every j but beyond the network along the lines (setblock only
    // checks 481): redistributed, counts and bounds stay
    got = run_on(start, 4, 2, [](Dialogue& d) {
        set_block(d, 2, 6, 1, 2);
        respline(d, "i", -1, {"1"}).ok();
        d.say("respline", ask(kDirQ)).say("j", ask(kDegQ)).say("999", ask(kDirQ)).say("backup").again();
    });
    ASSERT_TRUE(got);
    EXPECT_EQ(got->imax, 4);
    EXPECT_EQ(got->jmax, 2);
    for (int j = 1; j <= 2; ++j) EXPECT_EQ(got->at(1, j), (std::array<float, 3>{1, float(j), float(j)}));
}

TEST(Respline, DegenerateLinesAreCopiedIntoTheNewPoints)
{
    struct Case {
        const char* what;
        int ni;
        std::string file;
        int count;
    };
    const Case cases[] = {
        {"lines of one point", 1,
         net_file(1, 2, "Keel", [](int, int j) { return j == 1 ? point(7, 7, 7) : point(1, 2, 3); }), 3},
        {"coincident points beside a straight line", 3,
         net_file(3, 2, "Keel", [](int i, int j) { return j == 1 ? point(7, 7, 7) : point(2 * i, 0, 0); }), 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto got = run_on(c.file, c.ni, 2, [&](Dialogue& d) {
            respline(d, "i", c.count, {"1"});
            d.net.imax = c.count;
            d.ok();
        });
        ASSERT_TRUE(got);
        ASSERT_EQ(got->imax, c.count);
        for (int i = 1; i <= c.count; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(got->at(i, 1), (std::array<float, 3>{7, 7, 7}));
            if (c.ni == 1)
                EXPECT_EQ(got->at(i, 2), (std::array<float, 3>{1, 2, 3}));
            else
                expect_point(got->at(i, 2), {2 + 4.0 * (i - 1) / (c.count - 1), 0, 0});
        }
    }
}

}  // namespace
}  // namespace gridedit_test
