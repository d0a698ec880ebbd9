// Plot tables ku.plot, r.plot, k.plot and their comparison with "<name>.old".
#include "scratch.hpp"

#include "hydrosum/tables/plot.hpp"
#include "textio/units.hpp"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace hydrosum_test {
namespace {

namespace fs = std::filesystem;

const std::string units = "  kts  deg  deg  deg  deg       m^2       m^2       m^2         m         m"
                          "         m       deg         m       m^2       m^2       m^2       m^2       m^2"
                          "       m^2       m^2       m^2       m^2       m^4";
const std::string title = "TEST MATRIX";
const std::string mismatch = " error ... test matrix does not agree with old test matrix";
// The ratio columns of a row compared with nothing.
const std::string unit_ratios = "   1.00000   1.00000";

class PlotTables : public ScratchStoreTest {
protected:
    void SetUp() override {
        ScratchStoreTest::SetUp();
        plain_deck(title);
    }
};

// A case with only the slots that the comparison looks at.
void put_case(const hydrosum::Run& run, int i, float speed, float heel, float inviscid, float total) {
    run.present() = true;
    run.n() = std::max(run.n(), i);
    run.s(i, 1) = speed;
    run.s(i, 2) = heel;
    run.s(i, 39) = inviscid;
    run.s(i, 45) = total;
}

std::string ratios_of(const std::string& row) { return row.substr(row.size() - unit_ratios.size()); }

TEST_F(PlotTables, PreamblesBodiesAndSkippedPreviousLines) {
    // ku: one case with every written slot distinct; slots 11 and 59 are not written
    st.ku.flag = true;
    const hydrosum::Run ku = st.ku.run();
    ku.n() = 1;
    const std::vector<std::pair<int, float>> slots = {
        {1, 6.25f},    {2, 20.0f},    {3, -2.5f},    {4, -1.5f},    {5, 3.5f},     {6, -0.0625f}, {7, 0.125f},
        {8, 20.0f},    {9, 1.0f},     {10, 2.0f},    {11, 1000.0f}, {12, 8.0f},    {13, 4.0f},    {14, 0.5f},
        {15, 10.5f},   {33, 0.375f},  {39, 0.25f},   {45, 0.5f},    {47, 1.5f},    {51, 0.75f},   {52, -1.25f},
        {53, 0.1875f}, {54, 0.0625f}, {55, 0.03125f}, {56, 0.4375f}, {57, 0.5625f}, {58, 0.6875f}, {59, 9.0f}};
    for (const auto& [s, x] : slots) ku.s(1, s) = x;
    write_file("ku.plot.old", previous_preamble(9) + " 6.25 20.0 -2.5  3.5 -1.5   0.12500   2.00000\n");

    // r: heel 1 with runs 1, 3 and 7 (run 5 opened without cases), heel 2 with run 1
    st.r_any = true;
    put_case(st.r.run(1, 1), 1, 1.0f, 0.0f, 1.0f, 1.0f);
    st.r.present(5, 1) = true;
    put_case(st.r.run(3, 1), 1, 2.0f, 0.0f, 1.0f, 1.0f);
    put_case(st.r.run(7, 1), 1, 3.0f, 0.0f, 1.0f, 1.0f);
    put_case(st.r.run(1, 2), 1, 4.0f, 0.0f, 1.0f, 1.0f);
    // text where the new table has its empty lines: read and discarded, never parsed
    write_file("r.plot.old", previous_preamble(8) +
                                 "previous empty line\n"
                                 " 1.00  0.0  0.0  0.0  0.0   0.50000   1.00000\n"
                                 "previous empty line\n"
                                 " 2.00  0.0 0 0 0 0.25 2.0\n"
                                 " 3.00 0 0 0 0 0.125 4\n"
                                 "previous empty line\n"
                                 " 4.00 0 0 0 0 0.0625 8\n"
                                 "a longer previous table: never read\n");

    // k: no previous table
    st.k_any = true;
    put_case(st.k.run(2, 1), 1, 1.0f, 0.0f, 1.0f, 1.0f);

    hydrosum::tabplt(st);

    const std::vector<std::string> plot_preamble = {"", "", "", "", "", "", plot_heading, units};
    auto with_stamp = [&](int from) {
        std::vector<std::string> p = plot_preamble;
        p[4] = stamp(from);
        return p;
    };
    EXPECT_EQ(stamp(hydrosum::stamp::ku).substr(0, 19), "MAREVO " + title + " ");

    const auto ku_lines = file_lines("ku.plot");
    ASSERT_TRUE(ku_lines.has_value());
    std::vector<std::string> want = with_stamp(hydrosum::stamp::ku);
    want.push_back("");   // the upright table's one more empty line
    want.push_back(" 6.25 20.0 -2.5  3.5 -1.5   0.25000   0.50000   1.50000   0.75000  -1.25000  -0.06250   0.12500"
                   "  10.50000  20.00000  35.50000   0.37500   0.18750   0.06250   0.03125   0.43750   0.56250"
                   "   0.68750   2.25000   2.00000   0.25000");
    EXPECT_EQ(*ku_lines, want);
    EXPECT_EQ(ku_lines->back().size(), 225u);

    const auto r_lines = file_lines("r.plot");
    ASSERT_TRUE(r_lines.has_value());
    ASSERT_EQ(r_lines->size(), 15u);
    EXPECT_EQ(std::vector<std::string>(r_lines->begin(), r_lines->begin() + 8), with_stamp(hydrosum::stamp::r));
    // empty lines before the first and second runs of each heel
    for (std::size_t l : {8u, 10u, 13u}) EXPECT_EQ((*r_lines)[l], "") << "line " << l;
    const std::vector<std::pair<std::size_t, std::string>> r_ratios = {
        {9, "   2.00000   1.00000"}, {11, "   4.00000   0.50000"}, {12, "   8.00000   0.25000"},
        {14, "  16.00000   0.12500"}};
    for (const auto& [l, ratios] : r_ratios) EXPECT_EQ(ratios_of((*r_lines)[l]), ratios) << "line " << l;

    const auto k_lines = file_lines("k.plot");
    ASSERT_TRUE(k_lines.has_value());
    ASSERT_EQ(k_lines->size(), 10u);
    EXPECT_EQ(ratios_of(k_lines->back()), unit_ratios);

    EXPECT_TRUE(output_lines().empty());
}

TEST_F(PlotTables, RatioRules) {
    struct Case {
        const char* what;
        float speed, heel, inviscid, total;
        std::string previous;   // the previous table's text for this row
        std::string ratios;
        bool mismatch;
    };
    const std::vector<Case> cases = {
        {"quotients", 1.0f, 0.0f, 0.75f, 0.5f, "1.00 0.0 0 0 0 0.25 2.0", "   3.00000   0.25000", false},
        {"previous at most 1e-6", 1.0f, 0.0f, 0.75f, 0.5f, "1.00 0.0 0 0 0 0.00000 0.000001", "  99.00000  99.00000",
         false},
        {"just above 1e-6, and -1e-6", 1.0f, 0.0f, 2.2e-6f, 0.5f, "1.00 0.0 0 0 0 0.0000011 -0.000001",
         "   2.00000  99.00000", false},
        {"clamped", 1.0f, 0.0f, 150.0f, -150.0f, "1.00 0.0 0 0 0 1 1", "  99.90000 -99.90000", false},
        {"speed off by 0.006", 0.0f, 0.0f, 2.0f, 2.0f, "0.006 0.0 0 0 0 1 1", unit_ratios, true},
        {"speed off by 0.005", 0.0f, 0.0f, 2.0f, 2.0f, "0.005 0.0 0 0 0 1 1", "   2.00000   2.00000", false},
        {"row speed 0.006 above", 0.006f, 0.0f, 2.0f, 2.0f, "0 0 0 0 0 1 1", unit_ratios, true},
        {"heel off by 0.06", 1.0f, 0.0f, 2.0f, 2.0f, "1.00 0.06 0 0 0 1 1", unit_ratios, true},
        {"heel off by 0.05; angles not compared", 1.0f, 0.0f, 2.0f, 2.0f, "1.00 0.05 5.0 6.0 7.0 1 1",
         "   2.00000   2.00000", false},
        {"values over lines, an empty line passed, the rest dropped", 1.0f, 0.0f, 1.0f, 1.0f,
         "1.00 0.0\n\n0 0\n0 0.5 0.25 junk 1.2.3", "   2.00000   4.00000", false},
        {"mismatch", 2.0f, 0.0f, 2.0f, 2.0f, "3.00 0 0 0 0 1 1", unit_ratios, true},
        {"the next line after a mismatch", 3.0f, 0.0f, 2.0f, 2.0f, "3.00 0 0 0 0 0.5 0.25", "   4.00000   8.00000",
         false},
    };
    st.ku.flag = true;
    const hydrosum::Run ku = st.ku.run();
    std::string previous = previous_preamble(9);
    int i = 0;
    int mismatches = 0;
    for (const Case& c : cases) {
        put_case(ku, ++i, c.speed, c.heel, c.inviscid, c.total);
        previous += c.previous + "\n";
        mismatches += c.mismatch ? 1 : 0;
    }
    write_file("ku.plot.old", previous);

    hydrosum::tabplt(st);

    const auto lines = file_lines("ku.plot");
    ASSERT_TRUE(lines.has_value());
    ASSERT_EQ(lines->size(), 9 + cases.size());
    for (std::size_t c = 0; c < cases.size(); ++c)
        EXPECT_EQ(ratios_of((*lines)[9 + c]), cases[c].ratios) << cases[c].what;
    EXPECT_EQ(output_lines(), std::vector<std::string>(static_cast<std::size_t>(mismatches), mismatch));
}

TEST_F(PlotTables, ReadsItsOwnTableBack) {
    // Angles of -10 and less fill their fields and touch the field before.
    st.ku.flag = true;
    put_case(st.ku.run(), 1, 0.0f, 0.0f, 0.5f, 0.75f);
    st.ku.s(1, 3) = -10.0f;
    st.r_any = true;
    const hydrosum::Run r1 = st.r.run(1, 5);
    put_case(r1, 1, 10.0f, 20.0f, -100.5f, 0.75f);
    r1.s(1, 3) = -10.0f;
    r1.s(1, 5) = -12.5f;
    r1.s(1, 4) = -15.0f;
    put_case(r1, 2, 12.5f, 20.0f, 1.0e-6f, 0.8125f);   // AD-INV printed as 0.00000
    r1.s(2, 3) = -20.0f;
    const hydrosum::Run r2 = st.r.run(2, 5);
    put_case(r2, 1, 10.0f, 20.0f, 0.625f, 0.875f);
    r2.s(1, 5) = -10.0f;

    hydrosum::tabplt(st);
    const auto first = file_lines("r.plot");
    ASSERT_TRUE(first.has_value());
    ASSERT_EQ(first->size(), 13u);
    ASSERT_EQ((*first)[9].substr(0, 35), "10.00 20.0-10.0-12.5-15.0-100.50000");
    fs::copy_file("ku.plot", "ku.plot.old");
    fs::copy_file("r.plot", "r.plot.old");

    hydrosum::tabplt(st);
    const auto ku = file_lines("ku.plot");
    ASSERT_TRUE(ku.has_value());
    EXPECT_EQ(ratios_of(ku->back()), unit_ratios);
    const auto r = file_lines("r.plot");
    ASSERT_TRUE(r.has_value());
    ASSERT_EQ(r->size(), 13u);
    EXPECT_EQ(ratios_of((*r)[9]), unit_ratios);
    EXPECT_EQ(ratios_of((*r)[10]), "  99.00000   1.00000");
    EXPECT_EQ(ratios_of((*r)[12]), unit_ratios);
    EXPECT_TRUE(output_lines().empty());
}

TEST_F(PlotTables, ShortOrMalformedPreviousTableEndsTheRun) {
    struct Case {
        const char* what;
        std::string previous;
        std::size_t lines_written;   // what the table holds when the run ends
    };
    const std::string row = " 1.00  0.0  0.0  0.0  0.0   1.00000   1.00000\n";
    const std::vector<Case> cases = {
        {"ends in the preamble", previous_preamble(5), 0},
        {"ends at an empty line", previous_preamble(8), 9},
        {"ends at a row", previous_preamble(8) + "\n" + row, 10},
        {"malformed number", previous_preamble(8) + "\n 1.00 0.0 0.0 0.0 0.0 1.2.3 1.0\n", 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reset_store();
        clear_dir();
        st.c(23) = 1.0f;
        st.r_any = true;
        put_case(st.r.run(1, 1), 1, 1.0f, 0.0f, 1.0f, 1.0f);
        put_case(st.r.run(1, 1), 2, 2.0f, 0.0f, 1.0f, 1.0f);
        st.k_any = true;
        put_case(st.k.run(1, 1), 1, 1.0f, 0.0f, 1.0f, 1.0f);
        write_file("r.plot.old", c.previous);
        try {
            hydrosum::tabplt(st);
            ADD_FAILURE() << "the run goes on";
        } catch (const textio::Failure& f) {
            EXPECT_EQ(f.file(), "r.plot.old");
        }
        const auto lines = file_lines("r.plot");
        ASSERT_TRUE(lines.has_value());
        EXPECT_EQ(lines->size(), c.lines_written);
        EXPECT_FALSE(fs::exists("k.plot"));
    }
}

TEST(SplitTouching, ASignAfterADigitOrAPointStartsANumber) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {" 20.0-10.0-12.5", " 20.0 -10.0 -12.5"},
        {"5.+3 7-", "5. +3 7 -"},
        {"-1.0 +2.0", "-1.0 +2.0"},     // a sign after a blank or at the start
        {"1.0E-05 a-b", "1.0E-05 a-b"},   // nor after any other character
    };
    for (const auto& [record, split] : cases) EXPECT_EQ(hydrosum::split_touching(record), split) << record;
}

}  // namespace
}  // namespace hydrosum_test
