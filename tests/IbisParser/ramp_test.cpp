#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/model_text.h"

namespace {

// An Output model whose [Ramp] keyword line is line 10.
std::string WithRamp(const std::string& ramp) {
    return "[Model] m\nModel_type Output\nC_comp 1p 1p 1p\nVmeas = 1.5\n"
           "[Voltage Range] 3.3 3 3.6\n" +
           ramp;
}

const std::string kBothEdges = "dV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n";

}  // namespace

TEST(RampSection, EdgesRatiosAndClosingChecks) {
    const ModelCase cases[] = {
        {"complete", "5.0", WithRamp("[Ramp]\n" + kBothEdges + "R_load = 50\n"), "", 0, 0},
        {"only dV/dt_r, ratios not above zero", "5.0", WithRamp("[Ramp]\ndV/dt_r 1/1n -1/1n 0/0\n"),
         E(11, "dV must be greater than 0 in a Ramp specification") +
             E(11, "dV must be greater than 0 in a Ramp specification") +
             E(11, "dT must be greater than 0 in a Ramp specification") +
             E("dV/dt_f Not Defined For Ramp Beginning on Line 10"),
         4, 0},
        {"item counts and repeats", "5.0",
         WithRamp("[Ramp] x\ndV/dt_r 1/1n\ndV/dt_f 1/1n 1/2n\ndV/dt_f 1/1n 1/1n 1/1n\n"
                  "[Ramp]\n" +
                  kBothEdges),
         E(10, "Incorrect Number of Line Items (2) For Ramp: Expecting 1") +
             E(11, "No minimum Value Was Provided for dV/dt_r") +
             E(11, "No maximum Value Was Provided for dV/dt_r") +
             E(12, "No maximum Value Was Provided for dV/dt_f") +
             E(13, "dV/dt_f Already Defined For Model 'm'") + E(14, "Ramp Already Defined"),
         6, 0},
        {"unreadable and suspicious parts", "5.0",
         WithRamp("[Ramp]\ndV/dt_r NA 1/x 5 1/1n\ndV/dt_f 1.5n2/1n 1/1m2 NA\nslope 1\n"),
         E(11, "Incorrect Number of Line Items (4) For dV/dt_r: Expecting 3") +
             E(11, "Invalid Minimum dV/dt_r Value (\"x\")") +
             E(11, "Invalid Maximum dV/dt_r Value (\"5\")") +
             E(11, "'NA' not allowed for dV/dt_r Typical value") +
             W(12, "Suspicious Typical dV/dt_f Value (\"1.5n2\"); Numeric in Scale") +
             W(12, "Suspicious Minimum dV/dt_f Value (\"1m2\"); Numeric in Scale") +
             E(13, "Unknown Line Among Ramp Data"),
         5, 2},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(RampSection, RLoadLineForms) {
    const struct {
        const char* line;
        std::string findings;
        int errors, warnings;
    } rows[] = {
        {"R_load = 50", "", 0, 0},
        {"R_load=50", "", 0, 0},
        {"R_load 50", E(13, "Invalid Ramp R_load Line"), 1, 0},
        {"R_load =", E(13, "Invalid Ramp R_load Line"), 1, 0},
        {"R_load = 50 ohm", E(13, "Incorrect Number of Line Items (4) For R_load: Expecting 3"), 1,
         0},
        {"R_load = x", E(13, "Invalid R_load Value (\"x\")"), 1, 0},
        {"R_load = 5k0", W(13, "Suspicious Typical R_load Value (\"5k0\"); Numeric in Scale"), 0,
         1},
        {"R_load = 50\nR_load = 60", E(14, "R_load Already Defined For Model 'm'"), 1, 0},
        {"r_load = 50", E(13, "Unknown Line Among Ramp Data"), 1, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(CheckText(ModelFile("5.0", WithRamp("[Ramp]\n" + kBothEdges + row.line + "\n")),
                            FILE_KIND_IBS),
                  Output("5.0", row.findings, row.errors, row.warnings));
    }
}
