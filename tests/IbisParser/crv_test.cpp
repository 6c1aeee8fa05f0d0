#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/model_text.h"

namespace {

// A complete model of the type (eight lines, 5 to 12); its tables start on line 13.
std::string Model(const std::string& type, const std::string& tables) {
    return "[Model] m\nModel_type " + type +
           "\nC_comp 1p 1p 1p\nVmeas = 1.5\n[Voltage Range] 3.3 3 3.6\n[Ramp]\n"
           "dV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n" +
           tables;
}
std::string Output(const std::string& tables) { return Model("Output", tables); }

// `count` rows with rising voltages from -count/2 volts, each current `current`.
std::string Rows(int count, const std::string& current) {
    std::string rows;
    for (int i = 0; i < count; ++i) {
        rows +=
            std::to_string(i - count / 2) + " " + current + " " + current + " " + current + "\n";
    }
    return rows;
}

}  // namespace

TEST(CrvRows, CountsRepeatsOrderAndNA) {
    const ModelCase cases[] = {
        {"100 rows", "5.0", Output("[ISSO PU]\n" + Rows(100, "1m")), "", 0, 0},
        {"101 and 102 rows", "5.0", Output("[ISSO PU]\n" + Rows(102, "1m")),
         E(114, "More Than 100 Voltage Points Provided For ISSO_PU"), 1, 0},
        {"items, repeats, turns and NA", "5.0",
         Output("[Pulldown] extra\n-5 -10m -8m -12m\n0 0 0 0\n5 10m NA 12m\n0 1m 1m 1m\n"
                "NA 20m 20m 20m\n6 30m 30m 30m\n7 40m 50m 60m\n"),
         E(13, "Incorrect Number of Line Items (2) For Pulldown: Expecting 1") +
             W(17, "Value 0.000000e+00 repeated in the First Column") +
             N(17, "Pulldown Voltage data is non-monotonic") +
             N(17, "Pulldown Typical data is non-monotonic") +
             N(17, "Pulldown Maximum data is non-monotonic") +
             E(18, "Voltage Value Cannot Be 'NA'"),
         2, 1},
        {"one row, then the same table again", "5.0",
         Output("[Pulldown]\n0 0 0 0\n[Pulldown]\n0 0 0 0\n1 1m 1m 1m\n"),
         E("Require at least 2 Voltage Points for Pulldown Beginning at Line 13") +
             E(15, "Pulldown Already Defined"),
         2, 0},
        {"NA at the ends", "5.0",
         Output("[Pullup]\n-5 NA NA 1m\n0 0 0 NA\n5 -1m NA NA\n[POWER Clamp]\n-5 1m NA NA\n"
                "5 0 NA NA\n"),
         E("First Typical Value Cannot Be 'NA' for Pullup Beginning at Line 13") +
             E("First Minimum Value Cannot Be 'NA' for Pullup Beginning at Line 13") +
             E("Last Minimum Value Cannot Be 'NA' for Pullup Beginning at Line 13") +
             E("Last Maximum Value Cannot Be 'NA' for Pullup Beginning at Line 13"),
         4, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(CrvEnd, CurrentDirectionByTableAndType) {
    const std::string rising = "-5 -1m -1m -1m\n0 0 0 0\n5 1m 1m 1m\n";
    const std::string falling = "-5 1m 1m 1m\n0 0 0 0\n5 -1m -1m -1m\n";
    const ModelCase cases[] = {
        {"as expected", "5.0",
         Output("[Pulldown]\n" + rising + "[GND Clamp]\n" + rising + "[Pullup]\n" + falling +
                "[POWER Clamp]\n" + falling + "[ISSO PU]\n" + rising + "[ISSO PD]\n" + falling),
         "", 0, 0},
        {"the other way", "5.0",
         Output("[Pulldown]\n" + falling + "[GND Clamp]\n" + falling + "[Pullup]\n" + rising +
                "[POWER Clamp]\n" + rising),
         W("Model m: Pulldown has Decreasing Current") +
             W("Model m: GND_Clamp has Decreasing Current") +
             W("Model m: Pullup has Increasing Current") +
             W("Model m: POWER_Clamp has Increasing Current"),
         0, 4},
        // The lowest and highest voltages decide, wherever they stand in the table.
        {"extremes out of order", "5.0",
         Output("[Pulldown]\n0 0 0 0\n5 -1m -1m -1m\n-5 1m 1m 1m\n"),
         N(16, "Pulldown Voltage data is non-monotonic") +
             N(16, "Pulldown Typical data is non-monotonic") +
             N(16, "Pulldown Minimum data is non-monotonic") +
             N(16, "Pulldown Maximum data is non-monotonic") +
             W("Model m: Pulldown has Decreasing Current"),
         0, 1},
        {"ECL", "5.0",
         Model("Output_ECL",
               "[Pulldown]\n" + rising + "[GND Clamp]\n" + falling + "[Pullup]\n" + rising),
         W("Model m: Pulldown has Increasing Current") +
             W("Model m: GND_Clamp has Decreasing Current") +
             W("Model 'm': Vmeas, Vref and Rref timing test load parameters should be specified"),
         0, 3},
        // Its pin also draws the component's findings: no [External Model], no [Diff Pin].
        {"differential model", "5.0", Model("Output_diff", "[Pulldown]\n" + falling),
         W("Model m: Pulldown has Decreasing Current") +
             W("Model 'm': Rref_diff or Cref_diff timing test load parameters should be "
               "specified") +
             E("TBD: Put this in model check, *_DIFF without external model") +
             E("Component <c> pin <1> model <m> type <Output_diff> using [External Model] "
               "without corresponding [Diff_Pin]"),
         2, 2},
        // Output_diff is no type before 4.0: the direction is not known.
        {"untyped model", "3.2", Model("Output_diff", "[Pulldown]\n" + falling),
         E(6, "Invalid Model_type (\"Output_diff\")"), 1, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(CrvEnd, ClampCurrentsThatNeverReachZero) {
    const ModelCase cases[] = {
        {"all between 1 mA and 10 mA", "5.0",
         Output("[GND Clamp]\n-5 1m 1m 1m\n0 5m 5m 5m\n5 10m 10m 10m\n"),
         W("Model m: GND_Clamp : Typical value never becomes zero") +
             W("Model m: GND_Clamp : Minimum value never becomes zero") +
             W("Model m: GND_Clamp : Maximum value never becomes zero"),
         0, 3},
        {"one value at 1e-6", "5.0",
         Output("[GND Clamp]\n-5 1u 1.1u -1u\n0 1m 1m 1m\n5 10m 10m 10m\n"),
         W("Model m: GND_Clamp : Minimum value never becomes zero"), 0, 1},
        {"column ends not given", "5.0",
         Output("[POWER Clamp]\n-5 5m NA -1m\n0 2m 2m -2m\n5 1m 1m NA\n"),
         E("First Minimum Value Cannot Be 'NA' for POWER_Clamp Beginning at Line 13") +
             E("Last Maximum Value Cannot Be 'NA' for POWER_Clamp Beginning at Line 13") +
             W("Model m: POWER_Clamp : Typical value never becomes zero"),
         2, 1},
        {"crossing zero", "5.0", Output("[POWER Clamp]\n-5 5m 5m 5m\n5 -1m -1m -1m\n"), "", 0, 0},
    };
    CheckModelCases(cases, std::size(cases));
}
