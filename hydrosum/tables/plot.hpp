// What the plot tables (tabplt) and the velocity-prediction tables (tabvpp)
// share: the column header line, the S-TOTAL sum, and the comparison of
// each row with the previous version of its table, "<name>.old".
#pragma once

#include "hydrosum/input/store.hpp"
#include "hydrosum/tables/frame.hpp"
#include "textio/statement.hpp"

#include <array>
#include <string>
#include <string_view>

namespace hydrosum {

// 225 characters: every header word right-aligned over its column.
inline constexpr Pieces plot_header = {
    "  VEL HEEL  YAW  RUD  TAB", "    AD-INV    AD-TOT    SIDE-F     V-CLR     L-CLR",
    "      SINK      TRIM    L-HULL    S-HULL   S-TOTAL", "   ADV-TOT   ADV-HLL   ADV-APP   ADV-FIN   ADV-BLB",
    "   ADV-WNG   ADV-RUD  SIDE-F^2    ADIRAT    ADTRAT"};

// S-TOTAL: the wetted areas of hull, keel, bulb, rudder, wing and frud, in
// that order (the fourth area, slot 11, is not part of it).
inline float plot_wetted(const Run& run, int i) {
    using namespace frame;
    static constexpr std::array<int, 6> slots = {hull_area, keel_area, bulb_area, rudder_area, wing_area, frud_area};
    return slot_sum(run, i, slots);
}

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
