// Several threads run their own AMI instances at once; each must get exactly what one
// thread alone gets. Also run under ThreadSanitizer (label "thread").
#include "tests/model/AmiLibrary.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int threadCount = 8;
constexpr int callsPerThread = 6;
constexpr int rows = 700;

// Every thread has its own parameters and its own three-column channel.
std::string parametersFor(int thread) {
    return "(Quarnel (Taps (0 " + std::to_string(0.1 * thread) + ") (1 0.7) (2 -0.05)) (Gain " +
           std::to_string(thread - 3) + "))";
}

std::vector<double> channelFor(int thread) {
    std::vector<double> matrix(3 * rows);
    for (int i = 0; i < 3 * rows; ++i)
        matrix[i] = std::exp(-0.01 * (i % rows)) * std::sin(0.05 * i * (thread + 1));
    return matrix;
}

struct Outcome {
    std::int32_t result = -1;
    std::string message;
    std::vector<double> matrix;
};

Outcome runOnce(int thread) {
    Outcome outcome{-1, {}, channelFor(thread)};
    std::string parameters = parametersFor(thread);
    // Thread 0 leaves the gain out, so its message text is exercised as well.
    if (thread == 0) parameters = "(Quarnel (Taps (0 0) (1 1) (2 0)))";
    AmiCall call(outcome.matrix, rows, 2, parameters.c_str(), 5e-12, 160e-12 + 10e-12 * thread);
    outcome.result = call.result;
    outcome.message = call.message();
    return outcome;
}

TEST(AmiThreads, ConcurrentInstancesMatchOneThreadAlone) {
    ASSERT_NE(AmiLibrary::Get().init, nullptr);
    std::vector<Outcome> alone;
    for (int t = 0; t < threadCount; ++t) alone.push_back(runOnce(t));
    EXPECT_EQ(alone[0].message,
              "The IBIS-AMI model, Quarnel, is unable to initialize the parameter Gain from the "
              "AMI_Init arguments.  The model will use the default setting. ");

    std::vector<std::vector<Outcome>> together(threadCount);
    std::vector<std::thread> threads;
    for (int t = 0; t < threadCount; ++t)
        threads.emplace_back([t, &together] {
            for (int k = 0; k < callsPerThread; ++k) together[t].push_back(runOnce(t));
        });
    for (std::thread& thread : threads) thread.join();

    for (int t = 0; t < threadCount; ++t) {
        EXPECT_EQ(alone[t].result, 1);
        EXPECT_NE(alone[t].matrix, channelFor(t));
        for (const Outcome& outcome : together[t]) {
            EXPECT_EQ(outcome.result, alone[t].result) << t;
            EXPECT_EQ(outcome.message, alone[t].message) << t;
            EXPECT_EQ(outcome.matrix, alone[t].matrix) << t;
        }
    }
}

}  // namespace
