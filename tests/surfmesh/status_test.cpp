// surfmesh's exit status, with the real program: every stop after a
// failure's message ends with status 1; a run that asked an answer again
// ends with status 1 at its quit, a refused file name with one line on
// standard error; a name past its field is never opened; a normal end is 0.

#include "fixtures.hpp"

#include <gtest/gtest.h>

namespace {

using namespace surfmesh_test;

const std::string kUniform3 = "3 1 1 1 0 0";
const std::string kMeshQ = q(" enter new mesh filename: ");
const std::string kNameTooLong = "name longer than the 255 columns of its field";

// A trimmed surface on entry 1 over the surface on entry 2; with a segment,
// its outer boundary: a 142 on entry 3, a 102 on entry 4, the segment on 5.
IgesFile trimmed_file(const Surface128& base, const std::vector<std::string>& segment = {})
{
    IgesFile f;
    f.add(144, {"144", "3", segment.empty() ? "0" : "1", "0", "5"}, "TRIM");
    f.add(128, base.values(), "BASE");
    if (segment.empty()) return f;
    f.add(142, {"142", "0", "3", "7", "0", "1"});
    f.add(102, {"102", "1", "9"});
    f.add(126, segment);
    return f;
}

// A segment of degree 1 from (0, 0) to (1, 1) of the surface's parameters,
// both weights w.
std::vector<std::string> diagonal(const char* w)
{
    return {"126", "1", "1", "1", "0", "1", "0", "0", "0", "1", "1", w,   w,   "0", "0", "0", "1", "1", "0",
            "0",   "1", "0", "0", "1"};
}

Surface128 with_k1(int k1)
{
    Surface128 s;
    s.k1 = k1;
    return s;
}

Surface128 weightless()
{
    Surface128 s;
    s.w.assign(4, "0");
    return s;
}

// The answers that read the file and make one 3 x 3 mesh of its first
// entity of the command's type (4 or 5) into a network file, then quit.
std::string one_mesh(const IgesFile& f, char option)
{
    Dialogue d;
    d.read("in.igs", f.counts());
    if (option == '4')
        d.mesh();
    else
        d.trimmed();
    d.specified().spec("1", "t", "0 0 0", kUniform3, kUniform3).file("3", "out.net").quit();
    return d.answers();
}

// The answers that make 5001 specifications of the command's first entity.
std::string full_table(const IgesFile& f, char option)
{
    Dialogue d;
    d.read("in.igs", f.counts());
    if (option == '4')
        d.mesh();
    else
        d.trimmed();
    d.specified();
    for (int k = 0; k < 5000; ++k) d.spec("1", "t", "0 0 0", "2 1 1 1 0 0", "2 1 1 1 0 0");
    return d.say("1").quit().answers();
}

std::string limits(const char* v)
{
    return lines({"  stopping for insufficient array size", "", "     kk   kk   mm   mm", "   481  481    8    8", "",
                  "     k1   k2   m1   m2", v});
}

struct StopRow {
    const char* stop;      // the row's name: the message
    std::string igs;       // in.igs
    std::string answers;   // a quit after the stop
    std::string tail;      // standard output ends with it: the stop
};

// Every stop after a failure's message. Not in the table: the stops for
// an entity not found, which the dialogue cannot reach (it takes only the
// numbers of entities the file has), and the limit of the table for all
// meshes, which a file's 5000 directory entries keep from being reached.
std::vector<StopRow> stop_rows()
{
    const std::string good = patch_file().text();
    std::string directory = iges_line("start", 'S', 1);
    for (int e = 1; e <= 5001; ++e)
        directory += iges_line("       0", 'D', 2 * e - 1) + iges_line("       0", 'D', 2 * e);
    directory += iges_line("S      1G      0D  10002P      0", 'T', 1);
    std::string odd = good;   // the second line of the one directory pair dropped
    const std::size_t d2 = odd.find("D      2\n");
    odd.erase(odd.rfind('\n', d2) + 1, 81);
    std::string blank = good;   // a blank line before the terminate line
    blank.insert(blank.rfind('\n', blank.size() - 2) + 1, "\n");

    const IgesFile big = []() {
        IgesFile f;
        f.add(128, with_k1(482).values());
        return f;
    }();
    const IgesFile zero = []() {
        IgesFile f;
        f.add(128, weightless().values());
        return f;
    }();
    const std::string read = "1\nin.igs\n6\n";
    const IgesFile trim = trimmed_file(Surface128{});
    const IgesFile trim_big = trimmed_file(with_k1(482));
    const IgesFile trim_kc = trimmed_file(Surface128{}, {"126", "1002", "3", "0", "0", "0", "0"});
    const IgesFile trim_zero = trimmed_file(weightless());
    const IgesFile trim_zero_boundary = trimmed_file(Surface128{}, diagonal("0"));
    return {
        {"error reading directory section (ient>maxent)", directory, read,
         " reading directory section\n error reading directory section (ient>maxent)\n"},
        {"error reading directory section", odd, read,
         " reading directory section\n error reading directory section\n"},
        {"error reading file", blank, read, " ip  =" + i8(patch_file().counts().p) + "\n error reading file\n"},
        {"stopping ... iout= > ioutmx= (option 4)", good, full_table(patch_file(), '4'),
         " stopping ... iout= 5001 > ioutmx= 5000\n"},
        {"stopping ... iout= > ioutmx= (option 5)", trim.text(), full_table(trim, '5'),
         " stopping ... iout= 5001 > ioutmx= 5000\n"},
        {"stopping for insufficient array size, k1 k2 m1 m2 (option 4)", big.text(), one_mesh(big, '4'),
         limits("   482    1    1    1")},
        {"stopping for insufficient array size, k1 k2 m1 m2 (option 5)", trim_big.text(), one_mesh(trim_big, '5'),
         limits("   482    1    1    1")},
        {"stopping for insufficient array size, kc mc", trim_kc.text(), one_mesh(trim_kc, '5'),
         lines({"  stopping for insufficient array size", "", "    kkc  mmc", "  1001    8", "", "     kc   mc",
                "  1002    3"})},
        {"stopping ... iges 128 entity # gives a point that is not finite", zero.text(), one_mesh(zero, '4'),
         " stopping ... iges 128 entity #    1 gives a point that is not finite\n"},
        {"stopping ... iges 144 entity # gives a point that is not finite", trim_zero.text(), one_mesh(trim_zero, '5'),
         " stopping ... iges 144 entity #    1 gives a point that is not finite\n"},
        {"stopping ... iges 144 entity # boundary gives a point that is not finite", trim_zero_boundary.text(),
         one_mesh(trim_zero_boundary, '5'),
         " stopping ... iges 144 entity #    1 boundary gives a point that is not finite\n"},
    };
}

TEST(Status, EveryStopEndsWithOne)
{
    for (const StopRow& row : stop_rows()) {
        Sandbox box;
        box.write("in.igs", row.igs);
        const Outcome r = box.run(row.answers);
        EXPECT_EQ(r.status, 1) << row.stop;
        EXPECT_EQ(r.err, "") << row.stop;
        // the stop ends the output: no menu after it
        ASSERT_GE(r.out.size(), row.tail.size()) << row.stop;
        EXPECT_EQ(r.out.substr(r.out.size() - row.tail.size()), row.tail) << row.stop;
    }
}

struct RefusedRow {
    const char* what;
    Dialogue d;        // the answers, the one asked again among them, up to the quit
    std::string err;   // on standard error
    std::string igs;   // in.igs
};

// The answers that take option 4 to its option menu, and the dialogue after
// it that makes one 3 x 3 mesh into a network file.
Dialogue to_options()
{
    Dialogue d;
    d.read("in.igs", patch_file().counts()).mesh();
    return d;
}
Dialogue& one_spec(Dialogue& d, const std::string& rel = "1")
{
    return d.spec(rel, "t", "0 0 0", kUniform3, kUniform3).file("3", "out.net").quit();
}

const std::string kFileTooLong = "in.igs" + std::string(249, ' ') + "x";   // column 256 past the field

std::vector<RefusedRow> refused_rows()
{
    const std::string report = read_report(patch_file().counts()) + kMenu;
    std::vector<RefusedRow> rows;
    const std::string patch = patch_file().text();
    auto add = [&rows, &patch](const char* what, const Dialogue& d, std::string err = "", std::string igs = "") {
        rows.push_back({what, d, std::move(err), igs.empty() ? patch : std::move(igs)});
    };
    add("menu: a word", Dialogue().say("abc", kMenu).quit());
    add("menu: an integer outside 1 to 6", Dialogue().say("7", kMenu).quit());
    add("IGES file that does not exist",
        Dialogue().say("1", kFileQ).say("missing.igs", kFileQ).say("in.igs", report).quit(),
        "surfmesh: cannot open (No such file or directory), file 'missing.igs' (answers line 2)\n");
    add("IGES file a folder", Dialogue().say("1", kFileQ).say("sub", kFileQ).say("in.igs", report).quit(),
        "surfmesh: cannot open (Is a directory), file 'sub' (answers line 2)\n");
    // the line goes on past a NUL byte, shown as \0
    add("IGES file name holding a NUL",
        Dialogue().say("1", kFileQ).say(std::string("mi\0ss.igs", 9), kFileQ).say("in.igs", report).quit(),
        "surfmesh: cannot open (No such file or directory), file 'mi\\0ss.igs' (answers line 2)\n");
    // in.igs is in the field, but the name goes on: never opened
    add("IGES file name past its field",
        Dialogue().say("1", kFileQ).say(kFileTooLong, kFileQ).say("in.igs", report).quit(),
        "surfmesh: cannot open (" + kNameTooLong + "), file 'in.igs...' (answers line 2)\n");

    Dialogue d;
    d.read("in.igs", patch_file().counts()).say("4", kMeshHead + q(" enter iyzflp (0/1): "));
    d.say("yes", q(" enter iyzflp (0/1): ")).say("0", q(" enter xscale,yscale,zscale: ")).say("1 1 1", kOptionMenu);
    add("a number that cannot be read", one_spec(d.specified()));

    d = to_options();
    d.say("2", kOptionMenu).specified();
    add("option menu: out of range", one_spec(d));
    d = to_options();
    d.say("x", kOptionMenu).specified();
    add("option menu: not a number", one_spec(d));

    d = to_options();
    d.say("0", q(" enter # of u and # of v points to define mesh: "));
    d.say("2 10", "error: ipts<2 or ipts>    9 or jpts<2 or jpts>    9\n" +
                      q(" enter # of u and # of v points to define mesh: "));
    d.say("2 2", kFormatMenu).say("3", kMeshQ).say("out.net", kMenu).quit();
    add("all meshes: points out of range", d);

    d = to_options();
    d.specified().say("2", kRelQ);   // one surface only
    add("relative entity number out of range", one_spec(d));
    d = to_options();
    d.specified().say("one", kRelQ);
    add("relative entity number not a number", one_spec(d));

    const std::string inumQ = q(" enter inum,ndegi,d1i1,d1i2,d2i1,d2i2: "),
                      jnumQ = q(" enter jnum,ndegj,d1j1,d1j2,d2j1,d2j2: ");
    d = to_options();
    d.specified().say("1", q(" enter mesh title: ")).say("t", q(" enter iflip,jflip,ijflip: ")).say("0 0 0", inumQ);
    d.say("18 1 1 1 0 0", "error: inum<2 or inum>   17\n" + inumQ).say(kUniform3, jnumQ);
    d.say(kUniform3, q(" enter irefit,jrefit: ")).say("0 0", q(" enter i1clos,i2clos,j1clos,j2clos: "));
    d.say("0 0 0 0", kRelQ).file("3", "out.net").quit();
    add("inum out of range", d);
    d = to_options();
    d.specified().say("1", q(" enter mesh title: ")).say("t", q(" enter iflip,jflip,ijflip: ")).say("0 0 0", inumQ);
    d.say(kUniform3, jnumQ).say("1 1 1 1 0 0", "error: jnum<2 or jnum>   17\n" + jnumQ);
    d.say(kUniform3, q(" enter irefit,jrefit: ")).say("0 0", q(" enter i1clos,i2clos,j1clos,j2clos: "));
    d.say("0 0 0 0", kRelQ).file("3", "out.net").quit();
    add("jnum out of range", d);

    d = to_options();
    d.specified().say("0", kFormatMenu).say("5", kFormatMenu).say("3", kMeshQ).say("out.net", kMenu).quit();
    add("format menu: out of range", d);
    d = to_options();
    d.specified().say("0", kFormatMenu).say("1", kMeshQ).say("out.xyz", kPlot3dMenu).say("0", kPlot3dMenu);
    d.say("1", kMenu).quit();
    add("PLOT3D menu: out of range", d);

    const IgesFile trim = trimmed_file(Surface128{});
    d = Dialogue();
    d.read("in.igs", trim.counts()).trimmed().specified().say("2", kRelQ144).say("0", kFormatMenu);
    d.say("3", kMeshQ).say("out.net", kMenu).quit();
    add("relative 144 entity number out of range", d, "", trim.text());
    return rows;
}

// Each answer asked again once, then the run to its quit: status 1, stdout
// as when every answer was right, and for a name the line on stderr.
TEST(Status, AnswersAskedAgainEndWithOne)
{
    for (const RefusedRow& row : refused_rows()) {
        Sandbox box;
        box.make_dir("sub");
        box.write("in.igs", row.igs);
        const Outcome r = box.run(row.d.answers());
        EXPECT_EQ(r.out, row.d.transcript()) << row.what;
        EXPECT_EQ(r.err, row.err) << row.what;
        EXPECT_EQ(r.status, 1) << row.what;
    }
}

// Normal ends: the quit at once, every answer right the first time, an
// empty line before an answer (passed over), an iyzflp outside 0 and 1
// (taken as 0, not asked again), names of 255 columns and one whose blanks
// alone go past the field.
TEST(Status, NormalEndsStayZero)
{
    const std::string name255 = std::string(251, 'n') + ".igs";
    const std::string mesh255 = std::string(251, 'm') + ".net";
    struct Row {
        const char* what;
        std::string answers;
        const char* written;   // a file the run writes
    };
    const std::vector<Row> rows = {
        {"quit", "6\n", nullptr},
        {"one mesh", one_mesh(patch_file(), '4'), "out.net"},
        {"an empty line before the option", "\n\n6\n", nullptr},
        {"iyzflp 2", "1\nin.igs\n4\n2\n1 1 1\n0\n2 2\n3\nout.net\n6\n", "out.net"},
        {"names of 255 columns", "1\n" + name255 + "\n4\n0\n1 1 1\n0\n2 2\n3\n" + mesh255 + "\n6\n", mesh255.c_str()},
        {"blanks past the field", "1\nin.igs" + std::string(300, ' ') + "\n4\n0\n1 1 1\n0\n2 2\n3\nout.net" +
                                      std::string(300, ' ') + "\n6\n",
         "out.net"},
    };
    for (const Row& row : rows) {
        Sandbox box;
        box.write("in.igs", patch_file().text());
        box.write(name255, patch_file().text());
        const Outcome r = box.run(row.answers);
        EXPECT_EQ(r.status, 0) << row.what;
        EXPECT_EQ(r.err, "") << row.what;
        EXPECT_EQ(r.out.find(" error"), std::string::npos) << row.what;
        if (row.written) {
            EXPECT_NE(box.read(row.written).value_or(""), "") << row.what;
        }
    }
}

// An output name past its field ends the run as one that cannot be opened
// does, and nothing is opened: not the file the field names, not one of
// the cut name. "*" and a name past the field do not list on the screen.
TEST(Status, OutputNamesPastTheirField)
{
    const std::string past = std::string(255 - 7, ' ') + "x";   // after a 7-column name
    std::string mesh = one_mesh(patch_file(), '4');
    mesh.replace(mesh.rfind("out.net\n"), 7, "out.net" + past);
    struct Row {
        const char* what;
        std::string answers;
        std::string err;
        const char* name;   // the cut name, which must not be made
    };
    const Row rows[] = {
        {"mesh file", mesh, "cannot open the mesh file (" + kNameTooLong + "), file 'out.net...'", "out.net"},
        {"listing file", "1\nin.igs\n2\nout.lst" + past + "\n6\n",
         "cannot open the listing file (" + kNameTooLong + "), file 'out.lst...'", "out.lst"},
        {"listing to the screen", "1\nin.igs\n2\n*" + std::string(254, ' ') + "x\n6\n",
         "cannot open the listing file (" + kNameTooLong + "), file '*...'", "*"},
        {"reduced IGES file", "1\nin.igs\n3\nout.igs" + past + "\n6\n",
         "cannot open the IGES file (" + kNameTooLong + "), file 'out.igs...'", "out.igs"},
    };
    for (const Row& row : rows) {
        Sandbox box;
        box.write("in.igs", patch_file().text());
        const Outcome r = box.run(row.answers);
        EXPECT_EQ(r.status, 1) << row.what;
        EXPECT_EQ(r.err, "surfmesh: " + row.err + " (unit 2, record 0)\n") << row.what;
        EXPECT_FALSE(box.read(row.name)) << row.what;
        EXPECT_EQ(r.out.find("type psq1"), std::string::npos) << row.what;   // no listing on the screen
    }
}

}  // namespace
