// surfmesh on large IGES files, as a designer runs it to mesh every surface
// (answers: option 1 and the file, option 4 with all meshes 9 x 9 in the
// network format, option 6), against the program the designer would write
// with OpenCASCADE instead (surfmesh_reference: IGESControl_Reader, every
// IGESGeom_BSplineSurface evaluated 9 x 9, the points written as a file;
// built where CMake finds OpenCASCADE, skipped elsewhere) and against a
// bare read of the file's lines (getline). Both programs run as whole
// processes. The files: impeller.igs of the real IGES files (4 MB, 247
// type-128 surfaces among 4,615 entries; in the folder SUITE_IGES_DIR names,
// a relative one from the repository's top folder, by default
// ../shared/iges) and files of its surfaces copied 1, 2, 4, 8 and 16 times,
// made here. Prints the times, the ratios, the growth from 1 to 16
// copies and how far the reference's points lie from surfmesh's. Rows that
// cannot run are not run: one line says which and why.

#include "ratio_reporter.hpp"
#include "support/iges_copies.hpp"
#include "support/networks.hpp"
#include "support/real_iges.hpp"
#include "support/scratch.hpp"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

const fs::path kImpeller = test_support::real_iges("impeller.igs");
#ifdef SURFMESH_REFERENCE_EXE
const std::string kReference = SURFMESH_REFERENCE_EXE;
#else
const std::string kReference;
#endif
constexpr int kCopies[] = {1, 2, 4, 8, 16};
constexpr int kRepetitions = 5;

// One IGES file of the benchmark, its answers and what each program writes.
struct Input {
    std::string name;   // "impeller" or "copies:N"
    fs::path file, answers, mesh, points;
    int surfaces = 0;
};

// The scratch folder the programs run in, with the inputs made once.
struct Workspace {
    fs::path dir;
    std::vector<Input> inputs;

    Workspace() {
        std::string p = (fs::temp_directory_path() / "surfmesh-bench-XXXXXX").string();
        if (!::mkdtemp(p.data())) std::abort();
        dir = p;
        if (!fs::exists(kImpeller)) return;
        const std::string text = test_support::read_file(kImpeller);
        add("impeller", kImpeller, test_support::iges_surface_copies(text, 1).surfaces);
        for (int n : kCopies) {
            const test_support::IgesCopies c = test_support::iges_surface_copies(text, n);
            const fs::path file = dir / ("copies-" + std::to_string(n) + ".igs");
            test_support::write_file(file, c.text);
            add("copies:" + std::to_string(n), file, n * c.surfaces);
        }
    }
    ~Workspace() { fs::remove_all(dir); }

    void add(const std::string& name, const fs::path& file, int surfaces) {
        std::string stem = name;
        std::replace(stem.begin(), stem.end(), ':', '-');
        Input in{name, file, dir / (stem + ".answers"), dir / (stem + ".net"), dir / (stem + ".points"), surfaces};
        test_support::write_file(in.answers,
                                 "1\n" + file.string() + "\n4\n0\n1 1 1\n0\n9 9\n3\n" + in.mesh.string() + "\n6\n");
        inputs.push_back(in);
    }
};

Workspace& workspace() {
    static Workspace w;
    return w;
}

// A whole process in the workspace, standard input from `in`, its output
// dropped; true when it ends with status 0.
bool run(const std::vector<std::string>& args, const fs::path& in) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int err = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return err == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_Surfmesh(benchmark::State& state, const Input& in) {
    for (auto _ : state)
        if (!run({SURFMESH_EXE}, in.answers)) return state.SkipWithError("surfmesh failed");
}

void BM_Reference(benchmark::State& state, const Input& in) {
    for (auto _ : state)
        if (!run({kReference, in.file.string(), in.points.string()}, "/dev/null"))
            return state.SkipWithError("the reference failed");
}

void BM_BareRead(benchmark::State& state, const Input& in) {
    for (auto _ : state) {
        std::FILE* f = std::fopen(in.file.c_str(), "r");
        char* line = nullptr;
        std::size_t cap = 0;
        long n = 0;
        while (getline(&line, &cap, f) >= 0) ++n;
        std::free(line);
        std::fclose(f);
        benchmark::DoNotOptimize(n);
    }
}

// The largest distance of the reference's points from surfmesh's, over the
// largest coordinate; -1 when the files do not hold the same meshes.
double disagreement(const Input& in) {
    const auto mesh = test_support::parse_networks(test_support::read_file(in.mesh));
    const auto points = test_support::parse_networks(test_support::read_file(in.points));
    if (!mesh || !points || mesh->size() != points->size()) return -1;
    double worst = 0, size = 0;
    for (std::size_t k = 0; k < mesh->size(); ++k) {
        const test_support::Network &a = (*mesh)[k], &b = (*points)[k];
        if (a.p.size() != b.p.size()) return -1;
        for (std::size_t m = 0; m < a.p.size(); ++m) {
            worst = std::max({worst, std::fabs(a.p[m].x - b.p[m].x), std::fabs(a.p[m].y - b.p[m].y),
                              std::fabs(a.p[m].z - b.p[m].z)});
            size = std::max({size, std::fabs(a.p[m].x), std::fabs(a.p[m].y), std::fabs(a.p[m].z)});
        }
    }
    return size > 0 ? worst / size : worst;
}

std::string ms(double s) {
    if (s <= 0) return "        -";
    char b[32];
    std::snprintf(b, sizeof b, "%7.1f ms", s * 1e3);
    return b;
}

std::string spread(const RatioReporter& r, const std::string& name) {
    const auto [lo, hi] = r.range(name);
    if (hi <= 0) return "";
    char b[48];
    std::snprintf(b, sizeof b, " (%.1f-%.1f)", lo * 1e3, hi * 1e3);
    return b;
}

void report(const RatioReporter& r) {
    const Workspace& w = workspace();
    std::printf("\nsurfmesh (option 1, all meshes 9 x 9 to a network file, quit) and the OpenCASCADE program,\n"
                "whole processes, medians of %d interleaved runs (fastest-slowest), on this machine now:\n",
                kRepetitions);
    std::printf("  %-10s %8s  %-26s %-26s %9s  %-18s %s\n", "file", "surfaces", "surfmesh", "OpenCASCADE", "bare read",
                "surfmesh/OCCT", "surfmesh/bare read");
    for (const Input& in : w.inputs) {
        const double s = r.seconds("surfmesh/" + in.name), o = r.seconds("reference/" + in.name),
                     b = r.seconds("bare_read/" + in.name);
        char ratio[48] = "";
        if (s > 0 && o > 0) std::snprintf(ratio, sizeof ratio, "%.2f%s", s / o, s / o <= 0.5 ? "" : " (goal 0.5)");
        char bare[16] = "";
        if (s > 0 && b > 0) std::snprintf(bare, sizeof bare, "%.0fx", s / b);
        std::printf("  %-10s %8d  %-26s %-26s %9s  %-18s %s\n", in.name.c_str(), in.surfaces,
                    (ms(s) + spread(r, "surfmesh/" + in.name)).c_str(), (ms(o) + spread(r, "reference/" + in.name)).c_str(),
                    ms(b).c_str(), ratio, bare);
    }
    // growth from 1 to 16 copies: t16/t1 and the exponent of N
    std::printf("  from 1 to 16 copies:");
    for (const char* who : {"surfmesh", "reference", "bare_read"}) {
        const double t1 = r.seconds(std::string(who) + "/copies:1"), t16 = r.seconds(std::string(who) + "/copies:16");
        if (t1 > 0 && t16 > 0)
            std::printf(" %s x%.1f (N^%.2f)", who, t16 / t1, std::log(t16 / t1) / std::log(16.0));
    }
    std::printf("\n");
    if (kReference.empty()) return;
    for (const Input& in : w.inputs) {
        if (in.name != "impeller" && in.name != "copies:16") continue;
        const double d = disagreement(in);
        if (d < 0)
            std::printf("  %s: the reference's meshes are not surfmesh's\n", in.name.c_str());
        else
            std::printf("  %s: the reference's points lie within %.1e of surfmesh's (of the largest coordinate)\n",
                        in.name.c_str(), d);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The repetitions of all programs in random order: the ratios are
    // taken on a machine whose load changes while they run.
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, interleave.data());
    argc = static_cast<int>(args.size());
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    Workspace& w = workspace();
    if (w.inputs.empty()) {
        std::printf("surfmesh_bench: every row skipped (surfmesh, OpenCASCADE and bare read of impeller.igs and its "
                    "copies): %s\n",
                    test_support::real_iges_absent(kImpeller).c_str());
        benchmark::Shutdown();
        return 0;
    }
    if (kReference.empty())
        std::printf("surfmesh_bench: the OpenCASCADE rows skipped: OpenCASCADE was not found at build time (Debian "
                    "package libocct-data-exchange-dev)\n");
    std::fflush(stdout);
    using Body = void (*)(benchmark::State&, const Input&);
    const std::pair<std::string, Body> programs[] = {
        {"surfmesh/", BM_Surfmesh}, {"reference/", BM_Reference}, {"bare_read/", BM_BareRead}};
    for (const Input& in : w.inputs) {
        for (const auto& [who, fn] : programs)
            if (fn != BM_Reference || !kReference.empty())
                benchmark::RegisterBenchmark((who + in.name).c_str(), fn, in)
                    ->Unit(benchmark::kMillisecond)
                    ->UseRealTime()
                    ->Iterations(1)
                    ->Repetitions(kRepetitions);
    }
    const fs::path home = fs::current_path();
    fs::current_path(w.dir);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    fs::current_path(home);
    report(reporter);
    benchmark::Shutdown();
    return 0;
}
