#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "IbisParser/cmn.h"
#include "tests/IbisParser/cmn_capture.h"

namespace {

// Code 916 is "Invalid Keyword: %s": 17 characters of its own plus the argument.
constexpr std::size_t kPrefix916 = 17;

std::string TextOfLength(std::size_t length) {
    return "Invalid Keyword: " + std::string(length - kPrefix916, 'x');
}

std::string ArgFor(std::size_t length) { return std::string(length - kPrefix916, 'x'); }

}  // namespace

// Notes and cautions neither count nor fail; the summary prints only the lines its counters
// call for.
TEST(CmnSummary, PrintsOnlyTheLinesItsCountersCallFor) {
    CmnCapture capture(3);
    CMN_Caution(921);
    EXPECT_EQ(capture.Take(), "");
    CMN_Note(903);
    CMN_NoteLine(903);
    EXPECT_EQ(capture.Take(),
              "NOTE - Required keyword 'End' not found.\n"
              "NOTE (line    3) - Required keyword 'End' not found.\n");
    CMN_PrintSummary();
    EXPECT_EQ(capture.Take(), "Errors  : 0\n\nFile Passed\n");

    CMN_Warning(921);
    capture.Take();
    CMN_PrintSummary();
    EXPECT_EQ(capture.Take(), "\nErrors  : 0\nWarnings: 1\n\nFile Passed\n");

    CMN_Error(903);
    CMN_Error(903);
    CMN_Bug(1000);
    capture.Take();
    CMN_PrintSummary();
    EXPECT_EQ(capture.Take(), "\nBugs    : 1\nErrors  : 2\nWarnings: 1\n\nFile Failed\n");

    CMN_ResetCounts();
    CMN_Bug(1000);
    capture.Take();
    CMN_PrintSummary();
    EXPECT_EQ(capture.Take(), "\nBugs    : 1\nErrors  : 0\n\nFile Failed\n");
}

TEST(CmnReport, LevelsPrintTheirHeadsWithAndWithoutLine) {
    CmnCapture capture(7);
    CMN_Error(1904);
    CMN_ErrorLine(1918);
    CMN_Warning(921);
    CMN_WarningLine(921);
    CMN_Bug(1908, "cmn", 12);
    CMN_BugLine(1908, "cmn", 12);
    capture.SetLine(12345);
    CMN_ErrorLine(1918);
    EXPECT_EQ(capture.Take(),
              "ERROR - Unable to assemble filename.\n"
              "ERROR (line    7) - Unexpected '=' found\n"
              "WARNING - IBIS files should not contain tab characters.\n"
              "WARNING (line    7) - IBIS files should not contain tab characters.\n"
              "PROGRAM BUG - Unable to Allocate Memory: cmn 12\n"
              "PROGRAM BUG (line    7) - Unable to Allocate Memory: cmn 12\n"
              "ERROR (line 12345) - Unexpected '=' found\n");
    EXPECT_EQ(CmnCapture::Counts(), (std::array<std::uint32_t, 3>{2, 3, 2}));
    std::uint32_t errors = 0;
    CMN_GetCounts(nullptr, &errors, nullptr);
    EXPECT_EQ(errors, 3u);
}

TEST(CmnReport, FormatsArgumentsWithoutTruncation) {
    CmnCapture capture(1);
    CMN_ErrorLine(1912, "File_Rev", "1.0beta", 3u);
    CMN_WarningLine(1403, 2.5e-9);
    CMN_Warning(1702, "U1", "A1", 12.5, 10.0);
    std::string longName(3000, 'n');
    CMN_ErrorLine(916, longName.c_str());
    EXPECT_EQ(capture.Take(),
              "ERROR (line    1) -\n"
              "    File_Rev string '1.0beta' is too long, truncating to 3 characters.\n"
              "WARNING (line    1) - Value 2.500000e-09 repeated in the First Column\n"
              "WARNING - CMPT 'U1', Pin 'A1': Pin Capacitance 12.5pF greater than 10pF\n"
              "ERROR (line    1) - Invalid Keyword: " +
                  longName + "\n");
}

TEST(CmnReport, UnknownCodePrintsAndCountsNothing) {
    CmnCapture capture(1);
    CMN_Error(CMN_RuntimeCode(99999));
    CMN_ErrorLine(CMN_RuntimeCode(-5));
    CMN_Note(CMN_RuntimeCode(1));
    EXPECT_EQ(capture.Take(), "");
    std::uint32_t errors = 1;
    CMN_GetCounts(nullptr, &errors, nullptr);
    EXPECT_EQ(errors, 0u);
}

TEST(CmnReport, WrapRangesArePerLevelAndVariant) {
    struct Case {
        const CMN_Reporter* report;
        const char* head;
        std::size_t firstWrapped;
    };
    const Case cases[] = {
        {&CMN_Error, "ERROR", 72},     {&CMN_ErrorLine, "ERROR (line   40)", 60},
        {&CMN_Warning, "WARNING", 70}, {&CMN_WarningLine, "WARNING (line   40)", 58},
        {&CMN_Note, "NOTE", 73},       {&CMN_NoteLine, "NOTE (line   40)", 61},
    };
    CmnCapture capture(40);
    for (const Case& c : cases) {
        std::string head = c.head;
        (*c.report)(916, ArgFor(c.firstWrapped - 1).c_str());
        EXPECT_EQ(capture.Take(), head + " - " + TextOfLength(c.firstWrapped - 1) + "\n");
        (*c.report)(916, ArgFor(c.firstWrapped).c_str());
        EXPECT_EQ(capture.Take(), head + " -\n    " + TextOfLength(c.firstWrapped) + "\n");
        (*c.report)(916, ArgFor(75).c_str());
        EXPECT_EQ(capture.Take(), head + " -\n    " + TextOfLength(75) + "\n");
        (*c.report)(916, ArgFor(76).c_str());
        EXPECT_EQ(capture.Take(), head + " - " + TextOfLength(76) + "\n");
    }
    // A wider line number does not move the ranges.
    capture.SetLine(123456);
    CMN_ErrorLine(916, ArgFor(60).c_str());
    EXPECT_EQ(capture.Take(), "ERROR (line 123456) -\n    " + TextOfLength(60) + "\n");
    // Program bugs never wrap.
    CMN_BugLine(916, ArgFor(60).c_str());
    CMN_Bug(916, ArgFor(72).c_str());
    EXPECT_EQ(capture.Take(), "PROGRAM BUG (line 123456) - " + TextOfLength(60) + "\n" +
                                  "PROGRAM BUG - " + TextOfLength(72) + "\n");
}

TEST(CmnReport, NumberedFormUsesTheSameRanges) {
    EXPECT_EQ(CMN_FormatDiagnostic(CMN_Level::Error, 916, true, 7, TextOfLength(60), true),
              "E0916 (line    7) -\n    " + TextOfLength(60) + "\n");
    EXPECT_EQ(CMN_FormatDiagnostic(CMN_Level::Warning, 21, false, 0, "abc", true), "W0021 - abc\n");
    EXPECT_EQ(CMN_FormatDiagnostic(CMN_Level::Caution, 1910, false, 0, TextOfLength(70), true),
              "C1910 -\n    " + TextOfLength(70) + "\n");
    EXPECT_EQ(CMN_FormatDiagnostic(CMN_Level::Note, 5, true, 99, "n", true),
              "N0005 (line   99) - n\n");
    EXPECT_EQ(CMN_FormatDiagnostic(CMN_Level::Bug, 1908, false, 0, TextOfLength(72), true),
              "B1908 - " + TextOfLength(72) + "\n");
}

// Quiet bugs and warnings (quiet errors are covered through the command line) leave notes and
// errors alone.
TEST(CmnSettings, QuietLevelsNeitherPrintNorCount) {
    CmnCapture capture(2);
    CMN_SetQuietWarnings(true);
    CMN_SetQuietBugs(true);
    CMN_WarningLine(921);
    CMN_Bug(1000);
    CMN_BugLine(1000);
    CMN_Error(903);
    CMN_Note(903);
    EXPECT_EQ(capture.Take(),
              "ERROR - Required keyword 'End' not found.\n"
              "NOTE - Required keyword 'End' not found.\n");
    EXPECT_EQ(CmnCapture::Counts(), (std::array<std::uint32_t, 3>{0, 1, 0}));
}

TEST(CmnSettings, CheckRequiredNamesTheFileFromTheHook) {
    CmnCapture capture(30);
    capture.SetFile("board.ibs");
    CMN_CheckRequired("File_Rev", 1);
    CMN_CheckRequired("File_Rev", 0);
    EXPECT_EQ(capture.Take(),
              "ERROR - Required keyword 'File_Rev' not found in file 'board.ibs'.\n");
}

TEST(CmnAssertDeathTest, PrintsModuleAndLineOnStandardOutputAndEnds) {
    std::string path = ::testing::TempDir() + "cmn_assert_stdout.txt";
    EXPECT_EXIT(
        {
            if (std::freopen(path.c_str(), "w", stdout) == nullptr) std::_Exit(3);
            CMN_AssertFailed("some/dir/pin.cpp", 42);
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "");
    std::FILE* printed = std::fopen(path.c_str(), "r");
    ASSERT_NE(printed, nullptr);
    char line[128] = {};
    ASSERT_NE(std::fgets(line, sizeof line, printed), nullptr);
    std::fclose(printed);
    std::remove(path.c_str());
    EXPECT_STREQ(line, "pin.cpp:42:assertion failed.\n");
}
