#include <gtest/gtest.h>

#include <string>

#include "IbisParser/acdc.h"
#include "IbisParser/mdl.h"
#include "tests/IbisParser/model_text.h"

namespace {

// An Output model whose sub-parameters and ramp are the arguments (lines 5 to 12).
std::string Model(const std::string& cComp, const std::string& rising, const std::string& falling,
                  const std::string& tables = "") {
    return "[Model] m\nModel_type Output\n" + cComp + "\nVmeas = 1.5\n[Voltage Range] 3.3 3 3.6\n" +
           "[Ramp]\ndV/dt_r " + rising + "\ndV/dt_f " + falling + "\n" + tables;
}

const std::string kCComp = "C_comp 1p 1p 1p";
const std::string kRatio = "1/1n 1/1n 1/1n";

// Restores the default settings whatever a test turned off.
struct Settings {
    ~Settings() {
        ACDC_SetModelChecks(true);
        ACDC_SetRangeChecks(true);
    }
};

}  // namespace

TEST(AcdcModels, ClampCurrentsAtMinusOnePointFiveVolts) {
    const ModelCase cases[] = {
        {"interpolated and exact", "5.0",
         Model(kCComp, kRatio, kRatio,
               "[GND Clamp]\n-2 -20 -20 NA\n-1 -10 -5 -5\n0 0 0 0\n[POWER Clamp]\n"
               "-1.5 10 10.5 -10\n0 0 0 0\n"),
         E("First Maximum Value Cannot Be 'NA' for GND_Clamp Beginning at Line 13") +
             W("Model 'm': Extreme currents present in TYP GND_Clamp VI Curve (-15A @ -1.5V)") +
             W("Model 'm': Extreme currents present in MIN GND_Clamp VI Curve (-12.5A @ -1.5V)") +
             W("Model 'm': Extreme currents present in MIN POWER_Clamp VI Curve (10.5A @ "
               "-1.5V)"),
         1, 3},
        // Voltages that do not reach -1.5 V leave the table unevaluated.
        {"out of the table", "5.0",
         Model(kCComp, kRatio, kRatio, "[GND Clamp]\n-1 -20 -20 -20\n0 0 0 0\n"), "", 0, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(AcdcModels, RampTimesAndCCompRanges) {
    const ModelCase cases[] = {
        {"limits exactly", "5.0", Model("C_comp 1n 0 1n", "1/1m 1/1m 1/1m", "1/1m 1/1m 1/1m"), "",
         0, 0},
        {"beyond", "5.0",
         Model("C_comp 2n 1n -1p\nC_comp_pullup 1n 0 NA\nC_comp_gnd_clamp 1.1n 1n 1.1n",
               "1/2m 1/1m 1/1n", "1/1n NA 1/1.5m"),
         W(7, "Typ value is not in between Min and Max ") +
             W(7, "Model m: C_comp min value is not the smallest value listed") +
             W(7, "Model m: C_comp max value is not the largest value listed") +
             W("Model 'm': TYP Rising Ramptime 2.000e+06nsec unusually large ( > 1.000e+06nsec )") +
             W("Model 'm': MAX Falling Ramptime 1.500e+06nsec unusually large ( > 1.000e+06nsec "
               ")") +
             W("Model 'm': C_comp TYP value 2000pF out of expected range (0pF, 1000pF)  ") +
             W("Model 'm': C_comp MAX value -1pF out of expected range (0pF, 1000pF)  ") +
             W("Model 'm': C_comp_gnd_clamp TYP value 1100pF out of expected range (0pF, 1000pF) "
               " ") +
             W("Model 'm': C_comp_gnd_clamp MAX value 1100pF out of expected range (0pF, 1000pF) "
               " "),
         0, 9},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(AcdcModels, SwitchesAndUnreferencedModels) {
    Settings restore;
    const std::string text = Model("C_comp 2n 2n 2n", "1/2m 1/2m 1/2m", kRatio,
                                   "[GND Clamp]\n-2 -20 -20 -20\n0 0 0 0\n");
    const std::string clamps =
        W("Model 'm': Extreme currents present in TYP GND_Clamp VI Curve (-15A @ -1.5V)") +
        W("Model 'm': Extreme currents present in MIN GND_Clamp VI Curve (-15A @ -1.5V)") +
        W("Model 'm': Extreme currents present in MAX GND_Clamp VI Curve (-15A @ -1.5V)");
    std::string ranges;
    for (const char* column : {"TYP", "MIN", "MAX"}) {
        ranges += W(std::string("Model 'm': ") + column +
                    " Rising Ramptime 2.000e+06nsec unusually large ( > 1.000e+06nsec )");
    }
    for (const char* column : {"TYP", "MIN", "MAX"}) {
        ranges += W(std::string("Model 'm': C_comp ") + column +
                    " value 2000pF out of expected range (0pF, 1000pF)  ");
    }
    const std::string unreferenced =
        W("Model m not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin "
          "Mapping] sections.");

    EXPECT_EQ(CheckText(ModelFile("5.0", text), FILE_KIND_IBS),
              Output("5.0", clamps + ranges, 0, 9));
    ACDC_SetModelChecks(false);
    EXPECT_EQ(CheckText(ModelFile("5.0", text), FILE_KIND_IBS), Output("5.0", ranges, 0, 6));
    ACDC_SetRangeChecks(false);
    EXPECT_EQ(CheckText(ModelFile("5.0", text), FILE_KIND_IBS), Output("5.0", "", 0, 0));
    // The same model with a component that uses none of them.
    const std::string unused =
        "[IBIS Ver] 5.0\n[File Name] test.ibs\n[File Rev] 1.0\n[Date] today\n" + text +
        CleanComponent() + "[End]\n";
    EXPECT_EQ(CheckText(unused, FILE_KIND_IBS), Output("5.0", unreferenced, 0, 1));
}
