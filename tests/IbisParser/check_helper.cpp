#include "tests/IbisParser/check_helper.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "IbisParser/acdc.h"
#include "IbisParser/cmn.h"
#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

void ApplySettings(const CheckOptions& options) {
    PARSE_SetQuiet(options.quiet);
    PARSE_SetLongLines(options.longLines);
    PARSE_SetUnterminated(options.unterminated);
    CMN_SetKeepIllegalChars(options.keepIllegalChars);
    HDR_SetNoFileNameRules(options.noFileNameRules);
    HDR_SetAllowVersion1(options.allowVersion1);
    HDR_SetForceVersion5(options.forceVersion5);
    HDR_SetVersion(options.versionInForce);
    CMN_SetQuietErrors(options.quietErrors);
    CMN_SetQuietWarnings(options.quietWarnings);
    CMN_SetQuietBugs(false);
    CMN_SetFileDirectory("");
    CMN_ResetCounts();
}

std::string ReadAll(std::FILE* stream) {
    std::fflush(stream);
    std::rewind(stream);
    std::string text;
    char chunk[4096];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, stream)) > 0;) {
        text.append(chunk, got);
    }
    return text;
}

const char* Extension(int kind) {
    switch (kind) {
    case FILE_KIND_PKG: return ".pkg";
    case FILE_KIND_EBD: return ".ebd";
    case FILE_KIND_AMI: return ".ami";
    default: return ".ibs";
    }
}

}  // namespace

const std::filesystem::path& CheckDir() {
    static const std::filesystem::path dir = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("ibischeck-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return dir;
}

namespace {

// Reads the file at path, or text under that path when text is given.
std::string Check(const std::string& path, int kind, const CheckOptions& options,
                  const std::string_view* text) {
    ApplySettings(options);
    std::FILE* diagnostics = std::tmpfile();
    CMN_SetOutput(diagnostics);
    std::fflush(stdout);
    testing::internal::CaptureStdout();
    IBIS_New();
    int read =
        text != nullptr ? PARSE_Text(path.c_str(), kind, *text) : PARSE_File(path.c_str(), kind);
    if (read) IBIS_Check(kind);
    if (options.inspect) {
        IBIS* current = nullptr;
        IBIS_GetCurrent(&current);
        options.inspect(current);
    }
    IBIS_Finish();
    std::fflush(stdout);
    std::string output = testing::internal::GetCapturedStdout();
    output += ReadAll(diagnostics);
    CMN_SetOutput(nullptr);
    std::fclose(diagnostics);
    ApplySettings(CheckOptions{});
    return output;
}

}  // namespace

std::string CheckPath(const std::string& path, int kind, const CheckOptions& options) {
    return Check(path, kind, options, nullptr);
}

void WriteCheckFile(const std::string& name, std::string_view text) {
    std::filesystem::path path = CheckDir() / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(text.data(), static_cast<std::streamsize>(text.size()));
}

std::string CheckRelative(const std::string& path, int kind, const CheckOptions& options) {
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(CheckDir());
    std::string output = CheckPath(path, kind, options);
    std::filesystem::current_path(previous);
    return output;
}

std::string CheckText(std::string_view text, int kind, const CheckOptions& options) {
    std::string name =
        options.fileName.empty() ? std::string("test") + Extension(kind) : options.fileName;
    // Files that the text names are looked for beside it, in CheckDir().
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(CheckDir());
    std::string output = Check(name, kind, options, &text);
    std::filesystem::current_path(previous);
    return output;
}
