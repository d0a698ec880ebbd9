// Powers that 64 bits hold exactly: the writer's exact digits and the
// reader's digits taken eight at a time both scale by them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace textio::numbers {

template <std::size_t N>
constexpr std::array<std::uint64_t, N> powers(std::uint64_t base) {
    std::array<std::uint64_t, N> t{};
    t[0] = 1;
    for (std::size_t k = 1; k < N; ++k) t[k] = t[k - 1] * base;
    return t;
}

inline constexpr int max_pow10 = 18;
inline constexpr auto pow10 = powers<max_pow10 + 1>(10);

}  // namespace textio::numbers
