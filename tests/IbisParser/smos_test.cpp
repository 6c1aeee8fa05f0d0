#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/model_text.h"

namespace {

// A Series model whose first [Series MOSFET] keyword, when `tables` starts with one, is on
// line 9.
std::string SeriesModel(const std::string& tables) {
    return "[Model] ser\nModel_type Series\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n" + tables;
}

// The pin that uses the Series model draws the component's own finding.
const std::string kSeriesPin =
    E("Component 'c':  Pin '1': Model 'ser': model type for a Pin cannot be Series or "
      "Series_switch.");

const std::string mosfet = "[Series MOSFET]\n";
// Two rows whose current rises with the voltage.
const std::string kRows = "-1 -1m -1m -1m\n1 1m 1m 1m\n";

std::string Table(const std::string& vdsLine) { return mosfet + vdsLine + "\n" + kRows; }

}  // namespace

TEST(SeriesMosfet, VdsLineAndTable) {
    const ModelCase cases[] = {
        {"Vds and rows", "5.0", SeriesModel(Table("Vds = 1.0")), kSeriesPin, 1, 0},
        {"Vds of zero", "5.0", SeriesModel(Table("Vds = 0")), kSeriesPin, 1, 0},
        {"negative Vds", "5.0", SeriesModel(Table("Vds = -1")),
         E("Model ser: Vds should be >= 0 for [Series MOSFET] defined on line 9") + kSeriesPin, 2,
         0},
        // The row taken for the Vds line is not read: two rows remain.
        {"first line is a row", "5.0", SeriesModel(mosfet + "0 0 0 0\n" + kRows),
         E(10, "Unknown data line in Series_MOSFET") +
             E("Model ser: Vds not specified for [Series MOSFET] defined on line 9") + kSeriesPin,
         3, 0},
        {"name in another case", "5.0", SeriesModel(Table("vds = 1")),
         E(10, "Unknown data line in Series_MOSFET") +
             E("Model ser: Vds not specified for [Series MOSFET] defined on line 9") + kSeriesPin,
         3, 0},
        // A malformed Vds line still gives the table a Vds (of 0).
        {"no equals sign", "5.0", SeriesModel(Table("Vds 1.0")),
         E(10, "Invalid Vds Line") + kSeriesPin, 2, 0},
        {"no value", "5.0", SeriesModel(Table("Vds =")), E(10, "Invalid Vds Line") + kSeriesPin, 2,
         0},
        {"other separator", "5.0", SeriesModel(Table("Vds : 1")),
         E(10, "Invalid Vds Line") + kSeriesPin, 2, 0},
        {"extra item", "5.0", SeriesModel(Table("Vds = 1 2")),
         E(10, "Incorrect Number of Line Items (4) For Vds: Expecting 3") + kSeriesPin, 2, 0},
        {"unreadable value", "5.0", SeriesModel(Table("Vds = high")),
         E(10, "Invalid Vds Value (\"high\")") + kSeriesPin, 2, 0},
        {"items after the keyword", "5.0", SeriesModel("[Series MOSFET] x\nVds = 1\n" + kRows),
         E(9, "Incorrect Number of Line Items (2) For [Series_MOSFET]: Expecting 1") + kSeriesPin,
         2, 0},
        // The table closes when the next keyword arrives, here the component's.
        {"keyword alone", "5.0", SeriesModel(mosfet),
         E("Model ser: Vds not specified for [Series MOSFET] defined on line 9") +
             E("Require at least 2 Voltage Points for Series_MOSFET Beginning at Line 9") +
             kSeriesPin,
         3, 0},
        {"falling current", "5.0", SeriesModel(mosfet + "Vds = 1\n-1 1m 1m 1m\n1 -1m -1m -1m\n"),
         W("Model ser: Series_MOSFET has Decreasing Current") + kSeriesPin, 1, 1},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(SeriesMosfet, TablesOfASection) {
    std::string hundred;
    for (int table = 1; table <= 100; ++table) hundred += Table("Vds = " + std::to_string(table));
    const ModelCase cases[] = {
        {"Vds closer than 1e-9", "5.0",
         SeriesModel(Table("Vds = 1.0") + Table("Vds = 2") + Table("Vds = 1.0000000001")),
         E("Model ser Series: Found two Series_MOSFETs with identical Vds value 1.000000e+00") +
             kSeriesPin,
         2, 0},
        {"Vds apart", "5.0", SeriesModel(Table("Vds = 1.0") + Table("Vds = 1.00001")), kSeriesPin,
         1, 0},
        // Tables without a Vds take no part in the comparison.
        {"three equal", "5.0",
         SeriesModel(Table("Vds = 1") + mosfet + kRows + Table("Vds = 1") + Table("Vds = 1")),
         E(14, "Unknown data line in Series_MOSFET") +
             E("Model ser: Vds not specified for [Series MOSFET] defined on line 13") +
             E("Require at least 2 Voltage Points for Series_MOSFET Beginning at Line 13") +
             E("Model ser Series: Found two Series_MOSFETs with identical Vds value 1.000000e+00") +
             E("Model ser Series: Found two Series_MOSFETs with identical Vds value 1.000000e+00") +
             E("Model ser Series: Found two Series_MOSFETs with identical Vds value 1.000000e+00") +
             kSeriesPin,
         7, 0},
        {"100 tables", "5.0", SeriesModel(hundred), kSeriesPin, 1, 0},
        {"101st table", "5.0", SeriesModel(hundred + Table("Vds = 101")),
         E(409, "More than 100 [Series_MOSFET]s are defined") + kSeriesPin, 2, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

// Only Series and Series_switch models take the tables; a Series_switch model needs [On] or
// [Off] for them and must not have them under [Off].
TEST(SeriesMosfet, ModelTypesAndSwitchStates) {
    const std::string output =
        "[Model] out\nModel_type Output\nC_comp 1p 1p 1p\nVmeas = 1\n[Voltage Range] 3.3 3 3.6\n"
        "[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n";
    const std::string notSeries = "Keyword is valid only for Series and Series_switch models";
    const std::string sw =
        "[Model] sw\nModel_type Series_switch\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n";
    const std::string swPin =
        E("Component 'c':  Pin '1': Model 'sw': model type for a Pin cannot be Series or "
          "Series_switch.");
    const ModelCase cases[] = {
        {"Output model", "5.0", output + Table("Vds = 1"),
         E(14, notSeries) + E(15, notSeries) + E(16, notSeries), 3, 0},
        {"under [On] and [Off]", "5.0",
         sw + "[On]\n" + Table("Vds = 1") + "[Off]\n[R Series] 1 1 1\n" + Table("Vds = 1"),
         E("Model sw: [Series_MOSFET] is not allowed in conjunction with the [Off] keyword") +
             swPin,
         2, 0},
        // The first data line assumes [On]; the table is read into it.
        {"before [On] or [Off]", "5.0",
         sw + Table("Vds = 1") + Table("Vds = 1") + "[Off]\n[R Series] 1 1 1\n",
         E(10, "No preceding [On] or [Off] keyword found. Assuming [On]") +
             E("Model sw [On]: Found two Series_MOSFETs with identical Vds value 1.000000e+00") +
             swPin,
         3, 0},
        // Without a data line no state is assumed, so the table has nowhere to go.
        {"keyword alone before [On] or [Off]", "5.0", sw + mosfet + "[Off]\n[R Series] 1 1 1\n",
         E("Model sw is of type Series_switch. [On] keyword is required") + swPin, 2, 0},
    };
    CheckModelCases(cases, std::size(cases));
}
