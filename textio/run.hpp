// The whole main() of a program: runs its body; a normal end gives exit
// status 0, a failure's stop, a run marked failed and an I/O failure
// (one diagnostic line) give status 1.
#pragma once

#include <functional>
#include <string_view>

namespace textio {

inline constexpr int exit_failure = 1;    // a failed run
inline constexpr int exit_internal = 3;   // a fault of the program itself

int run_program(std::string_view program_name, const std::function<void()>& body);

}  // namespace textio
