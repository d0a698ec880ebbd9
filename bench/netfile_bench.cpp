// Network files through writnet/readnet against a bare stdio loop that
// writes and reads the same bytes (snprintf "%16.8E", fgets + strtof), and
// against the floor: the same numbers made by std::to_chars into one
// buffer written whole, and read back whole by std::from_chars. Prints
// the layer / plain and layer / floor ratios after the runs.

#include "lib/netfile.hpp"
#include "ratio_reporter.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <stdlib.h>

namespace {

namespace fs = std::filesystem;

constexpr int kDim = 481;   // gridedit's arrays
constexpr std::size_t kPoints = std::size_t(kDim) * kDim;

struct Network {
    std::vector<float> x, y, z;
    std::array<char, 60> title;
};

Network make_network() {
    Network n{std::vector<float>(kPoints), std::vector<float>(kPoints), std::vector<float>(kPoints), {}};
    n.title.fill(' ');
    const char name[] = "benchmark hull";
    std::memcpy(n.title.data(), name, sizeof name - 1);
    // hull-like magnitudes with full-length mantissas
    std::mt19937 gen(481);
    std::uniform_real_distribution<float> u(-1.0f, 1.0f);
    for (std::size_t k = 0; k < kPoints; ++k) {
        n.x[k] = 12.0f * u(gen);
        n.y[k] = 2.5f * u(gen);
        n.z[k] = 0.01f * u(gen);
    }
    return n;
}

const Network& network() {
    static const Network n = make_network();
    return n;
}

struct TempDir {
    fs::path path;
    TempDir() {
        std::string p = (fs::temp_directory_path() / "netfile-bench-XXXXXX").string();
        if (!::mkdtemp(p.data())) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        path = p;
    }
    ~TempDir() { fs::remove_all(path); }
};

const TempDir& temp() {
    static const TempDir d;
    return d;
}

std::string file(const char* name) { return (temp().path / name).string(); }

// kept out of line so that profiles name them
[[gnu::noinline]] void layer_write(const std::string& name) {
    const Network& n = network();
    geom::NetStatus status;
    geom::writnet(2, name, std::string_view(n.title.data(), n.title.size()), status, 0, n.x, n.y, n.z, kDim, kDim,
                  kDim, kDim, 0, 0, 0, 0, 0);
    if (!status.done()) std::abort();
}

[[gnu::noinline]] void layer_read(const std::string& name, Network& into) {
    geom::NetStatus status;
    int imax = 0, jmax = 0, klue = 0;
    geom::readnet(1, name, into.title, status, 0, into.x, into.y, into.z, kDim, kDim, imax, jmax, 0, 0, 0, 0, klue);
    if (!status.done() || imax != kDim || jmax != kDim) std::abort();
}

// The same records as writnet: header, then one point per line.
[[gnu::noinline]] void plain_write(const std::string& name) {
    const Network& n = network();
    std::FILE* f = std::fopen(name.c_str(), "w");
    if (!f) std::abort();
    char line[64];
    std::snprintf(line, sizeof line, "%5d%5d%10s%s\n", kDim, kDim, "", "benchmark hull");
    std::fputs(line, f);
    for (std::size_t k = 0; k < kPoints; ++k) {
        int len = std::snprintf(line, sizeof line, "%16.8E", static_cast<double>(n.x[k]));
        len += std::snprintf(line + len, sizeof line - std::size_t(len), "%16.8E", static_cast<double>(n.y[k]));
        len += std::snprintf(line + len, sizeof line - std::size_t(len), "%16.8E\n", static_cast<double>(n.z[k]));
        std::fputs(line, f);
    }
    if (std::fclose(f) != 0) std::abort();
}

[[gnu::noinline]] void plain_read(const std::string& name, Network& into) {
    std::FILE* f = std::fopen(name.c_str(), "r");
    if (!f) std::abort();
    char line[256];
    if (!std::fgets(line, sizeof line, f)) std::abort();
    for (std::size_t k = 0; k < kPoints; ++k) {
        if (!std::fgets(line, sizeof line, f)) std::abort();
        char* p = line;
        char* end;
        into.x[k] = std::strtof(p, &end);
        into.y[k] = std::strtof(p = end, &end);
        into.z[k] = std::strtof(p = end, &end);
        if (end == p) std::abort();
    }
    std::fclose(f);
}

// The floor: "(1p3e16.8)" records made by to_chars, the file written in one call.
[[gnu::noinline]] void floor_write(const std::string& name) {
    const Network& n = network();
    std::string text;
    text.reserve(64 + kPoints * 49);
    char field[32];
    std::snprintf(field, sizeof field, "%5d%5d%10s", kDim, kDim, "");
    text += field;
    text += "benchmark hull\n";
    const auto put = [&](float v) {
        const auto res = std::to_chars(field, field + sizeof field, static_cast<double>(v), std::chars_format::scientific, 8);
        for (char* p = field; p < res.ptr; ++p)
            if (*p == 'e') *p = 'E';
        text.append(16 - static_cast<std::size_t>(res.ptr - field), ' ');
        text.append(field, res.ptr);
    };
    for (std::size_t k = 0; k < kPoints; ++k) {
        put(n.x[k]);
        put(n.y[k]);
        put(n.z[k]);
        text += '\n';
    }
    std::FILE* f = std::fopen(name.c_str(), "w");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) std::abort();
}

// The floor: the file read in one call, its numbers by from_chars.
[[gnu::noinline]] void floor_read(const std::string& name, Network& into) {
    std::FILE* f = std::fopen(name.c_str(), "r");
    if (!f) std::abort();
    std::string text(static_cast<std::size_t>(fs::file_size(name)), '\0');
    if (std::fread(text.data(), 1, text.size(), f) != text.size()) std::abort();
    std::fclose(f);
    const char* p = text.data() + text.find('\n') + 1;
    const char* const end = text.data() + text.size();
    const auto next = [&](float& v) {
        while (*p == ' ' || *p == '\n') ++p;
        const auto res = std::from_chars(p, end, v);
        if (res.ec != std::errc()) std::abort();
        p = res.ptr;
    };
    for (std::size_t k = 0; k < kPoints; ++k) {
        next(into.x[k]);
        next(into.y[k]);
        next(into.z[k]);
    }
}

constexpr std::int64_t kFileBytes = 35 + std::int64_t(kPoints) * 49;

using Writer = void (*)(const std::string&);
using Reader = void (*)(const std::string&, Network&);

void time_writes(benchmark::State& state, const char* name, Writer write) {
    const std::string path = file(name);
    for (auto _ : state) write(path);
    state.SetBytesProcessed(state.iterations() * kFileBytes);
}

// Reads back a file the matching writer made.
void time_reads(benchmark::State& state, const char* name, Writer write, Reader read) {
    const std::string path = file(name);
    write(path);
    Network into = network();
    for (auto _ : state) {
        read(path, into);
        benchmark::DoNotOptimize(into.x.data());
    }
    state.SetBytesProcessed(state.iterations() * kFileBytes);
}

void BM_LayerWrite(benchmark::State& state) { time_writes(state, "layer.net", layer_write); }
void BM_PlainWrite(benchmark::State& state) { time_writes(state, "plain.net", plain_write); }
void BM_LayerRead(benchmark::State& state) { time_reads(state, "layer-read.net", layer_write, layer_read); }
void BM_PlainRead(benchmark::State& state) { time_reads(state, "plain-read.net", plain_write, plain_read); }
void BM_FloorWrite(benchmark::State& state) { time_writes(state, "floor.net", floor_write); }
void BM_FloorRead(benchmark::State& state) { time_reads(state, "floor-read.net", floor_write, floor_read); }

BENCHMARK(BM_LayerWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LayerRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloorWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FloorRead)->Unit(benchmark::kMillisecond)->UseRealTime();

void print_ratios(const RatioReporter& rep) {
    const double lw = rep.seconds("BM_LayerWrite"), pw = rep.seconds("BM_PlainWrite");
    const double lr = rep.seconds("BM_LayerRead"), pr = rep.seconds("BM_PlainRead");
    const double fw = rep.seconds("BM_FloorWrite"), fr = rep.seconds("BM_FloorRead");
    std::printf("\n481 x 481 network (%lld bytes), layer / plain stdio and layer / floor (to_chars, from_chars):\n",
                static_cast<long long>(kFileBytes));
    // goal 0: none for this line
    auto line = [](const char* what, double layer, double other, double goal) {
        if (layer <= 0 || other <= 0) return;
        std::printf("  %-22s %8.1f ms / %8.1f ms = %.2fx", what, layer * 1e3, other * 1e3, layer / other);
        if (goal > 0 && layer / other > goal) std::printf("  (goal %.1fx)", goal);
        std::printf("\n");
    };
    line("write / plain", lw, pw, 1.5);
    line("read / plain", lr, pr, 1.5);
    line("write+read / plain", lw + lr, pw + pr, 1.5);
    line("write / floor", lw, fw, 0);
    line("read / floor", lr, fr, 0);
    line("write+read / floor", lw + lr, fw + fr, 1.3);
}

std::string contents(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(f)), {});
}

// All writers must produce the same bytes and all readers the same numbers,
// else the comparison is unfair.
bool same_bytes() {
    const std::string a = file("check-layer.net"), b = file("check-plain.net"), c = file("check-floor.net");
    layer_write(a);
    plain_write(b);
    floor_write(c);
    const std::string sa = contents(a), sb = contents(b), sc = contents(c);
    if (sa != sb || sa != sc || sa.size() != static_cast<std::size_t>(kFileBytes)) {
        std::fprintf(stderr, "layer, plain and floor files differ (%zu, %zu and %zu bytes)\n", sa.size(), sb.size(),
                     sc.size());
        return false;
    }
    const Network& n = network();
    for (Reader read : {layer_read, plain_read, floor_read}) {
        Network back = network();
        std::fill(back.x.begin(), back.x.end(), 0.0f);
        read(a, back);
        if (!(back.x == n.x && back.y == n.y && back.z == n.z)) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    if (!same_bytes()) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    print_ratios(reporter);
    benchmark::Shutdown();
    return 0;
}
