// runs the real hydrosum on decks that switch on the added physics: at-rest
// and added hydrostatics, induced drag, and viscous drag from the solver's
// breakdown or from friction lines over part networks
//
// Hydrostatic values are exact in binary and worked out by hand. Induced and
// friction-line drags are compared with references computed here in double
// precision from the published formulas.
#include "fixtures.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

namespace hydrosum_program_test {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- tables with computed drags

// A DRAG-TOT of the area table is printed with five decimals: half a unit of
// the last (5e-6) plus the single-precision error of drag areas below 10.
constexpr double printed_drag_tolerance = 1.0e-5;

struct NearDrag {
    std::size_t body_line;  // index into the expected body
    double value;           // double-precision reference
};

// expect_table, with the DRAG-TOT of the listed rows read as a number and
// compared with its reference; everything else must match exactly.
void expect_table_near(const Sandbox& sb, const Dated& r, const std::string& name, const std::string& title,
                       const std::vector<std::string>& body, const std::vector<NearDrag>& near) {
    constexpr std::size_t frame_lines = 8;  // 4 empty, stamp, empty, headings, units
    std::vector<Near> fields;
    for (const NearDrag& n : near)
        fields.push_back({frame_lines + n.body_line, drag_tot_at, 10, n.value, printed_drag_tolerance});
    expect_file(sb, r, name, title, [&](const std::string& s) { return result_table(s, body); }, fields);
}

// ---------------------------------------------------------------- the published formulas

double cf_laminar(double re) { return 1.328 / std::sqrt(re); }                  // Blasius
double cf_turbulent(double re) { return 0.455 / std::pow(std::log10(re), 2.58); }  // Prandtl-Schlichting

// ---------------------------------------------------------------- at-rest and added hydrostatics

// Scale 1, density 2 (q = v^2), every factor 1; the hydrostatic group holds
// forces as read (q switch 0), the other groups force areas as read. Viscous
// drag 0.5 and inviscid drag 1 in every case.
const std::string wet_h = "10 2 1 0.5 0.5 1.5";  // S-HULL 10, S-TOTAL 15.5
const std::string part_h = "8 0.5 0 0 0 0";      // L-HULL 8
const std::string visc_h = "0.5 0 0 0 0 0";
const std::string invi_h = "1 0 0 0 0 0";

Case hydro_case(double speed, double heel, const std::string& hydrostatic) {
    return {speed, heel, 0, 0, 0, 0, 0, 1, wet_h, part_h, visc_h, invi_h, hydrostatic};
}

// The row of a case whose hydrostatic force areas h were added to the inviscid group.
Row hydro_row(double vel, double heel, std::initializer_list<double> h) {
    const std::vector<double> a(h);
    return {vel, heel, 0, 0, 0, 1 + a[0], 1.5 + a[0], a[1], a[2], a[3], a[4], a[5], 0, 0, 8, 10, 15.5};
}

// A case at or below 1e-6 keeps its inviscid group.
Row resting_row(double vel, double heel) { return hydro_row(vel, heel, {0, 0, 0, 0, 0, 0}); }

TEST(HydrosumPhysics, AtRestThenAddedHydrostaticsInVisitingOrder) {
    Sandbox sb;
    // Reference run of heel 10, at rest first: its at-rest values are its first case.
    sb.write("r10a00.fm", fm_file(1, {hydro_case(0, 10, "8 4 -2 1 0.5 -1"),
                                      hydro_case(2, 10, "12 8 2 3 2.5 1"),
                                      hydro_case(4, 10, "40 20 14 17 8.5 15")}));
    // No case at rest: the reference run's values as read, before it loses them itself.
    sb.write("r10r01.fm", fm_file(1, {hydro_case(2, 10, "16 8 6 5 4.5 7"), hydro_case(4, 10, "24 20 14 9 8.5 15")}));
    // Present without cases: a line chosen through the reference run, no row.
    sb.write("r10r02.fm", header(1));
    // Speeds falling to 0: the at-rest values are the last case's.
    sb.write("k10r01.fm", fm_file(1, {hydro_case(4, 10, "20 8 4 4 2 6"), hydro_case(0, 10, "4 0 4 -4 2 6")}));
    // Neither has a reference run; their lines place w between r and k, n last.
    sb.write("w10r01.fm", fm_file(1, {hydro_case(2, 10, "1 1 1 1 1 1")}));
    sb.write("n10r01.fm", fm_file(1, {hydro_case(2, 10, "1 1 1 1 1 1")}));
    // A negative speed is at rest and the at-rest values are interpolated to
    // speed 0 halfway between the first two cases: (3, 1, 4, 6, -1, 1).
    sb.write("r00r01.fm", fm_file(1, {hydro_case(-1, 0, "2 0 2 4 -2 0"), hydro_case(1, 0, "4 2 6 8 0 2"),
                                      hydro_case(3, 0, "12 5.5 22 15 3.5 3.25")}));
    sb.write("k00r01.fm", fm_file(1, {hydro_case(2, 0, "4 8 -4 2 1 0.5")}));
    // Equal first and last speeds: the at-rest values are the means (3, 3, 3, 2, 2, 2).
    sb.write("ku.fm", fm_file(1, {hydro_case(0, 0, "1 2 0 1 1 1"), hydro_case(2, 0, "7 6 9 4 4 5"),
                                  hydro_case(0, 0, "1 1 0 1 1 0")}));
    sb.write("nu.fm", fm_file(1, {hydro_case(2, 0, "1 1 1 1 1 1")}));

    const std::string title = "at-rest and added hydrostatics";
    Dated r = run(sb, deck({title, "1.0 1.0 1.0e-3 2.0 1.0", "1 1 1 0", "1 1 1 0", "1 1 1 1", "1 1 1 1",
                          "1 1 1 0", "1 0 0 1 0"}));

    expect_progress(r.outcome, {
        "   at-rest hydrostatics for r10r02",
        "   at-rest hydrostatics for r10r01",
        "   no at-rest hydrostatics for w10r01",
        "   at-rest hydrostatics for k10r01",
        "   no at-rest hydrostatics for n10r01",
        "   at-rest hydrostatics for r10a00",
        "   at-rest hydrostatics for r00r01",
        "   no at-rest hydrostatics for k00r01",
        "   at-rest hydrostatics for ku",
        "   no at-rest hydrostatics for nu",
        "   adding hydrostatics for r10r02",
        "   adding hydrostatics for r10r01",
        "   adding hydrostatics for w10r01",
        "   adding hydrostatics for k10r01",
        "   adding hydrostatics for n10r01",
        "   adding hydrostatics for r10a00",
        "   adding hydrostatics for r00r01",
        "   adding hydrostatics for k00r01",
        "   adding hydrostatics for ku",
        "   adding hydrostatics for nu",
        "   wind axes for r00r01",
        "   wind axes for k00r01",
        "   wind axes for r10a00",
        "   wind axes for r10r01",
        "   wind axes for k10r01",
        "   wind axes for r10r02",
    });

    // Each moving case: (hydrostatic group - at-rest values) / v^2.
    const Variant a = Variant::area;
    expect_table(sb, r, "r.tab", title,
                 {"",
                  row(a, resting_row(-1, 0)),
                  row(a, hydro_row(1, 0, {1, 1, 2, 2, 1, 1})),
                  row(a, hydro_row(3, 0, {1, 0.5, 2, 1, 0.5, 0.25})),
                  "",
                  row(a, resting_row(0, 10)),
                  row(a, hydro_row(2, 10, {1, 1, 1, 0.5, 0.5, 0.5})),
                  row(a, hydro_row(4, 10, {2, 1, 1, 1, 0.5, 1})),
                  "",
                  row(a, hydro_row(2, 10, {2, 1, 2, 1, 1, 2})),
                  row(a, hydro_row(4, 10, {1, 1, 1, 0.5, 0.5, 1}))});
    expect_table(sb, r, "k.tab", title,
                 {"",
                  row(a, hydro_row(2, 0, {1, 2, -1, 0.5, 0.25, 0.125})),
                  "",
                  row(a, hydro_row(4, 10, {1, 0.5, 0, 0.5, 0, 0})),
                  row(a, resting_row(0, 10))});
    expect_table(sb, r, "ku.tab", title,
                 {"", row(a, resting_row(0, 0)), row(a, hydro_row(2, 0, {1, 0.75, 1.5, 0.5, 0.5, 0.75})),
                  row(a, resting_row(0, 0))});
}

// ---------------------------------------------------------------- the component block

// Option in columns 1-5, columns 6-10 skipped, the file name from column 11.
std::string part(int option, const std::string& name) {
    char b[300];
    std::snprintf(b, sizeof b, "%5d     %s", option, name.c_str());
    return b;
}

const std::string absent = part(0, "none");

// ---------------------------------------------------------------- viscous drag from the breakdown

// Scale 1, density 2, every factor 1, force areas as read. Every case has a
// breakdown; viscous group (0.5, 0.25, 0.125, 0.5, 0.25, 0.125), inviscid drag 1.
const std::string visc_b = "0.5 0.25 0.125 0.5 0.25 0.125";

Case breakdown_case(double heel, double side) {
    return {2.0, heel, 0, 0, 0, 0, 0, 3, wet_h, part_h, visc_b, "1 0 " + f(0, 1, side) + " 0 0 0"};
}

// The viscous group is kept, so its components beyond drag stay in the totals.
Row breakdown_row(double heel, double side, double induced) {
    return {2, heel, 0, 0, 0, 1, 1.5 + induced, 0.25, 0.125 + side, 0.5, 0.25, 0.125, 0, 0, 8, 10, 15.5};
}

struct NegativeMode {
    const char* what;
    std::vector<std::string> deck_tail;  // deck line 8, and line 9 where read
    double span, sine_term, efficiency;  // induced-drag constants in effect
};

TEST(HydrosumPhysics, NegativeViscousModeAddsTheInducedDragToTheSolversViscousDrag) {
    const NegativeMode modes[] = {
        {"mode -1: no induced drag", {"0 -1 0 0 0"}, 1, 0, 1},
        {"mode -2: span 2 + sin(heel), efficiency 0.5", {"0 -2 0 0 0", "2 1 0.5"}, 2, 1, 0.5},
    };
    const char* const networks[] = {"hull.net", "keel.net", "bulb.net", "wing.net", "rudder.net", "frud.net"};
    for (const NegativeMode& m : modes) {
        SCOPED_TRACE(m.what);
        Sandbox sb;
        sb.write("r00r01.fm", fm_file(3, {breakdown_case(0, 4)}));
        sb.write("r30r01.fm", fm_file(3, {breakdown_case(30, 2)}));
        sb.write("k00r01.fm", fm_file(3, {breakdown_case(0, -2)}));
        sb.write("ku.fm", fm_file(3, {breakdown_case(0, 1)}));

        const std::string title = "viscous drag from the solver's breakdown";
        std::vector<std::string> d = {title, "1.0 1.0 1.0e-3 2.0 1.0", "1 1 1 0", "1 1 1 0", "1 1 1 1",
                                      "1 1 1 1", "1 1 1 0"};
        d.insert(d.end(), m.deck_tail.begin(), m.deck_tail.end());
        // Options that a positive mode would act on: no network may be opened.
        d.push_back("none");
        for (int p = 0; p < 6; ++p) d.push_back(part(p + 1, networks[p]));
        Dated r = run(sb, deck(d));

        expect_progress(r.outcome, {"   wind axes for r00r01", "   wind axes for k00r01",
                                    "   wind axes for r30r01"});
        for (const char* n : networks) EXPECT_FALSE(fs::exists(sb.work() / n)) << n;

        // D = SF^2 / (2 pi h^2) (1 - e) / e, h = span cos(heel) + sine term sin(heel)
        const auto induced = [&](double heel, double side) {
            const double phi = heel * std::numbers::pi / 180;
            const double h = m.span * std::cos(phi) + m.sine_term * std::sin(phi);
            return side * side / (2 * std::numbers::pi * h * h) * (1 - m.efficiency) / m.efficiency;
        };
        const Variant a = Variant::area;
        expect_table_near(sb, r, "r.tab", title,
                          {"", row(a, breakdown_row(0, 4, 0)), "", row(a, breakdown_row(30, 2, 0))},
                          {{1, 1.5 + induced(0, 4)}, {3, 1.5 + induced(30, 2)}});
        expect_table_near(sb, r, "k.tab", title, {"", row(a, breakdown_row(0, -2, 0))},
                          {{1, 1.5 + induced(0, -2)}});
        expect_table_near(sb, r, "ku.tab", title, {"", row(a, breakdown_row(0, 1, 0))}, {{1, 1.5 + induced(0, 1)}});
    }
}

// ---------------------------------------------------------------- viscous drag from friction lines

// Scale 4 (sqrt l = 2, l^2 = 16, l^3 = 64), density 1000, viscosity 1e-3, every
// factor 1, force areas as read: a model speed s is a full-scale speed 2 s.
constexpr double scale = 4;
constexpr double density = 1000;
constexpr double viscosity = 1.0e-3;
const std::string friction_line_2 = "1.0 1.0 1.0e-3 1000.0 4.0";

std::vector<std::string> friction_deck(const std::string& title, const std::string& directory,
                                       const std::vector<std::string>& components) {
    std::vector<std::string> d = {title, friction_line_2, "1 1 1 0", "1 1 1 0", "1 1 1 1", "1 1 1 1",
                                  "1 1 1 0", "0 1 0 0 0", directory};
    d.insert(d.end(), components.begin(), components.end());
    return d;
}

// Wetted areas: hull 1024, keel 1024, rudder 512 (r) or 0 (k); L-HULL 8.
const std::string wet_r = "64 64 0 0 32 0";
const std::string wet_k = "64 64 0 0 0 0";
const std::string part_f = "2 0 0 0 0 0";
// The solver's viscous group, replaced as a whole by the friction drag.
const std::string visc_f = "0.25 0.125 0.0625 0.5 0.25 0.125";
// Inviscid: drag 1, vertical 0.5, side 2, roll 16, yaw 8, pitch -4.
const std::string invi_f = "0.0625 0.03125 0.125 0.25 0.125 -0.0625";

Case friction_case(double speed, const std::string& wetted) {
    return {speed, 0, 0, 0, 0, 0, 0, 1, wetted, part_f, visc_f, invi_f};
}

Row friction_row(double vel, double s_total) {
    return {vel, 0, 0, 0, 0, 1, 0, 0.5, 2, 16, 8, -4, 0, 0, 8, 1024, s_total};
}

// A flat plate in the plane y = 0 with its leading edge at x = 0 and its
// stations stepping down in z; model size.
std::string plate(int ni, int nj, double chord, double span) {
    char b[100];
    std::snprintf(b, sizeof b, "%5d%5d%10s%s\n", ni, nj, "", "flat plate");
    std::string t = b;
    for (int j = 1; j <= nj; ++j)
        for (int i = 1; i <= ni; ++i) {
            std::snprintf(b, sizeof b, "%16.8e%16.8e%16.8e\n", chord * (i - 1) / (ni - 1), 0.0,
                          -span * (j - 1) / (nj - 1));
            t += b;
        }
    return t;
}

// Full-scale drag areas at full-scale speed v.
double hull_drag(double v) { return cf_laminar(v * density * (2 * scale) / viscosity) * 1.04 * 1024; }
double keel_drag(double v) { return cf_turbulent(v * density * (0.5 * scale) / viscosity) * 1024; }
double rudder_drag(double v) { return cf_laminar(v * density * (0.25 * scale) / viscosity) * 512; }

TEST(HydrosumPhysics, FrictionLinesOverFlatPlatesWithoutFrudLines) {
    Sandbox sb;
    // The case at rest is taken at the smallest case speed, k's 4.
    sb.write("r00r01.fm", fm_file(1, {friction_case(0, wet_r), friction_case(3, wet_r)}));
    sb.write("k00r01.fm", fm_file(1, {friction_case(2, wet_k)}));
    // The hull's points are never used, so it needs none.
    sb.write("hull.net", "    0    0          hull\n");
    // 201 points along the chord is the most accepted; two by two the least.
    sb.write("keel.net", plate(201, 3, 0.5, 1));
    sb.write("rudder.net", plate(2, 2, 0.25, 0.5));

    const std::string title = "friction lines over flat plates";
    Dated r = run(sb, deck(friction_deck(title, "none", {part(1, "hull.net"), part(2, "keel.net"), absent, absent,
                                                         part(1, "rudder.net")})));

    expect_progress(r.outcome, {"   wind axes for r00r01", "   wind axes for k00r01",
                                "hull stripping, option    1", "keel stripping, option    2",
                                "rudr stripping, option    1"});
    const Variant a = Variant::area;
    expect_table_near(sb, r, "r.tab", title, {"", row(a, friction_row(0, 2560)), row(a, friction_row(6, 2560))},
                      {{1, 1 + hull_drag(4) + keel_drag(4) + rudder_drag(4)},
                       {2, 1 + hull_drag(6) + keel_drag(6) + rudder_drag(6)}});
    expect_table_near(sb, r, "k.tab", title, {"", row(a, friction_row(4, 2048))},
                      {{1, 1 + hull_drag(4) + keel_drag(4)}});
}

TEST(HydrosumPhysics, NoDensityAddsNeitherHydrostaticsNorFriction) {
    Sandbox sb;
    Case c = friction_case(3, wet_r);
    c.hydrostatic = "1 1 1 1 1 1";
    sb.write("r00r01.fm", fm_file(1, {c}));
    sb.write("hull.net", "    0    0          hull\n");
    sb.write("keel.net", plate(2, 2, 0.5, 1));

    const std::string title = "no density";
    std::vector<std::string> d = friction_deck(title, "none", {part(1, "hull.net"), part(1, "keel.net"), absent,
                                                               absent, absent});
    d[1] = "1.0 1.0 1.0e-3 0.0 4.0";
    d[7] = "1 1 0 0 0";  // hydrostatics on
    Dated r = run(sb, deck(d));

    expect_progress(r.outcome, {"   adding hydrostatics for r00r01", "   wind axes for r00r01",
                                "hull stripping, option    1", "keel stripping, option    1"});
    // With no dynamic pressure the case is as at rest; with no Reynolds number no friction.
    Row expected = friction_row(6, 2560);
    expected.drag_tot = 1;
    expect_table(sb, r, "r.tab", title, {"", row(Variant::area, expected)});
}

// ---------------------------------------------------------------- networks that stop the run

struct Stop {
    const char* what;
    std::vector<std::string> components;  // the lines from the hull's on
    std::vector<std::pair<const char*, std::string>> networks;
    std::vector<std::string> last_lines;  // after the wind axes line
};

TEST(HydrosumPhysics, NetworkOutsideItsLimitsStopsWithStatusOneBeforeAnyTable) {
    const std::string over = "  202    3\n";  // no points: the counts are checked first
    const Stop cases[] = {
        {"keel over 201 points per station",
         {absent, part(2, "keel.net"), absent, absent, absent},
         {{"keel.net", over}},
         {"error ... keel array size exceeds maximum(s)"}},
        {"rudder over 201 stations, after the keel",
         {absent, part(2, "keel.net"), absent, absent, part(1, "rudder.net")},
         {{"keel.net", plate(2, 2, 0.5, 1)}, {"rudder.net", "    3  202\n"}},
         {"keel stripping, option    2", "error ... rudr array size exceeds maximum(s)"}},
        {"keel of one point per station",
         {absent, part(2, "keel.net"), absent, absent, absent},
         {{"keel.net", "    1    3\n 0 0 0\n 0 0 -1\n 0 0 -2\n"}},
         {"error ... keel array size below minimum(s)"}},
        {"bulb of one point per row",
         {absent, absent, part(1, "bulb.net"), absent, absent},
         {{"bulb.net", "    1    3\n 0 0 0\n 0 0 1\n 0 0 2\n"}},
         {"error ... bulb array size below minimum(s)"}},
        {"frud without stations",
         {absent, absent, absent, absent, absent, part(2, "frud.net")},
         {{"frud.net", "    2    0\n"}},
         {"error ... frud array size below minimum(s)"}},
        {"keel whose edges lie on one line",
         {absent, part(2, "keel.net"), absent, absent, absent},
         {{"keel.net", "    2    2\n 0 0 0\n 1 0 0\n 2 0 0\n 3 0 0\n"}},
         {"error ... keel network geometry degenerate"}},
    };
    for (const Stop& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox sb;
        sb.write("r00r01.fm", fm_file(1, {friction_case(3, wet_r)}));
        for (const auto& [name, text] : c.networks) sb.write(name, text);
        std::vector<std::string> out = {"   wind axes for r00r01"};
        out.insert(out.end(), c.last_lines.begin(), c.last_lines.end());
        const Outcome o = sb.run(deck(friction_deck("stopped", "none", c.components)));
        EXPECT_EQ(o.status, 1) << o.err;
        EXPECT_EQ(o.out, banner + lines(out));
        EXPECT_FALSE(sb.read("r.tab").has_value());
    }
}

struct Refused {
    const char* what;
    std::string directory;
    std::vector<std::string> components;
    std::string in_stderr;             // what the diagnostic must name
    std::optional<fs::path> made_dir;  // a folder ready for the network, under the work folder
    std::optional<fs::path> not_made;  // a file that must not be created, under the work folder
};

TEST(HydrosumPhysics, NetworkThatCannotBeReadEndsWithStatusOneCreatingNothing) {
    const std::string long_dir(250, 'd');  // with "/keel.net" the path runs past 255
    const std::vector<std::string> keel_only = {absent, part(2, "keel.net"), absent, absent, absent};
    const Refused cases[] = {
        {"missing network", "nets", keel_only, "nets/keel.net", fs::path("nets"), fs::path("nets/keel.net")},
        {"blank network name", "none", {absent, part(2, ""), absent, absent, absent}, "keel", {}, {}},
        // The whole path holds a network; the cut one must neither be read nor made.
        {"path cut at 255 characters", long_dir, keel_only, "keel", fs::path(long_dir),
         fs::path(long_dir + "/keel")},
        {"component block ending before the rudder line", "none", {absent, absent, absent, absent}, "", {}, {}},
        {"frud option not an integer", "none", {absent, absent, absent, absent, absent, "    x     frud.net"}, "",
         {}, {}},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox sb;
        sb.write("r00r01.fm", fm_file(1, {friction_case(3, wet_r)}));
        if (c.made_dir) fs::create_directories(sb.work() / *c.made_dir);
        if (c.directory == long_dir) sb.write(long_dir + "/keel.net", plate(2, 2, 0.5, 1));
        expect_refused(sb, sb.run(deck(friction_deck("refused", c.directory, c.components))),
                       banner + "   wind axes for r00r01\n", c.in_stderr);
        if (c.not_made) {
            EXPECT_FALSE(fs::exists(sb.work() / *c.not_made)) << *c.not_made;
        }
    }
}

// ---------------------------------------------------------------- networks found through the environment

struct Found {
    const char* what;
    std::string directory, name;
    Environment env;  // values are folders under the sandbox root
    fs::path network;  // where it lies, under the root
};

TEST(HydrosumPhysics, NetworkFoundThroughTheEnvironment) {
    const std::optional<std::string> unset;
    const Found cases[] = {
        {"$ZOZU_HOME/nets", "$ZOZU_HOME/nets", "keel.net",
         {{"HOME", "home"}, {"ZOZU_HOME", "zozu"}, {"ZOZU_WORKDIR", unset}}, "zozu/nets/keel.net"},
        {"$ZOZU_HOME/nets with HOME in its place", "$ZOZU_HOME/nets", "keel.net",
         {{"HOME", "home"}, {"ZOZU_HOME", unset}, {"ZOZU_WORKDIR", unset}}, "home/nets/keel.net"},
        {"~/ before the name", "nets", "~/keel.net",
         {{"HOME", "home"}, {"ZOZU_HOME", "zozu"}, {"ZOZU_WORKDIR", unset}}, "home/keel.net"},
        {"$ZOZU_WORKDIR/nets", "$ZOZU_WORKDIR/nets", "keel.net",
         {{"HOME", "home"}, {"ZOZU_HOME", "zozu"}, {"ZOZU_WORKDIR", "job"}}, "job/nets/keel.net"},
    };
    for (const Found& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox sb;
        sb.write("r00r01.fm", fm_file(1, {friction_case(3, wet_r)}));
        sb.write_at(c.network, plate(2, 2, 0.5, 1));
        Environment child;
        for (const auto& [name, value] : c.env)
            child.push_back({name, value ? std::optional<std::string>((sb.root() / *value).string()) : unset});

        const std::string title = "network through the environment";
        // The deck ends after the frud label line.
        Dated r = run(sb,
                      deck(friction_deck(title, c.directory, {absent, part(1, c.name), absent, absent, absent})) +
                          "label of the frud line\n",
                      child);

        expect_progress(r.outcome, {"   wind axes for r00r01", "keel stripping, option    1"});
        const double keel = cf_laminar(6 * density * (0.5 * scale) / viscosity) * 1024;
        expect_table_near(sb, r, "r.tab", title, {"", row(Variant::area, friction_row(6, 2560))}, {{1, 1 + keel}});
    }
}

}  // namespace
}  // namespace hydrosum_program_test
