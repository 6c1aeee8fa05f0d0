#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "blocks/BlindFFE.h"
#include "blocks/TimeResponseFIR.h"
#include "framework/CircularBuffer.h"
#include "framework/DFModel.h"
#include "framework/Gain.h"
#include "framework/MultiArray.h"

// The transmitter model: the built-in analog step response as a FIR, then a gain, then a
// three-tap symbol-spaced FFE, one sample per Run from Input to Output. The owner sets the
// parameters before Setup and attaches one-sample storages to Input and Output.
class Quarnel final : public Vexlor::DFModel {
public:
    static constexpr std::size_t StepResponsePoints = 46;
    static const std::array<double, StepResponsePoints> StepResponseTimeStamps;  // seconds
    static const std::array<double, StepResponsePoints> StepResponseValues;

    Vexlor::CircularBuffer<double> Input;
    Vexlor::CircularBuffer<double> Output;
    double SampleInterval = 5e-12;  // seconds
    std::int32_t SamplesPerBit = 32;
    // FFE taps: element 0 weights the current symbol, 1 and 2 the two earlier ones.
    Vexlor::MultiArray<double> Taps;
    double Gain = 1.0;  // linear factor
    Vexlor::TimeResponseFIR ResponseFilter;
    Vexlor::BlindFFE Equalizer;
    Vexlor::Gain<double> GainStage;

    // A one-sample storage together with the model's own port onto it.
    struct Link {
        std::unique_ptr<double[]> Storage;
        Vexlor::CircularBuffer<double> Port;
    };
    // The storages between the stages: allocated by Initialize, freed by Finalize.
    Link ResponseLink;                          // the response filter's input
    Link EqualizerLink;                         // the equaliser's output
    std::unique_ptr<double[]> ResponseToGain;   // response filter output, gain input
    std::unique_ptr<double[]> GainToEqualizer;  // gain output, equaliser input

    Quarnel();

    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

private:
    void ReleaseLinks();
    void ReleaseResponseCopies();

    // The response filter rewrites its time stamps in place, so every Setup hands it fresh copies.
    std::vector<double> responseCopy_;
    std::vector<double> timeStampCopy_;
};
