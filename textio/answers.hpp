// Answers typed to questions: numbers asked again when they cannot be read,
// and file names, each on a line of its own.
#pragma once

#include "run.hpp"
#include "statement.hpp"
#include "units.hpp"

#include <array>
#include <cerrno>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace textio {

// Free-format numbers from standard input; false when they cannot be read:
// the caller asks again, and the run has failed (fail_and_go_on). The end
// of the answers ends the run rather than asking for ever.
template <class... T>
bool read_answer_numbers(T&... v) {
    In in(stdin_unit, list_directed);
    (in(v), ...);
    Result r = in.done();
    if (r.status == Status::end) throw failure_from(r);
    if (!r) fail_and_go_on();
    return static_cast<bool>(r);
}

// One line of standard input into the field as "(a)" reads it: cut to the
// field or padded with blanks. Gives the length of the line up to its last
// non-blank character, which passes the field's length when the field holds
// only a part of what was typed. The end of the answers ends the run.
std::size_t read_answer_line(std::span<char> field);

// A file name answered on a line of its own, in a field of N columns. A
// name typed past them is cut: it is never opened, for the field would name
// another file.
template <std::size_t N>
struct NameAnswer {
    std::array<char, N> field;
    bool cut = false;
    std::string_view text() const { return {field.data(), N}; }
};

template <std::size_t N>
void read_answer(NameAnswer<N>& name) {
    name.cut = read_answer_line(name.field) > N;
}

// As open() with the field's name; a cut name is refused as too long.
template <std::size_t N>
OpenResult open(int unit, const NameAnswer<N>& name, Access access) {
    if (name.cut) return {ENAMETOOLONG};
    return open(unit, name.text(), access);
}

// A file name as messages give it: as it is opened, without leading and
// trailing blanks, and with "..." after a cut one.
std::string shown_name(std::string_view name, bool cut = false);

template <std::size_t N>
std::string shown_name(const NameAnswer<N>& name) {
    return shown_name(name.text(), name.cut);
}

// Why an open was refused with status (an errno value), in the words every
// program uses: "cannot open a file that is open already", "cannot open
// (name longer than the 80 columns of its field)" for a name cut at a field
// of that many columns, otherwise "cannot open (reason)", with what after
// "open" when given ("cannot open for writing (reason)").
std::string open_refusal(int status, std::size_t columns = 0, std::string_view what = {});

// The same for the open of a name answer: a cut one names its field.
template <std::size_t N>
std::string open_refusal(int status, const NameAnswer<N>& name, std::string_view what = {}) {
    return open_refusal(status, name.cut ? N : 0, what);
}

// Ends the run for an open refused with status, naming the file as shown.
[[noreturn]] void fail_open(int unit, std::string shown, int status, std::size_t columns = 0);

template <std::size_t N>
[[noreturn]] void fail_open(int unit, const NameAnswer<N>& name, int status) {
    throw Failure(unit, shown_name(name), 0, open_refusal(status, name));
}

// A file name answer the run could not use: one line on standard error
// naming the program, the file as shown, the reason and the answers line
// it was read from; the run has failed and goes on (note_failure, run.hpp).
void refused_name(std::string_view shown, std::string_view reason);
// The same for a name read from answers line `line`, when further answers
// were read before the name was found unusable.
void refused_name(std::string_view shown, std::string_view reason, long line);

}  // namespace textio
