// Tecplot zone files, one zone per file: the upright set, every present run
// of r and k, and the induced-drag polars of each heel and pass.
#include "hydrosum/tables/polars.hpp"
#include "hydrosum/tables/zones.hpp"

#include "hydrosum/tables/frame.hpp"
#include "hydrosum/tables/tables.hpp"

#include "lib/strings.hpp"
#include "textio/statement.hpp"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace hydrosum {

namespace {

using namespace frame;

// comchr(81:160) and comchr(161:240): the names of the file being written
constexpr int file_name_from = 81;
constexpr int zone_name_from = 161;
constexpr int name_length = 80;
// A zone is named by its file name without ".zon": ku, r00a00, r00t0.
constexpr std::size_t upright_zone_chars = 2;
constexpr std::size_t run_zone_chars = 6;
constexpr std::size_t polar_zone_chars = 5;

// swet in this order; the fourth area is not part of it.
constexpr std::array<int, 6> swet_slots = {hull_area, keel_area, bulb_area, rudder_area, frud_area, wing_area};

std::span<char> file_buffer(Store& st) { return st.chr(file_name_from, file_name_from + name_length - 1); }
std::span<char> zone_buffer(Store& st) { return st.chr(zone_name_from, zone_name_from + name_length - 1); }

// Both buffers blanked first: the zone name is read up to its last
// non-blank, so anything left in the buffer would become part of it.
void name_file(Store& st, std::string_view file, std::size_t zone_chars) {
    const std::span<char> f = file_buffer(st);
    const std::span<char> z = zone_buffer(st);
    std::fill(f.begin(), f.end(), ' ');
    std::fill(z.begin(), z.end(), ' ');
    std::copy(file.begin(), file.end(), f.begin());
    std::copy(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(zone_chars), z.begin());
}

std::string_view trimmed(std::span<const char> text) {
    const std::string_view s(text.data(), text.size());
    return s.substr(0, static_cast<std::size_t>(geom::lenchr(s)));
}

void title_line(std::span<const char> title) {
    textio::write(output_unit, "(3a)", "TITLE=\"", trimmed(title), "\"");
}

void zone_line(std::span<const char> zone_name, int count) {
    textio::write(output_unit, "(3a,i5)", "ZONE T=\"", trimmed(zone_name), "\", I=", static_cast<std::int32_t>(count));
}

}  // namespace

void zone1(const Run& run, std::span<const char> title, std::span<const char> file_name,
           std::span<const char> zone_name, float sref) {
    open_output(trimmed(file_name));
    title_line(title);
    textio::write(output_unit, "(3a)", "VARIABLES=", "vs,hl,yw,drd,dkl,cfxi,cfxt,cfy,cfz,vclr,lclr,cmz,",
                  "sink,trim,hxl,hsw,swet");
    zone_line(zone_name, run.n());
    // no force variant here: a unit reference area always takes the first descriptors
    const std::string_view format = unit_area(sref) ? "(f5.2,4f5.1,2f10.5,2f10.4,2f10.5,f10.4,2f10.5,3f10.4)"
                                                    : "(f5.2,4f5.1,2f10.6,4f10.5,f10.6,2f10.5,3f10.4)";
    for (int i = 1; i <= run.n(); ++i) {
        const auto s = [&](int slot) { return run.s(i, slot); };
        textio::write(output_unit, format, s(1), s(2), s(3), s(5), s(4), s(39), s(45), s(46), s(47), s(51), s(52),
                      s(50), s(6), s(7), s(15), s(8), slot_sum(run, i, swet_slots));
    }
    textio::close(output_unit);
}

void zone2(std::span<const PolarRow> rows, std::span<const char> title, std::span<const char> file_name,
           std::span<const char> zone_name) {
    open_output(trimmed(file_name));
    title_line(title);
    textio::write(output_unit, "(a)", "VARIABLES=vs,hl,cdo,xk,clo,tr");
    zone_line(zone_name, static_cast<int>(rows.size()));
    // the speed before the heel here, unlike the polar tables
    for (const PolarRow& row : rows)
        textio::write(output_unit, "(2f10.5,1p4e13.5)", row.speed, row.heel, row.a0, row.k, row.al0, row.tr);
    textio::close(output_unit);
}

void teczon(Store& st) {
    const float sref = st.c(23);
    if (st.ku.flag) {
        name_file(st, "ku.zon", upright_zone_chars);
        zone1(st.ku.run(), stamp::at(st, stamp::ku), file_buffer(st), zone_buffer(st), sref);
    }
    // the flag, not the case count: a run whose file held no case gets an empty zone
    for (int h = 1; h <= heels(st); ++h) {
        for (int j = 1; j <= runs(st); ++j) {
            const std::array<char, 3> run = run_code(j);
            const std::string tail = std::string(heel_code(h)) + std::string(run.begin(), run.end()) + ".zon";
            if (st.r.present(j, h)) {
                name_file(st, "r" + tail, run_zone_chars);
                zone1(st.r.run(j, h), stamp::at(st, stamp::r), file_buffer(st), zone_buffer(st), sref);
            }
            if (st.k.present(j, h)) {
                name_file(st, "k" + tail, run_zone_chars);
                zone1(st.k.run(j, h), stamp::at(st, stamp::k), file_buffer(st), zone_buffer(st), sref);
            }
        }
    }
    const auto polar_files = [&](RunClass<full_slots>& cls, std::string_view letter, int stamp_from) {
        for (const PolarBlock& block : class_polars(st, cls)) {
            // Appended piece by piece: operator+ on temporaries draws g++ 12's
            // false -Wrestrict at -O3.
            std::string name(letter);
            name += heel_code(block.heel);
            name += block.pass == PolarPass::t0 ? "t0" : "tr";
            name += ".zon";
            name_file(st, name, polar_zone_chars);
            zone2(block.rows, stamp::at(st, stamp_from), file_buffer(st), zone_buffer(st));
        }
    };
    if (st.r_any) polar_files(st.r, "r", stamp::r);
    if (st.k_any) polar_files(st.k, "k", stamp::k);
}

}  // namespace hydrosum
