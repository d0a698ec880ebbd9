// The hydrostatics steps and the viscous and induced drag of a hydrosum run.
#include "hydrosum/input/parts.hpp"
#include "hydrosum/input/steps.hpp"

#include "hydrosum/tables/frame.hpp"
#include "hydrosum/tables/tables.hpp"
#include "lib/strings.hpp"
#include "textio/textio.hpp"

#include <array>
#include <cmath>
#include <functional>
#include <string_view>

namespace hydrosum {

namespace {

using textio::stdin_unit;
using frame::hydrostatic;

constexpr float tiny = 1.0e-6f;          // a speed at or below this is at rest
constexpr float no_speed = 1100000.0f;   // the smallest case speed when nothing moves

// Each present run of the wakes-on and wakes-off classes, heels and runs
// descending and r, w, k, n at each; then ku and nu. f(run, reference,
// inviscid, line): reference is run 1 of the same class and heel (none for
// ku and nu), inviscid the first slot of the class's inviscid group, and
// line(text) writes the run's progress line.
template <class F>
void present_runs(Store& st, F f) {
    for (int h = frame::heels(st); h >= 1; --h)
        for (int j = frame::runs(st); j >= 1; --j) {
            auto each = [&](auto& cls, std::string_view name, int inviscid) {
                if (!cls.present(j, h)) return;
                const Run reference = cls.run(1, h);
                f(cls.run(j, h), &reference, inviscid,
                  [&](std::string_view text) { frame::progress(text, name, j, h); });
            };
            each(st.r, " r", frame::inviscid);
            each(st.w, " w", frame::inviscid_wakes_off);
            each(st.k, " k", frame::inviscid);
            each(st.n, " n", frame::inviscid_wakes_off);
        }
    auto upright = [&](auto& set, std::string_view name, int inviscid) {
        if (!set.flag) return;
        f(set.run(), nullptr, inviscid, [&](std::string_view text) { frame::progress(text, name); });
    };
    upright(st.ku, " ku", frame::inviscid);
    upright(st.nu, " nu", frame::inviscid_wakes_off);
}

bool has_rest(const Run& run) {
    for (int i = 1; i <= run.n(); ++i)
        if (run.s(i, frame::speed) < tiny) return true;
    return false;
}

// The hydrostatic group of run at speed 0 (zeros stay when the speeds are no numbers).
std::array<float, 6> at_rest(const Run& run) {
    std::array<float, 6> v{};
    constexpr float zero = 0.0f;
    const int g = hydrostatic;
    intrp6(run.slot(frame::speed), run.slot(g), run.slot(g + 1), run.slot(g + 2), run.slot(g + 3), run.slot(g + 4),
           run.slot(g + 5), run.n(), &zero, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], 1);
    return v;
}

void subtract_rest(const Run& run, const std::array<float, 6>& v) {
    for (int i = 1; i <= run.n(); ++i)
        for (int m = 0; m < 6; ++m) run.s(i, hydrostatic + m) = run.s(i, hydrostatic + m) - v[static_cast<std::size_t>(m)];
}

void add_hydrostatics(Store& st, const Run& run, int inviscid) {
    const float rho = st.c(4);
    for (int i = 1; i <= run.n(); ++i) {
        const float v = run.s(i, frame::speed);
        if (!(v > tiny)) continue;
        const float q = (0.5f * rho) * (v * v);
        if (q == 0.0f) continue;   // no dynamic pressure: as at rest
        for (int m = 0; m < 6; ++m) {
            const float area = run.s(i, hydrostatic + m) / q;
            run.s(i, hydrostatic + m) = area;
            run.s(i, inviscid + m) = run.s(i, inviscid + m) + area;
        }
    }
}

}  // namespace

void atrest(Store& st) {
    present_runs(st, [](const Run& run, const Run* reference, int, const auto& line) {
        std::string_view text = "   at-rest hydrostatics for";
        std::array<float, 6> v{};
        if (has_rest(run))
            v = at_rest(run);
        else if (reference && has_rest(*reference))
            v = at_rest(*reference);
        else
            text = "   no at-rest hydrostatics for";
        line(text);
        subtract_rest(run, v);
    });
}

void addstatic(Store& st) {
    present_runs(st, [&](const Run& run, const Run*, int inviscid, const auto& line) {
        line("   adding hydrostatics for");
        add_hydrostatics(st, run, inviscid);
    });
}

namespace {

// The component block: the network directory, then each part's friction
// option and network file, every line after a label line.
void read_component_block(Store& st) {
    textio::skip_record_required(stdin_unit);
    textio::read_required(stdin_unit, "(a)", st.vchr[0]);
    for (int p = 0; p < 5; ++p) {
        textio::skip_record_required(stdin_unit);
        textio::read_required(stdin_unit, "(i5,5x,a)", st.vint[static_cast<std::size_t>(p)],
                              st.vchr[static_cast<std::size_t>(p) + 2]);
    }
    // the frud lines may be missing at the end of the deck
    st.vint[5] = 0;
    std::array<char, 255>& frud = st.vchr[7];
    geom::blank(frud, static_cast<int>(frud.size()));
    frud[0] = 'n', frud[1] = 'o', frud[2] = 'n', frud[3] = 'e';
    textio::Result label = textio::skip_record(stdin_unit);
    if (label.status == textio::Status::end) return;
    if (!label) throw textio::failure_from(label);
    textio::Result line = textio::read(stdin_unit, "(i5,5x,a)", st.vint[5], frud);
    if (line.status == textio::Status::end) return;
    if (!line) throw textio::failure_from(line);
}

}  // namespace

void visit_cases(Store& st, const std::function<void(const Run&, int)>& f) {
    auto each = [&](const Run& run) {
        if (!run.present() || run.n() <= 0) return;
        for (int i = 1; i <= run.n(); ++i) f(run, i);
    };
    for (int h = 1; h <= frame::heels(st); ++h)
        for (int j = 1; j <= frame::runs(st); ++j) {
            each(st.r.run(j, h));
            each(st.k.run(j, h));
        }
    each(st.ku.run());
}

void addbl(Store& st) {
    read_component_block(st);
    const int mode = st.ci(4);

    // smallest case speed of r, k and ku (a minimum, whatever the order of the visits)
    st.c(18) = no_speed;
    visit_cases(st, [&](const Run& run, int i) {
        const float v = run.s(i, frame::speed);
        if (v < st.c(18) && v > tiny) st.c(18) = v;
    });

    // induced drag from the side force
    const float pi = std::acos(-1.0f);
    visit_cases(st, [&](const Run& run, int i) {
        const float phi = pi * run.s(i, 2) / 180.0f;
        const float span = st.c(27) * std::cos(phi) + st.c(28) * std::sin(phi);
        const float sf = run.s(i, 41);
        float d = 0.0f;
        if (span != 0.0f) d = sf * sf / (span * span * 2.0f * pi) * (1.0f - st.c(29)) / st.c(29);
        if (mode > 0) {
            run.s(i, 54) = d;
            run.s(i, 33) = d;
            for (int s = 34; s <= 38; ++s) run.s(i, s) = 0.0f;
        } else {
            run.s(i, 33) = run.s(i, 33) + d;
        }
    });

    if (mode > 0) {
        // each returns at once when its part's friction option is 0
        vhull(st);
        vkeel(st);
        vbulb(st);
        vwing(st);
        vrudr(st);
        vfrud(st);
    }

    visit_cases(st, [&](const Run& run, int i) {
        if (mode > 0) {
            run.s(i, 54) = run.s(i, 55) + run.s(i, 54) + run.s(i, 56) + run.s(i, 57) + run.s(i, 58) + run.s(i, 59);
            run.s(i, 33) = run.s(i, 33) + run.s(i, 53) + run.s(i, 55) + run.s(i, 56) + run.s(i, 57) + run.s(i, 58) +
                           run.s(i, 59);
        } else {
            // the solver's own breakdown: hull, keel, bulb, wing, rudder, frud, appendages
            run.s(i, 53) = run.s(i, 60);
            run.s(i, 55) = run.s(i, 66);
            run.s(i, 56) = run.s(i, 72);
            run.s(i, 57) = run.s(i, 78);
            run.s(i, 58) = run.s(i, 84);
            run.s(i, 59) = run.s(i, 90);
            run.s(i, 54) = run.s(i, 96);
        }
        for (int m = 0; m < 6; ++m) run.s(i, 45 + m) = run.s(i, 33 + m) + run.s(i, 39 + m);
    });
}

}  // namespace hydrosum
