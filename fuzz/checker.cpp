// Feeds arbitrary bytes to the IBIS checker as each file kind in turn, from memory: whatever
// the bytes, checking must end with a summary, without a crash, a hang or a leak.

#include <cstdint>
#include <cstdio>
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
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const auto& [kind, name] : kKinds) {
        CheckFileOnItsOwn(name, kind, &text);
    }
    return 0;
}
