#include <gtest/gtest.h>

#include <string>

#include "IbisParser/cmn.h"

TEST(CmnMessages, TableIsSortedUniqueAndStartsWithTheMissingCodeEntry) {
    std::span<const CMN_MESSAGE> table = CMN_GetMessageTable();
    ASSERT_FALSE(table.empty());
    EXPECT_EQ(table[0].code, 0);
    EXPECT_STREQ(table[0].format, "Error code doesn't exist.");
    for (std::size_t i = 1; i < table.size(); ++i) {
        EXPECT_LT(table[i - 1].code, table[i].code) << "at position " << i;
        ASSERT_NE(table[i].format, nullptr);
        EXPECT_NE(table[i].format[0], '\0') << "code " << table[i].code;
    }
}

TEST(CmnMessages, LookupFindsTextsQuotedForEveryKindOfModule) {
    struct Expected {
        int code;
        const char* text;
    };
    // Texts that no other test here prints, from every kind of module.
    const Expected quoted[] = {
        {540, "Invalid %s (\"%s\") (try \"%s\")"},
        {1716, "Model '%s': C_comp %s value %gpF out of expected range (%gpF, %gpF)  "},
        {1906, "Memory allocation failed.  This request %u.\n"},
        {2604, " [Series Pin Mapping] Data lines must contain either 3 or 4 columns."},
        {3012, " L and C must be specified when Len != 0"},
        {3445, "Found a Pin Name '%s' containing '='. Possible syntax error"},
        {3716, "The %s Matrix is Banded and requires the 'Bandwidth' keyword."},
        {4022,
         "Model %s in Model Selector %s is Differential, but this Model Selector contains "
         "Single Ended models too "},
        {4632, "%s: Illegal Format for %s. Expected %d number(s)"},
        {4728, "Invalid percentage '%s'. %s"},
        {4911,
         "Component '%s': Pin '%s' is of model '%s' and cannot be referened in a [Pin EMI] "
         "section"},
        {CMN_CODE_UNABLE_TO_CREATE_IBIS, "Unable to create IBIS."},
    };
    for (const Expected& e : quoted) {
        const char* found = CMN_FindMessage(e.code);
        ASSERT_NE(found, nullptr) << "code " << e.code;
        EXPECT_STREQ(found, e.text) << "code " << e.code;
    }
    // Codes that are reported although no text was ever fixed for them still have one.
    for (int used : {526, 2507}) EXPECT_NE(CMN_FindMessage(used), nullptr) << "code " << used;
    EXPECT_EQ(CMN_FindMessage(-1), nullptr);
    EXPECT_EQ(CMN_FindMessage(99), nullptr);
    EXPECT_EQ(CMN_FindMessage(5000), nullptr);
}
