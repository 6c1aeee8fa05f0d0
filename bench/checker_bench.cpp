// Checker throughput on large files, next to `wc -l` on the same (cached) file in the same
// run. Each benchmark reports bytes per second; the checker benchmarks also report how many
// times longer than `wc -l` they take on the same file (see RunChecker).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>

#include <sys/resource.h>
#include <sys/time.h>

#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"
#include "tools/check_file.h"

namespace {

namespace fs = std::filesystem;

constexpr int kPkgNoteLines = 5'000;
constexpr int kPkgCommentRuns = 400;
constexpr int kPkgCommentRunLines = 500;
constexpr int kIbsNoteLines = 100'000;

// A line of readable text of `width` characters, so the line-length rules pass.
std::string TextLine(int number, std::size_t width) {
    std::string line = "line " + std::to_string(number) + ":";
    while (line.size() < width) {
        line += " The quick brown fox jumps over the lazy dog.";
    }
    line.resize(width);
    return line;
}

// Writes a generated file into the temporary folder and returns its path.
template <typename Write>
std::string Generate(const char* name, Write write) {
    const std::string file = (fs::temp_directory_path() / name).string();
    std::FILE* out = std::fopen(file.c_str(), "w");
    write(out);
    std::fclose(out);
    return file;
}

// [IBIS Ver], [File Name] and [File Rev], then a [Notes] block of `lines` lines: the keyword
// line carries `firstWidth` characters of text, the others are `width` wide.
void WriteNotesHeader(std::FILE* out, const char* version, const char* name, int lines,
                      std::size_t firstWidth, std::size_t width) {
    std::fprintf(out, "[IBIS Ver] %s\n[File Name] %s\n[File Rev] 1.0\n", version, name);
    std::fprintf(out, "[Notes] %s\n", TextLine(0, firstWidth).c_str());
    for (int line = 1; line < lines; ++line) {
        std::fprintf(out, "%s\n", TextLine(line, width).c_str());
    }
}

// A .pkg file of version 3.2 (80 columns): a header with thousands of notes lines, then
// runs of comment lines between the package model's keywords.
const std::string& PkgFile() {
    static const std::string path = Generate("quarnel_bench_notes.pkg", [](std::FILE* out) {
        WriteNotesHeader(out, "3.2", "quarnel_bench_notes.pkg", kPkgNoteLines, 70, 78);
        std::fputs("[Define Package Model] BENCH\n", out);
        for (int run = 0; run < kPkgCommentRuns; ++run) {
            for (int line = 0; line < kPkgCommentRunLines; ++line) {
                std::fprintf(out, "|%s\n", TextLine(line, 77).c_str());
            }
            std::fputs("[Manufacturer] Nobody\n", out);
        }
        std::fputs("[End Package Model]\n[End]\n", out);
    });
    return path;
}

// An .ibs file of version 4.2 (120 columns) whose header holds a 100,000-line [Notes] block.
const std::string& IbsNotesFile() {
    static const std::string path = Generate("quarnel_bench_notes.ibs", [](std::FILE* out) {
        WriteNotesHeader(out, "4.2", "quarnel_bench_notes.ibs", kIbsNoteLines, 100, 118);
        std::fputs("[Component] BENCH\n[Manufacturer] Nobody\n[End]\n", out);
    });
    return path;
}

// Seconds of wall time and of CPU time.
struct Cost {
    double real = 0.0;
    double cpu = 0.0;
};

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + time.tv_usec * 1e-6;
}

double ChildrenCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

// One `wc -l FILE`: its wall time and the CPU time of the shell and wc together, which stays
// meaningful when other work shares the machine. A zero cost means the command failed.
Cost RunWcOnce(const std::string& path) {
    const std::string command = "wc -l '" + path + "' >/dev/null";
    const double cpuBefore = ChildrenCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            ChildrenCpuSeconds() - cpuBefore};
}

// The cheapest of a few runs on the cached file.
Cost BestWc(const std::string& path) {
    Cost best = RunWcOnce(path);
    for (int run = 0; run < 19; ++run) {
        const Cost cost = RunWcOnce(path);
        best.real = std::min(best.real, cost.real);
        best.cpu = std::min(best.cpu, cost.cpu);
    }
    return best;
}

// Counters: the checker's time per file over that of `wc -l`, in CPU time with wc's start
// included (x_wc) and without it (x_wc_net), and in wall time (x_wc_real).
void RunChecker(benchmark::State& state, const std::string& path, int kind) {
    static std::FILE* discard = std::fopen("/dev/null", "w");
    CMN_SetOutput(discard);
    PARSE_SetQuiet(true);
    const Cost wc = BestWc(path);
    const Cost wcStart = BestWc("/dev/null");
    Cost checker;
    for (auto _ : state) {
        const double cpuBefore = ProcessCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        CheckFileOnItsOwn(path.c_str(), kind);
        checker.real +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        checker.cpu += ProcessCpuSeconds() - cpuBefore;
    }
    const auto files = static_cast<double>(state.iterations());
    const auto bytes = static_cast<int64_t>(fs::file_size(path));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    state.counters["cpu_MB/s"] = static_cast<double>(bytes) / 1e6 / (checker.cpu / files);
    state.counters["x_wc"] = checker.cpu / files / wc.cpu;
    state.counters["x_wc_net"] = checker.cpu / files / (wc.cpu - wcStart.cpu);
    state.counters["x_wc_real"] = checker.real / files / wc.real;
}

void RunWc(benchmark::State& state, const std::string& path) {
    double cpu = 0.0;
    for (auto _ : state) {
        const Cost cost = RunWcOnce(path);
        if (cost.real == 0.0) {
            state.SkipWithError("wc -l failed");
            return;
        }
        cpu += cost.cpu;
    }
    if (fs::is_regular_file(path)) {
        state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
    }
    state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations()) * 1e3;
}

void BM_CheckPkgNotesAndComments(benchmark::State& state) {
    RunChecker(state, PkgFile(), FILE_KIND_PKG);
}
void BM_WcPkgNotesAndComments(benchmark::State& state) { RunWc(state, PkgFile()); }
void BM_CheckIbsNotesBlock(benchmark::State& state) {
    RunChecker(state, IbsNotesFile(), FILE_KIND_IBS);
}
void BM_WcIbsNotesBlock(benchmark::State& state) { RunWc(state, IbsNotesFile()); }

// `wc -l` on an empty input: the cost of starting the shell and wc, included in every wc figure.
void BM_WcStartOnly(benchmark::State& state) { RunWc(state, "/dev/null"); }

// The reporting path on its own: three diagnostics with text, unsigned and floating-point
// arguments per iteration, printed to /dev/null.
void BM_ReportDiagnostics(benchmark::State& state) {
    static std::FILE* discard = std::fopen("/dev/null", "w");
    CMN_SetOutput(discard);
    for (auto _ : state) {
        CMN_ErrorLine(1909, "Min", "1.2x");
        CMN_Warning(1702, "U1", "A1", 12.5, 10.0);
        CMN_ErrorLine(1912, "File_Rev", "1.0beta", 3u);
    }
    CMN_ResetCounts();
    state.SetItemsProcessed(state.iterations() * 3);
}

BENCHMARK(BM_CheckPkgNotesAndComments)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcPkgNotesAndComments)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckIbsNotesBlock)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcIbsNotesBlock)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcStartOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReportDiagnostics);

}  // namespace
