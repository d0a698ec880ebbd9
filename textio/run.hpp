// The whole main() of a program and the run's status: a normal end gives
// exit status 0; a failure's stop, a run that failed and went on and an
// I/O failure (one diagnostic line) give status 1. The stops themselves,
// quit() and error_stop(), are in units.hpp.
#pragma once

#include <functional>
#include <string_view>

namespace textio {

inline constexpr int exit_failure = 1;    // a failed run
inline constexpr int exit_internal = 3;   // a fault of the program itself

int run_program(std::string_view program_name, const std::function<void()>& body);

// The run has failed but goes on (an answer asked again, a count that does
// not fit, a table that disagrees): its end gives status 1. The one way to
// mark a run failed.
void fail_and_go_on();

// fail_and_go_on with one line on standard error naming the program, after
// what standard output holds.
void note_failure(std::string_view what);

}  // namespace textio
