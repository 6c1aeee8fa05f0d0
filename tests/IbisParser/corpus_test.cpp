#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"

namespace fs = std::filesystem;

// Real IBIS files nobody here wrote, in the shared folder beside the repository (or beside the
// folder of worktrees): whatever a file holds, checking it ends with a verdict and never reaches
// a program bug. Skipped where the folder is absent.
TEST(Corpus, EveryFileEndsWithAVerdictAndNoProgramBug) {
    fs::path corpus;
    for (const char* up : {"..", "../.."}) {
        fs::path candidate = fs::path(QUARNEL_SOURCE_DIR) / up / "shared" / "corpus";
        if (fs::is_directory(candidate)) corpus = candidate;
    }
    if (corpus.empty()) GTEST_SKIP() << "no shared corpus folder";
    const std::map<std::string, int> kinds = {{".ibs", FILE_KIND_IBS},
                                              {".pkg", FILE_KIND_PKG},
                                              {".ebd", FILE_KIND_EBD},
                                              {".ami", FILE_KIND_AMI}};
    int checked = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(corpus)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (!entry.is_regular_file() || !kinds.contains(extension)) continue;
        const std::string output = CheckPath(entry.path().string(), kinds.at(extension));
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(output.ends_with("\nFile Passed\n") || output.ends_with("\nFile Failed\n"))
            << name;
        EXPECT_EQ(output.find("PROGRAM BUG"), std::string::npos) << name << "\n" << output;
        EXPECT_EQ(output.find("assertion failed"), std::string::npos) << name;
        if (name == "mychip.ibs") {
            // Declares IBIS 7.2, which this checker does not read.
            EXPECT_NE(output.find("ERROR - Could not determine Version for file"),
                      std::string::npos);
        }
        // Model findings a reader can confirm in the file: an I/O model without Vmeas, and a
        // [POWER_clamp] whose typical currents are all between 0.65 mA and 1.76 mA.
        if (name == "29le010.ibs") {
            EXPECT_NE(output.find("WARNING - Model 'IO_SST': Vmeas timing test load parameter "
                                  "should be specified\n"),
                      std::string::npos)
                << output;
        }
        if (name == "icl3217.ibs") {
            EXPECT_NE(output.find("WARNING - Model R_IN: POWER_Clamp : Typical value never "
                                  "becomes zero\n"),
                      std::string::npos)
                << output;
        }
        if (name == "ibis_v5_1.ibs") {
            // Its sparse inductance rows A1 and A2 each list column B2 (pin 4) twice.
            EXPECT_NE(output.find("ERROR (line  543) - Duplicate Row column index 4.\n"
                                  "ERROR (line  548) - Duplicate Row column index 4.\n"),
                      std::string::npos);
        }
        if (name == "ibis_v3_2.pkg") {
            // [Number Of Sections] 2, then four pin lines without any section.
            for (const char* line : {"39", "40", "41", "42"}) {
                EXPECT_NE(output.find(std::string("ERROR (line   ") + line +
                                      ") - No Sections were defined for this pin even though "
                                      "[Number of Sections] was defined.\n"),
                          std::string::npos)
                    << line;
            }
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}
