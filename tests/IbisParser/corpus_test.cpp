#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"

namespace {

namespace fs = std::filesystem;

// The shared folder of real IBIS files lives beside the repository (or beside the folder of
// worktrees); the test is skipped where it is absent.
fs::path CorpusDir() {
    for (const char* relative : {"/../shared/corpus", "/../../shared/corpus"}) {
        fs::path candidate = fs::path(QUARNEL_SOURCE_DIR + std::string(relative));
        if (fs::is_directory(candidate)) return candidate;
    }
    return {};
}

int KindOf(const fs::path& path) {
    std::string extension = path.extension().string();
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".ibs") return FILE_KIND_IBS;
    if (extension == ".pkg") return FILE_KIND_PKG;
    if (extension == ".ebd") return FILE_KIND_EBD;
    if (extension == ".ami") return FILE_KIND_AMI;
    return 0;
}

bool EndsWithVerdict(const std::string& output) {
    return output.ends_with("\nFile Passed\n") || output.ends_with("\nFile Failed\n");
}

}  // namespace

TEST(Corpus, EveryFileEndsWithAVerdictAndNoProgramBug) {
    fs::path corpus = CorpusDir();
    if (corpus.empty()) GTEST_SKIP() << "no shared corpus folder";
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(corpus)) {
        if (entry.is_regular_file() && KindOf(entry.path()) != 0) files.push_back(entry.path());
    }
    ASSERT_FALSE(files.empty());
    for (const fs::path& file : files) {
        std::string output = CheckPath(file.string(), KindOf(file));
        EXPECT_TRUE(EndsWithVerdict(output)) << file;
        EXPECT_EQ(output.find("PROGRAM BUG"), std::string::npos) << file << "\n" << output;
        EXPECT_EQ(output.find("assertion failed"), std::string::npos) << file;
        if (file.filename() == "mychip.ibs") {
            // Declares IBIS 7.2, which this checker does not read.
            EXPECT_NE(output.find("ERROR - Could not determine Version for file"),
                      std::string::npos);
        }
    }
}
