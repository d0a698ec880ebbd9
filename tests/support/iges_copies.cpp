#include "iges_copies.hpp"

#include <charconv>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <vector>

namespace test_support {

namespace {

constexpr std::size_t columns = 80, letter_col = 72, data_cols = 64;

// The lines of a file, each cut or padded to 80 columns (a CR before the
// newline dropped).
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> out;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t nl = text.find('\n', at);
        if (nl == std::string::npos) nl = text.size();
        std::string l = text.substr(at, nl - at);
        if (!l.empty() && l.back() == '\r') l.pop_back();
        l.resize(columns, ' ');
        out.push_back(std::move(l));
        at = nl + 1;
    }
    return out;
}

long field(const std::string& line, std::size_t from, std::size_t width) {
    return std::strtol(line.substr(from, width).c_str(), nullptr, 10);
}

// v right-aligned in `width` columns, or wider when it needs more.
std::string number(std::size_t width, long v) {
    char b[std::numeric_limits<long>::digits10 + 2];   // every digit of a long and its sign
    const std::string digits(b, std::to_chars(b, b + sizeof b, v).ptr);
    return std::string(width > digits.size() ? width - digits.size() : 0, ' ') + digits;
}

}  // namespace

IgesCopies iges_surface_copies(const std::string& iges, int copies) {
    std::vector<std::string> start, global, directory, parameter;
    for (std::string& l : lines_of(iges)) {
        switch (l[letter_col]) {
        case 'S': start.push_back(std::move(l)); break;
        case 'G': global.push_back(std::move(l)); break;
        case 'D': directory.push_back(std::move(l)); break;
        case 'P': parameter.push_back(std::move(l)); break;
        default: break;
        }
    }
    struct Surface {
        const std::string *first, *second;
        std::size_t from, count;   // its parameter lines
    };
    std::vector<Surface> surfaces;
    for (std::size_t k = 0; k + 1 < directory.size(); k += 2) {
        const std::string& a = directory[k];
        const std::string& b = directory[k + 1];
        if (field(a, 0, 8) != 128) continue;
        const long pointer = field(a, 8, 8), count = field(b, 24, 8);
        if (pointer < 1 || count < 0 || static_cast<std::size_t>(pointer - 1 + count) > parameter.size()) continue;
        surfaces.push_back({&a, &b, static_cast<std::size_t>(pointer - 1), static_cast<std::size_t>(count)});
    }

    IgesCopies out;
    out.surfaces = static_cast<int>(surfaces.size());
    std::string& t = out.text;
    for (const std::vector<std::string>* section : {&start, &global})
        for (const std::string& l : *section) t += l + "\n";
    long entry = 0, pline = 0;
    std::string plines;
    for (int c = 0; c < copies; ++c)
        for (const Surface& s : surfaces) {
            const long seq = 2 * entry + 1;
            t += s.first->substr(0, 8) + number(8, pline + 1) + s.first->substr(16, letter_col - 16) + "D" +
                 number(7, seq) + "\n";
            t += s.second->substr(0, letter_col) + "D" + number(7, seq + 1) + "\n";
            for (std::size_t k = 0; k < s.count; ++k)
                plines += parameter[s.from + k].substr(0, data_cols) + number(8, seq) + "P" +
                          number(7, ++pline) + "\n";
            ++entry;
        }
    t += plines;
    t += "S" + number(7, static_cast<long>(start.size())) + "G" + number(7, static_cast<long>(global.size())) +
         "D" + number(7, 2 * entry) + "P" + number(7, pline) + std::string(40, ' ') + "T      1\n";
    return out;
}

}  // namespace test_support
