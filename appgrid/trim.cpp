// Keel and wing trimmed at the bulb: each cut curve of keelcut and foilcut
// is completed and smoothed by splines over its arc length, the appendage's
// rows beyond the cut are dropped and the cut row closes it.  The wing's
// cut row is then respaced so that its middle station lies on the leading
// edge.
#include "appgrid/driver.hpp"

#include "lib/arcs.hpp"
#include "lib/curves.hpp"
#include "textio/textio.hpp"

#include <algorithm>
#include <string>

namespace appgrid {

namespace {

constexpr std::array<Column, kColumns> kAll = {xint, yint, zint, xsis, etas, xsit, etat};
// Every spline of the trimming is given its end slopes.
constexpr int kSlopeEnds = 1;
constexpr int kEvaluate = 1, kInvert = 2;

using Line = std::array<float, kWingI>;

void read_table(const char* name, CutCurve& cut, int n) {
    if (!textio::open(kInUnit, name, textio::Access::existing))
        stop_with(" error ... file \"" + std::string(name) + "\" does not exist");
    textio::skip_record_required(kInUnit);
    cut.n = n;
    for (int k = 1; k <= n; ++k)
        textio::read_list_required(kInUnit, cut.iint[static_cast<std::size_t>(k - 1)], cut.at(xint, k),
                                   cut.at(yint, k), cut.at(zint, k), cut.at(xsis, k), cut.at(etas, k),
                                   cut.at(xsit, k), cut.at(etat, k));
    textio::close(kInUnit);
}

// The slope at s1 of the parabola through (s1, f1), (s2, f2), (s3, f3).
float parabola_slope(float s1, float s2, float s3, float f1, float f2, float f3) {
    return f1 * (2.0f * s1 - s2 - s3) / ((s1 - s2) * (s1 - s3)) + f2 * (s1 - s3) / ((s2 - s1) * (s2 - s3)) +
           f3 * (s1 - s2) / ((s3 - s1) * (s3 - s2));
}

struct EndSlopes {
    float first, last;
};

EndSlopes end_slopes(geom::Vec s, geom::Vec f, int m) {
    return {parabola_slope(s(1), s(2), s(3), f(1), f(2), f(3)),
            parabola_slope(s(m), s(m - 1), s(m - 2), f(m), f(m - 1), f(m - 2))};
}

// The spline of f over s (m knots, its end slopes): mode kEvaluate puts f
// and its slope at xo(1..no) into yo, ypo; kInvert puts into xo where f
// takes yo(1..no).
void spline(geom::Vec s, geom::Vec f, EndSlopes e, int m, geom::Vec xo, geom::Vec yo, geom::Vec ypo, int no,
            int mode) {
    Line ypp, c1, c2, c3;
    geom::spline(s, f, xo, yo, ypo, ypp.data(), c1.data(), c2.data(), c3.data(), kSlopeEnds, kSlopeEnds, e.first,
                 e.last, m, no, mode);
}

// The stations of a cut that a re-evaluation works on, with their arc
// positions: 0 at the first, 1 at the last.
struct Knots {
    int m = 0;
    std::array<Line, kColumns> col{};
    Line s{};
    geom::Vec v(Column c) { return geom::Vec(col[c].data()); }
};

// The stations with a cut (all of them when all_stations) into the knots.
Knots compact(const CutCurve& cut, bool all_stations) {
    Knots kn;
    for (int k = 1; k <= cut.n; ++k) {
        if (!all_stations && cut.iint[static_cast<std::size_t>(k - 1)] == 0) continue;
        ++kn.m;
        for (Column c : kAll) kn.col[c][static_cast<std::size_t>(kn.m - 1)] = cut.at(c, k);
    }
    return kn;
}

// The knots' arc positions; the stop when two successive ones coincide.
void place_knots(Knots& kn, std::string_view part) {
    geom::arcxyz(kn.m, kn.v(xint), kn.v(yint), kn.v(zint), kn.s.data());
    geom::arcn(kn.s.data(), kn.m);
    for (int k = 2; k <= kn.m; ++k)
        if (!(kn.s[static_cast<std::size_t>(k - 1)] > kn.s[static_cast<std::size_t>(k - 2)]))
            stop_with(" error ... " + std::string(part) + " cut has coincident points");
}

// The splines below need three knots at strictly growing arc positions: a
// cut that cannot give them is refused before any of its arithmetic.
Knots knots_of(const CutCurve& cut, bool all_stations, std::string_view part) {
    Knots kn = compact(cut, all_stations);
    if (kn.m < 3) stop_with(" error ... " + std::string(part) + " intersects bulb at fewer than 3 stations");
    place_knots(kn, part);
    return kn;
}

// The stop when two successive stations of the cut, with or without a cut
// of their own, lie on one point.
void stop_if_stations_coincide(const CutCurve& cut, std::string_view part) {
    Knots kn = compact(cut, true);
    place_knots(kn, part);
}

std::array<EndSlopes, kColumns> all_end_slopes(Knots& kn) {
    std::array<EndSlopes, kColumns> e;
    for (Column c : kAll) e[c] = end_slopes(kn.s.data(), kn.v(c), kn.m);
    return e;
}

// Where along the knots each station lies: the xsis spline inverted at the
// stations' own xsis.
Line station_positions(Knots& kn, const std::array<EndSlopes, kColumns>& e, const CutCurve& cut) {
    Line pos{}, target{}, slope{};
    for (int k = 1; k <= cut.n; ++k) target[static_cast<std::size_t>(k - 1)] = cut.at(xsis, k);
    spline(kn.s.data(), kn.v(xsis), e[xsis], kn.m, pos.data(), target.data(), slope.data(), cut.n, kInvert);
    return pos;
}

// The columns' splines evaluated at the stations' positions.
void evaluate(Knots& kn, const std::array<EndSlopes, kColumns>& e, Line& pos, CutCurve& cut, bool with_xsis) {
    for (Column c : kAll) {
        if (c == xsis && !with_xsis) continue;
        Line slope{};
        spline(kn.s.data(), kn.v(c), e[c], kn.m, pos.data(), cut.v(c), slope.data(), cut.n, kEvaluate);
    }
}

// Every station, with or without a cut, from the splines through the
// stations with a cut; xsis keeps its values.
void reevaluate(CutCurve& cut, Knots& kn) {
    const auto e = all_end_slopes(kn);
    Line pos = station_positions(kn, e, cut);
    evaluate(kn, e, pos, cut, false);
}

void print_table(const CutCurve& cut) {
    for (int k = 1; k <= cut.n; ++k)
        textio::write(textio::stdout_unit, "(1x,i5,7f10.5)", std::int32_t{k}, cut.at(xint, k), cut.at(yint, k),
                      cut.at(zint, k), cut.at(xsis, k), cut.at(etas, k), cut.at(xsit, k), cut.at(etat, k));
}

bool cut_at_both_ends(const CutCurve& cut) {
    return cut.iint[0] != 0 && cut.iint[static_cast<std::size_t>(cut.n - 1)] != 0;
}

void write_cut_row(const CutCurve& cut) {
    for (int k = 1; k <= cut.n; ++k) write_point(cut.at(xint, k), cut.at(yint, k), cut.at(zint, k));
}

template <int I, int J>
void write_rows(Network<I, J>& net, int from, int to) {
    const geom::Grid x = net.gx(), y = net.gy(), z = net.gz();
    for (int j = from; j <= to; ++j)
        for (int i = 1; i <= net.ni; ++i) write_point(x(i, j), y(i, j), z(i, j));
}

// The keel's rows above the cut: 1..jk, jk the last row index below the
// smallest etas (a row at the cut is dropped).
void write_keel(KeelNet& net, const CutCurve& cut, const Name& name) {
    float etamin = cut.at(etas, 1);
    for (int k = 2; k <= cut.n; ++k) etamin = std::min(etamin, cut.at(etas, k));
    int jk = 0;
    for (int j = 1; j <= net.nj; ++j)
        if (static_cast<float>(j) < etamin) jk = j;
    open_output(name);
    write_header(net.ni, jk + 1, net.title);
    write_rows(net, 1, jk);
    write_cut_row(cut);
    textio::close(kOutUnit);
}

// The wing's rows beyond the cut: j0..last, j0 the first row index above
// the largest etas; the cut row alone when no row lies beyond it.
void write_wing(WingNet& net, const CutCurve& cut, const Name& name) {
    float etamax = cut.at(etas, 1);
    for (int k = 2; k <= cut.n; ++k) etamax = std::max(etamax, cut.at(etas, k));
    int j0 = net.nj + 1;
    for (int j = net.nj; j >= 1; --j)
        if (static_cast<float>(j) > etamax) j0 = j;
    open_output(name);
    write_header(net.ni, net.nj - j0 + 2, net.title);
    write_cut_row(cut);
    write_rows(net, j0, net.nj);
    textio::close(kOutUnit);
}

void trim_keel(Run& run) {
    CutCurve& cut = run.keel_cut;
    if (!cut_at_both_ends(cut)) stop_with(" error ... keel le or te does not intersect bulb");
    // both ends on the bulb's top centre line, before the splines are fitted
    const int n = cut.n;
    cut.at(zint, 1) = cut.at(zint, n) = 0.0f;
    cut.at(etat, 1) = cut.at(etat, n) = 1.0f;
    cut.at(xsis, 1) = 1.0f;
    cut.at(xsis, n) = static_cast<float>(n);
    Knots kn = knots_of(cut, false, "keel");
    reevaluate(cut, kn);
    // the root row itself, before it is printed or written
    stop_if_stations_coincide(cut, "keel");
    print_table(cut);
    write_keel(run.keel_net, cut, run.ans.output[keel]);
}

// A trailing-edge station cut near the bulb's aft end goes to the aft end
// of the bulb's middle row.
void snap_to_aft_tip(CutCurve& cut, int k, BulbNet& bulb_net) {
    const int imi = bulb_net.ni, jh = (bulb_net.nj + 1) / 2;
    if (!(cut.at(xsit, k) > static_cast<float>(imi) - 0.9f)) return;
    cut.at(xint, k) = bulb_net.gx()(imi, jh);
    cut.at(yint, k) = bulb_net.gy()(imi, jh);
    cut.at(zint, k) = bulb_net.gz()(imi, jh);
    cut.at(xsit, k) = static_cast<float>(imi);
    cut.at(etat, k) = static_cast<float>(jh);
    cut.at(xsis, k) = static_cast<float>(k);
}

// Each side of the leading-edge station keeps its relative spacing,
// stretched to end where x along the cut row has its extreme; kn holds all
// the stations of the cut row as cut.
void align_wing(Run& run, Knots& kn) {
    CutCurve& cut = run.wing_cut;
    const int n = cut.n, kwle = (n + 1) / 2;
    const auto e = all_end_slopes(kn);
    Line pos = station_positions(kn, e, cut);
    Line x{}, p{};
    spline(kn.s.data(), kn.v(xint), e[xint], n, pos.data(), x.data(), p.data(), n, kEvaluate);

    // slopes dx/ds smoothed with the neighbours' slopes interpolated to each station
    const geom::Vec s(pos.data()), pk(p.data());
    Line d{};
    const geom::Vec dk(d.data());
    dk(1) = pk(1);
    dk(n) = pk(n);
    for (int k = 2; k <= n - 1; ++k) {
        const float q = pk(k - 1) + (pk(k + 1) - pk(k - 1)) * (s(k) - s(k - 1)) / (s(k + 1) - s(k - 1));
        dk(k) = 0.5f * (q + pk(k));
    }
    Line le_pos{}, zero{}, slope{};
    spline(s, dk, end_slopes(s, dk, n), n, le_pos.data(), zero.data(), slope.data(), 1, kInvert);
    const float sle = le_pos[0], s1 = s(1), sn = s(n), skw = s(kwle);
    // without a change of sign of the slope there is no leading edge to move to
    if (!(s1 < sle && sle < sn && s1 < skw && skw < sn)) stop_with(" error ... wing cut row has no leading edge");

    Line moved{};
    const geom::Vec sp(moved.data());
    for (int k = 1; k <= n; ++k) {
        if (k < kwle)
            sp(k) = s1 + (s(k) - s1) * (sle - s1) / (skw - s1);
        else if (k == kwle)
            sp(k) = sle;
        else
            sp(k) = sle + (s(k) - skw) * (sn - sle) / (sn - skw);
    }
    evaluate(kn, e, moved, cut, true);
    print_table(cut);
    write_wing(run.wing_net, cut, run.ans.output[wing]);
}

void trim_wing(Run& run) {
    CutCurve& cut = run.wing_cut;
    if (!cut_at_both_ends(cut)) stop_with(" error ... wing upper or lower te does not intersect bulb");
    snap_to_aft_tip(cut, 1, run.bulb_net);
    snap_to_aft_tip(cut, cut.n, run.bulb_net);
    Knots kn = knots_of(cut, false, "wing");
    reevaluate(cut, kn);
    // the alignment's knots, checked before the wing as cut replaces an older file
    Knots row = knots_of(cut, true, "wing");
    print_table(cut);
    write_wing(run.wing_net, cut, run.ans.output[wing]);
    align_wing(run, row);
}

}  // namespace

void trim(Run& run) {
    if (run.ans.on[keel]) read_table("keelcut.out", run.keel_cut, run.keel_net.ni);
    if (run.ans.on[wing]) read_table("foilcut.out", run.wing_cut, run.wing_net.ni);
    if (run.ans.on[keel]) trim_keel(run);
    if (run.ans.on[wing]) trim_wing(run);
}

}  // namespace appgrid
