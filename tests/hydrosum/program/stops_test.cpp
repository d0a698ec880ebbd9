// runs the real hydrosum into each of its stops, and into the failures it
// goes on after: every one ends with status 1 after its message, and the
// runs beside them end with status 0
#include "fixtures.hpp"
#include "support/scratch.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace hydrosum_program_test {
namespace {

namespace fs = std::filesystem;

// Scale 1, every factor 1, SREF 1 and force switch 0: the plot tables are written.
const std::vector<std::string> deck_head = {"stops", "1.0 1.0 1.0e-3 2.0 1.0", "1 1 1 0", "1 1 1 0",
                                            "1 1 1 1", "1 1 1 1", "1 1 1 0"};
const std::string plain = [] {
    std::vector<std::string> d = deck_head;
    d.push_back("0 0 0 0 0");
    return deck(d);
}();

const std::string absent = "    0     none";

// Viscous mode 1 with one part on (0 hull .. 5 frud), its network `file`.
std::string with_part(int part, const std::string& file) {
    std::vector<std::string> d = deck_head;
    d.push_back("0 1 0 0 0");
    d.push_back("none");
    for (int p = 0; p < 6; ++p) d.push_back(p == part ? "    1     " + file : absent);
    return deck(d);
}

const char* const words[] = {"hull", "keel", "bulb", "wing", "rudr", "frud"};
const char* const files[] = {"hull.net", "keel.net", "bulb.net", "wing.net", "rudder.net", "frud.net"};

Case one_case(double speed) {
    return {speed, 0, 0, 0, 0, 0, 0, 1, "1 1 1 1 1 1", "2 1 0 0 0 0", "0.25 0 0 0 0 0", "0.5 0 0 0 0 0"};
}

std::string cases(int n) {
    std::vector<Case> cs;
    for (int i = 1; i <= n; ++i) cs.push_back(one_case(i));
    return fm_file(1, cs);
}

// A network of ni x nj points with the given counts and points, one a line.
std::string net(int ni, int nj, const std::function<std::string(int, int)>& point) {
    char b[100];
    std::snprintf(b, sizeof b, "%5d%5d%10s%s\n", ni, nj, "", "part");
    std::string t = b;
    for (int j = 1; j <= nj; ++j)
        for (int i = 1; i <= ni; ++i) t += point(i, j) + "\n";
    return t;
}

// Points on the x axis only: no plane, no section, no length across.
std::string on_a_line(int ni, int nj) {
    return net(ni, nj, [ni](int i, int j) { return std::to_string((j - 1) * ni + i - 1) + " 0 0"; });
}

// A plate in y = 0, chord 1 along x, stations stepping down in z.
std::string plate(int ni, int nj) {
    return net(ni, nj, [ni, nj](int i, int j) {
        char b[80];
        std::snprintf(b, sizeof b, "%.9g 0 %.9g", double(i - 1) / (ni - 1), -double(j - 1) / std::max(1, nj - 1));
        return std::string(b);
    });
}

// The same row of a previous plot table: its preamble and the empty line
// before the first run, then one row of seven values.
std::string previous_plot(const std::string& row) { return std::string(9, '\n') + row + "\n"; }

struct Row {
    std::string message;              // the run's last line on standard output; "" for none
    std::vector<std::pair<std::string, std::string>> files;
    std::string deck;
    int status;
    std::vector<std::string> before;  // the lines between the banner and the message
    std::vector<std::string> written; // present after the run
    bool no_table = false;            // the line of a run that wrote nothing
};

Row network_stop(int part, const std::string& header, const char* what) {
    return {std::string("error ... ") + words[part] + " array size " + what,
            {{"r00r01.fm", cases(1)}, {files[part], header}},
            with_part(part, files[part]),
            1,
            {"   wind axes for r00r01"},
            {}};
}

Row degenerate(int part, const std::string& network) {
    return {std::string("error ... ") + words[part] + " network geometry degenerate",
            {{"r00r01.fm", cases(1)}, {files[part], network}},
            with_part(part, files[part]),
            1,
            {"   wind axes for r00r01"},
            {}};
}

const std::vector<std::string> r_tables = {"r.tab", "rtr.tab", "r.plot", "r00a00.zon"};

// One row per message of a stop; the rows of status 0 are their neighbours
// that run to the end.
TEST(HydrosumStops, EveryStopEndsWithStatusOneAfterItsMessage) {
    // speed, heel, yaw, rudder and tab, AD-INV 0.5 and AD-TOT 0.5 + 0.25 of the case
    const std::string same_row = " 1.00  0.0  0.0  0.0  0.0   0.50000   0.75000";
    const std::vector<Row> rows = {
        {"error ... more than 51 cases in r00r01.fm", {{"r00a00.fm", cases(2)}, {"r00r01.fm", cases(52)}}, plain, 1,
         {}, {}},
        {"", {{"r00r01.fm", cases(51)}}, plain, 0, {"   wind axes for r00r01"}, {"r.tab", "r00r01.zon"}},

        network_stop(0, "  202    3\n", "exceeds maximum(s)"),
        network_stop(1, "    3  202\n", "exceeds maximum(s)"),
        network_stop(2, "  202  202\n", "exceeds maximum(s)"),
        network_stop(3, "  202    1\n", "exceeds maximum(s)"),
        network_stop(4, "    1  202\n", "exceeds maximum(s)"),
        network_stop(5, "  202    0\n", "exceeds maximum(s)"),
        network_stop(2, "    1    3\n", "below minimum(s)"),
        network_stop(2, "    2    0\n", "below minimum(s)"),
        network_stop(1, "    1    3\n", "below minimum(s)"),
        network_stop(3, "    0    1\n", "below minimum(s)"),
        network_stop(4, "    3    0\n", "below minimum(s)"),
        network_stop(5, "    1    2\n", "below minimum(s)"),
        {"", {{"r00r01.fm", cases(1)}, {"keel.net", plate(201, 2)}}, with_part(1, "keel.net"), 0,
         {"   wind axes for r00r01", "keel stripping, option    1"}, {"r.tab"}},
        {"", {{"r00r01.fm", cases(1)}, {"rudder.net", plate(2, 201)}}, with_part(4, "rudder.net"), 0,
         {"   wind axes for r00r01", "rudr stripping, option    1"}, {"r.tab"}},
        // the hull's points are never used: it has no least size
        {"", {{"r00r01.fm", cases(1)}, {"hull.net", "    0    0\n"}}, with_part(0, "hull.net"), 0,
         {"   wind axes for r00r01", "hull stripping, option    1"}, {"r.tab"}},

        degenerate(2, net(2, 2, [](int, int) { return "0 0 0"; })),
        degenerate(2, net(2, 2, [](int i, int j) { return j == 1 ? std::to_string(i) + " 0 0" : "1 0 1"; })),
        degenerate(1, on_a_line(2, 2)),
        degenerate(3, on_a_line(3, 2)),

        // a run that goes on after its message
        {" error ... test matrix does not agree with old test matrix",
         {{"r00a00.fm", cases(1)}, {"r.plot.old", previous_plot(" 9.00" + same_row.substr(5))}}, plain, 1,
         {"   wind axes for r00a00"}, r_tables},
        {"", {{"r00a00.fm", cases(1)}, {"r.plot.old", previous_plot(same_row)}}, plain, 0, {"   wind axes for r00a00"},
         r_tables},
        // files read, but none that gives a table
        {"", {{"nu.fm", cases(1)}, {"w00r01.fm", cases(1)}, {"n35r99.fm", cases(1)}}, plain, 1, {}, {}, true},
    };
    for (const Row& c : rows) {
        SCOPED_TRACE(c.message.empty() ? c.files.back().first : c.message);
        Sandbox sb;
        for (const auto& [name, text] : c.files) sb.write(name, text);
        const Outcome o = sb.run(c.deck);
        EXPECT_EQ(o.status, c.status) << o.err;
        EXPECT_EQ(o.out, banner + lines(c.before) + (c.message.empty() ? "" : c.message + "\n"));
        const std::string no_table_line =
            "hydrosum: no force-moment file of the deck's runs in '" + fs::canonical(sb.work()).string() +
            "' gives a table (an r or k file of any heel and run, or ku, does; w, n and nu files do not), "
            "nothing written\n";
        EXPECT_EQ(o.err, c.no_table ? no_table_line : "");
        for (const std::string& n : c.written) EXPECT_TRUE(sb.read(n).has_value()) << n;
        if (c.written.empty()) {
            EXPECT_FALSE(sb.read("r.tab").has_value());
        }
    }
}

// A table that cannot be opened, because it is the file the deck is read
// from: the wording every program gives that refusal, and the deck kept.
TEST(HydrosumStops, ATableThatIsTheDeckIsRefusedAsOpenAlready) {
    for (const char* table : {"r.tab", "r.plot", "r00a00.zon"}) {
        SCOPED_TRACE(table);
        Sandbox sb;
        sb.write("r00a00.fm", cases(1));
        fs::create_symlink("/dev/stdin", sb.work() / table);
        const Outcome o = sb.run(plain);
        const std::string out = banner + "   wind axes for r00a00\n";
        const std::string err = "hydrosum: cannot open a file that is open already, file '" + std::string(table) +
                                "' (unit 2, record 0)\n";
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.out, out);
        EXPECT_EQ(o.err, err);
        // with both streams in one file (2>&1), the line after what was written before it
        EXPECT_EQ(sb.run_together(plain).out, out + err);
        EXPECT_EQ(test_support::read_file(sb.root() / "stdin"), plain);
    }
}

}  // namespace
}  // namespace hydrosum_program_test
