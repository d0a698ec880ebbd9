#include "respline.hpp"

#include "commands.hpp"
#include "dialogue.hpp"

#include "lib/arcs.hpp"
#include "lib/curves.hpp"

#include <cmath>

namespace gridedit {

namespace {

using geom::Vec;
using textio::stdout_unit;

constexpr float min_length = 1.0e-6f;   // a line no longer than this is left alone
constexpr float merge_tol = 1.0e-6f;    // end points closer than this fraction of the length merge
constexpr float atk_order = 2.0f;
constexpr float atk_tol = 1.0e-6f;

// One grid line of the sub-array: point k at (k, line) along i or (line, k) along j.
struct Line {
    geom::Grid x, y, z;
    bool along_i;
    int line;
    float& px(int k) const { return along_i ? x(k, line) : x(line, k); }
    float& py(int k) const { return along_i ? y(k, line) : y(line, k); }
    float& pz(int k) const { return along_i ? z(k, line) : z(line, k); }
};

// Slope at s1 of the parabola through (s1, c1), (s2, c2), (s3, c3).
float end_slope(float c1, float c2, float c3, float s1, float s2, float s3) {
    return c1 * (2.0f * s1 - s2 - s3) / ((s1 - s2) * (s1 - s3)) + c2 * (s1 - s3) / ((s2 - s3) * (s2 - s1)) +
           c3 * (s1 - s2) / ((s3 - s2) * (s3 - s1));
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
    Vec lx(w[0].data()), ly(w[1].data()), lz(w[2].data()), s(w[3].data());
    Vec nx(w[4].data()), ny(w[5].data()), nz(w[6].data()), st(w[7].data());
    for (int k = 1; k <= n; ++k) {
        lx(k) = ln.px(k);
        ly(k) = ln.py(k);
        lz(k) = ln.pz(k);
    }
    int np = n;
    geom::arc3(lx, ly, lz, s, np);
    if (s(np) > min_length) {
        for (int end = 0; end < 2; ++end) {
            reverse_line(lx, ly, lz, s, np);
            merge_last(lx, ly, lz, s, np);
        }
        drop_interior_repeats(lx, ly, lz, s, np);
    }
    if (np <= 2)
        geom::arc3(lx, ly, lz, s, np);
    else
        geom::arcxyz(np, lx, ly, lz, s);
    if (!(s(np) > min_length)) {
        // too short to resample: new places beyond the old count copy its last point
        for (int k = n + 1; k <= ipnts; ++k) {
            ln.px(k) = ln.px(n);
            ln.py(k) = ln.py(n);
            ln.pz(k) = ln.pz(n);
        }
        return;
    }
    geom::poly(st, ipnts, ideg, ds1, ds2, d2a, d2b);
    for (int k = 1; k <= ipnts; ++k) st(k) = st(k) * s(np);
    if (np <= 2) {
        geom::intrp3(s, lx, ly, lz, np, st, nx, ny, nz, ipnts);
    } else if (np == 3) {
        geom::runatk(np, s, lx, ipnts, st, nx, atk_order, atk_tol);
        geom::runatk(np, s, ly, ipnts, st, ny, atk_order, atk_tol);
        geom::runatk(np, s, lz, ipnts, st, nz, atk_order, atk_tol);
    } else {
        Vec ypo(w[8].data()), yppo(w[9].data()), c1(w[10].data()), c2(w[11].data()), c3(w[12].data());
        auto fit = [&](Vec c, Vec out) {
            const float first = end_slope(c(1), c(2), c(3), s(1), s(2), s(3));
            const float last = end_slope(c(np), c(np - 1), c(np - 2), s(np), s(np - 1), s(np - 2));
            geom::spline(s, c, st, out, ypo, yppo, c1, c2, c3, 1, 1, first, last, np, ipnts, 1);
        };
        fit(lx, nx);
        fit(ly, ny);
        fit(lz, nz);
    }
    for (int k = 1; k <= ipnts; ++k) {
        ln.px(k) = nx(k);
        ln.py(k) = ny(k);
        ln.pz(k) = nz(k);
    }
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
    for (;;) {
        if (step == direction) {
            ask({" enter direction to respline (or backup)", "    i or j"});
            read_word(dir);
            if (is_word(dir, "backup")) return;
            if (!is_word(dir, "i") && !is_word(dir, "j")) continue;
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
            if (!read_numbers(ipnts)) continue;
            if (ipnts == backup) {
                step = direction;
                continue;
            }
            if (ipnts < 2) continue;
            const int others = along_i ? e.net.imax - e.nsub : e.net.jmax - e.msub;
            if (ipnts > (along_i ? idim : jdim) - others) {   // not others + ipnts: it could overflow
                textio::write(stdout_unit, "(a,i5)", " cannot use ipnts > ", (along_i ? idim : jdim) - others);
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
            if (!read_numbers(deg)) continue;
            if (deg == backup) {
                step = direction;
                continue;
            }
            if (!is_degree(deg)) continue;
            step = deg == 1 ? run : factors;
        } else if (step == factors) {
            bool ok;
            if (deg == 2 || deg == -2) {
                ask({deg == 2 ? " enter first cluster factor (999. to backup)"
                              : " enter last cluster factor (999. to backup)"});
                ok = read_numbers(f1);
                f2 = 0.0f;
                if (ok && f1 == backup_real) {
                    step = degree;
                    continue;
                }
            } else {
                ask({" enter first and last cluster factors (999. to backup)"});
                ok = read_numbers(f1, f2);
                if (ok && (f1 == backup_real || f2 == backup_real)) {
                    step = degree;
                    continue;
                }
            }
            if (!ok || f1 < 0.0f || f2 < 0.0f) continue;
            step = run;
        } else {
            break;
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
