#include <gtest/gtest.h>

#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/component_text.h"
#include "tests/IbisParser/expected_output.h"

namespace {

// Lines 1 to 3 of every file below.
std::string Head(const char* version, const char* fileName) {
    return std::string("[IBIS Ver] ") + version + "\n[File Name] " + fileName +
           "\n[File Rev] 1.0\n";
}

// The keywords every matrix model needs, from line 4: name, manufacturer, OEM, description.
const std::string kNamed =
    "[Define Package Model] QFP2\n[Manufacturer] Acme\n[OEM] Acme\n[Description] two pins\n";

// Lines 8 on: two pins A1 and A2 with full inductance and capacitance matrices, to the end of
// the model (line 23).
const std::string kTwoPinBody =
    "[Number Of Pins] 2\n[Pin Numbers]\nA1\nA2\n[Model Data]\n"
    "[Inductance Matrix] Full_matrix\n[Row] A1\n1n 0.1n\n[Row] A2\n1n\n"
    "[Capacitance Matrix] Full_matrix\n[Row] A1\n1p 0.1p\n[Row] A2\n1p\n"
    "[End Model Data]\n[End Package Model]\n";

std::string Line(const char* level, int line, const std::string& text) {
    char head[32];
    std::snprintf(head, sizeof head, "%s (line %4d) - ", level, line);
    return head + text + "\n";
}
std::string E(int line, const std::string& text) { return Line("ERROR", line, text); }
std::string W(int line, const std::string& text) { return Line("WARNING", line, text); }
// A message long enough to go on a line of its own after its head.
std::string Wrapped(const char* level, int line, const std::string& text) {
    char head[32];
    std::snprintf(head, sizeof head, "%s (line %4d) -\n    ", level, line);
    return head + text + "\n";
}
std::string EWrapped(int line, const std::string& text) { return Wrapped("ERROR", line, text); }
std::string WWrapped(int line, const std::string& text) { return Wrapped("WARNING", line, text); }
std::string E0(const std::string& text) { return "ERROR - " + text + "\n"; }

struct Case {
    const char* what;
    std::string text;  // the whole file
    std::string findings;
    int errors;
    int warnings = 0;
};

void ExpectOutputs(const Case* begin, const Case* end, int kind, const char* fileName,
                   const char* revision) {
    for (const Case* row = begin; row != end; ++row) {
        SCOPED_TRACE(row->what);
        CheckOptions options;
        options.fileName = fileName;
        std::string expected = Banner(fileName, revision) +
                               (row->errors == 0 && row->warnings == 0 && row->findings.empty()
                                    ? kPassed
                                    : row->findings + Summary(row->errors, row->warnings));
        EXPECT_EQ(CheckText(row->text, kind, options), expected);
    }
}

}  // namespace

// The keywords of a package model, each with its value rules, in a .pkg file.
TEST(PkgmdlKeywords, ValuesDuplicatesAndOrphans) {
    const std::string h = Head("3.2", "test.pkg");
    const Case cases[] = {
        {"a complete model", h + kNamed + kTwoPinBody + "[End]\n", "", 0},
        {"a keyword given twice", h + kNamed + "[OEM] Other\n" + kTwoPinBody + "[End]\n",
         E(8, "Duplicate 'OEM' keyword."), 1},
        {"names and texts cut at their limits",
         h + "[Define Package Model] " + std::string(41, 'p') + "\n[Manufacturer] " +
             std::string(40, 'm') + "\n[OEM] gnd\n[Description] " + std::string(61, 'd') + "\n" +
             kTwoPinBody + "[End]\n",
         E(4, "Define Package Model string '" + std::string(41, 'p') +
                  "' is too long, truncating to 40 characters.") +
             E(7, "Description string '" + std::string(61, 'd') +
                      "' is too long, truncating to 60 characters."),
         2},
        {"a reserved model name",
         h + "[Define Package Model] NC\n[Manufacturer] Acme\n[OEM] A\n" + "[Description] d\n" +
             kTwoPinBody + "[End]\n",
         E(4, "Illegal use of Reserved Word 'NC'."), 1},
        {"pin count: blank, bad, suspicious, zero and twice",
         h + kNamed +
             "[Number Of Pins]\n[Number Of Pins] x2\n[Number Of Pins] 2x\n"
             "[Number Of Pins] 3\n[Pin Numbers]\nA1\nA2\n[Model Data]\n"
             "[Inductance Matrix] Sparse_matrix\n[Row] A1\nA1 1n\n[Row] A2\nA2 1n\n"
             "[Capacitance Matrix] Sparse_matrix\n[Row] A1\nA1 1p\n[Row] A2\nA2 1p\n"
             "[End Model Data]\n[End Package Model]\n[End]\n",
         E(8, "Blank Number_of_Pins value.") + E(9, "Bad Number_of_Pins value.") +
             W(10, "Suspicious Number_of_Pins value.") + E(11, "Duplicate Number_of_Pins keyword."),
         3, 1},
        {"zero pins, then a pin name",
         h + kNamed +
             "[Number Of Pins] 0\n[Pin Numbers]\nA1\n[Model Data]\n"
             "[Inductance Matrix] Full_matrix\n[Capacitance Matrix] Full_matrix\n"
             "[End Model Data]\n[End Package Model]\n[End]\n",
         E(8, "Number_of_Pins = 0.") + E(10, "Number of Pins is zero, unable to add Pin Number.") +
             E0("Number_of_Pins keyword not found or value bad for Package Model 'QFP2'."),
         3},
        {"extraneous text, repeated keywords and orphan keywords",
         h + "[Pin Numbers]\nA1\n" + kNamed +
             "[Number Of Pins] 2\n[Pin Numbers] A1\nA1\nA2\n[Pin Numbers]\n[Model Data] now\n"
             "[Inductance Matrix] Full_matrix\n[Row] A1\n1n 0.1n\n[Row] A2\n1n\n"
             "[Capacitance Matrix] Full_matrix\n[Row] A1\n1p 0.1p\n[Row] A2\n1p\n"
             "[End Model Data]\n[End Model Data]\n[End Package Model] x\n"
             "[End Package Model]\n[End]\n",
         E(4, "Orphan Package Model keyword.") + E(5, "Orphan Data Line.") +
             E(11, "Extraneous data on 'Pin_Numbers' line.") +
             E(14, "Duplicate 'Pin_Numbers' keyword found.") +
             E(15, "Extraneous data on 'Model_Data' line.") +
             E(27, "Duplicate 'End_Model_Data' keyword found.") +
             E(28, "Extraneous data on 'End_Package_Model' line.") +
             E(29, "Duplicate 'End_Package_Model' keyword found."),
         8},
        {"data under a keyword that takes none",
         h + kNamed +
             "stray\n[Number Of Pins] 2\n[Pin Numbers]\nA1\nA2\n[Model Data]\nstray\n"
             "[Inductance Matrix] Full_matrix\n[Row] A1\n1n 0.1n\n[Row] A2\n1n\n"
             "[Capacitance Matrix] Full_matrix\n[Row] A1\n1p 0.1p\n[Row] A2\n1p\n"
             "[End Model Data]\n[End Package Model]\n[End]\n",
         E(8, "Orphan Data line.") + E(14, "Orphan Data line."), 2},
    };
    ExpectOutputs(std::begin(cases), std::end(cases), FILE_KIND_PKG, "test.pkg", "3.2");
}

// Pin names: the count against [Number Of Pins], the 5-character limit, duplicates.
TEST(PkgmdlPins, CountLengthAndDuplicates) {
    const std::string h = Head("3.2", "test.pkg");
    auto model = [&](const std::string& pins, int pinCount) {
        return h + kNamed + "[Number Of Pins] " + std::to_string(pinCount) + "\n[Pin Numbers]\n" +
               pins +
               "[Model Data]\n[Inductance Matrix] Full_matrix\n"
               "[Capacitance Matrix] Full_matrix\n[End Model Data]\n[End Package Model]\n[End]\n";
    };
    // The matrices have no rows: 3717 for each at its end (lines 13 + pins and 14 + pins).
    auto noRows = [](int firstEnd, int pins) {
        std::string rows = std::to_string(pins);
        return EWrapped(firstEnd, "Expected " + rows +
                                      " Rows, found 0 for Matrix ending previous to this line.") +
               EWrapped(
                   firstEnd + 1,
                   "Expected " + rows + " Rows, found 0 for Matrix ending previous to this line.");
    };
    const Case cases[] = {
        {"one name too many: dropped, the count matches", model("A1\nA2\nA3\n", 2),
         E(12, "More Pin Numbers names than Number of pins.") + noRows(15, 2), 3},
        {"one name missing", model("A1\n", 2),
         noRows(13, 2) + E0("Number of Pins <2> not the same as count of Pin Numbers names "
                            "found <1> for Package Model 'QFP2'."),
         3},
        {"a name of exactly 5 characters, one of 7 cut to 5, a duplicate",
         model("ABCDE\nABCDEFG\nABCDE\n", 3),
         E(11, "Pin Numbers name string too long. will be truncated.") +
             E(11, "Duplicate Pin <ABCDE>.") + E(12, "Duplicate Pin <ABCDE>.") + noRows(15, 3),
         5},
        {"no [Pin Numbers] at all",
         h + kNamed +
             "[Number Of Pins] 2\n[Model Data]\n[Inductance Matrix] Full_matrix\n"
             "[Capacitance Matrix] Full_matrix\n[End Model Data]\n[End Package Model]\n[End]\n",
         noRows(11, 2) + E0("Required keyword Pin_Numbers not found for Package Model 'QFP2'."), 3},
        {"[Pin Numbers] with no names", model("", 2),
         noRows(12, 2) + E0("No Pin Numbers names found for Package Model 'QFP2'."), 3},
    };
    ExpectOutputs(std::begin(cases), std::end(cases), FILE_KIND_PKG, "test.pkg", "3.2");
}

// The checks when a model closes, in their order, without line numbers.
TEST(PkgmdlClose, RequiredKeywordsInOrder) {
    const std::string h = Head("3.2", "test.pkg");
    const Case cases[] = {
        {"a bare [Define Package Model] closed by [End]", h + "[Define Package Model]\n[End]\n",
         E(4, "Zero length value for keyword 'Define Package Model'.") +
             E0("Package Model keyword 'Define_Package_Model' not found or blank.") +
             E0("Keyword 'Manufacturer' not found or blank for Package Model ''.") +
             E0("OEM keyword not found for Package Model ''.") +
             E0("Description keyword not found for Package Model ''.") +
             E0("Number_of_Pins keyword not found or value bad for Package Model ''.") +
             E0("Required keyword Pin_Numbers not found for Package Model ''.") +
             E0("Required Model_Data keyword not found for package .") +
             E0("Inductance matrix not found for Package Model ''.") +
             E0("Capacitance matrix not found for Package Model ''.") +
             E0("Required End_Model_Data keyword not found for package .") +
             E0("Required End_Package_Model keyword not found."),
         12},
        {"the next [Define Package Model] closes the first",
         h + kNamed + "[Number Of Pins] 2\n[Pin Numbers]\nA1\nA2\n" + kNamed + kTwoPinBody +
             "[End]\n",
         E0("Required Model_Data keyword not found for package QFP2.") +
             E0("Inductance matrix not found for Package Model 'QFP2'.") +
             E0("Capacitance matrix not found for Package Model 'QFP2'.") +
             E0("Required End_Model_Data keyword not found for package QFP2.") +
             E0("Required End_Package_Model keyword not found."),
         5},
        {"a resistance matrix is optional, a banded one needs [Bandwidth]",
         h + kNamed +
             "[Number Of Pins] 2\n[Pin Numbers]\nA1\nA2\n[Model Data]\n"
             "[Resistance Matrix] Banded_matrix\n[Row] A1\n1\n[Row] A2\n1\n"
             "[Inductance Matrix] Banded_matrix\n[Bandwidth] 1\n[Row] A1\n1n 0.1n\n[Row] A2\n1n\n"
             "[Capacitance Matrix] Full_matrix\n[Row] A1\n1p 0.1p\n[Row] A2\n1p\n"
             "[End Model Data]\n[End Package Model]\n[End]\n",
         E0("The Resistance Matrix is Banded and requires the 'Bandwidth' keyword."), 1},
    };
    ExpectOutputs(std::begin(cases), std::end(cases), FILE_KIND_PKG, "test.pkg", "3.2");
}

// In an .ibs file every pair of models with the same name is reported after the whole file.
TEST(PkgmdlDuplicates, EachPairOfEqualNames) {
    const std::string model = kNamed + kTwoPinBody;
    const std::string other =
        "[Define Package Model] Other\n[Manufacturer] Acme\n[OEM] Acme\n[Description] d\n" +
        kTwoPinBody;
    const Case cases[] = {
        {"distinct names", Head("3.2", "test.ibs") + CleanComponent() + model + other + "[End]\n",
         "", 0},
        {"twice", Head("3.2", "test.ibs") + CleanComponent() + model + other + model + "[End]\n",
         E0("Define_Package_Model 'QFP2' is duplicated within the .ibs file."), 1},
        {"three times: one report per pair",
         Head("3.2", "test.ibs") + CleanComponent() + model + model + other + model + "[End]\n",
         E0("Define_Package_Model 'QFP2' is duplicated within the .ibs file.") +
             E0("Define_Package_Model 'QFP2' is duplicated within the .ibs file.") +
             E0("Define_Package_Model 'QFP2' is duplicated within the .ibs file."),
         3},
    };
    ExpectOutputs(std::begin(cases), std::end(cases), FILE_KIND_IBS, "test.ibs", "3.2");
}

// Sections mode: pin lines with R/L/C sections, continuation lines and forks.
TEST(PkgmdlSections, PinLinesForksAndSectionItems) {
    const std::string h = Head("3.2", "test.pkg") + kNamed;
    auto model = [&](int sections, int pins, const std::string& lines) {
        return h + "[Number Of Sections] " + std::to_string(sections) + "\n[Number Of Pins] " +
               std::to_string(pins) + "\n[Pin Numbers]\n" + lines + "[End Package Model]\n[End]\n";
    };
    const Case cases[] = {
        {"sections in a row and in a fork branch all count",
         model(2, 2,
               "A1 Len=0 R=0.1 / Len=1 L=1n C=1p /\nA2 Len=0 R=0.1 /\nFork\n"
               "Len=1 L=1n C=1p /\nLen=1 L=1n C=1p /\nEndfork\n"),
         E0("Pin 'A2' has 3 sections. This is greater than the Number of Sections 2 specified"), 1},
        {"[Number Of Sections] 0: sections mode all the same",
         model(0, 1, "A1 Len=0 R=1 /\n[Inductance Matrix] Full_matrix\n[Row] A1\n1n\n"),
         E(8, "Number_of_Sections = 0.") +
             E0("Pin 'A1' has 1 sections. This is greater than the Number of Sections 0 "
                "specified") +
             E0("Inductance_Matrix cannot be specified when Number_Of_Sections is specified for "
                "Package Model QFP2."),
         3},
        {"item order, duplicates, signs, empty and unterminated sections",
         model(9, 4,
               "A1 Len=1 R=1 /\nLen=0 R=1 R=2 /\nLen=-1 Len=0 C=-1p L=-1n /\nLen=0 /\n"
               "Len=0 L=1n C=1p L=2n C=2p /\nLen = 0 R=1 /\nA2 R=1 L=1n C=1p /\nA3 /\n"
               "A4 Len=1 L=1n C=1p\n"),
         E(11, " L and C must be specified when Len != 0") +
             E(12, "Duplicate R sub param in R/L/C section") +
             E(13, "Len should not be less than zero") +
             E(13, "Duplicate Len sub param in R/L/C section") +
             E(13, "C should not be less than zero") + E(13, "L should not be less than zero") +
             E(15, "Duplicate L sub param in R/L/C section") +
             E(15, "Duplicate C sub param in R/L/C section") +
             E(17, "Len should be specified before R") + E(17, "Len should be specified before L") +
             E(17, "Len should be specified before C") + E(18, "Empty R/L/C section found") +
             E(19, "Premature end of R/L/C section. Trailing '/' missing") +
             E(19,
               "No Sections were defined for this pin even though [Number of Sections] was "
               "defined."),
         14},
        {"forks and continuations out of place",
         model(9, 2,
               "Fork\nEndfork\nLen=1 L=1n C=1p /\nA1 Len=0 R=1 /\nEndfork\nFork\nFork\nEndfork\n"
               "A2 Len=0 R=1 /\nFork\nLen=0 R=1 /\n"),
         E(11, "Detected the start of an orphan 'Fork'") +
             E(12, "Detected the start of an orphan 'Endfork'") +
             E(13, "Detected the start of an orphan R/L/C section") +
             E(15, "Endfork found without enclosing Fork") + E(17, "Cannot Nest Forks") +
             E(18, "Empty Fork/Endfork found") +
             E(19,
               "A new Pin A2 has been defined before terminating a previous Fork with the "
               "corresponding Endfork") +
             E0("Some Fork sub parameters were not terminated with Endfork"),
         8},
        {"pin names that look like a slip",
         model(9, 4, "A=1 Len=0 R=1 /\nA/2 Len=0 R=1 /\nLen Len=0 R=1 /\nABCDEFG Len=0 R=1 /\n"),
         WWrapped(11, "Found a Pin Name 'A=1' containing '='. Possible syntax error") +
             WWrapped(12, "Found a Pin Name 'A/2' containing '/'. Possible syntax error") +
             W(13, "Found a Pin Name 'Len'. Possible syntax error") +
             E(14, "Pin Numbers name string too long. will be truncated."),
         1, 3},
        {"[Number Of Sections] values, and after the pin names",
         h + "[Number Of Pins] 1\n[Pin Numbers]\nA1\n[Number Of Sections]\n"
             "[Number Of Sections] x\n[Number Of Sections] 2x\n[Number Of Sections] 3\n"
             "[End Package Model]\n[End]\n",
         E(11, "Blank Number_of_Sections value.") +
             E(12, "Number of Sections should be specified before Pin Numbers") +
             E(12, "Bad Number_of_Sections value.") +
             E(13, "Number of Sections should be specified before Pin Numbers") +
             W(13, "Suspicious Number_of_Sections value.") +
             E(14, "Duplicate Number_of_Sections keyword."),
         5, 1},
    };
    ExpectOutputs(std::begin(cases), std::end(cases), FILE_KIND_PKG, "test.pkg", "3.2");
}
