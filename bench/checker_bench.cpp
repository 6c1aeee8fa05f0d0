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
        std::fputs(
            "[Component] BENCH\n[Manufacturer] Nobody\n[Package]\nR_pkg 0.2 NA NA\n"
            "L_pkg 2n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 VSS GND\n[End]\n",
            out);
    });
    return path;
}

constexpr int kBenchModels = 180;
constexpr int kIVRows = 100;
constexpr int kWaveformRows = 1000;

void WriteIVTable(std::FILE* out, const char* keyword, double slope) {
    std::fprintf(out, "[%s]\n", keyword);
    for (int row = 0; row < kIVRows; ++row) {
        const double volts = -3.3 + 0.1 * row;
        std::fprintf(out, "%8.3f %12.5e %12.5e %12.5e\n", volts, slope * volts, 0.8 * slope * volts,
                     1.2 * slope * volts);
    }
}

// A 1000-row waveform. A model's waveform names its fixture; a golden waveform of test data
// has no sub-parameters.
void WriteWaveform(std::FILE* out, const char* keyword, bool rising, bool fixture = true) {
    std::fprintf(out, "[%s]\n", keyword);
    if (fixture) std::fputs("R_fixture = 50\nV_fixture = 0\n", out);
    for (int row = 0; row < kWaveformRows; ++row) {
        const double fraction = static_cast<double>(row) / (kWaveformRows - 1);
        const double volts = 3.3 * (rising ? fraction : 1.0 - fraction);
        std::fprintf(out, "%12.5en %11.6f %11.6f %11.6f\n", row * 0.01, volts, 0.95 * volts,
                     1.05 * volts);
    }
}

// A pin name of at most five characters, BGA style: a letter and a number below 10,000.
std::string PinName(int index) {
    char name[16];
    std::snprintf(name, sizeof name, "%c%d", 'A' + index / 10'000, index % 10'000);
    return name;
}

// One component of `pins` signal pins plus a POWER and a GND pin, with a [Pin Mapping] row for
// every pin, a [Diff Pin] row for each of the first `pairs` pairs of pins and a [Model
// Selector] over ten models. Pins in pairs use the first half of the models, the others the
// second half, each half round-robin, so that differential and single-ended models stay apart.
// The file checks clean.
void WriteComponent(std::FILE* out, int pins, int pairs, int models, const char* modelPrefix) {
    std::fputs(
        "[Component] BENCH\n[Manufacturer] Nobody\n[Package]\nR_pkg 0.2 0.1 0.3\n"
        "L_pkg 2n 1n 3n\nC_pkg 1p 0.5p 1.5p\n"
        "[Pin] signal_name model_name R_pin L_pin C_pin\n",
        out);
    const int half = models / 2;
    const int pairedPins = 2 * pairs;
    for (int pin = 0; pin < pins; ++pin) {
        const int model = pin < pairedPins ? pin % half : half + pin % (models - half);
        std::fprintf(out, "%s SIG_%d %s%d 0.1 1.2n 0.4p\n", PinName(pin).c_str(), pin, modelPrefix,
                     model);
    }
    std::fputs("VDD1 VDD POWER NA NA NA\nVSS1 VSS GND NA NA NA\n", out);
    std::fputs("[Pin Mapping] pulldown_ref pullup_ref\n", out);
    for (int pin = 0; pin < pins; ++pin) {
        std::fprintf(out, "%s GNDBUS VDDBUS\n", PinName(pin).c_str());
    }
    std::fputs("VDD1 NC VDDBUS\nVSS1 GNDBUS NC\n", out);
    std::fputs("[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n", out);
    for (int pair = 0; pair < pairs; ++pair) {
        std::fprintf(out, "%s %s 0.1V 0ns NA NA\n", PinName(2 * pair).c_str(),
                     PinName(2 * pair + 1).c_str());
    }
    std::fputs("[Model Selector] BENCH_SEL\n", out);
    for (int model = half; model < half + 10; ++model) {
        std::fprintf(out, "%s%d single-ended model %d\n", modelPrefix, model, model);
    }
}

// Receiver thresholds of every kind the whole-file check asks for: single-ended models give
// Vth and the ac/dc input levels and Tslew_ac; models of [Diff Pin] rows give the crossing
// window, the differential levels and Tdiffslew_ac.
void WriteReceiverThresholds(std::FILE* out, bool differential) {
    if (differential) {
        std::fputs(
            "[Receiver Thresholds]\nVcross_low = 1.45\nVcross_high = 1.85\nVdiff_ac = 0.2\n"
            "Vdiff_dc = 0.1\nTdiffslew_ac = 0.5n\n",
            out);
    } else {
        std::fputs(
            "[Receiver Thresholds]\nVth = 1.5\nVth_min = 1.45\nVth_max = 1.55\n"
            "Vinh_ac = 2.2\nVinh_dc = 2.0\nVinl_ac = 0.6\nVinl_dc = 0.8\nTslew_ac = 1.2n\n",
            out);
    }
}

// Every kBenchScheduleEvery-th single-ended model schedules the models just before it, which
// have no schedule of their own. The delay rows use all four columns, a rise and a fall turn-on
// pair, and a rise and a fall turn-off pair, so none of the column rules fires.
constexpr int kBenchScheduleEvery = 20;
constexpr int kBenchScheduled = 4;

void WriteDriverSchedule(std::FILE* out, int model) {
    static const char* const delays[] = {"0.5n 1.5n 0.5n 1.5n", "0n NA 0n NA", "NA 1n NA 1n"};
    std::fputs("[Driver Schedule]\n", out);
    for (int scheduled = 1; scheduled <= kBenchScheduled; ++scheduled) {
        std::fprintf(out, "io_%d %s\n", model - scheduled, delays[scheduled % 3]);
    }
}

constexpr int kBenchTestLoads = 4;
constexpr int kBenchSingleTestData = 10;
constexpr int kBenchDiffTestData = 2;

// Single-ended test loads se_0, se_1, ... whose receiver is a single-ended model, with near and
// far elements, a transmission line and both terminations, and one differential test load
// "df" over a [Diff Pin] model pair.
void WriteTestLoads(std::FILE* out, int models) {
    const int half = models / 2;
    for (int load = 0; load < kBenchTestLoads; ++load) {
        std::fprintf(out,
                     "[Test Load] se_%d\nTest_load_type Single_ended\nC1_near = 0.5p\n"
                     "Rs_near = 10\nLs_near = 1n\nC2_near = 0.2p\nRp1_near = 100\nTd = 1n\n"
                     "Zo = 50\nRp1_far = 50\nRp2_far = 50\nC2_far = 1p\nLs_far = 1n\n"
                     "Rs_far = 5\nC1_far = 0.5p\nV_term1 1.65 1.5 1.8\nV_term2 0 0 0\n"
                     "Receiver_model io_%d\n",
                     load, half + load);
    }
    std::fputs(
        "[Test Load] df\nTest_load_type Differential\nTd = 1n\nZo = 50\nR_diff_near = 100\n"
        "R_diff_far = 100\nReceiver_model io_0\nReceiver_model_inv io_1\n",
        out);
}

// Test data with golden waveforms: single-ended ones into the se_ test loads with the near
// and far rising and falling waveforms, and differential ones into "df" with the differential
// near waveforms besides. Each golden waveform has 1000 rows.
void WriteTestData(std::FILE* out, int models) {
    const int half = models / 2;
    for (int data = 0; data < kBenchSingleTestData; ++data) {
        std::fprintf(out,
                     "[Test Data] se_data_%d\nTest_data_type Single_ended\nDriver_model io_%d\n"
                     "Test_load se_%d\n",
                     data, half + data, data % kBenchTestLoads);
        WriteWaveform(out, "Rising Waveform Near", true, false);
        WriteWaveform(out, "Falling Waveform Near", false, false);
        WriteWaveform(out, "Rising Waveform Far", true, false);
        WriteWaveform(out, "Falling Waveform Far", false, false);
    }
    for (int data = 0; data < kBenchDiffTestData; ++data) {
        std::fprintf(out,
                     "[Test Data] df_data_%d\nTest_data_type Differential\nDriver_model io_%d\n"
                     "Driver_model_inv io_%d\nTest_load df\n",
                     data, 2 * data, 2 * data + 1);
        WriteWaveform(out, "Rising Waveform Near", true, false);
        WriteWaveform(out, "Falling Waveform Near", false, false);
        WriteWaveform(out, "Diff Rising Waveform Near", true, false);
        WriteWaveform(out, "Diff Falling Waveform Near", false, false);
    }
}

// An .ibs file of version 5.0 with 180 I/O models, each with [Receiver Thresholds], four
// 100-row I-V tables, a [Ramp] and a 1000-row rising and falling waveform, some with a [Driver
// Schedule] over their neighbours; a component of 20,000 pins; test loads and test data whose
// golden waveforms make about a tenth of the file (about 25 MB in all). It checks clean.
const std::string& IbsModelsFile() {
    static const std::string path = Generate("quarnel_bench_models.ibs", [](std::FILE* out) {
        std::fputs("[IBIS Ver] 5.0\n[File Name] quarnel_bench_models.ibs\n[File Rev] 1.0\n", out);
        WriteComponent(out, 20'000, 5'000, kBenchModels, "io_");
        const int half = kBenchModels / 2;
        for (int model = 0; model < kBenchModels; ++model) {
            std::fprintf(out,
                         "[Model] io_%d\nModel_type I/O\nPolarity Non-Inverting\n"
                         "Enable Active-High\nVinl = 0.8V\nVinh = 2.0V\nVmeas = 1.5V\n"
                         "Cref = 0p\nRref = 50\nVref = 0\nC_comp 2.0p 1.8p 2.2p\n",
                         model);
            WriteReceiverThresholds(out, model < half);
            std::fputs("[Voltage Range] 3.3 3.0 3.6\n", out);
            if (model >= half && (model - half) % kBenchScheduleEvery == kBenchScheduleEvery - 1) {
                WriteDriverSchedule(out, model);
            }
            WriteIVTable(out, "Pulldown", 0.01);
            WriteIVTable(out, "Pullup", -0.01);
            WriteIVTable(out, "GND Clamp", 0.001);
            WriteIVTable(out, "POWER Clamp", -0.001);
            std::fputs(
                "[Ramp]\ndV/dt_r 1.0/0.5n 0.9/0.6n 1.1/0.4n\n"
                "dV/dt_f 1.0/0.5n 0.9/0.6n 1.1/0.4n\nR_load = 50\n",
                out);
            WriteWaveform(out, "Rising Waveform", true);
            WriteWaveform(out, "Falling Waveform", false);
        }
        WriteTestLoads(out, kBenchModels);
        WriteTestData(out, kBenchModels);
        std::fputs("[End]\n", out);
    });
    return path;
}

// An .ibs file whose size is in its pin tables: `pins` pins, as many [Pin Mapping] rows, a
// quarter as many [Diff Pin] pairs, over twenty small input models. Doubling `pins` should
// double the time.
std::string IbsPinsFile(int pins) {
    const std::string name = "quarnel_bench_pins_" + std::to_string(pins) + ".ibs";
    return Generate(name.c_str(), [&](std::FILE* out) {
        std::fprintf(out, "[IBIS Ver] 5.0\n[File Name] %s\n[File Rev] 1.0\n", name.c_str());
        WriteComponent(out, pins, pins / 4, 20, "in_");
        for (int model = 0; model < 20; ++model) {
            std::fprintf(out,
                         "[Model] in_%d\nModel_type Input\nVinl = 0.8V\nVinh = 2.0V\n"
                         "C_comp 2.0p 1.8p 2.2p\n[Voltage Range] 3.3 3.0 3.6\n"
                         "[GND Clamp]\n-1.0 -10m -9m -11m\n0.0 0 0 0\n3.3 0 0 0\n",
                         model);
        }
        std::fputs("[End]\n", out);
    });
}

// A .pkg file of version 3.2 with one package model of `pins` pins (P1, P2, ...) and its R, L
// and C matrices: full (every value of the upper triangle) or banded with `bandwidth`. Values
// go eight to a line, as wide as the 80-column rule allows.
void WritePackageMatrices(std::FILE* out, const char* name, int pins, int bandwidth) {
    std::fprintf(out, "[IBIS Ver] 3.2\n[File Name] %s\n[File Rev] 1.0\n", name);
    std::fprintf(out,
                 "[Define Package Model] BENCH\n[Manufacturer] Nobody\n[OEM] Nobody\n"
                 "[Description] generated\n[Number Of Pins] %d\n[Pin Numbers]\n",
                 pins);
    for (int pin = 1; pin <= pins; ++pin) std::fprintf(out, "P%d\n", pin);
    std::fputs("[Model Data]\n", out);
    const char* matrices[] = {"Resistance", "Inductance", "Capacitance"};
    const double scales[] = {1e-1, 1e-9, 1e-12};
    for (int m = 0; m < 3; ++m) {
        if (bandwidth > 0) {
            std::fprintf(out, "[%s Matrix] Banded_matrix\n[Bandwidth] %d\n", matrices[m],
                         bandwidth);
        } else {
            std::fprintf(out, "[%s Matrix] Full_matrix\n", matrices[m]);
        }
        for (int row = 1; row <= pins; ++row) {
            std::fprintf(out, "[Row] P%d\n", row);
            int last = bandwidth > 0 ? std::min(pins, row + bandwidth) : pins;
            for (int column = row, onLine = 0; column <= last; ++column) {
                double value = scales[m] * (1.0 + (row * 7 + column * 13) % 1000 / 1000.0);
                std::fprintf(out, onLine == 7 || column == last ? "%.3e\n" : "%.3e ", value);
                onLine = onLine == 7 ? 0 : onLine + 1;
            }
        }
    }
    std::fputs("[End Model Data]\n[End Package Model]\n[End]\n", out);
}

// 1,000 pins, full matrices: about 1.5 million values.
const std::string& FullMatrixPkgFile() {
    static const std::string path = Generate("quarnel_bench_full.pkg", [](std::FILE* out) {
        WritePackageMatrices(out, "quarnel_bench_full.pkg", 1000, 0);
    });
    return path;
}

// 2,000 pins, banded matrices with a bandwidth of 100.
const std::string& BandedMatrixPkgFile() {
    static const std::string path = Generate("quarnel_bench_banded.pkg", [](std::FILE* out) {
        WritePackageMatrices(out, "quarnel_bench_banded.pkg", 2000, 100);
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
// Returns the checker's mean cost per file.
Cost RunChecker(benchmark::State& state, const std::string& path, int kind) {
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
    return {checker.real / files, checker.cpu / files};
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

void BM_CheckIbsModels(benchmark::State& state) {
    RunChecker(state, IbsModelsFile(), FILE_KIND_IBS);
}
void BM_WcIbsModels(benchmark::State& state) { RunWc(state, IbsModelsFile()); }
// Argument: the pin count. Compare the times of 20,000 and 40,000 pins.
void BM_CheckIbsPins(benchmark::State& state) {
    const std::string path = IbsPinsFile(static_cast<int>(state.range(0)));
    const Cost cost = RunChecker(state, path, FILE_KIND_IBS);
    state.counters["cpu_ns_per_pin"] = cost.cpu * 1e9 / static_cast<double>(state.range(0));
    fs::remove(path);
}
void BM_WcIbsPins(benchmark::State& state) {
    const std::string path = IbsPinsFile(static_cast<int>(state.range(0)));
    RunWc(state, path);
    fs::remove(path);
}
void BM_CheckPkgFullMatrix(benchmark::State& state) {
    RunChecker(state, FullMatrixPkgFile(), FILE_KIND_PKG);
}
void BM_WcPkgFullMatrix(benchmark::State& state) { RunWc(state, FullMatrixPkgFile()); }
void BM_CheckPkgBandedMatrix(benchmark::State& state) {
    RunChecker(state, BandedMatrixPkgFile(), FILE_KIND_PKG);
}
void BM_WcPkgBandedMatrix(benchmark::State& state) { RunWc(state, BandedMatrixPkgFile()); }

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
BENCHMARK(BM_CheckIbsModels)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcIbsModels)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckIbsPins)->Arg(20'000)->Arg(40'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcIbsPins)->Arg(20'000)->Arg(40'000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckPkgFullMatrix)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcPkgFullMatrix)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CheckPkgBandedMatrix)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcPkgBandedMatrix)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WcStartOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReportDiagnostics);

}  // namespace
