#include <gtest/gtest.h>

#include <string>

#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "tests/IbisParser/model_text.h"

namespace {

// An Input model with everything it needs: six lines.
std::string InputModel(const std::string& name) {
    return "[Model] " + name +
           "\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
           "[Voltage Range] 3.3 3 3.6\n";
}

// The lines after a model's sub-parameters that an Output model needs: four lines.
const std::string kOutputTail =
    "[Voltage Range] 3.3 3 3.6\n[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n";

const std::string kName40 = "abcdefghijabcdefghijabcdefghijabcdefghij";

}  // namespace

TEST(MdlModelLine, NameCountLimitReservedWordAndRepeat) {
    const ModelCase cases[] = {
        {"40 characters in 5.0", "5.0", InputModel(kName40), "", 0, 0},
        // The pin row that uses the model draws the pin table's own cut.
        {"41 characters in 5.0", "5.0", InputModel(kName40 + "x"),
         E(5, "Model Name Over 40 Characters Long") + E(18, "Model name string '" + kName40 +
                                                                "x' is too long, truncating to 40 "
                                                                "characters."),
         2, 0},
        {"20 characters in 3.2", "3.2", InputModel(kName40.substr(0, 20)), "", 0, 0},
        {"21 characters in 3.2", "3.2", InputModel(kName40.substr(0, 21)),
         E(5, "Model Name Over 20 Characters Long") +
             E(18, "Model name string '" + kName40.substr(0, 21) +
                       "' is too long, truncating to 20 characters."),
         2, 0},
        {"no name", "3.2", InputModel(""),
         E(5, "Incorrect Number of Line Items (0) For Keyword Model: Expecting 1") +
             W("Model  not referenced in any [Pin], [Model Selector], [Driver Schedule] or "
               "[Series Pin Mapping] sections."),
         1, 1},
        {"two names", "3.2", InputModel("a b"),
         E(5, "Incorrect Number of Line Items (2) For Keyword Model: Expecting 1"), 1, 0},
        {"reserved", "3.2", InputModel("GND"), E(5, "Invalid Model Name (\"GND\"); Reserved Word."),
         1, 0},
        {"repeated", "3.2", InputModel("buf") + InputModel("Buf") + InputModel("buf"),
         // A name that two models carry names no single model: the pins using it find none.
         E(17, "Model Name Previously Defined (\"buf\")") +
             E("Component 'c': Model 'buf' for Pin '1' not defined.") +
             E("Component 'c': Model 'buf' for Pin '3' not defined."),
         3, 0},
        // Cut names are not compared: the two models below both end up as the first 40.
        {"cut names", "5.0", InputModel(kName40 + "x") + InputModel(kName40 + "y"),
         E(5, "Model Name Over 40 Characters Long") + E(11, "Model Name Over 40 Characters Long") +
             E(24, "Model name string '" + kName40 +
                       "x' is too long, truncating to 40 "
                       "characters.") +
             E(25, "Model name string '" + kName40 +
                       "y' is too long, truncating to 40 "
                       "characters.") +
             E("Component 'c': Model '" + kName40 + "' for Pin '1' not defined.") +
             E("Component 'c': Model '" + kName40 + "' for Pin '2' not defined."),
         6, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(MdlSubParameters, SettingsValuesAndTheirTypeAndVersionRules) {
    const ModelCase cases[] = {
        {"lower-case setting", "3.2",
         "[Model] in\nModel_type input\nPolarity inverting\nEnable Active-Up\n"
         "C_comp 1p 1p 1p\nVinl=0.8V\nVinh = 2.0\n[Voltage Range] 3.3 3 3.6\n",
         E(6, "Invalid Model_type (\"input\") (try \"Input\")") +
             E(7, "Invalid Polarity (\"inverting\") (try \"Inverting\")") +
             E(8, "Invalid Enable (\"Active-Up\")"),
         3, 0},
        // I/O_diff comes with 4.0: in 3.2 the model is untyped and then needs a [Ramp].
        {"type of a later version", "3.2",
         "[Model] d\nModel_type I/O_diff\nC_comp 1p 1p 1p\nVinl = 0.8\n"
         "[Voltage Range] 3.3 3 3.6\n",
         E(6, "Invalid Model_type (\"I/O_diff\")") + E("Model 'd': Ramp Not Defined"), 2, 0},
        {"setting line forms", "3.2",
         "[Model] in\nModel_type = Input\nModel_type\nModel_type Input Output\n"
         "Model_type Input\nModel_type Output\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
         "[Voltage Range] 3.3 3 3.6\n",
         E(6, "Invalid Model_type Line") + E(7, "'Model_type' Subparameter Missing Setting") +
             E(8, "Incorrect Number of Line Items (3) For Model_type: Expecting 2") +
             E(10, "Model_type Already Defined For Model 'in'"),
         4, 0},
        // Vinl before Model_type is dropped without a word; Vmeas is kept.
        {"no type yet", "3.2",
         "[Model] in\nVinl = 0.8\nVmeas = 1\nModel_type Input\nC_comp 1p 1p 1p\n"
         "Vinh = 2.0\n[Voltage Range] 3.3 3 3.6\n",
         W("Model 'in': Model_type 'Input' must have Vinl set"), 0, 1},
        {"value line forms", "5.0",
         "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\nVinl = abc\nVinl 0.8\n"
         "Vinl = 0.8 V\nVinl = 0.8\nVinl = 0.9\nVinh=2\nFoo 1\n[Voltage Range] 3.3 3 3.6\n",
         E(8, "Invalid Vinl Value (\"abc\")") + E(9, "Invalid Vinl Line") +
             E(10, "Incorrect Number of Line Items (4) For Vinl: Expecting 3") +
             E(12, "Vinl Already Defined For Model 'in'") + E(14, "Unknown Line Among Model Data"),
         5, 0},
        {"values a type does not take", "5.0",
         "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
         "Vmeas = 1\nCref = 1p\nRref = 50\nVref = 0\nRref_diff = 100\nCref_diff = 1p\n"
         "[Voltage Range] 3.3 3 3.6\n",
         W(10, "Vmeas should not be specified for model type Input") +
             W(11, "Cref should not be specified for model type Input") +
             W(12, "Rref should not be specified for model type Input") +
             W(13, "Vref should not be specified for model type Input") +
             W(14, "Rreff_diff should not be specified for model type Input") +
             W(15, "Creff_diff should not be specified for model type Input"),
         0, 6},
        {"Vinl and Vinh of an output", "5.0",
         "[Model] out\nModel_type Output\nC_comp 1p 1p 1p\nVinl = 0.8V\nVinh = 2\n"
         "Vmeas = 1.5\nRref_diff = 100\n" +
             kOutputTail,
         W(8, "Vinl should not be specified for model type Output") +
             W(9, "Vinh should not be specified for model type Output"),
         0, 2},
        {"4.0 sub-parameters in 3.2", "3.2",
         "[Model] out\nModel_type Output\nC_comp 1p 1p 1p\nC_comp_pullup 1p 1p 1p\n"
         "C_comp_pulldown 1p 1p 1p\nC_comp_power_clamp 1p 1p 1p\nC_comp_gnd_clamp 1p 1p 1p\n"
         "Rref_diff = 100\nCref_diff = 1p\nVmeas = 1.5\n" +
             kOutputTail,
         E(8, "Sub Parameter C_comp_pullup is valid only for IBIS version >= 4.0") +
             E(9, "Sub Parameter C_comp_pulldown is valid only for IBIS version >= 4.0") +
             E(10, "Sub Parameter C_comp_power_clamp is valid only for IBIS version >= 4.0") +
             E(11, "Sub Parameter C_comp_gnd_clamp is valid only for IBIS version >= 4.0") +
             E(12, "Sub Parameter Rref_diff is valid only for IBIS version >= 4.1") +
             E(13, "Sub Parameter Cref_diff is valid only for IBIS version >= 4.1"),
         6, 0},
        {"C_comp order and NA", "5.0",
         "[Model] out\nModel_type Output\nC_comp 2p 3p 1p\nC_comp 1p 1p 1p\n"
         "C_comp_pullup NA 1p 2p\nC_comp_pulldown 2p 2p 2p\nC_comp_gnd_clamp 2p 1p 1p\n"
         "Vmeas = 1.5\n" +
             kOutputTail,
         W(7, "Model out: C_comp min value is not the smallest value listed") +
             W(7, "Model out: C_comp max value is not the largest value listed") +
             E(8, "C_comp Already Defined For Model 'out'") +
             E(9, "'NA' Not Allowed For Typical Value") +
             W(11, "Typ value is not in between Min and Max ") +
             W(11, "Model out: C_comp_gnd_clamp max value is not the largest value listed"),
         2, 4},
    };
    CheckModelCases(cases, std::size(cases));
}

// The thresholds a single-ended receiver gives, so that the receiver checks stay quiet.
const std::string kThresholds =
    "Vth = 1.5\nVinh_ac = 2.0\nVinl_ac = 0.8\nVinh_dc = 1.8\nVinl_dc = 1.0\nTslew_ac = 1n\n";

TEST(MdlKeywords, OrderTriplesSeriesStatesSubmodelsAndOrphans) {
    const std::string out = "[Model] out\nModel_type Output\nC_comp 1p 1p 1p\nVmeas = 1.5\n";
    const ModelCase cases[] = {
        {"[Model Spec] and [Receiver Thresholds] late", "5.0",
         out + kOutputTail + "[Model Spec]\n[Receiver Thresholds]\n" + kThresholds,
         E(13,
           "[Model Spec] should be specified immediately after all the subparameters of a "
           "model and before the other keywords of a model") +
             E(14,
               "[Receiver Thresholds] should be specified immediately after all the "
               "subparameters of a model and before the other keywords of a model except "
               "[Model Spec]") +
             W(14, "[Receiver Thresholds] should not be specified for model type Output"),
         2, 1},
        {"[Receiver Thresholds] after [Model Spec] alone", "5.0",
         "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\n[Model Spec]\n"
         "[Receiver Thresholds]\nReference_supply Ext_ref\n" +
             kThresholds +
             "[External Reference] 1 1 1\n"
             "[Voltage Range] 3.3 3 3.6\n",
         "", 0, 0},
        {"triples", "5.0",
         out + kOutputTail +
             "[Voltage Range] 3.3 3 3.6\n[Temperature Range] NA 0 100\n"
             "[TTgnd] 0 -1n -2n\n[TTpower] -1n -2n 0\n[Rgnd] 1 1 1\ndata\n",
         E(13, "Voltage Range Already Defined For Model 'out'") +
             E(14, "'NA' Not Allowed For Typical Value") +
             W(15, "Typ value is not in between Min and Max ") +
             E(15, "TTgnd Min value should be > 0") + E(15, "TTgnd Max value should be > 0") +
             E(16, "TTpower Typical value should be > 0") +
             E(16, "TTpower Min value should be > 0") + E(18, "Expecting Keyword.  Invalid Line") +
             E("Model 'out': Rgnd is set when Model_type is not Terminator"),
         8, 1},
        {"series keywords outside series models", "5.0",
         out + kOutputTail + "[On]\n[R Series] 1 1 1\n[Series Current]\n0 0 0 0\n",
         E(13, "Keyword is valid only for Series_switch models") +
             E(14, "Keyword is valid only for Series and Series_switch models") +
             E(16, "Keyword is valid only for Series and Series_switch models"),
         3, 0},
        {"Series_switch", "5.0",
         "[Model] sw\nModel_type Series_switch\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n"
         "[R Series] 1 1 1\n[Rl Series] 1 1 1\n[Off]\n[Pullup Reference] 3.3 3 3.6\n"
         "[Ramp]\ndV/dt_r 1/1n 1/1n 1/1n\ndV/dt_f 1/1n 1/1n 1/1n\n[Model Spec]\n",
         E(9, "No preceding [On] or [Off] keyword found. Assuming [On]") +
             E(12,
               "Model 'sw' is of type Series_switch. Pullup Reference should be defined "
               "before the [On] and [Off] sections") +
             E(16,
               "[Model Spec] should be specified immediately after all the subparameters of a "
               "model and before the other keywords of a model") +
             E("Model 'sw': Ramp Not Allowed for Series and Series_switch") +
             W("Model 'sw': Model Spec is not allowed when Model_type is Series_switch") +
             E("Model sw [On]: Rl_series cannot be specified if L_series is not specified") +
             E("Model sw [Off]: No series data found") +
             E("Component 'c':  Pin '1': Model 'sw': model type for a Pin cannot be Series or "
               "Series_switch."),
         7, 1},
        {"Series without series data", "5.0",
         "[Model] s\nModel_type Series\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n"
         "[Pulldown]\n0 0 0 0\n1 1 1 1\n[TTgnd] 1n 1n 1n\n",
         E("Model 's': Pulldown is not allowed when Model_type is Series") +
             E("Model 's': TTgnd is not allowed when Model_type is Series") +
             E("Model s Series: No series data found") +
             E("Component 'c':  Pin '1': Model 's': model type for a Pin cannot be Series or "
               "Series_switch."),
         4, 0},
        {"Series_switch without states", "5.0",
         "[Model] sw\nModel_type Series_switch\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n",
         E("Model sw is of type Series_switch. [On] keyword is required") +
             E("Model sw is of type Series_switch. [Off] keyword is required") +
             E("Component 'c':  Pin '1': Model 'sw': model type for a Pin cannot be Series or "
               "Series_switch."),
         3, 0},
        {"[Add Submodel]", "5.0",
         out + kOutputTail +
             "[Add Submodel] x\nsub Non-Driving\nsub2 driving extra\nsub3\n"
             "abcdefghijabcdefghijk All\nPOWER All\n[Add Submodel]\n",
         E(13, "Incorrect Number of Line Items (2) For Add Submodel: Expecting 1") +
             E(14, "Non-Driving mode is not valid for output model types") +
             E(15, "Invalid Add Submodel Line. Expecting two items only") +
             E(15, "Invalid Add Submodel Mode (\"driving\") (try \"Driving\")") +
             E(16, "Add Submodel Mode not found") +
             E(17, "Add Submodel Name Over 20 Characters Long") +
             E(18, "Invalid Submodel Name (\"POWER\"); Reserved Word.") +
             E(19, "Add sub model: Already Defined for this model") +
             E("Could not find definition for Submodel sub of Model out") +
             E("Could not find definition for Submodel sub2 of Model out") +
             E("Could not find definition for Submodel sub3 of Model out") +
             E("Could not find definition for Submodel abcdefghijabcdefghijk of Model out") +
             E("Could not find definition for Submodel POWER of Model out"),
         13, 0},
        {"Driving in an input", "5.0", InputModel("in") + "[Add Submodel]\nsub Driving\n",
         E(12, "Driving mode is not valid for input model types") +
             E("Could not find definition for Submodel sub of Model in"),
         2, 0},
        {"[Composite Current] and the algorithmic-model ends", "5.0",
         out + kOutputTail +
             "[Composite Current]\n[End Algorithmic Model]\n[End EMI Model]\n"
             "[Algorithmic Model]\n" +
             InputModel("in"),
         E(13,
           "[Composite Current] should be preceded by a [Rising Waveform] or [Falling "
           "Waveform] section") +
             E(14, "Orphan [End Algorithmic Model] keyword found") +
             E(15, "Orphan [End EMI Model] keyword found") +
             E(17, "Missing [End Algorithmic Model] keyword") +
             E("Empty [Algorithmic Model] defined for Model out"),
         5, 0},
        {"orphans", "5.0", "[Pulldown]\n0 0 0 0\n",
         E(5, "Orphan Model keyword.") + E(6, "Orphan data line keyword."), 2, 0},
        // An unknown keyword inside a model does not keep the model from its end checks.
        {"unknown keyword", "5.0",
         "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n[Foo]\n",
         E(9, "Invalid Keyword: FOO") + W("Model 'in': Model_type 'Input' must have Vinl set") +
             W("Model 'in': Model_type 'Input' must have Vinh set"),
         1, 2},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(MdlEndOfModel, RequiredValuesTypeRulesReferencesAndTimingLoads) {
    const ModelCase cases[] = {
        {"nothing but a type", "5.0", "[Model] t\nModel_type Terminator\n",
         E("Model t: One of C_comp, C_comp_pullup, C_comp_pulldown, C_comp_power_clamp, "
           "C_comp_gnd_clamp must be defined") +
             E("Model 't': Pullup Reference Required when No Voltage Range is Specified") +
             E("Model 't': Pulldown Reference Required when No Voltage Range is Specified") +
             E("Model 't': POWER Clamp Reference Required when No Voltage Range is Specified") +
             E("Model 't': GND Clamp Reference Required when No Voltage Range is Specified"),
         5, 0},
        {"no type", "5.0",
         "[Model] x\nC_comp 1p 1p 1p\n[Pullup Reference] 3.3 3 3.6\n"
         "[Pulldown Reference] 0 0 0\n[POWER Clamp Reference] 3.3 3 3.6\n"
         "[GND Clamp Reference] 0 0 0\n",
         E("Model 'x': Model_type Not Defined") + E("Model 'x': Ramp Not Defined"), 2, 0},
        {"receiver without thresholds", "5.0",
         "[Model] io\nModel_type I/O\nC_comp 1p 1p 1p\nVmeas = 1.5\n" + kOutputTail,
         W("Model 'io': Model_type 'I/O' must have Vinl set") +
             W("Model 'io': Model_type 'I/O' must have Vinh set"),
         0, 2},
        {"terminator values", "5.0",
         "[Model] t\nModel_type Terminator\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n"
         "[Rgnd] 1 1 1\n[Rac] 1 1 1\n",
         E("Model 't': Cac must be defined when Rac is"), 1, 0},
        {"Cac alone in an input", "5.0", InputModel("in") + "[Cac] 1p 1p 1p\n",
         E("Model 'in': Cac is set when Model_type is not Terminator") +
             E("Model 'in': Rac must be defined when Cac is"),
         2, 0},
        {"thresholds references", "5.0",
         "[Model] in\nModel_type Input\nC_comp 1p 1p 1p\n[Receiver Thresholds]\n"
         "Reference_supply Pullup_ref\n" +
             kThresholds +
             "[Voltage Range] 3.3 3 3.6\n"
             "[Model] in2\nModel_type Input\nC_comp 1p 1p 1p\n[Receiver Thresholds]\n"
             "Reference_supply Power_clamp_ref\n" +
             kThresholds + "[Voltage Range] 3.3 3 3.6\n",
         E("Model in: Receiver Thresholds use Pullup Reference which is not defined in this "
           "Model") +
             E("Model in2: Receiver Thresholds use POWER Clamp Reference which is not defined "
               "in this Model"),
         2, 0},
        {"timing test loads", "5.0",
         "[Model] o\nModel_type 3-state\nC_comp 1p 1p 1p\n" + kOutputTail +
             "[Model] od\nModel_type Open_drain\nC_comp 1p 1p 1p\nVmeas = 1\nRref = 50\n" +
             kOutputTail +
             "[Model] od2\nModel_type Open_drain\nC_comp 1p 1p 1p\nVmeas = 1\n[Model Spec]\n"
             "Vref 1 1 1\nRref 50 50 50\n" +
             kOutputTail + "[Model] d\nModel_type Output_diff\nC_comp 1p 1p 1p\n" + kOutputTail,
         W("Model 'o': Vmeas timing test load parameter should be specified") +
             W("Model 'od': Vmeas, Vref and Rref timing test load parameters should be "
               "specified") +
             W("Model 'd': Rref_diff or Cref_diff timing test load parameters should be "
               "specified") +
             E("TBD: Put this in model check, *_DIFF without external model") +
             E("Component <c> pin <4> model <d> type <Output_diff> using [External Model] "
               "without corresponding [Diff_Pin]"),
         2, 3},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(MdlLookups, ByNameWithCountTypeCodeAndName) {
    int count = -1;
    const MDL* found = nullptr;
    int foundType = -1;
    int missingCount = -1;
    CheckOptions options;
    options.inspect = [&](IBIS* ibis) {
        found = MDL_Find(ibis->models.get(), "b", &count);
        foundType = MDL_TypeCode(found);
        MDL_Find(ibis->models.get(), "B", &missingCount);
    };
    CheckText(ModelFile("5.0", InputModel("a") + InputModel("b") +
                                   "[Model] b\nModel_type Terminator\nC_comp 1p 1p 1p\n"
                                   "[Voltage Range] 3.3 3 3.6\n"),
              FILE_KIND_IBS, options);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(foundType, MDL_TERMINATOR);  // the newest of the two
    EXPECT_EQ(missingCount, 0);
    EXPECT_STREQ(MDL_TypeName(MDL_TERMINATOR), "Terminator");
    EXPECT_STREQ(MDL_TypeName(MDL_INPUT_DIFF), "Input_diff");
    EXPECT_STREQ(MDL_TypeName(MDL_TYPE_INVALID), "");
}
