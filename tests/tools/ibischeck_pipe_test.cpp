// Runs the built ibischeck on named pipes: a file that can be read only once, from its start,
// must be checked exactly as the same text in a regular file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/IbisParser/expected_output.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class IbischeckPipeTest : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "ibischeck_pipe_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Makes `name` a named pipe that a separate writer process fills with text once, then runs
    // ibischeck on it. Both are bounded in time, so a checker that opens the pipe a second time
    // (and would wait for a writer for ever) fails the test instead of hanging it.
    std::string CheckThroughPipe(const std::string& name, const std::string& text, int* status) {
        std::ofstream(dir_ / "source.txt", std::ios::binary) << text;
        EXPECT_EQ(mkfifo((dir_ / name).c_str(), 0600), 0);
        const std::string command = "cd '" + dir_.string() +
                                    "' && (timeout 20 sh -c 'cat source.txt > " + name +
                                    "' &) && timeout 20 '" QUARNEL_BIN_DIR "/ibischeck' " + name +
                                    " >stdout.txt 2>stderr.txt";
        const int result = std::system(command.c_str());
        *status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
        EXPECT_EQ(ReadFile(dir_ / "stderr.txt"), "");
        return ReadFile(dir_ / "stdout.txt");
    }

    fs::path dir_;
};

TEST_F(IbischeckPipeTest, NamedPipeIsCheckedLikeARegularFile) {
    // The large text is several times a pipe's buffer, with a control character near its end.
    std::string notes;
    for (int line = 0; line < 4000; ++line) notes += "A note line that fills the pipe.\n";
    const struct {
        std::string name, text, out;
        int status;
    } cases[] = {
        {"good.pkg", "[IBIS Ver] 3.2\n[File Name] good.pkg\n[File Rev] 1.0\n[End]\n",
         Banner("good.pkg", "3.2") + kPassed, 0},
        {"tab.pkg", "[IBIS Ver] 3.2\n[File Name] tab.pkg\n[Notes]\tA tab here.\n[End]\n",
         Banner("tab.pkg", "3.2") +
             "WARNING (line    3) - IBIS files should not contain tab characters.\n"
             "ERROR - Required keyword 'File_Rev' not found in file 'tab.pkg'.\n" +
             Summary(1, 1),
         1},
        {"big.pkg",
         "[IBIS Ver] 3.2\n[File Name] big.pkg\n[File Rev] 1.0\n[Notes]\n" + notes +
             "bell\x01 here\n[End]\n",
         Banner("big.pkg", "3.2") +
             "ERROR (line 4005) -\n"
             "    Found illegal control character (code 1).  Converting to space.\n" +
             Summary(1),
         1},
        // A pipe named without an extension (as a shell's <(...) is) is read as named.
        {"stream", "[IBIS Ver] 3.2\n[File Name] stream\n[File Rev] 1.0\n[End]\n",
         Banner("stream", "3.2") +
             "ERROR (line    2) - File_name 'stream' must contain one period.\n"
             "ERROR - Required keyword 'Component' not found.\n" +
             Summary(2),
         1},
        // No version: the pipe is read once for the version step and nothing more.
        {"nover.pkg", "[File Name] nover.pkg\n[End]\n",
         "ERROR - Could not determine Version for file nover.pkg\n" + Summary(1), 1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        int status = -1;
        EXPECT_EQ(CheckThroughPipe(test.name, test.text, &status), test.out);
        EXPECT_EQ(status, test.status);
    }
}

}  // namespace
