#include "format.hpp"

#include "units.hpp"

#include <cctype>
#include <stdexcept>

namespace textio {

namespace {

class Parser {
public:
    explicit Parser(std::string_view t) : t_(t) {}

    void parse(std::vector<Desc>& out, std::size_t& reversion) {
        skip();
        expect('(');
        list(out, 0);
        expect(')');
        skip();
        if (p_ != t_.size()) fail("text after the closing parenthesis");
        reversion = reversion_;
    }

private:
    [[noreturn]] void fail(const char* why) const {
        throw std::invalid_argument("format \"" + std::string(t_) + "\": " + why);
    }
    void skip() {
        while (p_ < t_.size() && t_[p_] == ' ') ++p_;
    }
    char peek() {
        skip();
        return p_ < t_.size() ? static_cast<char>(std::tolower(static_cast<unsigned char>(t_[p_]))) : '\0';
    }
    void expect(char c) {
        if (peek() != c) fail("unexpected character");
        ++p_;
    }
    bool digit() { return std::isdigit(static_cast<unsigned char>(peek())) != 0; }
    int number() {
        if (!digit()) fail("number expected");
        long v = 0;
        while (p_ < t_.size() && std::isdigit(static_cast<unsigned char>(t_[p_]))) {
            v = v * 10 + (t_[p_] - '0');
            if (v > 100000) fail("number too large");
            ++p_;
        }
        return static_cast<int>(v);
    }

    void list(std::vector<Desc>& out, int depth) {
        // state: true when an item may start here (after '(' , ',' or '/')
        bool may_start = true;
        bool after_comma = false;
        while (true) {
            char c = peek();
            if (c == ')') {
                if (after_comma) fail("comma before ')'");
                return;
            }
            if (c == ',') {
                if (after_comma || (may_start && !after_slash_)) fail("empty item");
                ++p_;
                may_start = true;
                after_comma = true;
                after_slash_ = false;
                continue;
            }
            if (c == '/' || c == '$') {
                ++p_;
                out.push_back({c == '/' ? Desc::Slash : Desc::Dollar});
                may_start = true;
                after_comma = false;
                after_slash_ = true;
                continue;
            }
            if (c == '\0') fail("missing ')'");
            if (!may_start) fail("comma expected");
            item(out, depth);
            may_start = false;
            after_comma = false;
            after_slash_ = false;
        }
    }

    void item(std::vector<Desc>& out, int depth) {
        int repeat = 1;
        bool has_repeat = false;
        bool negative = false;
        if (peek() == '-' || peek() == '+') {
            negative = peek() == '-';
            ++p_;
            if (!digit()) fail("number expected after sign");
        }
        if (digit()) {
            repeat = number();
            has_repeat = true;
        }
        char c = peek();
        if (negative && c != 'p') fail("sign only before P");
        if (c == 'p') {
            ++p_;
            if (!has_repeat) fail("P needs a scale factor");
            out.push_back({Desc::P, negative ? -repeat : repeat});
            char n = peek();
            // the descriptor after kP may follow without a comma
            if (n != ',' && n != ')' && n != '/' && n != '\0') item(out, depth);
            return;
        }
        if (has_repeat && repeat == 0) fail("zero repeat count");
        if (c == 'x') {
            ++p_;
            out.push_back({Desc::X, has_repeat ? repeat : 1});
            return;
        }
        if (c == '(') {
            if (depth > 0) fail("nested groups are not supported");
            ++p_;
            std::vector<Desc> inner;
            list(inner, depth + 1);
            expect(')');
            reversion_ = out.size();   // a top-level group: the last one is where the format restarts
            for (int r = 0; r < repeat; ++r) out.insert(out.end(), inner.begin(), inner.end());
            return;
        }
        Desc d{Desc::A};
        if (c == 'i') {
            ++p_;
            d.kind = Desc::I;
            d.w = number();
            if (peek() == '.') fail("Iw.m is not supported");
        } else if (c == 'f' || c == 'e') {
            ++p_;
            d.kind = c == 'f' ? Desc::F : Desc::E;
            d.w = number();
            expect('.');
            d.d = number();
            if (peek() == 'e') fail("exponent width is not supported");
        } else if (c == 'a') {
            ++p_;
            d.kind = Desc::A;
            d.w = digit() ? number() : -1;
        } else {
            fail("unsupported edit descriptor");
        }
        if (d.w == 0) fail("zero field width");
        if (d.kind == Desc::E && d.d == 0) fail("Ew.0 is not supported");
        for (int r = 0; r < repeat; ++r) out.push_back(d);
    }

    std::string_view t_;
    std::size_t p_ = 0;
    bool after_slash_ = false;
    std::size_t reversion_ = 0;
};

}  // namespace

Format::Format(std::string_view text) : text_(text) {
    Parser(text).parse(descs_, reversion_);
    for (const Desc& d : descs_) has_data_ = has_data_ || d.is_data();
}

const Format& fmt(std::string_view text) {
    return Runtime::instance().format(text);
}

}  // namespace textio
