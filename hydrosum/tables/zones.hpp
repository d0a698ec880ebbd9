// The two writers of a Tecplot zone file, one zone per file, on the output unit.
#pragma once

#include "hydrosum/input/store.hpp"
#include "hydrosum/tables/polars.hpp"

#include <span>

namespace hydrosum {

// Result variables of one run's cases. The title, file name and zone name
// are fixed-length fields read up to their last non-blank character; sref
// chooses the descriptors.
void zone1(const Run& run, std::span<const char> title, std::span<const char> file_name,
           std::span<const char> zone_name, float sref);

// Polar coefficients, one row per polar of one heel and pass.
void zone2(std::span<const PolarRow> rows, std::span<const char> title, std::span<const char> file_name,
           std::span<const char> zone_name);

}  // namespace hydrosum
