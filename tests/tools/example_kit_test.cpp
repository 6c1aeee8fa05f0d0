// The bundled example kit: the IBIS file, its parameter file and the model library built
// beside them check clean, and the parameter file's defaults are what the model reads.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"
#include "amitree/AmiTree.h"
#include "model/AmiEntry.h"
#include "tests/IbisParser/expected_output.h"

namespace {

namespace fs = std::filesystem;

const fs::path kExamples = fs::path(QUARNEL_SOURCE_DIR) / "examples";

class ExampleKit : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "example_kit_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        fs::copy_file(kExamples / "quarnel_tx.ibs", dir_ / "quarnel_tx.ibs");
        fs::copy_file(kExamples / "quarnel_tx.ami", dir_ / "quarnel_tx.ami");
    }
    void TearDown() override { fs::remove_all(dir_); }

    // ibischeck's standard output on the kit's IBIS file, run from the kit's folder.
    std::string CheckKit(int* status) {
        const std::string command = "cd '" + dir_.string() +
                                    "' && '" QUARNEL_BIN_DIR
                                    "/ibischeck' quarnel_tx.ibs >stdout.txt 2>&1";
        int result = std::system(command.c_str());
        *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
        std::ifstream in(dir_ / "stdout.txt", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    fs::path dir_;
};

// The parameter string a simulator builds from the Model_Specific defaults: each parameter
// (a branch with a Default leaf) becomes (name default), other branches group their children.
std::string DefaultsOf(const AmiNode& branch, const std::string& name) {
    std::string text(1, '(');
    text += name;
    for (const AmiTreeEntry& child : branch.children) {
        if (child.node == nullptr || child.kind != AmiBranch) continue;
        const AmiNode& node = *child.node;
        std::string value;
        for (const AmiTreeEntry& leaf : node.children) {
            if (leaf.kind == AmiLeaf && leaf.node->nameKeyword == AmiNameDefault) {
                value = leaf.node->values.front().text;
            }
        }
        text += ' ';
        if (value.empty()) {
            text += DefaultsOf(node, node.name);
        } else {
            text += '(';
            text += node.name;
            text += ' ';
            text += value;
            text += ')';
        }
    }
    text += ')';
    return text;
}

}  // namespace

TEST_F(ExampleKit, ChecksCleanOnlyWithTheLibraryBesideIt) {
    const std::string banners = Banner("quarnel_tx.ibs", "5.0") + Banner("quarnel_tx.ami", "5.0");
    int status = -1;
    EXPECT_EQ(CheckKit(&status),
              Banner("quarnel_tx.ibs", "5.0") +
                  "ERROR - Code file libquarnel.so not found. It was defined in [Algorithmic "
                  "Model] for Model Quarnel_TX\n" +
                  Banner("quarnel_tx.ami", "5.0") + Summary(1));
    EXPECT_EQ(status, 1);

    fs::copy_file(fs::path(QUARNEL_LIB_DIR) / "libquarnel.so", dir_ / "libquarnel.so");
    EXPECT_EQ(CheckKit(&status), banners + kPassed);
    EXPECT_EQ(status, 0);
}

// The four parameters the parameter file describes are the four the model reads: with their
// defaults, AMI_Init reports no parameter it could not read.
TEST_F(ExampleKit, ParameterFileDefaultsAreReadByTheModel) {
    PARSE_SetQuiet(true);
    std::FILE* sink = std::fopen("/dev/null", "w");
    CMN_SetOutput(sink);
    const std::string path = (dir_ / "quarnel_tx.ami").string();
    ASSERT_EQ(PARSE_File(path.c_str(), FILE_KIND_AMI), 1);
    std::string text = PARSE_TakeAmiText();
    CMN_SetOutput(nullptr);
    std::fclose(sink);
    PARSE_SetQuiet(false);

    AmiTree* tree = nullptr;
    ASSERT_EQ(ParseAmiTree(text.c_str(), &tree), AmiParseOk);
    std::string parameters;
    const AmiNode& root = *tree->entries.front().node;
    for (const AmiTreeEntry& child : root.children) {
        if (child.kind == AmiBranch && child.node->name == "Model_Specific") {
            parameters = DefaultsOf(*child.node, root.name);
        }
    }
    FreeAmiTree(&tree);
    EXPECT_EQ(parameters, "(Quarnel (Taps (0 0) (1 1) (2 0)) (Gain 1))");

    std::vector<double> impulse(64, 0.0);
    impulse[0] = 1.0;
    void* handle = nullptr;
    char* message = nullptr;
    EXPECT_EQ(AMI_Init(impulse.data(), 64, 0, 5e-12, 160e-12, parameters.data(), nullptr, &handle,
                       &message),
              1);
    EXPECT_EQ(message, nullptr) << message;
    AMI_Close(handle);
}
