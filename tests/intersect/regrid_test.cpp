// redoi and redojt: lines moved to their cuts, eta lines laid through stations.
#include "intersect/regrid.hpp"

#include "support.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace intersect_test {
namespace {

using intersect::Variant;

// ------------------------------------------------------------------ redoi

// Lines along x (y = line index, z = 0) at the x positions given.
struct Lines {
    int m, n;
    Net net;
    std::vector<float> w = std::vector<float>(std::size_t(8 * m + 8));

    Lines(const std::vector<float>& xs, int n_) : m(int(xs.size())), n(n_), net(m, n_) {
        for (int j = 1; j <= n; ++j)
            for (int i = 1; i <= m; ++i) net.set(i, j, {xs[std::size_t(i - 1)], float(j), 0});
    }

    void redoi(const std::vector<int>& flags, std::vector<float> xipos, char spec, const std::vector<int>& brk,
               Variant v) {
        auto vec = [&](int k) { return geom::Vec(w.data() + k * m); };
        intersect::redoi(net.gx(), net.gy(), net.gz(), m, n, vec(0), vec(1), vec(2), vec(3), vec(4), vec(5), vec(6),
                         vec(7), flags, xipos.data(), spec, brk, int(brk.size()), v);
    }

    std::vector<float> xs(int j) const {
        std::vector<float> r;
        for (int i = 1; i <= m; ++i) r.push_back(net.at(i, j)[0]);
        return r;
    }
};

void expect_near(const std::vector<float>& got, const std::vector<float>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], want[k], 2e-6f) << "point " << k + 1;
}

// arc lengths 0, 1, 3, 4, 6
const std::vector<float> kXs{0, 1, 3, 4, 6};

TEST(Redoi, EndingAtTheLastPointReproducesTheLine) {
    // a bent line: its arc lengths are not its x
    Net bent(5, 1);
    const P3 pts[] = {{0, 0, 0}, {1, 0, 0}, {3, 0, 0}, {4, 1, 0}, {6, 1, 2}};
    for (int i = 1; i <= 5; ++i) bent.set(i, 1, pts[i - 1]);
    const Net before = bent;
    std::vector<float> w(40);
    auto vec = [&](int k) { return geom::Vec(w.data() + k * 5); };
    float p = 5.0f;
    for (Variant v : {Variant::foil, Variant::keel}) {
        intersect::redoi(bent.gx(), bent.gy(), bent.gz(), 5, 1, vec(0), vec(1), vec(2), vec(3), vec(4), vec(5), vec(6),
                         vec(7), std::vector<int>{1}, &p, '-', std::vector<int>{1, 5}, 2, v);
        for (int i = 1; i <= 5; ++i)
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(bent.at(i, 1)[c], before.at(i, 1)[c], 2e-6f);
    }
}

TEST(Redoi, EndingInsideTheLastSegmentSpreadsThePointsByArcLength) {
    Lines l(kXs, 1);
    l.redoi({1}, {4.5f}, '-', {1, 5}, Variant::foil);
    // the cut at arc 5: every arc position scaled by 5/6
    expect_near(l.xs(1), {0, 5.0f / 6, 2.5f, 10.0f / 3, 5});
}

TEST(Redoi, TheVariantsAnchorAtDifferentBreakpoints) {
    struct Case {
        char spec;
        float p;
        Variant v;
        std::vector<float> want;
    };
    const Case cases[] = {
        // ends at arc 5: foil keeps points 1..3 (the breakpoint below), keel re-spaces from point 2
        {'-', 4.5f, Variant::foil, {0, 1, 3, 3 + 2.0f / 3, 5}},
        {'-', 4.5f, Variant::keel, {0, 5.0f / 6, 2.5f, 10.0f / 3, 5}},
        // starts at arc 0.5: foil keeps points 3..5 (the breakpoint above), keel re-spaces up to point 4
        {'+', 1.5f, Variant::foil, {0.5f, 3 - 2.5f * 2 / 3, 3, 4, 6}},
        {'+', 1.5f, Variant::keel, {0.5f, 6 - 5.5f * 5 / 6, 6 - 5.5f / 2, 6 - 5.5f / 3, 6}},
    };
    for (const Case& c : cases) {
        Lines l(kXs, 1);
        l.redoi({1}, {c.p}, c.spec, {1, 3, 5}, c.v);
        SCOPED_TRACE(std::string(1, c.spec) + (c.v == Variant::foil ? " foil" : " keel"));
        expect_near(l.xs(1), c.want);
    }
}

TEST(Redoi, PositionsBeyondTheEndsProlongTheEndSegments) {
    Lines l(kXs, 2);
    l.redoi({1, 1}, {5.5f, 1e30f}, '-', {1, 5}, Variant::keel);
    expect_near(l.xs(1), {0, 7.0f / 6, 3.5f, 14.0f / 3, 7});   // the cut at arc 7
    EXPECT_EQ(l.xs(2)[0], 0.0f);
    EXPECT_GT(l.xs(2)[4], 1e30f);   // huge but finite: no integer overflow on the way
    Lines b(kXs, 1);
    b.redoi({1}, {-1e30f}, '+', {1, 5}, Variant::foil);
    EXPECT_LT(b.xs(1)[0], -1e29f);
    EXPECT_EQ(b.xs(1)[4], 6.0f);
}

TEST(Redoi, LinesThatCannotBeMovedStayAsTheyAre) {
    const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
    Lines l(kXs, 4);
    l.redoi({0, 1, 1, 1}, {4.5f, nan, inf, -inf}, '-', {1, 5}, Variant::foil);
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(l.xs(j), kXs) << "line " << j;
    l.redoi({1, 1, 1, 1}, {4.5f, 4.5f, 4.5f, 4.5f}, 'x', {1, 5}, Variant::foil);
    for (int j = 1; j <= 4; ++j) EXPECT_EQ(l.xs(j), kXs) << "spec x, line " << j;
    Lines one({2.0f}, 1);
    one.redoi({1}, {0.5f}, '-', {1, 1}, Variant::keel);
    EXPECT_EQ(one.xs(1), std::vector<float>{2.0f});
}

// ----------------------------------------------------------------- redojt

// A network of 2 columns (x = 1, 2) and n eta lines at y = k², so that the
// arc length along a column is y - 1.
struct Stations {
    int m = 2, n, nsta;
    Net net;
    std::vector<int> flag, flo;
    std::vector<float> xi, eta, xio;
    Net out;
    int mo = -1, no = -1;

    Stations(int n_, std::vector<int> f, std::vector<float> x, std::vector<float> e)
        : n(n_), nsta(int(f.size())), net(2, n_, [](int i, int k) { return P3{float(i), float(k * k), 0}; }),
          flag(std::move(f)), flo(std::size_t(n_ + nsta), -9), xi(std::move(x)), eta(std::move(e)),
          xio(std::size_t(n_ + nsta), -9.0f), out(2, n_ + nsta) {}

    void run(Variant v) {
        const int cap = n + nsta;
        std::vector<float> w(std::size_t(5 * n + 5 * cap + 2));
        auto a = [&](int k) { return geom::Vec(w.data() + k * n); };
        auto b = [&](int k) { return geom::Vec(w.data() + 5 * n + k * cap); };
        intersect::redojt(net.gx(), net.gy(), net.gz(), m, n, a(0), a(1), a(2), a(3), a(4), b(0), b(1), b(2), b(3),
                          b(4), flag, xi.data(), eta.data(), nsta, out.gx(), out.gy(), out.gz(), mo, no, flo,
                          xio.data(), v);
    }

    // y of column i of the new lines
    std::vector<float> ys(int i) const {
        std::vector<float> r;
        for (int k = 1; k <= no; ++k) r.push_back(out.at(i, k)[1]);
        return r;
    }
    std::vector<int> flags_out() const { return {flo.begin(), flo.begin() + no}; }
    std::vector<float> xi_out() const { return {xio.begin(), xio.begin() + no}; }
};

TEST(Redojt, TwoStationsBetweenFiveLines) {
    for (Variant v : {Variant::foil, Variant::keel}) {
        Stations s(5, {1, -1}, {0.7f, 0.2f}, {3.5f, 2.5f});
        s.run(v);
        EXPECT_EQ(s.mo, 2);
        ASSERT_EQ(s.no, 6);
        // lines 1, 2, the stations at 2.5 and 3.5, lines 4, 5: line 3 is gone
        for (int i = 1; i <= 2; ++i) {
            expect_near(s.ys(i), {1, 4, 6.5f, 12.5f, 16, 25});
            EXPECT_EQ(s.out.at(i, 3)[0], float(i));
        }
        // the stations sorted in place
        EXPECT_EQ(s.flag, (std::vector<int>{-1, 1}));
        EXPECT_EQ(s.xi, (std::vector<float>{0.2f, 0.7f}));
        EXPECT_EQ(s.eta, (std::vector<float>{2.5f, 3.5f}));
        if (v == Variant::foil) {
            // the kept lines take the lowest and the highest station's
            EXPECT_EQ(s.flags_out(), (std::vector<int>{-1, -1, -1, 1, 1, 1}));
            EXPECT_EQ(s.xi_out(), (std::vector<float>{0.2f, 0.2f, 0.2f, 0.7f, 0.7f, 0.7f}));
        } else {
            EXPECT_EQ(s.flags_out(), (std::vector<int>{0, 0, -1, 1, 0, 0}));
            EXPECT_EQ(s.xi_out(), (std::vector<float>{0, 0, 0.2f, 0.7f, 0, 0}));
        }
    }
}

TEST(Redojt, OnATieTheFirstStationMetGivesTheKeptLinesTheirFlag) {
    Stations s(5, {1, 2, 3, 4}, {0.1f, 0.2f, 0.3f, 0.4f}, {3.0f, 2.0f, 3.0f, 2.0f});
    s.run(Variant::foil);
    ASSERT_EQ(s.no, 7);   // line 1, four stations, lines 4 and 5
    EXPECT_EQ(s.flags_out(), (std::vector<int>{2, 2, 4, 3, 1, 1, 1}));   // the sort is not stable
    expect_near(s.ys(1), {1, 4, 4, 9, 9, 16, 25});
}

TEST(Redojt, UnflaggedStationsTakeNoPartInTheRange) {
    // an unflagged station at 1.5 must not keep lines 2 and 3 above the station at 3.5
    Stations s(5, {0, 1}, {0.9f, 0.4f}, {1.5f, 3.5f});
    s.run(Variant::foil);
    ASSERT_EQ(s.no, 6);
    expect_near(s.ys(2), {1, 4, 9, 12.5f, 16, 25});
    EXPECT_EQ(s.flags_out(), (std::vector<int>{1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(s.xi_out(), (std::vector<float>{0.4f, 0.4f, 0.4f, 0.4f, 0.4f, 0.4f}));
}

TEST(Redojt, WithoutAFlaggedStationTheNetworkIsCopied) {
    Stations s(5, {0, 0}, {0.3f, 0.6f}, {2.5f, 7.0f});
    s.run(Variant::foil);
    EXPECT_EQ(s.mo, 2);
    ASSERT_EQ(s.no, 5);
    for (int k = 1; k <= 5; ++k)
        for (int i = 1; i <= 2; ++i) EXPECT_EQ(s.out.at(i, k), s.net.at(i, k));
    // each line its station's flag and position as far as there are stations
    EXPECT_EQ(s.flags_out(), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(s.xi_out(), (std::vector<float>{0.3f, 0.6f, 0, 0, 0}));

    Stations none(3, {}, {}, {});
    none.run(Variant::keel);
    ASSERT_EQ(none.no, 3);
    EXPECT_EQ(none.xi_out(), (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(none.out.at(2, 3), none.net.at(2, 3));
}

}  // namespace
}  // namespace intersect_test
