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

    Quarnel();

    bool Setup() override;
    bool Initialize() override;
    bool Run() override;
    bool Finalize() override;

private:
    void ReleaseLinks();
    void ReleaseResponseCopies();

    // One-sample storages between the stages, allocated in Initialize, freed in Finalize.
    std::unique_ptr<double[]> responseLink_;     // the response filter's input
    Vexlor::CircularBuffer<double> responseLinkPort_;
    std::unique_ptr<double[]> equalizerLink_;    // the equaliser's output
    Vexlor::CircularBuffer<double> equalizerLinkPort_;
    std::unique_ptr<double[]> responseToGain_;
    std::unique_ptr<double[]> gainToEqualizer_;
    // The response filter rewrites its time stamps in place, so every Setup hands it fresh copies.
    std::vector<double> responseCopy_;
    std::vector<double> timeStampCopy_;
};
