// Network files: a header record (counts, type code, title) and one point
// record per grid point, j outer and i inner.
#pragma once

#include <span>
#include <string_view>

namespace geom {

// readnet's ierr for a file that opened but holds no network it can take
// (a failed open gives the text layer's status instead).
inline constexpr int not_a_network = 1;

// Reads the first network of fname into x, y, z (leading dimension idim,
// jdim columns), or into the subblock i1..i2 x j1..j2 when iblock is set.
// ierr = 0 on success; the unit is closed on every return.
void readnet(int iunit, std::string_view fname, std::span<char> title, int& ierr, int iblock,
             std::span<float> x, std::span<float> y, std::span<float> z, int idim, int jdim, int& imax,
             int& jmax, int i1, int i2, int j1, int j2, int& klue);

// Writes the network (or, when iblock is set and the user answers y, the
// subblock) to fname, replacing its content. ierr = 0 on success.
void writnet(int iunit, std::string_view fname, std::string_view title, int& ierr, int iblock,
             std::span<const float> x, std::span<const float> y, std::span<const float> z, int idim, int jdim,
             int imax, int jmax, int i1, int i2, int j1, int j2, int klue);

}  // namespace geom
