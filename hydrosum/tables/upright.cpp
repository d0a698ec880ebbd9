// Surfing-rudder correction, upright component transfer and upright anchor:
// the steps of the correction chain between the leakage and the wind axes.
#include "hydrosum/tables/corrections.hpp"
#include "hydrosum/tables/frame.hpp"
#include "hydrosum/tables/tables.hpp"

#include "lib/arcs.hpp"
#include "textio/statement.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <span>
#include <string_view>
#include <type_traits>

namespace hydrosum {

namespace {

using namespace frame;

constexpr int rudder_group = breakdown[4];
constexpr int frud_group = breakdown[5];

// One work list per interpolated slot, as long as a run's case capacity.
using List = std::array<float, ncases>;
template <std::size_t N>
using Lists = std::array<List, N>;

// The friction line cf = 0.455 / (log10 Re)^2.58 and its inverse exponent
// (1/2.58 as a single-precision literal).
constexpr float friction_factor = 0.455f;
constexpr float friction_exponent = 2.58f;
constexpr float friction_inverse = 0.3875969f;

// A scaled slot needs a reference value above this to be divided by.
constexpr float scale_floor = 1.0e-6f;

static_assert(std::is_same_v<decltype(std::pow(1.0f, 1.0f)), float>, "single-precision power");

// A present run whose file held no case line is never a source or a
// reference: every interpolation reads its first and last case.
bool has_cases(const Run& r) { return r.present() && r.n() > 0; }

// The interpolation writes nothing when an end speed of its table is not a
// number; its zeroed outputs would then shift a run by the other table alone.
bool speeds_usable(const Run& table) {
    return !std::isnan(table.s(1, speed)) && !std::isnan(table.s(table.n(), speed));
}

std::array<int, group_size> group_slots(int first) {
    std::array<int, group_size> s{};
    for (int m = 0; m < group_size; ++m) s[static_cast<std::size_t>(m)] = first + m;
    return s;
}

// The slots of `from` over its own speeds, at the case speeds of `at`, into
// out (one 1-based pointer per slot); each size by its own routine.
template <std::size_t N>
void slots_at_speeds(const Run& from, const std::array<int, N>& slots, const Run& at,
                     const std::array<float*, N>& out) {
    float* x = from.slot(speed);
    float* xi = at.slot(speed);
    auto y = [&](std::size_t k) { return from.slot(slots[k]); };
    if constexpr (N == 1) {
        geom::intrp1(x, y(0), from.n(), xi, out[0], at.n());
    } else if constexpr (N == 3) {
        geom::intrp3(x, y(0), y(1), y(2), from.n(), xi, out[0], out[1], out[2], at.n());
    } else if constexpr (N == 4) {
        intrp4(x, y(0), y(1), y(2), y(3), from.n(), xi, out[0], out[1], out[2], out[3], at.n());
    } else {
        static_assert(N == 6, "groups of 1, 3, 4 or 6 slots");
        intrp6(x, y(0), y(1), y(2), y(3), y(4), y(5), from.n(), xi, out[0], out[1], out[2], out[3], out[4],
               out[5], at.n());
    }
}

// Into zeroed work lists: where an interpolation writes nothing (a NaN end
// speed) the lists stay 0.
template <std::size_t N>
Lists<N> lists_at_speeds(const Run& from, const std::array<int, N>& slots, const Run& at) {
    Lists<N> v{};
    std::array<float*, N> out{};
    for (std::size_t k = 0; k < N; ++k) out[k] = v[k].data();
    slots_at_speeds(from, slots, at, out);
    return v;
}

// Into the slots of `to` itself, zeroed first for the same reason.
template <std::size_t N>
void slots_into(const Run& from, const std::array<int, N>& slots, const Run& to) {
    std::array<float*, N> out{};
    for (std::size_t k = 0; k < N; ++k) {
        for (int i = 1; i <= to.n(); ++i) to.s(i, slots[k]) = 0.0f;
        out[k] = to.slot(slots[k]);
    }
    slots_at_speeds(from, slots, to, out);
}

// ------------------------------------------------------ surfing rudder

struct WakesOffPair {
    Run w;
    Run n;
    std::string_view wording;
};

}  // namespace

void surfing_rudder(Store& st) {
    for (int h = heels(st); h >= 1; --h) {
        for (int j = runs(st); j >= 1; --j) {
            const Run r = st.r.run(j, h);
            if (!r.present()) continue;
            const std::array<WakesOffPair, 3> positions = {{
                {st.w.run(j, h), st.n.run(j, h), "   heeled and yawed surfing rudder for"},
                {st.w.run(1, h), st.n.run(1, h), "   heeled surfing rudder for"},
                {st.w.run(1, 1), st.n.run(1, 1), "   upright surfing rudder for"},
            }};
            std::string_view wording = "   no surfing rudder for";
            // without a pair both drags stay 0 and slot 39 keeps its value
            Lists<group_size> on{};
            Lists<group_size> off{};
            const std::array<int, group_size> group = group_slots(inviscid_wakes_off);
            for (const WakesOffPair& p : positions) {
                // a position counts only with both runs there
                if (!has_cases(p.w) || !has_cases(p.n)) continue;
                if (speeds_usable(p.w) && speeds_usable(p.n)) {
                    on = lists_at_speeds(p.w, group, r);
                    off = lists_at_speeds(p.n, group, r);
                }
                wording = p.wording;
                break;
            }
            progress(wording, " r", j, h);
            for (int i = 1; i <= r.n(); ++i) {
                const std::size_t c = static_cast<std::size_t>(i - 1);
                r.s(i, inviscid) += off[0][c] - on[0][c];
            }
        }
    }
}

// ------------------------------------------------- upright transfer

namespace {

// A group carried beyond the speed range of r(1,1), and the wetted-area
// slots whose sum at the end case is its area (added in this order).
struct Carried {
    int group;
    std::span<const int> area;
};

void clear_group(const Run& run, int i, int g) {
    for (int m = 0; m < group_size; ++m) run.s(i, g + m) = 0.0f;
}

// Group g of ku case i from end case e of r(1,1) along the friction line,
// the Reynolds number carried in proportion to speed; the other members keep
// their ratio to the drag.
void carry_on_friction_line(const Run& ref, int e, const Run& ku, int i, int g, float area) {
    const float de = ref.s(e, g);
    if (de <= 0.0f) {
        clear_group(ku, i, g);
        return;
    }
    const float ce = de / area;
    const float le = std::pow(friction_factor / ce, friction_inverse);
    const float re_e = std::pow(10.0f, le);
    const float re = (re_e * ku.s(i, speed)) / ref.s(e, speed);
    // log10 Re <= 0: the friction line gives no finite positive drag
    if (re <= 1.0f) {
        clear_group(ku, i, g);
        return;
    }
    const float c = friction_factor / std::pow(std::log10(re), friction_exponent);
    const float drag = c * area;
    ku.s(i, g) = drag;
    for (int m = 1; m < group_size; ++m) ku.s(i, g + m) = (ref.s(e, g + m) * drag) / de;
}

void warn_outside(float v, std::string_view side, float end) {
    textio::write(textio::stdout_unit, "(a,f10.5,a,f10.5)", "** WARNING ** upright speed ", v, side, end);
}

// Every ku speed above the top of r(1,1) is warned and carried first, then
// every one below the bottom; an end speed that is not positive leaves the
// interpolated values.
void carry_beyond_range(const Run& ref, const Run& ku, std::span<const Carried> groups) {
    const int nr = ref.n();
    const float top = ref.s(nr, speed);
    for (int i = 1; i <= ku.n(); ++i) {
        if (!(ku.s(i, speed) > top)) continue;
        warn_outside(ku.s(i, speed), " > max heeled/yawed speed", top);
        if (top > 0.0f)
            for (const Carried& c : groups) carry_on_friction_line(ref, nr, ku, i, c.group, slot_sum(ref, nr, c.area));
    }
    if (nr < 2) return;
    // the range starts at case 2 of r(1,1), and ku's case 1 is never tested against it
    constexpr int low_end = 2;
    const float bottom = ref.s(low_end, speed);
    for (int i = 2; i <= ku.n(); ++i) {
        if (!(ku.s(i, speed) < bottom)) continue;
        warn_outside(ku.s(i, speed), " < min heeled/yawed speed", bottom);
        if (bottom > 0.0f)
            for (const Carried& c : groups)
                carry_on_friction_line(ref, low_end, ku, i, c.group, slot_sum(ref, low_end, c.area));
    }
}

// Rudder and frud groups of r(1,1) become ku's, and join its viscous group.
void breakdown_transfer(const Run& ref, const Run& ku) {
    slots_into(ref, group_slots(rudder_group), ku);
    slots_into(ref, group_slots(frud_group), ku);
    static constexpr std::array<int, 1> rudder = {rudder_area};
    static constexpr std::array<int, 1> frud = {frud_area};
    const std::array<Carried, 2> carried = {{{rudder_group, rudder}, {frud_group, frud}}};
    carry_beyond_range(ref, ku, carried);
    for (int i = 1; i <= ku.n(); ++i)
        for (int m = 0; m < group_size; ++m)
            ku.s(i, viscous + m) = (ku.s(i, viscous + m) + ku.s(i, rudder_group + m)) + ku.s(i, frud_group + m);
}

// Without a usable breakdown the whole viscous group of r(1,1) replaces ku's;
// its area is every wetted area but the fourth part's.
void viscous_group_transfer(const Run& ref, const Run& ku) {
    slots_into(ref, group_slots(viscous), ku);
    static constexpr std::array<int, 6> wetted = {keel_area, hull_area, bulb_area, wing_area, rudder_area, frud_area};
    const std::array<Carried, 1> carried = {{{viscous, wetted}}};
    carry_beyond_range(ref, ku, carried);
}

}  // namespace

void upright_group_transfer(Store& st) {
    const Run ref = st.r.run(1, 1);
    const Run ku = st.ku.run();
    if (!has_cases(ref) || !ku.present()) return;
    if (st.ivcmps[0] != 0)
        breakdown_transfer(ref, ku);
    else
        viscous_group_transfer(ref, ku);
}

void upright_area_transfer(Store& st) {
    const Run ref = st.r.run(1, 1);
    const Run ku = st.ku.run();
    if (!has_cases(ref) || !ku.present()) return;
    const int nr = ref.n();
    const float top = ref.s(nr, speed);
    for (int a : {rudder_area, frud_area}) {
        slots_into(ref, std::array<int, 1>{a}, ku);
        // above the range the top case's area holds; below, the extension stays
        for (int i = 1; i <= ku.n(); ++i)
            if (ku.s(i, speed) > top) ku.s(i, a) = ref.s(nr, a);
    }
}

// -------------------------------------------------------- upright anchor

namespace {

enum class Treat { shifted, scaled };

// One group of slots of `run` moved by B - A or scaled by B / A, with A the
// reference run's and B ku's values at the run's speeds. Both lists are
// complete before any slot is rewritten, since the reference run is at last
// anchored against itself.
template <std::size_t N>
void anchor_group(const Run& run, const Run& ref, const Run& ku, const std::array<int, N>& slots,
                  const std::array<Treat, N>& treat) {
    const Lists<N> a = lists_at_speeds(ref, slots, run);
    const Lists<N> b = lists_at_speeds(ku, slots, run);
    for (int i = 1; i <= run.n(); ++i) {
        const std::size_t c = static_cast<std::size_t>(i - 1);
        for (std::size_t k = 0; k < N; ++k) {
            float& x = run.s(i, slots[k]);
            const float ai = a[k][c];
            const float bi = b[k][c];
            if (treat[k] == Treat::shifted)
                x = (bi - ai) + x;
            else if (ai > scale_floor)   // also false for a NaN reference
                x = (x * bi) / ai;
        }
    }
}

template <std::size_t N>
std::array<Treat, N> all(Treat t) {
    std::array<Treat, N> a{};
    a.fill(t);
    return a;
}

void anchor_group6(const Run& run, const Run& ref, const Run& ku, int first) {
    anchor_group(run, ref, ku, group_slots(first), all<group_size>(Treat::shifted));
}

// One run of one class against its class's upright reference run and ku.
// `with_breakdown`: the viscous mode uses the breakdown and it is usable for
// the class and for ku; `with_rudder`: the class carries rudder and frud.
void anchor_run(const Run& run, const Run& ref, const Run& ku, std::string_view cls, int j, int h,
                bool with_breakdown, bool with_rudder) {
    if (!run.present() || !has_cases(ref)) return;
    progress("   upright anchor for", cls, j, h);
    if (!speeds_usable(ref) || !speeds_usable(ku)) return;
    anchor_group6(run, ref, ku, inviscid);
    anchor_group(run, ref, ku, std::array<int, 1>{hull_area}, all<1>(Treat::scaled));
    anchor_group(run, ref, ku, std::array<int, 3>{hull_length, sink, trim},
                 std::array<Treat, 3>{Treat::scaled, Treat::shifted, Treat::shifted});
    anchor_group(run, ref, ku, std::array<int, 4>{keel_area, bulb_area, fourth_area, wing_area},
                 all<4>(Treat::scaled));
    if (!with_breakdown) return;
    for (std::size_t g = 0; g < 4; ++g) anchor_group6(run, ref, ku, breakdown[g]);   // hull, keel, bulb, wing
    if (with_rudder) {
        anchor_group6(run, ref, ku, rudder_group);
        anchor_group6(run, ref, ku, frud_group);
    }
    anchor_group6(run, ref, ku, viscous);
}

}  // namespace

// Descending, so that each class's upright reference run is anchored last and
// every other run against its values before the step.
void upright_anchor(Store& st) {
    const Run ku = st.ku.run();
    if (!has_cases(ku)) return;
    const bool mode = st.ci(4) < 0 && st.ivcmps[2] != 0;
    const bool r_breakdown = mode && st.ivcmps[0] != 0;
    const bool k_breakdown = mode && st.ivcmps[1] != 0;
    const Run r_ref = st.r.run(1, 1);
    const Run k_ref = st.k.run(1, 1);
    for (int h = heels(st); h >= 1; --h) {
        for (int j = runs(st); j >= 1; --j) {
            anchor_run(st.r.run(j, h), r_ref, ku, " r", j, h, r_breakdown, true);
            anchor_run(st.k.run(j, h), k_ref, ku, " k", j, h, k_breakdown, false);
        }
    }
}

}  // namespace hydrosum
