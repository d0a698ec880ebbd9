// The work array of 500000 cells: networks and tables that fill it exactly
// run, one cell more stops at the check whose slices pass the end.
//
// Cells used: 3 ms ns (source) + 1 (skipped) + 3 mt nt (target) + 4 ns
// (first check) + 20 np (second check) + 3 ns (third check).
#include "program.hpp"

#include <gtest/gtest.h>

#include <string>

namespace intersect_program_test {
namespace {

// An ms x ns source of identical lines of two points down through (0.5,
// 0.5), or of single points when ms is 1.
std::string lines(int ms, int ns) {
    std::string s;
    char head[16];
    std::snprintf(head, sizeof head, "%5d%5d", ms, ns);
    s = std::string(head) + "\n";
    for (int j = 0; j < ns; ++j) {
        s += ".5 .5 1\n";
        for (int i = 1; i < ms; ++i) s += ".5 .5 -1\n";
    }
    return s;
}

// An m x n target of unit cells in z = 0, or of one repeated point.
std::string target(int m, int n, bool collapsed = false) {
    char head[16];
    std::snprintf(head, sizeof head, "%5d%5d", m, n);
    std::string s = std::string(head) + "\n";
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < m; ++i) s += collapsed ? "0 0 0\n" : std::to_string(i) + " " + std::to_string(j) + " 0\n";
    return s;
}

Outcome run(Sandbox& box, int ms, int ns, const std::string& tgt) {
    box.write("src.net", lines(ms, ns));
    box.write("tgt.net", tgt);
    return box.run(answers("src.net", "+m", "+n", "tgt.net", "+m", "+n"));
}

std::string sizes(int ms, int ns, int mt, int nt) {
    char b[64];
    std::snprintf(b, sizeof b, " ms =%5d ns =%5d\n mt =%5d nt =%5d\n", ms, ns, mt, nt);
    return b;
}

std::string stop(const std::string& program, const std::string& words) {
    return " message from " + program + ":\n" + words + "*****\n greater than work array size mw=*****\n";
}

TEST(Storage, NetworksAndTablesThatFillTheArrayExactlyRun) {
    // 6 ns + 1 + 12 + 7 ns + 20 = 500000 with ns = 38459
    Sandbox box(kFoilcut);
    const Outcome r = run(box, 2, 38459, target(2, 2));
    EXPECT_EQ(r.out, dialogue() + sizes(2, 38459, 2, 2));
    EXPECT_EQ(r.status, 0);
    const std::string table = box.read("foilcut.out").value_or("");
    EXPECT_EQ(table.size(), kHeader.size() + 38459 * 76u);
    // a station number of five digits does not fit its column
    EXPECT_EQ(table.substr(table.size() - 76),
              "    1   0.50000   0.50000   0.00000   1.50000**********   1.50000   1.50000\n");
}

TEST(Storage, AnEmptyTargetHasNoPanelToStore) {
    // 24 ns + 1 + 7 ns = 500000 with ns = 16129: an empty target takes no
    // panel cells (not the 20 of one panel)
    Sandbox box(kKeelcut);
    const Outcome r = run(box, 8, 16129, "\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(box.read("keelcut.out").value_or("").size(), kHeader.size() + 16129 * 76u);
}

TEST(Storage, OneCellMoreStopsAtTheCheckItPasses) {
    struct Case {
        const char* what;
        int ms, ns, mt, nt;
        std::string tgt;
        const char* words;
    };
    const Case cases[] = {
        // 7 ns + 1 + 18 = 500001 at the first check
        {"info arrays", 1, 71426, 6, 1, target(6, 1), " storage for intersection info arrays lw="},
        // 7 ns + 1 + 12 + 20 = 500001 at the second
        {"panel arrays", 1, 71424, 2, 2, target(2, 2), " storage for panel arrays lw="},
        // 10 ns + 1 + 30 = 500001 at the third
        {"cut points", 1, 49997, 10, 1, target(10, 1), " storage for panel arrays lw="},
        // 10 ns + 1 = 500001: the slices after an empty target start one
        // cell after the one the reader returns, and 3 x 0 points make no
        // panel (not -2 of them)
        {"file without header", 1, 50000, 0, 0, "", " storage for panel arrays lw="},
        {"three by none", 1, 50000, 3, 0, target(3, 0), " storage for panel arrays lw="},
    };
    for (const Case& c : cases) {
        for (const std::string& program : {kFoilcut, kKeelcut}) {
            const bool foil = program == kFoilcut;
            Sandbox box(program);
            const Outcome r = run(box, c.ms, c.ns, c.tgt);
            const std::string head = foil ? dialogue() + sizes(c.ms, c.ns, c.mt, c.nt) : "";
            EXPECT_EQ(r.out, head + stop(foil ? "foilcut" : "keelcut", c.words)) << c.what;
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, "");
            EXPECT_FALSE(box.read("foilcut.out").has_value());
            EXPECT_FALSE(box.read("keelcut.out").has_value());
        }
    }
}

// Every stop of foilcut and keelcut, one row each: its three lines after
// what came before them and status 1, no output file; runs that fill the
// array exactly end with status 0.
TEST(Storage, EveryStopEndsWithStatusOne) {
    const std::string nw = " message from mnread:\n network nw=*****\n greater than work array size mw=*****\n";
    struct Row {
        const char* what;
        std::string src, tgt;
        int status;
        std::string head;    // foilcut's standard output before the message; keelcut writes none
        std::string words;   // the words of the drivers' message; "" for the reader's
    };
    const Row rows[] = {
        {"mnread: network nw=, the source", "3000030000\n", target(2, 2), 1, dialogue(), ""},
        {"mnread: network nw=, the target", lines(2, 3), "3000030000\n", 1, dialogue(), ""},
        {"storage for intersection info arrays lw=", lines(1, 71426), target(6, 1), 1,
         dialogue() + sizes(1, 71426, 6, 1), " storage for intersection info arrays lw="},
        {"storage for panel arrays lw=, the panels", lines(1, 71424), target(2, 2), 1,
         dialogue() + sizes(1, 71424, 2, 2), " storage for panel arrays lw="},
        {"storage for panel arrays lw=, the cut points", lines(1, 49997), target(10, 1), 1,
         dialogue() + sizes(1, 49997, 10, 1), " storage for panel arrays lw="},
        {"the array filled exactly", lines(2, 38459), target(2, 2), 0, dialogue() + sizes(2, 38459, 2, 2), ""},
        {"a small run", lines(2, 3), target(2, 2), 0, dialogue() + sizes(2, 3, 2, 2), ""},
    };
    for (const Row& c : rows) {
        for (const std::string& program : {kFoilcut, kKeelcut}) {
            const bool foil = program == kFoilcut;
            const std::string name = foil ? "foilcut" : "keelcut";
            SCOPED_TRACE(name + ": " + c.what);
            Sandbox box(program);
            box.write("src.net", c.src);
            box.write("tgt.net", c.tgt);
            const Outcome r = box.run(answers("src.net", "+m", "+n", "tgt.net", "+m", "+n"));
            const std::string message = c.status == 0 ? "" : c.words.empty() ? nw : stop(name, c.words);
            EXPECT_EQ(r.out, (foil ? c.head : "") + message);
            EXPECT_EQ(r.status, c.status);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(box.read(name + ".out").has_value(), c.status == 0);
            EXPECT_EQ(box.read(name + ".net").has_value(), c.status == 0);
        }
    }
}

TEST(Storage, PanelWarningsComeBeforeTheLastCheck) {
    // 10 ns + 1 + 30 + 80 = 500001 with ns = 49989; four panels of no size
    Sandbox box(kKeelcut);
    const Outcome r = run(box, 1, 49989, target(2, 5, true));
    std::string warnings;
    for (int ip = 1; ip <= 4; ++ip)
        warnings += " warning from panels: panel    " + std::to_string(ip) + " sqrt(area) < eps\n";
    EXPECT_EQ(r.out, warnings + stop("keelcut", " storage for panel arrays lw="));
    EXPECT_EQ(r.status, 1);
}

}  // namespace
}  // namespace intersect_program_test
