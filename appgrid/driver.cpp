// appgrid's pass from the answers to the new bulb network.
#include "appgrid/bulb.hpp"

#include "textio/textio.hpp"

#include <memory>

namespace appgrid {

namespace {

using textio::stdout_unit;

void write_rows(OutGrid& g, int imo, int from, int to) {
    const geom::Grid x(g.x.data(), kOutI), y(g.y.data(), kOutI), z(g.z.data(), kOutI);
    for (int j = from; j <= to; ++j)
        for (int i = 1; i <= imo; ++i) write_point(x(i, j), y(i, j), z(i, j));
}

}  // namespace

void check_output(Run& run) {
    const Deck& d = run.deck;
    if (d.imo > kOutI || d.jmo > kOutJ) stop_with(" error: output array exceeds array parameters");
    // the smoothing blocks need 3 points each way: 3 columns from column 2, 3 rows a half
    if (d.imo < kMinOutI || d.jmo < kMinOutJ) stop_with(" error ... output array size below minimum(s)");
    if (run.ans.on[keel] && !(1 <= d.ikle && d.ikle < d.ikte && d.ikte <= d.imo))
        stop_with(" error ... keel edge columns must satisfy 1 <= ikle < ikte <= imo");
    if (run.ans.on[wing] && !(1 <= d.iwle && d.iwle < d.iwte && d.iwte <= d.imo))
        stop_with(" error ... wing edge columns must satisfy 1 <= iwle < iwte <= imo");

    Sizes& sz = run.size;
    sz.imi = run.bulb_net.ni;
    sz.jmi = run.bulb_net.nj;
    sz.jmih = (sz.jmi + 1) / 2;
    sz.imo = d.imo;
    sz.jmo = d.jmo;
    sz.jmoh = (sz.jmo + 1) / 2;
    textio::write(stdout_unit, "(a,3i5)", " imi,jmi,jmih=", std::int32_t{sz.imi}, std::int32_t{sz.jmi},
                  std::int32_t{sz.jmih});
    textio::write(stdout_unit, "(a,3i5)", " imo,jmo,jmoh=", std::int32_t{sz.imo}, std::int32_t{sz.jmo},
                  std::int32_t{sz.jmoh});
}

void generate_bulb(Run& run) {
    const Sizes& sz = run.size;
    const bool with_wing = run.ans.on[wing];
    run.surface = run.bulb_net;
    textio::write(stdout_unit, "(a)", " 205 loop finished");

    lay_out_upper(run);
    smooth_half(run, 1, sz.jmoh);
    // with a wing the middle row goes out twice: the two sides of the wing root
    open_output(run.ans.output[bulb]);
    write_header(sz.imo, with_wing ? sz.jmo + 1 : sz.jmo, run.bulb_net.title);
    write_rows(run.grid, sz.imo, 1, with_wing ? sz.jmoh : sz.jmoh - 1);

    lay_out_lower(run);
    smooth_half(run, sz.jmoh, sz.jmo - sz.jmoh + 1);
    write_rows(run.grid, sz.imo, sz.jmoh, sz.jmo);
    textio::close(kOutUnit);
}

void main_routine() {
    auto run = std::make_unique<Run>();   // the whole pass's arrays, allocated once
    read_answers(run->ans, run->deck);
    read_networks(*run);
    trim(*run);
    check_output(*run);
    generate_bulb(*run);
}

}  // namespace appgrid
