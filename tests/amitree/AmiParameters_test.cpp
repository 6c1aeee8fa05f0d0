#include "amitree/AmiParameters.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace {

// The value a getter read, or nullopt when it failed (after checking that it left its
// output alone).
template <typename T>
std::optional<T> Read(const AmiParameters& parameters, const char* path, T untouched = T{}) {
    T value = untouched;
    bool found = false;
    if constexpr (std::is_same_v<T, double>) found = parameters.GetDouble(value, path);
    if constexpr (std::is_same_v<T, int32_t>) found = parameters.GetInt(value, path);
    if constexpr (std::is_same_v<T, bool>) found = parameters.GetBool(value, path);
    if constexpr (std::is_same_v<T, std::string>) found = parameters.GetString(value, path);
    if (found) return value;
    EXPECT_EQ(value, untouched) << path;
    return std::nullopt;
}

// Switches LC_NUMERIC to a comma-decimal locale while it lives: the installed de_DE.UTF-8,
// or one compiled into a temporary folder when the machine has none.
struct CommaDecimalNumbers {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("amitree-locale-" + std::to_string(getpid()));

    CommaDecimalNumbers() {
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) return;
        std::filesystem::create_directories(folder);
        const std::string command = "localedef -i de_DE -f UTF-8 '" +
                                    (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != -1 && setenv("LOCPATH", folder.c_str(), 1) == 0)
            std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    }
    ~CommaDecimalNumbers() {
        std::setlocale(LC_NUMERIC, "C");
        unsetenv("LOCPATH");
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    bool Active() const { return std::string(std::localeconv()->decimal_point) == ","; }
};

}  // namespace

TEST(AmiParameters, ReadsNumbersByDottedPath) {
    AmiParameters parameters("(Quarnel (Taps (0 0.1) (1 0.8) (2 -0.1)) (Gain 0))");
    EXPECT_TRUE(parameters.Parsed());
    EXPECT_EQ(Read<double>(parameters, "Quarnel.Taps.0"), 0.1);
    EXPECT_EQ(Read<double>(parameters, "Quarnel.Taps.2"), -0.1);
    EXPECT_EQ(Read<double>(parameters, "Quarnel.Gain", 5.0), 0.0);
    for (const char* path : {"Quarnel.Taps", "Taps.0", "Quarnel.Taps.3", "Quarnel", "quarnel.Gain",
                             "Quarnel.Gain.", "Quarnel..Gain", "", "Quarnel.Taps.0.x"}) {
        EXPECT_EQ(Read<double>(parameters, path, 42.0), std::nullopt) << path;
    }
    EXPECT_EQ(Read<double>(parameters, nullptr, 42.0), std::nullopt);
}

TEST(AmiParameters, UnparsedStringsFailEveryRead) {
    for (const char* text : {"(Other (Taps (0 0.1)) (Gain 0))", "", "(Quarnel (Gain 1)",
                             "(Quarnel (Gain 1)) )", static_cast<const char*>(nullptr)}) {
        AmiParameters parameters(text);
        EXPECT_EQ(Read<double>(parameters, "Quarnel.Gain", 7.0), std::nullopt);
    }
    // The parser's own status comes through; the statuses themselves are tested with the tree.
    AmiParameters unbalanced("(Quarnel (Gain 1)");
    EXPECT_FALSE(unbalanced.Parsed());
    EXPECT_EQ(unbalanced.ParseStatus(), AmiParseUnbalanced);
    EXPECT_EQ(unbalanced.Tree(), nullptr);
}

TEST(AmiParameters, TypedGettersCheckTheFirstValue) {
    AmiParameters parameters(
        "(Q (word high 3) (up 2.9) (down -2.9) (whole 7) (huge 1e12) (nan nan) (yes True) "
        "(no False) (lower true) (several 3 4) (empty \"\") (quoted \"5\"))");
    ASSERT_TRUE(parameters.Parsed());
    EXPECT_EQ(Read<double>(parameters, "Q.word"), std::nullopt);
    EXPECT_EQ(Read<std::string>(parameters, "Q.word", "old"), "high");
    EXPECT_EQ(Read<std::string>(parameters, "Q.up", "old"), std::nullopt);
    EXPECT_EQ(Read<std::string>(parameters, "Q.empty", "old"), std::nullopt);
    EXPECT_EQ(Read<std::string>(parameters, "Q.lower"), "true");
    EXPECT_EQ(Read<double>(parameters, "Q.several"), 3.0);
    EXPECT_EQ(Read<double>(parameters, "Q.quoted"), 5.0);
    EXPECT_EQ(Read<double>(parameters, "Q.empty"), std::nullopt);
    EXPECT_TRUE(std::isnan(Read<double>(parameters, "Q.nan").value_or(0.0)));

    EXPECT_EQ(Read<int32_t>(parameters, "Q.up"), 2);
    EXPECT_EQ(Read<int32_t>(parameters, "Q.down"), -2);
    EXPECT_EQ(Read<int32_t>(parameters, "Q.whole"), 7);
    EXPECT_EQ(Read<int32_t>(parameters, "Q.huge", 9), std::nullopt);
    EXPECT_EQ(Read<int32_t>(parameters, "Q.nan", 9), std::nullopt);
    EXPECT_EQ(Read<int32_t>(parameters, "Q.yes", 9), std::nullopt);

    // The 32-bit range is read up to its very ends, and nothing past them.
    AmiParameters edges(
        "(Q (max 2147483647) (maxFraction 2147483647.9) (over 2147483648) (min -2147483648) "
        "(under -2147483649))");
    const struct {
        const char* path;
        std::optional<int32_t> expected;
    } kEdges[] = {{"Q.max", INT32_MAX},
                  {"Q.maxFraction", INT32_MAX},
                  {"Q.over", std::nullopt},
                  {"Q.min", INT32_MIN},
                  {"Q.under", std::nullopt}};
    for (const auto& edge : kEdges) EXPECT_EQ(Read<int32_t>(edges, edge.path, 9), edge.expected);

    EXPECT_EQ(Read<bool>(parameters, "Q.yes", false), true);
    EXPECT_EQ(Read<bool>(parameters, "Q.no", true), false);
    EXPECT_EQ(Read<bool>(parameters, "Q.lower", true), std::nullopt);
    EXPECT_EQ(Read<bool>(parameters, "Q.whole", true), std::nullopt);
}

TEST(AmiParameters, NumbersKeepTheirSyntaxUnderACommaDecimalLocale) {
    CommaDecimalNumbers locale;
    if (!locale.Active()) GTEST_SKIP() << "no comma-decimal locale can be made here";
    AmiParameters parameters("(Quarnel (Taps (0 0.1) (1 \" -2.5e-1\") (2 0,5)) (Gain 0x1.8p1))");
    EXPECT_EQ(Read<double>(parameters, "Quarnel.Taps.0"), 0.1);
    EXPECT_EQ(Read<double>(parameters, "Quarnel.Taps.1"), -0.25);
    EXPECT_EQ(Read<std::string>(parameters, "Quarnel.Taps.2"), "0,5");
    EXPECT_EQ(Read<double>(parameters, "Quarnel.Gain"), 3.0);
}

TEST(AmiParameters, PathMatchingRules) {
    AmiParameters parameters("(Q (a 1) (a 2) (b (x 3)) (b (x 4) (y 5)) (c.d 6) (e (f (g 7))))");
    EXPECT_EQ(Read<double>(parameters, "Q.a"), 1.0);
    EXPECT_EQ(Read<double>(parameters, "Q.b.x"), 3.0);
    EXPECT_EQ(Read<double>(parameters, "Q.b.y"), 5.0);
    EXPECT_EQ(Read<double>(parameters, "Q.c.d"), 6.0);
    EXPECT_EQ(Read<double>(parameters, "Q.e.f.g"), 7.0);

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
    EXPECT_EQ(Read<double>(unnamed, ".a"), 1.0);
    EXPECT_EQ(Read<double>(unnamed, "b.c"), 2.0);
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
    EXPECT_EQ(Read<double>(parameters, (path + "leaf").c_str()), 9.5);
    EXPECT_EQ(Read<double>(parameters, (path + "leaf2").c_str()), std::nullopt);
}
