// Where the mesh commands find an entity's parameter lines: straight at the
// lines its pointer names, in any order of the entities, the first and the
// last of the section, after another file was read and after the other
// commands have read the section; and the same end of the run as a reader
// from the section's start where the section holds fewer lines than the
// directory says.

#include "fixtures.hpp"
#include "surfmesh/surface.hpp"

#include <gtest/gtest.h>

namespace {

using namespace surfmesh_test;

const float kFar = 1.0f - surfmesh::end_offset;   // the clamped end of a range 0..1
const std::string kUniform3 = "3 1 1 1 0 0";

// Parameter lines of four values each, the last ending in ";".
std::vector<std::string> lines_of(const std::vector<std::string>& values) {
    std::vector<std::string> ls;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (k % 4 == 0) ls.emplace_back();
        ls.back() += values[k] + (k + 1 < values.size() ? "," : ";");
    }
    return ls;
}

// The flat patch at height z, a power of two: every mesh point has it exactly.
std::vector<std::string> patch_at(int z) {
    Surface128 s;
    for (std::size_t k : {2u, 5u, 8u, 11u}) s.xyz[k] = std::to_string(z);
    return s.values();
}

// Its 3 x 3 uniform mesh as a network: x and y 0, 0.5 and kFar.
std::string net_at(std::string_view title, float z) {
    const float at[] = {0.0f, 0.5f, kFar};
    std::string s = "    3    3          " + std::string(title) + "\n";
    for (float y : at)
        for (float x : at) s += point(x, y, z);
    return s;
}

// Patches at 1, 2 and 4 around a curve and a trimmed surface on the second
// patch; the last patch's lines end the section.
struct Layout {
    IgesFile f;
    std::vector<std::string> last_lines = lines_of(patch_at(4));
    int last = 0;
    Layout() {
        f.add_lines(128, lines_of(patch_at(1)), "FIRST");
        f.add(126, {"126", "1", "1", "0", "0", "1", "0", "0", "0", "1", "1", "1", "1", "0", "0", "0", "1", "0", "0", "0",
                    "1"},
              "CURVE", 24);
        f.add(128, patch_at(2), "MIDDLE", 30);
        f.add(144, {"144", "5", "0", "0", "0"}, "TRIM");
        last = f.add_lines(128, last_lines, "LAST");
    }
};

// Option 4 on the relative entity numbers given, 3 x 3 each, into out.net.
Dialogue& mesh_entities(Dialogue& d, std::initializer_list<int> rels) {
    d.mesh().specified();
    for (int rel : rels) d.spec(std::to_string(rel), "m" + std::to_string(rel), "0 0 0", kUniform3, kUniform3);
    return d;
}

TEST(ParameterIndex, EntitiesInAnyOrder) {
    Layout l;
    Sandbox box;
    box.write("in.igs", l.f.text());
    Dialogue d;
    d.read("in.igs", l.f.counts());
    mesh_entities(d, {3, 1, 2, 3, 1}).file("3", "out.net").quit();
    const Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(box.read("out.net"), net_at("m3", 4) + net_at("m1", 1) + net_at("m2", 2) + net_at("m3", 4) + net_at("m1", 1));
    EXPECT_FALSE(box.read("fort.21"));
}

// The directory naming lines past the end of the section: the run ends
// where a reader from the start would, on the line after the last, with
// what was copied of the entity in fort.21 and the meshes before it kept.
TEST(ParameterIndex, SectionShorterThanTheDirectorySays) {
    struct Case {
        const char* what;
        long extra_lines, pointer_past;   // added to LAST's line count; its pointer past the end, 0 if not
        std::string copied;               // fort.21
    };
    Layout l;
    std::string all_last;
    for (const std::string& line : l.last_lines) {
        const std::size_t semi = line.find(';');
        all_last += (semi == std::string::npos ? line + std::string(64 - line.size(), ' ') : line.substr(0, semi)) + "\n";
    }
    const long ip = l.f.counts().p;
    for (const Case& c : {Case{"three lines short", 3, 0, all_last}, Case{"pointer one past", 0, 1, ""},
                          Case{"pointer far past", 0, 10, ""}}) {
        Layout broken;
        broken.f.entry(broken.last).count += c.extra_lines;
        if (c.pointer_past) broken.f.entry(broken.last).first = ip + c.pointer_past;
        Sandbox box;
        box.write("in.igs", broken.f.text());
        Dialogue d;
        d.read("in.igs", broken.f.counts());
        mesh_entities(d, {1, 3}).say("0", kFormatMenu).say("3", q(" enter new mesh filename: ")).say("out.net");
        const Outcome r = box.run(d.answers());
        EXPECT_EQ(r.out, d.transcript()) << c.what;
        EXPECT_EQ(r.status, 1) << c.what;
        EXPECT_EQ(r.err, "surfmesh: end of file, file 'fort.14' (unit 14, record " + std::to_string(ip + 1) + ")\n")
            << c.what;
        EXPECT_EQ(box.read("fort.21"), c.copied) << c.what;
        EXPECT_EQ(box.read("out.net"), net_at("m1", 1)) << c.what;
    }
}

// The second file's positions: other lines, other entities.
TEST(ParameterIndex, OptionOneTwice) {
    Layout a;
    IgesFile b;
    b.add(126, {"126", "1", "1", "0", "0", "1", "0", "0", "0", "1", "1", "1", "1", "0", "0", "0", "1", "0", "0", "0", "1"},
          "CURVE", 16);
    b.add(128, patch_at(8), "EIGHT", 50);
    b.add_lines(128, lines_of(patch_at(16)), "SIXTEEN");
    Sandbox box;
    box.write("a.igs", a.f.text());
    box.write("b.igs", b.text());
    Dialogue d;
    d.read("a.igs", a.f.counts());
    mesh_entities(d, {3}).file("3", "a.net");
    d.read("b.igs", b.counts());
    mesh_entities(d, {2, 1}).file("3", "b.net");
    d.mesh().all_meshes("3 3", "3", "all.net").quit();
    const Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(box.read("a.net"), net_at("m3", 4));
    EXPECT_EQ(box.read("b.net"), net_at("m2", 16) + net_at("m1", 8));
    EXPECT_EQ(box.read("all.net"), net_at("EIGHT", 8) + net_at("SIXTEEN", 16));
}

// Option 4 leaves the section where its last entity ended: the reduced
// file still takes every line from the start, and option 5 finds its own.
TEST(ParameterIndex, OptionsThreeAndFiveAfterFour) {
    Layout l;
    for (int e = 1; e <= 5; ++e) l.f.entry(e).status = "       0";   // as the reduced file writes it
    IgesFile reduced;
    reduced.add_lines(128, lines_of(patch_at(1)), "FIRST");
    reduced.add(128, patch_at(2), "MIDDLE", 30);
    reduced.add_lines(128, l.last_lines, "LAST");
    for (int e = 1; e <= 3; ++e) reduced.entry(e).status = "       0";
    Sandbox box;
    box.write("in.igs", l.f.text());
    Dialogue d;
    d.read("in.igs", l.f.counts());
    mesh_entities(d, {3}).file("3", "out.net");
    d.say("3", "\n output all 128 entities to new IGES file\n" + q(" enter filename: ")).say("red.igs", kMenu);
    d.trimmed().all_meshes("3 3", "3", "trim.net").quit();
    const Outcome r = box.run(d.answers());
    EXPECT_EQ(r.out, d.transcript());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(box.read("out.net"), net_at("m3", 4));
    EXPECT_EQ(box.read("red.igs"), reduced.text());
    EXPECT_EQ(box.read("trim.net"), net_at("TRIM", 2));
    for (const char* f : {"fort.14", "fort.21"}) EXPECT_FALSE(box.read(f)) << f;
}

}  // namespace
