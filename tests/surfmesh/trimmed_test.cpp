// Option 5 with the real surfmesh: a small trimmed surface meshed with its
// boundary exactly in every layout, the warnings of the boundary chain,
// the PLOT3D file when a specification is skipped, flips and closures on
// the boundary, the segment limits and short parameter data.

#include "fixtures.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace {

using namespace surfmesh_test;

const float kFar = 1.0f - 1.0e-6f;   // the clamped end of a range 0..1
const float kAt[] = {0.0f, 0.5f, kFar};
const std::string kUniform3 = "3 1 1 1 0 0";

// Free-format items: an integer in 12 columns; a real of 0.1 or more (or
// 0) with nine significant digits right-aligned in 13 columns, 4 blanks;
// NaN right-aligned in 17.
std::string fi(long v) { return fmt_int("%12ld", v); }
std::string fr(float v)
{
    if (std::isnan(v)) return "              NaN";
    if (v == 0.0f) return "   0.00000000    ";
    const double a = std::fabs(v);
    const int before = a < 1.0 ? 0 : static_cast<int>(std::floor(std::log10(a))) + 1;
    char b[40];
    std::snprintf(b, sizeof b, "%13.*f    ", before == 0 ? 9 : 9 - before, static_cast<double>(v));
    return b;
}
// One free-format write of reals: four to a line.
std::string free_list(const std::vector<float>& v)
{
    std::string s;
    for (std::size_t k = 0; k < v.size(); ++k) s += fr(v[k]) + (k % 4 == 3 || k + 1 == v.size() ? "\n" : "");
    return s;
}

// The base surface: the unit patch lifted at its far corner, z = u v.
std::vector<std::string> base()
{
    Surface128 s;
    s.xyz[11] = "1";
    return s.values();
}

// A segment of degree 1 from (u0, v0) to (u1, v1) of the surface's
// parameters, knots 0 0 1 1, weights 1, over 0..1.
std::vector<std::string> line126(const std::string& u0, const std::string& v0, const std::string& u1,
                                 const std::string& v1)
{
    return {"126", "1", "1", "1", "0", "1", "0", "0", "0", "1", "1", "1", "1", u0, v0, "0", u1, v1, "0", "0", "1",
            "0", "0", "1"};
}
const std::vector<std::string> kDiagonal = line126("0", "0", "1", "1");

using Entity = std::pair<int, std::vector<std::string>>;

// A trimmed surface: entry 1 the 144, 2 its base surface, 3 the 142, 4 the
// 102, from 5 on its segments (directory pointers 9, 11, ...), then `after`.
struct Trim {
    std::vector<std::string> t144{"144", "3", "1", "0", "5"};
    std::vector<std::string> t142{"142", "0", "3", "7", "0", "1"};
    std::vector<std::string> t102;   // empty: every segment in order
    std::vector<Entity> segments{{126, kDiagonal}};
    std::vector<Entity> after;
    std::vector<std::string> surface = base();

    IgesFile file() const
    {
        IgesFile f;
        f.add(144, t144, "TRIM");
        f.add(128, surface, "BASE");
        f.add(142, t142);
        std::vector<std::string> c = t102;
        if (c.empty()) {
            c = {"102", std::to_string(segments.size())};
            for (std::size_t k = 0; k < segments.size(); ++k) c.push_back(std::to_string(9 + 2 * k));
        }
        f.add(102, c);
        for (const auto& [type, v] : segments) f.add(type, v);
        for (const auto& [type, v] : after) f.add(type, v, type == 144 ? "SECOND" : "");
        return f;
    }
};

// The surface z = u v at (u, v): x = u, y = v through the convex
// combination along u.
std::array<float, 3> on_surface(float u, float v) { return {u, v * u + v * (1.0f - u), v * u}; }

// The x, y and z of the surface's 3 x 3 mesh, as a PLOT3D block holds them.
std::vector<float> surface_block()
{
    std::vector<float> b;
    for (int c = 0; c < 3; ++c)
        for (float v : kAt)
            for (float u : kAt) b.push_back(on_surface(u, v)[static_cast<std::size_t>(c)]);
    return b;
}

std::string surface_points()
{
    std::string s;
    for (float v : kAt)
        for (float u : kAt) {
            const auto p = on_surface(u, v);
            s += point(p[0], p[1], p[2]);
        }
    return s;
}
// The diagonal's three samples, on the surface.
std::string boundary_points()
{
    std::string s;
    for (float u : kAt) {
        const auto p = on_surface(u, u);
        s += point(p[0], p[1], p[2]);
    }
    return s;
}
const std::string kSurface = "    3    3          trim\n" + surface_points();
const std::string kBoundary = "    3    2          trim\n" + boundary_points() + boundary_points();

// What a segment of degree 1 from (0, 0) to (1, 1) over 0..1 writes on the
// screen, with these knots and weights and the weight sum `ration` at
// every sample; a sum of 0 makes its points 0/0.
std::string account(const std::vector<float>& knots, const std::vector<float>& weights, float ration)
{
    std::string s = "\n" + lines({"  parameter data has been read", " iges,kc,mc,icplan,icopen,icrat,icper",
                                  fi(126) + fi(1) + fi(1) + fi(1) + fi(0) + fi(1), fi(0), " (sc(i),i=1,ncap)"}) +
                    free_list(knots) + line(" (wc(i),i=1,kcp)") + free_list(weights) +
                    line(" (xcc(i),ycc(i),zcc(i),i=1,kcp)") + free_list({0, 0, 0, 1, 1, 0}) + line(" uc0,uc1") +
                    free_list({0, 1});
    for (int ii = 1; ii <= 3; ++ii) {
        const std::string u = fr(kAt[ii - 1]);
        const std::string p = ration == 0.0f ? fr(std::nanf("")) : u;
        s += lines({" ii=" + fi(ii), " u=" + u, " ration=" + fr(ration), " cx(ii)=" + p, " cy(ii)=" + p, " u=" + p,
                    " v=" + p});
    }
    return s + line("  mesh computed");
}
// The diagonal's.
const std::string kAccount = account({0, 0, 1, 1}, {1, 1}, 1);

const std::string kWarn128 = line(" warning ... surface must be a 128 type entity");

// Reads the file and makes one specified 3 x 3 mesh of each relative number.
Dialogue trim_dialogue(const IgesFile& f, const std::vector<const char*>& rels, const std::string& flips = "0 0 0",
                       const std::string& closures = "0 0 0 0")
{
    Dialogue d;
    d.read("in.igs", f.counts()).trimmed().specified();
    for (const char* rel : rels) d.spec(rel, "trim", flips, kUniform3, kUniform3, "0 0", closures);
    return d;
}

TEST(Trimmed, SurfaceAndBoundaryInEveryLayout)
{
    const IgesFile f = Trim{}.file();
    Dialogue d = trim_dialogue(f, {"1"});
    d.file("3", "trim.net", "", kAccount).trimmed().specified();
    d.spec("1", "trim", "0 0 0", kUniform3, kUniform3).file("2", "trim.dat", "", kAccount).trimmed().specified();
    d.spec("1", "trim", "0 0 0", kUniform3, kUniform3).file("1", "trim.xyz", "1", kAccount).trimmed().specified();
    d.spec("1", "trim", "0 0 0", kUniform3, kUniform3).file("4", "trim.grd", "", kAccount).quit();
    Sandbox box;
    box.write("in.igs", f.text());
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");

    EXPECT_EQ(box.read("trim.net"), kSurface + kBoundary);
    EXPECT_EQ(box.read("trim.dat"), "VARIABLES=x,y,z\nZONE T=\"trim\", I=  3, J=  3\n" + surface_points() +
                                        "ZONE T=\"trim\", I=  3, J=  2\n" + boundary_points() + boundary_points());
    std::vector<float> xs[3], bs[3];
    for (float v : kAt)
        for (float u : kAt)
            for (int c = 0; c < 3; ++c) xs[c].push_back(on_surface(u, v)[static_cast<std::size_t>(c)]);
    for (int row = 0; row < 2; ++row)
        for (float u : kAt)
            for (int c = 0; c < 3; ++c) bs[c].push_back(on_surface(u, u)[static_cast<std::size_t>(c)]);
    std::vector<float> all = xs[0];
    all.insert(all.end(), xs[1].begin(), xs[1].end());
    all.insert(all.end(), xs[2].begin(), xs[2].end());
    // PLOT3D: the surface alone
    EXPECT_EQ(box.read("trim.xyz"), fi(3) + fi(3) + fi(1) + "\n" + free_list(all));
    EXPECT_EQ(box.read("trim.grd"), fi(3) + fi(3) + "\n" + free_list(xs[0]) + free_list(xs[1]) + free_list(xs[2]) +
                                        fi(3) + fi(2) + "\n" + free_list(bs[0]) + free_list(bs[1]) +
                                        free_list(bs[2]));
    for (const char* s : {"fort.11", "fort.14", "fort.21"}) EXPECT_FALSE(box.read(s)) << s;
}

// A file without trimmed surfaces: the heading alone, no question.
TEST(Trimmed, NoTrimmedSurface)
{
    const IgesFile f = patch_file();
    Dialogue d;
    d.read("in.igs", f.counts()).say("5", kTrimHead + kMenu).quit();
    Sandbox box;
    box.write("in.igs", f.text());
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(r.status, 0);
}

// nc = the larger of inum and jnum; a title of a Tecplot zone.
TEST(Trimmed, SamplesFollowTheLargerCount)
{
    const IgesFile f = Trim{}.file();
    Dialogue d;
    d.read("in.igs", f.counts()).trimmed().specified().spec("1", "bulb", "0 0 0", "5 1 1 1 0 0", "17 1 1 1 0 0");
    d.say("0", kFormatMenu).say("2", q(" enter new mesh filename: ")).say("bulb.dat").quit();
    Sandbox box;
    box.write("in.igs", f.text());
    ASSERT_EQ(box.run(d.answers()).status, 0);
    const std::vector<std::string> got = test_support::split_lines(*box.read("bulb.dat"));
    ASSERT_EQ(got.size(), 1u + 1 + 5 * 17 + 1 + 34);
    EXPECT_EQ(got[1], "ZONE T=\"bulb\", I=  5, J= 17");
    EXPECT_EQ(got[87], "ZONE T=\"bulb\", I= 17, J=  2");
    EXPECT_EQ(got[88], got[88 + 17]);   // the row twice
    EXPECT_EQ(got[88 + 8], point(0.5f, 0.5f, 0.25f).substr(0, 48));
}

struct BadChain {
    const char* what;
    Trim trim;
    std::string shown;   // on the screen after the file name
    std::string file;
};

Trim with(void (*change)(Trim&))
{
    Trim t;
    change(t);
    return t;
}

TEST(Trimmed, BoundaryChainWarnings)
{
    const std::string w142 = line(" warning ... trimming curve must be a 142 type entity");
    const std::string wsb = line(" warning ... trimming curve must be of S*B type");
    const std::string w102 = line(" warning ... trimming curve must be a 102 type entity");
    const std::string w126 = line(" warning ... segment in compound curve must be a 126 type entity");
    std::string eight_accounts, eight_boundaries;
    for (int k = 0; k < 8; ++k) eight_accounts += kAccount, eight_boundaries += kBoundary;
    const std::vector<BadChain> cases = {
        {"the chain whole", Trim{}, kAccount, kSurface + kBoundary},
        {"PTS naming a 126", with([](Trim& t) { t.t144[1] = "9"; }), kWarn128, ""},
        {"PTS 4 names the base too", with([](Trim& t) { t.t144[1] = "4"; }), kAccount, kSurface + kBoundary},
        {"PTS beyond the table", with([](Trim& t) { t.t144[1] = "99"; }), kWarn128, ""},
        {"PTS 0", with([](Trim& t) { t.t144[1] = "0"; }), kWarn128, ""},
        {"PTS the largest integer", with([](Trim& t) { t.t144[1] = "2147483647"; }), kWarn128, ""},
        {"interior curves", with([](Trim& t) { t.t144 = {"144", "3", "1", "2", "5", "9", "9"}; }),
         line(" warning ... interior trimming curves not operational") + kAccount, kSurface + kBoundary},
        {"N1 = 0", with([](Trim& t) { t.t144[2] = "0"; }), "", kSurface},
        {"PTO naming a 126", with([](Trim& t) { t.t144[4] = "9"; }), w142, kSurface},
        {"PTO 0", with([](Trim& t) { t.t144[4] = "0"; }), w142, kSurface},
        {"PREF 0", with([](Trim& t) { t.t142[5] = "0"; }), wsb, kSurface},
        {"PREF 2", with([](Trim& t) { t.t142[5] = "2"; }), wsb, kSurface},
        {"PREF 3", with([](Trim& t) { t.t142[5] = "3"; }), kAccount, kSurface + kBoundary},
        {"BPTR naming a 126", with([](Trim& t) { t.t142[3] = "9"; }), w102, kSurface},
        {"no segment", with([](Trim& t) { t.t102 = {"102", "0"}; }), "", kSurface},
        {"a negative count", with([](Trim& t) { t.t102 = {"102", "-1"}; }), "", kSurface},
        {"9 segments",
         with([](Trim& t) { t.t102 = {"102", "9", "9", "9", "9", "9", "9", "9", "9", "9", "9"}; }),
         line(" warning ... too many segments in compound curve"), kSurface},
        {"8 segments", with([](Trim& t) { t.t102 = {"102", "8", "9", "9", "9", "9", "9", "9", "9", "9"}; }),
         eight_accounts, kSurface + eight_boundaries},
        {"a line among the segments",
         with([](Trim& t) { t.segments = {{110, {"110", "0", "0", "0", "1", "1", "0"}}, {126, kDiagonal}}; }),
         w126 + kAccount, kSurface + kBoundary},
        {"a segment pointer beyond the table", with([](Trim& t) { t.t102 = {"102", "2", "99", "9"}; }),
         w126 + kAccount, kSurface + kBoundary},
        {"a rectangle along the edges", with([](Trim& t) {
             t.segments = {{126, line126("0", "0", "1", "0")}, {126, line126("1", "0", "1", "1")},
                           {126, line126("1", "1", "0", "1")}, {126, line126("0", "1", "0", "0")}};
         }),
         "", kSurface},
        {"the data's own type number is not compared", with([](Trim& t) { t.t144[0] = "999"; }), kAccount,
         kSurface + kBoundary},
    };
    for (const BadChain& c : cases) {
        const IgesFile f = c.trim.file();
        Dialogue d = trim_dialogue(f, {"1"});
        d.file("3", "out.net", "", c.shown).quit();
        Sandbox box;
        box.write("in.igs", f.text());
        Outcome r = box.run(d.answers());
        EXPECT_EQ(r.out, d.transcript()) << c.what;
        EXPECT_EQ(r.status, 0) << c.what;
        EXPECT_EQ(box.read("out.net"), c.file) << c.what;
        EXPECT_FALSE(box.read("fort.21")) << c.what;
    }
}

// A second trimmed surface after the first: entry 6, its boundary through
// a 102 at entry 7 and a 142 at entry 8 to the diagonal.
void add_second(Trim& t)
{
    t.after = {{144, {"144", "3", "1", "0", "15"}}, {102, {"102", "1", "9"}}, {142, {"142", "0", "3", "13", "0", "1"}}};
}

// After a composite curve of 9 segments the next specification reads its own.
TEST(Trimmed, NextSpecificationAfterTooManySegments)
{
    Trim t;
    t.t102 = {"102", "9", "9", "9", "9", "9", "9", "9", "9", "9", "9"};
    add_second(t);
    const IgesFile f = t.file();
    Dialogue d = trim_dialogue(f, {"1", "2"});
    d.file("3", "out.net", "", line(" warning ... too many segments in compound curve") + kAccount).quit();
    Sandbox box;
    box.write("in.igs", f.text());
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(box.read("out.net"), kSurface + kSurface + kBoundary);
}

// The PLOT3D header announces the meshes that follow, and counts them.
TEST(Trimmed, Plot3dFileWhenASpecificationIsSkipped)
{
    Trim t;
    t.t144[1] = "9";   // the first names a 126 as its base
    add_second(t);
    const IgesFile f = t.file();
    const std::vector<float> block = surface_block();
    const std::string sizes = fi(3) + fi(3) + fi(1);
    struct Case {
        std::vector<const char*> rels;
        const char* plot3d;
        std::string want;
    };
    const Case cases[] = {
        {{"1", "2"}, "1", sizes + "\n" + free_list(block)},   // one mesh: no count record
        {{"1", "2"}, "2", fi(1) + "\n" + sizes + "\n" + free_list(block)},
        {{"1", "2", "2"}, "1", fi(2) + "\n" + sizes + sizes + "\n" + free_list(block) + free_list(block)},
        {{"1"}, "2", fi(0) + "\n\n"},
    };
    for (const Case& c : cases) {
        Dialogue d;
        d.read("in.igs", f.counts()).trimmed().specified();
        std::string shown = kWarn128;
        for (const char* rel : c.rels) {
            d.spec(rel, "trim", "0 0 0", kUniform3, kUniform3);
            if (std::string(rel) == "2") shown += kAccount;
        }
        d.file("1", "out.xyz", c.plot3d, shown).quit();
        Sandbox box;
        box.write("in.igs", f.text());
        Outcome r = box.run(d.answers());
        EXPECT_EQ(r.out, d.transcript()) << c.rels.size() << c.plot3d;
        EXPECT_EQ(box.read("out.xyz"), c.want) << c.rels.size() << c.plot3d;
    }

    // every trimmed surface at once, titled with its label
    Dialogue d;
    d.read("in.igs", f.counts()).trimmed().say("0", q(" enter # of u and # of v points to define mesh: "));
    d.say("3 3", kFormatMenu).say("3", q(" enter new mesh filename: ")).say("all.net", kWarn128 + kAccount + kMenu);
    d.quit();
    Sandbox box;
    box.write("in.igs", f.text());
    EXPECT_EQ(box.run(d.answers()).out, d.transcript());
    std::vector<NetMesh> nets = parse_networks(*box.read("all.net"));
    ASSERT_EQ(nets.size(), 2u);
    EXPECT_EQ(nets[0].title, "SECOND");
    EXPECT_EQ(nets[1].title, "SECOND");
}

// The control points follow the flips and the swap: the boundary is the
// same curve on the same surface.
TEST(Trimmed, FlipsCarryTheControlPoints)
{
    Trim t;
    t.segments = {{126, line126("0.2", "0.3", "0.6", "0.7")}};
    const IgesFile f = t.file();
    struct Case {
        std::string flips;
        std::vector<float> triples;
    };
    const Case cases[] = {
        {"0 0 0", {0.2f, 0.3f, 0, 0.6f, 0.7f, 0}},
        {"1 0 0", {1.0f - 0.2f, 0.3f, 0, 1.0f - 0.6f, 0.7f, 0}},
        {"1 0 1", {0.3f, 1.0f - 0.2f, 0, 0.7f, 1.0f - 0.6f, 0}},
        {"0 1 0", {0.2f, 1.0f - 0.3f, 0, 0.6f, 1.0f - 0.7f, 0}},
        {"0 2 2", {0.2f, 0.3f, 0, 0.6f, 0.7f, 0}},   // only 1 flips v or swaps
    };
    std::vector<NetMesh> plain;
    for (const Case& c : cases) {
        Dialogue d = trim_dialogue(f, {"1"}, c.flips);
        Sandbox box;
        box.write("in.igs", f.text());
        Outcome r = box.run(d.answers() + "0\n3\nout.net\n6\n");
        ASSERT_EQ(r.status, 0);
        const std::string triples = line(" (xcc(i),ycc(i),zcc(i),i=1,kcp)") + free_list(c.triples) + line(" uc0,uc1");
        EXPECT_NE(r.out.find(triples), std::string::npos) << c.flips << "\n" << r.out;
        std::vector<NetMesh> nets = parse_networks(*box.read("out.net"));
        ASSERT_EQ(nets.size(), 2u);
        if (plain.empty()) plain = nets;
        for (std::size_t k = 0; k < nets[1].p.size(); ++k)
            for (int q = 0; q < 3; ++q) EXPECT_NEAR(nets[1].p[k][q], plain[1].p[k][q], 2.0e-6f) << c.flips;
    }
}

// A boundary point on a closed edge of the surface shares its z = 0; the
// comparisons are of the clamped parameters.
TEST(Trimmed, ClosedEdges)
{
    Surface128 flat;   // at z = 1
    flat.xyz = {"0", "0", "1", "1", "0", "1", "0", "1", "1", "1", "1", "1"};
    Trim t;
    t.surface = flat.values();
    const IgesFile f = t.file();
    struct Case {
        std::string closures;
        std::vector<float> z;   // of the three boundary points
    };
    const Case cases[] = {{"0 0 0 0", {1, 1, 1}}, {"0 0 1 0", {0, 1, 1}}, {"1 0 0 0", {0, 1, 1}},
                          {"0 1 0 0", {1, 1, 0}}, {"0 0 0 -1", {1, 1, 0}}, {"2 2 2 2", {0, 1, 0}}};
    for (const Case& c : cases) {
        Dialogue d = trim_dialogue(f, {"1"}, "0 0 0", c.closures);
        Sandbox box;
        box.write("in.igs", f.text());
        ASSERT_EQ(box.run(d.answers() + "0\n3\nout.net\n6\n").status, 0);
        std::vector<NetMesh> nets = parse_networks(*box.read("out.net"));
        ASSERT_EQ(nets.size(), 2u);
        for (std::size_t k = 0; k < 6; ++k) EXPECT_EQ(nets[1].p[k][2], c.z[k % 3]) << c.closures << " point " << k;
    }
}

// A curve parameter below the first knot and a surface parameter below the
// first knot are evaluated at those knots; the screen shows them as
// computed, and the closure compares them as computed.
TEST(Trimmed, ParametersBelowTheFirstKnots)
{
    Surface128 flat;   // at z = 1
    flat.xyz = {"0", "0", "1", "1", "0", "1", "0", "1", "1", "1", "1", "1"};
    Trim t;
    t.surface = flat.values();
    // from (-0.5, 0.5) to (0.5, 0.5) over the curve parameters -1 to 1 (knots 0 to 1)
    t.segments = {{126, {"126", "1", "1", "1", "0", "1", "0", "0", "0", "1", "1", "1", "1", "-0.5", "0.5", "0", "0.5",
                         "0.5", "0", "-1", "1", "0", "0", "1"}}};
    const IgesFile f = t.file();
    Dialogue d = trim_dialogue(f, {"1"}, "0 0 0", "1 0 0 0");
    Sandbox box;
    box.write("in.igs", f.text());
    Outcome r = box.run(d.answers() + "0\n3\nout.net\n6\n");
    ASSERT_EQ(r.status, 0);
    EXPECT_NE(r.out.find(lines({" ii=" + fi(1), " u=" + fr(-1), " ration=" + fr(1), " cx(ii)=" + fr(-0.5f),
                                " cy(ii)=" + fr(0.5f), " u=" + fr(-0.5f), " v=" + fr(0.5f), " ii=" + fi(2)})),
              std::string::npos)
        << r.out;
    std::vector<NetMesh> nets = parse_networks(*box.read("out.net"));
    ASSERT_EQ(nets.size(), 2u);
    // the first point at the curve's start and at u = 0 of the surface: not
    // on the closed edge, for its u is -0.5
    EXPECT_EQ(nets[1].p[0], (std::array<float, 3>{0.0f, 0.5f, 1.0f}));
    for (const auto& p : nets[1].p) EXPECT_TRUE(std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]));
}

// The segment limits, negative counts too: the seven-line stop with the
// values, fort.21 deleted, the surface mesh kept; the largest segment is
// meshed.
TEST(Trimmed, SegmentLimits)
{
    struct Case {
        std::string kc, mc, shown;
    };
    const Case cases[] = {{"1002", "3", "  1002    3"},
                          {"1", "9", "     1    9"},
                          {"1", "-1", "     1   -1"},
                          {"-1", "1", "    -1    1"},
                          {"-2147483648", "-5", " *****   -5"}};
    for (const Case& c : cases) {
        Trim t;
        t.segments = {{126, {"126", c.kc, c.mc, "0", "0", "0", "0"}}};
        const IgesFile f = t.file();
        Dialogue d = trim_dialogue(f, {"1"});
        d.say("0", kFormatMenu).say("3", q(" enter new mesh filename: "));
        d.say("out.net", lines({"  stopping for insufficient array size", "", "    kkc  mmc", "  1001    8", "",
                                "     kc   mc", c.shown}));
        Sandbox box;
        box.write("in.igs", f.text());
        Outcome r = box.run(d.answers() + "6\n");
        EXPECT_EQ(r.out, d.transcript());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(box.read("out.net"), kSurface);
        EXPECT_FALSE(box.read("fort.21"));
    }

    // kc 1001, mc 8: a line from (0.1, 0.1) to (0.9, 0.9) on clamped knots
    std::vector<std::string> big{"126", "1001", "8", "0", "0", "1", "0"};
    for (int k = 0; k < 9; ++k) big.push_back("0");
    for (int k = 1; k <= 993; ++k) big.push_back(std::to_string(k) + "D0");
    for (int k = 0; k < 9; ++k) big.push_back("994.");
    for (int k = 0; k <= 1001; ++k) big.push_back("1");
    for (int k = 0; k <= 1001; ++k) {
        const std::string p = std::to_string(0.1 + 0.8 * k / 1001.0);
        big.insert(big.end(), {p, p, "0"});
    }
    big.insert(big.end(), {"0", "994", "0", "0", "1"});
    Trim t;
    t.segments = {{126, big}};
    const IgesFile f = t.file();
    Dialogue d = trim_dialogue(f, {"1"});
    Sandbox box;
    box.write("in.igs", f.text());
    Outcome r = box.run(d.answers() + "0\n3\nout.net\n6\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("  mesh computed\n"), std::string::npos);
    std::vector<NetMesh> nets = parse_networks(*box.read("out.net"));
    ASSERT_EQ(nets.size(), 2u);
    EXPECT_EQ(nets[1].ni, 3);
    EXPECT_NEAR(nets[1].p[0][0], 0.1f, 1.0e-6f);
    EXPECT_NEAR(nets[1].p[2][1], 0.9f, 1.0e-4f);
}

// A diagonal segment whose weights or knots leave no weight on the curve.
std::vector<std::string> diagonal_with(void (*change)(std::vector<std::string>&))
{
    std::vector<std::string> s = kDiagonal;
    change(s);
    return s;
}
const std::vector<std::string> kWeightless = diagonal_with([](std::vector<std::string>& s) { s[11] = s[12] = "0"; });

// Points that are not finite stop the command before their mesh is written,
// after the screen lines of their boundary: a boundary after its surface and
// the boundaries before it, a base surface after the whole of the
// specification before it. A PLOT3D file takes no boundary, so there the
// run goes on.
TEST(Trimmed, PointsThatAreNotFinite)
{
    const std::string weightless_account = account({0, 0, 1, 1}, {0, 0}, 0);
    const std::string boundary_stop = line(" stopping ... iges 144 entity #    1 boundary gives a point that is not finite");
    struct Case {
        const char* what;
        Trim trim;
        std::vector<const char*> rels;
        const char* format;
        std::string shown;   // on the screen after the file name: up to the stop, or to the menu
        std::string file;
    };
    Trim second;   // entry 6 a trimmed surface on entry 7, a surface of zero weights
    Surface128 weightless;
    weightless.w.assign(4, "0");
    second.after = {{144, {"144", "13", "0", "0", "0"}}, {128, weightless.values()}};
    const Case cases[] = {
        {"a segment of zero weights", with([](Trim& t) { t.segments = {{126, kWeightless}}; }), {"1"}, "3",
         weightless_account + boundary_stop, kSurface},
        {"a segment whose knots are all equal", with([](Trim& t) {
             t.segments = {{126, diagonal_with([](std::vector<std::string>& s) {
                                for (int k = 7; k <= 10; ++k) s[k] = "0.5";
                            })}};
         }),
         {"1"}, "3", account({0.5f, 0.5f, 0.5f, 0.5f}, {1, 1}, 0) + boundary_stop, kSurface},
        {"a good segment, then one of zero weights",
         with([](Trim& t) { t.segments = {{126, kDiagonal}, {126, kWeightless}}; }), {"1"}, "3",
         kAccount + weightless_account + boundary_stop, kSurface + kBoundary},
        {"a base surface of zero weights", second, {"1", "2"}, "3",
         kAccount + line(" stopping ... iges 144 entity #    2 gives a point that is not finite"),
         kSurface + kBoundary},
        {"a segment of zero weights, PLOT3D", with([](Trim& t) { t.segments = {{126, kWeightless}}; }), {"1"}, "1",
         weightless_account, fi(3) + fi(3) + fi(1) + "\n" + free_list(surface_block())},
    };
    for (const Case& c : cases) {
        const IgesFile f = c.trim.file();
        Dialogue d = trim_dialogue(f, c.rels);
        if (*c.format == '1')
            d.file(c.format, "out", "1", c.shown).quit();
        else
            d.say("0", kFormatMenu).say(c.format, q(" enter new mesh filename: ")).say("out", c.shown);
        Sandbox box;
        box.write("in.igs", f.text());
        Outcome r = box.run(d.answers());
        EXPECT_EQ(r.out, d.transcript()) << c.what;
        EXPECT_EQ(r.status, *c.format == '1' ? 0 : 1) << c.what;   // the PLOT3D run goes on to its quit
        EXPECT_EQ(r.err, "") << c.what;
        EXPECT_EQ(box.read("out"), c.file) << c.what;
        EXPECT_FALSE(box.read("fort.21")) << c.what;
    }
}

// Short parameter data end the run through the I/O layer, fort.21 kept;
// a short trimmed-surface record ends it before the PLOT3D header.
TEST(Trimmed, ShortData)
{
    struct Case {
        const char* what;
        Trim trim;
        const char* format;
        std::string file;
    };
    const Case cases[] = {
        {"142", with([](Trim& t) { t.t142 = {"142", "0", "3"}; }), "3", kSurface},
        {"102", with([](Trim& t) { t.t102 = {"102", "2", "9"}; }), "3", kSurface},
        {"126", with([](Trim& t) { t.segments = {{126, {"126", "1", "1", "1", "0", "1", "0", "0", "0"}}}; }), "3",
         kSurface},
        {"144", with([](Trim& t) { t.t144 = {"144", "3", "1", "1"}; }), "3", ""},
        {"144 before the PLOT3D header", with([](Trim& t) { t.t144 = {"144", "3", "1", "2", "5", "9"}; }), "1", ""},
    };
    for (const Case& c : cases) {
        const IgesFile f = c.trim.file();
        Dialogue d = trim_dialogue(f, {"1"});
        Sandbox box;
        box.write("in.igs", f.text());
        Outcome r = box.run(d.answers() + "0\n" + c.format + "\nout\n2\n6\n");
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_NE(r.err.find("fort.21"), std::string::npos) << c.what << ": " << r.err;
        EXPECT_TRUE(box.read("fort.21")) << c.what;
        EXPECT_EQ(box.read("out"), c.file) << c.what;
    }
}

}  // namespace
