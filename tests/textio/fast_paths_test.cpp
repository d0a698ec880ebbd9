// The number conversions' fast paths against the general ones they stand
// in for: the same bytes and values over the edge values, the rounding
// ties, the largest and smallest floats, fields that only just fit and
// fields of asterisks, and over the texts where the fast reader must step
// aside.
#include "support.hpp"

#include "textio/number_reader.hpp"
#include "textio/number_writer.hpp"

#include <limits>
#include <span>
#include <string>
#include <string_view>

namespace {

using textio_test::same;
namespace numbers = textio::numbers;

constexpr float inf = std::numeric_limits<float>::infinity();

const float edge_values[] = {
    0.0f, -0.0f, 1.0f, -1.0f, 0.1f, -0.1f, 0.3f, 2.0f / 3.0f,
    // ties of the descriptors' last digit, exact in binary
    0.5f, 1.5f, 2.5f, -2.5f, 0.125f, 0.375f, -0.625f, 0.0625f, 1.0078125f, 0.03125f, 12.5f, 99.5f,
    0.00048828125f, 4.8828125e-05f, 3.0517578125e-05f,
    // carries into one more digit, and fields that only just fit or not at all
    9.5f, 9.95f, 9.995f, 9.9995f, 9.99995f, 0.99999994f, 99999.99f, 999999.94f, 9999999.0f, -9999.9951f,
    123456.79f, -12345.679f, 1.0e7f, 16777216.0f, 16777217.0f, 4.2949673e9f, 1.0e10f, -1.0e15f, 1.8446744e19f,
    // the smallest and largest
    1.0e-5f, 1.0e-8f, 1.0e-9f, 1.0e-10f, -1.0e-12f, 1.0e-20f, 1.17549435e-38f, 1.0e-40f, 1.4e-45f, -1.4e-45f,
    3.4028235e38f, -3.4028235e38f, 1.0e38f, 3.0e30f,
    // values the general path keeps to itself
    inf, -inf, std::numeric_limits<float>::quiet_NaN()};

struct Field {
    int w, d, scale;
};

using FieldWriter = void (*)(std::string&, float, int, int, int);

// Every edge value through every field, by both writers.
void expect_same_fields(FieldWriter fast, FieldWriter general, std::span<const Field> fields, const char* kind) {
    for (float x : edge_values)
        for (const Field& f : fields) {
            std::string a, b;
            fast(a, x, f.w, f.d, f.scale);
            general(b, x, f.w, f.d, f.scale);
            EXPECT_EQ(a, b) << x << " as " << f.scale << "p" << kind << f.w << "." << f.d;
        }
}

TEST(FastPaths, FixedFieldsAsTheGeneralPathWritesThem) {
    const Field fields[] = {{5, 1, 0},  {5, 2, 0},  {5, 3, 0},  {10, 0, 0}, {10, 1, 0}, {10, 4, 0},
                            {10, 5, 0}, {10, 7, 0}, {13, 9, 0}, {40, 17, 0}, {40, 20, 0}, {10, 3, 2}};
    expect_same_fields(numbers::put_fixed, numbers::general::put_fixed, fields, "f");
}

TEST(FastPaths, ExponentFieldsAsTheGeneralPathWritesThem) {
    const Field fields[] = {{16, 8, 1}, {16, 8, 0}, {13, 5, 1}, {13, 5, 0}, {12, 3, 2},
                            {12, 3, -1}, {9, 2, 1},  {10, 3, 4}, {30, 17, 1}, {40, 20, 1}};
    expect_same_fields(numbers::put_exp, numbers::general::put_exp, fields, "e");
    for (float x : edge_values) {
        std::string fast, general;
        numbers::put_list_real(fast, x);
        numbers::general::put_list_real(general, x);
        EXPECT_EQ(fast, general) << x << " in free format";
    }
}

// A few of them written out, as gfortran writes them: ties go to the even digit.
TEST(FastPaths, TiesGoToTheEvenDigit) {
    enum Kind { fixed, exponent };
    const struct {
        float x;
        Kind kind;
        Field f;
        std::string_view text;
    } rows[] = {
        {0.125f, fixed, {10, 2, 0}, "      0.12"},       {0.375f, fixed, {10, 2, 0}, "      0.38"},
        {2.5f, fixed, {5, 0, 0}, "   2."},              {0.5f, fixed, {5, 0, 0}, "   0."},
        {-0.625f, fixed, {5, 2, 0}, "-0.62"},           {9.996f, fixed, {5, 2, 0}, "10.00"},
        {99.996f, fixed, {5, 2, 0}, "*****"},           {0.125f, exponent, {8, 1, 1}, " 1.2E-01"},
        {0.375f, exponent, {8, 1, 1}, " 3.8E-01"},      {16777217.0f, exponent, {16, 8, 1}, "  1.67772160E+07"},
    };
    for (const auto& r : rows) {
        std::string out;
        if (r.kind == fixed)
            numbers::put_fixed(out, r.x, r.f.w, r.f.d, r.f.scale);
        else
            numbers::put_exp(out, r.x, r.f.w, r.f.d, r.f.scale);
        EXPECT_EQ(out, r.text) << r.x;
    }
}

const std::string_view texts[] = {
    "0", "-0", "-0.0", "+0.000", "1", "1.", ".5", "+.5", "-1.5", "0.1", "3.14159265", "1.234567E-03",
    "-9.99999940E-01", "12345.678", "1.0E+05", "1e0005", "1e00005", "1E22", "1e23", "1e-22", "1E-23", "1.5e",
    "1.5e+", "1.5d3", "1.0-3", "1.0+3", "1.5.5", ".", "-", "+", "e5", "1x", "inf", "-Infinity", "nan",
    // digits: 19 count, 20 do not, leading zeros do not count
    "1234567890123456789", "12345678901234567890", "0.0000000000000000000001234", "00000000000000000000001.5",
    "9007199254740992", "9007199254740993", "18446744073709551615",
    // float midpoints, which one rounding in double cannot settle, and texts
    // just beside one that round to it in double
    "16777217", "16777219", "1.00000005960464477539062500", "0.500000029802322387695312", "4.357501268386841e+00",
    "3.077839780598879e-02", "5.589453794527799e-04",
    // the ends of the float range
    "3.4028235e38", "3.40282356779733661637539395458142568448e38", "3.4028236e38", "1e39", "1.17549435e-38",
    "1.1754942e-38", "1e-40", "1.4e-45", "7e-46",
    // exponents and digit strings longer than any count holds
    "1.0E11111111111", "-1.0E-11111111111", "1.0E+2147483648", "1.0E-4294967296", "1.0E-0000000000000000000005",
    "0.000000000000000000000000000000000000000000000000000000000000015E+000000000000000000000000000000000061",
    "123456789012345678901234567890123456789012345678901234567890.E-60"};

TEST(FastPaths, FreeFormatRealsAsTheGeneralPathReadsThem) {
    for (std::string_view t : texts) {
        float fast = -7.0f, general = -7.0f;
        const numbers::Parse pf = numbers::read_list_real(t, fast);
        const numbers::Parse pg = numbers::general::read_list_real(t, general);
        EXPECT_EQ(pf, pg) << t;
        EXPECT_TRUE(same(fast, general)) << t << ": " << fast << " and " << general;
    }
}

TEST(FastPaths, FixedFieldRealsAsTheGeneralPathReadsThem) {
    for (std::string_view t : texts)
        for (int d = 0; d <= 4; ++d)
            for (const std::string& field : {std::string(t), "   " + std::string(t) + " ",
                                             std::string(t.substr(0, t.size() / 2)) + " " +
                                                 std::string(t.substr(t.size() / 2))}) {
                float fast = -7.0f, general = -7.0f;
                const numbers::Parse pf = numbers::read_real_field(field, d, fast);
                const numbers::Parse pg = numbers::general::read_real_field(field, d, general);
                EXPECT_EQ(pf, pg) << "[" << field << "] d=" << d;
                EXPECT_TRUE(same(fast, general)) << "[" << field << "] d=" << d << ": " << fast << " and " << general;
            }
}

// The fast reader's own contract: where it stops, and that it steps aside.
TEST(FastPaths, PlainDecimalStopsAfterTheNumber) {
    const struct {
        std::string_view text;
        std::size_t stop;   // std::string_view::npos: stepped aside
        float value;
    } rows[] = {
        {"1.5 2.5", 3, 1.5f},        {"-2.25,", 5, -2.25f},      {"1.5E+01/", 7, 15.0f},  {"7*1.5", 1, 7.0f},
        {"1.5d3", 3, 1.5f},          {"1.5e", std::string_view::npos, 0.0f}, {"16777217", std::string_view::npos, 0.0f},
        {"1e39", std::string_view::npos, 0.0f}, {"abc", std::string_view::npos, 0.0f},
        {"1.0E-0005 2", 9, 1.0e-5f}, {"1.0E-00005 2", std::string_view::npos, 0.0f},
        {"1.0E11111111111 2", std::string_view::npos, 0.0f},
    };
    for (const auto& r : rows) {
        float v = -7.0f;
        const char* stop = numbers::parse_plain_decimal(r.text.data(), r.text.data() + r.text.size(), 0, v);
        if (r.stop == std::string_view::npos) {
            EXPECT_EQ(stop, nullptr) << r.text;
            EXPECT_EQ(v, -7.0f) << r.text;
        } else {
            ASSERT_NE(stop, nullptr) << r.text;
            EXPECT_EQ(static_cast<std::size_t>(stop - r.text.data()), r.stop) << r.text;
            EXPECT_EQ(v, r.value) << r.text;
        }
    }
    const char* const twelve = "12";
    float v = 0.0f;
    EXPECT_EQ(numbers::parse_plain_decimal(twelve, twelve + 2, 3, v), twelve + 2);
    EXPECT_EQ(v, 0.012f);   // no point: the descriptor's decimals
}

}  // namespace
