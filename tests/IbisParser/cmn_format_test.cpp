#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "IbisParser/circuit.h"
#include "IbisParser/cmn.h"
#include "IbisParser/section.h"
#include "tests/IbisParser/cmn_capture.h"

namespace {

template <typename... Args>
std::vector<CMN_ARG> ArgsOf(const Args&... args) {
    return {CMN_ARG::From(args)...};
}

std::string Format(const char* format, const std::vector<CMN_ARG>& args) {
    std::string out = "unchanged";
    if (!CMN_FormatText(out, format, args.data(), args.size())) return "<refused>";
    return out;
}

enum Small { kSmallSeven = 7 };

}  // namespace

TEST(CmnFormat, PrintsEachConversionAsPrintfWould) {
    const std::string longText(600, 'x');
    const char* nothing = nullptr;
    // The erased arguments point into these, so they outlive the table.
    const std::string spaced = "a b";
    const std::string empty;
    struct Case {
        const char* format;
        std::vector<CMN_ARG> args;
        std::string expected;
    };
    const Case cases[] = {
        {"%s|%d|%u|%x|%c", ArgsOf("ab", -5, 7u, 255, 'q'), "ab|-5|7|ff|q"},
        {"no conversion", ArgsOf(), "no conversion"},
        {"100%% %s%%", ArgsOf("done"), "100% done%"},
        {"%5.3ensec", ArgsOf(1.5e-9), "1.500e-09nsec"},
        {"%gpF (%g, %g)", ArgsOf(12.5, 0.1f, 1e21), "12.5pF (0.1, 1e+21)"},
        {"%6.3fA", ArgsOf(2.0), " 2.000A"},
        {"%Lg", ArgsOf(2.5L), "2.5"},
        // Integers of any width are printed as the C type the conversion names.
        {"%d %ld %lld", ArgsOf(short{-3}, -4000000000L, 9000000000LL), "-3 -4000000000 9000000000"},
        {"%u %lu %zu", ArgsOf(-1, -1, std::size_t{12}), "4294967295 18446744073709551615 12"},
        {"%hhd %hu %X %o", ArgsOf(300, 65537u, 3054u, 8), "44 1 BEE 10"},
        {"%d %d %c", ArgsOf(true, kSmallSeven, 66), "1 7 B"},
        // '*' fields take an int before the value; a negative width aligns left, a negative
        // precision counts as none.
        {"(line %*lu)", ArgsOf(4, 7ul), "(line    7)"},
        {"(line %*lu)", ArgsOf(4, 123456ul), "(line 123456)"},
        {"%*d|%-*d|", ArgsOf(-3, 5, 3, 6), "5  |6  |"},
        {"%.*s|%.*s|", ArgsOf(2, "abc", -1, "abc"), "ab|abc|"},
        // Texts of every kind, with and without a terminating zero.
        {"'%s' '%s' '%s'", ArgsOf(spaced, empty, const_cast<char*>("c")), "'a b' '' 'c'"},
        {"%s|%5s|%-4.3s|%.9s",
         ArgsOf(std::string_view("abcdef").substr(0, 2), std::string_view("ab"),
                std::string_view("abcdef"), std::string_view("abcdef").substr(1, 3)),
         "ab|   ab|abc |bcd"},
        {"%s", ArgsOf(nothing), "(null)"},
        // Longer than the stack buffer: nothing is cut.
        {"<%s> and <%s>", ArgsOf(longText, std::string_view(longText)),
         "<" + longText + "> and <" + longText + ">"},
        // Arguments that do not fit are refused, not printed.
        {"%s", ArgsOf(5), "<refused>"},
        {"%d", ArgsOf(2.5), "<refused>"},
        {"%g", ArgsOf(2), "<refused>"},
        {"%s %s", ArgsOf("one"), "<refused>"},
        {"%s", ArgsOf("one", "two"), "<refused>"},
        {"%*d", ArgsOf(5), "<refused>"},
        {"%n", ArgsOf(5), "<refused>"},
        {"%lc", ArgsOf(65), "<refused>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Format(c.format, c.args), c.expected) << "format " << c.format;
    }
}

TEST(CmnFormat, CheckNamesTheProblemAndTheArgument) {
    using K = CMN_ArgClass;
    struct Case {
        const char* format;
        std::vector<K> kinds;
        CMN_FitProblem problem;
        int argument;
    };
    const Case cases[] = {
        {"Invalid %s Value (\"%s\")", {K::Text, K::Text}, CMN_FitProblem::None, 0},
        {"Invalid %s Value (\"%s\")", {K::Text, K::Integer}, CMN_FitProblem::Mismatch, 2},
        {"Invalid %s Value (\"%s\")", {K::Floating, K::Text}, CMN_FitProblem::Mismatch, 1},
        {"Invalid %s Value (\"%s\")", {K::Text}, CMN_FitProblem::TooFew, 0},
        {"Invalid %s Value (\"%s\")", {K::Text, K::Text, K::Text}, CMN_FitProblem::TooMany, 0},
        {"%*lu%%", {K::Integer, K::Integer}, CMN_FitProblem::None, 0},
        {"%*lu", {K::Text, K::Integer}, CMN_FitProblem::Mismatch, 1},
        {"%q", {K::Integer}, CMN_FitProblem::Unknown, 0},
        {"%s", {K::Invalid}, CMN_FitProblem::Mismatch, 1},
    };
    for (const Case& c : cases) {
        CMN_FIT fit = CMN_CheckArguments(c.format, c.kinds.data(), c.kinds.size());
        EXPECT_EQ(fit.problem, c.problem) << c.format << " with " << c.kinds.size();
        EXPECT_EQ(fit.argument, c.argument) << c.format << " with " << c.kinds.size();
    }
    EXPECT_EQ(CMN_CheckArguments(nullptr, nullptr, 0).problem, CMN_FitProblem::NoMessage);
    // The argument kinds the checked call form deduces.
    static_assert(CMN_ArgClassOf<const char(&)[3]>() == K::Text);
    static_assert(CMN_ArgClassOf<std::string>() == K::Text);
    static_assert(CMN_ArgClassOf<unsigned long long>() == K::Integer);
    static_assert(CMN_ArgClassOf<float>() == K::Floating);
    static_assert(CMN_ArgClassOf<CMN_Level>() == K::Invalid);
    static_assert(CMN_ArgClassOf<const void*>() == K::Invalid);
}

TEST(CmnReport, CheckedCallsPrintStringsAndViewsAsText) {
    CmnCapture capture(7);
    const std::string column = "Min";
    CMN_ErrorLine(1909, column, std::string_view("1.2xyz").substr(0, 3));
    CMN_WarningLine(1403, 2.5e-9f);
    CMN_Error(1912, "File_Rev", column, std::size_t{3});
    EXPECT_EQ(capture.Take(),
              "ERROR (line    7) - Invalid Min Value (\"1.2\")\n"
              "WARNING (line    7) - Value 2.500000e-09 repeated in the First "
              "Column\n"
              "ERROR - File_Rev string 'Min' is too long, truncating to 3 "
              "characters.\n");
}

TEST(CmnReport, RunTimeCodeWhoseArgumentsDoNotFitIsAProgramBug) {
    struct Case {
        const CMN_Reporter* report;
        std::vector<CMN_ARG> args;
        std::string expected;
        std::uint32_t bugs;
        std::uint32_t errors;
    };
    const Case cases[] = {
        {&CMN_ErrorLine, ArgsOf("Min", "x"), "ERROR (line   12) - Invalid Min Value (\"x\")\n", 0,
         1},
        {&CMN_ErrorLine, ArgsOf("Min"), "PROGRAM BUG (line   12) - Invalid %s Value (\"%s\")\n", 1,
         0},
        {&CMN_Error, ArgsOf(3.5, "x"), "PROGRAM BUG - Invalid %s Value (\"%s\")\n", 1, 0},
        {&CMN_Warning, ArgsOf("Min", "x", 4), "PROGRAM BUG - Invalid %s Value (\"%s\")\n", 1, 0},
    };
    for (const Case& c : cases) {
        CmnCapture capture(12);
        const std::vector<CMN_ARG>& a = c.args;
        CMN_Report(c.report->Level(), c.report->WithLine(), 1909, false, a.data(), a.size());
        EXPECT_EQ(capture.Take(), c.expected);
        std::array<std::uint32_t, 3> counts = CmnCapture::Counts();
        EXPECT_EQ(counts[0], c.bugs) << c.expected;
        EXPECT_EQ(counts[1], c.errors) << c.expected;
    }
    // Through the call form, with the code taken from data.
    CmnCapture capture(3);
    const int codes[] = {1916, 1909};
    for (int code : codes) CMN_ErrorLine(CMN_RuntimeCode(code), "GND");
    EXPECT_EQ(capture.Take(),
              "ERROR (line    3) - Illegal use of Reserved Word 'GND'.\n"
              "PROGRAM BUG (line    3) - Invalid %s Value (\"%s\")\n");
}

TEST(CmnReport, SectionBeginFailureReportsThroughItsRule) {
    CmnCapture capture(9);
    // No IBIS file is open, so Begin reports the rule's no-file message.
    SECTION_Records<CIRCUIT> withWhere(
        &IBIS::circuits,
        {.module = "circuit", .noFile = {CMN_BugLine, 4000, true}, .noMemory = {}, .own = {}});
    SECTION_Records<CIRCUIT> plain(
        &IBIS::circuits,
        {.module = "circuit", .noFile = {CMN_Bug, 2201}, .noMemory = {}, .own = {}});
    SECTION_Records<CIRCUIT> silent(&IBIS::circuits,
                                    {.module = "circuit", .noFile = {}, .noMemory = {}, .own = {}});
    withWhere.Begin(41);
    plain.Begin(42);
    silent.Begin(43);
    EXPECT_EQ(capture.Take(),
              "PROGRAM BUG (line    9) - circuit:41:MSEL_Init unable to get IBIS?\n"
              "PROGRAM BUG - Unable to get IBIS structure\n");
    EXPECT_EQ(withWhere.Open(), nullptr);
}
