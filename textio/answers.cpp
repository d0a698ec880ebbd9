#include "answers.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace textio {

std::size_t read_answer_line(std::span<char> field) {
    Unit& in = Runtime::instance().unit(stdin_unit);
    std::string_view line;
    if (!in.read_record(line)) throw Failure(stdin_unit, in.name(), in.record() + 1, "end of file");
    const std::size_t n = std::min(line.size(), field.size());
    std::copy_n(line.begin(), n, field.begin());
    std::fill(field.begin() + static_cast<std::ptrdiff_t>(n), field.end(), ' ');
    return line.find_last_not_of(' ') + 1;   // 0 for a blank line
}

std::string shown_name(std::string_view name, bool cut) {
    const std::size_t first = name.find_first_not_of(' ');
    std::string shown(first == std::string_view::npos ? std::string_view()
                                                      : name.substr(first, name.find_last_not_of(' ') - first + 1));
    if (cut) shown += "...";
    return shown;
}

std::string open_refusal(int status, std::size_t columns, std::string_view what) {
    if (status == EBUSY) return "cannot open a file that is open already";
    std::string s = "cannot open";
    if (!what.empty()) (s += ' ') += what;
    if (status == ENAMETOOLONG && columns > 0)
        return s + " (name longer than the " + std::to_string(columns) + " columns of its field)";
    return s + " (" + std::strerror(status) + ")";
}

void fail_open(int unit, std::string shown, int status, std::size_t columns) {
    throw Failure(unit, std::move(shown), 0, open_refusal(status, columns));
}

void refused_name(std::string_view shown, std::string_view reason) {
    refused_name(shown, reason, Runtime::instance().unit(stdin_unit).record());
}

void refused_name(std::string_view shown, std::string_view reason, long line) {
    note_failure(std::string(reason) + ", file '" + std::string(shown) + "' (answers line " + std::to_string(line) +
                 ")");
}

}  // namespace textio
