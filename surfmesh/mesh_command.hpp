// The mesh commands: the dialogue that fills the mesh specification table,
// the mesh file, and the loop over the specifications. One body serves the
// type-128 surfaces (option 4) and the trimmed surfaces (option 5).
#pragma once

#include "blocks.hpp"
#include "lib/grid.hpp"
#include "writers.hpp"

#include <string_view>

namespace surfmesh {

struct MeshCommand {
    std::int32_t type;            // the entity type counted, selected and named in the stops
    std::string_view heading;     // the command's first line
    std::string_view question;    // asks for a relative entity number
    // Makes and writes the mesh(es) of specification k, entity entry e.
    void (*mesh_one)(Blocks& b, int k, int e, const MeshFile& f);
    // When set, whether mesh_one will write specification k's mesh, asked
    // silently before a PLOT3D header so that it announces only those.
    bool (*writes_mesh)(Blocks& b, int k, int e) = nullptr;
};

// Entries of the given type among the table's first ient.
int count_type(const Deinfo& d, std::int32_t type);

// The entry of the rel-th entity of that type, 0 when there is none.
int locate(const Deinfo& d, std::int32_t type, int rel);

void mesh_command(const MeshCommand& c, Blocks& b);

// Within a command's mesh_one: unless every point of the ni x nj mesh is a
// finite number, the stop of the command at the entity of its
// specification, worded as when one is not found: " stopping ... iges
// <type> entity #", rel, head and " gives a point that is not finite";
// fort.21 deleted.
void stop_unless_finite(std::string_view head, int ni, int nj, geom::Grid x, geom::Grid y, geom::Grid z);

// The surface of specification k from entry e: loaded, meshed and written.
void mesh128(Blocks& b, int k, int e, const MeshFile& f);

// Menu option 4.
void mesh128s(Blocks& b);

}  // namespace surfmesh
