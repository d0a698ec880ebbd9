// Force-moment files: names, layouts, slots, scaling, flags, failures.
//
// stfmin in a scratch directory holding a few force-moment files. Values are
// chosen exact in binary, so the scaled slots are compared exactly.
#include "unit_fixtures.hpp"

#include "hydrosum/input/steps.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace hydrosum {
namespace {

namespace fs = std::filesystem;
using hydrosum_test::write_file;

constexpr float untouched = -777.0f;   // sentinel for slots the reader must leave alone

bool has_breakdown(int type) { return type == 3 || type == 4 || type == 103 || type == 104; }
bool has_extra_line(int type) { return type >= 101 && type <= 199; }

// Value m (1..6) of value line `line` (numbered 1..13 as in the case layout).
float val(float base, int line, int m) { return base + static_cast<float>(line) + static_cast<float>(m) / 8.0f; }

std::string num(float v) {
    char b[32];
    std::snprintf(b, sizeof b, "%.9g", static_cast<double>(v));
    return b;
}

std::string first_line(int type) {
    char b[96];
    std::snprintf(b, sizeof b, "%-70s%8d\n", "force-moment file", type);
    return b;
}

// A header of `lines` lines whose filler text would fail as a case line.
std::string header(int type, int lines) {
    std::string s = first_line(type);
    for (int k = 2; k <= lines; ++k) s += "header text " + std::to_string(k) + "\n";
    return s;
}

std::string header(int type) {
    return header(type, 7 + (has_breakdown(type) ? 6 : 0) + (has_extra_line(type) ? 1 : 0));
}

using Fields = std::array<float, 7>;   // speed, heel, yaw, tab, rudder, sink, trim

std::string case_line(const Fields& f, int type) {
    std::string s;
    char b[32];
    for (float v : f) {
        std::snprintf(b, sizeof b, "%10.4f", static_cast<double>(v));
        s += b;
    }
    std::snprintf(b, sizeof b, "%8d\n", type);
    return s + b;
}

std::string value_line(float base, int line) {
    std::string s;
    for (int m = 1; m <= 6; ++m) s += " " + num(val(base, line, m));
    return s + "\n";
}

// One whole case: exactly the lines its type code asks for.
std::string case_text(const Fields& f, int type, float base) {
    std::string s = case_line(f, type);
    for (int line = 1; line <= 4; ++line) s += value_line(base, line);
    if (has_breakdown(type))
        for (int line = 5; line <= 10; ++line) s += value_line(base, line);
    s += value_line(base, 11) + value_line(base, 12);
    if (has_extra_line(type)) s += value_line(base, 13);
    return s;
}

std::string case_text(float speed, int type, float base) { return case_text(Fields{speed}, type, base); }

// A header of type 1 and one case per listed type code.
std::string file_of(const std::vector<int>& types) {
    std::string s = header(1);
    for (std::size_t i = 0; i < types.size(); ++i) s += case_text(static_cast<float>(i + 1), types[i], 0.0f);
    return s;
}

class FmFiles : public hydrosum_test::StdioTest {
protected:
    void SetUp() override {
        StdioTest::SetUp();
        st = hydrosum_test::framed_store();
        // Full size equals model size and every group keeps its values:
        // auxiliary and hydrostatic groups as forces, the others as areas.
        st->c(1) = 1.0f;
        st->c(4) = 2.0f;
        st->c(5) = 1.0f;
        for (int first : {6, 10, 14, 19}) group(first, 1.0f, 1.0f, 1.0f, first >= 14 ? 1.0f : 0.0f);
    }

    void group(int first, float ff, float fm, float fr, float sw) {
        st->c(first) = ff;
        st->c(first + 1) = fm;
        st->c(first + 2) = fr;
        st->c(first + 3) = sw;
    }
    // The failure stfmin ends with; fails the test when it does not.
    textio::Failure failure() {
        return hydrosum_test::failure_of([&] { stfmin(*st); });
    }

    std::unique_ptr<Store> st;

private:
    hydrosum_test::ScratchDir dir_{"hydrosum-fm"};
};

// ------------------------------------------------------------ names, order

TEST_F(FmFiles, FileNamesPlaceEachFileAtItsClassRunAndHeel) {
    struct Placed {
        const char* name;
        char cls;   // r, k, w, n; 'u' = ku, 'v' = nu
        int j, h;
        int count;
    };
    const Placed files[] = {
        {"r00a00.fm", 'r', 1, 1, 1}, {"r10r01.fm", 'r', 2, 3, 2}, {"k27r03.fm", 'k', 4, 7, 3},
        {"n05r10.fm", 'n', 11, 2, 4}, {"w35r99.fm", 'w', 100, 9, 5}, {"ku.fm", 'u', 1, 1, 6},
        {"nu.fm", 'v', 1, 1, 7},
    };
    for (const Placed& p : files) write_file(p.name, file_of(std::vector<int>(static_cast<std::size_t>(p.count), 1)));
    stfmin(*st);

    int present = 0;
    for (int h = 1; h <= nheels; ++h)
        for (int j = 1; j <= nruns; ++j)
            present += st->r.present(j, h) + st->k.present(j, h) + st->w.present(j, h) + st->n.present(j, h);
    present += st->ku.flag + st->nu.flag;
    EXPECT_EQ(present, 7);
    for (const Placed& p : files) {
        SCOPED_TRACE(p.name);
        hydrosum::Run run = p.cls == 'r' ? st->r.run(p.j, p.h)
                  : p.cls == 'k' ? st->k.run(p.j, p.h)
                  : p.cls == 'w' ? st->w.run(p.j, p.h)
                  : p.cls == 'n' ? st->n.run(p.j, p.h)
                  : p.cls == 'u' ? st->ku.run()
                                 : st->nu.run();
        EXPECT_TRUE(run.present());
        EXPECT_EQ(run.n(), p.count);
        EXPECT_EQ(run.s(p.count, 1), static_cast<float>(p.count));
    }
    EXPECT_TRUE(st->r_any);
    EXPECT_TRUE(st->k_any);
    // the field keeps the last name tried, blank-padded
    EXPECT_EQ(std::string(st->chr(81, 160).data(), 80), std::string("n35r99.fm") + std::string(71, ' '));
}

// Two unreadable (empty) files: the failure names the one opened first.
TEST_F(FmFiles, FilesAreOpenedHeelByHeelRunByRunInClassOrder) {
    const std::pair<const char*, const char*> pairs[] = {
        {"r00a00.fm", "k00a00.fm"}, {"k00a00.fm", "w00a00.fm"}, {"w00a00.fm", "n00a00.fm"},
        {"n00a00.fm", "ku.fm"},     {"ku.fm", "nu.fm"},         {"nu.fm", "r00r01.fm"},
        {"n10r03.fm", "r10r04.fm"}, {"n00r99.fm", "r05a00.fm"}, {"r30r99.fm", "k35a00.fm"},
    };
    for (const auto& [first, second] : pairs) {
        SCOPED_TRACE(first);
        write_file(first, "");
        write_file(second, "");
        EXPECT_EQ(failure().file(), first);
        fs::remove(first);
        fs::remove(second);
    }
}

// ------------------------------------------------------------ layout

TEST_F(FmFiles, HeaderLengthFollowsTheFirstLinesTypeCode) {
    const std::string text70(70, 'x');
    struct Header {
        std::string first;   // without its newline
        int lines;
    };
    const Header headers[] = {
        {first_line(1), 7},     {first_line(2), 7},     {first_line(3), 13},   {first_line(4), 13},
        {first_line(5), 7},     {first_line(100), 7},   {first_line(101), 8},  {first_line(103), 14},
        {first_line(104), 14},  {first_line(150), 8},   {first_line(199), 8},  {first_line(200), 7},
        // first lines ending before column 78: the missing columns are blanks
        {"short title\n", 7},   {"\n", 7},              {text70 + "    3\n", 13},
        {text70 + "  104\n", 14}, {text70 + "\n", 7},
        // columns 79 and 80 are not part of the type code
        {text70 + "       3xx\n", 13},
    };
    for (const Header& hd : headers) {
        SCOPED_TRACE(hd.first);
        std::string text = hd.first;
        for (int k = 2; k <= hd.lines; ++k) text += "header text " + std::to_string(k) + "\n";
        write_file("r00a00.fm", text + case_text(3.0f, 1, 16.0f));
        stfmin(*st);
        EXPECT_EQ(st->r.n(1, 1), 1);
        EXPECT_EQ(st->r.s(1, 1, 1, 1), 3.0f);
        EXPECT_EQ(st->r.s(1, 1, 1, 39), val(16.0f, 12, 1));
    }
}

// The case's own type code decides its lines; breakdown only for 3, 4, 103, 104.
TEST_F(FmFiles, EachCaseHasTheLinesOfItsOwnTypeCode) {
    const std::vector<int> types = {0, 1, 2, 3, 4, 100, 101, 103, 104, 150, 199, 200};
    std::string text = header(3);   // 13 header lines, whatever the cases are
    for (std::size_t i = 0; i < types.size(); ++i)
        text += case_text(static_cast<float>(i + 1), types[i], 16.0f * static_cast<float>(i));
    write_file("k00r04.fm", text);
    stfmin(*st);

    hydrosum::Run run = st->k.run(5, 1);
    ASSERT_EQ(run.n(), static_cast<int>(types.size()));
    for (std::size_t c = 0; c < types.size(); ++c) {
        SCOPED_TRACE(types[c]);
        const int i = static_cast<int>(c) + 1;
        const float base = 16.0f * static_cast<float>(c);
        EXPECT_EQ(run.s(i, 1), static_cast<float>(i));
        EXPECT_EQ(run.s(i, 8), val(base, 1, 1));
        EXPECT_EQ(run.s(i, 32), val(base, 4, 6));
        EXPECT_EQ(run.s(i, 33), val(base, 11, 1));
        EXPECT_EQ(run.s(i, 44), val(base, 12, 6));
        const bool bd = has_breakdown(types[c]);
        EXPECT_EQ(run.s(i, 60), bd ? val(base, 5, 1) : 0.0f);
        EXPECT_EQ(run.s(i, 95), bd ? val(base, 10, 6) : 0.0f);
    }
}

TEST_F(FmFiles, CaseAndValueLinesReadLikeFortranRecords) {
    std::string text = header(1) + case_text(2.0f, 1, 0.0f);
    // a blank line where a case line is due: a case of zeros, type 0
    text += "\n";
    for (int line : {1, 2, 3, 4, 11, 12}) text += value_line(32.0f, line);
    // fixed fields without a decimal point, left-aligned: blanks are ignored
    text += "5         " "  2.5     " "-1        " + std::string(40, ' ') + "1       \n";
    // a short list continues on the next line; surplus values are ignored
    text += " 1 2 3\n 4 5\n 6 99 junk\n";
    text += value_line(64.0f, 2) + value_line(64.0f, 3) + value_line(64.0f, 4);
    text += value_line(64.0f, 11) + " 7 8 9 10 11 12 13 junk\n";
    write_file("r00a00.fm", text);
    stfmin(*st);

    hydrosum::Run run = st->r.run(1, 1);
    ASSERT_EQ(run.n(), 3);
    for (int s = 1; s <= 7; ++s) EXPECT_EQ(run.s(2, s), 0.0f) << "slot " << s;
    EXPECT_EQ(run.s(2, 8), val(32.0f, 1, 1));
    EXPECT_EQ(run.s(2, 39), val(32.0f, 12, 1));
    EXPECT_EQ(run.s(3, 1), 5.0f);
    EXPECT_EQ(run.s(3, 2), 2.5f);
    EXPECT_EQ(run.s(3, 3), -1.0f);
    for (int m = 1; m <= 6; ++m) EXPECT_EQ(run.s(3, 7 + m), static_cast<float>(m));
    EXPECT_EQ(run.s(3, 15), val(64.0f, 2, 1));
    EXPECT_EQ(run.s(3, 33), val(64.0f, 11, 1));
    for (int m = 1; m <= 6; ++m) EXPECT_EQ(run.s(3, 38 + m), static_cast<float>(6 + m));
}

// ------------------------------------------------------------ slots and scaling

// Scale l = 4 (sqrt(l) 2, l^2 16, l^3 64, l^4 256); model speed V = 0.5 x 4 = 2;
// q = 2 x 2 x 1.5 x 0.5 = 3. Each group's multiplier per component (drag,
// vertical, side, roll, yaw, pitch), worked out by hand:
//   auxiliary  fF 2, fM 4, fR 8, sw 1:     qm 3    -> 384 384 384 12288 6144 6144
//   hydrostatic fF .5, fM .25, fR 2, sw 0: qm 1    -> 32 32 32 256 32 32
//   viscous    fF 2, fM .5, fR 4, sw .5:   qd 2    -> 16 16 16 256 32 32
//   inviscid   fF 4, fM 2, fR .5, sw 1:    qd 1    -> 64 64 64 128 512 512
TEST_F(FmFiles, SlotsHoldFullScaleValuesOfTheirSourceFields) {
    st->c(1) = 0.5f;
    st->c(4) = 1.5f;
    st->c(5) = 4.0f;
    group(6, 2.0f, 4.0f, 8.0f, 1.0f);
    group(10, 0.5f, 0.25f, 2.0f, 0.0f);
    group(14, 2.0f, 0.5f, 4.0f, 0.5f);
    group(19, 4.0f, 2.0f, 0.5f, 1.0f);
    using Mult = std::array<float, 6>;
    const Mult aux = {384, 384, 384, 12288, 6144, 6144};
    const Mult hydro = {32, 32, 32, 256, 32, 32};
    const Mult visc = {16, 16, 16, 256, 32, 32};
    const Mult inv = {64, 64, 64, 128, 512, 512};

    const Fields f = {4.0f, 12.5f, -3.25f, 1.5f, -2.75f, 0.125f, 0.375f};
    const std::string text = header(103) + case_text(f, 103, 0.0f) + case_text(f, 1, 16.0f);
    for (const char* name : {"r10r02.fm", "ku.fm", "w10r02.fm", "nu.fm"}) write_file(name, text);
    struct Target {
        const char* name;
        hydrosum::Run run;
        bool full;   // 107 slots
    };
    const Target runs[] = {{"r", st->r.run(3, 3), true},
                           {"ku", st->ku.run(), true},
                           {"w", st->w.run(3, 3), false},
                           {"nu", st->nu.run(), false}};
    for (const Target& t : runs)
        for (int i = 1; i <= 3; ++i)
            for (int s = 1; s <= (t.full ? full_slots : short_slots); ++s) t.run.s(i, s) = untouched;
    stfmin(*st);

    for (const auto& [name, run, full] : runs) {
        SCOPED_TRACE(name);
        const int slots = full ? full_slots : short_slots;
        ASSERT_EQ(run.n(), 2);
        // expected slots of case 1; `untouched` where the reader writes nothing
        std::vector<float> want(static_cast<std::size_t>(slots) + 1, untouched);
        auto at = [&](int s) -> float& { return want[static_cast<std::size_t>(s)]; };
        const float fields[7] = {4.0f, 12.5f, -3.25f, 1.5f, -2.75f, 0.5f, 0.375f};
        for (int s = 1; s <= 7; ++s) at(s) = fields[s - 1];
        for (int m = 1; m <= 6; ++m) at(7 + m) = val(0, 1, m) * 16.0f;
        at(15) = val(0, 2, 1) * 4.0f;
        at(14) = val(0, 2, 2) * 16.0f;
        at(17) = val(0, 2, 3);
        at(18) = val(0, 2, 4) * 64.0f;
        at(19) = val(0, 2, 5) * 4.0f;
        at(20) = val(0, 2, 6) * 256.0f;
        for (int m = 1; m <= 6; ++m) {
            const std::size_t c = static_cast<std::size_t>(m - 1);
            at(20 + m) = val(0, 3, m) * aux[c];
            at(26 + m) = val(0, 4, m) * hydro[c];
            if (full) {
                at(32 + m) = val(0, 11, m) * visc[c];
                at(38 + m) = val(0, 12, m) * inv[c];
                for (int p = 0; p < 6; ++p) at(59 + 6 * p + m) = val(0, 5 + p, m) * visc[c];
                at(101 + m) = 0.0f;
            } else {
                at(32 + m) = val(0, 12, m) * inv[c];
                at(38 + m) = 0.0f;
            }
        }
        for (int s = 1; s <= slots; ++s) EXPECT_EQ(run.s(1, s), at(s)) << "slot " << s;

        // case 2 has no breakdown; case 3 is beyond the count
        EXPECT_EQ(run.s(2, 33), val(16.0f, full ? 11 : 12, 1) * (full ? visc[0] : inv[0]));
        if (full) {
            for (int s = 60; s <= 95; ++s) EXPECT_EQ(run.s(2, s), 0.0f) << "slot " << s;
            for (int s = 102; s <= 107; ++s) EXPECT_EQ(run.s(2, s), 0.0f) << "slot " << s;
        }
        for (int s = 1; s <= slots; ++s) EXPECT_EQ(run.s(3, s), untouched) << "slot " << s;
    }
}

// q = V x V x 2 x 0.5 = V^2 with l = 1 and unit factors: the q switch alone decides
// whether a group is multiplied (forces) or divided (force areas) by q.
TEST_F(FmFiles, QSwitchDecidesWhetherAGroupMeetsTheDynamicPressure) {
    struct Row {
        float speed, aux_sw, area_sw;
        float qm, qd;   // 0 for qd: the group is stored as 0
    };
    const Row rows[] = {
        {2.0f, 1.0f, 1.0f, 4.0f, 1.0f},  {2.0f, 0.0f, 0.0f, 1.0f, 4.0f},
        {2.0f, 0.5f, 0.5f, 2.5f, 2.5f},  {2.0f, 0.0f, 1.0f, 1.0f, 1.0f},
        {0.0f, 1.0f, 1.0f, 0.0f, 1.0f},  {0.0f, 0.0f, 0.0f, 1.0f, 0.0f},   // zero speed: qd = 0
        {0.5f, 0.0f, 0.0f, 1.0f, 0.25f},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "speed " << row.speed << " sw " << row.aux_sw << "/" << row.area_sw);
        st->c(9) = row.aux_sw;
        st->c(13) = row.aux_sw;
        st->c(17) = row.area_sw;
        st->c(22) = row.area_sw;
        write_file("k00a00.fm", header(1) + case_text(row.speed, 3, 0.0f));
        stfmin(*st);
        hydrosum::Run run = st->k.run(1, 1);
        ASSERT_EQ(run.n(), 1);
        for (int m = 1; m <= 6; ++m) {
            SCOPED_TRACE(m);
            EXPECT_EQ(run.s(1, 20 + m), val(0, 3, m) * row.qm);
            EXPECT_EQ(run.s(1, 26 + m), val(0, 4, m) * row.qm);
            const auto area = [&](int line) { return row.qd == 0.0f ? 0.0f : val(0, line, m) / row.qd; };
            EXPECT_EQ(run.s(1, 32 + m), area(11));
            EXPECT_EQ(run.s(1, 38 + m), area(12));
            EXPECT_EQ(run.s(1, 59 + m), area(5));
            EXPECT_EQ(run.s(1, 89 + m), area(10));
        }
    }
}

// ------------------------------------------------------------ flags

TEST_F(FmFiles, AbsentFilesClearEveryCountAndFlag) {
    // a store reused in place: every count and flag of the frame is written
    st->r.counts.fill(7);
    st->k.flags.fill(true);
    st->w.counts.fill(7);
    st->n.flags.fill(true);
    st->ku.count = 7;
    st->nu.flag = true;
    st->r_any = st->k_any = true;
    stfmin(*st);
    for (int h = 1; h <= nheels; ++h)
        for (int j = 1; j <= nruns; ++j) {
            ASSERT_EQ(st->r.n(j, h) + st->k.n(j, h) + st->w.n(j, h) + st->n.n(j, h), 0) << j << "," << h;
            ASSERT_FALSE(st->r.present(j, h) || st->k.present(j, h) || st->w.present(j, h) || st->n.present(j, h))
                << j << "," << h;
        }
    EXPECT_EQ(st->ku.count + st->nu.count, 0);
    EXPECT_FALSE(st->ku.flag || st->nu.flag || st->r_any || st->k_any);
}

TEST_F(FmFiles, FileWithoutCasesIsPresentWithCountZero) {
    write_file("r35r99.fm", header(3));
    write_file("nu.fm", header(150));
    stfmin(*st);
    EXPECT_TRUE(st->r.present(100, 9));
    EXPECT_EQ(st->r.n(100, 9), 0);
    EXPECT_TRUE(st->nu.flag);
    EXPECT_EQ(st->nu.count, 0);
    EXPECT_TRUE(st->r_any);
    EXPECT_FALSE(st->k_any);
}

// The breakdown flags of r, k and ku: set by a negative viscous mode,
// cleared only through the three reference files.
TEST_F(FmFiles, BreakdownFlagsFollowTheModeAndTheReferenceFiles) {
    struct Scenario {
        const char* what;
        int mode;
        std::vector<std::pair<const char*, std::string>> files;
        std::array<std::int32_t, 3> want;
    };
    const std::string bd = file_of({3, 4});
    const auto refs = [&](std::string r, std::string k, std::string ku) {
        std::vector<std::pair<const char*, std::string>> v;
        if (r != "absent") v.emplace_back("r00a00.fm", r);
        if (k != "absent") v.emplace_back("k00a00.fm", k);
        if (ku != "absent") v.emplace_back("ku.fm", ku);
        return v;
    };
    auto with = [](std::vector<std::pair<const char*, std::string>> v,
                   std::vector<std::pair<const char*, std::string>> more) {
        v.insert(v.end(), more.begin(), more.end());
        return v;
    };
    const Scenario scenarios[] = {
        {"negative mode, breakdown everywhere", -1, refs(bd, bd, bd), {1, 1, 1}},
        {"mode -2, types 4, 103, 104", -2, refs(file_of({4, 103, 104}), file_of({103}), file_of({104})), {1, 1, 1}},
        {"positive mode", 1, refs(bd, bd, bd), {0, 0, 0}},
        {"mode 0", 0, refs(bd, bd, bd), {0, 0, 0}},
        {"r reference absent", -1, refs("absent", bd, bd), {0, 1, 1}},
        {"r reference without cases", -1, refs(header(3), bd, bd), {0, 1, 1}},
        {"r reference with one case of type 1", -1, refs(file_of({3, 1, 3}), bd, bd), {0, 1, 1}},
        {"r reference: header type 3, case type 1", -1, refs(header(3) + case_text(1.0f, 1, 0), bd, bd), {0, 1, 1}},
        {"k reference type 150", -1, refs(bd, file_of({150}), bd), {1, 0, 1}},
        {"ku absent", -1, refs(bd, bd, "absent"), {1, 1, 0}},
        {"ku type 0 case", -1, refs(bd, bd, file_of({3, 0})), {1, 1, 0}},
        {"other files never clear a flag", -1,
         with(refs(bd, bd, bd), {{"r20r05.fm", file_of({1})},
                                 {"r05a00.fm", file_of({1})},
                                 {"k00r01.fm", file_of({2})},
                                 {"w00a00.fm", file_of({1})},
                                 {"n00a00.fm", header(1)},
                                 {"nu.fm", file_of({1})}}),
         {1, 1, 1}},
    };
    for (const Scenario& sc : scenarios) {
        SCOPED_TRACE(sc.what);
        for (const auto& entry : fs::directory_iterator(".")) fs::remove(entry.path());
        for (const auto& [name, text] : sc.files) write_file(name, text);
        st->ci(4) = sc.mode;
        stfmin(*st);
        EXPECT_EQ(st->ivcmps, sc.want);
    }
}

// ------------------------------------------------------------ failures and limits

TEST_F(FmFiles, UnreadableFileEndsTheRunNamingTheFile) {
    const std::string one = case_text(1.0f, 1, 0.0f);
    const auto lines = [](std::initializer_list<int> numbers) {
        std::string s;
        for (int line : numbers) s += value_line(0, line);
        return s;
    };
    struct Bad {
        const char* what;
        const char* name;
        std::string text;
    };
    const Bad cases[] = {
        {"empty file", "r00a00.fm", ""},
        {"header cut short", "k00a00.fm", header(3, 12)},
        {"end after a case line", "w00a00.fm", header(1) + case_line({1.0f}, 1)},
        {"end inside the value lines", "n00a00.fm", header(1) + case_line({1.0f}, 1) + lines({1, 2, 3})},
        {"end inside the breakdown", "ku.fm", header(1) + case_line({1.0f}, 3) + lines({1, 2, 3, 4, 5})},
        {"value line 13 missing", "nu.fm", header(1) + one + case_line({2.0f}, 150) + lines({1, 2, 3, 4, 11, 12})},
        {"end inside a short value list", "r00r01.fm",
         header(1) + case_line({1.0f}, 1) + lines({1, 2, 3, 4, 11}) + " 1 2 3 4 5\n"},
        {"malformed value", "r00r02.fm",
         header(1) + case_line({1.0f}, 1) + lines({1}) + " 1.0 2.0 abc 4 5 6\n" + lines({3, 4, 11, 12})},
        {"malformed case field", "r05a00.fm", header(1) + "     abc  " + one.substr(10)},
        {"malformed type code", "k00r02.fm", std::string(70, 'x') + "     3x\n" + header(1).substr(79)},
        {"extra blank line at the end", "w00r03.fm", header(1) + one + "\n"},
    };
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.what);
        write_file(b.name, b.text);
        const std::string file = failure().file();
        EXPECT_NE(file.find(b.name), std::string::npos) << file;
        fs::remove(b.name);
    }
}

TEST_F(FmFiles, FiftyOneCasesFillTheStore) {
    write_file("k05r07.fm", file_of(std::vector<int>(ncases, 1)));
    stfmin(*st);
    EXPECT_EQ(st->k.n(8, 2), ncases);
    EXPECT_EQ(st->k.s(ncases, 8, 2, 1), static_cast<float>(ncases));
    EXPECT_EQ(output(), "");
}

TEST_F(FmFiles, MoreThanFiftyOneCasesStopBeforeCaseFiftyTwoIsStored) {
    write_file("k05r07.fm", file_of(std::vector<int>(ncases + 1, 1)));
    // case 52 of run 8 would land on case 1 of run 9
    for (int s = 1; s <= full_slots; ++s) st->k.s(1, 9, 2, s) = untouched;
    EXPECT_EQ(hydrosum_test::stop_code([&] { stfmin(*st); }), 1);
    EXPECT_EQ(output(), "error ... more than 51 cases in k05r07.fm\n");
    EXPECT_EQ(st->k.s(ncases, 8, 2, 1), static_cast<float>(ncases));
    for (int s = 1; s <= full_slots; ++s) ASSERT_EQ(st->k.s(1, 9, 2, s), untouched) << "slot " << s;
}

}  // namespace
}  // namespace hydrosum
