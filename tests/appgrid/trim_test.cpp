// appgrid's trimming of keel and wing at the bulb: the printed tables, the
// rows kept, the aft-tip snap, the alignment and every stop of the
// trimming.  Most runs ask for a 31-point bulb row, so that they stop at
// the output check right after the trimmed networks are written.

#include "program.hpp"

#include <algorithm>
#include <cstdlib>

namespace appgrid_program_test {
namespace {

const std::string kOutputTooLarge = " error: output array exceeds array parameters\n";

std::string wing_net() {
    return network(5, 9, "test wing",
                   [](int i, int j) { return P3{1.0 + 0.25 * std::abs(i - 3), 0.1 * (i - 3), 0.5 + 0.125 * j}; });
}

// A V-shaped wing cut with its leading edge at the middle station.
std::vector<Station> wing_stations(double etas) {
    std::vector<Station> st;
    for (int k = 1; k <= 5; ++k) {
        const double a = std::abs(k - 3);
        st.push_back({1, 1.0 + 0.25 * a, 0.1 * (k - 3), 0.5, 1.0 * k, etas, 12.0 + 0.5 * a, 5.0 + 0.1 * (k - 3)});
    }
    return st;
}

struct Inputs {
    std::string keel_table = table(keel_stations(3.0, 0.1));
    std::string wing_table = table(wing_stations(2.6));
    Answers answers;
    Inputs() { answers.sizes = "31 9"; }
};

Outcome run(const Box& box, const Inputs& s) {
    box.write("bulb.net", flat_bulb());
    box.write("keel.net", keel_net());
    box.write("wing.net", wing_net());
    box.write("keelcut.out", s.keel_table);
    box.write("foilcut.out", s.wing_table);
    return box.run(s.answers.text());
}

// Lines `from` .. from + n - 1 (from 0) of a transcript, as printed.
std::string lines(const std::string& out, std::size_t from, std::size_t n) {
    const std::vector<std::string> l = test_support::split_lines(out);
    std::string t;
    for (std::size_t k = from; k < from + n && k < l.size(); ++k) t += l[k] + "\n";
    return t;
}

// The keel's ends go to the top centre line before the splines are fitted;
// a station without a cut takes the splines' values (here the straight
// line through the others); the rows below the smallest etas are dropped.
TEST(AppgridTrim, KeelEndsOnTheCentreLineAndAStationWithoutCutFromTheSplines) {
    Box box;
    Inputs s;
    s.answers.wing = "none";
    std::vector<Station> st = keel_stations(3.0, 0.1);
    st[0].zint = st[4].zint = 0.03;
    st[0].etat = st[4].etat = 1.3;
    st[0].xsis = 0.9, st[4].xsis = 5.2;
    st[2] = {0, 9.0, 9.0, 9.0, 3.0, 9.0, 99.0, 9.0};
    s.keel_table = table(st);
    const Outcome o = run(box, s);
    EXPECT_EQ(o.status, 1) << o.err;   // at the output check
    const std::vector<Station> expected = keel_stations(3.0, 0.1);
    EXPECT_EQ(o.out, questions(true, true, false) + printed(expected) + kOutputTooLarge);

    const Net keel = read_network(*box.read("keel-out.net"));
    EXPECT_EQ(keel.header, "    5    4          test keel");   // rows 1..3 (etas from 3.1) and the cut row
    // eight digits, a zero before the point
    EXPECT_EQ(test_support::split_lines(*box.read("keel-out.net"))[16], "  0.75000000E+00  0.50000000E+00  0.00000000E+00");
    const Net in = read_network(keel_net());
    for (int j = 1; j <= 3; ++j)
        for (int i = 1; i <= 5; ++i) EXPECT_TRUE(near(keel.at(i, j), in.at(i, j))) << i << "," << j;
    for (int k = 1; k <= 5; ++k) {
        const Station& e = expected[static_cast<std::size_t>(k - 1)];
        EXPECT_TRUE(near(keel.at(k, 4), P3{e.xint, e.yint, e.zint})) << k;
    }
    EXPECT_FALSE(box.has("bulb-out.net"));
}

TEST(AppgridTrim, RowsKeptFromTheCutsRowPositions) {
    struct Case {
        double etas;
        int keel_rows, wing_rows;   // written, the cut row included
    };
    // a row at the cut is dropped; a wing with no row beyond the cut is its cut row alone
    for (const Case& c : {Case{3.4, 4, 7}, Case{2.6, 3, 8}, Case{3.0, 3, 7}, Case{1.0, 1, 9}, Case{0.5, 1, 10},
                          Case{9.0, 9, 1}, Case{9.5, 10, 1}}) {
        SCOPED_TRACE(c.etas);
        Box box;
        Inputs s;
        s.keel_table = table(keel_stations(c.etas, 0.0));
        s.wing_table = table(wing_stations(c.etas));
        const Outcome o = run(box, s);
        EXPECT_EQ(o.status, 1) << o.err;   // at the output check
        const Net keel = read_network(*box.read("keel-out.net"));
        const Net wing = read_network(*box.read("wing-out.net"));
        ASSERT_EQ(keel.nj, c.keel_rows);
        ASSERT_EQ(wing.nj, c.wing_rows);
        ASSERT_EQ(wing.p.size(), static_cast<std::size_t>(5 * c.wing_rows));
        // the keel's cut row last, the wing's first, then its rows beyond the cut
        const Net keel_in = read_network(keel_net()), wing_in = read_network(wing_net());
        const std::vector<Station> keel_cut = keel_stations(c.etas, 0.0), wing_cut = wing_stations(c.etas);
        for (int k = 1; k <= 5; ++k) {
            const Station& ks = keel_cut[static_cast<std::size_t>(k - 1)];
            const Station& ws = wing_cut[static_cast<std::size_t>(k - 1)];
            EXPECT_TRUE(near(keel.at(k, c.keel_rows), P3{ks.xint, ks.yint, 0.0}, 1e-5)) << k;
            EXPECT_TRUE(near(wing.at(k, 1), P3{ws.xint, ws.yint, ws.zint}, 1e-5)) << k;
            for (int j = 1; j < c.keel_rows; ++j) EXPECT_TRUE(near(keel.at(k, j), keel_in.at(k, j)));
            for (int j = 2; j <= c.wing_rows; ++j)
                EXPECT_TRUE(near(wing.at(k, j), wing_in.at(k, 9 - c.wing_rows + j)));
        }
    }
}

// A trailing-edge station cut beyond imi - 0.9 in single precision goes to
// the bulb's aft point of its middle row; exactly at it (16.1 is 17 - 0.9
// in floats, though not in doubles) it stays.
TEST(AppgridTrim, AftTipSnapBeyondImiLessNineTenths) {
    struct Case {
        int station;
        std::string xsit;
        bool snapped;
    };
    for (const Case& c : {Case{1, "16.1", false}, Case{1, "16.100002", true}, Case{5, "16.10000", false},
                          Case{5, "16.10001", true}}) {
        SCOPED_TRACE(std::to_string(c.station) + " " + c.xsit);
        Box box;
        Inputs s;
        s.answers.keel = "none";
        s.wing_table = with_field(table(wing_stations(2.6)), c.station, 6, c.xsit);
        const Outcome o = run(box, s);
        EXPECT_EQ(o.status, 1) << o.err;   // at the output check
        std::vector<Station> st = wing_stations(2.6);
        Station& e = st[static_cast<std::size_t>(c.station - 1)];
        if (c.snapped)
            e = {1, 1.5, -0.2, 0.5, 1.0 * c.station, 2.6, 17.0, 5.0};   // bulb point (17, 5)
        else
            e.xsit = 16.1;
        EXPECT_EQ(lines(o.out, 10, 5), printed(st));   // the first table, after the questions
    }
}

// After the alignment the middle station lies where x along the cut row
// has its extreme; the end stations stay.
TEST(AppgridTrim, AlignmentPutsTheMiddleStationOnTheLeadingEdge) {
    Box box;
    Inputs s;
    s.answers.keel = "none";
    std::vector<Station> st = wing_stations(2.6);
    const double x[] = {1.5, 1.2, 1.05, 1.0, 1.3};   // foremost at station 4
    for (std::size_t k = 0; k < 5; ++k) st[k].xint = x[k];
    s.wing_table = table(st);
    const Outcome o = run(box, s);
    ASSERT_EQ(o.status, 1) << o.err;   // at the output check
    EXPECT_EQ(lines(o.out, 10, 5), printed(st));
    std::vector<std::vector<double>> aligned;
    for (const std::string& l : test_support::split_lines(lines(o.out, 15, 5))) aligned.push_back(numbers(l));
    ASSERT_EQ(aligned.size(), 5u);
    for (std::size_t k = 0; k < 5; ++k) EXPECT_LE(aligned[2][1], aligned[k][1]) << k;
    EXPECT_LE(aligned[2][1], 1.0 + 1e-5);   // at or before the foremost cut point
    EXPECT_GT(aligned[2][4], 3.0);          // its station position moved aft of station 3
    EXPECT_EQ(lines(o.out, 15, 1), lines(o.out, 10, 1));
    EXPECT_EQ(lines(o.out, 19, 1), lines(o.out, 14, 1));
    // the file holds the aligned wing
    const Net wing = read_network(*box.read("wing-out.net"));
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_TRUE(near(wing.at(static_cast<int>(k) + 1, 1), P3{aligned[k][1], aligned[k][2], aligned[k][3]}, 1e-5));
}

TEST(AppgridTrim, StopsOfTheTrimming) {
    const std::string keel_table = table(keel_stations(3.0, 0.1));
    const std::string wing_table = table(wing_stations(2.6));
    std::vector<Station> linear = keel_stations(2.6, 0.0);   // x never turns: no leading edge
    struct Case {
        const char* what;
        std::string keel, wing;
        std::string message;
        bool keel_written, wing_written;
    };
    const std::vector<Case> cases = {
        {"keel le", with_field(keel_table, 1, 0, "0"), wing_table,
         " error ... keel le or te does not intersect bulb", false, false},
        {"keel te", with_field(keel_table, 5, 0, "0"), wing_table,
         " error ... keel le or te does not intersect bulb", false, false},
        {"wing te", keel_table, with_field(wing_table, 5, 0, "0"),
         " error ... wing upper or lower te does not intersect bulb", true, false},
        {"two keel cuts", with_field(with_field(with_field(keel_table, 2, 0, "0"), 3, 0, "0"), 4, 0, "0"), wing_table,
         " error ... keel intersects bulb at fewer than 3 stations", false, false},
        {"two wing cuts", keel_table, with_field(with_field(with_field(wing_table, 2, 0, "0"), 3, 0, "0"), 4, 0, "0"),
         " error ... wing intersects bulb at fewer than 3 stations", true, false},
        {"keel points alike", with_field(keel_table, 3, 1, 1.0), wing_table,
         " error ... keel cut has coincident points", false, false},
        {"wing points alike",  keel_table,
         with_field(with_field(with_field(wing_table, 2, 1, 1.0), 2, 2, 0.0), 2, 3, 0.5),
         " error ... wing cut has coincident points", true, false},
        {"no leading edge", keel_table, table(linear), " error ... wing cut row has no leading edge", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Box box;
        Inputs s;
        s.keel_table = c.keel, s.wing_table = c.wing;
        const Outcome o = run(box, s);
        EXPECT_EQ(o.status, 1) << o.err;
        const std::vector<std::string> out = test_support::split_lines(o.out);
        ASSERT_FALSE(out.empty());
        EXPECT_EQ(out.back(), c.message);
        EXPECT_EQ(box.has("keel-out.net"), c.keel_written);
        EXPECT_EQ(box.has("wing-out.net"), c.wing_written);
        EXPECT_FALSE(box.has("bulb-out.net"));
    }
}

// Distinct cut points that the splines put on one station of the root row
// (a repeated xsis; a station without a cut at its neighbour's xsis) stop
// the run before that part's table is printed and its file replaced.
TEST(AppgridTrim, ARootRowWithCoincidentStationsLeavesAnOldFileAsItWas) {
    const std::string keel_table = table(keel_stations(3.0, 0.1));
    const std::string wing_table = table(wing_stations(2.6));
    const std::string old_keel = network(3, 1, "old keel", [](int i, int) { return P3{1.0 * i, 0.0, 0.0}; });
    const std::string old_wing = network(3, 1, "old wing", [](int i, int) { return P3{0.0, 1.0 * i, 0.0}; });
    struct Case {
        const char* what;
        std::string keel, wing;
        bool keel_cut;   // the keel trimmed and written before the stop
    };
    const std::vector<Case> cases = {
        {"keel xsis repeated", with_field(keel_table, 3, 4, 2.0), wing_table, false},
        {"keel station without cut at xsis 1", with_field(with_field(keel_table, 2, 0, "0"), 2, 4, 1.0), wing_table,
         false},
        {"wing xsis repeated", keel_table, with_field(wing_table, 3, 4, 2.0), true},
        {"wing station without cut at xsis 1", keel_table, with_field(with_field(wing_table, 2, 0, "0"), 2, 4, 1.0),
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Box box;
        Inputs s;
        s.keel_table = c.keel, s.wing_table = c.wing;
        box.write("keel-out.net", old_keel);
        box.write("wing-out.net", old_wing);
        const Outcome o = run(box, s);
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_EQ(o.out, questions(true, true, true) + (c.keel_cut ? printed(keel_stations(3.0, 0.1)) : "") +
                             (c.keel_cut ? " error ... wing" : " error ... keel") + " cut has coincident points\n");
        if (c.keel_cut)
            EXPECT_EQ(read_network(*box.read("keel-out.net")).header, "    5    4          test keel");
        else
            EXPECT_EQ(box.read("keel-out.net"), old_keel);
        EXPECT_EQ(box.read("wing-out.net"), old_wing);
        EXPECT_FALSE(box.has("bulb-out.net"));
    }
}

// Both tables are read before anything is trimmed.
TEST(AppgridTrim, AMissingTableStopsBeforeAnyWrite) {
    for (const char* missing : {"keelcut.out", "foilcut.out"}) {
        SCOPED_TRACE(missing);
        Box box;
        Inputs s;
        box.write("bulb.net", flat_bulb());
        box.write("keel.net", keel_net());
        box.write("wing.net", wing_net());
        for (const char* t : {"keelcut.out", "foilcut.out"})
            if (std::string(t) != missing) box.write(t, t[0] == 'k' ? s.keel_table : s.wing_table);
        const Outcome o = box.run(s.answers.text());
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_EQ(o.out, questions(true, true, true) + " error ... file \"" + missing + "\" does not exist\n");
        EXPECT_FALSE(box.has("keel-out.net"));
        EXPECT_FALSE(box.has("wing-out.net"));
    }
}

TEST(AppgridTrim, ATableWithFewerRecordsThanStationsEndsTheRun) {
    Box box;
    Inputs s;
    const std::vector<std::string> l = test_support::split_lines(s.keel_table);
    s.keel_table = l[0] + "\n" + l[1] + "\n" + l[2] + "\n";
    const Outcome o = run(box, s);
    EXPECT_EQ(o.status, 1);
    EXPECT_NE(o.err.find("keelcut.out"), std::string::npos) << o.err;
    EXPECT_FALSE(box.has("keel-out.net"));
}

}  // namespace
}  // namespace appgrid_program_test
