// result: the table with its positions back in file orientation, and the strip.
#include "intersect/result.hpp"

#include "support.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace intersect_test {
namespace {

using intersect::Spec;

const std::string kHeader =
    " iint      xint      yint      zint      xsis      etas      xsit      etat\n";

Spec spec(const char* s) { return {s[0], s[1]}; }

// One table record, "(i5,7f10.5)" for values that fit it.
std::string row(int iint, P3 p, float c1, float c2, float c3, float c4) {
    char b[100];
    std::snprintf(b, sizeof b, "%5d%10.5f%10.5f%10.5f%10.5f%10.5f%10.5f%10.5f\n", iint, p[0], p[1], p[2], c1, c2, c3,
                  c4);
    return b;
}

// Three stations of a source of 3 x 3 on a target of 4 x 5, the second
// without cut.
class Result : public RoutineTest {
protected:
    static constexpr int ms = 3, ns = 3, mt = 4, nt = 5;
    const P3 p1{1.5f, -2.25f, 0.125f}, p3{4, 5, 6};

    Result() : cells(std::size_t(7 * ns)) {
        set(1, 1, p1, 1.25f, 1.5f, 3.75f);
        set(3, -1, p3, 2.5f, 3.25f, 1.0f);
    }

    void write(const char* dxs, const char* des, const char* dxt, const char* det, int n = ns) {
        auto at = [&](int slice) { return geom::Vec(cells.data() + slice * ns); };
        const intersect::Cuts c{at(0), at(1), at(2), at(3), at(4), at(5), at(6)};
        table = path("t.out");
        strip = path("t.net");
        intersect::result(ms, n, spec(dxs), spec(des), mt, nt, spec(dxt), spec(det), c,
                          {table, strip, "strip title"});
        EXPECT_FALSE(textio::is_open(2));
    }

    std::string table, strip;

private:
    void set(int j, int iint, P3 p, float xsis, float xsit, float etat) {
        float* v[] = {&cells[0], &cells[ns], &cells[2 * ns], &cells[3 * ns], &cells[4 * ns], &cells[5 * ns],
                      &cells[6 * ns]};
        const float val[] = {p[0], p[1], p[2], xsis, xsit, etat, float(iint)};
        for (int s = 0; s < 7; ++s) v[s][j - 1] = val[s];
    }
    std::vector<float> cells;
};

TEST_F(Result, TableAndStripAsWritten) {
    put("t.out", std::string(300, 'x') + "\n");   // an older, longer table
    write("+m", "+n", "+m", "+n");
    EXPECT_EQ(test_support::read_file(table),
              kHeader +
              "    1   1.50000  -2.25000   0.12500   1.25000   1.00000   1.50000   3.75000\n"
              "    0   0.00000   0.00000   0.00000   0.00000   2.00000   0.00000   0.00000\n"
              "   -1   4.00000   5.00000   6.00000   2.50000   3.00000   3.25000   1.00000\n");
    // des names n: two points a row, each station's point twice
    EXPECT_EQ(test_support::read_file(strip),
              "    2    3          strip title\n"
              "  0.15000000E+01 -0.22500000E+01  0.12500000E+00\n"
              "  0.15000000E+01 -0.22500000E+01  0.12500000E+00\n"
              "  0.00000000E+00  0.00000000E+00  0.00000000E+00\n"
              "  0.00000000E+00  0.00000000E+00  0.00000000E+00\n"
              "  0.40000000E+01  0.50000000E+01  0.60000000E+01\n"
              "  0.40000000E+01  0.50000000E+01  0.60000000E+01\n");
    EXPECT_EQ(console(), "");
}

TEST_F(Result, StripAlongTheFileIAndBackwards) {
    // des "-m": the stations run along the file's i, from the last: a row of
    // them, then the same row again
    write("+n", "-m", "+m", "+n");
    const std::string row_of_stations = "  0.40000000E+01  0.50000000E+01  0.60000000E+01\n"
                                        "  0.00000000E+00  0.00000000E+00  0.00000000E+00\n"
                                        "  0.15000000E+01 -0.22500000E+01  0.12500000E+00\n";
    EXPECT_EQ(test_support::read_file(strip), "    3    2          strip title\n" + row_of_stations + row_of_stations);
}

TEST_F(Result, SourceColumnsAndStationOrderForEverySourceSpec) {
    // station order follows des; the xsis column holds the search's xsis
    // when dxs names m, the station otherwise; no-cut positions map from 0
    struct Case {
        const char *dxs, *des;
        float rows[3][2];   // the xsis and etas columns, in table order
        int first;          // the station of the first row
    };
    const Case cases[] = {
        {"+m", "+n", {{1.25f, 1}, {0, 2}, {2.5f, 3}}, 1},   {"-m", "+n", {{2.75f, 1}, {4, 2}, {1.5f, 3}}, 1},
        {"+m", "-n", {{2.5f, 1}, {0, 2}, {1.25f, 3}}, 3},   {"-m", "-n", {{1.5f, 1}, {4, 2}, {2.75f, 3}}, 3},
        {"+n", "+m", {{1, 1.25f}, {2, 0}, {3, 2.5f}}, 1},   {"-n", "+m", {{1, 2.75f}, {2, 4}, {3, 1.5f}}, 1},
        {"+n", "-m", {{1, 2.5f}, {2, 0}, {3, 1.25f}}, 3},   {"-n", "-m", {{1, 1.5f}, {2, 4}, {3, 2.75f}}, 3},
    };
    for (const Case& c : cases) {
        write(c.dxs, c.des, "+m", "+n");
        const bool forward = c.first == 1;
        const std::string first = row(forward ? 1 : -1, forward ? p1 : p3, c.rows[0][0], c.rows[0][1],
                                      forward ? 1.5f : 3.25f, forward ? 3.75f : 1.0f);
        const std::string last = row(forward ? -1 : 1, forward ? p3 : p1, c.rows[2][0], c.rows[2][1],
                                     forward ? 3.25f : 1.5f, forward ? 1.0f : 3.75f);
        EXPECT_EQ(test_support::read_file(table),
                  kHeader + first + row(0, {0, 0, 0}, c.rows[1][0], c.rows[1][1], 0, 0) + last)
            << c.dxs << " " << c.des;
        const std::string strip_head = c.des[1] == 'n' ? "    2    3" : "    3    2";
        EXPECT_EQ(test_support::read_file(strip).substr(0, 10), strip_head) << c.dxs << " " << c.des;
    }
}

TEST_F(Result, TargetColumnsForEveryTargetSpec) {
    // station 1: xsit 1.5 of 4, etat 3.75 of 5; station 2 without cut
    struct Case {
        const char *dxt, *det;
        float cut[2], none[2];   // the xsit and etat columns
    };
    const Case cases[] = {
        {"+m", "+n", {1.5f, 3.75f}, {0, 0}}, {"-m", "+n", {3.5f, 3.75f}, {5, 0}},
        {"+m", "-n", {1.5f, 2.25f}, {0, 6}}, {"-m", "-n", {3.5f, 2.25f}, {5, 6}},
        {"+n", "+m", {3.75f, 1.5f}, {0, 0}}, {"-n", "+m", {3.75f, 3.5f}, {0, 5}},
        {"+n", "-m", {2.25f, 1.5f}, {6, 0}}, {"-n", "-m", {2.25f, 3.5f}, {6, 5}},
    };
    for (const Case& c : cases) {
        write("+m", "+n", c.dxt, c.det, 2);
        EXPECT_EQ(test_support::read_file(table), kHeader + row(1, p1, 1.25f, 1, c.cut[0], c.cut[1]) +
                                                      row(0, {0, 0, 0}, 0, 2, c.none[0], c.none[1]))
            << c.dxt << " " << c.det;
    }
}

TEST_F(Result, AnEmptySourceGivesTheHeaderAndAStripWithoutPoints) {
    write("+n", "+m", "+m", "+n", 0);
    EXPECT_EQ(test_support::read_file(table), kHeader);
    EXPECT_EQ(test_support::read_file(strip), "    0    2          strip title\n");
    write("+m", "-n", "+m", "+n", 0);
    EXPECT_EQ(test_support::read_file(strip), "    2    0          strip title\n");
}

}  // namespace
}  // namespace intersect_test
