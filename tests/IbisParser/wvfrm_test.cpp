#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/model_text.h"

namespace {

// An Output model with its [Ramp] (lines 5 to 12); its waveforms start on line 13.
std::string WithWaveforms(const std::string& waveforms) {
    return "[Model] m\nModel_type Output\nC_comp 1p 1p 1p\nVmeas = 1.5\n"
           "[Voltage Range] 3.3 3 3.6\n[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\n"
           "dV/dt_f 1/1n 1/1n 1/1n\n" +
           waveforms;
}

// A waveform with both fixtures and `rows` rows of rising times: 3 + rows lines.
std::string Waveform(const char* keyword, int rows) {
    std::string text = std::string("[") + keyword + "]\nR_fixture = 50\nV_fixture = 0\n";
    for (int row = 0; row < rows; ++row) {
        text += std::to_string(row) + "p 1 1 1\n";
    }
    return text;
}

}  // namespace

TEST(WvfrmTable, FixturesRowsAndClosingChecks) {
    const ModelCase cases[] = {
        {"complete", "5.0",
         WithWaveforms(Waveform("Rising Waveform", 2) + Waveform("Falling Waveform", 2)), "", 0, 0},
        {"fixture rules", "5.0",
         WithWaveforms("[Rising Waveform] x\nV_fixture = 0\n0 0 0 0\nR_fixture = 50\n"
                       "R_fixture = 50\n0 1 1 1\nNA 1 1 1\nL_fixture 1n\nC_fixture = x\n"
                       "C_fixture = 1p 2p\nL_dut = 1n5\nxyz\n"),
         E(13, "Incorrect Number of Line Items (2) For Rising Waveform: Expecting 1") +
             E(16, "R_fixture specified after beginning of timing data") +
             E(17, "R_fixture specified after beginning of timing data") +
             E(17, "Duplicate definition for Rising Waveform R_fixture") +
             W(18, "Value 0.000000e+00 repeated in the First Column") +
             E(18, "Time value did not increase") + E(19, "'NA' not allowed for Time value") +
             E(20, "L_fixture specified after beginning of timing data") +
             E(20, "Invalid L_fixture line") +
             E(21, "C_fixture specified after beginning of timing data") +
             E(21, "Invalid C_fixture Value (\"x\")") +
             E(22, "C_fixture specified after beginning of timing data") +
             E(22, "Incorrect Number of Line Items (4) For C_fixture: Expecting 3") +
             E(23, "L_dut specified after beginning of timing data") +
             W(23, "Suspicious Rising Waveform L_dut Value (\"1n5\"); Numeric in Scale") +
             E(24, "Unknown Line Among Rising Waveform Data"),
         14, 2},
        {"no fixtures, one row", "5.0", WithWaveforms("[Falling Waveform]\n0 1 1 1\n"),
         E("R_fixture Not Defined For Falling Waveform Beginning on Line 13") +
             E("V_fixture Not Defined For Falling Waveform Beginning on Line 13") +
             E("Require at least 2 Data Points for Falling Waveform Beginning at Line 13"),
         3, 0},
        {"NA at the ends", "5.0",
         WithWaveforms("[Falling Waveform]\nR_fixture=50\nV_fixture = 0\n0 NA 0 0\n1n 1 1 NA\n"),
         E("First Typical Value Cannot Be 'NA' for Falling Waveform Beginning at Line 13") +
             E("Last Maximum Value Cannot Be 'NA' for Falling Waveform Beginning at Line 13"),
         2, 0},
        {"equal times in a row", "5.0",
         WithWaveforms("[Rising Waveform]\nR_fixture = 50\nV_fixture = 0\n0 0 0 0\n1n 1 1 1\n"
                       "1n 1 1 1\n"),
         W(18, "Value 1.000000e-09 repeated in the First Column") +
             E(18, "Time value did not increase"),
         1, 1},
        {"composite currents", "5.0",
         WithWaveforms(Waveform("Rising Waveform", 2) + "[Composite Current]\n0 1m 1m 1m\n" +
                       "[Composite Current]\n0 1m 1m 1m\n1n 1m 1m 1m\n"),
         E("Require at least 2 Data Points for Composite Current Waveform Beginning at Line 18") +
             E(20,
               "[Composite Current] should be preceded by a [Rising Waveform] or [Falling "
               "Waveform] section"),
         2, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(WvfrmTable, RowAndWaveformLimitsByVersion) {
    std::string hundredAndOne;
    for (int i = 0; i < 101; ++i) hundredAndOne += Waveform("Rising Waveform", 2);
    const ModelCase cases[] = {
        {"1000 rows in 5.0", "5.0", WithWaveforms(Waveform("Rising Waveform", 1000)), "", 0, 0},
        {"1002 rows in 5.0", "5.0", WithWaveforms(Waveform("Rising Waveform", 1002)),
         E(1016, "More than 1000 data points provided for Rising Waveform table") +
             E(1017, "More than 1000 data points provided for Rising Waveform table"),
         2, 0},
        {"100 rows in 3.2", "3.2", WithWaveforms(Waveform("Falling Waveform", 100)), "", 0, 0},
        {"101 rows in 3.2", "3.2", WithWaveforms(Waveform("Falling Waveform", 101)),
         E(116, "More than 100 data points provided for Falling Waveform table"), 1, 0},
        {"101 waveforms", "5.0", WithWaveforms(hundredAndOne),
         E(513, "More than 100 Rising Waveforms are defined"), 1, 0},
    };
    CheckModelCases(cases, std::size(cases));
}
