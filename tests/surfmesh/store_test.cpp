// The store's scratch files: created empty over a leftover, and a section
// this run never created reads as empty.

#include "support/scratch.hpp"
#include "surfmesh/store.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(Store, LeftoversAreNeverRead)
{
    test_support::TempDir dir("surfmesh-store");
    const auto home = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    test_support::write_file("fort.12", "a leftover global line\n");
    surfmesh::Record line;
    EXPECT_FALSE(surfmesh::read_section_line(surfmesh::global_unit, line));   // never created: empty

    surfmesh::create_scratch(surfmesh::global_unit);
    EXPECT_FALSE(surfmesh::read_section_line(surfmesh::global_unit, line));   // created empty
    textio::write(surfmesh::global_unit, "(a)", "new");
    textio::rewind(surfmesh::global_unit);
    ASSERT_TRUE(surfmesh::read_section_line(surfmesh::global_unit, line));
    EXPECT_EQ(std::string(line.data(), 4), "new ");
    EXPECT_FALSE(surfmesh::read_section_line(surfmesh::global_unit, line));

    surfmesh::delete_store();
    EXPECT_FALSE(std::filesystem::exists("fort.12"));
    EXPECT_FALSE(textio::is_open(surfmesh::global_unit));
    std::filesystem::current_path(home);
}

}  // namespace
