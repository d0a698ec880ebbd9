#include "intersect/driver.hpp"
#include "textio/run.hpp"

int main() { return textio::run_program("keelcut", [] { intersect::main_routine(intersect::keelcut); }); }
