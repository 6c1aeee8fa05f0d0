#pragma once

#include "framework/CircularBuffer.h"
#include "framework/DFModel.h"

namespace Vexlor {

// Multiplies every sample by GainValue (a linear factor). Keeps no state and cannot fail.
template <typename T>
class Gain final : public DFModel {
public:
    T GainValue{};
    CircularBuffer<T> Input;
    CircularBuffer<T> Output;

    bool Run() override {
        Output.Current() = Input.Current() * GainValue;
        return true;
    }
};

extern template class Gain<double>;

}  // namespace Vexlor
