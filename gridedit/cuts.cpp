#include "cuts.hpp"

#include "commands.hpp"
#include "dialogue.hpp"
#include "line.hpp"

#include "lib/arcs.hpp"
#include "lib/curves.hpp"

#include <cmath>

namespace gridedit {

namespace {

using geom::Vec;
using textio::stdout_unit;

constexpr float backup_real = 999.0f;

// Slope at the last point n of the parabola through the last three points,
// its terms taken from n-2 on.
float last_slope(Vec f, Vec s, int n) {
    const float sa = s(n - 2), sb = s(n - 1), sc = s(n);
    return f(n - 2) * (sc - sb) / ((sa - sb) * (sa - sc)) + f(n - 1) * (sc - sa) / ((sb - sa) * (sb - sc)) +
           f(n) * (2.0f * sc - sb - sa) / ((sc - sb) * (sc - sa));
}

// The three-point slopes of x, y and z at both ends of the line in work arrays 1-4.
void end_slopes(WorkArrays& w, int n, float (&first)[3], float (&last)[3]) {
    const Vec s = work_vec(w, 4);
    for (int c = 0; c < 3; ++c) {
        first[c] = first_slope(work_vec(w, c + 1), s);
        last[c] = last_slope(work_vec(w, c + 1), s, n);
    }
}

bool all_finite(Vec a, Vec b, Vec c, int n) {
    for (int k = 1; k <= n; ++k)
        if (!std::isfinite(a(k)) || !std::isfinite(b(k)) || !std::isfinite(c(k))) return false;
    return true;
}

// Measures the line held in work arrays 1-3 by arc length, cuts it where
// x = xc and resamples its n points between the first point and the cut.
// False (line unchanged, nothing reported) for a line too short to cut or
// a cut that gives no finite points.
bool line_method(WorkArrays& w, int n, int method, float xc, std::string_view label, bool nose_slopes) {
    Vec lx = work_vec(w, 1), s = work_vec(w, 4);
    Vec nx = work_vec(w, 5), ny = work_vec(w, 6), nz = work_vec(w, 7), t = work_vec(w, 8);
    measure(w, method, n);
    if (!(s(n) > min_length)) return false;
    float first[3] = {}, last[3] = {};
    if (method == 3) {
        end_slopes(w, n, first, last);
        if (nose_slopes) {
            // the nose tangent is normal to the x axis, of unit length
            first[0] = 0.0f;
            const float r = std::sqrt(first[2] * first[2] + first[1] * first[1]);
            if (r != 0.0f) {
                first[1] = first[1] / r;
                first[2] = first[2] / r;
            }
        }
    }
    // each line its own target: the inverse spline may overwrite it
    float target = xc;
    float cut = 0.0f;
    if (method == 1)
        geom::intrp1(lx, s, n, Vec(&target), Vec(&cut), 1);
    else if (method == 2)
        geom::runatk(n, lx, s, 1, Vec(&target), Vec(&cut), atk_order, atk_tol);
    else
        geom::spline(s, lx, Vec(&cut), Vec(&target), work_vec(w, 9), work_vec(w, 10), work_vec(w, 11),
                     work_vec(w, 12), work_vec(w, 13), 1, 1, first[0], last[0], n, 1, 0);
    if (!std::isfinite(cut)) return false;
    for (int k = 1; k <= n; ++k) t(k) = (cut * s(k)) / s(n);
    resample(w, method, n, n, first, last);
    if (!all_finite(nx, ny, nz, n)) return false;
    textio::write(stdout_unit, "(a,f10.5)", label, cut);
    return true;
}

// Every point of the nose column i = 1 becomes its trapezoidal mean over j.
void collapse_nose(geom::Grid x, geom::Grid y, geom::Grid z, int msub) {
    geom::Grid g[3] = {x, y, z};
    for (auto& c : g) {
        float mean = c(1, 1);   // a single point is its own mean
        if (msub > 1) {
            float sum = 0.0f;
            for (int j = 1; j <= msub; ++j) sum += c(1, j);
            mean = (sum - (c(1, msub) + c(1, 1)) * 0.5f) / static_cast<float>(msub - 1);
        }
        for (int j = 1; j <= msub; ++j) c(1, j) = mean;
    }
}

}  // namespace

bool truncate(geom::Grid x, geom::Grid y, geom::Grid z, int, int, int nsub, int msub, WorkArrays& w, float& pct) {
    if (nsub < 1 || msub < 1) return false;
    const int method = fit_method(nsub);
    collapse_nose(x, y, z, msub);
    const float xnose = x(1, 1);
    float xtail = x(nsub, 1);
    for (int j = 2; j <= msub; ++j)
        if (x(nsub, j) <= xtail) xtail = x(nsub, j);
    const float xtrunc = (xtail - xnose) * (pct / 100.0f) + xnose;
    pct = xtrunc;
    textio::write(stdout_unit, "(a,f10.5)", " xnose=", xnose, " xtail=", xtail, " xtrunc=", xtrunc);
    for (int j = 1; j <= msub; ++j) {
        const Line ln{x, y, z, true, j};
        ln.load(w, nsub);
        if (line_method(w, nsub, method, xtrunc, " strunc=", true)) ln.store(w, nsub, 5);
    }
    return true;
}

bool tranatx(geom::Grid x, geom::Grid y, geom::Grid z, int, int, int nsub, int msub, WorkArrays& w, float xtran,
             int mode) {
    if (nsub < 1 || msub < 1) return false;
    const int method = mode != 0 ? 1 : fit_method(msub);
    for (int i = 1; i <= nsub; ++i) {
        const Line ln{x, y, z, false, i};
        ln.load(w, msub);
        if (line_method(w, msub, method, xtran, " stran=", false)) ln.store(w, msub, 5);
    }
    return true;
}

bool splitbulb(geom::Grid x, geom::Grid y, geom::Grid z, int, int, int nsub, int msub, WorkArrays& w) {
    // the slopes at the ends of a station need three points
    if (nsub < 1 || msub < 3) return false;
    const int jmid = (msub + 1) / 2;
    collapse_nose(x, y, z, msub);
    Vec lz = work_vec(w, 3), s = work_vec(w, 4);
    Vec g = work_vec(w, 5), h = work_vec(w, 6), ze = work_vec(w, 7), t = work_vec(w, 8);
    Vec d1 = work_vec(w, 9), d2 = work_vec(w, 10), c1 = work_vec(w, 11), c2 = work_vec(w, 12),
        c3 = work_vec(w, 13);
    for (int i = 2; i <= nsub - 1; ++i) {
        const Line ln{x, y, z, false, i};
        ln.load(w, msub);
        measure(w, 3, msub);   // by circular arcs
        float first[3], last[3];
        end_slopes(w, msub, first, last);
        // dz/ds at the knots, smoothed once with weights 1/4, 1/2, 1/4
        for (int k = 1; k <= msub; ++k) t(k) = s(k);
        geom::spline(s, lz, t, ze, g, d2, c1, c2, c3, 1, 1, first[2], last[2], msub, msub, 1);
        for (int k = 2; k <= msub - 1; ++k) h(k) = (g(k - 1) + g(k + 1)) * 0.5f;
        for (int k = 2; k <= msub - 1; ++k) g(k) = (g(k) + h(k)) * 0.5f;
        const float gs1 = first_slope(g, s), gsn = last_slope(g, s, msub);
        // the maximum half breadth: where the smoothed dz/ds is 0
        ze(1) = 0.0f;
        geom::spline(s, g, t, ze, d1, d2, c1, c2, c3, 1, 1, gs1, gsn, msub, 1, 0);
        const float split = t(1);
        if (!std::isfinite(split)) continue;
        t(1) = s(1);
        for (int k = 2; k <= jmid - 1; ++k)
            t(k) = (static_cast<float>(k - 1) / static_cast<float>(jmid - 1)) * (split - s(1)) + s(1);
        t(jmid) = split;
        for (int k = jmid + 1; k <= msub - 1; ++k)
            t(k) = (static_cast<float>(k - jmid) / static_cast<float>(msub - jmid)) * (s(msub) - split) + split;
        t(msub) = s(msub);
        resample(w, 3, msub, msub, first, last);
        if (all_finite(work_vec(w, 5), work_vec(w, 6), work_vec(w, 7), msub)) ln.store(w, msub, 5);
    }
    // a horizontal trailing edge: each tail point and its mirror partner meet
    geom::Grid gr[3] = {x, y, z};
    for (int j = 1; j <= jmid; ++j)
        for (auto& c : gr) {
            const float m = (c(nsub, j) + c(nsub, msub + 1 - j)) * 0.5f;
            c(nsub, j) = m;
            c(nsub, msub + 1 - j) = m;
        }
    return true;
}

bool transom(geom::Grid x, geom::Grid y, geom::Grid z, int, int, int nsub, int msub, WorkArrays& w) {
    if (nsub < 1 || msub < 3) return false;
    const float pi = std::acos(-1.0f);
    const float xa = x(1, msub), ya = y(1, msub), za = z(1, msub);
    const float xb = x(nsub, msub), yb = y(nsub, msub), zb = z(nsub, msub);
    Vec lx = work_vec(w, 1), ly = work_vec(w, 2), lz = work_vec(w, 3), s = work_vec(w, 4);
    Vec nx = work_vec(w, 5), ny = work_vec(w, 6), nz = work_vec(w, 7), s0 = work_vec(w, 8);

    // plan angle at the aft end of the first line, kept within 0..pi/2
    Line first{x, y, z, false, 1};
    first.load(w, msub);
    geom::arc3(lx, ly, lz, s, msub);
    float th1 = std::atan2(-last_slope(ly, s, msub), last_slope(lx, s, msub));
    th1 = th1 > 0.0f ? th1 : 0.0f;
    th1 = th1 < pi / 2.0f ? th1 : pi / 2.0f;
    const float xt = std::tan((pi / 2.0f - th1) * 0.5f) * (ya - yb) + xa;

    // the last line's end tangent in profile carried to the new x
    Line last{x, y, z, false, nsub};
    last.load(w, msub);
    geom::arc3(lx, ly, lz, s, msub);
    const float zt = zb - std::tan(std::atan2(-last_slope(lz, s, msub), last_slope(lx, s, msub))) * (xt - xb);

    for (int i = 1; i <= nsub; ++i) {
        const Line ln{x, y, z, false, i};
        ln.load(w, msub);
        geom::arc3(lx, ly, lz, s0, msub);
        geom::arcn(s0, msub);
        // a map with no range leaves its coordinate where it is
        if (yb != ya) lx(msub) = ((ly(msub) - ya) / (yb - ya)) * (xt - xa) + xa;
        if (zb != za) lz(msub) = ((lz(msub) - za) / (zb - za)) * (zt - za) + za;
        geom::arc3(lx, ly, lz, s, msub);
        geom::arcn(s, msub);
        geom::intrp3(s, lx, ly, lz, msub, s0, nx, ny, nz, msub);
        if (all_finite(nx, ny, nz, msub)) ln.store(w, msub, 5);
    }
    return true;
}

namespace {

void too_few_points() {
    textio::write(stdout_unit, "(a)", " error ... too few points in working range");
    textio::fail_and_go_on();
}

geom::Grid at_range(Editor& e, geom::Grid g) { return g.at(e.ib1, e.jb1); }

void cut_at_x(Editor& e, int mode) {
    float xtran = 0.0f;
    ask_numbers({" assumes offset-type hull network ...", " each line i=constant passes transom between j=1 and j=jmax",
                 " enter transom x-value, xtran (999. to backup)"},
                xtran);
    if (xtran == backup_real) return;
    Network& n = e.net;
    if (!tranatx(at_range(e, n.gx()), at_range(e, n.gy()), at_range(e, n.gz()), idim, jdim, e.nsub, e.msub, e.work,
                 xtran, mode))
        return too_few_points();
    ok_line();
}

}  // namespace

void truncate_command(Editor& e) {
    float pct = 0.0f;
    for (;;) {
        ask({" assumes blunt-nosed bulb type network", " enter percent body length to truncate bulb (999. to backup)"});
        if (!textio::read_answer_numbers(pct)) continue;
        if (pct == backup_real) return;
        if (pct > 0.0f && pct < 100.0f) break;
        textio::fail_and_go_on();
    }
    Network& n = e.net;
    if (!truncate(at_range(e, n.gx()), at_range(e, n.gy()), at_range(e, n.gz()), idim, jdim, e.nsub, e.msub, e.work,
                  pct))
        return too_few_points();
    ok_line();
}

void splitbulb_command(Editor& e) {
    textio::write(stdout_unit, "(a)", " split a bulb, with horizontal te, at max half breadth");
    Network& n = e.net;
    if (!splitbulb(at_range(e, n.gx()), at_range(e, n.gy()), at_range(e, n.gz()), idim, jdim, e.nsub, e.msub,
                   e.work))
        return too_few_points();
    ok_line();
}

void transom_command(Editor& e) {
    textio::write(stdout_unit, "(a)", " create overhung transom on hull");
    Network& n = e.net;
    if (!transom(at_range(e, n.gx()), at_range(e, n.gy()), at_range(e, n.gz()), idim, jdim, e.nsub, e.msub, e.work))
        return too_few_points();
    ok_line();
}

void tranatx_command(Editor& e) { cut_at_x(e, 0); }
void tranxlin_command(Editor& e) { cut_at_x(e, 1); }

}  // namespace gridedit
