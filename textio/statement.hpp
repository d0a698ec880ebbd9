// One Fortran-style READ or WRITE statement: items are taken one at a time,
// the format reverts when items outlast it, and the statement ends with
// end(), done() or required().
#pragma once

#include "format.hpp"
#include "units.hpp"

#include <cstdint>
#include <exception>
#include <ranges>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace textio {

enum class Status { ok, end, error };

struct Result {
    Status status = Status::ok;
    std::string message;   // e.g. "bad real number in item 3 of list input"
    int unit = 0;
    std::string file;
    long record = 0;
    explicit operator bool() const { return status == Status::ok; }
};

// The run-ending form of a failed read.
Failure failure_from(const Result& r);

struct list_directed_t {
    explicit list_directed_t() = default;
};
inline constexpr list_directed_t list_directed{};

namespace detail {
template <class>
inline constexpr bool always_false = false;
}

class Out {
public:
    Out(int unit, const Format& f);
    Out(int unit, std::string_view format) : Out(unit, fmt(format)) {}
    Out(int unit, list_directed_t);
    // Internal write into a character variable: one record, blank-filled.
    Out(std::span<char> record, const Format& f);
    ~Out() noexcept(false);
    Out(const Out&) = delete;
    Out& operator=(const Out&) = delete;

    template <class T>
    Out& operator()(const T& v) {
        if constexpr (std::is_same_v<T, float>)
            put_real(v);
        else if constexpr (std::is_same_v<T, std::int32_t>)
            put_int(v);
        else if constexpr (std::is_convertible_v<const T&, std::string_view>)
            put_text(std::string_view(v));
        else if constexpr (std::ranges::contiguous_range<T> &&
                           std::is_same_v<std::ranges::range_value_t<T>, char>)
            put_text(std::string_view(std::ranges::data(v), std::ranges::size(v)));
        else if constexpr (std::ranges::range<T> && std::is_same_v<std::ranges::range_value_t<T>, float>)
            for (float x : v) put_real(x);
        else
            static_assert(detail::always_false<T>, "write items are float, int32, text or float ranges");
        return *this;
    }

    void end();   // completes the statement; a failed write throws Failure

private:
    void put_int(std::int32_t v);
    void put_real(float v);
    void put_text(std::string_view s);
    const Desc& next_data();
    void control(const Desc& d);
    void end_record();
    void list_item(std::string_view item, bool is_text);
    // A free-format number item, put into the reused item buffer.
    template <class T>
    void list_number(void (*put)(std::string&, T), T v);

    Unit* unit_ = nullptr;
    std::span<char> internal_;
    bool is_internal_ = false;
    const Format* f_ = nullptr;
    bool list_ = false;
    std::string rec_;
    std::size_t blanks_ = 0;   // X columns not yet written
    std::size_t pos_ = 0;
    int scale_ = 0;
    bool dollar_ = false;
    bool ended_ = false;
    int base_col_ = 0;          // columns a "$" record already holds
    bool first_in_record_ = true;
    bool prev_text_ = false;
    std::string item_;   // the free-format number item being laid out
    int uncaught_ = std::uncaught_exceptions();
};

class In {
public:
    In(int unit, const Format& f);
    In(int unit, std::string_view format) : In(unit, fmt(format)) {}
    In(int unit, list_directed_t);
    // Internal read of one record; origin names it in diagnostics.
    In(std::string_view record, const Format& f, std::string origin = "internal record");
    In(std::string_view record, list_directed_t, std::string origin = "internal record");
    ~In() noexcept(false);
    In(const In&) = delete;
    In& operator=(const In&) = delete;

    template <class T>
    In& operator()(T& v) {
        if constexpr (std::is_same_v<T, float>)
            get_real(v);
        else if constexpr (std::is_same_v<T, std::int32_t>)
            get_int(v);
        else if constexpr (std::ranges::contiguous_range<T> &&
                           std::is_same_v<std::ranges::range_value_t<T>, char>)
            get_text(std::span<char>(std::ranges::data(v), std::ranges::size(v)));
        else if constexpr (std::ranges::range<T> && std::is_same_v<std::ranges::range_value_t<T>, float>)
            for (float& x : v) get_real(x);
        else
            static_assert(detail::always_false<T>, "read items are float, int32, char fields or float ranges");
        return *this;
    }
    // Spans name a part of an array as its items.
    In& operator()(std::span<float> v) {
        for (float& x : v) get_real(x);
        return *this;
    }
    In& operator()(std::span<char> field) {
        get_text(field);
        return *this;
    }

    // END or ERROR returned for call sites that branch on them.
    [[nodiscard]] Result done();
    // END or ERROR end the run.
    void required();

    bool ok() const { return status_ == Status::ok; }

private:
    void get_int(std::int32_t& v);
    void get_real(float& v);
    void get_text(std::span<char> field);
    void start();
    bool next_record();
    const Desc* next_data();
    std::string_view field(int w);
    void set_error(std::string message);
    bool next_token(std::string_view& token);
    bool next_number_item();
    bool next_value(std::string_view& token, bool integer);
    bool quick_list_real(float& v);
    void after_value(std::size_t c);
    std::string bad_item(bool integer) const;
    void finish();

    Unit* unit_ = nullptr;
    std::string internal_;
    std::string origin_;
    bool is_internal_ = false;
    bool internal_used_ = false;
    const Format* f_ = nullptr;
    bool list_ = false;
    std::string_view line_;   // the current record
    std::size_t col_ = 0;
    bool started_ = false;
    bool finished_ = false;
    std::size_t pos_ = 0;
    Status status_ = Status::ok;
    std::string message_;
    int item_ = 0;
    // free-format state
    bool at_list_start_ = true;
    bool comma_seen_ = false;
    bool slash_ = false;
    bool token_starred_ = false;   // the last token holds a '*': it may be "r*c"
    long repeat_left_ = 0;
    bool repeat_null_ = false;
    std::string repeat_token_;
    int uncaught_ = std::uncaught_exceptions();
};

// The empty free-format read: skips one record.
[[nodiscard]] Result skip_record(int unit);
void skip_record_required(int unit);

// One-call forms of a whole statement.
template <class... Items>
void write(int unit, std::string_view format, const Items&... items) {
    Out o(unit, fmt(format));
    (o(items), ...);
    o.end();
}

template <class... Items>
void write_list(int unit, const Items&... items) {
    Out o(unit, list_directed);
    (o(items), ...);
    o.end();
}

template <class... Items>
[[nodiscard]] Result read(int unit, std::string_view format, Items&... items) {
    In i(unit, fmt(format));
    (i(items), ...);
    return i.done();
}

template <class... Items>
[[nodiscard]] Result read_list(int unit, Items&... items) {
    In i(unit, list_directed);
    (i(items), ...);
    return i.done();
}

template <class... Items>
void read_required(int unit, std::string_view format, Items&... items) {
    In i(unit, fmt(format));
    (i(items), ...);
    i.required();
}

template <class... Items>
void read_list_required(int unit, Items&... items) {
    In i(unit, list_directed);
    (i(items), ...);
    i.required();
}

}  // namespace textio
