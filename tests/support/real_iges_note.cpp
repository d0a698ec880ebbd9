// After ctest's runs, which do not show why a test was skipped: one line
// where real IGES files are absent, naming the folder and the variable.
// The folder is the one the tests looked in: ctest runs this in its own
// working folder and each test in another, and neither changes it.

#include "real_iges.hpp"

#include <cstdio>
#include <filesystem>

int main()
{
    int absent = 0;
    for (std::string_view name : test_support::real_iges_files) absent += !std::filesystem::exists(test_support::real_iges(name));
    if (absent == 0) return 0;
    std::printf("%d of the %zu real IGES files are absent from %s, and the tests that read them were skipped; %s\n",
                absent, test_support::real_iges_files.size(), test_support::real_iges_folder().c_str(),
                test_support::real_iges_hint().c_str());
    return 0;
}
