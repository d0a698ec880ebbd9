// Option 4 with the real surfmesh: the dialogue, the four mesh files of a
// hand-made patch, the specification table's conversions, and the stops.

#include "fixtures.hpp"

#include <gtest/gtest.h>

namespace {

using namespace surfmesh_test;

const float kFar = 1.0f - 1.0e-6f;   // the clamped end of a range 0..1: 0.99999899
const std::string kUniform3 = "3 1 1 1 0 0";

// Free-format reals as they stand on a line: 0, 0.5 and kFar.
const std::string f0 = "   0.00000000    ", fh = "  0.500000000    ", ff = "  0.999998987    ";

// The patch meshed 3 x 3: x runs 0, 0.5, kFar along i, y the same along j.
std::string patch_points()
{
    const float at[] = {0.0f, 0.5f, kFar};
    std::string s;
    for (float y : at)
        for (float x : at) s += point(x, y, 0.0f);
    return s;
}

// The x, y and z of patch_points() in one free-format write.
std::string patch_block()
{
    return f0 + fh + ff + f0 + "\n" + fh + ff + f0 + fh + "\n" + ff + f0 + f0 + f0 + "\n" + fh + fh + fh + ff + "\n" + ff +
           ff + f0 + f0 + "\n" + f0 + f0 + f0 + f0 + "\n" + f0 + f0 + f0 + "\n";
}

// A run that reads the patch file and answers `d`'s questions.
Outcome run_patch(Dialogue& d, Sandbox& box, int copies = 1)
{
    IgesFile f = patch_file(copies);
    box.write("in.igs", f.text());
    Dialogue full;
    full.read("in.igs", f.counts());
    full.say(d.answers().substr(0, d.answers().size() - 1), d.transcript().substr(kBanner.size() + kMenu.size()));
    Outcome r = box.run(full.answers());
    EXPECT_EQ(r.out, full.transcript());
    return r;
}

// One specified 3 x 3 mesh of the patch into `file` in `format`.
void patch_mesh(Dialogue& d, const std::string& format, const std::string& file, const std::string& plot3d = "")
{
    d.mesh().say("1", kRelQ).spec("1", "patch", "0 0 0", kUniform3, kUniform3).file(format, file, plot3d);
}

TEST(MeshFiles, PatchInEveryLayout)
{
    Dialogue d;
    patch_mesh(d, "3", "patch.net");
    patch_mesh(d, "2", "patch.dat");
    patch_mesh(d, "1", "patch.xyz", "1");
    patch_mesh(d, "4", "patch.grd");
    d.quit();
    Sandbox box;
    Outcome r = run_patch(d, box);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(box.read("patch.net"), "    3    3          patch\n" + patch_points());
    EXPECT_EQ(box.read("patch.dat"), "VARIABLES=x,y,z\nZONE T=\"patch\", I=  3, J=  3\n" + patch_points());
    EXPECT_EQ(box.read("patch.xyz"), "           3           3           1\n" + patch_block());
    const std::string xs = f0 + fh + ff + f0 + "\n" + fh + ff + f0 + fh + "\n" + ff;   // x of the 9 points
    const std::string ys = f0 + f0 + f0 + fh + "\n" + fh + fh + ff + ff + "\n" + ff + "\n";
    const std::string zs = f0 + f0 + f0 + f0 + "\n" + f0 + f0 + f0 + f0 + "\n" + f0 + "\n";
    EXPECT_EQ(box.read("patch.grd"), "           3           3\n" + xs + "\n" + ys + zs);
    for (const char* f : {"fort.11", "fort.14", "fort.21"}) EXPECT_FALSE(box.read(f)) << f;
}

TEST(MeshFiles, AnswersOutOfRangeAskAgain)
{
    const std::string inumQ = " enter inum,ndegi,d1i1,d1i2,d2i1,d2i2: ", jnumQ = " enter jnum,ndegj,d1j1,d1j2,d2j1,d2j2: ";
    Dialogue d;
    d.say("4", kMeshHead + q(" enter iyzflp (0/1): "))
        .say("yes", q(" enter iyzflp (0/1): "))
        .say("2", q(" enter xscale,yscale,zscale: "))   // stored as 0: no swap
        .say("1 1", "")                                  // the list goes on over lines
        .say("1", kOptionMenu)
        .say("2", kOptionMenu)
        .say("1", kRelQ)
        .say("-1", kRelQ)
        .say("2", kRelQ)   // one type-128 entity only
        .say("1", q(" enter mesh title: "))
        .say("patch", q(" enter iflip,jflip,ijflip: "))
        .say("0 0 0", q(inumQ))
        .say("1 1 1 1 0 0", "error: inum<2 or inum>   17\n" + q(inumQ))
        .say("18 1 1 1 0 0", "error: inum<2 or inum>   17\n" + q(inumQ))
        .say(kUniform3, q(jnumQ))
        .say("1 1 1 1 0 0", "error: jnum<2 or jnum>   17\n" + q(jnumQ))
        .say(kUniform3, q(" enter irefit,jrefit: "))
        .say("0 0", q(" enter i1clos,i2clos,j1clos,j2clos: "))
        .say("0 0 0 0", kRelQ)
        .say("0", kFormatMenu)
        .say("0", kFormatMenu)
        .say("5", kFormatMenu)
        .say("1", q(" enter new mesh filename: "))
        .say("patch.xyz", kPlot3dMenu)
        .say("0", kPlot3dMenu)
        .say("2", kMenu)
        .quit();
    Sandbox box;
    EXPECT_EQ(run_patch(d, box).status, 1);   // answers asked again
    EXPECT_EQ(box.read("patch.xyz"), "           1\n           3           3           1\n" + patch_block());
}

TEST(MeshFiles, AllMeshes)
{
    Dialogue d;
    d.mesh()
        .say("0", q(" enter # of u and # of v points to define mesh: "))
        .say("1 5", "error: ipts<2 or ipts>    9 or jpts<2 or jpts>    9\n" + q(" enter # of u and # of v points to define mesh: "))
        .say("9 10", "error: ipts<2 or ipts>    9 or jpts<2 or jpts>    9\n" + q(" enter # of u and # of v points to define mesh: "))
        .say("2 2", kFormatMenu)
        .say("3", q(" enter new mesh filename: "))
        .say("all.net", kMenu)
        .quit();
    Sandbox box;
    EXPECT_EQ(run_patch(d, box, 2).status, 1);   // point counts asked again
    const std::string mesh = "    2    2          PATCH\n" + point(0, 0, 0) + point(kFar, 0, 0) + point(0, kFar, 0) +
                             point(kFar, kFar, 0);
    EXPECT_EQ(box.read("all.net"), mesh + mesh);
}

// End terms typed relative to the uniform spacing are stored divided by
// inum-1 (first) and its square (second): with 5 points, 1 becomes 0.25
// and 0.5 becomes 0.5/16, and poly spaces u at 0.26171875, 0.53125, 0.78515625.
// A flipped mesh of the same entity does not carry over to the next.
TEST(MeshFiles, ClusteringAndFlipsPerSpecification)
{
    Dialogue d;
    d.mesh().say("1", kRelQ);
    d.spec("1", "clustered", "0 0 0", "5 3 1 -1 0.5 0", "2 1 1 1 0 0");
    d.spec("1", "flipped", "1 0 0", "2 1 1 1 0 0", "2 1 1 1 0 0");
    d.spec("1", "plain", "0 0 0", "2 1 1 1 0 0", "2 1 1 1 0 0");
    d.file("3", "out.net").quit();
    Sandbox box;
    EXPECT_EQ(run_patch(d, box).status, 0);
    std::string want = "    5    2          clustered\n";
    for (float v : {0.0f, kFar})
        for (float u : {0.0f, 0.26171875f, 0.53125f, 0.78515625f, kFar}) {
            // y = v, but through the convex combination along u: v*u + v*(1-u)
            const float uv = v * u, rest = v * (1.0f - u);
            want += point(u, uv + rest, 0);
        }
    want += "    2    2          flipped\n" + point(1, 0, 0) + point(1.0f - kFar, 0, 0) + point(1, kFar, 0) +
            point(1.0f - kFar, kFar, 0);
    want += "    2    2          plain\n" + point(0, 0, 0) + point(kFar, 0, 0) + point(0, kFar, 0) + point(kFar, kFar, 0);
    EXPECT_EQ(box.read("out.net"), want);
}

TEST(MeshFiles, NoSpecification)
{
    struct Case {
        std::string format, plot3d, want;
    };
    const Case cases[] = {{"1", "1", "\n"}, {"1", "2", "           0\n\n"}, {"2", "", "VARIABLES=x,y,z\n"},
                          {"3", "", "old\n"}, {"4", "", "old\n"}};
    for (const Case& c : cases) {
        Dialogue d;
        d.mesh().say("1", kRelQ).file(c.format, "out", c.plot3d).quit();
        Sandbox box;
        box.write("out", "old\n");
        EXPECT_EQ(run_patch(d, box).status, 0);
        EXPECT_EQ(box.read("out"), c.want) << c.format << c.plot3d;
    }
}

// Option 4 on the patch and then on the surface of these parameter data,
// 3 x 3 each into a network file: the second stops with the message, the
// patch's mesh stays in the file and fort.21 is gone.
void expect_stop_at_second(const std::vector<std::string>& values, const std::string& message, const char* what)
{
    IgesFile f = patch_file();
    f.add(128, values);
    Sandbox box;
    box.write("in.igs", f.text());
    Dialogue d;
    d.read("in.igs", f.counts()).mesh().say("1", kRelQ);
    d.spec("1", "patch", "0 0 0", kUniform3, kUniform3).spec("2", "second", "0 0 0", kUniform3, kUniform3);
    d.say("0", kFormatMenu).say("3", q(" enter new mesh filename: ")).say("out.net", message);
    Outcome r = box.run(d.answers() + "6\n");
    EXPECT_EQ(r.out, d.transcript()) << what;
    EXPECT_EQ(r.status, 1) << what;
    EXPECT_EQ(r.err, "") << what;
    EXPECT_EQ(box.read("out.net"), "    3    3          patch\n" + patch_points()) << what;
    EXPECT_FALSE(box.read("fort.21")) << what;
}

struct Stop {
    int k1, k2, m1, m2;
};

// A surface beyond the arrays, after a good one: the seven-line stop.
TEST(MeshStops, SurfaceBeyondTheArrays)
{
    for (const Stop& s : {Stop{482, 1, 1, 1}, Stop{1, 1, 1, 9}, Stop{-1, 1, 1, 1}, Stop{1, -1, 1, 1},
                          Stop{1, 1, -1, 1}, Stop{1, 1, 1, -2}}) {
        const std::string values = i5(s.k1) + i5(s.k2) + i5(s.m1) + i5(s.m2);
        expect_stop_at_second({"128", std::to_string(s.k1), std::to_string(s.k2), std::to_string(s.m1),
                               std::to_string(s.m2), "0", "0", "1", "0", "0"},
                              "  stopping for insufficient array size\n\n     kk   kk   mm   mm\n   481  481    8    8\n\n"
                              "     k1   k2   m1   m2\n " +
                                  values + "\n",
                              values.c_str());
    }
}

// Surfaces whose weight sum is 0 at a mesh point, or whose data hold an
// Infinity, after a good one: the stop names the surface.
TEST(MeshStops, PointsThatAreNotFinite)
{
    struct Case {
        const char* what;
        void (*change)(Surface128&);
    };
    const Case cases[] = {
        {"a zero weight where its basis function is 1", [](Surface128& s) { s.w[0] = "0"; }},
        {"all weights 0", [](Surface128& s) { s.w.assign(4, "0"); }},
        {"every u knot equal", [](Surface128& s) { s.s.assign(4, "0.5"); }},
        {"u knots decreasing", [](Surface128& s) { s.s = {"1", "1", "0", "0"}; }},
        {"a coordinate that overflows to Infinity", [](Surface128& s) { s.xyz[3] = "1.0E99"; }},
        {"a weight that overflows to Infinity", [](Surface128& s) { s.w[3] = "1.0D99"; }},
    };
    for (const Case& c : cases) {
        Surface128 bad;
        c.change(bad);
        expect_stop_at_second(bad.values(), " stopping ... iges 128 entity #    2 gives a point that is not finite\n",
                              c.what);
    }
}

// A stop at the first mesh leaves the file header and nothing else: the
// network and Gridgen layouts have none, so an old file keeps its content.
TEST(MeshStops, NotFiniteFirstMeshLeavesTheHeader)
{
    struct Case {
        std::string format, plot3d, want;
    };
    const std::string sizes = "           3           3           1";
    const Case cases[] = {{"1", "1", "           2\n" + sizes + sizes + "\n"},
                          {"1", "2", "           2\n" + sizes + sizes + "\n"},
                          {"2", "", "VARIABLES=x,y,z\n"},
                          {"3", "", "old\n"},
                          {"4", "", "old\n"}};
    Surface128 bad;
    bad.w.assign(4, "0");
    IgesFile f;
    f.add(128, bad.values());
    f.add(128, Surface128{}.values());
    for (const Case& c : cases) {
        Sandbox box;
        box.write("in.igs", f.text());
        box.write("out", "old\n");
        Dialogue d;
        d.read("in.igs", f.counts()).mesh().say("1", kRelQ);
        d.spec("1", "bad", "0 0 0", kUniform3, kUniform3).spec("2", "patch", "0 0 0", kUniform3, kUniform3);
        d.say("0", kFormatMenu).say(c.format, q(" enter new mesh filename: "));
        const std::string stop = " stopping ... iges 128 entity #    1 gives a point that is not finite\n";
        if (c.plot3d.empty())
            d.say("out", stop);
        else
            d.say("out", kPlot3dMenu).say(c.plot3d, stop);
        Outcome r = box.run(d.answers() + "6\n");
        EXPECT_EQ(r.out, d.transcript()) << c.format << c.plot3d;
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(box.read("out"), c.want) << c.format << c.plot3d;
    }
}

TEST(MeshStops, LargestSurfaceLoads)
{
    Surface128 big;
    big.k1 = 481;
    big.m1 = 8;
    big.s.clear();
    for (int k = 0; k < 9; ++k) big.s.push_back("0");
    for (int k = 1; k <= 473; ++k) big.s.push_back(std::to_string(k) + "D0");
    for (int k = 0; k < 9; ++k) big.s.push_back("474.");
    big.w.assign(2 * 482, "1.0E0");
    big.xyz.clear();
    for (int j = 0; j < 2; ++j)
        for (int i = 0; i < 482; ++i) {
            big.xyz.push_back(std::to_string(i));
            big.xyz.push_back(std::to_string(j));
            big.xyz.push_back("0");
        }
    big.range = {"0", "474", "0", "1"};
    IgesFile f;
    f.add(128, big.values(), "BIG");
    Sandbox box;
    box.write("in.igs", f.text());
    Dialogue d;
    d.read("in.igs", f.counts()).mesh().say("1", kRelQ).spec("1", "big", "0 0 0", "2 1 1 1 0 0", "2 1 1 1 0 0");
    d.file("3", "out.net").quit();
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    std::vector<NetMesh> nets = parse_networks(*box.read("out.net"));
    ASSERT_EQ(nets.size(), 1u);
    EXPECT_EQ(nets[0].p[0], (std::array<float, 3>{0, 0, 0}));
    EXPECT_NEAR(nets[0].p[3][0], 481.0f, 0.01f);   // just inside the last knot
    EXPECT_NEAR(nets[0].p[3][1], 1.0f, 1e-5f);
}

TEST(MeshStops, FullSpecificationTable)
{
    IgesFile f = patch_file();
    Sandbox box;
    box.write("in.igs", f.text());
    Dialogue d;
    d.read("in.igs", f.counts()).mesh().say("1", kRelQ);
    for (int k = 0; k < 5000; ++k) d.spec("1", "t", "0 0 0", "2 1 1 1 0 0", "2 1 1 1 0 0");
    d.say("1", " stopping ... iout= 5001 > ioutmx= 5000\n");
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out == d.transcript()) << r.out.substr(r.out.size() - std::min<std::size_t>(r.out.size(), 300));
    EXPECT_FALSE(box.read("fort.21"));
}

TEST(MeshStops, UnopenableMeshFile)
{
    struct Case {
        const char* name;
        std::string err;
    };
    const Case cases[] = {
        {"sub", "cannot open the mesh file (Is a directory), file 'sub'"},
        {"   ", "cannot open the mesh file (No such file or directory), file ''"},
        {"fort.14", "cannot open a file that is open already, file 'fort.14'"},   // the parameter section's
    };
    for (const Case& c : cases) {
        Dialogue d;
        d.mesh().say("1", kRelQ).file("3", c.name);
        Sandbox box;
        box.make_dir("sub");
        IgesFile f = patch_file();
        box.write("in.igs", f.text());
        Outcome r = box.run("1\nin.igs\n" + d.answers());
        EXPECT_EQ(r.status, 1) << c.name;
        EXPECT_EQ(r.err, "surfmesh: " + c.err + " (unit 2, record 0)\n");
    }
}

// Parameter data that run short or hold a word end the run, fort.21 kept.
TEST(MeshStops, FaultyParameterData)
{
    auto with_field = [](std::string text, int line, std::size_t col, const std::string& value) {
        std::size_t at = 0;
        for (int l = 1; l < line; ++l) at = text.find('\n', at) + 1;
        text.replace(at + col, value.size(), value);
        return text;
    };
    Surface128 word;
    word.xyz[4] = "abc";
    IgesFile early, bad, over;
    early.add(128, {"128", "1", "1", "1", "1", "0", "0", "1", "0", "0", "0", "0", "1", "1"});
    bad.add(128, word.values());
    over.add(128, Surface128{}.values(), "", 20);   // over several lines
    const std::string texts[] = {early.text(), bad.text(),
                                 with_field(over.text(), 4, 24, "       1"),    // too small a line count
                                 with_field(over.text(), 3, 8, "      99")};    // a pointer past the section
    for (const std::string& text : texts) {
        Sandbox box;
        box.write("in.igs", text);
        Dialogue d;
        d.mesh().say("1", kRelQ).spec("1", "t", "0 0 0", kUniform3, kUniform3).file("3", "out.net");
        Outcome r = box.run("1\nin.igs\n" + d.answers());
        EXPECT_EQ(r.status, 1) << text;
        EXPECT_NE(r.err.find("fort."), std::string::npos) << r.err;
        EXPECT_TRUE(box.read("fort.21")) << text;
        EXPECT_EQ(box.read("out.net"), "");
    }
}

}  // namespace
