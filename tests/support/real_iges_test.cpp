// The folder of real IGES files: the one SUITE_IGES_DIR names when the
// test runs, else ../shared/iges beside the project; and the reason a test
// of an absent file gives.

#include "support/real_iges.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

// SUITE_IGES_DIR as one row sets it, and as it was again afterwards.
class Variable {
public:
    explicit Variable(const std::optional<std::string>& value)
    {
        if (const char* v = std::getenv(kName)) old_ = v;
        value ? ::setenv(kName, value->c_str(), 1) : ::unsetenv(kName);
    }
    ~Variable() { old_ ? ::setenv(kName, old_->c_str(), 1) : ::unsetenv(kName); }
    Variable(const Variable&) = delete;
    Variable& operator=(const Variable&) = delete;

private:
    static constexpr const char* kName = "SUITE_IGES_DIR";
    std::optional<std::string> old_;
};

TEST(RealIges, FolderNamedByTheVariableElseBesideTheProject)
{
    const fs::path beside = fs::path(PROJECT_DIR).parent_path() / "shared" / "iges";
    struct Row {
        const char* what;
        std::optional<std::string> value;
        fs::path folder;
    };
    const Row rows[] = {
        {"unset", std::nullopt, beside},
        {"empty", "", beside},
        {"absolute", "/no/such/folder", "/no/such/folder"},
        {"relative, from the working folder", "some/iges", fs::current_path() / "some/iges"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        const Variable v(r.value);
        EXPECT_EQ(test_support::real_iges_folder(), r.folder);
        EXPECT_EQ(test_support::real_iges("hammer.iges"), r.folder / "hammer.iges");
    }
}

TEST(RealIges, AbsentFileSaysWhereAndWhichVariable)
{
    EXPECT_EQ(test_support::real_iges_absent("/empty/impeller.igs"),
              "/empty/impeller.igs is absent; SUITE_IGES_DIR names the folder of real IGES files (by default "
              "../shared/iges beside the project)");
}

}  // namespace
