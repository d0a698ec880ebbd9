// The network editor's whole state: one network, its subblock, the
// working range of the current command and the work arrays.
#pragma once

#include "lib/grid.hpp"

#include <array>
#include <cstdint>

namespace gridedit {

inline constexpr int idim = 481;       // points in i the arrays hold
inline constexpr int jdim = 481;       // points in j
inline constexpr int nwork = 13;       // work arrays lent to the operations
inline constexpr int work_len = 483;   // a grid line plus two
inline constexpr int title_len = 60;
inline constexpr int name_len = 80;
inline constexpr int word_len = 10;

using Plane = std::array<float, static_cast<std::size_t>(idim) * jdim>;
using WorkArrays = std::array<std::array<float, work_len>, nwork>;

struct Network {
    Plane x{}, y{}, z{};
    std::int32_t imax = 0, jmax = 0;
    std::array<char, title_len> title{};   // starts as NULs, not blanks
    std::int32_t klue = 0;

    geom::Grid gx() { return geom::Grid(x.data(), idim); }
    geom::Grid gy() { return geom::Grid(y.data(), idim); }
    geom::Grid gz() { return geom::Grid(z.data(), idim); }
};

// Numbers typed at the questions keep their values from one command to the
// next, so a null answer (",") leaves the previous one in place.
struct Answers {
    std::int32_t inew = 0, jnew = 0;
    std::int32_t a = 0, b = 0, c = 0, d = 0;
    std::int32_t klue = 0;
};

struct Editor {
    Network net;
    Network scratch;   // input reads here first, so a failed read changes nothing
    std::int32_t iblock = 0;
    std::int32_t i1 = 0, i2 = 0, j1 = 0, j2 = 0;
    // working range of the current command
    int ib1 = 0, ib2 = 0, jb1 = 0, jb2 = 0, nsub = 0, msub = 0;
    WorkArrays work{};
    Answers ans;

    void set_working_range();
};

}  // namespace gridedit
