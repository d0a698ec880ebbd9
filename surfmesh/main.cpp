#include "commands.hpp"
#include "textio/run.hpp"

int main() { return textio::run_program("surfmesh", surfmesh::main_routine); }
