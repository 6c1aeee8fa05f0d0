// The two exported entry points. The library runs inside a simulator's process, so nothing
// here may throw out of an entry point, end the process or write to standard output:
// every problem becomes a message in the instance's text and a result of 0.
#include "model/AmiEntry.h"

#include "amitree/AmiParameters.h"
#include "model/AmiInstance.h"

#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace {

struct ParameterField {
    const char* path;
    const char* message;
};

const ParameterField tapFields[] = {
    {"Quarnel.Taps.0",
     "The IBIS-AMI model, Quarnel, is unable to initialize the parameter Taps.0 from the "
     "AMI_Init arguments.  The model will use the default setting. "},
    {"Quarnel.Taps.1",
     "The IBIS-AMI model, Quarnel, is unable to initialize the parameter Taps.1 from the "
     "AMI_Init arguments.  The model will use the default setting. "},
    {"Quarnel.Taps.2",
     "The IBIS-AMI model, Quarnel, is unable to initialize the parameter Taps.2 from the "
     "AMI_Init arguments.  The model will use the default setting. "},
};
const ParameterField gainField = {
    "Quarnel.Gain",
    "The IBIS-AMI model, Quarnel, is unable to initialize the parameter Gain from the "
    "AMI_Init arguments.  The model will use the default setting. "};

const char setupFailed[] = "Error occurred in Quarnel::Setup(). ";
const char initializeFailed[] = "Error occurred in Quarnel::Initialize(). ";
const char runFailed[] = "Error occurred in Quarnel::Run(). ";
const char finalizeFailed[] = "Error occurred in Quarnel::Finalize(). ";

// Texts for calls that leave no instance to hold a message; they are never written to.
const char noHandleText[] =
    "The IBIS-AMI model, Quarnel, cannot return its instance: AMI_memory_handle is null. ";
const char noMemoryText[] =
    "The IBIS-AMI model, Quarnel, ran out of memory while creating its instance. ";

// Below this sample interval the response filter would need millions of taps, and at 0 or
// NaN its tap count is not a number at all.
constexpr double minSampleInterval = 1e-15;
// Keeps the equaliser's history (three symbols, stored twice) within a few megabytes.
constexpr std::int32_t maxSamplesPerBit = 1 << 16;

struct Arguments {
    double* impulseMatrix;
    std::int32_t rowSize;
    std::int32_t aggressors;
    double sampleInterval;
    double bitTime;
    const char* parameters;
};

// A message that cannot be stored for lack of memory is dropped; the result still says 0.
void appendMessage(AmiInstance& instance, std::string_view text) noexcept {
    try {
        instance.Message += text;
    } catch (...) {
    }
}

std::string formatNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The quotient rounded half up and truncated to 32 bits; nothing when it does not fit.
std::optional<std::int32_t> roundSamplesPerBit(double bitTime, double sampleInterval) {
    double ratio = bitTime / sampleInterval + 0.5;
    if (!(ratio > std::numeric_limits<std::int32_t>::min() - 1.0 &&
          ratio < std::numeric_limits<std::int32_t>::max() + 1.0))
        return std::nullopt;
    return static_cast<std::int32_t>(ratio);
}

void readParameters(AmiInstance& instance, const char* parameterString) {
    if (!parameterString)
        appendMessage(instance,
                      "The IBIS-AMI model, Quarnel, received no parameter string "
                      "(AMI_parameters_in is null). ");
    AmiParameters parameters(parameterString ? parameterString : "");
    Quarnel& model = instance.model;
    model.Taps.Reshape({3, 1});
    // A value that is not finite (nan, inf, 1e999) would turn every sample into NaN or
    // infinity, so it counts as unreadable and the default stays.
    for (int k = 0; k < 3; ++k) {
        double tap = 0.0;
        if (parameters.GetDouble(tap, tapFields[k].path) && std::isfinite(tap))
            model.Taps.Data()[k] = tap;
        else
            appendMessage(instance, tapFields[k].message);
    }
    double decibels = 0.0;
    if (parameters.GetDouble(decibels, gainField.path) && std::isfinite(decibels) &&
        std::isfinite(std::pow(10.0, decibels / 20.0)))
        model.Gain = decibels;
    else
        appendMessage(instance, gainField.message);
    model.Gain = std::pow(10.0, model.Gain / 20.0);
}

// Arguments outside the calling convention that the model cannot run with. Returns the
// message to report, or an empty text when the columns can be processed.
std::string checkArguments(const Arguments& arguments, std::optional<std::int32_t> samplesPerBit) {
    double interval = arguments.sampleInterval;
    if (std::isnan(interval) || (interval >= 0.0 && interval < minSampleInterval))
        return "The IBIS-AMI model, Quarnel, cannot filter with a sample_interval of " +
               formatNumber(interval) + " s; it needs at least " + formatNumber(minSampleInterval) +
               " s. ";
    if (!samplesPerBit || *samplesPerBit > maxSamplesPerBit)
        return "The IBIS-AMI model, Quarnel, cannot derive SamplesPerBit from a bit_time of " +
               formatNumber(arguments.bitTime) + " s and a sample_interval of " +
               formatNumber(interval) + " s; it allows at most " +
               std::to_string(maxSamplesPerBit) + " samples per bit. ";
    if (!arguments.impulseMatrix && arguments.rowSize > 0)
        return "The IBIS-AMI model, Quarnel, received no impulse_matrix (a null pointer) for " +
               std::to_string(arguments.rowSize) + " samples per column. ";
    return {};
}

// The model's outer ports point at two samples of this object while the columns run.
struct OuterPorts {
    Quarnel& model;
    double input = 0.0;
    double output = 0.0;

    explicit OuterPorts(Quarnel& quarnel) : model(quarnel) {
        attach(model.Input, &input);
        attach(model.Output, &output);
    }
    ~OuterPorts() {
        model.Input.Attach(nullptr, 0);
        model.Output.Attach(nullptr, 0);
    }
    OuterPorts(const OuterPorts&) = delete;
    OuterPorts& operator=(const OuterPorts&) = delete;

    static void attach(Vexlor::CircularBuffer<double>& port, double* sample) {
        port.Attach(sample, 1);
        port.Rate = 1;
    }
};

// Runs one column's samples through the model, each output over its input sample. On a
// failed Run the sample and all later ones keep their input values.
bool runSamples(AmiInstance& instance, OuterPorts& ports, double* column, std::int32_t rowSize) {
    Quarnel& model = instance.model;
    for (std::int32_t i = 0; i < rowSize; ++i) {
        ports.input = column[i];
        if (!model.Run()) {
            appendMessage(instance, runFailed);
            return false;
        }
        column[i] = ports.output;
    }
    return true;
}

bool runColumn(AmiInstance& instance, OuterPorts& ports, double* column, std::int32_t rowSize) {
    Quarnel& model = instance.model;
    bool success = false;
    if (!model.Setup())
        appendMessage(instance, setupFailed);
    else if (!model.Initialize())
        appendMessage(instance, initializeFailed);
    else
        success = runSamples(instance, ports, column, rowSize);
    if (!model.Finalize()) {
        appendMessage(instance, finalizeFailed);
        success = false;
    }
    return success;
}

bool processColumns(AmiInstance& instance, const Arguments& arguments) {
    OuterPorts ports(instance.model);
    std::int64_t columns = std::int64_t(arguments.aggressors) + 1;
    // Without samples a column's phase cycle leaves nothing behind that could change the
    // next one, so a single cycle stands for all of them (however many aggressors).
    if (arguments.rowSize <= 0 && columns > 1) columns = 1;
    for (std::int64_t c = 0; c < columns; ++c) {
        double* column =
            arguments.rowSize > 0 ? arguments.impulseMatrix + c * arguments.rowSize : nullptr;
        if (!runColumn(instance, ports, column, arguments.rowSize)) return false;
    }
    return true;
}

bool initializeInstance(AmiInstance& instance, const Arguments& arguments) noexcept {
    try {
        instance.model.SampleInterval = arguments.sampleInterval;
        std::optional<std::int32_t> samplesPerBit =
            roundSamplesPerBit(arguments.bitTime, arguments.sampleInterval);
        if (samplesPerBit) instance.model.SamplesPerBit = *samplesPerBit;
        readParameters(instance, arguments.parameters);
        if (arguments.aggressors < 0) return true;
        std::string problem = checkArguments(arguments, samplesPerBit);
        if (!problem.empty()) {
            appendMessage(instance, problem);
            return false;
        }
        return processColumns(instance, arguments);
    } catch (const std::bad_alloc&) {
        appendMessage(instance, "The IBIS-AMI model, Quarnel, ran out of memory. ");
    } catch (const std::exception& error) {
        appendMessage(instance, "The IBIS-AMI model, Quarnel, stopped on an internal error: ");
        appendMessage(instance, error.what());
        appendMessage(instance, ". ");
    } catch (...) {
        appendMessage(instance, "The IBIS-AMI model, Quarnel, stopped on an internal error. ");
    }
    return false;
}

AmiInstance* createInstance() noexcept {
    try {
        return new AmiInstance;
    } catch (...) {
        return nullptr;
    }
}

}  // namespace

extern "C" std::int32_t AMI_Init(double* impulse_matrix, std::int32_t row_size,
                                 std::int32_t aggressors, double sample_interval, double bit_time,
                                 char* AMI_parameters_in, char** /*AMI_parameters_out*/,
                                 void** AMI_memory_handle, char** msg) {
    if (!AMI_memory_handle) {
        if (msg) *msg = const_cast<char*>(noHandleText);
        return 0;
    }
    AmiInstance* instance = createInstance();
    if (!instance) {
        *AMI_memory_handle = nullptr;
        if (msg) *msg = const_cast<char*>(noMemoryText);
        return 0;
    }
    Arguments arguments{impulse_matrix,  row_size, aggressors,
                        sample_interval, bit_time, AMI_parameters_in};
    bool success = initializeInstance(*instance, arguments);
    *AMI_memory_handle = instance;
    if (!instance->Message.empty() && msg) *msg = instance->Message.data();
    return success ? 1 : 0;
}

extern "C" std::int32_t AMI_Close(void* AMI_memory_handle) {
    delete static_cast<AmiInstance*>(AMI_memory_handle);
    return 1;
}
