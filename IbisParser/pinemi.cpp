#include "IbisParser/pinemi.h"

#include <cstring>
#include <new>

#include "IbisParser/cmn.h"

namespace {

constexpr unsigned kPinLimit = 5;
constexpr unsigned kDomainLimit = 20;
constexpr std::size_t kClockDivLimit = 5;

// Reused for every row, so that splitting allocates nothing once warmed up.
CMN_LINE_ITEMS words;

}  // namespace

bool PINEMI_ReadRow(const char* text, std::unique_ptr<PINEMI>& row) {
    row.reset(new (std::nothrow) PINEMI{});
    if (!row) {
        CMN_ErrorLine(4910);
        CMN_ErrorLine(4900);
        return false;
    }
    CMN_SplitWords(text, 4, &words);
    const char* pin = words.item(0);
    const char* domain = words.item(1);
    const char* clockDiv = words.item(2);
    if (pin == nullptr) {
        CMN_ErrorLine(4901);
        CMN_ErrorLine(4902);
    } else {
        CMN_CopyLimited(row->pin_name, pin, kPinLimit, "pin_name");
        if (domain == nullptr) {
            CMN_ErrorLine(4902);
        } else {
            if (!CMN_StrEqualNoCase(domain, "NA")) CMN_CheckReserved(domain);
            CMN_CopyLimited(row->domain_name, domain, kDomainLimit, "domain_name");
        }
    }
    if (clockDiv == nullptr) {
        CMN_ErrorLine(4903);
    } else {
        if (std::strlen(clockDiv) > kClockDivLimit) {
            CMN_ErrorLine(4904, static_cast<int>(kClockDivLimit));
        }
        CMN_CheckValue(clockDiv, "Pin EMI", "clock_div", &row->clock_div, &row->clock_div_state);
    }
    if (const char* extra = words.item(3)) CMN_ErrorLine(4905, extra);
    return true;
}

void PINEMI_Append(PINEMI_LIST& list, std::unique_ptr<PINEMI> row) {
    PINEMI* added = list.rows.Append(std::move(row));
    int& earlier = list.pinCounts[added->pin_name];
    for (int i = 0; i < earlier; ++i) CMN_ErrorLine(4906, added->pin_name);
    ++earlier;
}
