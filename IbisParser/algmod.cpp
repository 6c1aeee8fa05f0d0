// The [Algorithmic Model] keyword: its Executable lines, the checks when its section closes,
// the files it names after the whole file, and the checks of .ami parameter trees.
#include "IbisParser/algmod.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
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

// Keeps at most kNameLimit characters of text; true when the text was longer.
bool StoreLimited(std::string& field, const char* text) {
    std::size_t length = std::strlen(text);
    field.assign(text, std::min(length, kNameLimit));
    return length > kNameLimit;
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

// Sets of value keywords as bit masks.
constexpr unsigned Bit(int keyword) { return 1u << keyword; }

bool Contains(unsigned set, int keyword) {
    return keyword >= 0 && keyword < 32 && (set & Bit(keyword)) != 0;
}

constexpr unsigned kUsages =
    Bit(AmiKeywordIn) | Bit(AmiKeywordOut) | Bit(AmiKeywordInfo) | Bit(AmiKeywordInOut);
constexpr unsigned kTypes = Bit(AmiKeywordFloat) | Bit(AmiKeywordInteger) | Bit(AmiKeywordString) |
                            Bit(AmiKeywordBoolean) | Bit(AmiKeywordTap) | Bit(AmiKeywordUI);
constexpr unsigned kInfo = Bit(AmiKeywordInfo);
constexpr unsigned kInfoOrOut = Bit(AmiKeywordInfo) | Bit(AmiKeywordOut);
constexpr unsigned kFloatOrUI = Bit(AmiKeywordFloat) | Bit(AmiKeywordUI);
constexpr unsigned kJitterFormats =
    Bit(AmiKeywordGaussian) | Bit(AmiKeywordDualDirac) | Bit(AmiKeywordDjRj) | Bit(AmiKeywordTable);
constexpr unsigned kLevelFormats =
    Bit(AmiKeywordValue) | Bit(AmiKeywordRange) | Bit(AmiKeywordCorner);

// The value type a reserved parameter's Default must have; integers count as numbers.
enum DefaultRule { kAnyValue, kInteger, kBoolean, kNumber };

// The reserved parameters and what each one accepts. The first five take no Format and need
// a Default; the last four need a Format and may have a Default.
struct ReservedParameter {
    const char* name;
    unsigned usages;
    unsigned types;
    unsigned formats;  // empty: no Format allowed
    DefaultRule defaultRule;
};

constexpr ReservedParameter kReserved[] = {
    {"Init_Returns_Impulse", kInfo, Bit(AmiKeywordBoolean), 0, kAnyValue},
    {"GetWave_Exists", kInfo, Bit(AmiKeywordBoolean), 0, kAnyValue},
    {"Max_Init_Aggressors", kInfo, Bit(AmiKeywordInteger), 0, kInteger},
    {"Ignore_Bits", kInfoOrOut, Bit(AmiKeywordInteger), 0, kInteger},
    {"Use_Init_Output", kInfo, Bit(AmiKeywordBoolean), 0, kBoolean},
    {"Tx_Jitter", kInfoOrOut, kFloatOrUI, kJitterFormats, kNumber},
    {"Rx_Clock_PDF", kInfoOrOut, kFloatOrUI, kJitterFormats, kNumber},
    {"Tx_DCD", kInfoOrOut, kFloatOrUI, kLevelFormats, kNumber},
    {"Rx_Receiver_Sensitivity", kInfoOrOut, Bit(AmiKeywordFloat), kLevelFormats, kNumber},
};

const ReservedParameter* FindReserved(const std::string& name) {
    for (const ReservedParameter& parameter : kReserved) {
        if (name == parameter.name) return &parameter;
    }
    return nullptr;
}

bool IsNumber(const AmiValue& value) {
    return value.type == AmiValueInteger || value.type == AmiValueFloat;
}

bool HasType(const AmiValue& value, DefaultRule rule) {
    switch (rule) {
    case kInteger: return value.type == AmiValueInteger;
    case kBoolean: return value.type == AmiValueBoolean;
    case kNumber: return IsNumber(value);
    default: return true;
    }
}

// The keyword code of a string value, or AmiNoKeyword.
int KeywordOf(const AmiValue& value) {
    return value.type == AmiValueString ? value.keyword : AmiNoKeyword;
}

struct FormatShape {
    int keyword;
    std::size_t minValues;  // the format keyword included
    bool exact;             // exactly minValues values
    bool numbers;           // every value after the keyword is a number
};

constexpr FormatShape kShapes[] = {
    {AmiKeywordValue, 2, true, true},    {AmiKeywordRange, 4, true, true},
    {AmiKeywordCorner, 4, true, true},   {AmiKeywordIncrement, 5, true, true},
    {AmiKeywordSteps, 5, true, true},    {AmiKeywordList, 2, false, false},
    {AmiKeywordGaussian, 3, true, true}, {AmiKeywordDualDirac, 4, true, true},
    {AmiKeywordDjRj, 4, true, true},
};

bool IsFormat(int keyword) { return keyword >= AmiKeywordValue && keyword <= AmiKeywordDjRj; }

// Whether a Format leaf's values have the shape its format asks for; reports 4632 with the
// owner's name when they do not. Table is not checked.
bool CheckFormatShape(const AmiNode& leaf, const std::string& owner) {
    const AmiValue& format = leaf.values.front();
    for (const FormatShape& shape : kShapes) {
        if (shape.keyword != KeywordOf(format)) continue;
        const std::vector<AmiValue>& values = leaf.values;
        bool fits =
            shape.exact ? values.size() == shape.minValues : values.size() >= shape.minValues;
        for (std::size_t i = 1; fits && shape.numbers && i < values.size(); ++i) {
            fits = IsNumber(values[i]);
        }
        if (!fits) {
            CMN_Error(4632, format.text.c_str(), owner.c_str(),
                      static_cast<int>(shape.minValues - 1));
        }
        return fits;
    }
    return true;
}

// A leaf anywhere outside the reserved parameters: its Usage, Type and Format values.
void CheckLeaf(const AmiNode& leaf, const std::string& parent) {
    if (leaf.values.empty()) {
        CMN_Error(4626, leaf.name.c_str(), parent.c_str());
        return;
    }
    const AmiValue& value = leaf.values.front();
    int keyword = KeywordOf(value);
    switch (leaf.nameKeyword) {
    case AmiNameUsage:
        if (!Contains(kUsages, keyword)) {
            CMN_Error(4627, "Usage", value.text.c_str(), parent.c_str());
        }
        break;
    case AmiNameType:
        if (!Contains(kTypes, keyword)) {
            CMN_Error(4627, "Type", value.text.c_str(), parent.c_str());
        }
        break;
    case AmiNameFormat:
        if (IsFormat(keyword)) {
            CheckFormatShape(leaf, parent);
        } else {
            CMN_Error(4627, "Format", value.text.c_str(), parent.c_str());
        }
        break;
    default: break;
    }
}

// Every leaf below a branch, to any depth, in text order; an explicit stack keeps deep
// nesting off the call stack.
void WalkBranch(const AmiNode& branch) {
    struct Position {
        const AmiNode* branch;
        std::size_t next;
    };
    std::vector<Position> stack{{&branch, 0}};
    while (!stack.empty()) {
        Position& top = stack.back();
        if (top.next == top.branch->children.size()) {
            stack.pop_back();
            continue;
        }
        const AmiTreeEntry& child = top.branch->children[top.next++];
        if (child.node == nullptr) continue;
        if (child.kind == AmiLeaf) {
            CheckLeaf(*child.node, top.branch->name);
        } else {
            stack.push_back({child.node, 0});
        }
    }
}

// One reserved parameter: its leaves against the parameter's rules, then what is missing.
void CheckReservedParameter(const AmiNode& branch, const ReservedParameter& rules) {
    const char* name = branch.name.c_str();
    bool usage = false, type = false, format = false, unexpectedFormat = false;
    bool defaultValue = false, description = false;
    for (const AmiTreeEntry& child : branch.children) {
        if (child.node == nullptr) continue;
        const AmiNode& leaf = *child.node;
        if (child.kind != AmiLeaf) {
            CMN_Error(4628, leaf.name.c_str(), name);
            continue;
        }
        if (leaf.values.empty()) {
            CMN_Error(4626, leaf.name.c_str(), name);
            continue;
        }
        const AmiValue& value = leaf.values.front();
        switch (leaf.nameKeyword) {
        case AmiNameUsage:
            if (!Contains(rules.usages, KeywordOf(value))) {
                CMN_Error(4627, "Usage", value.text.c_str(), name);
            }
            usage = true;
            break;
        case AmiNameType:
            if (!Contains(rules.types, KeywordOf(value))) {
                CMN_Error(4627, "Type", value.text.c_str(), name);
            }
            type = true;
            break;
        case AmiNameFormat:
            if (rules.formats == 0) {
                unexpectedFormat = true;
            } else if (!Contains(rules.formats, KeywordOf(value))) {
                CMN_Error(4627, "Format", value.text.c_str(), name);
            } else if (KeywordOf(value) != AmiKeywordTable && CheckFormatShape(leaf, branch.name)) {
                format = true;
            }
            break;
        case AmiNameDefault:
            if (HasType(value, rules.defaultRule)) {
                defaultValue = true;
            } else {
                CMN_Error(4627, "Default", value.text.c_str(), name);
            }
            break;
        case AmiNameDescription: description = true; break;
        default: CMN_Error(4624, leaf.name.c_str(), name); break;
        }
    }
    if (!usage) CMN_Error(4630, "Usage", name);
    if (!type) CMN_Error(4630, "Type", name);
    if (rules.formats == 0) {
        if (unexpectedFormat) CMN_Error(4629, "Format", name);
        if (!defaultValue) CMN_Error(4630, "Default", name);
    } else if (!format) {
        CMN_Error(4630, "Format", name);
    }
    if (!description) CMN_Error(4630, "Description", name);
}

void CheckReservedBranch(const AmiNode& reserved) {
    const char* name = reserved.name.c_str();
    bool initReturnsImpulse = false;
    bool getWaveExists = false;
    for (const AmiTreeEntry& child : reserved.children) {
        if (child.node == nullptr) continue;
        const AmiNode& node = *child.node;
        if (child.kind == AmiLeaf) {
            CMN_Error(4600, node.name.c_str(), name);
            CheckLeaf(node, reserved.name);
            continue;
        }
        const ReservedParameter* rules = FindReserved(node.name);
        if (rules == nullptr) {
            CMN_Error(4624, node.name.c_str(), name);
            WalkBranch(node);
            continue;
        }
        initReturnsImpulse = initReturnsImpulse || node.name == "Init_Returns_Impulse";
        getWaveExists = getWaveExists || node.name == "GetWave_Exists";
        CheckReservedParameter(node, *rules);
    }
    if (!initReturnsImpulse) CMN_Error(4625, "Init_Returns_Impulse");
    if (!getWaveExists) CMN_Error(4625, "GetWave_Exists");
}

void CheckTree(const AmiTree& tree) {
    const AmiTreeEntry* root = tree.entries.empty() ? nullptr : &tree.entries.front();
    if (root == nullptr || root->node == nullptr || root->kind != AmiBranch ||
        root->node->children.empty()) {
        CMN_Error(4622);
        return;
    }
    bool reservedSeen = false;
    for (const AmiTreeEntry& child : root->node->children) {
        if (child.node == nullptr) continue;
        const AmiNode& node = *child.node;
        if (child.kind == AmiLeaf) {
            CheckLeaf(node, root->node->name);
        } else if (node.name == "Reserved_Parameters") {
            reservedSeen = true;
            CheckReservedBranch(node);
        } else if (node.name == "Model_Specific") {
            WalkBranch(node);
        } else {
            CMN_Error(4623, node.name.c_str());
        }
    }
    if (!reservedSeen) CMN_Error(4622);
}

// The report for a parse that failed. A node outside the root (status 5) comes from text such
// as two lists side by side, so it is the user's unbalanced parentheses, not a program bug.
void ReportParseFailure(int status) {
    switch (status) {
    case AmiParseUnbalanced:
    case AmiParseOutsideRoot: CMN_Error(4619); break;
    case AmiParseNoOpening: CMN_Error(4620); break;
    case AmiParseNoParent:
    case AmiParseUnmatchedClose: CMN_Error(4635); break;
    case AmiParseNameOnly: CMN_Error(4634); break;
    default: CMN_Bug(4621); break;
    }
}

// The path of a file named in the IBIS file: its directory, then the name as written.
std::string PathBeside(const std::string& directory, const std::string& name) {
    std::string path = directory;
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    path += name;
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// Whether the path is a regular file that can be opened for reading. Folders, pipes and
// devices do not count: opening a pipe can wait for a writer, and reading a device can run
// without end.
bool CanRead(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::FILE* file = CMN_OpenBinary(path.c_str(), "r");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

// The parameter file of one Executable line: found, read as an .ami file and checked; the
// tree is kept in the record.
void CheckParameterFileOf(ALGMOD& record, const std::string& directory, const char* modelName) {
    const std::string& name = record.parameter_file;
    if (name.empty()) return;
    if (name.find('.') == std::string::npos) {
        CMN_Error(4617, name.c_str(), modelName);
        return;
    }
    const std::string path = PathBeside(directory, name);
    if (!CanRead(path)) {
        CMN_Error(4618, name.c_str(), modelName);
        return;
    }
    if (PARSE_File(path.c_str(), FILE_KIND_AMI)) {
        FreeAmiTree(&record.parameter_tree);
        record.parameter_tree = ALGMOD_CheckParameterFile();
    } else {
        PARSE_TakeAmiText();
    }
    CMN_SetFileDirectory(directory);
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
    if (StoreLimited(record->platform, bitsItems.item(0))) CMN_ErrorLine(4611, bitsItems.item(0));
    if (StoreLimited(record->compiler, bitsItems.item(2))) CMN_ErrorLine(4612, bitsItems.item(2));
    record->bits = ReadBits(bitsItems.item(4));
    if (record->bits < 0) CMN_ErrorLine(4613, platformItem);
    if (StoreLimited(record->file_name, lineItems.item(2))) CMN_ErrorLine(4614, lineItems.item(2));
    if (StoreLimited(record->parameter_file, lineItems.item(3)))
        CMN_ErrorLine(4614, lineItems.item(3));
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

void ALGMOD_CheckFiles(MDL* models) {
    // Reading a parameter file moves the file directory to its own; every name of the file
    // is still looked for beside the IBIS file.
    const std::string directory = CMN_GetFileDirectory();
    for (MDL* model = models; model != nullptr; model = model->next.get()) {
        if (!model->algmod) continue;
        const char* modelName = model->name.c_str();
        if (!model->algmod->head) {
            CMN_Error(4615, modelName);
            continue;
        }
        for (ALGMOD* record = model->algmod->head.get(); record != nullptr;
             record = record->next.get()) {
            if (!record->file_name.empty() && !CanRead(PathBeside(directory, record->file_name))) {
                CMN_Error(4616, record->file_name.c_str(), modelName);
            }
            CheckParameterFileOf(*record, directory, modelName);
        }
    }
}

AmiTree* ALGMOD_CheckParameterFile() {
    std::string text = PARSE_TakeAmiText();
    if (text.empty()) return nullptr;
    AmiTree* tree = nullptr;
    int status = ParseAmiTree(text.c_str(), &tree);
    // The text is no longer needed whatever the outcome.
    std::string().swap(text);
    if (status != AmiParseOk) {
        ReportParseFailure(status);
        return nullptr;
    }
    CheckTree(*tree);
    return tree;
}
