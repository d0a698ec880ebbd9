// The IGES store: the section scratch files fort.11 to fort.15 with the
// verbatim lines of the file read last, and the directory entry table.
#pragma once

#include "blocks.hpp"
#include "textio/answers.hpp"
#include "textio/units.hpp"

#include <array>
#include <string_view>

namespace surfmesh {

inline constexpr int iges_unit = 1;
inline constexpr int mesh_unit = 2;
inline constexpr int listing_unit = 2;      // the directory listing, the reduced IGES file
inline constexpr int start_unit = 11;       // fort.11 .. fort.15: S, G, D, P, T
inline constexpr int global_unit = 12;
inline constexpr int directory_unit = 13;
inline constexpr int parameter_unit = 14;
inline constexpr int terminate_unit = 15;
inline constexpr int entity_unit = 21;      // fort.21: one entity's parameter data
inline constexpr int record_len = 80;       // an IGES line
inline constexpr int name_len = 255;        // a file name answer

using Record = std::array<char, record_len>;
// A name past the field is cut, and never opened: the field names another file.
using FileName = textio::NameAnswer<name_len>;

// "fort.N", the name of a scratch unit's file.
std::string scratch_name(int unit);

// Creates the scratch file of unit empty (a leftover of an earlier run is
// never read); a failure ends the run. Access::scratch keeps a short-lived
// one in memory while it is open.
void create_scratch(int unit, textio::Access access = textio::Access::replace);

// Closes the section scratch files this run has open, deleting them.
void delete_store();

// One line of an open unit into the record (blank-padded or cut at 80);
// false at the end of the file, and for a section this run never created,
// which counts as empty.
bool read_section_line(int unit, Record& line);

// Opens the named file on unit, existing or new (its content replaced
// from the first write on); one that cannot be opened, a cut name too,
// ends the run, the message naming it as `what`.
void open_output(int unit, const FileName& name, std::string_view what);

// Menu option 1: asks for a file name until one opens (each refused with
// a line on standard error), reads the file into the store, or stops the
// program on a faulty file.
void readiges(Deinfo& d);

}  // namespace surfmesh
