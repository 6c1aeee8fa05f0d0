#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/model_text.h"

namespace {

// An Input model that adds the given [Add Submodel] rows: six lines, then the keyword and rows.
std::string Adding(const std::string& model, const std::string& rows) {
    return "[Model] " + model +
           "\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
           "[Voltage Range] 3.3 3 3.6\n" +
           (rows.empty() ? "" : "[Add Submodel]\n" + rows);
}

// A [Submodel] with a table of its own; the lines after the keyword draw nothing.
std::string Submodel(const std::string& keywordLine) {
    return keywordLine + "\nSubmodel_type Dynamic_clamp\n[Pulldown]\n-1 0 0 0\n1 0 0 0\n";
}

std::string Undefined(const std::string& submodel, const std::string& model) {
    return E("Could not find definition for Submodel " + submodel + " of Model " + model);
}

std::string Unused(const std::string& submodel) {
    return W("Submodel " + submodel + " is not referenced by any model [Add Submodel] keyword");
}

}  // namespace

TEST(SubmodelReferences, AddedAndDefinedNames) {
    const ModelCase cases[] = {
        {"added and defined", "5.0", Adding("in", "sub Non-Driving\n") + Submodel("[Submodel] sub"),
         "", 0, 0},
        {"added and defined in 3.2", "3.2", Submodel("[Submodel] sub") + Adding("in", "sub All\n"),
         "", 0, 0},
        {"added but not defined", "5.0", Adding("in", "sub All\n") + Submodel("[Submodel] other"),
         Unused("other") + Undefined("sub", "in"), 1, 1},
        {"added without any submodel", "5.0", Adding("in", "sub All\nsub2 All\n"),
         Undefined("sub", "in") + Undefined("sub2", "in"), 2, 0},
        {"defined but never added", "5.0", Adding("in", "") + Submodel("[Submodel] sub"),
         Unused("sub"), 0, 1},
        {"defined in a file without models", "5.0", Submodel("[Submodel] sub"), Unused("sub"), 0,
         1},
        // Names are compared exactly, letter case included.
        {"names differing in case", "5.0", Adding("in", "Sub All\n") + Submodel("[Submodel] sub"),
         Unused("sub") + Undefined("Sub", "in"), 1, 1},
        {"several models add one submodel", "5.0",
         Adding("in1", "sub All\n") + Adding("in2", "sub Non-Driving\n") +
             Submodel("[Submodel] sub"),
         "", 0, 0},
        // Models and submodels are reported newest first, a model's names in file order.
        {"several models add missing submodels", "5.0",
         Adding("in1", "gone All\nlost All\n") + Adding("in2", "gone All\n") +
             Submodel("[Submodel] a") + Submodel("[Submodel] b"),
         Unused("b") + Unused("a") + Undefined("gone", "in2") + Undefined("gone", "in1") +
             Undefined("lost", "in1"),
         3, 2},
        // Each [Submodel] counts, also when another carries the same name.
        {"one name defined twice, never added", "5.0",
         Submodel("[Submodel] sub") + Submodel("[Submodel] sub"), Unused("sub") + Unused("sub"), 0,
         2},
        // The name is the first item; later items are ignored and a missing name matches
        // nothing.
        {"items after the name", "5.0",
         Adding("in", "sub All\n") + Submodel("[Submodel]   sub extra items"), "", 0, 0},
        {"no name", "5.0", Adding("in", "sub All\n") + Submodel("[Submodel]"),
         Undefined("sub", "in"), 1, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

// The submodel findings come after the test data and before the models nothing refers to.
TEST(SubmodelReferences, OrderAmongTheOtherWholeFileFindings) {
    const ModelCase cases[] = {
        {"test data, unused submodel, undefined submodel, unreferenced model", "5.0",
         Adding("in", "sub All\n") + Submodel("[Submodel] other") +
             "[MODEL] spare\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
             "[Voltage Range] 3.3 3 3.6\n"
             "[Test Data] d\nTest_data_type Single_ended\nDriver_model in\nTest_load l\n"
             "[Rising Waveform Near]\n0 0 0 0\n1n 1 1 1\n"
             "[Test Load] l\nTest_load_type Single_ended\nReceiver_model in\n",
         W("Driver_model 'in' in Test Data 'd' is not an output type.") + Unused("other") +
             Undefined("sub", "in") +
             W("Model spare not referenced in any [Pin], [Model Selector], [Driver Schedule] or "
               "[Series Pin Mapping] sections."),
         1, 3},
    };
    CheckModelCases(cases, std::size(cases));
}
