#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocks/BiquadCascade.h"

namespace cascade_test {

using Samples = std::vector<double>;

// Feeds the block one sample at a time through one-sample links, as an owner does, and
// returns what each output port carried.
inline std::vector<Samples> DriveAll(Vexlor::BiquadCascade& block, const Samples& input) {
    double inputLink = 0.0;
    std::vector<double> outputLinks(block.Outputs.Count(), 0.0);
    block.Input.Attach(&inputLink, 1);
    for (std::uint64_t k = 0; k < outputLinks.size(); ++k) {
        block.Outputs.GetBuffer(k)->Attach(&outputLinks[k], 1);
    }
    std::vector<Samples> outputs(outputLinks.size());
    for (double x : input) {
        inputLink = x;
        EXPECT_TRUE(block.Run());
        for (std::uint64_t k = 0; k < outputLinks.size(); ++k) {
            outputs[k].push_back(outputLinks[k]);
        }
    }
    return outputs;
}

inline Samples Drive(Vexlor::BiquadCascade& block, const Samples& input) {
    return DriveAll(block, input)[0];
}

// Points the block at a tap table, which must outlive it, and gives it `outputs` ports.
inline void Configure(Vexlor::BiquadCascade& block, std::vector<double>& taps,
                      std::uint64_t outputs) {
    block.Taps = taps.data();
    block.NumTaps = static_cast<std::int32_t>(taps.size());
    block.Outputs.Resize(outputs);
}

inline Samples Impulse(std::size_t length) {
    Samples impulse(length, 0.0);
    impulse[0] = 1.0;
    return impulse;
}

// Runs Initialize with the standard error stream captured into errors.
inline bool InitializeCapturing(Vexlor::BiquadCascade& block, std::string& errors) {
    testing::internal::CaptureStderr();
    const bool ok = block.Initialize();
    errors = testing::internal::GetCapturedStderr();
    return ok;
}

}  // namespace cascade_test
