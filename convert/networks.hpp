// Every network of a network file held at once, as gridplot and meshdump
// read them: header sizes (and title), then the points in any layout of
// free-format numbers.
#pragma once

#include "convert/dialogue.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace convert {

inline constexpr int title_length = 60;   // header columns 21 to 80
using Title = std::array<char, title_length>;

struct Network {
    std::int32_t ni = 0;
    std::int32_t nj = 0;
    int start = 1;   // index (from 1) of its first point in the shared arrays
    Title title{};

    // Counts up to 99999 each: their product needs 64 bits.
    std::int64_t points() const { return std::int64_t{ni} * nj; }
};

// The networks of one file and all their points back to back, in reading
// order (j outer, i inner). Sized once, at the program's capacities.
struct NetworkStore {
    NetworkStore(int npatmx, int nptsmx);

    const int npatmx;   // networks
    const int nptsmx;   // points of all networks together
    int npat = 0;       // networks read
    std::vector<Network> nets;
    std::vector<float> x, y, z;

    Network& net(int k) { return nets[static_cast<std::size_t>(k - 1)]; }
    const Network& net(int k) const { return nets[static_cast<std::size_t>(k - 1)]; }
    std::span<const float> xs(const Network& n) const { return part(x, n); }
    std::span<const float> ys(const Network& n) const { return part(y, n); }
    std::span<const float> zs(const Network& n) const { return part(z, n); }

private:
    static std::span<const float> part(const std::vector<float>& v, const Network& n) {
        return {v.data() + (n.start - 1), static_cast<std::size_t>(n.points())};
    }
};

enum class HeaderLayout {
    sizes,             // "(2i5)": the rest of the header line is ignored
    sizes_and_title,   // "(2i5,10x,a)": the type code is skipped
};

// Opens the file named by the answer on unit (a missing file or a cut name
// ends the run naming it) and reads networks from it until its end; the file
// stays open.
// A network that would pass either capacity stops the run at its header,
// before any of its points, with " stopping because npat.gt.npatmx" or
// "... npts.gt.nptsmx".
// A negative count, a malformed number or an end of file inside the points
// ends the run through the text layer.
void read_network_file(int unit, const FileName& name, HeaderLayout layout, NetworkStore& st);

}  // namespace convert
