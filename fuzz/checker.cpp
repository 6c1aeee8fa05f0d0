// Feeds arbitrary bytes to the IBIS checker as each file kind in turn: whatever the bytes,
// checking must end with a summary, without a crash, a hang or a leak.

#include <unistd.h>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"
#include "tools/check_file.h"

namespace {

// The checker insists on the extension that matches the kind.
constexpr struct {
    int kind;
    const char* extension;
} kKinds[] = {{FILE_KIND_IBS, ".ibs"},
              {FILE_KIND_PKG, ".pkg"},
              {FILE_KIND_EBD, ".ebd"},
              {FILE_KIND_AMI, ".ami"}};

std::string inputDirectory;
std::FILE* discard = nullptr;

bool WriteInput(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Memory-backed when possible: every input is written four times.
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "fuzz_checker_XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    inputDirectory = pattern;
    discard = std::fopen("/dev/null", "w");
    CMN_SetOutput(discard);
    PARSE_SetQuiet(true);
    std::atexit([] {
        for (const auto& [kind, extension] : kKinds) {
            std::remove((inputDirectory + "/input" + extension).c_str());
        }
        rmdir(inputDirectory.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const auto& [kind, extension] : kKinds) {
        const std::string path = inputDirectory + "/input" + extension;
        if (!WriteInput(path, data, size)) {
            std::perror(path.c_str());
            std::abort();
        }
        CheckFileOnItsOwn(path.c_str(), kind);
    }
    return 0;
}
