#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/component_text.h"
#include "tests/IbisParser/expected_output.h"

namespace {

const std::string kName44 = "abcdefghijabcdefghijabcdefghijabcdefghij.ibs";
const std::string kName24 = "abcdefghijabcdefghij.ibs";

// A file whose [File Name] is value, written as fileName and checked as an .ibs file.
std::string CheckNamed(const char* version, const std::string& value, const std::string& fileName,
                       CheckOptions options = {}) {
    options.fileName = fileName;
    return CheckText(std::string("[IBIS Ver] ") + version + "\n[File Name] " + value +
                         "\n[File Rev] 1.0\n" + CleanComponent() + "[End]\n",
                     FILE_KIND_IBS, options);
}

}  // namespace

// The version selects the file name's limit; the name's characters, period, letter case,
// reserved words and its match with the file opened are then checked in that order.
TEST(HdrFileName, LimitByVersionCharacterPeriodNameAndReservedRules) {
    const std::string line2 = "ERROR (line    2) -";
    const std::string longName = "' is too long, maximum length 24 allowed.\n";
    const struct {
        const char* version;
        std::string value, fileName;
        const char* revision;
        std::string findings;
        int errors;
    } rows[] = {
        {"4.1", kName44, kName44, "4.2", "", 0},
        {"4.1", "k" + kName44, "k" + kName44, "4.2",
         line2 + " File_name string 'k" + kName44 + "' is too long, maximum length 44 allowed.\n",
         1},
        // Each limit holds a name of exactly its length.
        {"3.2", kName24, kName24, "3.2", "", 0},
        {"3.2", "k" + kName24, "k" + kName24, "3.2",
         line2 + " File_name string 'k" + kName24 + longName, 1},
        {"2.1", "abcdefgh.ibs", "abcdefgh.ibs", "2.1", "", 0},
        {"3.2", kName44, kName44, "3.2", line2 + " File_name string '" + kName44 + longName, 1},
        // 4.3 is no IBIS version: the version in force stays 0, so the name limit is 12.
        {"4.3", kName44, kName44, "4.2",
         "ERROR (line    1) - Illegal IBIS_Version '4.3'.\n" + line2 + " File_name string '" +
             kName44 + "' is too long, truncating to 12 characters.\n" + line2 +
             " File_name 'abcdefghijab' must contain one period.\n" + line2 +
             " File name opened '" + kName44 + "' not the same as File_name 'abcdefghijab'.\n",
         4},
        {"2.1", "abcdefghij.ibs", "abcdefghij.ibs", "2.1",
         line2 +
             "\n    File_name string 'abcdefghij.ibs' is too long, truncating to 12 characters.\n" +
             line2 +
             "\n    File name opened 'abcdefghij.ibs' not the same as File_name 'abcdefghij.i'.\n",
         2},
        {"3.2", "My_File.ibs", "my_file.ibs", "3.2",
         line2 + "\n    File_name 'My_File.ibs' contains an upper case character 'M'.\n" + line2 +
             "\n    File_name 'My_File.ibs' contains an upper case character 'F'.\n",
         2},
        {"3.2", "a.b.ibs", "a.b.ibs", "3.2",
         line2 + " File_name 'a.b.ibs' contains more than one period.\n", 1},
        {"3.2", "ab+c.ibs", "ab+c.ibs", "3.2",
         line2 + "\n    File_name 'ab+c.ibs' contains a character '+' that is illegal for DOS.\n",
         1},
        {"3.2", "_^$~!#%&-{})(@'`.ibs", "_^$~!#%&-{})(@'`.ibs", "3.2", "", 0},
        {"3.2", "gnd", "test.ibs", "3.2",
         line2 + " File_name 'gnd' must contain one period.\n" + line2 +
             "\n    File name opened 'test.ibs' not the same as File_name 'gnd'.\n" + line2 +
             " Illegal use of Reserved Word 'gnd'.\n",
         3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.value);
        EXPECT_EQ(CheckNamed(row.version, row.value, row.fileName),
                  Banner(row.fileName, row.revision) +
                      (row.errors == 0 ? kPassed : row.findings + Summary(row.errors)));
    }

    CheckOptions options;
    options.forceVersion5 = true;
    EXPECT_EQ(CheckNamed("2.1", kName44, kName44, options), Banner(kName44, "2.1") + kPassed);
    EXPECT_EQ(HDR_GetVersion(), 0);
    options = {};
    options.noFileNameRules = true;
    EXPECT_EQ(CheckNamed("3.2", "My_File.ibs", "other.ibs", options),
              Banner("other.ibs", "3.2") + kPassed);
}

TEST(HdrKeywords, DuplicatesTextBlocksAndOrphans) {
    std::string file =
        "[IBIS Ver] 3.2\n"
        "[File Name] test.ibs\n"
        "[File Rev] 1.0\n"
        "[File Rev] 2.0\n"  // 4
        "[Date] gnd\n"      // 5
        "[Date] x\n"        // 6
        "[Source] s1\n"
        "s2\n"
        "[Source] again\n"  // 9
        "  s3\n"
        "[Notes] n1\n"
        "[Notes] n2\n"  // 12
        "n3\n"
        "[Disclaimer] d1\n"
        "[Disclaimer] d2\n"
        "[Copyright]\n"
        "c1\n"
        "[Copyright] x\n"            // 18
        "[File Name] other.ibs\n" +  // 19
        CleanComponent() +
        "[File Rev] late\n"  // 28
        "late data\n"        // 29
        "[End]\n";
    std::string version, fileName, fileRev, date, source, notes, disclaimer, copyright;
    CheckOptions options;
    options.inspect = [&](IBIS* ibis) {
        const HDR* header = ibis->headers.get();
        const char* text = nullptr;
        const std::string* block = nullptr;
        if (HDR_GetIbisVersion(header, &text)) version = text;
        if (HDR_GetFileName(header, &text)) fileName = text;
        if (HDR_GetFileRev(header, &text)) fileRev = text;
        if (HDR_GetDate(header, &text)) date = text;
        if (HDR_GetSource(header, &block)) source = *block;
        if (HDR_GetNotes(header, &block)) notes = *block;
        if (HDR_GetDisclaimer(header, &block)) disclaimer = *block;
        if (HDR_GetCopyright(header, &block)) copyright = *block;
    };
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS, options),
              Banner("test.ibs", "3.2") +
                  "ERROR (line    4) - Duplicate File_Rev keyword.\n"
                  "ERROR (line    5) - Illegal use of Reserved Word 'gnd'.\n"
                  "ERROR (line    6) - Duplicate Date keyword.\n"
                  "ERROR (line    9) - Duplicate Source keyword.\n"
                  "ERROR (line   12) - Duplicate Notes keyword.\n"
                  "ERROR (line   18) - Duplicate Copyright keyword.\n"
                  "ERROR (line   19) - Duplicate File_name keyword.\n"
                  "ERROR (line   28) - Orphan File Header keyword.\n"
                  "ERROR (line   29) - Orphan Data Line.\n" +
                  Summary(9));
    EXPECT_EQ(version, "3.2");
    EXPECT_EQ(fileName, "test.ibs");
    EXPECT_EQ(fileRev, "1.0");
    EXPECT_EQ(date, "gnd");
    EXPECT_EQ(source, "s1\ns2\n  s3");
    EXPECT_EQ(notes, "n1\nn3");
    EXPECT_EQ(disclaimer, "d1\nd2");
    EXPECT_EQ(copyright, "\nc1");
}

TEST(HdrKeywords, EmptyAndLongValuesAndMissingRequiredKeywords) {
    std::string file =
        "[IBIS Ver] 3.2\n"
        "[File Name] test.ibs\n"
        "data under file name\n"
        "[File Rev]\n"
        "[Date] abcdefghijabcdefghijabcdefghijabcdefghijX\n" +
        CleanComponent() + "[End]\n";
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS),
              Banner("test.ibs", "3.2") +
                  "ERROR (line    3) - Orphan Data Line.\n"
                  "ERROR (line    4) - Zero length value for keyword 'File_Rev'.\n"
                  "ERROR (line    5) - Date string 'abcdefghijabcdefghijabcdefghijabcdefghijX' is "
                  "too long, truncating to 40 characters.\n" +
                  Summary(3));

    EXPECT_EQ(
        CheckText("[IBIS Ver] 3.2\n[Date] today\n" + CleanComponent() + "[End]\n", FILE_KIND_IBS),
        Banner("test.ibs", "3.2") +
            "ERROR - Required keyword 'File_name' not found in file 'test.ibs'.\n"
            "ERROR - Required keyword 'File_Rev' not found in file 'test.ibs'.\n" +
            Summary(2));
}

TEST(HdrKeywords, ValuesAndLinesOfExactlyTheirLimitPass) {
    const auto text = [](const char* version, const std::string& rev, const std::string& date,
                         std::size_t commentLength) {
        return std::string("[IBIS Ver] ") + version + "\n[File Name] test.ibs\n[File Rev] " + rev +
               "\n[Date] " + date + "\n| " + std::string(commentLength - 2, 'c') + "\n" +
               CleanComponent() + "[End]\n";
    };
    const std::string rev70(70, 'r'), date40(40, 'd');
    const struct {
        std::string file;
        const char* revision;
        std::string findings;
        int errors;
    } rows[] = {
        {text("4.0", rev70, date40, 120), "4.2", "", 0},
        {text("3.2", "1.0", date40, 80), "3.2", "", 0},
        {text("4.0", rev70 + "R", date40, 10), "4.2",
         "ERROR (line    3) - File_Rev string '" + rev70 +
             "R' is too long, truncating to 70 characters.\n",
         1},
        {text("4.0", "1.0", date40 + "D", 10), "4.2",
         "ERROR (line    4) - Date string '" + date40 +
             "D' is too long, truncating to 40 characters.\n",
         1},
        {text("4.0", "1.0", "today", 121), "4.2", "ERROR (line    5) - Exceeds 120 chararacters.\n",
         1},
        {text("3.2", "1.0", "today", 81), "3.2", "ERROR (line    5) - Exceeds 80 chararacters.\n",
         1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        EXPECT_EQ(CheckText(row.file, FILE_KIND_IBS),
                  Banner("test.ibs", row.revision) +
                      (row.errors == 0 ? kPassed : row.findings + Summary(row.errors)));
    }
}

TEST(HdrKeywords, LongNotesBlockKeepsEveryLine) {
    constexpr int kLines = 100000;
    std::string file = "[IBIS Ver] 4.0\n[File Name] test.ibs\n[File Rev] 1.0\n[Notes] first\n";
    for (int i = 0; i < kLines; ++i) file += "note line " + std::to_string(i) + "\n";
    file += CleanComponent() + "[End]\n";
    std::size_t lineFeeds = 0;
    std::size_t length = 0;
    CheckOptions options;
    options.inspect = [&](IBIS* ibis) {
        const std::string* notes = nullptr;
        ASSERT_TRUE(HDR_GetNotes(ibis->headers.get(), &notes));
        lineFeeds = static_cast<std::size_t>(std::count(notes->begin(), notes->end(), '\n'));
        length = notes->size();
        EXPECT_TRUE(notes->ends_with("\nnote line 99999"));
    };
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS, options), Banner("test.ibs", "4.2") + kPassed);
    EXPECT_EQ(lineFeeds, static_cast<std::size_t>(kLines));
    // "first" plus, per line, a line feed and "note line " and the digits of 0..99999.
    std::size_t digits = 10 * 1 + 90 * 2 + 900 * 3 + 9000 * 4 + 90000 * 5;
    EXPECT_EQ(length, 5 + kLines * (1 + 10) + digits);
}
