// Runs the built ibischeck on small files in a temporary folder and compares its whole
// standard output and its exit status.

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
    std::string out;
    std::string err;
    int status = -1;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class IbischeckTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ibischeck_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const std::string& name, const std::string& text) {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    // Runs the program in the temporary folder, so that file names in messages stay short.
    ToolRun Check(const std::string& arguments) {
        const std::string command = "cd '" + dir_.string() +
                                    "' && '" QUARNEL_BIN_DIR "/ibischeck' " + arguments +
                                    " >stdout.txt 2>stderr.txt";
        const int result = std::system(command.c_str());
        ToolRun run;
        run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
        run.out = ReadFile(dir_ / "stdout.txt");
        run.err = ReadFile(dir_ / "stderr.txt");
        return run;
    }

    fs::path dir_;
};

std::string Banner(const std::string& path, const char* version) {
    return "\nChecking " + path + " for IBIS " + version + " Compatibility...\n\n";
}

const char* const kPassed = "Errors  : 0\n\nFile Passed\n";

const char* const kGoodPkg =
    "[IBIS Ver] 3.2\n"
    "[File Name] good.pkg\n"
    "[File Rev] 1.0\n"
    "[End]\n";

// A tab (warning at line 3) and no [File Rev] (error when the header ends).
const char* const kBadPkg =
    "[IBIS Ver] 3.2\n"
    "[File Name] bad.pkg\n"
    "[Notes]\tA tab here.\n"
    "[End]\n";

const char* const kBadPkgFindings =
    "WARNING (line    3) - IBIS files should not contain tab characters.\n"
    "ERROR - Required keyword 'File_Rev' not found in file 'bad.pkg'.\n";

TEST_F(IbischeckTest, PassingAndFailingFilesWithFreshCountsEach) {
    Write("good.pkg", kGoodPkg);
    Write("bad.pkg", kBadPkg);

    ToolRun good = Check("good.pkg");
    EXPECT_EQ(good.out, Banner("good.pkg", "3.2") + kPassed);
    EXPECT_EQ(good.status, 0);
    EXPECT_EQ(good.err, "");

    // The second file's summary counts only its own findings.
    ToolRun both = Check("bad.pkg good.pkg");
    EXPECT_EQ(both.out, Banner("bad.pkg", "3.2") + kBadPkgFindings +
                            "\nErrors  : 1\nWarnings: 1\n\nFile Failed\n" +
                            Banner("good.pkg", "3.2") + kPassed);
    EXPECT_EQ(both.status, 1);

    ToolRun goodFirst = Check("good.pkg bad.pkg");
    EXPECT_EQ(goodFirst.out, Banner("good.pkg", "3.2") + kPassed + Banner("bad.pkg", "3.2") +
                                 kBadPkgFindings + "\nErrors  : 1\nWarnings: 1\n\nFile Failed\n");
    EXPECT_EQ(goodFirst.status, 1);
}

// Neither the previous file's directory nor its IBIS version applies to the next file.
TEST_F(IbischeckTest, EachFileIsCheckedAsIfAlone) {
    const std::string version4 = "[IBIS Ver] 4.0\n[File Name] x.pkg\n[File Rev] 1.0\n[End]\n";
    Write("dir/sub/x.pkg", version4);
    Write("x.pkg", version4);
    Write("good.pkg", kGoodPkg);
    // A 100-character comment before [IBIS Ver] is read under the rules of no version yet.
    Write("lead.pkg", "| " + std::string(98, 'x') +
                          "\n[IBIS Ver] 3.2\n[File Name] lead.pkg\n[File Rev] 1.0\n[End]\n");
    const std::string leadAlone = Banner("lead.pkg", "3.2") +
                                  "ERROR (line    1) - Exceeds 80 chararacters.\n"
                                  "\nErrors  : 1\n\nFile Failed\n";
    EXPECT_EQ(Check("lead.pkg").out, leadAlone);

    ToolRun afterDirectory = Check("dir/sub/x.pkg good.pkg");
    EXPECT_EQ(afterDirectory.out,
              Banner("dir/sub/x.pkg", "4.2") + kPassed + Banner("good.pkg", "3.2") + kPassed);
    EXPECT_EQ(afterDirectory.status, 0);

    ToolRun afterVersion4 = Check("x.pkg lead.pkg");
    EXPECT_EQ(afterVersion4.out, Banner("x.pkg", "4.2") + kPassed + leadAlone);
    EXPECT_EQ(afterVersion4.status, 1);
}

TEST_F(IbischeckTest, QuietLevelsAndBanner) {
    Write("bad.pkg", kBadPkg);

    ToolRun quiet = Check("--quiet bad.pkg");
    EXPECT_EQ(quiet.out,
              std::string(kBadPkgFindings) + "\nErrors  : 1\nWarnings: 1\n\nFile Failed\n");
    EXPECT_EQ(quiet.status, 1);

    ToolRun noWarnings = Check("--quiet-warnings bad.pkg");
    EXPECT_EQ(noWarnings.out,
              Banner("bad.pkg", "3.2") +
                  "ERROR - Required keyword 'File_Rev' not found in file 'bad.pkg'.\n"
                  "\nErrors  : 1\n\nFile Failed\n");
    EXPECT_EQ(noWarnings.status, 1);

    // A quiet error is not counted either, so the file passes with its warning.
    ToolRun noErrors = Check("--quiet-errors bad.pkg");
    EXPECT_EQ(noErrors.out,
              Banner("bad.pkg", "3.2") +
                  "WARNING (line    3) - IBIS files should not contain tab characters.\n"
                  "\nErrors  : 0\nWarnings: 1\n\nFile Passed\n");
    EXPECT_EQ(noErrors.status, 0);

    // Input cannot cause program bugs, so quieting them changes nothing here.
    ToolRun noBugs = Check("--quiet-bugs --quiet-warnings --quiet-errors bad.pkg");
    EXPECT_EQ(noBugs.out, Banner("bad.pkg", "3.2") + kPassed);
    EXPECT_EQ(noBugs.status, 0);
}

TEST_F(IbischeckTest, OutputFileTakesDiagnosticsAndSummaries) {
    Write("good.pkg", kGoodPkg);
    Write("bad.pkg", kBadPkg);

    ToolRun run = Check("--output report.txt bad.pkg good.pkg");
    EXPECT_EQ(run.out, Banner("bad.pkg", "3.2") + Banner("good.pkg", "3.2"));
    EXPECT_EQ(
        ReadFile(dir_ / "report.txt"),
        std::string(kBadPkgFindings) + "\nErrors  : 1\nWarnings: 1\n\nFile Failed\n" + kPassed);
    EXPECT_EQ(run.status, 1);

    ToolRun equalsForm = Check("--quiet --output=other.txt good.pkg");
    EXPECT_EQ(equalsForm.out, "");
    EXPECT_EQ(ReadFile(dir_ / "other.txt"), kPassed);
    EXPECT_EQ(equalsForm.status, 0);
}

TEST_F(IbischeckTest, KindFromExtensionOrForced) {
    Write("GOOD.PKG", std::string(kGoodPkg));
    Write("noext.pkg", "[IBIS Ver] 3.2\n[File Name] noext.pkg\n[File Rev] 1.0\n[End]\n");
    Write("model.txt", kGoodPkg);

    // The extension is compared without regard to case; [File Name] matches ignoring case.
    ToolRun upper = Check("GOOD.PKG");
    EXPECT_EQ(upper.out, Banner("GOOD.PKG", "3.2") + kPassed);
    EXPECT_EQ(upper.status, 0);

    // Without an extension the kind's own is appended: as .ibs nothing is found, as .pkg it is.
    ToolRun asIbs = Check("noext");
    EXPECT_EQ(asIbs.out,
              "ERROR - Unable To Open File 'noext.ibs'\n"
              "ERROR - Could not determine Version for file noext\n"
              "\nErrors  : 2\n\nFile Failed\n");
    EXPECT_EQ(asIbs.status, 1);
    ToolRun asPkg = Check("--kind pkg noext");
    EXPECT_EQ(asPkg.out, Banner("noext", "3.2") + kPassed);
    EXPECT_EQ(asPkg.status, 0);

    // Any other extension is checked as .ibs, which the file driver rejects.
    ToolRun text = Check("model.txt");
    EXPECT_EQ(text.out,
              "ERROR - File Name Requires '.ibs' Extension.\n"
              "ERROR - Could not determine Version for file model.txt\n"
              "\nErrors  : 2\n\nFile Failed\n");
    EXPECT_EQ(text.status, 1);
    ToolRun forced = Check("--kind=PKG model.txt");
    EXPECT_EQ(forced.out,
              "ERROR - File Name Requires '.pkg' Extension.\n"
              "ERROR - Could not determine Version for file model.txt\n"
              "\nErrors  : 2\n\nFile Failed\n");
}

TEST_F(IbischeckTest, FileNameMatchesTheNameWithoutDirectory) {
    const std::string header = "[IBIS Ver] 3.2\n[File Name] x.ibs\n[File Rev] 1.0\n[End]\n";
    Write("dir/sub/x.ibs", header);
    Write("dir/sub/yy.ibs", header);

    ToolRun match = Check("dir/sub/x.ibs");
    EXPECT_EQ(match.out, Banner("dir/sub/x.ibs", "3.2") +
                             "ERROR - Required keyword 'Component' not found.\n"
                             "\nErrors  : 1\n\nFile Failed\n");

    // The message is 60 characters long, so it goes on a line of its own.
    ToolRun differ = Check("dir/sub/yy.ibs");
    EXPECT_EQ(differ.out, Banner("dir/sub/yy.ibs", "3.2") +
                              "ERROR (line    2) -\n"
                              "    File name opened 'yy.ibs' not the same as File_name 'x.ibs'.\n"
                              "ERROR - Required keyword 'Component' not found.\n"
                              "\nErrors  : 2\n\nFile Failed\n");

    ToolRun noRules = Check("--no-file-name-rules dir/sub/yy.ibs");
    EXPECT_EQ(noRules.out, Banner("dir/sub/yy.ibs", "3.2") +
                               "ERROR - Required keyword 'Component' not found.\n"
                               "\nErrors  : 1\n\nFile Failed\n");
}

TEST_F(IbischeckTest, ReaderAndHeaderSettings) {
    const std::string longLine = "| " + std::string(79, 'x') + "\n";  // 81 characters
    Write("long.pkg",
          "[IBIS Ver] 3.2\n[File Name] long.pkg\n[File Rev] 1.0\n" + longLine + "[End]\n");
    Write("ctrl.pkg",
          "[IBIS Ver] 3.2\n[File Name] ctrl.pkg\n[Notes] bell\x01 here\n"
          "[File Rev] 1.0\n[End]\n");
    Write("ver.pkg", "[IBIS Ver] 4.3\n[File Name] ver.pkg\n[File Rev] 1.0\n[End]\n");

    EXPECT_EQ(Check("long.pkg").out, Banner("long.pkg", "3.2") +
                                         "ERROR (line    4) - Exceeds 80 chararacters.\n"
                                         "\nErrors  : 1\n\nFile Failed\n");
    EXPECT_EQ(Check("--long-lines long.pkg").out, Banner("long.pkg", "3.2") + kPassed);

    EXPECT_EQ(Check("ctrl.pkg").out,
              Banner("ctrl.pkg", "3.2") +
                  "ERROR (line    3) -\n"
                  "    Found illegal control character (code 1).  Converting to space.\n"
                  "\nErrors  : 1\n\nFile Failed\n");
    EXPECT_EQ(Check("--keep-illegal-chars ctrl.pkg").out, Banner("ctrl.pkg", "3.2") + kPassed);

    EXPECT_EQ(Check("ver.pkg").out, Banner("ver.pkg", "4.2") +
                                        "ERROR (line    1) - Illegal IBIS_Version '4.3'.\n"
                                        "\nErrors  : 1\n\nFile Failed\n");
    ToolRun forced = Check("--force-v5 ver.pkg");
    EXPECT_EQ(forced.out, Banner("ver.pkg", "4.2") + kPassed);
    EXPECT_EQ(forced.status, 0);

    // These settings change nothing that a package file holds.
    ToolRun others = Check("--allow-v1 --no-model-checks --no-range-checks long.pkg");
    EXPECT_EQ(others.out, Banner("long.pkg", "3.2") +
                              "ERROR (line    4) - Exceeds 80 chararacters.\n"
                              "\nErrors  : 1\n\nFile Failed\n");
}

// The example file that the main-job script checks must stay a clean IBIS file.
TEST_F(IbischeckTest, BundledExamplePasses) {
    const std::string example = QUARNEL_SOURCE_DIR "/examples/quarnel_tx.ibs";
    ToolRun run = Check("'" + example + "'");
    EXPECT_EQ(run.out, Banner(example, "4.2") + kPassed);
    EXPECT_EQ(run.status, 0);
}

TEST_F(IbischeckTest, HelpVersionAndUsageErrors) {
    Write("good.pkg", kGoodPkg);

    ToolRun help = Check("--help");
    EXPECT_EQ(help.out.rfind("Usage: ibischeck [options] FILE...\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--no-file-name-rules"), std::string::npos);
    EXPECT_EQ(help.status, 0);

    ToolRun version = Check("--version");
    EXPECT_EQ(version.out, "ibischeck 0.1.0\n");
    EXPECT_EQ(version.status, 0);

    const struct {
        const char* arguments;
        const char* problem;
    } kUsageErrors[] = {
        {"", "ibischeck: no file to check\n"},
        {"--bogus good.pkg", "ibischeck: unknown option '--bogus'\n"},
        {"--kind xyz good.pkg", "ibischeck: unknown kind 'xyz' (expected ibs, pkg, ebd or ami)\n"},
        {"good.pkg --output", "ibischeck: option '--output' needs a value\n"},
        {"--output= good.pkg", "ibischeck: option '--output' needs a value\n"},
        {"--quiet", "ibischeck: no file to check\n"},
    };
    for (const auto& usage : kUsageErrors) {
        ToolRun run = Check(usage.arguments);
        EXPECT_EQ(run.status, 2) << usage.arguments;
        EXPECT_EQ(run.out, "") << usage.arguments;
        EXPECT_EQ(run.err,
                  std::string(usage.problem) + "Try 'ibischeck --help' for more information.\n")
            << usage.arguments;
    }

    ToolRun unwritable = Check("--output no/such/dir/report.txt good.pkg");
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_EQ(unwritable.out, "");
}

}  // namespace

namespace {

// Real files that nobody here wrote, used in place: QUARNEL_CORPUS names the folder, else it
// is looked for beside the source tree. Whatever a file holds, checking it ends with a verdict
// and never reaches a program bug.
TEST(IbischeckCorpus, EveryFileEndsWithAVerdictAndNoProgramBug) {
    const char* configured = std::getenv("QUARNEL_CORPUS");
    const fs::path corpus =
        configured ? fs::path(configured) : fs::path(QUARNEL_SOURCE_DIR) / ".." / "shared" / "corpus";
    if (!fs::is_directory(corpus)) {
        GTEST_SKIP() << "no corpus at " << corpus;
    }
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
        std::string extension = entry.path().extension().string();
        for (char& letter : extension) letter = static_cast<char>(std::tolower(letter));
        if (!entry.is_regular_file() ||
            (extension != ".ibs" && extension != ".pkg" && extension != ".ami")) {
            continue;
        }
        const std::string command = "'" QUARNEL_BIN_DIR "/ibischeck' '" + entry.path().string() + "'";
        std::FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string out;
        char buffer[4096];
        for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            out.append(buffer, got);
        }
        const int result = pclose(pipe);
        const int status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(status == 0 || status == 1) << name << " exit " << status;
        const bool verdict = out.ends_with("\nFile Passed\n") || out.ends_with("\nFile Failed\n");
        EXPECT_TRUE(verdict) << name << ":\n" << out;
        EXPECT_EQ(out.find("PROGRAM BUG"), std::string::npos) << name << ":\n" << out;
        EXPECT_EQ(out.find("assertion failed"), std::string::npos) << name;
        EXPECT_EQ(status == 0, out.ends_with("\nFile Passed\n")) << name;
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

}  // namespace
