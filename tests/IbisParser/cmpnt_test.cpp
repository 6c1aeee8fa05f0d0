#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "IbisParser/acdc.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/component_text.h"
#include "tests/IbisParser/expected_output.h"
#include "tests/IbisParser/model_text.h"

namespace {

// Lines 1 to 3; the text of a case starts on line 4.
std::string Head(const char* version) {
    return std::string("[IBIS Ver] ") + version + "\n[File Name] test.ibs\n[File Rev] 1.0\n";
}

const std::string kManufacturer = "[Manufacturer] m\n";
// 4 lines.
const std::string kPackage = "[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n";
// 2 lines.
const std::string kPins = "[Pin] signal_name model_name\n1 gnd GND\n";

// A package model with the single pin "1", as a clean component has.
std::string PackageModel(const std::string& name) {
    return "[Define Package Model] " + name +
           "\n[Manufacturer] m\n[OEM] o\n[Description] d\n[Number Of Pins] 1\n[Pin Numbers]\n1\n"
           "[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] 1\n1n\n"
           "[Capacitance Matrix] Full_matrix\n[Row] 1\n1p\n[End Model Data]\n"
           "[End Package Model]\n";
}

struct Case {
    const char* name;
    const char* version;
    std::string text;  // from line 4 up to [End]
    std::string findings;
    int errors;
    int warnings;
};

void CheckCases(const std::vector<Case>& cases) {
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CheckText(Head(row.version) + row.text + "[End]\n", FILE_KIND_IBS),
                  Output(Revision(row.version), row.findings, row.errors, row.warnings));
    }
}

const std::string k41 = "abcdefghijabcdefghijabcdefghijabcdefghijX";
const std::string k40 = k41.substr(0, 40);

}  // namespace

// Where keyword and data lines go: orphans, data after single-line keywords, the order of
// [Alternate Package Models] and its end keyword, and keywords the reader does not know.
TEST(CmpntRouting, OrphansSingleLineKeywordsAndAlternateBlockOrder) {
    const std::string alternates = PackageModel("p1") + PackageModel("p2");
    CheckCases({
        {"component keyword and data before any component", "5.0",
         "[Manufacturer] m\n"  // 4
         "data\n" +            // 5
             CleanComponent(),
         E(4, "Orphan Component keyword.") + E(5, "Orphan data line keyword."), 2, 0},
        {"component data line before IBIS 3.0", "2.1",
         "[Component] c\nSi_location Pin\n" + kManufacturer + kPackage + kPins,
         E(5,
           "Data on this line appears to be for the Component keyword, which does not allow data "
           "on subsequent lines."),
         1, 0},
        {"component data line from IBIS 3.0 on is a sub-parameter line", "3.2",
         "[Component] c\nSi_location Pin\n" + kManufacturer + kPackage + kPins, "", 0, 0},
        {"no data after [Manufacturer] and [Package Model]", "5.0",
         "[Component] c\n[Manufacturer] m\nmore\n" + kPackage + kPins +  // 4 to 12
             "[Package Model] p\n"                                       // 13
             "q\n" +                                                     // 14
             PackageModel("p"),
         E(6,
           "Data on this line appears to be for the Manufacturer keyword, which does not allow "
           "data on subsequent lines.") +
             E(14,
               "Data on this line appears to be for the Package Model keyword, which does not "
               "allow data on subsequent lines."),
         2, 0},
        {"complete alternate block", "5.0",
         CleanComponent() + "[Alternate Package Models]\np1\np2\n[End Alternate Package Models]\n" +
             alternates,
         "", 0, 0},
        {"end keyword without a block", "5.0",
         CleanComponent() + "[End Alternate Package Models]\n",  // 12
         E(12, "Unexpected End Alternate Package Models keyword") +
             E(12, "Alternate Package Model has no package models defined"),
         2, 0},
        {"another component keyword inside the block", "5.0",
         "[Component] c\n[Manufacturer] m\n" + kPackage +  // 4 to 9
             "[Alternate Package Models]\np1\np2\n" +      // 10 to 12
             kPins +                                       // 13, 14
             "[End Alternate Package Models]\n" +          // 15
             alternates,
         E(13, "Expecting End Alternate Package Models keyword") +
             E(15, "Unexpected End Alternate Package Models keyword"),
         2, 0},
        {"a keyword that closes the component inside the block", "5.0",
         CleanComponent() + "[Alternate Package Models]\np1\np2\n" +  // 12 to 14
             alternates,                                              // 15
         E(15, "Expecting End Alternate Package Models keyword"), 1, 0},
        {"an unknown keyword leaves the component open", "5.0",
         "[Component] c\n[Bogus]\n" + kManufacturer + kPackage + kPins,
         E(5, "Invalid Keyword: BOGUS"), 1, 0},
        {"a closing keyword after an unknown one still closes the component", "5.0",
         "[Component] a\n[Bogus]\n" + CleanComponent("b"),
         E(5, "Invalid Keyword: BOGUS") +
             E("Required keyword 'Manufacturer' not defined for Component 'a'.") +
             E("Keyword 'Package' not defined for Component 'a'.") +
             E("Unable to find Pin keyword data for Component 'a'."),
         4, 0},
    });
    // A data line below [End Alternate Package Models] has no reader: a program-bug report that
    // names the checker's source line (shown as #). The bug alone fails the file.
    const std::string output =
        CheckText(Head("5.0") + CleanComponent() +
                      "[Alternate Package Models]\np1\np2\n[End Alternate Package Models]\n"
                      "p3\n" +  // 16
                      alternates +
                      "[End]\n",
                  FILE_KIND_IBS);
    EXPECT_EQ(std::regex_replace(output, std::regex(":[0-9]+:"), ":#:"),
              Banner("test.ibs", "5.0") +
                  "PROGRAM BUG (line   16) - cmpnt:#:Unknown keyword received data.\n\n"
                  "Bugs    : 1\nErrors  : 0\n\nFile Failed\n");
}

// [Component], [Manufacturer] and [Package Model] values, and the Si_location and
// Timing_location lines.
TEST(CmpntKeywords, NamesLimitsReservedWordsAndLocations) {
    const std::string rest = kManufacturer + kPackage + kPins;
    CheckCases({
        {"name with a blank", "5.0", "[Component] my part\n" + rest,
         W(4, "Component 'my part' contains a blank character."), 0, 1},
        {"reserved name", "5.0", "[Component] gnd\n" + rest,
         E(4, "Illegal use of Reserved Word 'gnd'."), 1, 0},
        {"name of exactly 40 characters", "5.0", "[Component] " + k40 + "\n" + rest, "", 0, 0},
        {"name of 41 characters", "5.0", "[Component] " + k41 + "\n" + rest,
         E(4, "Component string '" + k41 + "' is too long, truncating to 40 characters."), 1, 0},
        {"no name", "5.0", "[Component]\n" + rest,
         E(4, "Zero length value for keyword 'Component'."), 1, 0},
        {"second [Manufacturer]", "5.0", "[Component] c\n" + rest + "[Manufacturer] n\n",
         E(12, "Duplicate 'Manufacturer' keyword."), 1, 0},
        {"manufacturer of 41 characters", "5.0",
         "[Component] c\n[Manufacturer] " + k41 + "\n" + kPackage + kPins,
         E(5, "Manufacturer string '" + k41 + "' is too long, truncating to 40 characters."), 1, 0},
        {"reserved package model", "5.0", "[Component] c\n" + rest + "[Package Model] NC\n",
         E(12, "Illegal use of Reserved Word 'NC'.") +
             E("Unable to find Package Model 'NC' for Component 'c'"),
         2, 0},
        // A repeat keeps the first name, and the reserved-word check looks at it again.
        {"reserved package model given twice", "5.0",
         "[Component] c\n" + rest + "[Package Model] NC\n[Package Model] NC\n",
         E(12, "Illegal use of Reserved Word 'NC'.") + E(13, "Duplicate 'Package_Model' keyword.") +
             E(13, "Illegal use of Reserved Word 'NC'.") +
             E("Unable to find Package Model 'NC' for Component 'c'"),
         4, 0},
        {"package model of 41 characters", "5.0",
         "[Component] c\n" + rest + "[Package Model] " + k41 + "\n" + PackageModel(k40),
         E(12, "Package_Model string '" + k41 + "' is too long, truncating to 40 characters."), 1,
         0},
        {"location lines", "5.0",
         "[Component] c\n"
         "Si_location die\n"          // 5
         "Timing_location Top\n"      // 6
         "Si_location\n"              // 7
         "Timing_location Pin Die\n"  // 8
         "Pin_location Die\n"         // 9
         "si_location Die\n" +        // 10
             rest,
         E(5, "Invalid Si_location (\"die\") (try \"Die\")") +
             E(6, "Invalid Timing_location (\"Top\")") +
             E(7, "Si_location Already Defined For Component 'c'") +
             E(7, "'Si_location' Subparameter Missing Setting") +
             E(8, "Timing_location Already Defined For Component 'c'") +
             E(8, "Incorrect Number of Line Items (3) For Timing_location: Expecting 2") +
             E(9, "Unknown Line after Component Description") +
             E(10, "Unknown Line after Component Description"),
         8, 0},
    });
}

// What the location lines leave in the record: a valid value, "given but invalid" after a
// misspelling, and the later line's value when one is repeated.
TEST(CmpntKeywords, LocationValuesKeptInTheRecord) {
    const std::string rest = kManufacturer + kPackage + kPins;
    const std::string file = Head("5.0") + "[Component] a\nSi_location Die\nTiming_location Pin\n" +
                             rest + "[Component] b\nSi_location die\n" + rest +
                             "[Component] c\nSi_location Die\nSi_location Pin\n" + rest +
                             "[Component] d\n" + rest + "[End]\n";
    std::vector<int> locations;
    CheckOptions options;
    options.inspect = [&](IBIS* ibis) {
        for (const CMPNT* c = ibis->components.get(); c; c = c->next.get()) {
            locations.push_back(c->si_location);
            locations.push_back(c->timing_location);
        }
    };
    CheckText(file, FILE_KIND_IBS, options);
    EXPECT_EQ(locations,
              (std::vector<int>{CMPNT_LOCATION_DIE, CMPNT_LOCATION_PIN, CMPNT_LOCATION_INVALID,
                                CMPNT_LOCATION_UNSET, CMPNT_LOCATION_PIN, CMPNT_LOCATION_UNSET,
                                CMPNT_LOCATION_UNSET, CMPNT_LOCATION_UNSET}));
}

// The [Package] keyword and its R_pkg, L_pkg and C_pkg lines, and what a component must have
// when it closes.
TEST(CmpntPackage, ValueLinesAndClosingChecks) {
    const std::string start = "[Component] c\n[Manufacturer] m\n[Package]\n";  // 4 to 6
    CheckCases({
        {"names in any letter case, NA minimum and maximum", "5.0",
         start + "r_pkg 1m NA NA\nl_PKG 1n NA NA\nC_Pkg 1p NA NA\n" + kPins, "", 0, 0},
        {"indented line is still read", "5.0",
         start + "R_pkg 1m NA NA\n  L_pkg 1n NA NA\nC_pkg 1p NA NA\n" + kPins,
         E(8, "Package sub-parameters must start in column 1."), 1, 0},
        {"three or five columns", "5.0",
         start + "R_pkg 1m NA\nR_pkg 1m NA NA x\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n" +
             kPins,
         E(7, "Expected 4 columns in Package sub-parameter line, found 3 columns.") +
             E(8, "Expected 4 columns in Package sub-parameter line, found 5 columns."),
         2, 0},
        {"each value twice", "5.0",
         start +
             "R_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
             "R_pkg 2m NA NA\nL_pkg 2n NA NA\nC_PKG 2p NA NA\n" +
             kPins,
         E(10, "Duplicate R_pkg sub-parameter.") + E(11, "Duplicate L_pkg sub-parameter.") +
             E(12, "Duplicate C_pkg sub-parameter."),
         3, 0},
        {"unknown name", "5.0",
         start + "X_pkg 1 2 3\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n" + kPins,
         E(7, "Unknown Package subparameter."), 1, 0},
        {"unreadable value drops the line", "5.0",
         start + "R_pkg 1% NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n" + kPins,
         E(7, "Invalid Typical Value (\"1%\")") +
             E(7, "Unable to parse data for Package subparameter 'R_pkg'.") +
             E("Component 'c': Required sub-parameter R_pkg not found."),
         3, 0},
        {"NA typical value", "5.0",
         start + "R_pkg NA 1m 2m\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n" + kPins,
         E(7, "The typical column must be specified."), 1, 0},
        {"data after [Package]", "5.0",
         "[Component] c\n[Manufacturer] m\n[Package] x\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
         "C_pkg 1p NA NA\n" +
             kPins,
         E(6, "Unknown data after Package keyword."), 1, 0},
        {"second [Package]", "5.0",
         "[Component] c\n[Manufacturer] m\n" + kPackage + "[Package]\n" + kPins,
         E(10, "Duplicate Package keyword."), 1, 0},
        {"only R_pkg and C_pkg", "5.0",
         start + "R_pkg 1m NA NA\nC_pkg 1p NA NA\n" + kPins + "[Component] d\n" + kManufacturer +
             kPackage + kPins,
         E("Component 'c': Required sub-parameter L_pkg not found."), 1, 0},
        {"empty [Package]", "5.0", start + kPins,
         E("Component 'c': Required sub-parameter R_pkg not found.") +
             E("Component 'c': Required sub-parameter L_pkg not found.") +
             E("Component 'c': Required sub-parameter C_pkg not found."),
         3, 0},
        {"neither [Manufacturer] nor [Package], closed by the next component", "5.0",
         "[Component] c\n" + kPins +       // 4 to 6
             "[Component] d\n"             // 7
             "[Manufacturer] m\nmore\n" +  // 8, 9
             kPackage +
             kPins,
         E("Required keyword 'Manufacturer' not defined for Component 'c'.") +
             E("Keyword 'Package' not defined for Component 'c'.") +
             E(9,
               "Data on this line appears to be for the Manufacturer keyword, which does not "
               "allow data on subsequent lines."),
         3, 0},
    });
}

// A second line of a value is dropped: the first values stay.
TEST(CmpntPackage, FirstValuesKept) {
    const std::string file = Head("5.0") +
                             "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 0.5 2\n"
                             "R_pkg 3 3 3\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n" +
                             kPins + "[End]\n";
    RNG kept{};
    CheckOptions options;
    options.inspect = [&](IBIS* ibis) {
        const CMPNT* c = ibis->components.get();
        ASSERT_NE(c, nullptr);
        ASSERT_NE(c->package, nullptr);
        ASSERT_NE(c->package->R_pkg, nullptr);
        kept = *c->package->R_pkg;
    };
    CheckText(file, FILE_KIND_IBS, options);
    EXPECT_EQ(kept.typ, 1.0);
    EXPECT_EQ(kept.min, 0.5);
    EXPECT_EQ(kept.max, 2.0);
}

// [Alternate Package Models] names and [End Alternate Package Models].
TEST(CmpntAlternatePackages, NamesAndEndChecks) {
    const std::string block = "[Alternate Package Models]\n";  // line 12 after a clean component
    const std::string end = "[End Alternate Package Models]\n";
    CheckCases({
        {"data after either keyword", "5.0",
         CleanComponent() +
             "[Alternate Package Models] x\np1\np2\n[End Alternate Package Models] "
             "y\n" +
             PackageModel("p1") + PackageModel("p2"),
         E(12, "Unknown data after [Alternate Package Models] keyword.") +
             E(15, "Unknown data after [End Alternate Package Models] keyword."),
         2, 0},
        {"one name", "5.0", CleanComponent() + block + "p1\n" + end + PackageModel("p1"),
         W(14, "Alternate Package Model has only one package model defined"), 0, 1},
        {"a name twice is kept twice", "5.0",
         CleanComponent() + block + "p1\np1\n" + end + PackageModel("p1"),
         E(14, "Package Model Name Previously Defined (\"p1\")"), 1, 0},
        {"names of 40 and 41 characters", "5.0",
         CleanComponent() + block + k40 + "\n" + k41 + "\n" + end + PackageModel(k40),
         E(14, "Invalid Package Model name: '" + k41 + "' is too long.") +
             E(14, "Package Model Name Previously Defined (\"" + k40 + "\")"),
         2, 0},
        {"second keyword adds to the first list", "5.0",
         CleanComponent() + block + "p1\np2\n" + end + block + "p3\n" + end + PackageModel("p1") +
             PackageModel("p2"),
         E(16, "Duplicate [Alternate Package Models] keyword.") +
             E("Unable to find Package Model 'p3' for Component 'c'"),
         2, 0},
    });
}

// After the whole file: duplicate names pair by pair, then each component in file order: its
// package model, its pins, its differential-model pins and its alternate package models.
TEST(CmpntAfterFile, DuplicatesPackageModelsPinsAndDifferentialModels) {
    const std::string a = "Component 'a' is duplicated within the .ibs file.";
    const std::string b = "Component 'b' is duplicated within the .ibs file.";
    const std::string inputDiff =
        "Model_type Input_diff\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n";
    CheckCases({
        {"two equal names", "5.0", CleanComponent("a") + CleanComponent("a"), E(a), 1, 0},
        {"three equal names: one report per pair", "5.0",
         CleanComponent("a") + CleanComponent("a") + CleanComponent("a"), E(a) + E(a) + E(a), 3, 0},
        {"pairs in the order of their first component", "5.0",
         CleanComponent("a") + CleanComponent("b") + CleanComponent("a") + CleanComponent("b") +
             CleanComponent("a") + CleanComponent("A"),
         E(a) + E(a) + E(b) + E(a), 4, 0},
        {"package model, pins, alternates in that order", "5.0",
         "[Component] c\n" + kManufacturer + kPackage +
             "[Package Model] q\n[Alternate Package Models]\nr\ns\n"
             "[End Alternate Package Models]\n",
         E("Unable to find Package Model 'q' for Component 'c'") +
             E("Unable to find Pin keyword data for Component 'c'.") +
             E("Unable to find Package Model 'r' for Component 'c'") +
             E("Unable to find Package Model 's' for Component 'c'"),
         4, 0},
        {"package models found", "5.0",
         CleanComponent() +
             "[Package Model] q\n[Alternate Package Models]\nq\nr\n"
             "[End Alternate Package Models]\n" +
             PackageModel("q") + PackageModel("r"),
         "", 0, 0},
        {"differential models without [External Model] or [Diff Pin]", "5.0",
         CleanComponent("c", "1 s1 ext\n2 s2 plain\n3 s3 ext\n") + "[Model] ext\n" + inputDiff +
             "[External Model]\nLanguage SPICE\nCorner Typ a.sp a\n[End External Model]\n"
             "[Model] plain\n" +
             inputDiff,
         E("Component <c> pin <1> model <ext> type <Input_diff> using [External Model] without "
           "corresponding [Diff_Pin]") +
             E("TBD: Put this in model check, *_DIFF without external model") +
             E("Component <c> pin <2> model <plain> type <Input_diff> using [External Model] "
               "without corresponding [Diff_Pin]") +
             E("Component <c> pin <3> model <ext> type <Input_diff> using [External Model] "
               "without corresponding [Diff_Pin]"),
         4, 0},
    });
}

// Package values outside their ranges, at exactly the bounds and just past them, and minimum
// above maximum; none of it while range checking is off.
TEST(CmpntRanges, PackageValuesAtAndPastTheirBounds) {
    const auto values = [](const std::string& r, const std::string& l, const std::string& c) {
        return "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg " + r + "\nL_pkg " + l +
               "\nC_pkg " + c + "\n" + kPins;
    };
    const auto r = [](const char* column, const char* value) {
        return W(std::string("CMPT 'c': Rpkg ") + column + " value " + value +
                 " Ohms not within expected range (0 Ohms, 50 Ohms)");
    };
    const auto l = [](const char* column, const char* value) {
        return W(std::string("CMPT 'c': Lpkg ") + column + " value " + value +
                 "nH not within expected range (0nH, 1000nH)");
    };
    const auto c = [](const char* column, const char* value) {
        return W(std::string("CMPT 'c': Cpkg ") + column + " value " + value +
                 "pF not within expected range (0pF, 1000pF)");
    };
    CheckCases({
        {"exactly the bounds", "5.0", values("50 0 50", "1000nH 0 1000n", "1000pF 0 1n"), "", 0, 0},
        {"the upper bounds in base units", "5.0", values("50 50 50", "1u 1u 1u", "1n 1n 1n"), "", 0,
         0},
        {"just past the bounds", "5.0",
         values("50.01 -1m 50.01", "1001n -1n 1001n", "1001p -1p 1001p"),
         r("TYP", "50.01") + r("MIN", "-0.001") + r("MAX", "50.01") + l("TYP", "1001") +
             l("MIN", "-1") + l("MAX", "1001") + c("TYP", "1001") + c("MIN", "-1") +
             c("MAX", "1001"),
         0, 9},
        {"minimum above maximum", "5.0", values("1 2 0.5", "2.5n 3n 2n", "1p 1.5p 0.5p"),
         W("CMPT 'c': Rpkg Max value < Min value") + W("CMPT 'c': Lpkg Max value < Min value") +
             W("CMPT 'c': Cpkg Max value < Min value"),
         0, 3},
        {"NA and equal minimum and maximum", "5.0", values("60 NA NA", "1n 1n 1n", "1p NA 1p"),
         r("TYP", "60"), 0, 1},
    });

    ACDC_SetRangeChecks(false);
    CheckCases({{"range checks off", "5.0", values("60 70 -1", "2u 3u 1u", "2n 1n 3n"), "", 0, 0}});
    ACDC_SetRangeChecks(true);
}
