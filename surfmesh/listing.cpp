// Menu options 2 and 3: the directory listing, and the reduced IGES file
// that keeps the start and global sections and the type-128 entities.

#include "commands.hpp"
#include "dialogue.hpp"
#include "entity_types.hpp"
#include "store.hpp"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace surfmesh {

namespace {

using textio::stdout_unit;

constexpr std::string_view listing_header =
    " type psq1 levl view mtrx dsq1 lwgt colr form     label blnk sbsw usef hier";
constexpr int rows_per_header = 10;
constexpr int parameter_cols = 64;   // a parameter line without its pointer and sequence number

// "*", alone on the answer line, lists on the screen.
bool is_screen(const FileName& name) {
    const std::string_view n = name.text();
    return !name.cut && n.front() == '*' && n.find_first_not_of(' ', 1) == std::string_view::npos;
}

// A count of the reduced file in its field: one too wide shows as asterisks.
std::int32_t field_value(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Every line of a section's scratch file to the reduced file; their count.
std::int32_t copy_section(int unit) {
    textio::rewind(unit);
    Record line;
    std::int32_t n = 0;
    while (read_section_line(unit, line)) {
        textio::write(listing_unit, "(a)", line);
        ++n;
    }
    textio::rewind(unit);
    return n;
}

// The command's heading, then its question for a file name.
FileName ask_name(std::string_view heading, std::string_view question) {
    empty_line();
    say(heading);
    ask(question);
    FileName name;
    textio::read_answer(name);
    return name;
}

}  // namespace

void direct(Blocks& b) {
    const Deinfo& d = b.deinfo;
    const FileName name =
        ask_name(" output IGES file directory information to file", " enter filename (* for screen): ");
    const bool screen = is_screen(name);
    const int unit = screen ? stdout_unit : listing_unit;
    if (!screen) open_output(listing_unit, name, "listing file");
    for (int e = 1; e <= d.ient; ++e) {
        if ((e - 1) % rows_per_header == 0) {
            textio::write_list(unit);
            textio::write(unit, "(a)", listing_header);
            textio::write_list(unit);
        }
        const std::int32_t status = d.field(e, f_status);
        textio::write(unit, "(9i5,2x,a8,4i5)", d.type(e), d.field(e, f_pointer), d.field(e, f_level),
                      d.field(e, f_view), d.field(e, f_matrix), d.field(e, f_sequence), d.field(e, f_weight),
                      d.field(e, f_color), d.field(e, f_form), d.label(e), status / 1000000,
                      status % 1000000 / 10000, status % 10000 / 100, status % 100);
    }
    if (!screen) textio::close(listing_unit);
}

void iges128s(Blocks& b) {
    const Deinfo& d = b.deinfo;
    const FileName name = ask_name(" output all 128 entities to new IGES file", " enter filename: ");
    open_output(listing_unit, name, "IGES file");
    textio::rewind(listing_unit);
    const std::int32_t nstart = copy_section(start_unit);
    const std::int32_t nglobal = copy_section(global_unit);

    // The directory: new pointers into the parameter lines of the surfaces
    // alone, and new sequence numbers. Other fields are copied as they are.
    std::int64_t p = 0;
    std::int32_t nd = 0;
    for (int e = 1; e <= d.ient; ++e) {
        if (d.type(e) != surface_type) continue;
        textio::write(listing_unit, "(9i8,a1,i7)", d.type(e), field_value(p + 1), d.field(e, f_structure),
                      d.field(e, f_font), d.field(e, f_level), d.field(e, f_view), d.field(e, f_matrix),
                      d.field(e, f_labeldisp), d.field(e, f_status), "D", nd + 1);
        textio::write(listing_unit, "(5i8,16x,a8,i8,a1,i7)", d.type(e), d.field(e, f_weight), d.field(e, f_color),
                      d.field(e, f_lines), d.field(e, f_form), d.label(e), d.field(e, f_subscript), "D", nd + 2);
        p += d.field(e, f_lines);
        nd += 2;
    }

    // The parameter lines, taken in directory order, every entity's count
    // of them: the pointers are not followed.
    textio::rewind(parameter_unit);
    std::int32_t np = 0;
    nd = 0;
    Record line;
    for (int e = 1; e <= d.ient; ++e) {
        const bool kept = d.type(e) == surface_type;
        for (std::int32_t c = 1; c <= d.field(e, f_lines); ++c) {
            textio::read_required(parameter_unit, "(a)", line);
            if (kept)
                textio::write(listing_unit, "(a64,1x,i7,a1,i7)", std::string_view(line.data(), parameter_cols),
                              nd + 1, "P", ++np);
        }
        if (kept) nd += 2;
    }
    textio::rewind(parameter_unit);
    textio::write(listing_unit, "(4(a1,i7),40x,a1,i7)", "S", nstart, "G", nglobal, "D", nd, "P", np, "T",
                  std::int32_t{1});
    textio::close(listing_unit);
}

}  // namespace surfmesh
