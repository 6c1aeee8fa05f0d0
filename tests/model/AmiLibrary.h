#pragma once
// Loads the built libquarnel.so with dlopen and calls it the way a channel simulator does.
#include "model/AmiEntry.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

class AmiLibrary {
public:
    AmiInitFunction init = nullptr;
    AmiCloseFunction close = nullptr;

    static const AmiLibrary& Get() {
        static const AmiLibrary library;
        return library;
    }
    static std::string Path() { return std::string(QUARNEL_LIB_DIR) + "/libquarnel.so"; }

private:
    AmiLibrary() {
        void* handle = dlopen(Path().c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) return;
        init = reinterpret_cast<AmiInitFunction>(dlsym(handle, "AMI_Init"));
        close = reinterpret_cast<AmiCloseFunction>(dlsym(handle, "AMI_Close"));
    }
};

// One AMI_Init call with its outputs; AMI_Close runs when the call goes out of scope.
// msg and AMI_parameters_out start at sentinels so that tests can see whether they moved.
struct AmiCall {
    static inline char messageSentinel[] = "unchanged msg";
    static inline char outputSentinel[] = "unchanged parameters_out";

    std::int32_t result = -1;
    void* handle = nullptr;
    char* msg = messageSentinel;
    char* parametersOut = outputSentinel;

    AmiCall(std::vector<double>& matrix, std::int32_t rowSize, std::int32_t aggressors,
            const char* parameters, double sampleInterval = 5e-12, double bitTime = 160e-12)
        : AmiCall(matrix.data(), rowSize, aggressors, parameters, sampleInterval, bitTime) {}

    AmiCall(double* matrix, std::int32_t rowSize, std::int32_t aggressors, const char* parameters,
            double sampleInterval = 5e-12, double bitTime = 160e-12) {
        const AmiLibrary& library = AmiLibrary::Get();
        if (!library.init) {
            ADD_FAILURE() << "cannot load " << AmiLibrary::Path();
            return;
        }
        std::string text = parameters ? parameters : "";
        result = library.init(matrix, rowSize, aggressors, sampleInterval, bitTime,
                              parameters ? text.data() : nullptr, &parametersOut, &handle, &msg);
    }
    ~AmiCall() {
        EXPECT_EQ(parametersOut, outputSentinel);
        if (AmiLibrary::Get().close) {
            EXPECT_EQ(AmiLibrary::Get().close(handle), 1);
        }
    }
    AmiCall(const AmiCall&) = delete;
    AmiCall& operator=(const AmiCall&) = delete;

    bool messageUnchanged() const { return msg == messageSentinel; }
    std::string message() const { return messageUnchanged() ? std::string() : std::string(msg); }
};
