#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "IbisParser/hdr.h"
#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/component_text.h"
#include "tests/IbisParser/expected_output.h"

namespace {

// An .ibs file whose component names the package model packageModel.
std::string Ibs(const char* version, const char* fileName, const char* packageModel) {
    return std::string("[IBIS Ver] ") + version + "\n[File Name] " + fileName +
           "\n[File Rev] 1.0\n" + CleanComponent("c", "A1 gnd GND\n") + "[Package Model] " +
           packageModel + "\n[End]\n";
}

// One correct package model.
std::string PackageModel(const char* modelName) {
    return std::string("[Define Package Model] ") + modelName +
           "\n[Manufacturer] Acme\n[OEM] Acme\n[Description] d\n[Number Of Pins] 1\n"
           "[Pin Numbers]\nA1\n[Model Data]\n[Inductance Matrix] Full_matrix\n[Row] A1\n1n\n"
           "[Capacitance Matrix] Full_matrix\n[Row] A1\n1p\n[End Model Data]\n"
           "[End Package Model]\n";
}

// A .pkg file with one correct package model.
std::string Pkg(const char* fileName, const char* modelName) {
    return std::string("[IBIS Ver] 3.2\n[File Name] ") + fileName + "\n[File Rev] 1.0\n" +
           PackageModel(modelName) + "[End]\n";
}

}  // namespace

// A component's package model that the .ibs file does not define is looked for in the .pkg
// files beside it; each file that defines it is read as a .pkg file, with its banner.
TEST(PkgmdlSearch, PackageModelInAPkgFileBeside) {
    WriteCheckFile("beside/top.ibs", Ibs("4.1", "top.ibs", "QFP"));
    WriteCheckFile("beside/abc.pkg", Pkg("abc.pkg", "QFP"));
    WriteCheckFile("beside/other.pkg", Pkg("other.pkg", "SOIC"));
    CheckOptions options;
    int versionAfter = -1;
    options.inspect = [&](IBIS*) { versionAfter = HDR_GetVersion(); };
    EXPECT_EQ(CheckRelative("beside/top.ibs", FILE_KIND_IBS, options),
              Banner("beside/top.ibs", "4.2") + Banner("beside/abc.pkg", "3.2") + kPassed);
    // The .pkg file's [IBIS Ver] 3.2 does not outlive its reading.
    EXPECT_EQ(versionAfter, 4);

    // Defined in the .ibs file itself: no .pkg file is read.
    WriteCheckFile("beside/own.ibs", "[IBIS Ver] 3.2\n[File Name] own.ibs\n[File Rev] 1.0\n" +
                                         CleanComponent("c", "A1 gnd GND\n") +
                                         "[Package Model] SOIC\n" + PackageModel("SOIC") +
                                         "[End]\n");
    EXPECT_EQ(CheckRelative("beside/own.ibs", FILE_KIND_IBS),
              Banner("beside/own.ibs", "3.2") + kPassed);
}

TEST(PkgmdlSearch, PackageModelInNoFile) {
    WriteCheckFile("nowhere/top.ibs", Ibs("3.2", "top.ibs", "QFP"));
    WriteCheckFile("nowhere/abc.pkg", Pkg("abc.pkg", "SOIC"));
    EXPECT_EQ(CheckRelative("nowhere/top.ibs", FILE_KIND_IBS),
              Banner("nowhere/top.ibs", "3.2") +
                  "ERROR - Unable to find Package Model 'QFP' for Component 'c'\n" + Summary(1));
}

// Only regular files that are not hidden and whose names end in ".pkg" in any letter case are
// looked at; a file whose model name merely begins with the name sought is read too.
TEST(PkgmdlSearch, WhichFilesAreRead) {
    WriteCheckFile("which/top.ibs", Ibs("3.2", "top.ibs", "QFP"));
    WriteCheckFile("which/.hidden.pkg", Pkg(".hidden.pkg", "QFP"));
    WriteCheckFile("which/UPPER.PKG", Pkg("upper.pkg", "QFP"));
    WriteCheckFile("which/longer.pkg", Pkg("longer.pkg", "QFP2"));
    WriteCheckFile("which/notes.txt", Pkg("notes.txt", "QFP"));
    std::filesystem::create_directories(CheckDir() / "which/folder.pkg");
    EXPECT_EQ(CheckRelative("which/top.ibs", FILE_KIND_IBS),
              Banner("which/top.ibs", "3.2") + Banner("which/longer.pkg", "3.2") +
                  Banner("which/UPPER.PKG", "3.2") + kPassed);

    // Only the longer name is defined: the file is read, the model is still not found.
    WriteCheckFile("prefix/top.ibs", Ibs("3.2", "top.ibs", "QFP"));
    WriteCheckFile("prefix/longer.pkg", Pkg("longer.pkg", "QFP2"));
    EXPECT_EQ(CheckRelative("prefix/top.ibs", FILE_KIND_IBS),
              Banner("prefix/top.ibs", "3.2") + Banner("prefix/longer.pkg", "3.2") +
                  "ERROR - Unable to find Package Model 'QFP' for Component 'c'\n" + Summary(1));

    // Every file that defines the model is read, so the model is then defined twice.
    WriteCheckFile("twice/top.ibs", Ibs("3.2", "top.ibs", "QFP"));
    WriteCheckFile("twice/b.pkg", Pkg("b.pkg", "QFP"));
    WriteCheckFile("twice/a.pkg", Pkg("a.pkg", "QFP"));
    EXPECT_EQ(CheckRelative("twice/top.ibs", FILE_KIND_IBS),
              Banner("twice/top.ibs", "3.2") + Banner("twice/a.pkg", "3.2") +
                  Banner("twice/b.pkg", "3.2") +
                  "ERROR - Define_Package_Model 'QFP' is duplicated within the .ibs file.\n" +
                  Summary(1));
}
