#include <gtest/gtest.h>

#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/model_text.h"

namespace {

// Lines 5 to 24: an Output model, an Input model, a single-ended test load "se" and a
// differential one "df", both clean.
const std::string kModels =
    "[Model] out\nModel_type Output\nC_comp 1p 1p 1p\nVmeas = 1.5\n[Voltage Range] 3.3 3 3.6\n"
    "[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n"
    "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
    "[Voltage Range] 3.3 3 3.6\n"
    "[Test Load] se\nTest_load_type Single_ended\nReceiver_model in\n"
    "[Test Load] df\nTest_load_type Differential\nReceiver_model in\n";

// The models and test loads, then "[Test Data] <name>" on line 25 and its lines from line 26.
std::string Data(const std::string& lines, const std::string& name = "d") {
    return kModels + "[Test Data] " + name + "\n" + lines;
}

// A golden waveform of two rows: three lines.
std::string Golden(const std::string& keyword) { return "[" + keyword + "]\n0 0 0 0\n1n 1 1 1\n"; }

// Single-ended sub-parameters that need nothing more: three lines.
const std::string kSingle = "Test_data_type Single_ended\nDriver_model out\nTest_load se\n";
const std::string kDifferential = "Test_data_type Differential\nDriver_model out\nTest_load df\n";
const std::string kRising = Golden("Rising Waveform Near");

const char* const kWaveformKeywords[] = {"Rising Waveform Near",      "Falling Waveform Near",
                                         "Rising Waveform Far",       "Falling Waveform Far",
                                         "Diff Rising Waveform Near", "Diff Falling Waveform Near",
                                         "Diff Rising Waveform Far",  "Diff Falling Waveform Far"};

std::string NotDefined(const std::string& data, const char* field) {
    return E("Test Data '" + data + "': " + field + " Not Defined");
}

}  // namespace

TEST(TestData, NameAndSubParameterLines) {
    std::string everyWaveform;
    for (const char* keyword : kWaveformKeywords) everyWaveform += Golden(keyword);
    const ModelCase cases[] = {
        {"clean single-ended data", "5.0", Data(kSingle + kRising), "", 0, 0},
        {"every golden waveform", "4.0", Data(kDifferential + everyWaveform), "", 0, 0},
        {"name rules", "5.0",
         Data(kSingle + kRising) + "[Test Data] d\n" + kSingle + kRising + "[Test Data]\n" +
             kSingle + kRising + "[Test Data] NA\n" + kSingle + kRising + "[Test Data] x y\n" +
             kSingle + kRising + "[Test Data] " + std::string(110, 'n') + "\n" + kSingle + kRising,
         E(32, "TestData Name Previously Defined (\"d\")") +
             E(39, "'Test Data' Keyword Missing name") +
             E(46, "Invalid Test Data Name (\"NA\"); Reserved Word.") +
             E(53, "Incorrect Number of Line Items (2) For Keyword Test Data: Expecting 1") +
             E(60, "Exceeds 120 chararacters.") + E(60, "Test Data Name Over 109 Characters Long"),
         6, 0},
        {"Test_data_type lines", "5.0",
         Data("Test_data_type\nTest_data_type = Single_ended\nTest_data_type Single_ended x\n"
              "Test_data_type single_ended\nDriver_model out\nTest_load se\n" +
              kRising) +
             "[Test Data] e\nTest_data_type Diff\nTest_data_type Single_ended\n"
             "Driver_model out\nTest_load se\n" +
             kRising,
         E(26, "'Test_data_type' Subparameter Missing Setting") +
             E(27, "Invalid Test_data_type Line") +
             E(28, "Incorrect Number of Line Items (3) For Test_data_type: Expecting 2") +
             E(29, "Invalid Test_data_type (\"single_ended\") (try \"Single_ended\")") +
             E(36, "Invalid Test_data_type (\"Diff\")") +
             E(37, "Test_data_type Already Defined For Test Data 'e'") +
             E("Test_data_type in Test Data 'e' is not the same as Test_load_type in referenced "
               "Test Load 'se'") +
             E("Test_data_type in Test Data 'd' is not the same as Test_load_type in referenced "
               "Test Load 'se'"),
         8, 0},
        // Model names are at most 40 characters, test load names 110.
        {"name lines", "5.0",
         Data("Test_data_type Single_ended\ntest_load se\nDriver_model\nDriver_model out x\n"
              "Driver_model = out\nDriver_model out\nDriver_model in\nTest_load se\n"
              "Test_load " +
              std::string(110, 'l') + "\n" + kRising) +
             "[Test Data] e\nTest_data_type Single_ended\nDriver_model " + std::string(41, 'm') +
             "\nTest_load " + std::string(111, 'l') + "\n" + kRising +
             "[Test Data] f\nTest_data_type Single_ended\nDriver_model gnd\nTest_load POWER\n" +
             kRising,
         E(27, "Unknown Line Among Test Data") +
             E(28, "'Driver_model' Subparameter Missing Setting") +
             E(29, "Incorrect Number of Line Items (3) For Driver_model: Expecting 2") +
             E(30, "Invalid Driver_model Line") +
             E(32, "Driver_model Already Defined For Test Data 'd'") +
             E(34, "Test_load Already Defined For Test Data 'd'") +
             E(40, "Driver_model Name Over 40 Characters Long") +
             E(41, "Exceeds 120 chararacters.") + E(41, "Test_load Name Over 110 Characters Long") +
             E(47, "Invalid Driver_model (\"gnd\"); Reserved Word.") +
             E(48, "Invalid Test_load (\"POWER\"); Reserved Word.") +
             E("Driver_model 'gnd' in Test Data 'f' is not defined in the file") +
             E("Test Load 'POWER' referenced in Test Data 'f' is not defined in the file") +
             E("Driver_model '" + std::string(40, 'm') +
               "' in Test Data 'e' is not defined in the file") +
             E("Test Load '" + std::string(110, 'l') +
               "' referenced in Test Data 'e' is not defined in the file"),
         15, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

// The sub-parameters are checked when the first waveform (or any keyword) follows them, the
// waveforms when the section ends. Each waveform keyword has its own place in the record.
TEST(TestData, WaveformsAndClosingChecks) {
    std::string everyTwice;
    std::string repeats;
    int line = 29;
    for (const char* keyword : kWaveformKeywords) {
        everyTwice += Golden(keyword) + Golden(keyword);
        line += 3;
        repeats += E(line, std::string("[") + keyword + "] Already Defined");
        line += 3;
    }
    const ModelCase cases[] = {
        {"no sub-parameters", "5.0", Data(kRising),
         NotDefined("d", "Test_data_type") + NotDefined("d", "Driver_model") +
             NotDefined("d", "Test_load") +
             E("Driver_model '' in Test Data 'd' is not defined in the file"),
         4, 0},
        {"no waveform", "5.0", Data(kSingle),
         E("Test Data 'd': At least one Rising/Falling Waveform must be specified"), 1, 0},
        // Checked once, however many differential waveforms there are.
        {"differential waveforms in single-ended data", "5.0",
         Data(kSingle + kRising + Golden("Diff Rising Waveform Near") +
              Golden("Diff Falling Waveform Far")),
         E("Test Data 'd': Differential Rising/Falling Waveform can be specified only with "
           "Differential Test_data_type"),
         1, 0},
        {"inverting driver in single-ended data", "5.0",
         Data(kSingle + "Driver_model_inv out\n" + kRising),
         E("Test Data 'd': Driver_model_inv can only be specified with Differential "
           "Test_data_type") +
             W("Driver_model_inv 'out' in Test Data 'd' is not associated with a Differential "
               "Pin."),
         1, 1},
        {"every waveform twice", "5.0", Data(kDifferential + everyTwice), repeats, 8, 0},
        // Golden waveforms are read by the waveform reader: no fixtures, at least two rows.
        {"waveform rows", "5.0",
         Data(kSingle + "[Rising Waveform Near]\nR_fixture = 50\n0 0 0 0\n"),
         E(30, "SubParameters are not allowed in Golden Waveforms") +
             E("Require at least 2 Data Points for Rising Near Waveform Beginning at Line 29"),
         2, 0},
        // Waveform keywords after another section has begun belong to no test data.
        {"orphan waveforms", "5.0",
         Data(kSingle + kRising) + "[Test Load] x\nTest_load_type Single_ended\n"
                                   "Receiver_model in\n[Falling Waveform Near]\n0 0 0 0\n",
         E(35, "Orphan Test Data keyword.") + E(36, "Orphan data line keyword."), 2, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

// After the whole file, test data newest first: the driver models, then the test load.
TEST(TestData, DriversAndTestLoadAfterTheFile) {
    const ModelCase cases[] = {
        {"no models, no test loads", "5.0", "[Test Data] d\n" + kSingle + kRising,
         E("Test Data 'd' references undefined models") +
             E("Test Data 'd' references undefined Test Loads"),
         2, 0},
        {"undefined and receiving drivers", "5.0",
         Data("Test_data_type Single_ended\nDriver_model Out\nTest_load se\n" + kRising) +
             "[Test Data] e\nTest_data_type Differential\nDriver_model in\n"
             "Driver_model_inv in\nTest_load df\n" +
             kRising +
             "[Test Data] f\nTest_data_type Differential\nDriver_model out\n"
             "Driver_model_inv none\nTest_load df\n" +
             kRising,
         E("Driver_model_inv 'none' in Test Data 'f' is not defined in the file") +
             W("Driver_model 'in' in Test Data 'e' is not an output type.") +
             W("Driver_model 'in' in Test Data 'e' is not an output type.") +
             W("Driver_model_inv 'in' in Test Data 'e' is not associated with a Differential "
               "Pin.") +
             E("Driver_model 'Out' in Test Data 'd' is not defined in the file"),
         2, 3},
        {"test loads", "5.0",
         Data("Test_data_type Single_ended\nDriver_model out\nTest_load df\n" + kRising) +
             "[Test Data] e\nTest_data_type Differential\nDriver_model out\nTest_load SE\n" +
             kRising,
         E("Test Load 'SE' referenced in Test Data 'e' is not defined in the file") +
             E("Test_data_type in Test Data 'd' is not the same as Test_load_type in referenced "
               "Test Load 'df'"),
         2, 0},
    };
    CheckModelCases(cases, std::size(cases));

    // A [Diff Pin] row whose inverting pin uses the inverting driver: no finding.
    const std::string file =
        "[IBIS Ver] 5.0\n[File Name] test.ibs\n[File Rev] 1.0\n[Date] today\n"
        "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
        "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 p out\n2 n out\n3 r in\n"
        "[Diff Pin] inv_pin vdiff tdelay_typ\n1 2 0.1 0\n" +
        kModels + "[Test Data] d\n" + kDifferential + "Driver_model_inv out\n" +
        Golden("Diff Rising Waveform Near") + "[End]\n";
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS), Output("5.0", "", 0, 0));
}
