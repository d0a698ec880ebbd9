// The fast number writers against the general ones they short-cut, over
// float bit patterns taken at a stride through all 2^32 of them (both
// signs, every exponent, subnormals, the infinities and NaNs), in the
// fields the programs write.
#include "textio/number_writer.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>

namespace {

namespace numbers = textio::numbers;

// Odd, so that the low bits of the fraction take every value in turn;
// about two million patterns.
constexpr std::uint64_t stride = 2053;
constexpr int shown = 5;   // mismatches reported of each field

struct Field {
    const char* name;
    void (*fast)(std::string&, float, int, int, int);
    void (*general)(std::string&, float, int, int, int);
    int w, d, scale;
};

constexpr Field fixed(const char* name, int w, int d) {
    return {name, numbers::put_fixed, numbers::general::put_fixed, w, d, 0};
}
constexpr Field exponent(const char* name, int w, int d, int scale) {
    return {name, numbers::put_exp, numbers::general::put_exp, w, d, scale};
}

TEST(WriterSweep, FastWritersAsTheGeneralOnesOverFloatBitPatterns) {
    const Field fields[] = {
        fixed("f5.1", 5, 1),   fixed("f5.2", 5, 2),   fixed("f5.3", 5, 3),   fixed("f10.0", 10, 0),
        fixed("f10.1", 10, 1), fixed("f10.2", 10, 2), fixed("f10.4", 10, 4), fixed("f10.5", 10, 5),
        fixed("f10.6", 10, 6), fixed("f10.7", 10, 7), exponent("e16.8", 16, 8, 0), exponent("e13.5", 13, 5, 0),
        exponent("1pe13.5", 13, 5, 1), exponent("1pe16.8", 16, 8, 1),
    };
    int mismatches[std::size(fields) + 1] = {};
    std::string a, b;
    const auto differ = [&](int& count, const char* name, float x) {
        if (a == b) return;
        if (++count <= shown)
            ADD_FAILURE() << name << " of bits 0x" << std::hex << std::bit_cast<std::uint32_t>(x) << ": \"" << a
                          << "\" and \"" << b << "\"";
    };
    for (std::uint64_t bits = 0; bits <= 0xffffffffu; bits += stride) {
        const float x = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        for (std::size_t k = 0; k < std::size(fields); ++k) {
            const Field& f = fields[k];
            a.clear();
            b.clear();
            f.fast(a, x, f.w, f.d, f.scale);
            f.general(b, x, f.w, f.d, f.scale);
            differ(mismatches[k], f.name, x);
        }
        a.clear();
        b.clear();
        numbers::put_list_real(a, x);
        numbers::general::put_list_real(b, x);
        differ(mismatches[std::size(fields)], "free format", x);
    }
    for (std::size_t k = 0; k <= std::size(fields); ++k)
        EXPECT_EQ(mismatches[k], 0) << (k < std::size(fields) ? fields[k].name : "free format");
}

}  // namespace
