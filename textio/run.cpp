#include "run.hpp"

#include "units.hpp"

#include <cstdio>
#include <exception>
#include <string>

namespace textio {

namespace {

void report(std::string_view program, const std::string& what) {
    std::fflush(Runtime::instance().stdout_file());
    std::fprintf(stderr, "%.*s: %s\n", static_cast<int>(program.size()), program.data(), what.c_str());
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
            if (s.failed) code = exit_failure;
        }
        rt.close_all();   // what was written stays written, or the run fails
        if (rt.failed()) code = exit_failure;
    } catch (const Failure& f) {
        report(program_name, f.what());
        rt.close_all_quietly();
        code = exit_failure;
    } catch (const std::exception& e) {
        report(program_name, std::string("internal error: ") + e.what());
        rt.close_all_quietly();
        code = exit_internal;
    }
    return code;
}

}  // namespace textio
