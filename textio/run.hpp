// The whole main() of a program: runs its body, turns a stop into exit
// status 0 and an I/O failure into one diagnostic line and status 1.
#pragma once

#include <functional>
#include <string_view>

namespace textio {

inline constexpr int exit_failure = 1;    // a run-ending I/O failure
inline constexpr int exit_internal = 3;   // a fault of the program itself

int run_program(std::string_view program_name, const std::function<void()>& body);

}  // namespace textio
