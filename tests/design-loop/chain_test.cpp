// The design loop on a small version of examples/design-loop: the real
// programs run one after the other in one scratch folder, each reading what
// the one before wrote, and the checks are the promises the programs make
// to each other at the files they exchange.
//
// The bulb is the example's IGES file meshed coarser (two quarters of
// 9 x 3 points, a 9 x 5 bulb); the keel (5 x 5) and the wing (9 x 5) here
// are made by the example's generate.py --small; appgrid makes a 16 x 5
// bulb with four sweeps a phase.
#include "support/networks.hpp"
#include "support/sandbox.hpp"
#include "support/scratch.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace design_loop_test {
namespace {

using test_support::Network;
using test_support::Outcome;
using test_support::Point;

const std::string kBin = BIN_DIR;
const std::string kExamples = EXAMPLES_DIR;
const std::string kData = DATA_DIR;

// The new bulb's size and the columns of the appendages' edges on it.
constexpr int kImo = 16, kJmo = 5, kJmoh = (kJmo + 1) / 2;
constexpr int kIkle = 6, kIkte = 10, kIwle = 10, kIwte = 14;

// Points printed with eight or nine significant digits, against each other
// or against a value the program set exactly.
constexpr double kPrinted = 1.0e-6;
// Cut points are tabled in five decimals.
constexpr double kTabled = 1.0e-5;
// How near the new bulb's junction ends come to the appendage's edges: the
// keel's exactly (both lie on the bulb's top centre line); the wing's
// leading edge is moved along the splines of its cut row, which the bulb's
// coarse cells follow only to second order. Either is a small part of the
// root's thickness (0.03).
constexpr double kJunctionEnd = 1.0e-3;

std::string lines(std::initializer_list<const char*> ls) {
    std::string s;
    for (const char* l : ls) s += std::string(l) + "\n";
    return s;
}

// surfmesh: the two quarters of bulb.igs, each into its own network file;
// y and z swapped (the CAD's z is up), u and v exchanged (the file's u
// runs round the section), points bunched at nose and tail, one refit pass.
// Then every surface as it stands, the reduced IGES file, and every surface
// of that file read back.
std::string surfmesh_answers() {
    std::string a = lines({"1", "bulb.igs"});
    for (const char* q : {"upper", "lower"}) {
        a += lines({"4", "1", "1 1 1", "1"});
        a += std::string(q == std::string("upper") ? "1" : "2") + "\nbulb " + q + " quarter\n";
        a += lines({"0 0 1", "9 3 0.5 0.5 0 0", "3 1 1 1 0 0", "1 1", "0 0 0 0", "0", "3"});
        a += std::string("bulb-") + q + ".net\n";
    }
    const std::string all = lines({"4", "0", "1 1 1", "0", "3 3", "3"});
    return a + all + lines({"bulb-surfaces.net", "3", "bulb128.igs", "1", "bulb128.igs"}) + all +
           lines({"bulb128.net", "6"});
}

// gridedit: the quarters read into rows 1-3 and 3-5 of a 9 x 5 network.
const std::string kGrideditAnswers =
    lines({"ijmax", "9 5", "setblock", "1 9", "1 3", "input", "bulb-upper.net", "setblock", "1 9", "3 5", "input",
           "bulb-lower.net", "setblock", "0 0", "0 0", "settitle", "design-loop bulb", "output", "bulb.net", "quit",
           "y"});

std::string appgrid_answers() {
    char edges[80];
    std::snprintf(edges, sizeof edges, "%d %d\nwing edges\n%d %d\n", kIkle, kIkte, kIwle, kIwte);
    char sizes[40];
    std::snprintf(sizes, sizeof sizes, "%d %d\n", kImo, kJmo);
    return lines({"keel in", "keel.net", "bulb in", "bulb.net", "wing in", "wing.net", "keel out", "keel-trimmed.net",
                  "bulb out", "bulb-new.net", "wing out", "wing-trimmed.net", "imo jmo"}) +
           sizes +
           lines({"niter1 omega1", "4 1.0", "niter2 omega2 rA rB", "4 1.0 0.1 0.1", "switches",
                  "1 1 1 1 0 0 0 0 0 0 0 0", "decay lengths", "0.3 0.3 0.3 0.3 0.1 0.1 0.1 0.1 0.2 0.2 0.2 0.2",
                  "exponents", "1 1 1 1 1 1 1 1", "keel edges"}) +
           edges;
}

// One record of an intersection table.
struct Station {
    int iint = 0;
    double x = 0, y = 0, z = 0, xsis = 0, etas = 0, xsit = 0, etat = 0;
};

std::vector<Station> stations(const std::string& table) {
    std::vector<Station> st;
    const auto ls = test_support::split_lines(table);
    for (std::size_t k = 1; k < ls.size(); ++k) {
        Station s;
        std::istringstream in(ls[k]);
        in >> s.iint >> s.x >> s.y >> s.z >> s.xsis >> s.etas >> s.xsit >> s.etat;
        EXPECT_TRUE(in) << "record " << k << ": " << ls[k];
        st.push_back(s);
    }
    return st;
}

double distance(const Point& a, const Point& b) { return std::hypot(a.x - b.x, a.y - b.y, a.z - b.z); }

double to_segment(const Point& p, const Point& a, const Point& b) {
    const double ax = b.x - a.x, ay = b.y - a.y, az = b.z - a.z;
    const double den = ax * ax + ay * ay + az * az;
    const double s =
        den > 0 ? std::clamp(((p.x - a.x) * ax + (p.y - a.y) * ay + (p.z - a.z) * az) / den, 0.0, 1.0) : 0.0;
    return distance(p, {a.x + s * ax, a.y + s * ay, a.z + s * az});
}

// A junction row against an appendage's cut row (the part of it from
// station k1 to k2, in the order the junction runs): its ends on the cut
// row's ends, and every point on the polygon of the cut row within the
// polygon's own bend there (the distance of a station from the chord of its
// neighbours: the curve it samples departs from the polygon by less).
void expect_on_cut_row(const std::vector<Point>& junction, const std::vector<Point>& cut) {
    ASSERT_GE(cut.size(), 3u);
    EXPECT_LE(distance(junction.front(), cut.front()), kJunctionEnd);
    EXPECT_LE(distance(junction.back(), cut.back()), kJunctionEnd);
    std::vector<double> bend(cut.size());
    for (std::size_t k = 1; k + 1 < cut.size(); ++k) bend[k] = to_segment(cut[k], cut[k - 1], cut[k + 1]);
    bend.front() = bend[1];
    bend.back() = bend[cut.size() - 2];
    for (std::size_t m = 0; m < junction.size(); ++m) {
        double best = 1e30, allowed = 0;
        for (std::size_t k = 0; k + 1 < cut.size(); ++k) {
            const double d = to_segment(junction[m], cut[k], cut[k + 1]);
            if (d < best) best = d, allowed = std::max(bend[k], bend[k + 1]);
        }
        EXPECT_LE(best, allowed) << "junction point " << m + 1;
    }
}

std::vector<Point> row(const Network& n, int j, int i1, int i2) {
    std::vector<Point> r;
    for (int i = i1; i <= i2; ++i) r.push_back(n.at(i, j));
    return r;
}

// The same point, as two files write it: appgrid writes eight significant
// digits, the others nine.
bool same_point(const Point& a, const Point& b) {
    const auto same = [](double u, double v) { return std::fabs(u - v) <= 1.0e-7 * std::max(1.0, std::fabs(v)); };
    return same(a.x, b.x) && same(a.y, b.y) && same(a.z, b.z);
}

// The whole chain, run once for all the tests of the suite.
struct Chain {
    test_support::Sandbox box{kBin + "/surfmesh", "design-loop"};
    std::map<std::string, Outcome> runs;

    Chain() {
        box.write("bulb.igs", test_support::read_file(kExamples + "/bulb.igs"));
        for (const char* f : {"keel.net", "wing.net"}) box.write(f, test_support::read_file(kData + "/" + f));
        box.write("testpoints.txt", test_support::read_file(kExamples + "/testpoints.txt"));
        run("surfmesh", surfmesh_answers());
        run("gridedit", kGrideditAnswers);
        run("keelcut", example_answers("keelcut"));
        run("foilcut", example_answers("foilcut"));
        run("appgrid", appgrid_answers());
        box.write("design.net", file("bulb-new.net") + file("keel-trimmed.net") + file("wing-trimmed.net"));
        for (const char* p : {"gridplot", "meshdump", "runplan"}) run(p, example_answers(p));
    }

    static std::string example_answers(const std::string& program) {
        return test_support::read_file(kExamples + "/" + program + ".answers");
    }
    void run(const std::string& program, const std::string& answers) {
        runs[program] = box.run_program(kBin + "/" + program, answers);
    }
    std::string file(const std::string& name) const { return box.read(name).value_or(""); }

    // The networks of a file the chain wrote; a file that is missing or does
    // not parse fails the test.
    std::vector<Network> networks(const std::string& name) const {
        const auto text = box.read(name);
        EXPECT_TRUE(text.has_value()) << name << " was not written";
        const auto nets = test_support::parse_networks(text.value_or(""));
        EXPECT_TRUE(nets.has_value()) << name << " does not parse";
        return nets.value_or(std::vector<Network>{});
    }
    Network network(const std::string& name) const {
        auto nets = networks(name);
        EXPECT_EQ(nets.size(), 1u) << name;
        return nets.empty() ? Network{} : nets.front();
    }
};

class DesignLoop : public ::testing::Test {
protected:
    static void SetUpTestSuite() { chain_ = std::make_unique<Chain>(); }
    static void TearDownTestSuite() { chain_.reset(); }
    static const Chain& chain() { return *chain_; }

private:
    static std::unique_ptr<Chain> chain_;
};

std::unique_ptr<Chain> DesignLoop::chain_;

TEST_F(DesignLoop, EveryStepEndsNormally) {
    for (const auto& [program, r] : chain().runs) {
        EXPECT_EQ(r.status, 0) << program;
        EXPECT_EQ(r.err, "") << program;
        EXPECT_EQ(r.out.find(" error"), std::string::npos) << program << ":\n" << r.out;
        EXPECT_EQ(r.out.find("stopping"), std::string::npos) << program << ":\n" << r.out;
    }
}

TEST_F(DesignLoop, SurfmeshMeshesTheQuartersThatMeetOnTheHalfBreadth) {
    const Network upper = chain().network("bulb-upper.net"), lower = chain().network("bulb-lower.net");
    ASSERT_EQ(upper.ni, 9);
    ASSERT_EQ(upper.nj, 3);
    ASSERT_EQ(lower.ni, 9);
    ASSERT_EQ(lower.nj, 3);
    EXPECT_EQ(upper.title, "bulb upper quarter");
    EXPECT_EQ(lower.title, "bulb lower quarter");
    for (int i = 1; i <= 9; ++i) EXPECT_LE(distance(upper.at(i, 3), lower.at(i, 1)), 10 * kPrinted) << "column " << i;
}

// The directory entries of an IGES file: the type of each.
std::vector<int> entity_types(const std::string& iges) {
    std::vector<int> types;
    for (const auto& l : test_support::split_lines(iges))
        if (l.size() >= 80 && l[72] == 'D' && std::stoi(l.substr(73)) % 2 == 1) types.push_back(std::stoi(l.substr(0, 8)));
    return types;
}

TEST_F(DesignLoop, SurfmeshsReducedFileHoldsTheSurfacesAloneAndMeshesAsTheOriginal) {
    EXPECT_EQ(entity_types(chain().file("bulb.igs")), (std::vector<int>{110, 126, 128, 128}));
    EXPECT_EQ(entity_types(chain().file("bulb128.igs")), (std::vector<int>{128, 128}));
    const auto surfaces = chain().networks("bulb-surfaces.net");
    EXPECT_EQ(surfaces.size(), 2u);
    EXPECT_EQ(chain().file("bulb128.net"), chain().file("bulb-surfaces.net"));
}

TEST_F(DesignLoop, GrideditPutsTheQuartersIntoTheLayoutAppgridExpects) {
    const Network upper = chain().network("bulb-upper.net"), lower = chain().network("bulb-lower.net");
    const Network bulb = chain().network("bulb.net");
    ASSERT_EQ(bulb.ni, 9);
    ASSERT_EQ(bulb.nj, 5);
    EXPECT_EQ(bulb.title, "design-loop bulb");
    for (int i = 1; i <= 9; ++i) {
        for (int j = 1; j <= 5; ++j) {
            const Point& from = j <= 2 ? upper.at(i, j) : lower.at(i, j - 2);
            EXPECT_TRUE(same_point(bulb.at(i, j), from)) << i << "," << j;
        }
        // row 1 the top centre line, row 3 the widest, row 5 the bottom centre line
        EXPECT_NEAR(bulb.at(i, 1).z, 0.0, kPrinted);
        EXPECT_NEAR(bulb.at(i, 5).z, 0.0, kPrinted);
        for (int j = 1; j <= 5; ++j) EXPECT_LE(bulb.at(i, j).z, bulb.at(i, 3).z + kPrinted) << i << "," << j;
        // the columns from the nose aft, row 1 above row 5
        if (i > 1) {
            EXPECT_GT(bulb.at(i, 3).x, bulb.at(i - 1, 3).x) << "column " << i;
            EXPECT_GT(bulb.at(i, 1).y, bulb.at(i, 5).y) << "column " << i;
        }
    }
    for (int j = 2; j <= 5; ++j) EXPECT_LE(distance(bulb.at(1, j), bulb.at(1, 1)), kPrinted) << "the nose, row " << j;
}

TEST_F(DesignLoop, KeelcutAndFoilcutCutTheBulbAtEveryStationOfARow) {
    const auto keel = stations(chain().file("keelcut.out"));
    ASSERT_EQ(keel.size(), 5u);   // one record per point of a keel row
    for (std::size_t k = 0; k < keel.size(); ++k) {
        EXPECT_NE(keel[k].iint, 0) << "keel station " << k + 1;
        EXPECT_EQ(keel[k].xsis, double(k + 1));
        EXPECT_GE(keel[k].etat, 1.0);   // in the bulb's upper half
        EXPECT_LT(keel[k].etat, 3.0);
        EXPECT_GT(keel[k].etas, 1.0);   // below the keel's first row
        EXPECT_LT(keel[k].etas, 5.0);
    }
    EXPECT_EQ(keel.front().etat, 1.0);   // the edges on the top centre line
    EXPECT_EQ(keel.back().etat, 1.0);

    const auto wing = stations(chain().file("foilcut.out"));
    ASSERT_EQ(wing.size(), 9u);
    for (std::size_t k = 0; k < wing.size(); ++k) {
        EXPECT_NE(wing[k].iint, 0) << "wing station " << k + 1;
        EXPECT_EQ(wing[k].xsis, double(k + 1));
        EXPECT_NEAR(wing[k].etat, 3.0, 1.0);   // about the half-breadth row
        EXPECT_LT(wing[k].xsit, 9.0 - 0.9);    // clear of the tail, where appgrid would move it
        EXPECT_GE(wing[k].x, wing[4].x);       // the leading edge is the middle station
    }

    // the strips hold each cut curve twice
    for (const auto& [file, title, cut] : {std::tuple{"keelcut.net", "keel-bulb intersection", keel},
                                           std::tuple{"foilcut.net", "bulb-wing intersection", wing}}) {
        const Network strip = chain().network(file);
        EXPECT_EQ(strip.title, title);
        ASSERT_EQ(strip.ni * strip.nj, int(2 * cut.size())) << file;
        for (std::size_t k = 0; k < cut.size(); ++k)
            EXPECT_LE(distance(strip.p[k], {cut[k].x, cut[k].y, cut[k].z}), 2 * kTabled) << file << " " << k;
    }
}

TEST_F(DesignLoop, AppgridKeepsTheRowsOutsideTheBulbAndClosesEachAppendageWithItsCut) {
    const Network keel = chain().network("keel.net"), wing = chain().network("wing.net");
    const auto kcut = stations(chain().file("keelcut.out")), wcut = stations(chain().file("foilcut.out"));
    ASSERT_EQ(kcut.size(), 5u);
    ASSERT_EQ(wcut.size(), 9u);

    // the keel: its rows above the smallest cut row position, then the cut row
    double etamin = 1e30;
    for (const Station& s : kcut) etamin = std::min(etamin, s.etas);
    const int kept = int(std::ceil(etamin)) - 1;
    const Network k = chain().network("keel-trimmed.net");
    ASSERT_EQ(k.ni, 5);
    ASSERT_EQ(k.nj, kept + 1);
    EXPECT_EQ(k.title, keel.title);
    for (int j = 1; j <= kept; ++j)
        for (int i = 1; i <= 5; ++i) EXPECT_TRUE(same_point(k.at(i, j), keel.at(i, j))) << i << "," << j;
    for (int i = 1; i <= 5; ++i) {
        const Station& s = kcut[std::size_t(i - 1)];
        EXPECT_LE(distance(k.at(i, k.nj), {s.x, s.y, s.z}), 2 * kTabled) << "station " << i;
    }
    EXPECT_EQ(k.at(1, k.nj).z, 0.0);   // the edges on the centre plane
    EXPECT_EQ(k.at(5, k.nj).z, 0.0);

    // the wing: the cut row, then its rows beyond the largest cut row position
    double etamax = -1e30;
    for (const Station& s : wcut) etamax = std::max(etamax, s.etas);
    const int first = int(std::floor(etamax)) + 1;
    const Network w = chain().network("wing-trimmed.net");
    ASSERT_EQ(w.ni, 9);
    ASSERT_EQ(w.nj, wing.nj - first + 2);
    EXPECT_EQ(w.title, wing.title);
    for (int j = 2; j <= w.nj; ++j)
        for (int i = 1; i <= 9; ++i) EXPECT_TRUE(same_point(w.at(i, j), wing.at(i, first + j - 2))) << i << "," << j;
    for (int i : {1, 9}) {   // the trailing edges stay where foilcut cut them
        const Station& s = wcut[std::size_t(i - 1)];
        EXPECT_LE(distance(w.at(i, 1), {s.x, s.y, s.z}), 2 * kTabled) << "station " << i;
    }
    // the leading edge moved to the foremost point of the cut row
    for (int i = 1; i <= 9; ++i) EXPECT_GE(w.at(i, 1).x, w.at(5, 1).x - kPrinted) << "station " << i;

    const Network bulb = chain().network("bulb-new.net");
    EXPECT_EQ(bulb.ni, kImo);
    EXPECT_EQ(bulb.nj, kJmo + 1);   // the middle row twice, one for each side of the wing
    EXPECT_EQ(bulb.title, "design-loop bulb");
}

TEST_F(DesignLoop, TheNewBulbMeetsTheKeelRootOnItsTopCentreLine) {
    const Network bulb = chain().network("bulb-new.net"), keel = chain().network("keel-trimmed.net");
    ASSERT_EQ(bulb.ni, kImo);
    ASSERT_GT(keel.nj, 0);
    expect_on_cut_row(row(bulb, 1, kIkle, kIkte), row(keel, keel.nj, 1, keel.ni));
    for (int i = 1; i <= kImo; ++i) {
        if (i < kIkle || i > kIkte) {
            EXPECT_NEAR(bulb.at(i, 1).z, 0.0, kPrinted) << "column " << i;
        }
        EXPECT_NEAR(bulb.at(i, bulb.nj).z, 0.0, kPrinted) << "column " << i;   // the bottom centre line
        if (i > 1) {
            EXPECT_GT(bulb.at(i, 1).x, bulb.at(i - 1, 1).x) << "column " << i;
        }
    }
}

TEST_F(DesignLoop, TheNewBulbMeetsTheWingRootWithOneHalfOnEachSide) {
    const Network bulb = chain().network("bulb-new.net"), wing = chain().network("wing-trimmed.net");
    ASSERT_EQ(bulb.nj, kJmo + 1);
    ASSERT_EQ(wing.ni, 9);
    const int le = (wing.ni + 1) / 2;
    // the upper half's last row on the cut row from the leading edge to the
    // last station, the lower half's first row from there to the first
    expect_on_cut_row(row(bulb, kJmoh, kIwle, kIwte), row(wing, 1, le, wing.ni));
    std::vector<Point> lower_side = row(wing, 1, 1, le);
    std::reverse(lower_side.begin(), lower_side.end());
    expect_on_cut_row(row(bulb, kJmoh + 1, kIwle, kIwte), lower_side);
    for (int i = 1; i <= kImo; ++i) {
        const Point &up = bulb.at(i, kJmoh), &down = bulb.at(i, kJmoh + 1);
        if (i < kIwle || i > kIwte) {
            EXPECT_TRUE(same_point(up, down)) << "column " << i;   // one row fore and aft of the wing
        } else if (i > kIwle && i < kIwte) {
            EXPECT_GT(up.y, down.y) << "column " << i;   // the slit opens upward
        }
    }
}

TEST_F(DesignLoop, GridplotAndMeshdumpTakeTheResultWhole) {
    const auto nets = chain().networks("design.net");
    ASSERT_EQ(nets.size(), 3u);
    const std::string plt = chain().file("design.plt");
    const auto pl = test_support::split_lines(plt);
    ASSERT_GE(pl.size(), 2u);
    EXPECT_EQ(pl[0], "TITLE = \"design loop: regenerated bulb, trimmed keel and wing\"");
    std::size_t at = 2;
    int panels = 0;
    for (const Network& n : nets) {
        char sizes[40];
        std::snprintf(sizes, sizeof sizes, "I=%3d, J=%3d", n.ni, n.nj);
        ASSERT_LT(at + 1, pl.size());
        EXPECT_EQ(pl[at], "ZONE T=\"" + n.title + "\",");
        EXPECT_EQ(pl[at + 1], sizes);
        for (int m = 0; m < n.ni * n.nj; ++m) {
            std::istringstream in(pl[at + 2 + std::size_t(m)]);
            Point q;
            in >> q.x >> q.y >> q.z;
            EXPECT_TRUE(same_point(q, n.p[std::size_t(m)])) << n.title << " point " << m + 1;
        }
        at += 2 + std::size_t(n.ni * n.nj);
        panels += (n.ni - 1) * (n.nj - 1);
    }
    char counts[80];
    std::snprintf(counts, sizeof counts, "number of networks=%5d\nnumber of panels=  %5d\n", 3, panels);
    const std::string& out = chain().runs.at("meshdump").out;
    EXPECT_EQ(out.substr(out.size() - std::min(out.size(), std::string(counts).size())), counts);
    char grid_sizes[20];
    std::snprintf(grid_sizes, sizeof grid_sizes, "%5d%5d", nets[0].ni, nets[0].nj);
    EXPECT_EQ(test_support::split_lines(chain().file("design.grd")).at(0), grid_sizes);
}

TEST_F(DesignLoop, RunplanWritesTheTestMatrixRoutine) {
    EXPECT_NE(chain().runs.at("runplan").out.find("eof reached after reading    48 points"), std::string::npos);
    const std::string setmat = chain().file("setmat.f");
    EXPECT_NE(setmat.find("      subroutine setmat("), std::string::npos);
    int heels = 0;
    for (const auto& l : test_support::split_lines(setmat)) heels += l.rfind("      ih=", 0) == 0;
    EXPECT_EQ(heels, 3);
}

}  // namespace
}  // namespace design_loop_test
