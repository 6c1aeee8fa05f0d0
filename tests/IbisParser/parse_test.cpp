#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "IbisParser/cmn_read.h"
#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"
#include "IbisParser/parse_keywords.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/cmn_capture.h"
#include "tests/IbisParser/component_text.h"
#include "tests/IbisParser/expected_output.h"

namespace {

const std::string kBanner32 = Banner("test.ibs", "3.2");
const std::string kHeader32 = "[IBIS Ver] 3.2\n[File Name] test.ibs\n[File Rev] 1.0\n";
// What a clean component has after its [Component] line, for files whose component line stands
// apart from the rest of it.
const std::string kComponentBody = CleanComponent("x").substr(CleanComponent("x").find('\n') + 1);
// Its package values and pin, for files that already give [Manufacturer] and [Package].
const std::string kPackageValuesAndPin = kComponentBody.substr(kComponentBody.find("R_pkg"));

std::string Line(char fill, std::size_t length) { return std::string(length, fill); }

// The lines CMN_ReadLongLine gives until the end of the file; it returns each line's length
// plus one for the terminating zero.
std::vector<std::string> RemainingLines(CMN_LineReader& reader) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t length; (length = CMN_ReadLongLine(line, reader)) != 0;) {
        EXPECT_EQ(length, line.size() + 1) << line;
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(ParseLines, TabWarningOnceAndLengthLimitByVersion) {
    std::string file = kHeader32 + "[Component]\tx\n" + "[Manufacturer] m\n" + "[Package]\t\n" +
                       "|" + Line('-', 79) + "\n" + "|" + Line('-', 80) + "\n" +
                       kPackageValuesAndPin + "[End]\n";
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS),
              kBanner32 +
                  "WARNING (line    4) - IBIS files should not contain tab characters.\n"
                  "ERROR (line    8) - Exceeds 80 chararacters.\n" +
                  Summary(1, 1));

    std::string v4 = "[IBIS Ver] 4.0\n[File Name] test.ibs\n[File Rev] 1.0\n[Component] x\n|" +
                     Line('-', 119) + "\n|" + Line('-', 120) + "\n" + kComponentBody + "[End]\n";
    EXPECT_EQ(
        CheckText(v4, FILE_KIND_IBS),
        Banner("test.ibs", "4.2") + "ERROR (line    6) - Exceeds 120 chararacters.\n" + Summary(1));
}

TEST(ParseLines, LinesBeforeIbisVerFollowTheVersionLeftByEarlierFiles) {
    std::string file = "|" + Line('=', 99) + "\n" + kHeader32 + "|" + Line('=', 99) + "\n" +
                       CleanComponent("x") + "[End]\n";
    CheckOptions leftAtFour;
    leftAtFour.versionInForce = 4;
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS, leftAtFour),
              kBanner32 + "ERROR (line    5) - Exceeds 80 chararacters.\n" + Summary(1));
    EXPECT_EQ(HDR_GetVersion(), 0) << "the helper restores the version for the next test";
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS), kBanner32 +
                                                  "ERROR (line    1) - Exceeds 80 chararacters.\n"
                                                  "ERROR (line    5) - Exceeds 80 chararacters.\n" +
                                                  Summary(2));
}

TEST(ParseReader, IllegalCharactersAreReportedAndBlanked) {
    // Line 1 is read twice, by the version step and by the reading itself: two reports.
    std::string file = "| caf\xe9\n" + kHeader32 + "[Component] x\r\n" + "[Manufacturer] a" +
                       '\x01' + "b\n" + "[Package]" + std::string(1, '\0') + "\n" + "| lone" +
                       '\r' + "cr\n" + kPackageValuesAndPin + "[End]\r\n" + '\x1a';
    const std::string e9 =
        "ERROR (line    1) -\n"
        "    Found illegal non-7-bit ASCII character (code e9).  Converting to space.\n";
    EXPECT_EQ(
        CheckText(file, FILE_KIND_IBS),
        kBanner32 + e9 + e9 +
            "ERROR (line    6) -\n"
            "    Found illegal control character (code 1).  Converting to space.\n"
            "ERROR (line    7) - Found illegal NUL character (code 0).  Converting to space.\n"
            "ERROR (line    8) -\n"
            "    Found illegal control character (code d).  Converting to space.\n" +
            Summary(5));

    CheckOptions keep;
    keep.keepIllegalChars = true;
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS, keep), kBanner32 + "Errors  : 0\n\nFile Passed\n");
}

TEST(ParseReader, ReadersReturnOneLineAtATime) {
    CMN_LineReader reader("abcdef\r\nxy\n\nlast");
    char buffer[4];
    std::size_t length = 0;
    ASSERT_NE(CMN_ReadLine(buffer, sizeof buffer, reader, &length), nullptr);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(length, 3u);
    ASSERT_NE(CMN_ReadLine(buffer, sizeof buffer, reader), nullptr);
    EXPECT_STREQ(buffer, "xy\n");
    EXPECT_EQ(RemainingLines(reader), (std::vector<std::string>{"\n", "last"}));
    EXPECT_EQ(CMN_ReadLine(buffer, sizeof buffer, reader), nullptr);
}

TEST(ParseReader, LineEndsAndMarksAtTheEndOfTheText) {
    // The text is a view into a larger buffer (as a mapped file is): the byte after its end
    // must not count, so a CR or a Ctrl-Z on the view's last byte is judged by the end alone.
    const struct {
        std::string_view buffer;
        std::size_t viewLength;
        std::vector<std::string> lines;
        std::string messages;
    } kCases[] = {
        {"a\r\n",
         2,
         {"a "},
         "ERROR (line    7) -\n    Found illegal control character (code d).  Converting to "
         "space.\n"},
        {"a\r\n", 3, {"a\n"}, ""},
        {"a\x1a"
         "b",
         2,
         {"a"},
         ""},
        {"\x1a"
         "b",
         1,
         {},
         ""},
        {"a\x1a"
         "b",
         3,
         {"a b"},
         "ERROR (line    7) -\n    Found illegal control character (code 1a).  Converting to "
         "space.\n"},
        {"b\rc\nd",
         6,
         {"b c\n", "d"},
         "ERROR (line    7) -\n    Found illegal control character (code d).  Converting to "
         "space.\n"},
    };
    for (const auto& test : kCases) {
        std::string_view text = test.buffer.substr(0, test.viewLength);
        SCOPED_TRACE(std::string(text));
        CmnCapture capture(7);
        CMN_LineReader reader(text);
        EXPECT_EQ(RemainingLines(reader), test.lines);
        EXPECT_EQ(capture.Take(), test.messages);
    }
}

TEST(ParseReader, OverlongLinesAreCutAndStillReported) {
    // The reader keeps 1,023 characters: the NUL after them is reported without the
    // "converting" remark, and the ctrl-Z in the middle of the file is no end-of-file mark.
    std::string file = kHeader32 + "[Component] x\n|" + Line('x', 1030) + std::string(1, '\0') +
                       "\n" + '\x1a' + "| after\n" + kComponentBody + "[End]\n";
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS),
              kBanner32 +
                  "ERROR (line    5) - Found illegal NUL character (code 0).\n"
                  "ERROR (line    5) - Exceeds 80 chararacters.\n"
                  "ERROR (line    6) -\n"
                  "    Found illegal control character (code 1a).  Converting to space.\n" +
                  Summary(3));
}

TEST(ParseComments, CommentCharacterAndEndRules) {
    std::string file = kHeader32 +
                       "[Comment Char] a_char\n"    // 4: letters are not allowed
                       "[Comment Char] #char\n"     // 5: "_char" missing
                       "[comment_char] #_char x\n"  // 6: too many items, # taken all the same
                       "# a comment now\n"
                       "| data of [File Rev]\n"  // 8: no longer a comment
                       "[Component] x # cut here\n"
                       "   [COMMENT CHAR] !_char !\n"  // 10: indented, still a definition
                       "! comment\n"
                       "[End] extra ! but this is a comment\n"  // 12
                       "! a comment is fine\n"
                       "\n"
                       "more\n"      // 15
                       "[Pin]\n"     // 16
                       "  [End]\n";  // 17
    const std::string after = "Non-comment line exists after 'End' keyword.\n";
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS),
              kBanner32 +
                  "ERROR (line    4) - Invalid Comment Character 'a'.\n"
                  "ERROR (line    5) - Invalid Comment Character Definition.\n"
                  "ERROR (line    6) - Too Many Line Items For Keyword COMMENT_CHAR.\n"
                  "ERROR (line    8) - Orphan Data Line.\n"
                  "ERROR (line   10) - Keywords Must Begin In Column 1.\n"
                  // [End] closes the component, which has neither [Manufacturer] nor [Package].
                  "ERROR - Required keyword 'Manufacturer' not defined for Component 'x'.\n"
                  "ERROR - Keyword 'Package' not defined for Component 'x'.\n"
                  "ERROR (line   12) - Extraneous data on End keyword line.\n"
                  "ERROR (line   15) - " +
                  after + "ERROR (line   16) - " + after +
                  "ERROR (line   17) - Keywords Must Begin In Column 1.\n"
                  "ERROR (line   17) - " +
                  after + "ERROR - Unable to find Pin keyword data for Component 'x'.\n" +
                  Summary(13));
}

// Indented brackets are notes text inside [Notes] and misplaced keywords elsewhere.
TEST(ParseKeywords, SpellingsLookupErrorsAndUnknownData) {
    std::string file = kHeader32 +
                       "[Notes] first\n"
                       "   [Not a keyword] in notes\n"
                       "[Component] x\n"
                       "   [Manufacturer] m\n"  // 7
                       "[Pin mapping]\n"
                       "[PIN_MAPPING]\n"
                       "[pin Mapping]\n"
                       "[ Pin]\n"  // 11
                       "data\n"    // 12
                       "[Pin\n"    // 13
                       "[]\n"      // 14
                       "[" +
                       Line('A', 118) +
                       "]\n"  // 15
                       "[" +
                       Line('A', 117) +
                       "]\n"              // 16
                       "[Test Data] t\n"  // 17: an IBIS 4 keyword
                       "[End]\n";
    std::string notes;
    CheckOptions options;
    options.longLines = true;
    options.inspect = [&](IBIS* ibis) {
        const std::string* block = nullptr;
        if (HDR_GetNotes(ibis->headers.get(), &block)) notes = *block;
    };
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS, options),
              kBanner32 +
                  "ERROR (line    7) - Keywords Must Begin In Column 1.\n"
                  "ERROR (line    8) - Unable to find column headers after Pin_Mappings keyword.\n"
                  "ERROR (line    8) -\n"
                  "    Pin_Mappings keyword column count must be 3 or 5, found 1 columns.\n"
                  "ERROR (line    9) - Duplicate Pin_Mapping keyword found.\n"
                  "ERROR (line   10) - Duplicate Pin_Mapping keyword found.\n"
                  "ERROR (line   11) - Invalid Keyword: _PIN\n"
                  "ERROR (line   12) - Data for unknown keyword.\ndata\n"
                  "ERROR (line   13) - Keyword Missing Ending Bracket (']').\n"
                  "ERROR (line   14) - Invalid Keyword.\n"
                  "ERROR (line   15) - Invalid Keyword.\n"
                  "ERROR (line   16) - Invalid Keyword: " +
                  Line('A', 117) +
                  "\n"
                  "ERROR (line   17) - Invalid Keyword: TEST_DATA\n"
                  // [End] closes the component: no [Package]; and no [Pin] (line 11 is none).
                  "ERROR - Keyword 'Package' not defined for Component 'x'.\n"
                  "ERROR - Unable to find Pin keyword data for Component 'x'.\n" +
                  Summary(14));
    EXPECT_EQ(notes, "first\n   [Not a keyword] in notes");
}

TEST(ParseKeywords, TablesGrowByVersionAndContextRulesPickTheOtherCodes) {
    EXPECT_EQ(PARSE_FindKeyword("MANUFACTURER", 5), KW_MANUFACTURER);
    EXPECT_EQ(PARSE_FindKeyword("ISSO_PU", 4), NOT_KEY);
    EXPECT_EQ(PARSE_FindKeyword("ISSO_PU", 5), KW_ISSO_PU);
    const struct {
        int code, current, kind;
        bool inSubmodel;
        int version, expected;
    } rules[] = {
        {KW_MANUFACTURER, KW_DEFINE_PACKAGE_MODEL, FILE_KIND_PKG, false, 3, KW_PKG_MANUFACTURER},
        {KW_MANUFACTURER, KW_DESCRIPTION, FILE_KIND_IBS, false, 2, KW_PKG_MANUFACTURER},
        {KW_MANUFACTURER, KW_COMPONENT, FILE_KIND_IBS, false, 5, KW_MANUFACTURER},
        {KW_MANUFACTURER, KW_BEGIN_BOARD_DESCRIPTION, FILE_KIND_EBD, false, 3, KW_EBD_MANUFACTURER},
        {KW_NUMBER_OF_PINS, KW_EBD_MANUFACTURER, FILE_KIND_EBD, false, 4, KW_EBD_NUMBER_OF_PINS},
        {KW_NUMBER_OF_PINS, KW_OEM, FILE_KIND_PKG, false, 4, KW_NUMBER_OF_PINS},
        {KW_PULLDOWN, KW_SUBMODEL, FILE_KIND_IBS, true, 4, KW_SUB_PULLDOWN},
        {KW_FALLING_WAVEFORM, KW_RAMP, FILE_KIND_IBS, true, 3, KW_SUB_FALLING_WAVEFORM},
        {KW_PULLDOWN, KW_MODEL, FILE_KIND_IBS, false, 4, KW_PULLDOWN},
        // A version 2 table has none of the other codes, so the keyword keeps its own.
        {KW_NUMBER_OF_PINS, KW_OEM, FILE_KIND_EBD, false, 2, KW_NUMBER_OF_PINS},
        {KW_RAMP, KW_SUBMODEL, FILE_KIND_IBS, true, 2, KW_RAMP},
    };
    for (const auto& r : rules) {
        SCOPED_TRACE(testing::Message() << r.code << " after " << r.current << " v" << r.version);
        EXPECT_EQ(PARSE_ApplyContextRules(r.code, r.current, r.kind, r.inSubmodel, r.version),
                  r.expected);
    }
}

TEST(ParseEnd, MissingEndClosesTheOpenSectionOnce) {
    EXPECT_EQ(CheckText("[IBIS Ver] 3.2\n[File Name] test.ibs\n", FILE_KIND_IBS),
              kBanner32 +
                  "ERROR - Required keyword 'End' not found.\n"
                  "ERROR - Required keyword 'File_Rev' not found in file 'test.ibs'.\n"
                  "ERROR - Required keyword 'Component' not found.\n" +
                  Summary(3));
}

TEST(ParseBegin, KeywordsTheFileKindDoesNotAllow) {
    std::string pkg =
        "[IBIS Ver] 3.2\n[File Name] test.pkg\n[File Rev] 1.0\n"
        "[Component] x\n[Model] m\n[Begin Board Description] b\n[Define Package Model] p\n"
        "[Manufacturer] m\n[OEM] o\n[Description] d\n[Number Of Pins] 1\n[Pin Numbers]\nA1\n"
        "[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] A1\n1n\n"
        "[Capacitance Matrix] Full_matrix\n[Row] A1\n1p\n[End Model Data]\n"
        "[End Package Model]\n[Model Selector] s\n[End]\n";
    EXPECT_EQ(CheckText(pkg, FILE_KIND_PKG),
              "\nChecking test.pkg for IBIS 3.2 Compatibility...\n\n"
              "ERROR (line    4) - Illegal keyword for a '.pkg' file.\n"
              "ERROR (line    5) - Illegal keyword for a '.pkg' file.\n"
              "ERROR (line    6) - Illegal keyword for a '.pkg' file.\n"
              "ERROR (line   23) - Illegal keyword for a '.pkg' file.\n" +
                  Summary(4));

    std::string ebd =
        "[IBIS Ver] 4.0\n[File Name] test.ebd\n[File Rev] 1.0\n"
        "[Component] x\n[Define Package Model] p\n[Begin Board Description] b\n"
        "[Manufacturer] m\n[Number Of Pins] 2\n[End Board Description]\n[Test Load] t\n[End]\n";
    EXPECT_EQ(CheckText(ebd, FILE_KIND_EBD),
              "\nChecking test.ebd for IBIS 4.2 Compatibility...\n\n"
              "ERROR (line    4) - Illegal keyword for a '.ebd' file.\n"
              "ERROR (line    5) - Illegal keyword for a '.ebd' file.\n"
              "ERROR (line   10) - Illegal keyword for a '.ebd' file.\n" +
                  Summary(3));

    // Version 2 knows no board descriptions: a component in any non-.ibs file draws the .pkg
    // message, a package model begins anywhere.
    std::string ebd2 =
        "[IBIS Ver] 2.1\n[File Name] test.ebd\n[File Rev] 1.0\n"
        "[Component] x\n[Define Package Model] p\n[End]\n";
    EXPECT_EQ(CheckText(ebd2, FILE_KIND_EBD),
              "\nChecking test.ebd for IBIS 2.1 Compatibility...\n\n"
              "ERROR (line    4) - Illegal keyword for a '.pkg' file.\n"
              "ERROR - Keyword 'Manufacturer' not found or blank for Package Model 'p'.\n"
              "ERROR - OEM keyword not found for Package Model 'p'.\n"
              "ERROR - Description keyword not found for Package Model 'p'.\n"
              "ERROR - Number_of_Pins keyword not found or value bad for Package Model 'p'.\n"
              "ERROR - Required keyword Pin_Numbers not found for Package Model 'p'.\n"
              "ERROR - Required Model_Data keyword not found for package p.\n"
              "ERROR - Inductance matrix not found for Package Model 'p'.\n"
              "ERROR - Capacitance matrix not found for Package Model 'p'.\n"
              "ERROR - Required End_Model_Data keyword not found for package p.\n"
              "ERROR - Required End_Package_Model keyword not found.\n" +
                  Summary(11));

    std::string ibs = kHeader32 +
                      "| line 4\n[Begin Board Description] b\n"
                      "board data is dropped\n" +
                      CleanComponent("x") + "[End]\n";
    EXPECT_EQ(CheckText(ibs, FILE_KIND_IBS),
              kBanner32 + "ERROR (line    5) - Illegal keyword for a '.ibs' file.\n" + Summary(1));
}

TEST(ParseBegin, SecondIbisVerStartsANewHeader) {
    std::string file = kHeader32 + "[IBIS Ver] 3.2\n" + CleanComponent("x") + "[End]\n";
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS),
              kBanner32 +
                  "ERROR (line    4) - Duplicate IBIS_Ver keyword\n"
                  "ERROR (line    4) - Duplicate IBIS_Ver keyword.\n"
                  "ERROR - Required keyword 'File_name' not found in file 'test.ibs'.\n"
                  "ERROR - Required keyword 'File_Rev' not found in file 'test.ibs'.\n" +
                  Summary(4));
}

TEST(ParseBegin, UnterminatedGroupIsReportedFromVersionThreeOn) {
    CheckOptions unterminated;
    unterminated.unterminated = true;
    std::string file = kHeader32 + CleanComponent("x") + "[End]\n";
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS, unterminated),
              kBanner32 +
                  "ERROR (line    2) -\n"
                  "    Previous keyword not terminated properly. Possibly missing a \"/\"\n\n" +
                  Summary(1));

    std::string v2 =
        "[IBIS Ver] 2.1\n[File Name] test.ibs\n[File Rev] 1.0\n" + CleanComponent("x") + "[End]\n";
    EXPECT_EQ(CheckText(v2, FILE_KIND_IBS, unterminated),
              "\nChecking test.ibs for IBIS 2.1 Compatibility...\n\nErrors  : 0\n\nFile Passed\n");
}

TEST(ParseAmi, ReadsTheFileIntoOneTextAndChecksDescriptions) {
    std::string shortText = Line('d', 100);
    std::string longText = Line('d', 110);
    std::string file =
        "| a comment line\n"
        "(my_model\n"
        "\t(Description \"short\")\n"
        "  (Reserved_Parameters   | trailing comment\n"
        "     (AMI_Version (Usage Info) (Type String) (Value \"5.1\")))\n"
        "\n"
        "  ( Description \"" +
        shortText +
        "\"\n"  // 7: 116 + line feed
        "  (Description \"" +
        longText +
        "\n"  // 8: 124 + line feed
        "     " +
        Line('c', 118) +
        "\")\n"                   // 9: continues, 120 + lf
        "    (Gain (Usage In)\n"  // 10: ends the description
        "       " +
        Line('g', 130) +
        "))\n"
        ")\n";
    // The tree checks take the text after reading; the joined text is read here by itself.
    std::string text;
    {
        CmnCapture capture;
        PARSE_SetQuiet(true);
        WriteCheckFile("joined.ami", file);
        std::string path = (CheckDir() / "joined.ami").string();
        if (PARSE_File(path.c_str(), FILE_KIND_AMI)) text = PARSE_TakeAmiText();
        PARSE_SetQuiet(false);
        CMN_SetFileDirectory("");
    }
    EXPECT_EQ(CheckText(file, FILE_KIND_AMI),
              "\nChecking test.ami for IBIS 5.0 Compatibility...\n\n"
              "WARNING (line    3) - IBIS files should not contain tab characters.\n"
              "ERROR (line    8) -\n"
              "    Description line in AMI file (at line no 8) is greater than 120 characters\n"
              "ERROR (line    9) -\n"
              "    Description line in AMI file (at line no 9) is greater than 120 characters\n"
              "ERROR - Unknown parameter AMI_Version found as a child of Reserved_Parameters\n"
              "ERROR - Init_Returns_Impulse parameter is mandatory\n"
              "ERROR - GetWave_Exists parameter is mandatory\n"
              "\nErrors  : 5\nWarnings: 1\n\nFile Failed\n");
    EXPECT_EQ(text,
              "(my_model(Description \"short\")(Reserved_Parameters"
              "(AMI_Version (Usage Info) (Type String) (Value \"5.1\")))"
              "( Description \"" +
                  shortText + "\"" + "(Description \"" + longText + Line('c', 118) + "\")" +
                  "(Gain (Usage In)" + Line('g', 130) + "))" + ")");
    EXPECT_FALSE(PARSE_GetLongLines()) << "the long-lines setting is restored after the file";
}

TEST(ParseAmi, WrongExtensionAfterTheBanner) {
    CheckOptions options;
    options.fileName = "params.txt";
    EXPECT_EQ(CheckText("(x)\n", FILE_KIND_AMI, options),
              "\nChecking params.txt for IBIS 5.0 Compatibility...\n\n"
              "ERROR - File Name Requires '.ami' Extension.\n" +
                  Summary(1));
}
