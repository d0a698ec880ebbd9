// Viscous drag areas of the two bodies, hull and bulb: one of the friction
// lines 1 to 4 at one Reynolds length per body, a form factor, the solver's
// wetted area.
#include "hydrosum/input/parts.hpp"
#include "hydrosum/tables/frame.hpp"

#include "lib/arcs.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace hydrosum {

namespace {

constexpr float hull_form = 1.04f;   // the hull's fixed form factor

using frame::hull_area;
using frame::bulb_area;
using frame::hull_length;
using frame::hull_drag;
using frame::bulb_drag;

struct BulbShape {
    float length = 0.0f;
    float form = 0.0f;   // form factor from the slenderness
};

// The bulb's length and form factor; its rows are resampled in place so that
// the i-th points of all rows form the section at station i.
BulbShape bulb_shape(PartNetwork& net) {
    const int ni = net.ni, nj = net.nj;
    float last = net.px(ni, 1), first = net.px(1, 1);
    float xf = net.px(1, 1), xa = net.px(ni, 1);   // the range every row spans
    for (int j = 2; j <= nj; ++j) {
        last = std::max(last, net.px(ni, j));
        first = std::min(first, net.px(1, j));
        xf = std::max(xf, net.px(1, j));
        xa = std::min(xa, net.px(ni, j));
    }
    BulbShape shape;
    shape.length = last - first;
    // a row without extent has no fractional positions; no length, no slenderness
    if (!(shape.length > 0.0f)) degenerate_stop(bulb);
    for (int j = 1; j <= nj; ++j)
        if (net.px(ni, j) == net.px(1, j)) degenerate_stop(bulb);

    // stations: each row's fractional positions mapped onto the common range, averaged
    std::array<float, part_dim> xs{}, s{}, si{}, xo{}, yo{}, zo{};
    for (int i = 1; i <= ni; ++i) {
        float sum = 0.0f;
        for (int j = 1; j <= nj; ++j)
            sum = sum + (xf + (net.px(i, j) - net.px(1, j)) / (net.px(ni, j) - net.px(1, j)) * (xa - xf));
        xs[static_cast<std::size_t>(i - 1)] = sum / static_cast<float>(nj);
    }

    for (int j = 1; j <= nj; ++j) {
        float* x = &net.px(1, j);   // a row is contiguous
        float* y = &net.py(1, j);
        float* z = &net.pz(1, j);
        geom::arc3(x, y, z, s.data(), ni);
        geom::intrp1(x, s.data(), ni, xs.data(), si.data(), ni);
        geom::intrp3(s.data(), x, y, z, ni, si.data(), xo.data(), yo.data(), zo.data(), ni);
        // the interpolated x serve as the next row's stations
        std::copy_n(xo.begin(), ni, xs.begin());
        std::copy_n(xo.begin(), ni, x);
        std::copy_n(yo.begin(), ni, y);
        std::copy_n(zo.begin(), ni, z);
    }

    // The network is a half body in z >= 0: each section is closed by its
    // mirror image in z = 0.
    float largest = 0.0f;
    for (int i = 1; i <= ni; ++i) {
        float sum = 0.0f;
        auto edge = [&sum](float ya, float za, float yb, float zb) { sum = sum + 0.5f * (za * yb - ya * zb); };
        auto y = [&](int j) { return net.py(i, j); };
        auto z = [&](int j) { return net.pz(i, j); };
        edge(y(1), -z(1), y(1), z(1));
        for (int j = 1; j < nj; ++j) edge(y(j), z(j), y(j + 1), z(j + 1));
        edge(y(nj), z(nj), y(nj), -z(nj));
        for (int j = nj; j > 1; --j) edge(y(j), -z(j), y(j - 1), -z(j - 1));
        largest = std::max(largest, std::abs(sum));
    }

    const float pi = std::acos(-1.0f);
    const float d = std::sqrt(4.0f * largest / pi);   // diameter of the circle of that area
    const float t = d / shape.length;
    shape.form = 1.0f + 1.5f * std::pow(t, 1.5f) + 7.0f * (t * t * t);
    return shape;
}

}  // namespace

void vhull(Store& st) {
    const int option = st.vint[hull];
    if (option == 0) return;
    // read for its checks only: the hull's length and area come from the solver
    auto net = std::make_unique<PartNetwork>();
    read_part_network(st, hull, *net);
    stripping_line(st, hull);

    const float mu = st.c(3), rho = st.c(4);
    visit_cases(st, [&](const Run& run, int i) {
        const float re = reynolds(case_speed(st, run, i), rho, run.s(i, hull_length), mu);
        run.s(i, hull_drag) = friction_cf(option, re) * hull_form * run.s(i, hull_area);
    });
}

void vbulb(Store& st) {
    const int option = st.vint[bulb];
    if (option == 0) return;
    auto net = std::make_unique<PartNetwork>();
    read_part_network(st, bulb, *net);
    const BulbShape shape = bulb_shape(*net);
    stripping_line(st, bulb);

    const float mu = st.c(3), rho = st.c(4);
    visit_cases(st, [&](const Run& run, int i) {
        const float re = reynolds(case_speed(st, run, i), rho, shape.length, mu);
        run.s(i, bulb_drag) = friction_cf(option, re) * shape.form * run.s(i, bulb_area);
    });
}

}  // namespace hydrosum
