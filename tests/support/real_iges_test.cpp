// The folder of real IGES files: the one SUITE_IGES_DIR names when the
// test runs (a relative one from the repository's top folder), else
// ../shared/iges beside the project; and the reason a test of an absent
// file gives.

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

// The working folder as one pass of a table sets it, and as it was again
// afterwards.
class WorkingFolder {
public:
    explicit WorkingFolder(const fs::path& folder) : old_(fs::current_path()) { fs::current_path(folder); }
    ~WorkingFolder() { fs::current_path(old_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    fs::path old_;
};

TEST(RealIges, FolderNamedByTheVariableElseBesideTheProject)
{
    const fs::path top = PROJECT_DIR;
    const fs::path beside = top.parent_path() / "shared" / "iges";
    struct Row {
        const char* what;
        std::optional<std::string> value;
        fs::path folder;
    };
    const Row rows[] = {
        {"unset", std::nullopt, beside},
        {"empty", "", beside},
        {"absolute", "/no/such/folder", "/no/such/folder"},
        {"relative, from the top folder", "some/iges", top / "some" / "iges"},
        {"relative, up from the top folder", "../shared/iges", beside},
    };
    // ctest runs each test in its own build folder; by hand it runs anywhere
    for (const fs::path& working : {fs::current_path(), fs::path("/")}) {
        const WorkingFolder w(working);
        for (const Row& r : rows) {
            SCOPED_TRACE(std::string(r.what) + ", working in " + working.string());
            const Variable v(r.value);
            EXPECT_EQ(test_support::real_iges_folder(), r.folder);
            EXPECT_EQ(test_support::real_iges("hammer.iges"), r.folder / "hammer.iges");
        }
    }
}

TEST(RealIges, AbsentFileSaysWhereAndWhichVariable)
{
    EXPECT_EQ(test_support::real_iges_absent("/empty/impeller.igs"),
              "/empty/impeller.igs is absent; SUITE_IGES_DIR names the folder of real IGES files (by default "
              "../shared/iges beside the project)");
}

}  // namespace
