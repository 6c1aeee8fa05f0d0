#include <gtest/gtest.h>

#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/model_text.h"

namespace {

// A clean Input model, lines 5 to 10.
const std::string kInput =
    "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
    "[Voltage Range] 3.3 3 3.6\n";
// A clean Output model, 8 lines.
const std::string kOutput =
    "[Model] out\nModel_type Output\nC_comp 1p 1p 1p\nVmeas = 1.5\n[Voltage Range] 3.3 3 3.6\n"
    "[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n";

// The Input model, then "[Test Load] <name>" on line 11 and its lines from line 12.
std::string Load(const std::string& lines, const std::string& name = "l") {
    return kInput + "[Test Load] " + name + "\n" + lines;
}

// A single-ended test load whose receiver is the Input model: no finding of its own.
const std::string kClean = "Test_load_type Single_ended\nReceiver_model in\n";

const std::string kName109(109, 'a');
const std::string kTooLong = "Exceeds 120 chararacters.";

std::string TypeNotDefined(const std::string& load) {
    return E("Test Load '" + load + "': Test_load_type Not Defined");
}

}  // namespace

TEST(TestLoad, NameAndSubParameterLines) {
    const ModelCase cases[] = {
        {"clean single-ended load", "5.0", Load(kClean), "", 0, 0},
        {"every element, both terminations", "4.0",
         Load(kClean +
              "C1_near = 1p\nRs_near = 10\nLs_near = 1n\nC2_near = 1p\nRp1_near = 50\n"
              "Rp2_near = 50\nTd = 1n\nZo = 50\nRp1_far = 50\nRp2_far = 50\nC2_far = 1p\n"
              "Ls_far = 1n\nRs_far = 10\nC1_far = 1p\nV_term1 1.2 1.1 1.3\nV_term2 0 NA NA\n"),
         "", 0, 0},
        // The name is at most 109 characters; a longer one is cut and not compared. Lines with
        // such names are over the line length limit too.
        {"name rules", "5.0",
         Load(kClean, kName109) + "[Test Load] " + kName109 + "a\n" + kClean + "[Test Load] " +
             kName109 + "\n" + kClean + "[Test Load]\n" + kClean + "[Test Load] gnd\n" + kClean +
             "[Test Load] x y\n" + kClean,
         E(11, kTooLong) + E(14, kTooLong) + E(14, "Test Load Name Over 109 Characters Long") +
             E(17, kTooLong) + E(17, "TestLoad Name Previously Defined (\"" + kName109 + "\")") +
             E(20, "'Test Load' Keyword Missing name") +
             E(23, "Invalid Test Load Name (\"gnd\"); Reserved Word.") +
             E(26, "Incorrect Number of Line Items (2) For Keyword Test Load: Expecting 1"),
         8, 0},
        {"Test_load_type lines", "5.0",
         Load("Test_load_type\nReceiver_model in\n") +
             "[Test Load] b\nTest_load_type = Single_ended\nReceiver_model in\n"
             "[Test Load] c\nTest_load_type Single_ended x\nReceiver_model in\n"
             "[Test Load] d\nTest_load_type single_ended\nReceiver_model in\n"
             "[Test Load] e\nTest_load_type Diff\nReceiver_model in\n"
             "[Test Load] f\nTest_load_type Differential\nTest_load_type Single_ended\n"
             "Receiver_model in\n",
         E(12, "'Test_load_type' Subparameter Missing Setting") + TypeNotDefined("l") +
             E(15, "Invalid Test_load_type Line") + TypeNotDefined("b") +
             E(18, "Incorrect Number of Line Items (3) For Test_load_type: Expecting 2") +
             TypeNotDefined("c") +
             E(21, "Invalid Test_load_type (\"single_ended\") (try \"Single_ended\")") +
             E(24, "Invalid Test_load_type (\"Diff\")") +
             E(28, "Test_load_type Already Defined For Test Load 'f'"),
         9, 0},
        // A malformed element line still makes its element given.
        {"element lines", "5.0",
         Load(kClean + "c1_near = 1p\nC1_near 1p\nC1_near = 2p\nRs_near : 10\nLs_near = 1n 2n\n"
                       "C2_near = x\nC1_far =\nTd = 1n5\nZo = 50Ohm\n"),
         E(14, "Unknown Line Among Test Load") + E(15, "Invalid C1_near Line") +
             E(16, "C1_near Already Defined For Test Load") + E(17, "Invalid Rs_near Line") +
             E(18, "Incorrect Number of Line Items (4) For Ls_near: Expecting 3") +
             E(19, "Invalid C2_near Value (\"x\")") + E(20, "Invalid C1_far Line"),
         7, 0},
        {"termination voltages", "5.0",
         Load(kClean + "V_term1 NA 0 1.2\nV_term1 1 1 1\nV_term2 1.2\n"),
         E(14, "'NA' Not Allowed For Typical Value") +
             E(15, "V_term1 Already Defined For Test Load 'l'") +
             E(16, "No minimum Value Was Provided for V_term2") +
             E(16, "No maximum Value Was Provided for V_term2"),
         4, 0},
        // Model names are at most 40 characters in version 4 and later files.
        {"receiver model lines", "5.0",
         Load("Test_load_type Single_ended\nReceiver_model\nReceiver_model in x\n"
              "Receiver_model in\nReceiver_model out\n") +
             "[Test Load] b\nTest_load_type Single_ended\nReceiver_model NA\n"
             "[Test Load] c\nTest_load_type Single_ended\nReceiver_model " +
             std::string(40, 'm') + "\n[Test Load] d\nTest_load_type Single_ended\n" +
             "Receiver_model " + std::string(41, 'm') + "\n",
         E(13, "'Receiver_model' Subparameter Missing Setting") +
             E(14, "Incorrect Number of Line Items (3) For Receiver_model: Expecting 2") +
             E(16, "Receiver_model Already Defined For Test Load 'l'") +
             E(19, "Invalid Receiver_model (\"NA\"); Reserved Word.") +
             E(25, "Receiver_model Name Over 40 Characters Long") +
             E("Receiver_model '" + std::string(40, 'm') +
               "' in Test Load 'd' is not defined "
               "in the file") +
             E("Receiver_model '" + std::string(40, 'm') +
               "' in Test Load 'c' is not defined "
               "in the file") +
             E("Receiver_model 'NA' in Test Load 'b' is not defined in the file"),
         8, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

// When the next keyword arrives: the type, the transmission line, the terminations and the
// differential-only values.
TEST(TestLoad, ClosingChecks) {
    const ModelCase cases[] = {
        {"no type, Td without Zo", "5.0", Load("Receiver_model in\nTd = 1n\n"),
         TypeNotDefined("l") +
             E("Test Load 'l': If Td is specified then Zo must be specified also"),
         2, 0},
        {"pull-ups without termination voltages", "5.0",
         Load(kClean + "Rp1_far = 50\nRp2_near = 50\n") + "[Test Load] b\n" + kClean +
             "Rp1_near = 50\nRp2_far = 50\n" + "[Test Load] c\n" + kClean +
             "Rp1_near = 50\nRp1_far = 50\nRp2_near = 50\nRp2_far = 50\nV_term1 1 1 1\n"
             "V_term2 0 0 0\n",
         E("Test Load 'l': V_term1 must be specified when Rp1_near or Rp1_far is specified") +
             E("Test Load 'l': V_term2 must be specified when Rp2_near or Rp2_far is specified") +
             E("Test Load 'b': V_term1 must be specified when Rp1_near or Rp1_far is specified") +
             E("Test Load 'b': V_term2 must be specified when Rp2_near or Rp2_far is specified"),
         4, 0},
        // An invalid or missing type is not Differential either.
        {"differential values in other loads", "5.0",
         Load(kClean + "R_diff_near = 100\nR_diff_far = 100\nReceiver_model_inv in\n") +
             "[Test Load] b\nReceiver_model in\nR_diff_far = 100\n" +
             "[Test Load] c\nTest_load_type Differential\nReceiver_model in\n"
             "R_diff_near = 100\nR_diff_far = 100\n",
         W("Test Load 'l' : R_diff_near specified for Test_load_type which is not Differential") +
             W("Test Load 'l' : R_diff_far specified for Test_load_type which is not "
               "Differential") +
             W("Test Load 'l' : Receiver_model_inv specified for Test_load_type which is not "
               "Differential") +
             TypeNotDefined("b") +
             W("Test Load 'b' : R_diff_far specified for Test_load_type which is not "
               "Differential") +
             W("Receiverr_model_inv 'in' in Test Load 'l' is not associated with a "
               "Differential Pin."),
         1, 5},
    };
    CheckModelCases(cases, std::size(cases));
}

// After the whole file, test loads newest first: the receiver models must be defined, should
// not be drivers, and the inverting one should be used by a [Diff Pin] row.
TEST(TestLoad, ReceiverModelsAfterTheFile) {
    const ModelCase cases[] = {
        {"no models at all", "5.0",
         "[Test Load] l\nTest_load_type Single_ended\nReceiver_model in\n",
         E("Test Load 'l' references undefined models"), 1, 0},
        {"undefined and driving receivers", "5.0",
         kOutput + Load(kClean) + "[Test Load] b\nTest_load_type Single_ended\n" +
             "Receiver_model out\n[Test Load] c\nTest_load_type Single_ended\n"
             "Receiver_model In\n[Test Load] d\nTest_load_type Single_ended\n",
         E("Receiver_model '' in Test Load 'd' is not defined in the file") +
             E("Receiver_model 'In' in Test Load 'c' is not defined in the file") +
             W("Driver_model 'out' in Test Load 'b' is not an input type."),
         2, 1},
        {"inverting receivers without a [Diff Pin]", "5.0",
         kOutput +
             Load("Test_load_type Differential\nReceiver_model in\n"
                  "Receiver_model_inv out\n") +
             "[Test Load] b\nTest_load_type Differential\nReceiver_model in\n"
             "Receiver_model_inv none\n",
         E("Receiver_model_inv 'none' in Test Load 'b' is not defined in the file") +
             W("Driver_model 'out' in Test Load 'l' is not an input type.") +
             W("Receiverr_model_inv 'out' in Test Load 'l' is not associated with a "
               "Differential Pin."),
         1, 2},
    };
    CheckModelCases(cases, std::size(cases));

    // A [Diff Pin] row whose inverting pin uses the model: no finding.
    const std::string file =
        "[IBIS Ver] 5.0\n[File Name] test.ibs\n[File Rev] 1.0\n[Date] today\n"
        "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
        "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 p in\n2 n in\n"
        "[Diff Pin] inv_pin vdiff tdelay_typ\n1 2 0.1 0\n" +
        kInput +
        "[Test Load] l\nTest_load_type Differential\nReceiver_model in\n"
        "Receiver_model_inv in\nR_diff_near = 100\nR_diff_far = 100\n[End]\n";
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS), Output("5.0", "", 0, 0));
}
