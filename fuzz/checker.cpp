// Feeds arbitrary bytes to the IBIS checker as each file kind in turn: whatever the bytes,
// checking must end with a summary, without a crash, a hang or a leak.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

namespace {

// The checker insists on the extension that matches the kind (1 .ibs, 2 .pkg, 3 .ebd, 4 .ami).
constexpr const char* kExtensions[] = {".ibs", ".pkg", ".ebd", ".ami"};

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
  char pattern[] = "/tmp/fuzz_checker_XXXXXX";
  if (!mkdtemp(pattern)) {
    std::perror("mkdtemp");
    std::abort();
  }
  inputDirectory = pattern;
  discard = std::fopen("/dev/null", "w");
  CMN_SetOutput(discard);
  PARSE_SetQuiet(true);
  std::atexit([] {
    for (const char* extension : kExtensions) {
      std::remove((inputDirectory + "/input" + extension).c_str());
    }
    rmdir(inputDirectory.c_str());
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (int kind = 1; kind <= 4; ++kind) {
    const std::string path = inputDirectory + "/input" + kExtensions[kind - 1];
    if (!WriteInput(path, data, size)) {
      std::perror(path.c_str());
      std::abort();
    }
    CMN_ResetCounts();
    IBIS_New();
    if (PARSE_File(path.c_str(), kind) == 1) {
      IBIS_Check(kind, 0);
    }
    IBIS_Finish();
  }
  return 0;
}
