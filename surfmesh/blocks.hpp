// surfmesh's shared state: the directory entry table of the IGES file read
// last, the mesh specification table, and the surface in work with its mesh.
// main owns one of each and hands them to the commands.
#pragma once

#include "lib/grid.hpp"

#include <array>
#include <cstddef>
#include <cstdint>

namespace surfmesh {

// A fixed array seen with 1-based indices, as the tables are numbered.
// Not cleared when made: the blocks start as zeros where main makes them,
// and no table is read beyond what was written to it.
template <class T, std::size_t N>
struct Array1 {
    std::array<T, N> a;
    T& operator()(int k) { return a[static_cast<std::size_t>(k - 1)]; }
    const T& operator()(int k) const { return a[static_cast<std::size_t>(k - 1)]; }
};

// ---------------------------------------------------------------- deinfo

inline constexpr int maxent = 5000;     // directory entries a file may hold
inline constexpr int label_len = 8;
inline constexpr int nfields = 15;      // integer fields per entry

// Field numbers of a directory entry (1-based, in the file's order).
enum Field : int {
    f_type = 1, f_pointer, f_structure, f_font, f_level, f_view, f_matrix, f_labeldisp, f_status,
    f_sequence, f_weight, f_color, f_lines, f_form, f_subscript
};

using Label = std::array<char, label_len>;

struct Deinfo {
    std::int32_t ient = 0;   // entries 1..ient are this file's; the rest are stale
    Array1<std::array<std::int32_t, nfields>, maxent> fields;
    Array1<Label, maxent> label;
    // Where an entry's parameter lines start in fort.14: the byte offset of
    // the line its pointer names, found while the section is copied; -1
    // when the section does not hold that line.
    Array1<std::int64_t, maxent> parameter_at;
    // The entries ordered by type, those of one type in table order, as the
    // directory is read: where the commands find the rel-th entity of a type.
    Array1<int, maxent> by_type;

    std::int32_t& field(int e, Field f) { return fields(e)[static_cast<std::size_t>(f - 1)]; }
    std::int32_t field(int e, Field f) const { return fields(e)[static_cast<std::size_t>(f - 1)]; }
    std::int32_t type(int e) const { return field(e, f_type); }
};

// ---------------------------------------------------- ispecs, rspecs, cspecs

inline constexpr int ioutmx = 5000;     // mesh specifications of one command
inline constexpr int title_len = 60;

using Ints = Array1<std::int32_t, ioutmx>;
using Reals = Array1<float, ioutmx>;
using Title = std::array<char, title_len>;

struct Ispecs {
    std::int32_t iyzflp = 0, iopt = 0, ipts = 0, jpts = 0;
    Ints irel, iflip, jflip, ijflip, inum, ndegi, jnum, ndegj, irefit, jrefit, i1clos, i2clos, j1clos, j2clos;
};

struct Rspecs {
    float xscale = 0.0f, yscale = 0.0f, zscale = 0.0f;
    Reals d1i1, d1i2, d2i1, d2i2, d1j1, d1j2, d2j1, d2j2;
};

struct Cspecs {
    Array1<Title, ioutmx> title;
};

// ---------------------------------------------------------------- meshes

inline constexpr int kk = 481;                  // largest k1, k2
inline constexpr int mm = 8;                    // largest degree m1, m2
inline constexpr int ncmax = kk + 1;            // control points a direction
inline constexpr int nkmax = kk + 2 * mm + 1;   // room for the knots a direction
inline constexpr int mdim = 17;                 // mesh points a direction
inline constexpr int nwork = 9;                 // bvalue work arrays: order 9 at most

using Knots = std::array<float, nkmax>;
using Net = std::array<float, static_cast<std::size_t>(ncmax) * ncmax>;
using MeshPlane = std::array<float, mdim * mdim>;
using Line = std::array<float, mdim>;

// bvalue's triangle, and the start of interv's next search.
struct BvalueWork {
    std::array<float, nwork> coef{};
    int ilo = 1;
};

// The counts and ranges of the surface in work.
struct Surface {
    std::int32_t itype = 0, k1 = 0, k2 = 0, m1 = 0, m2 = 0;
    std::array<std::int32_t, 5> prop{};   // PROP1..PROP5
    int ncu = 0, ncv = 0, nks = 0, nkt = 0;
    float u0 = 0.0f, u1 = 0.0f, v0 = 0.0f, v1 = 0.0f;
    // S(1)+S(nks) and T(1)+T(nkt) as loaded, in the file's u and v: a flip
    // takes a parameter p to this sum minus p.
    float u_mirror = 0.0f, v_mirror = 0.0f;
    // Both knot sequences nondecreasing, as transformed: a knot interval
    // search then finds the same interval from any start.
    bool knots_in_order = false;
};

// The values of a control row at one v, side by side in this order: the
// weight sum, then the weighted x, y and z. A point's value has the same lanes.
namespace lane {
inline constexpr int weight = 0, wx = 1, wy = 2, wz = 3;
inline constexpr int count = 4;
}  // namespace lane

// The rows at one v, as far as the mesh points have needed them: a row of
// a point's u span that is known at the same v is not evaluated again.
struct RowsAtV {
    std::uint32_t v_bits = 0;          // the v, bit for bit
    int generation = 0;                // 0 before the first; a new v or a clear starts the next
    std::array<int, ncmax> stamp{};    // row r is known when stamp[r - 1] == generation
    std::array<float, lane::count * static_cast<std::size_t>(ncmax)> value;   // row r's lanes from count*(r-1) on

    bool known(int r) const { return stamp[static_cast<std::size_t>(r - 1)] == generation; }
    float* row(int r) { return &value[static_cast<std::size_t>((r - 1) * lane::count)]; }
    // No row known any more: for a control net set anew.
    void clear() { ++generation; }
};

struct Meshes {
    MeshPlane x{}, y{}, z{};   // the mesh, first index i
    Line si{}, sj{};
    Knots S{}, T{};
    Net W, X, Y, Z;            // first index along u (not cleared, as Array1)
    std::array<float, ncmax> bcw{}, bcu{}, bcp{};
    BvalueWork bw;
    std::array<float, static_cast<std::size_t>(ncmax) * nkmax> wk;
    Line xl{}, yl{}, zl{}, sl{}, tl{};
    MeshPlane uu{}, vv{};
    Line pl{}, pn{};
    Surface surf;
    RowsAtV rows;

    static geom::Grid net(Net& a) { return geom::Grid(a.data(), ncmax); }
    static geom::Grid plane(MeshPlane& a) { return geom::Grid(a.data(), mdim); }
};

// ---------------------------------------------------------------- curves

inline constexpr int kkc = 1001;                  // largest kc of a trimming curve segment
inline constexpr int mmc = 8;                     // largest degree mc
inline constexpr int maxseg = 8;                  // segments of a compound curve
inline constexpr int nccmax = kkc + 1;            // control points of a segment
inline constexpr int nckmax = kkc + 2 * mmc + 1;  // room for its knots

using CurveArray = std::array<float, nccmax>;

// The outer trimming boundary in work: one segment at a time and its
// samples carried onto the surface.
struct Curves {
    Array1<std::int32_t, maxseg> iseg;   // the compound curve's segment pointers
    Line cx{}, cy{}, cz{}, tc{};         // cx, cy: surface u, v, then the point's x, y
    std::array<float, nckmax> sc{};
    CurveArray wc{}, xcc{}, ycc{}, zcc{}, wkc{};
    BvalueWork bw;
    Line uc{};                           // curve parameters of the samples
};

// Everything a command may touch.
struct Blocks {
    Deinfo deinfo;
    Ispecs ispecs;
    Rspecs rspecs;
    Cspecs cspecs;
    Meshes meshes;
    Curves curves;
};

}  // namespace surfmesh
