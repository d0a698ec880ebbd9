#pragma once

// The real IGES files, written by other CAD systems, that tests and
// benchmarks read where they are present: third-party files kept outside
// the repository, in the folder SUITE_IGES_DIR names when they run, else in
// ../shared/iges beside the project. A relative SUITE_IGES_DIR is taken from
// the repository's top folder, the one `make` runs in: never from the
// folder a test runs in, which ctest sets to each test's own build folder.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace test_support {

inline constexpr std::string_view real_iges_variable = "SUITE_IGES_DIR";

// The files of that folder, by name.
inline constexpr std::array<std::string_view, 15> real_iges_files = {
    "128-000.igs",        "128-002.igs",          "128-003.igs",          "128-004.igs",
    "128-005.igs",        "128-009.igs",          "surf128.igs",          "nentity.igs",
    "144-000.igs",        "144-000-example-1.igs", "144-000-example-2.igs", "rounded-cube.iges",
    "hammer.iges",        "bearing.iges",         "impeller.igs"};

// The folder, absolute: SUITE_IGES_DIR (a relative one from the
// repository's top folder), or ../shared/iges from there where it is unset
// or empty; the same whatever the working folder.
std::filesystem::path real_iges_folder();
// One file of it.
std::filesystem::path real_iges(std::string_view name);

// Why a test or benchmark of `file` is skipped: "<file> is absent; " and
// how to name the folder.
std::string real_iges_absent(const std::filesystem::path& file);
// How the folder is named: the variable and the default.
std::string real_iges_hint();

// The folder where a ctest run's tests note their skips for its closing
// line; ctest sets it, and outside ctest it is unset.
inline constexpr std::string_view real_iges_skips_variable = "SUITE_IGES_SKIPS";
// For a test that skips for an absent `file`: the skip noted in that
// folder where it is set, and the reason, as real_iges_absent gives it.
std::string skipped_for_absent(const std::filesystem::path& file);

}  // namespace test_support
