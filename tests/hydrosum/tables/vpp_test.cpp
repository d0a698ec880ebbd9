// Velocity-prediction tables rvpp.plot and kvpp.plot from vpp.data.
#include "scratch.hpp"

#include "textio/units.hpp"

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace hydrosum_test {
namespace {

namespace fs = std::filesystem;

const std::string units = "  kts  deg  deg  deg  deg       m^2       m^2       kgf         m         m"
                          "        mm       deg         m       m^2       m^2       m^2       m^2       m^2"
                          "       m^2       m^2       m^2       m^2     kgf^2";
const std::string title = "TEST MATRIX";
constexpr int vpp_preamble = 9;

class VppTables : public ScratchStoreTest {
protected:
    void SetUp() override {
        ScratchStoreTest::SetUp();
        plain_deck(title);
        // density 2 g: a speed of 1 makes the side force in kgf equal to slot 47
        st.c(4) = 2.0f * 9.80665f;
        st.r_any = true;
        st.k_any = true;
    }
};

// Case i of a run: speed, side force and any other slots.
void put_case(const hydrosum::Run& run, int i, float speed, float side_force,
              const std::vector<std::pair<int, float>>& slots = {}) {
    run.present() = true;
    run.n() = std::max(run.n(), i);
    run.s(i, 1) = speed;
    run.s(i, 47) = side_force;
    for (const auto& [s, x] : slots) run.s(i, s) = x;
}

TEST_F(VppTables, GatherInterpolateAndCompare) {
    // Heel 5: the speed-1 points of runs 2, 3 and 4 have side forces 100,
    // 300, 200 in gathering order; at T = 250 the first segment serves both
    // abscissae (t = 3/4 on SF, 21/32 on SF^2), the third point never.
    const int k = 5;
    const hydrosum::Run ref = st.r.run(4, k);
    put_case(ref, 1, 0.5f, 0.0f, {{2, 20.0f}});   // its heel alone picks T
    // the third point: anything it adds to a column shows
    put_case(ref, 2, 1.0f, 200.0f,
             {{2, 21.0f}, {3, 90.0f}, {4, 90.0f}, {5, 90.0f}, {6, 9.0f}, {7, 900.0f}, {8, 900.0f}, {15, 900.0f},
              {33, 900.0f}, {39, 900.0f}, {45, 900.0f}, {51, 900.0f}, {52, 900.0f}, {53, 900.0f}, {54, 900.0f},
              {55, 900.0f}, {56, 900.0f}, {57, 900.0f}, {58, 900.0f}});
    put_case(ref, 3, 2.0f, 200.0f);   // gathered alone: no row
    // Against SF the second point's ordinate is 4 above the first's (YAW,
    // RUD, TAB, V-CLR, L-CLR), against SF^2 32 above (the rest; S-TOTAL from
    // 10 to 42, slot 11 not in it; SINK from 12 to 44 mm).
    const std::vector<std::pair<int, float>> wetted_parts = {{9, 1.0f},  {10, 1.0f}, {11, 500.0f},
                                                             {12, 1.0f}, {13, 1.0f}, {14, 1.0f}};
    std::vector<std::pair<int, float>> first = {
        {3, -4.0f}, {5, 1.0f},  {4, -2.0f}, {51, 0.5f}, {52, -6.0f}, {39, 1.0f},  {45, 2.0f},  {6, 0.012f},
        {7, 3.0f},  {15, 4.0f}, {8, 5.0f},  {33, 6.0f}, {53, 7.0f},  {54, 8.0f},  {55, 9.0f},  {56, 10.0f},
        {57, 11.0f}, {58, 12.0f}};
    std::vector<std::pair<int, float>> second = {
        {3, 0.0f},   {5, 5.0f},   {4, 2.0f},   {51, 4.5f},  {52, -2.0f}, {39, 33.0f}, {45, 34.0f}, {6, 0.044f},
        {7, 35.0f},  {15, 36.0f}, {8, 37.0f},  {33, 38.0f}, {53, 39.0f}, {54, 40.0f}, {55, 41.0f}, {56, 42.0f},
        {57, 43.0f}, {58, 44.0f}};
    first.insert(first.end(), wetted_parts.begin(), wetted_parts.end());
    second.insert(second.end(), wetted_parts.begin(), wetted_parts.end());
    put_case(st.r.run(2, k), 2, 1.0f, 100.0f, first);
    put_case(st.r.run(3, k), 2, 1.0f, 300.0f, second);
    put_case(st.r.run(3, k), 1, 0.0f, 0.0f);
    // not gathered: any of them would change the points' direction or segments
    put_case(st.r.run(2, k), 1, 1.0f, 250.0f, {{3, 90.0f}});   // a first case
    put_case(st.r.run(1, k), 2, 1.0f, 250.0f, {{3, 90.0f}});   // run 1
    put_case(st.r.run(5, k), 2, 1.0001f, 50.0f, {{3, 90.0f}}); // speed off by 1e-4
    // heel 1: run 4 with one case writes nothing, whatever the others hold
    put_case(st.r.run(4, 1), 1, 1.0f, 0.0f, {{2, 0.0f}});
    put_case(st.r.run(2, 1), 2, 1.0f, 100.0f);
    put_case(st.r.run(3, 1), 2, 1.0f, 300.0f);

    // pairs (10, 150) and (30, 350): a third number on a line is dropped, a pair may span lines
    write_file("vpp.data", "heel  side force\n(deg) (kgf)\n10 150 999\n30\n350\n");
    // one previous row: a read for the speed without a row would meet the end
    write_file("rvpp.plot.old", previous_preamble(vpp_preamble) + " 1.00 21.0  0.0  0.0  0.0  11.00000  46.00000\n");

    hydrosum::tabvpp(st);

    const auto lines = file_lines("rvpp.plot");
    ASSERT_TRUE(lines.has_value());
    const std::vector<std::string> preamble = {"", "", "", "", stamp(hydrosum::stamp::r), "", plot_heading, units, ""};
    ASSERT_EQ(lines->size(), preamble.size() + 1);
    EXPECT_EQ(std::vector<std::string>(lines->begin(), lines->begin() + vpp_preamble), preamble);
    // side force T with one decimal, SINK in mm, T^2 in whole kgf^2
    EXPECT_EQ(lines->back(), " 1.00 21.0 -1.0  4.0  1.0  22.00000  23.00000     250.0   3.50000  -3.00000     33.00"
                             "  24.00000  25.00000  26.00000  31.00000  27.00000  28.00000  29.00000  30.00000"
                             "  31.00000  32.00000  33.00000    62500.   2.00000   0.50000");
    EXPECT_EQ(lines->back().size(), 225u);
    // k present without cases of run 4: the preamble alone
    const std::vector<std::string> k_preamble = {"", "", "", "", stamp(hydrosum::stamp::k), "", plot_heading, units, ""};
    EXPECT_EQ(file_lines("kvpp.plot"), k_preamble);
    EXPECT_TRUE(output_lines().empty());
}

TEST_F(VppTables, LargestGatherAndLongPairList) {
    // 99 runs by 50 cases at one speed: 4950 points, rising side forces.
    // V-CLR is 1 at the last point and 0 elsewhere, and the required side
    // force lies in the last segment: only the whole list gives 0.5.
    const hydrosum::Run ref = st.r.run(4, 1);
    put_case(ref, 1, 0.0f, 0.0f, {{2, 55.5f}});
    float sf = 0.0f;
    for (int j = 2; j <= hydrosum::nruns; ++j)
        for (int i = 2; i <= hydrosum::ncases; ++i) put_case(st.r.run(j, 1), i, 1.0f, sf += 1.0f);
    st.r.s(hydrosum::ncases, hydrosum::nruns, 1, 51) = 1.0f;
    // 60 pairs; the side force wanted at 55.5 deg comes from pairs 56 and 57
    std::string data = "heel side force\n\n";
    for (int p = 0; p < 60; ++p) data += std::to_string(p) + " " + (p == 55 ? "4949" : p == 56 ? "4950" : "0") + "\n";
    write_file("vpp.data", data);

    hydrosum::tabvpp(st);

    const auto lines = file_lines("rvpp.plot");
    ASSERT_TRUE(lines.has_value());
    ASSERT_EQ(lines->size(), static_cast<std::size_t>(vpp_preamble + hydrosum::ncases - 1));
    // SIDE-F, V-CLR and L-CLR of every row, one per case of run 4 after the first
    std::vector<std::string> columns;
    for (auto l = lines->begin() + vpp_preamble; l != lines->end(); ++l) columns.push_back(l->substr(45, 30));
    EXPECT_EQ(columns, std::vector<std::string>(hydrosum::ncases - 1, "    4949.5   0.50000   0.00000"));
}

TEST_F(VppTables, NoTablesWithoutTwoPairs) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"no vpp.data", nullptr},
        {"no pair", "heel side force\n\n"},
        {"one pair", "heel side force\n\n10 150\n"},
        {"a pair cut off by the end", "heel side force\n\n10 150\n30\n"},
    };
    for (const auto& [what, data] : cases) {
        SCOPED_TRACE(what);
        clear_dir();
        put_case(st.r.run(4, 1), 1, 1.0f, 0.0f);
        put_case(st.r.run(4, 1), 2, 1.0f, 100.0f);
        put_case(st.r.run(2, 1), 2, 1.0f, 300.0f);
        if (data) write_file("vpp.data", data);
        // too short to be skipped: opening them would end the run
        write_file("rvpp.plot.old", "short\n");
        write_file("kvpp.plot.old", "short\n");
        EXPECT_NO_THROW(hydrosum::tabvpp(st));
        EXPECT_FALSE(fs::exists("rvpp.plot"));
        EXPECT_FALSE(fs::exists("kvpp.plot"));
    }
}

TEST_F(VppTables, ShortOrMalformedVppDataEndsTheRun) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"empty", ""},
        {"one line", "heel side force\n"},
        {"malformed number", "heel side force\n\n10 150\n30 3.5.0\n"},
    };
    for (const auto& [what, data] : cases) {
        SCOPED_TRACE(what);
        clear_dir();
        write_file("vpp.data", data);
        try {
            hydrosum::tabvpp(st);
            ADD_FAILURE() << "the run goes on";
        } catch (const textio::Failure& f) {
            EXPECT_EQ(f.file(), "vpp.data");
        }
        EXPECT_FALSE(fs::exists("rvpp.plot"));
    }
}

}  // namespace
}  // namespace hydrosum_test
