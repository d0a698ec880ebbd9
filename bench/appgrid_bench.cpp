// appgrid's heaviest loop: the smoothing of one bulb block, from its laid-out
// boundaries through the start grid, the Thomas-Middlecoff fields and the
// targets to 200 sweeps, each after a control-function update.  Two blocks:
// the largest appgrid reaches (the lower half of a 30 x 10 output, 29 x 6
// points from column 2 on) and the whole 30 x 10 capacity.  Reports sweeps
// per second.

#include "appgrid/control.hpp"
#include "appgrid/distribution.hpp"
#include "appgrid/surface.hpp"
#include "appgrid/sweep.hpp"
#include "appgrid/tfi.hpp"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdlib>

namespace {

constexpr int kSweeps = 200;
constexpr int kIdims = 17, kJdims = 9;   // the working surface's arrays
constexpr int kIdim = 30, kJdim = 10;    // the output arrays

using Surface = std::array<float, kIdims * kJdims>;
using Out = std::array<float, kIdim * kJdim>;
using Rows = std::array<float, kIdim * 2>;
using Cols = std::array<float, kJdim * 2>;

// A bulb of 17 x 9 points: length 2, round sections of radius 0.05 to 0.25,
// rows from the top centre line round to the bottom centre line.
struct Bulb {
    Surface x{}, y{}, z{};
    Bulb() {
        const float pi = std::acos(-1.0f);
        for (int j = 1; j <= kJdims; ++j)
            for (int i = 1; i <= kIdims; ++i) {
                const float s = static_cast<float>(i - 1) / (kIdims - 1);
                const float r = 0.05f + 0.2f * std::sin(pi * s);
                const float theta = pi * static_cast<float>(j - 1) / (kJdims - 1);
                const int k = (i - 1) + (j - 1) * kIdims;
                x[k] = 2.0f * s;
                y[k] = r * std::sin(theta);
                z[k] = r * std::cos(theta);
            }
    }
};

// Everything the smoothing of one block works on, as the driver holds it.
struct Work {
    Out u{}, v{}, x{}, y{}, z{}, phi{}, psi{}, phi_ref{}, psi_ref{};
    Rows s{}, angle_row{}, space_row{}, phi_row{}, psi_row{};
    Cols t{}, angle_col{}, space_col{}, phi_col{}, psi_col{};
};

geom::Grid out(Out& a, int i0, int j0) { return geom::Grid(a.data(), kIdim).at(i0, j0); }

// Boundary (u, v) of a block of im x jm output points from (i0, j0): u over
// [u0, 17] along the rows, v over [v0, v1] down the columns, both clustered
// towards the ends by the point distribution.
void lay_out(Work& w, int i0, int j0, int im, int jm, float u0, float v0, float v1) {
    std::array<float, kIdim> a{}, b{};
    appgrid::poly(a.data(), im, 3, 0.2f / (im - 1), 0.2f / (im - 1), 0, 0);
    appgrid::poly(b.data(), jm, 3, 0.5f / (jm - 1), 0.5f / (jm - 1), 0, 0);
    geom::Grid u = out(w.u, i0, j0), v = out(w.v, i0, j0);
    for (int j = 1; j <= jm; ++j)
        for (int i = 1; i <= im; ++i)
            if (i == 1 || i == im || j == 1 || j == jm) {
                u(i, j) = u0 + a[i - 1] * (static_cast<float>(kIdims) - u0);
                v(i, j) = v0 + b[j - 1] * (v1 - v0);
            }
}

void smooth(const Bulb& bulb, Work& w, int i0, int j0, int im, int jm) {
    Surface sx = bulb.x, sy = bulb.y, sz = bulb.z;
    const geom::Grid xs(sx.data(), kIdims), ys(sy.data(), kIdims), zs(sz.data(), kIdims);
    const geom::Grid u = out(w.u, i0, j0), v = out(w.v, i0, j0), x = out(w.x, i0, j0), y = out(w.y, i0, j0),
                     z = out(w.z, i0, j0), phi = out(w.phi, i0, j0), psi = out(w.psi, i0, j0);
    const geom::Grid s(w.s.data(), kIdim), t(w.t.data(), kJdim);
    // start grid, Thomas-Middlecoff fields, targets
    appgrid::uvst(u, v, s, t, im, jm);
    appgrid::uvtfi(u, v, s, t, im, jm);
    appgrid::xyzuv(xs, ys, zs, kIdims, kJdims, u, v, x, y, z, im, jm);
    appgrid::tandm(x, y, z, s, t, phi, psi, im, jm);
    const geom::Grid arow(w.angle_row.data(), kIdim), acol(w.angle_col.data(), kJdim);
    const geom::Grid drow(w.space_row.data(), kIdim), dcol(w.space_col.data(), kJdim);
    appgrid::angdel({3, 1, 3, 1, 1, 1, 1, 1}, x, y, z, im, jm, s, t, arow, acol, drow, dcol,
                    {0.2f, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f, 0.2f});
    // boundary values and reference fields for the updates
    const geom::Grid prow(w.phi_row.data(), kIdim), qrow(w.psi_row.data(), kIdim);
    const geom::Grid pcol(w.phi_col.data(), kJdim), qcol(w.psi_col.data(), kJdim);
    const geom::Grid pref = out(w.phi_ref, i0, j0), qref = out(w.psi_ref, i0, j0);
    for (int j = 1; j <= jm; ++j)
        for (int i = 1; i <= im; ++i) pref(i, j) = phi(i, j), qref(i, j) = psi(i, j);
    for (int c = 1; c <= 2; ++c) {
        for (int i = 1; i <= im; ++i) prow(i, c) = phi(i, c == 1 ? 1 : jm), qrow(i, c) = psi(i, c == 1 ? 1 : jm);
        for (int j = 1; j <= jm; ++j) pcol(j, c) = phi(c == 1 ? 1 : im, j), qcol(j, c) = psi(c == 1 ? 1 : im, j);
    }
    const appgrid::PhipsiSettings set{{1, 1, 1, 1}, {0.3f, 0.3f, 0.3f, 0.3f}, {1, 1, 1, 1, 1, 1, 1, 1}};
    appgrid::PhipsiState state;
    // the driver's relaxation ramp over the first half of the sweeps
    const int nr = static_cast<int>(static_cast<float>(kSweeps) * 0.5f);
    const float f = std::exp(std::log(4.0f) / static_cast<float>(nr));
    float omega = (1.2f / 4.0f) / f, ra = 0.1f, rb = 0.1f, resrms = 0, resmax = 0;
    for (int iter = 1; iter <= kSweeps; ++iter) {
        if (iter <= nr) omega = f * omega;
        appgrid::phipsi(x, y, z, phi, psi, pref, qref, im, jm, prow, qrow, pcol, qcol, arow, acol, drow, dcol, set,
                        omega, ra, rb, state);
        appgrid::uvsolv(xs, ys, zs, kIdims, kJdims, u, v, x, y, z, phi, psi, im, jm, omega, iter, resrms, resmax);
    }
    if (!std::isfinite(resrms) || !std::isfinite(resmax)) std::abort();
    benchmark::DoNotOptimize(resrms);
    benchmark::DoNotOptimize(resmax);
}

void run(benchmark::State& state, int i0, int j0, int im, int jm, float u0, float v0, float v1) {
    const Bulb bulb;
    Work laid;
    lay_out(laid, i0, j0, im, jm, u0, v0, v1);
    for (auto _ : state) {
        Work w = laid;
        smooth(bulb, w, i0, j0, im, jm);
    }
    state.counters["sweeps/s"] = benchmark::Counter(kSweeps, benchmark::Counter::kIsIterationInvariantRate);
}

// imo = 30, jmo = 10: the lower half is rows jmoh = 5 to 10 from column 2,
// on the old bulb's rows 5 to 9
void BM_LowerHalf29x6(benchmark::State& state) { run(state, 2, 5, 29, 6, 1.6f, 5.0f, 9.0f); }
// every point of the output arrays, over the whole old bulb
void BM_Capacity30x10(benchmark::State& state) { run(state, 1, 1, 30, 10, 1.0f, 1.0f, 9.0f); }

}  // namespace

BENCHMARK(BM_LowerHalf29x6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Capacity30x10)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
