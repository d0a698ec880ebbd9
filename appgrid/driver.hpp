// appgrid's one pass: the answers and the parameter deck, the input
// networks and intersection tables, the trimming of keel and wing at the
// bulb, the layout of the new bulb's boundaries in the old bulb's index
// space, and the smoothing and writing of its two halves.
//
// Everything the pass keeps lives in the structs below, owned by
// main_routine and handed down by reference.
#pragma once

#include "appgrid/control.hpp"
#include "lib/grid.hpp"
#include "textio/answers.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace appgrid {

// Capacities: points per row x rows.
constexpr int kKeelI = 17, kKeelJ = 9;
constexpr int kBulbI = 17, kBulbJ = 9;
constexpr int kWingI = 33, kWingJ = 9;
constexpr int kOutI = 30, kOutJ = 10;
// The least the pass can work with: the trimming needs three stations, the
// layout a cell of the old bulb, the smoothing blocks three points each way.
constexpr int kMinBulbI = 2, kMinBulbJ = 2;
constexpr int kMinFoilI = 3, kMinFoilJ = 1;
constexpr int kMinOutI = 4, kMinOutJ = 5;

// File names and network titles.
constexpr int kTextLen = 80;
using Text = std::array<char, kTextLen>;
using Name = textio::NameAnswer<kTextLen>;

// The units of the pass: inputs are read on 1, outputs written on 2.
constexpr int kInUnit = 1;
constexpr int kOutUnit = 2;

enum Part { keel, bulb, wing };
constexpr std::array<std::string_view, 3> kPartWords = {"keel", "bulb", "wing"};

// Text up to its last non-blank character.
std::string_view trimmed(const Text& t);
// A name as the messages give it: trimmed, and "..." after a cut one.
std::string shown(const Name& name);

// The answers: which parts take part, and the six file names.
struct Answers {
    std::array<bool, 3> on{};
    std::array<Name, 3> input{}, output{};
};

// The parameter deck (read only with the bulb on).
struct Deck {
    std::int32_t imo = 0, jmo = 0;
    std::int32_t niter1 = 0;
    float omega1 = 0.0f;
    std::int32_t niter2 = 0;
    float omega2 = 0.0f, ra = 0.0f, rb = 0.0f;   // ra, rb may be replaced by the update's defaults
    std::array<std::int32_t, 12> switches{};     // 1-4: update switches of row 1, row jm, column 1, column im
    std::array<float, 12> decay{};               // 1-4: update decay lengths; 5-12: target decay lengths
    std::array<std::int32_t, 8> exponents{};     // pairs per boundary
    std::int32_t ikle = 0, ikte = 0;             // keel edges on the output's row 1
    std::int32_t iwle = 0, iwte = 0;             // wing edges on the output's middle row
};

// One input network at its part's capacity.
template <int I, int J>
struct Network {
    std::int32_t ni = 0, nj = 0;
    Text title{};
    std::array<float, I * J> x{}, y{}, z{};
    geom::Grid gx() { return {x.data(), I}; }
    geom::Grid gy() { return {y.data(), I}; }
    geom::Grid gz() { return {z.data(), I}; }
};
using KeelNet = Network<kKeelI, kKeelJ>;
using BulbNet = Network<kBulbI, kBulbJ>;
using WingNet = Network<kWingI, kWingJ>;

// The columns of an intersection table, in the table's order.
enum Column { xint, yint, zint, xsis, etas, xsit, etat };
constexpr int kColumns = 7;

// One intersection table, a record per station of the appendage's rows;
// after the trimming the appendage's root curve on the bulb.
struct CutCurve {
    int n = 0;
    std::array<std::int32_t, kWingI> iint{};
    std::array<std::array<float, kWingI>, kColumns> col{};
    float& at(Column c, int k) { return col[c][static_cast<std::size_t>(k - 1)]; }
    float at(Column c, int k) const { return col[c][static_cast<std::size_t>(k - 1)]; }
    geom::Vec v(Column c) { return geom::Vec(col[c].data()); }
};

// The generated bulb and everything its smoothing works on.  Row arrays
// (along i) have leading dimension kOutI, column arrays kOutJ.
struct OutGrid {
    using Field = std::array<float, kOutI * kOutJ>;
    using Rows = std::array<float, kOutI * 2>;
    using Cols = std::array<float, kOutJ * 2>;
    Field u{}, v{}, x{}, y{}, z{}, phi{}, psi{}, phi_ref{}, psi_ref{};
    Rows s{}, angle_row{}, space_row{}, phi_row{}, psi_row{};
    Cols t{}, angle_col{}, space_col{}, phi_col{}, psi_col{};
    PhipsiState phipsi_state;

    static geom::Grid at(Field& f, int i, int j) { return geom::Grid(f.data(), kOutI).at(i, j); }
};

// Sizes of the pass.
struct Sizes {
    int imi = 0, jmi = 0, jmih = 0;
    int imo = 0, jmo = 0, jmoh = 0;
};

// What the whole pass holds.
struct Run {
    Answers ans;
    Deck deck;
    KeelNet keel_net;
    BulbNet bulb_net;
    WingNet wing_net;
    CutCurve keel_cut, wing_cut;   // the root curves once trimmed
    BulbNet surface;               // the working surface: the bulb as read
    Sizes size;
    OutGrid grid;
};

// Writes the line and stops the run (exit status 0).
[[noreturn]] void stop_with(std::string_view message);

// --- the stages, in the order of the pass -----------------------------

// Input names, part switches, output names; the deck when the bulb is on;
// then the check that the bulb and at least one appendage take part.
void read_answers(Answers& ans, Deck& deck);

// The input networks of the parts that are on: keel, bulb, wing.
void read_networks(Run& run);

// The intersection tables, then the trimmed keel and wing written (the
// wing twice: as cut, and aligned at its leading edge).
void trim(Run& run);

// The output size checks and the two size lines.
void check_output(Run& run);

// The new bulb: boundary layout, smoothing and writing of each half.
void generate_bulb(Run& run);

void main_routine();

// --- pieces the stages share ----------------------------------------

// Opens a network file for writing on the output unit, replacing a file of
// that name; a name that cannot be opened ends the run naming it (a cut
// name never comes here: it is refused with the inputs).
void open_output(const Name& name);
// The header "(2i5,10x,a)": sizes and title, no type code.
void write_header(int ni, int nj, const Text& title);
// One point "(3e16.8)".
void write_point(float x, float y, float z);

}  // namespace appgrid
