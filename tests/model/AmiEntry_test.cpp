// Calls AMI_Init and AMI_Close through the built shared library, as a simulator does.
#include "tests/model/AmiLibrary.h"

#include "tests/TransmitterResponse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

std::string unreadMessage(const std::string& parameter) {
    return "The IBIS-AMI model, Quarnel, is unable to initialize the parameter " + parameter +
           " from the AMI_Init arguments.  The model will use the default setting. ";
}
const std::string allFourUnread = unreadMessage("Taps.0") + unreadMessage("Taps.1") +
                                  unreadMessage("Taps.2") + unreadMessage("Gain");
const char* const plainFilter = "(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain 0))";
const double nan = std::numeric_limits<double>::quiet_NaN();

// Two columns: a unit impulse on the victim at `at`, the aggressor all zeros.
std::vector<double> impulseMatrix(int rows, int at) {
    std::vector<double> matrix(2 * rows, 0.0);
    matrix[at] = 1.0;
    return matrix;
}

int firstNonZero(const std::vector<double>& matrix) {
    for (std::size_t i = 0; i < matrix.size(); ++i)
        if (matrix[i] != 0.0) return int(i);
    return -1;
}

TEST(AmiEntry, DefaultsFilterScaleAndDelayTheVictimByOneBit) {
    std::vector<double> matrix = impulseMatrix(200, 0);
    AmiCall call(matrix, 200, 1, "");
    EXPECT_EQ(call.result, 1);
    EXPECT_NE(call.handle, nullptr);
    EXPECT_EQ(call.message(), allFourUnread);
    const double gain = std::pow(10.0, 1.0 / 20.0);
    for (int n = 0; n < 32; ++n) EXPECT_EQ(matrix[n], 0.0) << n;
    for (std::size_t i = 0; i < responseAt5ps.size(); ++i)
        EXPECT_NEAR(matrix[32 + i], gain * responseAt5ps[i], 1e-15) << i;
    EXPECT_NEAR(matrix[32 + 64], gain * responseAt5psTap64, 1e-16);
    double sum = 0.0;
    for (int n = 0; n < 200; ++n) sum += matrix[n];
    EXPECT_NEAR(sum, gain * responseAt5psSum, 1e-13);
    for (int n = 32 + responseAt5psTaps; n < 400; ++n) EXPECT_EQ(matrix[n], 0.0) << n;
}

TEST(AmiEntry, ParametersSetTheThreeTapsAndTheGain) {
    std::vector<double> matrix = impulseMatrix(200, 0);
    AmiCall call(matrix, 200, 0, "(Quarnel (Taps (0 -0.1) (1 0.8) (2 -0.1)) (Gain 6))");
    EXPECT_EQ(call.result, 1);
    EXPECT_TRUE(call.messageUnchanged()) << call.message();
    const double gain = std::pow(10.0, 6.0 / 20.0);
    const std::vector<double>& h = responseAt5ps;
    EXPECT_NEAR(matrix[0], -0.1 * gain * h[0], 1e-16);
    EXPECT_NEAR(matrix[7], -0.1 * gain * h[7], 1e-15);
    EXPECT_NEAR(matrix[32], gain * (-0.1 * responseAt5psTap32 + 0.8 * h[0]), 1e-15);
    EXPECT_NEAR(matrix[64],
                gain * (-0.1 * responseAt5psTap64 + 0.8 * responseAt5psTap32 - 0.1 * h[0]), 1e-15);
    EXPECT_EQ(matrix[64 + 65], 0.0);
}

TEST(AmiEntry, EachUnreadParameterGetsItsMessageInOrder) {
    struct Case {
        const char* parameters;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"(Quarnel (Gain 0))",
         unreadMessage("Taps.0") + unreadMessage("Taps.1") + unreadMessage("Taps.2")},
        {"(Quarnel (Gain 3 4))",
         unreadMessage("Taps.0") + unreadMessage("Taps.1") + unreadMessage("Taps.2")},
        {"(Quarnel (Taps (0 1) (1 x) (2 0)) (Gain high))",
         unreadMessage("Taps.1") + unreadMessage("Gain")},
        {"(Quarnel (Taps (2 0.5)))",
         unreadMessage("Taps.0") + unreadMessage("Taps.1") + unreadMessage("Gain")},
        {"(Other (Taps (0 1) (1 0) (2 0)) (Gain 0))", allFourUnread},
        {"(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain 0)", allFourUnread},
        {"Quarnel Gain 0", allFourUnread},
        {"", allFourUnread},
        {nullptr,
         "The IBIS-AMI model, Quarnel, received no parameter string "
         "(AMI_parameters_in is null). " +
             allFourUnread},
    };
    for (const Case& c : cases) {
        std::vector<double> matrix = impulseMatrix(10, 0);
        AmiCall call(matrix, 10, 1, c.parameters);
        EXPECT_EQ(call.result, 1) << (c.parameters ? c.parameters : "null");
        EXPECT_EQ(call.message(), c.expected) << (c.parameters ? c.parameters : "null");
    }
}

TEST(AmiEntry, ParametersThatAreNotFiniteKeepTheirDefaults) {
    // Each hostile string must act exactly as the same string without the bad value.
    const struct {
        const char* parameters;
        const char* withoutBadValue;
        std::string expected;
    } cases[] = {
        {"(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain 10000))", "(Quarnel (Taps (0 1) (1 0) (2 0)))",
         unreadMessage("Gain")},
        {"(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain nan))", "(Quarnel (Taps (0 1) (1 0) (2 0)))",
         unreadMessage("Gain")},
        {"(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain -inf))", "(Quarnel (Taps (0 1) (1 0) (2 0)))",
         unreadMessage("Gain")},
        // 10^(6166/20) overflows a double; 10^(6165/20) is about 1.8e308 and still finite.
        {"(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain 6166))", "(Quarnel (Taps (0 1) (1 0) (2 0)))",
         unreadMessage("Gain")},
        {"(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain 6165))",
         "(Quarnel (Taps (0 1) (1 0) (2 0)) (Gain 6165))", ""},
        {"(Quarnel (Taps (0 inf) (1 0) (2 0)) (Gain 0))", "(Quarnel (Taps (1 0) (2 0)) (Gain 0))",
         unreadMessage("Taps.0")},
        {"(Quarnel (Taps (0 0.5) (1 -1e999) (2 nan)) (Gain 0))",
         "(Quarnel (Taps (0 0.5)) (Gain 0))", unreadMessage("Taps.1") + unreadMessage("Taps.2")},
    };
    for (const auto& c : cases) {
        std::vector<double> matrix = impulseMatrix(120, 0);
        AmiCall call(matrix, 120, 1, c.parameters);
        std::vector<double> expected = impulseMatrix(120, 0);
        AmiCall reference(expected, 120, 1, c.withoutBadValue);
        EXPECT_EQ(call.result, 1) << c.parameters;
        EXPECT_EQ(call.message(), c.expected) << c.parameters;
        EXPECT_EQ(matrix, expected) << c.parameters;
        for (double sample : matrix) ASSERT_TRUE(std::isfinite(sample)) << c.parameters;
    }
}

TEST(AmiEntry, ZeroDecibelsIsAFactorOfExactlyOne) {
    std::vector<double> defaultTaps = impulseMatrix(120, 0);
    AmiCall gainOnly(defaultTaps, 120, 0, "(Quarnel (Gain 0))");
    std::vector<double> unitTaps = impulseMatrix(120, 0);
    AmiCall plain(unitTaps, 120, 0, plainFilter);
    // Taps 0, 1, 0 delay by one bit; the samples themselves are unscaled.
    for (int n = 0; n < 32; ++n) EXPECT_EQ(defaultTaps[n], 0.0);
    for (int n = 0; n < 88; ++n) EXPECT_EQ(defaultTaps[n + 32], unitTaps[n]) << n;
}

TEST(AmiEntry, SamplesPerBitRoundsTheRatioHalfUp) {
    const char* delayOnly = "(Quarnel (Taps (0 0) (1 1) (2 0)) (Gain 0))";
    // A sample interval of a quarter second keeps the ratios exact (and the filter one tap).
    for (auto [ratio, delay] : {std::pair{31.5, 32}, {31.49, 31}, {8.0, 8}, {0.6, 1}}) {
        std::vector<double> matrix = impulseMatrix(100, 0);
        AmiCall call(matrix, 100, 0, delayOnly, 0.25, ratio * 0.25);
        EXPECT_EQ(call.result, 1) << ratio;
        EXPECT_EQ(firstNonZero(matrix), delay) << ratio;
    }
}

TEST(AmiEntry, AggressorsRunAfterTheVictimAndInheritTheEqualizerHistory) {
    // The victim's impulse sits near its end: with taps 0, 1, 0 its filtered tail reaches
    // the aggressor's first bit through the equaliser, while the response filter restarts.
    std::vector<double> matrix = impulseMatrix(100, 90);
    AmiCall call(matrix, 100, 1, "(Quarnel (Taps (0 0) (1 1) (2 0)) (Gain 0))");
    EXPECT_EQ(call.result, 1);
    for (int n = 0; n < 100; ++n) {
        double expected = n >= 22 && n < 32 ? responseAt5ps[n - 22] : 0.0;
        EXPECT_NEAR(matrix[100 + n], expected, 1e-16) << n;
    }
    std::vector<double> direct = impulseMatrix(100, 90);
    AmiCall plain(direct, 100, 1, plainFilter);
    for (int n = 0; n < 100; ++n) EXPECT_EQ(direct[100 + n], 0.0) << n;
}

TEST(AmiEntry, ColumnCountAndRowSizeEdges) {
    std::vector<double> untouched = {0.25, -0.5, 1.0, 2.0};
    {
        std::vector<double> matrix = untouched;
        AmiCall call(matrix, 2, -1, "");
        EXPECT_EQ(call.result, 1);
        EXPECT_NE(call.handle, nullptr);
        EXPECT_EQ(call.message(), allFourUnread);
        EXPECT_EQ(matrix, untouched);
    }
    for (std::int32_t rows : {0, -5}) {
        std::vector<double> matrix = untouched;
        AmiCall call(matrix, rows, 1, plainFilter);
        EXPECT_EQ(call.result, 1);
        EXPECT_TRUE(call.messageUnchanged());
        EXPECT_EQ(matrix, untouched);
    }
    {
        AmiCall manyEmptyColumns(nullptr, 0, std::numeric_limits<std::int32_t>::max(), plainFilter);
        EXPECT_EQ(manyEmptyColumns.result, 1);
    }
    std::vector<double> matrix = impulseMatrix(40, 0);
    matrix[40] = 1.0;
    AmiCall victimOnly(matrix, 40, 0, plainFilter);
    EXPECT_NEAR(matrix[5], responseAt5ps[5], 1e-16);
    EXPECT_EQ(matrix[40], 1.0);
    for (int n = 41; n < 80; ++n) EXPECT_EQ(matrix[n], 0.0);
}

TEST(AmiEntry, FailedPhasesAndUnusableArgumentsGiveZeroAndAMessage) {
    struct Case {
        double sampleInterval;
        double bitTime;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {-5e-12, 160e-12, "Error occurred in Quarnel::Setup(). "},
        {5e-12, -160e-12, "Error occurred in Quarnel::Initialize(). "},
        {5e-12, 0.0, "Error occurred in Quarnel::Initialize(). "},
        {0.0, 160e-12,
         "The IBIS-AMI model, Quarnel, cannot filter with a sample_interval of 0 s; it needs at "
         "least 1e-15 s. "},
        {nan, 160e-12,
         "The IBIS-AMI model, Quarnel, cannot filter with a sample_interval of nan s; it needs at "
         "least 1e-15 s. "},
        {5e-12, nan,
         "The IBIS-AMI model, Quarnel, cannot derive SamplesPerBit from a bit_time of nan s and a "
         "sample_interval of 5e-12 s; it allows at most 65536 samples per bit. "},
        {5e-12, 1.0,
         "The IBIS-AMI model, Quarnel, cannot derive SamplesPerBit from a bit_time of 1 s and a "
         "sample_interval of 5e-12 s; it allows at most 65536 samples per bit. "},
        {5e-12, -1e300,
         "The IBIS-AMI model, Quarnel, cannot derive SamplesPerBit from a bit_time of -1e+300 s "
         "and a sample_interval of 5e-12 s; it allows at most 65536 samples per bit. "},
    };
    for (const Case& c : cases) {
        std::vector<double> matrix = impulseMatrix(50, 3);
        const std::vector<double> input = matrix;
        AmiCall call(matrix, 50, 1, plainFilter, c.sampleInterval, c.bitTime);
        EXPECT_EQ(call.result, 0) << c.expected;
        EXPECT_NE(call.handle, nullptr);
        EXPECT_EQ(call.message(), c.expected);
        EXPECT_EQ(matrix, input) << c.expected;
    }
    AmiCall noMatrix(nullptr, 10, 0, "");
    EXPECT_EQ(noMatrix.result, 0);
    EXPECT_EQ(noMatrix.message(),
              allFourUnread +
                  "The IBIS-AMI model, Quarnel, received no impulse_matrix (a null "
                  "pointer) for 10 samples per column. ");
}

TEST(AmiEntry, NullHandlePointersAreRefusedAndClosed) {
    const AmiLibrary& library = AmiLibrary::Get();
    ASSERT_NE(library.init, nullptr);
    EXPECT_EQ(library.close(nullptr), 1);
    std::vector<double> matrix = impulseMatrix(10, 0);
    char* msg = nullptr;
    char text[] = "";
    EXPECT_EQ(library.init(matrix.data(), 10, 0, 5e-12, 160e-12, text, nullptr, nullptr, &msg), 0);
    ASSERT_NE(msg, nullptr);
    EXPECT_STREQ(msg,
                 "The IBIS-AMI model, Quarnel, cannot return its instance: "
                 "AMI_memory_handle is null. ");
    EXPECT_EQ(matrix, impulseMatrix(10, 0));
    void* handle = nullptr;
    EXPECT_EQ(library.init(matrix.data(), 10, 0, 5e-12, 160e-12, text, nullptr, &handle, nullptr),
              1);
    EXPECT_EQ(library.close(handle), 1);
}

TEST(AmiEntry, HostileParameterStringsStillGiveAResultAndAHandle) {
    std::string wide = "(Quarnel";
    for (int i = 0; i < 100000; ++i) wide += " (Gain " + std::to_string(i) + ")";
    wide += ")";
    const std::string blanks(100000, ' ');
    const std::vector<std::string> hostile = {
        wide,
        "(Quarnel" + blanks + "(Gain" + blanks + "0" + blanks + ")" + blanks + ")",
        std::string(1 << 20, '('),
        std::string(1 << 20, ')'),
        "(Quarnel (Gain \xff\xfe\x80) (Taps (0 \"\xc3\xa9\" (1 \x01)))",
        "(\"Quarnel (Gain 0))",
    };
    testing::internal::CaptureStdout();
    for (const std::string& parameters : hostile) {
        std::vector<double> matrix = impulseMatrix(40, 0);
        AmiCall call(matrix, 40, 1, parameters.c_str());
        EXPECT_TRUE(call.result == 0 || call.result == 1);
        EXPECT_NE(call.handle, nullptr);
        EXPECT_FALSE(call.message().empty()) << parameters.substr(0, 80);
    }
    std::vector<double> overflowing = impulseMatrix(40, 0);
    AmiCall infinite(overflowing, 40, 1,
                     "(Quarnel (Taps (0 1e999) (1 -1e999) (2 nan)) (Gain 1e308))");
    EXPECT_EQ(infinite.result, 1);
    EXPECT_EQ(infinite.message(), allFourUnread);
    for (double sample : overflowing) EXPECT_TRUE(std::isfinite(sample));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    std::vector<double> matrix = impulseMatrix(40, 0);
    AmiCall firstGainWins(matrix, 40, 0, wide.c_str());
    EXPECT_EQ(firstGainWins.message(),
              unreadMessage("Taps.0") + unreadMessage("Taps.1") + unreadMessage("Taps.2"));
}

}  // namespace
