// The boundaries of the new bulb in the old bulb's index space: each line
// of the old bulb (or an appendage's root curve) is divided by arc length
// with the point distribution, and the division carried to (u, v) by
// linear interpolation along the line.
#include "appgrid/bulb.hpp"

#include "appgrid/distribution.hpp"
#include "lib/arcs.hpp"
#include "textio/textio.hpp"

#include <string>

namespace appgrid {

namespace {

using textio::stdout_unit;

// The longest line laid along: a wing root (old bulb lines are shorter).
constexpr int kLinePoints = kWingI;

// Points of a line with their index coordinates (ul, vl) on the old bulb
// and their chord arc length s from 0.
struct Line {
    int n = 0;
    std::array<float, kLinePoints> x{}, y{}, z{}, s{}, ul{}, vl{};
    float length() const { return s[static_cast<std::size_t>(n - 1)]; }
    void add(float px, float py, float pz, float u, float v) {
        const auto k = static_cast<std::size_t>(n++);
        x[k] = px, y[k] = py, z[k] = pz, ul[k] = u, vl[k] = v;
    }
    void measure() { geom::arc3(x.data(), y.data(), z.data(), s.data(), n); }
};

// Points ia..ib of rows ja..jb of the old bulb: one row or one column.
Line bulb_line(BulbNet& surface, int ia, int ib, int ja, int jb) {
    Line l;
    for (int j = ja; j <= jb; ++j)
        for (int i = ia; i <= ib; ++i)
            l.add(surface.gx()(i, j), surface.gy()(i, j), surface.gz()(i, j), static_cast<float>(i),
                  static_cast<float>(j));
    l.measure();
    return l;
}

Line root_line(const CutCurve& root) {
    Line l;
    for (int k = 1; k <= root.n; ++k)
        l.add(root.at(xint, k), root.at(yint, k), root.at(zint, k), root.at(xsit, k), root.at(etat, k));
    l.measure();
    return l;
}

// n output points along the line from arc position a to b, spaced by the
// point distribution of the order with the end intervals ds0, ds1
// (fractions of b - a); sigma their arc positions, (u, v) their places.
struct Segment {
    int n = 0;
    std::array<float, kOutI> sigma{}, u{}, v{};
};

Segment place(Line& line, int n, float a, float b, int order, float ds0, float ds1, float c0 = 0.0f, float c1 = 0.0f) {
    Segment g;
    g.n = n;
    std::array<float, kOutI> x{};
    poly(x.data(), n, order, ds0, ds1, c0, c1);
    for (std::size_t k = 0; k < static_cast<std::size_t>(n); ++k) g.sigma[k] = a + x[k] * (b - a);
    geom::intrp1(line.s.data(), line.ul.data(), line.n, g.sigma.data(), g.u.data(), n);
    geom::intrp1(line.s.data(), line.vl.data(), line.n, g.sigma.data(), g.v.data(), n);
    return g;
}

// v bent towards vt by the weight 3w^2 - 2w^3, w running from 0 at the
// segment's end `from` (0 first, n-1 last) to 1 at its other end.
void bend(Segment& g, std::size_t from, float vt) {
    const std::size_t to = from == 0 ? static_cast<std::size_t>(g.n - 1) : 0;
    for (std::size_t k = 0; k < static_cast<std::size_t>(g.n); ++k) {
        const float w = (g.sigma[k] - g.sigma[from]) / (g.sigma[to] - g.sigma[from]);
        g.v[k] = g.v[k] + (3.0f * (w * w) - 2.0f * (w * w * w)) * (vt - g.v[k]);
    }
}

geom::Grid grid(OutGrid::Field& f) { return {f.data(), kOutI}; }

void put_row(OutGrid& g, int j, int i0, const Segment& seg) {
    for (int k = 1; k <= seg.n; ++k) {
        grid(g.u)(i0 + k - 1, j) = seg.u[static_cast<std::size_t>(k - 1)];
        grid(g.v)(i0 + k - 1, j) = seg.v[static_cast<std::size_t>(k - 1)];
    }
}

void put_column(OutGrid& g, int i, int j0, const Segment& seg) {
    for (int k = 1; k <= seg.n; ++k) {
        grid(g.u)(i, j0 + k - 1) = seg.u[static_cast<std::size_t>(k - 1)];
        grid(g.v)(i, j0 + k - 1) = seg.v[static_cast<std::size_t>(k - 1)];
    }
}

void print_value(std::string_view label, float value) { textio::write(stdout_unit, "(a,e16.8)", label, value); }

void print_points(const Line& l) {
    for (std::size_t k = 0; k < static_cast<std::size_t>(l.n); ++k)
        textio::write(stdout_unit, "(1x,3e16.8)", l.s[k], l.ul[k], l.vl[k]);
}

void print_row(OutGrid& g, std::string_view heading, int j, int imo) {
    textio::write(stdout_unit, "(a)", heading);
    for (int i = 1; i <= imo; ++i)
        textio::write(stdout_unit, "(1x,i5,2e16.8)", std::int32_t{i}, grid(g.u)(i, j), grid(g.v)(i, j));
}

void print_column(OutGrid& g, std::string_view heading, int i, int ja, int jb) {
    textio::write(stdout_unit, "(a)", heading);
    for (int j = ja; j <= jb; ++j)
        textio::write(stdout_unit, "(1x,i5,2e16.8)", std::int32_t{j}, grid(g.u)(i, j), grid(g.v)(i, j));
}

// One line of imo points with even end intervals.
void lay_out_whole_row(Run& run, Line& line, int j) {
    const float ds = 0.2f / static_cast<float>(run.size.imo - 1);
    put_row(run.grid, j, 1, place(line, run.size.imo, 0.0f, line.length(), 3, ds, ds));
}

// Where the appendage's edges lie on the bulb line: arc positions and v.
struct Edges {
    float s_le, s_te, v_le, v_te;
};

Edges edges_on(Line& line, float u_le, float u_te) {
    print_value(" uout(1)=", u_le);
    print_value(" uout(2)=", u_te);
    std::array<float, 2> uout{u_le, u_te}, at{}, v{};
    geom::intrp1(line.ul.data(), line.s.data(), line.n, uout.data(), at.data(), 2);
    geom::intrp1(line.ul.data(), line.vl.data(), line.n, uout.data(), v.data(), 2);
    return {at[0], at[1], v[0], v[1]};
}

// The fore and aft segments need the appendage strictly inside the line:
// they divide by the lengths in front of, along and behind it.
void check_edges(std::string_view part, int le, int te, int imo, const Edges& e, float length) {
    const std::string p(part);
    if (le > 1 && !(e.s_le > 0.0f)) stop_with(" error ... " + p + " le not aft of bulb fore end");
    if (te < imo && !(e.s_te < length)) stop_with(" error ... " + p + " te not forward of bulb aft end");
    if ((le > 1 || te < imo) && !(e.s_te > e.s_le)) stop_with(" error ... " + p + " te not aft of " + p + " le on bulb");
}

// Row 1 with the keel: fore segment, aft segment, then the keel root in
// output columns ikle..ikte.
void lay_out_keel_row(Run& run, Line& tcl) {
    const int imo = run.size.imo, ikle = run.deck.ikle, ikte = run.deck.ikte;
    CutCurve& root = run.keel_cut;
    const float stcl = tcl.length();
    print_points(tcl);
    const Edges e = edges_on(tcl, root.at(xsit, 1), root.at(xsit, root.n));
    const float skle = e.s_le, skte = e.s_te;
    print_value(" skle=", skle);
    print_value(" skte=", skte);
    check_edges("keel", ikle, ikte, imo, e, stcl);
    if (ikle > 1) {
        const float ds0 = (0.2f / static_cast<float>(imo - 1)) * stcl / skle;
        const float ds1 = (0.1f / static_cast<float>(ikte - ikle)) * (skte - skle) / skle;
        // no condition at the nose; no curvature where the segment meets the keel
        put_row(run.grid, 1, 1, place(tcl, ikle, 0.0f, skle, 4, ds0, ds1, -1.0f, 0.0f));
    }
    if (imo > ikte) {
        const float ds0 = ((skte - skle) * (1.0f / static_cast<float>(ikte - ikle))) / (stcl - skte);
        const float ds1 = (0.2f / static_cast<float>(imo - 1)) * stcl / (stcl - skte);
        put_row(run.grid, 1, ikte, place(tcl, imo - ikte + 1, skte, stcl, 3, ds0, ds1));
    }
    if (ikte > ikle) {
        Line r = root_line(root);
        const int n = ikte - ikle + 1;
        const float ds0 = 0.1f / static_cast<float>(n - 1), ds1 = 1.0f / static_cast<float>(n - 1);
        put_row(run.grid, 1, ikle, place(r, n, 0.0f, r.length(), 3, ds0, ds1));
    }
    print_row(run.grid, " final bulb tcl", 1, imo);
}

// The wing root from its leading edge to entry `end` (1 or nwr) into the
// middle row's columns iwle..iwte.
void lay_out_wing_root(Run& run, int end) {
    const CutCurve& root = run.wing_cut;
    const int n = run.deck.iwte - run.deck.iwle + 1, kwle = (root.n + 1) / 2;
    Line r = root_line(root);
    const float ds0 = 0.1f / static_cast<float>(n - 1), ds1 = 1.0f / static_cast<float>(n - 1);
    put_row(run.grid, run.size.jmoh, run.deck.iwle,
            place(r, n, r.s[static_cast<std::size_t>(kwle - 1)], r.s[static_cast<std::size_t>(end - 1)], 3, ds0, ds1));
}

// The middle row with the wing: fore and aft segments bent from the old
// middle row towards the wing's edges, then the wing root from its leading
// edge along stations kwle..nwr.
void lay_out_wing_row(Run& run, Line& mhb) {
    const int imo = run.size.imo, jmoh = run.size.jmoh, iwle = run.deck.iwle, iwte = run.deck.iwte;
    CutCurve& root = run.wing_cut;
    const int nwr = root.n, kwle = (nwr + 1) / 2;
    const float smhb = mhb.length();
    print_points(mhb);
    const Edges e = edges_on(mhb, root.at(xsit, kwle), root.at(xsit, nwr));
    const float swle = e.s_le, swte = e.s_te;
    print_value(" swle=", swle);
    print_value(" swte=", swte);
    print_value(" vwle=", e.v_le);
    print_value(" vwte=", e.v_te);
    check_edges("wing", iwle, iwte, imo, e, smhb);
    if (iwle > 1) {
        const float ds0 = (0.2f / static_cast<float>(imo - 1)) * smhb / swle;
        const float ds1 = (0.1f / static_cast<float>(iwte - iwle)) * (swte - swle) / swle;
        Segment seg = place(mhb, iwle, 0.0f, swle, 3, ds0, ds1);
        bend(seg, 0, root.at(etat, kwle));
        put_row(run.grid, jmoh, 1, seg);
    }
    if (iwte < imo) {
        const float ds0 = ((swte - swle) * (1.0f / static_cast<float>(iwte - iwle))) / (smhb - swte);
        const float ds1 = (0.2f / static_cast<float>(imo - 1)) * smhb / (smhb - swte);
        Segment seg = place(mhb, imo - iwte + 1, swte, smhb, 3, ds0, ds1);
        bend(seg, static_cast<std::size_t>(seg.n - 1), root.at(etat, nwr));
        put_row(run.grid, jmoh, iwte, seg);
    }
    if (iwle < iwte) lay_out_wing_root(run, nwr);
    print_row(run.grid, " final bulb mhb", jmoh, imo);
}

// Fore (column 1) or aft (column imi into imo) end of the upper or lower
// half: old rows 1..jmih into rows 1..jmoh, or jmih..jmi into jmoh..jmo.
void lay_out_end(Run& run, bool fore, bool upper) {
    const Sizes& sz = run.size;
    const int i_old = fore ? 1 : sz.imi, i_new = fore ? 1 : sz.imo;
    const int j0 = upper ? 1 : sz.jmoh, n = upper ? sz.jmoh : sz.jmo - sz.jmoh + 1;
    Line l = bulb_line(run.surface, i_old, i_old, upper ? 1 : sz.jmih, upper ? sz.jmih : sz.jmi);
    print_value(fore ? " sfor=" : " saft=", l.length());
    const float ds = 0.5f / static_cast<float>(n - 1);
    put_column(run.grid, i_new, j0, place(l, n, 0.0f, l.length(), 3, ds, ds));
    print_column(run.grid, fore ? " final bulb fore" : " final bulb aft", i_new, j0, j0 + n - 1);
}

}  // namespace

void lay_out_upper(Run& run) {
    const Sizes& sz = run.size;
    Line tcl = bulb_line(run.surface, 1, sz.imi, 1, 1);
    print_value(" stcl=", tcl.length());
    if (run.ans.on[keel])
        lay_out_keel_row(run, tcl);
    else
        lay_out_whole_row(run, tcl, 1);

    Line mhb = bulb_line(run.surface, 1, sz.imi, sz.jmih, sz.jmih);
    print_value(" smhb=", mhb.length());
    if (run.ans.on[wing])
        lay_out_wing_row(run, mhb);
    else
        lay_out_whole_row(run, mhb, sz.jmoh);

    lay_out_end(run, true, true);
    lay_out_end(run, false, true);
}

void lay_out_lower(Run& run) {
    const Sizes& sz = run.size;
    if (run.ans.on[wing]) {
        // the other side of the wing root; the bent segments stay
        if (run.deck.iwle < run.deck.iwte) lay_out_wing_root(run, 1);
        print_row(run.grid, " final bulb mhb", sz.jmoh, sz.imo);
    }
    Line bcl = bulb_line(run.surface, 1, sz.imi, sz.jmi, sz.jmi);
    print_value(" sbcl=", bcl.length());
    lay_out_whole_row(run, bcl, sz.jmo);
    print_row(run.grid, " final bulb bcl", sz.jmo, sz.imo);

    lay_out_end(run, true, false);
    lay_out_end(run, false, false);
}

}  // namespace appgrid
