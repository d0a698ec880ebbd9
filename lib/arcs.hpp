// Arc lengths along a point sequence and piecewise-linear interpolation.
#pragma once

#include "lib/grid.hpp"

namespace geom {

// Chordal arc lengths: s(1) = 0, s(k) = s(k-1) + |P(k) - P(k-1)|.
void arc3(Vec x, Vec y, Vec z, Vec s, int n);

// s divided by s(n), unless s(n) is 0.
void arcn(Vec s, int n);

// Arc lengths along the circles through consecutive point triples (chords
// where a triple is collinear).  Note the count comes first.
void arcxyz(int n, Vec x, Vec y, Vec z, Vec s);

// yi(m) = the table (x, y) at xi(m); outside the table the end segment is
// extended (the rule of geom::interp).
void intrp1(Vec x, Vec y, int n, Vec xi, Vec yi, int ni);

// intrp1 for three ordinate arrays with one search per output point.
void intrp3(Vec x, Vec y1, Vec y2, Vec y3, int n, Vec xi, Vec y1i, Vec y2i, Vec y3i, int ni);

}  // namespace geom
