#include "extend.hpp"

#include "commands.hpp"
#include "dialogue.hpp"

#include "lib/curves.hpp"

#include <algorithm>
#include <cmath>

namespace gridedit {

namespace {

using textio::stdout_unit;

constexpr std::int32_t backup = 999;
constexpr float backup_real = 999.0f;
constexpr int min_line = 3;   // the edge derivatives need the edge point and two more

enum class Kind { to_coordinate, by_distance };

// Where the new points go: an edge of the network and the direction q.
struct Setup {
    bool i_edge = true;   // lines along i (one per j)
    bool max_edge = true;
    int axis = 0;         // 0, 1, 2 = x, y, z; 3 = arc length
};

bool parse(std::span<const char> side, std::span<const char> axis, Setup& s) {
    if (is_word(side, "imin")) s = {true, false, 0};
    else if (is_word(side, "imax")) s = {true, true, 0};
    else if (is_word(side, "jmin")) s = {false, false, 0};
    else if (is_word(side, "jmax")) s = {false, true, 0};
    else return false;
    if (is_word(axis, "x")) s.axis = 0;
    else if (is_word(axis, "y")) s.axis = 1;
    else if (is_word(axis, "z")) s.axis = 2;
    else if (is_word(axis, "s")) s.axis = 3;
    else return false;
    return true;
}

// Index-direction derivatives at the edge and the extrapolation along q.
struct EdgeFit {
    float c0[3], d1[3], d2[3];   // edge values, first and second index derivatives of x, y, z
    float q1, q2;                // derivatives of the chosen direction
    float dodq[3], d2odq2[3];
};

float fairing(float o0, float dodq, float d2odq2, float delta, float fair) {
    const float lin = o0 + dodq * delta;
    const float quad = lin + 0.5f * d2odq2 * (delta * delta);
    if (fair <= 0.0f) return o0;
    if (fair < 1.0f) return o0 + fair * (lin - o0);
    if (fair < 2.0f) return quad + (2.0f - fair) * (lin - quad);
    return quad;
}

bool run(Kind kind, geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int& imax, int& jmax,
         std::span<const char> side, std::span<const char> axis, float value, int npts, float fair, geom::Vec work) {
    Setup s;
    if (!parse(side, axis, s) || npts <= 0) return true;
    const int len = s.i_edge ? imax : jmax;      // points along a line
    const int lines = s.i_edge ? jmax : imax;
    if (len < min_line) return false;
    const int cap = s.i_edge ? idim : jdim;
    if (npts > cap - len) {   // not len + npts: a huge count would overflow
        textio::write(stdout_unit, "(a,i5)", s.i_edge ? " error ... inew > idim = " : " error ... jnew > jdim = ",
                      cap);
        textio::fail_and_go_on();   // the count asked for does not fit: the run has failed
        return true;
    }
    geom::Grid g[3] = {x, y, z};
    for (int line = 1; line <= lines; ++line) {
        auto p = [&](int c, int k) -> float& { return s.i_edge ? g[c](k, line) : g[c](line, k); };
        const int e0 = s.max_edge ? len : 1;
        const int e1 = s.max_edge ? len - 1 : 2;
        const int e2 = s.max_edge ? len - 2 : 3;
        EdgeFit f;
        for (int c = 0; c < 3; ++c) {
            const float v0 = p(c, e0), v1 = p(c, e1), v2 = p(c, e2);
            f.c0[c] = v0;
            f.d1[c] = s.max_edge ? (3.0f * v0 - 4.0f * v1 + v2) / 2.0f : (-3.0f * v0 + 4.0f * v1 - v2) / 2.0f;
            f.d2[c] = v0 - 2.0f * v1 + v2;
        }
        if (s.axis < 3) {
            f.q1 = f.d1[s.axis];
            f.q2 = f.d2[s.axis];
        } else {
            auto dist = [&](int a, int b) {
                const float dx = p(0, b) - p(0, a), dy = p(1, b) - p(1, a), dz = p(2, b) - p(2, a);
                return std::sqrt(dx * dx + dy * dy + dz * dz);
            };
            const float d01 = dist(e0, e1), d12 = dist(e1, e2);
            f.q1 = (3.0f * d01 - d12) / 2.0f;
            f.q2 = s.max_edge ? d01 - d12 : d12 - d01;
        }
        const float t = 1.0f / f.q1;
        for (int c = 0; c < 3; ++c) {
            f.dodq[c] = t * f.d1[c];
            f.d2odq2[c] = t * t * f.d2[c] - t * t * t * f.q2 * f.d1[c];
            // a line that does not advance along q at the edge is extruded
            if (!std::isfinite(f.dodq[c]) || !std::isfinite(f.d2odq2[c])) f.dodq[c] = f.d2odq2[c] = 0.0f;
        }
        if (!s.max_edge)
            for (int k = len; k >= 1; --k)
                for (int c = 0; c < 3; ++c) p(c, k + npts) = p(c, k);

        if (kind == Kind::by_distance && value != 0.0f) {
            const float m = value / static_cast<float>(npts);
            float r = s.max_edge ? f.q1 / m : -f.q1 / m;
            float far;
            if (r <= 1.0f) {
                r = std::max(r, 0.0f);
                far = 3.0f - 2.0f * r;
            } else {
                r = std::min(r, 3.0f);
                far = (3.0f - r) / 2.0f;
            }
            const float n = static_cast<float>(npts);
            if (s.max_edge)
                geom::poly(work, npts + 1, 3, r / n, far / n, 0.0f, 0.0f);
            else
                geom::poly(work, npts + 1, 3, far / n, r / n, 0.0f, 0.0f);
        }
        for (int n = 1; n <= npts; ++n) {
            const int k = s.max_edge ? len + n : npts + 1 - n;
            const float frac = static_cast<float>(n) / static_cast<float>(npts);
            float delta = 0.0f;
            float q = 0.0f;   // the chosen coordinate of the new point
            if (kind == Kind::to_coordinate) {
                if (s.axis < 3) {
                    const float q0 = f.c0[s.axis];
                    q = q0 + frac * (value - q0);
                    delta = q - q0;
                } else {
                    delta = s.max_edge ? frac * value : -(frac * value);
                }
            } else if (value != 0.0f) {
                // the distribution counted outward from the edge
                const float sigma = s.max_edge ? work(n + 1) : 1.0f - work(k);
                delta = value * sigma;
                if (s.axis < 3) {
                    const float q0 = f.c0[s.axis];
                    q = s.max_edge ? q0 + delta : (value + q0) - value * work(k);
                }
            } else if (s.axis < 3) {
                q = f.c0[s.axis];
            }
            for (int c = 0; c < 3; ++c) {
                if (c == s.axis)
                    p(c, k) = q;
                else
                    p(c, k) = fairing(f.c0[c], f.dodq[c], f.d2odq2[c], delta, fair);
            }
        }
    }
    if (s.i_edge)
        imax = imax + npts;
    else
        jmax = jmax + npts;
    return true;
}

void dialogue(Editor& e, Kind kind) {
    if (e.iblock != 0) {
        textio::write(stdout_unit, "(a)", "cannot extend surface while subblock is active");
        return textio::fail_and_go_on();
    }
    static constexpr std::string_view to_q[] = {
        " enter x-coordinate to extend to (999. to backup)", " enter y-coordinate to extend to (999. to backup)",
        " enter z-coordinate to extend to (999. to backup)", " enter arclength to extend (999. to backup)"};
    static constexpr std::string_view by_q[] = {
        " enter x-distance to extend (999. to backup)", " enter y-distance to extend (999. to backup)",
        " enter z-distance to extend (999. to backup)", " enter arclength-distance to extend (999. to backup)"};
    std::array<char, word_len> side, axis;
    float value = 0.0f, fair = 0.0f;
    std::int32_t npts = 0;
    int which = 0;
    enum { ask_side, ask_axis, ask_value, ask_points, ask_fair, go } step = ask_side;
    while (step != go) {
        switch (step) {
        case ask_side:
            ask({" enter \"imin\" \"imax\" \"jmin\" or \"jmax\" for mesh direction", " to extend (or backup)"});
            read_word(side);
            if (is_word(side, "backup")) return;
            if (is_word(side, "imin") || is_word(side, "imax") || is_word(side, "jmin") || is_word(side, "jmax"))
                step = ask_axis;
            else
                textio::fail_and_go_on();
            break;
        case ask_axis:
            ask({" enter \"x\" \"y\" \"z\" or \"s\" for direction to extend (or backup)"});
            read_word(axis);
            if (is_word(axis, "backup")) {
                step = ask_side;
            } else {
                const char* names[] = {"x", "y", "z", "s"};
                for (int a = 0; a < 4; ++a)
                    if (is_word(axis, names[a])) {
                        which = a;
                        step = ask_value;
                    }
                if (step != ask_value) textio::fail_and_go_on();
            }
            break;
        case ask_value:
            ask({kind == Kind::to_coordinate ? to_q[which] : by_q[which]});
            if (!textio::read_answer_numbers(value)) break;
            step = value == backup_real ? ask_axis : ask_points;
            break;
        case ask_points:
            ask({" enter number of points to use to extend (999 to backup)"});
            if (!textio::read_answer_numbers(npts)) break;
            if (npts == backup)
                step = ask_value;
            else if (npts >= 0)   // a negative count cannot be placed
                step = ask_fair;
            else
                textio::fail_and_go_on();
            break;
        case ask_fair:
            ask({" enter fairing parameter between 0. and 2. (999. to backup)", "    0.0 = prismatic extrusion",
                 "    1.0 = linear extrapolation", "    2.0 = quadratic extrapolation"});
            if (!textio::read_answer_numbers(fair)) break;
            step = fair == backup_real ? ask_points : go;
            break;
        case go: break;
        }
    }
    Network& n = e.net;
    bool done;
    if (kind == Kind::to_coordinate)
        done = extend(n.gx(), n.gy(), n.gz(), idim, jdim, n.imax, n.jmax, side, axis, value, npts, fair);
    else
        done = dextend(n.gx(), n.gy(), n.gz(), idim, jdim, n.imax, n.jmax, side, axis, value, npts, fair,
                       geom::Vec(e.work[0].data()), idim);
    if (!done) {
        textio::write(stdout_unit, "(a)", " cannot extend lines of fewer than 3 points");
        return textio::fail_and_go_on();
    }
    ok_line();
}

}  // namespace

bool extend(geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int& imax, int& jmax,
            std::span<const char> side, std::span<const char> axis, float value, int npts, float fair) {
    float unused = 0.0f;
    return run(Kind::to_coordinate, x, y, z, idim, jdim, imax, jmax, side, axis, value, npts, fair,
               geom::Vec(&unused));
}

bool dextend(geom::Grid x, geom::Grid y, geom::Grid z, int idim, int jdim, int& imax, int& jmax,
             std::span<const char> side, std::span<const char> axis, float value, int npts, float fair,
             geom::Vec work, int) {
    return run(Kind::by_distance, x, y, z, idim, jdim, imax, jmax, side, axis, value, npts, fair, work);
}

void extend_command(Editor& e) { dialogue(e, Kind::to_coordinate); }
void dextend_command(Editor& e) { dialogue(e, Kind::by_distance); }

}  // namespace gridedit
