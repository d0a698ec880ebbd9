#include "lib/strings.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

TEST(Lenchr, OnlyTheBlankIsTrailing) {
    struct Case {
        const char* what;
        std::string text;
        int expected;
    };
    const Case cases[] = {
        {"empty", "", 0},
        {"all blanks", "      ", 0},
        {"letters then blanks", "abc   ", 3},
        {"no blanks", "abc", 3},
        {"leading blanks count", "  abc  ", 5},
        {"single letter", "x", 1},
        {"NULs are characters", std::string(60, '\0'), 60},
        {"NUL before blanks", "ab\0  "s, 3},
        {"tab is a character", "ab\t  ", 3},
        {"tab alone", "\t", 1},
        {"blank inside", "a b   ", 3},
    };
    for (const Case& c : cases) EXPECT_EQ(geom::lenchr(c.text), c.expected) << c.what;
}

TEST(Blank, FillsTheFirstNCharacters) {
    struct Case {
        int n;
        std::string expected;
    };
    const Case cases[] = {
        {-5, "abcdef"}, {-1, "abcdef"}, {0, "abcdef"}, {1, " bcdef"}, {3, "   def"}, {6, "      "},
    };
    for (const Case& c : cases) {
        std::string s = "abcdef";
        geom::blank(s, c.n);
        EXPECT_EQ(s, c.expected) << "n = " << c.n;
    }
}

}  // namespace
