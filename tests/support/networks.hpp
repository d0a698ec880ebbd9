#pragma once

// Network files read back for checks: every network of a file's text, the
// header's counts and title and the points in any free-format layout.

#include <optional>
#include <string>
#include <vector>

namespace test_support {

struct Point {
    double x = 0, y = 0, z = 0;
};

struct Network {
    int ni = 0, nj = 0;
    std::string title;        // from column 21, trailing blanks dropped
    std::vector<Point> p;     // i fastest
    const Point& at(int i, int j) const { return p[static_cast<std::size_t>((i - 1) + (j - 1) * ni)]; }
};

// The networks of a network file's text, or nullopt when a header's counts
// cannot be read or the points run out. A network of no points takes one
// line after its header, as the suite's readers do.
std::optional<std::vector<Network>> parse_networks(const std::string& text);

}  // namespace test_support
