// Surfing rudder, upright component transfer and upright anchor.
#include "support.hpp"

#include "hydrosum/tables/corrections.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace hydrosum_test {
namespace {

using RunView = hydrosum::Run;
using Value = std::function<float(int slot, int i, float v)>;

// Present run with these case speeds (slot 1), yaw 0 (so that the wind axes
// keep every pair), every other slot of `slots` from `value`.
void fill(const RunView& run, int slots, const std::vector<float>& speeds, const Value& value) {
    run.present() = true;
    run.n() = static_cast<int>(speeds.size());
    for (int i = 1; i <= run.n(); ++i) {
        const float v = speeds[static_cast<std::size_t>(i - 1)];
        for (int s = 2; s <= slots; ++s) run.s(i, s) = value(s, i, v);
        run.s(i, 1) = v;
        run.s(i, 3) = 0.0f;
    }
}

void fill_full(const RunView& run, const std::vector<float>& speeds, const Value& value) {
    fill(run, hydrosum::full_slots, speeds, value);
}

// The wind-axes step forms the totals and the appendage sum of r, k and ku.
bool formed_by_wind_axes(int s) { return (s >= 45 && s <= 50) || (s >= 96 && s <= 101); }

// ------------------------------------------------------ surfing rudder

struct Pos {
    int j;
    int h;
    int n = -1;   // -1: every speed of its class
};

std::vector<float> first_speeds(const std::vector<float>& all, int n) {
    return n < 0 ? all : std::vector<float>(all.begin(), all.begin() + n);
}

// Every wakes-off position has its own drags, w: 8 id + v, n: 64 id + 2 v,
// over different speed ranges; their difference at speed v is 56 id + v.
float position_id(int j, int h) { return static_cast<float>(j + 10 * h); }
const std::vector<float> w_speeds = {2, 4};
const std::vector<float> n_speeds = {1, 5};
// 1 lies below w's range, 6 above both: each source is extended along its
// own end segments; every value stays exact in binary.
const std::vector<float> r_speeds = {1, 3, 6};

float r_slot(int s, int i) {
    return s == 39 ? 1000.0f + static_cast<float>(i) : static_cast<float>(s) + 0.5f * static_cast<float>(i);
}
float source_slot(int s, int i) { return static_cast<float>(s) + 0.25f * static_cast<float>(i); }
float w_slot(const Pos& p, int s, int i, float v) {
    return s == 33 ? 8.0f * position_id(p.j, p.h) + v : source_slot(s, i);
}
float n_slot(const Pos& p, int s, int i, float v) {
    return s == 33 ? 64.0f * position_id(p.j, p.h) + 2.0f * v : source_slot(s, i);
}

struct SurfedRun {
    Pos at;
    std::optional<Pos> source;   // none: slot 39 keeps its value
    std::string line;
};

struct SurfCase {
    std::string name;
    std::vector<Pos> w, n;
    std::vector<SurfedRun> r;   // in the order of their lines
    bool on = true;
};

const std::string own = "   heeled and yawed surfing rudder for r";
const std::string heel = "   heeled surfing rudder for r";
const std::string upright = "   upright surfing rudder for r";
const std::string none = "   no surfing rudder for r";

// Run 4 of heel 3 is "10r03".
const std::vector<SurfCase> surf_cases = {
    {"the run's own pair before the heel's and the upright one",
     {{4, 3}, {1, 3}, {1, 1}},
     {{4, 3}, {1, 3}, {1, 1}},
     {{{4, 3}, Pos{4, 3}, own + "10r03"}}},
    {"a position with only the w run does not count",
     {{4, 3}, {1, 3}},
     {{1, 3}},
     {{{4, 3}, Pos{1, 3}, heel + "10r03"}}},
    {"a position with only the n run does not count",
     {{4, 3}, {1, 1}},
     {{1, 3}, {1, 1}},
     {{{4, 3}, Pos{1, 1}, upright + "10r03"}}},
    {"a run without cases is no source", {{4, 3}, {1, 3}}, {{4, 3, 0}, {1, 3}}, {{{4, 3}, Pos{1, 3}, heel + "10r03"}}},
    {"no complete position: the line, no change",
     {{4, 3}, {1, 1, 0}},
     {{1, 3}, {1, 1}},
     {{{4, 3}, std::nullopt, none + "10r03"}}},
    {"descending; a reference run names its own position; an empty r run gets its line",
     {{1, 3}, {1, 1}},
     {{1, 3}, {1, 1}},
     {{{5, 3}, Pos{1, 3}, heel + "10r04"},
      {{1, 3}, Pos{1, 3}, own + "10a00"},
      {{2, 1, 0}, Pos{1, 1}, heel + "00r01"},
      {{1, 1}, Pos{1, 1}, own + "00a00"}}},
    {"switch off: no line, no change", {{4, 3}}, {{4, 3}}, {{{4, 3}, std::nullopt, ""}}, false},
};

class SurfingRudder : public StoreTest {};

TEST_F(SurfingRudder, SourcePositionsWordingsAndOnlySlot39) {
    for (const SurfCase& c : surf_cases) {
        SCOPED_TRACE(c.name);
        reset_store();
        st.ci(7) = c.on ? 1 : 0;
        for (const Pos& p : c.w)
            fill(st.w.run(p.j, p.h), hydrosum::short_slots, first_speeds(w_speeds, p.n),
                 [&](int s, int i, float v) { return w_slot(p, s, i, v); });
        for (const Pos& p : c.n)
            fill(st.n.run(p.j, p.h), hydrosum::short_slots, first_speeds(n_speeds, p.n),
                 [&](int s, int i, float v) { return n_slot(p, s, i, v); });
        std::vector<std::string> want;
        for (const SurfedRun& r : c.r) {
            fill_full(st.r.run(r.at.j, r.at.h), first_speeds(r_speeds, r.at.n),
                      [](int s, int i, float) { return r_slot(s, i); });
            if (c.on) want.push_back(r.line);
        }
        hydrosum::correc(st);
        std::vector<std::string> lines;
        for (const std::string& l : new_lines())
            if (l.find("surfing rudder for") != std::string::npos) lines.push_back(l);
        EXPECT_EQ(lines, want);

        for (const SurfedRun& r : c.r) {
            const RunView run = st.r.run(r.at.j, r.at.h);
            for (int i = 1; i <= run.n(); ++i) {
                const float v = r_speeds[static_cast<std::size_t>(i - 1)];
                for (int s = 2; s <= hydrosum::full_slots; ++s) {
                    if (formed_by_wind_axes(s)) continue;
                    float x = s == 3 ? 0.0f : r_slot(s, i);
                    if (s == 39 && r.source) x += 56.0f * position_id(r.source->j, r.source->h) + v;
                    EXPECT_EQ(run.s(i, s), x) << "r" << r.at.j << "," << r.at.h << " case " << i << " slot " << s;
                }
            }
        }
        // the sources keep their values
        for (const Pos& p : c.w)
            for (int i = 1; i <= st.w.n(p.j, p.h); ++i)
                for (int s = 2; s <= hydrosum::short_slots; ++s)
                    EXPECT_EQ(st.w.s(i, p.j, p.h, s), s == 3 ? 0.0f : w_slot(p, s, i, st.w.s(i, p.j, p.h, 1)));
        for (const Pos& p : c.n)
            for (int i = 1; i <= st.n.n(p.j, p.h); ++i)
                for (int s = 2; s <= hydrosum::short_slots; ++s)
                    EXPECT_EQ(st.n.s(i, p.j, p.h, s), s == 3 ? 0.0f : n_slot(p, s, i, st.n.s(i, p.j, p.h, 1)));
    }
}

// ------------------------------------------------- upright transfer

constexpr float nan = std::numeric_limits<float>::quiet_NaN();

std::vector<std::string> warnings(const std::vector<std::string>& lines) {
    return starting_with(lines, "** WARNING **");
}

struct RangeCase {
    std::string name;
    std::vector<float> ref_speeds, ku_speeds;
    std::vector<std::string> lines;
    int mode = -1;
};

const std::string up = "** WARNING ** upright speed ";
const std::vector<RangeCase> range_cases = {
    {"both ends inside the range", {2, 4, 6}, {4, 6}, {}},
    {"ku's case 1 is never tested against the bottom", {2, 4, 6}, {1, 5}, {}},
    {"the bottom is the second case", {2, 4, 6}, {5, 3}, {up + "   3.00000 < min heeled/yawed speed   4.00000"}},
    {"above the top", {2, 4, 6}, {8}, {up + "   8.00000 > max heeled/yawed speed   6.00000"}},
    {"every upper warning first, then the lower ones, each ascending",
     {2, 4, 6},
     {8, 3, 7, 1},
     {up + "   8.00000 > max heeled/yawed speed   6.00000", up + "   7.00000 > max heeled/yawed speed   6.00000",
      up + "   3.00000 < min heeled/yawed speed   4.00000", up + "   1.00000 < min heeled/yawed speed   4.00000"}},
    {"a single case: warned above, no lower test", {5}, {3, 6}, {up + "   6.00000 > max heeled/yawed speed   5.00000"}},
    {"an end speed that is not positive still warns",
     {-2, 0},
     {1, -1},
     {up + "   1.00000 > max heeled/yawed speed   0.00000", up + "  -1.00000 < min heeled/yawed speed   0.00000"}},
    {"viscous mode 0: no warning", {2, 4, 6}, {8, 1, 0}, {}, 0},
    {"viscous mode positive: no warning", {2, 4, 6}, {8, 1, 0}, {}, 1},
};

// Every slot of r(1,1) positive, so that each carried group has a drag.
float ref_slot(int s, int i, float v) {
    return 0.001f * static_cast<float>(s) + 0.01f * v + 0.1f * static_cast<float>(i);
}

class UprightTransfer : public StoreTest {};

TEST_F(UprightTransfer, SpeedRangeAndWarningsInBothForms) {
    for (int r_breakdown : {1, 0}) {
        for (const RangeCase& c : range_cases) {
            SCOPED_TRACE(c.name + (r_breakdown ? ", breakdown form" : ", viscous-group form"));
            reset_store();
            st.ci(4) = c.mode;
            st.ivcmps = {r_breakdown, 1, 1};
            fill_full(st.r.run(1, 1), c.ref_speeds, ref_slot);
            fill_full(st.ku.run(), c.ku_speeds, ref_slot);
            new_lines();
            hydrosum::correc(st);
            EXPECT_EQ(warnings(new_lines()), c.lines);
        }
    }
}

// The friction line carried from drag de on area a at speed ve to speed v, in
// double and in closed form: cf(v) = ce * (L / (L + log10(v/ve)))^2.58 with
// L = log10 Re at ve = (0.455/ce)^(1/2.58).
double carried_drag(double de, double a, double ve, double v) {
    const double ce = de / a;
    const double l = std::pow(0.455 / ce, 1.0 / 2.58);
    return ce * std::pow(l / (l + std::log10(v / ve)), 2.58) * a;
}

// The float chain against the closed form in double: a few roundings of
// 1e-7 each, amplified by at most the exponent 2.58 and the power of ten.
constexpr double friction_rel_tol = 2.0e-6;
// The worked example gives four digits of the drag and three of the ratio.
constexpr float example_drag_tol = 5.0e-7f;
constexpr float example_ratio_tol = 5.0e-4f;

void expect_carried(const RunView& ku, int i, int g, const RunView& ref, int e, float area) {
    const double de = ref.s(e, g);
    const double want = carried_drag(de, area, ref.s(e, 1), ku.s(i, 1));
    EXPECT_NEAR(ku.s(i, g), want, friction_rel_tol * want) << "ku case " << i << " slot " << g;
    for (int m = 1; m < 6; ++m) {
        const double member = ref.s(e, g + m) * want / de;
        EXPECT_NEAR(ku.s(i, g + m), member, friction_rel_tol * std::abs(member))
            << "ku case " << i << " slot " << g + m;
    }
}

void expect_group(const RunView& ku, int i, int g, float value) {
    for (int m = 0; m < 6; ++m) EXPECT_EQ(ku.s(i, g + m), value) << "ku case " << i << " slot " << g + m;
}

// The worked example on ku case 2 (drag 2.0e-3 on area 1.0 carried from 10 to 12).
void expect_worked_example(const RunView& ku, int g, const RunView& ref) {
    EXPECT_NEAR(ku.s(2, g), 1.951e-3f, example_drag_tol);
    for (int m = 1; m < 6; ++m) EXPECT_NEAR(ku.s(2, g + m) / ref.s(3, g + m), 0.975f, example_ratio_tol) << g + m;
}

// r(1,1) at 4, 8, 10; ku at 2 (case 1: interpolated, never tested below),
// 12 (above: from case 3), 6 (below: from case 2), 1/16 (below: Re under 1,
// where the friction line would give NaN) and 0 (below: Re 0).
const std::vector<float> ref_ends = {4, 8, 10};
const std::vector<float> ku_outside = {2, 12, 6, 0.0625f, 0};
const std::vector<std::string> outside_warnings = {
    up + "  12.00000 > max heeled/yawed speed  10.00000", up + "   6.00000 < min heeled/yawed speed   8.00000",
    up + "   0.06250 < min heeled/yawed speed   8.00000", up + "   0.00000 < min heeled/yawed speed   8.00000"};

// Slots of r(1,1) at cases 1 and 2, positive and exact in binary, the
// members' ratios to the drag differing from case 1 to case 2.
float member(int s, int i) {
    const float d = static_cast<float>(s) / 1024.0f;
    return i == 1 ? d : 0.5f * d + static_cast<float>(s % 6) / 4096.0f;
}
float ku_own(int s) { return static_cast<float>(s) / 8.0f; }

// Case 1 of ku at 2 lies on the first segment of r(1,1), t = -0.5.
float first_segment_at_2(const RunView& ref, int s) { return (ref.s(2, s) - ref.s(1, s)) * -0.5f + ref.s(1, s); }

TEST_F(UprightTransfer, BreakdownFormCarriesRudderAndFrudAndAddsThemToTheViscousGroup) {
    st.ci(4) = -1;
    // ku's flag clear, so that the anchor leaves r(1,1)'s groups as the checks read them
    st.ivcmps = {1, 1, 0};
    const RunView ref = st.r.run(1, 1);
    const RunView ku = st.ku.run();
    fill_full(ref, ref_ends, [](int s, int i, float) { return member(s, i); });
    // case 3: the worked example in the rudder group, no frud drag
    const std::array<float, 6> rudder_end = {2.0e-3f, 1.0e-3f, -4.0e-3f, 3.0e-4f, -2.5e-3f, 7.0e-4f};
    for (int m = 0; m < 6; ++m) {
        ref.s(3, 84 + m) = rudder_end[static_cast<std::size_t>(m)];
        ref.s(3, 90 + m) = m == 0 ? 0.0f : 1.0f;
    }
    for (int i = 1; i <= 3; ++i) {
        ref.s(i, 12) = i == 3 ? 1.0f : 0.25f * static_cast<float>(i);
        ref.s(i, 14) = 0.125f * static_cast<float>(i);
    }
    fill_full(ku, ku_outside, [](int s, int, float) { return ku_own(s); });

    hydrosum::correc(st);
    EXPECT_EQ(warnings(output_lines()), outside_warnings);

    for (int s = 84; s <= 95; ++s) EXPECT_EQ(ku.s(1, s), first_segment_at_2(ref, s)) << "slot " << s;
    expect_worked_example(ku, 84, ref);
    expect_group(ku, 2, 90, 0.0f);             // no drag at the top: zeros
    expect_carried(ku, 3, 84, ref, 2, 0.5f);   // from case 2, with the areas of case 2
    expect_carried(ku, 3, 90, ref, 2, 0.25f);
    for (int i : {4, 5}) {   // Re at most 1: zeros
        expect_group(ku, i, 84, 0.0f);
        expect_group(ku, i, 90, 0.0f);
    }
    for (int i = 1; i <= 5; ++i)
        for (int m = 0; m < 6; ++m)
            EXPECT_EQ(ku.s(i, 33 + m), (ku_own(33 + m) + ku.s(i, 84 + m)) + ku.s(i, 90 + m))
                << "case " << i << " " << m;
}

TEST_F(UprightTransfer, ViscousGroupFormReplacesTheGroupAndUsesTheTotalArea) {
    st.ci(4) = -1;
    st.ivcmps = {0, 1, 1};
    const RunView ref = st.r.run(1, 1);
    const RunView ku = st.ku.run();
    fill_full(ref, ref_ends, [](int s, int i, float) { return member(s, i); });
    // wetted areas of case 3 add up to 1.0 (slot 11, the fourth part, takes no part)
    const std::array<std::pair<int, float>, 7> areas = {
        {{8, 0.5f}, {9, 0.25f}, {10, 0.125f}, {11, 100.0f}, {12, 0.03125f}, {13, 0.0625f}, {14, 0.03125f}}};
    for (const auto& [s, a] : areas) {
        ref.s(3, s) = a;
        ref.s(2, s) = 2.0f * a;   // 2.0 in all at case 2
    }
    const std::array<float, 6> viscous_end = {2.0e-3f, 1.0e-3f, -4.0e-3f, 3.0e-4f, -2.5e-3f, 7.0e-4f};
    for (int m = 0; m < 6; ++m) ref.s(3, 33 + m) = viscous_end[static_cast<std::size_t>(m)];
    fill_full(ku, ku_outside, [](int s, int, float) { return ku_own(s); });

    hydrosum::correc(st);
    EXPECT_EQ(warnings(output_lines()), outside_warnings);
    for (int s = 33; s <= 38; ++s) EXPECT_EQ(ku.s(1, s), first_segment_at_2(ref, s)) << "slot " << s;
    expect_worked_example(ku, 33, ref);
    expect_carried(ku, 3, 33, ref, 2, 2.0f);
    expect_carried(ku, 4, 33, ref, 2, 2.0f);   // a smaller drag over this area keeps Re above 1
    expect_group(ku, 5, 33, 0.0f);
    for (int i = 1; i <= 5; ++i)
        for (int s = 84; s <= 95; ++s) EXPECT_EQ(ku.s(i, s), ku_own(s)) << "case " << i << " slot " << s;
}

TEST_F(UprightTransfer, EndSpeedNotPositiveKeepsTheInterpolatedValues) {
    st.ci(4) = -1;
    st.ivcmps = {1, 1, 1};
    // drags linear in speed, so that the extension of the end segments is exact
    fill_full(st.r.run(1, 1), {-2, 0}, [](int s, int, float v) { return static_cast<float>(s) + 0.5f * v; });
    fill_full(st.ku.run(), {1, -1}, [](int, int, float) { return 0.0f; });
    hydrosum::correc(st);
    EXPECT_EQ(warnings(output_lines()).size(), 2u);
    for (int i = 1; i <= 2; ++i) {
        const float v = st.ku.s(i, 1);
        for (int s = 84; s <= 95; ++s) EXPECT_EQ(st.ku.s(i, s), static_cast<float>(s) + 0.5f * v) << "slot " << s;
    }
}

// r(1,1) areas at 2, 4, 6: rudder 0.5 + v/4 rising, frud 2 - v/8 falling.
float area_of(int s, float v) { return s == 12 ? 0.5f + 0.25f * v : 2.0f - 0.125f * v; }

TEST_F(UprightTransfer, WettedAreasWhateverTheViscousMode) {
    struct Mode {
        int mode;
        int r_breakdown;
    };
    for (const Mode& m : {Mode{0, 1}, Mode{1, 1}, Mode{-1, 1}, Mode{-1, 0}}) {
        SCOPED_TRACE("mode " + std::to_string(m.mode) + ", breakdown " + std::to_string(m.r_breakdown));
        reset_store();
        st.ci(4) = m.mode;
        st.ivcmps = {m.r_breakdown, 1, 1};
        fill_full(st.r.run(1, 1), {2, 4, 6},
                  [](int s, int i, float v) { return s == 12 || s == 14 ? area_of(s, v) : ref_slot(s, i, v); });
        fill_full(st.ku.run(), {1, 3, 8, 6}, [](int s, int, float) { return ku_own(s); });
        new_lines();
        hydrosum::correc(st);
        const std::vector<std::string> lines = new_lines();
        for (int s : {12, 14}) {
            EXPECT_EQ(st.ku.s(1, s), area_of(s, 1)) << "below: extended, slot " << s;
            EXPECT_EQ(st.ku.s(2, s), area_of(s, 3)) << "inside, slot " << s;
            EXPECT_EQ(st.ku.s(3, s), area_of(s, 6)) << "above: the last case, slot " << s;
            EXPECT_EQ(st.ku.s(4, s), area_of(s, 6)) << "at the top, slot " << s;
        }
        if (m.mode >= 0) {   // only the areas
            EXPECT_TRUE(warnings(lines).empty());
            for (int i = 1; i <= 4; ++i)
                for (int s = 33; s <= 95; ++s)
                    if (!formed_by_wind_axes(s)) {
                        EXPECT_EQ(st.ku.s(i, s), ku_own(s)) << s;
                    }
        }
    }
}

TEST_F(UprightTransfer, NothingWithoutBothRunsOrWithAnEmptyReference) {
    struct Gate {
        std::string name;
        bool ref_present;
        int ref_cases;
        bool ku_present;
        bool transfers;
    };
    for (const Gate& g : {Gate{"both", true, 3, true, true}, Gate{"no r(1,1)", false, 3, true, false},
                          Gate{"r(1,1) without cases", true, 0, true, false}, Gate{"no ku", true, 3, false, false}}) {
        SCOPED_TRACE(g.name);
        reset_store();
        st.ci(4) = -1;
        st.ivcmps = {1, 1, 1};
        const RunView ref = st.r.run(1, 1);
        const RunView ku = st.ku.run();
        fill_full(ref, std::vector<float>(ref_ends.begin(), ref_ends.begin() + g.ref_cases), ref_slot);
        ref.present() = g.ref_present;
        fill_full(ku, ku_outside, [](int s, int, float) { return ku_own(s); });
        ku.present() = g.ku_present;
        new_lines();
        hydrosum::correc(st);
        EXPECT_EQ(!warnings(new_lines()).empty(), g.transfers);
        bool same = true;
        for (int i = 1; i <= ku.n(); ++i)
            for (int s = 12; s <= 95; ++s)
                if (!formed_by_wind_axes(s)) same = same && ku.s(i, s) == ku_own(s);
        EXPECT_EQ(same, !g.transfers);
    }
}

// -------------------------------------------------------- upright anchor

// Reference runs hold slot + v, ku twice that: shifted slots gain slot + v,
// scaled slots double; the anchored runs hold 10 slot + case.
float ref_model(int s, float v) { return static_cast<float>(s) + v; }
float ku_model(int s, float v) { return 2.0f * (static_cast<float>(s) + v); }
float run_model(int s, int i) { return 10.0f * static_cast<float>(s) + static_cast<float>(i); }
const std::vector<float> anchor_ref_speeds = {2, 4, 6};
const std::vector<float> anchor_ku_speeds = {1, 3};
const std::vector<float> anchored_speeds = {3, 5, 7};   // 7 beyond both tables

enum class Moved { kept, shifted, scaled };

Moved treatment(int s, bool breakdown, bool rudder) {
    if ((s >= 39 && s <= 44) || s == 6 || s == 7) return Moved::shifted;
    if (s == 8 || s == 15 || s == 9 || s == 10 || s == 11 || s == 13) return Moved::scaled;
    const bool group = (s >= 60 && s <= 83) || (rudder && s >= 84 && s <= 95) || (s >= 33 && s <= 38);
    return breakdown && group ? Moved::shifted : Moved::kept;
}

// Reference slots 10 and 11 at 0 and at the threshold 1e-6 keep their value;
// slot 13 just above it is scaled (ku twice the reference, the run's value 8).
const float just_above = std::nextafter(1.0e-6f, 1.0f);
float ref_value(int s, int, float v) {
    return s == 10 ? 0.0f : s == 11 ? 1.0e-6f : s == 13 ? just_above : ref_model(s, v);
}
float ku_value(int s, int, float v) { return s == 13 ? 2.0f * just_above : ku_model(s, v); }
float run_value(int s, int i, float) { return s == 13 ? 8.0f : run_model(s, i); }

float anchored(int s, int i, float v, Moved t) {
    const float x = run_value(s, i, v);
    if (t == Moved::shifted) return x + ref_model(s, v);
    if (t == Moved::scaled && s != 10 && s != 11) return 2.0f * x;
    return x;
}

class UprightAnchor : public StoreTest {};

TEST_F(UprightAnchor, ShiftedScaledAndKeptSlotsPerClassAndBreakdownTest) {
    struct Setting {
        std::string name;
        bool k;
        int mode;
        std::array<std::int32_t, 3> flags;
        bool breakdown;
    };
    for (const Setting& c : {Setting{"r, breakdown in use", false, -1, {1, 1, 1}, true},
                             Setting{"k, breakdown in use: no rudder or frud", true, -1, {1, 1, 1}, true},
                             Setting{"r, viscous mode 0", false, 0, {1, 1, 1}, false},
                             Setting{"r, viscous mode positive", false, 1, {1, 1, 1}, false},
                             Setting{"r, ku without breakdown", false, -1, {1, 1, 0}, false},
                             Setting{"k without breakdown", true, -1, {1, 0, 1}, false},
                             Setting{"r without breakdown, k's flag set", false, -1, {0, 1, 1}, false}}) {
        SCOPED_TRACE(c.name);
        reset_store();
        st.ci(4) = c.mode;
        st.ivcmps = c.flags;
        auto& cls = c.k ? st.k : st.r;
        fill_full(cls.run(1, 1), anchor_ref_speeds, ref_value);
        fill_full(st.ku.run(), anchor_ku_speeds, ku_value);
        const RunView run = cls.run(3, 2);
        fill_full(run, anchored_speeds, run_value);
        hydrosum::upright_anchor(st);
        for (int i = 1; i <= 3; ++i) {
            const float v = anchored_speeds[static_cast<std::size_t>(i - 1)];
            for (int s = 2; s <= hydrosum::full_slots; ++s) {
                const float want = s == 3 ? 0.0f : anchored(s, i, v, treatment(s, c.breakdown, !c.k));
                EXPECT_EQ(run.s(i, s), want) << "case " << i << " slot " << s;
            }
        }
        for (int i = 1; i <= 2; ++i)
            for (int s = 4; s <= hydrosum::full_slots; ++s)
                EXPECT_EQ(st.ku.s(i, s), ku_value(s, i, anchor_ku_speeds[static_cast<std::size_t>(i - 1)])) << s;
    }
}

struct AnchorRun {
    bool k;
    int j;
    int h;
    int n = 2;
};

struct AnchorGate {
    std::string name;
    std::vector<AnchorRun> runs;
    int ku_cases;   // -1: ku absent
    std::vector<std::string> lines;
};

const std::string anchor = "   upright anchor for";
const std::vector<AnchorGate> anchor_gates = {
    {"ku absent", {{false, 1, 1}, {true, 1, 1}, {false, 2, 3}, {true, 2, 3}}, -1, {}},
    {"ku without cases", {{false, 1, 1}, {true, 1, 1}, {false, 2, 3}, {true, 2, 3}}, 0, {}},
    {"no r(1,1): only k", {{true, 1, 1}, {false, 2, 3}, {true, 2, 3}}, 2, {anchor + " k10r01", anchor + " k00a00"}},
    {"no k(1,1): k never falls back to r(1,1)",
     {{false, 1, 1}, {false, 2, 3}, {true, 2, 3}},
     2,
     {anchor + " r10r01", anchor + " r00a00"}},
    {"r(1,1) without cases is no reference",
     {{false, 1, 1, 0}, {true, 1, 1}, {false, 2, 3}, {true, 2, 3}},
     2,
     {anchor + " k10r01", anchor + " k00a00"}},
    {"descending, r before k, a run without cases gets its line, the upright reference runs last",
     {{false, 1, 1}, {true, 1, 1}, {false, 1, 3}, {true, 1, 3}, {false, 2, 9, 0}, {false, 100, 9}, {true, 100, 9}},
     1,
     {anchor + " r35r99", anchor + " k35r99", anchor + " r35r01", anchor + " r10a00", anchor + " k10a00",
      anchor + " r00a00", anchor + " k00a00"}},
};

TEST_F(UprightAnchor, GatePerClassAndLineOrder) {
    for (const AnchorGate& c : anchor_gates) {
        SCOPED_TRACE(c.name);
        reset_store();
        for (const AnchorRun& r : c.runs)
            fill_full((r.k ? st.k : st.r).run(r.j, r.h),
                      std::vector<float>(anchor_ref_speeds.begin(), anchor_ref_speeds.begin() + r.n),
                      [](int s, int, float v) { return ref_model(s, v); });
        if (c.ku_cases >= 0)
            fill_full(st.ku.run(), std::vector<float>(anchor_ku_speeds.begin(), anchor_ku_speeds.begin() + c.ku_cases),
                      [](int s, int, float v) { return ku_model(s, v); });
        new_lines();
        hydrosum::upright_anchor(st);
        const std::vector<std::string> lines = new_lines();
        EXPECT_EQ(lines, c.lines);
        for (const AnchorRun& r : c.runs) {
            if (r.n == 0) continue;
            std::string line = anchor + (r.k ? " k" : " r") + std::string(hydrosum::heel_code(r.h));
            const auto code = hydrosum::run_code(r.j);
            line.append(code.data(), code.size());
            const bool has_line = std::find(lines.begin(), lines.end(), line) != lines.end();
            const float x = (r.k ? st.k : st.r).s(1, r.j, r.h, 39);
            EXPECT_EQ(x != ref_model(39, 2), has_line) << line;
        }
    }
}

TEST_F(UprightAnchor, ReferenceRunAnchoredLastAgainstItselfFromCompleteLists) {
    st.ci(4) = -1;
    st.ivcmps = {1, 1, 1};
    // speeds 2, 6, 4: case 3 lies on the segment of cases 1 and 2, its own
    // value off that line; the reference run's table is itself rewritten
    const RunView ref = st.r.run(1, 1);
    fill_full(ref, {2, 6, 4},
              [](int s, int i, float v) { return i == 3 ? static_cast<float>(s) + 100.0f : ref_model(s, v); });
    fill_full(st.ku.run(), anchor_ku_speeds, [](int s, int, float v) { return ku_model(s, v); });
    const RunView other = st.r.run(2, 1);
    fill_full(other, {3, 5}, [](int s, int i, float) { return run_model(s, i); });
    hydrosum::upright_anchor(st);
    EXPECT_EQ(output_lines(), (std::vector<std::string>{anchor + " r00r01", anchor + " r00a00"}));
    for (int s = 2; s <= hydrosum::full_slots; ++s) {
        const Moved t = treatment(s, true, true);
        if (t == Moved::kept) continue;
        SCOPED_TRACE("slot " + std::to_string(s));
        const float f = static_cast<float>(s);
        // against the values r(1,1) had before the step: A = slot + v
        EXPECT_EQ(other.s(1, s), t == Moved::shifted ? run_model(s, 1) + (f + 3.0f) : 2.0f * run_model(s, 1));
        EXPECT_EQ(other.s(2, s), t == Moved::shifted ? run_model(s, 2) + (f + 5.0f) : 2.0f * run_model(s, 2));
        // its own first two cases become ku's values; case 3's reference is the
        // mean of the old cases 1 and 2, f + 4
        EXPECT_EQ(ref.s(1, s), ku_model(s, 2));
        EXPECT_EQ(ref.s(2, s), ku_model(s, 6));
        EXPECT_EQ(ref.s(3, s),
                  t == Moved::shifted ? (ku_model(s, 4) - (f + 4.0f)) + (f + 100.0f) : 2.0f * (f + 100.0f));
    }
}

// ----------------------------------------------------------- the chain

class Chain : public StoreTest {};

// A table that the interpolation cannot read writes nothing: no surfing
// rudder from w(1,1), no anchor on ku, though both lines are written.
TEST_F(Chain, NanEndSpeedOfASourceOrOfKuChangesNothing) {
    st.ci(7) = 1;
    fill(st.w.run(1, 1), hydrosum::short_slots, {2, nan}, [](int s, int, float) { return static_cast<float>(s); });
    fill(st.n.run(1, 1), hydrosum::short_slots, {2, 4}, [](int s, int, float) { return 2.0f * static_cast<float>(s); });
    fill_full(st.r.run(1, 1), {2, 4}, [](int s, int, float v) { return ref_model(s, v); });
    fill_full(st.ku.run(), {1, nan}, [](int s, int, float v) { return ku_model(s, v); });
    const RunView run = st.r.run(2, 1);
    fill_full(run, {3}, [](int s, int i, float) { return run_model(s, i); });
    hydrosum::correc(st);
    const std::vector<std::string> lines = output_lines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "   heeled surfing rudder for r00r01"), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), anchor + " r00r01"), 1);
    for (int s = 4; s <= 44; ++s) EXPECT_EQ(run.s(1, s), run_model(s, 1)) << "slot " << s;
}

// The anchor reads ku as the transfer left it: k's viscous group moves by
// r(1,1)'s viscous group (now ku's) minus k(1,1)'s.
TEST_F(Chain, AnchorFollowsTheTransfer) {
    st.ci(4) = -1;
    st.ivcmps = {0, 1, 1};   // viscous-group form; k and ku anchored with their breakdown
    fill_full(st.r.run(1, 1), {2, 4, 6}, [](int s, int, float v) { return 4.0f * (static_cast<float>(s) + v); });
    fill_full(st.ku.run(), {3, 5}, [](int s, int, float v) { return ku_model(s, v); });
    fill_full(st.k.run(1, 1), {2, 4}, [](int s, int, float v) { return ref_model(s, v); });
    const RunView run = st.k.run(2, 1);
    fill_full(run, {3}, [](int s, int i, float) { return run_model(s, i); });
    hydrosum::correc(st);
    EXPECT_TRUE(warnings(output_lines()).empty());
    for (int s = 33; s <= 38; ++s)
        EXPECT_EQ(run.s(1, s), (4.0f * (static_cast<float>(s) + 3.0f) - ref_model(s, 3)) + run_model(s, 1)) << s;
}

}  // namespace
}  // namespace hydrosum_test
