// Tecplot zone files: names, order, header lines and rows.
#include "scratch.hpp"

#include "hydrosum/tables/zones.hpp"
#include "textio/units.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace hydrosum_test {
namespace {

namespace fs = std::filesystem;

const std::string run_variables = "VARIABLES=vs,hl,yw,drd,dkl,cfxi,cfxt,cfy,cfz,vclr,lclr,cmz,sink,trim,hxl,hsw,swet";
const std::string polar_variables = "VARIABLES=vs,hl,cdo,xk,clo,tr";

// A stamp as the table writers leave it: 120 characters, blank-padded.
void set_stamp(hydrosum::Store& st, int from, std::string_view text) {
    const auto s = hydrosum::stamp::at(st, from);
    std::fill(s.begin(), s.end(), ' ');
    std::copy(text.begin(), text.end(), s.begin());
}

// One case per speed; side force and drag on the polar a0 = 1, k = 0.5.
void put_run(const hydrosum::Run& run, std::initializer_list<float> sides, float speed = 6.0f) {
    run.present() = true;
    run.n() = static_cast<int>(sides.size());
    int i = 0;
    for (float x : sides) {
        ++i;
        run.s(i, 1) = speed;
        run.s(i, 47) = x;
        run.s(i, 45) = 1.0f + 0.5f * x * x;
    }
}

class Zones : public ScratchStoreTest {
protected:
    void SetUp() override {
        ScratchStoreTest::SetUp();
        st.c(23) = 1.0f;
        st.ku.flag = true;
        put_run(st.ku.run(), {0.0f});
        st.r_any = true;
        put_run(st.r.run(1, 1), {0.0f});
        put_run(st.r.run(2, 1), {2.0f});   // two runs: a t0 polar only
        st.k_any = true;
        st.k.present(1, 1) = true;          // opened, no case
        put_run(st.r.run(5, 2), {1.0f});
        put_run(st.k.run(5, 2), {1.0f});
        for (int j = 1; j <= 3; ++j) put_run(st.k.run(j, 2), {static_cast<float>(j - 1)});
        set_stamp(st, hydrosum::stamp::ku, "KU STAMP");
        set_stamp(st, hydrosum::stamp::r, "R  STAMP");
        set_stamp(st, hydrosum::stamp::k, "K STAMP");
        // the name buffers as an earlier user left them: NUL bytes and stale text
        const auto names = st.chr(81, 240);
        std::fill(names.begin(), names.end(), '\0');
        std::fill(names.begin() + 100, names.begin() + 120, 'Z');
    }
};

// The files of the fixture in the order they are written.
const std::vector<std::string> fixture_files = {"ku.zon",     "r00a00.zon", "k00a00.zon", "r00r01.zon", "k05a00.zon",
                                                "k05r01.zon", "k05r02.zon", "r05r04.zon", "k05r04.zon", "r00t0.zon",
                                                "k05tr.zon"};

TEST_F(Zones, FilesNamesAndHeaderLines) {
    {
        std::ofstream old("r10a00.zon");   // a run absent now: left alone
        old << "old\n";
    }
    hydrosum::teczon(st);

    std::vector<std::string> written;
    for (const auto& e : fs::directory_iterator(".")) written.push_back(e.path().filename().string());
    std::vector<std::string> want = fixture_files;
    want.push_back("r10a00.zon");
    std::sort(written.begin(), written.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(written, want) << "no r00tr.zon: heel 1 meets the t0 threshold only";
    EXPECT_EQ(file_lines("r10a00.zon"), std::vector<std::string>{"old"});

    // titles and zone names cut after their last non-blank; no stale buffer text
    EXPECT_EQ(file_lines("k00a00.zon"),
              (std::vector<std::string>{"TITLE=\"K STAMP\"", run_variables, "ZONE T=\"k00a00\", I=    0"}));
    const auto ku = file_lines("ku.zon");
    ASSERT_TRUE(ku.has_value());
    ASSERT_EQ(ku->size(), 4u);
    EXPECT_EQ((*ku)[0], "TITLE=\"KU STAMP\"");
    EXPECT_EQ((*ku)[1], run_variables);
    EXPECT_EQ((*ku)[2], "ZONE T=\"ku\", I=    1");
    const auto r_run = file_lines("r05r04.zon");
    ASSERT_TRUE(r_run.has_value());
    ASSERT_EQ(r_run->size(), 4u);
    EXPECT_EQ((*r_run)[0], "TITLE=\"R  STAMP\"");
    EXPECT_EQ((*r_run)[2], "ZONE T=\"r05r04\", I=    1");
    // speed first, then heel; 1P: one digit before the point
    const std::string polar_row = "   6.00000   0.00000  1.00000E+00  5.00000E-01  0.00000E+00  5.64190E-01";
    EXPECT_EQ(file_lines("r00t0.zon"), (std::vector<std::string>{"TITLE=\"R  STAMP\"", polar_variables,
                                                                 "ZONE T=\"r00t0\", I=    1", polar_row}));
    EXPECT_EQ(file_lines("k05tr.zon"), (std::vector<std::string>{"TITLE=\"K STAMP\"", polar_variables,
                                                                 "ZONE T=\"k05tr\", I=    1", polar_row}));
}

TEST_F(Zones, WrittenInOrder) {
    // A directory in the place of a file stops the writer there: every file
    // before it is on disk, none after it.
    for (std::size_t stop = 0; stop < fixture_files.size(); ++stop) {
        SCOPED_TRACE("stopped at " + fixture_files[stop]);
        clear_dir();
        fs::create_directory(fixture_files[stop]);
        EXPECT_THROW(hydrosum::teczon(st), textio::Failure);
        for (std::size_t f = 0; f < fixture_files.size(); ++f) {
            if (f == stop) continue;
            EXPECT_EQ(fs::is_regular_file(fixture_files[f]), f < stop) << fixture_files[f];
        }
    }
}

TEST_F(Zones, RunRowsByReferenceArea) {
    struct Variant {
        float sref;
        std::string fields_6_to_12;
    };
    // cfxi cfxt cfy cfz vclr lclr cmz; the roll and yaw moments are not written
    const std::vector<Variant> variants = {
        {1.0f, "   0.25000   0.50000   -0.1250    2.0000   0.75000  -1.25000    4.2500"},
        {2.0f, "  0.250000  0.500000  -0.12500   2.00000   0.75000  -1.25000  4.250000"},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE("reference area " + std::to_string(v.sref));
        reset_store();
        clear_dir();
        st.c(23) = v.sref;
        st.c(26) = 1.0f;   // no force variant in the zone files
        st.r_any = true;
        const hydrosum::Run r = st.r.run(1, 1);
        r.present() = true;
        r.n() = 1;
        const std::vector<std::pair<int, float>> slots = {
            {1, 5.5f},     {2, 10.0f},  {3, -2.5f},  {4, -1.5f},   {5, 3.5f},   {6, -0.0625f}, {7, 0.5f},
            {8, 20.0f},    {9, 1.0f},   {10, 2.0f},  {11, 1000.0f}, {12, 8.0f}, {13, 4.0f},    {14, 0.5f},
            {15, 10.5f},   {39, 0.25f}, {45, 0.5f},  {46, -0.125f}, {47, 2.0f}, {48, 111.0f},  {49, 222.0f},
            {50, 4.25f},   {51, 0.75f}, {52, -1.25f}};
        for (const auto& [s, x] : slots) r.s(1, s) = x;
        hydrosum::teczon(st);
        const auto lines = file_lines("r00a00.zon");
        ASSERT_TRUE(lines.has_value());
        ASSERT_EQ(lines->size(), 4u);
        // rudder (slot 5) before tab (slot 4); swet leaves out slot 11
        const std::string want = " 5.50 10.0 -2.5  3.5 -1.5" + v.fields_6_to_12 +
                                 "  -0.06250   0.50000   10.5000   20.0000   35.5000";
        EXPECT_EQ(lines->back(), want);
        EXPECT_EQ(lines->back().size(), 145u);
    }
}

TEST_F(Zones, PolarRowsInScaledExponentForm) {
    const std::vector<hydrosum::PolarRow> rows = {{8.0f, 10.0f, 0.34375f, -1.5f, 0.0f, 1234.5f},
                                                  {12.25f, 0.0f, 0.0625f, 3.0e-5f, 0.0f, 9.5f}};
    std::string title(120, ' ');
    title.replace(0, 5, "TITLE");
    std::string file(80, ' ');
    file.replace(0, 9, "r35tr.zon");
    std::string zone(80, ' ');
    zone.replace(0, 5, "r35tr");
    hydrosum::zone2(rows, title, file, zone);
    EXPECT_EQ(file_lines("r35tr.zon"),
              (std::vector<std::string>{
                  "TITLE=\"TITLE\"", polar_variables, "ZONE T=\"r35tr\", I=    2",
                  "   8.00000  10.00000  3.43750E-01 -1.50000E+00  0.00000E+00  1.23450E+03",
                  "  12.25000   0.00000  6.25000E-02  3.00000E-05  0.00000E+00  9.50000E+00"}));
}

}  // namespace
}  // namespace hydrosum_test
