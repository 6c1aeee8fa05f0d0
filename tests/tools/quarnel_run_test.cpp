// Runs the built quarnel-run program on small files and checks what it writes.
#include <gtest/gtest.h>

#include "tests/TransmitterResponse.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct RunOutput {
    int status = -1;
    std::string out;
    std::string err;
};

class QuarnelRun : public ::testing::Test {
protected:
    fs::path dir;

    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("quarnel_run_test_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(dir / name, std::ios::binary) << text;
        return (dir / name).string();
    }
    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    RunOutput run(const std::string& arguments, const std::string& limits = "") {
        std::string command = limits + "'" + QUARNEL_BIN_DIR + "/quarnel-run' " + arguments +
                              " >'" + (dir / "stdout").string() + "' 2>'" +
                              (dir / "stderr").string() + "'";
        int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read(dir / "stdout"), read(dir / "stderr")};
    }
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::vector<std::vector<double>> csvRows(const std::string& text) {
    std::vector<std::vector<double>> rows;
    std::vector<std::string> all = lines(text);
    for (std::size_t i = 1; i < all.size(); ++i) {
        std::vector<double> row;
        std::istringstream fields(all[i]);
        for (std::string field; std::getline(fields, field, ',');) row.push_back(std::stod(field));
        rows.push_back(row);
    }
    return rows;
}

// A two-column impulse file: a unit impulse on the victim at `at`, zeros elsewhere.
std::string impulseFile(int rows, int at) {
    std::string text = "victim,aggressor\n";
    for (int r = 0; r < rows; ++r) text += (r == at ? "1,0\n" : "0,0\n");
    return text;
}

TEST_F(QuarnelRun, MalformedInputGivesOneLineNamingFileAndLineAndStatus2) {
    struct Case {
        std::string content;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"v,a\n1,2\n3\n", ":3: expected 2 columns, found 1"},
        {"# comment\n1 2\n3 4 5\n", ":3: expected 2 columns, found 3"},
        {"1,2\n3,x\n", ":2: column 2 is not a number: \"x\""},
        {"1,2\n3,,4\n", ":2: expected 2 columns, found 3"},
        {"time,victim\n", ":1: no columns: the file holds no data rows"},
        {"", ": no columns: the file holds no data rows"},
        {"1,2\n3,\n", ":2: column 2 is not a number: \"\""},
        {"time\n0\n", ":1: no channel columns in the header"},
        {"time,v\n0,1\n1,2\n3,0\n",
         ":3: the time column is not evenly spaced here; use --sample-interval"},
        // A first row with any number in it is data, so an unreadable field there is an error.
        {"0,,0\n1,2,3\n", ":1: column 2 is not a number: \"\""},
        {"0x10\n1\n", ":1: column 1 is not a number: \"0x10\""},
        {"1e400,0\n1,2\n", ":1: column 1 is not a number: \"1e400\""},
        {"v,a\r\n1,2\r\n3,4,5\r\n", ":3: expected 2 columns, found 3"},
        {"v,a\r1,2\r3\r", ":3: expected 2 columns, found 1"},
        // Quoted fields are cut to 40 characters.
        {"1,2\n3," + std::string(40, 'y') + "\n",
         ":2: column 2 is not a number: \"" + std::string(40, 'y') + "\""},
        {"1,2\n3," + std::string(41, 'z') + "\n",
         ":2: column 2 is not a number: \"" + std::string(40, 'z') + "...\""},
    };
    for (const Case& c : cases) {
        std::string file = write("input.csv", c.content);
        RunOutput result = run("'" + file + "'");
        EXPECT_EQ(result.status, 2) << c.content;
        EXPECT_EQ(result.out, "") << c.content;
        EXPECT_EQ(result.err, "quarnel-run: " + file + c.expected + "\n") << c.content;
    }
    std::string missing = (dir / "missing.csv").string();
    RunOutput result = run("'" + missing + "'");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err,
              "quarnel-run: " + missing + ": cannot open file: No such file or directory\n");
    const std::string folder = dir.string();
    result = run("'" + folder + "'");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "quarnel-run: " + folder + ": is a directory\n");
}

TEST_F(QuarnelRun, BadCommandLinesAndLibrariesGiveStatus2) {
    std::string file = write("input.csv", "1\n");
    for (const std::string& arguments :
         {std::string("--frobnicate '") + file + "'", std::string(""),
          "--bit-time fast '" + file + "'", "'" + file + "' --params",
          "--params-file '" + (dir / "none").string() + "' '" + file + "'",
          "--params-file '" + dir.string() + "' '" + file + "'",
          "--lib '" + (dir / "nolib.so").string() + "' '" + file + "'"}) {
        RunOutput result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_EQ(lines(result.err).size(), 1u) << arguments << result.err;
        EXPECT_EQ(result.err.rfind("quarnel-run: ", 0), 0u) << result.err;
    }
    const std::string noDir = (dir / "no" / "out.csv").string();
    const struct {
        std::string arguments, err;
    } exact[] = {
        {"--output '' '" + file + "'", "--output needs a file name, not an empty text"},
        {"--pulse '' '" + file + "'", "--pulse needs a file name, not an empty text"},
        {"--lib '' '" + file + "'", "--lib needs a file name, not an empty text"},
        {"--params-file '' '" + file + "'", "--params-file needs a file name, not an empty text"},
        {"--bit-time " + std::string(45, '9') + "x '" + file + "'",
         "--bit-time: not a number: \"" + std::string(40, '9') + "...\""},
        // Outputs are created before the model runs, so the library is not even called.
        {"--output '" + noDir + "' '" + file + "'",
         noDir + ": cannot create file: No such file or directory"},
        {"--pulse '" + noDir + "' '" + file + "'",
         noDir + ": cannot create file: No such file or directory"},
    };
    for (const auto& c : exact) {
        RunOutput result = run(c.arguments);
        EXPECT_EQ(result.status, 2) << c.arguments;
        EXPECT_EQ(result.err, "quarnel-run: " + c.err + "\n") << c.arguments;
    }
    // A write that fails after the model ran is an error too.
    RunOutput full = run("--output /dev/full '" + file + "'");
    EXPECT_EQ(full.status, 2);
    EXPECT_EQ(lines(full.err).back(),
              "quarnel-run: /dev/full: cannot write file: No space left on device");
    RunOutput help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("starts with \"time\""), std::string::npos);
}

TEST_F(QuarnelRun, RunningOutOfMemoryIsAOneLineError) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer cannot run under an address-space limit";
#endif
    // A 20 MB file under a 16 MB address-space limit must not be read in part.
    std::string file = write("huge.csv", std::string(20'000'000, '1') + "\n");
    RunOutput result = run("'" + file + "'", "ulimit -v 16000 && ");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.err, "quarnel-run: out of memory\n");
}

TEST_F(QuarnelRun, ProcessesEveryColumnThroughTheLibrary) {
    std::string file = write("impulse.csv", impulseFile(80, 0));
    RunOutput result = run("--params '(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain 0))' '" + file + "'");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "AMI_Init returned 1\n");
    EXPECT_EQ(lines(result.out).front(), "victim,aggressor");
    std::vector<std::vector<double>> rows = csvRows(result.out);
    ASSERT_EQ(rows.size(), 80u);
    for (std::size_t i = 0; i < responseAt5ps.size(); ++i)
        EXPECT_NEAR(rows[i][0], responseAt5ps[i], 1e-15) << i;
    for (std::size_t i = 65; i < rows.size(); ++i) EXPECT_EQ(rows[i][0], 0.0) << i;
    for (const auto& row : rows) EXPECT_EQ(row[1], 0.0);
}

TEST_F(QuarnelRun, TimeColumnGivesTheSampleIntervalAndIsCopied) {
    std::string text = "# t v\n";
    for (int r = 0; r < 40; ++r) text += std::to_string(r) + "e-11\t" + (r ? "0" : "1") + "\n";
    std::string file = write("impulse.txt", text);
    RunOutput result =
        run("--time-column --params '(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain 0))' '" + file + "'");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(lines(result.out).front(), "time,victim");
    std::vector<std::vector<double>> rows = csvRows(result.out);
    ASSERT_EQ(rows.size(), 40u);
    for (std::size_t i = 0; i < responseAt10ps.size(); ++i) {
        EXPECT_NEAR(rows[i][0], i * 1e-11, 1e-24);
        EXPECT_NEAR(rows[i][1], responseAt10ps[i], 1e-15) << i;
    }
}

TEST_F(QuarnelRun, ByteOrderMarkLineEndsAndTimeHeadersAreRead) {
    // 40 samples 10 ps apart with a unit impulse first: only a time column read as such
    // gives the 10 ps response.
    const auto file = [](const std::string& header, const std::string& end) {
        std::string text = header + end;
        for (int r = 0; r < 40; ++r) text += std::to_string(r) + "e-11," + (r ? "0" : "1") + end;
        return text;
    };
    const struct {
        std::string text, header;
    } cases[] = {
        {file("time,v", "\n"), "time,v"},
        {"\xEF\xBB\xBF" + file("time,v", "\n"), "time,v"},
        {file("time,v", "\r\n"), "time,v"},
        {file("time,v", "\r"), "time,v"},
        {"\xEF\xBB\xBF" + file("TIME_S,v", "\r"), "TIME_S,v"},
        {file("time_s,v", "\n"), "time_s,v"},
        {file("t,v", "\r\n"), "t,v"},
    };
    for (const auto& c : cases) {
        std::string path = write("impulse.csv", c.text);
        RunOutput result =
            run("--params '(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain 0))' '" + path + "'");
        ASSERT_EQ(result.status, 0) << c.header << result.err;
        EXPECT_EQ(lines(result.out).front(), c.header);
        std::vector<std::vector<double>> rows = csvRows(result.out);
        ASSERT_EQ(rows.size(), 40u) << c.header;
        for (std::size_t i = 0; i < responseAt10ps.size(); ++i)
            EXPECT_NEAR(rows[i][1], responseAt10ps[i], 1e-15) << c.header << " row " << i;
    }
}

TEST_F(QuarnelRun, PulseResponseIsTheRunningSumOverOneBit) {
    std::string file = write("impulse.csv", impulseFile(120, 3));
    std::string output = (dir / "out.csv").string();
    std::string pulse = (dir / "pulse.csv").string();
    RunOutput result =
        run("--bit-time 40e-12 --output '" + output + "' --pulse '" + pulse + "' '" + file + "'");
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "");
    std::vector<std::vector<double>> processed = csvRows(read(output));
    std::vector<std::vector<double>> pulses = csvRows(read(pulse));
    ASSERT_EQ(pulses.size(), processed.size());
    // 40 ps / 5 ps: eight samples per bit.
    std::size_t peakRow = 0;
    for (std::size_t r = 0; r < pulses.size(); ++r) {
        double sum = 0.0;
        for (std::size_t k = 0; k < 8 && k <= r; ++k) sum += processed[r - k][0];
        EXPECT_NEAR(pulses[r][0], sum, 1e-14) << r;
        if (pulses[r][0] > pulses[peakRow][0]) peakRow = r;
    }
    std::vector<std::string> err = lines(result.err);
    ASSERT_EQ(err.size(), 3u) << result.err;
    EXPECT_EQ(err[0], "AMI_Init returned 1");
    // No parameter string: the model names each of its four parameters.
    EXPECT_EQ(err[1].rfind("AMI_Init message: The IBIS-AMI model, Quarnel, is unable to "
                           "initialize the parameter Taps.0",
                           0),
              0u);
    EXPECT_EQ(err[2].rfind("Pulse response peak (victim): ", 0), 0u);
    EXPECT_NE(err[2].find("at row " + std::to_string(peakRow + 1) + " "), std::string::npos)
        << err[2];
}

TEST_F(QuarnelRun, ModelFailureGivesStatus1AndUnprocessedColumns) {
    std::string file = write("impulse.csv", "v\n0.5\n-0.25\n");
    RunOutput result = run("--sample-interval -5e-12 '" + file + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "v\n0.5\n-0.25\n");
    EXPECT_NE(result.err.find("AMI_Init returned 0\n"), std::string::npos);
    EXPECT_NE(result.err.find("Error occurred in Quarnel::Setup(). \n"), std::string::npos);
}

}  // namespace
