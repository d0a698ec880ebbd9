#include "intersect/driver.hpp"
#include "textio/run.hpp"

int main() { return textio::run_program("foilcut", [] { intersect::main_routine(intersect::foilcut); }); }
