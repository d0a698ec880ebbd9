#pragma once
// surfmesh tests: the program in a scratch directory, its expected
// transcripts, and IGES files made line by line.

#include "support/sandbox.hpp"
#include "support/scratch.hpp"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace surfmesh_test {

using test_support::Outcome;

// A fresh scratch directory in which surfmesh runs; removed again at the end.
class Sandbox : public test_support::Sandbox {
public:
    Sandbox() : test_support::Sandbox(SURFMESH_EXE, "surfmesh-test") {}
};

inline std::string line(std::string_view s) { return std::string(s) + "\n"; }

inline std::string lines(std::initializer_list<std::string_view> ls)
{
    std::string s;
    for (std::string_view l : ls) s += line(l);
    return s;
}

inline std::string fmt_int(const char* f, long v)
{
    char b[32];
    std::snprintf(b, sizeof b, f, v);
    return b;
}
inline std::string i5(long v) { return fmt_int("%5ld", v); }
inline std::string i8(long v) { return fmt_int("%8ld", v); }

inline const std::string kBanner =
    lines({"", " SURFMESH File Translation Software", "", "", " *** IGES FILE MANIPULATION PROGRAM ***"});

// The menu, ending in its prompt (the answer goes on that line).
inline const std::string kMenu =
    lines({"", " OPTIONS:", "", "    (1) input new IGES file", "    (2) output directory entry information",
           "    (3) output all 128 entities to new IGES file", "    (4) output specified 128 entities to new mesh file",
           "    (5) output specified 144 entities to new mesh file", "    (6) quit", ""}) +
    " enter option: ";

// An empty line, then a question (the prompt of the first one ends there).
inline std::string q(std::string_view question) { return "\n" + std::string(question); }

inline const std::string kFileQ = "\n read new IGES file\n" + q(" enter filename: ");

struct Counts {
    long s = 0, g = 0, d = 0, p = 0, t = 0;
};

// What the reader writes for a good file with these counts.
inline std::string read_report(const Counts& c)
{
    auto part = [](std::string_view reading, std::string_view label, long n) {
        return (n > 0 ? line(reading) : std::string()) + line(std::string(label) + i8(n));
    };
    return "\n" + part(" reading start section", " is  =", c.s) + part(" reading global section", " ig  =", c.g) +
           part(" reading directory section", " ient=", c.d) + part(" reading parameter section", " ip  =", c.p) +
           part(" reading terminate section", " it  =", c.t);
}

inline const std::string kMeshHead = "\n output specified 128 entities to new mesh file\n";
inline const std::string kOptionMenu = lines({"", " all meshes or specified meshes option:", "",
                                              "    (0) all meshes", "    (1) specified meshes and mesh parameters", ""}) +
                                       " enter option: ";
inline const std::string kFormatMenu =
    lines({"", " new mesh file formats:", "", "    (1) plot3d", "    (2) tecplot", "    (3) marevo network",
           "    (4) gridgen mesh", ""}) +
    " enter new mesh file format: ";
inline const std::string kPlot3dMenu =
    lines({"", " plot3d format options: ", "", "    (1) single grid", "    (2) multiple grid", ""}) +
    " enter plot3d format: ";
inline const std::string kRelQ = q(" enter relative iges 128 entity number: ");
inline const std::string kTrimHead = "\n output specified 144 entities to new mesh file\n";
inline const std::string kRelQ144 = q(" enter relative iges 144 entity number: ");

// The answers typed and the transcript they must produce, side by side.
class Dialogue {
public:
    Dialogue() : want_(kBanner + kMenu) {}

    // Types one answer line; `reply` is what the program writes before its next read.
    Dialogue& say(std::string_view answer, std::string_view reply = "")
    {
        in_ += answer;
        in_ += '\n';
        want_ += reply;
        return *this;
    }
    // Option 1 on a good file.
    Dialogue& read(std::string_view file, const Counts& c) { return say("1", kFileQ).say(file, read_report(c) + kMenu); }
    // Option 4 up to the option menu.
    Dialogue& mesh(std::string_view iyzflp = "0", std::string_view scales = "1 1 1")
    {
        rel_q_ = kRelQ;
        return say("4", kMeshHead + q(" enter iyzflp (0/1): "))
            .say(iyzflp, q(" enter xscale,yscale,zscale: "))
            .say(scales, kOptionMenu);
    }
    // Option 5 up to the option menu.
    Dialogue& trimmed(std::string_view iyzflp = "0", std::string_view scales = "1 1 1")
    {
        rel_q_ = kRelQ144;
        return say("5", kTrimHead + q(" enter iyzflp (0/1): "))
            .say(iyzflp, q(" enter xscale,yscale,zscale: "))
            .say(scales, kOptionMenu);
    }
    // The question for the first relative entity number of the command.
    Dialogue& specified() { return say("1", rel_q_); }
    // One specified mesh, answered from the entity number on.
    Dialogue& spec(std::string_view rel, std::string_view title, std::string_view flips, std::string_view idir,
                   std::string_view jdir, std::string_view refits = "0 0", std::string_view closures = "0 0 0 0")
    {
        return say(rel, q(" enter mesh title: "))
            .say(title, q(" enter iflip,jflip,ijflip: "))
            .say(flips, q(" enter inum,ndegi,d1i1,d1i2,d2i1,d2i2: "))
            .say(idir, q(" enter jnum,ndegj,d1j1,d1j2,d2j1,d2j2: "))
            .say(jdir, q(" enter irefit,jrefit: "))
            .say(refits, q(" enter i1clos,i2clos,j1clos,j2clos: "))
            .say(closures, rel_q_);
    }
    // From the end of the list (answer 0) to the menu after the meshes;
    // `shown`: what the meshes write on the screen.
    Dialogue& file(std::string_view format, std::string_view name, std::string_view plot3d = "",
                   std::string_view shown = "")
    {
        say("0", kFormatMenu).say(format, q(" enter new mesh filename: "));
        if (plot3d.empty()) return say(name, std::string(shown) + kMenu);
        return say(name, kPlot3dMenu).say(plot3d, std::string(shown) + kMenu);
    }
    // The all-meshes option, from the option menu to the menu after the
    // meshes, into a file of a format other than PLOT3D.
    Dialogue& all_meshes(std::string_view points, std::string_view format, std::string_view name)
    {
        return say("0", q(" enter # of u and # of v points to define mesh: "))
            .say(points, kFormatMenu)
            .say(format, q(" enter new mesh filename: "))
            .say(name, kMenu);
    }
    Dialogue& quit() { return say("6"); }

    const std::string& answers() const { return in_; }
    const std::string& transcript() const { return want_; }

private:
    std::string in_;
    std::string want_;
    std::string rel_q_ = kRelQ;
};

// ---- IGES files ----

// Columns 1-72 blank-padded, the section letter in 73, the sequence number in 74-80.
inline std::string iges_line(std::string_view text, char letter, long seq)
{
    std::string s(text.substr(0, 72));
    s.resize(72, ' ');
    return s + letter + fmt_int("%7ld", seq) + "\n";
}

class IgesFile {
public:
    std::vector<std::string> start{"hand-made test file"}, global{"1H,,1H;,4Htest;"};

    // The directory fields of an entry that are not worked out from its data.
    struct Entry {
        long type = 0, first = 0, count = 0;
        std::string label;
        long structure = 0, font = 0, level = 0, view = 0, matrix = 0, labeldisp = 0;
        std::string status = "00000000";
        long weight = 0, color = 0, form = 0, subscript = 0;
    };

    // An entity of type `type` with its parameter data (without the final
    // ";"), laid over P lines of at most `width` columns; returns its entry.
    int add(int type, std::vector<std::string> values, std::string_view label = "", int width = 64)
    {
        std::vector<std::string> ls;
        std::string cur;
        for (std::size_t k = 0; k < values.size(); ++k) {
            std::string item = values[k] + (k + 1 < values.size() ? "," : ";");
            if (!cur.empty() && cur.size() + item.size() > static_cast<std::size_t>(width)) {
                ls.push_back(cur);
                cur.clear();
            }
            cur += item;
        }
        ls.push_back(cur);
        return add_lines(type, ls, label);
    }
    // An entity with its parameter lines as given (columns 1 to 64).
    int add_lines(int type, const std::vector<std::string>& ls, std::string_view label = "")
    {
        const int entry = static_cast<int>(entries_.size()) + 1;
        Entry e;
        e.type = type;
        e.first = static_cast<long>(plines_.size()) + 1;
        e.count = static_cast<long>(ls.size());
        e.label = std::string(label);
        entries_.push_back(e);
        for (const std::string& l : ls) plines_.push_back({l, entry});
        return entry;
    }
    Entry& entry(int e) { return entries_.at(static_cast<std::size_t>(e - 1)); }

    // The two directory lines of an entry, without the letter and sequence number.
    static std::pair<std::string, std::string> directory(const Entry& e)
    {
        auto f = [](long v) { return fmt_int("%8ld", v); };
        std::string label = e.label;
        label.resize(8, ' ');
        return {f(e.type) + f(e.first) + f(e.structure) + f(e.font) + f(e.level) + f(e.view) + f(e.matrix) +
                    f(e.labeldisp) + e.status,
                f(e.type) + f(e.weight) + f(e.color) + f(e.count) + f(e.form) + std::string(16, ' ') + label +
                    f(e.subscript)};
    }

    std::string text() const
    {
        std::string s;
        long n = 0;
        for (const std::string& l : start) s += iges_line(l, 'S', ++n);
        n = 0;
        for (const std::string& l : global) s += iges_line(l, 'G', ++n);
        n = 0;
        for (const Entry& e : entries_) {
            const auto [a, b] = directory(e);
            s += iges_line(a, 'D', ++n);
            s += iges_line(b, 'D', ++n);
        }
        n = 0;
        for (const PLine& p : plines_) {
            std::string body = p.text;
            body.resize(64, ' ');
            s += iges_line(body + " " + fmt_int("%7ld", 2L * p.entry - 1), 'P', ++n);
        }
        const Counts c = counts();
        s += iges_line("S" + fmt_int("%7ld", c.s) + "G" + fmt_int("%7ld", c.g) + "D" + fmt_int("%7ld", 2 * c.d) + "P" +
                           fmt_int("%7ld", c.p),
                       'T', 1);
        return s;
    }

    Counts counts() const
    {
        return {static_cast<long>(start.size()), static_cast<long>(global.size()), static_cast<long>(entries_.size()),
                static_cast<long>(plines_.size()), 1};
    }

private:
    struct PLine {
        std::string text;
        int entry;
    };
    std::vector<Entry> entries_;
    std::vector<PLine> plines_;
};

// The parameter data of a type-128 surface.
struct Surface128 {
    int k1 = 1, k2 = 1, m1 = 1, m2 = 1;
    std::vector<std::string> s{"0", "0", "1", "1"}, t{"0", "0", "1", "1"};
    std::vector<std::string> w{"1", "1", "1", "1"};
    std::vector<std::string> xyz{"0", "0", "0", "1", "0", "0", "0", "1", "0", "1", "1", "0"};   // j outer, i inner
    std::vector<std::string> range{"0", "1", "0", "1"};

    std::vector<std::string> values() const
    {
        std::vector<std::string> v{"128", std::to_string(k1), std::to_string(k2), std::to_string(m1), std::to_string(m2),
                                   "0", "0", "1", "0", "0"};
        for (const auto* part : {&s, &t, &w, &xyz, &range}) v.insert(v.end(), part->begin(), part->end());
        return v;
    }
};

// The flat bilinear patch of corners (0,0,0), (1,0,0), (0,1,0), (1,1,0).
inline IgesFile patch_file(int copies = 1)
{
    IgesFile f;
    for (int c = 0; c < copies; ++c) f.add(128, Surface128{}.values(), "PATCH");
    return f;
}

}  // namespace surfmesh_test

namespace surfmesh_test {

// Fortran's E16.8 of a float: "  0.12345678E+01".
inline std::string e16(float v)
{
    if (v == 0.0f) return "  0.00000000E+00";
    char b[32];
    std::snprintf(b, sizeof b, "%.7E", static_cast<double>(std::fabs(v)));   // d.ddddddd E±xx
    const std::string s(b);
    const int exp = std::atoi(s.substr(s.find('E') + 1).c_str()) + 1;
    std::string digits = s.substr(0, 1) + s.substr(2, 7);
    std::string out = (v < 0 ? "-0." : "0.") + digits + "E" + (exp < 0 ? "-" : "+") + fmt_int("%02ld", std::labs(exp));
    return std::string(16 - out.size(), ' ') + out;
}

inline std::string point(float x, float y, float z) { return e16(x) + e16(y) + e16(z) + "\n"; }

struct NetMesh {
    int ni = 0, nj = 0;
    std::string title;
    std::vector<std::array<float, 3>> p;   // j outer, i inner
};

// The networks of a network file, one point per line.
inline std::vector<NetMesh> parse_networks(const std::string& text)
{
    std::vector<NetMesh> nets;
    std::vector<std::string> ls;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t nl = text.find('\n', at);
        if (nl == std::string::npos) nl = text.size();
        ls.push_back(text.substr(at, nl - at));
        at = nl + 1;
    }
    for (std::size_t k = 0; k < ls.size();) {
        NetMesh n;
        n.ni = std::atoi(ls[k].substr(0, 5).c_str());
        n.nj = std::atoi(ls[k].substr(5, 5).c_str());
        n.title = ls[k].size() > 20 ? ls[k].substr(20) : "";
        ++k;
        for (int m = 0; m < n.ni * n.nj && k < ls.size(); ++m, ++k) {
            std::array<float, 3> v;
            for (int c = 0; c < 3; ++c) v[c] = std::strtof(ls[k].substr(16 * c, 16).c_str(), nullptr);
            n.p.push_back(v);
        }
        nets.push_back(std::move(n));
    }
    return nets;
}

}  // namespace surfmesh_test
