#include "hydrosum/input/steps.hpp"
#include "textio/run.hpp"

int main() { return textio::run_program("hydrosum", hydrosum::main_routine); }
