#include "intersect/driver.hpp"

#include "intersect/oriented.hpp"
#include "intersect/panels.hpp"
#include "intersect/work.hpp"
#include "lib/strings.hpp"
#include "textio/textio.hpp"

#include <array>
#include <cerrno>
#include <cstdint>
#include <string>

namespace intersect {

namespace {

constexpr int network_unit = 1;

using Name = textio::NameAnswer<80>;
using Title = std::array<char, 60>;

// The answers about one network.
struct NetworkAnswers {
    Name name;
    Spec dx, de;
};

class Dialogue {
public:
    explicit Dialogue(const Program& p) : p_(p) {}

    void banner() const {
        if (p_.dialogue) textio::write(textio::stdout_unit, "(a)", " intersect source and target");
    }

    // One network's name and specs; `which` is "source" or "target", `words`
    // the spec names its messages use ("dxs", "des" or "dxt", "det"). Specs
    // that name one letter are both asked again.
    NetworkAnswers network(std::string_view which, std::string_view xsi_word, std::string_view eta_word) const {
        NetworkAnswers a;
        ask(" enter " + std::string(which) + " input filename");
        textio::read_answer(a.name);
        for (;;) {
            spec(" enter " + std::string(which) + " xsi direction ( +/- m/n ) for intersection", xsi_word, a.dx);
            spec(" enter " + std::string(which) + " eta direction ( +/- m/n )", eta_word, a.de);
            if (a.dx[1] != a.de[1]) return a;
            textio::write(textio::stdout_unit, "(a,a,a,a)", " inconsistent specs for " + std::string(xsi_word) + "=",
                          a.dx, " and " + std::string(eta_word) + "=", a.de);
            textio::fail_and_go_on();
        }
    }

    // Extension flags: one free-format read, no question.
    template <class... Ints>
    void flags(Ints&... f) const {
        textio::read_list_required(textio::stdin_unit, f...);
    }

private:
    void ask(const std::string& question) const {
        if (p_.dialogue) textio::write(textio::stdout_unit, "(a,/,a)", question, " ? ");
    }

    template <std::size_t N>
    static void line(std::array<char, N>& field) {
        geom::blank(field, static_cast<int>(N));
        textio::read_required(textio::stdin_unit, "(a)", field);
    }

    // Asked until valid: a sign, then m or n in either case (folded). A spec
    // asked again leaves the run to end with status 1, so that a script of
    // answers that went astray is told.
    void spec(const std::string& question, std::string_view word, Spec& s) const {
        for (;;) {
            ask(question);
            line(s);
            const bool sign = s[0] == '+' || s[0] == '-';
            const bool letter = s[1] == 'm' || s[1] == 'M' || s[1] == 'n' || s[1] == 'N';
            if (sign && letter) {
                s[1] = s[1] == 'M' ? 'm' : s[1] == 'N' ? 'n' : s[1];
                return;
            }
            textio::write(textio::stdout_unit, "(a,a)", " invalid spec for " + std::string(word) + " = ", s);
            textio::fail_and_go_on();
        }
    }

    const Program& p_;
};

// A network in the work array.
struct Slices {
    int ix = 0, iy = 0, iz = 0, m = 0, n = 0;
};

Slices read_network(Work& work, int& lw, const NetworkAnswers& a) {
    Slices s;
    Title title;
    geom::blank(title, static_cast<int>(title.size()));
    if (a.name.cut) textio::fail_open(network_unit, a.name, ENAMETOOLONG);
    mnread(network_unit, a.name.text(), title, 1, 0, 1, work.all(), mw, lw, s.ix, s.iy, s.iz, s.m, s.n, a.dx,
           a.de);
    return s;
}

geom::Grid grid(Work& work, int start, int ld) { return geom::Grid(work.at(start), ld); }

}  // namespace

void main_routine(const Program& program) {
    const Dialogue ask(program);
    ask.banner();
    const NetworkAnswers src = ask.network("source", "dxs", "des");
    SourceFlags sf;
    ask.flags(sf.start, sf.end);
    const NetworkAnswers tgt = ask.network("target", "dxt", "det");
    TargetFlags tf;
    ask.flags(tf.xsi_start, tf.xsi_end, tf.eta_start, tf.eta_end);

    Work work;
    int lw = 0;
    const Slices s = read_network(work, lw, src);
    const Slices t = read_network(work, lw, tgt);
    if (program.dialogue)
        textio::write(textio::stdout_unit, "(2(a,i5))", " ms =", s.m, " ns =", s.n, " mt =", t.m, " nt =", t.n);

    // Storage plan, in 64 bits; a slice is only touched once the check
    // after it has passed.
    const std::string who = " message from " + std::string(program.name) + ":";
    const std::int64_t ns = s.n;
    const std::int64_t np = panel_count(t.m, t.n);
    const std::int64_t ixsis = t.iz + static_cast<std::int64_t>(t.m) * t.n;   // just after the target's z
    const std::int64_t ixsit = ixsis + ns, ietat = ixsit + ns, iiint = ietat + ns;
    std::int64_t last = iiint + ns - 1;
    if (last > mw) capacity_stop(who, " storage for intersection info arrays lw=", last, mw);

    std::int64_t next = last + 1;
    auto slice = [&](std::int64_t length) {
        const std::int64_t at = next;
        next += length;
        return at;
    };
    const std::int64_t ixc = slice(np), iyc = slice(np), izc = slice(np), icxi = slice(4 * np),
                       iceta = slice(4 * np), iexix = slice(np), iexiy = slice(np), iexiz = slice(np),
                       ieetax = slice(np), ieetay = slice(np), ieetaz = slice(np), ienorx = slice(np),
                       ienory = slice(np), ienorz = slice(np);
    last = next - 1;
    if (last > mw) capacity_stop(who, " storage for panel arrays lw=", last, mw);
    const Panels p{work.at(ixc),    work.at(iyc),    work.at(izc),    work.at(icxi),   work.at(iceta),
                   work.at(iexix),  work.at(iexiy),  work.at(iexiz),  work.at(ieetax), work.at(ieetay),
                   work.at(ieetaz), work.at(ienorx), work.at(ienory), work.at(ienorz)};
    panels(grid(work, t.ix, t.m), grid(work, t.iy, t.m), grid(work, t.iz, t.m), t.m, t.n, p);

    const std::int64_t ixint = slice(ns), iyint = slice(ns), izint = slice(ns);
    last = next - 1;
    if (last > mw) capacity_stop(who, " storage for panel arrays lw=", last, mw);
    const Cuts c{work.at(ixint), work.at(iyint), work.at(izint), work.at(ixsis),
                 work.at(ixsit), work.at(ietat), work.at(iiint)};
    surfx(grid(work, s.ix, s.m), grid(work, s.iy, s.m), grid(work, s.iz, s.m), s.m, s.n, sf, t.m, t.n, tf, p, c,
          program.rule);
    result(s.m, s.n, src.dx, src.de, t.m, t.n, tgt.dx, tgt.de, c, program.files);
}

}  // namespace intersect
