// Points and differences of a grid block as 3-vectors.  Every operator works
// component by component in single precision, so an expression written with
// them rounds exactly like the same expression written out for x, y and z.
#pragma once

#include "lib/grid.hpp"

#include <cmath>

namespace appgrid {

struct V3 {
    float x, y, z;
};

inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(float s, V3 a) { return {s * a.x, s * a.y, s * a.z}; }
inline float dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline float norm(V3 a) { return std::sqrt(dot(a, a)); }
inline V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

// The x, y, z arrays of a block read and written as points.
struct Points {
    geom::Grid x, y, z;
    V3 operator()(int i, int j) const { return {x(i, j), y(i, j), z(i, j)}; }
    void set(int i, int j, V3 p) const {
        x(i, j) = p.x;
        y(i, j) = p.y;
        z(i, j) = p.z;
    }
};

// One boundary line of a block: point k of the line on layer 0, and the
// matching points of the lines 1 and 2 steps into the block on layers 1, 2.
struct Boundary {
    Points r;
    bool row;    // a row j = first, else a column i = first
    int first;   // the boundary's own row or column
    int d;       // +1 at the first line of a family, -1 at the last
    V3 operator()(int k, int layer) const {
        const int across = first + d * layer;
        return row ? r(k, across) : r(across, k);
    }
};

}  // namespace appgrid
