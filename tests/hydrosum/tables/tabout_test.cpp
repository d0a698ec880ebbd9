// Header stamps, output units and the result tables ku.tab, r.tab, k.tab.
#include "scratch.hpp"

#include "textio/platform.hpp"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace hydrosum_test {
namespace {

using RunView = hydrosum::Run;

const std::string header = "  VEL HEEL  YAW  RUD  TAB  DRAG-INV  DRAG-TOT  VERT-FOR  SIDE-FOR  ROLL-MOM   YAW-MOM PITCH-MOM"
                           "      SINK      TRIM    L-HULL    S-HULL   S-TOTAL";
const std::string units = "  kts  deg  deg  deg  deg       m^2       m^2       m^2       m^2       m^3       m^3       m^3"
                          "         m       deg         m       m^2       m^2";
const std::string title = "TEST MATRIX";

// The tables are written in a scratch directory of their own.
class Tables : public ScratchStoreTest {
protected:
    void SetUp() override {
        ScratchStoreTest::SetUp();
        plain_deck(title);
    }
};

// The lines before the rows: 4 empty lines, stamp, empty line, header, units.
std::vector<std::string> preamble(const std::string& stamp) { return {"", "", "", "", stamp, "", header, units}; }

TEST_F(Tables, StampsCarryTitleAndDateForPresentClassesOnly) {
    struct Date {
        textio::LocalDate date;
        std::string columns_112_to_120;
    };
    const std::vector<Date> dates = {
        {{5, 3, 7}, " 5 Mar  7"}, {{31, 12, 26}, "31 Dec 26"}, {{1, 1, 5}, " 1 Jan  5"}, {{10, 6, 0}, "10 Jun  0"}};
    st.r_any = true;
    st.ku.flag = true;
    for (const Date& d : dates) {
        hydrosum::build_stamps(st, d.date);
        EXPECT_EQ(st.ci(9), d.date.day);
        EXPECT_EQ(st.ci(10), d.date.month);
        EXPECT_EQ(st.ci(11), d.date.year);
        const std::string want = "MAREVO " + title + std::string(96 - title.size(), ' ') + "DLW/VNQ " +
                                 d.columns_112_to_120;
        ASSERT_EQ(want.size(), 120u);
        EXPECT_EQ(stamp(241), want);
        EXPECT_EQ(stamp(481), want);
        EXPECT_EQ(stamp(361), std::string(120, '\0')) << "class k is absent";
    }
}

TEST_F(Tables, UprightTableLayoutAndRow) {
    const RunView ku = st.ku.run();
    ku.present() = true;
    ku.n() = 1;
    const std::vector<std::pair<int, float>> slots = {
        {1, 5.5f},  {3, 0.0f},   {4, -1.5f}, {5, 3.5f}, {6, -0.0625f}, {7, 0.5f},   {8, 20.0f},  {9, 1.0f},
        {10, 2.0f}, {11, 1000.0f}, {12, 8.0f}, {13, 4.0f}, {14, 0.5f},  {15, 10.5f}, {39, 0.25f}, {45, 0.5f},
        {46, -0.125f}, {47, 2.0f}, {48, 1.5f}, {49, -3.0f}, {50, 4.25f}, {51, 9.0f}, {52, 9.0f}};
    for (const auto& [s, v] : slots) ku.s(1, s) = v;
    {
        std::ofstream old("r.tab");
        old << "old\n";
    }
    const textio::LocalDate before = textio::local_date();
    hydrosum::tabout(st);
    const textio::LocalDate after = textio::local_date();

    // RUD (slot 5) before TAB (slot 4); S-TOTAL leaves out slot 11
    const std::string row = std::string(" 5.50") + "  0.0" + "  0.0" + "  3.5" + " -1.5" + "   0.25000" +
                            "   0.50000" + "   -0.1250" + "    2.0000" + "    1.5000" + "   -3.0000" +
                            "    4.2500" + "  -0.06250" + "   0.50000" + "  10.50000" + "  20.00000" + "  35.50000";
    std::vector<std::string> want = preamble(stamp(481));
    want.push_back("");
    want.push_back(row);
    EXPECT_EQ(file_lines("ku.tab"), want);

    const auto same_day = [&](const textio::LocalDate& d) {
        return st.ci(9) == d.day && st.ci(10) == d.month && st.ci(11) == d.year;
    };
    EXPECT_TRUE(same_day(before) || same_day(after)) << "the stamp takes today's date";
    EXPECT_EQ(stamp(481).substr(0, 18), "MAREVO TEST MATRIX");
    EXPECT_EQ(ku.s(1, 51), 0.0f);
    EXPECT_EQ(ku.s(1, 52), 0.0f);
    EXPECT_EQ(file_lines("r.tab"), std::vector<std::string>{"old"}) << "absent classes leave their file alone";
    EXPECT_FALSE(file_lines("k.tab").has_value());
}

TEST_F(Tables, UprightSetWithoutCasesGivesHeadAndOneEmptyLine) {
    st.ku.flag = true;
    hydrosum::tabout(st);
    std::vector<std::string> want = preamble(stamp(481));
    want.push_back("");
    EXPECT_EQ(file_lines("ku.tab"), want);
}

// One case per run at speed v, zero elsewhere.
void put_run(const RunView& run, std::initializer_list<float> speeds) {
    run.present() = true;
    run.n() = static_cast<int>(speeds.size());
    int i = 0;
    for (float v : speeds) run.s(++i, 1) = v;
}

TEST_F(Tables, EmptyLinesBeforeTheFirstTwoRunsWithCasesOfEachHeel) {
    st.r_any = true;
    put_run(st.r.run(1, 1), {1.0f});
    put_run(st.r.run(2, 1), {});   // present, no cases: no empty line
    put_run(st.r.run(3, 1), {3.0f, 4.0f});
    put_run(st.r.run(7, 1), {7.0f});
    put_run(st.r.run(1, 2), {21.0f});
    put_run(st.r.run(1, 3), {});   // a heel without cases adds nothing
    st.k_any = true;
    put_run(st.k.run(5, 9), {2.5f});
    hydrosum::tabout(st);

    const auto r_tab = file_lines("r.tab");
    ASSERT_TRUE(r_tab.has_value());
    const std::vector<std::string> head = preamble(stamp(241));
    ASSERT_GE(r_tab->size(), head.size());
    EXPECT_EQ(std::vector<std::string>(r_tab->begin(), r_tab->begin() + 8), head);
    std::vector<std::string> speeds;   // empty lines, or the VEL field of a row
    for (auto l = r_tab->begin() + 8; l != r_tab->end(); ++l) speeds.push_back(l->substr(0, 5));
    EXPECT_EQ(speeds, (std::vector<std::string>{"", " 1.00", "", " 3.00", " 4.00", " 7.00", "", "21.00"}));

    const auto k_tab = file_lines("k.tab");
    ASSERT_TRUE(k_tab.has_value());
    std::vector<std::string> k_want = preamble(stamp(361));
    k_want.push_back("");
    ASSERT_EQ(k_tab->size(), k_want.size() + 1);
    EXPECT_EQ(std::vector<std::string>(k_tab->begin(), k_tab->end() - 1), k_want);
    EXPECT_EQ(k_tab->back().substr(0, 5), " 2.50");
    EXPECT_FALSE(file_lines("ku.tab").has_value());
}

TEST_F(Tables, VariantsByReferenceAreaAndForceSwitch) {
    struct Variant {
        std::string name;
        float c23, c26;
        std::string fields_6_to_12;
    };
    // Speed 2 at a factor 2: VEL 4.00 and q = 0.5 * 1 * 2 * 2 = 2. Moment
    // lengths: 2 for yaw and pitch, 4 for roll.
    const std::vector<Variant> variants = {
        {"area", 1.0f, 0.0f, "   2.00000   4.00000    8.0000   16.0000    8.0000   32.0000  -64.0000"},
        {"force", 1.0f, 1.0f, "       4.0       8.0      16.0      32.0      16.0      64.0    -128.0"},
        {"area times q", 1.0f, 2.0f, "   4.00000   8.00000   16.0000   32.0000   16.0000   64.0000 -128.0000"},
        {"coefficient", 2.0f, 0.0f, "  1.000000  2.000000   4.00000   8.00000  4.000000 16.000000-32.000000"},
        {"coefficient times q", 2.0f, 1.0f, "  2.000000  4.000000   8.00000  16.00000  8.000000 32.000000-64.000000"},
    };
    for (const Variant& v : variants) {
        SCOPED_TRACE(v.name);
        reset_store();
        plain_deck(title);
        st.c(2) = 2.0f;
        st.c(24) = 2.0f;
        st.c(25) = 4.0f;
        st.c(23) = v.c23;
        st.c(26) = v.c26;
        st.r_any = true;
        const RunView r = st.r.run(1, 1);
        put_run(r, {2.0f});
        const std::vector<std::pair<int, float>> slots = {{39, 2.0f},  {45, 4.0f},  {46, 8.0f},   {47, 16.0f},
                                                          {48, 32.0f}, {49, 64.0f}, {50, -128.0f}};
        for (const auto& [s, x] : slots) r.s(1, s) = x;
        hydrosum::tabout(st);
        const auto lines = file_lines("r.tab");
        ASSERT_TRUE(lines.has_value());
        ASSERT_EQ(lines->size(), 10u);
        const std::string& row = lines->back();
        ASSERT_EQ(row.size(), 145u);
        EXPECT_EQ(row.substr(0, 25), " 4.00  0.0  0.0  0.0  0.0");
        EXPECT_EQ(row.substr(25, 70), v.fields_6_to_12);
    }
}

TEST_F(Tables, TooWideValuesPrintAsterisks) {
    st.ku.flag = true;
    const RunView ku = st.ku.run();
    put_run(ku, {123.0f});
    ku.s(1, 39) = 123456.0f;
    hydrosum::tabout(st);
    const auto lines = file_lines("ku.tab");
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(lines->back().substr(0, 45), "*****  0.0  0.0  0.0  0.0**********   0.00000");
}

TEST_F(Tables, ConversionActsOnceOnTheCasesWrittenOnly) {
    // q = 0.5 * 1 * 2 * 2 = 2 at the full-scale speed 2 (slot 1 becomes 4)
    st.c(2) = 2.0f;
    st.c(23) = 4.0f;
    st.c(24) = 4.0f;
    st.c(25) = 8.0f;
    st.c(26) = 1.0f;
    st.r_any = true;
    const auto fill = [](const RunView& run, int slots) {
        run.present() = true;
        run.n() = 1;
        for (int s = 1; s <= slots; ++s) run.s(1, s) = static_cast<float>(s);
        run.s(1, 1) = 2.0f;
        run.s(1, 3) = 0.0f;
    };
    const auto kept = [](int s) { return s == 1 ? 2.0f : s == 3 ? 0.0f : static_cast<float>(s); };
    const RunView r = st.r.run(1, 1);
    fill(r, hydrosum::full_slots);
    fill(st.k.run(1, 1), hydrosum::full_slots);   // no k file opened: no table, no conversion
    fill(st.w.run(1, 1), hydrosum::short_slots);
    hydrosum::tabout(st);

    const auto want = [](int s) {
        const float x = static_cast<float>(s);
        if (s == 1) return 4.0f;   // speed 2 times the factor 2
        if (s == 3) return 0.0f;
        if (s == 33 || (s >= 39 && s <= 41) || (s >= 45 && s <= 47) || (s >= 53 && s <= 59)) return x / 4.0f * 2.0f;
        if (s == 42 || s == 48) return x / 32.0f * 2.0f;
        if (s == 43 || s == 44 || s == 49 || s == 50) return x / 16.0f * 2.0f;
        return x;
    };
    for (int s = 1; s <= hydrosum::full_slots; ++s) {
        if (s == 51 || s == 52) continue;   // the centres of lateral resistance
        EXPECT_EQ(r.s(1, s), want(s)) << "r slot " << s;
        EXPECT_EQ(st.k.s(1, 1, 1, s), kept(s)) << "k slot " << s;
    }
    for (int s = 1; s <= hydrosum::short_slots; ++s)
        EXPECT_EQ(st.w.s(1, 1, 1, s), kept(s)) << "w slot " << s;
    EXPECT_FALSE(file_lines("k.tab").has_value());
}

TEST_F(Tables, CentresOfLateralResistanceBeforeTheConversion) {
    struct Clr {
        float yaw, drag, side, roll, yaw_moment;
        float v_clr, l_clr;
    };
    // F = sin(yaw) drag + cos(yaw) side; a centre needs |F| > 1e-6 and an arm below 99.99999
    const std::vector<Clr> cases = {
        {0.0f, 100.0f, 4.0f, 2.0f, -6.0f, 0.5f, -1.5f},
        {90.0f, 4.0f, 0.0f, 2.0f, -6.0f, 0.5f, -1.5f},
        {0.0f, 0.0f, -4.0f, 2.0f, -6.0f, -0.5f, 1.5f},
        {0.0f, 0.0f, 0.0f, 2.0f, 2.0f, 0.0f, 0.0f},
        {0.0f, 0.0f, 1.0e-6f, 0.5e-6f, 0.5e-6f, 0.0f, 0.0f},
        {0.0f, 0.0f, 4.0f, 400.0f, 399.0f, 0.0f, 99.75f},
        {0.0f, 0.0f, 1.0f, 99.99999f, 99.0f, 0.0f, 99.0f},
    };
    // a centre taken after the conversion would be a quarter of the right one
    st.c(23) = 2.0f;
    st.c(24) = 8.0f;
    st.c(25) = 4.0f;
    st.r_any = true;
    const RunView r = st.r.run(1, 1);
    r.present() = true;
    r.n() = static_cast<int>(cases.size());
    for (int i = 1; i <= r.n(); ++i) {
        const Clr& c = cases[static_cast<std::size_t>(i - 1)];
        r.s(i, 1) = 1.0f;
        r.s(i, 3) = c.yaw;
        r.s(i, 45) = c.drag;
        r.s(i, 47) = c.side;
        r.s(i, 48) = c.roll;
        r.s(i, 49) = c.yaw_moment;
    }
    hydrosum::tabout(st);
    for (int i = 1; i <= r.n(); ++i) {
        const Clr& c = cases[static_cast<std::size_t>(i - 1)];
        EXPECT_EQ(r.s(i, 51), c.v_clr) << "case " << i;
        EXPECT_EQ(r.s(i, 52), c.l_clr) << "case " << i;
    }
}

}  // namespace
}  // namespace hydrosum_test
