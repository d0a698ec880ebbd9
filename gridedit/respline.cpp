#include "respline.hpp"

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

constexpr float merge_tol = 1.0e-6f;   // end points closer than this fraction of the length merge

// Slope at the last point np of the parabola through the last three points,
// its terms taken from np on.
float last_slope(Vec f, Vec s, int np) {
    const float s1 = s(np), s2 = s(np - 1), s3 = s(np - 2);
    return f(np) * (2.0f * s1 - s2 - s3) / ((s1 - s2) * (s1 - s3)) + f(np - 1) * (s1 - s3) / ((s2 - s3) * (s2 - s1)) +
           f(np - 2) * (s1 - s2) / ((s3 - s2) * (s3 - s1));
}

// Reverses the line held in work arrays 1-4 (points and arc lengths).
void reverse_line(Vec lx, Vec ly, Vec lz, Vec s, int np) {
    const float total = s(np);
    for (int k = 1; k <= np / 2; ++k) {
        std::swap(lx(k), lx(np + 1 - k));
        std::swap(ly(k), ly(np + 1 - k));
        std::swap(lz(k), lz(np + 1 - k));
        std::swap(s(k), s(np + 1 - k));
    }
    for (int k = 1; k <= np; ++k) s(k) = total - s(k);
}

// Drops the points just before the last one that lie on it (a duplicate end).
void merge_last(Vec lx, Vec ly, Vec lz, Vec s, int& np) {
    const int m = np;
    const float total = s(np);
    for (int pass = 0; pass < m - 2; ++pass) {
        if (!(std::fabs((total - s(np - 1)) / total) < merge_tol)) break;
        lx(np - 1) = lx(np);
        ly(np - 1) = ly(np);
        lz(np - 1) = lz(np);
        s(np - 1) = s(np);
        --np;
    }
}

// Coincident points inside the line would give the fit zero-length intervals.
void drop_interior_repeats(Vec lx, Vec ly, Vec lz, Vec s, int& np) {
    int kept = 1;
    for (int k = 2; k <= np; ++k) {
        if (k < np && s(k) == s(kept)) continue;
        ++kept;
        lx(kept) = lx(k);
        ly(kept) = ly(k);
        lz(kept) = lz(k);
        s(kept) = s(k);
    }
    np = kept;
}

void respline_line(const Line& ln, int n, WorkArrays& w, int ipnts, int ideg, float ds1, float ds2, float d2a,
                   float d2b) {
    if (n < 1) return;
    Vec lx = work_vec(w, 1), ly = work_vec(w, 2), lz = work_vec(w, 3), s = work_vec(w, 4), st = work_vec(w, 8);
    ln.load(w, n);
    int np = n;
    geom::arc3(lx, ly, lz, s, np);
    if (s(np) > min_length) {
        for (int end = 0; end < 2; ++end) {
            reverse_line(lx, ly, lz, s, np);
            merge_last(lx, ly, lz, s, np);
        }
        drop_interior_repeats(lx, ly, lz, s, np);
    }
    const int method = fit_method(np);
    measure(w, method, np);
    if (!(s(np) > min_length)) {
        // too short to resample: new places beyond the old count copy its last point
        for (int k = n + 1; k <= ipnts; ++k)
            for (int c = 0; c < 3; ++c) ln.p(c, k) = ln.p(c, n);
        return;
    }
    geom::poly(st, ipnts, ideg, ds1, ds2, d2a, d2b);
    for (int k = 1; k <= ipnts; ++k) st(k) = st(k) * s(np);
    float first[3] = {}, last[3] = {};
    if (method == 3)
        for (int c = 0; c < 3; ++c) {
            first[c] = first_slope(work_vec(w, c + 1), s);
            last[c] = last_slope(work_vec(w, c + 1), s, np);
        }
    resample(w, method, np, ipnts, first, last);
    ln.store(w, ipnts, 5);
}

}  // namespace

void resplni(geom::Grid x, geom::Grid y, geom::Grid z, int, int, int nsub, int msub, WorkArrays& w, int ipnts,
             int ideg, float ds1, float ds2, float d2a, float d2b) {
    for (int j = 1; j <= msub; ++j) respline_line({x, y, z, true, j}, nsub, w, ipnts, ideg, ds1, ds2, d2a, d2b);
}

void resplnj(geom::Grid x, geom::Grid y, geom::Grid z, int, int, int nsub, int msub, WorkArrays& w, int ipnts,
             int ideg, float ds1, float ds2, float d2a, float d2b) {
    for (int i = 1; i <= nsub; ++i) respline_line({x, y, z, false, i}, msub, w, ipnts, ideg, ds1, ds2, d2a, d2b);
}

namespace {

constexpr std::int32_t backup = 999;
constexpr float backup_real = 999.0f;

bool is_degree(std::int32_t d) { return d == 1 || d == 2 || d == -2 || d == 3 || d == 4 || d == -4 || d == 5; }

// Moves the points beyond the range along the lines by `by` places
// (outward when positive, the far end first).
void shift_beyond(Editor& e, bool along_i, int by) {
    geom::Grid gx = e.net.gx(), gy = e.net.gy(), gz = e.net.gz();
    auto move = [&](int from, int line) {
        int to = from + by;
        if (along_i) {
            gx(to, line) = gx(from, line);
            gy(to, line) = gy(from, line);
            gz(to, line) = gz(from, line);
        } else {
            gx(line, to) = gx(line, from);
            gy(line, to) = gy(line, from);
            gz(line, to) = gz(line, from);
        }
    };
    const int first = (along_i ? e.ib2 : e.jb2) + 1;
    const int last = along_i ? e.net.imax : e.net.jmax;
    const int l1 = along_i ? e.jb1 : e.ib1;
    const int l2 = along_i ? e.jb2 : e.ib2;
    for (int line = l1; line <= l2; ++line) {
        if (by > 0)
            for (int k = last; k >= first; --k) move(k, line);
        else
            for (int k = first; k <= last; ++k) move(k, line);
    }
}

}  // namespace

void respline(Editor& e) {
    enum { direction, count, degree, factors, run } step = direction;
    std::array<char, word_len> dir;
    bool along_i = true;
    std::int32_t ipnts = 0, deg = 0;
    float f1 = 0.0f, f2 = 0.0f;
    while (step != run) {
        if (step == direction) {
            ask({" enter direction to respline (or backup)", "    i or j"});
            read_word(dir);
            if (is_word(dir, "backup")) return;
            if (!is_word(dir, "i") && !is_word(dir, "j")) {
                textio::fail_and_go_on();
                continue;
            }
            along_i = is_word(dir, "i");
            const int line_count = along_i ? e.nsub : e.msub;
            // the count changes only where whole rows move: a subblock across
            // every line, and inside the network along them
            const bool spans = e.iblock == 0 ||
                               (along_i ? (e.j1 == 1 && e.j2 == e.net.jmax && e.i2 <= e.net.imax)
                                        : (e.i1 == 1 && e.i2 == e.net.imax && e.j2 <= e.net.jmax));
            if (spans) {
                step = count;
            } else {
                ipnts = line_count;
                step = degree;
            }
        } else if (step == count) {
            ask({" enter number of points on spline (999 to backup)"});
            if (!textio::read_answer_numbers(ipnts)) continue;
            if (ipnts == backup) {
                step = direction;
                continue;
            }
            if (ipnts < 2) {
                textio::fail_and_go_on();
                continue;
            }
            // the new count must fit the arrays beside the points outside the range
            // (tested without adding to ipnts, which could overflow)
            const int most = along_i ? idim - (e.net.imax - e.nsub) : jdim - (e.net.jmax - e.msub);
            if (ipnts > most) {
                textio::write(stdout_unit, "(a,i5)", " cannot use ipnts > ", most);
                textio::fail_and_go_on();
                continue;
            }
            step = degree;
        } else if (step == degree) {
            ask({" enter degree of cluster function (999 to backup)",
                 "    ( 1) linear:    even spacing",
                 "    ( 2) quadratic: give first spacing",
                 "    (-2) quadratic: give last spacing",
                 "    ( 3) cubic:     give first and last spacings",
                 "    ( 4) quartic:   first curvature zero",
                 "    (-4) quartic:   last curvature zero",
                 "    ( 5) quintic:   first and last curvatures zero"});
            if (!textio::read_answer_numbers(deg)) continue;
            if (deg == backup) {
                step = direction;
                continue;
            }
            if (!is_degree(deg)) {
                textio::fail_and_go_on();
                continue;
            }
            step = deg == 1 ? run : factors;
        } else {   // factors
            bool ok;
            if (deg == 2 || deg == -2) {
                ask({deg == 2 ? " enter first cluster factor (999. to backup)"
                              : " enter last cluster factor (999. to backup)"});
                ok = textio::read_answer_numbers(f1);
                f2 = 0.0f;
                if (ok && f1 == backup_real) {
                    step = degree;
                    continue;
                }
            } else {
                ask({" enter first and last cluster factors (999. to backup)"});
                ok = textio::read_answer_numbers(f1, f2);
                if (ok && (f1 == backup_real || f2 == backup_real)) {
                    step = degree;
                    continue;
                }
            }
            if (!ok) continue;
            if (f1 < 0.0f || f2 < 0.0f) {
                textio::fail_and_go_on();
                continue;
            }
            step = run;
        }
    }

    // cluster-function arguments from the degree and the factors
    const float span = static_cast<float>(ipnts - 1);
    const float even = 1.0f / span;
    float ds1 = even, ds2 = even, d2a = 0.0f, d2b = 0.0f;
    switch (deg) {
    case 2: ds1 = f1 / span; ds2 = -1.0f / span; break;
    case -2: ds1 = -1.0f / span; ds2 = f1 / span; break;
    case 3:
    case 5: ds1 = f1 / span; ds2 = f2 / span; break;
    case 4: ds1 = f1 / span; ds2 = f2 / span; d2b = -1.0f; break;
    case -4: ds1 = f1 / span; ds2 = f2 / span; d2a = -1.0f; break;
    default: break;
    }
    const int ideg = deg < 0 ? -deg : deg;

    const int line_count = along_i ? e.nsub : e.msub;
    const int limit = along_i ? e.net.imax : e.net.jmax;
    const int range_end = along_i ? e.ib2 : e.jb2;
    const bool moves = e.iblock != 0 && range_end < limit;
    if (moves && ipnts > line_count) shift_beyond(e, along_i, ipnts - line_count);
    geom::Grid x = e.net.gx().at(e.ib1, e.jb1), y = e.net.gy().at(e.ib1, e.jb1), z = e.net.gz().at(e.ib1, e.jb1);
    if (along_i)
        resplni(x, y, z, idim, jdim, e.nsub, e.msub, e.work, ipnts, ideg, ds1, ds2, d2a, d2b);
    else
        resplnj(x, y, z, idim, jdim, e.nsub, e.msub, e.work, ipnts, ideg, ds1, ds2, d2a, d2b);
    if (moves && ipnts < line_count) shift_beyond(e, along_i, ipnts - line_count);
    if (along_i) {
        e.net.imax = e.net.imax - e.nsub + ipnts;
        if (e.iblock != 0) e.i2 = e.i1 + ipnts - 1;
    } else {
        e.net.jmax = e.net.jmax - e.msub + ipnts;
        if (e.iblock != 0) e.j2 = e.j1 + ipnts - 1;
    }
    ok_line();
}

}  // namespace gridedit
