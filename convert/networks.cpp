#include "convert/networks.hpp"

#include "convert/dialogue.hpp"
#include "textio/textio.hpp"

#include <string_view>

namespace convert {

namespace {

[[noreturn]] void capacity_stop(std::string_view message) {
    textio::write_list(textio::stdout_unit, message);
    textio::error_stop();
}

void read_networks(int unit, HeaderLayout layout, NetworkStore& st) {
    for (;;) {
        std::int32_t ni = 0, nj = 0;
        Title title;
        title.fill(' ');
        const textio::Result r = layout == HeaderLayout::sizes
                                     ? textio::read(unit, "(2i5)", ni, nj)
                                     : textio::read(unit, "(2i5,10x,a)", ni, nj, title);
        if (r.status == textio::Status::end) return;
        if (!r) throw textio::failure_from(r);
        if (ni < 0 || nj < 0) throw textio::Failure(r.unit, r.file, r.record, "negative count in a network header");

        // both capacities at the header, before any point is stored
        if (++st.npat > st.npatmx) capacity_stop(" stopping because npat.gt.npatmx");
        int start = 1;
        if (st.npat > 1) {
            const Network& prev = st.net(st.npat - 1);
            start = prev.start + static_cast<int>(prev.points());
        }
        Network& n = st.net(st.npat);
        n = Network{ni, nj, start, title};
        if (start + n.points() - 1 > st.nptsmx) capacity_stop(" stopping because npts.gt.nptsmx");

        // one statement for the whole network: any layout; with no points it
        // still takes one line
        textio::In in(unit, textio::list_directed);
        const auto first = static_cast<std::size_t>(start - 1);
        const auto end = first + static_cast<std::size_t>(n.points());
        for (std::size_t p = first; p < end; ++p) in(st.x[p])(st.y[p])(st.z[p]);
        in.required();
    }
}

}  // namespace

NetworkStore::NetworkStore(int npatmx, int nptsmx)
    : npatmx(npatmx),
      nptsmx(nptsmx),
      nets(static_cast<std::size_t>(npatmx)),
      x(static_cast<std::size_t>(nptsmx)),
      y(static_cast<std::size_t>(nptsmx)),
      z(static_cast<std::size_t>(nptsmx)) {}

void read_network_file(int unit, const FileName& name, HeaderLayout layout, NetworkStore& st) {
    open_file(unit, name, textio::Access::existing);
    read_networks(unit, layout, st);
}

}  // namespace convert
