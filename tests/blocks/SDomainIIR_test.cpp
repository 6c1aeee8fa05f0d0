#include "blocks/SDomainIIR.h"

#include "tests/blocks/CascadeDriver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>
#include <vector>

namespace {

using Vexlor::SDomainIIR;
using Complex = std::complex<double>;
using namespace cascade_test;

constexpr double kPi = std::numbers::pi;
constexpr double kButterworthCorner = 650148.0708064173;

// The frequency response of a (decayed) impulse response at omega * T radians per sample.
Complex Dtft(const Samples& impulseResponse, double radiansPerSample)
{
    Complex sum = 0.0;
    for (std::size_t n = 0; n < impulseResponse.size(); ++n) {
        sum += impulseResponse[n] * std::polar(1.0, -radiansPerSample * static_cast<double>(n));
    }
    return sum;
}

// The analog frequency that the bilinear transform without pre-warping maps to omega.
double Warped(double omega, double samplePeriod)
{
    return 2.0 / samplePeriod * std::tan(omega * samplePeriod / 2.0);
}

// The fifth-order analog Butterworth low-pass: poles evenly spread on the left half circle.
Complex Butterworth(double omega, double corner)
{
    Complex h = std::pow(corner, 5);
    for (int k = 1; k <= 5; ++k) {
        h /= Complex(0.0, omega) - std::polar(corner, kPi * (2 * k + 4) / 10.0);
    }
    return h;
}

template <class T>
void SetValues(Vexlor::MultiArray<T>& array, const std::vector<T>& values)
{
    const std::uint64_t extents[] = {1, values.size()};
    array.Reshape(2, extents);
    array.AssignFrom(values.data(), values.size());
}

TEST(SDomainIIR, DefaultIsAFifthOrderButterworthLowPassAtOneMegahertz)
{
    SDomainIIR block;
    std::string errors;
    ASSERT_TRUE(InitializeCapturing(block, errors));
    EXPECT_EQ(errors, "");
    ASSERT_EQ(block.NumBiquads, 3u);
    ASSERT_EQ(block.NumTaps, 18);
    EXPECT_NE(block.Taps[2], 0.0);
    EXPECT_NE(block.Taps[8], 0.0);
    EXPECT_EQ(block.Taps[14], 0.0);  // the real pole gives a first-order last section
    EXPECT_EQ(block.Taps[17], 0.0);

    const Samples step = Drive(block, Samples(2000, 1.0));
    EXPECT_NEAR(step.back(), 1.0, 1e-12);

    ASSERT_TRUE(block.Initialize());
    const Samples impulse = Drive(block, Impulse(4000));
    const double period = 1e-6;
    for (double hertz : {0.0, 5e3, 50e3, 103.47e3, 200e3, 400e3}) {
        const double omega = 2.0 * kPi * hertz;
        const Complex expected = Butterworth(Warped(omega, period), kButterworthCorner);
        const Complex measured = Dtft(impulse, omega * period);
        EXPECT_NEAR(measured.real(), expected.real(), 1e-9) << hertz << " Hz";
        EXPECT_NEAR(measured.imag(), expected.imag(), 1e-9) << hertz << " Hz";
    }
}

TEST(SDomainIIR, ComplexZerosInHertzPlaceANotchWhereTheBilinearMapPutsIt)
{
    const double notchHertz = 50e3;
    const double quality = 2.0;
    const double sigma = -notchHertz / (2.0 * quality);
    SDomainIIR block;
    block.FrequencyUnit = 1;
    block.GainConstant = 1.0;
    SetValues(block.ComplexZeros, {Complex(0.0, notchHertz)});
    SetValues(block.ComplexPoles, {Complex(sigma, std::sqrt(notchHertz * notchHertz - sigma * sigma))});
    SetValues<double>(block.RealPoles, {});
    ASSERT_TRUE(block.Initialize());
    ASSERT_EQ(block.NumBiquads, 1u);

    const double period = 1e-6;
    const Samples impulse = Drive(block, Impulse(4000));
    const double notch = 2.0 / period * std::atan(kPi * notchHertz * period) * period;
    EXPECT_NEAR(std::abs(Dtft(impulse, notch)), 0.0, 1e-9);
    EXPECT_NEAR(std::abs(Dtft(impulse, 0.0)), 1.0, 1e-9);
    const double omega = 2.0 * kPi * 150e3;
    const Complex s(0.0, Warped(omega, period));
    const double notchOmega = 2.0 * kPi * notchHertz;
    const Complex expected = (s * s + notchOmega * notchOmega) /
                             (s * s + notchOmega / quality * s + notchOmega * notchOmega);
    EXPECT_NEAR(std::abs(Dtft(impulse, omega * period) - expected), 0.0, 1e-9);
}

// H(s) = gain * prod(s - zero) / prod(s - pole), the lists holding every root.
Complex Analog(Complex s, double gain, const std::vector<Complex>& zeros, const std::vector<Complex>& poles)
{
    Complex h = gain;
    for (const Complex& zero : zeros) {
        h *= s - zero;
    }
    for (const Complex& pole : poles) {
        h /= s - pole;
    }
    return h;
}

TEST(SDomainIIR, ARealZeroShortOfThePolesSharesASectionWithAComplexPolePair)
{
    const double twoPi = 2.0 * kPi;
    const Complex pole(-twoPi * 30e3, twoPi * 80e3);
    const double realPole = -twoPi * 50e3;
    const double zero = -twoPi * 20e3;
    const double gain = std::norm(pole) * realPole / zero;
    SDomainIIR block;
    block.GainConstant = gain;
    SetValues(block.ComplexPoles, {pole});
    SetValues(block.RealPoles, {realPole});
    SetValues(block.RealZeros, {zero});
    ASSERT_TRUE(block.Initialize());
    ASSERT_EQ(block.NumBiquads, 2u);

    const double period = 1e-6;
    const Samples impulse = Drive(block, Impulse(4000));
    for (double hertz : {0.0, 20e3, 80e3, 300e3}) {
        const double omega = twoPi * hertz;
        const Complex expected = Analog(Complex(0.0, Warped(omega, period)), gain, {zero},
                                        {pole, std::conj(pole), realPole});
        EXPECT_NEAR(std::abs(Dtft(impulse, omega * period) - expected), 0.0, 1e-9) << hertz << " Hz";
    }
}

TEST(SDomainIIR, FrequenciesInHertzAreScaledInPlaceAtEveryInitialize)
{
    SDomainIIR block;
    block.FrequencyUnit = 1;
    SetValues(block.RealPoles, {-1000.0});
    SetValues<Complex>(block.ComplexPoles, {});
    ASSERT_TRUE(block.Initialize());
    EXPECT_DOUBLE_EQ(block.RealPoles.Data()[0], -6283.185307179586);
    ASSERT_TRUE(block.Finalize());
    ASSERT_TRUE(block.Initialize());
    EXPECT_DOUBLE_EQ(block.RealPoles.Data()[0], -6283.185307179586 * 2.0 * kPi);
}

TEST(SDomainIIR, OneRealPoleGivesAFirstOrderSectionWithUnitGainAtDC)
{
    const double a = 2.0 * kPi * 10e3;
    const double c = 2.0e6;
    SDomainIIR block;
    block.GainConstant = a;
    SetValues(block.RealPoles, {-a});
    SetValues<Complex>(block.ComplexPoles, {});
    ASSERT_TRUE(block.Initialize());
    ASSERT_EQ(block.NumTaps, 6);
    const double expected[] = {a / (c + a), a / (c + a), 0.0, 1.0, -(c - a) / (c + a), 0.0};
    for (int k = 0; k < 6; ++k) {
        EXPECT_NEAR(block.Taps[k], expected[k], 1e-15) << "coefficient " << k;
    }
    EXPECT_NEAR(Drive(block, Samples(3000, 1.0)).back(), 1.0, 1e-12);

    // A single section takes a negative gain as it is.
    block.GainConstant = -a;
    ASSERT_TRUE(block.Initialize());
    EXPECT_NEAR(Drive(block, Samples(3000, 1.0)).back(), -1.0, 1e-12);
}

TEST(SDomainIIR, WithoutPolesOrZerosTheOutputIsTheGainTimesTheInput)
{
    SDomainIIR block;
    block.GainConstant = -2.5;
    SetValues<double>(block.RealPoles, {});
    SetValues<Complex>(block.ComplexPoles, {});
    ASSERT_TRUE(block.Initialize());
    ASSERT_EQ(block.NumTaps, 6);
    EXPECT_EQ(std::vector<double>(block.Taps, block.Taps + 6), (std::vector<double>{-2.5, 0, 0, 1, 0, 0}));
    EXPECT_EQ(Drive(block, {1.0, -4.0, 0.0}), (Samples{-2.5, 10.0, 0.0}));
}

TEST(SDomainIIR, TwoRealZerosWithoutPolesDivideByTwoPolesAtMinusOne)
{
    SDomainIIR block;
    block.GainConstant = 1.0;
    SetValues<double>(block.RealPoles, {});
    SetValues<Complex>(block.ComplexPoles, {});
    SetValues(block.RealZeros, {-1e5, -3e5});
    ASSERT_TRUE(block.Initialize());
    ASSERT_EQ(block.NumTaps, 6);
    // With c = 2e6: (c + 3e5)(c + 1e5), -(c - 1e5)(c + 3e5) - (c - 3e5)(c + 1e5), (c - 3e5)(c - 1e5).
    const double expected[] = {4.83e12, -7.94e12, 3.23e12, 1.0, 2.0, 1.0};
    for (int k = 0; k < 6; ++k) {
        EXPECT_NEAR(block.Taps[k], expected[k], 1e-3) << "coefficient " << k;
    }
}

TEST(SDomainIIR, UnusableSettingsFailWithAMessage)
{
    for (double rate : {0.0, -1.0, std::nan("")}) {
        SDomainIIR block;
        block.SampleRate = rate;
        block.FrequencyUnit = 1;
        std::string errors;
        EXPECT_FALSE(InitializeCapturing(block, errors));
        EXPECT_EQ(errors, "SampleRate must be positive.\n");
        EXPECT_EQ(block.RealPoles.Data()[0], -650148.0708064173);
        EXPECT_EQ(block.Taps, nullptr);
    }

    // With a power-of-two rate, c = 2 * SampleRate exactly, so these roots sit on it.
    const double rate = 1048576.0;
    SDomainIIR realPoleAtC;
    realPoleAtC.SampleRate = rate;
    SetValues(realPoleAtC.RealPoles, {-1000.0, 2.0 * rate});
    std::string errors;
    EXPECT_FALSE(InitializeCapturing(realPoleAtC, errors));
    EXPECT_EQ(errors, "The D0 coefficient for biquad number 3 cannot be zero. \n");

    SDomainIIR realZeroAtC;
    realZeroAtC.SampleRate = rate;
    SetValues(realZeroAtC.RealZeros, {2.0 * rate});
    EXPECT_FALSE(InitializeCapturing(realZeroAtC, errors));
    EXPECT_EQ(errors, "The N0 coefficient for biquad number 1 cannot be zero: a zero lies at "
                      "twice the sample rate.\n");

    SDomainIIR invertingButterworth;
    invertingButterworth.GainConstant = -invertingButterworth.GainConstant;
    EXPECT_FALSE(InitializeCapturing(invertingButterworth, errors));
    EXPECT_NE(errors.find("is negative and cannot be spread over 3 biquads.\n"), std::string::npos)
        << errors;
}

TEST(SDomainIIR, RepeatedInitializeRebuildsTheSameFilterFromSilence)
{
    SDomainIIR block;
    block.Outputs.Resize(3);
    ASSERT_TRUE(block.Initialize());
    const std::vector<double> table(block.Taps, block.Taps + 18);
    const std::vector<Samples> first = DriveAll(block, Impulse(50));
    ASSERT_TRUE(block.Finalize());
    EXPECT_EQ(block.Taps, nullptr);

    ASSERT_TRUE(block.Initialize());
    EXPECT_EQ(std::vector<double>(block.Taps, block.Taps + 18), table);
    EXPECT_EQ(DriveAll(block, Impulse(50)), first);
}

}  // namespace
