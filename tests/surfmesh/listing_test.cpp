// Options 2 and 3 with the real surfmesh: the directory listing to the
// screen or a file, and the reduced IGES file of the type-128 entities,
// read back and meshed.

#include "fixtures.hpp"

#include <gtest/gtest.h>

namespace {

using namespace surfmesh_test;

const std::string kListQ =
    "\n output IGES file directory information to file\n" + q(" enter filename (* for screen): ");
const std::string kReduceQ = "\n output all 128 entities to new IGES file\n" + q(" enter filename: ");
const std::string kHeader = " type psq1 levl view mtrx dsq1 lwgt colr form     label blnk sbsw usef hier";

const std::vector<std::string> kLine110{"110", "0", "0", "0", "1", "1", "0"};

// A row of the listing under "(9i5,2x,a8,4i5)": a value too wide for its
// field shows as asterisks.
std::string row(int e, const IgesFile::Entry& d, const std::string& split)
{
    auto f = [](long v) {
        const std::string s = i5(v);
        return s.size() > 5 ? std::string(5, '*') : s;
    };
    std::string label = d.label;
    label.resize(8, ' ');
    return f(d.type) + f(d.first) + f(d.level) + f(d.view) + f(d.matrix) + f(2L * e - 1) + f(d.weight) + f(d.color) +
           f(d.form) + "  " + label + split + "\n";
}

TEST(Listing, ScreenAndFile)
{
    IgesFile f;
    f.add(128, Surface128{}.values(), "BASESURF");
    for (int e = 2; e <= 11; ++e) f.add(110, kLine110, "L" + std::to_string(e));
    IgesFile::Entry& first = f.entry(1);
    first.level = 3, first.view = 5, first.matrix = 7, first.weight = 2, first.color = 4, first.form = 1;
    first.status = "00010000";
    f.entry(2).status = "00010001";
    f.entry(3).status = "01020304";
    f.entry(4).level = 123456;   // too wide for its column
    f.entry(5).view = -9;
    const std::string splits[] = {"    0    1    0    0", "    0    1    0    1", "    1    2    3    4"};
    std::string rows[12];
    for (int e = 1; e <= 11; ++e) rows[e] = row(e, f.entry(e), e <= 3 ? splits[e - 1] : "    0    0    0    0");
    EXPECT_EQ(rows[1], "  128    1    3    5    7    1    2    4    1  BASESURF    0    1    0    0\n");
    EXPECT_EQ(rows[4].substr(10, 5), "*****");
    EXPECT_EQ(rows[5].substr(15, 5), "   -9");

    // a header before entries 1 and 11, each between empty lines (the
    // first one only ends the prompt's line on the screen)
    std::string listing = "\n" + kHeader + "\n\n";
    for (int e = 1; e <= 10; ++e) listing += rows[e];
    listing += "\n" + kHeader + "\n\n" + rows[11];

    Dialogue d;
    d.read("in.igs", f.counts())
        .say("2", kListQ)
        .say("*", listing + kMenu)
        .say("2", kListQ)
        .say("*   ", listing + kMenu)   // blanks after the asterisk: the screen too
        .say("2", kListQ)
        .say(" *", kMenu)   // names the file "*"
        .say("2", kListQ)
        .say("list.txt", kMenu)
        .quit();
    Sandbox box;
    box.write("in.igs", f.text());
    box.write("list.txt", std::string(5000, 'x') + "\n");
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(box.read("*"), listing);
    EXPECT_EQ(box.read("list.txt"), listing);
}

// With no file read, nothing is written: an old file keeps its content, a
// new one is made empty. A name that cannot be opened ends the run.
TEST(Listing, EmptyTableAndUnopenableNames)
{
    Dialogue d;
    d.say("2", kListQ).say("old.txt", kMenu).say("2", kListQ).say("new.txt", kMenu).quit();
    Sandbox box;
    box.write("old.txt", "old\n");
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(box.read("old.txt"), "old\n");
    EXPECT_EQ(box.read("new.txt"), "");

    box.make_dir("sub");
    IgesFile f = patch_file();
    box.write("in.igs", f.text());
    struct Case {
        const char* answers;
        const char* message;
    };
    for (const Case& c : {Case{"2\nsub\n", "cannot open the listing file"}, Case{"2\n   \n", "cannot open the listing"},
                          Case{"3\nsub\n", "cannot open the IGES file"},
                          Case{"3\nfort.14\n", "cannot open a file that is open already, file 'fort.14'"}}) {
        Outcome o = box.run("1\nin.igs\n" + std::string(c.answers));
        EXPECT_EQ(o.status, 1) << c.answers;
        EXPECT_NE(o.err.find(c.message), std::string::npos) << o.err;
    }
}

// The reduced file of a file holding only type-128 entities is the file
// itself but for the status numbers, which lose their leading zeros; read
// back, it meshes as the original does.
TEST(Reduced, SurfacesAloneComeBackUnchanged)
{
    IgesFile f = patch_file(2);
    f.global.push_back("a second global line");
    f.entry(2).status = "00010000";
    f.entry(2).matrix = 7;   // copied as it stands
    IgesFile want = f;
    want.entry(1).status = "       0";
    want.entry(2).status = "   10000";

    Dialogue d;
    d.read("in.igs", f.counts());
    d.mesh().say("0", q(" enter # of u and # of v points to define mesh: "));
    d.say("3 2", kFormatMenu).say("3", q(" enter new mesh filename: ")).say("in.net", kMenu);
    d.say("3", kReduceQ).say("out.igs", kMenu);
    d.read("out.igs", f.counts());
    d.mesh().say("0", q(" enter # of u and # of v points to define mesh: "));
    d.say("3 2", kFormatMenu).say("3", q(" enter new mesh filename: ")).say("out.net", kMenu).quit();
    Sandbox box;
    box.write("in.igs", f.text());
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(box.read("out.igs"), want.text());
    EXPECT_EQ(box.read("out.net"), box.read("in.net"));
    EXPECT_EQ(parse_networks(*box.read("out.net")).size(), 2u);
}

// Surfaces of 5 and 3 parameter lines around a curve of 4: new pointers 1
// and 6, back pointers 1 and 3, the curve's lines read past.
TEST(Reduced, OtherEntitiesLeftOut)
{
    const std::vector<std::string> five{"128,1,1,1,1,0,0,1,0,0,", "0.,0.,1.,1.,0.,0.,1.,1.,", "1.,1.,1.,1.,",
                                        "0.,0.,0.,1.,0.,0.,0.,1.,0.,1.,1.,0.,", "0.,1.,0.,1.;"};
    const std::vector<std::string> four{"126,1,1,1,0,1,0,", "0.,0.,1.,1.,1.,1.,", "0.,0.,0.,1.,1.,0.,",
                                        "0.,1.,0.,0.,1.;"};
    const std::vector<std::string> three{"128,1,1,1,1,0,0,1,0,0,0.,0.,1.,1.,0.,0.,1.,1.,1.,1.,1.,1.,",
                                         "0.,0.,0.,2.,0.,0.,0.,2.,0.,2.,2.,0.,", "0.,1.,0.,1.;"};
    IgesFile f;
    f.add_lines(128, five, "FIVE");
    f.add_lines(126, four, "CURVE");
    f.add_lines(128, three, "THREE");
    f.entry(3).view = 3;   // the curve's old sequence number: it dangles
    IgesFile want;
    want.add_lines(128, five, "FIVE");
    want.add_lines(128, three, "THREE");
    want.entry(2).view = 3;
    for (int e : {1, 2}) want.entry(e).status = "       0";

    Sandbox box;
    box.write("in.igs", f.text());
    Outcome r = box.run("1\nin.igs\n3\nout.igs\n6\n");
    EXPECT_EQ(r.status, 0);
    const std::string got = *box.read("out.igs");
    EXPECT_EQ(got, want.text());
    const std::vector<std::string> ls = test_support::split_lines(got);
    ASSERT_EQ(ls.size(), 1u + 1 + 4 + 8 + 1);
    EXPECT_EQ(ls[4].substr(8, 8), "       6");
    EXPECT_EQ(ls[10].substr(64, 16), "       1P      5");
    EXPECT_EQ(ls[11].substr(64, 16), "       3P      6");
    EXPECT_EQ(ls[14], "S      1G      1D      4P      8" + std::string(40, ' ') + "T      1");

    // no type-128 entity: the start and global sections and the counts
    IgesFile curves;
    curves.add_lines(126, four);
    box.write("in.igs", curves.text());
    ASSERT_EQ(box.run("1\nin.igs\n3\nout.igs\n6\n").status, 0);
    EXPECT_EQ(box.read("out.igs"), iges_line("hand-made test file", 'S', 1) + iges_line("1H,,1H;,4Htest;", 'G', 1) +
                                       iges_line("S      1G      1D      0P      0", 'T', 1));
}

// A parameter section shorter than the line counts ends the run; the
// lines written before stay.
TEST(Reduced, ShortParameterSection)
{
    IgesFile f = patch_file();
    const long lines = f.counts().p;
    f.entry(1).count = lines + 3;
    Sandbox box;
    box.write("in.igs", f.text());
    Outcome r = box.run("1\nin.igs\n3\nout.igs\n6\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("fort.14"), std::string::npos) << r.err;
    const std::vector<std::string> got = test_support::split_lines(*box.read("out.igs"));
    ASSERT_EQ(got.size(), static_cast<std::size_t>(1 + 1 + 2 + lines));
    EXPECT_EQ(got.back().substr(72), "P" + fmt_int("%7ld", lines));
}

// Before any file is read only the terminate line is written; scratch
// files left by an earlier run are neither read nor deleted.
TEST(Reduced, LeftoversOfAnEarlierRun)
{
    Sandbox box;
    const char* const scratch[] = {"fort.11", "fort.12", "fort.13", "fort.14", "fort.15"};
    for (const char* s : scratch) box.write(s, iges_line("left over", 'S', 1));
    Outcome r = box.run("3\nout.igs\n6\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(box.read("out.igs"), "S      0G      0D      0P      0" + std::string(40, ' ') + "T      1\n");
    for (const char* s : scratch) EXPECT_EQ(box.read(s), iges_line("left over", 'S', 1)) << s;
}

}  // namespace
