#include "intersect/result.hpp"

#include "textio/textio.hpp"

#include <cstdint>

namespace intersect {

namespace {

constexpr int output_unit = 2;

// Station k of the table's order: the source file's order along the
// direction that des names.
int station(int k, int ns, const Spec& des) { return plus(des) ? k : ns + 1 - k; }

}  // namespace

void result(int ms, int ns, const Spec& dxs, const Spec& des, int mt, int nt, const Spec& dxt, const Spec& det,
            const Cuts& c, const Output& files) {
    open_or_fail(output_unit, files.table, textio::Access::existing_or_new);
    textio::write(output_unit, "(a,a)", " iint      xint      yint      zint", "      xsis      etas      xsit      etat");
    for (int k = 1; k <= ns; ++k) {
        const int j = station(k, ns, des);
        // each position mapped back by the spec that produced it, into the
        // column of the file direction that spec names
        const float along = oriented(c.xsis(j), dxs, ms);
        const float across = oriented(static_cast<float>(j), des, ns);
        const float txsi = oriented(c.xsit(j), dxt, mt);
        const float teta = oriented(c.etat(j), det, nt);
        const bool source_i = names_m(dxs);
        const bool target_i = names_m(dxt);
        textio::write(output_unit, "(i5,7f10.5)", static_cast<std::int32_t>(c.iint(j)), c.xint(j), c.yint(j),
                      c.zint(j), source_i ? along : across, source_i ? across : along, target_i ? txsi : teta,
                      target_i ? teta : txsi);
    }
    textio::close(output_unit);

    open_or_fail(output_unit, files.strip, textio::Access::existing_or_new);
    const bool rows_of_two = !names_m(des);
    textio::write(output_unit, "(2i5,10x,a)", rows_of_two ? 2 : ns, rows_of_two ? ns : 2, files.title);
    if (ns > 0) {
        textio::Out out(output_unit, "(3e16.8)");
        auto point = [&](int k) {
            const int j = station(k, ns, des);
            out(c.xint(j))(c.yint(j))(c.zint(j));
        };
        if (rows_of_two) {
            for (int k = 1; k <= ns; ++k) {
                point(k);
                point(k);
            }
        } else {
            for (int k = 1; k <= ns; ++k) point(k);
            for (int k = 1; k <= ns; ++k) point(k);
        }
        out.end();
    }
    textio::close(output_unit);
}

}  // namespace intersect
