// runs the real hydrosum through the whole correction chain (leakage, surfing
// rudder, upright transfer, upright anchor, wind axes) and checks what it
// writes from there: result tables, induced-drag polars and zone files
//
// Every value below is exact in binary and worked out by hand from the model
// values. The friction-line drag and the polar lengths TR are compared with
// references computed here in double precision.
#include "fixtures.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace hydrosum_program_test {
namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------- expected text

std::string i5(std::size_t n) {
    char b[16];
    std::snprintf(b, sizeof b, "%5zu", n);
    return b;
}

// Fortran 1pe13.5: one digit before the point, two-digit exponent.
std::string e13(double v) {
    char b[32];
    std::snprintf(b, sizeof b, "%13.5E", v);
    return b;
}

const std::string zone_variables = "VARIABLES=vs,hl,yw,drd,dkl,cfxi,cfxt,cfy,cfz,vclr,lclr,cmz,sink,trim,hxl,hsw,swet";
const std::string polar_variables = "VARIABLES=vs,hl,cdo,xk,clo,tr";

std::vector<std::string> zone(const std::string& stamp_text, const std::string& variables, const std::string& name,
                              const std::vector<std::string>& rows) {
    std::vector<std::string> z = {"TITLE=\"" + stamp_text + "\"", variables,
                                  "ZONE T=\"" + name + "\", I=" + i5(rows.size())};
    z.insert(z.end(), rows.begin(), rows.end());
    return z;
}

// A zone row holds the table row's values but the centres of lateral
// resistance in place of the roll and yaw moments; swet is S-TOTAL.
std::string zone_row(bool unit_area, const Row& r, double vclr, double lclr) {
    std::string s = f(5, 2, r.vel) + f(5, 1, r.heel) + f(5, 1, r.yaw) + f(5, 1, r.rud) + f(5, 1, r.tab);
    const double v[] = {r.drag_inv, r.drag_tot, r.vert, r.side, vclr,     lclr,
                        r.pitch,    r.sink,     r.trim, r.l_hull, r.s_hull, r.s_total};
    const int unit[] = {5, 5, 4, 4, 5, 5, 4, 5, 5, 4, 4, 4};
    const int other[] = {6, 6, 5, 5, 5, 5, 6, 5, 5, 4, 4, 4};
    for (int i = 0; i < 12; ++i) s += f(10, unit_area ? unit[i] : other[i], v[i]);
    return s;
}

struct Polar {
    double vel, heel, a0, k, tr;  // al0 is always 0
};

std::string polar_zone_row(const Polar& p) {
    return f(10, 5, p.vel) + f(10, 5, p.heel) + e13(p.a0) + e13(p.k) + e13(0) + e13(p.tr);
}

std::string polar_table_row(bool unit_area, const Polar& p) {
    std::string s = std::string(8, ' ') + f(5, 1, p.heel) + f(5, 1, p.vel);
    if (unit_area) return s + f(10, 5, p.a0) + f(10, 7, p.k) + f(10, 4, 0) + f(10, 4, p.tr);
    return s + f(10, 6, p.a0) + f(10, 6, p.k) + f(10, 5, 0) + f(10, 4, p.tr);
}

// blocks: the rows of each heel and pass that has any.
std::vector<std::string> polar_table(const std::string& stamp_text,
                                     const std::vector<std::vector<std::string>>& blocks) {
    std::vector<std::string> t = {"", "", "", "", stamp_text, "", "AD=ADO+K*(AL-ALO)**2 ; TR=1/SQRT(2*PI*K/SREF)", "",
                                  std::string(8, ' ') + " HEEL  VEL       AD0         K       AL0        TR",
                                  std::string(8, ' ') + "  deg  kts       l^2     1/l^2       l^2         l"};
    for (const auto& b : blocks) {
        t.push_back("");
        t.insert(t.end(), b.begin(), b.end());
    }
    return t;
}

// ---------------------------------------------------------------- the published formulas

// Turbulent friction line 0.455 / (log10 Re)^2.58, carried from an end case
// of drag d, area a and speed v0 to the speed v with Re in proportion to speed.
double friction_drag(double d, double a, double v0, double v) {
    const double re0 = std::pow(10.0, std::pow(0.455 / (d / a), 1 / 2.58));
    return 0.455 / std::pow(std::log10(re0 * v / v0), 2.58) * a;
}

// The polar length, with the fit's constant 6.28318 for 2 pi.
double polar_length(double k, double sref) { return 1 / std::sqrt(6.28318 * k) * std::sqrt(sref); }

// ---------------------------------------------------------------- tolerances

// Printed with six decimals: half a unit of the last, and as much again for
// the single-precision friction line.
constexpr double drag_coefficient_tolerance = 1.0e-6;
// TR printed with four decimals in the polar tables, six digits in the zone
// files: half a unit of the last, plus the single-precision error of a length
// near 3.
constexpr double table_tr_tolerance = 0.5e-4 + 1.0e-6;
constexpr double zone_tr_tolerance = 0.5e-5 + 1.0e-6;

// Columns of the compared fields.
constexpr std::size_t table_tr_at = 48;
constexpr std::size_t zone_tr_at = 59;

const std::string absent = "    0     none";
const std::string odd_group = "5 5 5 5 5 5";

// ---------------------------------------------------------------- the whole chain over two heels

// Store units: scale 1, every factor 1, input speed factor 1/16 (a speed field
// of 32 is the store's 2). Output: speed factor 0.5, SREF 4, lengths 1, force
// areas (neither plot nor velocity-prediction tables with SREF 4).
//
// Wakes-off sources after their own leakage: w00a00 drag v/8 (D0 1/4, S0 1/2),
// n00a00 v/4 (D0 1/2), w10r01 v/4 (D0 1/4), n10r01 0 (D0 1/2); nu takes 1/4
// from ku's drag. Surfing rudder: + v/8 from the upright pair, -1/2 at r10r01.
//
// After leakage and surfing rudder the reference r00a00 has inviscid drag v/4,
// side force 0, viscous drag 1/2; ku has inviscid drag v/2 and, after the
// transfer, viscous drag 7/8, 1/2, 1/2, 1/2 at speeds 1, 1.5, 2, 3. So the
// anchor adds v/4 to every inviscid drag, 3/8 to a viscous drag at speed 1
// and nothing between 2 and 3; hull, keel, bulb and wing areas double, hull
// lengths grow by 3/2, sink and trim lose 1/4.

const std::string r_wet = "4 1 0 0 1 0";  // S-HULL 8, keel 2, rudder 1: S-TOTAL 11.25 with the frud's 0.25
const std::string r_part = "8 0.25 0 0 0 0";  // L-HULL 12

std::vector<std::string> reference_breakdown(const std::string& rudder, const std::string& frud) {
    return {odd_group, odd_group, odd_group, odd_group, rudder + " 0 0 0 0 0", frud + " 0 0 0 0 0"};
}

Case wakes_off(double speed, double heel, const std::string& inviscid) {
    return {speed, heel, 0, 0, 0, 0, 0, 1, "1 1 1 1 1 1", "1 1 0 0 0 0", "1 1 1 1 1 1", inviscid};
}

TEST(HydrosumCorrections, ChainPolarsAndZoneFilesOverTwoHeels) {
    Sandbox sb;
    // The upright reference: speeds 1, 2, 3. Its rudder group drags 1/4, 0, 1/16
    // and frud group drags 1/8, 0, 0 go to ku; its rudder area rises to 1.5.
    sb.write("r00a00.fm",
             fm_file(3, {
                            {16, 0, 0, 0, 0, -0.25, 0.5, 3, "8 2 1 4 1 0.5", "10 0.5 0 0 0 0", "0.5 0 0 0 0 0",
                             "0.375 0 0.5 0 0 0", "9 9 9 9 9 9", reference_breakdown("0.25", "0.125")},
                            {32, 0, 0, 0, 0, -0.25, 0.5, 3, "8 2 1 4 1 0.5", "10 0.5 0 0 0 0", "0.5 0 0 0 0 0",
                             "0.5 0 0.5 0 0 0", "9 9 9 9 9 9", reference_breakdown("0", "0")},
                            {48, 0, 0, 0, 0, -0.25, 0.5, 3, "8 2 1 4 1.5 0.5", "10 0.5 0 0 0 0", "0.5 0 0 0 0 0",
                             "0.625 0 0.5 0 0 0", "9 9 9 9 9 9", reference_breakdown("0.0625", "0")},
                        }));
    // Speeds 1, 1.5, 2, 3, 4: case 1 lies below r00a00's second speed but is
    // never tested, case 2 is warned, 2 and 3 are the ends of the range, 4 is
    // warned. Its own rudder and frud groups are replaced.
    const auto upright = [](double speed, const std::string& viscous, const std::string& inviscid) {
        return Case{speed, 0, 0, 0, 0, -0.5, 0.25, 3, "16 4 2 4 0 1", "15 0 0 0 0 0", viscous, inviscid};
    };
    sb.write("ku.fm", fm_file(3, {upright(16, "0.5 0 0 0 0 0", "0.75 0 0 0 0 0"),
                                  upright(24, "0.5 0 0 0 0 0", "1 0 0 0 0 0"),
                                  upright(32, "0.5 0 0 0 0 0", "1.25 0 0 0 0 0"),
                                  upright(48, "0.4375 0 0 0 0 0", "1.75 0 0 0 0 0"),
                                  upright(64, "0.5 0 0 0 0 0", "2.25 0 0 0 0 0")}));
    sb.write("nu.fm", fm_file(1, {wakes_off(16, 0, "0.25 0 0 0 0 0"), wakes_off(32, 0, "0.25 0 0 0 0 0")}));
    sb.write("w00a00.fm", fm_file(1, {wakes_off(16, 0, "0.375 0 0.5 0 0 0"), wakes_off(48, 0, "0.625 0 0.5 0 0 0")}));
    sb.write("n00a00.fm", fm_file(1, {wakes_off(16, 0, "0.75 0 0 0 0 0"), wakes_off(32, 0, "1 0 0 0 0 0")}));
    sb.write("w10r01.fm", fm_file(1, {wakes_off(16, 10, "0.5 0 0 0 0 0"), wakes_off(48, 10, "1 0 0 0 0 0")}));
    sb.write("n10r01.fm", fm_file(1, {wakes_off(16, 10, "0.5 0 0 0 0 0"), wakes_off(48, 10, "0.5 0 0 0 0 0")}));
    // Polar points at heel 0: side forces 0, 1, 2 at output speed 1 (r00r02 at
    // 1.0078125, within 0.01 there but 0.016 away in store units), 0 and 1 at 1.5.
    sb.write("r00r01.fm",
             fm_file(1, {{32, 0, 0, 0, 0, 0, 0, 1, r_wet, r_part, "0.25 0 0 0 0 0", "1 0 4.5 0 0 0"},
                         {48, 0, 0, 0, 0, 0, 0, 1, r_wet, r_part, "0.25 0 0 0 0 0", "0.375 0 4.5 0 0 0"}}));
    sb.write("r00r02.fm",
             fm_file(1, {{32.25, 0, 0, 0, 0, 0, 0, 1, r_wet, r_part, "0.25 0 0 0 0 0", "1.744140625 0 8.5 0 0 0"}}));
    // Heel 10: two runs with cases are too few for a polar of the tr pass.
    sb.write("r10a00.fm", fm_file(1, {{16, 10, 0, -1, 2, -0.125, 0.5, 1, "4 1 0.5 0 1 0.25", r_part, "0.25 0 0 0 0 0",
                                       "0.5 0 1.5 0.25 0.5 0"}}));
    sb.write("r10r01.fm", fm_file(1, {{32, 10, 0, 0, 0, 0, 0, 1, r_wet, r_part, "0.25 0 0 0 0 0", "1.5 0 0 0 0 0"}}));
    sb.write("r10r02.fm", header(1));  // present without cases
    // Present without cases: neither the heel's leakage source nor its surfing-rudder pair.
    sb.write("w10a00.fm", header(1));
    sb.write("n10a00.fm", header(1));
    // No breakdown for k: its viscous drag is not anchored.
    const Case k_reference = {32, 0, 0, 0, 0, -0.25, 0.5, 1, "8 2 1 4 0 0.5", "10 0 0 0 0 0", "0.25 0 0 0 0 0",
                              "1 0 0 0 0 0"};
    Case k_reference_3 = k_reference;
    k_reference_3.speed = 48;
    sb.write("k00a00.fm", fm_file(1, {k_reference, k_reference_3}));
    sb.write("k00r01.fm",
             fm_file(1, {{32, 0, 0, 0, 0, 0, 0, 1, "4 1 0 0 0 0", "8 0 0 0 0 0", "0.25 0 0 0 0 0", "2 0 4 0 0 0"}}));
    // Zone files no run or pass of this one writes.
    const std::vector<std::string> older = {"r20a00.zon", "r10tr.zon", "k00tr.zon"};
    for (const std::string& n : older) sb.write(n, "older " + n + "\n");

    const std::string title = "correction chain, polars and zone files";
    Dated r = run(sb, deck({title, "0.0625 0.5 1.0e-3 2.0 1.0", "1 1 1 0", "1 1 1 0", "1 1 1 1", "1 1 1 1",
                          "4 1 1 0", "0 -1 1 0 1", "none", absent, absent, absent, absent, absent, absent}));

    expect_progress(r.outcome, {
        "   upright rudder-on wakes-off leakage for r10r02",
        "   heeled and yawed rudder-on wakes-off leakage for r10r01",
        "   heeled and yawed rudder-on wakes-off leakage for w10r01",
        "   heeled and yawed rudder-off wakes-off leakage for n10r01",
        "   upright rudder-on wakes-off leakage for r10a00",
        "   upright rudder-on wakes-off leakage for w10a00",
        "   upright rudder-off wakes-off leakage for n10a00",
        "   heeled rudder-on wakes-off leakage for r00r02",
        "   heeled rudder-on wakes-off leakage for r00r01",
        "   heeled rudder-off wakes-off leakage for k00r01",
        "   heeled and yawed rudder-on wakes-off leakage for r00a00",
        "   heeled and yawed rudder-on wakes-off leakage for w00a00",
        "   heeled and yawed rudder-off wakes-off leakage for k00a00",
        "   heeled and yawed rudder-off wakes-off leakage for n00a00",
        "   upright rudder-off wakes-off leakage for ku",
        "   upright rudder-off wakes-off leakage for nu",
        "   upright surfing rudder for r10r02",
        "   heeled and yawed surfing rudder for r10r01",
        "   upright surfing rudder for r10a00",
        "   heeled surfing rudder for r00r02",
        "   heeled surfing rudder for r00r01",
        "   heeled and yawed surfing rudder for r00a00",
        // store speeds; all warnings above the range come first
        "** WARNING ** upright speed    4.00000 > max heeled/yawed speed   3.00000",
        "** WARNING ** upright speed    1.50000 < min heeled/yawed speed   2.00000",
        "   upright anchor for r10r02",
        "   upright anchor for r10r01",
        "   upright anchor for r10a00",
        "   upright anchor for r00r02",
        "   upright anchor for r00r01",
        "   upright anchor for k00r01",
        "   upright anchor for r00a00",
        "   upright anchor for k00a00",
        "   wind axes for r00a00",
        "   wind axes for k00a00",
        "   wind axes for r00r01",
        "   wind axes for k00r01",
        "   wind axes for r00r02",
        "   wind axes for r10a00",
        "   wind axes for r10r01",
        "   wind axes for r10r02",
    });

    const Variant c = Variant::coefficient;
    // ku: its leakage gone, the rudder and frud groups of r00a00 added to its
    // viscous drag (7/8 at speed 1, the warned speed 1.5 gets zeros, 1/16 at
    // 3), r00a00's rudder area (its last one above the range) and frud area.
    const std::vector<Row> ku_rows = {
        {0.5, 0, 0, 0, 0, 0.125, 0.34375, 0, 0, 0, 0, 0, -0.5, 0.25, 15, 16, 24.5},
        {0.75, 0, 0, 0, 0, 0.1875, 0.3125, 0, 0, 0, 0, 0, -0.5, 0.25, 15, 16, 24.5},
        {1, 0, 0, 0, 0, 0.25, 0.375, 0, 0, 0, 0, 0, -0.5, 0.25, 15, 16, 24.5},
        {1.5, 0, 0, 0, 0, 0.375, 0.5, 0, 0, 0, 0, 0, -0.5, 0.25, 15, 16, 25},
        // DRAG-TOT: (2 + 1/2 + the rudder's friction-line drag) / 4, compared below
        {2, 0, 0, 0, 0, 0.5, 0, 0, 0, 0, 0, 0, -0.5, 0.25, 15, 16, 25},
    };
    const double ku_drag_at_4 = (2.0 + 0.5 + friction_drag(0.0625, 1.5, 3, 4)) / 4;
    std::vector<std::string> ku_table{""};
    std::vector<std::string> ku_zone;
    for (const Row& x : ku_rows) {
        ku_table.push_back(row(c, x));
        ku_zone.push_back(zone_row(false, x, 0, 0));
    }
    expect_file(sb, r, "ku.tab", title, [&](const std::string& s) { return result_table(s, ku_table); },
                {{13, drag_tot_at, 10, ku_drag_at_4, drag_coefficient_tolerance}});
    expect_file(sb, r, "ku.zon", title, [&](const std::string& s) { return zone(s, zone_variables, "ku", ku_zone); },
                {{7, drag_tot_at, 10, ku_drag_at_4, drag_coefficient_tolerance}});

    // The reference, anchored last against itself, holds ku's values at its speeds.
    const Row r10a00 = {0.5, 10, 0, 2, -1, 0.15625, 0.3125, 0, 0.25, 0.0625, 0.125, 0, -0.375, 0.25, 12, 8, 12.75};
    expect_file(sb, r, "r.tab", title, [&](const std::string& s) {
        return result_table(
            s, {"",
                row(c, {0.5, 0, 0, 0, 0, 0.125, 0.34375, 0, 0, 0, 0, 0, -0.5, 0.25, 15, 16, 24.5}),
                row(c, {1, 0, 0, 0, 0, 0.25, 0.375, 0, 0, 0, 0, 0, -0.5, 0.25, 15, 16, 24.5}),
                row(c, {1.5, 0, 0, 0, 0, 0.375, 0.5, 0, 0, 0, 0, 0, -0.5, 0.25, 15, 16, 25}),
                "",
                row(c, {1, 0, 0, 0, 0, 0.375, 0.4375, 0, 1, 0, 0, 0, -0.25, -0.25, 12, 8, 11.25}),
                row(c, {1.5, 0, 0, 0, 0, 0.3125, 0.375, 0, 1, 0, 0, 0, -0.25, -0.25, 12, 8, 11.25}),
                row(c, {1.0078125, 0, 0, 0, 0, 0.5625, 0.625, 0, 2, 0, 0, 0, -0.25, -0.25, 12, 8, 11.25}),
                "",
                // the viscous drag gained 3/8 from ku's transferred rudder and frud
                row(c, r10a00),
                "",
                row(c, {1, 10, 0, 0, 0, 0.3125, 0.375, 0, 0, 0, 0, 0, -0.25, -0.25, 12, 8, 11.25})});
    });
    expect_file(sb, r, "k.tab", title, [&](const std::string& s) {
        return result_table(s, {"",
                                row(c, {1, 0, 0, 0, 0, 0.25, 0.3125, 0, 0, 0, 0, 0, -0.5, 0.25, 15, 16, 23}),
                                row(c, {1.5, 0, 0, 0, 0, 0.375, 0.4375, 0, 0, 0, 0, 0, -0.5, 0.25, 15, 16, 23}),
                                "",
                                row(c, {1, 0, 0, 0, 0, 0.5, 0.5625, 0, 1, 0, 0, 0, -0.25, -0.25, 12, 8, 10})});
    });

    // Heel 0 at speed 1: (0, 3/8), (1, 7/16), (2, 5/8) fit a0 = 3/8, k = 1/16;
    // at 1.5 (0, 1/2), (1, 3/8) give k = -1/8 and no TR. k: (0, 5/16), (1, 9/16).
    const Polar r_at_1 = {1, 0, 0.375, 0.0625, 0};
    const Polar r_at_15 = {1.5, 0, 0.5, -0.125, 0};
    const Polar k_at_1 = {1, 0, 0.3125, 0.25, 0};
    const double r_tr = polar_length(0.0625, 4);
    const double k_tr = polar_length(0.25, 4);
    expect_file(
        sb, r, "rtr.tab", title,
        [&](const std::string& s) {
            return polar_table(s, {{polar_table_row(false, r_at_1), polar_table_row(false, r_at_15)},
                                   {polar_table_row(false, r_at_1)}});
        },
        {{11, table_tr_at, 10, r_tr, table_tr_tolerance}, {14, table_tr_at, 10, r_tr, table_tr_tolerance}});
    expect_file(
        sb, r, "ktr.tab", title,
        [&](const std::string& s) { return polar_table(s, {{polar_table_row(false, k_at_1)}}); },
        {{11, table_tr_at, 10, k_tr, table_tr_tolerance}});

    std::set<std::string> zones = {"ku.zon",     "r00a00.zon", "k00a00.zon", "r00r01.zon", "k00r01.zon",
                                   "r00r02.zon", "r10a00.zon", "r10r01.zon", "r10r02.zon", "r00t0.zon",
                                   "r00tr.zon",  "k00t0.zon"};
    zones.insert(older.begin(), older.end());
    EXPECT_EQ(zone_files(sb), zones);
    for (const std::string& n : older) EXPECT_EQ(sb.read(n), "older " + n + "\n");

    expect_file(sb, r, "r10a00.zon", title, [&](const std::string& s) {
        return zone(s, zone_variables, "r10a00", {zone_row(false, r10a00, 0.25, 0.5)});
    });
    expect_file(sb, r, "r10r02.zon", title,
                [&](const std::string& s) { return zone(s, zone_variables, "r10r02", {}); });
    expect_file(
        sb, r, "r00t0.zon", title,
        [&](const std::string& s) {
            return zone(s, polar_variables, "r00t0", {polar_zone_row(r_at_1), polar_zone_row(r_at_15)});
        },
        {{3, zone_tr_at, 13, r_tr, zone_tr_tolerance}});
}

// ---------------------------------------------------------------- no r run, an empty upright set

TEST(HydrosumCorrections, RudderOffRunsWithAnEmptyUprightSet) {
    Sandbox sb;
    // Two rudder-off runs at one speed, both without side force: a singular polar.
    sb.write("k00a00.fm", fm_file(1, {{1, 0, 0, 0, 0, -0.125, 0.375, 1, "8 2 1 4 0 0.5", "6 0.25 0 0 0 0",
                                       "0.25 0 0 0 0 0", "0.5 0.25 0 0 0 -0.125"}}));
    sb.write("k00r01.fm", fm_file(1, {{1, 0, 0, 0, 0, -0.125, 0.375, 1, "8 2 1 4 0 0.5", "6 0.25 0 0 0 0",
                                       "0.25 0 0 0 0 0", "0.75 0 0 0 0 0"}}));
    // Opened without cases: its table and zone file are written, but it anchors nothing.
    sb.write("ku.fm", header(1));
    // No r run: these stay.
    const std::vector<std::string> older = {"r.tab", "rtr.tab", "r00a00.zon", "r00t0.zon"};
    for (const std::string& n : older) sb.write(n, "older " + n + "\n");

    const std::string title = "rudder off only, forces";
    // SREF 1 and forces at q = 1 (density 2, speed 1): the zone files keep the
    // area formats, the polar table takes those of SREF 1.
    Dated r = run(sb, deck({title, "1.0 1.0 1.0e-3 2.0 1.0", "1 1 1 0", "1 1 1 0", "1 1 1 1", "1 1 1 1", "1 1 1 1",
                          "0 0 0 0 0"}));

    expect_progress(r.outcome, {"   wind axes for k00a00", "   wind axes for k00r01"});
    for (const std::string& n : older) EXPECT_EQ(sb.read(n), "older " + n + "\n");
    std::set<std::string> zones = {"ku.zon", "k00a00.zon", "k00r01.zon", "k00t0.zon"};
    for (const std::string& n : older)
        if (fs::path(n).extension() == ".zon") zones.insert(n);
    EXPECT_EQ(zone_files(sb), zones);

    expect_file(sb, r, "ku.tab", title, [&](const std::string& s) { return result_table(s, {""}); });
    expect_file(sb, r, "ku.zon", title, [&](const std::string& s) { return zone(s, zone_variables, "ku", {}); });
    // As read: nothing anchored.
    const Row k00a00 = {1, 0, 0, 0, 0, 0.5, 0.75, 0.25, 0, 0, 0, -0.125, -0.125, 0.375, 6, 8, 11.75};
    expect_file(sb, r, "k00a00.zon", title, [&](const std::string& s) {
        return zone(s, zone_variables, "k00a00", {zone_row(true, k00a00, 0, 0)});
    });
    const Polar singular = {1, 0, 0, 0, 0};
    expect_file(sb, r, "ktr.tab", title,
                [&](const std::string& s) { return polar_table(s, {{polar_table_row(true, singular)}}); });
    expect_file(sb, r, "k00t0.zon", title,
                [&](const std::string& s) { return zone(s, polar_variables, "k00t0", {polar_zone_row(singular)}); });
}

}  // namespace
}  // namespace hydrosum_program_test
