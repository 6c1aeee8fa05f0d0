#include "IbisParser/apkg.h"

#include <new>

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"

namespace {

constexpr std::size_t kNameLimit = 40;

}  // namespace

void APKG_Keyword(CMPNT& component, const char* text) {
    if (component.alternate_packages) {
        CMN_ErrorLine(520);
        return;
    }
    if (*CMN_SkipSpace(text) != '\0') CMN_ErrorLine(521);
}

void APKG_Line(CMPNT& component, const char* text) {
    std::string_view name = CMN_SkipSpace(text);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.remove_suffix(1);
    if (name.size() > kNameLimit) {
        CMN_ErrorLine(1600, name);
        name = name.substr(0, kNameLimit);
    }
    if (name.empty()) {
        CMN_ErrorLine(1601);
        return;
    }
    if (component.alternatePackageNames.count(name) != 0) CMN_ErrorLine(1605, name);
    std::unique_ptr<APKG> record(new (std::nothrow) APKG());
    if (!record) {
        CMN_ErrorLine(1602);
        return;
    }
    record->name = name;
    APKG* added = record.get();
    if (component.lastAlternatePackage == nullptr) {
        component.alternate_packages = std::move(record);
    } else {
        component.lastAlternatePackage->next = std::move(record);
    }
    component.lastAlternatePackage = added;
    component.alternatePackageNames.insert(added->name);
}

void APKG_End(CMPNT& component, const char* text) {
    if (*CMN_SkipSpace(text) != '\0') CMN_ErrorLine(522);
    const APKG* first = component.alternate_packages.get();
    if (first == nullptr) {
        CMN_ErrorLine(1603);
    } else if (!first->next) {
        CMN_WarningLine(1604);
    }
}
