// Runs the built ibischeck on small files in a temporary folder and compares its whole
// standard output and its exit status.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/IbisParser/expected_output.h"

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

std::string Pkg(const char* version, const std::string& name, const std::string& body = "") {
    return std::string("[IBIS Ver] ") + version + "\n[File Name] " + name + "\n" + body +
           "[File Rev] 1.0\n[End]\n";
}

class IbischeckTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ibischeck_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        Write("good.pkg", Pkg("3.2", "good.pkg"));
        Write("GOOD.PKG", Pkg("3.2", "good.pkg"));  // [File Name] matches ignoring case
        Write("noext.pkg", Pkg("3.2", "noext.pkg"));
        Write("model.txt", "");
        // A tab (warning at line 3) and no [File Rev] (error when the header ends).
        Write("bad.pkg", "[IBIS Ver] 3.2\n[File Name] bad.pkg\n[Notes]\tA tab here.\n[End]\n");
        Write("dir/sub/x.pkg", Pkg("4.0", "x.pkg"));
        Write("x.pkg", Pkg("4.0", "x.pkg"));
        // A 100-character comment before [IBIS Ver] is read under the rules of no version yet.
        Write("lead.pkg", "| " + std::string(98, 'x') + "\n" + Pkg("3.2", "lead.pkg"));
        const std::string header = "[IBIS Ver] 3.2\n[File Name] x.ibs\n[File Rev] 1.0\n[End]\n";
        Write("dir/sub/x.ibs", header);
        Write("dir/sub/yy.ibs", header);
        Write("long.pkg",
              Pkg("3.2", "long.pkg", "| " + std::string(79, 'x') + "\n"));  // 81 characters
        Write("ctrl.pkg", Pkg("3.2", "ctrl.pkg", "[Notes] bell\x01 here\n"));
        Write("ver.pkg", Pkg("4.3", "ver.pkg"));
        Write("cc.pkg",
              "[IBIS Ver] 3.2\n[Comment Char] #_char\n[File Name] cc.pkg\n# note\n"
              "[File Rev] 1.0\n[End]\n");
        Write("pipe.pkg", Pkg("3.2", "pipe.pkg", "| note\n"));
        Write("noend.pkg", "[IBIS Ver] 3.2\n[File Name] noend.pkg\n[File Rev] 1.0\n");
        Write("v1.pkg",
              "[IBIS Ver] 3.2\n[IBIS Ver] 1.1\n[File Name] v1.pkg\n[File Rev] 1\n[End]\n");
    }
    void TearDown() override { fs::remove_all(dir_); }

    void Write(const std::string& name, const std::string& text) {
        fs::create_directories((dir_ / name).parent_path());
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    // One run of the program: its arguments, the standard output and exit status it must give.
    struct ExpectedRun {
        std::string arguments, out;
        int status;
    };

    // Each run prints exactly its expected output, with nothing on standard error.
    template <std::size_t N>
    void ExpectRuns(const ExpectedRun (&runs)[N]) {
        for (const ExpectedRun& run : runs) {
            SCOPED_TRACE(run.arguments);
            ToolRun got = Check(run.arguments);
            EXPECT_EQ(got.out, run.out);
            EXPECT_EQ(got.status, run.status);
            EXPECT_EQ(got.err, "");
        }
    }

    // Runs the program in the temporary folder, so that file names in messages stay short.
    ToolRun Check(const std::string& arguments, const std::string& standardOutput = "stdout.txt",
                  const std::string& limits = "") {
        Write("stdout.txt", "");
        const std::string command = "cd '" + dir_.string() + "' && " + limits +
                                    "'" QUARNEL_BIN_DIR "/ibischeck' " + arguments + " >" +
                                    standardOutput + " 2>stderr.txt";
        const int result = std::system(command.c_str());
        ToolRun run;
        run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
        run.out = ReadFile(dir_ / "stdout.txt");
        run.err = ReadFile(dir_ / "stderr.txt");
        return run;
    }

    fs::path dir_;
};

const std::string kBadPkgFindings =
    "WARNING (line    3) - IBIS files should not contain tab characters.\n"
    "ERROR - Required keyword 'File_Rev' not found in file 'bad.pkg'.\n";

TEST_F(IbischeckTest, OutputsAndExitStatusPerOption) {
    const std::string good = Banner("good.pkg", "3.2") + kPassed;
    const std::string bad = Banner("bad.pkg", "3.2");
    const std::string badAlone = bad + kBadPkgFindings + Summary(1, 1);
    const std::string lead =
        Banner("lead.pkg", "3.2") + "ERROR (line    1) - Exceeds 80 chararacters.\n" + Summary(1);
    const std::string noComponent = "ERROR - Required keyword 'Component' not found.\n";
    const std::string v1 = Banner("v1.pkg", "3.2") +
                           "ERROR (line    2) - Duplicate IBIS_Ver keyword\n"
                           "ERROR (line    2) - Duplicate IBIS_Ver keyword.\n";
    const ExpectedRun runs[] = {
        {"good.pkg", good, 0},
        // Each file's summary counts only its own findings.
        {"bad.pkg good.pkg", badAlone + good, 1},
        {"good.pkg bad.pkg", good + badAlone, 1},
        // Per-file reader state starts afresh: the tab warning, the comment character, [End].
        {"bad.pkg bad.pkg", badAlone + badAlone, 1},
        {"cc.pkg pipe.pkg", Banner("cc.pkg", "3.2") + kPassed + Banner("pipe.pkg", "3.2") + kPassed,
         0},
        {"good.pkg noend.pkg",
         good + Banner("noend.pkg", "3.2") + "ERROR - Required keyword 'End' not found.\n" +
             Summary(1),
         1},
        // Neither the previous file's directory nor its IBIS version applies to the next file.
        {"lead.pkg", lead, 1},
        {"dir/sub/x.pkg good.pkg", Banner("dir/sub/x.pkg", "4.2") + kPassed + good, 0},
        {"x.pkg lead.pkg", Banner("x.pkg", "4.2") + kPassed + lead, 1},
        {"--quiet bad.pkg", kBadPkgFindings + Summary(1, 1), 1},
        {"--quiet-warnings bad.pkg",
         bad + "ERROR - Required keyword 'File_Rev' not found in file 'bad.pkg'.\n" + Summary(1),
         1},
        // A quiet error is not counted either, so the file passes with its warning.
        {"--quiet-errors bad.pkg",
         bad + "WARNING (line    3) - IBIS files should not contain tab characters.\n" +
             Summary(0, 1),
         0},
        // Input cannot cause program bugs, so quieting them changes nothing here.
        {"--quiet-bugs --quiet-warnings --quiet-errors bad.pkg", bad + kPassed, 0},
        // The extension is compared without regard to case.
        {"GOOD.PKG", Banner("GOOD.PKG", "3.2") + kPassed, 0},
        // Without an extension the kind's own is appended: as .ibs nothing is found, as .pkg it is.
        {"noext", NotRead("Unable To Open File 'noext.ibs'", "noext"), 1},
        {"--kind pkg noext", Banner("noext", "3.2") + kPassed, 0},
        // Any other extension is checked as .ibs, which the file driver rejects.
        {"model.txt", NotRead("File Name Requires '.ibs' Extension.", "model.txt"), 1},
        {"--kind=PKG model.txt", NotRead("File Name Requires '.pkg' Extension.", "model.txt"), 1},
        // [File Name] is compared with the name without its directory; the 60-character
        // message goes on a line of its own.
        {"dir/sub/x.ibs", Banner("dir/sub/x.ibs", "3.2") + noComponent + Summary(1), 1},
        {"dir/sub/yy.ibs",
         Banner("dir/sub/yy.ibs", "3.2") +
             "ERROR (line    2) -\n    File name opened 'yy.ibs' not the same as File_name "
             "'x.ibs'.\n" +
             noComponent + Summary(2),
         1},
        {"--no-file-name-rules dir/sub/yy.ibs",
         Banner("dir/sub/yy.ibs", "3.2") + noComponent + Summary(1), 1},
        {"long.pkg",
         Banner("long.pkg", "3.2") + "ERROR (line    3) - Exceeds 80 chararacters.\n" + Summary(1),
         1},
        {"--long-lines long.pkg", Banner("long.pkg", "3.2") + kPassed, 0},
        {"ctrl.pkg",
         Banner("ctrl.pkg", "3.2") +
             "ERROR (line    3) -\n    Found illegal control character (code 1).  Converting to "
             "space.\n" +
             Summary(1),
         1},
        {"--keep-illegal-chars ctrl.pkg", Banner("ctrl.pkg", "3.2") + kPassed, 0},
        {"ver.pkg",
         Banner("ver.pkg", "4.2") + "ERROR (line    1) - Illegal IBIS_Version '4.3'.\n" +
             Summary(1),
         1},
        {"--force-v5 ver.pkg", Banner("ver.pkg", "4.2") + kPassed, 0},
        // A second [IBIS Ver] of 1.1 is legal only with --allow-v1; the model and range checks
        // find nothing to check in a package file.
        {"v1.pkg", v1 + "ERROR (line    2) - Illegal IBIS_Version '1.1'.\n" + Summary(3), 1},
        {"--allow-v1 --no-model-checks --no-range-checks v1.pkg", v1 + Summary(2), 1},
    };
    ExpectRuns(runs);
}

TEST_F(IbischeckTest, OutputFileTakesDiagnosticsAndSummaries) {
    ToolRun run = Check("--output report.txt bad.pkg good.pkg");
    EXPECT_EQ(run.out, Banner("bad.pkg", "3.2") + Banner("good.pkg", "3.2"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(ReadFile(dir_ / "report.txt"), kBadPkgFindings + Summary(1, 1) + kPassed);

    run = Check("--quiet --output=other.txt good.pkg");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadFile(dir_ / "other.txt"), kPassed);
}

TEST_F(IbischeckTest, HelpVersionAndUsageErrors) {
    ToolRun help = Check("--help");
    EXPECT_EQ(help.out.rfind("Usage: ibischeck [options] FILE...\n", 0), 0u) << help.out;
    for (const char* option : {"--no-file-name-rules", "--max-diagnostics N", "--kind KIND"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
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
        {"--max-diagnostics", "ibischeck: option '--max-diagnostics' needs a value\n"},
        {"--max-diagnostics=-1 good.pkg",
         "ibischeck: option '--max-diagnostics' needs a whole number, not '-1'\n"},
        {"--max-diagnostics 5x good.pkg",
         "ibischeck: option '--max-diagnostics' needs a whole number, not '5x'\n"},
        {"--max-diagnostics 99999999999999999999 good.pkg",
         "ibischeck: option '--max-diagnostics' needs a whole number, not "
         "'99999999999999999999'\n"},
        // The report must never replace a file being checked, by the same name or another.
        {"--output good.pkg good.pkg",
         "ibischeck: the report file 'good.pkg' is also a file to check\n"},
        {"bad.pkg --output=dir/../good.pkg good.pkg",
         "ibischeck: the report file 'dir/../good.pkg' is also a file to check\n"},
        {"--output noext.pkg --kind pkg noext",
         "ibischeck: the report file 'noext.pkg' is also a file to check\n"},
    };
    for (const auto& usage : kUsageErrors) {
        SCOPED_TRACE(usage.arguments);
        ToolRun run = Check(usage.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err,
                  std::string(usage.problem) + "Try 'ibischeck --help' for more information.\n");
    }

    EXPECT_EQ(ReadFile(dir_ / "good.pkg"), Pkg("3.2", "good.pkg"));
    EXPECT_EQ(ReadFile(dir_ / "noext.pkg"), Pkg("3.2", "noext.pkg"));

    ToolRun unwritable = Check("--output no/such/dir/report.txt good.pkg");
    EXPECT_EQ(unwritable.status, 2);
    EXPECT_EQ(unwritable.out, "");
}

TEST_F(IbischeckTest, MaxDiagnosticsCapsWhatEachFilePrints) {
    const std::string bad = Banner("bad.pkg", "3.2");
    const std::string warning =
        "WARNING (line    3) - IBIS files should not contain tab characters.\n";
    const ExpectedRun runs[] = {
        {"--max-diagnostics 2 bad.pkg", bad + kBadPkgFindings + Summary(1, 1), 1},
        {"--max-diagnostics=1 bad.pkg",
         bad + warning + "Diagnostics not shown: 1\n" + Summary(1, 1), 1},
        // The cap starts afresh for each file; hidden errors still fail it.
        {"--max-diagnostics 1 bad.pkg bad.pkg",
         bad + warning + "Diagnostics not shown: 1\n" + Summary(1, 1) + bad + warning +
             "Diagnostics not shown: 1\n" + Summary(1, 1),
         1},
        {"--max-diagnostics 0 bad.pkg good.pkg",
         bad + "Diagnostics not shown: 2\n" + Summary(1, 1) + Banner("good.pkg", "3.2") + kPassed,
         1},
        // Quieted diagnostics are neither printed nor counted, so they use none of the cap.
        {"--max-diagnostics 1 --quiet-warnings bad.pkg",
         bad + "ERROR - Required keyword 'File_Rev' not found in file 'bad.pkg'.\n" + Summary(1),
         1},
    };
    ExpectRuns(runs);
}

// Runs the program with its standard output on a pipe whose reading end is already closed.
ToolRun CheckIntoClosedPipe(const fs::path& dir, const char* file) {
    int ends[2];
    EXPECT_EQ(pipe(ends), 0);
    close(ends[0]);
    const pid_t child = fork();
    if (child == 0) {
        const int err = open((dir / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (chdir(dir.c_str()) != 0 || dup2(ends[1], 1) < 0 || dup2(err, 2) < 0) _exit(127);
        execl(QUARNEL_BIN_DIR "/ibischeck", "ibischeck", file, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    int result = 0;
    waitpid(child, &result, 0);
    ToolRun run;
    run.status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
    run.err = ReadFile(dir / "stderr.txt");
    return run;
}

TEST_F(IbischeckTest, RunningOutOfMemoryIsAOneLineError) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer cannot run under an address-space limit";
#endif
    // One 20 MB line under a 16 MB address-space limit.
    Write("huge.ami", "(m " + std::string(20'000'000, 'x') + ")\n");
    ToolRun run = Check("--quiet huge.ami", "stdout.txt", "ulimit -v 16000 && ");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ibischeck: out of memory\n");
}

TEST_F(IbischeckTest, ReportThatCannotBeWrittenIsAnError) {
    ToolRun run = Check("--output /dev/full bad.pkg good.pkg");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ibischeck: cannot write '/dev/full': No space left on device\n");
    EXPECT_EQ(run.out, Banner("bad.pkg", "3.2"));  // it stops after the first file

    run = Check("good.pkg", "/dev/full");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ibischeck: cannot write to standard output: No space left on device\n");

    run = Check("--help", "/dev/full");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ibischeck: cannot write to standard output: No space left on device\n");

    run = CheckIntoClosedPipe(dir_, "good.pkg");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "ibischeck: cannot write to standard output: Broken pipe\n");

    // Nothing goes to standard output with --quiet, so a full standard output is no error.
    run = Check("--quiet --output report.txt good.pkg", "/dev/full");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(ReadFile(dir_ / "report.txt"), kPassed);
}

}  // namespace
