// appgrid's new bulb: the output checks and size lines, the boundary
// layout's prints, the smoothing's iteration lines and the bulb network,
// on the demo's bulb, keel and wing.

#include "program.hpp"

#include <algorithm>
#include <map>

namespace appgrid_program_test {
namespace {

constexpr double kTol = 1e-6;   // what 8 written digits keep of values about 1

Outcome run(const Box& box, const Answers& a) {
    box.copy_examples();
    return box.run(a.text());
}

std::vector<std::string> out_lines(const Outcome& o) { return test_support::split_lines(o.out); }

std::size_t index_of(const std::vector<std::string>& l, const std::string& line, std::size_t from = 0) {
    const auto it = std::find(l.begin() + static_cast<std::ptrdiff_t>(from), l.end(), line);
    return static_cast<std::size_t>(it - l.begin());
}

// The nth line (from 0) that begins with the prefix; l.size() when none.
std::size_t find_prefix(const std::vector<std::string>& l, const std::string& prefix, std::size_t nth = 0) {
    for (std::size_t k = 0; k < l.size(); ++k)
        if (l[k].rfind(prefix, 0) == 0 && nth-- == 0) return k;
    return l.size();
}

// ------------------------------------------------------------ the old bulb

const Net& demo_bulb() {
    static const Net b = read_network(example("bulb.net"));
    return b;
}

P3 lerp(const P3& a, const P3& b, double t) {
    return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z)};
}
double dist(const P3& a, const P3& b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

// Chord lengths along the points k = 1..n of a line.
std::vector<double> chords(const std::function<P3(int)>& p, int n) {
    std::vector<double> s{0.0};
    for (int k = 2; k <= n; ++k) s.push_back(s.back() + dist(p(k - 1), p(k)));
    return s;
}

// The demo bulb's columns stand at fixed x: the cell and weight of an x.
std::pair<int, double> cell_of(const Net& b, double x) {
    int i = 1;
    while (i < b.ni - 1 && x > b.at(i + 1, 1).x) ++i;
    return {i, (x - b.at(i, 1).x) / (b.at(i + 1, 1).x - b.at(i, 1).x)};
}

// The point of row j (an old bulb row, as a polyline) at p's x.
P3 on_row(const Net& b, int j, const P3& p) {
    const auto [i, a] = cell_of(b, p.x);
    return lerp(b.at(i, j), b.at(i + 1, j), a);
}

// Whether p lies on the old bulb's bilinear surface.
bool on_surface(const Net& b, const P3& p) {
    for (int j = 1; j < b.nj; ++j) {
        const P3 lo = on_row(b, j, p), hi = on_row(b, j + 1, p);
        const double dy = hi.y - lo.y, dz = hi.z - lo.z, len2 = dy * dy + dz * dz;
        const double t = len2 > 0 ? ((p.y - lo.y) * dy + (p.z - lo.z) * dz) / len2 : 0.0;
        if (t >= -kTol && t <= 1 + kTol && dist(lerp(lo, hi, t), p) <= kTol) return true;
    }
    return false;
}

// Whether p lies on column i of the old bulb.
bool on_column(const Net& b, int i, const P3& p) {
    for (int j = 1; j < b.nj; ++j) {
        const P3 lo = b.at(i, j), hi = b.at(i, j + 1);
        const double len2 = std::pow(dist(lo, hi), 2);
        const double t = len2 > 0 ? ((p.x - lo.x) * (hi.x - lo.x) + (p.y - lo.y) * (hi.y - lo.y) +
                                     (p.z - lo.z) * (hi.z - lo.z)) / len2
                                  : 0.0;
        if (t >= -kTol && t <= 1 + kTol && dist(lerp(lo, hi, t), p) <= kTol) return true;
    }
    return false;
}

// ------------------------------------------------------------ tests

TEST(AppgridBulb, OutputChecksComeAfterTheTrimmedNetworks) {
    struct Case {
        std::string sizes, keel_edges, wing_edges, message;
    };
    const std::string fits = "30 10";
    const std::vector<Case> cases = {
        {"31 10", "10 18", "18 26", " error: output array exceeds array parameters"},
        {"30 11", "10 18", "18 26", " error: output array exceeds array parameters"},
        {"3 9", "1 2", "2 3", " error ... output array size below minimum(s)"},
        {"30 4", "10 18", "18 26", " error ... output array size below minimum(s)"},
        {fits, "0 18", "18 26", " error ... keel edge columns must satisfy 1 <= ikle < ikte <= imo"},
        {fits, "18 18", "18 26", " error ... keel edge columns must satisfy 1 <= ikle < ikte <= imo"},
        {fits, "10 31", "18 26", " error ... keel edge columns must satisfy 1 <= ikle < ikte <= imo"},
        {fits, "10 18", "26 18", " error ... wing edge columns must satisfy 1 <= iwle < iwte <= imo"},
        {fits, "10 18", "18 31", " error ... wing edge columns must satisfy 1 <= iwle < iwte <= imo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sizes + " / " + c.keel_edges + " / " + c.wing_edges);
        Box box;
        Answers a;
        a.sizes = c.sizes, a.keel_edges = c.keel_edges, a.wing_edges = c.wing_edges;
        const Outcome o = run(box, a);
        EXPECT_EQ(o.status, 1) << o.err;
        const std::vector<std::string> l = out_lines(o);
        ASSERT_EQ(l.size(), 12u + 9 + 17 + 17 + 1);   // questions, the three tables, the message
        EXPECT_EQ(l.back(), c.message);
        EXPECT_TRUE(box.has("keel-out.net"));
        EXPECT_TRUE(box.has("wing-out.net"));
        EXPECT_FALSE(box.has("bulb-out.net"));
    }
}

// The layout refuses an appendage edge that its fore and aft segments
// cannot reach, after printing the edges' positions.
TEST(AppgridBulb, LayoutRefusesEdgesOutsideTheLine) {
    std::string all_at_nose = example("foilcut.out");
    for (int k = 1; k <= 17; ++k) all_at_nose = with_field(all_at_nose, k, 6, 1.0);
    struct Case {
        const char* what;
        std::string keelcut, foilcut, keel_edges, last_print, message;
    };
    const std::string keelcut = example("keelcut.out"), foilcut = example("foilcut.out");
    const std::vector<Case> cases = {
        {"keel le at the nose", with_field(keelcut, 1, 6, 1.0), foilcut, "10 18", " skte=",
         " error ... keel le not aft of bulb fore end"},
        {"keel te at the tail", with_field(keelcut, 9, 6, 17.0), foilcut, "10 18", " skte=",
         " error ... keel te not forward of bulb aft end"},
        {"keel backwards", with_field(with_field(keelcut, 1, 6, 10.6), 9, 6, 5.8), foilcut, "10 18", " skte=",
         " error ... keel te not aft of keel le on bulb"},
        {"wing le at the nose", keelcut, all_at_nose, "10 18", " vwte=",
         " error ... wing le not aft of bulb fore end"},
        {"wing te at the tail", keelcut, with_field(with_field(foilcut, 1, 6, 17.0), 17, 6, 17.0), "10 18", " vwte=",
         " error ... wing te not forward of bulb aft end"},
        {"keel le at the nose and column 1", with_field(keelcut, 1, 6, 1.0), foilcut, "1 18", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Box box;
        box.copy_examples();
        box.write("keelcut.out", c.keelcut);
        box.write("foilcut.out", c.foilcut);
        Answers a;
        a.keel_edges = c.keel_edges;
        const Outcome o = box.run(a.text());
        EXPECT_EQ(o.status, c.message.empty() ? 0 : 1) << o.err;
        EXPECT_TRUE(box.has("keel-out.net"));
        EXPECT_TRUE(box.has("wing-out.net"));
        EXPECT_EQ(box.has("bulb-out.net"), c.message.empty());
        if (c.message.empty()) continue;
        const std::vector<std::string> l = out_lines(o);
        ASSERT_GE(l.size(), 2u);
        EXPECT_EQ(l.back(), c.message);
        EXPECT_EQ(l[l.size() - 2].rfind(c.last_print, 0), 0u) << l[l.size() - 2];
    }
}

// What the layout prints, line by line: a label for "(a,e16.8)" lines and
// headings, "P" for a line's points, "#k" for a listing line of entry k.
std::vector<std::string> shapes(const std::vector<std::string>& l, std::size_t from, std::size_t to) {
    std::vector<std::string> s;
    for (std::size_t k = from; k < to; ++k) {
        const std::string& line = l[k];
        if (line.find('=') != std::string::npos)
            s.push_back(line.substr(0, line.find('=') + 1));
        else if (line.rfind(" final bulb", 0) == 0)
            s.push_back(line);
        else if (line.size() == 49)
            s.push_back("P");
        else
            s.push_back("#" + std::to_string(std::stoi(line.substr(1, 5))));
    }
    return s;
}

std::vector<std::string> expected_shapes(bool keel, bool wing) {
    std::vector<std::string> s;
    auto add = [&s](std::initializer_list<std::string> l) { s.insert(s.end(), l); };
    auto points = [&s] { s.insert(s.end(), 17, "P"); };
    auto listing = [&s](const std::string& heading, int from, int to) {
        s.push_back(heading);
        for (int k = from; k <= to; ++k) s.push_back("#" + std::to_string(k));
    };
    add({" stcl="});
    if (keel) {
        points();
        add({" uout(1)=", " uout(2)=", " skle=", " skte="});
        listing(" final bulb tcl", 1, 30);
    }
    add({" smhb="});
    if (wing) {
        points();
        add({" uout(1)=", " uout(2)=", " swle=", " swte=", " vwle=", " vwte="});
        listing(" final bulb mhb", 1, 30);
    }
    add({" sfor="});
    listing(" final bulb fore", 1, 5);
    add({" saft="});
    listing(" final bulb aft", 1, 5);
    if (wing) listing(" final bulb mhb", 1, 30);
    add({" sbcl="});
    listing(" final bulb bcl", 1, 30);
    add({" sfor="});
    listing(" final bulb fore", 5, 9);
    add({" saft="});
    listing(" final bulb aft", 5, 9);
    return s;
}

TEST(AppgridBulb, LayoutPrintsEachBoundaryInTurn) {
    struct Case {
        bool keel, wing;
    };
    for (const Case& c : {Case{true, true}, Case{true, false}, Case{false, true}}) {
        SCOPED_TRACE(std::to_string(c.keel) + std::to_string(c.wing));
        Box box;
        Answers a;
        if (!c.keel) a.keel = "none";
        if (!c.wing) a.wing = "none";
        const Outcome o = run(box, a);
        ASSERT_EQ(o.status, 0) << o.err;
        const std::vector<std::string> l = out_lines(o);
        const std::size_t sizes = index_of(l, " imi,jmi,jmih=   17    9    5");
        ASSERT_LT(sizes + 2, l.size());
        EXPECT_EQ(l[sizes + 1], " imo,jmo,jmoh=   30    9    5");
        EXPECT_EQ(l[sizes + 2], " 205 loop finished");
        EXPECT_EQ(shapes(l, sizes + 3, l.size()), expected_shapes(c.keel, c.wing));
    }
}

// The layout's lengths, edge positions and listings from the old bulb, the
// keel root and the aligned wing root.
class AppgridLayout : public ::testing::Test {
protected:
    void SetUp() override {
        o = run(box, Answers());
        ASSERT_EQ(o.status, 0) << o.err;
        l = out_lines(o);
        const std::size_t sizes = index_of(l, " imi,jmi,jmih=   17    9    5");
        for (std::size_t k = 12; k < 12 + 9; ++k) keel_root.push_back(numbers(l[k]));
        for (std::size_t k = sizes - 17; k < sizes; ++k) wing_root.push_back(numbers(l[k]));
    }
    double value(const std::string& label, std::size_t nth = 0) {
        const std::size_t at = find_prefix(l, label, nth);
        EXPECT_LT(at, l.size()) << label;
        return at < l.size() ? numbers(l[at])[0] : 0.0;
    }
    // Listing k (from 0) under the nth heading: u, v of its entries from 1.
    std::map<int, std::pair<double, double>> listing(const std::string& heading, std::size_t nth = 0) {
        std::size_t at = index_of(l, heading);
        for (std::size_t n = 0; n < nth; ++n) at = index_of(l, heading, at + 1);
        std::map<int, std::pair<double, double>> m;
        for (std::size_t k = at + 1; k < l.size() && l[k].size() == 38; ++k) {
            const std::vector<double> v = numbers(l[k]);
            m[static_cast<int>(v[0])] = {v[1], v[2]};
        }
        return m;
    }
    // Arc length along old bulb row j at the index position u.
    static double arc_at(int j, double u) {
        const Net& b = demo_bulb();
        const std::vector<double> s = chords([&](int i) { return b.at(i, j); }, b.ni);
        const int i = std::min(static_cast<int>(u), b.ni - 1);
        return s[static_cast<std::size_t>(i - 1)] + (u - i) * (s[static_cast<std::size_t>(i)] - s[static_cast<std::size_t>(i - 1)]);
    }
    Box box;
    Outcome o;
    std::vector<std::string> l;
    std::vector<std::vector<double>> keel_root, wing_root;   // k, xint, yint, zint, xsis, etas, xsit, etat
};

TEST_F(AppgridLayout, LengthsAreTheOldBulbsChordLengths) {
    const Net& b = demo_bulb();
    auto row = [&](int j) { return chords([&](int i) { return b.at(i, j); }, b.ni).back(); };
    auto column = [&](int i, int ja, int jb) { return chords([&](int k) { return b.at(i, ja + k - 1); }, jb - ja + 1).back(); };
    EXPECT_NEAR(value(" stcl="), row(1), kTol);
    EXPECT_NEAR(value(" smhb="), row(5), kTol);
    EXPECT_NEAR(value(" sbcl="), row(9), kTol);
    EXPECT_NEAR(value(" sfor=", 0), column(1, 1, 5), kTol);
    EXPECT_NEAR(value(" saft=", 0), column(17, 1, 5), kTol);
    EXPECT_NEAR(value(" sfor=", 1), column(1, 5, 9), kTol);
    EXPECT_NEAR(value(" saft=", 1), column(17, 5, 9), kTol);
}

TEST_F(AppgridLayout, TheKeelRootTakesItsColumnsOfTheTopCentreLine) {
    const double ule = keel_root[0][6], ute = keel_root[8][6];
    EXPECT_NEAR(value(" uout(1)=", 0), ule, 1e-5);
    EXPECT_NEAR(value(" uout(2)=", 0), ute, 1e-5);
    EXPECT_NEAR(value(" skle="), arc_at(1, ule), 1e-5);
    EXPECT_NEAR(value(" skte="), arc_at(1, ute), 1e-5);
    const auto tcl = listing(" final bulb tcl");
    ASSERT_EQ(tcl.size(), 30u);
    EXPECT_EQ(tcl.at(1), std::make_pair(1.0, 1.0));
    EXPECT_NEAR(tcl.at(10).first, ule, 1e-5);   // ikle: the root's own leading edge
    EXPECT_NEAR(tcl.at(10).second, 1.0, 1e-6);
    EXPECT_NEAR(tcl.at(18).first, ute, 1e-5);   // ikte
    EXPECT_NEAR(tcl.at(18).second, 1.0, 1e-5);
    EXPECT_NEAR(tcl.at(30).first, 17.0, 1e-5);
    for (int i = 1; i <= 30; ++i) {
        if (i < 30) {
            EXPECT_LT(tcl.at(i).first, tcl.at(i + 1).first) << i;
        }
        if (i < 10 || i > 18) {
            EXPECT_EQ(tcl.at(i).second, 1.0) << i;   // on the old top centre line
        }
    }
}

// On the middle row the fore and aft segments leave the old middle row and
// bend towards the wing's edges by 3w^2 - 2w^3; the wing root takes
// columns iwle..iwte, along stations kwle..nwr in the upper pass and
// kwle..1 in the lower.
TEST_F(AppgridLayout, TheWingRootTakesItsColumnsOfTheMiddleRow) {
    const double ule = wing_root[8][6], vle = wing_root[8][7];
    EXPECT_NEAR(value(" uout(1)=", 1), ule, 1e-5);
    EXPECT_NEAR(value(" uout(2)=", 1), wing_root[16][6], 1e-5);
    const double swle = value(" swle=");
    EXPECT_NEAR(swle, arc_at(5, ule), 1e-5);
    EXPECT_NEAR(value(" swte="), arc_at(5, wing_root[16][6]), 1e-5);
    EXPECT_EQ(l[find_prefix(l, " vwle=")], " vwle=  0.50000000E+01");   // v along the old middle row
    EXPECT_EQ(l[find_prefix(l, " vwte=")], " vwte=  0.50000000E+01");

    const auto upper = listing(" final bulb mhb", 0), lower = listing(" final bulb mhb", 1);
    ASSERT_EQ(upper.size(), 30u);
    ASSERT_EQ(lower.size(), 30u);
    EXPECT_EQ(upper.at(1), std::make_pair(1.0, 5.0));
    EXPECT_NEAR(upper.at(18).first, ule, 1e-5);
    EXPECT_NEAR(upper.at(18).second, vle, 1e-5);
    EXPECT_NEAR(upper.at(26).first, wing_root[16][6], 1e-5);
    EXPECT_NEAR(upper.at(26).second, wing_root[16][7], 1e-5);
    EXPECT_NEAR(lower.at(26).first, wing_root[0][6], 1e-5);
    EXPECT_NEAR(lower.at(26).second, wing_root[0][7], 1e-5);
    EXPECT_NEAR(upper.at(30).first, 17.0, 1e-5);
    EXPECT_EQ(upper.at(30).second, 5.0);
    for (int i = 2; i < 18; ++i) {
        const double w = arc_at(5, upper.at(i).first) / swle;
        EXPECT_NEAR(upper.at(i).second, 5.0 + (3 * w * w - 2 * w * w * w) * (vle - 5.0), 1e-5) << i;
    }
    for (int i = 1; i <= 30; ++i) {
        if (i < 18 || i > 26) {
            EXPECT_EQ(upper.at(i), lower.at(i)) << i;
        }
    }
}

TEST_F(AppgridLayout, FourCornersBelongToTheFourEndColumns) {
    const auto fore_up = listing(" final bulb fore", 0), fore_low = listing(" final bulb fore", 1);
    const auto aft_up = listing(" final bulb aft", 0), aft_low = listing(" final bulb aft", 1);
    ASSERT_EQ(fore_up.size(), 5u);
    ASSERT_EQ(fore_low.size(), 5u);
    // a segment's first point is its line's start; its last ends within rounding
    EXPECT_EQ(fore_up.at(1), std::make_pair(1.0, 1.0));
    EXPECT_EQ(fore_low.at(5), std::make_pair(1.0, 5.0));
    EXPECT_EQ(aft_up.at(1), std::make_pair(17.0, 1.0));
    EXPECT_EQ(aft_low.at(5), std::make_pair(17.0, 5.0));
    EXPECT_EQ(fore_up.at(5).first, 1.0);
    EXPECT_NEAR(fore_up.at(5).second, 5.0, 1e-5);
    EXPECT_NEAR(fore_low.at(9).second, 9.0, 1e-5);
    EXPECT_NEAR(aft_low.at(9).second, 9.0, 1e-5);
    for (const auto& [i, uv] : listing(" final bulb bcl")) EXPECT_EQ(uv.second, 9.0) << i;
}

std::vector<int> iterations(const std::vector<std::string>& l) {
    std::vector<int> it;
    for (const std::string& line : l)
        if (line.rfind(" iter,resrms,resmax=", 0) == 0) it.push_back(std::stoi(line.substr(20, 5)));
    return it;
}

// Each half: the first phase from 1, the second on from niter1 + 1, the last
// line of each phase that ran printed twice.
TEST(AppgridBulb, IterationLinesOfBothPhasesInEachHalf) {
    struct Case {
        std::string phase1, phase2;
        std::vector<int> half;
    };
    for (const Case& c : {Case{"3 1.0", "2 1.0 0.1 0.1", {1, 2, 3, 3, 4, 5, 5}}, Case{"0 1.0", "3 1.0 0.1 0.1", {1, 2, 3, 3}},
                          Case{"2 1.0", "0 1.0 0.1 0.1", {1, 2, 2}}}) {
        SCOPED_TRACE(c.phase1 + " / " + c.phase2);
        Box box;
        Answers a;
        a.phase1 = c.phase1, a.phase2 = c.phase2;
        const Outcome o = run(box, a);
        ASSERT_EQ(o.status, 0) << o.err;
        const std::vector<std::string> l = out_lines(o);
        std::vector<int> both = c.half;
        both.insert(both.end(), c.half.begin(), c.half.end());
        EXPECT_EQ(iterations(l), both);
        // the repeated line is the phase's last line again
        for (std::size_t k = 1; k < l.size(); ++k) {
            if (l[k].rfind(" iter", 0) == 0 && l[k - 1].rfind(" iter", 0) == 0 &&
                l[k].substr(20, 5) == l[k - 1].substr(20, 5)) {
                EXPECT_EQ(l[k], l[k - 1]);
            }
        }
        // the upper half's lines come before the lower half's layout
        const std::size_t lower = find_prefix(l, " sbcl=");
        EXPECT_EQ(iterations(std::vector<std::string>(l.begin(), l.begin() + static_cast<std::ptrdiff_t>(lower))),
                  c.half);
    }
}

// A phase of one sweep has a ramp factor of 0: its sweep moves no point.
TEST(AppgridBulb, APhaseOfOneSweepMovesNothing) {
    Box still;
    const Outcome ref = run(still, Answers());
    ASSERT_EQ(ref.status, 0) << ref.err;
    for (const auto& [p1, p2] : {std::pair{"1 1.0", "0 1.0 0.1 0.1"}, std::pair{"0 1.0", "1 1.0 0.1 0.1"},
                                 std::pair{"1 1.2", "1 1.2 0.1 0.1"}}) {
        SCOPED_TRACE(std::string(p1) + " / " + p2);
        Box box;
        Answers a;
        a.phase1 = p1, a.phase2 = p2;
        const Outcome o = run(box, a);
        ASSERT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(box.read("bulb-out.net"), still.read("bulb-out.net"));
    }
}

TEST(AppgridBulb, HeaderCountsTheMiddleRowTwiceWithAWing) {
    struct Case {
        bool wing;
        std::string title, header;
        int rows;
    };
    for (const Case& c : {Case{true, "demo bulb of revolution", "   30   10          demo bulb of revolution", 10},
                          Case{false, "demo bulb of revolution", "   30    9          demo bulb of revolution", 9},
                          Case{true, "", "   30   10          ", 10}}) {
        SCOPED_TRACE(c.header);
        Box box;
        Answers a;
        if (!c.wing) a.wing = "none";
        box.copy_examples();
        std::string bulb = example("bulb.net");
        bulb.replace(20, bulb.find('\n') - 20, c.title);
        box.write("bulb.net", bulb);
        const Outcome o = box.run(a.text());
        ASSERT_EQ(o.status, 0) << o.err;
        const Net n = read_network(*box.read("bulb-out.net"));
        EXPECT_EQ(n.header, c.header);
        EXPECT_EQ(n.p.size(), static_cast<std::size_t>(30 * c.rows));
    }
}

// A whole run, against the same run without sweeps.
TEST(AppgridBulb, InvariantsOfAWholeRun) {
    struct Case {
        bool wing;
        int bulb_rows;   // of the demo bulb, from row 1
        std::string sizes;
    };
    for (const Case& c : {Case{true, 9, "30 10"}, Case{false, 8, "30 8"}}) {
        SCOPED_TRACE(c.sizes);
        std::string bulb = example("bulb.net");
        bulb.replace(5, 5, "    " + std::to_string(c.bulb_rows));
        Net old = read_network(bulb);
        old.nj = c.bulb_rows;
        old.p.resize(static_cast<std::size_t>(old.ni * old.nj));
        Answers a;
        a.sizes = c.sizes;
        a.phase1 = "20 1.0";
        a.phase2 = "20 1.0 0.1 0.1";
        if (!c.wing) a.wing = "none";
        Answers still = a;
        still.phase1 = "0 1.0";
        still.phase2 = "0 1.0 0.1 0.1";
        Box box, ref;
        box.copy_examples();
        ref.copy_examples();
        box.write("bulb.net", bulb);
        ref.write("bulb.net", bulb);
        const Outcome o = box.run(a.text()), r = ref.run(still.text());
        ASSERT_EQ(o.status, 0) << o.err;
        ASSERT_EQ(r.status, 0) << r.err;
        const Net n = read_network(*box.read("bulb-out.net")), n0 = read_network(*ref.read("bulb-out.net"));
        const int imo = 30, jmo = std::stoi(c.sizes.substr(3)), jmoh = (jmo + 1) / 2;
        const int rows = c.wing ? jmo + 1 : jmo;
        ASSERT_EQ(n.nj, rows);
        ASSERT_EQ(n.p.size(), static_cast<std::size_t>(imo * rows));
        // file row of output row j in the lower half (with a wing, one more)
        auto file_row = [&](int j, bool lower) { return c.wing && lower ? j + 1 : j; };

        bool moved = false;
        for (int fj = 1; fj <= rows; ++fj)
            for (int i = 1; i <= imo; ++i) {
                EXPECT_TRUE(on_surface(old, n.at(i, fj))) << i << "," << fj;
                if (dist(n.at(i, fj), n0.at(i, fj)) > kTol) moved = true;
            }
        EXPECT_TRUE(moved);
        // the sweeps leave the boundaries and the block's first column alone
        for (int fj = 1; fj <= rows; ++fj)
            for (int i : {1, 2, imo}) EXPECT_TRUE(near(n.at(i, fj), n0.at(i, fj))) << i << "," << fj;
        for (int fj : {1, jmoh, file_row(jmoh, true), file_row(jmo, true)})
            for (int i = 1; i <= imo; ++i) EXPECT_TRUE(near(n.at(i, fj), n0.at(i, fj))) << i << "," << fj;
        // the outer boundaries on the old bulb's
        for (int i = 1; i <= imo; ++i) {
            if (i < 10 || i > 18) {
                EXPECT_LE(dist(n.at(i, 1), on_row(old, 1, n.at(i, 1))), kTol) << i;
            }
            const P3& bottom = n.at(i, file_row(jmo, true));
            EXPECT_LE(dist(bottom, on_row(old, old.nj, bottom)), kTol) << i;
        }
        for (int fj = 1; fj <= rows; ++fj) {
            EXPECT_TRUE(on_column(old, 1, n.at(1, fj))) << fj;
            EXPECT_TRUE(on_column(old, old.ni, n.at(imo, fj))) << fj;
        }
        // the slit along the wing root
        if (c.wing) {
            for (int i = 1; i <= imo; ++i) {
                if (i < 18 || i > 26) {
                    EXPECT_TRUE(near(n.at(i, jmoh), n.at(i, jmoh + 1))) << i;
                }
            }
        }
    }
}

}  // namespace
}  // namespace appgrid_program_test
