#pragma once

// Scratch directories in which the real converters run with their answers
// on standard input, and what their tests share.

#include "support/sandbox.hpp"
#include "support/scratch.hpp"

#include <string>

namespace convert_test {

using test_support::Outcome;

struct RunplanBox : test_support::Sandbox {
    RunplanBox() : test_support::Sandbox(RUNPLAN_EXE, "runplan-test") {}
};
struct GridplotBox : test_support::Sandbox {
    GridplotBox() : test_support::Sandbox(GRIDPLOT_EXE, "gridplot-test") {}
};
struct MeshdumpBox : test_support::Sandbox {
    MeshdumpBox() : test_support::Sandbox(MESHDUMP_EXE, "meshdump-test") {}
};

// The two questions of gridplot and meshdump: the text, then " ? ".
inline std::string question(const std::string& text) { return text + "\n ? \n"; }

// Everything gridplot and meshdump write before they open a file.
inline std::string gridplot_dialogue() {
    return "\n GRIDPLOT MAREVO-To-TECPLOT File Translation Software\n\n" +
           question(" enter name of input database network file") + question(" enter name of output TECPLOT file") +
           question(" enter title for output TECPLOT file");
}
inline std::string meshdump_dialogue() {
    return question(" enter name of input database network file") + question(" enter name of output GRIDGEN file");
}

// A file that a run must leave as it was.
inline const std::string kOldContent = "old content, kept\n";

}  // namespace convert_test
