// Algorithmic-model checks on large inputs: a parameter file with many model-specific
// parameters, and a model with many Executable lines (whose close looks for duplicates). Two
// sizes each: the time per byte should not grow with the size.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"
#include "tools/check_file.h"

namespace {

namespace fs = std::filesystem;

std::string TempPath(const std::string& name) {
    return (fs::temp_directory_path() / name).string();
}

// A parameter file with the two mandatory reserved parameters and `count` model-specific
// parameters in groups of ten, each leaf on its own line as files are usually written.
std::string AmiFile(int count) {
    const std::string path = TempPath("quarnel_bench_" + std::to_string(count) + ".ami");
    std::FILE* out = std::fopen(path.c_str(), "w");
    std::fputs(
        "(bench\n (Reserved_Parameters\n"
        "  (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True)"
        " (Description \"d\"))\n"
        "  (GetWave_Exists (Usage Info) (Type Boolean) (Default False)"
        " (Description \"d\")))\n (Model_Specific\n",
        out);
    for (int group = 0; group < count / 10; ++group) {
        std::fprintf(out, "  (group%d\n", group);
        for (int parameter = 0; parameter < 10; ++parameter) {
            std::fprintf(out,
                         "   (p%d\n    (Usage In)\n    (Type Float)\n"
                         "    (Format Range 0.5 -1 1)\n    (Default 0.5)\n"
                         "    (Description \"Parameter %d of group %d.\"))\n",
                         parameter, parameter, group);
        }
        std::fputs("  )\n", out);
    }
    std::fputs(" )\n)\n", out);
    std::fclose(out);
    return path;
}

// An IBIS 5.0 file with one model whose [Algorithmic Model] holds `count` distinct
// Executable lines naming files that do not exist.
std::string IbsFile(int count) {
    const std::string name = "quarnel_bench_algmod_" + std::to_string(count) + ".ibs";
    const std::string path = TempPath(name);
    std::FILE* out = std::fopen(path.c_str(), "w");
    std::fprintf(out,
                 "[IBIS Ver] 5.0\n[File Name] %s\n[File Rev] 1.0\n[Component] c\n"
                 "[Manufacturer] m\n[Package]\nR_pkg 1 1 1\nL_pkg 1n 1n 1n\nC_pkg 1p 1p 1p\n"
                 "[Pin] signal_name model_name\n1 s m\n[Model] m\nModel_type Input\n"
                 "C_comp 1p 1p 1p\n[Algorithmic Model]\n",
                 name.c_str());
    for (int line = 0; line < count; ++line) {
        std::fprintf(out, "Executable Platform%d_gcc_64 lib%d.so p%d.ami\n", line, line, line);
    }
    std::fputs("[End Algorithmic Model]\n[End]\n", out);
    std::fclose(out);
    return path;
}

void RunCheck(benchmark::State& state, const std::string& path, int kind) {
    static std::FILE* discard = std::fopen("/dev/null", "w");
    CMN_SetOutput(discard);
    PARSE_SetQuiet(true);
    for (auto _ : state) {
        CheckFileOnItsOwn(path.c_str(), kind);
    }
    const auto bytes = static_cast<int64_t>(fs::file_size(path));
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
    CMN_SetOutput(nullptr);
}

void BM_CheckAmiModelSpecific(benchmark::State& state) {
    RunCheck(state, AmiFile(static_cast<int>(state.range(0))), FILE_KIND_AMI);
}
void BM_CheckAlgorithmicModelLines(benchmark::State& state) {
    RunCheck(state, IbsFile(static_cast<int>(state.range(0))), FILE_KIND_IBS);
}

BENCHMARK(BM_CheckAmiModelSpecific)->Arg(2'000)->Arg(20'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckAlgorithmicModelLines)->Arg(2'000)->Arg(20'000)->Unit(benchmark::kMillisecond);

}  // namespace
