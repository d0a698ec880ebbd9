// gridplot: every network of a network file as a zone of one Tecplot file,
// one point a line.
#include "convert/dialogue.hpp"
#include "convert/networks.hpp"
#include "lib/strings.hpp"
#include "textio/textio.hpp"

#include <array>
#include <memory>
#include <string_view>

namespace gridplot {

namespace {

constexpr int npatmx = 201;
constexpr int nptsmx = 400000;
constexpr int network_unit = 1;
constexpr int tecplot_unit = 2;
constexpr int answer_length = 80;

std::string_view text(std::span<const char> field, int length) {
    return {field.data(), static_cast<std::size_t>(length)};
}

// The title without trailing blanks, and without a leading "NET " or "net "
// when more follows it.
std::string_view zone_title(const convert::Title& title) {
    const std::string_view t = text(title, geom::lenchr({title.data(), title.size()}));
    if (t.size() > 4 && (t.starts_with("NET ") || t.starts_with("net "))) return t.substr(4);
    return t;
}

void main_routine() {
    textio::write(textio::stdout_unit, "(a)");
    textio::write(textio::stdout_unit, "(1x,a)", "GRIDPLOT MAREVO-To-TECPLOT File Translation Software");
    textio::write(textio::stdout_unit, "(a)");

    convert::FileName network_file, tecplot_file;
    std::array<char, answer_length> file_title;
    convert::ask(" enter name of input database network file", network_file);
    convert::ask(" enter name of output TECPLOT file", tecplot_file);
    convert::ask(" enter title for output TECPLOT file", file_title);

    auto st = std::make_unique<convert::NetworkStore>(npatmx, nptsmx);
    convert::read_network_file(network_unit, network_file, convert::HeaderLayout::sizes_and_title, *st);

    convert::open_file(tecplot_unit, tecplot_file, textio::Access::existing_or_new);
    const std::string_view title = text(file_title, geom::lenchr({file_title.data(), file_title.size()}));
    textio::write(tecplot_unit, "(3a)", "TITLE = \"", title, "\"");
    textio::write(tecplot_unit, "(a)", "VARIABLES = X, Y, Z");
    for (int k = 1; k <= st->npat; ++k) {
        const convert::Network& n = st->net(k);
        textio::write(tecplot_unit, "(3a,/,a,i3,a,i3)", "ZONE T=\"", zone_title(n.title), "\",", "I=", n.ni, ", J=",
                      n.nj);
        // one write for all points: one a line, and an empty line for none
        textio::Out points(tecplot_unit, "(3e16.8)");
        const auto x = st->xs(n), y = st->ys(n), z = st->zs(n);
        for (std::size_t p = 0; p < x.size(); ++p) points(x[p])(y[p])(z[p]);
        points.end();
    }
    textio::write(tecplot_unit, "(a,f5.3,a,f5.3,a,/,a,a,a)", "TEXT X=", 0.05f, ", Y=", 0.9f, ",", "T=\"", title, "\"");
    textio::close(tecplot_unit);
}

}  // namespace

}  // namespace gridplot

int main() { return textio::run_program("gridplot", gridplot::main_routine); }
