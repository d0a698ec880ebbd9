#include "number_writer.hpp"

#include "powers.hpp"

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <system_error>

namespace textio::numbers {

namespace {

// ------------------------------------------------------------ exact digits
//
// The fast paths work on the exact binary value of a float, |x| = m * 2^e,
// in 64-bit integers, and round ties to even as the general paths
// (std::to_chars, printf) do. Where 64 bits do not hold the work they
// decline, and the general path runs instead.

// Powers of 5 that 64 bits hold (of 10: powers.hpp).
constexpr int max_pow5 = 27;
constexpr int max_scale_pow5 = 17;   // m * 5^17 < 2^24 * 2^40 stays in 64 bits
constexpr auto pow5 = powers<max_pow5 + 1>(5);

// What is left below the integer part of a scaled value, against one half.
enum class Rest { zero, below, tie, above };

Rest compare_half(std::uint64_t rest, std::uint64_t half) {
    if (rest == 0) return Rest::zero;
    return rest < half ? Rest::below : rest == half ? Rest::tie : Rest::above;
}

struct Binary {
    std::uint64_t m;   // |x| = m * 2^e
    int e;
};

Binary decompose(float x) {
    const std::uint32_t b = std::bit_cast<std::uint32_t>(x) & 0x7fffffffu;
    const std::uint32_t frac = b & 0x7fffffu;
    const int biased = static_cast<int>(b >> 23);
    if (biased == 0) return {frac, -149};
    return {frac | 0x800000u, biased - 150};
}

// q = floor(m * 2^e * 10^p) and how the remainder compares with one half;
// false when that needs more than 64 bits. m < 2^24.
bool scaled(Binary v, int p, std::uint64_t& q, Rest& rest) {
    constexpr std::uint64_t top = std::uint64_t{1} << 63;
    if (p >= 0) {
        if (p > max_scale_pow5) return false;
        const std::uint64_t big = v.m * pow5[p];   // times 2^(e + p)
        const int t = v.e + p;
        if (t >= 0) {
            if (t > 62 || (big >> (62 - t)) != 0) return false;
            q = big << t;
            rest = Rest::zero;
        } else if (-t >= 65) {
            q = 0;   // below 2^64 / 2^65
            rest = big == 0 ? Rest::zero : Rest::below;
        } else if (-t == 64) {
            q = 0;
            rest = compare_half(big, top);
        } else {
            const int s = -t;
            q = big >> s;
            rest = compare_half(big & ((std::uint64_t{1} << s) - 1), std::uint64_t{1} << (s - 1));
        }
        return true;
    }
    const int k = -p;   // m * 2^(e - k) / 5^k
    if (k > max_pow5) return false;
    const int t = v.e - k;
    std::uint64_t num = v.m, den = pow5[k];
    if (t >= 0) {
        if (t > 62 || (num >> (62 - t)) != 0) return false;
        num <<= t;
    } else {
        if (-t > 62 || (den >> (62 + t)) != 0) return false;
        den <<= -t;
    }
    q = num / den;
    const std::uint64_t r = num % den;   // den < 2^63: 2r does not overflow
    rest = r == 0 ? Rest::zero : 2 * r < den ? Rest::below : 2 * r == den ? Rest::tie : Rest::above;
    return true;
}

std::uint64_t round_even(std::uint64_t q, Rest rest) {
    return (rest == Rest::above || (rest == Rest::tie && (q & 1) != 0)) ? q + 1 : q;
}

constexpr char digit_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The decimal digits of v, at least min_digits of them (zeros in front),
// written backwards so that they end just before end; returns their start.
char* digits_before(char* end, std::uint64_t v, int min_digits) {
    char* p = end;
    while (v >= 100) {
        const std::size_t two = static_cast<std::size_t>(v % 100) * 2;
        v /= 100;
        *--p = digit_pairs[two + 1];
        *--p = digit_pairs[two];
    }
    if (v >= 10) {
        const std::size_t two = static_cast<std::size_t>(v) * 2;
        *--p = digit_pairs[two + 1];
        *--p = digit_pairs[two];
    } else {
        *--p = static_cast<char>('0' + v);
    }
    while (end - p < min_digits) *--p = '0';
    return p;
}

// Exactly n decimal digits of v (v < 10^n), leading zeros included.
char* put_digits(char* p, std::uint64_t v, int n) {
    digits_before(p + n, v, n);
    return p + n;
}

// The text std::to_chars(double(x), fixed, d) gives: [-]digits[.d digits].
bool fast_fixed(float x, int d, char* buf, int& len) {
    if (d > max_pow10) return false;
    std::uint64_t q;
    Rest rest;
    if (!scaled(decompose(x), d, q, rest)) return false;
    q = round_even(q, rest);
    char tmp[24];
    const char* digits = digits_before(tmp + sizeof tmp, q, d + 1);   // one digit at least before the point
    const int whole = static_cast<int>(tmp + sizeof tmp - digits) - d;
    char* p = buf;
    if (std::signbit(x)) *p++ = '-';
    std::memcpy(p, digits, static_cast<std::size_t>(whole));
    p += whole;
    if (d > 0) {
        *p++ = '.';
        std::memcpy(p, digits + whole, static_cast<std::size_t>(d));
        p += d;
    }
    len = static_cast<int>(p - buf);
    return true;
}

// The n significant digits of ax > 0, rounded, and e10 with
// ax = 0.d1d2...dn * 10^e10, as significant() below gives them.
bool fast_significant(float ax, int n, char* digits, int& e10) {
    if (n < 1 || n > max_pow10 - 1) return false;
    const Binary v = decompose(ax);
    const int b = v.e + static_cast<int>(std::bit_width(v.m)) - 1;   // 2^b <= ax < 2^(b+1)
    const int k0 = (b * 78913) >> 18;                                  // floor(b log10 2)
    // the decimal exponent k (10^k <= ax < 10^(k+1)) is k0 or, less
    // often, k0 + 1
    int k = k0;
    std::uint64_t q;
    Rest rest;
    if (!scaled(v, n - 1 - k, q, rest)) return false;
    if (q >= pow10[n]) {
        k = k0 + 1;
        if (!scaled(v, n - 1 - k, q, rest)) return false;
    }
    if (q < pow10[n - 1] || q >= pow10[n]) return false;
    q = round_even(q, rest);
    if (q == pow10[n]) {
        q = pow10[n - 1];
        ++k;
    }
    put_digits(digits, q, n);
    digits[n] = '\0';
    e10 = k + 1;
    return true;
}

// ------------------------------------------------------------ fields

// Writes a field of width w right-justified, or w asterisks when s is wider.
void right_justify(std::string& out, std::string_view s, int w) {
    const std::size_t width = static_cast<std::size_t>(w);
    if (s.size() > width) {
        out.append(width, '*');
        return;
    }
    const std::size_t at = out.size();
    out.resize(at + width, ' ');
    std::memcpy(out.data() + at + (width - s.size()), s.data(), s.size());
}

// NaN and the infinities; true when x was one of them.
bool put_special(std::string& out, float x, int w) {
    if (std::isnan(x)) {
        right_justify(out, "NaN", w);
        return true;
    }
    if (std::isinf(x)) {
        bool neg = std::signbit(x);
        std::string_view full = neg ? "-Infinity" : "Infinity";
        std::string_view brief = neg ? "-Inf" : "Inf";
        right_justify(out, static_cast<int>(full.size()) <= w ? full : brief, w);
        return true;
    }
    return false;
}

// Decimal digits and exponent of |x| rounded to n significant digits:
// x = 0.d1d2...dn * 10^e10.  std::to_chars gives them as printf does: the
// exact binary value rounded, ties to even.
int significant(double ax, int n, char* digits, bool fast) {
    int e10 = 0;
    if (fast && fast_significant(static_cast<float>(ax), n, digits, e10)) return e10;
    // d.ddd...e+xx: room for n digits and the rest; long fields go to the heap
    char stack[64];
    std::string heap;
    char* buf = stack;
    std::size_t cap = sizeof stack;
    if (static_cast<std::size_t>(n) + 16 > cap) {
        heap.resize(static_cast<std::size_t>(n) + 16);
        buf = heap.data();
        cap = heap.size();
    }
    auto res = std::to_chars(buf, buf + cap, ax, std::chars_format::scientific, n - 1);
    // buf: d[.ddd]e[+-]xx
    int k = 0;
    const char* p = buf;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p != '.') digits[k++] = *p;
    digits[k] = '\0';
    int e = 0;
    std::from_chars(p + (p[1] == '+' ? 2 : 1), res.ptr, e);
    return e + 1;
}

// An Fw.d field without scale factor straight into out, as the general
// path below lays it out; false (out untouched) for NaN, the infinities
// and values beyond the reach of the exact digits.
bool fixed_field_fast(std::string& out, float x, int w, int d) {
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
    if ((bits & 0x7f800000u) == 0x7f800000u || d > max_pow10) return false;
    std::uint64_t q;
    Rest rest;
    if (!scaled(decompose(x), d, q, rest)) return false;
    char digits[24];
    const char* first = digits_before(digits + sizeof digits, round_even(q, rest), d + 1);
    int whole = static_cast<int>(digits + sizeof digits - first) - d;   // at least one
    const int sign = static_cast<int>(bits >> 31);
    int len = sign + whole + 1 + d;
    // the zero before the point is optional: dropped only when it does not fit
    if (len == w + 1 && whole == 1 && *first == '0') {
        ++first;
        --whole;
        --len;
    }
    const std::size_t width = static_cast<std::size_t>(w);
    if (len > w) {
        out.append(width, '*');
        return true;
    }
    const std::size_t at = out.size();
    out.resize(at + width, ' ');
    char* p = out.data() + at + (w - len);
    if (sign) *p++ = '-';
    std::memcpy(p, first, static_cast<std::size_t>(whole));
    p += whole;
    *p++ = '.';
    std::memcpy(p, first + whole, static_cast<std::size_t>(d));
    return true;
}

void put_fixed_field(std::string& out, float x, int w, int d, int scale) {
    if (put_special(out, x, w)) return;
    char stack[128];
    std::string heap;
    char* buf = stack;
    double v = static_cast<double>(x);
    for (int k = 0; k < scale; ++k) v *= 10.0;
    for (int k = 0; k > scale; --k) v /= 10.0;
    // the exact binary value, correctly rounded (ties to even), as printf gives it
    std::size_t cap = sizeof stack - 1;
    std::to_chars_result res = std::to_chars(buf, buf + cap, v, std::chars_format::fixed, d);
    if (res.ec != std::errc()) {
        heap.resize(static_cast<std::size_t>(d) + 400);
        buf = heap.data();
        cap = heap.size() - 1;
        res = std::to_chars(buf, buf + cap, v, std::chars_format::fixed, d);
    }
    int n = static_cast<int>(res.ptr - buf);
    if (d == 0) buf[n++] = '.';
    std::string_view s(buf, static_cast<std::size_t>(n));
    // the zero before the point is optional: dropped only when it does not fit
    if (n == w + 1) {
        const std::size_t z = s[0] == '-' ? 1 : 0;
        if (s.size() > z + 1 && s[z] == '0' && s[z + 1] == '.') {
            std::memmove(buf + z, buf + z + 1, s.size() - z - 1);
            s.remove_suffix(1);
        }
    }
    right_justify(out, s, w);
}

void put_exp_field(std::string& out, float x, int w, int d, int scale, bool fast) {
    if (put_special(out, x, w)) return;
    const bool neg = std::signbit(x);
    const double ax = std::fabs(static_cast<double>(x));
    // Significant digits: d with scale 0 or less, d + 1 with a positive scale.
    const int n = scale > 0 ? d + 1 : d + scale;
    if (n <= 0 || scale > d + 1) {
        out.append(static_cast<std::size_t>(w), '*');
        return;
    }
    char digits_stack[64];
    std::string digits_heap;
    char* digits = digits_stack;
    if (static_cast<std::size_t>(n) + 1 > sizeof digits_stack) {
        digits_heap.resize(static_cast<std::size_t>(n) + 1);
        digits = digits_heap.data();
    }
    int e10 = 0;
    if (ax == 0.0) {
        std::memset(digits, '0', static_cast<std::size_t>(n));
        digits[n] = '\0';
    } else {
        e10 = significant(ax, n, digits, fast);
    }
    // [-]0.ddd or [-]d.ddd (scale digits before the point), then the exponent
    std::string heap;
    char stack[96];
    char* s = stack;
    if (static_cast<std::size_t>(d) + 16 > sizeof stack) {
        heap.resize(static_cast<std::size_t>(d) + 16 + static_cast<std::size_t>(scale < 0 ? -scale : 0));
        s = heap.data();
    }
    char* p = s;
    if (neg) *p++ = '-';
    const int before = scale > 0 ? scale : 0;
    if (before == 0) *p++ = '0';
    std::memcpy(p, digits, static_cast<std::size_t>(before));
    p += before;
    *p++ = '.';
    if (scale < 0) {
        std::memset(p, '0', static_cast<std::size_t>(-scale));
        p += -scale;
    }
    const std::size_t rest = static_cast<std::size_t>(n - before);
    std::memcpy(p, digits + before, rest);
    p += rest;
    const int e = ax == 0.0 ? 0 : e10 - scale;
    const unsigned ae = static_cast<unsigned>(e < 0 ? -e : e);
    if (ae <= 99) {
        *p++ = 'E';
        *p++ = e < 0 ? '-' : '+';
        p = put_digits(p, ae, 2);
    } else {
        *p++ = e < 0 ? '-' : '+';
        p = put_digits(p, ae, 3);
    }
    std::string_view text(s, static_cast<std::size_t>(p - s));
    if (static_cast<int>(text.size()) == w + 1 && before == 0) {
        // the optional zero before the point goes first
        const std::size_t z = neg ? 1 : 0;
        std::memmove(s + z, s + z + 1, text.size() - z - 1);
        text.remove_suffix(1);
    }
    right_justify(out, text, w);
}

void put_list_real_item(std::string& out, float x, bool fast) {
    if (put_special(out, x, 16)) return;
    double v = static_cast<double>(x);
    int e10 = 0;   // exponent of the leading digit, after rounding to 9 digits
    if (v != 0.0) {
        char digits[16];
        e10 = significant(std::fabs(v), 9, digits, fast) - 1;
    }
    if (e10 >= -1 && e10 <= 8) {
        const int d = 8 - e10;
        char buf[32];
        int n = 0;
        if (!(fast && fast_fixed(x, d, buf, n))) n = std::snprintf(buf, sizeof buf, "%.*f", d, v);
        if (d == 0) buf[n++] = '.';
        right_justify(out, std::string_view(buf, static_cast<std::size_t>(n)), 12);
        out.append(4, ' ');
    } else {
        put_exp_field(out, x, 16, 8, 1, fast);
    }
}

}  // namespace

void put_int(std::string& out, std::int32_t v, int w) {
    char buf[16];
    const auto res = std::to_chars(buf, buf + sizeof buf, v);
    right_justify(out, std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)), w);
}

void put_fixed(std::string& out, float x, int w, int d, int scale) {
    if (scale == 0 && fixed_field_fast(out, x, w, d)) return;
    put_fixed_field(out, x, w, d, scale);
}
void put_exp(std::string& out, float x, int w, int d, int scale) { put_exp_field(out, x, w, d, scale, true); }

void put_list_int(std::string& out, std::int32_t v) { put_int(out, v, 11); }

void put_list_real(std::string& out, float x) { put_list_real_item(out, x, true); }

namespace general {

void put_fixed(std::string& out, float x, int w, int d, int scale) { put_fixed_field(out, x, w, d, scale); }
void put_exp(std::string& out, float x, int w, int d, int scale) { put_exp_field(out, x, w, d, scale, false); }
void put_list_real(std::string& out, float x) { put_list_real_item(out, x, false); }

}  // namespace general

}  // namespace textio::numbers
