// foilcut and keelcut: one pass from the eight answers through the two
// networks, the storage plan, the panels and the search to the table and
// the strip.
#pragma once

#include "intersect/result.hpp"
#include "intersect/surfx.hpp"

#include <string_view>

namespace intersect {

struct Program {
    std::string_view name;
    bool dialogue;   // banner, questions and the size echo
    Rule rule;
    Output files;
};

inline constexpr Program foilcut{"foilcut", true, Rule::first_panel,
                                 {"foilcut.out", "foilcut.net", "bulb-wing intersection"}};
inline constexpr Program keelcut{"keelcut", false, Rule::least_residual,
                                 {"keelcut.out", "keelcut.net", "keel-bulb intersection"}};

void main_routine(const Program& program);

}  // namespace intersect
