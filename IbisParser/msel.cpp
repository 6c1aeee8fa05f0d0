// Model selectors: the name on the keyword line, one listed model per data line, the closing
// check when the next keyword arrives, and the whole-file checks against the file's models.
#include "IbisParser/msel.h"

#include <new>
#include <string_view>
#include <unordered_map>

#include "IbisParser/hdr.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

constexpr const char* kModule = "msel";

// No keyword of its own: every keyword after [Model Selector] closes the selector.
constinit SECTION_Records<MSEL> selectors(&IBIS::modelSelectors,
                                          {.module = kModule,
                                           .noFile = {CMN_BugLine, 4000, true},
                                           .noMemory = {CMN_ErrorLine, 4007},
                                           .own = {}});

int currentKeyword = NOT_KEY;
int previousKeyword = NOT_KEY;
CMN_LINE_ITEMS items;

// How often each model name is listed in the open selector so far; the keys view the names of
// its MSEL_MODEL records.
std::unordered_map<std::string_view, int> listedCounts;

// The selector names of one list (newest first), each mapped to its newest selector; the keys
// view the records' names. `indexedHead` is the list the index describes; a list that has
// grown by selectors in front of it is indexed by adding them.
std::unordered_map<std::string_view, MSEL*> selectorIndex;
const MSEL* indexedHead = nullptr;

void IndexList(MSEL* list) {
    if (list == indexedHead) return;
    selectorIndex.clear();
    for (MSEL* selector = list; selector != nullptr; selector = selector->next.get()) {
        selectorIndex.emplace(selector->name, selector);  // the newest of a name stays
    }
    indexedHead = list;
}

// Names of selectors and of listed models: 20 characters before IBIS 4.0, 40 from 4.0 on.
std::size_t NameLimit() { return HDR_GetVersion() < 4 ? 20 : 40; }

void ReadName(MSEL& selector, const char* text) {
    const char* rest = text;
    CMN_SkipPastBracket(&rest);
    if (!CMN_SplitWords(rest, 1, &items)) {
        CMN_Error(4009);
        return;
    }
    if (items.count == 0) {
        CMN_ErrorLine(4010);
        return;
    }
    if (items.count > 1) CMN_ErrorLine(4011, items.count, "Model Selector", 1);
    const std::string& written = items.items[0];
    const std::size_t limit = NameLimit();
    if (written.size() > limit) CMN_ErrorLine(4012, static_cast<int>(limit));
    selector.name.assign(written, 0, limit);
    if (!CMN_IsNotReserved(selector.name.c_str())) CMN_ErrorLine(4013, written);
    // The selector is the newest of its list: the index of the older ones tells a repeat.
    IndexList(selector.next.get());
    if (selectorIndex.contains(selector.name)) CMN_ErrorLine(4014, selector.name);
    selectorIndex.insert_or_assign(std::string_view(selector.name), &selector);
    indexedHead = &selector;
}

void ReadListedModel(MSEL& selector, const char* text) {
    if (!CMN_SplitWords(text, 2, &items)) {
        CMN_BugLine(4015, "Model Selector Sub-Parameter", kModule, __LINE__);
        return;
    }
    if (items.count == 0) {
        CMN_ErrorLine(4016);
        return;
    }
    if (items.count == 1) CMN_ErrorLine(4011, 1, "Model Selector", 2);
    std::unique_ptr<MSEL_MODEL> entry(new (std::nothrow) MSEL_MODEL());
    if (!entry) {
        CMN_ErrorLine(4008);
        return;
    }
    const std::string& written = items.items[0];
    const std::size_t limit = NameLimit();
    if (written.size() > limit) CMN_ErrorLine(4017, static_cast<int>(limit));
    entry->name.assign(written, 0, limit);
    if (CMN_StrEqualNoCase(entry->name.c_str(), "NA")) CMN_ErrorLine(4018);

    // The listed model's description text: the rest of the line after the model name and the white
    // space after it.
    const char* description = CMN_SkipSpace(CMN_SkipToSpace(CMN_SkipSpace(text)));
    const std::size_t descriptionLimit = 80 - entry->name.size();
    const std::string_view whole(description);
    if (whole.size() > descriptionLimit) {
        CMN_ErrorLine(4019, whole, static_cast<unsigned>(descriptionLimit));
    }
    entry->description.assign(whole.substr(0, descriptionLimit));

    MSEL_MODEL* added = entry.get();
    if (selector.lastModel == nullptr) {
        selector.models = std::move(entry);
    } else {
        selector.lastModel->next = std::move(entry);
    }
    selector.lastModel = added;
    int& earlier = listedCounts[added->name];
    for (int i = 0; i < earlier; ++i) CMN_ErrorLine(4025, added->name);
    ++earlier;
}

// Whether a listed model counts as differential: it names exactly one model of the file, which
// carries the differential mark. Reports 4024 for a name that is not a reserved word and does
// not name exactly one model.
bool ListedModelIsDifferential(const MSEL& selector, const MSEL_MODEL& listed) {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) {
        CMN_Bug(4020, kModule, __LINE__);
        return false;
    }
    if (!CMN_IsNotReserved(listed.name.c_str())) return false;
    int count = 0;
    const MDL* model = MDL_Find(ibis->models.get(), listed.name.c_str(), &count);
    if (count != 1) {
        CMN_Error(4024, listed.name, selector.name);
        return false;
    }
    return model->differential;
}

void CheckSelector(MSEL& selector, MDL* models) {
    int sameName = 0;
    MDL_Find(models, selector.name.c_str(), &sameName);
    if (sameName == 1) CMN_Error(4021, selector.name);
    bool first = true;
    bool selectorDifferential = false;
    for (const MSEL_MODEL* listed = selector.models.get(); listed != nullptr;
         listed = listed->next.get()) {
        const bool differential = ListedModelIsDifferential(selector, *listed);
        if (first) {
            selectorDifferential = differential;
            first = false;
        } else if (differential && !selectorDifferential) {
            CMN_Warning(4022, listed->name, selector.name);
        } else if (!differential && selectorDifferential) {
            CMN_Warning(4023, listed->name, selector.name);
        }
    }
    // A selector without listed models (already reported by 4005) counts as single-ended, so
    // that the pins using it draw no differential-pin caution.
    selector.differential = selectorDifferential ? 0 : 1;
}

}  // namespace

void MSEL_Init() {
    selectors.Begin(__LINE__);
    listedCounts.clear();
}

void MSEL_Line(int lineKind, int code, char* text) {
    MSEL* selector = selectors.Open();
    if (selector == nullptr) {
        if (lineKind == LINE_KEYWORD) {
            CMN_ErrorLine(4001);
        } else {
            CMN_ErrorLine(4002);
        }
        return;
    }
    if (lineKind == LINE_KEYWORD) {
        previousKeyword = currentKeyword;
        currentKeyword = code;
        if (code == KW_MODEL_SELECTOR) {
            ReadName(*selector, text);
        } else {
            CMN_BugLine(4003, kModule, __LINE__);
        }
    } else if (lineKind == LINE_DATA) {
        if (currentKeyword == KW_MODEL_SELECTOR) ReadListedModel(*selector, text);
    } else {
        CMN_BugLine(4004, kModule, __LINE__);
    }
}

void MSEL_EndKeyword(int nextCode) {
    if (const MSEL* selector = selectors.Open()) {
        const MSEL_MODEL* first = selector->models.get();
        if (first == nullptr) {
            CMN_Error(4005, selector->name);
        } else if (first->next == nullptr) {
            CMN_Warning(4006, selector->name);
        }
    }
    selectors.KeywordChange(nextCode);
    listedCounts.clear();
}

void MSEL_Reset() {
    selectors.Reset();
    currentKeyword = NOT_KEY;
    previousKeyword = NOT_KEY;
    listedCounts.clear();
    selectorIndex.clear();
    indexedHead = nullptr;
}

void MSEL_CheckAll(MSEL* modelSelectors) {
    IBIS* ibis = nullptr;
    MDL* models = IBIS_GetCurrent(&ibis) ? ibis->models.get() : nullptr;
    for (MSEL* selector = modelSelectors; selector != nullptr; selector = selector->next.get()) {
        CheckSelector(*selector, models);
    }
}

MSEL* MSEL_Find(const char* name, MSEL* list) {
    if (list == nullptr || name == nullptr) return nullptr;
    IndexList(list);
    const auto found = selectorIndex.find(name);
    return found == selectorIndex.end() ? nullptr : found->second;
}

int MSEL_Exists(const char* name, MSEL* list) { return MSEL_Find(name, list) != nullptr ? 1 : 0; }
