#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/model_text.h"

namespace {

// Lines 1 to 14: the header, a component with pins 1 to 3 of the model "in" and pin 4 of
// model GND. The EMI text starts on line 15; an Input model and [End] follow it.
std::string EmiFile(const std::string& emi, bool manufacturer = true) {
    return std::string("[IBIS Ver] 5.0\n[File Name] test.ibs\n[File Rev] 1.0\n[Component] c\n") +
           (manufacturer ? "[Manufacturer] m\n" : "| no manufacturer\n") +
           "[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
           "[Pin] signal_name model_name\n1 s1 in\n2 s2 in\n3 s3 in\n4 gnd GND\n" +
           emi +
           "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
           "[Voltage Range] 3.3 3 3.6\n[End]\n";
}

struct EmiCase {
    const char* name;
    std::string emi;
    std::string findings;
    int errors;
    int warnings;
    bool manufacturer = true;
};

void CheckEmiCases(const std::vector<EmiCase>& cases) {
    for (const EmiCase& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CheckText(EmiFile(row.emi, row.manufacturer), FILE_KIND_IBS),
                  Output("5.0", row.findings, row.errors, row.warnings));
    }
}

const std::string kBegin = "[Begin EMI Component]\n";
const std::string kEnd = "[End EMI Component]\n";
const std::string kPinEmi = "[Pin EMI] domain_name clock_div\n";
const std::string kDomains = "[Pin Domain EMI] percentage\n";

}  // namespace

// The block's keywords, its sub-parameter lines, and how it opens and closes.
TEST(ComponentEmi, BlockAndSubParameters) {
    CheckEmiCases({
        {"complete block",
         kBegin + "Domain Digital_Analog\nCpd = 2p\nC_Heatsink_gnd =1p\n" + kPinEmi +
             "1 d1 1\n2 d2 NA\n" + kDomains + "d1 100\nd2 0.5\n" + kEnd,
         "", 0, 0},
        {"empty block", kBegin + kEnd, W(16, "Empty Emi Component block found"), 0, 1},
        {"text after the keywords",
         "[Begin EMI Component]  x\nDomain Analog\n[End EMI Component] y\n",
         E(15, "Unexpected data 'x' found after the Keyword") +
             E(17, "Unexpected data 'y' found after the Keyword"),
         2, 0},
        // A failed Domain line leaves it unset; a good one after a good one replaces it.
        {"Domain lines",
         kBegin +
             "Domain digital\nDomain = Digital\nDomain\nDomain Mixed\n"
             "Domain Analog\nDomain Digital\n" +
             kEnd,
         E(16, "Invalid Domain (\"digital\") (try \"Digital\")") +
             E(17, "Incorrect Number of Line Items (3) For Domain: Expecting 2") +
             E(18, "'Domain' Subparameter Missing Setting") + E(19, "Invalid Domain (\"Mixed\")") +
             E(21, "Domain Already Defined For EMI Component"),
         5, 0},
        // Names are exact and must stand apart from "="; a repeated value line keeps the first
        // value, and a failed one still counts as given.
        {"value lines",
         kBegin +
             "Cpd=2p\ncpd = 2p\nCpd = 2p\nCpd = 3p\nC_Heatsink_float = 1p 2p\n"
             "C_Heatsink_gnd 1p\nC_Heatsink_gnd = 1p\nCpd\n" +
             kEnd,
         E(16, "Unknown Line after [Begin EMI Component]") +
             E(17, "Unknown Line after [Begin EMI Component]") +
             E(19, "Cpd Already Defined For EMI Component") +
             E(20, "Incorrect Number of Line Items (4) For C_Heatsink_float: Expecting 3") +
             E(21,
               "C_Heatsink_gnd cannot be specified since C_Heatsink_float is already specified") +
             E(21, "Invalid C_Heatsink_gnd Line") +
             E(22,
               "C_Heatsink_gnd cannot be specified since C_Heatsink_float is already specified") +
             E(22, "C_Heatsink_gnd Already Defined For EMI Component") +
             E(23, "Cpd Already Defined For EMI Component"),
         9, 0},
        {"bad values", kBegin + "Cpd : 2p\nC_Heatsink_gnd = big\nC_Heatsink_float = 1p\n" + kEnd,
         E(16, "Invalid Cpd Line") + E(17, "Invalid C_Heatsink_gnd (\"big\")") +
             E(18,
               "C_Heatsink_float cannot be specified since C_Heatsink_gnd is already specified"),
         3, 0},
        // Inside the block only its own keywords are expected; others are still read.
        {"other keywords inside the block",
         kBegin + "Domain Analog\n[Manufacturer] m2\n" + kBegin + "Cpd = 1p\n" + kEnd,
         E(17, "Unexpected Keyword in a [Component EMI] block") +
             E(17, "Duplicate 'Manufacturer' keyword.") +
             E(18, "Unexpected Keyword in a [Component EMI] block") +
             E(18, "[Emi Component] is already defined for this Component"),
         4, 0},
        {"keywords and data outside a block",
         kPinEmi + "1 d1 1\n" + kBegin + "Domain Analog\n" + kEnd + "Domain Analog\n" + kEnd,
         E(15, "Orphan keyword line.") + E(16, "Orphan data line") + E(20, "Orphan data line") +
             E(21, "Orphan keyword line."),
         4, 0},
        // The component's end closes the block first, then runs its own closing checks.
        {"component ends inside the block", kBegin,
         E(16, "[End EMI Component] expected") + W(16, "Empty Emi Component block found") +
             E("Required keyword 'Manufacturer' not defined for Component 'c'."),
         2, 1, false},
        {"component ends after a table", kBegin + kPinEmi + "1 d1 1\n",
         E(18, "[End EMI Component] expected"), 1, 0},
    });
}

// [Pin EMI] headers and rows, [Pin Domain EMI] and its rows, and the checks after the file.
TEST(ComponentEmi, PinTables) {
    CheckEmiCases({
        {"Pin EMI headers",
         kBegin + "[Pin EMI]\n[Pin EMI] clock_div domain_name\n" +
             "[Pin EMI] DOMAIN_NAME Clock_Div extra more\n" + "[Pin EMI] domain_name\n1 d1 1\n" +
             kPinEmi + "2 d1 1\n" + kEnd,
         E(16, "Unable to find column headers after [Pin EMI] keyword.") +
             E(17, "'domain_name' column header not found or out of order.") +
             E(17, "'clock_div' column header not found or out of order.") +
             E(18, "Unexpected data 'extra' found after the Keyword") +
             E(19, "'clock_div' column header not found or out of order.") +
             E(21, "[Pin EMI]: Already defined for this EMI Component."),
         6, 0},
        // clock_div may have 5 characters; rows stay in the list in every case.
        {"Pin EMI rows",
         kBegin + kPinEmi +
             "1 d1\n2 d1 1 x\n3 GND 12345\n1 NA 123456\n2 d1 1.5n2\n"
             "3 d1 1/2\n123456 abcdefghijabcdefghijX 1\n" +
             kEnd,
         E(17, "clock_div not found") + E(18, "Unexpected data 'x' after clock_div") +
             E(19, "Illegal use of Reserved Word 'GND'.") +
             E(20, "clock_div should be at most 5 characters long") + E(20, "Duplicate Pin '1'") +
             W(21, "Suspicious clock_div Pin EMI Value (\"1.5n2\"); Numeric in Scale") +
             E(21, "Duplicate Pin '2'") + E(22, "Invalid clock_div Value (\"1/2\")") +
             E(22, "Duplicate Pin '3'") +
             E(23, "pin_name string '123456' is too long, truncating to 5 characters.") +
             E(23,
               "domain_name string 'abcdefghijabcdefghijX' is too long, truncating to 20 "
               "characters.") +
             E("Component 'c': pin_name '12345' found in [Pin EMI] section was not found in the "
               "[Pin] section"),
         11, 1},
        {"Pin Domain EMI keyword",
         kBegin + "Domain Analog\n[Pin Domain EMI]\n" + "[Pin Domain EMI] percentage x\n" +
             "[Pin Domain EMI] Percentage\n" + kEnd,
         E(17, "Expected 'percentage' parameter after keyword") +
             E(18, "[Pin Domain EMI]: Already Defined for this EMI Component") +
             E(18, "Incorrect Number of Line Items (3) For Pin Domain EMI: Expecting 2") +
             E(19, "[Pin Domain EMI]: Already Defined for this EMI Component") +
             E(19, "Unknown parameter 'Percentage': Expected 'percentage'"),
         5, 0},
        // A percentage may be exactly 100 or have 5 characters; out of range it is still kept.
        {"Pin Domain EMI rows",
         kBegin + kPinEmi + "1 a 1\n2 b 1\n3 c 1\n1 d 1\n1 e 1\n1 f 1\n" + kDomains +
             "a\nb 50 x\nb 20\nc 0\nd 100.01\ne 12.5%\nf 100\ng 1e1\n" + kEnd,
         E(20, "Duplicate Pin '1'") + E(21, "Duplicate Pin '1'") + E(21, "Duplicate Pin '1'") +
             E(22, "Duplicate Pin '1'") + E(22, "Duplicate Pin '1'") + E(22, "Duplicate Pin '1'") +
             E(24, "Incorrect Number of Line Items (1) For Pin Domain EMI: Expecting 2") +
             E(25, "Incorrect Number of Line Items (3) For Pin Domain EMI: Expecting 2") +
             E(26, "domain_name 'b' is redefined") +
             E(27, "Invalid percentage '0'. Should be greater than 0 and less than equal to 100") +
             E(28, "Invalid percentage '100.01'. Should be specified using at most 5 characters") +
             E(28,
               "Invalid percentage '100.01'. Should be greater than 0 and less than equal to "
               "100") +
             E(29, "Invalid percentage '12.5%'. Invalid Number") +
             E("Component 'c': domain_name 'g' found in [Pin Domain EMI] section was not "
               "associated with any pin_name in the [Pin EMI] section"),
         14, 0},
        {"pins against the Pin table",
         kBegin + kPinEmi + "4 d1 1\n5 d1 1\n1 d1 1\n" + kDomains + "d2 50\nd1 50\nd3 1\n" + kEnd,
         E("Component 'c': domain_name 'd2' found in [Pin Domain EMI] section was not "
           "associated with any pin_name in the [Pin EMI] section") +
             E("Component 'c': domain_name 'd3' found in [Pin Domain EMI] section was not "
               "associated with any pin_name in the [Pin EMI] section") +
             E("Component 'c': Pin '4' is of model 'GND' and cannot be referened in a [Pin EMI] "
               "section") +
             E("Component 'c': pin_name '5' found in [Pin EMI] section was not found in the [Pin] "
               "section"),
         4, 0},
    });
}
