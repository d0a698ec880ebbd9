// Velocity-prediction tables rvpp.plot and kvpp.plot: for every heel and
// speed of run r03, the plot columns across the runs tested at that speed,
// interpolated to the side force that vpp.data asks for at that heel.
#include "hydrosum/tables/frame.hpp"
#include "hydrosum/tables/plot.hpp"
#include "hydrosum/tables/tables.hpp"

#include "lib/arcs.hpp"
#include "lib/interp.hpp"
#include "textio/platform.hpp"
#include "textio/statement.hpp"

#include <array>
#include <cmath>
#include <cstddef>
#include <string_view>
#include <vector>

namespace hydrosum {

namespace {

using namespace frame;

constexpr int data_unit = 1;
constexpr std::string_view data_file = "vpp.data";
constexpr int data_header_lines = 2;
// Interpolating needs a segment.
constexpr std::size_t min_pairs = 2;
constexpr std::size_t min_points = 2;

constexpr int reference_run = 4;   // r03: its heels and speeds make the rows
// Speeds of one test-matrix point agree to rounding only.
constexpr float same_speed = 1.0e-6f;
// Standard gravity: side forces in kgf.
constexpr float gravity = 9.80665f;
constexpr float mm_per_m = 1000.0f;
// The largest gather: every case but the first of every run but the first.
constexpr std::size_t max_points = static_cast<std::size_t>(nruns - 1) * (ncases - 1);

constexpr int vpp_preamble_lines = 9;   // the plot preamble and one empty line
constexpr Pieces vpp_units = {
    "  kts  deg  deg  deg  deg", "       m^2       m^2       kgf         m         m",
    "        mm       deg         m       m^2       m^2", "       m^2       m^2       m^2       m^2       m^2",
    "       m^2       m^2     kgf^2"};
// The side force with one decimal, the sinkage in mm with two, the squared
// side force in whole kgf^2.
constexpr std::string_view row_format = "(f5.2,4f5.1,2f10.5,f10.1,2f10.5,f10.2,11f10.5,f10.0,2f10.5)";

// Interpolated against the side force, in the order of the row.
enum Side : std::size_t { yaw_angle, rudder_angle, tab_angle, vertical_centre, longitudinal_centre, side_columns };
constexpr std::array<int, side_columns> side_slots = {yaw, 5, 4, v_clr, l_clr};
// Interpolated against the side force squared.
enum Square : std::size_t {
    ad_inv,
    ad_tot,
    sink,
    trim,
    l_hull,
    s_hull,
    s_total,
    adv_tot,
    adv_hll,
    adv_app,
    adv_fin,
    adv_blb,
    adv_wng,
    adv_rud,
    square_columns
};

// Required side force by heel, in file order.
struct Pairs {
    std::vector<float> heel;
    std::vector<float> side_force;
    std::size_t size() const { return heel.size(); }
};

// vpp.data: none when it does not open; two lines discarded, then pairs to
// the end of the file (a pair cut off there is dropped).
Pairs read_pairs() {
    Pairs pairs;
    if (!textio::open(data_unit, data_file, textio::Access::existing)) return pairs;
    for (int l = 0; l < data_header_lines; ++l) {
        const textio::Result r = textio::skip_record(data_unit);
        if (!r) end_run_keeping_table(r);
    }
    for (;;) {
        float heel = 0.0f;
        float force = 0.0f;
        const textio::Result r = textio::read_list(data_unit, heel, force);
        if (r.status == textio::Status::end) break;
        if (!r) end_run_keeping_table(r);
        pairs.heel.push_back(heel);
        pairs.side_force.push_back(force);
    }
    textio::close(data_unit);
    return pairs;
}

// The cases of one heel and speed, in run order and case order.
struct Points {
    std::vector<float> side;
    std::vector<float> square;
    std::array<std::vector<float>, side_columns> by_side;
    std::array<std::vector<float>, square_columns> by_square;

    Points() {
        side.reserve(max_points);
        square.reserve(max_points);
        for (auto& c : by_side) c.reserve(max_points);
        for (auto& c : by_square) c.reserve(max_points);
    }
    std::size_t size() const { return side.size(); }
    void clear() {
        side.clear();
        square.clear();
        for (auto& c : by_side) c.clear();
        for (auto& c : by_square) c.clear();
    }
    void add(const Run& run, int i, float sf) {
        const auto s = [&](int slot) { return run.s(i, slot); };
        side.push_back(sf);
        square.push_back(sf * sf);
        for (std::size_t c = 0; c < side_columns; ++c) by_side[c].push_back(s(side_slots[c]));
        const std::array<float, square_columns> values = {
            s(inviscid), s(total), s(6) * mm_per_m, s(7), s(15), s(8), plot_wetted(run, i),
            s(viscous),  s(53),    s(54),           s(55), s(56), s(57), s(58)};
        for (std::size_t c = 0; c < square_columns; ++c) by_square[c].push_back(values[c]);
    }
};

void gather(Store& st, RunClass<full_slots>& cls, int k, float row_speed, Points& points) {
    points.clear();
    const float c2 = st.c(2);
    const float c4 = st.c(4);
    // case 1 of every run and the whole of run 1 stay out
    for (int j = 2; j <= runs(st); ++j) {
        const Run run = cls.run(j, k);
        if (run.n() < 2) continue;
        for (int i = 2; i <= run.n(); ++i) {
            const float v = run.s(i, speed);
            if (!(std::fabs(v - row_speed) < same_speed)) continue;
            const float w = v / c2;   // the full-scale speed
            points.add(run, i, (((0.5f * c4) * (w * w)) * run.s(i, side_force)) / gravity);
        }
    }
}

template <std::size_t N>
std::array<float, N> interpolate(const std::vector<float>& x, const std::array<std::vector<float>, N>& y,
                                 float at) {
    std::array<const float*, N> from;
    std::array<float, N> result{};
    std::array<float*, N> to;
    for (std::size_t c = 0; c < N; ++c) {
        from[c] = y[c].data();
        to[c] = &result[c];
    }
    geom::interp<static_cast<int>(N)>(x.data(), from, static_cast<int>(x.size()), &at, to, 1);
    return result;
}

void vpp_table(Store& st, RunClass<full_slots>& cls, std::string_view name, int stamp_from, Points& points) {
    open_output(name);
    PreviousTable previous(name);
    previous.skip(vpp_preamble_lines);
    table_preamble(stamp::at(st, stamp_from), plot_header, vpp_units);
    empty_line();
    for (int k = 1; k <= heels(st); ++k) {
        const Run ref = cls.run(reference_run, k);
        if (ref.n() < 2) continue;
        float h = ref.s(1, heel);
        Pairs pairs = read_pairs();
        // vpp.data gone or emptied since the table began: it ends here
        if (pairs.size() < min_pairs) break;
        float t = 0.0f;
        geom::intrp1(pairs.heel.data(), pairs.side_force.data(), static_cast<int>(pairs.size()), &h, &t, 1);
        const float t2 = t * t;
        for (int m = 2; m <= ref.n(); ++m) {
            const float row_speed = ref.s(m, speed);
            gather(st, cls, k, row_speed, points);
            if (points.size() < min_points) continue;
            const std::array<float, side_columns> a = interpolate(points.side, points.by_side, t);
            const std::array<float, square_columns> q = interpolate(points.square, points.by_square, t2);
            const Ratios ratios = previous.compare(row_speed, ref.s(m, heel), q[ad_inv], q[ad_tot]);
            textio::write(output_unit, row_format, row_speed, ref.s(m, heel), a[yaw_angle], a[rudder_angle],
                          a[tab_angle], q[ad_inv], q[ad_tot], t, a[vertical_centre], a[longitudinal_centre], q[sink],
                          q[trim], q[l_hull], q[s_hull], q[s_total], q[adv_tot], q[adv_hll], q[adv_app], q[adv_fin],
                          q[adv_blb], q[adv_wng], q[adv_rud], t2, ratios.inviscid, ratios.total);
        }
    }
    textio::close(output_unit);
    previous.close();
}

}  // namespace

void tabvpp(Store& st) {
    // the upright set has no table here: its stamp keeps the plot tables' date
    const bool upright = st.ku.flag;
    st.ku.flag = false;
    build_stamps(st, textio::local_date());
    st.ku.flag = upright;

    Points points;
    if (read_pairs().size() >= min_pairs && st.r_any) vpp_table(st, st.r, "rvpp.plot", stamp::r, points);
    if (read_pairs().size() >= min_pairs && st.k_any) vpp_table(st, st.k, "kvpp.plot", stamp::k, points);
}

}  // namespace hydrosum
