#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "IbisParser/algmod.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"
#include "amitree/AmiTree.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/expected_output.h"

namespace {

// An output model as a user writes it in an IBIS 5.0 file, followed by its [Algorithmic Model]
// block (which may be empty). The model text is 19 lines long.
std::string ModelText(const std::string& name, const std::string& algorithmic) {
    return "[Model] " + name +
           "\n"
           "Model_type Output\n"
           "Vmeas = 0.5V\n"
           "C_comp 1.0pF 0.8pF 1.2pF\n"
           "[Voltage Range] 1.0V 0.95V 1.05V\n"
           "[Pulldown]\n"
           "-1.0V -20.0mA -17.0mA -23.0mA\n"
           "0.0V 0.0mA 0.0mA 0.0mA\n"
           "1.0V 20.0mA 17.0mA 23.0mA\n"
           "2.0V 40.0mA 34.0mA 46.0mA\n"
           "[Pullup]\n"
           "-1.0V 20.0mA 17.0mA 23.0mA\n"
           "0.0V 0.0mA 0.0mA 0.0mA\n"
           "1.0V -20.0mA -17.0mA -23.0mA\n"
           "2.0V -40.0mA -34.0mA -46.0mA\n"
           "[Ramp]\n"
           "dV/dt_r 0.50/25ps 0.45/30ps 0.55/20ps\n"
           "dV/dt_f 0.50/25ps 0.45/30ps 0.55/20ps\n"
           "R_load = 50\n" +
           algorithmic;
}

struct ModelBlock {
    std::string name;
    std::string algorithmic;
};

// A whole IBIS 5.0 file named test.ibs: one component whose pins use every model, then the
// models in order. With one model its [Algorithmic Model] block starts on line 33.
std::string IbsText(const std::vector<ModelBlock>& models) {
    std::string text =
        "[IBIS Ver] 5.0\n"
        "[File Name] test.ibs\n"
        "[File Rev] 1.0\n"
        "[Component] Tx\n"
        "[Manufacturer] Maker\n"
        "[Package]\n"
        "R_pkg 0.25 0.20 0.30\n"
        "L_pkg 1.5nH 1.2nH 1.8nH\n"
        "C_pkg 0.4pF 0.3pF 0.5pF\n"
        "[Pin] signal_name model_name\n";
    int pin = 0;
    for (const ModelBlock& model : models) {
        ++pin;
        text += std::to_string(pin) + " S" + std::to_string(pin) + " " + model.name + "\n";
    }
    text += std::to_string(pin + 1) + " VDD POWER\n";
    text += std::to_string(pin + 2) + " VSS GND\n";
    for (const ModelBlock& model : models) text += ModelText(model.name, model.algorithmic);
    return text + "[End]\n";
}

std::string OneModel(const std::string& algorithmic) { return IbsText({{"Tx_Out", algorithmic}}); }

std::string Executable(const std::string& item, const std::string& code = "libtx.so",
                       const std::string& parameters = "tx.ami") {
    return "Executable " + item + " " + code + " " + parameters + "\n";
}

const std::string kOpen = "[Algorithmic Model]\n";
const std::string kEnd = "[End Algorithmic Model]\n";

// What a quiet check prints: the findings and the summary.
std::string Expected(const std::string& findings, int errors) {
    return errors == 0 ? kPassed : findings + Summary(errors);
}

// A parameter file with nothing to report.
const std::string kCleanAmi =
    "(Tx (Reserved_Parameters\n"
    "(Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description \"x\"))\n"
    "(GetWave_Exists (Usage Info) (Type Boolean) (Default False) (Description \"x\"))))\n";

// The files that the section tests name, beside the IBIS file they check.
void WriteNamedFiles() {
    for (const char* code : {"libtx.so", "other.so", "tx.dll"})
        WriteCheckFile(code,
                       "\x7f"
                       "ELF");
    WriteCheckFile("tx.ami", kCleanAmi);
    WriteCheckFile("tx_win.ami", kCleanAmi);
}

}  // namespace

// The keyword line, each Executable line and the checks when the section closes: reports,
// their lines, and what each line contributes.
TEST(AlgmodSection, KeywordExecutableLinesAndCloseChecks) {
    const std::string p45(45, 'p');
    const std::string p44(44, 'p');
    const std::string f45 = std::string(42, 'f') + ".so";
    const std::string f44 = f45.substr(0, 44);
    WriteNamedFiles();
    const struct {
        const char* label;
        std::string block;
        std::string findings;
        int errors;
    } rows[] = {
        {"clean", kOpen + Executable("Linux_gcc_64") + Executable("Windows_VisualStudio_32") + kEnd,
         "", 0},
        {"item after keyword", "[Algorithmic Model] extra\n" + Executable("Linux_gcc_64") + kEnd,
         "ERROR (line   33) -\n"
         "    Incorrect Number of Line Items (2) For Algorithmic Model: Expecting 1\n",
         1},
        {"three items",
         kOpen + "Executable Linux_gcc_64 libtx.so\n" + Executable("Linux_gcc_32") + kEnd,
         "ERROR (line   34) -\n"
         "    Incorrect Number of Line Items (3) For Algorithmic Model: Expecting 4\n",
         1},
        {"five items",
         kOpen + "Executable Linux_gcc_64 libtx.so tx.ami more\n" + Executable("Linux_gcc_64") +
             kEnd,
         "ERROR (line   34) -\n"
         "    Incorrect Number of Line Items (5) For Algorithmic Model: Expecting 4\n",
         1},
        {"unknown first item",
         kOpen + "executable Linux_gcc_64 libtx.so tx.ami\n" + Executable("Linux_gcc_64") + kEnd,
         "ERROR (line   34) - Unknown Line in Algorithmic Model\n", 1},
        {"four fields",
         kOpen + Executable("Windows_Visual_Studio_32") + Executable("Linux_gcc_64") + kEnd,
         "ERROR (line   34) - Could not parse Platform, Compiler, Bits  for [Algorithmic Model] "
         "Executable Sub-parameter\n",
         1},
        {"two fields", kOpen + Executable("Linux_64") + Executable("Linux_gcc_64") + kEnd,
         "ERROR (line   34) - Could not parse Platform, Compiler, Bits  for [Algorithmic Model] "
         "Executable Sub-parameter\n",
         1},
        {"empty field", kOpen + Executable("Linux__gcc_64") + Executable("Linux_gcc_64") + kEnd,
         "ERROR (line   34) - Could not parse Platform, Compiler, Bits  for [Algorithmic Model] "
         "Executable Sub-parameter\n",
         1},
        {"bits with letters", kOpen + Executable("Linux_gcc_32x") + kEnd,
         "ERROR (line   34) - Could not parse the Bits in Linux_gcc_32x for [Algorithmic Model] "
         "Executable Sub-parameter\n"
         "ERROR - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
         "Algorithmic Model defined on line 33\n",
         2},
        {"negative bits", kOpen + Executable("Linux_gcc_-64") + kEnd,
         "ERROR (line   34) - Could not parse the Bits in Linux_gcc_-64 for [Algorithmic Model] "
         "Executable Sub-parameter\n"
         "ERROR - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
         "Algorithmic Model defined on line 33\n",
         2},
        {"bits 16 and 65", kOpen + Executable("Linux_gcc_16") + Executable("Linux_gcc_65") + kEnd,
         "ERROR - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
         "Algorithmic Model defined on line 33\n"
         "ERROR - The Number of Bits should be 32 or 64 for Platform Linux and Compiler gcc for "
         "Algorithmic Model defined on line 33\n",
         2},
        {"two equal lines",
         kOpen + Executable("Linux_gcc_64") + Executable("Linux_gcc_64", "other.so") + kEnd,
         "ERROR - Duplicate Sub-Parameter: Platform Linux Compiler gcc Bits 64 for Algorithmic "
         "Model defined on line 33\n",
         1},
        {"equal but for case",
         kOpen + Executable("Linux_gcc_64") + Executable("LINUX_Gcc_64") + kEnd,
         "ERROR - Duplicate Sub-Parameter: Platform LINUX Compiler Gcc Bits 64 for Algorithmic "
         "Model defined on line 33\n",
         1},
        {"three equal lines",
         kOpen + Executable("Linux_gcc_64") + Executable("Linux_gcc_32") +
             Executable("Linux_gcc_64") + Executable("Linux_gcc_64") + kEnd,
         "ERROR - Duplicate Sub-Parameter: Platform Linux Compiler gcc Bits 64 for Algorithmic "
         "Model defined on line 33\n"
         "ERROR - Duplicate Sub-Parameter: Platform Linux Compiler gcc Bits 64 for Algorithmic "
         "Model defined on line 33\n"
         "ERROR - Duplicate Sub-Parameter: Platform Linux Compiler gcc Bits 64 for Algorithmic "
         "Model defined on line 33\n",
         3},
        {"different bits are no duplicate",
         kOpen + Executable("Linux_gcc_64") + Executable("Linux_gcc_32") + kEnd, "", 0},
        {"44-character names", kOpen + Executable(p44 + "_" + p44 + "_64") + kEnd, "", 0},
        {"45-character platform", kOpen + Executable(p45 + "_gcc_64") + kEnd,
         "ERROR (line   34) -\n    Platform name too long " + p45 + "\n", 1},
        {"45-character compiler", kOpen + Executable("Linux_" + p45 + "_64") + kEnd,
         "ERROR (line   34) -\n    Compiler name too long " + p45 + "\n", 1},
        {"45-character file names", kOpen + Executable("Linux_gcc_64", f45, f45) + kEnd,
         "ERROR (line   34) -\n    Filename too long " + f45 + "\nERROR (line   34) -\n    " +
             "Filename too long " + f45 + "\nERROR - Code file " + f44 +
             " not found. It was defined in [Algorithmic Model] for Model Tx_Out\n" +
             "ERROR - AMI parameter file " + f44 +
             " not found. It was defined in [Algorithmic Model] for Model Tx_Out\n",
         4},
        // The second keyword starts a new list: the first one's line is no duplicate.
        {"second keyword",
         kOpen + Executable("Linux_gcc_64") + kEnd + kOpen + Executable("Linux_gcc_64") + kEnd,
         "ERROR (line   36) - Algorithmic Model: Already Defined for this model\n", 1},
    };
    CheckOptions quiet;
    quiet.quiet = true;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(CheckText(OneModel(row.block), FILE_KIND_IBS, quiet),
                  Expected(row.findings, row.errors));
    }
}

namespace {

const std::string kInitReturnsImpulse =
    "(Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
    "\"Impulse.\"))\n";
const std::string kGetWaveExists =
    "(GetWave_Exists (Usage Info) (Type Boolean) (Default False) (Description \"No GetWave.\"))\n";
const std::string kGain =
    "(Gain (Usage In) (Type Float) (Format Range 0 -6 6) (Default 0) (Description \"Gain.\"))\n";

// A parameter file as a user lays it out: the root, the reserved parameters given (the two
// mandatory ones first) and the model-specific parameters given.
std::string AmiText(const std::string& reserved, const std::string& specific = kGain) {
    return "| Parameters of the Tx model\n"
           "(Tx\n"
           "  (Reserved_Parameters\n" +
           kInitReturnsImpulse + kGetWaveExists + reserved + "  )\n  (Model_Specific\n" + specific +
           "  )\n)\n";
}

std::string ExpectedAmi(const std::string& findings, int errors, int bugs = 0) {
    std::string summary = Summary(errors);
    if (bugs > 0) summary.insert(1, "Bugs    : " + std::to_string(bugs) + "\n");
    return Banner("test.ami", "5.0") + (errors + bugs == 0 ? kPassed : findings + summary);
}

}  // namespace

// The checks of a parameter file given by itself: the tree's layout, each reserved
// parameter's leaves and what it lacks, and the model-specific leaves, in text order.
TEST(AlgmodParameterFile, ReservedAndModelSpecificRules) {
    const std::string e = "ERROR - ";
    const struct {
        const char* label;
        std::string text;
        std::string findings;
        int errors;
    } rows[] = {
        {"clean", AmiText(""), "", 0},
        {"only model-specific, reported after its walk",
         "(Tx (Model_Specific (Gain (Usage Sideways) (Type Float))))\n",
         e + "Illegal Usage value Sideways specified for Gain\n" + e +
             "No Reserved_Parameters found\n",
         2},
        {"unknown branch and leaf under the root",
         "(Tx (Version 2) (Extras (a 1)) (Reserved_Parameters\n" + kInitReturnsImpulse +
             kGetWaveExists + "))\n",
         e + "Unknown branch Extras found\n", 1},
        {"leaf under the root gets the leaf checks",
         "(Tx (Type Double) (Reserved_Parameters\n" + kInitReturnsImpulse + kGetWaveExists + "))\n",
         e + "Illegal Type value Double specified for Tx\n", 1},
        {"mandatory parameters missing, in their order",
         "(Tx (Reserved_Parameters (Ignore_Bits (Usage Info) (Type Integer) (Default 3) "
         "(Description \"Bits.\"))))\n",
         e + "Init_Returns_Impulse parameter is mandatory\n" + e +
             "GetWave_Exists parameter is mandatory\n",
         2},
        {"reserved parameter written as a leaf",
         "(Tx (Reserved_Parameters (Init_Returns_Impulse True)\n" + kGetWaveExists + "))\n",
         e +
             "Expected a branch but found 'Init_Returns_Impulse'  as a leaf of "
             "'Reserved_Parameters'\n" +
             e + "Init_Returns_Impulse parameter is mandatory\n",
         2},
        {"unknown reserved parameter is walked",
         AmiText("(Tx_Ringing (Usage Bogus) (Type Float))\n"),
         e + "Unknown parameter Tx_Ringing found as a child of Reserved_Parameters\n" + e +
             "Illegal Usage value Bogus specified for Tx_Ringing\n",
         2},
        {"Format given where none is allowed, Description missing",
         "(Tx (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) "
         "(Format Value 1) (Default True))\n" +
             kGetWaveExists + "))\n",
         e + "Unexpected parameter Format specified for Init_Returns_Impulse\n" + e +
             "Parameter Description is mandatory for Init_Returns_Impulse\n",
         2},
        {"Usage and Type not allowed still count as given",
         "(Tx (Reserved_Parameters (Init_Returns_Impulse (Usage Out) (Type Integer) "
         "(Default 1) (Description \"x\"))\n" +
             kGetWaveExists + "))\n",
         e + "Illegal Usage value Out specified for Init_Returns_Impulse\n" + e +
             "Illegal Type value Integer specified for Init_Returns_Impulse\n",
         2},
        {"everything missing",
         "(Tx (Reserved_Parameters (GetWave_Exists (Label x))\n" + kInitReturnsImpulse + "))\n",
         e + "Unknown parameter Label found as a child of GetWave_Exists\n" + e +
             "Parameter Usage is mandatory for GetWave_Exists\n" + e +
             "Parameter Type is mandatory for GetWave_Exists\n" + e +
             "Parameter Default is mandatory for GetWave_Exists\n" + e +
             "Parameter Description is mandatory for GetWave_Exists\n",
         5},
        {"Default of the wrong type does not count",
         AmiText("(Max_Init_Aggressors (Usage Info) (Type Integer) (Default 2.5) "
                 "(Description \"x\"))\n(Use_Init_Output (Usage Info) (Type Boolean) "
                 "(Default true) (Description \"x\"))\n"),
         e + "Illegal Default value 2.5 specified for Max_Init_Aggressors\n" + e +
             "Parameter Default is mandatory for Max_Init_Aggressors\n" + e +
             "Illegal Default value true specified for Use_Init_Output\n" + e +
             "Parameter Default is mandatory for Use_Init_Output\n",
         4},
        {"Ignore_Bits accepts Out and an integer Default",
         AmiText("(Ignore_Bits (Usage Out) (Type Integer) (Default 0) (Description \"x\"))\n"), "",
         0},
        {"Gaussian with one number",
         AmiText("(Tx_Jitter (Usage Info) (Type Float) (Format Gaussian 0) (Description \"x\"))\n"),
         e + "Gaussian: Illegal Format for Tx_Jitter. Expected 2 number(s)\n" + e +
             "Parameter Format is mandatory for Tx_Jitter\n",
         2},
        {"jitter formats of the right shape",
         AmiText("(Tx_Jitter (Usage Out) (Type UI) (Format Dual-Dirac 0 0.01 0.02) (Default "
                 "0) (Description \"x\"))\n(Rx_Clock_PDF (Usage Info) (Type Float) (Format "
                 "DjRj 0 1e-12 2e-12) (Description \"x\"))\n"),
         "", 0},
        {"a Table never counts as the Format",
         AmiText("(Rx_Clock_PDF (Usage Info) (Type Float) (Format Table x) (Description \"x\"))\n"),
         e + "Parameter Format is mandatory for Rx_Clock_PDF\n", 1},
        {"Tx_DCD Range with three numbers",
         AmiText("(Tx_DCD (Usage Out) (Type Float) (Format Range 0 0 0.1) (Description \"x\"))\n"),
         "", 0},
        {"format of the other family",
         AmiText("(Tx_DCD (Usage Out) (Type Float) (Format Gaussian 0 1) (Description \"x\"))\n"),
         e + "Illegal Format value Gaussian specified for Tx_DCD\n" + e +
             "Parameter Format is mandatory for Tx_DCD\n",
         2},
        {"Rx_Receiver_Sensitivity takes no UI, and a text Default",
         AmiText("(Rx_Receiver_Sensitivity (Usage Info) (Type UI) (Format Value 0.01) (Default "
                 "low) (Description \"x\"))\n"),
         e + "Illegal Type value UI specified for Rx_Receiver_Sensitivity\n" + e +
             "Illegal Default value low specified for Rx_Receiver_Sensitivity\n",
         2},
        {"branch inside a reserved parameter",
         AmiText("(Tx_DCD (Usage Out) (Type Float) (Format Corner 0 0 0.1) (Limits (Max 1)) "
                 "(Description \"x\"))\n"),
         e + "Found a branch Limits expecting a leaf for Tx_DCD\n", 1},
        {"model-specific formats at and past their counts",
         AmiText("",
                 "(Taps (0 (Usage In) (Type Float) (Format Steps 0 1 0.1) (Default 0))\n"
                 "(1 (Format Increment 0.8 0 1 0.1))\n(2 (Format Value low))\n"
                 "(3 (Format List))\n(4 (Format List 1))\n(5 (Format Range 0 1 2 3))\n"
                 "(6 (Format Corner 0 1 2))\n(7 (Format Dual-Dirac 0 1 2 3)))\n"),
         e + "Steps: Illegal Format for 0. Expected 4 number(s)\n" + e +
             "Value: Illegal Format for 2. Expected 1 number(s)\n" + e +
             "List: Illegal Format for 3. Expected 1 number(s)\n" + e +
             "Range: Illegal Format for 5. Expected 3 number(s)\n" + e +
             "Dual-Dirac: Illegal Format for 7. Expected 3 number(s)\n",
         5},
        {"model-specific keywords that are not allowed",
         AmiText("",
                 "(Mode (Usage Inout) (Type Double) (Format Fixed 1) (Format Table (Labels "
                 "a b) (1 2)) (Default x))\n"),
         e + "Illegal Usage value Inout specified for Mode\n" + e +
             "Illegal Type value Double specified for Mode\n" + e +
             "Illegal Format value Fixed specified for Mode\n",
         3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(CheckText(row.text, FILE_KIND_AMI), ExpectedAmi(row.findings, row.errors));
    }
}

// Texts the parameter parser cannot turn into a tree: one report each, and no tree checks.
TEST(AlgmodParameterFile, TextsThatDoNotParse) {
    const struct {
        const char* text;
        std::string findings;
    } rows[] = {
        {"(Tx (Reserved_Parameters (Init_Returns_Impulse (Usage Info))\n",
         "ERROR - The AMI parameter file has mismatched parenthesis\n"},
        {"Tx (Reserved_Parameters (GetWave_Exists (Usage Info)))\n",
         "ERROR - The AMI parameter file should start with a parenthesis\n"},
        {"(Usage Info)\n", "ERROR - Too few nodes in branches or leaves\n"},
        {"(Tx)\n", "ERROR - Too few nodes in branches or leaves\n"},
        {"(Tx (Reserved_Parameters ) (Model_Specific (Gain 1)))\n",
         "ERROR -\n    Invalid syntax of branch or leaf. At least 2 elements expected in a list\n"},
        // Two lists side by side: the second lies outside the first one's parentheses.
        {"(Tx (Reserved_Parameters (a 1)))\n(Rx (Model_Specific (b 1)))\n",
         "ERROR - The AMI parameter file has mismatched parenthesis\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(CheckText(row.text, FILE_KIND_AMI), ExpectedAmi(row.findings, 1));
    }
    // A file with nothing but comments and blank lines holds no parameter text to check.
    EXPECT_EQ(CheckText("| nothing yet\n\n", FILE_KIND_AMI), ExpectedAmi("", 0));
}

namespace {

// Files written beside the IBIS file of a CheckFiles case (folder "beside/"); a name ending
// in "/" makes a folder, one ending in "|" a named pipe.
void WriteBeside(const std::vector<std::pair<std::string, std::string>>& files) {
    std::filesystem::remove_all(CheckDir() / "beside");
    std::filesystem::create_directories(CheckDir() / "beside");
    for (const auto& [name, text] : files) {
        if (name.ends_with("/")) {
            std::filesystem::create_directories(CheckDir() / "beside" / name);
        } else if (name.ends_with("|")) {
            std::string pipe = (CheckDir() / "beside" / name.substr(0, name.size() - 1)).string();
            ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0) << pipe;
        } else {
            WriteCheckFile("beside/" + name, text);
        }
    }
}

std::string CheckBeside(const std::string& ibs, CheckOptions options = {}) {
    options.fileName = "beside/test.ibs";
    return CheckText(ibs, FILE_KIND_IBS, options);
}

std::string NotFound(const char* what, const std::string& name, const char* model) {
    return std::string("ERROR - ") + what + " " + name +
           " not found. It was defined in [Algorithmic Model] for Model " + model + "\n";
}

}  // namespace

// After the file: the code and parameter files of every model are looked for beside the IBIS
// file (models newest first, lines newest first) and each parameter file found is checked.
TEST(AlgmodFiles, NamedFilesFoundAndChecked) {
    const std::string ibsBanner = Banner("beside/test.ibs", "5.0");
    const std::string amiBanner = Banner("beside/tx.ami", "5.0");
    const std::string so =
        "\x7f"
        "ELF";
    const std::string badAmi = "(Tx (Reserved_Parameters\n" + kGetWaveExists + "))\n";
    const struct {
        const char* label;
        std::vector<std::pair<std::string, std::string>> files;
        std::vector<ModelBlock> models;
        std::string output;
    } rows[] = {
        {"all found and clean",
         {{"libtx.so", so}, {"tx.ami", kCleanAmi}},
         {{"Tx_Out", kOpen + Executable("Linux_gcc_64") + kEnd}},
         ibsBanner + amiBanner + kPassed},
        {"empty keyword",
         {},
         {{"Tx_Out", kOpen + kEnd}},
         ibsBanner + "ERROR - Empty [Algorithmic Model] defined for Model Tx_Out\n" + Summary(1)},
        {"nothing found",
         {},
         {{"Tx_Out", kOpen + Executable("Linux_gcc_64") + kEnd}},
         ibsBanner + NotFound("Code file", "libtx.so", "Tx_Out") +
             NotFound("AMI parameter file", "tx.ami", "Tx_Out") + Summary(2)},
        {"parameter file without a dot is not opened",
         {{"libtx.so", so}, {"txami", kCleanAmi}},
         {{"Tx_Out", kOpen + Executable("Linux_gcc_64", "libtx.so", "txami") + kEnd}},
         ibsBanner +
             "ERROR - AMI Parameter file txami should have '.ami' extension. It was defined in "
             "[Algorithmic Model] for Model Tx_Out\n" +
             Summary(1)},
        {"parameter file with another extension goes to the reader",
         {{"libtx.so", so}, {"tx.txt", kCleanAmi}},
         {{"Tx_Out", kOpen + Executable("Linux_gcc_64", "libtx.so", "tx.txt") + kEnd}},
         ibsBanner + Banner("beside/tx.txt", "5.0") +
             "ERROR - File Name Requires '.ami' Extension.\n" + Summary(1)},
        // Opening a pipe would wait for a writer: only regular files are looked into.
        {"pipes are no files",
         {{"p.so|", ""}, {"p.ami|", ""}},
         {{"Tx_Out", kOpen + Executable("Linux_gcc_64", "p.so", "p.ami") + kEnd}},
         ibsBanner + NotFound("Code file", "p.so", "Tx_Out") +
             NotFound("AMI parameter file", "p.ami", "Tx_Out") + Summary(2)},
        {"a folder is no code file",
         {{"libtx.so/", ""}, {"tx.ami", kCleanAmi}},
         {{"Tx_Out", kOpen + Executable("Linux_gcc_64") + kEnd}},
         ibsBanner + amiBanner + NotFound("Code file", "libtx.so", "Tx_Out") + Summary(1)},
        {"the parameter file's findings",
         {{"libtx.so", so}, {"tx.ami", badAmi}},
         {{"Tx_Out", kOpen + Executable("Linux_gcc_64") + kEnd}},
         ibsBanner + amiBanner + "ERROR - Init_Returns_Impulse parameter is mandatory\n" +
             Summary(1)},
        {"models newest first, lines newest first",
         {},
         {{"First", kOpen + Executable("Linux_gcc_64", "a.so", "a.ami") + kEnd},
          {"Second", kOpen + Executable("Linux_gcc_64", "b.so", "b.ami") +
                         Executable("Linux_gcc_32", "c.so", "c.ami") + kEnd}},
         ibsBanner + NotFound("Code file", "c.so", "Second") +
             NotFound("AMI parameter file", "c.ami", "Second") +
             NotFound("Code file", "b.so", "Second") +
             NotFound("AMI parameter file", "b.ami", "Second") +
             NotFound("Code file", "a.so", "First") +
             NotFound("AMI parameter file", "a.ami", "First") + Summary(6)},
        // A parameter file in a folder does not move where the next names are looked for.
        {"names with folders, either separator",
         {{"lib/libtx.so", so}, {"ami/tx.ami", kCleanAmi}, {"tx.ami", kCleanAmi}},
         {{"Tx_Out", kOpen + Executable("Linux_gcc_64", "lib/libtx.so") +
                         Executable("Linux_gcc_32", "lib\\libtx.so", "ami\\tx.ami") + kEnd}},
         ibsBanner + Banner("beside/ami/tx.ami", "5.0") + amiBanner + kPassed},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        WriteBeside(row.files);
        EXPECT_EQ(CheckBeside(IbsText(row.models)), row.output);
    }
}

// The tree of a parameter file that parsed stays with its Executable line; one that did not
// parse leaves none.
TEST(AlgmodFiles, ParsedTreeKeptInTheRecord) {
    WriteBeside({{"libtx.so", "so"}, {"tx.ami", kCleanAmi}, {"broken.ami", "(Tx (a 1)\n"}});
    std::vector<std::string> roots;
    CheckOptions options;
    options.quiet = true;
    options.inspect = [&roots](IBIS* ibis) {
        for (const ALGMOD* record = ibis->models->algmod->head.get(); record != nullptr;
             record = record->next.get()) {
            const AmiTree* tree = record->parameter_tree;
            roots.push_back(tree == nullptr ? "none" : tree->entries.front().node->name);
        }
    };
    EXPECT_EQ(CheckBeside(OneModel(kOpen + Executable("Linux_gcc_64", "libtx.so", "broken.ami") +
                                   Executable("Linux_gcc_32") + kEnd),
                          options),
              "ERROR - The AMI parameter file has mismatched parenthesis\n" + Summary(1));
    EXPECT_EQ(roots, (std::vector<std::string>{"Tx", "none"}));
}

// Real parameter files from the shared corpus (skipped where it is absent): each draws the
// findings that its text explains. They follow later AMI versions, so AMI_Version is no
// reserved parameter here; some write a format without "Format", Value for Default, or a
// one-element list.
TEST(AlgmodParameterFile, CorpusFilesDrawWhatTheirTextExplains) {
    std::filesystem::path corpus;
    for (const char* up : {"..", "../.."}) {
        std::filesystem::path candidate =
            std::filesystem::path(QUARNEL_SOURCE_DIR) / up / "shared" / "corpus";
        if (std::filesystem::is_directory(candidate)) corpus = candidate;
    }
    if (corpus.empty()) GTEST_SKIP() << "no shared corpus folder";
    const std::string e = "ERROR - ";
    const std::string amiVersion =
        e + "Unknown parameter AMI_Version found as a child of Reserved_Parameters\n";
    const std::string sensitivityRange =
        amiVersion + e + "Unknown parameter Range found as a child of Rx_Receiver_Sensitivity\n" +
        e + "Parameter Format is mandatory for Rx_Receiver_Sensitivity\n";
    const struct {
        const char* file;
        std::string findings;
        int errors;
    } rows[] = {
        {"ansys__pyaedt/pcieg5_32gt.ami",
         "ERROR -\n    Invalid syntax of branch or leaf. At least 2 elements expected in a list\n",
         1},
        {"capn-freako__PyBERT/example_rx.ami",
         amiVersion + e + "Unknown parameter Value found as a child of Init_Returns_Impulse\n" + e +
             "Parameter Default is mandatory for Init_Returns_Impulse\n" + e +
             "Unknown parameter Value found as a child of GetWave_Exists\n" + e +
             "Parameter Default is mandatory for GetWave_Exists\n",
         5},
        {"snu-quiqcl__RFSoC_FrontEnd/PCIe_Gen2_AMI_Rx.ami", amiVersion, 1},
        {"snu-quiqcl__RFSoC_FrontEnd/PCIe_Gen2_AMI_Tx.ami", amiVersion, 1},
        {"snu-quiqcl__RFSoC_FrontEnd/SiSoft_AMI_Optimizing_Rx.ami", sensitivityRange, 3},
        {"snu-quiqcl__RFSoC_FrontEnd/SiSoft_AMI_Repeater_Rx.ami",
         amiVersion + e +
             "Unknown parameter Repeater_Type found as a child of Reserved_Parameters\n",
         2},
        {"snu-quiqcl__RFSoC_FrontEnd/SiSoft_AMI_Repeater_Tx.ami", amiVersion, 1},
        {"snu-quiqcl__RFSoC_FrontEnd/SiSoft_AMI_Rx.ami", amiVersion, 1},
        {"snu-quiqcl__RFSoC_FrontEnd/SiSoft_AMI_Tx.ami", amiVersion, 1},
        {"snu-quiqcl__RFSoC_FrontEnd/SiSoft_Advanced_PAM4_Rx.ami", sensitivityRange, 3},
        {"snu-quiqcl__RFSoC_FrontEnd/SiSoft_Advanced_PAM4_Tx.ami", amiVersion, 1},
        {"snu-quiqcl__RFSoC_FrontEnd/SiSoft_Advanced_Rx.ami", sensitivityRange, 3},
        {"snu-quiqcl__RFSoC_FrontEnd/SiSoft_Advanced_Tx.ami", amiVersion, 1},
    };
    CheckOptions quiet;
    quiet.quiet = true;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        EXPECT_EQ(CheckPath((corpus / row.file).string(), FILE_KIND_AMI, quiet),
                  row.findings + Summary(row.errors));
    }
}
