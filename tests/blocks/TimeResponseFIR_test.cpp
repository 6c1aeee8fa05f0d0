#include "blocks/TimeResponseFIR.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Vexlor::TimeResponseFIR;

struct Response {
    std::vector<double> times;
    std::vector<double> values;
};

void Attach(TimeResponseFIR& fir, Response& response, int type, double sampleRate) {
    fir.Response = response.values.data();
    fir.ResponseTimeStamps = response.times.data();
    fir.ResponseSize = static_cast<int>(response.values.size());
    fir.ResponseTimeStampsSize = static_cast<int>(response.times.size());
    fir.ResponseType = type;
    fir.SampleRate = sampleRate;
}

// Setup on a fresh block; returns what it wrote to standard error.
std::string SetupMessages(Response response, int type, double sampleRate, bool& result) {
    TimeResponseFIR fir;
    Attach(fir, response, type, sampleRate);
    testing::internal::CaptureStderr();
    result = fir.Setup();
    return testing::internal::GetCapturedStderr();
}

std::vector<double> TapsOf(const TimeResponseFIR& fir) {
    return std::vector<double>(fir.Taps, fir.Taps + fir.NumTaps);
}

}  // namespace

TEST(TimeResponseFIR, ResponseChecksAndTheirMessages) {
    const Response three{{0, 1, 2}, {0, 1, 2}}, four{{0, 1, 2, 3}, {0, 1, 2, 3}};
    const std::string badRate = "SampleRate must be > 0.0\n";
    const std::tuple<Response, int, double, std::string> cases[] = {
        {three, 2, 1.0,
         "Inavlid ResponseType is specified, it can be either Impulse Response or Step Response\n"},
        {three, 1, 1.0, "At least 4 response coefficients are required for input step response\n"},
        {three, 0, 1.0,
         "At least 4 response coefficients are required for input impulse response\n"},
        {{{0, 1, 2, 3, 4}, {0, 1, 2, 3}},
         1,
         1.0,
         "Number of coefficients in response must be same as the number of values in time "
         "stamps\n"},
        {four, 1, 0.0, badRate},
        {four, 1, -2.0, badRate},
        {four, 1, std::nan(""), badRate},
        // A tap count beyond a 32-bit integer is refused rather than left undefined.
        {four, 1, 1e10, "ResponseTimeStamps span too many samples at this SampleRate\n"},
        {four, 1, 1.0, ""}};
    for (const auto& [response, type, rate, messages] : cases) {
        SCOPED_TRACE(messages);
        bool ok = !messages.empty();
        EXPECT_EQ(SetupMessages(response, type, rate, ok), messages);
        EXPECT_EQ(ok, messages.empty());
    }
}

TEST(TimeResponseFIR, OutOfOrderTimeStampIsReportedAndKeepsTheEarlierTaps) {
    Response good{{0, 0.25, 0.5, 0.75}, {4, 3, 2, 1}};
    TimeResponseFIR fir;
    Attach(fir, good, 0, 4.0);
    ASSERT_TRUE(fir.Setup());
    const std::vector<double> taps = TapsOf(fir);

    Response repeated{{0.5, 1, 1, 2}, {0, 1, 2, 3}};
    Attach(fir, repeated, 1, 1.0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(fir.Setup());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ResponseTimeStamps[3] = 1  <= ResponseTimeStamps[2] = 1. "
              "Time stamps must be in non-repeating ascending order.\n");
    EXPECT_EQ(repeated.times, (std::vector<double>{0, 0.5, 0.5, 2}));
    EXPECT_EQ(TapsOf(fir), taps);

    Response falling{{1e-9, 2.5e-9, 3.25e-9, 3.0e-9}, {0, 1, 2, 3}};
    Attach(fir, falling, 0, 1.0);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(fir.Setup());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ResponseTimeStamps[4] = 3e-09  <= ResponseTimeStamps[3] = 3.25e-09. "
              "Time stamps must be in non-repeating ascending order.\n");
}

TEST(TimeResponseFIR, ImpulseSampledAtItsOwnPointsIsScaledByThePeriod) {
    Response response{{0, 0.25, 0.5, 0.75, 1.0}, {0.5, 2.0, -1.0, 0.75, 0.25}};
    TimeResponseFIR fir;
    Attach(fir, response, 0, 4.0);
    ASSERT_TRUE(fir.Setup());
    EXPECT_EQ(TapsOf(fir), (std::vector<double>{0.125, 0.5, -0.25, 0.1875, 0.0625}));
}

TEST(TimeResponseFIR, ImpulseBetweenPointsFollowsTheCubicThroughThem) {
    auto cubic = [](double t) { return 2.0 - 3.0 * t + 0.5 * t * t + 0.25 * t * t * t; };
    Response response{{0, 0.3, 1.1, 1.7, 2.6, 3.05}, {}};
    for (double t : response.times) response.values.push_back(cubic(t));
    const double rate = 2.5;
    TimeResponseFIR fir;
    Attach(fir, response, 0, rate);
    ASSERT_TRUE(fir.Setup());
    ASSERT_EQ(fir.NumTaps, 8);  // trunc(3.05 * 2.5) + 1
    for (int m = 0; m < fir.NumTaps; ++m) {
        const double t = m / rate;
        EXPECT_NEAR(fir.Taps[m], cubic(t) / rate, 1e-12) << "tap " << m;
    }
}

TEST(TimeResponseFIR, StraightStepGivesConstantTaps) {
    const double slope = 3.0e9;
    Response response{{0, 0.7e-10, 1.1e-10, 2.3e-10, 2.9e-10, 4.0e-10}, {}};
    for (double t : response.times) response.values.push_back(slope * t);
    TimeResponseFIR fir;
    Attach(fir, response, 1, 2.0e11);
    ASSERT_TRUE(fir.Setup());
    ASSERT_EQ(fir.NumTaps, 81);
    for (int m = 0; m < fir.NumTaps; ++m)
        EXPECT_NEAR(fir.Taps[m], slope / 2.0e11, 1e-12) << "tap " << m;
}

TEST(TimeResponseFIR, StepTapIsTheSlopeOfTheParabolaThroughThreePoints) {
    // Points chosen so that every tap falls between the second and third point of a window.
    Response response{{0, 1, 3, 4, 6}, {0, 1, 5, 2, 7}};
    TimeResponseFIR fir;
    Attach(fir, response, 1, 1.0);
    ASSERT_TRUE(fir.Setup());
    ASSERT_EQ(fir.NumTaps, 7);
    // Newton form: slope at t = f[x0,x1] + f[x0,x1,x2] * ((t - x0) + (t - x1)).
    auto slope = [](double x0, double x1, double x2, double y0, double y1, double y2, double t) {
        const double d01 = (y1 - y0) / (x1 - x0);
        const double d12 = (y2 - y1) / (x2 - x1);
        return d01 + (d12 - d01) / (x2 - x0) * ((t - x0) + (t - x1));
    };
    // t = 0 and 1 use points 0..2; t = 2 searches to point 2 (k = 2, the largest allowed:
    // size - 3) and so uses points 1..3; later taps stay clamped at k = 2.
    EXPECT_NEAR(fir.Taps[0], slope(0, 1, 3, 0, 1, 5, 0), 1e-12);
    EXPECT_NEAR(fir.Taps[1], slope(0, 1, 3, 0, 1, 5, 1), 1e-12);
    EXPECT_NEAR(fir.Taps[2], slope(1, 3, 4, 1, 5, 2, 2), 1e-12);
    EXPECT_NEAR(fir.Taps[6], slope(1, 3, 4, 1, 5, 2, 6), 1e-12);
}

TEST(TimeResponseFIR, LeadingDelayIsRemovedAndTheRewriteLasts) {
    Response atZero{{0, 0.5, 1.25, 2.0, 3.5}, {0, 0.25, 0.75, 1.0, 1.0}};
    Response delayed{{1.0, 1.5, 2.25, 3.0, 4.5}, atZero.values};
    TimeResponseFIR first, second;
    Attach(first, atZero, 1, 2.0);
    Attach(second, delayed, 1, 2.0);
    ASSERT_TRUE(first.Setup());
    ASSERT_TRUE(second.Setup());
    EXPECT_EQ(TapsOf(first), TapsOf(second));
    EXPECT_EQ(delayed.times, atZero.times);
    const std::vector<double> taps = TapsOf(second);
    ASSERT_TRUE(second.Setup());
    EXPECT_EQ(TapsOf(second), taps);
}

TEST(TimeResponseFIR, TapCountCoversTheDurationAndFilters) {
    Response response{{0, 1.0e-10, 2.0e-10, 3.22575e-10}, {0, 0.5, 0.9, 0.92}};
    TimeResponseFIR fir;
    Attach(fir, response, 1, 2.0e11);
    ASSERT_TRUE(fir.Setup());
    EXPECT_EQ(fir.NumTaps, 65);
    ASSERT_TRUE(fir.Initialize());
    // An impulse through the filter returns the taps in order.
    double in = 0.0, out = 0.0;
    fir.Input.Attach(&in, 1);
    fir.Output.Attach(&out, 1);
    for (int n = 0; n < fir.NumTaps + 2; ++n) {
        in = n == 0 ? 1.0 : 0.0;
        ASSERT_TRUE(fir.Run());
        EXPECT_EQ(out, n < fir.NumTaps ? fir.Taps[n] : 0.0) << "sample " << n;
    }
}
