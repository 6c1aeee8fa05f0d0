#include <gtest/gtest.h>

#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/expected_output.h"
#include "tests/IbisParser/model_text.h"
#include "tests/IbisParser/pin_table_text.h"

namespace {

// An Input model that draws nothing of its own: six lines.
std::string InputModel(const std::string& name) {
    return "[Model] " + name +
           "\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
           "[Voltage Range] 3.3 3 3.6\n";
}

constexpr int L = kFirstTableLine;
const std::string kPinHeader = "[Pin] signal_name model_name\n";
const std::string kPinHeader6 = "[Pin] signal_name model_name R_pin L_pin C_pin\n";

}  // namespace

TEST(PinTable, HeaderOrderCountAndDuplicateKeyword) {
    const PinCase cases[] = {
        // The values follow the header's order: 60 is R_pin, 3000n L_pin, 2n C_pin.
        {"C_pin L_pin R_pin order", "4.2",
         "[Pin] signal_name model_name C_pin L_pin R_pin\n1 s GND 2n 3000n 60\n", "",
         W("CMPT 'c', Pin '1': Pin Resistance 60 Ohms greater than 50 Ohms") +
             W("CMPT 'c', Pin '1': Pin Inductance 3000nH greater than 1000nH") +
             W("CMPT 'c', Pin '1': Pin Capacitance 2000pF greater than 1000pF"),
         0, 3},
        {"header names in any letter case", "4.2",
         "[Pin] SIGNAL_NAME Model_Name l_pin c_pin r_pin\n1 s GND 1n 1p 51\n", "",
         W("CMPT 'c', Pin '1': Pin Resistance 51 Ohms greater than 50 Ohms"), 0, 1},
        {"no headers", "4.2", "[Pin]\n1 s GND\n", "",
         E(L, "Unable to find column headers after Pin keyword.") +
             E(L, "Pin keyword column count must be 3 or 6, found 1 columns."),
         2, 0},
        {"required headers out of order", "4.2", "[Pin] model_name signal_name\n1 s GND\n", "",
         E(L, "'signal_name' column header not found or out of order.") +
             E(L, "'model_name' column header not found or out of order."),
         2, 0},
        {"model_name missing", "4.2", "[Pin] signal_name\n1 s GND\n", "",
         E(L, "'model_name' column header not found or out of order.") +
             E(L, "Pin keyword column count must be 3 or 6, found 2 columns."),
         2, 0},
        {"value header twice and unknown", "4.2",
         "[Pin] signal_name model_name R_pin R_pin x\n1 s GND\n", "",
         E(L, "Duplicate column header 'R_pin' .") +
             E(L, "Unknown column header 'x' or out of order."),
         2, 0},
        {"five columns", "4.2", "[Pin] signal_name model_name R_pin L_pin\n1 s GND\n", "",
         E(L, "Pin keyword column count must be 3 or 6, found 5 columns."), 1, 0},
        {"the count stops at seven", "4.2",
         "[Pin] signal_name model_name R_pin L_pin C_pin a b c\n1 s GND\n", "",
         E(L, "Pin keyword column count must be 3 or 6, found 7 columns."), 1, 0},
        // The second header is not read: its missing headers draw nothing.
        {"duplicate keyword", "4.2", kPinHeader + "1 s GND\n[Pin] x\n2 s GND\n", "",
         E(L + 2, "Duplicate Pin keyword found."), 1, 0},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(PinTable, RowItemsNamesAndValues) {
    const std::string name20 = "abcdefghijabcdefghij";
    const std::string name40 = name20 + name20;
    const PinCase cases[] = {
        {"signal name only", "4.2", kPinHeader + "1\n", "",
         E(L + 1, "Signal name not found.") +
             E(L + 1, "Each line of Pin data must contain either 3 or 6 columns.") +
             E("Component 'c': Model '' for Pin '1' not defined."),
         3, 0},
        {"model name missing", "4.2", kPinHeader + "1 s\n", "",
         E(L + 1, "Model name not found.") +
             E(L + 1, "Each line of Pin data must contain either 3 or 6 columns.") +
             E("Component 'c': Model '' for Pin '1' not defined."),
         3, 0},
        {"four items", "4.2", kPinHeader6 + "1 s GND 1\n", "",
         E(L + 1, "Each line of Pin data must contain either 3 or 6 columns."), 1, 0},
        {"six items under three headers", "4.2", kPinHeader + "1 s GND 1 1n 1p\n", "",
         E(L + 1, "When using 6 columns, the headers R_pin, L_pin, and C_pin must be listed."), 1,
         0},
        {"six items under six headers, NA", "4.2", kPinHeader6 + "1 s GND NA na 1p\n", "", "", 0,
         0},
        // The cut name is the stored one: the next row with those five characters repeats it.
        {"six-character pin name", "4.2", kPinHeader + "ABCDEF s GND\nABCDE s GND\n", "",
         E(L + 1, "Pin string 'ABCDEF' is too long, truncating to 5 characters.") +
             E(L + 2, "Duplicate Pin 'ABCDE'."),
         2, 0},
        {"five-character pin name", "4.2", kPinHeader + "ABCDE s GND\n", "", "", 0, 0},
        {"duplicate pin", "4.2", kPinHeader + "1 s GND\n2 s GND\n1 t GND\n1 u GND\n", "",
         E(L + 3, "Duplicate Pin '1'.") + E(L + 4, "Duplicate Pin '1'."), 2, 0},
        {"signal name of 20 in 3.2", "3.2", kPinHeader + "1 " + name20 + " GND\n", "", "", 0, 0},
        {"signal name of 21 in 3.2", "3.2", kPinHeader + "1 " + name20 + "x GND\n", "",
         E(L + 1, "Signal name string '" + name20 + "x' is too long, truncating to 20 characters."),
         1, 0},
        {"signal name of 40 in 4.2", "4.2", kPinHeader + "1 " + name40 + " GND\n", "", "", 0, 0},
        {"signal name of 41 in 4.2", "4.2", kPinHeader + "1 " + name40 + "x GND\n", "",
         E(L + 1, "Signal name string '" + name40 + "x' is too long, truncating to 40 characters."),
         1, 0},
        // The cut model name is the one looked up.
        {"model name of 21 in 3.2", "3.2", kPinHeader + "1 s " + name20 + "x\n", InputModel(name20),
         E(L + 1, "Model name string '" + name20 + "x' is too long, truncating to 20 characters."),
         1, 0},
        {"bad and suspicious values", "4.2", kPinHeader6 + "1 s GND abc 1.5n2 1p\n", "",
         E(L + 1, "Invalid R_pin Value (\"abc\")") +
             W(L + 1, "Suspicious L_pin 1 Value (\"1.5n2\"); Numeric in Scale"),
         1, 1},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(PinTable, ValueRangesAtTheBoundAndAbove) {
    const PinCase cases[] = {
        {"exactly the bounds", "4.2", kPinHeader6 + "1 s GND 50 1000n 1000p\n2 s GND 50 1u 1n\n",
         "", "", 0, 0},
        {"just above", "4.2", kPinHeader6 + "1 s GND 50.1 1001n 1001p\n", "",
         W("CMPT 'c', Pin '1': Pin Resistance 50.1 Ohms greater than 50 Ohms") +
             W("CMPT 'c', Pin '1': Pin Inductance 1001nH greater than 1000nH") +
             W("CMPT 'c', Pin '1': Pin Capacitance 1001pF greater than 1000pF"),
         0, 3},
        // NA and absent values are not compared; pins are reported in row order.
        {"only given values", "4.2", kPinHeader6 + "1 s GND NA 2u NA\n2 s GND 60 NA NA\n", "",
         W("CMPT 'c', Pin '1': Pin Inductance 2000nH greater than 1000nH") +
             W("CMPT 'c', Pin '2': Pin Resistance 60 Ohms greater than 50 Ohms"),
         0, 2},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(PinTable, ModelChecksAfterTheFile) {
    const std::string series =
        "[Model] ser\nModel_type Series\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n"
        "[R Series] 1 1 1\n";
    const PinCase cases[] = {
        {"defined and reserved models", "4.2",
         kPinHeader + "1 s in\n2 s gnd\n3 s Power\n4 s nc\n5 s CircuitCall\n", InputModel("in"), "",
         0, 0},
        {"undefined model, NA is not skipped", "4.2", kPinHeader + "1 s in\n2 s out\n3 s NA\n",
         InputModel("in"),
         E("Component 'c': Model 'out' for Pin '2' not defined.") +
             E("Component 'c': Model 'NA' for Pin '3' not defined."),
         2, 0},
        {"model names are compared exactly", "4.2", kPinHeader + "1 s IN\n", InputModel("in"),
         E("Component 'c': Model 'IN' for Pin '1' not defined.") +
             W("Model in not referenced in any [Pin], [Model Selector], [Driver Schedule] or "
               "[Series Pin Mapping] sections."),
         1, 1},
        {"series model on a pin", "4.2", kPinHeader + "1 s ser\n", series,
         E("Component 'c':  Pin '1': Model 'ser': model type for a Pin cannot be Series or "
           "Series_switch."),
         1, 0},
        // The package model's pins A1 and A2: A2 is not a pin of the component.
        {"package model pin not in the component", "4.2",
         "[Package Model] QFP2\n" + kPinHeader + "A1 s GND\nB1 s GND\n",
         "[Define Package Model] QFP2\n[Manufacturer] Acme\n[OEM] Acme\n[Description] two\n"
         "[Number Of Pins] 2\n[Pin Numbers]\nA1\nA2\n[Model Data]\n"
         "[Inductance Matrix] Full_matrix\n[Row] A1\n1n 0.1n\n[Row] A2\n1n\n"
         "[Capacitance Matrix] Full_matrix\n[Row] A1\n1p 0.1p\n[Row] A2\n1p\n"
         "[End Model Data]\n[End Package Model]\n",
         E("Pin 'A2' found in Package_Model 'QFP2' Pin_Numbers list not found in Component 'c' "
           "Pin list."),
         1, 0},
        {"undefined model before 3.0", "2.1", kPinHeader + "1 s in\n2 s out\n", InputModel("in"),
         E("Component 'c': Model 'out' for Pin '2' not defined."), 1, 0},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(PinMappingTable, HeaderAndRows) {
    const std::string pins = kPinHeader + "1 s GND\n2 s GND\n3 s GND\n";  // lines L to L+3
    const int M = L + 4;  // the [Pin Mapping] keyword line
    const std::string rows = "1 g NC\n2 g NC\n3 g NC\n";
    const std::string header3 = "[Pin Mapping] pulldown_ref pullup_ref\n";
    const std::string header5 =
        "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref "
        "power_clamp_ref\n";
    const std::string header6 =
        "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref "
        "power_clamp_ref ext_ref\n";
    const PinCase cases[] = {
        {"no headers in 3.2", "3.2", pins + "[Pin Mapping]\n" + rows, "",
         E(M, "Unable to find column headers after Pin_Mappings keyword.") +
             E(M, "Pin_Mappings keyword column count must be 3 or 5, found 1 columns."),
         2, 0},
        {"six columns in 3.2", "3.2", pins + header6 + rows, "",
         E(M, "Pin_Mappings keyword column count must be 3 or 5, found 6 columns."), 1, 0},
        {"six columns in 4.2", "4.2", pins + header6 + rows, "", "", 0, 0},
        {"four columns in 4.2", "4.2", pins + "[Pin Mapping] pulldown_ref pullup_ref x\n" + rows,
         "",
         E(M, "Unknown column header 'x' or out of order.") +
             E(M, "Pin_Mappings keyword column count must be 3, 5 or 6, found 4 columns."),
         2, 0},
        {"headers out of order", "4.2", pins + "[Pin Mapping] pullup_ref pulldown_ref\n" + rows, "",
         E(M, "'pulldown_ref' column header not found or out of order.") +
             E(M, "'pullup_ref' column header not found or out of order."),
         2, 0},
        {"header repeated, any case", "4.2",
         pins + "[Pin Mapping] pulldown_ref PULLDOWN_REF gnd_clamp_ref power_clamp_ref\n" + rows,
         "", E(M, "Duplicate column header 'PULLDOWN_REF' ."), 1, 0},
        {"pullup_ref missing", "4.2", pins + "[Pin Mapping] pulldown_ref\n" + rows, "",
         E(M, "'pullup_ref' column header not found or out of order.") +
             E(M, "Pin_Mappings keyword column count must be 3, 5 or 6, found 2 columns."),
         2, 0},
        // The second header is not read; its rows join the table.
        {"duplicate keyword", "4.2", pins + header3 + "1 g NC\n[Pin Mapping] x\n2 g NC\n3 g NC\n",
         "", E(M + 2, "Duplicate Pin_Mapping keyword found."), 1, 0},
        {"short rows", "4.2", pins + header3 + "1\n2 g\n3 g NC\n", "",
         E(M + 1, "No pulldown_ref data.") +
             E(M + 1, "Pin Mapping data lines must contain either 3, 5 or 6 columns.") +
             E(M + 2, "No pullup_ref data.") +
             E(M + 2, "Pin Mapping data lines must contain either 3, 5 or 6 columns.") +
             W("Component c Pin 1 is a GND pin. Usually only has Pulldown_ref in Pin Mapping"),
         4, 1},
        {"seven items", "4.2", pins + header6 + "1 g NC NC NC NC x\n2 g NC\n3 g NC\n", "",
         E(M + 1, "Extra data columns on this line."), 1, 0},
        {"NA labels in any case, stored", "4.2", pins + header3 + "1 NA na\n2 g NC\n3 g NC\n", "",
         E(M + 1, "NA is an invalid Pin_Mapping column entry.") +
             E(M + 1, "na is an invalid Pin_Mapping column entry.") +
             W("Component c Pin 1 is a GND pin. Usually only has Pulldown_ref in Pin Mapping"),
         2, 1},
        {"six items in 3.2", "3.2", pins + header5 + "1 g NC NC NC x\n2 g NC\n3 g NC\n", "",
         E(M + 1, "Pin Mapping data lines must contain either 3 or 5 columns."), 1, 0},
        {"six items under six headers in 4.2", "4.2",
         pins + header6 + "1 g NC NC NC x\n2 g NC\n3 g NC\n", "", "", 0, 0},
        {"six items under five headers", "4.2", pins + header5 + "1 g NC NC NC g\n2 g NC\n3 g NC\n",
         "",
         E(M + 1,
           "When 6 columns are specified, the headings gnd_clamp_ref, power_clamp_ref "
           "and ext_ref must be used."),
         1, 0},
        {"five items under three headers", "4.2", pins + header3 + "1 g NC NC NC\n2 g NC\n3 g NC\n",
         "",
         E(M + 1,
           "When 5 columns are specified, the headings gnd_clamp_ref and power_clamp_ref must "
           "be used."),
         1, 0},
        {"four items", "3.2", pins + header5 + "1 g NC NC\n2 g NC\n3 g NC\n", "",
         E(M + 1, "Pin Mapping data lines must contain either 3 or 5 columns."), 1, 0},
        {"duplicate pin, long label", "4.2",
         pins + header3 + "1 g NC\n2 g NC\n3 gndabcdefghijklm NC\n1 g NC\n", "",
         E(M + 3,
           "pulldown_ref string 'gndabcdefghijklm' is too long, truncating to 15 "
           "characters.") +
             E(M + 4, "Duplicate Pin Mapping Pin."),
         2, 0},
        {"pin without a row, row without a pin", "4.2", pins + header3 + "1 g NC\n3 g NC\n9 g NC\n",
         "",
         E("Component 'c': Pin '2' not referenced in Pin Mappings.") +
             E("Component 'c': Pin Mapping Pin '9' not previously declared in Pin section."),
         2, 0},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(PinMappingTable, PowerGndAndNCPinsAndLabelSearches) {
    // Pin 1 is a signal pin, 2 POWER, 3 GND, 4 NC; each case gives every pin a row.
    const std::string pins = kPinHeader + "1 s in\n2 p POWER\n3 g GND\n4 n NC\n";
    const std::string models = InputModel("in");
    const std::string header3 = "[Pin Mapping] pulldown_ref pullup_ref\n";
    const std::string header5 =
        "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref "
        "power_clamp_ref\n";
    const std::string header6 =
        "[Pin Mapping] pulldown_ref pullup_ref gnd_clamp_ref "
        "power_clamp_ref ext_ref\n";
    const std::string rail = "2 NC vdd1\n3 gnd1 NC\n4 NC NC\n";
    const PinCase cases[] = {
        {"connected as usual", "4.2", pins + header3 + "1 gnd1 vdd1\n" + rail, models, "", 0, 0},
        {"NC pins and labels", "4.2", pins + header3 + "1 NC nc\n" + rail, models, "", 0, 0},
        // Pin 2 comes first in row order, so pin 1's pulldown_ref reaches a POWER pin.
        {"POWER pin with a pulldown_ref", "4.2",
         pins + header3 + "1 gnd1 vdd1\n2 gnd1 vdd1\n3 gnd1 NC\n4 NC NC\n", models,
         W("Component c Pin 2 is a POWER pin. Usually only has Pullup_ref in Pin Mapping") +
             W("Component 'c': Pin Mapping 'gnd1': pulldown_ref entry is usually connected to "
               "GND."),
         0, 2},
        {"POWER pin with a pulldown_ref in 3.2", "3.2",
         pins + header3 + "1 gnd1 vdd1\n2 gnd1 vdd1\n3 gnd1 NC\n4 NC NC\n", models,
         W("Pin 2 is a POWER pin. Usually only has Pullup_ref in Pin Mapping") +
             W("Component 'c': Pin Mapping 'gnd1': pulldown_ref entry is usually connected to "
               "GND."),
         0, 2},
        {"POWER pin without a pullup_ref", "4.2",
         pins + header3 + "1 gnd1 NC\n2 NC NC\n" + "3 gnd1 NC\n4 NC NC\n", models,
         W("Component c Pin 2 is a POWER pin. Usually only has Pullup_ref in Pin Mapping"), 0, 1},
        // Pin 3's pullup_ref vdd2 is also the first on a POWER or GND pin for pin 1.
        {"GND pin with a pullup_ref", "4.2",
         pins + header3 + "1 gnd1 vdd2\n2 NC vdd1\n3 gnd1 vdd2\n4 NC NC\n", models,
         W("Component c Pin 3 is a GND pin. Usually only has Pulldown_ref in Pin Mapping") +
             W("Component 'c': Pin Mapping 'vdd2': pullup_ref entry is usually connected to "
               "POWER."),
         0, 2},
        {"GND pin with a pullup_ref in 3.2", "3.2",
         pins + header3 + "1 gnd1 vdd1\n2 NC vdd1\n3 gnd1 vdd1\n4 NC NC\n", models,
         W("Pin 3 is a GND pin. Usually only has Pulldown_ref in Pin Mapping"), 0, 1},
        {"NC pin with a reference", "4.2",
         pins + header3 + "1 gnd1 vdd1\n2 NC vdd1\n3 gnd1 NC\n4 gnd1 NC\n", models,
         W("Component c Pin 4 is NC. Should not have any references in Pin Mapping"), 0, 1},
        {"NC pin with a reference in 3.2", "3.2",
         pins + header5 + "1 gnd1 vdd1 NC NC\n2 NC vdd1 NC NC\n3 gnd1 NC NC NC\n4 NC NC NC vdd1\n",
         models, W("Pin 4 is NC. Should not have any references in Pin Mapping"), 0, 1},
        // The rows are checked column by column: the pulldown_ref findings come first.
        {"labels on no POWER or GND pin", "4.2", pins + header3 + "1 gnd2 vdd2\n" + rail, models,
         E("Component 'c': Pin Mapping pulldown_ref entry 'gnd2' is not connected to at least "
           "one pin whose model_name is POWER or GND.") +
             E("Component 'c': Pin Mapping pullup_ref entry 'vdd2' is not connected to at "
               "least one pin whose model_name is POWER or GND."),
         2, 0},
        // A row of a pin that is not in [Pin] searches like a signal pin's row.
        {"row of an undeclared pin", "4.2", pins + header3 + "1 gnd1 vdd1\n" + rail + "9 x vdd1\n",
         models,
         E("Component 'c': Pin Mapping Pin '9' not previously declared in Pin section.") +
             E("Component 'c': Pin Mapping pulldown_ref entry 'x' is not connected to at least "
               "one pin whose model_name is POWER or GND."),
         2, 0},
        // Labels are compared exactly: VDD1 is not vdd1.
        {"labels compared exactly", "4.2", pins + header3 + "1 gnd1 VDD1\n" + rail, models,
         E("Component 'c': Pin Mapping pullup_ref entry 'VDD1' is not connected to at least "
           "one pin whose model_name is POWER or GND."),
         1, 0},
        {"pulldown label also a pullup label", "4.2",
         pins + header3 + "1 gnd1 vdd1\n2 NC gnd1\n3 gnd1 NC\n4 NC NC\n", models,
         W("Component c: Pulldown Reference gnd1 is also used as a Pullup Reference") +
             E("Component 'c': Pin Mapping pullup_ref entry 'vdd1' is not connected to at "
               "least one pin whose model_name is POWER or GND."),
         1, 1},
        {"pulldown label also a pullup label in 3.2", "3.2",
         pins + header3 + "1 gnd1 gnd1\n2 NC vdd1\n3 gnd1 NC\n4 NC NC\n", models,
         W("Pulldown Reference gnd1 is also used as a Pullup Reference") +
             E("Component 'c': Pin Mapping pullup_ref entry 'gnd1' is not connected to at "
               "least one pin whose model_name is POWER or GND."),
         1, 1},
        // gnd_clamp_ref is looked for among the pulldown_refs, power_clamp_ref among the
        // pullup_refs.
        {"clamp labels connected", "4.2",
         pins + header5 +
             "1 gnd1 vdd1 gnd1 vdd1\n2 NC vdd1 NC NC\n3 gnd1 NC NC NC\n4 NC NC NC NC\n",
         models, "", 0, 0},
        {"clamp labels unconnected", "4.2",
         pins + header5 +
             "1 gnd1 vdd1 vdd1 gnd1\n2 NC vdd1 NC NC\n3 gnd1 NC NC NC\n4 NC NC NC NC\n",
         models,
         E("Component 'c': Pin Mapping gnd_clamp_ref entry 'vdd1' is not connected to at least "
           "one pin whose model_name is POWER or GND.") +
             E("Component 'c': Pin Mapping power_clamp_ref entry 'gnd1' is not connected to at "
               "least one pin whose model_name is POWER or GND."),
         2, 0},
        // Rail rows whose pulldown_ref and pullup_ref name the other rail.
        {"clamp labels on the other rail", "4.2",
         pins + header5 +
             "1 NC NC gclamp pclamp\n2 gclamp vdd1 NC NC\n3 gnd1 pclamp NC NC\n4 NC NC NC NC\n",
         models,
         W("Component c Pin 2 is a POWER pin. Usually only has Pullup_ref in Pin Mapping") +
             W("Component c Pin 3 is a GND pin. Usually only has Pulldown_ref in Pin Mapping") +
             W("Component 'c': Pin Mapping 'gclamp': gnd_clamp_ref entry is usually connected "
               "to GND.") +
             W("Component 'c': Pin Mapping 'pclamp': power_clamp_ref entry is usually "
               "connected to POWER."),
         0, 4},
        // ext_ref is looked for among both columns; the first POWER or GND row decides.
        {"ext_ref", "4.2",
         pins + "5 s in2\n6 s in2\n" + header6 +
             "1 NC NC NC NC gnd1\n2 NC vdd1 NC NC NC\n3 gnd1 NC NC NC NC\n" +
             "4 NC NC NC NC NC\n5 NC NC NC NC vdd1\n6 NC NC NC NC x\n",
         models + InputModel("in2"),
         W("Component 'c': Pin Mapping 'gnd1': ext_ref entry is usually connected to POWER.") +
             E("Component 'c': Pin Mapping ext_ref entry 'x' is not connected to at least one "
               "pin whose model_name is POWER or GND."),
         1, 1},
    };
    CheckPinCases(cases, std::size(cases));
}
