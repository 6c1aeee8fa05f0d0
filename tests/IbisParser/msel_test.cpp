#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "IbisParser/cmn.h"
#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/msel.h"
#include "IbisParser/parse.h"
#include "tests/IbisParser/cmn_capture.h"
#include "tests/IbisParser/model_text.h"

namespace {

// An Input model that draws no finding of its own (6 lines).
std::string Input(const std::string& name) {
    return "[Model] " + name +
           "\nModel_type Input\nC_comp 1p 1p 1p\nVinl = 0.8\nVinh = 2.0\n"
           "[Voltage Range] 3.3 3 3.6\n";
}

const std::string kTwoModels = Input("in1") + Input("in2");

std::string Name(char letter, std::size_t length) { return std::string(length, letter); }

const std::string kUnreferenced =
    " not referenced in any [Pin], [Model Selector], [Driver Schedule] or [Series Pin Mapping] "
    "sections.";

}  // namespace

TEST(ModelSelector, ListsAndTheirClosingChecks) {
    const ModelCase cases[] = {
        {"two models", "4.2", "[Model Selector] sel\nin1 first\nin2 second\n" + kTwoModels, "", 0,
         0},
        {"one model", "4.2", "[Model Selector] sel\nin1 only one\n" + kTwoModels,
         W("Model Selector: 'sel' has only one model defined"), 0, 1},
        {"no model", "4.2", "[Model Selector] sel\n" + kTwoModels,
         E("Model Selector: 'sel' has no models defined"), 1, 0},
        // Every keyword closes a selector, another selector too.
        {"closed by the next selector", "4.2",
         "[Model Selector] s1\n[Model Selector] s2\nin1 a\n" + kTwoModels,
         E("Model Selector: 's1' has no models defined") +
             W("Model Selector: 's2' has only one model defined"),
         1, 1},
        {"a name without description is listed", "4.2",
         "[Model Selector] sel\nin1\nundefined\n" + Input("in1"),
         E(6, "Incorrect Number of Line Items (1) For Keyword Model Selector: Expecting 2") +
             E(7, "Incorrect Number of Line Items (1) For Keyword Model Selector: Expecting 2") +
             E("Model 'undefined' in Model Selector 'sel' is not defined in the file"),
         3, 0},
        {"the same model three times", "4.2",
         "[Model Selector] sel\nin1 a\nin1 b\nin2 c\nin1 d\n" + kTwoModels,
         E(7, "Model 'in1'. already used in this Model Selector") +
             E(9, "Model 'in1'. already used in this Model Selector") +
             E(9, "Model 'in1'. already used in this Model Selector"),
         3, 0},
        // Repeats are counted per selector.
        {"the same model in two selectors", "4.2",
         "[Model Selector] s1\nin1 a\nin2 b\n[Model Selector] s2\nin1 a\nin2 b\n" + kTwoModels, "",
         0, 0},
        {"a reserved model name", "4.2",
         "[Model Selector] sel\nna not available\nGND ground\nin1 a\n" + Input("in1"),
         E(6, "Invalid Model Name (\"NA\")"), 1, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(ModelSelector, SelectorNames) {
    const ModelCase cases[] = {
        {"missing", "4.2", "[Model Selector]\nin1 a\nin2 b\n" + kTwoModels,
         E(5, "'Model Selector' Keyword Missing name"), 1, 0},
        {"two names", "4.2", "[Model Selector] sel other\nin1 a\nin2 b\n" + kTwoModels,
         E(5, "Incorrect Number of Line Items (2) For Keyword Model Selector: Expecting 1"), 1, 0},
        {"reserved", "4.2", "[Model Selector] Power\nin1 a\nin2 b\n" + kTwoModels,
         E(5, "Invalid Model SelectorName (\"Power\"); Reserved Word."), 1, 0},
        {"defined twice", "4.2",
         "[Model Selector] sel\nin1 a\nin2 b\n[Model Selector] s2\nin1 a\nin2 b\n"
         "[Model Selector] sel\nin1 a\nin2 b\n" +
             kTwoModels,
         E(11, "Model Selector Name Previously Defined (\"sel\")"), 1, 0},
        {"the name of a model", "4.2", "[Model Selector] in1\nin1 a\nin2 b\n" + kTwoModels,
         E("'in1' is the name of a Model and a Model Selector"), 1, 0},
        {"20 characters in 3.2", "3.2",
         "[Model Selector] " + Name('s', 20) + "\nin1 a\nin2 b\n" + kTwoModels, "", 0, 0},
        {"21 characters in 3.2", "3.2",
         "[Model Selector] " + Name('s', 21) + "\nin1 a\nin2 b\n" + kTwoModels,
         E(5, "Model Selector Name Over 20 Characters Long"), 1, 0},
        {"25 characters in 3.2", "3.2",
         "[Model Selector] " + Name('s', 25) + "\nin1 a\nin2 b\n" + kTwoModels,
         E(5, "Model Selector Name Over 20 Characters Long"), 1, 0},
        {"25 characters in 4.2", "4.2",
         "[Model Selector] " + Name('s', 25) + "\nin1 a\nin2 b\n" + kTwoModels, "", 0, 0},
        {"40 characters in 5.0", "5.0",
         "[Model Selector] " + Name('s', 40) + "\nin1 a\nin2 b\n" + kTwoModels, "", 0, 0},
        {"41 characters in 4.2", "4.2",
         "[Model Selector] " + Name('s', 41) + "\nin1 a\nin2 b\n" + kTwoModels,
         E(5, "Model Selector Name Over 40 Characters Long"), 1, 0},
        // A name is compared and reported as it is kept, cut to the limit.
        {"repeated once cut", "3.2",
         "[Model Selector] " + Name('s', 20) + "\nin1 a\nin2 b\n[Model Selector] " + Name('s', 22) +
             "\nin1 a\nin2 b\n" + kTwoModels,
         E(8, "Model Selector Name Over 20 Characters Long") +
             E(8, "Model Selector Name Previously Defined (\"" + Name('s', 20) + "\")"),
         2, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

// Listed model names are cut to the version's limit; the description may hold 80 characters
// minus the length of the name as stored.
TEST(ModelSelector, ListedNameAndDescriptionLimits) {
    const std::string m20 = Name('m', 20), m21 = Name('m', 21), m25 = Name('m', 25);
    const std::string m30 = Name('m', 30), m40 = Name('m', 40), m41 = Name('m', 41);
    const std::string d50 = Name('d', 50), d55 = Name('d', 55), d60 = Name('d', 60);
    const ModelCase cases[] = {
        {"20 characters in 3.2", "3.2",
         "[Model Selector] sel\n" + m20 + " a\nin1 b\n" + Input(m20) + Input("in1"), "", 0, 0},
        // Cut to 20, the name is that of the 20-character model.
        {"21 characters in 3.2", "3.2",
         "[Model Selector] sel\n" + m21 + " a\nin1 b\n" + Input(m20) + Input("in1"),
         E(6, "Model Name Over 20 Characters Long"), 1, 0},
        // Cut to 20, the name leaves 60 characters to the description (a line of 80).
        {"25 characters in 3.2, description of 54", "3.2",
         "[Model Selector] sel\n" + m25 + " " + Name('d', 54) + "\nin1 b\n" + Input(m20) +
             Input("in1"),
         E(6, "Model Name Over 20 Characters Long"), 1, 0},
        {"25 characters in 4.2, description of 60", "4.2",
         "[Model Selector] sel\n" + m25 + " " + d60 + "\nin1 b\n" + Input(m25) + Input("in1"),
         E(6, "Model Descriptor string '" + d60 + "' is too long, truncating to 55 characters."), 1,
         0},
        {"25 characters in 4.2, description of 55", "4.2",
         "[Model Selector] sel\n" + m25 + " " + d55 + "\nin1 b\n" + Input(m25) + Input("in1"), "",
         0, 0},
        {"30 characters, description of 60", "4.2",
         "[Model Selector] sel\n" + m30 + "  " + d60 + "\nin1 b\n" + Input(m30) + Input("in1"),
         E(6, "Model Descriptor string '" + d60 + "' is too long, truncating to 50 characters."), 1,
         0},
        {"30 characters, description of 50", "4.2",
         "[Model Selector] sel\n" + m30 + " " + d50 + "\nin1 b\n" + Input(m30) + Input("in1"), "",
         0, 0},
        {"40 characters in 5.0", "5.0",
         "[Model Selector] sel\n" + m40 + " a\nin1 b\n" + Input(m40) + Input("in1"), "", 0, 0},
        {"41 characters in 5.0", "5.0",
         "[Model Selector] sel\n" + m41 + " a\nin1 b\n" + Input(m40) + Input("in1"),
         E(6, "Model Name Over 40 Characters Long"), 1, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

TEST(ModelSelector, UndefinedModelsNewestSelectorFirst) {
    const ModelCase cases[] = {
        {"two selectors", "4.2",
         "[Model Selector] s1\nx1 a\nin1 b\nx2 c\n[Model Selector] s2\nin2 a\nx3 b\n" + kTwoModels,
         E("Model 'x3' in Model Selector 's2' is not defined in the file") +
             E("Model 'x1' in Model Selector 's1' is not defined in the file") +
             E("Model 'x2' in Model Selector 's1' is not defined in the file"),
         3, 0},
        // Names are compared exactly.
        {"letter case", "4.2", "[Model Selector] sel\nIN1 a\nin2 b\n" + kTwoModels,
         E("Model 'IN1' in Model Selector 'sel' is not defined in the file"), 1, 0},
        {"a file without models", "4.2", "[Model Selector] sel\nin1 a\nin2 b\n",
         E("Model 'in1' in Model Selector 'sel' is not defined in the file") +
             E("Model 'in2' in Model Selector 'sel' is not defined in the file"),
         2, 0},
    };
    CheckModelCases(cases, std::size(cases));
}

// What callers see of the records: listed models and descriptions as stored, the
// differential marks after the whole file, and the lookups by name.
TEST(ModelSelector, RecordsAndLookups) {
    const std::string m25 = Name('m', 25);
    const std::string text = "[Model Selector] sel\n" + m25 + "  first   model \nin1\nin1 again\n" +
                             "[Model Selector] empty\n[Model Selector] sel\nin1 a\nin1 b\n" +
                             Input(Name('m', 20)) + Input("in1");
    struct Seen {
        std::string name;
        std::uint32_t differential;
        std::vector<std::string> listed;
    };
    std::vector<Seen> seen;
    MSEL* found = nullptr;
    MSEL* newest = nullptr;
    int exists = -1, missing = -1;
    CheckOptions options;
    options.inspect = [&](IBIS* ibis) {
        for (MSEL* selector = ibis->modelSelectors.get(); selector != nullptr;
             selector = selector->next.get()) {
            Seen record{selector->name, selector->differential, {}};
            for (const MSEL_MODEL* listed = selector->models.get(); listed != nullptr;
                 listed = listed->next.get()) {
                record.listed.push_back(listed->name + "|" + listed->description);
            }
            seen.push_back(record);
        }
        newest = ibis->modelSelectors.get();
        found = MSEL_Find("sel", ibis->modelSelectors.get());
        exists = MSEL_Exists("empty", ibis->modelSelectors.get());
        missing = MSEL_Exists("SEL", ibis->modelSelectors.get());
    };
    const std::string output = CheckText(ModelFile("3.2", text), FILE_KIND_IBS, options);
    EXPECT_EQ(output, Output("3.2",
                             E(6, "Model Name Over 20 Characters Long") +
                                 E(7,
                                   "Incorrect Number of Line Items (1) For Keyword Model Selector: "
                                   "Expecting 2") +
                                 E(8, "Model 'in1'. already used in this Model Selector") +
                                 E("Model Selector: 'empty' has no models defined") +
                                 E(10, "Model Selector Name Previously Defined (\"sel\")") +
                                 E(12, "Model 'in1'. already used in this Model Selector"),
                             6, 0));
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].name, "sel");
    EXPECT_EQ(seen[0].listed, (std::vector<std::string>{"in1|a", "in1|b"}));
    EXPECT_EQ(seen[1].name, "empty");
    EXPECT_TRUE(seen[1].listed.empty());
    EXPECT_EQ(seen[2].name, "sel");
    EXPECT_EQ(seen[2].listed,
              (std::vector<std::string>{Name('m', 20) + "|first   model", "in1|", "in1|again"}));
    // No [Diff Pin] uses the models: every selector is single-ended, the empty one too.
    for (const Seen& record : seen) EXPECT_EQ(record.differential, 1u) << record.name;
    EXPECT_EQ(found, newest);
    EXPECT_EQ(exists, 1);
    EXPECT_EQ(missing, 0);
}

// The whole-file check run without a current file record: each listed model is reported and
// counts as single-ended.
TEST(ModelSelector, CheckWithoutAFileRecord) {
    CmnCapture capture;
    MSEL selector;
    selector.name = "s";
    selector.models = std::make_unique<MSEL_MODEL>();
    selector.models->name = "m1";
    selector.models->next = std::make_unique<MSEL_MODEL>();
    selector.models->next->name = "m2";
    MSEL_CheckAll(&selector);
    EXPECT_EQ(std::regex_replace(capture.Take(), std::regex(":[0-9]+:"), ":#:"),
              "PROGRAM BUG - msel:#:Unable to get IBIS?\n"
              "PROGRAM BUG - msel:#:Unable to get IBIS?\n");
    EXPECT_EQ(selector.differential, 1u);
}

// A model is referenced by its exact name from a [Pin] row, a selector's list or a
// [Series Pin Mapping] row; the others are reported after every other check, the model
// defined last first.
TEST(ModelSelector, ModelsThatNothingReferences) {
    const std::string text =
        "[IBIS Ver] 4.2\n[File Name] test.ibs\n[File Rev] 1.0\n[Date] today\n"
        "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
        "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 s1 pinned\n2 s2 sel\n3 s3 GND\n"
        "4 s4 GND\n[Series Pin Mapping] pin_2 model_name\n3 4 ser\n"
        "[Model Selector] sel\nlisted a\nPINNED b\n" +
        Input("pinned") + Input("listed") + Input("PINNED") + Input("unused") +
        "[Model] ser\nModel_type Series\nC_comp 1p 1p 1p\n[Voltage Range] 3.3 3 3.6\n"
        "[R Series] 1 1 1\n[End]\n";
    EXPECT_EQ(CheckText(text, FILE_KIND_IBS),
              Output("4.2", W("Model unused" + kUnreferenced), 0, 1));
    // Only a model of that exact name counts: a selector's own name references nothing.
    const std::string renamed = std::regex_replace(text, std::regex("1 s1 pinned"), "1 s1 sel");
    EXPECT_EQ(
        CheckText(renamed, FILE_KIND_IBS),
        Output("4.2", W("Model unused" + kUnreferenced) + W("Model pinned" + kUnreferenced), 0, 2));
}
