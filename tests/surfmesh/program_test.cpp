// The menu, the IGES reader and the store's scratch files, with the real
// surfmesh in a scratch directory.

#include "fixtures.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace surfmesh_test;

const char* const kScratch[] = {"fort.11", "fort.12", "fort.13", "fort.14", "fort.15", "fort.21"};

void expect_no_scratch(const Sandbox& box)
{
    for (const char* f : kScratch) EXPECT_FALSE(box.read(f)) << f;
}

TEST(Menu, BannerMenuAndQuit)
{
    Sandbox box;
    Outcome r = box.run("6\n");
    EXPECT_EQ(r.out, kBanner + kMenu);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.status, 0);
    expect_no_scratch(box);
}

TEST(Menu, OtherAnswersShowTheMenuAgain)
{
    Dialogue d;
    for (const char* a : {"0", "7", "-1", "abc", "1.5"}) d.say(a, kMenu);
    // nothing read yet: an empty listing, a reduced file of the terminate
    // line alone, and no entity of either type to mesh
    d.say("2", "\n output IGES file directory information to file\n" + q(" enter filename (* for screen): "))
        .say("*", kMenu)
        .say("3", "\n output all 128 entities to new IGES file\n" + q(" enter filename: "))
        .say("empty.igs", kMenu)
        .say("5", kTrimHead + kMenu)
        .say("4", kMeshHead + kMenu)
        .say("\n6 and the rest");   // an empty line is passed over
    Sandbox box;
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(r.status, 1);   // answers asked again
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(box.read("empty.igs"), "S      0G      0D      0P      0" + std::string(40, ' ') + "T      1\n");
    // a second run with the same answers writes the same transcript
    EXPECT_EQ(box.run(d.answers()).out, r.out);
}

TEST(Menu, EndOfAnswersEndsTheRun)
{
    Sandbox box;
    for (const char* input : {"", "1\n", "1\nnone.igs\n"}) {
        Outcome r = box.run(input);
        EXPECT_EQ(r.status, 1) << input;
        EXPECT_NE(r.err.find("standard input"), std::string::npos) << r.err;
    }
}

TEST(Reader, SectionsToScratchFiles)
{
    IgesFile f = patch_file();
    f.global.push_back("second global line");
    Sandbox box;
    box.write("in.igs", f.text());
    Dialogue d;
    d.say("1", kFileQ).say("missing.igs", kFileQ).say("   ", kFileQ).say("in.igs", read_report(f.counts()) + kMenu);
    d.say("6");
    // stopped before the quit: the files as the reader left them
    Outcome r = box.run(d.answers().substr(0, d.answers().size() - 2));
    EXPECT_EQ(r.out, d.transcript());
    const std::vector<std::string> all = test_support::split_lines(f.text());
    auto expect_section = [&](const char* file, char letter) {
        std::string want;
        for (const std::string& l : all)
            if (l[72] == letter) want += l + "\n";
        EXPECT_EQ(box.read(file), want) << file;
    };
    expect_section("fort.11", 'S');
    expect_section("fort.12", 'G');
    expect_section("fort.13", 'D');
    expect_section("fort.14", 'P');
    expect_section("fort.15", 'T');
    // the quit deletes them; the names refused make the run a failed one
    r = box.run(d.answers());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "surfmesh: cannot open (No such file or directory), file 'missing.igs' (answers line 2)\n"
                     "surfmesh: cannot open (No such file or directory), file '' (answers line 3)\n");
    expect_no_scratch(box);
}

// Option 1 deletes the store before it asks: the old fort.11 cannot be opened.
TEST(Reader, OptionOneTwice)
{
    Sandbox box;
    IgesFile a = patch_file(), b = patch_file(3);
    box.write("a.igs", a.text());
    box.write("b.igs", b.text());
    Dialogue d;
    d.read("a.igs", a.counts()).say("1", kFileQ).say("fort.11", kFileQ).say("b.igs", read_report(b.counts()) + kMenu);
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(r.status, 1);   // the answers end without a quit
    EXPECT_EQ(test_support::split_lines(*box.read("fort.13")).size(), 6u);
}

// Leftovers of an earlier run are never read, and a quit leaves what this run did not make.
TEST(Reader, LeftoverScratchFiles)
{
    Sandbox box;
    const std::string junk = "left over\n";
    for (const char* f : kScratch) box.write(f, junk);
    EXPECT_EQ(box.run("6\n").status, 0);
    for (const char* f : kScratch) EXPECT_EQ(box.read(f), junk) << f;

    // a file without global section leaves fort.12 empty
    IgesFile g = patch_file();
    g.global.clear();
    box.write("g.igs", g.text());
    Dialogue dg;
    dg.read("g.igs", g.counts());
    EXPECT_EQ(box.run(dg.answers()).out, dg.transcript());
    EXPECT_EQ(box.read("fort.12"), "");

    // an entity whose one line starts with ";" writes nothing to fort.21
    IgesFile f;
    f.add(128, {""});
    box.write("in.igs", f.text());
    box.write("fort.21", "128,1,1,1,1,0,0,1,0,0,0,0,1,1,0,0,1,1,1,1,1,1,0,0,0,1,0,0,0,1,0,1,1,0,0,1,0,1\n");
    Dialogue d;
    d.read("in.igs", f.counts()).mesh().say("1", kRelQ).spec("1", "t", "0 0 0", "2 1 1 1 0 0", "2 1 1 1 0 0");
    d.file("3", "out.net");
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("fort.21"), std::string::npos) << r.err;
    EXPECT_EQ(box.read("out.net"), "");
}

struct BadFile {
    const char* what;
    std::string text;
    std::string report;   // what follows the file name on the screen
    int status;
};

std::string T(int n) { return iges_line("S      1G      1D      0P      0", 'T', n); }

TEST(Reader, FaultyFiles)
{
    const std::string S = iges_line("start", 'S', 1), G = iges_line("1H,,1H;;", 'G', 1),
                      P = iges_line("999;", 'P', 1), D1 = iges_line("     999       1", 'D', 1),
                      D2 = iges_line("     999       0       0       1", 'D', 2);
    const std::string none = "\n is  =       0\n ig  =       0\n ient=       0\n ip  =       0\n";
    const std::string tline = " reading terminate section\n";
    const std::string err = " error reading file\n";
    const std::string full = S + G + D1 + D2 + P;
    const std::string full_report = read_report({1, 1, 1, 1, 0});
    const std::string upto_t = full_report.substr(0, full_report.rfind(" it  ="));
    const std::string read_t = read_report({1, 1, 1, 1, 1}) + kMenu;
    const std::vector<BadFile> cases = {
        {"empty file", "", "", 1},
        {"end inside S", S, "", 1},
        {"end inside G", S + G, "", 1},
        {"end between the lines of a directory pair", S + G + D1, "", 1},
        {"end inside P", S + G + D1 + D2 + P, "", 1},
        {"non-numeric directory field", S + G + iges_line("     1x8", 'D', 1) + D2 + P + T(1), "", 1},
        {"no section letter", "hello\n", none + err, 1},
        {"lines shorter than 73 columns", "S0000001\nT0000001\n", none + err, 1},
        {"all blank", "   \n\n", none + err, 1},
        {"blank line after P", full + "\n" + T(1), upto_t + err, 1},
        {"T, blank, T", full + T(1) + "\n" + T(2), upto_t + tline + err, 1},
        {"Ctrl-Z at the end", full + T(1) + "\x1a\n", upto_t + tline + err, 1},
        {"tab line at the end", full + T(1) + "\t\n", upto_t + tline + err, 1},
        {"odd number of D lines", S + G + D1 + P + T(1),
         "\n reading start section\n is  =       1\n reading global section\n ig  =       1\n"
         " reading directory section\n error reading directory section\n",
         1},
        {"trailing blank lines", full + T(1) + "\n  \r\n" + std::string(80, ' ') + "\n\r", read_t, 0},
        {"no final newline", full + T(1).substr(0, 80), read_t, 0},
    };
    for (const BadFile& c : cases) {
        Sandbox box;
        box.write("in.igs", c.text);
        Outcome r = box.run("1\nin.igs\n6\n");
        EXPECT_EQ(r.status, c.status) << c.what;
        if (c.report.empty()) {   // ended by the text layer
            EXPECT_NE(r.err.find("in.igs"), std::string::npos) << c.what << ": " << r.err;
            EXPECT_EQ(r.out.substr(0, (kBanner + kMenu + kFileQ).size()), kBanner + kMenu + kFileQ);
        } else {
            EXPECT_EQ(r.out, kBanner + kMenu + kFileQ + c.report) << c.what;
            EXPECT_EQ(r.err, "") << c.what;
        }
    }
}

TEST(Reader, TerminateLinesBeforeAnError)
{
    Sandbox box;
    IgesFile f = patch_file();
    box.write("in.igs", f.text() + "\n" + T(2));
    EXPECT_EQ(box.run("1\nin.igs\n6\n").status, 1);
    const std::string text = f.text();
    const std::string t_line = text.substr(text.rfind('\n', text.size() - 2) + 1);
    EXPECT_EQ(box.read("fort.15"), t_line);   // the stop leaves the files it made
}

// Directory entries of type 0 pointing nowhere: only the count matters.
std::string directory(int entries)
{
    std::string s = iges_line("start", 'S', 1);
    const std::string a = std::string(7, ' ') + "0", b = std::string(7, ' ') + "0";
    for (int e = 1; e <= entries; ++e) s += iges_line(a, 'D', 2 * e - 1) + iges_line(b, 'D', 2 * e);
    return s + T(1);
}

TEST(Reader, DirectoryCapacity)
{
    Sandbox box;
    box.write("full.igs", directory(5000));
    Outcome r = box.run("1\nfull.igs\n6\n");
    EXPECT_EQ(r.out, kBanner + kMenu + kFileQ + read_report({1, 0, 5000, 0, 1}) + kMenu);
    box.write("over.igs", directory(5001));
    r = box.run("1\nover.igs\n6\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, kBanner + kMenu + kFileQ + "\n reading start section\n is  =       1\n ig  =       0\n"
                         " reading directory section\n error reading directory section (ient>maxent)\n");
    // the 5001st entry's line is not stored
    EXPECT_EQ(test_support::split_lines(*box.read("fort.13")).size(), 10000u);
}

}  // namespace
