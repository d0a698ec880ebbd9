// Network files as appgrid reads and writes them: a header "(2i5,10x,a)"
// (sizes; the type code is neither read nor written), then the points.
#include "appgrid/driver.hpp"

#include "lib/strings.hpp"
#include "textio/textio.hpp"

#include <string>

namespace appgrid {

namespace {

// Refuses a network whose header does not fit its part, before any point.
void check_size(Part part, int ni, int nj, int idim, int jdim) {
    if (ni > idim || nj > jdim) stop_with(" error: input array exceeds array parameters");
    const int min_i = part == bulb ? kMinBulbI : kMinFoilI;
    const int min_j = part == bulb ? kMinBulbJ : kMinFoilJ;
    if (ni < min_i || nj < min_j)
        stop_with(" error ... " + std::string(kPartWords[part]) + " array size below minimum(s)");
}

void stop_if_cut(const Name& name) {
    if (name.cut)
        stop_with(" error ... file \"" + shown(name) + "\" has a name longer than " + std::to_string(kTextLen) +
                  " characters");
}

template <int I, int J>
void read_network(Part part, const Name& name, Network<I, J>& net) {
    stop_if_cut(name);
    if (!textio::open(kInUnit, trimmed(name.field), textio::Access::existing))
        stop_with(" error ... file \"" + shown(name) + "\" does not exist");
    net.title.fill(' ');
    textio::read_required(kInUnit, "(2i5,10x,a)", net.ni, net.nj, net.title);
    check_size(part, net.ni, net.nj, I, J);
    // one statement for every point, in any layout of free-format numbers
    textio::In in(kInUnit, textio::list_directed);
    const geom::Grid x = net.gx(), y = net.gy(), z = net.gz();
    for (int j = 1; j <= net.nj; ++j)
        for (int i = 1; i <= net.ni; ++i) in(x(i, j))(y(i, j))(z(i, j));
    in.required();
    textio::close(kInUnit);
}

}  // namespace

std::string_view trimmed(const Text& t) {
    const std::string_view s(t.data(), t.size());
    return s.substr(0, static_cast<std::size_t>(geom::lenchr(s)));
}

void stop_with(std::string_view message) {
    textio::write(textio::stdout_unit, "(a)", message);
    textio::error_stop();
}

void read_networks(Run& run) {
    if (run.ans.on[keel]) read_network(keel, run.ans.input[keel], run.keel_net);
    read_network(bulb, run.ans.input[bulb], run.bulb_net);
    if (run.ans.on[wing]) read_network(wing, run.ans.input[wing], run.wing_net);
    // an output name that cannot be whole is known now: refused before the
    // trimming writes the first network
    for (int p : {keel, bulb, wing})
        if (run.ans.on[p]) stop_if_cut(run.ans.output[p]);
}

std::string shown(const Name& name) { return std::string(trimmed(name.field)) + (name.cut ? "..." : ""); }

void open_output(const Name& name) {
    if (const textio::OpenResult r = textio::open(kOutUnit, name, textio::Access::existing_or_new); !r)
        textio::fail_open(kOutUnit, shown(name), r.status);
}

void write_header(int ni, int nj, const Text& title) {
    textio::write(kOutUnit, "(2i5,10x,a)", std::int32_t{ni}, std::int32_t{nj}, trimmed(title));
}

void write_point(float x, float y, float z) { textio::write(kOutUnit, "(3e16.8)", x, y, z); }

}  // namespace appgrid
