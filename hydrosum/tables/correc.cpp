// The correction chain over the whole store: zero-speed leakage, surfing
// rudder, upright transfer, upright anchor, wind axes and totals.
#include "hydrosum/tables/corrections.hpp"
#include "hydrosum/tables/frame.hpp"
#include "hydrosum/tables/tables.hpp"

#include <array>
#include <cmath>
#include <initializer_list>
#include <string_view>

namespace hydrosum {

namespace {

using namespace frame;

// ------------------------------------------------------------ leakage

constexpr std::string_view no_leakage = "   no leakage for";

// A candidate source: a run, the first slot of its inviscid group, and the
// wording that names it.
struct Source {
    Run run;
    int group;
    std::string_view wording;
};

// What a pair of classes loses: drag and side force at speed 0.
struct Leak {
    float drag = 0.0f;
    float side = 0.0f;
    std::string_view wording = no_leakage;
};

// The first source that opened and holds cases: the zero-speed value reads
// its first and last case, so an empty file hands on to the next one.
Leak leakage_of(std::initializer_list<Source> candidates) {
    for (const Source& c : candidates) {
        const Run& r = c.run;
        if (!r.present() || r.n() <= 0) continue;
        constexpr float at_rest = 0.0f;
        // zeroed first: a NaN end speed writes nothing
        std::array<float, group_size> v{};
        const int g = c.group;
        intrp6(r.slot(speed), r.slot(g), r.slot(g + 1), r.slot(g + 2), r.slot(g + 3), r.slot(g + 4),
               r.slot(g + 5), r.n(), &at_rest, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], 1);
        return {v[0], v[2], c.wording};
    }
    return {};
}

void subtract(const Run& run, int group, const Leak& leak) {
    for (int i = 1; i <= run.n(); ++i) {
        run.s(i, group) -= leak.drag;
        run.s(i, group + 2) -= leak.side;
    }
}

// A run of a pair and its class as its progress line names it.
struct Member {
    Run run;
    std::string_view cls;
};

// The wakes-on and the wakes-off run of a pair lose the same leakage, that
// of the first usable source; line(wording, cls) writes a progress line.
template <class Line>
void leak_pair(const Member& on, const Member& off, Line line, std::initializer_list<Source> sources) {
    if (!on.run.present() && !off.run.present()) return;
    const Leak leak = leakage_of(sources);
    if (on.run.present()) {
        line(leak.wording, on.cls);
        subtract(on.run, inviscid, leak);
    }
    if (off.run.present()) {
        line(leak.wording, off.cls);
        subtract(off.run, inviscid_wakes_off, leak);
    }
}

// Descending, so that every source is read before it is corrected itself.
void leakage(Store& st) {
    for (int h = heels(st); h >= 1; --h) {
        for (int j = runs(st); j >= 1; --j) {
            const auto line = [j, h](std::string_view wording, std::string_view cls) { progress(wording, cls, j, h); };
            leak_pair({st.r.run(j, h), " r"}, {st.w.run(j, h), " w"}, line,
                      {
                          {st.w.run(j, h), inviscid_wakes_off, "   heeled and yawed rudder-on wakes-off leakage for"},
                          {st.w.run(1, h), inviscid_wakes_off, "   heeled rudder-on wakes-off leakage for"},
                          {st.w.run(1, 1), inviscid_wakes_off, "   upright rudder-on wakes-off leakage for"},
                          {st.r.run(1, h), inviscid, "   heeled rudder-on wakes-on leakage for"},
                          {st.r.run(1, 1), inviscid, "   upright rudder-on wakes-on leakage for"},
                      });
            // the rudder-off list has no entry for the heel's own k reference run
            leak_pair({st.k.run(j, h), " k"}, {st.n.run(j, h), " n"}, line,
                      {
                          {st.n.run(j, h), inviscid_wakes_off, "   heeled and yawed rudder-off wakes-off leakage for"},
                          {st.n.run(1, h), inviscid_wakes_off, "   heeled rudder-off wakes-off leakage for"},
                          {st.n.run(1, 1), inviscid_wakes_off, "   upright rudder-off wakes-off leakage for"},
                          {st.k.run(1, 1), inviscid, "   upright rudder-off wakes-on leakage for"},
                      });
        }
    }
    const auto upright_line = [](std::string_view wording, std::string_view set) { progress(wording, set); };
    leak_pair({st.ku.run(), " ku"}, {st.nu.run(), " nu"}, upright_line,
              {
                  {st.nu.run(), inviscid_wakes_off, "   upright rudder-off wakes-off leakage for"},
                  {st.ku.run(), inviscid, "   upright rudder-off wakes-on leakage for"},
              });
}

// ---------------------------------------------------------- wind axes

struct Turn {
    float c;
    float s;
};

Turn turn_of(const Run& run, int i, float pi) {
    const float a = (pi * run.s(i, yaw)) / 180.0f;
    return {std::cos(a), std::sin(a)};
}

// Drag and side force of the group at `drag`, both new values from the old ones.
void rotate(const Run& run, int i, int drag, Turn t) {
    float& d = run.s(i, drag);
    float& s = run.s(i, drag + 2);
    const float d_old = d;
    const float s_old = s;
    d = d_old * t.c + s_old * t.s;
    s = s_old * t.c - d_old * t.s;
}

// Total force group and appendage sum (the hull group is not an appendage).
void totals(const Run& run, int i) {
    for (int m = 0; m < group_size; ++m) {
        run.s(i, total + m) = run.s(i, viscous + m) + run.s(i, inviscid + m);
        run.s(i, appendage_sum + m) = run.s(i, breakdown[1] + m) + run.s(i, breakdown[2] + m) +
                                      run.s(i, breakdown[3] + m) + run.s(i, breakdown[4] + m) +
                                      run.s(i, breakdown[5] + m);
    }
}

void inviscid_to_wind(const Run& run, std::string_view cls, int j, int h, float pi) {
    if (!run.present()) return;
    progress("   wind axes for", cls, j, h);
    for (int i = 1; i <= run.n(); ++i) rotate(run, i, inviscid, turn_of(run, i, pi));
}

// The inviscid group is already in wind axes when the totals are formed.
void rest_to_wind(const Run& run, float pi) {
    if (!run.present() || run.n() <= 0) return;
    for (int i = 1; i <= run.n(); ++i) {
        const Turn t = turn_of(run, i, pi);
        rotate(run, i, viscous, t);
        for (int g : breakdown) rotate(run, i, g, t);
        totals(run, i);
    }
}

void wind_axes(Store& st) {
    const float pi = std::acos(-1.0f);
    for (int h = 1; h <= heels(st); ++h)
        for (int j = 1; j <= runs(st); ++j) {
            inviscid_to_wind(st.r.run(j, h), " r", j, h, pi);
            inviscid_to_wind(st.k.run(j, h), " k", j, h, pi);
        }
    for (int h = 1; h <= heels(st); ++h)
        for (int j = 1; j <= runs(st); ++j) {
            rest_to_wind(st.r.run(j, h), pi);
            rest_to_wind(st.k.run(j, h), pi);
        }
    // the upright set is not rotated: only its totals are formed
    const Run ku = st.ku.run();
    if (ku.present())
        for (int i = 1; i <= ku.n(); ++i) totals(ku, i);
}

}  // namespace

void correc(Store& st) {
    if (st.ci(5) != 0) leakage(st);
    if (st.ci(7) != 0) surfing_rudder(st);
    const bool upright_pair = st.r.present(1, 1) && st.ku.flag;
    if (st.ci(4) < 0 && upright_pair) upright_group_transfer(st);
    if (upright_pair) upright_area_transfer(st);
    upright_anchor(st);
    wind_axes(st);
}

}  // namespace hydrosum
