// Edit-descriptor formats such as "(2i5,10x,a)", parsed once into a flat
// list of descriptors with the reversion point of the format.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace textio {

struct Desc {
    enum Kind { I, F, E, A, X, Slash, Dollar, P };
    Kind kind;
    int w = 0;   // field width; -1 for A without width; count for X; factor for P
    int d = 0;   // digits after the point for F and E

    bool is_data() const { return kind == I || kind == F || kind == E || kind == A; }
};

class Format {
public:
    // Accepts I, F, E, A, X, /, $, kP, repeat counts and one level of groups;
    // anything else throws std::invalid_argument naming the format.
    explicit Format(std::string_view text);

    const std::string& text() const { return text_; }
    const std::vector<Desc>& descs() const { return descs_; }
    std::size_t reversion() const { return reversion_; }
    bool has_data() const { return has_data_; }

private:
    std::string text_;
    std::vector<Desc> descs_;
    std::size_t reversion_ = 0;   // where the format restarts when items outlast it
    bool has_data_ = false;
};

// The parsed format for a text; parsed on first use and kept for the run.
const Format& fmt(std::string_view text);

}  // namespace textio
