// meshdump: every network of a network file as a grid block of a Gridgen
// file: ni and nj, then all x, all y, all z, six values a line.
#include "convert/dialogue.hpp"
#include "convert/networks.hpp"
#include "textio/textio.hpp"

#include <cstdint>
#include <memory>

namespace meshdump {

namespace {

constexpr int npatmx = 201;
constexpr int nptsmx = 100000;
constexpr int network_unit = 1;
constexpr int gridgen_unit = 2;

// (ni-1)(nj-1) of every network with at least one point each way; a network
// without points has no panels. The capacity keeps the sum below nptsmx.
std::int32_t panel_count(const convert::NetworkStore& st) {
    std::int64_t panels = 0;
    for (int k = 1; k <= st.npat; ++k) {
        const convert::Network& n = st.net(k);
        if (n.ni >= 1 && n.nj >= 1) panels += std::int64_t{n.ni - 1} * (n.nj - 1);
    }
    return static_cast<std::int32_t>(panels);
}

void main_routine() {
    convert::FileName network_file, gridgen_file;
    convert::ask(" enter name of input database network file", network_file);
    convert::ask(" enter name of output GRIDGEN file", gridgen_file);

    auto st = std::make_unique<convert::NetworkStore>(npatmx, nptsmx);
    convert::read_network_file(network_unit, network_file, convert::HeaderLayout::sizes, *st);

    convert::open_file(gridgen_unit, gridgen_file, textio::Access::existing_or_new);
    // A Gridgen file has no count of blocks: no networks is the empty file,
    // never the blocks of an earlier run left in place.
    if (st->npat == 0) textio::endfile(gridgen_unit);
    for (int k = 1; k <= st->npat; ++k) {
        const convert::Network& n = st->net(k);
        textio::write(gridgen_unit, "(2i5)", n.ni, n.nj);
        // one write a sequence: each begins a line, and an empty one is an empty line
        textio::write(gridgen_unit, "(1p6e13.5)", st->xs(n));
        textio::write(gridgen_unit, "(1p6e13.5)", st->ys(n));
        textio::write(gridgen_unit, "(1p6e13.5)", st->zs(n));
    }
    textio::close(gridgen_unit);
    textio::write(textio::stdout_unit, "(a,i5)", "number of networks=", st->npat);
    textio::write(textio::stdout_unit, "(a,i5)", "number of panels=  ", panel_count(*st));
}

}  // namespace

}  // namespace meshdump

int main() { return textio::run_program("meshdump", meshdump::main_routine); }
