// Induced-drag polars: the fit, its gathering over the converted store and
// the polar tables rtr.tab and ktr.tab.
#include "hydrosum/tables/polars.hpp"

#include "hydrosum/tables/frame.hpp"
#include "hydrosum/tables/tables.hpp"

#include "textio/statement.hpp"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace hydrosum {

namespace {

using namespace frame;

// Speeds closer than this (in output units) belong to one polar.
constexpr float same_speed = 0.01f;
// 2 pi as the fit has always taken it, not to full precision.
constexpr float two_pi = 6.28318f;

int runs_needed(PolarPass pass) { return pass == PolarPass::t0 ? 2 : 3; }

void polar_table(Store& st, RunClass<full_slots>& cls, std::string_view name, int stamp_from) {
    open_output(name);
    stamp_lines(stamp::at(st, stamp_from));
    textio::write(output_unit, "(a)", "AD=ADO+K*(AL-ALO)**2 ; TR=1/SQRT(2*PI*K/SREF)");
    empty_line();
    textio::write(output_unit, "(8x,a)", " HEEL  VEL       AD0         K       AL0        TR");
    textio::write(output_unit, "(8x,a)", "  deg  kts       l^2     1/l^2       l^2         l");
    // HEEL before VEL here, and the speed with one decimal only
    const std::string_view format =
        unit_area(st.c(23)) ? "(8x,2f5.1,f10.5,f10.7,f10.4,f10.4)" : "(8x,2f5.1,f10.6,f10.6,f10.5,f10.4)";
    for (const PolarBlock& block : class_polars(st, cls)) {
        empty_line();
        for (const PolarRow& row : block.rows)
            textio::write(output_unit, format, row.heel, row.speed, row.a0, row.k, row.al0, row.tr);
    }
    textio::close(output_unit);
}

}  // namespace

PolarFit qpolar(std::span<const float> x, std::span<const float> y) {
    PolarFit fit;
    const std::size_t n = std::min(x.size(), y.size());   // points are (x, y) pairs
    if (n < 2) return fit;
    float s0 = 0.0f, s2 = 0.0f, s4 = 0.0f, sy = 0.0f, s2y = 0.0f;
    for (std::size_t p = 0; p < n; ++p) {
        const float x2 = x[p] * x[p];
        s0 += 1.0f;
        s2 += x2;
        s4 += x2 * x2;
        sy += y[p];
        s2y += x2 * y[p];
    }
    const float det = s4 * s0 - s2 * s2;
    // e.g. every point at zero side force: no polar, all zero
    if (det == 0.0f) return fit;
    fit.a0 = (s4 * sy - s2 * s2y) / det;
    fit.k = (s2y * s0 - s2 * sy) / det;
    if (fit.k > 0.0f) fit.tr = 1.0f / std::sqrt(two_pi * fit.k);
    return fit;
}

std::vector<PolarRow> gather_polars(Store& st, RunClass<full_slots>& cls, int h, PolarPass pass) {
    std::vector<PolarRow> rows;
    const Run ref = cls.run(1, h);
    if (ref.n() <= 0) return rows;
    rows.reserve(polar_rows);
    std::vector<float> x, y;
    x.reserve(polar_points);
    y.reserve(polar_points);
    const float root_area = std::sqrt(st.c(23));
    for (int c = 1; c <= ref.n(); ++c) {
        const float v = ref.s(c, speed);
        x.clear();
        y.clear();
        int contributing = 0;
        bool duplicate = false;
        for (int j = 1; j <= runs(st) && !duplicate; ++j) {
            const Run run = cls.run(j, h);
            bool adds = false;
            for (int i = 1; i <= run.n(); ++i) {
                if (!(std::fabs(run.s(i, speed) - v) < same_speed)) continue;
                // an earlier case of run 1 at this speed has made this polar already
                if (j == 1 && i < c) {
                    duplicate = true;
                    break;
                }
                x.push_back(run.s(i, side_force));
                y.push_back(run.s(i, total));
                adds = true;
            }
            if (adds) ++contributing;
        }
        if (duplicate || contributing < runs_needed(pass)) continue;
        const PolarFit fit = qpolar(x, y);
        rows.push_back({v, ref.s(c, heel), fit.a0, fit.k, fit.al0, fit.tr * root_area});
    }
    return rows;
}

std::vector<PolarBlock> class_polars(Store& st, RunClass<full_slots>& cls) {
    std::vector<PolarBlock> blocks;
    for (int h = 1; h <= heels(st); ++h) {
        for (PolarPass pass : {PolarPass::t0, PolarPass::tr}) {
            if (pass == PolarPass::t0 && h != 1) continue;
            std::vector<PolarRow> rows = gather_polars(st, cls, h, pass);
            if (!rows.empty()) blocks.push_back({h, pass, std::move(rows)});
        }
    }
    return blocks;
}

void polar_tables(Store& st) {
    if (st.r_any) polar_table(st, st.r, "rtr.tab", stamp::r);
    if (st.k_any) polar_table(st, st.k, "ktr.tab", stamp::k);
}

}  // namespace hydrosum
