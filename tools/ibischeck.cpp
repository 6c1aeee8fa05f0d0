// ibischeck: checks IBIS (.ibs, .pkg, .ebd) and IBIS-AMI parameter (.ami) files and prints
// the checker's diagnostics and a pass/fail summary for each.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "IbisParser/acdc.h"
#include "IbisParser/cmn.h"
#include "IbisParser/hdr.h"
#include "IbisParser/parse.h"
#include "tools/check_file.h"

#ifndef QUARNEL_VERSION
#define QUARNEL_VERSION "unknown"
#endif

namespace {

constexpr int kExitPassed = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "Usage: ibischeck [options] FILE...\n"
    "Checks IBIS files (.ibs, .pkg, .ebd) and IBIS-AMI parameter files (.ami).\n"
    "The kind of each file comes from its extension; any other is checked as .ibs.\n"
    "\n"
    "Options:\n"
    "  --kind KIND            check every file as KIND (ibs, pkg, ebd or ami) whatever\n"
    "                         its extension says; a name without an extension gets\n"
    "                         .KIND appended, and one with another extension is still\n"
    "                         refused\n"
    "  --output FILE          write diagnostics and summaries to FILE (banners stay on\n"
    "                         standard output)\n"
    "  --max-diagnostics N    print at most N diagnostics per file; the others are\n"
    "                         still counted, and one line before the summary says how\n"
    "                         many were not shown\n"
    "  --quiet                do not print the \"Checking ...\" banner\n"
    "  --long-lines           no line-length limit\n"
    "  --keep-illegal-chars   keep illegal characters without a message\n"
    "  --no-file-name-rules   skip the [File Name] character and name rules\n"
    "  --allow-v1             accept [IBIS Ver] 1.x\n"
    "  --force-v5             apply IBIS 5.0 rules whatever [IBIS Ver] says\n"
    "  --no-model-checks      skip the model consistency checks\n"
    "  --no-range-checks      skip the value-range checks\n"
    "  --quiet-bugs           neither print nor count program bugs\n"
    "  --quiet-errors         neither print nor count errors\n"
    "  --quiet-warnings       neither print nor count warnings\n"
    "  --help                 print this help and exit\n"
    "  --version              print the version and exit\n"
    "\n"
    "Exit status: 0 when every file passed, 1 when any failed, 2 for a usage error or\n"
    "when the report cannot be written.\n";

struct Options {
    bool help = false;
    bool version = false;
    int forcedKind = 0;  // 0: from each file's extension
    std::string outputPath;
    std::uint64_t maxDiagnostics = UINT64_MAX;
    std::vector<const char*> files;
};

constexpr struct {
    std::string_view name;
    int kind;
} kKinds[] = {
    {"ibs", FILE_KIND_IBS}, {"pkg", FILE_KIND_PKG}, {"ebd", FILE_KIND_EBD}, {"ami", FILE_KIND_AMI}};

// The file kind named by an extension or a --kind value, or 0.
int KindFromName(std::string_view name) {
    for (const auto& [known, kind] : kKinds) {
        if (name.size() == known.size() &&
            std::equal(name.begin(), name.end(), known.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) == b;
            })) {
            return kind;
        }
    }
    return 0;
}

// No extension or an unknown one: .ibs, so the checker reports the wrong extension itself.
int KindFromPath(std::string_view path) {
    const std::size_t nameStart = path.find_last_of("/\\");
    const std::string_view name =
        nameStart == std::string_view::npos ? path : path.substr(nameStart + 1);
    const std::size_t dot = name.rfind('.');
    const int kind = dot == std::string_view::npos ? 0 : KindFromName(name.substr(dot + 1));
    return kind ? kind : FILE_KIND_IBS;
}

bool UsageError(const std::string& problem) {
    std::fprintf(stderr, "ibischeck: %s\nTry 'ibischeck --help' for more information.\n",
                 problem.c_str());
    return false;
}

// Options with a value take it from the next argument or after "=".
bool TakeValue(std::string_view option, std::string_view argument, int& index, int argc,
               char** argv, std::string& value) {
    if (argument.size() > option.size() && argument[option.size()] == '=') {
        value = argument.substr(option.size() + 1);
    } else if (index + 1 < argc) {
        value = argv[++index];
    }
    if (value.empty()) {
        return UsageError("option '" + std::string(option) + "' needs a value");
    }
    return true;
}

bool ApplySwitch(std::string_view argument) {
    struct Switch {
        std::string_view name;
        void (*apply)();
    };
    static const Switch kSwitches[] = {
        {"--quiet", [] { PARSE_SetQuiet(true); }},
        {"--long-lines", [] { PARSE_SetLongLines(true); }},
        {"--keep-illegal-chars", [] { CMN_SetKeepIllegalChars(true); }},
        {"--no-file-name-rules", [] { HDR_SetNoFileNameRules(true); }},
        {"--allow-v1", [] { HDR_SetAllowVersion1(true); }},
        {"--force-v5", [] { HDR_SetForceVersion5(true); }},
        {"--no-model-checks", [] { ACDC_SetModelChecks(false); }},
        {"--no-range-checks", [] { ACDC_SetRangeChecks(false); }},
        {"--quiet-bugs", [] { CMN_SetQuietBugs(true); }},
        {"--quiet-errors", [] { CMN_SetQuietErrors(true); }},
        {"--quiet-warnings", [] { CMN_SetQuietWarnings(true); }},
    };
    for (const Switch& known : kSwitches) {
        if (argument == known.name) {
            known.apply();
            return true;
        }
    }
    return false;
}

bool IsValueOption(std::string_view argument, std::string_view option) {
    return argument.substr(0, option.size()) == option &&
           (argument.size() == option.size() || argument[option.size()] == '=');
}

bool ParseOptions(int argc, char** argv, Options& options) {
    bool optionsEnded = false;
    for (int index = 1; index < argc; ++index) {
        const std::string_view argument = argv[index];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            options.files.push_back(argv[index]);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--version") {
            options.version = true;
        } else if (IsValueOption(argument, "--output")) {
            if (!TakeValue("--output", argument, index, argc, argv, options.outputPath))
                return false;
        } else if (IsValueOption(argument, "--max-diagnostics")) {
            std::string limit;
            if (!TakeValue("--max-diagnostics", argument, index, argc, argv, limit)) return false;
            const char* end = limit.data() + limit.size();
            auto [stop, error] = std::from_chars(limit.data(), end, options.maxDiagnostics);
            if (error != std::errc() || stop != end) {
                return UsageError("option '--max-diagnostics' needs a whole number, not '" + limit +
                                  "'");
            }
        } else if (IsValueOption(argument, "--kind")) {
            std::string kind;
            if (!TakeValue("--kind", argument, index, argc, argv, kind)) return false;
            options.forcedKind = KindFromName(kind);
            if (!options.forcedKind) {
                return UsageError("unknown kind '" + kind + "' (expected ibs, pkg, ebd or ami)");
            }
        } else if (!ApplySwitch(argument)) {
            return UsageError("unknown option '" + std::string(argument) + "'");
        }
    }
    if (!options.help && !options.version && options.files.empty()) {
        return UsageError("no file to check");
    }
    return true;
}

// The file that checking `path` as `kind` opens: a name without an extension gets the kind's.
std::string OpenedPath(std::string_view path, int kind) {
    const std::size_t nameStart = path.find_last_of("/\\");
    if (path.find('.', nameStart == std::string_view::npos ? 0 : nameStart) !=
        std::string_view::npos) {
        return std::string(path);
    }
    for (const auto& [name, known] : kKinds) {
        if (known == kind) return std::string(path) + "." + std::string(name);
    }
    return std::string(path);
}

// Writing the report over a file that is about to be checked would destroy that file.
bool OutputIsAnInput(const Options& options) {
    if (options.outputPath.empty()) return false;
    for (const char* path : options.files) {
        const std::string opened =
            OpenedPath(path, options.forcedKind ? options.forcedKind : KindFromPath(path));
        std::error_code error;
        if (options.outputPath == path || options.outputPath == opened ||
            std::filesystem::equivalent(options.outputPath, opened, error)) {
            UsageError("the report file '" + options.outputPath + "' is also a file to check");
            return true;
        }
    }
    return false;
}

// True when everything written to `stream` so far has reached its file; otherwise says why
// on standard error.
bool Written(std::FILE* stream, const char* name) {
    errno = 0;
    if (std::fflush(stream) == 0 && !std::ferror(stream)) return true;
    std::fprintf(stderr, "ibischeck: cannot write %s: %s\n", name,
                 std::strerror(errno != 0 ? errno : EIO));
    return false;
}

int CheckFiles(const Options& options) {
    std::FILE* output = nullptr;
    std::string outputName;
    if (!options.outputPath.empty()) {
        output = std::fopen(options.outputPath.c_str(), "w");
        if (!output) {
            std::fprintf(stderr, "ibischeck: cannot write '%s': %s\n", options.outputPath.c_str(),
                         std::strerror(errno));
            return kExitUsage;
        }
        outputName = "'" + options.outputPath + "'";
        CMN_SetOutput(output);
    }
    CMN_SetMaxDiagnostics(options.maxDiagnostics);
    bool allPassed = true;
    bool allWritten = true;
    for (const char* path : options.files) {
        const int kind = options.forcedKind ? options.forcedKind : KindFromPath(path);
        allPassed &= CheckFileOnItsOwn(path, kind);
        allWritten = Written(stdout, "to standard output") &&
                     (!output || Written(output, outputName.c_str()));
        if (!allWritten) break;
    }
    if (output) {
        CMN_SetOutput(stdout);
        errno = 0;
        if (std::fclose(output) != 0 && allWritten) {
            std::fprintf(stderr, "ibischeck: cannot write %s: %s\n", outputName.c_str(),
                         std::strerror(errno != 0 ? errno : EIO));
            allWritten = false;
        }
    }
    if (!allWritten) return kExitUsage;
    return allPassed ? kExitPassed : kExitFailed;
}

int Run(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options) || OutputIsAnInput(options)) {
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return Written(stdout, "to standard output") ? kExitPassed : kExitUsage;
    }
    if (options.version) {
        std::puts("ibischeck " QUARNEL_VERSION);
        return Written(stdout, "to standard output") ? kExitPassed : kExitUsage;
    }
    return CheckFiles(options);
}

}  // namespace

int main(int argc, char** argv) {
    // A reader that went away is a write error to report, not a reason to die silently.
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("ibischeck: out of memory\n", stderr);
    }
    return kExitUsage;
}
