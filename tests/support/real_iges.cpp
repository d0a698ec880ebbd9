#include "real_iges.hpp"

#include <cstdlib>

namespace test_support {
namespace fs = std::filesystem;

fs::path real_iges_folder()
{
    const char* named = std::getenv(std::string(real_iges_variable).c_str());
    if (named && *named) return fs::absolute(named);
    return SUITE_IGES_DEFAULT;
}

fs::path real_iges(std::string_view name) { return real_iges_folder() / name; }

std::string real_iges_hint()
{
    return std::string(real_iges_variable) + " names the folder of real IGES files (by default ../shared/iges beside the project)";
}

std::string real_iges_absent(const fs::path& file) { return file.string() + " is absent; " + real_iges_hint(); }

}  // namespace test_support
