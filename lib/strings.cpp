#include "strings.hpp"

#include <algorithm>

namespace geom {

void blank(std::span<char> c, int n) {
    if (n <= 0) return;
    std::size_t k = std::min(static_cast<std::size_t>(n), c.size());
    std::fill_n(c.begin(), k, ' ');
}

int lenchr(std::string_view str) {
    // only the blank itself counts: NUL and tab are characters
    for (std::size_t k = str.size(); k > 0; --k)
        if (str[k - 1] != ' ') return static_cast<int>(k);
    return 0;
}

}  // namespace geom
