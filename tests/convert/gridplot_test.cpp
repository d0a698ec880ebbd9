// runs the real gridplot on network files and reads the Tecplot file it writes

#include "fixtures.hpp"
#include "sandbox.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace convert_test {
namespace {

const std::string kDialogue = "\n GRIDPLOT MAREVO-To-TECPLOT File Translation Software\n\n" +
                              question(" enter name of input database network file") +
                              question(" enter name of output TECPLOT file") +
                              question(" enter title for output TECPLOT file");

Outcome run(const GridplotBox& box, const std::string& network_file, const std::string& title = "Demo") {
    box.write("in.net", network_file);
    return box.run("in.net\nout.plt\n" + title + "\n");
}

// TITLE and VARIABLES, the zones, the two TEXT lines.
std::string tecplot(const std::string& title, const std::string& zones) {
    return "TITLE = \"" + title + "\"\nVARIABLES = X, Y, Z\n" + zones + "TEXT X=0.050, Y=0.900,\nT=\"" + title +
           "\"\n";
}

TEST(Gridplot, WritesEveryNetworkAsAZone) {
    GridplotBox box;
    const Outcome o = run(box,
                          header(2, 2, "NET  keel", "42") +
                              " 1 2 3 -0.5 0.25 1.5\n"   // several points to a line
                              "10 100\n0\n"              // and a point over two lines
                              "0.5,0,-1 and the rest of the line is not read\n" +
                              header(1, 1, "Hull, \"faired\"   ") + "1 1 1\n",
                          "  Demo title   ");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, kDialogue);
    EXPECT_EQ(box.read("out.plt"), tecplot("  Demo title",
                                           "ZONE T=\" keel\",\n"
                                           "I=  2, J=  2\n"
                                           "  0.10000000E+01  0.20000000E+01  0.30000000E+01\n"
                                           " -0.50000000E+00  0.25000000E+00  0.15000000E+01\n"
                                           "  0.10000000E+02  0.10000000E+03  0.00000000E+00\n"
                                           "  0.50000000E+00  0.00000000E+00 -0.10000000E+01\n"
                                           "ZONE T=\"Hull, \"faired\"\",\n"
                                           "I=  1, J=  1\n"
                                           "  0.10000000E+01  0.10000000E+01  0.10000000E+01\n"));
}

// Exponents longer than any count holds read as the numbers they stand for.
TEST(Gridplot, LongExponentsReadAsInfinityOrZero) {
    GridplotBox box;
    const Outcome o = run(box, header(2, 1, "keel") +
                                   " 1.0E11111111111 -1.0E-11111111111 1.0D11111111111\n"
                                   " 1.0-11111111111 2.5E-0000000000000000000001 -1.0E+2147483648\n");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, kDialogue);
    EXPECT_EQ(box.read("out.plt"), tecplot("Demo",
                                           "ZONE T=\"keel\",\n"
                                           "I=  2, J=  1\n"
                                           "        Infinity -0.00000000E+00        Infinity\n"
                                           "  0.00000000E+00  0.25000000E+00       -Infinity\n"));
}

TEST(Gridplot, ZoneTitleDropsALeadingNetWord) {
    const std::string sixty = "Keel fin, root at z = 0, tip at z = -1.8, twelve sections ok";
    struct Case {
        std::string title, zone;
    };
    const Case cases[] = {
        {"NET keel", "keel"},   {"net keel", "keel"},   {"NET  keel", " keel"}, {"NET x", "x"},
        {"Net keel", "Net keel"}, {"NET", "NET"},       {"NET ", "NET"},        {"NETKEEL", "NETKEEL"},
        {"", ""},               {"  keel  ", "  keel"}, {sixty + "beyond column 80", sixty},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        GridplotBox box;
        const Outcome o = run(box, header(1, 1, c.title) + "0 0 0\n");
        EXPECT_EQ(o.status, 0) << o.err;
        EXPECT_EQ(box.read("out.plt"),
                  tecplot("Demo", "ZONE T=\"" + c.zone + "\",\nI=  1, J=  1\n" +
                                      "  0.00000000E+00  0.00000000E+00  0.00000000E+00\n"));
    }
}

TEST(Gridplot, SizesAboveNineHundredNinetyNinePrintAsAsterisks) {
    GridplotBox box;
    const Outcome o = run(box, header(1000, 1, "long") + zero_points(1000) + header(1, 999, "tall") + zero_points(999));
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string plt = box.read("out.plt").value_or("");
    EXPECT_NE(plt.find("ZONE T=\"long\",\nI=***, J=  1\n"), std::string::npos);
    EXPECT_NE(plt.find("ZONE T=\"tall\",\nI=  1, J=999\n"), std::string::npos);
    EXPECT_EQ(test_support::split_lines(plt).size(), 2u + 2 + 1000 + 2 + 999 + 2);
}

TEST(Gridplot, NetworkWithoutPointsTakesOneLineAndWritesAnEmptyOne) {
    GridplotBox box;
    const Outcome o = run(box, header(0, 3, "empty") + "1 2 3 this line is taken by the empty read\n" +
                                   header(1, 1, "one") + "4 5 6\n");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(box.read("out.plt"), tecplot("Demo", "ZONE T=\"empty\",\nI=  0, J=  3\n\n"
                                                   "ZONE T=\"one\",\nI=  1, J=  1\n"
                                                   "  0.40000000E+01  0.50000000E+01  0.60000000E+01\n"));
}

TEST(Gridplot, AnEmptyFileGivesTheTitleAndTextLinesOnly) {
    GridplotBox box;
    const Outcome o = run(box, "", "    ");
    EXPECT_EQ(o.status, 0) << o.err;
    EXPECT_EQ(o.out, kDialogue);
    EXPECT_EQ(box.read("out.plt"), "TITLE = \"\"\nVARIABLES = X, Y, Z\nTEXT X=0.050, Y=0.900,\nT=\"\"\n");
}

TEST(Gridplot, CapacityStopsAtTheHeaderLeaveTheTecplotFile) {
    expect_stops<GridplotBox>(400000, "in.net\nout.plt\nDemo\n", "out.plt", kDialogue);
}

// Every stop of gridplot, one row each: its message and status 1, the old
// Tecplot file kept; runs beside them end with status 0.
TEST(Gridplot, EveryStopEndsWithStatusOne) {
    struct Case {
        const char* what;
        std::string file;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {" stopping because npat.gt.npatmx", single_points(202), 1, kDialogue + "  stopping because npat.gt.npatmx\n"},
        {" stopping because npts.gt.nptsmx", header(401, 1000), 1, kDialogue + "  stopping because npts.gt.nptsmx\n"},
        {"201 networks end normally", single_points(201), 0, kDialogue},
        {"a file of no networks ends normally", "", 0, kDialogue},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        GridplotBox box;
        box.write("out.plt", kOldContent);
        const Outcome o = run(box, c.file);
        EXPECT_EQ(o.status, c.status);
        EXPECT_EQ(o.out, c.out);
        EXPECT_EQ(o.err, "");
        if (c.status == 0)
            EXPECT_TRUE(box.read("out.plt").value_or("").starts_with("TITLE = \"Demo\"\n"));
        else
            EXPECT_EQ(box.read("out.plt"), kOldContent);
    }
}

// 400000 points would make a Tecplot file larger than the sandbox allows;
// meshdump's tests take the room to its last point through the same reader.
TEST(Gridplot, TwoHundredAndOneNetworksAreWritten) {
    GridplotBox box;
    const Outcome o = run(box, single_points(201));
    EXPECT_EQ(o.status, 0) << o.err;
    const std::string plt = box.read("out.plt").value_or("");
    EXPECT_EQ(test_support::split_lines(plt).size(), 2u + 201 * 3 + 2);
    EXPECT_NE(plt.find("ZONE T=\"point 201\",\nI=  1, J=  1\n"), std::string::npos);
}

// The Tecplot file named as the network file, spelt either way: refused in
// the words every program uses, the network file left as it was.
TEST(Gridplot, TecplotFileNamedAsTheNetworkFileIsOpenAlready) {
    for (const std::string output : {"in.net", "./in.net"}) {
        SCOPED_TRACE(output);
        GridplotBox box;
        const std::string network = header(1, 1, "p") + "1 2 3\n";
        box.write("in.net", network);
        const Outcome o = box.run("in.net\n" + output + "\nDemo\n");
        EXPECT_EQ(o.status, 1);
        EXPECT_EQ(o.out, kDialogue);
        EXPECT_EQ(o.err, "gridplot: cannot open a file that is open already, file '" + output + "' (unit 2, record 0)\n");
        EXPECT_EQ(box.read("in.net"), network);
    }
}

TEST(Gridplot, FailuresLeaveTheTecplotFile) {
    const std::string answers = "in.net\nout.plt\nDemo\n";
    std::vector<FailCase> cases;
    for (const FileCase& f : unreadable_files()) cases.push_back({f, answers});
    cases.push_back({{"Tecplot file named as the network file", header(1, 1) + "0 0 0\n"}, "in.net\nin.net\nDemo\n"});
    cases.push_back({{"blank network file name", ""}, "  \nout.plt\nDemo\n"});
    cases.push_back({{"answers end early", ""}, "in.net\nout.plt\n"});
    expect_failures<GridplotBox>(cases, "gridplot", "out.plt", kDialogue);
}

}  // namespace
}  // namespace convert_test
