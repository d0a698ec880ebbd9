#include "real_iges.hpp"

#include <cstdlib>
#include <fstream>
#include <system_error>

namespace test_support {
namespace fs = std::filesystem;

fs::path real_iges_folder()
{
    const char* named = std::getenv(std::string(real_iges_variable).c_str());
    const fs::path folder = named && *named ? named : "../shared/iges";
    if (folder.is_absolute()) return folder;
    // ".." resolved by name, as CMake does for the project's own folders
    return (fs::path(SUITE_TOP_DIR) / folder).lexically_normal();
}

fs::path real_iges(std::string_view name) { return real_iges_folder() / name; }

std::string real_iges_hint()
{
    return std::string(real_iges_variable) + " names the folder of real IGES files (by default ../shared/iges beside the project)";
}

std::string real_iges_absent(const fs::path& file) { return file.string() + " is absent; " + real_iges_hint(); }

std::string skipped_for_absent(const fs::path& file)
{
    const char* skips = std::getenv(std::string(real_iges_skips_variable).c_str());
    if (skips && *skips) {
        // one empty file a file skipped for; tests running at once may share it
        std::error_code ec;
        fs::create_directories(skips, ec);
        std::ofstream(fs::path(skips) / file.filename());
    }
    return real_iges_absent(file);
}

}  // namespace test_support
