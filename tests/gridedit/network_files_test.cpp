// input and output: network files read and written by the running program.

#include "session.hpp"

#include <cstdlib>
#include <gtest/gtest.h>
#include <tuple>

namespace gridedit_test {
namespace {

// A network file in free layout, one "x y z" line per point, j outer.
template <class F>
std::string grid_file(const std::string& header, int ni, int nj, F xyz)
{
    std::string s = header + "\n";
    for (int j = 1; j <= nj; ++j)
        for (int i = 1; i <= ni; ++i) {
            auto [x, y, z] = xyz(i, j);
            s += " " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z) + "\n";
        }
    return s;
}

TEST(Input, MissingFileAsksForTheNameAgain)
{
    Dialogue d;
    d.say("input", ask(kNameQ)).say("nothere.net", line(kReadErr) + ask(kNameQ));
    d.refused_name(kMissing, "nothere.net").say("backup").again();
    d.quit();

    Sandbox box;
    expect_end(run_dialogue(box, d), d);
    EXPECT_EQ(d.errors(),
              "gridedit: cannot open (No such file or directory), file 'nothere.net' (answers line 2)\n");
}

// An open refused with EPERM, as a security module or a FUSE file system
// may refuse one, is named as every refused open is: EPERM is 1, and is no
// kind of network file error. The shim refuses every open of the name.
TEST(InputAndOutput, AnOpenRefusedWithEpermIsNamedSo)
{
    Sandbox box;
    box.write("locked.net", net_file(1, 1, "Locked", [](int, int) { return point(1, 2, 3); }));
    Dialogue d;
    d.say("input", ask(kNameQ)).say("locked.net", line(kReadErr) + ask(kNameQ));
    d.refused_name(kNotPermitted, "locked.net").say("backup").again();
    d.say("output", ask(kNameQ)).say("locked.net", line(kWriteErr) + ask(kNameQ));
    d.refused_name(kNotPermitted, "locked.net").say("backup").again();
    d.quit();

    // a sanitized program lets the shim come first
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string asan_options = std::string(asan ? asan : "") + ":verify_asan_link_order=0";
    const Outcome r = box.run(d.answers(), {{"LD_PRELOAD", EPERM_SHIM},
                                            {"SUITE_EPERM_FILE", "locked.net"},
                                            {"ASAN_OPTIONS", asan_options}});
    EXPECT_EQ(r.out, d.transcript());
    expect_end(r, d);
    EXPECT_EQ(d.errors(), "gridedit: cannot open (Operation not permitted), file 'locked.net' (answers line 2)\n"
                          "gridedit: cannot open (Operation not permitted), file 'locked.net' (answers line 5)\n");
}

TEST(Input, ReadsTheHeaderColumnsAndPointsInAnyLayout)
{
    Sandbox box;
    box.write("hull.net",
              "    3    2   -7     Test hull\n"
              "  0.10000000E+00  0.12500000E-02 -0.25000000E+01\n"
              "  1.00000000E+00  2.00000000E+00  3.00000000E+00\n"
              "4 5\n"
              "6\n"
              "\n"
              "7.5,-8,0.3 0.25 1e1\n"
              "-1.0 2.5E-1 1000.\n"
              "  9 8 7\n"  // the rest of the last record is not read
              "    1    1          second network\n"
              "  5 5 5\n");
    Dialogue d;
    d.say("input", ask(kNameQ)).say("hull.net   ");
    d.net.title = title60("Test hull");
    d.net.imax = 3;
    d.net.jmax = 2;
    d.net.klue = -7;
    d.ok();
    d.say("output", ask(kNameQ)).say("out.net").ok();
    d.quit();

    expect_clean_end(run_dialogue(box, d));
    EXPECT_EQ(box.read("out.net"), "    3    2   -7     Test hull\n" +
                                       point("1.00000001E-01", "1.24999997E-03", "-2.50000000E+00") +
                                       point("1.00000000E+00", "2.00000000E+00", "3.00000000E+00") +
                                       point("4.00000000E+00", "5.00000000E+00", "6.00000000E+00") +
                                       point("7.50000000E+00", "-8.00000000E+00", "3.00000012E-01") +
                                       point("2.50000000E-01", "1.00000000E+01", "-1.00000000E+00") +
                                       point("2.50000000E-01", "1.00000000E+03", "9.00000000E+00"));
}

TEST(Input, HeaderIsReadByFixedColumns)
{
    const std::string sixty = "Keel fin, root at z = 0, tip at z = -1.8, twelve sections ok";
    ASSERT_EQ(sixty.size(), 60u);
    struct Case {
        const char* what;
        std::string file;
        std::string title;
        int imax, jmax, klue;
    };
    const Case cases[] = {
        // An empty list still takes one record, as writnet writes it.
        {"zero counts", "    0    0          Empty\n\n", title60("Empty"), 0, 0, 0},
        {"counts not in their columns", "3 2\n\n", title60(""), 32, 0, 0},
        {"klue written as 0", "    1    1    0     Zero klue\n 1 2 3\n", title60("Zero klue"), 1, 1, 0},
        {"title beyond column 80", "    1    1   12     " + sixty + "0123456789\n 1 2 3\n", sixty, 1, 1, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox box;
        box.write("h.net", c.file);
        Dialogue d;
        d.say("input", ask(kNameQ)).say("h.net");
        d.net.title = c.title;
        d.net.imax = c.imax;
        d.net.jmax = c.jmax;
        d.net.klue = c.klue;
        d.ok();
        d.quit();
        expect_clean_end(run_dialogue(box, d));
    }
}

TEST(Input, FailedReadLeavesTheNetworkAsItWas)
{
    const std::string original = "    2    2    5     Original\n" + point(1, 0, 0) + point(2, 0, 0) +
                                 point(1, 1, 0) + point(2, 1, 0);
    const std::string nines = " 9 9 9\n 9 9 9\n 9 9 9\n 9 9 9\n";
    struct Case {
        const char* what;
        std::string file;
    };
    const Case cases[] = {
        {"bad point", "    2    2    9     Bad point\n 9 9 9\n 9 x 9\n 9 9 9\n 9 9 9\n"},
        {"file ends early", "    2    2    9     Short\n 9 9 9\n 9 9 9\n"},
        {"too many i", "  482    1    9     Big\n" + nines},
        {"too many j", "    1  482    9     Big\n" + nines},
        {"negative i", "   -1    2    9     Negative\n" + nines},
        {"negative j", "    2   -2    9     Negative\n" + nines},
        {"letter in a count", "    a    2    9     Letter\n" + nines},
        {"sign alone in klue", "    2    2    +     Plus\n" + nines},
        {"empty file", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Sandbox box;
        box.write("good.net", original);
        box.write("bad.net", c.file);
        Dialogue d;
        d.say("input", ask(kNameQ)).say("good.net");
        d.net.title = title60("Original");
        d.net.imax = d.net.jmax = 2;
        d.net.klue = 5;
        d.ok();
        d.say("input", ask(kNameQ)).say("bad.net", line(kReadErr) + ask(kNameQ)).refused_name(kNotNetwork, "bad.net");
        d.say("backup").again();
        d.say("output", ask(kNameQ)).say("after.net").ok();
        d.quit();
        expect_end(run_dialogue(box, d), d);
        EXPECT_EQ(box.read("after.net"), original);
    }
}

TEST(Subblock, InputAndOutputWorkOnTheBlockAlone)
{
    Sandbox box;
    box.write("a.net", grid_file("    4    3          Four by three", 4, 3, [](int i, int j) {
                  return std::tuple{i, j, 0};
              }));
    box.write("big.net", grid_file("    4    3    8     Big", 4, 3, [](int, int) { return std::tuple{9, 9, 9}; }));
    box.write("small.net", grid_file("    2    3    8     Small", 2, 3, [](int, int) { return std::tuple{9, 9, 9}; }));
    box.write("b.net", grid_file("    3    3    4     Patch", 3, 3, [](int i, int j) {
                  return std::tuple{10 + i, 20 + j, 5};
              }));
    box.write("badblock.net", "    3    3    6     Bad block\n 77 77 77\n 77 oops 77\n");
    box.write("keep.net", "keep me\n");

    Dialogue d;
    d.say("input", ask(kNameQ)).say("a.net");
    d.net.title = title60("Four by three");
    d.net.imax = 4;
    d.net.jmax = 3;
    d.ok();
    d.say("setblock", line(kSetblock) + ask(kIQ)).say("2 4", ask(kJQ)).say("1 3");
    d.net.set_block(2, 4, 1, 3);
    d.ok();
    // The file's counts must equal the block's, in either direction.
    d.say("input", ask(kNameQ))
        .say("big.net", readnet_size_error(4, 3, 3, 3) + line(kReadErr) + ask(kNameQ))
        .refused_name(kNotNetwork, "big.net")
        .say("small.net", readnet_size_error(2, 3, 3, 3) + line(kReadErr) + ask(kNameQ))
        .refused_name(kNotNetwork, "small.net")
        .say("backup")
        .again();
    d.say("input", ask(kNameQ)).say("b.net");
    d.net.title = title60("Patch");
    d.net.klue = 4;
    d.ok();
    d.say("input", ask(kNameQ)).say("badblock.net", line(kReadErr) + ask(kNameQ));
    d.refused_name(kNotNetwork, "badblock.net").say("backup").again();
    d.say("output", ask(kNameQ))
        .say("keep.net", ask(kSubQ))
        .say(" y", ask(kSubQ))
        .refused()
        .say("yes", ask(kSubQ))
        .refused()
        .say("", ask(kSubQ))
        .refused()
        .say("n")
        .ok();
    d.say("output", ask(kNameQ)).say("blk.net", ask(kSubQ)).say("Y").ok();
    d.say("setblock", line(kSetblock) + ask(kIQ)).say("0 0", ask(kJQ)).say("0 0");
    d.net.block = false;
    d.ok();
    d.say("output", ask(kNameQ)).say("whole.net").ok();
    d.quit();

    expect_end(run_dialogue(box, d), d);
    EXPECT_EQ(box.read("keep.net"), "keep me\n");  // "n": not even opened

    std::string block = "    3    3    4     Patch\n";
    for (int j = 1; j <= 3; ++j)
        for (int i = 1; i <= 3; ++i) block += point(10 + i, 20 + j, 5);
    EXPECT_EQ(box.read("blk.net"), block);

    std::string whole = "    4    3    4     Patch\n";
    for (int j = 1; j <= 3; ++j) {
        whole += point(1, j, 0);
        for (int i = 1; i <= 3; ++i) whole += point(10 + i, 20 + j, 5);
    }
    EXPECT_EQ(box.read("whole.net"), whole);
}

TEST(Output, BeforeAnyInputWritesTheNulTitleAndZeroPoints)
{
    Sandbox box;
    box.write("fresh.net", "an older and longer content\nof three\nrecords\n");
    Dialogue d;
    d.say("ijmax", ask(kIjmaxQ)).say("2 1");
    d.net.imax = 2;
    d.net.jmax = 1;
    d.ok();
    d.say("output", ask(kNameQ)).say("fresh.net").ok();
    d.quit();

    expect_clean_end(run_dialogue(box, d));
    EXPECT_EQ(box.read("fresh.net"), "    2    1          " + kNulTitle + "\n" + point(0, 0, 0) + point(0, 0, 0));
}

TEST(Ijmax, PointsBeyondTheCountsKeepWhatAnEarlierNetworkLeft)
{
    Sandbox box;
    box.write("large.net", grid_file("    3    3          Large", 3, 3, [](int i, int j) {
                  return std::tuple{i, j, 1};
              }));
    box.write("small.net", grid_file("    2    2          Small", 2, 2, [](int i, int j) {
                  return std::tuple{-i, -j, 2};
              }));
    Dialogue d;
    d.say("input", ask(kNameQ)).say("large.net");
    d.net.title = title60("Large");
    d.net.imax = d.net.jmax = 3;
    d.ok();
    d.say("input", ask(kNameQ)).say("small.net");
    d.net.title = title60("Small");
    d.net.imax = d.net.jmax = 2;
    d.ok();
    d.say("ijmax", ask(kIjmaxQ)).say("3 3");
    d.net.imax = d.net.jmax = 3;
    d.ok();
    d.say("output", ask(kNameQ)).say("out.net").ok();
    d.quit();

    expect_clean_end(run_dialogue(box, d));
    EXPECT_EQ(box.read("out.net"), "    3    3          Small\n" +
                                       point(-1, -1, 2) + point(-2, -1, 2) + point(3, 1, 1) +
                                       point(-1, -2, 2) + point(-2, -2, 2) + point(3, 2, 1) +
                                       point(1, 3, 1) + point(2, 3, 1) + point(3, 3, 1));
}

TEST(Output, UnopenableNameAsksForTheNameAgain)
{
    Sandbox box;
    box.make_dir("adir");
    Dialogue d;
    d.say("output", ask(kNameQ)).say("adir", line(kWriteErr) + ask(kNameQ)).refused_name(kIsDir, "adir");
    d.say("backup").again();
    d.quit();

    expect_end(run_dialogue(box, d), d);
}

}  // namespace
}  // namespace gridedit_test
