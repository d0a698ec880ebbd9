// Free-format output: gfortran 12's item layout, and lines that wrap before
// an item that would pass column 79.
#include "support.hpp"

#include <limits>

namespace {

using namespace textio_test;

constexpr float inf = std::numeric_limits<float>::infinity();

class ListOutput : public Streams {
protected:
    std::string statement(const std::vector<Item>& items) {
        textio::Out o(6, textio::list_directed);
        put(o, items);
        o.end();
        return take();
    }
};

TEST_F(ListOutput, ItemLayout) {
    const struct {
        std::vector<Item> items;
        std::string want;
    } rows[] = {
        {{}, ""},
        {{"error ... test matrix does not agree with old test matrix"},
         " error ... test matrix does not agree with old test matrix"},
        {{" stopping because npat.gt.npatmx"}, "  stopping because npat.gt.npatmx"},
        {{5}, "           5"},
        {{-5, 123456789, -2147483647 - 1}, "          -5   123456789 -2147483648"},
        {{"ii=", 3}, " ii=           3"},
        {{"u=", 0.25f}, " u=  0.250000000    "},
        {{1.0f, -1.0f, 0.0f, -0.0f}, "   1.00000000      -1.00000000       0.00000000      -0.00000000    "},
        {{0.1f, 0.5f, 123456.789f, 1e-40f}, "  0.100000001      0.500000000       123456.789       9.99994610E-41"},
        {{1e10f, 1e-10f, std::numeric_limits<float>::max(), std::numeric_limits<float>::min()},
         "   1.00000000E+10   1.00000001E-10   3.40282347E+38   1.17549435E-38"},
        {{0.01f, 0.001f, 0.001f, 0.0999999f}, "   9.99999978E-03   1.00000005E-03   1.00000005E-03   9.99998972E-02"},
        {{std::numeric_limits<float>::quiet_NaN(), inf, -inf}, "              NaN         Infinity        -Infinity"},
        {{12345.678f, 1234567.8f, 0.00012345f}, "   12345.6777       1234567.75       1.23449994E-04"},
        {{3, 4, 1}, "           3           4           1"},
        {{"(sc(i),i=1,ncap)"}, " (sc(i),i=1,ncap)"},
        // no blank between two texts
        {{"abc", "def", 1, "ghi"}, " abcdef           1 ghi"},
        {{" mesh computed"}, "  mesh computed"},
    };
    for (const auto& r : rows) EXPECT_EQ(statement(r.items), r.want + "\n") << r.want;
}

TEST_F(ListOutput, WrapsBeforeAnItemPastColumn79) {
    std::vector<Item> reals, ints;
    for (int k = 1; k <= 20; ++k) {
        reals.emplace_back(std::in_place_type<float>, 1.5f * static_cast<float>(k));
        ints.emplace_back(std::in_place_type<std::int32_t>, k);
    }
    const struct {
        const char* label;
        std::vector<Item> items;
        std::string want;
    } rows[] = {
        {"four reals a line",
         reals,
         "   1.50000000       3.00000000       4.50000000       6.00000000    \n"
         "   7.50000000       9.00000000       10.5000000       12.0000000    \n"
         "   13.5000000       15.0000000       16.5000000       18.0000000    \n"
         "   19.5000000       21.0000000       22.5000000       24.0000000    \n"
         "   25.5000000       27.0000000       28.5000000       30.0000000    \n"},
        {"six integers a line",
         ints,
         "           1           2           3           4           5           6\n"
         "           7           8           9          10          11          12\n"
         "          13          14          15          16          17          18\n"
         "          19          20\n"},
        {"fifth real on a new line",
         {9.9999999f, 0.99999994f, 1e7f, 1e8f, 1e9f},
         "   10.0000000      0.999999940       10000000.0       100000000.    \n   1.00000000E+09\n"},
        {"never before the first item", {std::string(100, 'x')}, " " + std::string(100, 'x') + "\n"},
        {"a long text after a real",
         {1.5f, std::string(70, 'y')},
         "   1.50000000    \n " + std::string(70, 'y') + "\n"},
        {"last column 79 stays", {std::string(77, 'a'), "b"}, " " + std::string(77, 'a') + "b\n"},
        {"column 80 wraps with a blank", {std::string(78, 'a'), "b"}, " " + std::string(78, 'a') + "\n b\n"},
    };
    for (const auto& r : rows) EXPECT_EQ(statement(r.items), r.want) << r.label;
}

TEST_F(ListOutput, EachStatementStartsANewRecord) {
    textio::write_list(6, 1);
    textio::write_list(6);
    textio::write_list(6, "a", 2.0f);
    EXPECT_EQ(output(), "           1\n\n a   2.00000000    \n");
}

TEST_F(ListOutput, PromptColumnsCountTowardsTheWrap) {
    textio::write(6, "(a,$)", std::string(50, 'p'));
    textio::write_list(6, 1.5f, 2.5f);
    EXPECT_EQ(output(), std::string(50, 'p') + "   1.50000000    \n   2.50000000    \n");
}

}  // namespace
