// Shared by the appgrid kernel tests: arrays of exactly the block's size (so
// that a read or write beyond the block trips the sanitizers), grid blocks
// made from a formula, and the stand-in for slots a kernel must not touch.
#pragma once

#include "appgrid/vec3.hpp"
#include "lib/grid.hpp"

#include <cstddef>
#include <vector>

namespace appgrid_test {

// Stands in every slot a routine must not touch.
constexpr float kUntouched = -777.0f;

// A column-major ld x cols array, indexed from 1.
struct Field {
    int ld, cols;
    std::vector<float> v;
    Field(int ld_, int cols_, float fill = kUntouched)
        : ld(ld_), cols(cols_), v(static_cast<std::size_t>(ld_ > 0 ? ld_ : 0) * (cols_ > 0 ? cols_ : 0), fill) {}
    geom::Grid g() { return {v.data(), ld}; }
    float& operator()(int i, int j) { return v[static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * ld]; }
};

// The points of an im x jm block.
struct Block {
    int im, jm;
    Field x, y, z;
    // p(i, j) gives point (i, j)
    template <typename F>
    Block(int im_, int jm_, F p) : im(im_), jm(jm_), x(im_, jm_), y(im_, jm_), z(im_, jm_) {
        for (int j = 1; j <= jm; ++j)
            for (int i = 1; i <= im; ++i) {
                const appgrid::V3 r = p(i, j);
                x(i, j) = r.x;
                y(i, j) = r.y;
                z(i, j) = r.z;
            }
    }
    appgrid::V3 operator()(int i, int j) { return {x(i, j), y(i, j), z(i, j)}; }
};

// Per-boundary arrays of a block: rows 1 and jm (im x 2), columns 1 and im (jm x 2).
struct Sides {
    Field row, col;
    Sides(int im, int jm, float fill = kUntouched) : row(im, 2, fill), col(jm, 2, fill) {}
};

}  // namespace appgrid_test
