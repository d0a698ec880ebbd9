// runs the real meshdump on network files and reads the Gridgen file it writes

#include "fixtures.hpp"
#include "sandbox.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace convert_test {
namespace {

const std::string kDialogue =
    question(" enter name of input database network file") + question(" enter name of output GRIDGEN file");

std::string counts(const std::string& networks, const std::string& panels) {
    return kDialogue + "number of networks=" + networks + "\nnumber of panels=  " + panels + "\n";
}

Outcome run(const MeshdumpBox& box, const std::string& network_file) {
    box.write("in.net", network_file);
    return box.run("in.net\nout.grd\n");
}

TEST(Meshdump, WritesSixValuesALineAndEachSequenceOnNewLines) {
    MeshdumpBox box;
    const Outcome o = run(box, header(7, 1, "seven points in a row", "3") +
                                   "1 -0.25 0\n2 -0.5 10\n3 -0.75 100\n4 -1 1000\n5 -1.25 0.5\n6 -1.5 0.125\n"
                                   "7 -1.75 -3\n" +
                                   header(2, 2, "square") +
                                   "0 0 0 1 0 0 0 1 0\n"   // several points to a line
                                   "1\n1\n1.5e-3\n");      // one coordinate a line
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, counts("    2", "    1"));
    EXPECT_EQ(box.read("out.grd"),
              "    7    1\n"
              "  1.00000E+00  2.00000E+00  3.00000E+00  4.00000E+00  5.00000E+00  6.00000E+00\n"
              "  7.00000E+00\n"
              " -2.50000E-01 -5.00000E-01 -7.50000E-01 -1.00000E+00 -1.25000E+00 -1.50000E+00\n"
              " -1.75000E+00\n"
              "  0.00000E+00  1.00000E+01  1.00000E+02  1.00000E+03  5.00000E-01  1.25000E-01\n"
              " -3.00000E+00\n"
              "    2    2\n"
              "  0.00000E+00  1.00000E+00  0.00000E+00  1.00000E+00\n"
              "  0.00000E+00  0.00000E+00  1.00000E+00  1.00000E+00\n"
              "  0.00000E+00  0.00000E+00  0.00000E+00  1.50000E-03\n");
}

TEST(Meshdump, CountsNetworksAndPanels) {
    // three 11 x 21 networks: 3 x 10 x 20 panels, and 1 + 3 x ceil(231 / 6) lines each
    MeshdumpBox box;
    const Outcome o = run(box, header(11, 21, "a") + zero_points(231) + header(11, 21, "b") + zero_points(231) +
                                   header(11, 21, "c") + zero_points(231));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, counts("    3", "  600"));
    EXPECT_EQ(test_support::split_lines(box.read("out.grd").value_or("")).size(), 3u * (1 + 3 * 39));
}

TEST(Meshdump, NetworksWithoutPanelsOrPoints) {
    // A network of no points writes its sizes and three empty lines and adds
    // no panels, nor does one of a single row or column.
    MeshdumpBox box;
    const Outcome o = run(box, header(0, 0, "nothing") + "this line is taken by the empty read\n" +
                                   header(0, 5, "no rows") + "\n" + header(1, 3, "one column") +
                                   "1 1 1 2 2 2 3 3 3\n" + header(3, 2, "two rows") + zero_points(6));
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, counts("    4", "    2"));
    EXPECT_EQ(box.read("out.grd"),
              "    0    0\n\n\n\n"
              "    0    5\n\n\n\n"
              "    1    3\n"
              "  1.00000E+00  2.00000E+00  3.00000E+00\n"
              "  1.00000E+00  2.00000E+00  3.00000E+00\n"
              "  1.00000E+00  2.00000E+00  3.00000E+00\n"
              "    3    2\n"
              "  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00\n"
              "  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00\n"
              "  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00  0.00000E+00\n");
}

// A Gridgen file has no count of blocks: a file of no networks gives the
// empty file, and an earlier run's blocks never stay behind as this run's.
TEST(Meshdump, NoNetworksWriteTheEmptyGridgenFile) {
    struct Case {
        const char* what;
        const char* old_gridgen;   // nullptr: none
    };
    const Case cases[] = {
        {"empty network file, old Gridgen file", "    2    1\n  1.00000E+00  2.00000E+00\n"},
        {"empty network file, no Gridgen file", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshdumpBox box;
        box.write("in.net", "");
        if (c.old_gridgen) box.write("out.grd", c.old_gridgen);
        const Outcome o = box.run("in.net\nout.grd\n");
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.out, counts("    0", "    0"));
        EXPECT_EQ(box.read("in.net"), "");
        EXPECT_EQ(box.read("out.grd"), "");
    }
}

TEST(Meshdump, CapacityStopsAtTheHeaderLeaveTheGridgenFile) {
    expect_stops<MeshdumpBox>(100000, "in.net\nout.grd\n", "out.grd", kDialogue);
}

// Every stop of meshdump, one row each: its message and status 1, no count
// line, the old Gridgen file kept; runs beside them end with status 0.
TEST(Meshdump, EveryStopEndsWithStatusOne) {
    struct Case {
        const char* what;
        std::string file;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {" stopping because npat.gt.npatmx", single_points(202), 1, kDialogue + "  stopping because npat.gt.npatmx\n"},
        {" stopping because npts.gt.nptsmx", header(101, 1000), 1, kDialogue + "  stopping because npts.gt.nptsmx\n"},
        {"201 networks end normally", single_points(201), 0, counts("  201", "    0")},
        {"a network ends normally", header(2, 2) + zero_points(4), 0, counts("    1", "    1")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MeshdumpBox box;
        box.write("out.grd", kOldContent);
        const Outcome o = run(box, c.file);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, "");
        if (c.status == 0)
            EXPECT_TRUE(box.read("out.grd").value_or("").ends_with("E+00\n"));
        else
            EXPECT_EQ(box.read("out.grd"), kOldContent);
    }
}

TEST(Meshdump, FullCapacityIsWritten) {
    {
        SCOPED_TRACE("201 networks");
        MeshdumpBox box;
        const Outcome o = run(box, single_points(201));
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(o.out, counts("  201", "    0"));
        EXPECT_EQ(test_support::split_lines(box.read("out.grd").value_or("")).size(), 201u * 4);
    }
    {
        SCOPED_TRACE("100000 points");
        MeshdumpBox box;
        const Outcome o = run(box, full_points(100000));
        EXPECT_EQ(o.status, 0) << o.err;
        // panels: 98 x 999 of the 99 x 1000 network
        EXPECT_EQ(o.out, counts("    3", "97902"));
        const std::string grd = box.read("out.grd").value_or("");
        EXPECT_EQ(test_support::split_lines(grd).size(), 1u + 3 + (1 + 3 * 16500) + (1 + 3 * 167));
        EXPECT_NE(grd.find("  999    1\n"), std::string::npos);
        EXPECT_TRUE(grd.ends_with("E+00\n  0.00000E+00  0.00000E+00  0.00000E+00\n"));
    }
}

// The Gridgen file named as the network file, spelt either way: refused in
// the words every program uses, the network file left as it was.
TEST(Meshdump, GridgenFileNamedAsTheNetworkFileIsOpenAlready) {
    for (const std::string output : {"in.net", "./in.net"}) {
        SCOPED_TRACE(output);
        MeshdumpBox box;
        const std::string network = header(1, 1, "p") + "1 2 3\n";
        box.write("in.net", network);
        const Outcome o = box.run("in.net\n" + output + "\n");
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.out, kDialogue);
        EXPECT_EQ(o.err, "meshdump: cannot open a file that is open already, file '" + output + "' (unit 2, record 0)\n");
        EXPECT_EQ(box.read("in.net"), network);
    }
}

TEST(Meshdump, FailuresLeaveTheGridgenFile) {
    std::vector<FailCase> cases;
    for (const FileCase& f : unreadable_files()) cases.push_back({f, "in.net\nout.grd\n"});
    cases.push_back({{"Gridgen file named as the network file", header(1, 1) + "0 0 0\n"}, "in.net\nin.net\n"});
    cases.push_back({{"blank Gridgen file name", header(1, 1) + "0 0 0\n"}, "in.net\n \n"});
    cases.push_back({{"answers end early", ""}, "in.net\n"});
    expect_failures<MeshdumpBox>(cases, "meshdump", "out.grd", kDialogue);
}

}  // namespace
}  // namespace convert_test
