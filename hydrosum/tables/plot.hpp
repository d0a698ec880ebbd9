// What the plot tables (tabplt) and the velocity-prediction tables (tabvpp)
// share: the column header line, the preamble, and the comparison of each
// row with the previous version of its table, "<name>.old".
#pragma once

#include "hydrosum/input/store.hpp"
#include "textio/statement.hpp"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace hydrosum {

using PlotPieces = std::array<std::string_view, 5>;

// 225 characters: every header word right-aligned over its column.
inline constexpr PlotPieces plot_header = {
    "  VEL HEEL  YAW  RUD  TAB", "    AD-INV    AD-TOT    SIDE-F     V-CLR     L-CLR",
    "      SINK      TRIM    L-HULL    S-HULL   S-TOTAL", "   ADV-TOT   ADV-HLL   ADV-APP   ADV-FIN   ADV-BLB",
    "   ADV-WNG   ADV-RUD  SIDE-F^2    ADIRAT    ADTRAT"};

// S-TOTAL: the wetted areas of hull, keel, bulb, rudder, wing and frud, in
// that order (the fourth area, slot 11, is not part of it).
inline float plot_wetted(const Run& run, int i) {
    return ((((run.s(i, 8) + run.s(i, 9)) + run.s(i, 10)) + run.s(i, 12)) + run.s(i, 13)) + run.s(i, 14);
}

// Four empty lines, the stamp, an empty line, the header line and the units
// line (8 lines) on the output unit.
void plot_preamble(std::span<const char> stamp, const PlotPieces& units);

// The previous version's record with a blank put before every sign that
// directly follows a digit or a point: a value that fills its field touches
// the one before it (" 20.0-10.0"), and tables hold no exponents.
std::string split_touching(std::string_view record);

// Ends the run on a failed read; what the output unit holds so far is
// flushed first, so a partial table stays on disk.
[[noreturn]] void end_run_keeping_table(const textio::Result& failed);

// ADIRAT and ADTRAT of one row.
struct Ratios {
    float inviscid = 1.0f;
    float total = 1.0f;
};

// The previous table, read line for line alongside the table being written.
// Comparing is on exactly when "<table>.old" opened; a previous table that
// ends early or holds a malformed number ends the run with a Failure naming
// it, after the lines written so far are flushed to the table's file.
class PreviousTable {
public:
    explicit PreviousTable(std::string_view table_name);
    // Reads and discards lines (nothing when comparing is off).
    void skip(int lines);
    // Reads the next previous row and gives the ratios of a row with this
    // speed, heel and drag areas: 1.0 when off, and on a test-matrix mismatch
    // (reported on standard output). No resynchronisation: every call reads on.
    Ratios compare(float speed, float heel, float inviscid, float total);
    void close();

private:
    std::string name_;
    bool on_ = false;
};

}  // namespace hydrosum
