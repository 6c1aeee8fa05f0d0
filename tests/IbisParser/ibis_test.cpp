#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>

#include "IbisParser/cmn.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/hdr.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/component_text.h"
#include "tests/IbisParser/expected_output.h"

namespace {

// A package model with every keyword it needs.
const std::string kPackageModel =
    "[Define Package Model] p\n[Manufacturer] m\n[OEM] o\n[Description] d\n"
    "[Number Of Pins] 1\n[Pin Numbers]\nA1\n[Model Data]\n[Inductance Matrix] Full_matrix\n"
    "[Row] A1\n1n\n[Capacitance Matrix] Full_matrix\n[Row] A1\n1p\n[End Model Data]\n"
    "[End Package Model]\n";

std::string Header(const char* version, const char* fileName) {
    return std::string("[IBIS Ver] ") + version + "\n[File Name] " + fileName +
           "\n[File Rev] 1.0\n";
}

}  // namespace

TEST(IbisOpen, ExtensionRules) {
    WriteCheckFile("model.ibs", Header("3.2", "model.ibs") + CleanComponent() + "[End]\n");
    EXPECT_EQ(CheckRelative("model", FILE_KIND_IBS), Banner("model", "3.2") + kPassed);
    EXPECT_EQ(CheckRelative("MODEL.Ibs", FILE_KIND_IBS), Banner("MODEL.Ibs", "3.2") + kPassed);

    EXPECT_EQ(CheckRelative("model.ibs", FILE_KIND_PKG),
              NotRead("File Name Requires '.pkg' Extension.", "model.ibs"));
    EXPECT_EQ(CheckRelative("model.ibs", FILE_KIND_EBD),
              NotRead("File Name Requires '.ebd' Extension.", "model.ibs"));
    EXPECT_EQ(CheckRelative("nofile.ibs", FILE_KIND_IBS),
              NotRead("Unable To Open File 'nofile.ibs'", "nofile.ibs"));

    std::string tooLong(1021, 'n');
    EXPECT_EQ(CheckRelative(tooLong, FILE_KIND_IBS),
              NotRead("Unable to append filename extension.", tooLong));
    std::string longPath = "d/" + std::string(1020, 'n') + ".ibs";
    EXPECT_EQ(CheckRelative(longPath, FILE_KIND_IBS),
              NotRead("Unable to assemble filename.", longPath));
}

TEST(IbisOpen, DirectoriesAndLetterCase) {
    WriteCheckFile("dir/sub/x.ibs", Header("3.2", "x.ibs") + CleanComponent() + "[End]\n");
    EXPECT_EQ(CheckRelative("dir/sub/x.ibs", FILE_KIND_IBS),
              Banner("dir/sub/x.ibs", "3.2") + kPassed);
    EXPECT_EQ(CheckRelative("dir\\sub\\x.ibs", FILE_KIND_IBS),
              Banner("dir\\sub\\x.ibs", "3.2") + kPassed);

    // Not found as given, found in lower case: the directory is kept in lower case.
    WriteCheckFile("low/buf.ibs", Header("3.2", "buf.ibs") + CleanComponent() + "[End]\n");
    std::FILE* file = nullptr;
    std::string name;
    std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(CheckDir());
    file = CMN_OpenFile("dir/sub/x.ibs", FILE_KIND_IBS, &name);
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(name, "x.ibs");
    EXPECT_EQ(CMN_GetFileDirectory(), "dir/sub/");
    file = CMN_OpenFile("LOW/BUF.IBS", FILE_KIND_IBS, &name);
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(name, "buf.ibs");
    EXPECT_EQ(CMN_GetFileDirectory(), "low/");
    // A later name without directory is looked for in that directory.
    file = CMN_OpenFile("Buf", FILE_KIND_IBS, &name);
    ASSERT_NE(file, nullptr);
    std::fclose(file);

    // Found only in upper case.
    WriteCheckFile("UP/UPPER.PKG", "");
    file = CMN_OpenFile("Up/Upper.pkg", FILE_KIND_PKG, &name);
    ASSERT_NE(file, nullptr);
    std::fclose(file);
    EXPECT_EQ(name, "UPPER.PKG");
    EXPECT_EQ(CMN_GetFileDirectory(), "UP/");
    std::filesystem::current_path(previous);
    CMN_SetFileDirectory("");

    EXPECT_EQ(CheckRelative("LOW/BUF.IBS", FILE_KIND_IBS), Banner("LOW/BUF.IBS", "3.2") + kPassed);
}

TEST(IbisVersion, BannersAndFilesThatAreNotRead) {
    struct Case {
        const char* version;
        const char* revision;
    };
    for (Case c :
         {Case{"2.0", "2.1"}, Case{"3.1", "3.2"}, Case{"4.1", "4.2"}, Case{"5.0", "5.0"}}) {
        std::string file =
            "| comment first\n\n" + Header(c.version, "test.ibs") + CleanComponent() + "[End]\n";
        EXPECT_EQ(CheckText(file, FILE_KIND_IBS), Banner("test.ibs", c.revision) + kPassed);
    }

    const std::string notRead =
        "ERROR - Could not determine Version for file test.ibs\n" + Summary(1);
    EXPECT_EQ(CheckText("[Component] c\n[IBIS Ver] 3.2\n[End]\n", FILE_KIND_IBS), notRead);
    EXPECT_EQ(CheckText(Header("1.1", "test.ibs") + "[End]\n", FILE_KIND_IBS), notRead);
    EXPECT_EQ(CheckText(Header("6.0", "test.ibs") + "[End]\n", FILE_KIND_IBS), notRead);
    EXPECT_EQ(CheckText("| only comments\n", FILE_KIND_IBS), notRead);
    EXPECT_EQ(CheckText("", FILE_KIND_IBS), notRead);

    // The version step only needs the digit; the header then checks the whole value.
    EXPECT_EQ(CheckText("  [ibis_ver]   5.1\n[File Name] test.ibs\n[File Rev] 1\n" +
                            CleanComponent() + "[End]\n",
                        FILE_KIND_IBS),
              Banner("test.ibs", "5.0") +
                  "ERROR (line    1) - Keywords Must Begin In Column 1.\n"
                  "ERROR (line    1) - Illegal IBIS_Version '5.1'.\n" +
                  Summary(2));
    unsigned long lines = 0;
    WriteCheckFile("count.ibs", "|\n|\n\n[IBIS Ver] 4.0\n");
    EXPECT_EQ(CMN_DetectVersion((CheckDir() / "count.ibs").c_str(), &lines, FILE_KIND_IBS), 4);
    EXPECT_EQ(lines, 4u);
}

TEST(IbisCheck, WholeFileChecksByKind) {
    // A package model in a .pkg file: no whole-file check applies.
    EXPECT_EQ(CheckText(Header("3.2", "test.pkg") + kPackageModel + "[End]\n", FILE_KIND_PKG),
              Banner("test.pkg", "3.2") + kPassed);
    EXPECT_EQ(CheckText(Header("4.0", "test.ebd") + "[Begin Board Description] b\n"
                                                    "[End Board Description]\n[End]\n",
                        FILE_KIND_EBD),
              Banner("test.ebd", "4.2") + kPassed);
    CheckOptions quiet;
    quiet.quiet = true;
    EXPECT_EQ(CheckText("(x)\n", FILE_KIND_AMI, quiet),
              "ERROR - Too few nodes in branches or leaves\n" + Summary(1));
}

TEST(IbisCheck, SectionsAddTheirRecordsToTheCurrentFile) {
    const std::string kTerminator =
        "Model_type Terminator\nC_comp 1p 1p 1p\n[Voltage Range] 1 1 1\n";
    std::string file = Header("5.0", "test.ibs") + CleanComponent("a") + CleanComponent("b") +
                       "[Model] m1\n" + kTerminator + "[Model] m2\n" + kTerminator +
                       "[Model] m3\n" + kTerminator + kPackageModel +
                       "[Model Selector] s\nm1 one\nm2 two\nm3 three\n[Submodel] sub\n"
                       "[Test Data] d\nTest_data_type Single_ended\nDriver_model m1\n"
                       "Test_load l\n[Rising Waveform Near]\n0 0 0 0\n1n 1 1 1\n"
                       "[Test Load] l\nTest_load_type Single_ended\nReceiver_model m2\n"
                       "[External Circuit] e\n"
                       "[End External Circuit]\n[End]\n";
    int components = 0, models = 0, others = 0;
    CheckOptions options;
    options.inspect = [&](IBIS* ibis) {
        ASSERT_NE(ibis, nullptr);
        for (CMPNT* c = ibis->components.get(); c != nullptr; c = c->next.get()) ++components;
        for (MDL* m = ibis->models.get(); m != nullptr; m = m->next.get()) ++models;
        HDR* header = nullptr;
        others = (ibis->packageModels != nullptr) + (ibis->modelSelectors != nullptr) +
                 (ibis->submodels != nullptr) + (ibis->testData != nullptr) +
                 (ibis->testLoads != nullptr) + (ibis->circuits != nullptr) +
                 (ibis->boardDescriptions != nullptr) + IBIS_GetHdr(ibis, &header);
    };
    // A Terminator drives the test data, and no model adds the submodel.
    EXPECT_EQ(CheckText(file, FILE_KIND_IBS, options),
              Banner("test.ibs", "5.0") +
                  "WARNING - Driver_model 'm1' in Test Data 'd' is not an output type.\n"
                  "WARNING - Submodel sub is not referenced by any model [Add Submodel] keyword\n" +
                  Summary(0, 2));
    EXPECT_EQ(components, 2);
    EXPECT_EQ(models, 3);
    EXPECT_EQ(others, 7);
}

TEST(IbisStack, PushFreeAnywhereAndFinish) {
    IBIS* current = nullptr;
    ASSERT_EQ(IBIS_GetCurrent(&current), 0);
    ASSERT_EQ(IBIS_New(), 1);
    IBIS* bottom = nullptr;
    ASSERT_EQ(IBIS_GetCurrent(&bottom), 1);
    ASSERT_EQ(IBIS_New(), 1);
    IBIS* top = nullptr;
    ASSERT_EQ(IBIS_GetCurrent(&top), 1);
    EXPECT_NE(top, bottom);
    EXPECT_EQ(top->next.get(), bottom);

    IBIS_Free(bottom);
    ASSERT_EQ(IBIS_GetCurrent(&current), 1);
    EXPECT_EQ(current, top);
    EXPECT_EQ(top->next, nullptr);

    std::FILE* summary = std::tmpfile();
    CMN_SetOutput(summary);
    CMN_ResetCounts();
    IBIS_Finish();
    EXPECT_EQ(IBIS_GetCurrent(&current), 0);
    IBIS_Finish();
    CMN_SetOutput(nullptr);
    std::rewind(summary);
    char text[128] = {};
    std::size_t got = std::fread(text, 1, sizeof text - 1, summary);
    std::fclose(summary);
    EXPECT_EQ(std::string(text, got), kPassed + kPassed);
}

// A caller that skips IBIS_New: no section can create its record. Each reports that with its
// own code and level (some name their module and source line, here replaced by "#"), or not
// at all, and the header's keywords become orphans. Without a header the version left in
// force (4 here) chooses the keywords.
TEST(IbisCheck, AFileReadWithoutARecord) {
    WriteCheckFile("norecord.ibs",
                   Header("4.2", "norecord.ibs") +
                       "[Component] c\n[Model] m\n[Define Package Model] p\n"
                       "[Model Selector] s\nin1 first\n[Submodel] u\n[Test Data] d\n"
                       "[Test Load] l\n[External Circuit] e\n[End]\n");
    std::FILE* diagnostics = std::tmpfile();
    CMN_SetOutput(diagnostics);
    CMN_ResetCounts();
    PARSE_SetQuiet(true);
    HDR_SetVersion(4);
    EXPECT_EQ(PARSE_File((CheckDir() / "norecord.ibs").c_str(), FILE_KIND_IBS), 1);
    PARSE_SetQuiet(false);
    HDR_SetVersion(0);
    CMN_SetOutput(nullptr);
    std::rewind(diagnostics);
    char text[1024] = {};
    std::size_t got = std::fread(text, 1, sizeof text - 1, diagnostics);
    std::fclose(diagnostics);
    std::string printed = std::regex_replace(std::string(text, got), std::regex(":[0-9]+:"), ":#:");
    EXPECT_EQ(printed,
              "PROGRAM BUG - Unable to get ptr to IBIS struct?\n"
              "ERROR (line    1) - Orphan File Header keyword.\n"
              "ERROR (line    2) - Orphan File Header keyword.\n"
              "ERROR (line    3) - Orphan File Header keyword.\n"
              "PROGRAM BUG (line    4) - cmpnt:#:Unable to get IBIS?\n"
              "PROGRAM BUG (line    5) - Unable to get IBIS structure\n"
              "PROGRAM BUG (line    6) - pkgmdl:#:PKGMDL_Init unable to get IBIS?\n"
              "ERROR (line    6) - Orphan Package Model keyword.\n"
              "PROGRAM BUG (line    7) - msel:#:MSEL_Init unable to get IBIS?\n"
              "ERROR (line    7) - Orphan Model Selector keyword.\n"
              "ERROR (line    8) - Orphan Data Line.\n"
              "PROGRAM BUG - Unable to get IBIS structure\n"
              "ERROR (line   10) - Orphan Test Data keyword.\n"
              "PROGRAM BUG - Unable to get IBIS structure\n"
              "ERROR (line   11) - Orphan Test Load keyword.\n");
    CMN_ResetCounts();
}
