#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "IbisParser/cmn.h"
#include "tests/IbisParser/cmn_capture.h"

TEST(CmnNumbers, ScaleLettersUnitsAndIllegalCharacters) {
    struct Case {
        const char* text;
        int result;
        double value;
    };
    const Case cases[] = {
        {"10p", 1, 10e-12},    {"10P", 1, 10.0},  {"2.2n", 1, 2.2e-9}, {"1.5n2", 2, 1.5e-9},
        {"3T", 1, 3e12},       {"3G", 1, 3e9},    {"3M", 1, 3e6},      {"3k", 1, 3e3},
        {"3m", 1, 3e-3},       {"3u", 1, 3e-6},   {"3f", 1, 3e-15},    {"5V", 1, 5.0},
        {"10Ohm", 1, 10.0},    {"1e-3", 1, 1e-3}, {"-.5", 1, -0.5},    {"+4.", 1, 4.0},
        {"1.5meg", 1, 1.5e-3}, {"2nH1", 2, 2e-9}, {"7", 1, 7.0},       {" 8k", 1, 8e3},
        {"5e", 1, 5.0},        {"1E2", 1, 100.0}, {"0x10", 2, 0.0},
    };
    for (const Case& c : cases) {
        double value = -1.0;
        EXPECT_EQ(CMN_GetValue(c.text, &value), c.result) << c.text;
        EXPECT_DOUBLE_EQ(value, c.value) << c.text;
    }
    for (const char* invalid : {"10%", "", "abc", "-", ".", "NA", "1.0 ", "inf", "nan"}) {
        double value = -1.0;
        EXPECT_EQ(CMN_GetValue(invalid, &value), 0) << invalid;
        EXPECT_EQ(value, -1.0) << invalid;
    }
}

// Every number reads as the C library reads it, to the last bit, whether it is short enough
// for the quick path (up to 15 digits, powers of ten up to 22) or not.
TEST(CmnNumbers, DecimalsReadToTheNearestDouble) {
    const char* const texts[] = {"0.1",
                                 "-3.3",
                                 "+2.5",
                                 "1.345e-12",
                                 "0.000000000000000000001",
                                 "-0",
                                 "007.50",
                                 "1e22",
                                 "1e23",
                                 "1e-22",
                                 "1e-23",
                                 "123456789012345",
                                 "1234567890123456",
                                 "9007199254740993",
                                 "0.30000000000000004",
                                 "5e-324",
                                 "1.7976931348623157e308",
                                 "2.2250738585072014e-308",
                                 "3.",
                                 ".5",
                                 "12.5E+3",
                                 "4.35e-5",
                                 "-1.50e-03"};
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        double value = 12345.0;
        ASSERT_EQ(CMN_GetDouble(text, &value), 1);
        const double expected = std::strtod(text, nullptr);
        EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << value << " " << expected;
    }
}

TEST(CmnNumbers, PlainReadersTellWholeFromPartial) {
    std::uint32_t count = 0;
    EXPECT_EQ(CMN_GetUnsigned("42", &count), 1);
    EXPECT_EQ(count, 42u);
    EXPECT_EQ(CMN_GetUnsigned("17 pins", &count), 2);
    EXPECT_EQ(count, 17u);
    EXPECT_EQ(CMN_GetUnsigned("4294967295", &count), 1);
    EXPECT_EQ(count, 4294967295u);
    count = 9;
    EXPECT_EQ(CMN_GetUnsigned("-3", &count), 0);
    EXPECT_EQ(CMN_GetUnsigned("4294967296", &count), 0);
    EXPECT_EQ(CMN_GetUnsigned("x1", &count), 0);
    EXPECT_EQ(CMN_GetUnsigned("", &count), 0);
    EXPECT_EQ(count, 9u);

    double value = 0.0;
    EXPECT_EQ(CMN_GetDouble("2.5e3", &value), 1);
    EXPECT_EQ(value, 2500.0);
    EXPECT_EQ(CMN_GetDouble("2.5n", &value), 2);
    EXPECT_EQ(value, 2.5);
    EXPECT_EQ(CMN_GetDouble("e5", &value), 0);
    EXPECT_EQ(CMN_GetDouble("1e999", &value), 1);
    EXPECT_EQ(value, HUGE_VAL);
}

TEST(CmnNumbers, NotAvailableInAnyCase) {
    double value = 3.0;
    int isNA = 0;
    EXPECT_EQ(CMN_GetValueOrNA("na", &value, &isNA), 1);
    EXPECT_EQ(isNA, 1);
    EXPECT_EQ(value, 0.0);
    EXPECT_EQ(CMN_GetValueOrNA("2m", &value, &isNA), 1);
    EXPECT_EQ(isNA, 0);
    EXPECT_DOUBLE_EQ(value, 2e-3);
    EXPECT_EQ(CMN_GetValueOrNA("N/A", &value, &isNA), 0);
    EXPECT_EQ(isNA, 0);
}

TEST(CmnNumbers, CheckValueReportsInvalidAndSuspiciousColumns) {
    CmnCapture capture(12);
    double value = 0.0;
    int state = -1;
    EXPECT_EQ(CMN_CheckValue(nullptr, "R_pkg", "typ", &value, &state), 1);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(CMN_CheckValue("Na", "R_pkg", "min", &value, &state), 1);
    EXPECT_EQ(state, 2);
    EXPECT_EQ(CMN_CheckValue("50m", "R_pkg", "typ", &value, &state), 1);
    EXPECT_EQ(state, 1);
    EXPECT_DOUBLE_EQ(value, 0.05);
    EXPECT_EQ(capture.Take(), "");

    EXPECT_EQ(CMN_CheckValue("1.5n2", "C_pkg", "max", &value, &state), 1);
    EXPECT_EQ(state, 1);
    EXPECT_DOUBLE_EQ(value, 1.5e-9);
    EXPECT_EQ(CMN_CheckValue("10%", "C_pkg", "typ", &value, &state), 0);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(capture.Take(),
              "WARNING (line   12) - Suspicious max C_pkg Value (\"1.5n2\"); Numeric in Scale\n"
              "ERROR (line   12) - Invalid typ Value (\"10%\")\n");
}

TEST(CmnFields, SettersApplyLimitsAndDuplicateRules) {
    CmnCapture capture(4);
    std::string fileRev;
    EXPECT_EQ(CMN_SetOnce(fileRev, "1.0", 70, "File_Rev"), 1);
    EXPECT_EQ(fileRev, "1.0");
    EXPECT_EQ(CMN_SetOnce(fileRev, "2.0", 70, "File_Rev"), 0);
    EXPECT_EQ(fileRev, "1.0");

    std::string date;
    EXPECT_EQ(CMN_SetOnce(date, "December 5th", 8, "Date"), 1);
    EXPECT_EQ(date, "December");
    std::string empty;
    CMN_CopyLimited(empty, "", 10, "Source");
    EXPECT_EQ(empty, "");
    EXPECT_EQ(capture.Take(),
              "ERROR (line    4) - Duplicate 'File_Rev' keyword.\n"
              "ERROR (line    4) -\n    Date string 'December 5th' is too long, truncating to 8 "
              "characters.\n"
              "ERROR (line    4) - Zero length value for keyword 'Source'.\n");

    std::string notes;
    EXPECT_EQ(CMN_SetOnceChecked(notes, "abcdef", 4, "Notes"), 1);
    EXPECT_EQ(notes, "abcdef");
    EXPECT_EQ(CMN_SetOnceChecked(notes, "x", 4, "Notes"), 0);
    std::string huge;
    std::string longText(2000, 'q');
    EXPECT_EQ(CMN_SetOnceChecked(huge, longText.c_str(), 3000, "Notes"), 1);
    EXPECT_EQ(huge.size(), 1024u);
    std::string blank;
    EXPECT_EQ(CMN_SetOnceChecked(blank, "", 4, "Notes"), 1);
    EXPECT_EQ(
        capture.Take(),
        "ERROR (line    4) -\n    Notes string 'abcdef' is too long, maximum length 4 allowed.\n"
        "ERROR (line    4) - Duplicate 'Notes' keyword.\n"
        "ERROR (line    4) - Zero length value for keyword 'Notes'.\n");
}

TEST(CmnFields, ReservedWordsInAnyCase) {
    CmnCapture capture(9);
    for (const char* word : {"GND", "nc", "Power", "CircuitCall", "na"}) {
        EXPECT_EQ(CMN_IsNotReserved(word), 0) << word;
    }
    for (const char* word : {"GND1", "N", "VCC", "", "CIRCUIT_CALL"}) {
        EXPECT_EQ(CMN_IsNotReserved(word), 1) << word;
    }
    EXPECT_EQ(CMN_CheckReserved("vdd"), 1);
    EXPECT_EQ(CMN_CheckReserved("gnd"), 0);
    EXPECT_EQ(capture.Take(), "ERROR (line    9) - Illegal use of Reserved Word 'gnd'.\n");
}

namespace {

struct RLCItem {
    int kind;
    double value;
};

// Reads items until the closing "/", the end of the text or 20 items.
std::vector<RLCItem> ReadItems(const char* text) {
    std::vector<RLCItem> out;
    const char* position = text;
    for (int i = 0; i < 20; ++i) {
        double value = -1.0;
        int kind = CMN_GetRLCItem(position, &value, &position);
        out.push_back({kind, value});
        if (kind == CMN_RLC_END || kind == CMN_RLC_PREMATURE) break;
    }
    return out;
}

std::vector<int> Kinds(const std::vector<RLCItem>& items) {
    std::vector<int> kinds;
    for (const RLCItem& item : items) kinds.push_back(item.kind);
    return kinds;
}

}  // namespace

TEST(CmnRLC, ReadsASectionItemByItem) {
    CmnCapture capture(21);
    std::vector<RLCItem> items = ReadItems("Len=0.5 L=2n R = 1\tC= 1p / Len=1");
    EXPECT_EQ(Kinds(items), (std::vector<int>{1, 4, 2, 3, 5}));
    EXPECT_DOUBLE_EQ(items[0].value, 0.5);
    EXPECT_DOUBLE_EQ(items[1].value, 2e-9);
    EXPECT_DOUBLE_EQ(items[2].value, 1.0);
    EXPECT_DOUBLE_EQ(items[3].value, 1e-12);

    const char* position = "  R=3/ Len=1";
    double value = 0.0;
    EXPECT_EQ(CMN_GetRLCItem(position, &value, &position), CMN_RLC_R);
    EXPECT_STREQ(position, "/ Len=1");
    EXPECT_EQ(CMN_GetRLCItem(position, &value, &position), CMN_RLC_END);
    EXPECT_STREQ(position, "Len=1");
    EXPECT_EQ(CMN_GetRLCItem("   ", &value, nullptr), CMN_RLC_PREMATURE);
    EXPECT_EQ(capture.Take(), "");
}

TEST(CmnRLC, ReportsEachKindOfBadItem) {
    CmnCapture capture(5);
    EXPECT_EQ(Kinds(ReadItems("=1 R=1 /")), (std::vector<int>{0, 0, 2, 5}));
    // An unknown name ends the item; its "=" and value are then read as items of their own.
    EXPECT_EQ(Kinds(ReadItems("len=2 L=1 /")), (std::vector<int>{0, 0, 0, 4, 5}));
    EXPECT_EQ(Kinds(ReadItems("R")), (std::vector<int>{6}));
    EXPECT_EQ(Kinds(ReadItems("R=")), (std::vector<int>{6}));
    EXPECT_EQ(Kinds(ReadItems("R 5 C=1 / L=1 /")), (std::vector<int>{0, 4, 5}));
    std::vector<RLCItem> empty = ReadItems("C=/");
    EXPECT_EQ(Kinds(empty), (std::vector<int>{3, 5}));
    EXPECT_EQ(empty[0].value, 0.0);
    EXPECT_EQ(Kinds(ReadItems("L=2x5 C=1%")), (std::vector<int>{4, 3, 6}));
    EXPECT_EQ(capture.Take(),
              "ERROR (line    5) - Unexpected '=' found\n"
              "ERROR (line    5) - Unexpected token '1' found in R/L/C section\n"
              "ERROR (line    5) - Unexpected token 'len' found in R/L/C section\n"
              "ERROR (line    5) - Unexpected '=' found\n"
              "ERROR (line    5) - Unexpected token '2' found in R/L/C section\n"
              "ERROR (line    5) - Premature end of R/L/C section\n"
              "ERROR (line    5) - Premature end of R/L/C section\n"
              "ERROR (line    5) - Error parsing R/L/C section. Missing '='\n"
              "ERROR (line    5) - Numerical value expected\n"
              "ERROR (line    5) - Illegal number found '2x5'\n"
              "ERROR (line    5) - Illegal number found '1%'\n");
}
