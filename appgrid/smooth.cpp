// The smoothing of one half of the new bulb: a transfinite start grid, a
// first phase of sweeps under the Thomas-Middlecoff control functions of
// its own boundaries, then a second phase that steers the grid towards
// the boundary angles and spacings measured after the first.
#include "appgrid/bulb.hpp"

#include "appgrid/surface.hpp"
#include "appgrid/sweep.hpp"
#include "appgrid/tfi.hpp"
#include "textio/textio.hpp"

#include <algorithm>
#include <cstdint>

namespace appgrid {

namespace {

// Angle and spacing options of the targets: the rows' measured angles
// decayed to a right angle away from their ends, the columns' measured
// angles, the measured spacing everywhere.
constexpr std::array<int, 8> kTargetOptions = {3, 1, 3, 1, 1, 1, 1, 1};

void print_iteration(std::int64_t iter, float resrms, float resmax) {
    textio::write(textio::stdout_unit, "(a,i5,2e13.5)", " iter,resrms,resmax=", static_cast<std::int32_t>(iter),
                  resrms, resmax);
}

}  // namespace

void partfi(geom::Grid xs, geom::Grid ys, geom::Grid zs, int imi, int jmi, geom::Grid u, geom::Grid v, geom::Grid x,
            geom::Grid y, geom::Grid z, geom::Grid s, geom::Grid t, int im, int jm) {
    uvst(u, v, s, t, im, jm);
    uvtfi(u, v, s, t, im, jm);
    xyzuv(xs, ys, zs, imi, jmi, u, v, x, y, z, im, jm);
}

void smooth_half(Run& run, int j0, int jm) {
    OutGrid& g = run.grid;
    Deck& d = run.deck;
    const int imi = run.size.imi, jmi = run.size.jmi, imo = run.size.imo;
    const geom::Grid xs = run.surface.gx(), ys = run.surface.gy(), zs = run.surface.gz();
    // Row-indexed arrays and the column vectors start at the half's first
    // row; the row vectors serve both halves from their first entry, s of
    // the block from its second so that block column k shares output
    // column k + 1's entry.
    auto from = [&](OutGrid::Field& f, int i) { return OutGrid::at(f, i, j0); };
    auto rows = [](OutGrid::Rows& r) { return geom::Grid(r.data(), kOutI); };
    auto cols = [&](OutGrid::Cols& c) { return geom::Grid(c.data(), kOutJ).at(j0, 1); };
    const geom::Grid s_full = rows(g.s), s = s_full.at(2, 1), t = cols(g.t);

    // the start grid over the full width, then over the block from column 2
    partfi(xs, ys, zs, imi, jmi, from(g.u, 1), from(g.v, 1), from(g.x, 1), from(g.y, 1), from(g.z, 1), s_full, t, imo,
           jm);
    const int im = imo - 1;
    const geom::Grid u = from(g.u, 2), v = from(g.v, 2), x = from(g.x, 2), y = from(g.y, 2), z = from(g.z, 2);
    partfi(xs, ys, zs, imi, jmi, u, v, x, y, z, s, t, im, jm);
    const geom::Grid phi = from(g.phi, 1), psi = from(g.psi, 1);
    tandm(x, y, z, s, t, phi, psi, im, jm);

    float resrms = 0.0f, resmax = 0.0f;
    auto sweep = [&](float omega, std::int64_t iter) {
        uvsolv(xs, ys, zs, imi, jmi, u, v, x, y, z, phi, psi, im, jm, omega, static_cast<int>(iter), resrms, resmax);
        print_iteration(iter, resrms, resmax);
    };
    if (d.niter1 > 0) {
        Ramp ramp(d.niter1, d.omega1);
        for (std::int64_t iter = 1; iter <= d.niter1; ++iter) {
            ramp.step(iter);
            sweep(ramp.omega, iter);
        }
        print_iteration(d.niter1, resrms, resmax);
    }

    // targets from the grid as it now stands, whether or not it was swept
    const geom::Grid angle_row = rows(g.angle_row), space_row = rows(g.space_row);
    const geom::Grid angle_col = cols(g.angle_col), space_col = cols(g.space_col);
    std::array<float, 8> decay;
    std::copy(d.decay.begin() + 4, d.decay.end(), decay.begin());
    angdel(kTargetOptions, x, y, z, im, jm, s, t, angle_row, angle_col, space_row, space_col, decay);

    // the boundary values and the reference fields the second phase starts from
    const geom::Grid phi_row = rows(g.phi_row), psi_row = rows(g.psi_row);
    const geom::Grid phi_col = cols(g.phi_col), psi_col = cols(g.psi_col);
    const geom::Grid phi_ref = from(g.phi_ref, 1), psi_ref = from(g.psi_ref, 1);
    for (int side = 1; side <= 2; ++side) {
        const int j = side == 1 ? 1 : jm, i = side == 1 ? 1 : im;
        for (int k = 1; k <= im; ++k) phi_row(k, side) = phi(k, j), psi_row(k, side) = psi(k, j);
        for (int k = 1; k <= jm; ++k) phi_col(k, side) = phi(i, k), psi_col(k, side) = psi(i, k);
    }
    for (int j = 1; j <= jm; ++j)
        for (int i = 1; i <= im; ++i) phi_ref(i, j) = phi(i, j), psi_ref(i, j) = psi(i, j);

    if (d.niter2 > 0) {
        const PhipsiSettings set{{d.switches[0], d.switches[1], d.switches[2], d.switches[3]},
                                 {d.decay[0], d.decay[1], d.decay[2], d.decay[3]},
                                 d.exponents};
        Ramp ramp(d.niter2, d.omega2);
        const std::int64_t last = std::int64_t{d.niter1} + d.niter2;
        for (std::int64_t iter = std::int64_t{d.niter1} + 1; iter <= last; ++iter) {
            ramp.step(iter - d.niter1);
            // a negative factor or limit comes back as the update's default
            phipsi(x, y, z, phi, psi, phi_ref, psi_ref, im, jm, phi_row, psi_row, phi_col, psi_col, angle_row,
                   angle_col, space_row, space_col, set, ramp.omega, d.ra, d.rb, g.phipsi_state);
            sweep(ramp.omega, iter);
        }
        print_iteration(last, resrms, resmax);
    }
}

}  // namespace appgrid
