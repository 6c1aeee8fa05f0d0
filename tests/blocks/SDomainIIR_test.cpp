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
using Roots = std::vector<Complex>;
using namespace cascade_test;

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kPeriod = 1e-6;

template <class T>
void SetValues(Vexlor::MultiArray<T>& array, const std::vector<T>& values) {
    const std::uint64_t extents[] = {1, values.size()};
    array.Reshape(2, extents);
    array.AssignFrom(values.data(), values.size());
}

// A block with only the given roots (the default Butterworth ones cleared).
void SetRoots(SDomainIIR& block, double gain, const std::vector<double>& realPoles,
              const Roots& complexPoles, const std::vector<double>& realZeros = {},
              const Roots& complexZeros = {}) {
    block.GainConstant = gain;
    SetValues(block.RealPoles, realPoles);
    SetValues(block.ComplexPoles, complexPoles);
    SetValues(block.RealZeros, realZeros);
    SetValues(block.ComplexZeros, complexZeros);
}

// H(s) = gain * prod(s - zero) / prod(s - pole), the lists holding every root.
Complex Analog(Complex s, double gain, const Roots& zeros, const Roots& poles) {
    Complex h = gain;
    for (const Complex& zero : zeros) h *= s - zero;
    for (const Complex& pole : poles) h /= s - pole;
    return h;
}

// The spectrum of the (decayed) impulse response must be H(s) at the analog frequency that
// the bilinear transform without pre-warping maps to each digital one.
void ExpectAnalogResponse(SDomainIIR& block, double gain, const Roots& zeros, const Roots& poles,
                          const std::vector<double>& hertzList) {
    const Samples impulse = Drive(block, Impulse(4000));
    for (double hertz : hertzList) {
        const double radiansPerSample = kTwoPi * hertz * kPeriod;
        Complex measured = 0.0;
        for (std::size_t n = 0; n < impulse.size(); ++n)
            measured += impulse[n] * std::polar(1.0, -radiansPerSample * static_cast<double>(n));
        const Complex s(0.0, 2.0 / kPeriod * std::tan(radiansPerSample / 2.0));
        EXPECT_NEAR(std::abs(measured - Analog(s, gain, zeros, poles)), 0.0, 1e-9)
            << hertz << " Hz";
    }
}

TEST(SDomainIIR, DefaultIsAFifthOrderButterworthLowPassAtOneMegahertz) {
    SDomainIIR block;
    std::string errors;
    ASSERT_TRUE(InitializeCapturing(block, errors));
    EXPECT_EQ(errors, "");
    ASSERT_EQ(block.NumBiquads, 3u);
    ASSERT_EQ(block.NumTaps, 18);
    // Two second-order sections from the complex poles, a first-order one from the real pole.
    EXPECT_TRUE(block.Taps[2] != 0.0 && block.Taps[8] != 0.0 && block.Taps[14] == 0.0 &&
                block.Taps[17] == 0.0);
    EXPECT_NEAR(Drive(block, Samples(2000, 1.0)).back(), 1.0, 1e-12);

    // Poles evenly spread on the left half circle of the corner frequency.
    const double corner = 650148.0708064173;
    Roots poles;
    for (int k = 1; k <= 5; ++k) poles.push_back(std::polar(corner, kPi * (2 * k + 4) / 10.0));
    ASSERT_TRUE(block.Initialize());
    ExpectAnalogResponse(block, std::pow(corner, 5), {}, poles,
                         {0.0, 5e3, 50e3, 103.47e3, 200e3, 400e3});
}

TEST(SDomainIIR, RootsInEitherUnitGiveTheAnalogResponse) {
    // A notch at 50 kHz with quality 2, given in hertz.
    const double notch = 50e3, sigma = -notch / 4.0;
    const Complex pole(sigma, std::sqrt(notch * notch - sigma * sigma));
    SDomainIIR notchBlock;
    notchBlock.FrequencyUnit = 1;
    SetRoots(notchBlock, 1.0, {}, {pole}, {}, {Complex(0.0, notch)});
    ASSERT_TRUE(notchBlock.Initialize());
    ASSERT_EQ(notchBlock.NumBiquads, 1u);
    const Complex zero(0.0, kTwoPi * notch);
    ExpectAnalogResponse(notchBlock, 1.0, {zero, std::conj(zero)},
                         {kTwoPi * pole, kTwoPi * std::conj(pole)}, {0.0, 50e3, 150e3});

    // A real zero short of the poles shares a section with the complex pole pair.
    const Complex pair(-kTwoPi * 30e3, kTwoPi * 80e3);
    const double realPole = -kTwoPi * 50e3, realZero = -kTwoPi * 20e3;
    const double gain = std::norm(pair) * realPole / realZero;
    SDomainIIR mixed;
    SetRoots(mixed, gain, {realPole}, {pair}, {realZero});
    ASSERT_TRUE(mixed.Initialize());
    ASSERT_EQ(mixed.NumBiquads, 2u);
    ExpectAnalogResponse(mixed, gain, {realZero}, {pair, std::conj(pair), realPole},
                         {0.0, 20e3, 80e3, 300e3});
}

TEST(SDomainIIR, FrequenciesInHertzAreScaledInPlaceAtEveryInitialize) {
    SDomainIIR block;
    block.FrequencyUnit = 1;
    SetRoots(block, block.GainConstant, {-1000.0}, {Complex(-300.0, 400.0)}, {-2000.0},
             {Complex(0.0, 500.0)});
    // Every root list, zeros as well as poles, is scaled by 2 pi at each Initialize.
    for (const double scale : {kTwoPi, kTwoPi * kTwoPi}) {
        ASSERT_TRUE(block.Initialize());
        EXPECT_DOUBLE_EQ(block.RealPoles.Data()[0], -1000.0 * scale);
        EXPECT_DOUBLE_EQ(block.RealZeros.Data()[0], -2000.0 * scale);
        EXPECT_DOUBLE_EQ(block.ComplexPoles.Data()[0].real(), -300.0 * scale);
        EXPECT_DOUBLE_EQ(block.ComplexPoles.Data()[0].imag(), 400.0 * scale);
        EXPECT_DOUBLE_EQ(block.ComplexZeros.Data()[0].imag(), 500.0 * scale);
        ASSERT_TRUE(block.Finalize());
    }
}

TEST(SDomainIIR, SectionCoefficientsForSimpleRootSets) {
    // One real pole -a with gain a: a first-order section with unit gain at DC.
    const double a = kTwoPi * 10e3, c = 2.0e6;
    SDomainIIR onePole;
    SetRoots(onePole, a, {-a}, {});
    ASSERT_TRUE(onePole.Initialize());
    ASSERT_EQ(onePole.NumTaps, 6);
    const double firstOrder[] = {a / (c + a), a / (c + a), 0.0, 1.0, -(c - a) / (c + a), 0.0};
    for (int k = 0; k < 6; ++k)
        EXPECT_NEAR(onePole.Taps[k], firstOrder[k], 1e-15) << "coefficient " << k;
    EXPECT_NEAR(Drive(onePole, Samples(3000, 1.0)).back(), 1.0, 1e-12);
    // A single section takes a negative gain as it is.
    onePole.GainConstant = -a;
    ASSERT_TRUE(onePole.Initialize());
    EXPECT_NEAR(Drive(onePole, Samples(3000, 1.0)).back(), -1.0, 1e-12);

    SDomainIIR none;
    SetRoots(none, -2.5, {}, {});
    ASSERT_TRUE(none.Initialize());
    ASSERT_EQ(none.NumTaps, 6);
    EXPECT_EQ(std::vector<double>(none.Taps, none.Taps + 6),
              (std::vector<double>{-2.5, 0, 0, 1, 0, 0}));
    EXPECT_EQ(Drive(none, {1.0, -4.0, 0.0}), (Samples{-2.5, 10.0, 0.0}));

    // Two real zeros without poles divide by two poles at -1. With c = 2e6: (c + 3e5)(c + 1e5),
    // -(c - 1e5)(c + 3e5) - (c - 3e5)(c + 1e5), (c - 3e5)(c - 1e5).
    SDomainIIR twoZeros;
    SetRoots(twoZeros, 1.0, {}, {}, {-1e5, -3e5});
    ASSERT_TRUE(twoZeros.Initialize());
    ASSERT_EQ(twoZeros.NumTaps, 6);
    const double expected[] = {4.83e12, -7.94e12, 3.23e12, 1.0, 2.0, 1.0};
    for (int k = 0; k < 6; ++k)
        EXPECT_NEAR(twoZeros.Taps[k], expected[k], 1e-3) << "coefficient " << k;
}

TEST(SDomainIIR, UnusableSettingsFailWithAMessage) {
    std::string errors;
    for (double rate : {0.0, -1.0, std::nan("")}) {
        SDomainIIR block;
        block.SampleRate = rate;
        block.FrequencyUnit = 1;
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
    EXPECT_FALSE(InitializeCapturing(realPoleAtC, errors));
    EXPECT_EQ(errors, "The D0 coefficient for biquad number 3 cannot be zero. \n");

    SDomainIIR realZeroAtC;
    realZeroAtC.SampleRate = rate;
    SetValues(realZeroAtC.RealZeros, {2.0 * rate});
    EXPECT_FALSE(InitializeCapturing(realZeroAtC, errors));
    EXPECT_EQ(errors,
              "The N0 coefficient for biquad number 1 cannot be zero: a zero lies at "
              "twice the sample rate.\n");

    SDomainIIR invertingButterworth;
    invertingButterworth.GainConstant = -invertingButterworth.GainConstant;
    EXPECT_FALSE(InitializeCapturing(invertingButterworth, errors));
    EXPECT_NE(errors.find("is negative and cannot be spread over 3 biquads.\n"), std::string::npos)
        << errors;
}

TEST(SDomainIIR, RepeatedInitializeRebuildsTheSameFilterFromSilence) {
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
