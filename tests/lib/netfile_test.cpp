#include "lib/netfile.hpp"

#include "support.hpp"
#include "support/console.hpp"
#include "support/scratch.hpp"
#include "textio/textio.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace geom {

// gtest's messages name the kinds
void PrintTo(NetStatus::Kind k, std::ostream* os) {
    const char* names[] = {"done", "open_refused", "not_a_network", "outside_arrays"};
    *os << names[static_cast<int>(k)];
}

}  // namespace geom

namespace {

namespace fs = std::filesystem;
using namespace lib_test;
using test_support::split_lines;
using Kind = geom::NetStatus::Kind;

constexpr int kIn = 1;    // the units gridedit uses
constexpr int kOut = 2;
constexpr int kTitleLen = 60;

const std::string kQuestion = " subblock is active ... output ? (y/n)\n ? \n";

using Title = std::array<char, kTitleLen>;

Title title_of(std::string_view s) {
    Title t;
    t.fill(' ');
    s.copy(t.data(), std::min(s.size(), t.size()));
    return t;
}

std::string text(const Title& t) { return std::string(t.data(), t.size()); }

// A network in memory as a caller holds it: arrays bigger than the network.
struct Net {
    int idim, jdim;
    std::vector<float> x, y, z;
    int imax = -1, jmax = -1, klue = -1;
    Title title = title_of("untouched");

    Net(int id, int jd)
        : idim(id), jdim(jd), x(std::size_t(id * jd), kUntouched), y(x), z(x) {}

    std::size_t at(int i, int j) const { return std::size_t(i - 1) + std::size_t(j - 1) * std::size_t(idim); }
    void set(int i, int j, float a, float b, float c) {
        x[at(i, j)] = a;
        y[at(i, j)] = b;
        z[at(i, j)] = c;
    }
    std::array<float, 3> point(int i, int j) const { return {x[at(i, j)], y[at(i, j)], z[at(i, j)]}; }
};

// Every test gets its own directory and a console: unit 5 reads what the
// test feeds, unit 6 is captured.
class NetFile : public test_support::ConsoleTest {
protected:
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    void put(const std::string& name, const std::string& content) const {
        test_support::write_file(dir_ / name, content);
    }
    std::string get(const std::string& name) const { return test_support::read_file(dir_ / name); }

    geom::NetStatus read(const std::string& name, Net& n, int iblock = 0, int i1 = 0, int i2 = 0, int j1 = 0,
                         int j2 = 0) {
        geom::NetStatus status{Kind::outside_arrays, -99};   // never what readnet gives
        geom::readnet(kIn, path(name), n.title, status, iblock, n.x, n.y, n.z, n.idim, n.jdim, n.imax, n.jmax, i1, i2,
                      j1, j2, n.klue);
        EXPECT_FALSE(textio::is_open(kIn)) << "readnet left its unit open";
        return status;
    }

    geom::NetStatus write(const std::string& name, const Net& n, int iblock = 0, int i1 = 0, int i2 = 0,
                          int j1 = 0, int j2 = 0) {
        geom::NetStatus status{Kind::not_a_network, -99};   // never what writnet gives
        geom::writnet(kOut, path(name), std::string_view(n.title.data(), n.title.size()), status, iblock, n.x, n.y,
                      n.z, n.idim, n.jdim, n.imax, n.jmax, i1, i2, j1, j2, n.klue);
        EXPECT_FALSE(textio::is_open(kOut)) << "writnet left its unit open";
        return status;
    }

    test_support::TempDir dir_{"lib-netfile"};
};

// --- writing and reading back ---------------------------------------------

TEST_F(NetFile, RoundTripKeepsEverythingBitForBit) {
    struct Case {
        int klue;
        std::string title;
    };
    const Case cases[] = {
        {0, "hull form"},
        {-3, "  keel, leading blanks kept"},
        {99999, std::string(kTitleLen, 'T')},
        {-9999, ""},
        {1, std::string(kTitleLen, '\0')},   // gridedit's starting title
    };
    // random bit patterns: every finite float, subnormals and -0 included
    std::mt19937 gen(20240601);
    const int ni = 3, nj = 4;
    for (const Case& c : cases) {
        Net out(5, 6);
        out.imax = ni;
        out.jmax = nj;
        out.klue = c.klue;
        out.title = title_of(c.title);
        for (float* a : {out.x.data(), out.y.data(), out.z.data()})
            for (int j = 1; j <= nj; ++j)
                for (int i = 1; i <= ni; ++i) {
                    float v;
                    do v = std::bit_cast<float>(static_cast<std::uint32_t>(gen()));
                    while (!std::isfinite(v));
                    a[out.at(i, j)] = v;
                }
        out.set(1, 1, 0.1f, 0.00125f, -0.0f);

        // an 80-column name as gridedit passes it: trailing blanks ignored
        std::string name = path("net.dat");
        name.resize(80, ' ');
        geom::NetStatus status{Kind::not_a_network, -99};
        geom::writnet(kOut, name, std::string_view(out.title.data(), out.title.size()), status, 0, out.x, out.y,
                      out.z, out.idim, out.jdim, out.imax, out.jmax, 0, 0, 0, 0, out.klue);
        ASSERT_EQ(status.kind, Kind::done);

        Net in(4, 5);
        ASSERT_EQ(read("net.dat", in).kind, Kind::done) << "klue " << c.klue;
        EXPECT_EQ(in.imax, ni);
        EXPECT_EQ(in.jmax, nj);
        EXPECT_EQ(in.klue, c.klue);
        EXPECT_EQ(text(in.title), text(title_of(c.title)));
        for (int j = 1; j <= nj; ++j)
            for (int i = 1; i <= ni; ++i)
                for (int k = 0; k < 3; ++k)
                    EXPECT_EQ(bits(in.point(i, j)[k]), bits(out.point(i, j)[k]))
                        << "klue " << c.klue << ", point (" << i << "," << j << "), coordinate " << k;
        EXPECT_EQ(in.x[in.at(4, 1)], kUntouched) << "a point outside the network was written";
    }
    EXPECT_EQ(console(), "");
}

TEST_F(NetFile, NetworkWithoutPointsRoundTrips) {
    for (auto [ni, nj] : {std::pair{0, 0}, std::pair{3, 0}, std::pair{0, 2}}) {
        Net out(3, 3);
        out.imax = ni;
        out.jmax = nj;
        out.klue = 8;
        out.title = title_of("none");
        ASSERT_EQ(write("e.dat", out).kind, Kind::done);
        Net in(3, 3);
        ASSERT_EQ(read("e.dat", in).kind, Kind::done) << ni << " x " << nj;
        EXPECT_EQ(in.imax, ni);
        EXPECT_EQ(in.jmax, nj);
        EXPECT_EQ(in.klue, 8);
        EXPECT_EQ(text(in.title), text(title_of("none")));
    }
}

TEST_F(NetFile, HeaderColumns) {
    struct Case {
        const char* what;
        int klue;
        std::string title, header;
    };
    const Case cases[] = {
        {"klue 0 leaves columns 11-20 blank", 0, "abc", "    2    1          abc"},
        {"negative klue", -3, "abc", "    2    1   -3     abc"},
        {"five-digit klue, leading blanks of the title", 12345, "  x y", "    2    112345       x y"},
        {"NULs are title characters", 7, std::string(kTitleLen, '\0'), "    2    1    7     " + std::string(kTitleLen, '\0')},
    };
    for (const Case& c : cases) {
        Net n(2, 1);
        n.imax = 2;
        n.jmax = 1;
        n.klue = c.klue;
        n.title = title_of(c.title);
        ASSERT_EQ(write("h.dat", n).kind, Kind::done);
        EXPECT_EQ(split_lines(get("h.dat")).at(0), c.header) << c.what;
    }
}

TEST_F(NetFile, BlankTitleWritesNoTitleCharacters) {
    for (int klue : {0, 5}) {
        Net n(1, 1);
        n.imax = n.jmax = 1;
        n.klue = klue;
        n.title = title_of("");
        ASSERT_EQ(write("b.dat", n).kind, Kind::done);
        std::string header = split_lines(get("b.dat")).at(0);
        EXPECT_EQ(header.substr(0, 15), klue == 0 ? "    1    1     " : "    1    1    5");
        EXPECT_LE(header.size(), 20u) << "title characters after column 20: '" << header << "'";
        EXPECT_EQ(header.find_first_not_of(' ', 15), std::string::npos);

        Net back(1, 1);
        ASSERT_EQ(read("b.dat", back).kind, Kind::done);
        EXPECT_EQ(text(back.title), std::string(kTitleLen, ' '));
        EXPECT_EQ(back.klue, klue);
    }
}

TEST_F(NetFile, WholeFileBytesReplaceTheOldContent) {
    put("w.dat", std::string(5000, 'o') + "\n");
    Net n(3, 2);   // leading dimension 3 for a 2 x 2 network
    n.imax = 2;
    n.jmax = 2;
    n.klue = 0;
    n.title = title_of("demo");
    n.set(1, 1, 1.0f, -2.5f, 0.1f);
    n.set(2, 1, 0.00125f, 1e10f, -0.375f);
    n.set(1, 2, 123456.789f, -1e-30f, 3.0e38f);
    n.set(2, 2, 7.0f, 0.5f, -1.0f);
    ASSERT_EQ(write("w.dat", n).kind, Kind::done);
    EXPECT_EQ(get("w.dat"),
              "    2    2          demo\n"
              "  1.00000000E+00 -2.50000000E+00  1.00000001E-01\n"
              "  1.24999997E-03  1.00000000E+10 -3.75000000E-01\n"
              "  1.23456789E+05 -1.00000000E-30  3.00000001E+38\n"
              "  7.00000000E+00  5.00000000E-01 -1.00000000E+00\n");
}

TEST_F(NetFile, WriteFailsToOpen) {
    Net n(1, 1);
    n.imax = n.jmax = 1;
    n.klue = 0;
    fs::create_directory(path("subdir"));
    for (auto [name, err] : {std::pair{"no/such/dir/net.dat", ENOENT}, std::pair{"subdir", EISDIR}}) {
        const geom::NetStatus s = write(name, n);
        EXPECT_EQ(s.kind, Kind::open_refused) << name;
        EXPECT_EQ(s.errno_value, err) << name;
    }
    EXPECT_EQ(console(), "");
}

// A range outside the arrays is not written, and is told apart from a
// refused open, whatever errno value that would carry (EPERM is 1).
TEST_F(NetFile, WriteOfARangeOutsideTheArrays) {
    struct Case {
        const char* what;
        int imax, jmax, iblock, i1, i2, j1, j2;
    };
    const Case cases[] = {
        {"imax past idim", 4, 2, 0, 0, 0, 0, 0},
        {"jmax past jdim", 3, 3, 0, 0, 0, 0, 0},
        {"subblock i2 past idim", 3, 2, 1, 2, 4, 1, 2},
        {"subblock j1 below 1", 3, 2, 1, 1, 3, 0, 2},
    };
    for (const Case& c : cases) {
        Net n(3, 2);
        n.imax = c.imax;
        n.jmax = c.jmax;
        n.klue = 0;
        feed("y\n");
        const geom::NetStatus s = write("r.dat", n, c.iblock, c.i1, c.i2, c.j1, c.j2);
        EXPECT_EQ(s.kind, Kind::outside_arrays) << c.what;
        EXPECT_EQ(s.errno_value, 0) << c.what;
        EXPECT_FALSE(fs::exists(path("r.dat"))) << c.what;
    }
}

// --- reading ----------------------------------------------------------------

TEST_F(NetFile, ReadsOnlyTheFirstNetwork) {
    put("two.dat",
        "    2    1    4     first\n"
        "  1.00000000E+00  2.00000000E+00  3.00000000E+00\n"
        "  4.00000000E+00  5.00000000E+00  6.00000000E+00\n"
        "    1    1          second\n"
        "  9.00000000E+00  9.00000000E+00  9.00000000E+00\n");
    Net n(3, 3);
    ASSERT_EQ(read("two.dat", n).kind, Kind::done);
    EXPECT_EQ(n.imax, 2);
    EXPECT_EQ(n.jmax, 1);
    EXPECT_EQ(n.klue, 4);
    EXPECT_EQ(text(n.title), text(title_of("first")));
    EXPECT_EQ(n.point(1, 1), (std::array<float, 3>{1, 2, 3}));
    EXPECT_EQ(n.point(2, 1), (std::array<float, 3>{4, 5, 6}));
    EXPECT_EQ(n.point(3, 1)[0], kUntouched);
    EXPECT_EQ(n.point(1, 2)[0], kUntouched);
}

TEST_F(NetFile, PointsInAnyLayout) {
    const std::string header = "    2    2          layout\n";
    struct Case {
        const char* what;
        std::string points;
    };
    const Case cases[] = {
        {"one point per record, 1p form",
         "  1.00000000E+00  2.00000000E+00  3.00000000E+00\n  4.00000000E+00  5.00000000E+00  6.00000000E+00\n"
         "  7.00000000E+00  8.00000000E+00  9.00000000E+00\n  1.00000000E+01  1.10000000E+01  1.20000000E+01\n"},
        {"one point per record, 0p form",
         "  0.10000000E+01  0.20000000E+01  0.30000000E+01\n  0.40000000E+01  0.50000000E+01  0.60000000E+01\n"
         "  0.70000000E+01  0.80000000E+01  0.90000000E+01\n  0.10000000E+02  0.11000000E+02  0.12000000E+02\n"},
        {"several points per record", "1 2 3 4 5 6\n7 8 9 10 11 12\n"},
        {"all on one record", "1. 2. 3. 4. 5. 6. 7. 8. 9. 10. 11. 12.\n"},
        {"one number per record", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n"},
        {"points split over records", "1 2\n3 4 5 6 7\n8\n\n9 10 11 12\n"},
        {"more numbers on the last record", "1 2 3\n4 5 6\n7 8 9\n10 11 12 13 14\n"},
    };
    for (const Case& c : cases) {
        put("l.dat", header + c.points);
        Net n(2, 2);
        ASSERT_EQ(read("l.dat", n).kind, Kind::done) << c.what;
        EXPECT_EQ(n.point(1, 1), (std::array<float, 3>{1, 2, 3})) << c.what;
        EXPECT_EQ(n.point(2, 1), (std::array<float, 3>{4, 5, 6})) << c.what;
        EXPECT_EQ(n.point(1, 2), (std::array<float, 3>{7, 8, 9})) << c.what;
        EXPECT_EQ(n.point(2, 2), (std::array<float, 3>{10, 11, 12})) << c.what;
    }
}

TEST_F(NetFile, HeaderFieldsAreFixedColumns) {
    struct Case {
        const char* what;
        std::string header;
        int imax, jmax, klue;
        std::string title;
    };
    const Case cases[] = {
        {"blanks inside a count are ignored", "  3 2", 32, 0, 0, ""},
        {"zero counts", "    0    0    5     empty", 0, 0, 5, "empty"},
        {"zero in one direction", "    0    3", 0, 3, 0, ""},
        {"blank klue field", "    0    0          t", 0, 0, 0, "t"},
        {"klue written as 0", "    0    0    0     t", 0, 0, 0, "t"},
        {"title cut at the field's length", "    0    0   -1     " + std::string(70, 'L'), 0, 0, -1,
         std::string(kTitleLen, 'L')},
    };
    for (const Case& c : cases) {
        // the zero-item point read still takes a record, as after writnet's header
        put("f.dat", c.header + "\n\n");
        Net n(40, 4);
        ASSERT_EQ(read("f.dat", n).kind, Kind::done) << c.what;
        EXPECT_EQ(n.imax, c.imax) << c.what;
        EXPECT_EQ(n.jmax, c.jmax) << c.what;
        EXPECT_EQ(n.klue, c.klue) << c.what;
        EXPECT_EQ(text(n.title), text(title_of(c.title))) << c.what;
        EXPECT_EQ(n.x[0], kUntouched) << c.what;
    }
}

TEST_F(NetFile, ReadIntoTheSubblock) {
    put("blk.dat",
        "    2    2    9     block\n"
        "1 2 3\n4 5 6\n7 8 9\n10 11 12\n");
    Net n(4, 4);
    n.imax = 4;
    n.jmax = 4;
    ASSERT_EQ(read("blk.dat", n, 1, 2, 3, 3, 4).kind, Kind::done);
    EXPECT_EQ(n.imax, 4);
    EXPECT_EQ(n.jmax, 4);
    EXPECT_EQ(n.klue, 9);
    EXPECT_EQ(n.point(2, 3), (std::array<float, 3>{1, 2, 3}));
    EXPECT_EQ(n.point(3, 3), (std::array<float, 3>{4, 5, 6}));
    EXPECT_EQ(n.point(2, 4), (std::array<float, 3>{7, 8, 9}));
    EXPECT_EQ(n.point(3, 4), (std::array<float, 3>{10, 11, 12}));
    int set = 0;
    for (float v : n.x) set += v != kUntouched;
    EXPECT_EQ(set, 4) << "points outside the subblock were changed";
    EXPECT_EQ(console(), "");
}

TEST_F(NetFile, SubblockSizeMismatchInEitherDirection) {
    // subblock i = 2..3, j = 2..3: 2 x 2
    struct Case {
        int ni, nj;
    };
    const Case cases[] = {{3, 2}, {1, 2}, {2, 3}, {2, 1}, {3, 3}, {1, 1}};
    for (const Case& c : cases) {
        char header[64];
        std::snprintf(header, sizeof header, "%5d%5d   -2     mismatch\n", c.ni, c.nj);
        std::string file = header;
        for (int k = 0; k < c.ni * c.nj; ++k) file += "1 2 3\n";
        put("m.dat", file);
        Net n(4, 4);
        n.imax = 3;
        n.jmax = 3;
        feed("");
        EXPECT_EQ(read("m.dat", n, 1, 2, 3, 2, 3).kind, Kind::not_a_network);
        char expected[160];
        std::snprintf(expected, sizeof expected,
                      " error in readnet:\n network inew,jnew=%5d%5d .gt. subblock i2-i1+1 , j2-j1+1 =     2    2\n",
                      c.ni, c.nj);
        EXPECT_EQ(console(), expected);
        EXPECT_EQ(n.imax, 3);
        EXPECT_EQ(n.jmax, 3);
        EXPECT_EQ(n.klue, -2);
        EXPECT_EQ(text(n.title), text(title_of("mismatch")));
        for (float v : n.x) ASSERT_EQ(v, kUntouched) << c.ni << " x " << c.nj;
    }
}

TEST_F(NetFile, WholeModeCountsRefused) {
    struct Case {
        const char* what;
        std::string header;
        bool header_kept;   // klue and title taken over from a readable header
    };
    const Case cases[] = {
        {"more points in i than idim", "    5    1    4     big", true},
        {"more points in j than jdim", "    1    5    4     big", true},
        {"negative count in i", "   -2    1", false},
        {"negative count in j", "    1   -1", false},
    };
    for (const Case& c : cases) {
        put("c.dat", c.header + "\n1 2 3\n1 2 3\n1 2 3\n1 2 3\n1 2 3\n");
        Net n(4, 4);
        n.imax = 2;
        n.jmax = 3;
        EXPECT_EQ(read("c.dat", n).kind, Kind::not_a_network) << c.what;
        EXPECT_EQ(n.imax, 2) << c.what;
        EXPECT_EQ(n.jmax, 3) << c.what;
        if (c.header_kept) {
            EXPECT_EQ(n.klue, 4) << c.what;
            EXPECT_EQ(text(n.title), text(title_of("big"))) << c.what;
        }
        for (float v : n.x) ASSERT_EQ(v, kUntouched) << c.what;
    }
    EXPECT_EQ(console(), "");
}

TEST_F(NetFile, UnreadableHeader) {
    struct Case {
        const char* what;
        std::string content;
    };
    const Case cases[] = {
        {"empty file", ""},
        {"letter in the i count", "    a    1\n1 2 3\n"},
        {"letter in the j count", "    1   b1\n1 2 3\n"},
        {"sign alone in the klue field", "    4    3    +\n"},
        {"real number in a count", "  1.5    1\n1 2 3\n"},
    };
    for (const Case& c : cases) {
        put("u.dat", c.content);
        Net n(4, 4);
        n.imax = 2;
        n.jmax = 3;
        EXPECT_EQ(read("u.dat", n).kind, Kind::not_a_network) << c.what;
        EXPECT_EQ(n.imax, 2) << c.what;
        EXPECT_EQ(n.jmax, 3) << c.what;
        for (float v : n.x) ASSERT_EQ(v, kUntouched) << c.what;
    }
    EXPECT_EQ(console(), "");
}

TEST_F(NetFile, MissingFile) {
    Net n(2, 2);
    const geom::NetStatus s = read("absent.dat", n);
    EXPECT_EQ(s.kind, Kind::open_refused);
    EXPECT_EQ(s.errno_value, ENOENT);
    EXPECT_EQ(n.imax, -1);
    EXPECT_EQ(n.jmax, -1);
    EXPECT_EQ(n.klue, -1);
    EXPECT_EQ(text(n.title), text(title_of("untouched")));
    EXPECT_FALSE(fs::exists(path("absent.dat")));
    EXPECT_EQ(console(), "");
}

TEST_F(NetFile, BadPointsKeepWhatWasRead) {
    struct Case {
        const char* what;
        std::string points;
    };
    const Case cases[] = {
        {"a letter in the third point", "1 2 3\n4 5 6\n7 x 9\n10 11 12\n"},
        {"the file ends in the third point", "1 2 3\n4 5 6\n7 8\n"},
        {"the file ends after two points", "1 2 3\n4 5 6\n"},
    };
    for (const Case& c : cases) {
        put("p.dat", "    2    2    6     bad\n" + c.points);
        Net n(3, 3);
        EXPECT_EQ(read("p.dat", n).kind, Kind::not_a_network) << c.what;
        EXPECT_EQ(n.imax, 2) << c.what;
        EXPECT_EQ(n.jmax, 2) << c.what;
        EXPECT_EQ(n.klue, 6) << c.what;
        EXPECT_EQ(n.point(1, 1), (std::array<float, 3>{1, 2, 3})) << c.what;
        EXPECT_EQ(n.point(2, 1), (std::array<float, 3>{4, 5, 6})) << c.what;
        EXPECT_EQ(n.point(2, 2), (std::array<float, 3>{kUntouched, kUntouched, kUntouched})) << c.what;
    }
    EXPECT_EQ(console(), "");
}

// --- the subblock question ----------------------------------------------------

class SubblockQuestion : public NetFile {
protected:
    // a 3 x 2 network in arrays with leading dimension 4; subblock i = 2..3, j = 1..2
    Net network() const {
        Net n(4, 3);
        n.imax = 3;
        n.jmax = 2;
        n.klue = 0;
        n.title = title_of("blk");
        for (int j = 1; j <= 2; ++j)
            for (int i = 1; i <= 3; ++i) n.set(i, j, float(i), float(j), float(10 * i + j));
        return n;
    }
    geom::NetStatus write_block(const std::string& name) { return write(name, network(), 1, 2, 3, 1, 2); }

    static std::string repeated(const std::string& s, int times) {
        std::string r;
        for (int k = 0; k < times; ++k) r += s;
        return r;
    }

    const std::string old_content = "old content\n";
    const std::string block_file =
        "    2    2          blk\n"
        "  2.00000000E+00  1.00000000E+00  2.10000000E+01\n"
        "  3.00000000E+00  1.00000000E+00  3.10000000E+01\n"
        "  2.00000000E+00  2.00000000E+00  2.20000000E+01\n"
        "  3.00000000E+00  2.00000000E+00  3.20000000E+01\n";
};

TEST_F(SubblockQuestion, OnlyASingleYOrNIsAnAnswer) {
    struct Case {
        const char* answers;
        int asked;
        bool written;
    };
    const Case cases[] = {
        {"n\n", 1, false},
        {"N\n", 1, false},
        {"y\n", 1, true},
        {"Y\n", 1, true},
        {"Y         beyond column 10\n", 1, true},
        {" y\nyes\n\nn\n", 4, false},
        {"yes\nno\n \nY\n", 4, true},
        {"x\nN \n", 2, false},
    };
    for (const Case& c : cases) {
        put("q.dat", old_content);
        textio::Runtime::instance().begin_run("gridedit");   // each case a run of its own, not failed
        feed(c.answers);
        EXPECT_EQ(write_block("q.dat").kind, Kind::done) << c.answers;
        EXPECT_EQ(console(), repeated(kQuestion, c.asked)) << c.answers;
        EXPECT_EQ(get("q.dat"), c.written ? block_file : old_content) << c.answers;
        // every answer asked again marks the run as failed
        EXPECT_EQ(textio::Runtime::instance().failed(), c.asked > 1) << c.answers;
    }
}

TEST_F(SubblockQuestion, NoCreatesNoFile) {
    feed("n\n");
    EXPECT_EQ(write_block("new.dat").kind, Kind::done);
    EXPECT_FALSE(fs::exists(path("new.dat")));
}

TEST_F(SubblockQuestion, EndOfInputEndsTheRun) {
    struct Case {
        const char* answers;
        int asked;
    };
    for (const Case& c : {Case{"", 1}, Case{" y\n", 2}, Case{"maybe\nyes", 3}}) {
        put("e.dat", old_content);
        feed(c.answers);
        try {
            write_block("e.dat");
            ADD_FAILURE() << "no failure at the end of input after '" << c.answers << "'";
        } catch (const textio::Failure& f) {
            EXPECT_EQ(f.file(), "standard input");
        }
        EXPECT_EQ(console(), repeated(kQuestion, c.asked)) << c.answers;
        EXPECT_EQ(get("e.dat"), old_content) << c.answers;
    }
}

TEST_F(SubblockQuestion, WrittenBlockReadsBackIntoASubblock) {
    feed("y\n");
    ASSERT_EQ(write_block("rt.dat").kind, Kind::done);
    Net n(5, 5);
    n.imax = 5;
    n.jmax = 5;
    ASSERT_EQ(read("rt.dat", n, 1, 4, 5, 2, 3).kind, Kind::done);
    const Net src = network();
    for (int j = 1; j <= 2; ++j)
        for (int i = 2; i <= 3; ++i) EXPECT_EQ(n.point(i + 2, j + 1), src.point(i, j));
}

}  // namespace
