// Viscous drag areas of the two bodies, hull and bulb: one friction line
// at one Reynolds length per body, a form factor, the solver's wetted area.
#include "hydrosum/input/parts.hpp"
#include "hydrosum/tables/frame.hpp"

#include "lib/arcs.hpp"
#include "textio/textio.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>

namespace hydrosum {

namespace {

constexpr float tiny = 1.0e-6f;            // a speed at or below this is at rest
constexpr float hull_form = 1.04f;         // the hull's fixed form factor
constexpr float transition = 500000.0f;    // where option 3 leaves the laminar line
constexpr float laminar_floor = 0.00293f;  // option 4's least friction coefficient

using frame::speed;
using frame::hull_area;
using frame::bulb_area;
using frame::hull_length;
using frame::hull_drag;
using frame::bulb_drag;

float laminar(float re) { return 1.328f / std::pow(re, 0.5f); }
float turbulent(float re) { return 0.455f / std::pow(std::log10(re), 2.58f); }

// The friction line a body's option selects.
class BodyLine {
public:
    explicit BodyLine(int option)
        : option_(option), matched_((turbulent(transition) - laminar(transition)) * transition) {}

    // 0 where the line has no value: no positive finite Reynolds number,
    // or one at which log10 Re is not positive for the turbulent line.
    float cf(float re) const {
        if (!(re > 0.0f) || !std::isfinite(re)) return 0.0f;
        switch (option_) {
            case 1: return laminar(re);
            case 2: return re > 1.0f ? turbulent(re) : 0.0f;
            // matched_ makes the two branches meet at the transition
            case 3: return re < transition ? laminar(re) : turbulent(re) - matched_ / re;
            case 4: return re > 1.0f ? std::min(std::max(laminar(re), laminar_floor), turbulent(re)) : 0.0f;
            default: return 0.0f;
        }
    }

private:
    int option_;
    float matched_;
};

// A case at rest takes the smallest case speed of the run.
float case_speed(const Run& run, int i, float slowest) {
    const float v = run.s(i, speed);
    return v > tiny ? v : slowest;
}

float reynolds(float v, float rho, float length, float mu) { return v * rho * length / mu; }

struct BulbShape {
    float length = 0.0f;
    float form = 0.0f;   // form factor from the slenderness
};

[[noreturn]] void degenerate_stop() {
    textio::write(textio::stdout_unit, "(a)", "error ... bulb network geometry degenerate");
    textio::stop(0);
}

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
    if (!(shape.length > 0.0f)) degenerate_stop();
    for (int j = 1; j <= nj; ++j)
        if (net.px(ni, j) == net.px(1, j)) degenerate_stop();

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

    const BodyLine line(option);
    const float mu = st.c(3), rho = st.c(4), slowest = st.c(18);
    visit_cases(st, true, [&](const Run& run, int i) {
        const float re = reynolds(case_speed(run, i, slowest), rho, run.s(i, hull_length), mu);
        run.s(i, hull_drag) = line.cf(re) * hull_form * run.s(i, hull_area);
    });
}

void vbulb(Store& st) {
    const int option = st.vint[bulb];
    if (option == 0) return;
    auto net = std::make_unique<PartNetwork>();
    read_part_network(st, bulb, *net);
    const BulbShape shape = bulb_shape(*net);
    stripping_line(st, bulb);

    const BodyLine line(option);
    const float mu = st.c(3), rho = st.c(4), slowest = st.c(18);
    visit_cases(st, true, [&](const Run& run, int i) {
        const float re = reynolds(case_speed(run, i, slowest), rho, shape.length, mu);
        run.s(i, bulb_drag) = line.cf(re) * shape.form * run.s(i, bulb_area);
    });
}

}  // namespace hydrosum
