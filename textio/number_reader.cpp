#include "number_reader.hpp"

#include "powers.hpp"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <system_error>

namespace textio::numbers {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equals_nocase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != b[i]) return false;
    return true;
}

// "inf", "infinity", "nan" in any case, after an optional sign.
bool special_value(std::string_view s, float& v) {
    bool neg = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        neg = s[0] == '-';
        s.remove_prefix(1);
    }
    if (equals_nocase(s, "inf") || equals_nocase(s, "infinity")) {
        v = neg ? -std::numeric_limits<float>::infinity() : std::numeric_limits<float>::infinity();
        return true;
    }
    if (equals_nocase(s, "nan")) {
        v = std::numeric_limits<float>::quiet_NaN();
        return true;
    }
    return false;
}

// A real in Fortran syntax: [sign] digits [. digits] [exponent], where the
// exponent is E, D or Q with an optional sign, or a sign alone, then digits.
// A mantissa without digits scans; the callers decide what it reads as.
struct RealText {
    bool neg = false;
    bool has_point = false;
    bool mantissa_digits = false;
    std::string_view mant;        // digits and point, no sign
    std::string_view number;      // mantissa and exponent as written, no sign
    bool plain_exponent = true;   // none, or E with optional sign: the text reads as it stands
    long long exp = 0;
};

bool scan_real(std::string_view s, RealText& r) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) r.neg = s[i++] == '-';
    const std::size_t m0 = i;
    for (; i < s.size() && (is_digit(s[i]) || s[i] == '.'); ++i) {
        if (s[i] == '.') {
            if (r.has_point) return false;
            r.has_point = true;
        } else {
            r.mantissa_digits = true;
        }
    }
    r.mant = s.substr(m0, i - m0);
    r.number = s.substr(m0);
    if (i == s.size()) return true;
    char c = lower(s[i]);
    if (c == 'e' || c == 'd' || c == 'q') {
        r.plain_exponent = c == 'e';
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        } else if (i == s.size() || !is_digit(s[i])) {
            return false;
        }
    } else if (c != '+' && c != '-') {
        return false;
    } else {
        r.plain_exponent = false;   // "1.0-3": a sign alone starts the exponent
    }
    bool eneg = false;
    if (s[i] == '+' || s[i] == '-') eneg = s[i++] == '-';
    if (i == s.size()) return false;
    long long e = 0;
    for (; i < s.size(); ++i) {
        if (!is_digit(s[i])) return false;
        if (e < 100000000) e = e * 10 + (s[i] - '0');
    }
    r.exp = eneg ? -e : e;
    return true;
}

// strtof's result for text of a valid real (nul-terminated in a copy).
float strtof_of(std::string_view t) {
    char stack[128];
    std::string heap;
    const char* p;
    if (t.size() < sizeof stack) {
        std::memcpy(stack, t.data(), t.size());
        stack[t.size()] = '\0';
        p = stack;
    } else {
        heap.assign(t);
        p = heap.c_str();
    }
    return std::strtof(p, nullptr);
}

// |value| of a scanned real with mantissa digits, the decimal point moved
// shift places, correctly rounded straight to single precision (no double
// rounding).
float magnitude(const RealText& r, long long shift) {
    if (r.plain_exponent && shift == 0) {
        // the common case: the text as written, without a rebuilt copy
        float v = 0.0f;
        const char* end = r.number.data() + r.number.size();
        auto res = std::from_chars(r.number.data(), end, v);
        if (res.ec == std::errc() && res.ptr == end) return v;
        // overflow and subnormal results: strtof gives Infinity or the subnormal
        return strtof_of(r.number);
    }
    std::string t(r.mant);
    t.push_back('e');
    t.append(std::to_string(r.exp + shift));
    return strtof_of(t);
}

float convert(const RealText& r, long long shift) {
    const float v = magnitude(r, shift);
    return r.neg ? -v : v;
}

// Exact powers of ten in double precision.
constexpr double exact_pow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                  1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int max_exact_pow10 = 22;

// The digits at p appended to w (w * 10 + digit for each; wraps beyond 64
// bits, which the caller rules out); returns where they end. Eight at a
// time where eight bytes are there to look at.
const char* take_digits(const char* p, const char* end, std::uint64_t& w) {
    if constexpr (std::endian::native == std::endian::little) {
        while (end - p >= 8) {
            std::uint64_t chunk;
            std::memcpy(&chunk, p, 8);
            const std::uint64_t x = chunk - 0x3030303030303030ull;   // digits become 0..9
            // a byte that is no digit has its top bit set here; carries and
            // borrows only reach the bytes after it
            const std::uint64_t other = ((x + 0x7676767676767676ull) | x) & 0x8080808080808080ull;
            const int n = other == 0 ? 8 : std::countr_zero(other) / 8;
            if (n == 0) return p;
            // the n digits as the last of eight, zeros in front
            std::uint64_t v = n == 8 ? x : x << (8 * (8 - n));
            v = v * 10 + (v >> 8);
            v = (((v & 0x000000ff000000ffull) * (100 + (1000000ull << 32))) +
                 (((v >> 16) & 0x000000ff000000ffull) * (1 + (10000ull << 32)))) >>
                32;
            w = w * pow10[n] + v;
            p += n;
            if (n < 8) return p;
        }
    }
    for (; p < end && static_cast<unsigned>(*p - '0') < 10u; ++p) w = w * 10 + static_cast<std::uint64_t>(*p - '0');
    return p;
}

}  // namespace

const char* parse_plain_decimal(const char* p, const char* end, int implied, float& v) {
    const auto digit = [](char c) { return static_cast<unsigned>(c - '0') < 10u; };
    bool neg = false;
    if (p < end && (*p == '+' || *p == '-')) neg = *p++ == '-';
    const char* const first = p;
    std::uint64_t w = 0;   // all digits, point left out; exact while at most 19 count
    // mostly a digit or two before the point, and more after it
    for (; p < end && digit(*p); ++p) w = w * 10 + static_cast<std::uint64_t>(*p - '0');
    const bool point = p < end && *p == '.';
    // counts as wide as the text: a record may hold more digits than an int counts
    std::ptrdiff_t decimals = 0;
    if (point) {
        const char* const from = ++p;
        p = take_digits(p, end, w);
        decimals = p - from;
    }
    const std::ptrdiff_t digits = (p - first) - (point ? 1 : 0);
    if (digits == 0) return nullptr;
    if (digits > 19) {
        // leading zeros carry no digits
        int significant = 0;
        for (const char* c = first; c < p && significant <= 19; ++c)
            if (significant > 0 || (*c != '0' && *c != '.')) significant += *c != '.';
        if (significant > 19) return nullptr;
    }
    int exp = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool eneg = false;
        if (p < end && (*p == '+' || *p == '-')) eneg = *p++ == '-';
        const char* const from = p;
        if (end - p >= 2 && digit(p[0]) && digit(p[1])) {   // the usual two digits
            exp = (p[0] - '0') * 10 + (p[1] - '0');
            p += 2;
        }
        // five digits or more are the general reader's, however many follow
        for (; p < end && digit(*p); ++p) {
            if (p - from == 4) return nullptr;
            exp = exp * 10 + (*p - '0');
        }
        if (p == from) return nullptr;
        if (eneg) exp = -exp;
    }
    if (w == 0) {
        v = neg ? -0.0f : 0.0f;
        return p;
    }
    const std::ptrdiff_t e = exp - decimals - (point ? 0 : implied);
    if (w > (std::uint64_t{1} << 53) || e < -max_exact_pow10 || e > max_exact_pow10) return nullptr;
    // one correct rounding to double: w and the power of ten are exact
    const double d = e < 0 ? static_cast<double>(w) / exact_pow10[-e] : static_cast<double>(w) * exact_pow10[e];
    // Rounding d to float again gives the correctly rounded float unless d
    // lies exactly halfway between two floats; subnormals and overflow are
    // left to the general path.
    if (!(d >= static_cast<double>(std::numeric_limits<float>::min()) &&
          d <= static_cast<double>(std::numeric_limits<float>::max())))
        return nullptr;
    if ((std::bit_cast<std::uint64_t>(d) & 0x1fffffffu) == 0x10000000u) return nullptr;
    const float f = static_cast<float>(d);
    v = neg ? -f : f;
    return p;
}

namespace {

bool fast_decimal(const char* p, const char* end, int implied, float& v) {
    float x;
    if (parse_plain_decimal(p, end, implied, x) != end) return false;
    v = x;
    return true;
}

Parse read_real_field_general(std::string_view field, int d, float& v) {
    std::string s;
    s.reserve(field.size());
    for (char c : field)
        if (c != ' ') s += c;
    if (s.empty() || s == "+" || s == "-") {
        v = 0.0f;
        return Parse::ok;
    }
    if (special_value(s, v)) return Parse::ok;
    RealText r;
    if (!scan_real(s, r)) return Parse::bad;
    if (!r.mantissa_digits) {
        v = r.neg ? -0.0f : 0.0f;
        return Parse::ok;
    }
    v = convert(r, r.has_point ? 0 : -static_cast<long long>(d));
    return Parse::ok;
}

Parse read_list_real_general(std::string_view t, float& v) {
    if (special_value(t, v)) return Parse::ok;
    RealText r;
    if (!scan_real(t, r)) return Parse::bad;
    if (!r.mantissa_digits) {
        // gfortran converts a point without digits (".", "-.", ".e5"), gets
        // zero and reports the failure: the item is zero, not left alone
        if (r.has_point) v = 0.0f;
        return Parse::bad;
    }
    v = convert(r, 0);
    return Parse::ok;
}

}  // namespace

Parse read_int_field(std::string_view field, std::int32_t& v) {
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    if (i == field.size()) {
        v = 0;
        return Parse::ok;
    }
    bool neg = false;
    if (field[i] == '+' || field[i] == '-') {
        neg = field[i] == '-';
        ++i;
        if (i == field.size()) return Parse::bad;   // a sign in the field's last column
    }
    long long a = 0;
    for (; i < field.size(); ++i) {
        char c = field[i];
        if (c == ' ') continue;
        if (!is_digit(c)) return Parse::bad;
        a = a * 10 + (c - '0');
        if (a > 2147483648LL) return Parse::overflow;
    }
    if (neg) a = -a;
    if (a > std::numeric_limits<std::int32_t>::max()) return Parse::overflow;
    v = static_cast<std::int32_t>(a);
    return Parse::ok;
}

Parse read_real_field(std::string_view field, int d, float& v) {
    // blanks carry no value: the number is the field's other characters
    char text[32];
    std::size_t n = 0;
    for (char c : field) {
        if (c == ' ') continue;
        if (n == sizeof text) return read_real_field_general(field, d, v);
        text[n++] = c;
    }
    if (fast_decimal(text, text + n, d, v)) return Parse::ok;
    return read_real_field_general(field, d, v);
}

Parse read_list_int(std::string_view t, std::int32_t& v) {
    std::size_t i = 0;
    bool neg = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) neg = t[i++] == '-';
    if (i == t.size()) return Parse::bad;
    long long a = 0;
    bool over = false;
    for (; i < t.size(); ++i) {
        if (!is_digit(t[i])) return Parse::bad;
        if (!over) a = a * 10 + (t[i] - '0');
        if (a > 2147483648LL) over = true;
    }
    if (neg) a = -a;
    if (over || a > std::numeric_limits<std::int32_t>::max()) return Parse::overflow;
    v = static_cast<std::int32_t>(a);
    return Parse::ok;
}

Parse read_list_real(std::string_view t, float& v) {
    if (fast_decimal(t.data(), t.data() + t.size(), 0, v)) return Parse::ok;
    return read_list_real_general(t, v);
}
namespace general {

Parse read_real_field(std::string_view field, int d, float& v) { return read_real_field_general(field, d, v); }
Parse read_list_real(std::string_view token, float& v) { return read_list_real_general(token, v); }

}  // namespace general

}  // namespace textio::numbers
