// foilcut and keelcut run whole: the dialogue, the files they write, and
// the ways a run ends early.
#include "program.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace intersect_program_test {
namespace {

// A flat 3 x 3 target in z = 0 of unit cells.
const std::string kPlate =
    "    3    3          plate\n"
    "0 0 0\n1 0 0\n2 0 0\n"
    "0 1 0\n1 1 0\n2 1 0\n"
    "0 2 0\n1 2 0\n2 2 0\n";

// Three lines of two points, one a row: down through the plate at
// (0.5, 0.5) and (1.5, 0.25), and one beside it.
const std::string kLines =
    "    2    3          lines\n"
    "0.5 0.5 1\n0.5 0.5 -1\n"
    "1.5 0.25 1\n1.5 0.25 -3\n"
    "3 3 1\n3 3 -1\n";

const std::string kPlateTable = kHeader +
    "    1   0.50000   0.50000   0.00000   1.50000   1.00000   1.50000   1.50000\n"
    "    1   1.50000   0.25000   0.00000   1.25000   2.00000   2.50000   1.25000\n"
    "    0   0.00000   0.00000   0.00000   0.00000   3.00000   0.00000   0.00000\n";

std::string plate_strip(const std::string& title) {
    return "    2    3          " + title + "\n"
           "  0.50000000E+00  0.50000000E+00  0.00000000E+00\n"
           "  0.50000000E+00  0.50000000E+00  0.00000000E+00\n"
           "  0.15000000E+01  0.25000000E+00  0.00000000E+00\n"
           "  0.15000000E+01  0.25000000E+00  0.00000000E+00\n"
           "  0.00000000E+00  0.00000000E+00  0.00000000E+00\n"
           "  0.00000000E+00  0.00000000E+00  0.00000000E+00\n";
}

TEST(Dialogue, SpecsAreFoldedAndAskedAgainAndBothProgramsWriteTheSameTable) {
    // specs: invalid, folded, inconsistent (both asked again), with leading
    // blank, reversed; flags over two lines with the rest of the last skipped
    const std::string input = "lines.net\n+x\n+M\n\n-m\n +m\nm+\n+m\n+N\n0\n0 99\n"
                              "plate.net\n++\n-n\n+n\n+m\n+n\n0 0 0 0\n";
    const std::string messages = " invalid spec for dxs = +x\n"
                                 " invalid spec for des =   \n"
                                 " inconsistent specs for dxs=+m and des=-m\n"
                                 " invalid spec for dxs =  +\n"
                                 " invalid spec for dxs = m+\n"
                                 " invalid spec for dxt = ++\n"
                                 " inconsistent specs for dxt=-n and det=+n\n";
    const std::string src_xsi = ask(" enter source xsi direction ( +/- m/n ) for intersection");
    const std::string src_eta = ask(" enter source eta direction ( +/- m/n )");
    const std::string tgt_xsi = ask(" enter target xsi direction ( +/- m/n ) for intersection");
    const std::string tgt_eta = ask(" enter target eta direction ( +/- m/n )");
    const std::string transcript =
        " intersect source and target\n" + ask(" enter source input filename") +
        src_xsi + " invalid spec for dxs = +x\n" + src_xsi +
        src_eta + " invalid spec for des =   \n" + src_eta + " inconsistent specs for dxs=+m and des=-m\n" +
        src_xsi + " invalid spec for dxs =  +\n" + src_xsi + " invalid spec for dxs = m+\n" + src_xsi + src_eta +
        ask(" enter target input filename") + tgt_xsi + " invalid spec for dxt = ++\n" + tgt_xsi + tgt_eta +
        " inconsistent specs for dxt=-n and det=+n\n" + tgt_xsi + tgt_eta +
        " ms =    2 ns =    3\n"
        " mt =    3 nt =    3\n";

    Sandbox foil(kFoilcut);
    foil.write("lines.net", kLines);
    foil.write("plate.net", kPlate);
    Outcome r = foil.run(input);
    EXPECT_EQ(r.out, transcript);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);   // answers asked again
    EXPECT_EQ(foil.read("foilcut.out"), kPlateTable);
    EXPECT_EQ(foil.read("foilcut.net"), plate_strip("bulb-wing intersection"));
    EXPECT_FALSE(foil.read("keelcut.out").has_value());

    Sandbox keel(kKeelcut);
    keel.write("lines.net", kLines);
    keel.write("plate.net", kPlate);
    r = keel.run(input);
    EXPECT_EQ(r.out, messages);   // no banner, question or echo
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(keel.read("keelcut.out"), kPlateTable);
    EXPECT_EQ(keel.read("keelcut.net"), plate_strip("keel-bulb intersection"));
    EXPECT_FALSE(keel.read("foilcut.out").has_value());
}

// A spec asked again, each kind once for each network: the message and the
// question again, nothing on standard error, the same table and strip as
// answers right the first time, and status 1 at the end.
TEST(Dialogue, ASpecAskedAgainEndsTheRunWithStatusOne) {
    const std::string src_file = ask(" enter source input filename");
    const std::string src_xsi = ask(" enter source xsi direction ( +/- m/n ) for intersection");
    const std::string src_eta = ask(" enter source eta direction ( +/- m/n )");
    const std::string tgt_file = ask(" enter target input filename");
    const std::string tgt_xsi = ask(" enter target xsi direction ( +/- m/n ) for intersection");
    const std::string tgt_eta = ask(" enter target eta direction ( +/- m/n )");
    const std::string banner = " intersect source and target\n";
    const std::string sizes = " ms =    2 ns =    3\n mt =    3 nt =    3\n";
    const std::string target = "plate.net\n+m\n+n\n0 0 0 0\n";
    const std::string source = "lines.net\n+m\n+n\n0 0\n";
    struct Case {
        const char* what;
        std::string answers;
        int status;
        std::string foil_out;
        std::string message;   // all keelcut writes
    };
    const Case cases[] = {
        {"right the first time", source + target, 0, dialogue() + sizes, ""},
        {"invalid spec for dxs", "lines.net\n+x\n+m\n+n\n0 0\n" + target, 1,
         banner + src_file + src_xsi + " invalid spec for dxs = +x\n" + src_xsi + src_eta + questions("target") + sizes,
         " invalid spec for dxs = +x\n"},
        {"invalid spec for des", "lines.net\n+m\nn\n+n\n0 0\n" + target, 1,
         banner + src_file + src_xsi + src_eta + " invalid spec for des = n \n" + src_eta + questions("target") + sizes,
         " invalid spec for des = n \n"},
        {"invalid spec for dxt", source + "plate.net\n-x\n+m\n+n\n0 0 0 0\n", 1,
         banner + questions("source") + tgt_file + tgt_xsi + " invalid spec for dxt = -x\n" + tgt_xsi + tgt_eta + sizes,
         " invalid spec for dxt = -x\n"},
        {"invalid spec for det", source + "plate.net\n+m\n\n+n\n0 0 0 0\n", 1,
         banner + questions("source") + tgt_file + tgt_xsi + tgt_eta + " invalid spec for det =   \n" + tgt_eta + sizes,
         " invalid spec for det =   \n"},
        {"inconsistent specs for dxs and des", "lines.net\n+m\n-M\n+m\n+n\n0 0\n" + target, 1,
         banner + src_file + src_xsi + src_eta + " inconsistent specs for dxs=+m and des=-m\n" + src_xsi + src_eta +
             questions("target") + sizes,
         " inconsistent specs for dxs=+m and des=-m\n"},
        {"inconsistent specs for dxt and det", source + "plate.net\n+n\n-n\n+m\n+n\n0 0 0 0\n", 1,
         banner + questions("source") + tgt_file + tgt_xsi + tgt_eta + " inconsistent specs for dxt=+n and det=-n\n" +
             tgt_xsi + tgt_eta + sizes,
         " inconsistent specs for dxt=+n and det=-n\n"},
    };
    for (const Case& c : cases) {
        for (const std::string& program : {kFoilcut, kKeelcut}) {
            const bool foil = program == kFoilcut;
            const std::string name = foil ? "foilcut" : "keelcut";
            SCOPED_TRACE(name + ": " + c.what);
            Sandbox box(program);
            box.write("lines.net", kLines);
            box.write("plate.net", kPlate);
            const Outcome r = box.run(c.answers);
            EXPECT_EQ(r.out, foil ? c.foil_out : c.message);
            EXPECT_EQ(r.err, "");
            EXPECT_EQ(r.status, c.status);
            EXPECT_EQ(box.read(name + ".out"), kPlateTable);
            EXPECT_EQ(box.read(name + ".net"), plate_strip(foil ? "bulb-wing intersection" : "keel-bulb intersection"));
        }
    }
}

TEST(Dialogue, TheEndOfTheAnswersEndsTheRun) {
    const std::string all = answers("lines.net", "+m", "+n", "plate.net", "+m", "+n");
    for (const std::string& cut : {std::string(""), std::string("lines.net\n+m\n"),
                                   std::string("lines.net\n+m\n+n\n0\n"), all.substr(0, all.size() - 8),
                                   std::string("lines.net\n+m\n+x\n+x\n")}) {
        for (const std::string& program : {kFoilcut, kKeelcut}) {
            Sandbox box(program);
            const Outcome r = box.run(cut);
            expect_io_failure(box, r, "standard input");
            EXPECT_FALSE(box.read("lines.net").has_value()) << "a file was opened during the dialogue";
        }
    }
}

TEST(Dialogue, FlagsAreIntegers) {
    for (const char* flags : {"1.5 0", "1. 0", "1e3 0", "a 0", "0 -"}) {
        Sandbox box(kFoilcut);
        box.write("lines.net", kLines);
        box.write("plate.net", kPlate);
        const Outcome r = box.run(answers("lines.net", "+m", "+n", "plate.net", "+m", "+n", flags));
        expect_io_failure(box, r, "standard input");
    }
}

// --- inputs that are empty, degenerate or faulty ---------------------------
// (a missing one: tests/convert/missing_input_test.cpp)

TEST(Inputs, EmptyFilesAreNetworksOfNoPointsAndTheRunGoesOn) {
    Sandbox box(kFoilcut);
    box.write("src.net", "");
    box.write("tgt.net", "");
    const Outcome r = box.run(answers("src.net", "+n", "+m", "tgt.net", "+m", "+n"));
    EXPECT_EQ(r.out, dialogue() + " ms =    0 ns =    0\n mt =    0 nt =    0\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(box.read("src.net"), "");
    EXPECT_EQ(box.read("tgt.net"), "");
    EXPECT_EQ(box.read("foilcut.out"), kHeader);
    EXPECT_EQ(box.read("foilcut.net"), "    0    2          bulb-wing intersection\n");
}

TEST(Inputs, ATargetWithoutPanelsCutsNothing) {
    // no-cut rows: positions mapped from 0, the target's count + 1 under "-"
    struct Case {
        const char *header, *dxt, *det, *sizes;
        const char* target_columns;
    };
    const Case cases[] = {
        {"    3    0", "-m", "-n", " mt =    3 nt =    0", "   4.00000   1.00000"},
        {"    0    4", "+n", "-m", " mt =    4 nt =    0", "   1.00000   0.00000"},
        {"    0    0", "-m", "-n", " mt =    0 nt =    0", "   1.00000   1.00000"},
        {"", "-m", "-n", " mt =    0 nt =    0", "   1.00000   1.00000"},
        {"    1    5", "-m", "+n", " mt =    1 nt =    5", "   2.00000   0.00000"},
        {"    5    1", "+m", "+n", " mt =    5 nt =    1", "   0.00000   0.00000"},
    };
    for (const Case& c : cases) {
        std::string target = std::string(c.header) + "\n";
        if (std::string(c.header).size() == 10) {
            int m = 0, n = 0;
            std::sscanf(c.header, "%5d%5d", &m, &n);
            for (int k = 0; k < m * n; ++k) target += "0.5 0.5 0\n";
        }
        Sandbox box(kFoilcut);
        box.write("lines.net", kLines);
        box.write("tgt.net", target);
        const Outcome r = box.run(answers("lines.net", "+m", "+n", "tgt.net", c.dxt, c.det));
        EXPECT_EQ(r.out, dialogue() + " ms =    2 ns =    3\n" + c.sizes + "\n") << c.header;
        std::string table = kHeader;
        for (int j = 1; j <= 3; ++j)
            table += "    0   0.00000   0.00000   0.00000   0.00000   " + std::to_string(j) + ".00000" +
                     c.target_columns + "\n";
        EXPECT_EQ(box.read("foilcut.out"), table) << c.header;
    }
}

TEST(Inputs, ASourceOfOnePointPerLineHasNoSegment) {
    Sandbox box(kKeelcut);
    box.write("pts.net", "    1    2\n0.5 0.5 1\n0.5 0.5 -1\n");
    box.write("plate.net", kPlate);
    const Outcome r = box.run(answers("pts.net", "-m", "+n", "plate.net", "+m", "+n", "1 1", "1 1 1 1"));
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(box.read("keelcut.out"), kHeader +
        "    0   0.00000   0.00000   0.00000   2.00000   1.00000   0.00000   0.00000\n"
        "    0   0.00000   0.00000   0.00000   2.00000   2.00000   0.00000   0.00000\n");
}

TEST(Inputs, OversizeHeadersStopAtTheReaderBeforeTheTargetIsOpened) {
    // 65536 x 65536 and 30000 x 30000 overflow a 32-bit count of cells
    for (const char* header : {"6553665536          big", "3000030000"}) {
        for (const std::string& program : {kFoilcut, kKeelcut}) {
            Sandbox box(program);
            box.write("big.net", std::string(header) + "\n0 0 0\n");
            const Outcome r = box.run(answers("big.net", "+m", "+n", "tgt.net", "+m", "+n"));
            const std::string message = " message from mnread:\n"
                                        " network nw=*****\n"
                                        " greater than work array size mw=*****\n";
            EXPECT_EQ(r.out, program == kFoilcut ? dialogue() + message : message) << header;
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, "");
            EXPECT_FALSE(box.read("tgt.net").has_value()) << "the target was opened";
            EXPECT_FALSE(box.read("foilcut.out").has_value());
            EXPECT_FALSE(box.read("keelcut.out").has_value());
        }
    }
}

TEST(Inputs, FaultyNetworkFilesEndTheRun) {
    struct Case {
        const char* what;
        std::string source;
    };
    const Case cases[] = {
        {"negative count", "   -3    2\n"},
        {"negative count", "    2   -1\n0 0 0\n"},
        {"letter in a count", "    x    2\n"},
        {"a point missing", "    2    2\n0 0 0\n0 0 1\n0 0 2\n"},
        {"a short last point", "    1    2\n0 0 0\n1 2\n"},
        {"four points on one line", "    2    2\n0 0 0 1 1 1 2 2 2 3 3 3\n"},
        {"a letter in a point", "    1    1\n0 x 0\n"},
    };
    for (const Case& c : cases) {
        Sandbox box(kFoilcut);
        box.write("src.net", c.source);
        const Outcome r = box.run(answers("src.net", "+m", "+n", "tgt.net", "+m", "+n"));
        SCOPED_TRACE(c.what);
        EXPECT_EQ(r.out, dialogue());
        expect_io_failure(box, r, "src.net");
        EXPECT_FALSE(box.read("tgt.net").has_value());
    }
}

TEST(Inputs, ABlankFileNameCannotBeOpened) {
    Sandbox box(kKeelcut);
    box.write("plate.net", kPlate);
    const Outcome r = box.run(answers("   ", "+m", "+n", "plate.net", "+m", "+n"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("keelcut"), std::string::npos) << r.err;
    EXPECT_FALSE(box.read("keelcut.out").has_value());
}

// --- a circular cylinder, every orientation of both networks ----------------

// Target: 3 x 5 points, x = 0, 1, 2 along i and the angles 0, 45, .., 180
// degrees round the x axis (radius 1) along j, so that each cell is a flat
// strip on a chord. Source: three radial lines from the axis out to radius 2,
// at x = 0.5 and 22.5 degrees, at x = 1.5 and 112.5 degrees, and at x = 5
// (beyond the target). Each line meets its chord in the middle, at radius
// cos 22.5° = 0.92388, so t = 0.46194.
std::string cylinder() {
    std::string t = "    3    5          cylinder\n";
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 3; ++i) {
            const double a = j * M_PI / 4;
            char line[80];
            std::snprintf(line, sizeof line, "%d %.9g %.9g\n", i, std::cos(a), std::sin(a));
            t += line;
        }
    return t;
}

// The lines as rows (stations along j, two points a row) or as columns
// (stations along i, the points of a line down the rows).
std::string radial_lines(bool as_rows) {
    const double x[3] = {0.5, 1.5, 5.0}, deg[3] = {22.5, 112.5, 22.5};
    auto point = [&](int line, int end) {
        char b[80];
        const double a = deg[line] * M_PI / 180, r = 2.0 * end;
        std::snprintf(b, sizeof b, "%.9g %.9g %.9g\n", x[line], r * std::cos(a), r * std::sin(a));
        return std::string(b);
    };
    std::string s = as_rows ? "    2    3\n" : "    3    2\n";
    for (int j = 0; j < (as_rows ? 3 : 2); ++j)
        for (int i = 0; i < (as_rows ? 2 : 3); ++i) s += as_rows ? point(j, i) : point(i, j);
    return s;
}

TEST(Cylinder, EveryOrientationGivesTheTableInFileOrder) {
    // the positions go back to the files' own directions, so the table is
    // the same for every orientation of the target, and for every
    // orientation of the source that runs along its lines
    const std::string rows_table = kHeader +
        "    1   0.50000   0.85355   0.35355   1.46194   1.00000   1.50000   1.50000\n"
        "    1   1.50000  -0.35355   0.85355   1.46194   2.00000   2.50000   3.50000\n";
    const std::string columns_table = kHeader +
        "    1   0.50000   0.85355   0.35355   1.00000   1.46194   1.50000   1.50000\n"
        "    1   1.50000  -0.35355   0.85355   2.00000   1.46194   2.50000   3.50000\n";
    const char* specs[][2] = {{"+m", "+n"}, {"-m", "+n"}, {"+m", "-n"}, {"-m", "-n"},
                              {"+n", "+m"}, {"-n", "+m"}, {"+n", "-m"}, {"-n", "-m"}};
    // every source orientation on the target as stored, every target
    // orientation under the source as stored
    for (int k = 0; k < 16; ++k) {
        const auto& s = k < 8 ? specs[k] : specs[0];
        const auto& t = k < 8 ? specs[0] : specs[k - 8];
        const bool as_rows = s[0][1] == 'm';
        for (const std::string& program : {kFoilcut, kKeelcut}) {
            Sandbox box(program);
            box.write("cyl.net", cylinder());
            box.write("lines.net", radial_lines(as_rows));
            const Outcome r = box.run(answers("lines.net", s[0], s[1], "cyl.net", t[0], t[1]));
            ASSERT_EQ(r.status, 0);
            const std::string name = program == kFoilcut ? "foilcut" : "keelcut";
            // the line beside the target: no cut, positions mapped from 0
            const std::string along = s[0][0] == '-' ? "   3.00000" : "   0.00000";
            const std::string miss_source = as_rows ? along + "   3.00000" : "   3.00000" + along;
            const bool t_i = t[0][1] == 'm';
            const char t_i_sign = t_i ? t[0][0] : t[1][0], t_j_sign = t_i ? t[1][0] : t[0][0];
            const std::string miss_target = std::string(t_i_sign == '-' ? "   4.00000" : "   0.00000") +
                                            (t_j_sign == '-' ? "   6.00000" : "   0.00000");
            EXPECT_EQ(box.read(name + ".out"), (as_rows ? rows_table : columns_table) +
                                                   "    0   0.00000   0.00000   0.00000" + miss_source +
                                                   miss_target + "\n")
                << name << " source " << s[0] << s[1] << " target " << t[0] << t[1];
            EXPECT_EQ(box.read(name + ".net").value_or("").substr(0, 10), as_rows ? "    2    3" : "    3    2");
        }
    }
}

}  // namespace
}  // namespace intersect_program_test
