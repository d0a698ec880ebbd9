#include "platform.hpp"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

namespace textio {

void getenv_text(std::string_view name, std::span<char> value) {
    const char* v = std::getenv(std::string(name).c_str());
    std::size_t n = v ? std::strlen(v) : 0;
    for (std::size_t i = 0; i < value.size(); ++i) value[i] = i < n ? v[i] : ' ';
}

LocalDate local_date() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    return {tm.tm_mday, tm.tm_mon + 1, tm.tm_year % 100};
}

}  // namespace textio
