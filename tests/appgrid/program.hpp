#pragma once

// What the appgrid program tests share: a scratch directory in which the
// real appgrid runs, its answers and deck, network files and intersection
// tables as the other tools write them, and the files appgrid writes read
// back.

#include "support/sandbox.hpp"
#include "support/scratch.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace appgrid_program_test {

using test_support::Outcome;

class Box : public test_support::Sandbox {
public:
    Box() : test_support::Sandbox(APPGRID_EXE, "appgrid-test") {}
    // One of the demo's inputs (bulb.net, keel.net, wing.net, keelcut.out,
    // foilcut.out) into the working folder.
    void copy_example(const std::string& name) const {
        write(name, test_support::read_file(std::string(APPGRID_EXAMPLES) + "/" + name));
    }
    void copy_examples() const {
        for (const char* n : {"bulb.net", "keel.net", "wing.net", "keelcut.out", "foilcut.out"}) copy_example(n);
    }
    bool has(const std::string& name) const { return read(name).has_value(); }
};

inline std::string example(const std::string& name) {
    return test_support::read_file(std::string(APPGRID_EXAMPLES) + "/" + name);
}

// ------------------------------------------------------------ answers

inline std::string rtrim(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// The names and the deck as a file of answers, one label line before each.
struct Answers {
    std::string keel = "keel.net", bulb = "bulb.net", wing = "wing.net";
    std::string keel_out = "keel-out.net", bulb_out = "bulb-out.net", wing_out = "wing-out.net";
    std::string sizes = "30 9";
    std::string phase1 = "0 1.0";
    std::string phase2 = "0 1.0 0.1 0.1";
    std::string switches = "1 1 1 1 0 0 0 0 0 0 0 0";
    std::string decay = "0.3 0.3 0.3 0.3 0.1 0.1 0.1 0.1 0.2 0.2 0.2 0.2";
    std::string exponents = "1 1 1 1 1 1 1 1";
    std::string keel_edges = "10 18";
    std::string wing_edges = "18 26";

    bool on(const std::string& name) const { return rtrim(name) != "none"; }

    std::string text() const {
        std::string t;
        auto answer = [&t](const std::string& label, const std::string& a) { t += label + "\n" + a + "\n"; };
        answer("keel input", keel);
        answer("bulb input", bulb);
        answer("wing input", wing);
        if (on(keel)) answer("keel output", keel_out);
        if (on(bulb)) answer("bulb output", bulb_out);
        if (on(wing)) answer("wing output", wing_out);
        if (on(bulb)) {
            answer("imo jmo", sizes);
            answer("niter1 omega1", phase1);
            answer("niter2 omega2 rA rB", phase2);
            answer("switches", switches);
            answer("decay lengths", decay);
            answer("exponents", exponents);
            if (on(keel)) answer("ikle ikte", keel_edges);
            if (on(wing)) answer("iwle iwte", wing_edges);
        }
        return t;
    }
};

// The questions of a run with these parts on, as appgrid writes them.
inline std::string questions(bool keel, bool bulb, bool wing) {
    std::string q;
    for (const char* p : {"keel", "bulb", "wing"})
        q += std::string("enter ") + p + " network input filename (or \"none\")\n ? \n";
    const std::array<std::pair<bool, const char*>, 3> parts{{{keel, "keel"}, {bulb, "bulb"}, {wing, "wing"}}};
    for (const auto& [on, p] : parts)
        if (on) q += std::string("enter ") + p + " network output filename\n ? \n";
    return q;
}

// ------------------------------------------------------------ input files

struct P3 {
    double x, y, z;
};

// A network file: "(2i5,10x,a)" header, then one point a line.
inline std::string network(int ni, int nj, const std::string& title, const std::function<P3(int, int)>& p) {
    char line[100];
    std::snprintf(line, sizeof line, "%5d%5d%10s", ni, nj, "");
    std::string t = line + title + "\n";
    for (int j = 1; j <= nj; ++j)
        for (int i = 1; i <= ni; ++i) {
            const P3 q = p(i, j);
            std::snprintf(line, sizeof line, "%16.8E%16.8E%16.8E\n", q.x, q.y, q.z);
            t += line;
        }
    return t;
}

// A flat bulb whose aft point of the middle row, (17, 5), is the wing's
// first cut point below.
inline std::string flat_bulb() {
    return network(17, 9, "flat bulb", [](int i, int j) { return P3{0.09375 * (i - 1), 0.1 * (j - 5) - 0.2, 0.5}; });
}
inline std::string keel_net() {
    return network(5, 9, "test keel", [](int i, int j) { return P3{0.5 + 0.25 * i, 1.5 - 0.125 * j, 0.01 * i}; });
}

// A header alone: enough for the checks made before the points.
inline std::string header_only(int ni, int nj) {
    char line[40];
    std::snprintf(line, sizeof line, "%5d%5d%10s%s\n", ni, nj, "", "title");
    return line;
}

// One record of an intersection table, "(i5,7f10.5)".
struct Station {
    int iint;
    double xint, yint, zint, xsis, etas, xsit, etat;
};

inline std::string table(const std::vector<Station>& st) {
    std::string t = " iint      xint      yint      zint      xsis      etas      xsit      etat\n";
    char line[100];
    for (const Station& s : st) {
        std::snprintf(line, sizeof line, "%5d%10.5f%10.5f%10.5f%10.5f%10.5f%10.5f%10.5f\n", s.iint, s.xint, s.yint,
                      s.zint, s.xsis, s.etas, s.xsit, s.etat);
        t += line;
    }
    return t;
}

// A straight keel cut along x (the keel of keel_net on flat_bulb), every
// column linear in the station.
inline std::vector<Station> keel_stations(double etas0, double detas) {
    std::vector<Station> st;
    for (int k = 1; k <= 5; ++k) st.push_back({1, 0.5 + 0.25 * k, 0.5, 0.0, 1.0 * k, etas0 + detas * k, 5.0 + k, 1.0});
    return st;
}

// A table's line as appgrid prints it, "(1x,i5,7f10.5)".
inline std::string printed(int k, const Station& s) {
    char line[100];
    std::snprintf(line, sizeof line, " %5d%10.5f%10.5f%10.5f%10.5f%10.5f%10.5f%10.5f\n", k, s.xint, s.yint, s.zint,
                  s.xsis, s.etas, s.xsit, s.etat);
    return line;
}

inline std::string printed(const std::vector<Station>& st) {
    std::string t;
    for (std::size_t k = 0; k < st.size(); ++k) t += printed(static_cast<int>(k) + 1, st[k]);
    return t;
}

// The table with column c (0 iint, 1 xint .. 7 etat) of record k replaced
// by a field of its width, or by a value written as keelcut writes it.
inline std::string with_field(const std::string& table_text, int k, int c, const std::string& field) {
    std::vector<std::string> lines = test_support::split_lines(table_text);
    const int width = c == 0 ? 5 : 10;
    char f[40];
    std::snprintf(f, sizeof f, "%*s", width, field.c_str());
    lines[static_cast<std::size_t>(k)].replace(static_cast<std::size_t>(c == 0 ? 0 : 5 + 10 * (c - 1)),
                                               static_cast<std::size_t>(width), f);
    std::string t;
    for (const std::string& l : lines) t += l + "\n";
    return t;
}
inline std::string with_field(const std::string& table_text, int k, int c, double value) {
    char f[40];
    std::snprintf(f, sizeof f, "%10.5f", value);
    return with_field(table_text, k, c, std::string(f));
}

// ------------------------------------------------------------ outputs

struct Net {
    int ni = 0, nj = 0;
    std::string header;
    std::vector<P3> p;
    const P3& at(int i, int j) const { return p[static_cast<std::size_t>((i - 1) + (j - 1) * ni)]; }
};

inline Net read_network(const std::string& text) {
    Net n;
    std::istringstream in(text);
    std::getline(in, n.header);
    n.ni = std::stoi(n.header.substr(0, 5));
    n.nj = std::stoi(n.header.substr(5, 5));
    P3 q;
    while (in >> q.x >> q.y >> q.z) n.p.push_back(q);
    return n;
}

// Values written with 8 significant digits come back to about 1e-7.
inline bool near(double a, double b, double tol = 1e-6) { return std::fabs(a - b) <= tol * std::max(1.0, std::fabs(b)); }
inline bool near(const P3& a, const P3& b, double tol = 1e-6) {
    return near(a.x, b.x, tol) && near(a.y, b.y, tol) && near(a.z, b.z, tol);
}

// The real value after a label (" stcl=") or the numbers of a listing line.
inline std::vector<double> numbers(const std::string& line) {
    std::istringstream in(line.find('=') == std::string::npos ? line : line.substr(line.find('=') + 1));
    std::vector<double> v;
    double d;
    while (in >> d) v.push_back(d);
    return v;
}

}  // namespace appgrid_program_test
