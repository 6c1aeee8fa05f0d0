#include <gtest/gtest.h>

#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/expected_output.h"
#include "tests/IbisParser/model_text.h"

namespace {

// An Output model with everything it needs: fourteen lines.
std::string Driver(const std::string& name) {
    return "[Model] " + name +
           "\nModel_type Output\nC_comp 1p 1p 1p\nVmeas = 1\n[Voltage Range] 3.3 3 3.6\n"
           "[Pulldown]\n-5 -1 -1 -1\n5 1 1 1\n[Pullup]\n-5 1 1 1\n5 -1 -1 -1\n"
           "[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n";
}

// Model "drv" whose [Driver Schedule] keyword is on line 19 and its lines from line 20, then
// the models a, b and c that the lines may name.
std::string Scheduler(const std::string& keyword, const std::string& lines,
                      const std::string& more = "") {
    return Driver("drv") + keyword + "\n" + lines + Driver("a") + Driver("b") + Driver("c") + more;
}

const std::string ds = "[Driver Schedule]";
const std::string kName40 = "abcdefghijabcdefghijabcdefghijabcdefghij";

}  // namespace

TEST(DriverSchedule, DelayLines) {
    const ModelCase cases[] = {
        {"all four, or a rise and a fall pair", "5.0",
         Scheduler(ds, "a 1n 2n 1n 2n\nb 1n NA 1n NA\nc NA 0 NA 0\n"), "", 0, 0},
        {"on and off by the same edge pair", "5.0",
         Scheduler(ds, "a 1n NA NA 2n\nb NA 1n 1n NA\nc 1n 2n 3n NA\n"),
         E(20, "Rise_on_dly and Fall_off_delay cannot be specified together") +
             E(21, "Rise_off_dly and Fall_on_delay cannot be specified together") +
             E(22, "Rise_off_dly and Fall_on_delay cannot be specified together"),
         3, 0},
        {"fewer than two numbers", "5.0", Scheduler(ds, "a 1n NA NA NA\nb NA NA NA NA\n"),
         E(20, "At least two delays must be specified") +
             E(21, "At least two delays must be specified"),
         2, 0},
        {"missing delays", "5.0", Scheduler(ds, "a 1n\nb 1n 2n\nc 1n 2n 3n\n"),
         E(20, "No Rise_off_dly Value Was Provided for a") +
             E(20, "At least two delays must be specified") +
             E(21, "No Fall_on_dly Value Was Provided for b") +
             E(22, "No Fall_off_dly Value Was Provided for c") +
             E(22, "Rise_off_dly and Fall_on_delay cannot be specified together"),
         5, 0},
        // The fifth item is ignored.
        {"no delays, or five", "5.0", Scheduler(ds, "a\nb 1n 2n 1n 2n 5n\n"),
         E(20, "Incorrect Number of Line Items (0) For a: Expecting 4") +
             E(20, "At least two delays must be specified") +
             E(21, "Incorrect Number of Line Items (5) For b: Expecting 4"),
         3, 0},
        // An invalid column stops the checks of its line; a negative one is reported per column.
        {"values", "5.0", Scheduler(ds, "a -1n NA -2n NA\nb -1n 2% 1n 2n\nc 1n2 2n 1n 2n\n"),
         E(20, "Rise_on_dly is less than zero") + E(20, "Fall_on_dly is less than zero") +
             E(21, "Invalid Rise_off_dly Value (\"2%\")") +
             W(22, "Suspicious Rise_on_dly c Value (\"1n2\"); Numeric in Scale"),
         3, 1},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(DriverSchedule, NamesKeywordAndClose) {
    const ModelCase cases[] = {
        // After the file the entries are checked newest first.
        {"own name, reserved word, repeat", "5.0",
         Scheduler(ds, "drv 1n 2n 1n 2n\nGND 1n 2n 1n 2n\na 1n 2n 1n 2n\na 1n 2n 1n 2n\n"),
         E(20, "Model Name in Driver Schedule is the same as enclosing Model (\"drv\")") +
             E(21, "Invalid Model Name in Driver Schedule (\"GND\"); Reserved Word.") +
             E(23, "Model Name (\"a\") previously used in this Driver Schedule") +
             E("Model GND used in the Driver Schedule of Model drv is not defined") +
             E("Model drv used in the Driver Schedule of Model drv cannot itself have a Driver "
               "Schedule"),
         5, 0},
        // The cut name repeats the 40-character one.
        {"40 and 41 characters in 5.0", "5.0",
         Scheduler(ds, kName40 + " 1n 2n 1n 2n\n" + kName40 + "x 1n 2n 1n 2n\n", Driver(kName40)),
         E(21, "Model Name Over 40 Characters Long") +
             E(21, "Model Name (\"" + kName40 + "\") previously used in this Driver Schedule"),
         2, 0},
        {"20 and 21 characters in 3.2", "3.2",
         Scheduler(
             ds,
             kName40.substr(0, 20) + " 1n 2n 1n 2n\n" + kName40.substr(0, 21) + " 1n 2n 1n 2n\n",
             Driver(kName40.substr(0, 20))),
         E(21, "Model Name Over 20 Characters Long") +
             E(21, "Model Name (\"" + kName40.substr(0, 20) +
                       "\") previously used in this Driver Schedule"),
         2, 0},
        {"items after the keyword", "5.0", Scheduler(ds + " x", "a 1n 2n 1n 2n\nb 1n 2n 1n 2n\n"),
         E(19, "Incorrect Number of Line Items (2) For Driver Schedule: Expecting 1"), 1, 0},
        // The close runs when the model leaves the keyword, before the model's own end.
        {"no models", "5.0", Driver("drv") + ds + "\n" + Driver("a"),
         E("Model 'drv': The [Driver_Schedule] has no models defined"), 1, 0},
        // The second keyword replaces the first schedule: only its entry is checked.
        {"keyword twice", "5.0",
         Scheduler(ds, "a 1n 2n 1n 2n\nnone 1n 2n 1n 2n\n" + ds + "\nb 1n 2n 1n 2n\n"),
         E(22, "Driver Schedule: Already Defined for this model") +
             W("Model 'drv': The [Driver_Schedule] has only one model defined"),
         1, 1},
    };
    CheckModelCases(cases, std::size(cases));
}

// After the whole file: the models named must exist, have no schedule and drive. The ones found
// count as referenced, so the unreferenced-model warning spares them.
TEST(DriverSchedule, WholeFileChecks) {
    const std::string input =
        "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
        "[Voltage Range] 3.3 3 3.6\n";
    const std::string terminator =
        "[Model] term\nModel_type Terminator\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n";
    const std::string text =
        "[IBIS Ver] 5.0\n[File Name] test.ibs\n[File Rev] 1.0\n[Date] today\n" + Driver("drv") +
        ds +
        "\nin 1n 2n 1n 2n\nterm 1n 2n 1n 2n\nnone 1n 2n 1n 2n\nsub 1n 2n 1n 2n\nout 1n 2n 1n 2n\n" +
        input + terminator + Driver("sub") + ds + "\nout 1n 2n 1n 2n\nin 1n 2n 1n 2n\n" +
        Driver("out") + Driver("lone") + CleanComponent("c", "1 s1 drv\n") + "[End]\n";
    const std::string findings =
        E("Model in used in the Driver Schedule of Model sub should be an output model") +
        E("Model sub used in the Driver Schedule of Model drv cannot itself have a Driver "
          "Schedule") +
        E("Model none used in the Driver Schedule of Model drv is not defined") +
        E("Model term used in the Driver Schedule of Model drv should be an output model") +
        E("Model in used in the Driver Schedule of Model drv should be an output model") +
        W("Model lone not referenced in any [Pin], [Model Selector], [Driver Schedule] or "
          "[Series Pin Mapping] sections.");
    EXPECT_EQ(CheckText(text, FILE_KIND_IBS), Output("5.0", findings, 5, 1));
}
