// The progress lines of the corrections and the opening lines every table
// writer shares.
#include "hydrosum/tables/frame.hpp"

#include "textio/answers.hpp"
#include "textio/statement.hpp"

#include <string>

namespace hydrosum {

void frame::progress(std::string_view wording, std::string_view cls, int j, int h) {
    textio::write(textio::stdout_unit, "(4a)", wording, cls, heel_code(h), run_code(j));
}

void frame::progress(std::string_view wording, std::string_view set) {
    textio::write(textio::stdout_unit, "(2a)", wording, set);
}

void open_output(std::string_view name) {
    const textio::OpenResult opened = textio::open(output_unit, name, textio::Access::existing_or_new);
    if (!opened)
        throw textio::Failure(output_unit, std::string(name), 0,
                              textio::open_refusal(opened.status, 0, "for writing"));
}

void empty_line() { textio::write(output_unit, "(a)", ""); }

void stamp_lines(std::span<const char> stamp) {
    for (int l = 0; l < 4; ++l) empty_line();
    textio::write(output_unit, "(a)", stamp);
    empty_line();
}

void table_preamble(std::span<const char> stamp, const Pieces& header, const Pieces& units) {
    stamp_lines(stamp);
    textio::write(output_unit, "(5a)", header[0], header[1], header[2], header[3], header[4]);
    textio::write(output_unit, "(5a)", units[0], units[1], units[2], units[3], units[4]);
}

}  // namespace hydrosum
