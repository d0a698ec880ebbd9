#include "commands.hpp"
#include "dialogue.hpp"
#include "mesh_command.hpp"
#include "store.hpp"

#include <cstdlib>
#include <memory>
#include <new>

namespace surfmesh {

namespace {

void banner() {
    empty_line();
    textio::write(textio::stdout_unit, "(1x,a)", "SURFMESH File Translation Software");
    empty_line();
    empty_line();
    say(" *** IGES FILE MANIPULATION PROGRAM ***");
}

// The blocks start as zeros, as static storage does, without a pass over
// their 6 MB: calloc's fresh pages are made zero by the system as they
// are first touched.
struct FreeBlocks {
    void operator()(Blocks* b) const {
        b->~Blocks();
        std::free(b);
    }
};

std::unique_ptr<Blocks, FreeBlocks> zeroed_blocks() {
    void* p = std::calloc(1, sizeof(Blocks));
    if (!p) throw std::bad_alloc();
    return std::unique_ptr<Blocks, FreeBlocks>(new (p) Blocks);
}

}  // namespace

void main_routine() {
    const auto b = zeroed_blocks();   // the one allocation of the run
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
        default: textio::fail_and_go_on(); break;
        }
    }
}

}  // namespace surfmesh
