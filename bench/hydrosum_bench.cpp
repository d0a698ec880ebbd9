// A whole hydrosum run over a full test matrix (classes r, k, w, n at 100
// runs by 9 heels with 51 cases each, and both upright sets), as a designer
// reruns it: the previous run's outputs are in place. Against two loops
// that only read the same files' numbers: fgets + strtof, and the floor, a
// whole-file read + std::from_chars.

#include "hydrosum/input/steps.hpp"
#include "ratio_reporter.hpp"
#include "textio/textio.hpp"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kCases = 51;
const char* const kHeels[] = {"00", "05", "10", "15", "20", "25", "27", "30", "35"};

std::string run_code(int j) {
    char b[4];
    if (j == 1) return "a00";
    std::snprintf(b, sizeof b, "r%02d", j - 1);
    return b;
}

void write_fm(const fs::path& name, int heel, int run, bool upright) {
    std::FILE* f = std::fopen(name.c_str(), "w");
    if (!f) std::abort();
    std::fprintf(f, "%-70s%8d\n", "benchmark force-moment file", 1);
    for (int k = 0; k < 6; ++k) std::fprintf(f, " header line %d\n", k + 2);
    for (int i = 1; i <= kCases; ++i) {
        const double v = 0.5 + 0.05 * i, yaw = upright ? 0.0 : 0.5 * (run % 9);
        std::fprintf(f, "%10.4f%10.4f%10.4f%10.4f%10.4f%10.4f%10.4f%8d\n", v, 5.0 * heel, yaw, 0.0, 1.0, -0.001 * v,
                     0.02 * v, 1);
        for (int line = 0; line < 6; ++line) {
            for (int m = 0; m < 6; ++m) std::fprintf(f, "%14.6E", 0.001 * (line + 1) * (m + 1) * v + 1e-4 * run);
            std::fputc('\n', f);
        }
    }
    std::fclose(f);
}

struct Matrix {
    fs::path dir;
    std::vector<fs::path> files;
    Matrix() {
        std::string p = (fs::temp_directory_path() / "hydrosum-bench-XXXXXX").string();
        if (!::mkdtemp(p.data())) std::abort();
        dir = p;
        for (int h = 0; h < 9; ++h)
            for (int j = 1; j <= 100; ++j)
                for (char c : {'r', 'k', 'w', 'n'}) {
                    files.push_back(dir / (std::string(1, c) + kHeels[h] + run_code(j) + ".fm"));
                    write_fm(files.back(), h, j, false);
                }
        for (const char* upright : {"ku.fm", "nu.fm"}) {
            files.push_back(dir / upright);
            write_fm(files.back(), 0, 1, true);
        }
        std::FILE* d = std::fopen((dir / "deck").c_str(), "w");
        std::fputs("t\nbenchmark\nl\n1.0 1.9438 1.19e-3 1025.9 10.0\nl\n1 1 1 0\nl\n1 1 1 0\nl\n1 1 1 1\nl\n1 1 1 1\n"
                   "l\n1.0 1.0 1.0 0.0\nl\n0 0 1 0 0\n",
                   d);
        std::fclose(d);
    }
    ~Matrix() { fs::remove_all(dir); }
};

const Matrix& matrix() {
    static const Matrix m;
    return m;
}

[[gnu::noinline]] void hydrosum_run() {
    const Matrix& m = matrix();
    const fs::path here = fs::current_path();
    fs::current_path(m.dir);
    std::FILE* in = std::fopen("deck", "r");
    std::FILE* out = std::fopen("/dev/null", "w");
    textio::Runtime::instance().reset(in, out);
    const int status = textio::run_program("hydrosum", hydrosum::main_routine);
    textio::Runtime::instance().reset();
    std::fclose(in);
    std::fclose(out);
    fs::current_path(here);
    if (status != 0) std::abort();
}

[[gnu::noinline]] double plain_read() {
    double sum = 0;
    char line[256];
    for (const fs::path& name : matrix().files) {
        std::FILE* f = std::fopen(name.c_str(), "r");
        while (std::fgets(line, sizeof line, f)) {
            char* p = line;
            for (char* end;; p = end) {
                const float x = std::strtof(p, &end);
                if (end == p) break;
                sum += x;
            }
        }
        std::fclose(f);
    }
    return sum;
}

// The conversion floor: each file read whole, every number by from_chars.
[[gnu::noinline]] double floor_read() {
    double sum = 0;
    std::vector<char> text;
    for (const fs::path& name : matrix().files) {
        std::FILE* f = std::fopen(name.c_str(), "r");
        text.resize(static_cast<std::size_t>(fs::file_size(name)));
        if (std::fread(text.data(), 1, text.size(), f) != text.size()) std::abort();
        std::fclose(f);
        const char* p = text.data();
        const char* const end = p + text.size();
        while (p < end) {
            float x;
            const auto res = std::from_chars(p, end, x);
            if (res.ec == std::errc()) {
                sum += x;
                p = res.ptr;
            } else {
                ++p;
            }
        }
    }
    return sum;
}

void BM_Hydrosum(benchmark::State& state) {
    for (auto _ : state) hydrosum_run();
}

// The previous run's outputs written through to the disk first, as they
// are when a designer reruns minutes later: cutting them then frees blocks
// on the disk.
void BM_HydrosumOutputsOnDisk(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        for (const auto& e : fs::directory_iterator(matrix().dir)) {
            if (e.path().extension() == ".fm") continue;
            const int fd = ::open(e.path().c_str(), O_RDONLY);
            if (fd >= 0) {
                ::fsync(fd);
                ::close(fd);
            }
        }
        state.ResumeTiming();
        hydrosum_run();
    }
}

void BM_PlainRead(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(plain_read());
}

void BM_FloorRead(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(floor_read());
}

// Each repetition one run; the ratios take the median of each.
BENCHMARK(BM_Hydrosum)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
BENCHMARK(BM_HydrosumOutputsOnDisk)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);
BENCHMARK(BM_FloorRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(5);

long peak_kib() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    // The repetitions of the three loops in random order: the ratios are
    // taken on a machine whose load changes while they run.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    argc = static_cast<int>(args.size());
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    // the first run writes every output; the timed runs find them in place
    const long before = peak_kib();
    hydrosum_run();
    const long peak = peak_kib();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double hw = reporter.seconds("BM_Hydrosum"), pw = reporter.seconds("BM_PlainRead");
    const double hc = reporter.cpu_seconds("BM_Hydrosum"), pc = reporter.cpu_seconds("BM_PlainRead");
    const double fw = reporter.seconds("BM_FloorRead");
    if (hw > 0 && pw > 0 && fw > 0) {
        std::printf("\nfull test matrix (%zu files), outputs of the previous run in place; medians:\n",
                    matrix().files.size());
        std::printf("  hydrosum / fgets+strtof  wall %4.0f ms / %4.0f ms = %.2fx%s\n", hw * 1e3, pw * 1e3, hw / pw,
                    hw / pw <= 1.5 ? "" : "  (goal 1.5x)");
        std::printf("  hydrosum / fgets+strtof  CPU  %4.0f ms / %4.0f ms = %.2fx%s\n", hc * 1e3, pc * 1e3, hc / pc,
                    hc / pc <= 1.5 ? "" : "  (goal 1.5x)");
        std::printf("  hydrosum / whole-file read + from_chars (floor)  wall %4.0f ms / %4.0f ms = %.2fx\n", hw * 1e3,
                    fw * 1e3, hw / fw);
        const double dw = reporter.seconds("BM_HydrosumOutputsOnDisk"), dc = reporter.cpu_seconds("BM_HydrosumOutputsOnDisk");
        if (dw > 0)
            std::printf("  the previous outputs on the disk already: wall %4.0f ms (%.2fx), CPU %4.0f ms (%.2fx)\n",
                        dw * 1e3, dw / pw, dc * 1e3, dc / pc);
    }
    std::printf("  peak memory: the first run raised the process's peak by %.1f MiB\n", (peak - before) / 1024.0);
    benchmark::Shutdown();
    return 0;
}
