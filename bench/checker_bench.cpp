// Checker throughput on large files, next to `wc -l` on the same (cached) file in the same
// run. Each benchmark reports bytes per second; the checker benchmarks also report
// "x_wc", their time per file divided by the time `wc -l` takes on it.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

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

// A .pkg file of version 3.2 (80 columns): a header with thousands of notes lines, then
// runs of comment lines between the package model's keywords.
const std::string& PkgFile() {
    static const std::string path = [] {
        const std::string file = (fs::temp_directory_path() / "quarnel_bench_notes.pkg").string();
        std::FILE* out = std::fopen(file.c_str(), "w");
        std::fputs("[IBIS Ver] 3.2\n[File Name] quarnel_bench_notes.pkg\n[File Rev] 1.0\n", out);
        std::fprintf(out, "[Notes] %s\n", TextLine(0, 70).c_str());
        for (int line = 1; line < kPkgNoteLines; ++line) {
            std::fprintf(out, "%s\n", TextLine(line, 78).c_str());
        }
        std::fputs("[Define Package Model] BENCH\n", out);
        for (int run = 0; run < kPkgCommentRuns; ++run) {
            for (int line = 0; line < kPkgCommentRunLines; ++line) {
                std::fprintf(out, "|%s\n", TextLine(line, 77).c_str());
            }
            std::fputs("[Manufacturer] Nobody\n", out);
        }
        std::fputs("[End Package Model]\n[End]\n", out);
        std::fclose(out);
        return file;
    }();
    return path;
}

// An .ibs file of version 4.2 (120 columns) whose header holds a 100,000-line [Notes] block.
const std::string& IbsNotesFile() {
    static const std::string path = [] {
        const std::string file = (fs::temp_directory_path() / "quarnel_bench_notes.ibs").string();
        std::FILE* out = std::fopen(file.c_str(), "w");
        std::fputs("[IBIS Ver] 4.2\n[File Name] quarnel_bench_notes.ibs\n[File Rev] 1.0\n", out);
        std::fprintf(out, "[Notes] %s\n", TextLine(0, 100).c_str());
        for (int line = 1; line < kIbsNoteLines; ++line) {
            std::fprintf(out, "%s\n", TextLine(line, 118).c_str());
        }
        std::fputs("[Component] BENCH\n[Manufacturer] Nobody\n[End]\n", out);
        std::fclose(out);
        return file;
    }();
    return path;
}

double WcSeconds(const std::string& path) {
    const std::string command = "wc -l '" + path + "' >/dev/null";
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
        return 0.0;
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The fastest of a few runs, on the cached file.
double BestWcSeconds(const std::string& path) {
    double best = WcSeconds(path);
    for (int run = 0; run < 9; ++run) {
        const double seconds = WcSeconds(path);
        if (seconds > 0.0 && seconds < best)
            best = seconds;
    }
    return best;
}

void RunChecker(benchmark::State& state, const std::string& path, int kind) {
    static std::FILE* discard = std::fopen("/dev/null", "w");
    CMN_SetOutput(discard);
    PARSE_SetQuiet(true);
    const double wcSeconds = BestWcSeconds(path);
    double checkerSeconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CheckFileOnItsOwn(path.c_str(), kind);
        checkerSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const auto bytes = static_cast<int64_t>(fs::file_size(path));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["x_wc"] = checkerSeconds / static_cast<double>(state.iterations()) / wcSeconds;
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

void RunWc(benchmark::State& state, const std::string& path) {
    for (auto _ : state) {
        if (WcSeconds(path) == 0.0) {
            state.SkipWithError("wc -l failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(fs::file_size(path)));
}

void BM_CheckPkgNotesAndComments(benchmark::State& state) {
    RunChecker(state, PkgFile(), FILE_KIND_PKG);
}
void BM_WcPkgNotesAndComments(benchmark::State& state) {
    RunWc(state, PkgFile());
}
void BM_CheckIbsNotesBlock(benchmark::State& state) {
    RunChecker(state, IbsNotesFile(), FILE_KIND_IBS);
}
void BM_WcIbsNotesBlock(benchmark::State& state) {
    RunWc(state, IbsNotesFile());
}

// `wc -l` on an empty input: the cost of starting the shell and wc, included in every wc figure.
void BM_WcStartOnly(benchmark::State& state) {
    for (auto _ : state) {
        WcSeconds("/dev/null");
    }
}

BENCHMARK(BM_CheckPkgNotesAndComments)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcPkgNotesAndComments)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckIbsNotesBlock)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcIbsNotesBlock)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcStartOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
