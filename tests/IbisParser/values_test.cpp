// The typ/min/max readers, table rows, series-element sets and text lists. Every report is
// captured with line 7 as the line most recently read.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IbisParser/rng.h"
#include "IbisParser/rngp.h"
#include "IbisParser/sinfo.h"
#include "IbisParser/string.h"
#include "tests/IbisParser/cmn_capture.h"

namespace {

class ValuesTest : public testing::Test {
protected:
    std::string Output() { return capture_.Take(); }

private:
    CmnCapture capture_{7};
};

// Column states written as letters: 'n' a number, 'a' "NA" (value 0), '-' absent.
int State(char letter) { return letter == 'n' ? RNG_NUMBER : letter == 'a' ? RNG_NA : RNG_ABSENT; }

void ExpectColumn(char state, int gotState, double expected, double got) {
    EXPECT_EQ(gotState, State(state));
    if (state == 'n') {
        EXPECT_DOUBLE_EQ(got, expected);
    } else if (state == 'a') {
        EXPECT_EQ(got, 0.0);
    }
}

using RngTest = ValuesTest;

TEST_F(RngTest, ColumnsRangeChecksAndTheirReports) {
    const std::string noMin = "ERROR (line    7) - No minimum Value Was Provided for R_pkg\n";
    const std::string noMax = "ERROR (line    7) - No maximum Value Was Provided for R_pkg\n";
    const std::string notBetween =
        "WARNING (line    7) - Typ value is not in between Min and Max \n";
    const struct {
        const char* text;
        int result;
        const char* states;  // typ, min, max
        double typ, min, max;
        std::string output;
    } rows[] = {
        {"5p NA 6p", 1, "nan", 5e-12, 0, 6e-12, ""},
        {"  -1.5m\tna  2k  ", 1, "nan", -1.5e-3, 0, 2000, ""},
        // Either order of min and max, and equal values, pass.
        {"5 6 4", 1, "nnn", 5, 6, 4, ""},
        {"5 4 6", 1, "nnn", 5, 4, 6, ""},
        {"4 4 6", 1, "nnn", 4, 4, 6, ""},
        {"6 4 6", 1, "nnn", 6, 4, 6, ""},
        {"3 3 3", 1, "nnn", 3, 3, 3, ""},
        {"3 4 6", 1, "nnn", 3, 4, 6, notBetween},
        {"7 6 4", 1, "nnn", 7, 6, 4, notBetween},
        // With a column not a number there is nothing to compare.
        {"3 NA 6", 1, "nan", 3, 0, 6, ""},
        {"3 4", 1, "nn-", 3, 4, 0, noMax},
        {"5", 1, "n--", 5, 0, 0, noMin + noMax},
        {"2 1 3 4", 1, "nnn", 2, 1, 3,
         "ERROR (line    7) - Incorrect Number of Line Items (4) For R_pkg: Expecting 3\n"},
        {"", 1, "---", 0, 0, 0,
         "ERROR (line    7) - Incorrect Number of Line Items (0) For R_pkg: Expecting 3\n"},
        {"5 x 6", 0, "n-n", 5, 0, 6, "ERROR (line    7) - Invalid Minimum Value (\"x\")\n"},
        {"10% 1 2", 0, "-nn", 0, 1, 2, "ERROR (line    7) - Invalid Typical Value (\"10%\")\n"},
        // A digit after the scale letter is suspicious but read; the 58-character message
        // goes on a line of its own.
        {"1.5n2 1n 2n", 1, "nnn", 1.5e-9, 1e-9, 2e-9,
         "WARNING (line    7) -\n    Suspicious Typical R_pkg Value (\"1.5n2\"); Numeric in "
         "Scale\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        std::unique_ptr<RNG> value;
        EXPECT_EQ(RNG_Parse(row.text, "R_pkg", value), row.result);
        ASSERT_TRUE(value);
        ExpectColumn(row.states[0], value->typState, row.typ, value->typ);
        ExpectColumn(row.states[1], value->minState, row.min, value->min);
        ExpectColumn(row.states[2], value->maxState, row.max, value->max);
        EXPECT_EQ(Output(), row.output);
    }
    EXPECT_EQ(CmnCapture::Counts(), (std::array<std::uint32_t, 3>{0, 7, 3}));
}

using RngpTest = ValuesTest;

std::unique_ptr<RNGP> Row(const char* text) {
    std::unique_ptr<RNGP> row;
    EXPECT_EQ(RNGP_Parse(text, "Pulldown", "Voltage", row), 1) << text;
    return row;
}

TEST_F(RngpTest, RowsKeepTheirColumnsAndReportMissingOrBadOnes) {
    const std::string no = "ERROR (line    7) - No ";
    const std::string tail = " Value Was Provided for Pulldown\n";
    const struct {
        const char* text;
        const char* states;  // first, typ, min, max
        double first, typ, min, max;
        std::string output;
    } rows[] = {
        {"0.5 1m NA 2m", "nnan", 0.5, 1e-3, 0, 2e-3, ""},
        // A column in error is reported with the given column name; the row is kept.
        {"-x 1 2 3", "-nnn", 0, 1, 2, 3, "ERROR (line    7) - Invalid Voltage Value (\"-x\")\n"},
        {"0.5", "n---", 0.5, 0, 0, 0,
         no + "typical" + tail + no + "minimum" + tail + no + "maximum" + tail},
        {"0.5 1", "nn--", 0.5, 1, 0, 0, no + "minimum" + tail + no + "maximum" + tail},
        {"1 2 3", "nnn-", 1, 2, 3, 0, no + "maximum" + tail},
        // 60 characters: on a line of its own. The fifth item is ignored.
        {"1 2 3 4 5", "nnnn", 1, 2, 3, 4,
         "ERROR (line    7) -\n    Incorrect Number of Line Items (5) For Pulldown: Expecting 4\n"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text);
        std::unique_ptr<RNGP> row = Row(r.text);
        ASSERT_TRUE(row);
        ExpectColumn(r.states[0], row->firstState, r.first, row->first);
        ExpectColumn(r.states[1], row->typState, r.typ, row->typ);
        ExpectColumn(r.states[2], row->minState, r.min, row->min);
        ExpectColumn(r.states[3], row->maxState, r.max, row->max);
        EXPECT_EQ(row->next, nullptr);
        EXPECT_EQ(row->prev, nullptr);
        EXPECT_EQ(Output(), r.output);
    }
}

TEST_F(RngpTest, AppendLinksRowsAndWarnsForEachRepeat) {
    const std::string repeat =
        "WARNING (line    7) - Value 5.000000e-01 repeated in the First Column\n";
    RNGP_TABLE table;
    RNGP_Append(table, Row("0.5 1 2 3"), true);
    RNGP_Append(table, Row("1.0 1 2 3"), true);
    EXPECT_EQ(Output(), "");
    RNGP_Append(table, Row("0.5 4 5 6"), true);
    EXPECT_EQ(Output(), repeat);
    // Without checking nothing is said, and the next checked repeat meets all three earlier rows.
    RNGP_Append(table, Row("5e-1 0 0 0"), false);
    EXPECT_EQ(Output(), "");
    RNGP_Append(table, Row("0.50 0 0 0"), true);
    EXPECT_EQ(Output(), repeat + repeat + repeat);

    EXPECT_EQ(table.count, 5);
    const double expectedFirst[] = {0.5, 1.0, 0.5, 0.5, 0.5};
    const RNGP* previous = nullptr;
    int index = 0;
    for (const RNGP* row = table.head.get(); row; row = row->next.get(), ++index) {
        ASSERT_LT(index, 5);
        EXPECT_EQ(row->first, expectedFirst[index]);
        EXPECT_EQ(row->prev, previous);
        previous = row;
    }
    EXPECT_EQ(index, 5);
    EXPECT_EQ(table.tail, previous);
}

// Long tables: repeats are still found once rows are counted by value, and releasing the
// table does not recurse row by row.
TEST_F(RngpTest, LongTablesStayLinear) {
    constexpr int kRows = 300'000;
    RNGP_TABLE table;
    for (int index = 0; index < kRows; ++index) {
        auto row = std::make_unique<RNGP>();
        row->first = index * 0.25;
        RNGP_Append(table, std::move(row), true);
    }
    EXPECT_EQ(Output(), "");
    auto repeat = std::make_unique<RNGP>();
    repeat->first = 10.0;  // row 40
    RNGP_Append(table, std::move(repeat), true);
    EXPECT_EQ(Output(), "WARNING (line    7) - Value 1.000000e+01 repeated in the First Column\n");
    EXPECT_EQ(table.count, kRows + 1);
    EXPECT_EQ(table.tail->prev->first, (kRows - 1) * 0.25);
}

using SinfoTest = ValuesTest;

TEST_F(SinfoTest, BeginReportsRedefinitionAndChecksRunInTheirOrder) {
    std::unique_ptr<SINFO> series;
    EXPECT_EQ(SINFO_Begin(series, "[On]", "[On]"), 1);
    ASSERT_TRUE(series);
    EXPECT_EQ(Output(), "");
    series->R_series = std::make_unique<RNG>();
    EXPECT_EQ(SINFO_Begin(series, "[On]  a b", "[On]"), 1);
    ASSERT_TRUE(series);
    EXPECT_EQ(series->R_series, nullptr);  // the old set is gone
    EXPECT_EQ(Output(),
              "ERROR (line    7) - [On] Series Info: Already Defined for this model\n"
              "ERROR (line    7) - Incorrect Number of Line Items (3) For [On]: Expecting 1\n");

    SINFO_Check(*series, "M1", "[On]");
    EXPECT_EQ(Output(), "ERROR - Model M1 [On]: No series data found\n");
    series->Rl_series = std::make_unique<RNG>();
    series->Rc_series = std::make_unique<RNG>();
    series->Lc_series = std::make_unique<RNG>();
    SINFO_Check(*series, "M1", "Series");
    const std::string head = "ERROR -\n    Model M1 Series: ";
    EXPECT_EQ(Output(), "ERROR - Model M1 Series: No series data found\n" + head +
                            "Rl_series cannot be specified if L_series is not specified\n" + head +
                            "Rc_series cannot be specified if C_series is not specified\n" + head +
                            "Lc_series cannot be specified if C_series is not specified\n");
    series->L_series = std::make_unique<RNG>();
    series->C_series = std::make_unique<RNG>();
    SINFO_Check(*series, "M1", "[Off]");
    EXPECT_EQ(Output(), "");
    SINFO_Free(series);
    EXPECT_EQ(series, nullptr);
}

// The MOSFET tables are opaque here; a stand-in list checks that the set hands it to its
// reader's duplicate check and releases it through the reader's release operation.
int releasedLists = 0;
const SMOS_LIST* checkedList = nullptr;
std::string checkedNames;

TEST_F(SinfoTest, MosfetListIsCheckedAndReleasedByItsReader) {
    static int standIn;
    SMOS_LIST* list = reinterpret_cast<SMOS_LIST*>(&standIn);
    {
        SINFO off;
        off.seriesMosfets = SINFO_Owned<SMOS_LIST>(list, [](SMOS_LIST*) { ++releasedLists; });
        off.checkMosfets = [](const SMOS_LIST* mosfets, const char* model, const char* state) {
            checkedList = mosfets;
            checkedNames = std::string(model) + " " + state;
        };
        SINFO_Check(off, "SW", "[Off]");
        // Longer than 75 characters: never wrapped.
        EXPECT_EQ(Output(),
                  "ERROR - Model SW: [Series_MOSFET] is not allowed in conjunction with the [Off] "
                  "keyword\n");
        EXPECT_EQ(checkedList, list);
        EXPECT_EQ(checkedNames, "SW [Off]");
        SINFO_Check(off, "SW", "[On]");
        EXPECT_EQ(Output(), "");
    }
    EXPECT_EQ(releasedLists, 1);
}

using StringTest = ValuesTest;

std::string Texts(const STR_LIST* head) {
    std::string joined;
    for (const STR_LIST* node = head; node; node = STR_Next(node))
        joined += std::string(STR_Text(node)) + ";";
    return joined;
}

TEST_F(StringTest, ListsPushContainAndAddOnce) {
    std::unique_ptr<STR_LIST> list = STR_Push(STR_Push(nullptr, "b"), "a");
    EXPECT_EQ(Texts(list.get()), "a;b;");
    EXPECT_EQ(STR_Contains(list.get(), "b"), 1);
    EXPECT_EQ(STR_Contains(list.get(), "B"), 0);
    EXPECT_EQ(STR_Contains(nullptr, "a"), 0);
    const std::string same = "b";  // another copy of an existing text
    const STR_LIST* before = list.get();
    list = STR_AddIfAbsent(std::move(list), same.c_str());
    EXPECT_EQ(list.get(), before);
    list = STR_AddIfAbsent(std::move(list), "c");
    EXPECT_EQ(Texts(list.get()), "c;a;b;");

    const char* const texts[] = {"Driving", "Non-Driving", "All", nullptr};
    list = STR_FromArray(texts);
    EXPECT_EQ(Texts(list.get()), "Driving;Non-Driving;All;");
    EXPECT_EQ(Output(), "");

    // A long list is released without recursing node by node.
    for (int index = 0; index < 1'000'000; ++index) list = STR_Push(std::move(list), "x");
    STR_Free(list);
    EXPECT_EQ(list, nullptr);
}

TEST_F(StringTest, NameCounter) {
    STR_ResetNames();
    EXPECT_EQ(STR_CountName("A1"), 1);
    EXPECT_EQ(STR_CountName("A1"), 2);
    EXPECT_EQ(STR_CountName("a1"), 1);  // exact comparison
    const std::string copy = "A1";
    EXPECT_EQ(STR_CountName(copy.c_str()), 3);
    EXPECT_EQ(STR_GetNameCount("A1"), 3);
    EXPECT_EQ(STR_GetNameCount("a1"), 1);
    EXPECT_EQ(Output(), "");
    // A name never counted: a program bug naming this module, and 0.
    EXPECT_EQ(STR_GetNameCount("B2"), 0);
    EXPECT_EQ(Output().rfind("PROGRAM BUG - Should not be here string ", 0), 0u);

    STR_ResetNames();
    static std::vector<std::string> names;  // the counter keeps the texts it is given
    for (int index = 0; index < 31; ++index) names.push_back(std::to_string(index) + "n");
    for (const std::string& name : names) STR_CountName(name.c_str());
    EXPECT_EQ(STR_CountName("29n"), 2);
    EXPECT_EQ(STR_CountName("30n"), 0);  // the 31st distinct name is not kept
    EXPECT_EQ(Output(), "");
    EXPECT_EQ(STR_GetNameCount("A1"), 0);
    EXPECT_NE(Output(), "");
}

}  // namespace
