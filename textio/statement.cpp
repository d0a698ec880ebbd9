#include "statement.hpp"

#include "number_reader.hpp"
#include "number_writer.hpp"

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>

namespace textio {

namespace {

constexpr int list_line_limit = 79;   // a free-format line never passes this column

[[noreturn]] void mismatch(const Format* f, const char* what) {
    throw std::logic_error(std::string(what) + " item for a descriptor of format \"" +
                           (f ? f->text() : std::string("*")) + "\"");
}

// An internal write has one record, of the variable's length.
[[noreturn]] void past_internal_record() { throw Failure(0, "internal record", 1, "end of record"); }

}  // namespace

Failure failure_from(const Result& r) { return Failure(r.unit, r.file, r.record, r.message); }

// ---------------------------------------------------------------- output

Out::Out(int unit, const Format& f) : unit_(&Runtime::instance().unit(unit)), f_(&f) {
    if (unit_->pending()) base_col_ = unit_->pending_column();
    rec_.swap(unit_->record_buffer_);
    rec_.clear();
}

Out::Out(int unit, list_directed_t) : unit_(&Runtime::instance().unit(unit)), list_(true) {
    if (unit_->pending()) base_col_ = unit_->pending_column();
    rec_.swap(unit_->record_buffer_);
    rec_.clear();
}

Out::Out(std::span<char> record, const Format& f) : internal_(record), is_internal_(true), f_(&f) {}

Out::~Out() noexcept(false) {
    if (ended_) return;
    if (std::uncaught_exceptions() > uncaught_) {
        ended_ = true;
        return;
    }
    end();
}

void Out::control(const Desc& d) {
    switch (d.kind) {
    case Desc::X: blanks_ += static_cast<std::size_t>(d.w); break;
    case Desc::Slash: end_record(); break;
    case Desc::P: scale_ = d.w; break;
    case Desc::Dollar: dollar_ = true; break;
    default: break;
    }
}

const Desc& Out::next_data() {
    const auto& ds = f_->descs();
    for (;;) {
        if (pos_ == ds.size()) {
            if (!f_->has_data()) mismatch(f_, "an");
            end_record();   // reversion: the format starts again on a new record
            pos_ = f_->reversion();
            continue;
        }
        const Desc& d = ds[pos_++];
        if (d.is_data()) {
            if (blanks_) {
                rec_.append(blanks_, ' ');
                blanks_ = 0;
            }
            return d;
        }
        control(d);
    }
}

void Out::end_record() {
    blanks_ = 0;
    if (is_internal_) past_internal_record();
    unit_->write_text(rec_, true);
    rec_.clear();
    base_col_ = 0;
    first_in_record_ = true;
    prev_text_ = false;
}

void Out::list_item(std::string_view item, bool is_text) {
    std::size_t sep = first_in_record_ ? 1 : ((is_text && prev_text_) ? 0 : 1);
    if (!first_in_record_ &&
        base_col_ + rec_.size() + sep + item.size() > static_cast<std::size_t>(list_line_limit)) {
        end_record();
        sep = 1;
    }
    rec_.append(sep, ' ');
    rec_.append(item);
    first_in_record_ = false;
    prev_text_ = is_text;
}

template <class T>
void Out::list_number(void (*put)(std::string&, T), T v) {
    item_.clear();
    put(item_, v);
    list_item(item_, false);
}

void Out::put_int(std::int32_t v) {
    if (list_) return list_number(numbers::put_list_int, v);
    const Desc& d = next_data();
    if (d.kind != Desc::I) mismatch(f_, "an integer");
    numbers::put_int(rec_, v, d.w);
}

void Out::put_real(float v) {
    if (list_) return list_number(numbers::put_list_real, v);
    const Desc& d = next_data();
    if (d.kind == Desc::F)
        numbers::put_fixed(rec_, v, d.w, d.d, scale_);
    else if (d.kind == Desc::E)
        numbers::put_exp(rec_, v, d.w, d.d, scale_);
    else
        mismatch(f_, "a real");
}

void Out::put_text(std::string_view s) {
    if (list_) {
        list_item(s, true);
        return;
    }
    const Desc& d = next_data();
    if (d.kind != Desc::A) mismatch(f_, "a text");
    if (d.w < 0) {
        rec_.append(s);
    } else {
        std::size_t w = static_cast<std::size_t>(d.w);
        if (s.size() >= w) {
            rec_.append(s.substr(0, w));
        } else {
            rec_.append(w - s.size(), ' ');
            rec_.append(s);
        }
    }
}

void Out::end() {
    if (ended_) return;
    ended_ = true;
    if (!list_) {
        // control descriptors up to the next data descriptor still act
        const auto& ds = f_->descs();
        while (pos_ < ds.size() && !ds[pos_].is_data()) control(ds[pos_++]);
    }
    if (is_internal_) {
        if (rec_.size() > internal_.size()) past_internal_record();
        std::copy(rec_.begin(), rec_.end(), internal_.begin());
        std::fill(internal_.begin() + static_cast<std::ptrdiff_t>(rec_.size()), internal_.end(), ' ');
        return;
    }
    unit_->write_text(rec_, !dollar_);
    unit_->record_buffer_.swap(rec_);   // the unit keeps the allocation for its next statement
}

// ---------------------------------------------------------------- input

In::In(int unit, const Format& f) : unit_(&Runtime::instance().unit(unit)), f_(&f) {}

In::In(int unit, list_directed_t) : unit_(&Runtime::instance().unit(unit)), list_(true) {}

In::In(std::string_view record, const Format& f, std::string origin)
    : internal_(record), origin_(std::move(origin)), is_internal_(true), f_(&f) {}

In::In(std::string_view record, list_directed_t, std::string origin)
    : internal_(record), origin_(std::move(origin)), is_internal_(true), list_(true) {}

In::~In() noexcept(false) {
    if (finished_) return;
    if (std::uncaught_exceptions() > uncaught_) return;
    required();
}

bool In::next_record() {
    col_ = 0;
    if (is_internal_) {
        if (internal_used_) {
            status_ = Status::end;
            message_ = "end of file";
            return false;
        }
        internal_used_ = true;
        line_ = internal_;
        return true;
    }
    if (!unit_->read_record(line_)) {
        status_ = Status::end;
        message_ = "end of file";
        return false;
    }
    return true;
}

void In::start() {
    if (started_) return;
    started_ = true;
    next_record();
}

void In::set_error(std::string message) {
    status_ = Status::error;
    message_ = std::move(message);
}

const Desc* In::next_data() {
    const auto& ds = f_->descs();
    for (;;) {
        if (pos_ == ds.size()) {
            if (!f_->has_data()) mismatch(f_, "an");
            if (!next_record()) return nullptr;
            pos_ = f_->reversion();
            continue;
        }
        const Desc& d = ds[pos_++];
        if (d.is_data()) return &d;
        if (d.kind == Desc::X) col_ += static_cast<std::size_t>(d.w);
        if (d.kind == Desc::Slash && !next_record()) return nullptr;
    }
}

std::string_view In::field(int w) {
    std::size_t from = std::min(col_, line_.size());
    std::size_t n = std::min(static_cast<std::size_t>(w), line_.size() - from);
    col_ += static_cast<std::size_t>(w);
    return line_.substr(from, n);
}

namespace {

// Characters as free-format input sees them.
enum CharClass : unsigned char { ordinary = 0, blank = 1, separator = 2, star = 4 };

constexpr std::array<unsigned char, 256> char_classes = [] {
    std::array<unsigned char, 256> t{};
    t[static_cast<unsigned char>(' ')] = blank;
    t[static_cast<unsigned char>('\t')] = blank;
    t[static_cast<unsigned char>(',')] = separator;
    t[static_cast<unsigned char>('/')] = separator;
    t[static_cast<unsigned char>('*')] = star;
    return t;
}();

unsigned char char_class(char c) { return char_classes[static_cast<unsigned char>(c)]; }

}  // namespace

// Free format: the next value token, or false for a null value, a slash, the
// end of the file (status set) or a finished list.
bool In::next_token(std::string_view& token) {
    for (;;) {
        while (col_ < line_.size() && char_class(line_[col_]) == blank) ++col_;
        if (col_ >= line_.size()) {
            if (!next_record()) return false;   // a record end separates like a blank
            continue;
        }
        char c = line_[col_];
        if (c == ',') {
            ++col_;
            if (at_list_start_ || comma_seen_) {
                at_list_start_ = false;
                comma_seen_ = true;
                return false;   // null value
            }
            comma_seen_ = true;
            continue;
        }
        if (c == '/') {
            slash_ = true;
            return false;
        }
        break;
    }
    const char* const text = line_.data();
    const std::size_t size = line_.size();
    const std::size_t b = col_;
    std::size_t c = b;
    unsigned char seen = 0;
    for (; c < size; ++c) {
        const unsigned char k = char_class(text[c]);
        if (k & (blank | separator)) break;
        seen |= k;
    }
    token = std::string_view(text + b, c - b);
    token_starred_ = seen != 0;
    after_value(c);
    return true;
}

// Passes the separator after a value that ends at column c: blanks, and at
// most one comma.
void In::after_value(std::size_t c) {
    at_list_start_ = false;
    comma_seen_ = false;
    while (c < line_.size() && char_class(line_[c]) == blank) ++c;
    if (c < line_.size() && line_[c] == ',') {
        ++c;
        comma_seen_ = true;
    }
    col_ = c;
}

namespace {

// The value part of an "r*c" token; false with repeat = 0 when the prefix
// is not a repeat count.
enum class Repeat { none, ok, bad, zero };

Repeat split_repeat(std::string_view token, long& r, std::string_view& value) {
    std::size_t star = token.find('*');
    if (star == std::string_view::npos) return Repeat::none;
    if (star == 0) return Repeat::bad;
    long v = 0;
    for (std::size_t i = 0; i < star; ++i) {
        if (token[i] < '0' || token[i] > '9') return Repeat::bad;
        if (v < 100000000) v = v * 10 + (token[i] - '0');
    }
    if (v == 0) return Repeat::zero;
    r = v;
    value = token.substr(star + 1);
    return Repeat::ok;
}

}  // namespace

std::string In::bad_item(bool integer) const {
    const std::string n = std::to_string(item_);
    return integer ? "bad integer for item " + n + " in list input" : "bad real number in item " + n + " of list input";
}

// The value token of the next free-format item, through "r*c" repeats;
// false for a null value, a slash, the end of the file or an error (set).
bool In::next_value(std::string_view& token, bool integer) {
    if (repeat_left_ > 0) {
        --repeat_left_;
        token = repeat_token_;
        return !repeat_null_;
    }
    if (!next_token(token)) return false;
    if (!token_starred_) return true;
    long r = 0;
    std::string_view value;
    switch (split_repeat(token, r, value)) {
    case Repeat::bad: set_error(bad_item(integer)); return false;
    case Repeat::zero:
        set_error("zero repeat count in item " + std::to_string(item_) + " of list input");
        return false;
    case Repeat::ok:
        repeat_left_ = r - 1;
        repeat_null_ = value.empty();
        repeat_token_ = value;   // a copy: the record may change before the repeats are used
        token = repeat_token_;
        return !repeat_null_;
    case Repeat::none: break;
    }
    return true;
}

// Counts the next number item; false when the statement is already over
// (END, an error, or a slash in free format).
bool In::next_number_item() {
    if (status_ != Status::ok || slash_) return false;
    start();
    if (status_ != Status::ok) return false;
    ++item_;
    return true;
}

void In::get_int(std::int32_t& v) {
    if (!next_number_item()) return;
    if (!list_) {
        const Desc* d = next_data();
        if (!d) return;
        if (d->kind != Desc::I) mismatch(f_, "an integer");
        numbers::Parse p = numbers::read_int_field(field(d->w), v);
        if (p == numbers::Parse::overflow)
            set_error("value overflowed during integer read");
        else if (p != numbers::Parse::ok)
            set_error("bad value during integer read");
        return;
    }
    std::string_view token;
    if (!next_value(token, true)) return;
    std::int32_t t = 0;
    numbers::Parse p = numbers::read_list_int(token, t);
    if (p == numbers::Parse::ok)
        v = t;
    else if (p == numbers::Parse::overflow)
        set_error("integer overflow while reading item " + std::to_string(item_));
    else
        set_error(bad_item(true));
}

void In::get_real(float& v) {
    if (!next_number_item()) return;
    if (!list_) {
        const Desc* d = next_data();
        if (!d) return;
        if (d->kind != Desc::F && d->kind != Desc::E) mismatch(f_, "a real");
        if (numbers::read_real_field(field(d->w), d->d, v) != numbers::Parse::ok)
            set_error("bad value during floating point read");
        return;
    }
    if (repeat_left_ == 0 && quick_list_real(v)) return;
    std::string_view token;
    if (!next_value(token, false)) return;
    if (numbers::read_list_real(token, v) != numbers::Parse::ok) set_error(bad_item(false));
}

// The common free-format real: a plain decimal ended by a blank, a
// separator or the record's end, read in place without taking its token
// apart first; records that end before it are passed as next_token passes
// them. True when the item is done: read, or the file ended (status set).
// False, with nothing changed but the records passed, for anything else.
bool In::quick_list_real(float& v) {
    std::size_t c = col_;
    for (;;) {
        while (c < line_.size() && char_class(line_[c]) == blank) ++c;
        if (c < line_.size()) break;
        if (!next_record()) return true;   // a record end separates like a blank
        c = col_;
    }
    const char* const text = line_.data();
    const std::size_t size = line_.size();
    float x;
    const char* const stop = numbers::parse_plain_decimal(text + c, text + size, 0, x);
    if (!stop || (stop != text + size && (char_class(*stop) & (blank | separator)) == 0)) return false;
    v = x;
    after_value(static_cast<std::size_t>(stop - text));
    return true;
}

void In::get_text(std::span<char> target) {
    if (status_ != Status::ok) return;
    if (list_) throw std::logic_error("character items are not read in free format");
    start();
    if (status_ != Status::ok) return;
    ++item_;
    const Desc* d = next_data();
    if (!d) return;
    if (d->kind != Desc::A) mismatch(f_, "a text");
    std::size_t len = target.size();
    std::size_t w = d->w < 0 ? len : static_cast<std::size_t>(d->w);
    std::string_view got = field(static_cast<int>(w));   // may be short: the rest is blank
    if (w >= len) {
        // the rightmost len columns of the w-column field
        std::size_t skip = w - len;
        std::size_t i = 0;
        for (; i < len; ++i) {
            std::size_t k = skip + i;
            target[i] = k < got.size() ? got[k] : ' ';
        }
    } else {
        std::size_t i = 0;
        for (; i < w; ++i) target[i] = i < got.size() ? got[i] : ' ';
        for (; i < len; ++i) target[i] = ' ';
    }
}

void In::finish() {
    if (finished_) return;
    finished_ = true;
    start();   // a statement without items still takes one record
}

Result In::done() {
    finish();
    Result r;
    r.status = status_;
    r.message = message_;
    if (is_internal_) {
        r.unit = 0;
        r.file = origin_;
        r.record = 1;
    } else {
        r.unit = unit_->number();
        r.file = unit_->name();
        r.record = unit_->record() + (status_ == Status::end ? 1 : 0);
    }
    return r;
}

void In::required() {
    finish();
    if (status_ == Status::ok) return;
    throw failure_from(done());
}

Result skip_record(int unit) {
    In i(unit, list_directed);
    return i.done();
}

void skip_record_required(int unit) {
    In i(unit, list_directed);
    i.required();
}

}  // namespace textio
