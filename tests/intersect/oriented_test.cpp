// mnread and mnwrit: orientation, slices, the capacity check and the file
// layout they read and write.
#include "intersect/oriented.hpp"
#include "intersect/work.hpp"

#include "support.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace intersect_test {
namespace {

using intersect::Spec;

constexpr int kUnit = 1;
constexpr int kSmall = 30;   // capacity of the small work arrays below

Spec spec(const char* s) { return {s[0], s[1]}; }

// A 3 x 2 file whose point (i, j) is (i, j, 10 i + j).
const std::string k3x2 = network_text(3, 2, "three by two", [](int i, int j) {
    return P3{float(i), float(j), float(10 * i + j)};
});

class Mnread : public RoutineTest {
protected:
    struct Read {
        int lw, ix, iy, iz, m, n;
        std::string title;
    };

    // Reads `name` after cell lw of a work array of kSmall cells (all -1).
    Read read(const std::string& name, const char* dx, const char* de, int lw = 0, int mw = kSmall) {
        w_.assign(std::size_t(kSmall), -1.0f);
        std::array<char, 60> title;
        title.fill('?');
        Read r{lw, -9, -9, -9, -9, -9, ""};
        intersect::mnread(kUnit, path(name), title, 1, 0, 1, w_, mw, r.lw, r.ix, r.iy, r.iz, r.m, r.n, spec(dx),
                          spec(de));
        EXPECT_FALSE(textio::is_open(kUnit));
        r.title.assign(title.data(), title.size());
        return r;
    }

    // The memory network of a read as "ij" pairs of the file point each cell
    // came from, eta outer and xsi inner.
    std::string memory(const Read& r) const {
        std::ostringstream s;
        for (int k = 0; k < r.m * r.n; ++k) {
            const float x = w_[std::size_t(r.ix - 1 + k)], y = w_[std::size_t(r.iy - 1 + k)];
            EXPECT_EQ(w_[std::size_t(r.iz - 1 + k)], 10 * x + y) << "z does not go with x and y at " << k;
            s << (k ? " " : "") << x << y;
        }
        return s.str();
    }

    std::vector<float> w_;
};

TEST_F(Mnread, EveryOrientationOfTheFile) {
    struct Case {
        const char *dx, *de;
        int m, n;
        std::string cells;
    };
    const Case cases[] = {
        {"+m", "+n", 3, 2, "11 21 31 12 22 32"}, {"-m", "+n", 3, 2, "31 21 11 32 22 12"},
        {"+m", "-n", 3, 2, "12 22 32 11 21 31"}, {"-m", "-n", 3, 2, "32 22 12 31 21 11"},
        {"+n", "+m", 2, 3, "11 12 21 22 31 32"}, {"-n", "+m", 2, 3, "12 11 22 21 32 31"},
        {"+n", "-m", 2, 3, "31 32 21 22 11 12"}, {"-n", "-m", 2, 3, "32 31 22 21 12 11"},
    };
    put("net", k3x2);
    for (const Case& c : cases) {
        const Read r = read("net", c.dx, c.de, 4);
        SCOPED_TRACE(std::string(c.dx) + " " + c.de);
        EXPECT_EQ(r.m, c.m);
        EXPECT_EQ(r.n, c.n);
        EXPECT_EQ(r.ix, 5);
        EXPECT_EQ(r.iy, 11);
        EXPECT_EQ(r.iz, 17);
        EXPECT_EQ(r.lw, 23);   // the cell just after the z slice
        EXPECT_EQ(memory(r), c.cells);
        EXPECT_EQ(r.title, "three by two" + std::string(48, ' '));
        EXPECT_EQ(w_[3], -1.0f);
        EXPECT_EQ(w_[22], -1.0f);
    }
    EXPECT_EQ(console(), "");
}

TEST_F(Mnread, MnwritWritesTheFileBackForEveryOrientation) {
    // A file as mnwrit writes it: the title in its full length.
    const std::string title = "round trip" + std::string(50, ' ');
    const std::string file = "    3    2          " + title + "\n"
                             "  0.10000000E+01  0.10000000E+01  0.11000000E+02\n"
                             "  0.20000000E+01  0.10000000E+01  0.21000000E+02\n"
                             "  0.30000000E+01  0.10000000E+01  0.31000000E+02\n"
                             "  0.10000000E+01  0.20000000E+01  0.12000000E+02\n"
                             "  0.20000000E+01  0.20000000E+01  0.22000000E+02\n"
                             "  0.30000000E+01  0.20000000E+01  0.32000000E+02\n";
    put("net", file);
    for (const char* s : {"+m+n", "-m+n", "+m-n", "-m-n", "+n+m", "-n+m", "+n-m", "-n-m"}) {
        const Spec dx = spec(s), de = spec(s + 2);
        const Read r = read("net", s, s + 2);
        geom::Vec x(w_.data() + r.ix - 1), y(w_.data() + r.iy - 1), z(w_.data() + r.iz - 1);
        intersect::mnwrit(2, path("back"), r.title, 1, 0, 1, x, y, z, r.m, r.n, dx, de);
        EXPECT_FALSE(textio::is_open(2));
        EXPECT_EQ(get("back"), file) << s;
    }
}

TEST_F(Mnread, MnwritReplacesAnOldFileAndWritesNoPointLineForAnEmptyNetwork) {
    put("back", "an old file\nof two lines\n");
    float none = 0.0f;
    intersect::mnwrit(2, path("back"), "empty", 1, 0, 1, &none, &none, &none, 0, 4, spec("+n"), spec("-m"));
    EXPECT_EQ(get("back"), "    4    0          empty\n");
    // specs that name one letter: the memory sizes, and no point
    intersect::mnwrit(2, path("back"), "same", 1, 0, 1, &none, &none, &none, 1, 1, spec("+m"), spec("-m"));
    EXPECT_EQ(get("back"), "    1    1          same\n");
}

TEST_F(Mnread, EmptyAndBlankHeadersAndAMissingFile) {
    put("empty", "");
    Read r = read("empty", "+m", "+n", 7);
    EXPECT_EQ(r.m, 0);
    EXPECT_EQ(r.n, 0);
    EXPECT_EQ(r.lw, 7);   // the end of the file leaves lw alone
    EXPECT_EQ(r.ix, 8);
    EXPECT_EQ(r.iy, 8);
    EXPECT_EQ(r.iz, 8);

    put("blank", "\n");
    r = read("blank", "+m", "+n", 7);
    EXPECT_EQ(r.m, 0);
    EXPECT_EQ(r.lw, 8);   // a header of zeros is a network: its slices end at lw + 1
    EXPECT_EQ(r.ix, 8);
    EXPECT_EQ(r.iz, 8);

    put("zeros", "    0    5          no points\n");
    r = read("zeros", "+n", "-m", 2);
    EXPECT_EQ(r.m, 5);   // sizes swapped as for any network
    EXPECT_EQ(r.n, 0);
    EXPECT_EQ(r.lw, 3);

    try {
        read("missing", "+m", "+n", 3);
        FAIL() << "a missing file was read";
    } catch (const textio::Failure& f) {
        EXPECT_EQ(f.file(), path("missing"));
        EXPECT_EQ(f.detail(), "cannot open (No such file or directory)");
    }
    EXPECT_FALSE(exists("missing"));
    EXPECT_EQ(console(), "");
}

TEST_F(Mnread, SpecsOfOneLetterReadNoPointButTakeTheSlices) {
    put("net", "    3    2          no points follow\n");
    const Read r = read("net", "+m", "-m", 1);
    EXPECT_EQ(r.m, 0);
    EXPECT_EQ(r.n, 0);
    EXPECT_EQ(r.ix, 2);
    EXPECT_EQ(r.lw, 20);
}

TEST_F(Mnread, OnePointARecord) {
    // values after the third are skipped; a short record goes on to the next
    put("net", "    2    1\n1 2 3 99 99\n4\n\n5 6\n");
    const Read r = read("net", "+m", "+n");
    EXPECT_EQ(w_[0], 1.0f);
    EXPECT_EQ(w_[1], 4.0f);
    EXPECT_EQ(w_[2], 2.0f);
    EXPECT_EQ(w_[3], 5.0f);
    EXPECT_EQ(w_[4], 3.0f);
    EXPECT_EQ(w_[5], 6.0f);
    EXPECT_EQ(r.title, std::string(60, ' '));

    // four points on one record: the second read finds the end of the file
    put("net", "    2    2\n1 1 1 2 2 2 3 3 3 4 4 4\n");
    try {
        read("net", "+m", "+n");
        FAIL() << "no failure";
    } catch (const textio::Failure& f) {
        EXPECT_EQ(f.file(), path("net"));
        EXPECT_EQ(f.record(), 3);
    }
}

TEST_F(Mnread, WithoutRewindTheNextNetworkOfTheFileIsRead) {
    put("two", network_text(1, 1, "first", [](int, int) { return P3{1, 1, 1}; }) +
                   network_text(1, 2, "second", [](int, int) { return P3{2, 2, 2}; }));
    w_.assign(std::size_t(kSmall), 0.0f);
    std::array<char, 60> title;
    int lw = 0, ix, iy, iz, m, n;
    intersect::mnread(kUnit, path("two"), title, 1, 0, 0, w_, kSmall, lw, ix, iy, iz, m, n, spec("+m"), spec("+n"));
    EXPECT_TRUE(textio::is_open(kUnit));
    intersect::mnread(kUnit, "", title, 0, 0, 0, w_, kSmall, lw, ix, iy, iz, m, n, spec("+m"), spec("+n"));
    EXPECT_EQ(n, 2);
    EXPECT_EQ(std::string(title.data(), 6), "second");
    intersect::mnread(kUnit, "", title, 0, 1, 1, w_, kSmall, lw, ix, iy, iz, m, n, spec("+m"), spec("+n"));
    EXPECT_EQ(n, 1);
    EXPECT_EQ(std::string(title.data(), 5), "first");
    EXPECT_FALSE(textio::is_open(kUnit));
}

// --- the capacity check -----------------------------------------------------

TEST_F(Mnread, ANetworkThatFillsTheWorkArrayExactlyIsRead) {
    put("net", network_text(3, 2, "", [](int i, int j) { return P3{float(i), float(j), 0}; }));
    const Read r = read("net", "+m", "+n", kSmall - 18);
    EXPECT_EQ(r.lw, kSmall + 1);
    EXPECT_EQ(w_[kSmall - 1], 0.0f);   // the last z
    EXPECT_EQ(console(), "");
}

TEST_F(Mnread, OneCellMoreStopsWithTheReadersMessage) {
    put("net", network_text(3, 2, "", [](int i, int j) { return P3{float(i), float(j), 0}; }));
    EXPECT_THROW(read("net", "+m", "+n", kSmall - 17), textio::StopRequest);
    EXPECT_EQ(console(),
              " message from mnread:\n"
              " network nw=   31\n"
              " greater than work array size mw=   30\n");
    EXPECT_EQ(w_[kSmall - 17], -1.0f) << "a point was stored";
}

TEST_F(Mnread, HeadersWhoseProductOverflows32BitsStop) {
    // 65536² x 3 wraps to 0 in 32 bits, 30000² x 3 to a negative count
    for (const char* header : {"6553665536", "3000030000", "9999999999"}) {
        put("net", std::string(header) + "\n0 0 0\n");
        feed("");
        EXPECT_THROW(read("net", "+m", "+n", 0, intersect::mw), textio::StopRequest) << header;
        EXPECT_EQ(console(),
                  " message from mnread:\n"
                  " network nw=*****\n"
                  " greater than work array size mw=*****\n")
            << header;
    }
}

TEST_F(Mnread, MalformedHeadersEndTheRun) {
    for (const char* header : {"   -1    2", "    2   -3", "  1.5    2", "    a    2"}) {
        put("net", std::string(header) + "\n1 1 1\n1 1 1\n");
        try {
            read("net", "+m", "+n");
            FAIL() << header << ": no failure";
        } catch (const textio::Failure& f) {
            EXPECT_EQ(f.file(), path("net")) << header;
            EXPECT_EQ(f.record(), 1) << header;
        }
        textio::Runtime::instance().close_all_quietly();   // as the run's end does
    }
    EXPECT_EQ(console(), "");
}

TEST_F(Mnread, ABlankNameCannotBeOpened) {
    std::array<char, 60> title;
    int lw = 0, ix, iy, iz, m, n;
    std::vector<float> w(4);
    EXPECT_THROW(intersect::mnread(kUnit, std::string(80, ' '), title, 1, 0, 1, w, 4, lw, ix, iy, iz, m, n,
                                   spec("+m"), spec("+n")),
                 textio::Failure);
}

}  // namespace
}  // namespace intersect_test
