// A whole hydrosum run over a full test matrix (classes r, k, w, n at 100
// runs by 9 heels with 51 cases each, and both upright sets) against a bare
// loop that only reads the same files' numbers (fgets + strtof).

#include "hydrosum/input/steps.hpp"
#include "ratio_reporter.hpp"
#include "textio/textio.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <stdlib.h>

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
    Matrix() {
        std::string p = (fs::temp_directory_path() / "hydrosum-bench-XXXXXX").string();
        if (!::mkdtemp(p.data())) std::abort();
        dir = p;
        for (int h = 0; h < 9; ++h)
            for (int j = 1; j <= 100; ++j)
                for (char c : {'r', 'k', 'w', 'n'})
                    write_fm(dir / (std::string(1, c) + kHeels[h] + run_code(j) + ".fm"), h, j, false);
        write_fm(dir / "ku.fm", 0, 1, true);
        write_fm(dir / "nu.fm", 0, 1, true);
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
    for (const auto& e : fs::directory_iterator(matrix().dir)) {
        if (e.path().extension() != ".fm") continue;
        std::FILE* f = std::fopen(e.path().c_str(), "r");
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

void BM_Hydrosum(benchmark::State& state) {
    matrix();
    for (auto _ : state) hydrosum_run();
}

void BM_PlainRead(benchmark::State& state) {
    matrix();
    for (auto _ : state) benchmark::DoNotOptimize(plain_read());
}

BENCHMARK(BM_Hydrosum)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double h = reporter.seconds("BM_Hydrosum"), p = reporter.seconds("BM_PlainRead");
    if (h > 0 && p > 0)
        std::printf("\nfull test matrix (3,602 files): hydrosum %.0f ms / plain read %.0f ms = %.2fx%s\n", h * 1e3,
                    p * 1e3, h / p, h / p <= 3.0 ? "" : "  (goal 3x)");
    benchmark::Shutdown();
    return 0;
}
