#pragma once
// Expected gridedit transcripts and network files, built line by line.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace gridedit_test {

inline std::string line(std::string_view s) { return std::string(s) + "\n"; }

inline std::string i5(int v)
{
    char b[16];
    std::snprintf(b, sizeof b, "%5d", v);
    return b;
}

// A question (one or two lines) and the prompt line after it.
inline std::string ask(std::string_view question) { return line(question) + line(" ? "); }

inline const std::string kIjmaxQ = " enter new imax and jmax (999 to backup)";
inline const std::string kIjmaxErr = " error ... inew,jnew > idim,jdim =   481  481";
inline const std::string kSetblock = " set subblock indices";
inline const std::string kIQ = " enter new i1,i2\n (0,0 to deactivate block or 999 to backup)";
inline const std::string kJQ = " enter new j1,j2\n (0,0 to deactivate block or 999 to backup)";
inline const std::string kI2Err = " error ... i2new > idim =   481";
inline const std::string kJ2Err = " error ... j2new > jdim =   481";
inline const std::string kNameQ = " enter name of network file (or backup)";
inline const std::string kTitleQ = " enter new title for network file (or backup)";
inline const std::string kKlueQ = " enter network klue value (999 to backup)";
inline const std::string kQuitQ = " are you sure ??? (y/n)";
inline const std::string kSubQ = " subblock is active ... output ? (y/n)";
inline const std::string kReadErr = " error reading file";
inline const std::string kWriteErr = " error writing file";
inline const std::string kOk = " ***********************************  OK";

// transform, reverse, transpose, scale, translate and rotate
inline const std::string kTransformQ =
    " enter type of transformation (or backup)\n    (1) yacht to aircraft\n    (2) aircraft to yacht";
inline const std::string kReverseQ = " enter direction to reverse (or backup)\n    i or j";
inline const std::string kScaleQ = " enter sx sy sz scalings (999. to backup)";
inline const std::string kTranslateQ = " enter dx dy dz translations (999. to backup)";
inline const std::string kRotAxisQ = " enter \"x\" \"y\" or \"z\" for axis of rotation (or backup)";
inline const std::string kRotPointQ[] = {" enter y z rotation point (999. to backup)",
                                         " enter x z rotation point (999. to backup)",
                                         " enter x y rotation point (999. to backup)"};
inline const std::string kRotAngleQ[] = {" enter x-axis rotation angle in degrees (999. to backup)",
                                         " enter y-axis rotation angle in degrees (999. to backup)",
                                         " enter z-axis rotation angle in degrees (999. to backup)"};
inline const std::string kNonSquare = " cannot transpose a non-square subblock";

// respline
inline const std::string kDirQ = " enter direction to respline (or backup)\n    i or j";
inline const std::string kCountQ = " enter number of points on spline (999 to backup)";
inline const std::string kDegQ =
    " enter degree of cluster function (999 to backup)\n"
    "    ( 1) linear:    even spacing\n"
    "    ( 2) quadratic: give first spacing\n"
    "    (-2) quadratic: give last spacing\n"
    "    ( 3) cubic:     give first and last spacings\n"
    "    ( 4) quartic:   first curvature zero\n"
    "    (-4) quartic:   last curvature zero\n"
    "    ( 5) quintic:   first and last curvatures zero";
inline const std::string kFirstQ = " enter first cluster factor (999. to backup)";
inline const std::string kLastQ = " enter last cluster factor (999. to backup)";
inline const std::string kBothQ = " enter first and last cluster factors (999. to backup)";

// extend and dextend; the value questions by axis x, y, z and s
inline const std::string kSideQ =
    " enter \"imin\" \"imax\" \"jmin\" or \"jmax\" for mesh direction\n to extend (or backup)";
inline const std::string kExtAxisQ = " enter \"x\" \"y\" \"z\" or \"s\" for direction to extend (or backup)";
inline const std::string kExtendToQ[] = {
    " enter x-coordinate to extend to (999. to backup)", " enter y-coordinate to extend to (999. to backup)",
    " enter z-coordinate to extend to (999. to backup)", " enter arclength to extend (999. to backup)"};
inline const std::string kExtendByQ[] = {
    " enter x-distance to extend (999. to backup)", " enter y-distance to extend (999. to backup)",
    " enter z-distance to extend (999. to backup)", " enter arclength-distance to extend (999. to backup)"};
inline const std::string kPointsQ = " enter number of points to use to extend (999 to backup)";
inline const std::string kFairQ =
    " enter fairing parameter between 0. and 2. (999. to backup)\n"
    "    0.0 = prismatic extrusion\n"
    "    1.0 = linear extrapolation\n"
    "    2.0 = quadratic extrapolation";
inline const std::string kBlocked = "cannot extend surface while subblock is active";
inline const std::string kShort = " cannot extend lines of fewer than 3 points";
inline const std::string kInew = " error ... inew > idim =   481";
inline const std::string kJnew = " error ... jnew > jdim =   481";

// truncate, splitbulb, transom, tranatx and tranxlin: what each writes
// before its answer, and its error line
inline const std::string kPercentQ = line(" assumes blunt-nosed bulb type network") +
                                     ask(" enter percent body length to truncate bulb (999. to backup)");
inline const std::string kXtranQ = line(" assumes offset-type hull network ...") +
                                   line(" each line i=constant passes transom between j=1 and j=jmax") +
                                   ask(" enter transom x-value, xtran (999. to backup)");
inline const std::string kSplitNote = line(" split a bulb, with horizontal te, at max half breadth");
inline const std::string kTransomNote = line(" create overhung transom on hull");
inline const std::string kTooFew = line(" error ... too few points in working range");

inline const std::string kNulTitle(60, '\0');

// A title as the editor holds it: blank-padded to 60 characters.
inline std::string title60(std::string_view t)
{
    std::string s(t.substr(0, 60));
    s.resize(60, ' ');
    return s;
}

inline std::string banner()
{
    return line("") + line(" GRIDEDIT Network Geometry Manipulation Software") + line("") +
           line(" *******************") + line(" ***   network   ***") + line(" *******************");
}

struct Net {
    std::string title = kNulTitle;
    int imax = 0, jmax = 0, klue = 0;
    bool block = false;
    int i1 = 0, i2 = 0, j1 = 0, j2 = 0;

    void set_block(int a, int b, int c, int d)
    {
        block = true;
        i1 = a, i2 = b, j1 = c, j2 = d;
    }
};

inline std::string display(const Net& n)
{
    std::string s = line(" network title is " + n.title);
    s += line(" network imax x jmax is " + i5(n.imax) + " x " + i5(n.jmax));
    if (n.klue != 0) s += line(" network klue is " + i5(n.klue));
    if (n.block) {
        s += line("    sublock is set to i1,i2 = " + i5(n.i1) + i5(n.i2));
        s += line("                      j1,j2 = " + i5(n.j1) + i5(n.j2));
    }
    return s;
}

inline std::string menu()
{
    return line(" enter task") +
           line("    input     transform reverse   transpose respline  ") +
           line("    scale     translate output    quit      ijmax     ") +
           line("    truncate  splitbulb setblock  settitle  transom   ") +
           line("    rotate    extend    tranatx   dextend   klue      ") +
           line("    tranxlin  ") + line(" ? ");
}

inline std::string readnet_size_error(int ni, int nj, int bi, int bj)
{
    return line(" error in readnet:") +
           line(" network inew,jnew=" + i5(ni) + i5(nj) + " .gt. subblock i2-i1+1 , j2-j1+1 = " + i5(bi) + i5(bj));
}

// The answers typed and the transcript they must produce, side by side.
class Dialogue {
public:
    Net net;  // what the next state display must show

    Dialogue() { write(banner() + display(net) + menu()); }

    // Types one answer line; `reply` is what the program writes before its next read.
    Dialogue& say(std::string_view answer, std::string_view reply = "")
    {
        in_ += answer;
        in_ += '\n';
        write(reply);
        return *this;
    }
    // Back at the task question: display and menu.
    Dialogue& again()
    {
        write(display(net) + menu());
        return *this;
    }
    // The command ran: the success line, then the task question.
    Dialogue& ok()
    {
        write(line(kOk));
        return again();
    }
    Dialogue& quit() { return say("quit", ask(kQuitQ)).say("Y"); }

    // The answer just typed could not be used: the run goes on as the
    // transcript says and ends with status 1.
    Dialogue& refused()
    {
        status_ = 1;
        return *this;
    }
    // The file name just typed could not be used: refused, and one line on
    // standard error with the reason, the name as shown and its answers line.
    // answers_line: the name's line, when answers came after it (the
    // subblock question of output). With both streams in one file, the line
    // lands after the error line that answers the name, before the name
    // question asked again.
    Dialogue& refused_name(std::string_view reason, std::string_view shown, int answers_line = 0)
    {
        const std::string err = "gridedit: " + std::string(reason) + ", file '" + std::string(shown) +
                                "' (answers line " + std::to_string(answers_line > 0 ? answers_line : lines()) + ")\n";
        err_ += err;
        const std::string again = ask(kNameQ);
        if (!together_.ends_with(again)) throw std::logic_error("a refused name is not asked again");
        together_.insert(together_.size() - again.size(), err);
        return refused();
    }

    const std::string& answers() const { return in_; }
    const std::string& transcript() const { return want_; }
    int lines() const { return static_cast<int>(std::count(in_.begin(), in_.end(), '\n')); }
    int status() const { return status_; }
    const std::string& errors() const { return err_; }
    // Standard output and standard error in one file (2>&1).
    const std::string& together() const { return together_; }

private:
    void write(std::string_view reply)
    {
        want_ += reply;
        together_ += reply;
    }

    std::string in_;
    std::string want_;
    std::string err_;
    std::string together_;
    int status_ = 0;
};

// Reasons of the standard error line of a refused name.
inline const std::string kMissing = "cannot open (No such file or directory)";
inline const std::string kIsDir = "cannot open (Is a directory)";
inline const std::string kNotPermitted = "cannot open (Operation not permitted)";
inline const std::string kNotNetwork = "cannot read it as a network file";
inline const std::string kPastField = "cannot open (name longer than the 80 columns of its field)";

// One point record in "(1p3e16.8)": the three fields given as their digits.
inline std::string point(std::string_view x, std::string_view y, std::string_view z)
{
    std::string s;
    for (std::string_view f : {x, y, z}) s += std::string(16 - f.size(), ' ') + std::string(f);
    return s + "\n";
}

// "(1p e16.8)" digits of a small whole number (|v| < 100).
inline std::string whole(int v)
{
    std::string sign = v < 0 ? "-" : "";
    int a = v < 0 ? -v : v;
    if (a < 10) return sign + std::to_string(a) + ".00000000E+00";
    return sign + std::to_string(a / 10) + "." + std::to_string(a % 10) + "0000000E+01";
}

inline std::string point(int x, int y, int z) { return point(whole(x), whole(y), whole(z)); }

// ---- networks on file and the commands that move them in and out ----

// One "(1p e16.8)" field of a float, "%E" giving the same digits.
inline std::string e16(float v)
{
    char b[32];
    std::snprintf(b, sizeof b, "%16.8E", static_cast<double>(v));
    return b;
}

inline std::string pointf(float x, float y, float z) { return e16(x) + e16(y) + e16(z) + "\n"; }

// A network file as writnet writes it (klue 0): header, then one record per
// point, j outer. record(i, j) gives the point's record.
template <class F>
std::string net_file(int imax, int jmax, std::string_view title, F record)
{
    std::string s = i5(imax) + i5(jmax) + std::string(10, ' ') + std::string(title) + "\n";
    for (int j = 1; j <= jmax; ++j)
        for (int i = 1; i <= imax; ++i) s += record(i, j);
    return s;
}

// The points of a network file read back, for comparisons with a tolerance.
struct Points {
    int imax = 0, jmax = 0;
    std::vector<std::array<float, 3>> p;
    const std::array<float, 3>& at(int i, int j) const
    {
        return p[static_cast<std::size_t>((i - 1) + (j - 1) * imax)];
    }
};

inline std::optional<Points> parse_net(const std::optional<std::string>& text)
{
    if (!text) return std::nullopt;
    std::istringstream in(*text);
    std::string head;
    if (!std::getline(in, head) || head.size() < 10) return std::nullopt;
    Points n;
    n.imax = std::atoi(head.substr(0, 5).c_str());
    n.jmax = std::atoi(head.substr(5, 5).c_str());
    std::string rec;
    while (std::getline(in, rec)) {
        if (rec.size() != 48) return std::nullopt;
        std::array<float, 3> v;
        for (int c = 0; c < 3; ++c) v[c] = std::strtof(rec.substr(16 * c, 16).c_str(), nullptr);
        n.p.push_back(v);
    }
    if (n.p.size() != static_cast<std::size_t>(n.imax) * n.jmax) return std::nullopt;
    return n;
}

// input of a network file with klue 0, and the display after it.
inline void load(Dialogue& d, std::string_view file, std::string_view title, int imax, int jmax)
{
    d.say("input", ask(kNameQ)).say(file);
    d.net.title = title60(title);
    d.net.imax = imax;
    d.net.jmax = jmax;
    d.net.klue = 0;
    d.ok();
}

// output of the whole network (no subblock active).
inline void save(Dialogue& d, std::string_view file) { d.say("output", ask(kNameQ)).say(file).ok(); }

inline void set_block(Dialogue& d, int i1, int i2, int j1, int j2)
{
    d.say("setblock", line(kSetblock) + ask(kIQ))
        .say(std::to_string(i1) + " " + std::to_string(i2), ask(kJQ))
        .say(std::to_string(j1) + " " + std::to_string(j2));
    d.net.set_block(i1, i2, j1, j2);
    d.ok();
}

inline void clear_block(Dialogue& d)
{
    d.say("setblock", line(kSetblock) + ask(kIQ)).say("0 0", ask(kJQ)).say("0 0");
    d.net.block = false;
    d.ok();
}

}  // namespace gridedit_test
