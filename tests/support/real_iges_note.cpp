// After ctest's runs, which do not show why a test was skipped: one line
// where a test of this run skipped for an absent real IGES file, counting
// the files absent from the folder and naming it and the variable. The
// skips are noted in the folder given (ctest empties it before its tests,
// but not for `ctest -N`, so the note takes them away once it has read
// them). The folder of the files is the one the tests looked in: ctest
// runs this in its own working folder and each test in another, and
// neither changes it.
// Usage: real_iges_note <folder of the run's skips>

#include "real_iges.hpp"

#include <cstdio>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: real_iges_note <folder of the run's skips>\n");
        return 2;
    }
    std::error_code ec;
    const bool skipped = !std::filesystem::is_empty(argv[1], ec) && !ec;
    std::filesystem::remove_all(argv[1], ec);
    if (!skipped) return 0;
    int absent = 0;
    for (std::string_view name : test_support::real_iges_files) absent += !std::filesystem::exists(test_support::real_iges(name));
    if (absent == 0) return 0;
    std::printf("%d of the %zu real IGES files are absent from %s, and the tests that read them were skipped; %s\n",
                absent, test_support::real_iges_files.size(), test_support::real_iges_folder().c_str(),
                test_support::real_iges_hint().c_str());
    return 0;
}
