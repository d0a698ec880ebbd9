#include "commands.hpp"
#include "dialogue.hpp"
#include "mesh_command.hpp"
#include "store.hpp"

#include <memory>

namespace surfmesh {

namespace {

void banner() {
    empty_line();
    textio::write(textio::stdout_unit, "(1x,a)", "SURFMESH File Translation Software");
    empty_line();
    empty_line();
    say(" *** IGES FILE MANIPULATION PROGRAM ***");
}

}  // namespace

void main_routine() {
    auto b = std::make_unique<Blocks>();   // the one allocation of the run
    banner();
    std::int32_t option = 0;   // a null answer keeps the last one
    for (;;) {
        empty_line();
        menu({" OPTIONS:", "", "    (1) input new IGES file", "    (2) output directory entry information",
              "    (3) output all 128 entities to new IGES file",
              "    (4) output specified 128 entities to new mesh file",
              "    (5) output specified 144 entities to new mesh file", "    (6) quit", ""},
             " enter option: ");
        if (!textio::read_answer_numbers(option)) continue;
        switch (option) {
        case 1:
            delete_store();
            readiges(b->deinfo);
            break;
        case 2: direct(*b); break;
        case 3: iges128s(*b); break;
        case 4: mesh128s(*b); break;
        case 5: mesh144s(*b); break;
        case 6: delete_store(); return;
        default: break;
        }
    }
}

}  // namespace surfmesh
