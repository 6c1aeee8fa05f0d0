// Feeds arbitrary bytes to the IBIS checker from memory: the first byte picks the file kind, the
// rest is the file ("0" .ibs, "1" .pkg, "2" .ebd, "3" .ami, as the seeds begin). Whatever the
// bytes, checking must end with a summary, without a crash, a hang or a leak. Letting the input
// pick the kind checks each input once instead of once per kind, and lets the fuzzer learn which
// kind reaches which code.

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <string_view>

#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"
#include "tools/check_file.h"

namespace {

// The checker insists on the extension that matches the kind.
constexpr struct {
    int kind;
    const char* name;
} kKinds[] = {{FILE_KIND_IBS, "input.ibs"},
              {FILE_KIND_PKG, "input.pkg"},
              {FILE_KIND_EBD, "input.ebd"},
              {FILE_KIND_AMI, "input.ami"}};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    CMN_SetOutput(std::fopen("/dev/null", "w"));
    PARSE_SetQuiet(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const auto& [kind, name] = kKinds[data[0] % std::size(kKinds)];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CheckFileOnItsOwn(name, kind, &text);
    return 0;
}
