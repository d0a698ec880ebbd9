// surfmesh's menu and the commands it runs.
#pragma once

#include "blocks.hpp"

namespace surfmesh {

// Banner, then the menu until option 6 or a stop.
void main_routine();

// Options 2, 3 and 5: the directory listing, the reduced IGES file and the
// trimmed-surface mesh command.
void direct(Blocks& b);
void iges128s(Blocks& b);
void mesh144s(Blocks& b);

}  // namespace surfmesh
