// Plot tables ku.plot, r.plot and k.plot, and the comparison of a table's
// rows with its previous version that they share with the velocity-
// prediction tables.
#include "hydrosum/tables/plot.hpp"

#include "hydrosum/tables/frame.hpp"
#include "hydrosum/tables/tables.hpp"

#include "textio/platform.hpp"
#include "textio/run.hpp"
#include "textio/statement.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace hydrosum {

namespace {

using namespace frame;

constexpr int previous_unit = 4;
// A previous row is 225 characters; only its first seven values are used.
constexpr std::size_t previous_record = 512;
// speed, heel, yaw, rudder, tab, AD-INV, AD-TOT
constexpr int previous_values = 7;
constexpr int previous_speed = 0;
constexpr int previous_heel = 1;
constexpr int previous_inviscid = 5;
constexpr int previous_total = 6;

// Wider than what printing with two and one decimals moves a value: the
// rows belong to another test matrix.
constexpr float speed_tolerance = 0.006f;
constexpr float heel_tolerance = 0.06f;
constexpr float zero_previous = 1.0e-6f;
constexpr float no_ratio = 99.0f;
constexpr float ratio_limit = 99.9f;

constexpr std::string_view mismatch_message = "error ... test matrix does not agree with old test matrix";

constexpr int upright_preamble_lines = 9;   // the plot preamble and one empty line
constexpr int class_preamble_lines = 8;
constexpr Pieces plot_units = {
    "  kts  deg  deg  deg  deg", "       m^2       m^2       m^2         m         m",
    "         m       deg         m       m^2       m^2", "       m^2       m^2       m^2       m^2       m^2",
    "       m^2       m^2       m^4"};
constexpr std::string_view row_format = "(f5.2,4f5.1,20f10.5)";

constexpr std::size_t text_length(const Pieces& p) {
    return std::accumulate(p.begin(), p.end(), std::size_t{0},
                           [](std::size_t n, std::string_view s) { return n + s.size(); });
}
static_assert(text_length(plot_header) == 225);
static_assert(text_length(plot_units) == 205);   // the ratio columns have no unit

float ratio(float value, float previous) {
    if (std::fabs(previous) <= zero_previous) return no_ratio;
    return std::max(std::min(value / previous, ratio_limit), -ratio_limit);
}

void write_row(const Run& run, int i, const Ratios& ratios) {
    const auto s = [&](int slot) { return run.s(i, slot); };
    textio::write(output_unit, row_format, s(1), s(2), s(3), s(5), s(4), s(39), s(45), s(47), s(51), s(52), s(6),
                  s(7), s(15), s(8), plot_wetted(run, i), s(33), s(53), s(54), s(55), s(56), s(57), s(58),
                  s(47) * s(47), ratios.inviscid, ratios.total);
}

Ratios compare_row(PreviousTable& previous, const Run& run, int i) {
    return previous.compare(run.s(i, speed), run.s(i, heel), run.s(i, inviscid), run.s(i, total));
}

void upright_plot(Store& st) {
    open_output("ku.plot");
    PreviousTable previous("ku.plot");
    previous.skip(upright_preamble_lines);
    table_preamble(stamp::at(st, stamp::ku), plot_header, plot_units);
    empty_line();
    const Run ku = st.ku.run();
    for (int i = 1; i <= ku.n(); ++i) write_row(ku, i, compare_row(previous, ku, i));
    textio::close(output_unit);
    previous.close();
}

void class_plot(Store& st, RunClass<full_slots>& cls, std::string_view name, int stamp_from) {
    open_output(name);
    PreviousTable previous(name);
    previous.skip(class_preamble_lines);
    table_preamble(stamp::at(st, stamp_from), plot_header, plot_units);
    // the previous table has its empty lines where this one has
    const auto set_apart = [&] {
        empty_line();
        previous.skip(1);
    };
    table_runs(st, cls, set_apart, [&](const Run& run) {
        for (int i = 1; i <= run.n(); ++i) write_row(run, i, compare_row(previous, run, i));
    });
    textio::close(output_unit);
    previous.close();
}

}  // namespace

std::string split_touching(std::string_view record) {
    std::string split;
    split.reserve(record.size() + record.size() / 4);
    for (std::size_t c = 0; c < record.size(); ++c) {
        const char here = record[c];
        if ((here == '-' || here == '+') && c > 0) {
            const char before = record[c - 1];
            if ((before >= '0' && before <= '9') || before == '.') split.push_back(' ');
        }
        split.push_back(here);
    }
    return split;
}

void end_run_keeping_table(const textio::Result& failed) {
    if (textio::is_open(output_unit)) textio::Runtime::instance().unit(output_unit).flush_quietly();
    throw textio::failure_from(failed);
}

PreviousTable::PreviousTable(std::string_view table_name) : name_(std::string(table_name) + ".old") {
    // a previous table that does not open only turns the comparison off
    on_ = static_cast<bool>(textio::open(previous_unit, name_, textio::Access::existing));
}

void PreviousTable::skip(int lines) {
    if (!on_) return;
    for (int l = 0; l < lines; ++l) {
        const textio::Result r = textio::skip_record(previous_unit);
        if (!r) end_run_keeping_table(r);
    }
}

Ratios PreviousTable::compare(float speed, float heel, float inviscid, float total) {
    Ratios ratios;
    if (!on_) return ratios;
    // A free-format read of seven values, over the touching-number split of
    // each record: lines without numbers pass, values may span lines, the
    // rest of the last line is dropped.
    std::array<float, previous_values> values{};
    int got = 0;
    while (got < previous_values) {
        std::array<char, previous_record> record;
        const textio::Result read = textio::read(previous_unit, "(a)", record);
        if (!read) end_run_keeping_table(read);
        const std::string line = split_touching(std::string_view(record.data(), record.size()));
        textio::In in(line, textio::list_directed, name_);
        while (got < previous_values) {
            in(values[static_cast<std::size_t>(got)]);
            if (!in.ok()) break;
            ++got;
        }
        textio::Result parsed = in.done();
        if (parsed.status == textio::Status::error) {
            // named as the previous table's record, not as an internal one
            parsed.unit = previous_unit;
            parsed.record = textio::Runtime::instance().unit(previous_unit).record();
            end_run_keeping_table(parsed);
        }
    }
    if (std::fabs(values[previous_speed] - speed) >= speed_tolerance ||
        std::fabs(values[previous_heel] - heel) >= heel_tolerance) {
        textio::write_list(textio::stdout_unit, mismatch_message);
        // the tables go on being written, but the run has failed
        textio::fail_and_go_on();
        return ratios;
    }
    ratios.inviscid = ratio(inviscid, values[previous_inviscid]);
    ratios.total = ratio(total, values[previous_total]);
    return ratios;
}

void PreviousTable::close() {
    if (on_) textio::close(previous_unit);
    on_ = false;
}

void tabplt(Store& st) {
    build_stamps(st, textio::local_date());
    if (st.ku.flag) upright_plot(st);
    if (st.r_any) class_plot(st, st.r, "r.plot", stamp::r);
    if (st.k_any) class_plot(st, st.k, "k.plot", stamp::k);
}

}  // namespace hydrosum
