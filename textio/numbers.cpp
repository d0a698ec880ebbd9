#include "numbers.hpp"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>

namespace textio::numbers {

namespace {

void right_justify(std::string& out, std::string_view s, int w) {
    if (static_cast<int>(s.size()) > w) {
        out.append(static_cast<std::size_t>(w), '*');
        return;
    }
    out.append(static_cast<std::size_t>(w) - s.size(), ' ');
    out.append(s);
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
int significant(double ax, int n, char* digits) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific, n - 1);
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

// The digits of i as text, for the exponent and integer fields.
void append_uint(std::string& s, unsigned long v, int min_digits) {
    char buf[24];
    int n = std::snprintf(buf, sizeof buf, "%0*lu", min_digits, v);
    s.append(buf, static_cast<std::size_t>(n));
}

}  // namespace

void put_int(std::string& out, std::int32_t v, int w) {
    char buf[16];
    int n = std::snprintf(buf, sizeof buf, "%d", v);
    right_justify(out, std::string_view(buf, static_cast<std::size_t>(n)), w);
}

void put_fixed(std::string& out, float x, int w, int d, int scale) {
    if (put_special(out, x, w)) return;
    double v = static_cast<double>(x);
    for (int k = 0; k < scale; ++k) v *= 10.0;
    for (int k = 0; k > scale; --k) v /= 10.0;
    // the exact binary value, correctly rounded (ties to even), as printf gives it
    char stack[128];
    std::string heap;
    char* buf = stack;
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
    if (static_cast<int>(s.size()) == w + 1) {
        bool neg = s[0] == '-';
        std::size_t z = neg ? 1 : 0;
        if (s.size() > z + 1 && s[z] == '0' && s[z + 1] == '.') {
            std::string t(s.substr(0, z));
            t.append(s.substr(z + 1));
            right_justify(out, t, w);
            return;
        }
    }
    right_justify(out, s, w);
}

void put_exp(std::string& out, float x, int w, int d, int scale) {
    if (put_special(out, x, w)) return;
    bool neg = std::signbit(x);
    double ax = std::fabs(static_cast<double>(x));
    // Significant digits: d with scale 0 or less, d + 1 with a positive scale.
    int n = scale > 0 ? d + 1 : d + scale;
    if (n <= 0 || scale > d + 1) {
        out.append(static_cast<std::size_t>(w), '*');
        return;
    }
    char digits[64];
    int e10 = 0;
    if (ax == 0.0) {
        std::memset(digits, '0', static_cast<std::size_t>(n));
        digits[n] = '\0';
    } else {
        e10 = significant(ax, n, digits);
    }
    std::string s;
    if (neg) s += '-';
    int before = scale > 0 ? scale : 0;
    if (before == 0) s += '0';
    s.append(digits, static_cast<std::size_t>(before));
    s += '.';
    if (scale < 0) s.append(static_cast<std::size_t>(-scale), '0');
    s.append(digits + before);
    int e = ax == 0.0 ? 0 : e10 - scale;
    unsigned long ae = static_cast<unsigned long>(e < 0 ? -e : e);
    if (ae <= 99) {
        s += 'E';
        s += e < 0 ? '-' : '+';
        append_uint(s, ae, 2);
    } else {
        s += e < 0 ? '-' : '+';
        append_uint(s, ae, 3);
    }
    if (static_cast<int>(s.size()) == w + 1 && before == 0) {
        std::size_t z = neg ? 1 : 0;
        s.erase(z, 1);
    }
    right_justify(out, s, w);
}

void put_list_int(std::string& out, std::int32_t v) { put_int(out, v, 11); }

void put_list_real(std::string& out, float x) {
    if (put_special(out, x, 16)) return;
    double v = static_cast<double>(x);
    int e10 = 0;   // exponent of the leading digit, after rounding to 9 digits
    if (v != 0.0) {
        char digits[16];
        e10 = significant(std::fabs(v), 9, digits) - 1;
    }
    if (e10 >= -1 && e10 <= 8) {
        char buf[32];
        int n = std::snprintf(buf, sizeof buf, "%.*f", 8 - e10, v);
        if (8 - e10 == 0) buf[n++] = '.';
        right_justify(out, std::string_view(buf, static_cast<std::size_t>(n)), 12);
        out.append(4, ' ');
    } else {
        put_exp(out, x, 16, 8, 1);
    }
}

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

}  // namespace textio::numbers
