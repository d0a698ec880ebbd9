// Control functions phi, psi of the elliptic grid equations
//   g22 (r_xixi + phi r_xi) - 2 g12 r_xieta + g11 (r_etaeta + psi r_eta) = 0
// on a grid block, and the boundary angle and spacing targets that steer them.
//
// Blocks are views (first element, leading dimension) indexed from 1. Per
// boundary arrays: rows 1 and jm in the columns 1 and 2 of an (idim x 2)
// array, columns 1 and im in those of a (jdim x 2) array.  Boundaries are
// numbered row 1, row jm, column 1, column im wherever four values come
// together.
#pragma once

#include "lib/grid.hpp"

#include <array>

namespace appgrid {

// The longest boundary line phipsi takes (its scratch lines; the driver's
// work vectors hold 40).
constexpr int kLineCap = 40;

// Thomas-Middlecoff fields: phi on rows 1 and jm and psi on columns 1 and im
// from each line's own spacing, then s, t of the block (xyzst) and the rest
// of phi and psi by pptfi.  A block of fewer than 3 points either way has no
// room for the end formulas: phi = psi = 0 on it, s and t as xyzst gives.
void tandm(geom::Grid x, geom::Grid y, geom::Grid z, geom::Grid s, geom::Grid t, geom::Grid phi, geom::Grid psi,
           int im, int jm);

// Boundary angle and spacing targets: s and t from xyzst, then per boundary
// its angle option and its spacing option, the pairs in opt (both 0: skip):
// angle 1 measured, 2 end values blended, 3 deviation from a right angle
// decayed from the ends, 4 blended then decayed, 5 end deviations decayed,
// other positive as 1; spacing 1 measured, 2 end values blended.  decay holds
// the two decay lengths (first end, last end) of each boundary, fractions of
// its arc length.  Only entries that an option asks for are written.  A block
// below 2 points either way gets s and t only.
void angdel(const std::array<int, 8>& opt, geom::Grid x, geom::Grid y, geom::Grid z, int im, int jm, geom::Grid s,
            geom::Grid t, geom::Grid angle_row, geom::Grid angle_col, geom::Grid space_row, geom::Grid space_col,
            const std::array<float, 8>& decay);

// What phipsi keeps from call to call: the decay constants of the four
// boundaries, set by a call whose switch is positive (0 until then).
struct PhipsiState {
    std::array<float, 4> decay_const{};
};

// Settings of phipsi from the parameter deck, per boundary.
struct PhipsiSettings {
    std::array<int, 4> on;         // 0 keeps the reference values on the boundary; any other value
                                   // updates it, and a positive one renews its decay constant
    std::array<float, 4> decay;    // decay length, a fraction of the index range
    std::array<int, 8> exponent;   // pairs: above the target spacing, at or below it
};

// One control-function update: the boundary values (phi_row, psi_row,
// phi_col, psi_col, kept by the caller) move one limited step towards the
// values that make the off-wall vectors of the targets solve the equations;
// then phi and psi are rebuilt on the block from them and the reference
// fields.  A negative omega, ra or rb is set to its default (0.5, 0.1, 0.1).
// A boundary point whose quotients are not finite keeps its values; a
// block below 3 points either way updates no boundary value.  A block
// longer than kLineCap either way throws std::length_error.
void phipsi(geom::Grid x, geom::Grid y, geom::Grid z, geom::Grid phi, geom::Grid psi, geom::Grid phi_ref,
            geom::Grid psi_ref, int im, int jm, geom::Grid phi_row, geom::Grid psi_row, geom::Grid phi_col,
            geom::Grid psi_col, geom::Grid angle_row, geom::Grid angle_col, geom::Grid space_row,
            geom::Grid space_col, const PhipsiSettings& set, float& omega, float& ra, float& rb, PhipsiState& state);

// phi and psi with which the given block solves the equations exactly.  A
// point whose quotient is not finite keeps its value; a block below 3 points
// either way is left alone.
void fixed(geom::Grid x, geom::Grid y, geom::Grid z, geom::Grid phi, geom::Grid psi, int im, int jm);

}  // namespace appgrid
