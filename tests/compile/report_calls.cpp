// Compiled by the report_calls_* tests with one CASE_* macro defined: CASE_RIGHT must compile,
// every other case must be refused by the report argument check, naming the code.
#include <string>
#include <string_view>

#include "IbisParser/cmn.h"
#include "IbisParser/section.h"

void Calls(const char* name, char* buffer, int count, unsigned long size, double value,
           const std::string& text, std::string_view view) {
#if defined(CASE_RIGHT)
    CMN_ErrorLine(1909, name, text);
    CMN_ErrorLine(1909, view, buffer);
    CMN_ErrorLine(1909, "literal", std::string("temporary"));
    CMN_ErrorLine(1912, name, text, size);
    CMN_ErrorLine(1912, name, text, count);
    CMN_ErrorLine(905, count);
    CMN_ErrorLine(918, 'x');
    CMN_WarningLine(1403, value);
    CMN_Warning(1702, name, name, value, 10.0f);
    CMN_Bug(1908, "cmn", __LINE__);
    CMN_ErrorLine(CMN_RuntimeCode(count), name);
    static const SECTION_REPORT rule{CMN_BugLine, 4000, true};
    (void)rule;
#elif defined(CASE_NUMBER_FOR_TEXT)
    CMN_ErrorLine(1909, count, text);
#elif defined(CASE_TOO_FEW)
    CMN_ErrorLine(1909, name);
#elif defined(CASE_TOO_MANY)
    CMN_ErrorLine(1916, name, text);
#elif defined(CASE_FLOAT_FOR_INTEGER)
    CMN_ErrorLine(905, value);
#elif defined(CASE_INTEGER_FOR_FLOAT)
    CMN_WarningLine(1403, count);
#elif defined(CASE_NO_SUCH_CODE)
    CMN_Error(99999);
#elif defined(CASE_SECTION_RULE)
    static const SECTION_REPORT rule{CMN_Bug, 2201, true};
    (void)rule;
#endif
    (void)name, (void)buffer, (void)count, (void)size, (void)value, (void)text, (void)view;
}
