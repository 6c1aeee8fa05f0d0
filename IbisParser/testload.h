// The [Test Load] section of .ibs files: one TESTLOAD per test load, newest first. The keyword
// line gives the name, each data line one sub-parameter; every keyword after [Test Load] closes
// it and runs its closing checks. After the whole file its receiver models are looked up.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "IbisParser/cmn.h"
#include "IbisParser/linked.h"
#include "IbisParser/rng.h"

// The element values, in the order of their sub-parameter codes (code = element + 2).
enum TESTLOAD_ELEMENT : int {
    TESTLOAD_C1_NEAR,
    TESTLOAD_RS_NEAR,
    TESTLOAD_LS_NEAR,
    TESTLOAD_C2_NEAR,
    TESTLOAD_RP1_NEAR,
    TESTLOAD_RP2_NEAR,
    TESTLOAD_TD,
    TESTLOAD_ZO,
    TESTLOAD_RP1_FAR,
    TESTLOAD_RP2_FAR,
    TESTLOAD_C2_FAR,
    TESTLOAD_LS_FAR,
    TESTLOAD_RS_FAR,
    TESTLOAD_C1_FAR,
    TESTLOAD_ELEMENT_COUNT,
};

// Test_load_type and Test_data_type codes: 0 not given, 1 given but invalid.
enum TESTLOAD_TYPE : int {
    TESTLOAD_TYPE_NONE = 0,
    TESTLOAD_TYPE_INVALID = 1,
    TESTLOAD_SINGLE_ENDED = 2,
    TESTLOAD_DIFFERENTIAL = 3,
};

struct TESTLOAD : IBIS_Linked<TESTLOAD> {
    std::string name;  // at most 109 characters
    int Test_load_type = TESTLOAD_TYPE_NONE;
    std::optional<double> element[TESTLOAD_ELEMENT_COUNT];
    std::unique_ptr<RNG> V_term1, V_term2;
    std::optional<double> R_diff_near, R_diff_far;
    std::string Receiver_model, Receiver_model_inv;  // empty when not given
};

// The section operations that section.h describes.
void TESTLOAD_Init();
void TESTLOAD_Line(int lineKind, int code, char* text);
void TESTLOAD_EndKeyword(int nextCode);
void TESTLOAD_Reset();
// After the whole file: the receiver models of each test load.
void TESTLOAD_CheckAll(TESTLOAD* testLoads);

// [Test Load] and [Test Data] read their name line and their "name value" settings alike, each
// with its own codes.
struct TESTLOAD_Codes {
    const char* label;    // the section as the bracket report names it ("TestLoad")
    const char* keyword;  // the keyword as the item-count report names it ("Test Load")
    int noBracket, splitFailed, missing, count, tooLong, reserved, repeated;
    int settingMissing, settingEquals, settingCount, wrongCase, unknownValue;
};

// The value of a "name value" line, or nullptr after reporting a missing or an extra item.
const char* TESTLOAD_Setting(const char* text, const char* name, const TESTLOAD_Codes& codes,
                             CMN_LINE_ITEMS& items);
// The type code that a Test_load_type or Test_data_type value names; TESTLOAD_TYPE_INVALID
// after reporting a wrong letter case or an unknown value.
int TESTLOAD_TypeOf(const char* value, const char* name, const TESTLOAD_Codes& codes);

// The names of one list of sections (newest first), each mapped to its newest record, for the
// repeated-name check of a new section's name line.
template <typename T>
class TESTLOAD_Names {
public:
    // Reads the name of `record`, the newest of its list, from its keyword line. A name longer
    // than `limit` is kept cut and not checked further.
    void Read(T& record, const char* text, std::size_t limit, const TESTLOAD_Codes& codes,
              const char* module, CMN_LINE_ITEMS& items) {
        const char* rest = text;
        if (!CMN_SkipPastBracket(&rest)) {
            CMN_BugLine(CMN_RuntimeCode(codes.noBracket), codes.label, module, __LINE__);
            return;
        }
        if (!CMN_SplitWords(rest, 1, &items)) {
            CMN_Error(CMN_RuntimeCode(codes.splitFailed));
            return;
        }
        if (items.count == 0) {
            CMN_ErrorLine(CMN_RuntimeCode(codes.missing));
            return;
        }
        if (items.count > 1)
            CMN_ErrorLine(CMN_RuntimeCode(codes.count), items.count, codes.keyword, 1);
        const std::string& written = items.items[0];
        Index(record.next.get());
        if (written.size() > limit) {
            CMN_ErrorLine(CMN_RuntimeCode(codes.tooLong), static_cast<int>(limit));
            record.name.assign(written, 0, limit);
        } else {
            if (!CMN_IsNotReserved(written.c_str())) {
                CMN_ErrorLine(CMN_RuntimeCode(codes.reserved), written);
            }
            if (index_.contains(written)) CMN_ErrorLine(CMN_RuntimeCode(codes.repeated), written);
            record.name = written;
        }
        index_.insert_or_assign(std::string_view(record.name), &record);
        head_ = &record;
    }

    void Reset() {
        index_.clear();
        head_ = nullptr;
    }

private:
    void Index(T* list) {
        if (list == head_) return;
        index_.clear();
        for (T* record = list; record != nullptr; record = record->next.get()) {
            if (!record->name.empty()) index_.emplace(record->name, record);
        }
        head_ = list;
    }

    std::unordered_map<std::string_view, T*> index_;
    const T* head_ = nullptr;
};
