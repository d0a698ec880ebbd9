// The correction chain: zero-speed leakage, wind axes and totals.
#include "support.hpp"

#include <array>
#include <limits>
#include <optional>
#include <tuple>
#include <string>
#include <vector>

namespace hydrosum_test {
namespace {

using RunView = hydrosum::Run;
using hydrosum::Store;

// A run of one class ("r", "k", "w", "n", "ku", "nu"), with its case count.
struct At {
    std::string cls;
    int j = 1;
    int h = 1;
    int n = 2;
};

RunView run_of(Store& st, const At& a) {
    if (a.cls == "r") return st.r.run(a.j, a.h);
    if (a.cls == "k") return st.k.run(a.j, a.h);
    if (a.cls == "w") return st.w.run(a.j, a.h);
    if (a.cls == "n") return st.n.run(a.j, a.h);
    if (a.cls == "ku") return st.ku.run();
    return st.nu.run();
}

bool same_run(const At& a, const At& b) { return a.cls == b.cls && a.j == b.j && a.h == b.h; }

// first slot of the inviscid group
int group_of(const At& a) { return (a.cls == "w" || a.cls == "n" || a.cls == "nu") ? 33 : 39; }

// A number of its own for every run, so that the amount removed names its source.
float intercept(const At& a) {
    const std::array<std::string, 6> order = {"r", "k", "w", "n", "ku", "nu"};
    int c = 0;
    while (order[static_cast<std::size_t>(c)] != a.cls) ++c;
    return static_cast<float>((c + 1) * 1000 + 100 * a.h + a.j);
}

// Case i at speed i: drag d + 4i and side force -d + 2i meet d and -d at rest;
// the other members of the group are there to stay as they are.
float drag_at(float d, int i) { return d + 4.0f * static_cast<float>(i); }
float side_at(float d, int i) { return -d + 2.0f * static_cast<float>(i); }
float member_at(int m, int i) { return 10.0f * static_cast<float>(m) + static_cast<float>(i); }

void fill_leakage_run(Store& st, const At& a) {
    const RunView run = run_of(st, a);
    run.present() = true;
    run.n() = a.n;
    const int g = group_of(a);
    const float d = intercept(a);
    for (int i = 1; i <= a.n; ++i) {
        run.s(i, 1) = static_cast<float>(i);
        run.s(i, g) = drag_at(d, i);
        run.s(i, g + 2) = side_at(d, i);
        for (int m : {1, 3, 4, 5}) run.s(i, g + m) = member_at(m, i);
    }
}

// What the source gives at rest: its intercepts, or its only case.
float rest_drag(const At& src) { return src.n == 1 ? drag_at(intercept(src), 1) : intercept(src); }
float rest_side(const At& src) { return src.n == 1 ? side_at(intercept(src), 1) : -intercept(src); }

std::vector<std::string> without_wind_axes(const std::vector<std::string>& lines) {
    std::vector<std::string> kept;
    for (const std::string& l : lines)
        if (l.rfind("   wind axes for", 0) != 0) kept.push_back(l);
    return kept;
}

const std::string on_own = "   heeled and yawed rudder-on wakes-off leakage for";
const std::string on_heel_off = "   heeled rudder-on wakes-off leakage for";
const std::string on_upright_off = "   upright rudder-on wakes-off leakage for";
const std::string on_heel_on = "   heeled rudder-on wakes-on leakage for";
const std::string on_upright_on = "   upright rudder-on wakes-on leakage for";
const std::string off_own = "   heeled and yawed rudder-off wakes-off leakage for";
const std::string off_heel_off = "   heeled rudder-off wakes-off leakage for";
const std::string off_upright_off = "   upright rudder-off wakes-off leakage for";
const std::string off_upright_on = "   upright rudder-off wakes-on leakage for";
const std::string no_leakage = "   no leakage for";

struct Corrected {
    At run;
    std::optional<At> source;   // none: the run keeps its values
};

struct LeakageCase {
    std::string name;
    std::vector<Corrected> runs;   // every present run
    std::vector<std::string> lines;
};

// Heel 3 is "10", run 4 is "r03".
const std::vector<LeakageCase> leakage_cases = {
    {"own wakes-off run serves both classes of the pair",
     {{{"r", 4, 3}, At{"w", 4, 3}}, {{"w", 4, 3}, At{"w", 4, 3}}},
     {on_own + " r10r03", on_own + " w10r03"}},
    {"wakes-off reference run of the heel",
     {{{"r", 4, 3}, At{"w", 1, 3}}, {{"w", 1, 3}, At{"w", 1, 3}}},
     {on_heel_off + " r10r03", on_own + " w10a00"}},
    {"upright wakes-off reference run",
     {{{"r", 4, 3}, At{"w", 1, 1}}, {{"w", 1, 1}, At{"w", 1, 1}}},
     {on_upright_off + " r10r03", on_own + " w00a00"}},
    {"wakes-on reference run of the heel",
     {{{"r", 4, 3}, At{"r", 1, 3}}, {{"r", 1, 3}, At{"r", 1, 3}}},
     {on_heel_on + " r10r03", on_heel_on + " r10a00"}},
    {"upright wakes-on reference run, itself named by the heel entry",
     {{{"r", 4, 3}, At{"r", 1, 1}}, {{"r", 1, 1}, At{"r", 1, 1}}},
     {on_upright_on + " r10r03", on_heel_on + " r00a00"}},
    {"no source", {{{"r", 4, 3}, std::nullopt}}, {no_leakage + " r10r03"}},
    {"own rudder-off wakes-off run",
     {{{"k", 4, 3}, At{"n", 4, 3}}, {{"n", 4, 3}, At{"n", 4, 3}}},
     {off_own + " k10r03", off_own + " n10r03"}},
    {"rudder-off wakes-off reference run of the heel",
     {{{"k", 4, 3}, At{"n", 1, 3}}, {{"n", 1, 3}, At{"n", 1, 3}}},
     {off_heel_off + " k10r03", off_own + " n10a00"}},
    {"upright rudder-off wakes-off reference run",
     {{{"k", 4, 3}, At{"n", 1, 1}}, {{"n", 1, 1}, At{"n", 1, 1}}},
     {off_upright_off + " k10r03", off_own + " n00a00"}},
    {"upright rudder-off wakes-on reference run",
     {{{"k", 4, 3}, At{"k", 1, 1}}, {{"k", 1, 1}, At{"k", 1, 1}}},
     {off_upright_on + " k10r03", off_upright_on + " k00a00"}},
    {"the heel's own k reference run is no source",
     {{{"k", 4, 3}, std::nullopt}, {{"k", 1, 3}, std::nullopt}},
     {no_leakage + " k10r03", no_leakage + " k10a00"}},
    {"a source without cases hands on to the next; the wording follows",
     {{{"r", 4, 3}, At{"w", 1, 3}}, {{"w", 4, 3, 0}, At{"w", 1, 3}}, {{"w", 1, 3}, At{"w", 1, 3}}},
     {on_heel_off + " r10r03", on_heel_off + " w10r03", on_own + " w10a00"}},
    {"a present run without cases still gets its line", {{{"k", 2, 2, 0}, std::nullopt}}, {no_leakage + " k05r01"}},
    {"a single-case source is its own value at rest", {{{"r", 1, 1, 1}, At{"r", 1, 1, 1}}}, {on_heel_on + " r00a00"}},
    {"heels and runs descending, pairs rudder-on first, upright pair last",
     {{{"r", 1, 1}, At{"r", 1, 1}},
      {{"r", 2, 1}, At{"w", 2, 1}},
      {{"k", 2, 1}, At{"n", 2, 1}},
      {{"w", 2, 1}, At{"w", 2, 1}},
      {{"n", 2, 1}, At{"n", 2, 1}},
      {{"r", 1, 3}, At{"r", 1, 3}},
      {{"r", 5, 3}, At{"r", 1, 3}},
      {{"k", 5, 3}, std::nullopt},
      {{"nu"}, At{"nu"}}},
     {on_heel_on + " r10r04", no_leakage + " k10r04", on_heel_on + " r10a00", on_own + " r00r01",
      on_own + " w00r01", off_own + " k00r01", off_own + " n00r01", on_heel_on + " r00a00",
      off_upright_off + " nu"}},
    // without r or k runs, so that the upright anchor leaves the values to the leakage
    {"both upright sets: nu serves both",
     {{{"ku"}, At{"nu"}}, {{"nu"}, At{"nu"}}},
     {off_upright_off + " ku", off_upright_off + " nu"}},
    {"upright pair with an empty nu takes ku",
     {{{"ku"}, At{"ku"}}, {{"nu", 1, 1, 0}, std::nullopt}},
     {off_upright_on + " ku", off_upright_on + " nu"}},
    {"ku alone", {{{"ku"}, At{"ku"}}}, {off_upright_on + " ku"}},
};

class Leakage : public StoreTest {};

TEST_F(Leakage, SourcesWordingsAndOrder) {
    for (const LeakageCase& c : leakage_cases) {
        SCOPED_TRACE(c.name);
        reset_store();
        st.ci(5) = 1;
        for (const Corrected& r : c.runs) fill_leakage_run(st, r.run);
        new_lines();
        hydrosum::correc(st);
        EXPECT_EQ(without_wind_axes(new_lines()), c.lines);

        for (const Corrected& r : c.runs) {
            const RunView run = run_of(st, r.run);
            const int g = group_of(r.run);
            const float d = intercept(r.run);
            std::optional<At> src;
            if (r.source)   // the source's own case count decides its value at rest
                for (const Corrected& other : c.runs)
                    if (same_run(other.run, *r.source)) src = other.run;
            ASSERT_EQ(src.has_value(), r.source.has_value()) << r.run.cls << r.run.j << r.run.h;
            for (int i = 1; i <= r.run.n; ++i) {
                const float drag = drag_at(d, i) - (src ? rest_drag(*src) : 0.0f);
                const float side = side_at(d, i) - (src ? rest_side(*src) : 0.0f);
                EXPECT_EQ(run.s(i, g), drag) << r.run.cls << r.run.j << r.run.h << " case " << i;
                EXPECT_EQ(run.s(i, g + 2), side) << r.run.cls << r.run.j << r.run.h << " case " << i;
                for (int m : {1, 3, 4, 5}) EXPECT_EQ(run.s(i, g + m), member_at(m, i));
            }
        }
    }
}

// Every slot of case i holds slot + i/2 (linear in the speed i), the yaw 0.
float filled(int s, int i) {
    if (s == 1) return static_cast<float>(i);
    if (s == 3) return 0.0f;
    return static_cast<float>(s) + 0.5f * static_cast<float>(i);
}

void fill_all_slots(const RunView& run, int slots, int n) {
    run.present() = true;
    run.n() = n;
    for (int i = 1; i <= n; ++i)
        for (int s = 1; s <= slots; ++s) run.s(i, s) = filled(s, i);
}

// The wind-axes step forms the totals and the appendage sum of r.
bool formed_by_wind_axes(int s) { return (s >= 45 && s <= 50) || (s >= 96 && s <= 101); }

TEST_F(Leakage, ChangesOnlyDragAndSideForceOfTheCasesPresent) {
    st.ci(5) = 1;
    const RunView r = st.r.run(3, 2);
    const RunView w = st.w.run(3, 2);
    fill_all_slots(r, hydrosum::full_slots, 2);
    fill_all_slots(w, hydrosum::short_slots, 2);
    hydrosum::correc(st);
    // w(3,2) is the source: 33 and 35 of its cases meet 33 and 35 at rest
    for (int i = 1; i <= 3; ++i) {   // case 3 lies beyond the count
        const bool in = i <= 2;
        for (int s = 1; s <= hydrosum::short_slots; ++s) {
            float want = in ? filled(s, i) : 0.0f;
            if (in && (s == 33 || s == 35)) want = 0.5f * static_cast<float>(i);
            EXPECT_EQ(w.s(i, s), want) << "w slot " << s << " case " << i;
        }
        for (int s = 1; s <= hydrosum::full_slots; ++s) {
            if (in && formed_by_wind_axes(s)) continue;
            float want = in ? filled(s, i) : 0.0f;
            if (in && s == 39) want = filled(39, i) - 33.0f;
            if (in && s == 41) want = filled(41, i) - 35.0f;
            EXPECT_EQ(r.s(i, s), want) << "r slot " << s << " case " << i;
        }
    }
}

TEST_F(Leakage, SwitchOffWritesNoLineAndChangesNothing) {
    const RunView r = st.r.run(3, 2);
    const RunView w = st.w.run(3, 2);
    fill_all_slots(r, hydrosum::full_slots, 2);
    fill_all_slots(w, hydrosum::short_slots, 2);
    hydrosum::correc(st);
    EXPECT_EQ(output_lines(), std::vector<std::string>{"   wind axes for r05r02"});
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(r.s(i, 39), filled(39, i));
        EXPECT_EQ(r.s(i, 41), filled(41, i));
        EXPECT_EQ(w.s(i, 33), filled(33, i));
        EXPECT_EQ(w.s(i, 35), filled(35, i));
    }
}

TEST_F(Leakage, SourceWithANanEndSpeedRemovesNothing) {
    st.ci(5) = 1;
    const At r{"r", 2, 1};
    const At w{"w", 2, 1};
    fill_leakage_run(st, r);
    fill_leakage_run(st, w);
    st.w.s(2, 2, 1, 1) = std::numeric_limits<float>::quiet_NaN();
    hydrosum::correc(st);
    const float d = intercept(r);
    for (int i = 1; i <= 2; ++i) {
        EXPECT_EQ(st.r.s(i, 2, 1, 39), drag_at(d, i));
        EXPECT_EQ(st.r.s(i, 2, 1, 41), side_at(d, i));
    }
}

// ------------------------------------------------------------ wind axes

// Drag slots of the rotated pairs: viscous, inviscid and the six breakdown groups.
constexpr std::array<int, 8> pairs = {33, 39, 60, 66, 72, 78, 84, 90};

// Case i of a full-slot run: yaw given, every other slot its own value
// (the hull group large, so that adding it to the appendage sum shows).
float wind_filled(int s) { return (s >= 60 && s <= 65) ? 1000.0f + static_cast<float>(s) : static_cast<float>(s) / 8.0f; }

void fill_wind_case(const RunView& run, int i, float yaw) {
    for (int s = 2; s <= hydrosum::full_slots; ++s) run.s(i, s) = wind_filled(s);
    for (int s = 96; s <= 101; ++s) run.s(i, s) = -999.0f;   // replaced by the sum
    run.s(i, 1) = static_cast<float>(i);
    run.s(i, 3) = yaw;
}

void expect_totals(const RunView& run, int i, const std::string& where) {
    for (int m = 0; m < 6; ++m) {
        EXPECT_EQ(run.s(i, 45 + m), run.s(i, 33 + m) + run.s(i, 39 + m)) << where << " member " << m;
        const float sum = (((run.s(i, 66 + m) + run.s(i, 72 + m)) + run.s(i, 78 + m)) + run.s(i, 84 + m)) +
                          run.s(i, 90 + m);
        EXPECT_EQ(run.s(i, 96 + m), sum) << where << " member " << m;
    }
}

// cos(pi/2) in float is about -4.4e-8, not 0: each new value keeps 4.4e-8
// of the other old value (5e-5 for the hull group's values near 1065) and
// one rounding of its own (at most 6e-5 there).
constexpr float yaw90_tol = 2.0e-4f;

class WindAxes : public StoreTest {};

TEST_F(WindAxes, YawZeroKeepsThePairsAndYawNinetyTurnsThemWithTheOldDrag) {
    for (const auto& [cls, j, h] : {std::tuple{"r", 1, 1}, std::tuple{"k", 2, 3}}) {
        SCOPED_TRACE(cls);
        const RunView run = std::string(cls) == "r" ? st.r.run(j, h) : st.k.run(j, h);
        run.present() = true;
        run.n() = 2;
        fill_wind_case(run, 1, 0.0f);
        fill_wind_case(run, 2, 90.0f);
    }
    hydrosum::correc(st);
    for (const RunView& run : {st.r.run(1, 1), st.k.run(2, 3)}) {
        for (int d : pairs) {
            const float d_old = wind_filled(d);
            const float s_old = wind_filled(d + 2);
            EXPECT_EQ(run.s(1, d), d_old) << "yaw 0, pair " << d;
            EXPECT_EQ(run.s(1, d + 2), s_old) << "yaw 0, pair " << d;
            EXPECT_NEAR(run.s(2, d), s_old, yaw90_tol) << "yaw 90, pair " << d;
            EXPECT_NEAR(run.s(2, d + 2), -d_old, yaw90_tol) << "yaw 90, pair " << d;
            EXPECT_EQ(run.s(2, d + 1), wind_filled(d + 1)) << "vertical force, pair " << d;
        }
        expect_totals(run, 1, "yaw 0");
        expect_totals(run, 2, "yaw 90");
    }
}

TEST_F(WindAxes, LinesAscendingAndOnlyTotalsForTheUprightSet) {
    for (const auto& [cls, j, h, n] : {std::tuple{"r", 1, 1, 1}, std::tuple{"k", 1, 1, 1}, std::tuple{"r", 2, 1, 1},
                                       std::tuple{"k", 3, 2, 1}, std::tuple{"r", 5, 2, 0}}) {
        const RunView run = std::string(cls) == "r" ? st.r.run(j, h) : st.k.run(j, h);
        run.present() = true;
        run.n() = n;
        fill_wind_case(run, 1, 90.0f);   // beyond the count for r(5,2)
    }
    const RunView ku = st.ku.run();
    ku.present() = true;
    ku.n() = 2;
    fill_wind_case(ku, 1, 90.0f);
    fill_wind_case(ku, 2, 45.0f);
    for (const RunView& wakes_off : {st.w.run(1, 1), st.n.run(1, 1), st.nu.run()}) {
        wakes_off.present() = true;
        wakes_off.n() = 1;
        for (int s = 1; s <= hydrosum::short_slots; ++s) wakes_off.s(1, s) = static_cast<float>(s);
        wakes_off.s(1, 3) = 90.0f;
    }
    hydrosum::correc(st);

    // the upright anchor writes its own lines first
    EXPECT_EQ(starting_with(output_lines(), "   wind axes for"),
              (std::vector<std::string>{"   wind axes for r00a00", "   wind axes for k00a00", "   wind axes for r00r01",
                                        "   wind axes for k05r02", "   wind axes for r05r04"}));
    const RunView empty = st.r.run(5, 2);
    EXPECT_EQ(empty.s(1, 39), 39.0f / 8.0f);
    EXPECT_EQ(empty.s(1, 45), 45.0f / 8.0f);
    for (int i = 1; i <= 2; ++i) {
        for (int s = 33; s <= 44; ++s) EXPECT_EQ(ku.s(i, s), wind_filled(s)) << "ku slot " << s;
        for (int s = 60; s <= 95; ++s) EXPECT_EQ(ku.s(i, s), wind_filled(s)) << "ku slot " << s;
        expect_totals(ku, i, "ku");
    }
    for (const RunView& wakes_off : {st.w.run(1, 1), st.n.run(1, 1), st.nu.run()})
        for (int s = 1; s <= hydrosum::short_slots; ++s)
            EXPECT_EQ(wakes_off.s(1, s), s == 3 ? 90.0f : static_cast<float>(s)) << "slot " << s;
}

}  // namespace
}  // namespace hydrosum_test
