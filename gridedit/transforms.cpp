#include "commands.hpp"
#include "dialogue.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace gridedit {

namespace {

using textio::stdout_unit;

constexpr float backup_real = 999.0f;
constexpr float rotation_min_radius = 1.0e-6f;

// Calls f(x, y, z) for every point of the working range, j outer.
template <class F>
void each_point(Editor& e, F f) {
    geom::Grid x = e.net.gx(), y = e.net.gy(), z = e.net.gz();
    for (int j = e.jb1; j <= e.jb2; ++j)
        for (int i = e.ib1; i <= e.ib2; ++i) f(x(i, j), y(i, j), z(i, j));
}

void swap_points(Editor& e, int ia, int ja, int ib, int jb) {
    geom::Grid x = e.net.gx(), y = e.net.gy(), z = e.net.gz();
    std::swap(x(ia, ja), x(ib, jb));
    std::swap(y(ia, ja), y(ib, jb));
    std::swap(z(ia, ja), z(ib, jb));
}

// scale and translate: three numbers, the first tested for backup, then
// each coordinate c of the range becomes op(its number, c).
template <class F>
void per_axis(Editor& e, std::string_view question, F op) {
    float v[3] = {0.0f, 0.0f, 0.0f};
    ask_numbers({question}, v[0], v[1], v[2]);
    if (v[0] == backup_real) return;
    each_point(e, [&](float& x, float& y, float& z) {
        x = op(v[0], x);
        y = op(v[1], y);
        z = op(v[2], z);
    });
    ok_line();
}

// Turns the range by angle degrees about the axis (0, 1, 2 = x, y, z)
// through the point (c1, c2) as the point question names it: (y, z), (x, z)
// or (x, y).
void turn(Editor& e, int axis, float c1, float c2, float angle) {
    const float pi = std::acos(-1.0f);
    const float a = angle * pi / 180.0f;
    // (p, q) turned about (pc, qc): y-z about x, z-x about y, x-y about z
    const float pc = axis == 1 ? c2 : c1;
    const float qc = axis == 1 ? c1 : c2;
    each_point(e, [&](float& x, float& y, float& z) {
        float& p = axis == 0 ? y : (axis == 1 ? z : x);
        float& q = axis == 0 ? z : (axis == 1 ? x : y);
        const float d1 = p - pc;
        const float d2 = q - qc;
        const float r = std::sqrt(d1 * d1 + d2 * d2);
        if (!(r >= rotation_min_radius)) return;   // on the axis (or not a number)
        const float theta = std::atan2(d2, d1) + a;
        p = pc + r * std::cos(theta);
        q = qc + r * std::sin(theta);
    });
}

}  // namespace

void transform(Editor& e) {
    std::array<char, word_len> w;
    for (;;) {
        ask({" enter type of transformation (or backup)", "    (1) yacht to aircraft", "    (2) aircraft to yacht"});
        read_word(w);
        if (is_word(w, "backup")) return;
        if (is_word(w, "1")) {
            each_point(e, [](float&, float& y, float& z) {
                const float y0 = y;
                y = -z;
                z = y0;
            });
        } else if (is_word(w, "2")) {
            each_point(e, [](float&, float& y, float& z) {
                const float y0 = y;
                y = z;
                z = -y0;
            });
        } else {
            textio::fail_and_go_on();
            continue;
        }
        ok_line();
        return;
    }
}

void reverse(Editor& e) {
    std::array<char, word_len> w;
    for (;;) {
        ask({" enter direction to reverse (or backup)", "    i or j"});
        read_word(w);
        if (is_word(w, "backup")) return;
        if (is_word(w, "i")) {
            for (int j = e.jb1; j <= e.jb2; ++j)
                for (int k = 0; k < e.nsub / 2; ++k) swap_points(e, e.ib1 + k, j, e.ib2 - k, j);
        } else if (is_word(w, "j")) {
            for (int i = e.ib1; i <= e.ib2; ++i)
                for (int k = 0; k < e.msub / 2; ++k) swap_points(e, i, e.jb1 + k, i, e.jb2 - k);
        } else {
            textio::fail_and_go_on();
            continue;
        }
        ok_line();
        return;
    }
}

void transpose(Editor& e) {
    if (e.iblock == 0) {
        if (e.net.imax > jdim || e.net.jmax > idim) {
            textio::write(stdout_unit, "(a)", " cannot transpose ... imax>jdim or jmax>idim");
            return textio::fail_and_go_on();
        }
        // (i, j) <- (j, i) in place: swap across the diagonal of the square
        // that holds both the old and the new network
        const int n = std::max(e.net.imax, e.net.jmax);
        for (int a = 1; a <= n; ++a)
            for (int b = a + 1; b <= n; ++b) swap_points(e, a, b, b, a);
        std::swap(e.net.imax, e.net.jmax);
    } else {
        if (e.nsub != e.msub) {
            textio::write(stdout_unit, "(a)", " cannot transpose a non-square subblock");
            return textio::fail_and_go_on();
        }
        for (int a = 0; a < e.nsub; ++a)
            for (int b = a + 1; b < e.nsub; ++b) swap_points(e, e.i1 + a, e.j1 + b, e.i1 + b, e.j1 + a);
    }
    ok_line();
}

void scale(Editor& e) {
    per_axis(e, " enter sx sy sz scalings (999. to backup)", [](float s, float c) { return s * c; });
}

void translate(Editor& e) {
    per_axis(e, " enter dx dy dz translations (999. to backup)", [](float d, float c) { return c + d; });
}

void rotate(Editor& e) {
    std::array<char, word_len> w;
    for (;;) {
        ask({" enter \"x\" \"y\" or \"z\" for axis of rotation (or backup)"});
        read_word(w);
        if (is_word(w, "backup")) return;
        int axis;
        if (is_word(w, "x") || is_word(w, "X"))
            axis = 0;
        else if (is_word(w, "y") || is_word(w, "Y"))
            axis = 1;
        else if (is_word(w, "z") || is_word(w, "Z"))
            axis = 2;
        else {
            textio::fail_and_go_on();
            continue;
        }
        static constexpr std::string_view point_q[] = {" enter y z rotation point (999. to backup)",
                                                       " enter x z rotation point (999. to backup)",
                                                       " enter x y rotation point (999. to backup)"};
        static constexpr std::string_view angle_q[] = {" enter x-axis rotation angle in degrees (999. to backup)",
                                                       " enter y-axis rotation angle in degrees (999. to backup)",
                                                       " enter z-axis rotation angle in degrees (999. to backup)"};
        for (;;) {
            float c1 = 0.0f, c2 = 0.0f;   // afresh at every asking
            ask({point_q[axis]});
            if (!textio::read_answer_numbers(c1, c2)) continue;
            if (c1 == backup_real) break;
            float angle = 0.0f;
            ask_numbers({angle_q[axis]}, angle);
            if (angle == backup_real) continue;
            turn(e, axis, c1, c2, angle);
            ok_line();
            return;
        }
    }
}

}  // namespace gridedit
