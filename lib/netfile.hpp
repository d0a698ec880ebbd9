// Network files: a header record (counts, type code, title) and one point
// record per grid point, j outer and i inner.
#pragma once

#include <span>
#include <string_view>

namespace geom {

// How a read or write of a network file went. The kinds have a type of
// their own: an errno value (EPERM is 1) can never pass for one.
struct NetStatus {
    enum class Kind {
        done,
        open_refused,     // errno says why
        not_a_network,    // the file opened but holds no network readnet can take
        outside_arrays,   // writnet: the range to write lies outside the arrays
    };
    Kind kind = Kind::done;
    int errno_value = 0;   // open_refused only
    bool done() const { return kind == Kind::done; }
};

// Reads the first network of fname into x, y, z (leading dimension idim,
// jdim columns), or into the subblock i1..i2 x j1..j2 when iblock is set.
// The unit is closed on every return.
void readnet(int iunit, std::string_view fname, std::span<char> title, NetStatus& status, int iblock,
             std::span<float> x, std::span<float> y, std::span<float> z, int idim, int jdim, int& imax,
             int& jmax, int i1, int i2, int j1, int j2, int& klue);

// Writes the network (or, when iblock is set and the user answers y, the
// subblock) to fname, replacing its content; done also when the user
// answers n.
void writnet(int iunit, std::string_view fname, std::string_view title, NetStatus& status, int iblock,
             std::span<const float> x, std::span<const float> y, std::span<const float> z, int idim, int jdim,
             int imax, int jmax, int i1, int i2, int j1, int j2, int klue);

}  // namespace geom
