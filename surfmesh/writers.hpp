// The mesh file on unit 2: PLOT3D, Tecplot, network or Gridgen layout.
#pragma once

#include "blocks.hpp"
#include "lib/grid.hpp"

#include <string_view>

namespace surfmesh {

enum Layout : int { plot3d = 1, tecplot = 2, network = 3, gridgen = 4 };

struct MeshFile {
    std::int32_t iform = 0;     // a Layout
    std::int32_t iplot3d = 0;   // PLOT3D: 1 single grid, 2 or more multiple grids
};

// Which of specifications 1..iout will have their mesh in the file.
using Announced = Array1<bool, ioutmx>;

// Written once, before any mesh: the PLOT3D grid count and sizes of the
// announced specifications, Tecplot's VARIABLES line; nothing for the others.
void write_header(const MeshFile& f, int iout, const Ispecs& is, const Announced& announced);

// One mesh of ni x nj points, j outer and i inner, under the title (its
// trailing blanks dropped). A view with leading dimension 0 gives the same
// row nj times.
void write_block(int iform, std::string_view title, int ni, int nj, geom::Grid x, geom::Grid y, geom::Grid z);

// Specification k's mesh as make_mesh left it.
void write_mesh(const MeshFile& f, const Ispecs& is, const Cspecs& cs, int k, Meshes& m);

}  // namespace surfmesh
