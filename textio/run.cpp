#include "run.hpp"

#include "units.hpp"

#include <cstdio>
#include <exception>
#include <string>

namespace textio {

namespace {

// One line on standard error, after what standard output holds when both
// go to one file. A NUL byte, which a file name may hold, is shown as \0:
// the line goes on past it.
void report(std::string_view program, std::string_view what) {
    std::fflush(Runtime::instance().stdout_file());
    std::string line(program);
    line += ": ";
    for (char c : what) {
        if (c == '\0')
            line += "\\0";
        else
            line += c;
    }
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

int run_program(std::string_view program_name, const std::function<void()>& body) {
    Runtime& rt = Runtime::instance();
    rt.begin_run(program_name);
    int code = 0;
    try {
        try {
            body();
        } catch (const StopRequest& s) {
            if (s.ending == Ending::failed) code = exit_failure;
        }
        rt.close_all();   // what was written stays written, or the run fails
        if (rt.failed()) code = exit_failure;
    } catch (const Failure& f) {
        report(program_name, f.message());
        rt.close_all_quietly();
        code = exit_failure;
    } catch (const std::exception& e) {
        report(program_name, std::string("internal error: ") + e.what());
        rt.close_all_quietly();
        code = exit_internal;
    }
    return code;
}

void fail_and_go_on() { Runtime::instance().failed_ = true; }

void note_failure(std::string_view what) {
    Runtime& rt = Runtime::instance();
    report(rt.program(), what);
    fail_and_go_on();
}

}  // namespace textio
