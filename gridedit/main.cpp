#include "commands.hpp"
#include "textio/run.hpp"

int main() { return textio::run_program("gridedit", gridedit::main_routine); }
