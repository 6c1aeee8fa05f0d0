// Package models: keyword and data routing, pin lists, R/L/C section chains with forks, the
// checks when a model closes, duplicate names and the .pkg file search.
#include "IbisParser/pkgmdl.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <new>
#include <string_view>

#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"
#include "IbisParser/section.h"

namespace {

constexpr std::size_t kPinNameLimit = 5;

constinit SECTION_Records<PKGMDL> packageModels(
    &IBIS::packageModels,
    {.module = "pkgmdl",
     .noFile = {CMN_BugLine, 3400, true},
     .noMemory = {CMN_ErrorLine, 3416},
     .own = {{KW_PKG_MANUFACTURER, KW_ROW}, {KW_NUMBER_OF_SECTIONS, KW_NUMBER_OF_SECTIONS}}});

// What belongs to the open model while it is read.
struct OpenState {
    bool pinNumbersSeen = false;
    bool modelDataSeen = false;
    bool endModelDataSeen = false;
    bool endPackageModelSeen = false;
    bool sectionsMode = false;
    int currentKeyword = NOT_KEY;
    int previousKeyword = NOT_KEY;
    int matrixKind = NOT_KEY;
    std::uint32_t plainCount = 0;     // pin names added from plain lines
    std::uint32_t sectionsCount = 0;  // pin names added from pin lines with sections
    bool hasCurrentPin = false;
    std::uint32_t currentPin = 0;  // 0-based index of the pin whose chain is being built
    PKGMDL_NODE* tail = nullptr;
    std::vector<PKGMDL_NODE*> forks;
};

OpenState open;

// The model's matrix of a matrix keyword code.
std::unique_ptr<MTX>* MatrixOf(PKGMDL& model, int code) {
    switch (code) {
    case KW_RESISTANCE_MATRIX: return &model.resistance_matrix;
    case KW_INDUCTANCE_MATRIX: return &model.inductance_matrix;
    case KW_CAPACITANCE_MATRIX: return &model.capacitance_matrix;
    default: return nullptr;
    }
}

// A keyword allowed once per model that takes no text after it.
void OnceKeyword(bool& seen, const char* label, const char* value) {
    if (seen) {
        CMN_ErrorLine(3468, label);
        return;
    }
    if (*value != '\0') CMN_ErrorLine(3469, label);
    seen = true;
}

void NumberOfPins(PKGMDL& model, const char* value) {
    if (*value == '\0') {
        CMN_ErrorLine(3420);
        return;
    }
    if (model.number_of_pins != 0) {
        CMN_ErrorLine(3421);
        return;
    }
    switch (CMN_GetUnsigned(value, &model.number_of_pins)) {
    case 0: CMN_ErrorLine(3423); return;
    case 2: CMN_WarningLine(3422); break;
    default: break;
    }
    if (model.number_of_pins == 0) CMN_ErrorLine(3424);
}

void NumberOfSections(PKGMDL& model, const char* value) {
    open.sectionsMode = true;
    if (*value == '\0') {
        CMN_ErrorLine(3425);
        return;
    }
    if (model.number_of_sections != 0) {
        CMN_ErrorLine(3426);
        return;
    }
    if (!model.pin_numbers.empty()) CMN_ErrorLine(3427);
    switch (CMN_GetUnsigned(value, &model.number_of_sections)) {
    case 0: CMN_ErrorLine(3429); return;
    case 2: CMN_WarningLine(3428); break;
    default: break;
    }
    if (model.number_of_sections == 0) CMN_ErrorLine(3430);
}

void MatrixKeyword(PKGMDL& model, int code, const char* value) {
    open.matrixKind = code;
    std::unique_ptr<MTX>* slot = MatrixOf(model, code);
    if (*slot) {
        switch (code) {
        case KW_RESISTANCE_MATRIX: CMN_ErrorLine(3460); break;
        case KW_INDUCTANCE_MATRIX: CMN_ErrorLine(3461); break;
        default: CMN_ErrorLine(3462); break;
        }
        return;
    }
    MTX_Create(slot, value, model.number_of_pins);
}

void Bandwidth(PKGMDL& model, const char* value) {
    if (std::unique_ptr<MTX>* slot = MatrixOf(model, open.previousKeyword)) {
        if (*slot) MTX_SetBandwidth(slot->get(), value);
    } else if (open.previousKeyword == KW_BANDWIDTH) {
        CMN_ErrorLine(3464);
    } else {
        CMN_ErrorLine(3465);
    }
}

void Row(PKGMDL& model, const char* value) {
    if (std::unique_ptr<MTX>* slot = MatrixOf(model, open.matrixKind)) {
        if (*slot) MTX_BeginRow(slot->get(), value);
    } else {
        CMN_ErrorLine(3466);
    }
}

void KeywordLine(PKGMDL& model, int code, char* text) {
    open.previousKeyword = open.currentKeyword;
    open.currentKeyword = code;
    const char* value = text;
    CMN_SkipPastBracket(&value);
    switch (code) {
    case KW_DEFINE_PACKAGE_MODEL:
        CMN_SetOnce(model.name, value, 40, "Define Package Model");
        CMN_CheckReserved(model.name.c_str());
        break;
    case KW_PKG_MANUFACTURER: CMN_SetOnce(model.manufacturer, value, 40, "Manufacturer"); break;
    case KW_OEM: CMN_SetOnce(model.oem, value, 40, "OEM"); break;
    case KW_DESCRIPTION: CMN_SetOnce(model.description, value, 60, "Description"); break;
    case KW_NUMBER_OF_PINS: NumberOfPins(model, value); break;
    case KW_PIN_NUMBERS: OnceKeyword(open.pinNumbersSeen, "Pin_Numbers", value); break;
    case KW_MODEL_DATA: OnceKeyword(open.modelDataSeen, "Model_Data", value); break;
    case KW_RESISTANCE_MATRIX:
    case KW_INDUCTANCE_MATRIX:
    case KW_CAPACITANCE_MATRIX: MatrixKeyword(model, code, value); break;
    case KW_BANDWIDTH: Bandwidth(model, value); break;
    case KW_ROW: Row(model, value); break;
    case KW_END_MODEL_DATA:
        open.matrixKind = NOT_KEY;
        OnceKeyword(open.endModelDataSeen, "End_Model_Data", value);
        break;
    case KW_END_PACKAGE_MODEL:
        OnceKeyword(open.endPackageModelSeen, "End_Package_Model", value);
        break;
    case KW_NUMBER_OF_SECTIONS: NumberOfSections(model, value); break;
    default: CMN_BugLine(3403, "pkgmdl", __LINE__); break;
    }
}

// Adds a pin name (cut to 5 characters) to the model's list with the counter of its form.
// Returns false when the name was dropped.
bool AddPin(PKGMDL& model, std::string_view name, std::uint32_t& counter) {
    if (!model.pin_numbers_allocated) {
        if (model.number_of_pins == 0) {
            CMN_ErrorLine(3433);
            return false;
        }
        model.pin_numbers_allocated = true;
        counter = 0;
    }
    if (counter >= model.number_of_pins) {
        CMN_ErrorLine(3435);
        return false;
    }
    std::string stored(name.substr(0, kPinNameLimit));
    std::uint32_t index = counter;
    try {
        if (index < model.pin_numbers.size()) {
            // The other form's counter already filled this slot: its name gives way.
            auto replaced = model.pin_index.find(model.pin_numbers[index]);
            if (replaced != model.pin_index.end() && replaced->second == index + 1) {
                model.pin_index.erase(replaced);
            }
            model.pin_numbers[index] = stored;
        } else {
            model.pin_numbers.push_back(stored);
        }
        auto [found, added] = model.pin_index.try_emplace(stored, index + 1);
        if (!added) {
            if (found->second < index + 1) {
                CMN_ErrorLine(3437, stored.c_str());
            } else {
                found->second = index + 1;
            }
        }
    } catch (const std::bad_alloc&) {
        CMN_ErrorLine(3436);
        return false;
    }
    ++counter;
    open.hasCurrentPin = true;
    open.currentPin = index;
    return true;
}

void PlainPin(PKGMDL& model, char* text) {
    const char* name = CMN_SkipSpace(text);
    if (std::strlen(name) > kPinNameLimit) CMN_ErrorLine(3432);
    AddPin(model, name, open.plainCount);
}

// Links a new node after the chain tail: the first node of the current pin, the first node of
// a fork just opened, or the node after the tail.
void AppendNode(PKGMDL& model, std::unique_ptr<PKGMDL_NODE> node) {
    PKGMDL_NODE* added = node.get();
    if (open.tail == nullptr) {
        if (model.pin_sections.size() <= open.currentPin) {
            model.pin_sections.resize(static_cast<std::size_t>(open.currentPin) + 1);
        }
        model.pin_sections[open.currentPin] = std::move(node);
    } else if (!open.forks.empty() && open.tail == open.forks.back()) {
        open.tail->content = std::move(node);
    } else {
        open.tail->next = std::move(node);
    }
    open.tail = added;
}

// Reads sections from text until the line ends or a section fails.
void ReadSections(PKGMDL& model, const char* text, bool pinLine) {
    const char* position = text;
    for (;;) {
        std::unique_ptr<RLC_SECTION> section;
        const char* next = position;
        if (!SECT_Read(position, &section, &next) || !section) break;
        std::unique_ptr<PKGMDL_NODE> node(new (std::nothrow) PKGMDL_NODE());
        if (!node) {
            CMN_Bug(3014, "pkgmdl", __LINE__);
            break;
        }
        node->kind = PKGMDL_NODE::SECTION;
        node->section = std::move(section);
        AppendNode(model, std::move(node));
        position = next;
    }
    if (pinLine && open.tail == nullptr) CMN_ErrorLine(3449);
}

bool StartsWithLenEquals(const char* text) {
    if (std::strncmp(text, "Len", 3) != 0) return false;
    const char* p = text + 3;
    while (*p == ' ' || *p == '\t') ++p;
    return *p == '=';
}

void OpenFork(PKGMDL& model) {
    if (!open.forks.empty()) CMN_ErrorLine(3439);
    if (!open.hasCurrentPin) {
        CMN_ErrorLine(3440);
        return;
    }
    std::unique_ptr<PKGMDL_NODE> node(new (std::nothrow) PKGMDL_NODE());
    if (!node) {
        CMN_Bug(3014, "pkgmdl", __LINE__);
        return;
    }
    node->kind = PKGMDL_NODE::FORK;
    PKGMDL_NODE* fork = node.get();
    AppendNode(model, std::move(node));
    open.forks.push_back(fork);
}

void CloseFork() {
    if (!open.hasCurrentPin) {
        CMN_ErrorLine(3441);
        return;
    }
    if (open.forks.empty()) {
        CMN_ErrorLine(3443);
        return;
    }
    PKGMDL_NODE* fork = open.forks.back();
    open.forks.pop_back();
    open.tail = fork;
    if (!fork->content) CMN_ErrorLine(3442);
}

bool SuspiciousPinName(std::string_view name) {
    static constexpr std::string_view kWords[] = {"Len", "Fork", "Endfork", "R", "L", "C"};
    return std::find(std::begin(kWords), std::end(kWords), name) != std::end(kWords);
}

// A pin line in sections mode: a continuation ("Len=..."), "Fork", "Endfork" or a pin name
// followed by its sections.
void PinLineWithSections(PKGMDL& model, char* text) {
    char* start = CMN_SkipSpace(text);
    if (StartsWithLenEquals(start)) {
        if (!open.hasCurrentPin || open.tail == nullptr) {
            CMN_ErrorLine(3438);
            return;
        }
        ReadSections(model, start, false);
        return;
    }
    if (std::strcmp(start, "Fork") == 0) {
        OpenFork(model);
        return;
    }
    if (std::strcmp(start, "Endfork") == 0) {
        CloseFork();
        return;
    }
    char* nameEnd = start;
    while (*nameEnd != '\0' && *nameEnd != ' ' && *nameEnd != '\t') ++nameEnd;
    char* rest = nameEnd;
    if (*nameEnd != '\0') {
        *nameEnd = '\0';
        ++rest;
    }
    std::string_view name(start, static_cast<std::size_t>(nameEnd - start));
    open.tail = nullptr;
    if (!open.forks.empty()) {
        CMN_ErrorLine(3444, start);
        open.forks.clear();
    }
    if (name.size() > kPinNameLimit) CMN_ErrorLine(3432);
    if (name.find('=') != std::string_view::npos) CMN_WarningLine(3445, start);
    if (name.find('/') != std::string_view::npos) CMN_WarningLine(3446, start);
    if (SuspiciousPinName(name)) CMN_WarningLine(3447, start);
    if (!AddPin(model, name, open.sectionsCount)) {
        open.hasCurrentPin = false;
        return;
    }
    ReadSections(model, rest, true);
}

void DataLine(PKGMDL& model, char* text) {
    if (open.currentKeyword == KW_PIN_NUMBERS) {
        if (open.sectionsMode && HDR_GetVersion() >= 3) {
            PinLineWithSections(model, text);
        } else {
            PlainPin(model, text);
        }
        return;
    }
    if (open.currentKeyword == KW_ROW) {
        if (std::unique_ptr<MTX>* slot = MatrixOf(model, open.matrixKind)) {
            if (*slot) MTX_AddRowData(slot->get(), text);
            return;
        }
    }
    CMN_ErrorLine(3404);
}

// The sections of a chain, with every section of every fork branch, without recursion.
long CountSections(const PKGMDL_NODE* head) {
    long count = 0;
    std::vector<const PKGMDL_NODE*> pending{head};
    while (!pending.empty()) {
        const PKGMDL_NODE* node = pending.back();
        pending.pop_back();
        for (; node != nullptr; node = node->next.get()) {
            if (node->kind == PKGMDL_NODE::SECTION) {
                ++count;
            } else if (node->content) {
                pending.push_back(node->content.get());
            }
        }
    }
    return count;
}

void CheckPinNumbers(const PKGMDL& model) {
    const char* name = model.name.c_str();
    if (!open.pinNumbersSeen) {
        CMN_Error(3452, name);
        return;
    }
    if (model.number_of_pins == 0) return;
    if (!model.pin_numbers_allocated) {
        CMN_Error(3453, name);
        return;
    }
    auto count = static_cast<std::uint32_t>(model.pin_numbers.size());
    if (count != model.number_of_pins) CMN_Error(3454, model.number_of_pins, count, name);
}

void CheckSections(const PKGMDL& model) {
    if (model.number_of_pins == 0 || model.pin_sections.empty()) return;
    if (!open.forks.empty()) {
        CMN_Error(3450);
        open.forks.clear();
    }
    for (std::size_t i = 0; i < model.pin_sections.size(); ++i) {
        if (!model.pin_sections[i]) continue;
        long count = CountSections(model.pin_sections[i].get());
        if (count > static_cast<long>(model.number_of_sections)) {
            CMN_Error(3451, model.pin_numbers[i].c_str(), static_cast<int>(count),
                      static_cast<int>(model.number_of_sections));
        }
    }
}

// The three matrices: in sections mode each is refused, otherwise each is checked, and a
// missing inductance or capacitance matrix is reported (a resistance matrix is optional).
void CheckMatrices(const PKGMDL& model) {
    const char* name = model.name.c_str();
    if (open.sectionsMode) {
        if (model.resistance_matrix) CMN_Error(3411, name);
        if (model.inductance_matrix) CMN_Error(3412, name);
        if (model.capacitance_matrix) CMN_Error(3414, name);
        return;
    }
    if (model.resistance_matrix) MTX_Check("Resistance", model.resistance_matrix.get());
    if (model.inductance_matrix) {
        MTX_Check("Inductance", model.inductance_matrix.get());
    } else {
        CMN_Error(3413, name);
    }
    if (model.capacitance_matrix) {
        MTX_Check("Capacitance", model.capacitance_matrix.get());
    } else {
        CMN_Error(3415, name);
    }
}

// The checks of a model when a keyword outside it (or the end of the file) closes it.
void CloseModel(PKGMDL& model) {
    MTX_Finish();
    const char* name = model.name.c_str();
    if (model.name.empty()) CMN_Error(3417);
    if (model.manufacturer.empty()) CMN_Error(3467, "Manufacturer", name);
    if (model.oem.empty()) CMN_Error(3418, name);
    if (model.description.empty()) CMN_Error(3419, name);
    if (model.number_of_pins == 0) CMN_Error(3431, name);
    CheckPinNumbers(model);
    if (open.sectionsMode) CheckSections(model);
    if (open.modelDataSeen && open.sectionsMode) CMN_Error(3456, name);
    if (!open.modelDataSeen && !open.sectionsMode) CMN_Error(3455, name);
    CheckMatrices(model);
    if (open.endModelDataSeen && open.sectionsMode) CMN_Error(3458, name);
    if (!open.endModelDataSeen && !open.sectionsMode) CMN_Error(3457, name);
    if (!open.endPackageModelSeen) CMN_Error(3459);
}

// ".pkg" at the end of the name, in any letter case.
bool HasPkgExtension(const std::string& name) {
    if (name.size() < 4) return false;
    return CMN_StrEqualNoCase(name.c_str() + name.size() - 4, ".pkg") != 0;
}

// The names of the regular, not hidden files of directory whose names end in ".pkg" in any
// letter case, in name order without regard to case. false when the directory cannot be read.
bool ListPkgFiles(const std::string& directory, std::vector<std::string>* names) {
    namespace fs = std::filesystem;
    std::string listed = directory.empty() ? std::string(".") : directory;
    std::replace(listed.begin(), listed.end(), '\\', '/');
    std::error_code error;
    fs::directory_iterator entries(listed, error);
    if (error) return false;
    for (; entries != fs::directory_iterator(); entries.increment(error)) {
        std::string name = entries->path().filename().string();
        std::error_code statusError;
        if (name.empty() || name[0] == '.' || !HasPkgExtension(name)) continue;
        if (!entries->is_regular_file(statusError)) continue;
        names->push_back(std::move(name));
    }
    if (error) return false;
    auto lower = [](std::string text) {
        CMN_ToLower(text);
        return text;
    };
    std::sort(names->begin(), names->end(), [&](const std::string& a, const std::string& b) {
        std::string la = lower(a), lb = lower(b);
        return la != lb ? la < lb : a < b;
    });
    return true;
}

// Whether the .pkg file has a [Define Package Model] line whose name begins with modelName.
bool DefinesModel(const std::string& path, const char* modelName) {
    static constexpr const char* kSpellings[] = {"[DEFINE PACKAGE MODEL]", "[DEFINE PACKAGE_MODEL]",
                                                 "[DEFINE_PACKAGE MODEL]",
                                                 "[DEFINE_PACKAGE_MODEL]"};
    std::string openedName;
    std::FILE* file = CMN_OpenFile(path.c_str(), FILE_KIND_PKG, &openedName);
    if (file == nullptr) return false;
    std::size_t nameLength = std::strlen(modelName);
    char line[122];
    bool defines = false;
    while (!defines && std::fgets(line, sizeof line, file) != nullptr) {
        const char* start = CMN_SkipSpace(line);
        if (*start != '[') continue;
        bool keyword = false;
        for (const char* spelling : kSpellings) {
            keyword = keyword || CMN_StrEqualNoCaseN(start, spelling, 22);
        }
        if (!keyword) continue;
        const char* name = start;
        CMN_SkipPastBracket(&name);
        defines = std::strncmp(name, modelName, nameLength) == 0;
    }
    std::fclose(file);
    return defines;
}

}  // namespace

PKGMDL_NODE::~PKGMDL_NODE() {
    std::vector<std::unique_ptr<PKGMDL_NODE>> pending;
    auto take = [&](std::unique_ptr<PKGMDL_NODE>& link) {
        if (link) pending.push_back(std::move(link));
    };
    take(next);
    take(content);
    while (!pending.empty()) {
        std::unique_ptr<PKGMDL_NODE> node = std::move(pending.back());
        pending.pop_back();
        take(node->next);
        take(node->content);
    }
}

void PKGMDL_Init() {
    if (PKGMDL* model = packageModels.Open()) {
        // Reached only when an unknown keyword hid the model's end from the line reader.
        CloseModel(*model);
    }
    packageModels.Begin(__LINE__);
    open = OpenState();
    MTX_Reset();
}

void PKGMDL_Line(int lineKind, int code, char* text) {
    PKGMDL* model = packageModels.Open();
    switch (lineKind) {
    case LINE_KEYWORD:
        if (model == nullptr) {
            CMN_ErrorLine(3401);
            return;
        }
        KeywordLine(*model, code, text);
        break;
    case LINE_DATA:
        if (model == nullptr) {
            CMN_ErrorLine(3402);
            return;
        }
        DataLine(*model, text);
        break;
    default: CMN_BugLine(3405, "pkgmdl", __LINE__); break;
    }
}

void PKGMDL_EndKeyword(int nextCode) {
    PKGMDL* model = packageModels.Open();
    if (model == nullptr) return;
    if (nextCode == KW_END_MODEL_DATA || nextCode == KW_END_PACKAGE_MODEL) {
        MTX_Finish();
        return;
    }
    packageModels.KeywordChange(nextCode);
    if (packageModels.Open() != nullptr) return;
    CloseModel(*model);
    open = OpenState();
}

void PKGMDL_Reset() {
    packageModels.Reset();
    open = OpenState();
    MTX_Reset();
}

void PKGMDL_CheckDuplicates(PKGMDL* packageModels) {
    std::unordered_map<std::string_view, std::uint32_t> remaining;
    for (PKGMDL* model = packageModels; model != nullptr; model = model->next.get()) {
        ++remaining[model->name];
    }
    // Each model is reported once for every model after it with the same name.
    for (PKGMDL* model = packageModels; model != nullptr; model = model->next.get()) {
        std::uint32_t& count = remaining[model->name];
        --count;
        for (std::uint32_t i = 0; i < count && i < MTX_PAIR_REPORT_LIMIT; ++i) {
            CMN_Error(3410, model->name.c_str());
        }
    }
}

int PKGMDL_Find(PKGMDL* list, const char* name, PKGMDL** found) {
    CMN_ASSERT(name != nullptr && found != nullptr);
    for (PKGMDL* model = list; model != nullptr; model = model->next.get()) {
        if (model->name == name) {
            *found = model;
            return 1;
        }
    }
    *found = nullptr;
    return 0;
}

int PKGMDL_FindInPkgFiles(const char* name) {
    CMN_ASSERT(name != nullptr);
    const std::string directory = CMN_GetFileDirectory();
    std::vector<std::string> files;
    if (!ListPkgFiles(directory, &files)) {
        CMN_Bug(3409, directory.empty() ? "." : directory.c_str());
        return 0;
    }
    int result = 0;
    for (const std::string& file : files) {
        std::string path = directory + file;
        if (!DefinesModel(path, name)) continue;
        int version = HDR_GetVersion();
        PARSE_File(path.c_str(), FILE_KIND_PKG);
        HDR_SetVersion(version);
        CMN_SetFileDirectory(directory);
        result = 1;
    }
    CMN_SetFileDirectory(directory);
    return result;
}

int PKGMDL_PinIndex(const char* pinName, std::uint32_t* index) {
    CMN_ASSERT(index != nullptr);
    *index = 0;
    PKGMDL* model = packageModels.Open();
    if (model == nullptr || !model->pin_numbers_allocated || pinName == nullptr) return 0;
    auto found = model->pin_index.find(pinName);
    if (found == model->pin_index.end()) return 0;
    *index = found->second;
    return 1;
}

int PKGMDL_NextPin(PKGMDL* list, const char* modelName, int first, const char** pinName) {
    static std::uint32_t next = 0;
    CMN_ASSERT(modelName != nullptr && pinName != nullptr);
    *pinName = nullptr;
    PKGMDL* model = nullptr;
    if (!PKGMDL_Find(list, modelName, &model)) return 0;
    next = first ? 0 : next + 1;
    if (!model->pin_numbers_allocated || next >= model->number_of_pins ||
        next >= model->pin_numbers.size()) {
        return 0;
    }
    *pinName = model->pin_numbers[next].c_str();
    return 1;
}

void PKGMDL_FreeList(std::unique_ptr<PKGMDL>& list) {
    MTX_Reset();
    IBIS_FreeChain(list);
}
