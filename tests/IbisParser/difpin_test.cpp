#include <gtest/gtest.h>

#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/expected_output.h"
#include "tests/IbisParser/model_text.h"
#include "tests/IbisParser/pin_table_text.h"

namespace {

// Pins 1 to 4 on lines 11 to 15 (GND, so no model check looks at them); the next table's
// keyword is on line T.
const std::string kPins = "[Pin] signal_name model_name\n1 s GND\n2 s GND\n3 s GND\n4 s GND\n";
constexpr int T = 16;

const std::string kDiff4 = "[Diff Pin] inv_pin vdiff tdelay_typ\n";
const std::string kDiff6 = "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min tdelay_max\n";
const std::string kSeries3 = "[Series Pin Mapping] pin_2 model_name\n";
const std::string kSeries4 = "[Series Pin Mapping] pin_2 model_name function_table_group\n";

const std::string kSeriesModel =
    "[Model] ser\nModel_type Series\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n"
    "[R Series] 1 1 1\n";
const std::string kSwitchModel =
    "[Model] sw\nModel_type Series_switch\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n"
    "[On]\n[R Series] 1 1 1\n[Off]\n[R Series] 1k 1k 1k\n";
const std::string kInputModel =
    "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
    "[Voltage Range] 3.3 3 3.6\n";

// The start of the after-file findings of [Series Pin Mapping] rows.
const std::string kSpm = "Component 'c': [Series Pin Mapping] ";

// The after-file findings of [Diff Pin] rows.
std::string Undeclared(const char* column, const std::string& pin) {
    return E(std::string("Component 'c': ") + column + " '" + pin +
             "' not previously declared in Pin section.");
}
std::string NotUnique(const char* column, const std::string& pin) {
    return W(std::string("Component 'c': ") + column + " '" + pin + "' is not unique.");
}

std::string Unused(const std::string& group) {
    return W("Component 'c': [Series Switch Groups] Group name '" + group +
             "' is not used by any [Series Pin Mapping] function_table_group.");
}

}  // namespace

TEST(DiffPinTable, HeaderColumnsAndDuplicateKeyword) {
    const std::string row = "1 2 0.1 1n\n";
    const PinCase cases[] = {
        {"six columns, any letter case", "4.2",
         kPins + "[Diff Pin] INV_PIN Vdiff TDelay_Typ tdelay_MIN Tdelay_max\n1 2 0.1 1n 1n 1n\n",
         "", "", 0, 0},
        {"no headers", "4.2", kPins + "[Diff Pin]\n" + row, "",
         E(T, "Unable to find column headers after Diff_Pins keyword.") +
             E(T, "Diff_Pins keyword column count must be 4 or 6, found 1 columns."),
         2, 0},
        {"required headers out of order", "4.2",
         kPins + "[Diff Pin] vdiff inv_pin tdelay_typ\n" + row, "",
         E(T, "'inv_pin' column header not found or out of order.") +
             E(T, "'vdiff' column header not found or out of order."),
         2, 0},
        {"five columns", "4.2", kPins + "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_min\n" + row,
         "", E(T, "Diff_Pins keyword column count must be 4 or 6, found 5 columns."), 1, 0},
        {"tdelay_max before tdelay_min", "4.2",
         kPins + "[Diff Pin] inv_pin vdiff tdelay_typ tdelay_max tdelay_min\n" + row, "",
         E(T, "Unknown column header 'tdelay_max' or out of order.") +
             E(T, "Unknown column header 'tdelay_min' or out of order."),
         2, 0},
        {"header repeated", "4.2",
         kPins + "[Diff Pin] inv_pin vdiff tdelay_typ TDELAY_TYP tdelay_max\n" + row, "",
         E(T, "Duplicate column header 'TDELAY_TYP' ."), 1, 0},
        // The rows after the second keyword still join the table.
        {"duplicate keyword", "4.2", kPins + kDiff4 + row + kDiff4 + "1 3 0.1 1n\n", "",
         E(T + 2, "Duplicate Diff_Pin keyword found.") + NotUnique("Diff_Pin", "1"), 1, 1},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(DiffPinTable, RowItemsAndValues) {
    const int R = T + 1;  // the first row
    const PinCase cases[] = {
        // A short row is still stored: its empty inv_pin is no pin of the component.
        {"pin only", "4.2", kPins + kDiff4 + "1\n", "",
         E(R, "No inv_pin column entry.") +
             E(R, "Diff_Pin data line column count must be 4 or 6.") + Undeclared("inv_pin", ""),
         3, 0},
        {"no vdiff", "4.2", kPins + kDiff4 + "1 2\n", "",
         E(R, "No vdiff column entry.") + E(R, "Diff_Pin data line column count must be 4 or 6."),
         2, 0},
        {"pin is its own inv_pin", "4.2", kPins + kDiff4 + "1 1 0.1 1n\n", "",
         E(R, "Diff_Pin column pin same as inv_pin column pin."), 1, 0},
        // The missing item, then the values read, then the count.
        {"bad vdiff, no tdelay_typ", "4.2", kPins + kDiff4 + "1 2 abc\n", "",
         E(R, "No tdelay_typ column entry.") + E(R, "Bad value for vdiff column.") +
             E(R, "Diff_Pin data line column count must be 4 or 6."),
         3, 0},
        {"seven items", "4.2", kPins + kDiff6 + "1 2 0.1 1n 1n 1n x\n", "",
         E(R, "Too many Diff Pin data columns."), 1, 0},
        {"six items under four headers", "4.2", kPins + kDiff4 + "1 2 0.1 1n 1n 1n\n", "",
         E(R, "When using 6 columns, the tdelay_min and tdelay_max headers must be used."), 1, 0},
        {"bad and suspicious values", "4.2", kPins + kDiff6 + "1 2 abc 1.5n2 1n 2n\n", "",
         E(R, "Bad value for vdiff column.") + W(R, "Suspicious value for tdelay_typ column."), 1,
         1},
        // The cut pin name is the one looked up in [Pin].
        {"six-character names", "4.2",
         "[Pin] signal_name model_name\nABCDE s GND\n2 s GND\n" + kDiff4 +
             "ABCDEF 2 0.1 1n\n2 ABCDEFG 0.1 1n\n",
         "",
         E(T - 1, "Diff_Pin column string 'ABCDEF' is too long, truncating to 5 characters.") +
             E(T, "inv_pin column string 'ABCDEFG' is too long, truncating to 5 characters.") +
             E("Component 'c': Inv_pin 'ABCDE' already in use as a Diff_pin.") +
             E("Component 'c': Diff_pin '2' already in use as an inv_pin."),
         4, 0},
    };
    CheckPinCases(cases, std::size(cases));
}

// tdelay_typ must lie between tdelay_min and tdelay_max (either may be the larger); equal to
// one of them is between.
TEST(DiffPinTable, TypicalDelayBetweenMinAndMax) {
    const int R = T + 1;
    const std::string typ = "Typ value is not in between Min and Max ";
    const PinCase cases[] = {
        {"below both", "4.2", kPins + kDiff6 + "1 2 0.1 1n 2n 3n\n", "", W(R, typ), 0, 1},
        {"above both", "4.2", kPins + kDiff6 + "1 2 0.1 4n 2n 3n\n", "", W(R, typ), 0, 1},
        {"equal to min, equal to max", "4.2",
         kPins + kDiff6 + "1 2 0.1 2n 2n 3n\n3 4 0.1 3n 2n 3n\n", "", "", 0, 0},
        {"min above max", "4.2", kPins + kDiff6 + "1 2 0.1 2n 3n 1n\n", "", "", 0, 0},
        // NA tdelay_max takes tdelay_typ's value.
        {"NA tdelay_max", "4.2", kPins + kDiff6 + "1 2 0.1 1n 2n NA\n", "", "", 0, 0},
        // NA tdelay_min is 0, below a typical that tops tdelay_max.
        {"NA tdelay_min", "4.2", kPins + kDiff6 + "1 2 0.1 1n na 0.5n\n", "", W(R, typ), 0, 1},
        // An unreadable tdelay_min leaves nothing to compare.
        {"bad tdelay_min", "4.2", kPins + kDiff6 + "1 2 0.1 5n x 3n\n", "",
         E(R, "Bad value for tdelay_min column."), 1, 0},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(DiffPinTable, PinsAndPairsAfterTheFile) {
    const std::string d = kPins + "5 s GND\n6 s GND\n" + kDiff4;
    const auto row = [](const char* pin, const char* inv) {
        return std::string(pin) + " " + inv + " 0.1 1n\n";
    };
    const PinCase cases[] = {
        {"undeclared pins", "4.2", kPins + kDiff4 + row("7", "8") + row("A1", "3"), "",
         Undeclared("Diff_Pin", "7") + Undeclared("inv_pin", "8") + Undeclared("Diff_Pin", "A1"), 3,
         0},
        {"no [Pin]", "4.2", kDiff4 + row("1", "2"), "",
         E("Unable to find Pin keyword data for Component 'c'.") + Undeclared("Diff_Pin", "1") +
             Undeclared("inv_pin", "2"),
         3, 0},
        // One report per pair of rows.
        {"three rows, same pin", "4.2", d + row("1", "2") + row("1", "3") + row("1", "4"), "",
         NotUnique("Diff_Pin", "1") + NotUnique("Diff_Pin", "1") + NotUnique("Diff_Pin", "1"), 0,
         3},
        {"swapped pair", "4.2", d + row("1", "2") + row("2", "1"), "",
         E("Component 'c': Inv_pin '1' already in use as a Diff_pin.") +
             E("Component 'c': Diff_pin '2' already in use as an inv_pin."),
         2, 0},
        // Pairs in the order of their first row, then of their second.
        {"pairs in row order", "4.2",
         d + row("1", "2") + row("3", "2") + row("1", "4") + row("3", "5"), "",
         NotUnique("inv_pin", "2") + NotUnique("Diff_Pin", "1") + NotUnique("Diff_Pin", "3"), 0, 3},
        // Rows without an inv_pin keep it empty, and the empty ones are equal.
        {"two rows without inv_pin", "4.2", d + "1\n2\n", "",
         E(T + 3, "No inv_pin column entry.") +
             E(T + 3, "Diff_Pin data line column count must be 4 or 6.") +
             E(T + 4, "No inv_pin column entry.") +
             E(T + 4, "Diff_Pin data line column count must be 4 or 6.") +
             Undeclared("inv_pin", "") + Undeclared("inv_pin", "") + NotUnique("inv_pin", ""),
         6, 1},
        // Every row's pins are looked up before any pair is compared.
        {"undeclared pins before pairs", "4.2", d + row("1", "2") + row("1", "9"), "",
         Undeclared("inv_pin", "9") + NotUnique("Diff_Pin", "1"), 1, 1},
    };
    CheckPinCases(cases, std::size(cases));
}

// A pin whose model is a differential type needs a [Diff Pin] row, as pin or as inv_pin.
TEST(DiffPinTable, DifferentialModelPins) {
    const std::string diffModel =
        "[Model] dif\nModel_type Input_diff\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n"
        "[External Model]\nLanguage SPICE\nCorner Typ a.sp a\n[End External Model]\n";
    const std::string pins = "[Pin] signal_name model_name\n1 s dif\n2 s dif\n";
    const PinCase cases[] = {
        {"pin and inv_pin in a row", "5.0", pins + kDiff4 + "1 2 0.1 1n\n", diffModel, "", 0, 0},
        {"pin in no row", "5.0", pins + "3 s dif\n" + kDiff4 + "1 2 0.1 1n\n9 1 0.1 1n\n",
         diffModel,
         Undeclared("Diff_Pin", "9") +
             E("Component 'c': Inv_pin '1' already in use as a Diff_pin.") +
             E("Component <c> pin <3> model <dif> type <Input_diff> using [External Model] "
               "without corresponding [Diff_Pin]"),
         3, 0},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(SeriesPinMappingTable, HeaderColumnsAndDuplicateKeyword) {
    const PinCase cases[] = {
        {"four columns, any letter case", "3.2",
         kPins + "[Series Pin Mapping] PIN_2 Model_Name Function_Table_Group\n1 2 sw g1\n"
                 "[Series Switch Groups]\nOn g1 /\n",
         kSwitchModel, "", 0, 0},
        {"no headers", "4.2", kPins + "[Series Pin Mapping]\n1 2 ser\n", kSeriesModel,
         E(T, "Unable to find column headers after Series_Pin_Mappings keyword.") +
             E(T, "Series_Pin_Mappings keyword column count must be 3 or 4, found 1 columns."),
         2, 0},
        {"model_name missing", "4.2", kPins + "[Series Pin Mapping] pin_2\n1 2 ser\n", kSeriesModel,
         E(T, "'model_name' column header not found or out of order.") +
             E(T, "Series_Pin_Mappings keyword column count must be 3 or 4, found 2 columns."),
         2, 0},
        {"unknown third header", "4.2",
         kPins + "[Series Pin Mapping] pin_2 model_name group\n1 2 ser\n", kSeriesModel,
         E(T, "Unknown column header 'group' or out of order."), 1, 0},
        {"headers after function_table_group", "4.2",
         kPins + "[Series Pin Mapping] pin_2 model_name function_table_group x y\n1 2 ser\n",
         kSeriesModel,
         E(T, "Unknown column header after 'function_table_group'") +
             E(T, "Unknown column header after 'function_table_group'") +
             E(T, "Series_Pin_Mappings keyword column count must be 3 or 4, found 6 columns."),
         3, 0},
        // The rows before the second keyword are dropped: 'none' is never looked up. The
        // second header is read.
        {"duplicate keyword", "4.2",
         kPins + kSeries3 + "1 2 none\n[Series Pin Mapping] pin_2\n3 4 ser\n", kSeriesModel,
         E(T + 2, "Duplicate Series_Pin_Mapping keyword found.") +
             E(T + 2, "'model_name' column header not found or out of order.") +
             E(T + 2, "Series_Pin_Mappings keyword column count must be 3 or 4, found 2 columns."),
         3, 0},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(SeriesPinMappingTable, RowItemsAndNames) {
    const int R = T + 1;
    const std::string name20 = "abcdefghijabcdefghij";
    const std::string name40 = name20 + name20;
    const auto series = [](const std::string& name) {
        return "[Model] " + name +
               "\nModel_type Series\nC_comp 1p 1p 1p\n"
               "[Voltage Range] 3.3 3 3.6\n[R Series] 1 1 1\n";
    };
    const std::string columns =
        " [Series Pin Mapping] Data lines must contain either 3 or 4 columns.";
    const PinCase cases[] = {
        // Short rows are kept with their empty items.
        {"pin_1 only", "4.2", kPins + kSeries3 + "1\n", "",
         E(R, "No Pin2 specified.") + E(R, columns) +
             E(kSpm + "Pin2 '' not previously declared in Pin section.") +
             E(kSpm + "Model '' is not defined."),
         4, 0},
        {"no model", "4.2", kPins + kSeries3 + "1 2\n", "",
         E(R, "No Model specified.") + E(R, columns) + E(kSpm + "Model '' is not defined."), 3, 0},
        {"five items", "4.2", kPins + kSeries4 + "1 2 sw g1 x\n[Series Switch Groups]\nOn g1 /\n",
         kSwitchModel, E(R, "Extra data columns on this line."), 1, 0},
        {"four items under three headers", "4.2", kPins + kSeries3 + "1 2 ser g1\n", kSeriesModel,
         E(R,
           "[Series Pin Mapping] When 4 columns are specified, the heading "
           "'function_table_group' must be used.") +
             W(kSpm + "Model 'ser' is of type Series so function_table_group 'g1' is ignored."),
         1, 1},
        {"reserved model and group names", "4.2", kPins + kSeries4 + "1 2 GND\n3 4 sw NA\n",
         kSwitchModel,
         E(R, "Illegal use of Reserved Word 'GND'.") +
             E(R + 1, "Illegal use of Reserved Word 'NA'.") +
             E(kSpm + "Model 'GND' is not defined.") +
             E(kSpm + "Model 'sw' uses function NA which is not defined."),
         4, 0},
        {"six-character pins", "4.2", kPins + kSeries3 + "ABCDEF ABCDEFG ser\n", kSeriesModel,
         E(R, "Pin1 string 'ABCDEF' is too long, truncating to 5 characters.") +
             E(R, "Pin2 string 'ABCDEFG' is too long, truncating to 5 characters.") +
             E(kSpm + "Pin1 'ABCDE' not previously declared in Pin section.") +
             E(kSpm + "Pin2 'ABCDE' not previously declared in Pin section."),
         4, 0},
        // The cut model name is the one looked up.
        {"model name of 20 in 3.2", "3.2", kPins + kSeries3 + "1 2 " + name20 + "\n",
         series(name20), "", 0, 0},
        {"model name of 21 in 3.2", "3.2", kPins + kSeries3 + "1 2 " + name20 + "x\n",
         series(name20),
         E(R, "Model string '" + name20 + "x' is too long, truncating to 20 characters."), 1, 0},
        {"model name of 41 in 4.2", "4.2", kPins + kSeries3 + "1 2 " + name40 + "x\n",
         series(name40),
         E(R, "Model string '" + name40 + "x' is too long, truncating to 40 characters."), 1, 0},
        {"group name of 21", "4.2",
         kPins + kSeries4 + "1 2 sw " + name20 + "x\n[Series Switch Groups]\nOn " + name20 + " /\n",
         kSwitchModel,
         E(R, "Function group Name string '" + name20 +
                  "x' is too long, truncating to 20 characters."),
         1, 0},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(SeriesPinMappingTable, PinsModelsAndGroupsAfterTheFile) {
    const std::string groups = "[Series Switch Groups]\nOn g1 /\n";
    const std::string models = kSeriesModel + kSwitchModel + kInputModel;
    const std::string selector = "[Model Selector] sel\nsw a\nser b\nin c\n";
    const PinCase cases[] = {
        {"no [Pin]", "4.2", kSeries3 + "1 2 none\n", "",
         E("Unable to find Pin keyword data for Component 'c'.") +
             E(kSpm + "defined but [Pins] not defined."),
         2, 0},
        {"undeclared pins", "4.2", kPins + kSeries3 + "7 8 ser\n", kSeriesModel,
         E(kSpm + "Pin1 '7' not previously declared in Pin section.") +
             E(kSpm + "Pin2 '8' not previously declared in Pin section."),
         2, 0},
        // Model names are compared exactly.
        {"undefined model", "4.2", kPins + kSeries3 + "1 2 SER\n", kSeriesModel,
         E(kSpm + "Model 'SER' is not defined.") +
             W("Model ser not referenced in any [Pin], [Model Selector], [Driver Schedule] or "
               "[Series Pin Mapping] sections."),
         1, 1},
        {"each model type without a group", "4.2", kPins + kSeries4 + "1 2 ser\n2 3 sw\n3 4 in\n",
         models,
         E(kSpm + "Model 'sw' is of type Series_Switch so function_table_group is required.") +
             E(kSpm + "Model 'in' is not of type Series."),
         2, 0},
        {"each model type with a group", "4.2",
         kPins + kSeries4 + "1 2 ser g1\n2 3 sw g1\n3 4 in g1\n" + groups, models,
         W(kSpm + "Model 'ser' is of type Series so function_table_group 'g1' is ignored.") +
             E(kSpm + "Model 'in' is not of type Series_Switch."),
         1, 1},
        // Group names are compared exactly; the unused g1 is reported after the rows.
        {"group not among the switch groups", "4.2", kPins + kSeries4 + "1 2 sw G1\n" + groups,
         kSwitchModel, E(kSpm + "Model 'sw' uses function G1 which is not defined.") + Unused("g1"),
         1, 1},
        {"model of unknown type", "4.2", kPins + kSeries3 + "1 2 x\n",
         "[Model] x\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n",
         E("Model 'x': Model_type Not Defined") + E("Model 'x': Ramp Not Defined") +
             E(kSpm + "Model 'x' is of unknown type."),
         3, 0},
        // Each model of a selector is checked in list order, in the selector's form.
        {"selector without a group", "4.2", kPins + kSeries4 + "1 2 sel\n" + selector, models,
         E(kSpm +
           "Model Selector 'sel' Model 'sw' is of type Series_Switch so function_table_group is "
           "required.") +
             E(kSpm + "Model Selector 'sel' Model 'in' is not of type Series."),
         2, 0},
        {"selector with an undefined group", "4.2",
         kPins + kSeries4 + "1 2 sel g2\n" + groups + selector, models,
         E(kSpm + "Model Selector 'sel' Model 'sw' uses function g2 which is not defined.") +
             W(kSpm +
               "Model Selector 'sel' Model 'ser' is of type Series so function_table_group 'g2' "
               "is ignored.") +
             E(kSpm + "Model Selector 'sel' Model 'in' is not of type Series_Switch.") +
             Unused("g1"),
         2, 2},
    };
    CheckPinCases(cases, std::size(cases));
}

TEST(SeriesSwitchGroupsTable, GroupsAndNames) {
    // Rows using g1 and g2; lines 16 to 18, the keyword on line G.
    const std::string rows = kPins + kSeries4 + "1 2 sw g1\n3 4 sw g2\n";
    const int G = T + 3;
    const std::string k = "[Series Switch Groups]\n";
    const std::string name20 = "abcdefghijabcdefghij";
    const PinCase cases[] = {
        // A group runs on until its "/", over blank lines too; every name of it counts.
        {"group over several lines", "4.2", rows + k + "On g1\n  \n\ng3\ng2 /\n", kSwitchModel,
         Unused("g3"), 0, 1},
        // On a continuation line "Off" is a name, not a new group.
        {"Off continuing a group", "4.2", rows + k + "On g1\nOff g2 /\n", kSwitchModel,
         E(G + 2, "Series switch Group name cannot be 'On' or 'Off'") + Unused("Off"), 1, 1},
        // The line is dropped, so g1 is no group name.
        {"state word in lower case", "4.2", rows + k + "on g1 /\nOff g2 /\n", kSwitchModel,
         E(G + 1, "Unknown sub parameter 'on'") +
             E(kSpm + "Model 'sw' uses function g1 which is not defined."),
         2, 0},
        {"no names", "4.2", rows + k + "On\nOff g1 g2 /\n", kSwitchModel,
         E(G + 1, "No Group names specified on this line"), 1, 0},
        // Names are cut to 20 characters: both long names become the row's group name.
        {"names equal once cut", "4.2",
         kPins + kSeries4 + "1 2 sw " + name20 + "\n" + k + "On " + name20 + "x " + name20 +
             "y /\n",
         kSwitchModel,
         E(G, "Series switch Group name '" + name20 + "x' over 20 characters long") +
             E(G, "Series switch Group name '" + name20 + "y' over 20 characters long") +
             E(G, "Duplicate Series switch Group name '" + name20 + "'"),
         3, 0},
        {"On or Off as a name", "4.2", rows + k + "On g1 g2 Off /\n", kSwitchModel,
         E(G + 1, "Series switch Group name cannot be 'On' or 'Off'") + Unused("Off"), 1, 1},
        // A name may be in two groups but only once in each.
        {"repeated name", "4.2", rows + k + "On g1 g2 g1 /\nOff g1 /\n", kSwitchModel,
         E(G + 1, "Duplicate Series switch Group name 'g1'"), 1, 0},
        {"reserved name", "4.2", rows + k + "On g1 g2 GND /\n", kSwitchModel,
         E(G + 1, "Illegal use of Reserved Word 'GND'.") + Unused("GND"), 1, 1},
        {"items after the keyword", "4.2", rows + "[Series Switch Groups] x y\nOn g1 g2 /\n",
         kSwitchModel,
         E(G, "Incorrect Number of Line Items (3) For Series_Switch_Groups: Expecting 1"), 1, 0},
        // The second keyword's groups join the first's.
        {"duplicate keyword", "4.2", rows + k + "On g1 /\n" + k + "Off g2 g3 /\n", kSwitchModel,
         E(G + 2, "Duplicate [Series_Switch_Groups] keyword found.") + Unused("g3"), 1, 1},
        // The next keyword, [Model] on line G + 2, finds the group still open.
        {"group left open", "4.2", rows + k + "On g1 g2\n", kSwitchModel,
         E(G + 2, "Previous keyword not terminated properly. Possibly missing a \"/\"\n"), 1, 0},
        // Without [Series Pin Mapping] every name is unused, in file order.
        {"no series pin mapping", "4.2", kPins + k + "On b a /\nOff c /\n", "",
         Unused("b") + Unused("a") + Unused("c"), 0, 3},
    };
    CheckPinCases(cases, std::size(cases));
}

// After the file: the tables in the order [Pin], [Diff Pin], [Series Pin Mapping],
// [Series Switch Groups], whatever their order in the file.
TEST(SeriesSwitchGroupsTable, FindingsInTableOrder) {
    const PinCase cases[] = {
        {"tables in reverse order", "4.2",
         "[Series Switch Groups]\nOn g1 /\n" + kSeries4 + "1 2 sw g9\n" + kDiff4 + "1 9 0.1 1n\n" +
             kPins + "5 s nomodel\n",
         kSwitchModel,
         E("Component 'c': Model 'nomodel' for Pin '5' not defined.") + Undeclared("inv_pin", "9") +
             E(kSpm + "Model 'sw' uses function g9 which is not defined.") + Unused("g1"),
         3, 1},
    };
    CheckPinCases(cases, std::size(cases));
}
