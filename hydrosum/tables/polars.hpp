// What the polar tables (tabout) and the zone files (teczon) share: the
// induced-drag polar fit and its gathering over the converted store.
#pragma once

#include "hydrosum/input/store.hpp"

#include <span>
#include <vector>

namespace hydrosum {

// Every case of every run may meet one speed of the reference run.
inline constexpr int polar_points = nruns * ncases;
// At most one polar row per case of the reference run.
inline constexpr int polar_rows = ncases;

// Least-squares fit of drag = a0 + k * side^2; al0 is always 0 (the polar is
// symmetric about zero side force), tr = 1/sqrt(2 pi k) when k > 0.
struct PolarFit {
    float a0 = 0.0f;
    float k = 0.0f;
    float al0 = 0.0f;
    float tr = 0.0f;
};
PolarFit qpolar(std::span<const float> x, std::span<const float> y);

// The t0 pass (heel 1 only) needs 2 contributing runs, the tr pass 3.
enum class PolarPass { t0, tr };

// One fitted polar: the reference run's speed and heel, tr scaled by sqrt(SREF).
struct PolarRow {
    float speed = 0.0f;
    float heel = 0.0f;
    float a0 = 0.0f;
    float k = 0.0f;
    float al0 = 0.0f;
    float tr = 0.0f;
};

// The rows of one heel and pass of a class, in the order of run 1's cases.
std::vector<PolarRow> gather_polars(Store& st, RunClass<full_slots>& cls, int h, PolarPass pass);

// A heel and pass that gave rows, in the order both writers visit them.
struct PolarBlock {
    int heel = 0;
    PolarPass pass = PolarPass::tr;
    std::vector<PolarRow> rows;
};
std::vector<PolarBlock> class_polars(Store& st, RunClass<full_slots>& cls);

// rtr.tab and ktr.tab of the present classes, after the result tables.
void polar_tables(Store& st);

}  // namespace hydrosum
