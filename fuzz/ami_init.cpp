// Feeds arbitrary bytes to AMI_Init as its parameter string. The first four bytes choose
// the call's shape (row size, aggressors, sample interval, bit time) from values that
// include the hostile ones: zero, negative, NaN, infinite and huge.
#include "model/AmiEntry.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

const double nan = std::numeric_limits<double>::quiet_NaN();
const double infinity = std::numeric_limits<double>::infinity();
const double sampleIntervals[] = {5e-12, 1e-11, 0.25, 0.0, -5e-12, nan, infinity, 1e-16, 2.5e-13};
const double bitTimes[] = {160e-12, 157.5e-12, 0.0, -160e-12, nan, infinity, 1e300, 1e-6, 5e-12};

template <std::size_t N>
double pick(const double (&values)[N], std::uint8_t byte) {
    return values[byte % N];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint8_t shape[4] = {40, 2, 0, 0};
    std::size_t used = size < 4 ? size : 4;
    for (std::size_t i = 0; i < used; ++i) shape[i] = data[i];
    const std::int32_t rowSize = std::int32_t(shape[0] % 72) - 8;
    const std::int32_t aggressors = std::int32_t(shape[1] % 5) - 1;
    const double sampleInterval = pick(sampleIntervals, shape[2]);
    const double bitTime = pick(bitTimes, shape[3]);

    std::string parameters(reinterpret_cast<const char*>(data) + used, size - used);
    // A zero byte ends the string as it would for the simulator; the empty input stands for
    // a null pointer.
    char* parameterText = size == 0 ? nullptr : parameters.data();

    const std::size_t columns = aggressors < 0 ? 1 : std::size_t(aggressors) + 1;
    std::vector<double> matrix(columns * std::size_t(rowSize > 0 ? rowSize : 0), 0.0);
    for (std::size_t i = 0; i < matrix.size(); i += 7) matrix[i] = 1.0 / double(i + 1);

    char* parametersOut = nullptr;
    void* handle = nullptr;
    char* msg = nullptr;
    std::int32_t result = AMI_Init(matrix.data(), rowSize, aggressors, sampleInterval, bitTime,
                                   parameterText, &parametersOut, &handle, &msg);
    if ((result != 0 && result != 1) || handle == nullptr || parametersOut != nullptr ||
        (result == 0 && msg == nullptr))
        __builtin_trap();
    if (msg) {
        std::string message(msg);
        if (message.empty() || message.back() != ' ') __builtin_trap();
    }
    AMI_Close(handle);
    return 0;
}
