// The [Algorithmic Model] keyword: its Executable lines, the checks when its section closes,
// the files it names after the whole file, and the checks of .ami parameter trees.
#include "IbisParser/algmod.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"
#include "amitree/AmiTree.h"

namespace {

constexpr const char* kModule = "algmod";
constexpr const char* kKeywordName = "Algorithmic Model";
// Platform, compiler and file names keep at most this many characters.
constexpr std::size_t kNameLimit = 44;

// The line of the most recent [Algorithmic Model] keyword, quoted by the close checks.
unsigned long algmodKeywordLine = 0;

// Split buffers reused from line to line, so that reading a line allocates only what the
// record keeps.
CMN_LINE_ITEMS lineItems;
CMN_LINE_ITEMS bitsItems;

// Keeps at most kNameLimit characters of text; a longer text is reported with code first.
void StoreLimited(std::string& field, const char* text, int code) {
    std::size_t length = std::strlen(text);
    if (length > kNameLimit) {
        CMN_ErrorLine(code, text);
        length = kNameLimit;
    }
    field.assign(text, length);
}

// The platform/compiler/bits item: three fields separated by single underscores.
bool SplitPlatformItem(const char* text) {
    CMN_SplitLine(text, 5, '_', &bitsItems);
    if (bitsItems.count != 5) return false;
    for (int i = 0; i < 5; ++i) {
        bool underscore = std::strcmp(bitsItems.item(i), "_") == 0;
        if (underscore != (i % 2 == 1)) return false;
    }
    return true;
}

// Bits: an unsigned decimal number filling the whole field; -1 when it does not.
std::int32_t ReadBits(const char* text) {
    std::uint32_t value = 0;
    if (CMN_GetUnsigned(text, &value) != 1 || value > INT32_MAX) return -1;
    return static_cast<std::int32_t>(value);
}

// The key under which two Executable lines count as the same: platform and compiler without
// regard to case, and bits.
std::string DuplicateKey(const ALGMOD& record) {
    std::string key = record.platform;
    key += '\0';
    key += record.compiler;
    CMN_ToLower(key);
    key += '\0';
    key += std::to_string(record.bits);
    return key;
}

}  // namespace

ALGMOD::~ALGMOD() { FreeAmiTree(&parameter_tree); }

void ALGMOD_Keyword(char* line, MDL* model) {
    if (model == nullptr) {
        CMN_BugLine(4603, kModule, __LINE__);
        return;
    }
    if (model->algmod) {
        CMN_ErrorLine(4601);
        ALGMOD_Free(model->algmod);
    }
    model->algmod.reset(new (std::nothrow) ALGMOD_LIST());
    if (!model->algmod) CMN_Bug(4602, kModule, __LINE__);
    const char* rest = line;
    CMN_SkipPastBracket(&rest);
    CMN_SplitWords(rest, 0, &lineItems);
    if (lineItems.count > 0) CMN_ErrorLine(4605, lineItems.count + 1, kKeywordName, 1);
    algmodKeywordLine = CMN_CurrentLineNumber();
}

void ALGMOD_DataLine(char* line, MDL* model) {
    // Without a holder the keyword has already reported why.
    if (model == nullptr || !model->algmod) return;
    CMN_SplitWords(line, 4, &lineItems);
    if (lineItems.count != 4) {
        CMN_ErrorLine(4605, lineItems.count, kKeywordName, 4);
        return;
    }
    if (std::strcmp(lineItems.item(0), "Executable") != 0) {
        CMN_ErrorLine(4609);
        return;
    }
    const char* platformItem = lineItems.item(1);
    if (!SplitPlatformItem(platformItem)) {
        CMN_ErrorLine(4610);
        return;
    }
    std::unique_ptr<ALGMOD> record(new (std::nothrow) ALGMOD());
    if (!record) {
        CMN_Bug(4602, kModule, __LINE__);
        return;
    }
    StoreLimited(record->platform, bitsItems.item(0), 4611);
    StoreLimited(record->compiler, bitsItems.item(2), 4612);
    record->bits = ReadBits(bitsItems.item(4));
    if (record->bits < 0) CMN_ErrorLine(4613, platformItem);
    StoreLimited(record->file_name, lineItems.item(2), 4614);
    StoreLimited(record->parameter_file, lineItems.item(3), 4614);
    IBIS_PushFront(model->algmod->head, std::move(record));
}

void ALGMOD_Close(MDL* model) {
    if (model == nullptr || !model->algmod) return;
    const int keywordLine = static_cast<int>(algmodKeywordLine);
    // How many records from each one to the end of the list share its key: a record has one
    // duplicate report for every later record with its key, without comparing every pair.
    std::unordered_map<std::string, unsigned> remaining;
    for (const ALGMOD* record = model->algmod->head.get(); record != nullptr;
         record = record->next.get()) {
        ++remaining[DuplicateKey(*record)];
    }
    for (const ALGMOD* record = model->algmod->head.get(); record != nullptr;
         record = record->next.get()) {
        const char* platform = record->platform.c_str();
        const char* compiler = record->compiler.c_str();
        if (record->bits != 32 && record->bits != 64) {
            CMN_Error(4606, platform, compiler, keywordLine);
        }
        unsigned later = --remaining[DuplicateKey(*record)];
        for (unsigned i = 0; i < later; ++i) {
            CMN_Error(4607, platform, compiler, static_cast<int>(record->bits), keywordLine);
        }
    }
}

void ALGMOD_Free(std::unique_ptr<ALGMOD_LIST>& list) {
    if (list) IBIS_FreeChain(list->head);
    list.reset();
}

void ALGMOD_CheckFiles(MDL*) {}

AmiTree* ALGMOD_CheckParameterFile() { return nullptr; }
