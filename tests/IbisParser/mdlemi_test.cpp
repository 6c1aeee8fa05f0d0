#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/model_text.h"

namespace {

// An Input model (lines 5 to 10) whose EMI text starts on line 11.
std::string WithEmi(const std::string& emi) {
    return "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
           "[Voltage Range] 3.3 3 3.6\n" +
           emi;
}

const std::string kBegin = "[Begin EMI Model]\n";
const std::string kEnd = "[End EMI Model]\n";

}  // namespace

TEST(ModelEmi, KeywordAndSubParameters) {
    const ModelCase cases[] = {
        {"both sub-parameters", "5.0",
         WithEmi(kBegin + "Model_emi_type Ferrite\nDomain Digital\n" + kEnd), "", 0, 0},
        {"other values", "5.0",
         WithEmi(kBegin + "Model_emi_type Not_a_ferrite\nDomain Analog\n" + kEnd), "", 0, 0},
        // Lines that are not one of the two sub-parameters are left alone.
        {"other lines ignored", "5.0",
         WithEmi(kBegin + "Cpd 1p\ndomain Analog\nC_Heatsink_gnd = 1p\n" + kEnd), "", 0, 0},
        {"items after the keyword", "5.0", WithEmi("[Begin EMI Model] x y\n" + kEnd),
         E(11, "Incorrect Number of Line Items (3) For EMI Model: Expecting 1"), 1, 0},
        {"values spelled in another case or unknown", "5.0",
         WithEmi(kBegin + "Model_emi_type ferrite\nDomain DIGITAL\nDomain Digital_Analog\n" + kEnd),
         E(12, "Invalid Model_emi_type (\"ferrite\") (try \"Ferrite\")") +
             E(13, "Invalid Domain (\"DIGITAL\") (try \"Digital\")") +
             E(14, "Invalid Domain (\"Digital_Analog\")"),
         3, 0},
        // A repeated line clears the value and is read again; a line that fails leaves the
        // field unset, so the line after it is no repeat.
        {"repeated and malformed lines", "5.0",
         WithEmi(kBegin +
                 "Domain Analog\nDomain Digital\nDomain\nDomain = Analog\nModel_emi_type\n"
                 "Model_emi_type Ferrite x\nModel_emi_type Ferrite\n" +
                 kEnd),
         E(13, "Domain is already specified for the EMI Model") +
             E(14, "Domain is already specified for the EMI Model") +
             E(14, "'Domain' Subparameter Missing Setting") +
             E(15, "Incorrect Number of Line Items (3) For Domain: Expecting 2") +
             E(16, "'Model_emi_type' Subparameter Missing Setting") +
             E(17, "Incorrect Number of Line Items (3) For Model_emi_type: Expecting 2"),
         6, 0},
        // A second block replaces the first: its Domain is no repeat.
        {"block given twice", "5.0",
         WithEmi(kBegin + "Domain Analog\n" + kEnd + kBegin + "Domain Analog\n" + kEnd),
         E(14, "EMI Model: Already Defined for this model"), 1, 0},
        // The model reports the missing end when the component after it arrives (line 13).
        {"block without end", "5.0", WithEmi(kBegin + "Domain Analog\n"),
         E(13, "[End Emi Model] keyword expected"), 1, 0},
    };
    CheckModelCases(cases, std::size(cases));
}
