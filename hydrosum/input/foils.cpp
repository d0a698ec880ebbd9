// Strip-theory viscous drag of keel, wing, rudder and frud: each part is
// turned into a common plane and each station onto its chord, cut into
// chordwise strips, and its friction line weighted by strip area.
#include "hydrosum/input/foils.hpp"

#include <array>
#include <cmath>
#include <memory>

namespace hydrosum {

namespace {

// What tells the foil parts apart.
struct Member {
    int wetted;     // wetted-area slot
    int drag;       // drag-area slot
    bool wrapped;   // the network wraps around the section
};

bool member(Part part, Member& m) {
    switch (part) {
    case keel: m = {frame::keel_area, 55, false}; return true;
    case wing: m = {frame::wing_area, 57, true}; return true;
    case rudder: m = {frame::rudder_area, 58, false}; return true;
    case frud: m = {frame::frud_area, 59, false}; return true;
    default: return false;
    }
}

struct P3 {
    float x, y, z;
};

P3 at(PartNetwork& net, int i, int j) { return {net.px(i, j), net.py(i, j), net.pz(i, j)}; }

// Leading and trailing edge of station j: the first and last points of a
// one-sided section; the middle point and the mean of the two ends of a
// wrapped one.
void edges(PartNetwork& net, int j, bool wrapped, P3& le, P3& te) {
    if (!wrapped) {
        le = at(net, 1, j);
        te = at(net, net.ni, j);
        return;
    }
    le = at(net, (net.ni + 1) / 2, j);
    const P3 a = at(net, 1, j), b = at(net, net.ni, j);
    te = {(a.x + b.x) * 0.5f, (a.y + b.y) * 0.5f, (a.z + b.z) * 0.5f};
}

// Angle of (u, v) less a turn; 0 at the pivot itself.
float turned_angle(float r, float v, float u, float turn) { return r > 0.0f ? std::atan2(v, u) - turn : 0.0f; }

}  // namespace

void foil_drag(Store& st, Part part, PartNetwork& net) {
    Member mb{};
    if (!member(part, mb)) return;
    const int ni = net.ni, nj = net.nj;
    const int strips = nj >= 2 ? nj - 1 : 0;   // one station holds no strip

    // 1-based by station or strip
    std::array<float, part_dim + 1> x_le{}, x_te{}, chord{}, area{}, thick{};
    // 1-based by panel of the strip being built
    std::array<float, part_dim + 1> xbar{}, zbar{};
    float total = 0.0f;

    if (strips > 0) {
        if (ni < 2) degenerate_stop(part);   // no panel in any strip

        // The part's plane, from the diagonals of its first and last stations.
        P3 le1{}, te1{}, len{}, ten{};
        edges(net, 1, mb.wrapped, le1, te1);
        edges(net, nj, mb.wrapped, len, ten);
        const P3 a{len.x - te1.x, len.y - te1.y, len.z - te1.z};
        const P3 b{le1.x - ten.x, le1.y - ten.y, le1.z - ten.z};
        const P3 n{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
        const float norm = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (!(norm > 0.0f)) degenerate_stop(part);
        const float theta = std::atan2(-(n.y / norm), n.z / norm);

        // Turn about the quarter chord of station 1, which becomes the x axis,
        // so that the span runs along y.
        const float yp = 0.75f * le1.y + 0.25f * te1.y;
        const float zp = 0.75f * le1.z + 0.25f * te1.z;
        for (int j = 1; j <= nj; ++j)
            for (int i = 1; i <= ni; ++i) {
                const float dy = net.py(i, j) - yp, dz = net.pz(i, j) - zp;
                const float r = std::sqrt(dy * dy + dz * dz);
                const float alpha = turned_angle(r, dz, dy, theta);
                net.py(i, j) = r * std::cos(alpha);
                net.pz(i, j) = r * std::sin(alpha);
            }

        // Each station about its own quarter chord onto its chord, then its
        // chord onto z = 0: this removes twist.
        for (int j = 1; j <= nj; ++j) {
            P3 le{}, te{};
            edges(net, j, mb.wrapped, le, te);
            const float xp = 0.75f * le.x + 0.25f * te.x;
            const float zp_j = 0.75f * le.z + 0.25f * te.z;
            const float phi = std::atan2(te.z - le.z, te.x - le.x);
            for (int i = 1; i <= ni; ++i) {
                const float dx = net.px(i, j) - xp, dz = net.pz(i, j) - zp_j;
                const float r = std::sqrt(dx * dx + dz * dz);
                const float alpha = turned_angle(r, dz, dx, phi);
                net.px(i, j) = xp + r * std::cos(alpha);
                net.pz(i, j) = zp_j + r * std::sin(alpha);
            }
            edges(net, j, mb.wrapped, le, te);
            x_le[static_cast<std::size_t>(j)] = le.x;
            x_te[static_cast<std::size_t>(j)] = te.x;
            const float zc = 0.75f * le.z + 0.25f * te.z;
            for (int i = 1; i <= ni; ++i) net.pz(i, j) = net.pz(i, j) - zc;
        }

        // Strips between adjacent stations: chord, area, thickness ratio.
        const int im = (ni + 1) / 2;
        for (int m = 1; m <= strips; ++m) {
            const auto ms = static_cast<std::size_t>(m);
            const float c = ((x_te[ms] + x_te[ms + 1]) - x_le[ms] - x_le[ms + 1]) * 0.5f;
            float s = 0.0f;
            for (int i = 1; i <= ni - 1; ++i) {
                const P3 p1 = at(net, i, m), p2 = at(net, i + 1, m), p3 = at(net, i + 1, m + 1), p4 = at(net, i, m + 1);
                const auto is = static_cast<std::size_t>(i);
                xbar[is] = (p1.x + p2.x + p3.x + p4.x) * 0.25f;
                zbar[is] = (p1.z + p2.z + p3.z + p4.z) * 0.25f;
                // halves of the mean edge vectors: area = 4 |u x w|
                const P3 u{((p2.x + p3.x) - (p1.x + p4.x)) * 0.25f, ((p2.y + p3.y) - (p1.y + p4.y)) * 0.25f,
                           ((p2.z + p3.z) - (p1.z + p4.z)) * 0.25f};
                const P3 w{((p4.x + p3.x) - (p1.x + p2.x)) * 0.25f, ((p4.y + p3.y) - (p1.y + p2.y)) * 0.25f,
                           ((p4.z + p3.z) - (p1.z + p2.z)) * 0.25f};
                const P3 q{u.y * w.z - u.z * w.y, u.z * w.x - u.x * w.z, u.x * w.y - u.y * w.x};
                s = s + 4.0f * std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
            }
            float t = 0.0f;
            if (!mb.wrapped) {
                for (int i = 1; i <= ni - 1; ++i) {
                    const float v = 2.0f * std::abs(zbar[static_cast<std::size_t>(i)]) / c;
                    if (v > t) t = v;
                }
            } else {
                // panels at mirrored places on the two sides; with an even
                // count the last panel has no partner
                for (int k = 0; k <= im - 2; ++k) {
                    const auto up = static_cast<std::size_t>(im + k), lo = static_cast<std::size_t>(im - 1 - k);
                    const float dx = xbar[up] - xbar[lo], dz = zbar[up] - zbar[lo];
                    const float v = std::sqrt(dx * dx + dz * dz) / c;
                    if (v > t) t = v;
                }
            }
            chord[ms] = c;
            area[ms] = s;
            thick[ms] = t;
            total = total + s;
        }
        if (!(total > 0.0f)) degenerate_stop(part);
    }

    stripping_line(st, part);

    const int option = st.vint[static_cast<std::size_t>(part)];
    const float viscosity = st.c(3), density = st.c(4);
    float cf = 0.0f, k = 0.0f, cd = 0.0f;   // outside the friction lines they stay 0
    visit_cases(st, [&](const Run& run, int i) {
        const float v = case_speed(st, run, i);
        float sum = 0.0f;
        for (int m = 1; m <= strips; ++m) {
            const auto ms = static_cast<std::size_t>(m);
            if (area[ms] == 0.0f) continue;   // adds nothing, whatever its chord
            const float re = reynolds(v, density, chord[ms], viscosity);
            strip(option, re, thick[ms], cf, k, cd);
            sum = sum + ((cf * k) * area[ms]) / total;
        }
        run.s(i, mb.drag) = sum * run.s(i, mb.wetted);
    });
}

namespace {

void foil(Store& st, Part part) {
    if (st.vint[static_cast<std::size_t>(part)] == 0) return;
    auto net = std::make_unique<PartNetwork>();   // about 0.5 MB
    read_part_network(st, part, *net);
    foil_drag(st, part, *net);
}

}  // namespace

void vkeel(Store& st) { foil(st, keel); }
void vwing(Store& st) { foil(st, wing); }
void vrudr(Store& st) { foil(st, rudder); }
void vfrud(Store& st) { foil(st, frud); }

}  // namespace hydrosum
