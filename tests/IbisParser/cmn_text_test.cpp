#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "IbisParser/cmn.h"

namespace {

std::vector<std::string> Stored(const CMN_LINE_ITEMS& items) {
    std::vector<std::string> out;
    for (int i = 0; i < items.stored; ++i) out.emplace_back(items.item(i));
    return out;
}

// The result of an operation that rewrites a text in place, run on a copy of text.
std::string Rewritten(void (*operation)(char*), std::string text) {
    operation(text.data());
    return text.c_str();
}

}  // namespace

TEST(CmnSplit, DelimiterIsAnItemOfItsOwnAndCountExceedsMax) {
    CMN_LINE_ITEMS items;
    EXPECT_EQ(CMN_SplitLine("a=b c", 10, '=', &items), 1);
    EXPECT_EQ(Stored(items), (std::vector<std::string>{"a", "=", "b", "c"}));
    EXPECT_EQ(items.count, 4);
    EXPECT_EQ(items.max, 10);
    EXPECT_EQ(items.item(4), nullptr);
    EXPECT_EQ(items.item(9), nullptr);

    CMN_SplitWords("x y z w", 3, &items);
    EXPECT_EQ(Stored(items), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(items.stored, 3);
    EXPECT_EQ(items.count, 4);

    // Reusing the same items for a shorter line leaves no stale slots.
    CMN_SplitLine("  Cpd =2p\t", 3, '=', &items);
    EXPECT_EQ(Stored(items), (std::vector<std::string>{"Cpd", "=", "2p"}));
    CMN_SplitLine("\t one ", 3, '=', &items);
    EXPECT_EQ(Stored(items), (std::vector<std::string>{"one"}));
    EXPECT_EQ(items.item(1), nullptr);
    EXPECT_EQ(items.count, 1);

    CMN_SplitWords("   ", 2, &items);
    EXPECT_EQ(items.stored, 0);
    EXPECT_EQ(items.count, 0);

    CMN_SplitWords("a b", 0, &items);
    EXPECT_EQ(items.stored, 0);
    EXPECT_EQ(items.count, 2);

    CMN_FreeLineItems(&items);
    EXPECT_EQ(items.stored, 0);
    EXPECT_EQ(items.count, 0);
    EXPECT_EQ(items.item(0), nullptr);
}

TEST(CmnSplit, WordsEndOnlyAtBlanksTabsAndTheDelimiter) {
    CMN_LINE_ITEMS items;
    CMN_SplitLine("R_pkg==1m,2m", 5, '=', &items);
    EXPECT_EQ(Stored(items), (std::vector<std::string>{"R_pkg", "=", "=", "1m,2m"}));
    CMN_SplitWords("a=b\tc", 5, &items);
    EXPECT_EQ(Stored(items), (std::vector<std::string>{"a=b", "c"}));
}

TEST(CmnText, CaseInsensitiveComparisons) {
    const struct {
        const char *a, *b;
        std::size_t n;  // 0: the whole texts
        int equal;
    } pairs[] = {
        {"Pulldown", "PULLDOWN", 0, 1},
        {"Pulldown", "Pulldow", 0, 0},
        {"", "", 0, 1},
        {"[Comment Char] |_char", "[COMMENT CHAR]", 14, 1},
        {"abc", "ABD", 2, 1},
        {"abc", "ABD", 3, 0},
        {"ab", "AB", 10, 1} /* both end before n */,
        {"ab", "ABc", 10, 0} /* only one ends */,
    };
    for (const auto& p : pairs) {
        SCOPED_TRACE(std::string(p.a) + " / " + p.b);
        EXPECT_EQ(p.n == 0 ? CMN_StrEqualNoCase(p.a, p.b) : CMN_StrEqualNoCaseN(p.a, p.b, p.n),
                  p.equal);
    }
    // Blanks of the keyword become underscores, whether or not it matches.
    char keyword[] = "Model Selector";
    EXPECT_EQ(CMN_KeywordEqual("MODEL_SELECTOR", keyword), 1);
    EXPECT_STREQ(keyword, "Model_Selector");
    char other[] = "Model  Spec";
    EXPECT_EQ(CMN_KeywordEqual("MODEL_SPEC", other), 0);
    EXPECT_STREQ(other, "Model__Spec");

    EXPECT_EQ(Rewritten(CMN_ToUpper, "aBc-1\xE9"), "ABC-1\xE9");
    EXPECT_EQ(Rewritten(CMN_ToLower, "aBc-1\xE9"), "abc-1\xE9");
    std::string s = "Gnd";
    CMN_ToUpper(s);
    EXPECT_EQ(s, "GND");
}

TEST(CmnText, ScanningHelpers) {
    const char* text = " \t\r\nabc def";
    EXPECT_STREQ(CMN_SkipSpace(text), "abc def");
    EXPECT_STREQ(CMN_SkipToSpace(CMN_SkipSpace(text)), " def");
    EXPECT_STREQ(CMN_SkipToSpace("abc"), "");
    // A run far beyond any line limit is simply skipped.
    std::string longRun = std::string(100000, ' ') + "x";
    EXPECT_STREQ(CMN_SkipSpace(longRun.c_str()), "x");

    for (auto [given, found, rest] :
         {std::tuple{"[Model]  \t name", 1, "name"}, {"[Model name", 0, ""}, {"[End]", 1, ""}}) {
        const char* position = given;
        EXPECT_EQ(CMN_SkipPastBracket(&position), found) << given;
        EXPECT_STREQ(position, rest) << given;
    }

    void (*trimRight)(char*) = CMN_TrimRight;
    EXPECT_EQ(Rewritten(trimRight, "value \t\r\n"), "value");
    EXPECT_EQ(Rewritten(trimRight, "   "), "");
    std::string str = "abc  ";
    CMN_TrimRight(str);
    EXPECT_EQ(str, "abc");

    for (auto [token, delimiter, length] : {std::tuple{"Len=0.5 R=1", '=', 3u},
                                            {"Len=0.5 R=1", '\0', 7u},
                                            {"abc\tdef", '\0', 3u},
                                            {" abc", '\0', 0u},
                                            {"", '=', 0u}}) {
        EXPECT_EQ(CMN_TokenLength(token, delimiter), length) << token;
    }
}

TEST(CmnText, BaseNameCutsDirectoriesOfEitherSeparatorAndTheLastExtension) {
    EXPECT_EQ(Rewritten(CMN_BaseName, "dir/sub/board.v2.ibs"), "board.v2");
    EXPECT_EQ(Rewritten(CMN_BaseName, "C:\\models\\x.pkg"), "x");
    EXPECT_EQ(Rewritten(CMN_BaseName, "a\\b/c"), "c");
    EXPECT_EQ(Rewritten(CMN_BaseName, "v1.0/name"), "name");
}

TEST(CmnText, CopiesAndAllocation) {
    for (auto [text, length, expected] : {std::tuple{"Quarnel", 4, "Quar"}, {"ab", 10, "ab"}}) {
        char* part = CMN_StrNDup(text, length);
        EXPECT_STREQ(part, expected);
        CMN_Free(part);
    }
    // Allocations start zeroed, and growing keeps what was stored.
    int* numbers = nullptr;
    ASSERT_EQ(CMN_Alloc(&numbers, 8 * sizeof(int)), 1);
    EXPECT_EQ(std::count(numbers, numbers + 8, 0), 8);
    numbers[7] = 7;
    ASSERT_EQ(CMN_Realloc(&numbers, 1000 * sizeof(int)), 1);
    EXPECT_EQ(numbers[7], 7);
    CMN_FreeAndClear(&numbers);
    EXPECT_EQ(numbers, nullptr);
}

// Named for the thread label, so that it also runs under ThreadSanitizer.
TEST(CmnThreads, HelpersGiveTheSameResultsOnManyThreads) {
    auto work = [](int seed, std::string* result) {
        CMN_LINE_ITEMS items;
        for (int round = 0; round < 2000; ++round) {
            std::string line =
                "Quarnel.Taps." + std::to_string(seed) + " = " + std::to_string(round) + "m";
            CMN_SplitLine(line.c_str(), 3, '=', &items);
            char* copy = CMN_StrDup(items.item(0));
            double value = 0.0;
            CMN_GetValue(items.item(2), &value);
            if (round == 1999) *result = std::string(copy) + " " + std::to_string(value);
            CMN_Free(copy);
        }
    };
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) threads.emplace_back(work, t, &results[t]);
    for (std::thread& t : threads) t.join();
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(results[t], "Quarnel.Taps." + std::to_string(t) + " 1.999000");
    }
}
