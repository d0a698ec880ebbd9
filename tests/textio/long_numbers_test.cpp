// Numbers longer than any accumulator holds: exponents and digit strings of
// any length read to the value the whole text stands for, as gfortran's
// free-format reader gives it, in free format and in F and E fields alike.
#include "support.hpp"

#include <limits>

namespace {

using namespace textio_test;
using textio::Status;

constexpr float inf = std::numeric_limits<float>::infinity();

std::string zeros(std::size_t n) { return std::string(n, '0'); }

struct Row {
    std::string text;
    float value;
};

const Row real_rows[] = {
    {"1.0E11111111111", inf},
    {"-1.0E11111111111", -inf},
    {"1.0E-11111111111", 0.0f},
    {"-1.0E-11111111111", -0.0f},
    {"1.0D11111111111", inf},
    {"-1.0D-11111111111", -0.0f},
    {"1.0-11111111111", 0.0f},   // a sign alone starts the exponent
    // just past 32 bits, where a wrapped count would read 0 and 1.0
    {"1.0E+2147483648", inf},
    {"1.0E-4294967296", 0.0f},
    // leading zeros carry no digits, in the exponent or the mantissa
    {"1.0E-0000000000000000000005", 1.0e-5f},
    {"2.5D+" + zeros(40) + "38", 2.5e38f},
    {"." + zeros(70) + "1E11111111111", inf},
    {"0." + zeros(60) + "15E+" + zeros(60) + "61", 1.5f},
    // more digits than 64 bits hold
    {"123456789012345678901234567890123456789012345678901234567890.E-60", 0.12345678901234567890f},
    {"1" + zeros(38) + ".", 1.0e38f},
};

TEST(LongNumbers, RealsInFreeFormat) {
    for (const Row& r : real_rows) {
        float v = -7.0f, next = -7.0f;
        const textio::Result res = textio::In(r.text + " 2", textio::list_directed)(v)(next).done();
        EXPECT_EQ(res.status, Status::ok) << r.text << ": " << res.message;
        EXPECT_TRUE(same(v, r.value)) << r.text << ": " << v;
        EXPECT_EQ(next, 2.0f) << r.text;
    }
}

// gfortran's own F and E input refuses exponents of five digits or more and
// wraps longer ones; the layer reads a field as the same text in free format.
TEST(LongNumbers, RealsInFixedFields) {
    for (const Row& r : real_rows)
        for (const char* format : {"(f150.0,f5.0)", "(e150.3,f5.0)"}) {
            std::string record = r.text;
            record.resize(150, ' ');
            float v = -7.0f, next = -7.0f;
            const textio::Result res = textio::In(record + "   2.", textio::fmt(format))(v)(next).done();
            EXPECT_EQ(res.status, Status::ok) << r.text << " " << format << ": " << res.message;
            EXPECT_TRUE(same(v, r.value)) << r.text << " " << format << ": " << v;
            EXPECT_EQ(next, 2.0f) << r.text << " " << format;
        }
}

TEST(LongNumbers, IntegersOfLongDigitStrings) {
    const struct {
        std::string text;
        Status status;
        std::int32_t value;   // when read
        const char* list_message;
        const char* field_message;
    } rows[] = {
        {"-" + zeros(40) + "42", Status::ok, -42, "", ""},
        {"+" + zeros(40) + "2147483647", Status::ok, 2147483647, "", ""},
        {std::string(40, '9'), Status::error, 0, "integer overflow while reading item 1",
         "value overflowed during integer read"},
    };
    for (const auto& r : rows) {
        std::int32_t list = -7, field = -7;
        const textio::Result a = textio::In(r.text, textio::list_directed)(list).done();
        const textio::Result b = textio::In(r.text, textio::fmt("(i60)"))(field).done();
        EXPECT_EQ(a.status, r.status) << r.text;
        EXPECT_EQ(b.status, r.status) << r.text;
        EXPECT_EQ(a.message, r.list_message) << r.text;
        EXPECT_EQ(b.message, r.field_message) << r.text;
        EXPECT_EQ(list, r.status == Status::ok ? r.value : -7) << r.text;
        EXPECT_EQ(field, r.status == Status::ok ? r.value : -7) << r.text;
    }
}

}  // namespace
