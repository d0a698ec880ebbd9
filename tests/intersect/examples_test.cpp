// The example keel and wing of examples/intersect meet the example bulb at
// every station, in the layout appgrid reads.
#include "program.hpp"

#include "support/scratch.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace intersect_program_test {
namespace {

const std::string kExamples = EXAMPLES_DIR;

struct Row {
    int iint;
    float x, y, z, xsis, etas, xsit, etat;
};

std::vector<Row> rows(const std::string& table) {
    std::vector<Row> out;
    const auto lines = test_support::split_lines(table);
    for (std::size_t k = 1; k < lines.size(); ++k) {
        Row r;
        EXPECT_EQ(std::sscanf(lines[k].c_str(), "%d%f%f%f%f%f%f%f", &r.iint, &r.x, &r.y, &r.z, &r.xsis, &r.etas,
                              &r.xsit, &r.etat),
                  8);
        out.push_back(r);
    }
    return out;
}

std::vector<Row> run(const std::string& program, const std::string& name) {
    Sandbox box(program);
    for (const char* net : {"bulb.net", "keel.net", "wing.net"})
        box.write(net, test_support::read_file(kExamples + "/" + net));
    const Outcome r = box.run(test_support::read_file(kExamples + "/" + name + ".answers"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    return rows(box.read(name + ".out").value_or(""));
}

TEST(Examples, TheKeelRootLiesOnTheBulbTopFromLeadingToTrailingEdge) {
    const auto keel = run(kKeelcut, "keelcut");
    ASSERT_EQ(keel.size(), 9u);   // one record per point of a keel row
    for (std::size_t k = 0; k < keel.size(); ++k) {
        EXPECT_NE(keel[k].iint, 0) << "station " << k + 1;
        EXPECT_EQ(keel[k].xsis, float(k + 1));
        EXPECT_GT(keel[k].etas, 1.0f);   // some keel rows stay above the cut
        EXPECT_LT(keel[k].etat, 2.0f);   // in the bulb's top row of cells
    }
    EXPECT_LT(keel.front().x, keel.back().x);
}

TEST(Examples, TheWingRootRunsRoundTheHalfBreadthLine) {
    const auto wing = run(kFoilcut, "foilcut");
    ASSERT_EQ(wing.size(), 17u);
    for (std::size_t k = 0; k < wing.size(); ++k) {
        EXPECT_NE(wing[k].iint, 0) << "station " << k + 1;
        EXPECT_EQ(wing[k].xsis, float(k + 1));
        EXPECT_NEAR(wing[k].etat, 5.0f, 0.5f);   // about the bulb's row 5
        EXPECT_LT(wing[k].xsit, 17.0f - 0.9f);   // clear of the bulb's tail point
    }
    EXPECT_EQ(wing[8].y, 0.0f);   // the leading edge, station 9
}

}  // namespace
}  // namespace intersect_program_test
