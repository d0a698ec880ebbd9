#pragma once

// Decks and force-moment files as the solver and the user write them, and the
// result tables hydrosum is expected to write from them.

#include "sandbox.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace hydrosum_program_test {

inline const std::string banner = "\n HYDROSUM - MAREVO Post-Processing Software\n\n";

inline const std::string header_line = "  VEL HEEL  YAW  RUD  TAB"
                                       "  DRAG-INV  DRAG-TOT  VERT-FOR  SIDE-FOR"
                                       "  ROLL-MOM   YAW-MOM PITCH-MOM"
                                       "      SINK      TRIM"
                                       "    L-HULL    S-HULL   S-TOTAL";
inline const std::string units_line = "  kts  deg  deg  deg  deg"
                                      "       m^2       m^2       m^2       m^2"
                                      "       m^3       m^3       m^3"
                                      "         m       deg"
                                      "         m       m^2       m^2";

// ---------------------------------------------------------------- inputs

// A deck: one label line before every data line.
inline std::string deck(const std::vector<std::string>& lines) {
    std::string d;
    int n = 0;
    for (const std::string& l : lines) d += "label of deck line " + std::to_string(++n) + "\n" + l + "\n";
    return d;
}
inline std::string deck(std::initializer_list<std::string> lines) { return deck(std::vector<std::string>(lines)); }

inline bool breakdown_type(int type) { return type == 3 || type == 4 || type == 103 || type == 104; }
inline bool extra_line_type(int type) { return type >= 101 && type <= 199; }

// The header as the solver writes it: type code in columns 71-78 of the first line.
inline std::string header(int type) {
    char first[100];
    std::snprintf(first, sizeof first, "%-70s%8d\n", " force-moment file", type);
    std::string h = first;
    int skipped = 4 + (breakdown_type(type) ? 6 : 0) + 2 + (extra_line_type(type) ? 1 : 0);
    for (int i = 0; i < skipped; ++i) h += " solver header line\n";
    return h;
}

struct Case {
    double speed, heel, yaw, tab, rudder, sink, trim;
    int type;
    std::string wetted, particulars, viscous, inviscid;
    std::string hydrostatic = "9 9 9 9 9 9";
    // The six breakdown lines, hull to frud, of a breakdown type; none given: odd values.
    std::vector<std::string> breakdown = {};
};

inline std::string case_line(const Case& c) {
    char line[100];
    std::snprintf(line, sizeof line, "%10.4f%10.4f%10.4f%10.4f%10.4f%10.4f%10.4f%8d\n", c.speed, c.heel, c.yaw, c.tab,
                  c.rudder, c.sink, c.trim, c.type);
    return line;
}

// The auxiliary and breakdown groups and the extra line are never tabulated:
// odd values in them show up only when a file is read out of step. The
// hydrostatic group is tabulated only when the hydrostatics are added.
inline std::string case_text(const Case& c) {
    std::string t = case_line(c) + c.wetted + "\n" + c.particulars + "\n";
    t += "9 9 9 9 9 9\n" + c.hydrostatic + "\n";
    if (breakdown_type(c.type)) {
        if (c.breakdown.empty())
            for (int i = 0; i < 6; ++i) t += "5 5 5 5 5 5\n";
        for (const std::string& l : c.breakdown) t += l + "\n";
    }
    t += c.viscous + "\n" + c.inviscid + "\n";
    if (extra_line_type(c.type)) t += "7 7 7 7 7 7\n";
    return t;
}

inline std::string fm_file(int header_type, const std::vector<Case>& cases) {
    std::string f = header(header_type);
    for (const Case& c : cases) f += case_text(c);
    return f;
}

// ---------------------------------------------------------------- expected tables

inline std::tm today() {
    std::time_t t = std::time(nullptr);
    std::tm d{};
    localtime_r(&t, &d);
    return d;
}

inline std::string stamp(const std::string& title, const std::tm& d) {
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char date[16];
    std::snprintf(date, sizeof date, "%2d %s %2d", d.tm_mday, months[d.tm_mon], (d.tm_year + 1900) % 100);
    std::string s = "MAREVO " + title.substr(0, 80);
    s.resize(103, ' ');
    return s + "DLW/VNQ " + date;
}

// Fortran fw.d of a value exact in binary, neither a tie nor a negative zero.
inline std::string f(int w, int d, double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%*.*f", w, d, v);
    return b;
}

enum class Variant { force, area, coefficient };

struct Row {
    double vel, heel, yaw, rud, tab;                       // rudder before tab, as in the table
    double drag_inv, drag_tot, vert, side, roll, yawm, pitch;
    double sink, trim, l_hull, s_hull, s_total;
};

inline std::string row(Variant v, const Row& r) {
    std::string s = f(5, 2, r.vel) + f(5, 1, r.heel) + f(5, 1, r.yaw) + f(5, 1, r.rud) + f(5, 1, r.tab);
    const double forces[] = {r.drag_inv, r.drag_tot, r.vert, r.side, r.roll, r.yawm, r.pitch};
    const int area[] = {5, 5, 4, 4, 4, 4, 4};
    const int coefficient[] = {6, 6, 5, 5, 6, 6, 6};
    for (int i = 0; i < 7; ++i) {
        int d = v == Variant::force ? 1 : v == Variant::area ? area[i] : coefficient[i];
        s += f(10, d, forces[i]);
    }
    for (double x : {r.sink, r.trim, r.l_hull, r.s_hull, r.s_total}) s += f(10, 5, x);
    return s;
}

// The lines of a result table; body: the records after the units line ("" is an empty line).
inline std::vector<std::string> result_table(const std::string& stamp_text, const std::vector<std::string>& body) {
    std::vector<std::string> t = {"", "", "", "", stamp_text, "", header_line, units_line};
    t.insert(t.end(), body.begin(), body.end());
    return t;
}

// DRAG-TOT in a result table row and in a zone row: after 25 columns of
// angles and speed and one field of 10.
constexpr std::size_t drag_tot_at = 35;

inline std::string lines(const std::vector<std::string>& ls) {
    std::string s;
    for (const std::string& l : ls) s += l + "\n";
    return s;
}

inline std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> ls;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) ls.push_back(l);
    return ls;
}

// ---------------------------------------------------------------- runs

// The run ended with status 0 after the banner and these lines.
inline void expect_progress(const Outcome& o, const std::vector<std::string>& progress) {
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, banner + lines(progress));
}

// The run ended with status 1 after writing `out`, said why on standard error
// (naming `named`, where given) and wrote no r.tab.
inline void expect_refused(const Sandbox& sb, const Outcome& o, const std::string& out,
                           const std::string& named = "") {
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.out, out);
    EXPECT_FALSE(o.err.empty());
    if (!named.empty()) {
        EXPECT_NE(o.err.find(named), std::string::npos) << o.err;
    }
    EXPECT_FALSE(sb.read("r.tab").has_value());
}

// The names of the files in the folder the program works in.
inline std::set<std::string> work_files(const Sandbox& sb) {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(sb.work())) names.insert(e.path().filename().string());
    return names;
}

inline std::set<std::string> zone_files(const Sandbox& sb) {
    std::set<std::string> names;
    for (const std::string& n : work_files(sb))
        if (std::filesystem::path(n).extension() == ".zon") names.insert(n);
    return names;
}

struct Dated {
    Outcome outcome;
    std::tm before, after;  // the date may turn while the program runs
};

inline Dated run(const Sandbox& sb, const std::string& deck_text, const Environment& env = {}) {
    Dated r;
    r.before = today();
    r.outcome = sb.run(deck_text, env);
    r.after = today();
    return r;
}

// A file whose expected text carries a stamp of the run's date: either end's.
inline void expect_dated(const Sandbox& sb, const Dated& r, const std::string& name,
                         const std::function<std::string(const std::tm&)>& expected) {
    std::optional<std::string> got = sb.read(name);
    ASSERT_TRUE(got.has_value()) << name << " not written";
    if (*got == expected(r.after)) return;
    EXPECT_EQ(*got, expected(r.before)) << name;
}

// A field that is compared with a reference instead of character by character.
struct Near {
    std::size_t line, column, width;
    double value, tolerance;
};

// The file must equal the expected lines made with the stamp of the run's
// date, but for the listed fields, which are read as numbers.
inline void expect_file(const Sandbox& sb, const Dated& r, const std::string& name, const std::string& title,
                        const std::function<std::vector<std::string>(const std::string& stamp_text)>& expected,
                        const std::vector<Near>& near = {}) {
    const std::optional<std::string> got = sb.read(name);
    ASSERT_TRUE(got.has_value()) << name << " not written";
    const std::vector<std::string> got_lines = split_lines(*got);
    for (const Near& n : near) {
        ASSERT_LT(n.line, got_lines.size()) << name << " is short";
        ASSERT_GE(got_lines[n.line].size(), n.column + n.width) << name << ": " << got_lines[n.line];
        EXPECT_NEAR(std::stod(got_lines[n.line].substr(n.column, n.width)), n.value, n.tolerance)
            << name << " line " << n.line;
    }
    expect_dated(sb, r, name, [&](const std::tm& date) {
        std::vector<std::string> w = expected(stamp(title, date));
        for (const Near& n : near)
            if (n.line < w.size() && w[n.line].size() >= n.column + n.width)
                w[n.line].replace(n.column, n.width, got_lines[n.line].substr(n.column, n.width));
        return lines(w);
    });
}

inline void expect_table(const Sandbox& sb, const Dated& r, const std::string& name, const std::string& title,
                         const std::vector<std::string>& body) {
    expect_file(sb, r, name, title, [&](const std::string& s) { return result_table(s, body); });
}

// ---------------------------------------------------------------- plot and velocity-prediction tables

inline const std::string plot_header_line = "  VEL HEEL  YAW  RUD  TAB"
                                            "    AD-INV    AD-TOT    SIDE-F     V-CLR     L-CLR"
                                            "      SINK      TRIM    L-HULL    S-HULL   S-TOTAL"
                                            "   ADV-TOT   ADV-HLL   ADV-APP   ADV-FIN   ADV-BLB"
                                            "   ADV-WNG   ADV-RUD  SIDE-F^2    ADIRAT    ADTRAT";
inline const std::string plot_units_line = "  kts  deg  deg  deg  deg"
                                           "       m^2       m^2       m^2         m         m"
                                           "         m       deg         m       m^2       m^2"
                                           "       m^2       m^2       m^2       m^2       m^2"
                                           "       m^2       m^2       m^4";
inline const std::string vpp_units_line = "  kts  deg  deg  deg  deg"
                                          "       m^2       m^2       kgf         m         m"
                                          "        mm       deg         m       m^2       m^2"
                                          "       m^2       m^2       m^2       m^2       m^2"
                                          "       m^2       m^2     kgf^2";

// Fortran fw.0 of a whole number: its digits and a point.
inline std::string f_point(int w, double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%*.0f.", w - 1, v);
    return b;
}

// The columns of a plot or velocity-prediction row before the two ratios.
struct PlotRow {
    double vel, heel, yaw, rud, tab;
    double ad_inv, ad_tot, side, v_clr, l_clr, sink, trim, l_hull, s_hull, s_total;
    double adv_tot, adv_hll, adv_app, adv_fin, adv_blb, adv_wng, adv_rud, side_squared;
};

inline std::string plot_fields(const PlotRow& r, int side_d, int sink_d, bool whole_square, double adirat,
                               double adtrat) {
    std::string s = f(5, 2, r.vel) + f(5, 1, r.heel) + f(5, 1, r.yaw) + f(5, 1, r.rud) + f(5, 1, r.tab);
    s += f(10, 5, r.ad_inv) + f(10, 5, r.ad_tot) + f(10, side_d, r.side) + f(10, 5, r.v_clr) + f(10, 5, r.l_clr);
    s += f(10, sink_d, r.sink);
    for (double x : {r.trim, r.l_hull, r.s_hull, r.s_total, r.adv_tot, r.adv_hll, r.adv_app, r.adv_fin, r.adv_blb,
                     r.adv_wng, r.adv_rud})
        s += f(10, 5, x);
    s += whole_square ? f_point(10, r.side_squared) : f(10, 5, r.side_squared);
    return s + f(10, 5, adirat) + f(10, 5, adtrat);
}

// Plot tables: every column with five decimals but the angles and the speed.
inline std::string plot_row(const PlotRow& r, double adirat = 1, double adtrat = 1) {
    return plot_fields(r, 5, 5, false, adirat, adtrat);
}

// Velocity-prediction tables: side force with one decimal, sinkage (in mm)
// with two, the squared side force whole.
inline std::string vpp_row(const PlotRow& r, double adirat = 1, double adtrat = 1) {
    return plot_fields(r, 1, 2, true, adirat, adtrat);
}

// The upright and the velocity-prediction tables have one more empty line
// after the units line.
inline std::string plot_table(const std::string& title, const std::tm& date, const std::string& units,
                              bool extra_empty_line, const std::vector<std::string>& body) {
    std::string t = "\n\n\n\n" + stamp(title, date) + "\n\n" + plot_header_line + "\n" + units + "\n";
    if (extra_empty_line) t += "\n";
    for (const std::string& l : body) t += l + "\n";
    return t;
}

}  // namespace hydrosum_program_test
