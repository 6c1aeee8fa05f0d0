// The file driver: the stack of file records, file opening and version detection, and the
// whole-file checks in their fixed order.
#include "IbisParser/ibis.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <new>
#include <string_view>
#include <unordered_set>

#include "IbisParser/acdc.h"
#include "IbisParser/algmod.h"
#include "IbisParser/circuit.h"
#include "IbisParser/cmn.h"
#include "IbisParser/cmn_read.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/drvsh.h"
#include "IbisParser/ebdmdl.h"
#include "IbisParser/hdr.h"
#include "IbisParser/mdl.h"
#include "IbisParser/msel.h"
#include "IbisParser/parse.h"
#include "IbisParser/pin.h"
#include "IbisParser/pkgmdl.h"
#include "IbisParser/rcvth.h"
#include "IbisParser/spinmpg.h"
#include "IbisParser/submdl.h"
#include "IbisParser/testdata.h"
#include "IbisParser/testload.h"
#include "amitree/AmiTree.h"

namespace {

std::unique_ptr<IBIS> stackTop;
std::string fileDirectory;

// The detection reads at most this many characters of each line.
constexpr std::size_t kDetectLineSize = 121;

template <typename T>
int GetList(const std::unique_ptr<T>& list, T** head) {
    *head = list.get();
    return *head != nullptr ? 1 : 0;
}

struct KindNames {
    const char* extension;
    int wrongExtension;  // message code
};

const KindNames& NamesOf(int kind) {
    static constexpr KindNames kNames[] = {
        {".ibs", 1900}, {".ibs", 1900}, {".pkg", 1903}, {".ebd", 1902}, {".ami", 1924},
    };
    CMN_ASSERT(kind >= FILE_KIND_IBS && kind <= FILE_KIND_AMI);
    return kNames[kind];
}

std::string Cased(std::string text, int (*convert)(int)) {
    for (char& c : text) c = static_cast<char>(convert(static_cast<unsigned char>(c)));
    return text;
}

// Backslashes separate directories too; the system only knows '/'.
std::FILE* OpenForReading(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return CMN_OpenBinary(path.c_str(), "r");
}

// Opens directory plus name as given, then in lower case, then in upper case; after a cased
// attempt succeeds the directory and name keep that case, so that later files are looked for
// the same way.
std::FILE* OpenAnyCase(std::string& name) {
    std::FILE* file = OpenForReading(fileDirectory + name);
    for (int (*convert)(int) : {&::tolower, &::toupper}) {
        if (file != nullptr) break;
        file = OpenForReading(Cased(fileDirectory + name, convert));
        if (file != nullptr) {
            fileDirectory = Cased(fileDirectory, convert);
            name = Cased(name, convert);
        }
    }
    return file;
}

}  // namespace

IBIS::IBIS() = default;

// Lists are released in a fixed order: header, components, models, package models, model
// selectors, board descriptions, submodels, test data, test loads; then the rest.
IBIS::~IBIS() {
    IBIS_FreeChain(headers);
    IBIS_FreeChain(components);
    IBIS_FreeChain(models);
    IBIS_FreeChain(packageModels);
    IBIS_FreeChain(modelSelectors);
    IBIS_FreeChain(boardDescriptions);
    IBIS_FreeChain(submodels);
    IBIS_FreeChain(testData);
    IBIS_FreeChain(testLoads);
    IBIS_FreeChain(circuits);
}

int IBIS_New() {
    std::unique_ptr<IBIS> record(new (std::nothrow) IBIS());
    if (!record) {
        CMN_Error(CMN_CODE_UNABLE_TO_CREATE_IBIS);
        return 0;
    }
    record->next = std::move(stackTop);
    stackTop = std::move(record);
    return 1;
}

int IBIS_GetCurrent(IBIS** record) {
    CMN_ASSERT(record != nullptr);
    *record = stackTop.get();
    return *record != nullptr ? 1 : 0;
}

void IBIS_Free(IBIS* record) {
    std::unique_ptr<IBIS>* link = &stackTop;
    while (*link && link->get() != record) link = &(*link)->next;
    if (!*link) return;
    std::unique_ptr<IBIS> removed = std::move(*link);
    *link = std::move(removed->next);
    PARSE_ResetSections();
}

namespace {

void CheckModelsAfterFile(MDL* models) {
    RCVTH_CheckAll(models);
    if (ACDC_GetModelChecks()) ACDC_CheckModels(models);
    if (ACDC_GetRangeChecks()) ACDC_CheckModelRanges(models);
    DRVSH_CheckAll(models);
    ALGMOD_CheckFiles(models);
}

// A model is referenced when its exact name is the model of a [Pin] row, a model that a
// [Model Selector] lists, or the model of a [Series Pin Mapping] row; the driver schedules'
// check has marked the models they name already.
void MarkReferencedModels(const IBIS& ibis, MDL* models) {
    std::unordered_set<std::string_view> names;
    for (const CMPNT* component = ibis.components.get(); component != nullptr;
         component = component->next.get()) {
        for (const PIN* row = component->pins.rows.First(); row != nullptr; row = row->next.get()) {
            names.insert(row->model_name);
        }
        for (const Series_Pin_Mapping* row = component->series_pin_mappings.rows.First();
             row != nullptr; row = row->next.get()) {
            names.insert(row->model_name);
        }
    }
    for (const MSEL* selector = ibis.modelSelectors.get(); selector != nullptr;
         selector = selector->next.get()) {
        for (const MSEL_MODEL* listed = selector->models.get(); listed != nullptr;
             listed = listed->next.get()) {
            names.insert(listed->name);
        }
    }
    for (MDL* model = models; model != nullptr; model = model->next.get()) {
        if (names.contains(model->name)) model->referenced = true;
    }
}

void CheckIbsFile(IBIS& ibis) {
    MDL* models = ibis.models.get();
    if (models != nullptr) CheckModelsAfterFile(models);
    if (ibis.modelSelectors) MSEL_CheckAll(ibis.modelSelectors.get());
    if (ibis.components) {
        if (ACDC_GetRangeChecks()) ACDC_CheckComponentRanges(ibis.components.get());
        CMPNT_CheckAll(ibis.components.get(), ibis.circuits.get(), models);
    } else {
        CMN_Error(CMN_CODE_COMPONENT_NOT_FOUND);
    }
    if (ibis.packageModels) PKGMDL_CheckDuplicates(ibis.packageModels.get());
    if (ibis.testData) TESTDATA_CheckAll(ibis.testData.get());
    if (ibis.testLoads) TESTLOAD_CheckAll(ibis.testLoads.get());
    if (SUBMDL* submodels = ibis.submodels.get()) {
        SUBMDL_CheckUnused(submodels, models);
        if (ACDC_GetRangeChecks()) ACDC_CheckSubmodelRanges(submodels);
        if (ACDC_GetModelChecks()) ACDC_CheckSubmodels(submodels);
    }
    if (models != nullptr) {
        MDL_CheckAddedSubmodels(models, ibis.submodels.get());
        MarkReferencedModels(ibis, models);
        MDL_CheckAll(models);
    }
}

}  // namespace

void IBIS_Check(int kind, int flag) {
    IBIS* ibis = nullptr;
    if (!IBIS_GetCurrent(&ibis)) return;
    if (kind == FILE_KIND_IBS) {
        CheckIbsFile(*ibis);
    } else if ((kind == FILE_KIND_PKG || kind == FILE_KIND_EBD) && ibis->boardDescriptions) {
        EBDMDL_CheckAll(ibis->boardDescriptions.get(), flag);
    } else if (kind == FILE_KIND_AMI) {
        AmiTree* tree = ALGMOD_CheckParameterFile();
        FreeAmiTree(&tree);
    }
}

void IBIS_Finish() {
    IBIS* current = nullptr;
    if (IBIS_GetCurrent(&current)) IBIS_Free(current);
    CMN_PrintSummary();
}

int IBIS_GetHdr(const IBIS* ibis, HDR** head) { return GetList(ibis->headers, head); }
void IBIS_SetHdr(IBIS* ibis, std::unique_ptr<HDR> record) {
    IBIS_PushFront(ibis->headers, std::move(record));
}
int IBIS_GetCmpnt(const IBIS* ibis, CMPNT** head) { return GetList(ibis->components, head); }
void IBIS_SetCmpnt(IBIS* ibis, std::unique_ptr<CMPNT> record) {
    IBIS_PushFront(ibis->components, std::move(record));
}
int IBIS_GetMdl(const IBIS* ibis, MDL** head) { return GetList(ibis->models, head); }
void IBIS_SetMdl(IBIS* ibis, std::unique_ptr<MDL> record) {
    IBIS_PushFront(ibis->models, std::move(record));
}
int IBIS_GetCircuit(const IBIS* ibis, CIRCUIT** head) { return GetList(ibis->circuits, head); }
void IBIS_SetCircuit(IBIS* ibis, std::unique_ptr<CIRCUIT> record) {
    IBIS_PushFront(ibis->circuits, std::move(record));
}
int IBIS_GetSubmdl(const IBIS* ibis, SUBMDL** head) { return GetList(ibis->submodels, head); }
void IBIS_SetSubmdl(IBIS* ibis, std::unique_ptr<SUBMDL> record) {
    IBIS_PushFront(ibis->submodels, std::move(record));
}
int IBIS_GetPkgmdl(const IBIS* ibis, PKGMDL** head) { return GetList(ibis->packageModels, head); }
void IBIS_SetPkgmdl(IBIS* ibis, std::unique_ptr<PKGMDL> record) {
    IBIS_PushFront(ibis->packageModels, std::move(record));
}
int IBIS_GetEbdmdl(const IBIS* ibis, EBDMDL** head) {
    return GetList(ibis->boardDescriptions, head);
}
void IBIS_SetEbdmdl(IBIS* ibis, std::unique_ptr<EBDMDL> record) {
    IBIS_PushFront(ibis->boardDescriptions, std::move(record));
}
int IBIS_GetMsel(const IBIS* ibis, MSEL** head) { return GetList(ibis->modelSelectors, head); }
void IBIS_SetMsel(IBIS* ibis, std::unique_ptr<MSEL> record) {
    IBIS_PushFront(ibis->modelSelectors, std::move(record));
}
int IBIS_GetTestdata(const IBIS* ibis, TESTDATA** head) { return GetList(ibis->testData, head); }
void IBIS_SetTestdata(IBIS* ibis, std::unique_ptr<TESTDATA> record) {
    IBIS_PushFront(ibis->testData, std::move(record));
}
int IBIS_GetTestload(const IBIS* ibis, TESTLOAD** head) { return GetList(ibis->testLoads, head); }
void IBIS_SetTestload(IBIS* ibis, std::unique_ptr<TESTLOAD> record) {
    IBIS_PushFront(ibis->testLoads, std::move(record));
}

namespace {

// Whether the path names an existing pipe, socket or device rather than a file or directory.
bool IsStream(const char* path) {
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error) return false;
    switch (status.type()) {
    case std::filesystem::file_type::fifo:
    case std::filesystem::file_type::character:
    case std::filesystem::file_type::block:
    case std::filesystem::file_type::socket: return true;
    default: return false;
    }
}

}  // namespace

bool CMN_NameFile(const char* path, int kind, std::string* name) {
    CMN_ASSERT(path != nullptr && name != nullptr);
    const KindNames& names = NamesOf(kind);
    std::string_view whole(path);
    std::size_t separator = whole.find_last_of("/\\");
    std::string fileName(whole);
    if (separator != std::string_view::npos) {
        fileDirectory.assign(whole.substr(0, separator + 1));
        fileName.assign(whole.substr(separator + 1));
    }
    std::size_t dot = fileName.rfind('.');
    if (dot != std::string::npos) {
        if (!CMN_StrEqualNoCase(fileName.c_str() + dot, names.extension)) {
            CMN_Error(CMN_RuntimeCode(names.wrongExtension));
            return false;
        }
    } else if (IsStream(path)) {
        // A pipe or device named without an extension (a shell's <(...)) is read as named.
    } else if (fileName.size() + 4 > CMN_PATH_LIMIT) {
        CMN_Error(1901);
        return false;
    } else {
        fileName += names.extension;
    }
    if (fileDirectory.size() + fileName.size() > CMN_PATH_LIMIT) {
        CMN_Error(1904);
        return false;
    }
    *name = std::move(fileName);
    return true;
}

std::FILE* CMN_OpenFile(const char* path, int kind, std::string* name) {
    std::string fileName;
    if (!CMN_NameFile(path, kind, &fileName)) return nullptr;
    std::FILE* file = OpenAnyCase(fileName);
    if (file == nullptr) {
        CMN_Error(1905, fileDirectory.c_str(), fileName.c_str());
        return nullptr;
    }
    *name = std::move(fileName);
    return file;
}

bool CMN_LoadFile(const char* path, int kind, CMN_FileText* text, std::string* name) {
    CMN_ASSERT(text != nullptr);
    std::FILE* file = CMN_OpenFile(path, kind, name);
    if (file == nullptr) return false;
    bool loaded = text->Load(file);
    if (!loaded) CMN_Error(922, "ibis", __LINE__);
    return loaded;
}

int CMN_DetectVersion(const char* path, unsigned long* lineCount, int kind) {
    std::string name;
    CMN_FileText text;
    if (!CMN_LoadFile(path, kind, &text, &name)) return 0;
    return CMN_DetectTextVersion(text, lineCount);
}

int CMN_DetectTextVersion(CMN_FileText& text, unsigned long* lineCount) {
    unsigned long ownCount = 0;
    unsigned long& count = lineCount != nullptr ? *lineCount : ownCount;
    count = 0;
    CMN_LineReader reader(text);
    char line[kDetectLineSize];
    // The count is raised before each read, so that a character report names its own line.
    for (;;) {
        ++count;
        if (CMN_ReadLine(line, sizeof line, reader) == nullptr) {
            --count;
            return 0;
        }
        const char* position = CMN_SkipSpace(line);
        if (*position != '[') continue;
        if (CMN_StrEqualNoCaseN(position, "[IBIS Ver]", 10) ||
            CMN_StrEqualNoCaseN(position, "[IBIS_Ver]", 10)) {
            char digit = *CMN_SkipSpace(position + 10);
            if (digit >= '1' && digit <= '5') return digit - '0';
        }
        return 0;
    }
}

const std::string& CMN_GetFileDirectory() { return fileDirectory; }
void CMN_SetFileDirectory(std::string_view directory) { fileDirectory.assign(directory); }
