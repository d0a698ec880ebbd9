// Formatted output: the exact bytes of I, F, E, 1P, A, X, /, $, reversion
// and internal writes, as gfortran 12 writes them.
#include "support.hpp"

#include <array>
#include <limits>

namespace {

using namespace textio_test;
using textio::Out;

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan_ = std::numeric_limits<float>::quiet_NaN();
constexpr float tiny = std::numeric_limits<float>::min();
constexpr float huge = std::numeric_limits<float>::max();

class FormatOutput : public Streams {
protected:
    // Each descriptor in a statement of its own; fields joined between bars.
    template <class T, std::size_t N>
    std::string fields(T v, const std::array<const char*, N>& descs) {
        std::string s = "|";
        for (const char* d : descs) {
            textio::write(6, std::string("(") + d + ")", v);
            std::string rec = take();
            EXPECT_EQ(rec.back(), '\n');
            rec.pop_back();
            s += rec + "|";
        }
        return s;
    }
    std::string statement(const char* format, const std::vector<Item>& items) {
        Out o(6, format);
        put(o, items);
        o.end();
        return take();
    }
};

// ------------------------------------------------------------- numbers

struct RealRow {
    const char* label;
    float x;
    const char* e;   // e16.8 1pe16.8 e13.5 1pe13.5
    const char* f;   // f10.0 f10.1 f10.2 f10.4 f10.5 f10.6 f10.7 f5.1 f5.2 f5.3
};

const RealRow real_rows[] = {
    {"0.0", 0.0f, "|  0.00000000E+00|  0.00000000E+00|  0.00000E+00|  0.00000E+00|",
     "|        0.|       0.0|      0.00|    0.0000|   0.00000|  0.000000| 0.0000000|  0.0| 0.00|0.000|"},
    {"-0.0", -0.0f, "| -0.00000000E+00| -0.00000000E+00| -0.00000E+00| -0.00000E+00|",
     "|       -0.|      -0.0|     -0.00|   -0.0000|  -0.00000| -0.000000|-0.0000000| -0.0|-0.00|-.000|"},
    {"1.0", 1.0f, "|  0.10000000E+01|  1.00000000E+00|  0.10000E+01|  1.00000E+00|",
     "|        1.|       1.0|      1.00|    1.0000|   1.00000|  1.000000| 1.0000000|  1.0| 1.00|1.000|"},
    {"-1.0", -1.0f, "| -0.10000000E+01| -1.00000000E+00| -0.10000E+01| -1.00000E+00|",
     "|       -1.|      -1.0|     -1.00|   -1.0000|  -1.00000| -1.000000|-1.0000000| -1.0|-1.00|*****|"},
    {"0.5", 0.5f, "|  0.50000000E+00|  5.00000000E-01|  0.50000E+00|  5.00000E-01|",
     "|        0.|       0.5|      0.50|    0.5000|   0.50000|  0.500000| 0.5000000|  0.5| 0.50|0.500|"},
    {"-0.5", -0.5f, "| -0.50000000E+00| -5.00000000E-01| -0.50000E+00| -5.00000E-01|",
     "|       -0.|      -0.5|     -0.50|   -0.5000|  -0.50000| -0.500000|-0.5000000| -0.5|-0.50|-.500|"},
    {"1e-40", 1e-40f, "|  0.99999461E-40|  9.99994610E-41|  0.99999E-40|  9.99995E-41|",
     "|        0.|       0.0|      0.00|    0.0000|   0.00000|  0.000000| 0.0000000|  0.0| 0.00|0.000|"},
    {"tiny", tiny, "|  0.11754944E-37|  1.17549435E-38|  0.11755E-37|  1.17549E-38|",
     "|        0.|       0.0|      0.00|    0.0000|   0.00000|  0.000000| 0.0000000|  0.0| 0.00|0.000|"},
    {"huge", huge, "|  0.34028235E+39|  3.40282347E+38|  0.34028E+39|  3.40282E+38|",
     "|**********|**********|**********|**********|**********|**********|**********|*****|*****|*****|"},
    {"1e38", 1e38f, "|  0.99999997E+38|  9.99999968E+37|  0.10000E+39|  1.00000E+38|",
     "|**********|**********|**********|**********|**********|**********|**********|*****|*****|*****|"},
    {"NaN", nan_, "|             NaN|             NaN|          NaN|          NaN|",
     "|       NaN|       NaN|       NaN|       NaN|       NaN|       NaN|       NaN|  NaN|  NaN|  NaN|"},
    {"-NaN", -nan_, "|             NaN|             NaN|          NaN|          NaN|",
     "|       NaN|       NaN|       NaN|       NaN|       NaN|       NaN|       NaN|  NaN|  NaN|  NaN|"},
    {"+Inf", inf, "|        Infinity|        Infinity|     Infinity|     Infinity|",
     "|  Infinity|  Infinity|  Infinity|  Infinity|  Infinity|  Infinity|  Infinity|  Inf|  Inf|  Inf|"},
    {"-Inf", -inf, "|       -Infinity|       -Infinity|    -Infinity|    -Infinity|",
     "| -Infinity| -Infinity| -Infinity| -Infinity| -Infinity| -Infinity| -Infinity| -Inf| -Inf| -Inf|"},
    {"9.9999999", 9.9999999f, "|  0.10000000E+02|  1.00000000E+01|  0.10000E+02|  1.00000E+01|",
     "|       10.|      10.0|     10.00|   10.0000|  10.00000| 10.000000|10.0000000| 10.0|10.00|*****|"},
    {"9.999996", 9.999996f, "|  0.99999962E+01|  9.99999619E+00|  0.10000E+02|  1.00000E+01|",
     "|       10.|      10.0|     10.00|   10.0000|  10.00000|  9.999996| 9.9999962| 10.0|10.00|*****|"},
    {"0.999996", 0.999996f, "|  0.99999601E+00|  9.99996006E-01|  0.10000E+01|  9.99996E-01|",
     "|        1.|       1.0|      1.00|    1.0000|   1.00000|  0.999996| 0.9999960|  1.0| 1.00|1.000|"},
    {"123456.789", 123456.789f, "|  0.12345679E+06|  1.23456789E+05|  0.12346E+06|  1.23457E+05|",
     "|   123457.|  123456.8| 123456.79|**********|**********|**********|**********|*****|*****|*****|"},
    {"-1e-6", -1e-6f, "| -0.10000000E-05| -9.99999997E-07| -0.10000E-05| -1.00000E-06|",
     "|       -0.|      -0.0|     -0.00|   -0.0000|  -0.00000| -0.000001|-0.0000010| -0.0|-0.00|-.000|"},
    {"0.05", 0.05f, "|  0.50000001E-01|  5.00000007E-02|  0.50000E-01|  5.00000E-02|",
     "|        0.|       0.1|      0.05|    0.0500|   0.05000|  0.050000| 0.0500000|  0.1| 0.05|0.050|"},
    {"-0.05", -0.05f, "| -0.50000001E-01| -5.00000007E-02| -0.50000E-01| -5.00000E-02|",
     "|       -0.|      -0.1|     -0.05|   -0.0500|  -0.05000| -0.050000|-0.0500000| -0.1|-0.05|-.050|"},
    {"1e10", 1e10f, "|  0.10000000E+11|  1.00000000E+10|  0.10000E+11|  1.00000E+10|",
     "|**********|**********|**********|**********|**********|**********|**********|*****|*****|*****|"},
    {"1e-10", 1e-10f, "|  0.10000000E-09|  1.00000001E-10|  0.10000E-09|  1.00000E-10|",
     "|        0.|       0.0|      0.00|    0.0000|   0.00000|  0.000000| 0.0000000|  0.0| 0.00|0.000|"},
    {"99.96", 99.96f, "|  0.99959999E+02|  9.99599991E+01|  0.99960E+02|  9.99600E+01|",
     "|      100.|     100.0|     99.96|   99.9600|  99.96000| 99.959999|99.9599991|100.0|99.96|*****|"},
    {"-9.996", -9.996f, "| -0.99960003E+01| -9.99600029E+00| -0.99960E+01| -9.99600E+00|",
     "|      -10.|     -10.0|    -10.00|   -9.9960|  -9.99600| -9.996000|-9.9960003|-10.0|*****|*****|"},
};

TEST_F(FormatOutput, RealDescriptors) {
    const std::array<const char*, 4> e = {"e16.8", "1pe16.8", "e13.5", "1pe13.5"};
    const std::array<const char*, 10> f = {"f10.0", "f10.1", "f10.2", "f10.4", "f10.5",
                                           "f10.6", "f10.7", "f5.1",  "f5.2",  "f5.3"};
    for (const RealRow& r : real_rows) {
        EXPECT_EQ(fields(r.x, e), r.e) << r.label;
        EXPECT_EQ(fields(r.x, f), r.f) << r.label;
    }
}

TEST_F(FormatOutput, TiesRoundToEven) {
    const std::array<const char*, 6> d = {"f10.0", "f5.2", "f5.1", "f10.5", "e13.1", "1pe13.1"};
    const std::pair<float, const char*> rows[] = {
        {0.5f, "|        0.| 0.50|  0.5|   0.50000|      0.5E+00|      5.0E-01|"},
        {1.5f, "|        2.| 1.50|  1.5|   1.50000|      0.2E+01|      1.5E+00|"},
        {2.5f, "|        2.| 2.50|  2.5|   2.50000|      0.2E+01|      2.5E+00|"},
        {0.125f, "|        0.| 0.12|  0.1|   0.12500|      0.1E+00|      1.2E-01|"},
        {0.375f, "|        0.| 0.38|  0.4|   0.37500|      0.4E+00|      3.8E-01|"},
        {0.625f, "|        1.| 0.62|  0.6|   0.62500|      0.6E+00|      6.2E-01|"},
        {2.25f, "|        2.| 2.25|  2.2|   2.25000|      0.2E+01|      2.2E+00|"},
        {1e-5f, "|        0.| 0.00|  0.0|   0.00001|      0.1E-04|      1.0E-05|"},
        {5e-5f, "|        0.| 0.00|  0.0|   0.00005|      0.5E-04|      5.0E-05|"},
        {12.5f, "|       12.|12.50| 12.5|  12.50000|      0.1E+02|      1.2E+01|"},
    };
    for (const auto& [x, want] : rows) EXPECT_EQ(fields(x, d), want) << x;
}

TEST_F(FormatOutput, SpecialValuesInNarrowFields) {
    const struct {
        const char* format;
        float x;
        const char* want;
    } rows[] = {
        {"(f8.2)", inf, "Infinity"}, {"(f8.2)", -inf, "    -Inf"}, {"(f9.2)", -inf, "-Infinity"},
        {"(f4.1)", -inf, "-Inf"},    {"(f4.1)", inf, " Inf"},       {"(f3.1)", -inf, "***"},
        {"(f3.1)", inf, "Inf"},      {"(f3.1)", nan_, "NaN"},       {"(f2.0)", nan_, "**"},
        {"(e9.2)", inf, " Infinity"},
    };
    for (const auto& r : rows) {
        textio::write(6, r.format, r.x);
        EXPECT_EQ(take(), std::string(r.want) + "\n") << r.format << " " << r.x;
    }
}

// More digits than a float holds: the exact binary value, then zeros.
TEST_F(FormatOutput, ExponentFieldsWiderThanAnyFloat) {
    const std::string z33(33, '0'), z78(78, '0'), z90(90, '0');
    const struct {
        const char* format;
        float x;
        std::string want;
    } rows[] = {
        {"(e70.60)", 0.1f, "    0.100000001490116119384765625" + z33 + "E+00"},
        {"(e90.80)", -0.25f, "   -0.25" + z78 + "E+00"},
        {"(1pe100.90)", 1.0f, "    1." + z90 + "E+00"},
    };
    for (const auto& r : rows) {
        textio::write(6, r.format, r.x);
        EXPECT_EQ(take(), r.want + "\n") << r.format << " " << r.x;
    }
}

TEST_F(FormatOutput, IntegerDescriptors) {
    const std::array<const char*, 5> d = {"i5", "i2", "i3", "i8", "i7"};
    const std::pair<std::int32_t, const char*> rows[] = {
        {0, "|    0| 0|  0|       0|      0|"},
        {-1, "|   -1|-1| -1|      -1|     -1|"},
        {5, "|    5| 5|  5|       5|      5|"},
        {-9, "|   -9|-9| -9|      -9|     -9|"},
        {-10, "|  -10|**|-10|     -10|    -10|"},
        {99, "|   99|99| 99|      99|     99|"},
        {100, "|  100|**|100|     100|    100|"},
        {-9999, "|-9999|**|***|   -9999|  -9999|"},
        {-99999, "|*****|**|***|  -99999| -99999|"},
        {99999, "|99999|**|***|   99999|  99999|"},
        {100000, "|*****|**|***|  100000| 100000|"},
        {-2147483647 - 1, "|*****|**|***|********|*******|"},
    };
    for (const auto& [v, want] : rows) EXPECT_EQ(fields(v, d), want) << v;
}

TEST_F(FormatOutput, ScaleFactorLastsAcrossReversionButNotPastTheStatement) {
    std::vector<Item> six = {1.5f, 2.5f, 1.0f, 2.0f, 3.0f, 4.0f};
    std::vector<Item> twelve = six;
    twelve.insert(twelve.end(), six.begin(), six.end());
    const char* first = "   1.50000   2.50000  1.00000E+00  2.00000E+00  3.00000E+00  4.00000E+00\n";
    EXPECT_EQ(statement("(2f10.5,1p4e13.5)", twelve),
              std::string(first) + "  15.00000  25.00000  1.00000E+00  2.00000E+00  3.00000E+00  4.00000E+00\n");
    EXPECT_EQ(statement("(2f10.5,1p4e13.5)", six), first);
}

// ------------------------------------------------- characters and controls

TEST_F(FormatOutput, OneRecordStatements) {
    const std::string s80 =
        "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ--------------------------";
    const struct {
        const char* format;
        std::vector<Item> items;
        std::string want;
    } rows[] = {
        {"(a8)", {"abc"}, "     abc"},
        {"(a8)", {s80}, "abcdefgh"},
        {"(a1)", {s80}, "a"},
        {"(a64)", {s80}, "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ--"},
        {"(a)", {""}, ""},
        {"(a)", {"trailing  "}, "trailing  "},
        {"(2i5,10x,a)", {3, 4, ""}, "    3    4          "},
        {"(2i5,i5,5x,a)", {3, 4, 7, ""}, "    3    4    7     "},
        {"(2i5,10x,a)", {3, 4, "title"}, "    3    4          title"},
        {"(2i5,i5,5x,a)", {3, 4, -7, "title"}, "    3    4   -7     title"},
        {"(i5,10x)", {1}, "    1"},
        {"(a,10x)", {"ab"}, "ab"},
        {"(a,10x,a)", {"ab", ""}, "ab          "},
        {"(8x,a)", {"X"}, "        X"},
        {"(1x,a)", {"GRIDEDIT"}, " GRIDEDIT"},
        {"(2i5,10x,a)", {0, 0, nuls(60)}, "    0    0          " + nuls(60)},
        {"(2a)", {" network title is ", nuls(60)}, " network title is " + nuls(60)},
        {"(a)", {"say \"x\""}, "say \"x\""},
        {"(9i5,2x,a8,4i5)",
         {128, 1, 0, 0, 0, 1, 0, 0, 0, "LABEL", 0, 0, 0, 0},
         "  128    1    0    0    0    1    0    0    0     LABEL    0    0    0    0"},
        {"(9i8,a1,i7)",
         {128, 1, 0, 0, 0, 0, 0, 0, 10001, "D", 1},
         "     128       1       0       0       0       0       0       0   10001D      1"},
        {"(5i8,16x,a8,i8,a1,i7)",
         {128, 0, 0, 5, 0, "SURF1", 0, "D", 2},
         "     128       0       0       5       0                   SURF1       0D      2"},
        {"(a64,1x,i7,a1,i7)",
         {s80, 1, "P", 1},
         "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ--       1P      1"},
        {"(4(a1,i7),40x,a1,i7)",
         {"S", 1, "G", 3, "D", 4, "P", 8, "T", 1},
         "S      1G      3D      4P      8                                        T      1"},
        {"(2(a,i5))", {" ms =", 3, " ns =", 123456}, " ms =    3 ns =*****"},
        {"(a,i3,a,i3)", {"ZONE T=\"x\", I=", 17, ", J=", 9}, "ZONE T=\"x\", I= 17, J=  9"},
        {"(a,i3,a,i3)", {"ZONE T=\"x\", I=", 1000, ", J=", -99}, "ZONE T=\"x\", I=***, J=-99"},
        {"(a,i2,a,f5.2)", {"n=", 7, " r=", 0.05f}, "n= 7 r= 0.05"},
        {"(a,f5.1)", {"x=", -99.96f}, "x=*****"},
        {"(a,i5,2e13.5)", {"sweep", 3, 1.0f, -0.25f}, "sweep    3  0.10000E+01 -0.25000E+00"},
        {"(8x,2f5.1,f10.5,f10.7,f10.4,f10.4)",
         {0.0f, -10.0f, 0.5f, 0.1234567f, 12.5f, -3.0f},
         "          0.0-10.0   0.50000 0.1234567   12.5000   -3.0000"},
    };
    for (const auto& r : rows) EXPECT_EQ(statement(r.format, r.items), r.want + "\n") << r.format;
}

TEST_F(FormatOutput, MultiRecordStatements) {
    const struct {
        const char* format;
        std::vector<Item> items;
        const char* want;
    } rows[] = {
        {"(a,f10.5)",
         {" xnose=", 1.5f, " xtail=", -2.25f, " xtrunc=", 0.5f},
         " xnose=   1.50000\n xtail=  -2.25000\n xtrunc=   0.50000\n"},
        {"(1p3e16.8)",
         {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f},
         "  1.00000000E+00  2.00000000E+00  3.00000000E+00\n"
         "  4.00000000E+00  5.00000000E+00  6.00000000E+00\n"
         "  7.00000000E+00\n"},
        {"(1p6e13.5)",
         {1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 7.0f},
         "  1.00000E+00  2.00000E+00  3.00000E+00  4.00000E+00  5.00000E+00  6.00000E+00\n"
         "  7.00000E+00\n"},
        {"(3e16.8)",
         {1.0f, -0.5f, 1e-40f, 2.0f},
         "  0.10000000E+01 -0.50000000E+00  0.99999461E-40\n  0.20000000E+01\n"},
        {"(a,/,a)", {" subblock is active ... output ? (y/n)", " ? "}, " subblock is active ... output ? (y/n)\n ? \n"},
        {"(1x,a,//,1x,a,/,1x,4i5,//,1x,a,/,1x,4i5)",
         {" stopping for insufficient array size", "    kk   kk   mm   mm", 481, 481, 8, 8,
          "    k1   k2   m1   m2", 482, 1, 2, 3},
         "  stopping for insufficient array size\n\n     kk   kk   mm   mm\n   481  481    8    8\n\n"
         "     k1   k2   m1   m2\n   482    1    2    3\n"},
        {"(a,/,a,i5,/,a,i5)",
         {" message from foilcut:", " storage for panel arrays lw=", 500001, " greater than work array size mw=",
          500000},
         " message from foilcut:\n storage for panel arrays lw=*****\n greater than work array size mw=*****\n"},
        {"(3a,/,a,i3,a,i3)", {"ZONE T=", "\"keel\"", ",", "I=", 17, ", J=", 9}, "ZONE T=\"keel\",\nI= 17, J=  9\n"},
        {"(a,f5.3,a,f5.3,a,/,a,a,a)",
         {"TEXT X=", 0.05f, ", Y=", 0.9f, ",", "T=", "\"title\"", ""},
         "TEXT X=0.050, Y=0.900,\nT=\"title\"\n"},
        {"(a,/,a,2i5,a,2i5)",
         {" error in readnet:", " network inew,jnew=", 5, 4, " .gt. subblock i2-i1+1 , j2-j1+1 = ", 3, 3},
         " error in readnet:\n network inew,jnew=    5    4 .gt. subblock i2-i1+1 , j2-j1+1 =     3    3\n"},
        // the end of the items: controls up to the next data descriptor still act
        {"(a)", {}, "\n"},
        {"(a,i5)", {"only text"}, "only text\n"},
        {"(a,/)", {"slash at end"}, "slash at end\n\n"},
        {"(a,/,a)", {"one item then slash"}, "one item then slash\n\n"},
        // reversion to the start, and to the last top-level group with its count
        {"(2i5)", {1, 2, 3, 4, 5}, "    1    2\n    3    4\n    5\n"},
        {"(a,2(i3,a))", {"x", 1, "a", 2, "b", 3, "c"}, "x  1a  2b\n  3c\n"},
    };
    for (const auto& r : rows) EXPECT_EQ(statement(r.format, r.items), r.want) << r.format;
}

TEST_F(FormatOutput, DollarContinuesTheLine) {
    textio::write(6, "(a,$)", " enter option: ");
    textio::write(6, "(a)", "next write");
    textio::write(6, "(a,$)", " enter option: ");
    textio::write_list(6);
    textio::write(6, "(a)", "after empty list write");
    textio::write(6, "(a,$)", " prompt2: ");
    textio::write_list(6, "list after prompt");
    textio::write(6, "(a,$)", " n=");
    textio::write(6, "(i3,$)", 5);
    textio::write(6, "(a)", "");
    EXPECT_EQ(output(),
              " enter option: next write\n"
              " enter option: \n"
              "after empty list write\n"
              " prompt2:  list after prompt\n"
              " n=  5\n");
}

// ------------------------------------------------------- internal writes

TEST(InternalWrite, BlankFillsTheRestOfTheVariable) {
    std::string stamp(120, 's');
    Out o(std::span<char>(stamp).subspan(111), textio::fmt("(i2)"));
    o(std::int32_t{5});
    o.end();
    EXPECT_EQ(stamp, std::string(111, 's') + " 5" + std::string(7, ' '));

    std::array<char, 10> field;
    field.fill('?');
    textio::Out(std::span<char>(field), textio::fmt("(a,i3)"))("ab")(std::int32_t{-7}).end();
    EXPECT_EQ(std::string(field.data(), field.size()), "ab -7     ");
}

TEST(InternalWrite, LongerThanTheVariableIsEndOfRecord) {
    std::string small(5, 'x');
    textio::Out o(std::span<char>(small), textio::fmt("(i8)"));
    o(std::int32_t{1});
    try {
        o.end();
        FAIL() << "no failure";
    } catch (const textio::Failure& f) {
        EXPECT_EQ(f.detail(), "end of record");
    }
    // a second record does not exist either
    std::string rec(20, 'x');
    EXPECT_THROW(textio::Out(std::span<char>(rec), textio::fmt("(i3)"))(std::int32_t{1})(std::int32_t{2}).end(),
                 textio::Failure);
}

}  // namespace
