// surfmesh on a large real IGES file (../shared/iges/impeller.igs: 4 MB,
// 247 type-128 surfaces): read it and mesh every surface 9 x 9 into a
// network file, against a bare read of the same file's lines (getline).
// Prints the ratio after the runs; skipped when the file is absent.

#include "ratio_reporter.hpp"
#include "surfmesh/commands.hpp"
#include "textio/textio.hpp"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <stdlib.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

const std::string kFile = SURFMESH_BENCH_IGES;

struct Scratch {
    fs::path dir;
    Scratch() {
        std::string p = (fs::temp_directory_path() / "surfmesh-bench-XXXXXX").string();
        if (!::mkdtemp(p.data())) std::abort();
        dir = p;
    }
    ~Scratch() { fs::remove_all(dir); }
};

// One whole run of the program in-process: answers in, transcript out.
void BM_ReadAndMeshAll(benchmark::State& state) {
    if (!fs::exists(kFile)) return state.SkipWithError("impeller.igs is absent");
    Scratch s;
    const fs::path home = fs::current_path();
    fs::current_path(s.dir);
    const std::string answers = "1\n" + kFile + "\n4\n0\n1 1 1\n0\n9 9\n3\nall.net\n6\n";
    for (auto _ : state) {
        std::FILE* in = std::tmpfile();
        std::FILE* out = std::tmpfile();
        std::fputs(answers.c_str(), in);
        std::rewind(in);
        textio::Runtime::instance().reset(in, out);
        if (textio::run_program("surfmesh", surfmesh::main_routine) != 0) state.SkipWithError("surfmesh failed");
        std::fclose(in);
        std::fclose(out);
    }
    textio::Runtime::instance().reset();
    fs::current_path(home);
}

void BM_BareRead(benchmark::State& state) {
    if (!fs::exists(kFile)) return state.SkipWithError("impeller.igs is absent");
    for (auto _ : state) {
        std::FILE* f = std::fopen(kFile.c_str(), "r");
        char* line = nullptr;
        std::size_t cap = 0;
        long n = 0;
        while (getline(&line, &cap, f) >= 0) ++n;
        std::free(line);
        std::fclose(f);
        benchmark::DoNotOptimize(n);
    }
}

BENCHMARK(BM_ReadAndMeshAll)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BareRead)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double mesh = reporter.seconds("BM_ReadAndMeshAll"), bare = reporter.seconds("BM_BareRead");
    if (mesh > 0 && bare > 0)
        std::printf("\nimpeller.igs, read and mesh all 247 surfaces / bare read of its lines:\n"
                    "  %.1f ms / %.2f ms = %.0fx\n",
                    mesh * 1e3, bare * 1e3, mesh / bare);
    benchmark::Shutdown();
    return 0;
}
