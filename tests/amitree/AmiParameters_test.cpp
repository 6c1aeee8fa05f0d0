#include "amitree/AmiParameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr const char* kModelParameters = "(Quarnel (Taps (0 0.1) (1 0.8) (2 -0.1)) (Gain 0))";

}  // namespace

TEST(AmiParameters, ReadsNumbersByDottedPath) {
    AmiParameters parameters(kModelParameters);
    EXPECT_TRUE(parameters.Parsed());
    EXPECT_EQ(parameters.ParseStatus(), AmiParseOk);
    double value = 42.0;
    EXPECT_TRUE(parameters.GetDouble(value, "Quarnel.Taps.0"));
    EXPECT_EQ(value, 0.1);
    EXPECT_TRUE(parameters.GetDouble(value, "Quarnel.Taps.2"));
    EXPECT_EQ(value, -0.1);
    EXPECT_TRUE(parameters.GetDouble(value, "Quarnel.Gain"));
    EXPECT_EQ(value, 0.0);

    value = 42.0;
    for (const char* path : {"Quarnel.Taps", "Taps.0", "Quarnel.Taps.3", "Quarnel", "quarnel.Gain",
                             "Quarnel.Gain.", "Quarnel..Gain", "", "Quarnel.Taps.0.x"}) {
        EXPECT_FALSE(parameters.GetDouble(value, path)) << path;
    }
    EXPECT_FALSE(parameters.GetDouble(value, nullptr));
    EXPECT_EQ(value, 42.0);
}

TEST(AmiParameters, UnparsedStringsFailEveryRead) {
    for (const char* text : {"(Other (Taps (0 0.1)) (Gain 0))", "", "(Quarnel (Gain 1)", "(Quarnel (Gain 1)) )",
                             static_cast<const char*>(nullptr)}) {
        AmiParameters parameters(text);
        double value = 7.0;
        EXPECT_FALSE(parameters.GetDouble(value, "Quarnel.Gain"));
        int32_t integer = 7;
        EXPECT_FALSE(parameters.GetInt(integer, "Quarnel.Gain"));
        EXPECT_EQ(value, 7.0);
        EXPECT_EQ(integer, 7);
    }
    AmiParameters unbalanced("(Quarnel (Gain 1)");
    EXPECT_FALSE(unbalanced.Parsed());
    EXPECT_EQ(unbalanced.ParseStatus(), AmiParseUnbalanced);
    EXPECT_EQ(unbalanced.Tree(), nullptr);
    EXPECT_EQ(AmiParameters(nullptr).ParseStatus(), AmiParseNoParent);
}

TEST(AmiParameters, TypedGettersCheckTheFirstValue) {
    AmiParameters parameters(
        "(Q (word high 3) (up 2.9) (down -2.9) (whole 7) (huge 1e12) (nan nan) (yes True) "
        "(no False) (lower true) (several 3 4) (empty \"\") (quoted \"5\"))");
    ASSERT_TRUE(parameters.Parsed());
    double number = 0.0;
    std::string text = "old";
    EXPECT_FALSE(parameters.GetDouble(number, "Q.word"));
    EXPECT_TRUE(parameters.GetString(text, "Q.word"));
    EXPECT_EQ(text, "high");
    EXPECT_FALSE(parameters.GetString(text, "Q.up"));
    EXPECT_FALSE(parameters.GetString(text, "Q.empty"));
    EXPECT_EQ(text, "high");
    EXPECT_TRUE(parameters.GetDouble(number, "Q.several"));
    EXPECT_EQ(number, 3.0);
    EXPECT_TRUE(parameters.GetDouble(number, "Q.quoted"));
    EXPECT_EQ(number, 5.0);
    EXPECT_FALSE(parameters.GetDouble(number, "Q.empty"));
    EXPECT_TRUE(parameters.GetDouble(number, "Q.nan"));
    EXPECT_TRUE(std::isnan(number));

    int32_t integer = 0;
    EXPECT_TRUE(parameters.GetInt(integer, "Q.up"));
    EXPECT_EQ(integer, 2);
    EXPECT_TRUE(parameters.GetInt(integer, "Q.down"));
    EXPECT_EQ(integer, -2);
    EXPECT_TRUE(parameters.GetInt(integer, "Q.whole"));
    EXPECT_EQ(integer, 7);
    EXPECT_FALSE(parameters.GetInt(integer, "Q.huge"));
    EXPECT_FALSE(parameters.GetInt(integer, "Q.nan"));
    EXPECT_FALSE(parameters.GetInt(integer, "Q.yes"));
    EXPECT_EQ(integer, 7);

    bool flag = false;
    EXPECT_TRUE(parameters.GetBool(flag, "Q.yes"));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(parameters.GetBool(flag, "Q.no"));
    EXPECT_FALSE(flag);
    flag = true;
    EXPECT_FALSE(parameters.GetBool(flag, "Q.lower"));
    EXPECT_FALSE(parameters.GetBool(flag, "Q.whole"));
    EXPECT_TRUE(flag);
    EXPECT_TRUE(parameters.GetString(text, "Q.lower"));
    EXPECT_EQ(text, "true");
}

TEST(AmiParameters, PathMatchingRules) {
    AmiParameters parameters("(Q (a 1) (a 2) (b (x 3)) (b (x 4) (y 5)) (c.d 6) (e (f (g 7))))");
    double value = 0.0;
    EXPECT_TRUE(parameters.GetDouble(value, "Q.a"));
    EXPECT_EQ(value, 1.0);
    EXPECT_TRUE(parameters.GetDouble(value, "Q.b.x"));
    EXPECT_EQ(value, 3.0);
    EXPECT_TRUE(parameters.GetDouble(value, "Q.b.y"));
    EXPECT_EQ(value, 5.0);
    EXPECT_TRUE(parameters.GetDouble(value, "Q.c.d"));
    EXPECT_EQ(value, 6.0);
    EXPECT_TRUE(parameters.GetDouble(value, "Q.e.f.g"));
    EXPECT_EQ(value, 7.0);

    const AmiNode* root = parameters.Tree()->entries[0].node;
    const AmiNode* leaf = FindAmiLeaf(root, "top.Q.e.f.g", "top");
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(leaf->name, "g");
    EXPECT_EQ(FindAmiLeaf(root, "Q.e.f", ""), nullptr);
    EXPECT_EQ(FindAmiLeaf(root, "Q.e.f.g", "top"), nullptr);
    EXPECT_EQ(FindAmiLeaf(nullptr, "Q.a", ""), nullptr);
    EXPECT_EQ(FindAmiLeaf(leaf, "g", ""), nullptr);

    // A root without a name: branches below it start the path, its own leaves need a '.'.
    AmiParameters unnamed("( (a 1) (b (c 2)))");
    EXPECT_TRUE(unnamed.GetDouble(value, ".a"));
    EXPECT_EQ(value, 1.0);
    EXPECT_TRUE(unnamed.GetDouble(value, "b.c"));
    EXPECT_EQ(value, 2.0);
}

TEST(AmiParameters, DeepTreesAreSearchedWithoutRecursion) {
    const int depth = 100000;
    std::string text;
    std::string path;
    for (int i = 0; i < depth; ++i) {
        const char digit = static_cast<char>('0' + i % 10);
        text.append("(n").append(1, digit).append(" ");
        path.append("n").append(1, digit).append(".");
    }
    text += "(leaf 9.5)" + std::string(depth, ')');
    AmiParameters parameters(text.c_str());
    ASSERT_TRUE(parameters.Parsed());
    double value = 0.0;
    EXPECT_TRUE(parameters.GetDouble(value, (path + "leaf").c_str()));
    EXPECT_EQ(value, 9.5);
    EXPECT_FALSE(parameters.GetDouble(value, (path + "leaf2").c_str()));
}

TEST(AmiParametersThreads, ConcurrentHoldersGiveTheSameResults) {
    auto readAll = [](int seed) {
        std::string text = "(Quarnel (Taps";
        for (int tap = 0; tap < 3; ++tap) text += " (" + std::to_string(tap) + " " + std::to_string(seed + tap) + ")";
        text += ") (Gain " + std::to_string(seed) + ".5) (Pad " + std::string(2000, ' ') + "x))";
        double sum = 0.0;
        for (int round = 0; round < 50; ++round) {
            AmiParameters parameters(text.c_str());
            for (const char* path : {"Quarnel.Taps.0", "Quarnel.Taps.1", "Quarnel.Taps.2", "Quarnel.Gain"}) {
                double value = 0.0;
                if (parameters.GetDouble(value, path)) sum += value;
            }
        }
        return sum;
    };
    constexpr int kThreads = 8;
    std::vector<double> sums(kThreads, 0.0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&sums, &readAll, t] { sums[t] = readAll(t * 10); });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) {
        // seed s: taps s, s+1, s+2 and gain s + 0.5, read 50 times.
        const double seed = t * 10;
        EXPECT_EQ(sums[t], 50 * (4 * seed + 3.5)) << t;
    }
}
