// Real IGES files, written by other CAD systems (in the folder
// SUITE_IGES_DIR names, by default ../shared/iges; skipped where absent)
// and by OpenCASCADE (occt/, and the demo's bulb): their
// section counts, and every type-128 surface meshed and checked point by
// point against a double-precision evaluation of the file's definition.

#include "fixtures.hpp"
#include "reference.hpp"
#include "support/iges_copies.hpp"
#include "support/real_iges.hpp"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace surfmesh_test;
namespace fs = std::filesystem;

constexpr int kI = 5, kJ = 4;   // mesh points of every surface

// The mesh parameter as surfmesh takes it: uniform in single precision,
// kept a millionth of the range below its end, not below the first knot.
float parameter(float lo, float hi, int k, int n, float first_knot)
{
    const float s = static_cast<float>(k - 1) / static_cast<float>(n - 1);
    const float uu = (hi - lo) * s + lo;
    const float clamp = hi - (hi - lo) * 1.0e-6f;
    return std::max(std::min(uu, clamp), first_knot);
}

// The upper end of a mesh's parameter range, a millionth of it below.
float range_end(double lo, double hi)
{
    const float l = static_cast<float>(lo), h = static_cast<float>(hi);
    return h - (h - l) * 1.0e-6f;
}

// A parameter's file: a bare name is one of the real files, found in their
// folder when the test runs.
std::string file_of(const std::string& param)
{
    return fs::path(param).is_absolute() ? param : test_support::real_iges(param).string();
}

class RealFile : public ::testing::TestWithParam<std::string> {};

TEST_P(RealFile, CountsAndMeshes)
{
    const std::string path = file_of(GetParam());
    if (!fs::exists(path)) GTEST_SKIP() << test_support::skipped_for_absent(path);
    const std::optional<RefFile> ref = read_iges(path);
    ASSERT_TRUE(ref);
    std::vector<const RefEntry*> surfaces;
    for (const RefEntry& e : ref->entries)
        if (e.type == 128) surfaces.push_back(&e);

    Sandbox box;
    const Counts counts{ref->s, ref->g, ref->d, ref->p, ref->t};
    Dialogue d;
    d.read(path, counts);
    if (!surfaces.empty()) {
        d.mesh().all_meshes(std::to_string(kI) + " " + std::to_string(kJ), "3", "all.net");
    }
    d.quit();
    Outcome r = box.run(d.answers());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    ASSERT_EQ(r.out, d.transcript());
    if (surfaces.empty()) return;

    const std::vector<NetMesh> nets = parse_networks(*box.read("all.net"));
    ASSERT_EQ(nets.size(), surfaces.size());
    for (std::size_t k = 0; k < nets.size(); ++k) {
        const RefSurface s = surface_of(*surfaces[k]);
        std::string label = surfaces[k]->label;
        label.erase(label.find_last_not_of(' ') + 1);
        EXPECT_EQ(nets[k].title, label);
        ASSERT_EQ(nets[k].p.size(), static_cast<std::size_t>(kI * kJ));
        // single-precision evaluation against double: a few float steps of
        // the model's size (printed to 9 digits)
        const double tol = 2.0e-6 * std::max(1.0, s.extent()) * (1 + s.m1 + s.m2);
        for (int j = 1; j <= kJ; ++j)
            for (int i = 1; i <= kI; ++i) {
                const float u = parameter(static_cast<float>(s.u0), static_cast<float>(s.u1), i, kI,
                                          static_cast<float>(s.s.front()));
                const float v = parameter(static_cast<float>(s.v0), static_cast<float>(s.v1), j, kJ,
                                          static_cast<float>(s.t.front()));
                double want[3];
                s.point(std::max<double>(u, s.s.front()), std::max<double>(v, s.t.front()), want[0], want[1], want[2]);
                const auto& got = nets[k].p[static_cast<std::size_t>((i - 1) + (j - 1) * kI)];
                for (int c = 0; c < 3; ++c)
                    EXPECT_NEAR(got[c], want[c], tol) << "surface " << k + 1 << " point " << i << "," << j;
            }
    }
}

const std::string kOcct = OCCT_IGES_DIR, kDemo = DEMO_DIR;

INSTANTIATE_TEST_SUITE_P(
    Shared, RealFile,
    ::testing::ValuesIn(std::vector<std::string>(test_support::real_iges_files.begin(),
                                                 test_support::real_iges_files.end())),
    [](const auto& info) {
        std::string n = fs::path(info.param).stem().string();
        for (char& c : n)
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        return n;
    });

INSTANTIATE_TEST_SUITE_P(OpenCascade, RealFile,
                         ::testing::Values(kOcct + "/bicubic.igs", kOcct + "/rational.igs", kOcct + "/trimmed.igs",
                                           kDemo + "/bulb.igs", kDemo + "/cutbulb.igs"),
                         [](const auto& info) { return fs::path(info.param).stem().string(); });

// Impeller's surfaces copied 4 times, as the benchmark copies them (the
// sandbox's limit on file sizes keeps out the larger files' fort.14; the
// copies are tested as a file beside their generator): every copy meshes
// as the first, which meshes as the original file.
TEST(ManyCopies, EveryCopyMeshesAsTheFirst)
{
    const std::string path = test_support::real_iges("impeller.igs").string();
    if (!fs::exists(path)) GTEST_SKIP() << test_support::skipped_for_absent(path);
    constexpr int copies = 4;
    const test_support::IgesCopies many = test_support::iges_surface_copies(test_support::read_file(path), copies);

    Sandbox box;
    box.write("many.igs", many.text);
    auto mesh_all = [&](const std::string& file, const std::string& net) {
        const std::optional<RefFile> ref = read_iges(file);
        Dialogue d;
        d.read(file, {ref->s, ref->g, ref->d, ref->p, ref->t}).mesh().all_meshes("3 3", "3", net).quit();
        const Outcome r = box.run(d.answers());
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, d.transcript());
        return *box.read(net);
    };
    const std::string first = mesh_all(path, "original.net");
    const std::string all = mesh_all((box.work() / "many.igs").string(), "many.net");
    ASSERT_EQ(test_support::split_lines(first).size(), static_cast<std::size_t>(many.surfaces) * 10u);
    std::string want;
    for (int c = 0; c < copies; ++c) want += first;
    EXPECT_TRUE(all == want);
}

// Option 5 on files whose trimmed surfaces have type-128 bases and outer
// boundaries of type-126 segments: a surface mesh where the chain gives
// one, then every boundary mesh against the double-precision evaluation of
// the curve and the surface, also with the surface flipped and swapped
// (the same curve on the same surface).
struct Trimmed {
    std::string path;   // as file_of takes it
    std::string flips;
    friend void PrintTo(const Trimmed& t, std::ostream* os) { *os << t.path << ", flips " << t.flips; }
};

class RealTrimmed : public ::testing::TestWithParam<Trimmed> {};

TEST_P(RealTrimmed, SurfacesAndBoundaries)
{
    const Trimmed& c = GetParam();
    const std::string path = file_of(c.path);
    if (!fs::exists(path)) GTEST_SKIP() << test_support::skipped_for_absent(path);
    const std::optional<RefFile> ref = read_iges(path);
    ASSERT_TRUE(ref);
    std::vector<RefTrimmed> want;
    for (const RefEntry& e : ref->entries)
        if (e.type == 144) want.push_back(trimmed_of(*ref, e));
    ASSERT_FALSE(want.empty());

    const int ni = 2, nj = 3;   // boundaries of 3 points, meshes of 3 x 2
    Sandbox box;
    Dialogue d;
    d.read(path, {ref->s, ref->g, ref->d, ref->p, ref->t}).trimmed().specified();
    for (std::size_t k = 1; k <= want.size(); ++k)
        d.spec(std::to_string(k), "t" + std::to_string(k), c.flips, std::to_string(ni) + " 1 1 1 0 0",
               std::to_string(nj) + " 1 1 1 0 0");
    Outcome r = box.run(d.answers() + "0\n3\nout.net\n6\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("NaN"), std::string::npos);

    const std::vector<NetMesh> nets = parse_networks(*box.read("out.net"));
    std::size_t at = 0;
    for (std::size_t k = 0; k < want.size(); ++k) {
        if (!want[k].base) continue;
        const RefSurface s = surface_of(*want[k].base);
        // a few float steps of the model, as for the meshes above
        const double tol = 2.0e-6 * std::max(1.0, s.extent()) * (1 + s.m1 + s.m2);
        ASSERT_LT(at, nets.size());
        EXPECT_EQ(nets[at].ni, ni) << "surface of specification " << k + 1;
        ++at;
        for (const RefCurve& curve : want[k].segments) {
            ASSERT_LT(at, nets.size());
            const NetMesh& b = nets[at++];
            ASSERT_EQ(b.ni, nj) << "boundary of specification " << k + 1;
            ASSERT_EQ(b.p.size(), static_cast<std::size_t>(2 * nj));
            for (int i = 1; i <= nj; ++i) {
                // the curve at the sample's parameter, then the surface there,
                // kept inside its ranges as a mesh point is
                double cu = 0, cv = 0, w[3];
                curve.point(parameter(static_cast<float>(curve.u0), static_cast<float>(curve.u1), i, nj, -INFINITY), cu,
                            cv);
                const float su = std::min(static_cast<float>(cu), range_end(s.u0, s.u1));
                const float sv = std::min(static_cast<float>(cv), range_end(s.v0, s.v1));
                s.point(std::max<double>(su, s.s.front()), std::max<double>(sv, s.t.front()), w[0], w[1], w[2]);
                for (int row = 0; row < 2; ++row)
                    for (int q = 0; q < 3; ++q)
                        EXPECT_NEAR(b.p[static_cast<std::size_t>(row * nj + i - 1)][q], w[q], tol)
                            << "specification " << k + 1 << " point " << i;
            }
        }
    }
    EXPECT_EQ(at, nets.size());
}

INSTANTIATE_TEST_SUITE_P(
    Files, RealTrimmed,
    ::testing::Values(Trimmed{"rounded-cube.iges", "0 0 0"}, Trimmed{"hammer.iges", "0 0 0"},
                      Trimmed{"hammer.iges", "1 1 1"}, Trimmed{"bearing.iges", "0 0 0"},
                      Trimmed{"impeller.igs", "0 0 0"}, Trimmed{kOcct + "/trimmed.igs", "0 0 0"},
                      Trimmed{kOcct + "/trimmed.igs", "1 1 1"}, Trimmed{kOcct + "/trimmed.igs", "0 1 0"},
                      Trimmed{kDemo + "/bulb.igs", "0 0 0"}, Trimmed{kDemo + "/cutbulb.igs", "1 0 1"}),
    [](const auto& info) {
        std::string n = fs::path(info.param.path).stem().string() + "_flips_" + info.param.flips;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

}  // namespace
