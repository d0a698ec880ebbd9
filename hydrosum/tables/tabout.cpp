// Header stamps and the result tables ku.tab, r.tab and k.tab; on the way
// the store is converted to output units, once, for every case written.
#include "hydrosum/tables/frame.hpp"
#include "hydrosum/tables/polars.hpp"
#include "hydrosum/tables/tables.hpp"

#include "textio/statement.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace hydrosum {

namespace {

using namespace frame;

constexpr int title_capacity = 80;

constexpr std::array<std::string_view, 12> month_names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

void put(std::span<char> line, int column, std::string_view text) {
    std::copy(text.begin(), text.end(), line.begin() + (column - 1));
}

// i2 into two columns: a blank before a single digit
void put_i2(std::span<char> line, int column, int value) {
    textio::Out o(line.subspan(static_cast<std::size_t>(column - 1), 2), textio::fmt("(i2)"));
    o(static_cast<std::int32_t>(value));
    o.end();
}

void build_stamp(Store& st, std::span<char> stamp) {
    std::fill(stamp.begin(), stamp.end(), ' ');
    put(stamp, 1, "MAREVO");
    const int len = std::clamp(st.ci(8), 0, title_capacity);
    put(stamp, 8, std::string_view(st.comchr.data(), static_cast<std::size_t>(len)));
    put(stamp, 104, "DLW/VNQ");
    put_i2(stamp, 112, st.ci(9));
    const int month = st.ci(10);
    if (month >= 1 && month <= 12) put(stamp, 115, month_names[static_cast<std::size_t>(month - 1)]);
    put_i2(stamp, 119, st.ci(11));
}

// ------------------------------------------------------------- tables

constexpr Pieces header_pieces = {
    "  VEL HEEL  YAW  RUD  TAB", "  DRAG-INV  DRAG-TOT  VERT-FOR  SIDE-FOR", "  ROLL-MOM   YAW-MOM PITCH-MOM",
    "      SINK      TRIM", "    L-HULL    S-HULL   S-TOTAL"};
constexpr Pieces unit_pieces = {
    "  kts  deg  deg  deg  deg", "       m^2       m^2       m^2       m^2", "       m^3       m^3       m^3",
    "         m       deg", "         m       m^2       m^2"};

// Fields 6-12 by variant; the angles, lengths and areas around them are fixed.
constexpr std::string_view coefficient_row = "(f5.2,4f5.1,2f10.6,2f10.5,3f10.6,5f10.5)";
constexpr std::string_view area_row = "(f5.2,4f5.1,2f10.5,5f10.4,5f10.5)";
constexpr std::string_view force_row = "(f5.2,4f5.1,7f10.1,5f10.5)";

std::string_view row_format(Store& st) {
    if (!unit_area(st.c(23))) return coefficient_row;
    if (std::fabs(st.c(26) - 1.0f) >= 1.0e-6f) return area_row;
    return force_row;
}

void open_table(std::string_view name, std::span<const char> stamp) {
    open_output(name);
    table_preamble(stamp, header_pieces, unit_pieces);
}

// Centres of lateral resistance from the lateral force normal to the
// centre plane; a moment arm of 100 or more is no centre.
void lateral_centres(const Run& run, int i, float pi) {
    const float psi = (run.s(i, yaw) * pi) / 180.0f;
    const float f = std::sin(psi) * run.s(i, total) + std::cos(psi) * run.s(i, total + 2);
    const auto centre = [f](float moment) {
        return (std::fabs(f) > 1.0e-6f && 99.99999f * std::fabs(f) > std::fabs(moment)) ? moment / f : 0.0f;
    };
    run.s(i, v_clr) = centre(run.s(i, total + 3));
    run.s(i, l_clr) = centre(run.s(i, total + 4));
}

constexpr std::array<int, 14> area_slots = {33, 39, 40, 41, 45, 46, 47, 53, 54, 55, 56, 57, 58, 59};
constexpr std::array<int, 2> roll_slots = {42, 48};
constexpr std::array<int, 4> yaw_pitch_slots = {43, 44, 49, 50};

void to_output_units(Store& st, const Run& run, int i) {
    const float c2 = st.c(2);
    const float c23 = st.c(23);
    run.s(i, speed) = run.s(i, speed) * c2;
    for (int s : area_slots) run.s(i, s) = run.s(i, s) / c23;
    const float roll_ref = c23 * st.c(25);
    for (int s : roll_slots) run.s(i, s) = run.s(i, s) / roll_ref;
    const float yaw_pitch_ref = c23 * st.c(24);
    for (int s : yaw_pitch_slots) run.s(i, s) = run.s(i, s) / yaw_pitch_ref;
    if (st.c(26) != 0.0f) {
        // dynamic pressure at the full-scale speed
        const float v = run.s(i, speed) / c2;
        const float q = (0.5f * st.c(4)) * (v * v);
        for (int s : area_slots) run.s(i, s) = run.s(i, s) * q;
        for (int s : roll_slots) run.s(i, s) = run.s(i, s) * q;
        for (int s : yaw_pitch_slots) run.s(i, s) = run.s(i, s) * q;
    }
}

// S-TOTAL in this order; the fourth area is not part of it.
constexpr std::array<int, 6> wetted_slots = {hull_area, keel_area, bulb_area, wing_area, rudder_area, frud_area};

void write_row(const Run& run, int i, std::string_view format) {
    const auto s = [&](int slot) { return run.s(i, slot); };
    textio::write(output_unit, format, s(1), s(2), s(3), s(5), s(4), s(39), s(45), s(46), s(47), s(48), s(49),
                  s(50), s(6), s(7), s(15), s(8), slot_sum(run, i, wetted_slots));
}

void upright_table(Store& st, std::string_view format) {
    open_table("ku.tab", stamp::at(st, stamp::ku));
    empty_line();
    const Run ku = st.ku.run();
    for (int i = 1; i <= ku.n(); ++i) {
        ku.s(i, v_clr) = 0.0f;
        ku.s(i, l_clr) = 0.0f;
        to_output_units(st, ku, i);
        write_row(ku, i, format);
    }
    textio::close(output_unit);
}

void class_table(Store& st, RunClass<full_slots>& cls, std::string_view name, int stamp_from,
                 std::string_view format) {
    open_table(name, stamp::at(st, stamp_from));
    const float pi = std::acos(-1.0f);
    table_runs(st, cls, empty_line, [&](const Run& run) {
        for (int i = 1; i <= run.n(); ++i) {
            lateral_centres(run, i, pi);
            to_output_units(st, run, i);
            write_row(run, i, format);
        }
    });
    textio::close(output_unit);
}

}  // namespace

void build_stamps(Store& st, const textio::LocalDate& date) {
    st.ci(9) = date.day;
    st.ci(10) = date.month;
    st.ci(11) = date.year % 100;
    if (st.r_any) build_stamp(st, stamp::at(st, stamp::r));
    if (st.k_any) build_stamp(st, stamp::at(st, stamp::k));
    if (st.ku.flag) build_stamp(st, stamp::at(st, stamp::ku));
}

void tabout(Store& st) {
    build_stamps(st, textio::local_date());
    const std::string_view format = row_format(st);
    if (st.ku.flag) upright_table(st, format);
    if (st.r_any) class_table(st, st.r, "r.tab", stamp::r, format);
    if (st.k_any) class_table(st, st.k, "k.tab", stamp::k, format);
    polar_tables(st);
}

}  // namespace hydrosum
