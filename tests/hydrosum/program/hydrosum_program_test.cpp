// runs the real hydrosum on decks and force-moment files
//
// Every value below is exact in binary, and the expected rows are worked out
// by hand from the model values, the deck's factors and the scale ratio.
#include "fixtures.hpp"
#include "support/scratch.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace hydrosum_program_test {
namespace {

// ---------------------------------------------------------------- a leakage matrix at heel 10

// Scale 4 (l^2 = 16, l^3 = 64, sqrt l = 2), output speed factor 2: a model speed s
// prints as 4 s. Viscous factors (0.5, 1, 1), inviscid (1, 0.5, 2), both per unit q:
// viscous forces x 8, moments x 32; inviscid forces x 16, roll x 128, yaw and pitch x 32.
const std::string wet_r = "1 0.25 0.125 0.5 0.0625 0.1875";  // S-HULL 16, S-TOTAL 26.5 (fourth area 8 left out)
const std::string part_r = "2.5 0.03125 7 1 1 1";            // L-HULL 10, frud area 0.5
const std::string wet_k = "1 0.25 0.125 0.5 0 0.1875";       // S-TOTAL 25
const std::string part_k = "2.5 0 7 1 1 1";

TEST(HydrosumProgram, LeakageMatrixInForceAreas) {
    Sandbox sb;
    // Reference run of heel 10: leakage D0 = 2 x 4 - 6 = 2, S0 = 2 x 8 - 12 = 4.
    sb.write("r10a00.fm", fm_file(3, {
        {1.0, 10, 0, 1.5, -2.5, -0.25, 0.5, 3, wet_r, part_r, "0.5 0 0.25 0.125 0.0625 -0.125",
         "0.25 -0.125 0.5 0.0625 0.0625 -0.03125"},
        {2.0, 10, 0, 1.5, -2.5, -0.5, 0.75, 3, wet_r, part_r, "0.5 0 0.25 0.125 0.0625 -0.125",
         "0.375 -0.25 0.75 0.125 0.125 -0.0625"},
    }));
    // Its own wakes-off run is the source of r10r01: speeds 2 and 6 give D0 = 1, S0 = 3.
    sb.write("r10r01.fm", fm_file(1, {{1.5, 10, 0, 0, 3, 0, 0, 1, wet_r, part_r, "0.25 0 0 0 0 0", "0.5 0 1 0 0 0"}}));
    sb.write("w10r01.fm", fm_file(3, {
        {1.0, 10, 0, 0, 3, 0, 0, 3, wet_r, part_r, "1 1 1 1 1 1", "0.125 0 0.25 0 0 0"},
        {3.0, 10, 0, 0, 3, 0, 0, 3, wet_r, part_r, "1 1 1 1 1 1", "0.25 0 0.375 0 0 0"},
    }));
    // Opened but empty: never a source, though its line is written.
    sb.write("w10a00.fm", header(1));
    // Run 4 draws on r10a00 as it was read.
    sb.write("r10r03.fm", fm_file(1, {{1.5, 10, 0, -1, 4.5, -0.125, 0.25, 1, wet_r, part_r, "0.25 0 0 0 0 0",
                                        "0.5 0.125 1 0.125 0.25 0.5"}}));
    // Rudder off: no n run anywhere and no k00a00, so no leakage although k10a00 is present.
    sb.write("k10a00.fm", fm_file(101, {{1.0, 10, 0, 0, 0, 0, 0, 101, wet_k, part_k, "0.25 0 0 0 0 0",
                                          "0.5 0 0.25 0 0 0"}}));
    sb.write("k10r03.fm", fm_file(1, {{2.0, 10, 0, 0, 0, 0, 0, 1, wet_k, part_k, "0.125 0 0 0 0 0",
                                        "0.25 0 0.125 0 0 0"}}));
    // Upright pair: nu (first line without a type code) is the source of both, D0 = 1, S0 = 2.
    // No r00a00 or k00a00 beside ku, so nothing is anchored on it.
    sb.write("ku.fm", fm_file(1, {{1.0, 0, 0, 0, 0, -0.25, 0, 1, wet_k, part_k, "0.25 0 0 0 0 0", "0.5 0 0.5 0 0 0"}}));
    std::string nu = "nu upright set\n";
    for (int i = 0; i < 6; ++i) nu += " solver header line\n";
    nu += case_text({1.0, 0, 0, 0, 0, 0, 0, 1, wet_k, part_k, "1 1 1 1 1 1", "0.125 0 0.25 0 0 0"});
    nu += case_text({2.0, 0, 0, 0, 0, 0, 0, 1, wet_k, part_k, "1 1 1 1 1 1", "0.1875 0 0.375 0 0 0"});
    sb.write("nu.fm", nu);

    const std::string title = "leakage matrix in force areas";
    Dated r = run(sb, deck({title, "1.0 2.0 1.0e-3 2.0 4.0", "1 1 1 0", "1 1 1 0", "0.5 1 1 1", "1 0.5 2 1",
                          "1 1 1 0", "0 0 1 0 0"}));

    expect_progress(r.outcome, {
        "   heeled rudder-on wakes-on leakage for r10r03",
        "   no leakage for k10r03",
        "   heeled and yawed rudder-on wakes-off leakage for r10r01",
        "   heeled and yawed rudder-on wakes-off leakage for w10r01",
        "   heeled rudder-on wakes-on leakage for r10a00",
        "   heeled rudder-on wakes-on leakage for w10a00",
        "   no leakage for k10a00",
        "   upright rudder-off wakes-off leakage for ku",
        "   upright rudder-off wakes-off leakage for nu",
        "   wind axes for r10a00",
        "   wind axes for k10a00",
        "   wind axes for r10r01",
        "   wind axes for r10r03",
        "   wind axes for k10r03",
    });

    const Variant a = Variant::area;
    expect_table(sb, r, "ku.tab", title, {"", row(a, {4, 0, 0, 0, 0, 7, 9, 0, 6, 0, 0, 0, -1, 0, 10, 16, 25})});
    // Empty lines before the first two runs of the heel with cases, none before run 4.
    expect_table(sb, r, "r.tab", title,
                 {"",
                  row(a, {4, 10, 0, -2.5, 1.5, 2, 6, -2, 6, 12, 4, -5, -1, 0.5, 10, 16, 26.5}),
                  row(a, {8, 10, 0, -2.5, 1.5, 4, 8, -4, 10, 20, 6, -6, -2, 0.75, 10, 16, 26.5}),
                  "",
                  row(a, {6, 10, 0, 3, 0, 7, 9, 0, 13, 0, 0, 0, 0, 0, 10, 16, 26.5}),
                  row(a, {6, 10, 0, 4.5, -1, 6, 8, 2, 12, 16, 8, 16, -0.5, 0.25, 10, 16, 26.5})});
    expect_table(sb, r, "k.tab", title,
                 {"", row(a, {4, 10, 0, 0, 0, 8, 10, 0, 4, 0, 0, 0, 0, 0, 10, 16, 25}),
                  "", row(a, {8, 10, 0, 0, 0, 4, 5, 0, 2, 0, 0, 0, 0, 0, 10, 16, 25})});
}

// ---------------------------------------------------------------- forces, leakage off, two heels

// Scale 1, all factors 1: the store holds the file's values. Output speed factor 0.5,
// density 2: q = v^2 with v the full-scale speed; yaw/pitch length 2, roll length 4.
const std::string wet_b = "10 2 1 0.5 0.5 1.5";  // S-HULL 10, S-TOTAL 15.5 with the frud area
const std::string part_b = "8 0.5 0 0 0 0";       // L-HULL 8, frud area 0.5

TEST(HydrosumProgram, ForcesWithoutLeakageOverTwoHeels) {
    Sandbox sb;
    // With the leakage switch on this run would lose D0 = 0.5.
    sb.write("r00a00.fm", fm_file(1, {
        {1.0, 0, 0, 0, 0, -0.5, 0.25, 1, wet_b, part_b, "1.5 0 0 0 0 0", "1 -1 0.5 4 1 -2"},
        {2.0, 0, 0, 0, 0, -1.0, 0.5, 1, wet_b, part_b, "1.5 0 0 0 0 0", "1.5 -2 1 8 2 -4"},
    }));
    sb.write("r00r01.fm", header(1));  // present without cases: a line, no rows, no empty line
    // Yaw 90: drag takes the old side force, side force the negated old drag.
    sb.write("r00r02.fm",
             fm_file(1, {{2.0, 0, 90, 2, -4, 0, 0, 1, wet_b, part_b, "0.5 0 0.25 0 0 0", "1 0.5 3 4 2 1"}}));
    sb.write("r00r06.fm", fm_file(1, {{3.0, 0, 0, 0, 0, 0, 0, 1, wet_b, part_b, "1 0 0 0 0 0", "0.5 0 1.5 0 0 0"}}));
    sb.write("r05a00.fm", fm_file(1, {{1.0, 5, 0, 0, 0, 0, 0, 1, wet_b, part_b, "1 0 0 0 0 0", "2.5 0 0.5 0 0 0"}}));
    // Absent classes leave older tables alone.
    sb.write("k.tab", "old k table\n");
    sb.write("ku.tab", "old ku table\n");

    const std::string title = "forces over two heels";
    // Line 2 runs over two lines; the rest of its last line is not read.
    Dated r = run(sb, deck({title, "1.0 0.5\n1.0e-3 2.0 1.0   density and scale", "1 1 1 0", "1 1 1 0", "1 1 1 1",
                          "1 1 1 1", "1 2 4 1", "0 0 0 0 0"}));

    expect_progress(r.outcome, {
        "   wind axes for r00a00",
        "   wind axes for r00r01",
        "   wind axes for r00r02",
        "   wind axes for r00r06",
        "   wind axes for r05a00",
    });

    const Variant v = Variant::force;
    expect_table(sb, r, "r.tab", title,
                 {"",
                  row(v, {0.5, 0, 0, 0, 0, 1, 2.5, -1, 0.5, 1, 0.5, -1, -0.5, 0.25, 8, 10, 15.5}),
                  row(v, {1, 0, 0, 0, 0, 6, 12, -8, 4, 8, 4, -8, -1, 0.5, 8, 10, 15.5}),
                  "",
                  row(v, {1, 0, 90, -4, 2, 12, 13, 2, -6, 4, 4, 2, 0, 0, 8, 10, 15.5}),
                  row(v, {1.5, 0, 0, 0, 0, 4.5, 13.5, 0, 13.5, 0, 0, 0, 0, 0, 8, 10, 15.5}),
                  "",
                  row(v, {0.5, 5, 0, 0, 0, 2.5, 3.5, 0, 0.5, 0, 0, 0, 0, 0, 8, 10, 15.5})});
    EXPECT_EQ(sb.read("k.tab"), "old k table\n");
    EXPECT_EQ(sb.read("ku.tab"), "old ku table\n");
}

// ---------------------------------------------------------------- coefficients

TEST(HydrosumProgram, CoefficientsOfOneRudderOffRun) {
    Sandbox sb;
    sb.write("k05r01.fm", fm_file(1, {
        {2.0, 5, 0, 0, 0, 0, 0, 1, wet_b, part_b, "0.25 0 0 0 0 0", "0.5 0.25 1 2 0.5 -1"},
        {1.0, 5, 0, 0, 0, 0, 0, 1, wet_b, part_b, "0.125 0 0 0 0 0", "0.125 0 0.5 0 0 0"},
    }));
    // A title longer than 80 characters is cut to 80 in the stamp.
    const std::string title = "coefficients, SREF 2, yaw/pitch length 0.5, roll length 4, forces times q .....Z";
    ASSERT_EQ(title.size(), 80u);
    // SREF 2, lengths 0.5 and 4, force switch 1: divided by SREF (and length), times q = v^2.
    Dated r = run(sb, deck({title + "-cut off", "1.0 1.0 1.0e-3 2.0 1.0", "1 1 1 0", "1 1 1 0", "1 1 1 1",
                          "1 1 1 1", "2 0.5 4 1", "0 0 0 0 0"}));

    expect_progress(r.outcome, {"   wind axes for k05r01"});
    const Variant c = Variant::coefficient;
    expect_table(sb, r, "k.tab", title,
                 {"", row(c, {2, 5, 0, 0, 0, 1, 1.5, 0.5, 2, 1, 2, -4, 0, 0, 8, 10, 15.5}),
                  row(c, {1, 5, 0, 0, 0, 0.0625, 0.125, 0, 0.25, 0, 0, 0, 0, 0, 8, 10, 15.5})});
    EXPECT_FALSE(sb.read("r.tab").has_value());
    EXPECT_FALSE(sb.read("ku.tab").has_value());
}

// ---------------------------------------------------------------- the case limit

// Scale 1, SREF 1, force switch 0: force areas as read.
const std::string plain_deck =
    deck({"case limit", "1.0 1.0 1.0e-3 2.0 1.0", "1 1 1 0", "1 1 1 0", "1 1 1 1", "1 1 1 1", "1 1 1 0", "0 0 0 0 0"});

std::vector<Case> numbered_cases(int n) {
    std::vector<Case> cs;
    for (int i = 1; i <= n; ++i)
        cs.push_back({double(i), 0, 0, 0, 0, 0, 0, 1, wet_b, part_b, "0.25 0 0 0 0 0", "0.5 0 0 0 0 0"});
    return cs;
}

TEST(HydrosumProgram, FiftyOneCasesFillOneRun) {
    Sandbox sb;
    sb.write("r00r01.fm", fm_file(1, numbered_cases(51)));
    Dated r = run(sb, plain_deck);
    EXPECT_EQ(r.outcome.status, 0) << r.outcome.err;
    std::vector<std::string> body{""};
    for (int i = 1; i <= 51; ++i)
        body.push_back(row(Variant::area, {double(i), 0, 0, 0, 0, 0.5, 0.75, 0, 0, 0, 0, 0, 0, 0, 8, 10, 15.5}));
    expect_table(sb, r, "r.tab", "case limit", body);
}

std::string trim_right(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

TEST(HydrosumProgram, FiftyTwoCasesStopBeforeAnyTable) {
    Sandbox sb;
    sb.write("r00a00.fm", fm_file(1, numbered_cases(2)));
    sb.write("r00r01.fm", fm_file(1, numbered_cases(52)));
    sb.write("r.tab", "old r table\n");
    Outcome o = sb.run(plain_deck);
    EXPECT_EQ(o.status, 1) << o.err;
    ASSERT_EQ(o.out.substr(0, banner.size()), banner);
    std::string rest = o.out.substr(banner.size());
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back(), '\n');
    EXPECT_EQ(trim_right(rest.substr(0, rest.size() - 1)), "error ... more than 51 cases in r00r01.fm");
    EXPECT_EQ(sb.read("r.tab"), "old r table\n");
}

// ---------------------------------------------------------------- input that ends the run

struct BadDeck {
    const char* what;
    std::string text;
};

TEST(HydrosumProgram, BadDeckEndsWithStatusOneAfterTheBanner) {
    const std::string good_r = fm_file(1, numbered_cases(1));
    const BadDeck cases[] = {
        {"unreadable real on line 2",
         deck({"t", "1.0 one 1.0e-3 2.0 1.0", "1 1 1 0", "1 1 1 0", "1 1 1 1", "1 1 1 1", "1 1 1 0", "0 0 0 0 0"})},
        {"unreadable integer on line 8",
         deck({"t", "1.0 1.0 1.0e-3 2.0 1.0", "1 1 1 0", "1 1 1 0", "1 1 1 1", "1 1 1 1", "1 1 1 0", "0 0 x 0 0"})},
        {"input ends after line 5", deck({"t", "1.0 1.0 1.0e-3 2.0 1.0", "1 1 1 0", "1 1 1 0", "1 1 1 1"})},
        {"input ends inside line 2", deck({"t", "1.0 1.0 1.0e-3"})},
        {"input ends before the title", ""},
    };
    for (const BadDeck& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox sb;
        sb.write("r00a00.fm", good_r);
        expect_refused(sb, sb.run(c.text), banner);
    }
}

struct BadFile {
    const char* what;
    const char* name;
    std::string text;
};

TEST(HydrosumProgram, BrokenForceMomentFileEndsWithStatusOneNamingIt) {
    const Case good{1.0, 0, 0, 0, 0, 0, 0, 1, wet_b, part_b, "0.25 0 0 0 0 0", "0.5 0 0 0 0 0"};
    const std::string cut_case = header(1) + case_line(good) + wet_b + "\n" + part_b + "\n9 9 9 9 9 9\n";
    Case with_breakdown = good;
    with_breakdown.type = 3;
    const std::string cut_breakdown = header(3) + case_line(with_breakdown) + wet_b + "\n" + part_b +
                                      "\n9 9 9 9 9 9\n9 9 9 9 9 9\n5 5 5 5 5 5\n5 5 5 5 5 5\n";
    Case bad_value = good;
    bad_value.inviscid = "0.5 abc 0 0 0 0";
    const std::string bad_field = header(1) + "       abc" + case_text(good).substr(10);
    const BadFile cases[] = {
        {"empty file", "k05r02.fm", ""},
        {"end of file inside the header", "r00a00.fm", header(3).substr(0, header(3).find('\n') + 1) + "a\nb\nc\n"},
        {"end of file inside a case", "w10a00.fm", cut_case},
        {"end of file inside a case's breakdown", "r00r01.fm", cut_breakdown},
        {"unreadable value", "n35r99.fm", fm_file(1, {good, bad_value})},
        {"unreadable case line field", "ku.fm", bad_field},
        {"one blank line after the last case", "nu.fm", fm_file(1, {good}) + "\n"},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox sb;
        if (std::string(c.name) != "r00a00.fm") sb.write("r00a00.fm", fm_file(1, {good}));
        sb.write(c.name, c.text);
        expect_refused(sb, sb.run(plain_deck), banner, c.name);
    }
}


// ---------------------------------------------------------------- a folder without the matrix

using Files = std::vector<std::pair<std::string, std::string>>;

// The demo's inputs, as the demo copies them into its folder.
Files demo_files(bool with_force_moment_files) {
    Files fs;
    for (const auto& e : std::filesystem::directory_iterator(DEMO_DIR)) {
        const std::filesystem::path& p = e.path();
        if (p.extension() == ".net" || p.filename() == "vpp.data" || (with_force_moment_files && p.extension() == ".fm"))
            fs.emplace_back(p.filename().string(), test_support::read_file(p));
    }
    return fs;
}

std::set<std::string> names_of(const Files& files) {
    std::set<std::string> names;
    for (const auto& [name, text] : files) names.insert(name.substr(0, name.find('/')));
    return names;
}

struct Unfound {
    const char* what;
    Files files;
    std::string deck;
};

// Not one force-moment file of the matrix opens where the run works: one
// line names that folder and the first file looked for, status 1 after the
// banner, before any step; no file is made or changed.
TEST(HydrosumProgram, NoForceMomentFileEndsWithStatusOneNamingTheFolder) {
    const std::string demo_deck = test_support::read_file(std::filesystem::path(DEMO_DIR) / "deck.txt");
    const Unfound cases[] = {
        {"empty folder", {}, plain_deck},
        {"other names, and the matrix one folder down",
         {{"R00A00.FM", fm_file(1, numbered_cases(1))},
          {"r00a00.fm.old", fm_file(1, numbered_cases(1))},
          {"r00a00", fm_file(1, numbered_cases(1))},
          {"r.tab", "old r table\n"},
          {"runs/r00a00.fm", fm_file(1, numbered_cases(1))},
          {"runs/ku.fm", fm_file(1, numbered_cases(1))}},
         plain_deck},
        // before the viscous step, which would read the part networks first
        {"the demo's networks and deck without its force-moment files", demo_files(false), demo_deck},
    };
    for (const Unfound& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox sb;
        for (const auto& [name, text] : c.files) sb.write_at(std::filesystem::path("work") / name, text);
        const Outcome o = sb.run(c.deck);
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.out, banner);
        EXPECT_EQ(o.err, "hydrosum: no force-moment file of the deck's runs in '" +
                             std::filesystem::canonical(sb.work()).string() +
                             "' (an r, k, w or n file of any heel and run, ku or nu), file 'r00a00.fm' (unit 1, record 0)\n");
        EXPECT_EQ(work_files(sb), names_of(c.files));
        for (const auto& [name, text] : c.files) EXPECT_EQ(sb.read(name), text) << name;
    }
}

struct Found {
    const char* what;
    Files files;
    std::vector<std::string> progress;
    std::set<std::string> written;
    const char* table;                    // checked where given
    std::vector<std::string> body;
    bool no_table = false;                // read, but none of them gives a table
};

// The line of a run whose files give no table, and its status 1.
std::string no_table_line(const Sandbox& sb) {
    return "hydrosum: no force-moment file of the deck's runs in '" + std::filesystem::canonical(sb.work()).string() +
           "' gives a table (an r or k file of any heel and run, or ku, does; w, n and nu files do not), "
           "nothing written\n";
}

// One file of the matrix is a matrix: every run of it absent but that one.
TEST(HydrosumProgram, OneForceMomentFileIsAMatrixWithTheOtherRunsAbsent) {
    const Variant a = Variant::area;
    const Case at_heel_5{1.0, 5, 0, 0, 0, 0, 0, 1, wet_b, part_b, "0.25 0 0 0 0 0", "0.5 0 0 0 0 0"};
    const Found cases[] = {
        {"ku.fm alone", {{"ku.fm", fm_file(1, numbered_cases(1))}}, {},
         {"ku.tab", "ku.plot", "ku.zon"}, "ku.tab",
         {"", row(a, {1, 0, 0, 0, 0, 0.5, 0.75, 0, 0, 0, 0, 0, 0, 0, 8, 10, 15.5})}},
        {"one r file", {{"r05r02.fm", fm_file(1, {at_heel_5})}}, {"   wind axes for r05r02"},
         {"r.tab", "r.plot", "rtr.tab", "r05r02.zon"}, "r.tab",
         {"", row(a, {1, 5, 0, 0, 0, 0.5, 0.75, 0, 0, 0, 0, 0, 0, 0, 8, 10, 15.5})}},
        {"one r file without cases", {{"r00a00.fm", header(1)}}, {"   wind axes for r00a00"},
         {"r.tab", "r.plot", "rtr.tab", "r00a00.zon"}, "r.tab", {}},
        // read, and only a source of corrections: nothing to tabulate
        {"nu.fm alone", {{"nu.fm", fm_file(1, numbered_cases(1))}}, {}, {}, nullptr, {}, true},
        // found as runs, though they give no table either
        {"a w file alone", {{"w20r07.fm", fm_file(1, numbered_cases(1))}}, {}, {}, nullptr, {}, true},
        {"an n file alone", {{"n05a00.fm", fm_file(1, numbered_cases(1))}}, {}, {}, nullptr, {}, true},
        {"an n file of the last heel and run alone", {{"n35r99.fm", fm_file(1, numbered_cases(1))}}, {}, {},
         nullptr, {}, true},
        // the frame's last heel and last run are looked for too
        {"an r file of the last heel and run", {{"r35r99.fm", fm_file(1, {at_heel_5})}}, {"   wind axes for r35r99"},
         {"r.tab", "r.plot", "rtr.tab", "r35r99.zon"}, "r.tab",
         {"", row(a, {1, 5, 0, 0, 0, 0.5, 0.75, 0, 0, 0, 0, 0, 0, 0, 8, 10, 15.5})}},
        {"a k file of the last run of heel 00", {{"k00r99.fm", fm_file(1, {at_heel_5})}}, {"   wind axes for k00r99"},
         {"k.tab", "k.plot", "ktr.tab", "k00r99.zon"}, "k.tab",
         {"", row(a, {1, 5, 0, 0, 0, 0.5, 0.75, 0, 0, 0, 0, 0, 0, 0, 8, 10, 15.5})}},
        {"a w file of the last heel, run a00", {{"w35a00.fm", fm_file(1, numbered_cases(1))}}, {}, {}, nullptr, {},
         true},
    };
    for (const Found& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox sb;
        for (const auto& [name, text] : c.files) sb.write(name, text);
        Dated r = run(sb, plain_deck);
        EXPECT_EQ(r.outcome.err, c.no_table ? no_table_line(sb) : "");
        EXPECT_EQ(r.outcome.status, c.no_table ? 1 : 0);
        EXPECT_EQ(r.outcome.out, banner + lines(c.progress));
        std::set<std::string> all = names_of(c.files);
        all.insert(c.written.begin(), c.written.end());
        EXPECT_EQ(work_files(sb), all);
        if (c.table) expect_table(sb, r, c.table, "case limit", c.body);
    }
}

// The demo's full matrix runs through to every table.
TEST(HydrosumProgram, TheDemoMatrixRunsToItsTables) {
    Sandbox sb;
    for (const auto& [name, text] : demo_files(true)) sb.write(name, text);
    const Outcome o = sb.run(test_support::read_file(std::filesystem::path(DEMO_DIR) / "deck.txt"));
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    EXPECT_EQ(o.out.substr(0, banner.size()), banner);
    for (const char* t : {"r.tab", "k.tab", "ku.tab", "rtr.tab", "ktr.tab", "r.plot", "k.plot", "ku.plot", "rvpp.plot",
                          "kvpp.plot"})
        EXPECT_TRUE(sb.read(t).has_value()) << t;
}

}  // namespace
}  // namespace hydrosum_program_test
