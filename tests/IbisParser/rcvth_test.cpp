#include <gtest/gtest.h>

#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/expected_output.h"
#include "tests/IbisParser/model_text.h"

namespace {

// An Input model whose [Receiver Thresholds] keyword is on line 10, its lines from line 11.
std::string Receiver(const std::string& keyword, const std::string& lines) {
    return "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n" + keyword +
           "\n" + lines + "[Voltage Range] 3.3 3 3.6\n";
}

// The fields a single-ended receiver should give, each on its own line.
const std::string kSingleEnded =
    "Vth = 1.5\nVinh_ac = 2.0\nVinl_ac = 0.8\nVinh_dc = 1.8\nVinl_dc = 1.0\nTslew_ac = 1n\n";

std::string SingleEndedLacks(const std::string& model, const char* field) {
    return W("Model " + model + " Receiver Thresholds: " + field +
             " must be specified for single ended receivers");
}

}  // namespace

TEST(ReceiverThresholds, KeywordAndLines) {
    const std::string rt = "[Receiver Thresholds]";
    const ModelCase cases[] = {
        {"all single-ended fields", "5.0", Receiver(rt, kSingleEnded), "", 0, 0},
        {"items after the keyword", "5.0", Receiver(rt + " x y", kSingleEnded),
         E(10, "Incorrect Number of Line Items (3) For Receiver Threshold: Expecting 1"), 1, 0},
        // Names are exact; a line without "=" still makes its field present.
        {"unknown, repeated and malformed lines", "5.0",
         Receiver(rt, "vth = 1.5\nVth 1.5\n" + kSingleEnded),
         E(11, "Unknown Line Among Receiver Threshold Data") + E(12, "Invalid Vth Line") +
             E(13, "Vth Already Defined For Receiver Threshold"),
         3, 0},
        {"value lines", "5.0",
         Receiver(rt,
                  "Vth = 1.5 2\nVinh_ac = high\nVinl_ac : 0.8\nVinh_dc =\n"
                  "Vinl_dc = 1\nTslew_ac = 1n\n"),
         E(11, "Incorrect Number of Line Items (4) For Vth: Expecting 3") +
             E(12, "Invalid Vinh_ac Value (\"high\")") + E(13, "Invalid Vinl_ac Line") +
             E(14, "Invalid Vinh_dc Line"),
         4, 0},
        {"reference supply lines", "5.0",
         Receiver(rt,
                  "Reference_supply = Pullup_ref\nReference_supply Vdd\n"
                  "Reference_supply\nReference_supply a b\n"
                  "Reference_supply Ext_ref x y\nReference_supply Ext_ref\n"
                  "Threshold_sensitivity = 0.1\n" +
                      kSingleEnded + "[External Reference] 1 1 1\n"),
         E(11, "Invalid Reference_supply Line") + E(12, "Unknown Reference_supply Vdd specified") +
             E(13, "Invalid Reference_supply Line") +
             E(14, "Incorrect Number of Line Items (3) For Reference_supply: Expecting 2") +
             E(15, "Incorrect Number of Line Items (4) For Reference_supply: Expecting 2") +
             E(16, "Reference_supply Already Defined For Receiver Threshold"),
         6, 0},
        // The sensitivity needs a supply; the finding comes when the model leaves the keyword.
        {"sensitivity without supply", "5.0",
         Receiver(rt, "Threshold_sensitivity = 0.1\n" + kSingleEnded),
         E("Model in Receiver Thresholds: Reference Supply must be specified when Threshold "
           "Sensitivity is specified"),
         1, 0},
        // A second keyword replaces the record: only what follows it counts.
        {"keyword given twice", "5.0", Receiver(rt, kSingleEnded + rt + "\nVth = 1.5\n"),
         E(17, "Receiver Threshold: Already Defined for this model") +
             SingleEndedLacks("in", "Vinh_ac") + SingleEndedLacks("in", "Vinl_ac") +
             SingleEndedLacks("in", "Vinh_dc") + SingleEndedLacks("in", "Vinl_dc") +
             SingleEndedLacks("in", "Tslew_ac"),
         1, 5},
    };
    CheckModelCases(cases, std::size(cases));
}

// After the whole file: a receiver that a [Diff Pin] row uses should give the differential
// fields, naming that row's pin; any other model with the keyword the single-ended ones.
// Models are taken newest first.
TEST(ReceiverThresholds, ReceiversAfterTheFile) {
    const std::string file =
        "[IBIS Ver] 5.0\n[File Name] test.ibs\n[File Rev] 1.0\n[Date] today\n"
        "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
        "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 p diff\n2 n diff\n3 s single\n"
        "[Diff Pin] inv_pin vdiff tdelay_typ\n1 2 0.1 0\n"
        "[Model] diff\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
        "[Receiver Thresholds]\n"
        "Vth = 1\nVcross_low = 0.4\nVdiff_dc = 0.1\n[Voltage Range] 3.3 3 3.6\n"
        "[Model] single\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
        "[Receiver Thresholds]\nVth = 1.5\nVinl_dc = 1.0\n[Voltage Range] 3.3 3 3.6\n[End]\n";
    const std::string differential = "Model diff Receiver Thresholds: ";
    EXPECT_EQ(
        CheckText(file, FILE_KIND_IBS),
        Output(
            "5.0",
            SingleEndedLacks("single", "Vinh_ac") + SingleEndedLacks("single", "Vinl_ac") +
                SingleEndedLacks("single", "Vinh_dc") + SingleEndedLacks("single", "Tslew_ac") +
                W(differential +
                  "Vcross_high must be specified for differential receivers (Pin 1)") +
                W(differential + "Vdiff_ac must be specified for differential receivers (Pin 1)") +
                W(differential +
                  "Tdiffslew_ac must be specified for differential receivers (Pin 1)"),
            0, 7));
}
