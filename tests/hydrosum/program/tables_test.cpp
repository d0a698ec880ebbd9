// runs the real hydrosum through to its plot and velocity-prediction tables,
// and again against its own tables kept as ".old"
//
// Every value below is exact in binary and the expected rows are worked out
// by hand. The density is twice the standard gravity, so the side force of a
// gathered case in kgf is its side force area times its squared full-scale
// speed, exactly; side forces of 0 and s with a required side force t s give
// the interpolation fractions t and t squared.
#include "fixtures.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace hydrosum_program_test {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- the matrix

// Scale 1, every factor 1, force areas as read. Output speed factor 2: a
// model speed v prints as 2 v. SREF 1 and force areas: plot tables.
// Viscous mode -1: the part viscous drags are the solver's breakdown.
const std::string title = "plot and velocity-prediction tables";
const std::string no_part = "    0     none";
const std::string the_deck = deck({title, "1.0 2.0 1.0e-3 19.6133 1.0", "1 1 1 0", "1 1 1 0", "1 1 1 1", "1 1 1 1",
                                   "1 1 1 0", "0 -1 0 0 0", "none", no_part, no_part, no_part, no_part, no_part,
                                   no_part});

// S-HULL 4, keel 1, bulb 0.5, the fourth area 2 (left out), rudder 0.25, wing
// 0.125, frud 0.0625: S-TOTAL 5.9375. L-HULL 6.
const std::string wet = "4 1 0.5 2 0.25 0.125";
const std::string particulars = "6 0.0625 1 1 1 1";
// Hull, keel, bulb, wing, rudder, frud: ADV-APP 0.75 (keel to frud).
const std::vector<std::string> breakdown = {"0.25 0 0 0 0 0",  "0.125 0 0 0 0 0", "0.0625 0 0 0 0 0",
                                            "0.03125 0 0 0 0 0", "0.5 0 0 0 0 0", "0.03125 0 0 0 0 0"};

// One case; yaw 0 throughout, so nothing is turned into wind axes.
struct Model {
    double v, heel, tab, rud, sink, trim;
    double viscous, inviscid, side, roll, yaw_moment;  // drag areas, side force area, moments
};

std::string num(double x) {
    char b[32];
    std::snprintf(b, sizeof b, "%.5f", x);
    return b;
}

Case solver_case(const Model& m) {
    return {m.v, m.heel, 0, m.tab, m.rud, m.sink, m.trim, 3, wet, particulars, num(m.viscous) + " 0 0 0 0 0",
            num(m.inviscid) + " 0 " + num(m.side) + " " + num(m.roll) + " " + num(m.yaw_moment) + " 0.125",
            "9 9 9 9 9 9", breakdown};
}

// The centres of lateral resistance are the moments over the side force (0
// without side force, and always 0 in the upright set).
PlotRow plotted(const Model& m, bool upright = false) {
    const bool centres = !upright && m.side != 0;
    return {2 * m.v, m.heel, 0, m.rud, m.tab,
            m.inviscid, m.viscous + m.inviscid, m.side, centres ? m.roll / m.side : 0,
            centres ? m.yaw_moment / m.side : 0, m.sink, m.trim,
            6, 4, 5.9375,
            m.viscous, 0.25, 0.75, 0.125, 0.0625, 0.03125, 0.5,
            m.side * m.side};
}

// Rudder and tab angles of -10 and less fill their fields and touch the one before.
const std::vector<Model> ku_cases = {{1, 0, 0, -10, -0.25, 0.5, 0.5, 0.75, 0.5, 0, 0},
                                     {2, 0, -10.5, 0, -0.5, 0.25, 0.5, 1.25, 1, 0, 0}};

// Heel 10. Run 1 and every case 1 are no velocity-prediction points: r01's
// case 1 shares the speed of a row and would turn the gather round.
const std::vector<Model> r10a00 = {{1, 10, 0, 0, -0.25, 0.5, 0.5, 1, 1, -0.5, 0.25},
                                   {2, 10, 0, 0, -0.25, 0.5, 0.5, 2, 2, -1, 0.5}};
const std::vector<Model> r10r01 = {{1, 10, 2, -4, -0.125, 0, 0.25, 0.25, 4, 0, 0},
                                   {1, 10, 0, -8, -0.5, 0.25, 0.25, 0.5, 0, 0, 0},
                                   {2, 10, 0, -8, -1, 0.75, 0.5, 1, 0, 0, 0}};
const std::vector<Model> r10r03 = {{0.5, 10, 0, 0, 0, 0, 0.125, 0.25, 0.5, 0, 0},
                                   {1, 10, -2, -12, -0.75, 0.5, 0.5, 1.5, 2, -2, 1},
                                   {2, 10, -2, -12, -1.5, 1.25, 1, 2, 1, -0.5, 0.25}};
// Heel 20: side forces 0, 4, 2 in run order at the row speed; r03's case 1
// (side force 8) is none of them.
const std::vector<Model> r20r01 = {{0.5, 20, 0, 0, 0, 0, 0.125, 0.25, 0.5, 0, 0},
                                   {1, 20, 0, -8, -0.5, 0.25, 0.25, 0.5, 0, 0, 0}};
const std::vector<Model> r20r02 = {{0.5, 20, 0, 0, 0, 0, 0.125, 0.25, 0.5, 0, 0},
                                   {1, 20, -6, -20, -1, 0.75, 0.75, 1.5, 4, -4, 2}};
const std::vector<Model> r20r03 = {{1, 20, 0, 0, 0, 0, 0.25, 0.5, 8, 0, 0},
                                   {1, 20, -2, -12, -0.75, 0.5, 0.5, 1, 2, -1, 0.5}};

// Required side force 1 kgf at heel 10 and 2 at heel 20.
const std::string two_header_lines = "required side force\n  heel  side force (kgf)\n";
const std::string vpp_data = two_header_lines + "0 0\n20 2\n40 6\n";

const std::vector<std::pair<std::string, std::vector<Model>>> solver_files = {
    {"r10a00.fm", r10a00}, {"r10r01.fm", r10r01}, {"r10r03.fm", r10r03}, {"r20r01.fm", r20r01},
    {"r20r02.fm", r20r02}, {"r20r03.fm", r20r03}, {"k10r01.fm", r10r01}, {"k10r03.fm", r10r03},
    {"ku.fm", ku_cases}};

void write_matrix(const Sandbox& sb) {
    for (const auto& [name, models] : solver_files) {
        std::vector<Case> cases;
        for (const Model& m : models) cases.push_back(solver_case(m));
        sb.write(name, fm_file(3, cases));
    }
}

// The lines after the banner.
const std::vector<std::string> progress = {
    "   wind axes for r10a00", "   wind axes for r10r01", "   wind axes for k10r01", "   wind axes for r10r03",
    "   wind axes for k10r03", "   wind axes for r20r01", "   wind axes for r20r02", "   wind axes for r20r03",
};
const std::string mismatch = " error ... test matrix does not agree with old test matrix";

// Only heel 10 has a run 1, whose speeds meet three runs: one polar zone file.
const std::set<std::string> outputs = {
    "ku.tab",     "r.tab",      "k.tab",      "rtr.tab",    "ktr.tab",    "ku.plot",    "r.plot",
    "k.plot",     "rvpp.plot",  "kvpp.plot",  "ku.zon",     "r10a00.zon", "r10r01.zon", "r10r03.zon",
    "k10r01.zon", "k10r03.zon", "r20r01.zon", "r20r02.zon", "r20r03.zon", "r10tr.zon"};
const std::vector<std::string> compared = {"ku.plot", "r.plot", "k.plot", "rvpp.plot", "kvpp.plot"};

// ---------------------------------------------------------------- expected tables

void append(std::vector<std::string>& body, const std::vector<Model>& run) {
    for (const Model& m : run) body.push_back(plot_row(plotted(m)));
}

std::vector<std::string> ku_body() {
    return {plot_row(plotted(ku_cases[0], true)), plot_row(plotted(ku_cases[1], true))};
}

// Empty lines before the first two runs of each heel.
std::vector<std::string> r_body() {
    std::vector<std::string> b{""};
    append(b, r10a00);
    b.push_back("");
    append(b, r10r01);
    append(b, r10r03);
    b.push_back("");
    append(b, r20r01);
    b.push_back("");
    append(b, r20r02);
    append(b, r20r03);
    return b;
}

std::vector<std::string> k_body() {
    std::vector<std::string> b{""};
    append(b, r10r01);
    b.push_back("");
    append(b, r10r03);
    return b;
}

// Heel 10, speed 2 (r01, r03 at side forces 0, 2): fractions 1/2 and 1/4.
const PlotRow vpp_10_at_2 = {2, 10, 0, -10, -1,                             // speed, heel and angles
                             0.75, 1.0625, 1, -0.5, 0.25, -562.5, 0.3125,   // AD-INV to TRIM
                             6, 4, 5.9375,                                  // L-HULL, S-HULL, S-TOTAL
                             0.3125, 0.25, 0.75, 0.125, 0.0625, 0.03125, 0.5,  // ADV-TOT to ADV-RUD
                             1};
// Heel 10, speed 4 (side forces 0, 4): fractions 1/4 and 1/16.
const PlotRow vpp_10_at_4 = {4, 10, 0, -9, -0.5,
                             1.0625, 1.59375, 1, -0.125, 0.0625, -1031.25, 0.78125,
                             6, 4, 5.9375,
                             0.53125, 0.25, 0.75, 0.125, 0.0625, 0.03125, 0.5,
                             1};
// Heel 20, speed 2 (side forces 0, 4, 2, unsorted): the segment from r01 to
// r02, the first side force not below 2; fractions 1/2 and 1/4.
const PlotRow vpp_20_at_2 = {2, 20, 0, -14, -3,
                             0.75, 1.125, 2, -0.5, 0.25, -625, 0.375,
                             6, 4, 5.9375,
                             0.375, 0.25, 0.75, 0.125, 0.0625, 0.03125, 0.5,
                             4};

std::vector<std::string> rvpp_body() { return {vpp_row(vpp_10_at_2), vpp_row(vpp_10_at_4), vpp_row(vpp_20_at_2)}; }
std::vector<std::string> kvpp_body() { return {vpp_row(vpp_10_at_2), vpp_row(vpp_10_at_4)}; }

std::string ku_plot(const std::tm& d, const std::vector<std::string>& body) {
    return plot_table(title, d, plot_units_line, true, body);
}
std::string class_plot(const std::tm& d, const std::vector<std::string>& body) {
    return plot_table(title, d, plot_units_line, false, body);
}
std::string vpp_plot(const std::tm& d, const std::vector<std::string>& body) {
    return plot_table(title, d, vpp_units_line, true, body);
}

std::vector<std::string> first(const std::vector<std::string>& body, std::size_t n) {
    return {body.begin(), body.begin() + static_cast<std::ptrdiff_t>(n)};
}

// A zone row: the centres of lateral resistance, the pitch moment 0.125 and
// four decimals for forces, lengths and areas.
std::string zone_row(const Model& m) {
    const PlotRow p = plotted(m);
    std::string s = f(5, 2, p.vel) + f(5, 1, p.heel) + f(5, 1, 0) + f(5, 1, p.rud) + f(5, 1, p.tab);
    s += f(10, 5, p.ad_inv) + f(10, 5, p.ad_tot) + f(10, 4, 0) + f(10, 4, p.side) + f(10, 5, p.v_clr) +
         f(10, 5, p.l_clr) + f(10, 4, 0.125) + f(10, 5, p.sink) + f(10, 5, p.trim);
    return s + f(10, 4, 6) + f(10, 4, 4) + f(10, 4, 5.9375);
}

std::string r20r03_zone(const std::tm& d) {
    return lines({"TITLE=\"" + stamp(title, d) + "\"",
                  "VARIABLES=vs,hl,yw,drd,dkl,cfxi,cfxt,cfy,cfz,vclr,lclr,cmz,sink,trim,hxl,hsw,swet",
                  "ZONE T=\"r20r03\", I=    2", zone_row(r20r03[0]), zone_row(r20r03[1])});
}

std::set<std::string> joined(std::set<std::string> a, const std::set<std::string>& b) {
    a.insert(b.begin(), b.end());
    return a;
}

bool same_day(const std::tm& a, const std::tm& b) {
    return a.tm_mday == b.tm_mday && a.tm_mon == b.tm_mon && a.tm_year == b.tm_year;
}

// ---------------------------------------------------------------- a full run, twice

// What a run of the matrix writes when every comparison matches.
void expect_matching_run(const Sandbox& sb, const Dated& r) {
    expect_progress(r.outcome, progress);
    expect_dated(sb, r, "ku.plot", [](const std::tm& d) { return ku_plot(d, ku_body()); });
    expect_dated(sb, r, "r.plot", [](const std::tm& d) { return class_plot(d, r_body()); });
    expect_dated(sb, r, "k.plot", [](const std::tm& d) { return class_plot(d, k_body()); });
    expect_dated(sb, r, "rvpp.plot", [](const std::tm& d) { return vpp_plot(d, rvpp_body()); });
    expect_dated(sb, r, "kvpp.plot", [](const std::tm& d) { return vpp_plot(d, kvpp_body()); });
    // written last, from the store as the tables leave it
    expect_dated(sb, r, "r20r03.zon", r20r03_zone);
}

TEST(HydrosumTables, FullRunThenAgainAgainstItsOwnTablesAsOld) {
    Sandbox sb;
    write_matrix(sb);
    sb.write("vpp.data", vpp_data);
    const std::set<std::string> inputs = work_files(sb);

    const Dated once = run(sb, the_deck);
    expect_matching_run(sb, once);
    EXPECT_EQ(work_files(sb), joined(inputs, outputs));

    // Keep the tables as their previous versions and clear every output, so
    // that each must be written again.
    std::map<std::string, std::optional<std::string>> before;
    std::set<std::string> olds;
    for (const std::string& n : outputs) before[n] = sb.read(n);
    for (const std::string& n : compared) {
        fs::copy_file(sb.work() / n, sb.work() / (n + ".old"));
        olds.insert(n + ".old");
    }
    for (const std::string& n : outputs) fs::remove(sb.work() / n);

    const Dated twice = run(sb, the_deck);
    expect_matching_run(sb, twice);
    EXPECT_EQ(work_files(sb), joined(joined(inputs, outputs), olds));
    // The previous tables are read, never written.
    for (const std::string& n : compared) EXPECT_EQ(sb.read(n + ".old"), before[n]) << n;
    if (same_day(once.before, twice.after)) {
        for (const std::string& n : outputs) EXPECT_EQ(sb.read(n), before[n]) << n;
    }
}

// ---------------------------------------------------------------- a previous table of another matrix

TEST(HydrosumTables, OldTableOfAnotherMatrixIsReportedAndTheRunGoesOn) {
    Sandbox sb;
    write_matrix(sb);
    sb.write("vpp.data", vpp_data);
    // Run 1 at heel 10: its first row 0.01 off in speed (drag areas that would
    // give other ratios), its second with AD-INV 4 and AD-TOT printed as 0.
    std::vector<std::string> old_body = r_body();
    PlotRow off = plotted(r10a00[0]);
    off.vel = 2.01;
    off.ad_inv = 4;
    off.ad_tot = 4;
    old_body[1] = plot_row(off);
    PlotRow halved = plotted(r10a00[1]);
    halved.ad_inv = 4;
    halved.ad_tot = 0;
    old_body[2] = plot_row(halved);
    const std::set<std::string> inputs = work_files(sb);
    sb.write("r.plot.old", class_plot(today(), old_body));

    const Dated r = run(sb, the_deck);
    std::vector<std::string> said = progress;
    said.push_back(mismatch);
    // the tables are all written, but the run has failed
    EXPECT_EQ(r.outcome.status, 1) << r.outcome.err;
    EXPECT_EQ(r.outcome.err, "");
    EXPECT_EQ(r.outcome.out, banner + lines(said));
    // Ratios 1 for the mismatching row; the next row is compared as it comes.
    std::vector<std::string> body = r_body();
    body[2] = plot_row(plotted(r10a00[1]), 0.5, 99);
    expect_dated(sb, r, "r.plot", [&](const std::tm& d) { return class_plot(d, body); });
    expect_dated(sb, r, "k.plot", [](const std::tm& d) { return class_plot(d, k_body()); });
    expect_dated(sb, r, "rvpp.plot", [](const std::tm& d) { return vpp_plot(d, rvpp_body()); });
    EXPECT_EQ(work_files(sb), joined(joined(inputs, outputs), {"r.plot.old"}));
}

// ---------------------------------------------------------------- a previous table that ends the run

struct Broken {
    const char* what;
    std::string name;      // the table; its previous version is name + ".old"
    std::string old_text;
    bool vpp;
    std::vector<std::string> kept;  // the body lines that stay in the table
    std::vector<std::string> not_written;
};

TEST(HydrosumTables, ShortOrMalformedOldTableEndsTheRunKeepingThePartialTable) {
    const std::tm now = today();  // the stamps of previous tables are skipped unread
    const std::vector<std::string> r = r_body();
    // Body line 11 is r20r01's first row, 12 its second.
    std::vector<std::string> malformed = r;
    malformed[12].replace(25, 10, "  0.50x000");
    const std::vector<std::string> after_r = {"k.plot", "rvpp.plot", "kvpp.plot"};
    const Broken cases[] = {
        {"r.plot.old ends before r20r01's second row", "r.plot", class_plot(now, first(r, 12)), false, first(r, 12),
         after_r},
        {"r.plot.old with a malformed AD-INV in r20r01's second row", "r.plot", class_plot(now, malformed), false,
         first(r, 12), after_r},
        {"rvpp.plot.old ends after its first row", "rvpp.plot", vpp_plot(now, first(rvpp_body(), 1)), true,
         first(rvpp_body(), 1), {"kvpp.plot"}},
    };
    for (const Broken& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox sb;
        write_matrix(sb);
        sb.write("vpp.data", vpp_data);
        sb.write(c.name + ".old", c.old_text);
        const Dated o = run(sb, the_deck);
        EXPECT_EQ(o.outcome.status, 1);
        EXPECT_EQ(o.outcome.out, banner + lines(progress));
        EXPECT_NE(o.outcome.err.find(c.name + ".old"), std::string::npos) << o.outcome.err;
        expect_dated(sb, o, c.name,
                     [&](const std::tm& d) { return c.vpp ? vpp_plot(d, c.kept) : class_plot(d, c.kept); });
        expect_dated(sb, o, "ku.plot", [](const std::tm& d) { return ku_plot(d, ku_body()); });
        for (const std::string& n : c.not_written) EXPECT_FALSE(sb.read(n).has_value()) << n;
        EXPECT_TRUE(zone_files(sb).empty());
    }
}

// ---------------------------------------------------------------- too few pairs

TEST(HydrosumTables, NoVelocityPredictionTablesWithoutTwoPairs) {
    std::set<std::string> zones;
    for (const std::string& n : outputs)
        if (fs::path(n).extension() == ".zon") zones.insert(n);
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"no vpp.data", std::nullopt},
        {"one pair", two_header_lines + "10 1\n"},
        {"a second pair cut off by the end of the file", two_header_lines + "10 1\n20\n"},
    };
    for (const auto& [what, data] : cases) {
        SCOPED_TRACE(what);
        Sandbox sb;
        write_matrix(sb);
        if (data) sb.write("vpp.data", *data);
        // Too short to be skipped: opening them would end the run.
        sb.write("rvpp.plot.old", "short\n");
        sb.write("kvpp.plot.old", "short\n");
        sb.write("rvpp.plot", "older rvpp.plot\n");
        sb.write("kvpp.plot", "older kvpp.plot\n");
        const Dated r = run(sb, the_deck);
        expect_progress(r.outcome, progress);
        EXPECT_EQ(sb.read("rvpp.plot"), "older rvpp.plot\n");
        EXPECT_EQ(sb.read("kvpp.plot"), "older kvpp.plot\n");
        expect_dated(sb, r, "k.plot", [](const std::tm& d) { return class_plot(d, k_body()); });
        EXPECT_EQ(zone_files(sb), zones);
    }
}

}  // namespace
}  // namespace hydrosum_program_test
