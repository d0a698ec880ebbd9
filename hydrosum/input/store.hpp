// hydrosum's result store: every force-moment file of the test matrix as
// numbered result slots per case, with counts, presence and breakdown
// flags, and the control deck's switches, scales and texts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>
#include <string_view>
#include <type_traits>

namespace hydrosum {

inline constexpr int nruns = 100;    // runs of the test-matrix frame
inline constexpr int nheels = 9;     // heels of the frame
inline constexpr int ncases = 51;    // cases one force-moment file may hold
inline constexpr int full_slots = 107;    // r, k, ku
inline constexpr int short_slots = 44;    // w, n, nu

// Heel codes and run codes as they appear in file names and progress lines.
inline constexpr std::string_view heel_codes[nheels] = {"00", "05", "10", "15", "20", "25", "27", "30", "35"};
inline std::string_view heel_code(int h) { return heel_codes[h - 1]; }
// "a00" for run 1, "r01".."r99" for runs 2..100
inline std::array<char, 3> run_code(int j) {
    if (j == 1) return {'a', '0', '0'};
    const int m = j - 1;
    return {'r', static_cast<char>('0' + m / 10), static_cast<char>('0' + m % 10)};
}

// One run's cases: slot s of case i, all cases of a slot side by side.
class Run {
public:
    Run(float* base, std::size_t stride, std::int32_t* count, bool* present)
        : base_(base), stride_(stride), count_(count), present_(present) {}
    float& s(int i, int slot) const { return base_[static_cast<std::size_t>(i - 1) + stride_ * static_cast<std::size_t>(slot - 1)]; }
    // the cases of one slot, 1-based (as the interpolations take them)
    float* slot(int slot) const { return &s(1, slot); }
    std::int32_t& n() const { return *count_; }
    bool& present() const { return *present_; }

private:
    float* base_;
    std::size_t stride_;
    std::int32_t* count_;
    bool* present_;
};

// A result class over the whole frame: n(j, h) and S(i, j, h, s), the case
// index varying fastest, then run, heel and slot.
template <int Slots>
struct RunClass {
    static constexpr int slots = Slots;
    std::array<std::int32_t, nruns * nheels> counts{};
    std::array<bool, nruns * nheels> flags{};
    std::array<float, static_cast<std::size_t>(ncases) * nruns * nheels * Slots> values{};

    static std::size_t at(int j, int h) { return static_cast<std::size_t>(j - 1) + static_cast<std::size_t>(nruns) * (h - 1); }
    std::int32_t& n(int j, int h) { return counts[at(j, h)]; }
    bool& present(int j, int h) { return flags[at(j, h)]; }
    float& s(int i, int j, int h, int slot) { return run(j, h).s(i, slot); }
    Run run(int j, int h) {
        return Run(&values[static_cast<std::size_t>(ncases) * at(j, h)],
                   static_cast<std::size_t>(ncases) * nruns * nheels, &counts[at(j, h)], &flags[at(j, h)]);
    }
};

// An upright set: one run of up to 51 cases.
template <int Slots>
struct UprightClass {
    static constexpr int slots = Slots;
    std::int32_t count = 0;
    bool flag = false;
    std::array<float, static_cast<std::size_t>(ncases) * Slots> values{};

    float& s(int i, int slot) { return run().s(i, slot); }
    Run run() { return Run(values.data(), ncases, &count, &flag); }
};

struct Store {
    RunClass<full_slots> r;    // rudder on, wakes on
    RunClass<full_slots> k;    // rudder off, wakes on
    RunClass<short_slots> w;   // rudder on, wakes off
    RunClass<short_slots> n;   // rudder off, wakes off
    UprightClass<full_slots> ku;    // upright, wakes on
    UprightClass<short_slots> nu;   // upright, wakes off
    bool r_any = false;   // any file of class r opened
    bool k_any = false;

    // breakdown usable for r, k, ku (1) or not (0)
    std::array<std::int32_t, 3> ivcmps{};
    std::array<std::int32_t, 11> comint{};
    std::array<float, 29> comscl{};
    std::array<char, 600> comchr{};
    std::array<std::int32_t, 6> vint{};                  // friction options of the parts
    std::array<std::array<char, 255>, 8> vchr{};         // directory, resolved path, part files

    // 1-based, as the deck numbers them
    std::int32_t& ci(int k) { return comint[static_cast<std::size_t>(k - 1)]; }
    float& c(int k) { return comscl[static_cast<std::size_t>(k - 1)]; }
    // comchr(from:to), 1-based and inclusive
    std::span<char> chr(int from, int to) { return std::span<char>(comchr).subspan(from - 1, to - from + 1); }
};

// Every member of the store starts as zero bits (counts 0, reals 0.0, flags
// false, texts of code 0), so one run's store can come from calloc: the
// system hands out zeroed pages, and a page is only touched, and so only
// takes memory, when a step first writes it. A small test matrix never
// pays for the whole frame, and nothing is cleared twice.
static_assert(std::is_aggregate_v<Store> && std::is_trivially_destructible_v<Store>);

struct FreeStore {
    void operator()(Store* st) const noexcept { std::free(st); }
};
using StorePtr = std::unique_ptr<Store, FreeStore>;

inline StorePtr zeroed_store() {
    void* p = std::calloc(1, sizeof(Store));
    if (!p) throw std::bad_alloc();
    return StorePtr(static_cast<Store*>(p));
}

}  // namespace hydrosum
