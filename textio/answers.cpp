#include "answers.hpp"

#include <algorithm>
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

void fail_open(int unit, std::string shown, int status) {
    throw Failure(unit, std::move(shown), 0, std::string("cannot open (") + std::strerror(status) + ")");
}

}  // namespace textio
