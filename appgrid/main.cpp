#include "appgrid/driver.hpp"
#include "textio/run.hpp"

int main() { return textio::run_program("appgrid", appgrid::main_routine); }
