// The intersection table (one record per source station, positions back
// in file orientation) and the strip network that holds the cut curve twice.
#pragma once

#include "intersect/oriented.hpp"
#include "intersect/surfx.hpp"

#include <string_view>

namespace intersect {

// What one program calls its two files and the strip.
struct Output {
    std::string_view table;   // e.g. "foilcut.out"
    std::string_view strip;   // e.g. "foilcut.net"
    std::string_view title;   // the strip's title
};

// Sizes in memory orientation and the four specs as validated and folded.
void result(int ms, int ns, const Spec& dxs, const Spec& des, int mt, int nt, const Spec& dxt, const Spec& det,
            const Cuts& c, const Output& files);

}  // namespace intersect
