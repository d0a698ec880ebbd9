#include "intersect/work.hpp"

#include "textio/textio.hpp"

#include <algorithm>
#include <limits>

namespace intersect {

void capacity_stop(std::string_view who, std::string_view what, std::int64_t value, std::int64_t capacity) {
    auto field = [](std::int64_t v) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                                  std::numeric_limits<std::int32_t>::max()));
    };
    textio::write(textio::stdout_unit, "(a,/,a,i5,/,a,i5)", who, what, field(value),
                  " greater than work array size mw=", field(capacity));
    textio::error_stop();
}

}  // namespace intersect
