// Column-major arrays with 1-based indices, as the network routines see them.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace geom {

// A strided 2-D view: point (i, j) at base[(i-1) + (j-1)*ld].  A view may
// start inside a larger array (a subblock keeps the array's leading dimension).
class Grid {
public:
    Grid(float* base, int ld) : base_(base), ld_(ld) {}
    float& operator()(int i, int j) const {
        return base_[static_cast<std::ptrdiff_t>(i - 1) + static_cast<std::ptrdiff_t>(j - 1) * ld_];
    }
    // The view whose (1, 1) is this view's (i, j).
    Grid at(int i, int j) const { return Grid(&(*this)(i, j), ld_); }
    int ld() const { return ld_; }
    float* data() const { return base_; }

private:
    float* base_;
    int ld_;
};

// A 1-based view of a vector: v(k) is element k.
class Vec {
public:
    Vec(float* base) : base_(base) {}
    Vec(std::span<float> s) : base_(s.data()) {}
    float& operator()(int k) const { return base_[k - 1]; }
    float* data() const { return base_; }

private:
    float* base_;
};

}  // namespace geom
