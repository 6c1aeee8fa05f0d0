#include "model/Quarnel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Drives the model over one column the way the AMI layer does: one-sample outer storages,
// Setup, Initialize, Run per sample, Finalize.
std::vector<double> RunColumn(Quarnel& model, const std::vector<double>& column) {
    double in = 0.0, out = 0.0;
    model.Input.Attach(&in, 1);
    model.Output.Attach(&out, 1);
    EXPECT_TRUE(model.Setup());
    EXPECT_TRUE(model.Initialize());
    std::vector<double> result;
    for (double sample : column) {
        in = sample;
        EXPECT_TRUE(model.Run());
        result.push_back(out);
    }
    EXPECT_TRUE(model.Finalize());
    return result;
}

std::vector<double> Impulse(std::size_t length) {
    std::vector<double> x(length, 0.0);
    x[0] = 1.0;
    return x;
}

// The response taps worked out apart from the model: the slope of the parabola through
// three table points (Newton form), the window starting one point before the first point at
// or after t and kept inside the table, times the 5 ps sample period.
std::vector<double> ExpectedResponseTaps() {
    const auto& ts = Quarnel::StepResponseTimeStamps;
    const auto& r = Quarnel::StepResponseValues;
    const double period = 5e-12;
    std::vector<double> taps;
    for (int m = 0; m < 65; ++m) {
        const double t = m / 2.0e11;
        std::size_t k = 0;
        while (k + 1 < ts.size() && ts[k] < t) ++k;
        k = std::min<std::size_t>(std::max<std::size_t>(k, 1), ts.size() - 3);
        const double d01 = (r[k] - r[k - 1]) / (ts[k] - ts[k - 1]);
        const double d12 = (r[k + 1] - r[k]) / (ts[k + 1] - ts[k]);
        const double second = (d12 - d01) / (ts[k + 1] - ts[k - 1]);
        taps.push_back((d01 + second * ((t - ts[k - 1]) + (t - ts[k]))) * period);
    }
    return taps;
}

void SetTaps(Quarnel& model, double current, double previous, double earliest) {
    const double taps[] = {current, previous, earliest};
    model.Taps.AssignFrom(taps, 3);
}

}  // namespace

TEST(Quarnel, DefaultsAndFreshResponseTablesPerCycle) {
    Quarnel model;
    EXPECT_EQ(model.SampleInterval, 5e-12);
    EXPECT_EQ(model.SamplesPerBit, 32);
    EXPECT_EQ(model.Gain, 1.0);
    EXPECT_EQ(model.Taps.Extent(0), 1u);
    EXPECT_EQ(model.Taps.Extent(1), 3u);
    EXPECT_EQ(std::vector<double>(model.Taps.Data(), model.Taps.Data() + 3),
              (std::vector<double>{0, 1, 0}));
    ASSERT_TRUE(model.Setup());
    EXPECT_EQ(model.ResponseFilter.NumTaps, 65);
    EXPECT_TRUE(model.Finalize());
    EXPECT_EQ(model.ResponseFilter.Response, nullptr);
    EXPECT_EQ(model.ResponseFilter.ResponseTimeStamps, nullptr);
}

TEST(Quarnel, ImpulseComesBackFilteredScaledAndDelayedByTheWeightedSymbol) {
    const std::vector<double> taps = ExpectedResponseTaps();
    struct Case {
        double current, previous, earliest, gain;
        std::size_t delay;
    };
    // The defaults with a 1 dB gain (10^(1/20)), then each end tap alone at 0 dB; every one of
    // the 65 response taps is compared with the independent calculation.
    for (const Case& c :
         {Case{0, 1, 0, 1.1220184543019633, 32}, Case{0, 0, 1, 1.0, 64}, Case{1, 0, 0, 1.0, 0}}) {
        Quarnel model;
        model.Gain = c.gain;
        SetTaps(model, c.current, c.previous, c.earliest);
        const std::vector<double> output = RunColumn(model, Impulse(140));
        ASSERT_TRUE(model.Setup());
        for (std::size_t n = 0; n < output.size(); ++n) {
            if (n < c.delay || n >= c.delay + 65) {
                EXPECT_EQ(output[n], 0.0) << "sample " << n;
                continue;
            }
            EXPECT_EQ(output[n], c.gain * model.ResponseFilter.Taps[n - c.delay]) << "sample " << n;
            EXPECT_NEAR(output[n], c.gain * taps[n - c.delay], 1e-13) << "sample " << n;
        }
    }
}

TEST(Quarnel, ChainIsTheSumOfThreeSymbolSpacedFilteredCopies) {
    // An independent direct-form convolution of a pseudo-random column with the filter's taps,
    // scaled and combined by the three FFE taps, must match the chain closely.
    Quarnel model;
    model.Gain = 0.75;
    SetTaps(model, 0.9, -0.3, 0.1);
    model.SamplesPerBit = 8;
    std::vector<double> column;
    unsigned state = 12345;
    for (int n = 0; n < 300; ++n) {
        state = state * 1103515245u + 12345u;
        column.push_back(((state >> 16) % 2 == 0 ? 1.0 : -1.0) * (n % 8 < 4 ? 1.0 : 0.5));
    }
    const std::vector<double> output = RunColumn(model, column);
    const std::vector<double> taps = ExpectedResponseTaps();
    std::vector<double> filtered(column.size(), 0.0);
    for (std::size_t n = 0; n < column.size(); ++n)
        for (std::size_t m = 0; m < taps.size() && m <= n; ++m)
            filtered[n] += taps[m] * column[n - m];
    for (std::size_t n = 0; n < column.size(); ++n) {
        double expected = 0.9 * filtered[n];
        if (n >= 8) expected += -0.3 * filtered[n - 8];
        if (n >= 16) expected += 0.1 * filtered[n - 16];
        EXPECT_NEAR(output[n], 0.75 * expected, 1e-12) << "sample " << n;
    }
}

TEST(Quarnel, SecondColumnRestartsTheFilterButNotTheEqualiser) {
    Quarnel model;
    const std::vector<double> first = RunColumn(model, Impulse(40));
    const std::vector<double> second = RunColumn(model, std::vector<double>(100, 0.0));
    const std::vector<double> third = RunColumn(model, Impulse(100));
    EXPECT_EQ(model.ResponseLink.Storage, nullptr);
    EXPECT_EQ(model.GainToEqualizer, nullptr);
    ASSERT_TRUE(model.Setup());
    const double* taps = model.ResponseFilter.Taps;
    EXPECT_EQ(first[39], taps[7]);
    // The equaliser still holds the first column's last 40 filtered samples; the middle tap
    // reads them 32 samples late. The response filter itself starts from silence.
    for (std::size_t n = 0; n < 100; ++n)
        EXPECT_EQ(second[n], n < 32 ? taps[8 + n] : 0.0) << "sample " << n;
    // After a silent column the history is clear and the impulse behaves as on a fresh model.
    for (std::size_t n = 0; n < 100; ++n)
        EXPECT_EQ(third[n], n < 32 || n >= 32 + 65 ? 0.0 : taps[n - 32]) << "sample " << n;
}

TEST(Quarnel, PhasesReportTheBlocksFailures) {
    Quarnel model;
    model.SamplesPerBit = 0;
    double in = 0.0, out = 0.0;
    model.Input.Attach(&in, 1);
    model.Output.Attach(&out, 1);
    EXPECT_TRUE(model.Setup());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(model.Initialize());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "SamplesPerBit must be a positive number.\n");
    EXPECT_TRUE(model.Finalize());

    model.SamplesPerBit = 32;
    model.SampleInterval = -5e-12;
    model.Gain = 2.0;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(model.Setup());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "SampleRate must be > 0.0\n");
    // The later stages are still set up after the response filter failed.
    EXPECT_EQ(model.GainStage.GainValue, 2.0);
    EXPECT_EQ(model.Equalizer.SamplesPerBit, 32);
    EXPECT_EQ(model.Input.Rate, 1u);
    EXPECT_TRUE(model.Finalize());
}
