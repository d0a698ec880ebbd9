// Control deck and run road of the driver.
//
// The control deck read in-process from a temporary standard input.
#include "unit_fixtures.hpp"

#include "hydrosum/input/steps.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

namespace hydrosum {
namespace {

namespace fs = std::filesystem;

// Lines 1-8; each data line after a label line that looks like data.
std::string deck_to_line8(const std::string& line8) {
    return "title 1 2 3\n"
           "Keel study 7\n"
           "2 speed factors, viscosity, density, scale\n"
           "0.5 1.25 1.5e-3 1025.0 8.0\n"
           "3 aux\n"
           "6.0 7.0 8.0 9.0\n"
           "4 hydro\n"
           "10.0 11.0 12.0 13.0\n"
           "5 viscous\n"
           "14.0 15.0 16.0 17.0\n"
           "6 inviscid\n"
           "19.0 20.0 21.0 22.0\n"
           "7 reference\n"
           "23.0 24.0 25.0 26.0\n"
           "8 switches\n" +
           line8 + "\n";
}

class Deck : public hydrosum_test::StdioTest {
protected:
    void SetUp() override {
        StdioTest::SetUp();
        st = std::make_unique<Store>();
    }

    // The record read next from standard input: where the deck reading stopped.
    std::string next_line() {
        std::array<char, 40> line{};
        EXPECT_TRUE(textio::read(textio::stdin_unit, "(a)", line));
        std::string s(line.data(), line.size());
        return s.substr(0, s.find_last_not_of(' ') + 1);
    }

    std::unique_ptr<Store> st;
};

TEST_F(Deck, EveryLineLandsInItsPlace) {
    st->c(18) = 42.5f;   // not on the deck
    // line 2 spread over three lines; the rest of its last line is ignored
    std::string deck = deck_to_line8("1 -2 3 4 5 junk");
    deck.replace(deck.find("0.5 1.25 1.5e-3 1025.0 8.0"), 26, "0.5\n1.25,\n 1.5e-3 1025.0 8.0 99 junk");
    input(deck + "9 induced drag\n12.5 0.75 0.875\ncomponent block\n");
    read_deck(*st);

    const float want[30] = {0,    0.5f, 1.25f, 1.5e-3f, 1025.0f, 8.0f,  6.0f,  7.0f,  8.0f,  9.0f,
                            10.0f, 11.0f, 12.0f, 13.0f, 14.0f,   15.0f, 16.0f, 17.0f, 42.5f, 19.0f,
                            20.0f, 21.0f, 22.0f, 23.0f, 24.0f,   25.0f, 26.0f, 12.5f, 0.75f, 0.875f};
    for (int k = 1; k <= 29; ++k) EXPECT_EQ(st->c(k), want[k]) << "c" << k;
    // hydrostatics, viscous mode, leakage, at-rest, surfing rudder
    EXPECT_EQ(st->ci(3), 1);
    EXPECT_EQ(st->ci(4), -2);
    EXPECT_EQ(st->ci(5), 3);
    EXPECT_EQ(st->ci(6), 4);
    EXPECT_EQ(st->ci(7), 5);
    EXPECT_EQ(std::string(st->chr(1, 80).data(), 80), "Keel study 7" + std::string(68, ' '));
    EXPECT_EQ(st->ci(8), 12);
    EXPECT_EQ(next_line(), "component block");
}

// Line 9 belongs to the deck only when the viscous mode is 2 or -2; the
// component block must start right after the last deck line.
TEST_F(Deck, LineNineOnlyForViscousModeTwo) {
    for (int mode : {-3, -2, -1, 0, 1, 2, 3}) {
        SCOPED_TRACE(mode);
        const std::string line8 = "0 " + std::to_string(mode) + " 0 0 0";
        input(deck_to_line8(line8) + "component block\n0.5 0.25 0.75\nafter\n");
        read_deck(*st);
        const bool line9 = mode == 2 || mode == -2;
        EXPECT_EQ(st->c(27), line9 ? 0.5f : 1.0f);
        EXPECT_EQ(st->c(28), line9 ? 0.25f : 0.0f);
        EXPECT_EQ(st->c(29), line9 ? 0.75f : 1.0f);
        EXPECT_EQ(next_line(), line9 ? "after" : "component block");
    }
}

TEST_F(Deck, SmallSpanOrEfficiencyBecomesOne) {
    struct Row {
        const char* line9;
        float span, term, efficiency;
    };
    const float nan = std::nanf("");
    const Row rows[] = {
        {"0.5 -0.25 0.75", 0.5f, -0.25f, 0.75f},
        {"0 0.5 0", 1.0f, 0.5f, 1.0f},
        {"1e-7 0 9e-7", 1.0f, 0.0f, 1.0f},
        {"1e-6 0 1e-6", 1.0e-6f, 0.0f, 1.0e-6f},   // not below the threshold
        {"-2 -0.5 -3", 1.0f, -0.5f, 1.0f},         // 1.0, not the magnitude
        {"nan 0 nan", nan, 0.0f, nan},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line9);
        input(deck_to_line8("0 2 0 0 0") + "9\n" + row.line9 + "\n");
        read_deck(*st);
        const auto same = [](float got, float want) { return std::isnan(want) ? std::isnan(got) : got == want; };
        EXPECT_TRUE(same(st->c(27), row.span)) << st->c(27);
        EXPECT_EQ(st->c(28), row.term);
        EXPECT_TRUE(same(st->c(29), row.efficiency)) << st->c(29);
    }
}

TEST_F(Deck, TitleIsEightyColumnsAndItsLengthWithoutTrailingBlanks) {
    const std::string long_title = std::string(79, 'a') + "bcd";
    struct Row {
        std::string line;
        std::string title;   // columns 1-80
        int length;
    };
    const Row rows[] = {
        {"", std::string(80, ' '), 0},
        {"Demo hull", "Demo hull" + std::string(71, ' '), 9},
        {"  lead blanks   ", "  lead blanks" + std::string(67, ' '), 13},
        {std::string(80, 'x'), std::string(80, 'x'), 80},
        {long_title, long_title.substr(0, 80), 80},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        std::string deck = deck_to_line8("0 0 0 0 0");
        deck.replace(deck.find("Keel study 7"), 12, row.line);
        input(deck);
        read_deck(*st);
        EXPECT_EQ(std::string(st->chr(1, 80).data(), 80), row.title);
        EXPECT_EQ(st->ci(8), row.length);
        EXPECT_EQ(st->comchr[80], '\0');   // the file-name field is not the deck's
    }
}

TEST_F(Deck, UnreadableNumberOrEndOfInputFailsNamingStandardInput) {
    const std::string full = deck_to_line8("0 2 0 0 0") + "9\n1 0 1\n";
    const auto cut = [&](const char* at) { return full.substr(0, full.find(at)); };
    const auto with = [&](const char* from, const char* to) {
        std::string d = full;
        return d.replace(d.find(from), std::string(from).size(), to);
    };
    struct Row {
        const char* what;
        std::string deck;
    };
    const Row rows[] = {
        {"empty input", ""},
        {"only a label line", "title\n"},
        {"end before line 2", cut("2 speed")},
        {"line 2 short at the end", cut("0.5 1.25") + "0.5 1.25 1.5e-3 1025.0\n"},
        {"end before line 9", cut("9\n")},
        {"line 9 missing after its label", cut("1 0 1")},
        {"word in line 3", with("6.0 7.0", "six 7.0")},
        {"real among the integers", with("0 2 0 0 0", "0 2.5 0 0 0")},
        {"unreadable number in line 9", with("1 0 1", "1 0 x")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        input(row.deck);
        EXPECT_EQ(hydrosum_test::failure_of([&] { read_deck(*st); }).file(), "standard input");
    }
}

TEST_F(Deck, BannerComesBeforeTheDeckIsRead) {
    input("title\nKeel study\n2\n0.5 1.25\n");
    EXPECT_THROW(main_routine(), textio::Failure);
    EXPECT_EQ(output(), "\n HYDROSUM - MAREVO Post-Processing Software\n\n");
}

// With no force-moment file present the road sets the frame, reads
// nothing and stops before any step: no table, no line, the folder and the
// first name looked for in the failure.
TEST_F(Deck, RoadOverAnEmptyDirectory) {
    const hydrosum_test::ScratchDir scratch("hydrosum-deck");
    input("");
    st->c(23) = 1.0f;   // SREF 1 and output switch 0: the plot writers would run too
    st->ci(3) = st->ci(5) = st->ci(6) = st->ci(7) = 1;
    const textio::Failure f = hydrosum_test::failure_of([&] { run_road(*st); });
    textio::Runtime::instance().close_all();
    const bool empty = fs::is_empty(scratch.path());
    EXPECT_EQ(st->ci(1), nruns);
    EXPECT_EQ(st->ci(2), nheels);
    EXPECT_FALSE(st->r_any || st->k_any || st->ku.flag || st->nu.flag);
    EXPECT_EQ(f.file(), "r00a00.fm");
    EXPECT_NE(f.detail().find("'" + fs::canonical(scratch.path()).string() + "'"), std::string::npos) << f.detail();
    EXPECT_TRUE(empty);
    EXPECT_EQ(output(), "");
}

}  // namespace
}  // namespace hydrosum
