#include "IbisParser/rngp.h"

#include "IbisParser/rng.h"
#include "tests/IbisParser/values_helper.h"

namespace {

using RngpTest = ValuesTest;

std::unique_ptr<RNGP> Row(const char* text) {
    std::unique_ptr<RNGP> row;
    EXPECT_EQ(RNGP_Parse(text, "Pulldown", "Voltage", row), 1) << text;
    return row;
}

TEST_F(RngpTest, ReadsTheFirstColumnAndTheTriple) {
    std::unique_ptr<RNGP> row = Row("0.5 1m NA 2m");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->first, 0.5);
    EXPECT_EQ(row->firstState, RNG_NUMBER);
    EXPECT_DOUBLE_EQ(row->typ, 1e-3);
    EXPECT_EQ(row->minState, RNG_NA);
    EXPECT_DOUBLE_EQ(row->max, 2e-3);
    EXPECT_EQ(row->next, nullptr);
    EXPECT_EQ(row->prev, nullptr);
    EXPECT_EQ(Output(), "");

    // A column in error is reported with the given column name and stays absent; the row is kept.
    row = Row("-x 1 2 3");
    EXPECT_EQ(row->firstState, RNG_ABSENT);
    EXPECT_EQ(row->typ, 1.0);
    EXPECT_EQ(Output(), "ERROR (line    7) - Invalid Voltage Value (\"-x\")\n");
}

TEST_F(RngpTest, MissingAndExtraColumns) {
    Row("0.5");
    EXPECT_EQ(Output(),
              "ERROR (line    7) - No typical Value Was Provided for Pulldown\n"
              "ERROR (line    7) - No minimum Value Was Provided for Pulldown\n"
              "ERROR (line    7) - No maximum Value Was Provided for Pulldown\n");
    Row("0.5 1");
    EXPECT_EQ(Output(),
              "ERROR (line    7) - No minimum Value Was Provided for Pulldown\n"
              "ERROR (line    7) - No maximum Value Was Provided for Pulldown\n");
    std::unique_ptr<RNGP> row = Row("1 2 3");
    EXPECT_EQ(row->maxState, RNG_ABSENT);
    EXPECT_EQ(Output(), "ERROR (line    7) - No maximum Value Was Provided for Pulldown\n");

    // 60 characters: on a line of its own. The fifth item is ignored.
    row = Row("1 2 3 4 5");
    EXPECT_EQ(row->max, 4.0);
    EXPECT_EQ(Output(),
              "ERROR (line    7) -\n"
              "    Incorrect Number of Line Items (5) For Pulldown: Expecting 4\n");
}

TEST_F(RngpTest, AppendLinksRowsAndWarnsForEachRepeat) {
    RNGP_TABLE table;
    RNGP_Append(table, Row("0.5 1 2 3"), true);
    RNGP_Append(table, Row("1.0 1 2 3"), true);
    EXPECT_EQ(Output(), "");
    RNGP_Append(table, Row("0.5 4 5 6"), true);
    EXPECT_EQ(Output(), "WARNING (line    7) - Value 5.000000e-01 repeated in the First Column\n");
    // Without checking nothing is said, and the next checked repeat meets both earlier rows.
    RNGP_Append(table, Row("5e-1 0 0 0"), false);
    EXPECT_EQ(Output(), "");
    RNGP_Append(table, Row("0.50 0 0 0"), true);
    EXPECT_EQ(Output(),
              "WARNING (line    7) - Value 5.000000e-01 repeated in the First Column\n"
              "WARNING (line    7) - Value 5.000000e-01 repeated in the First Column\n"
              "WARNING (line    7) - Value 5.000000e-01 repeated in the First Column\n");

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
    EXPECT_EQ(table.tail->first, 10.0);
    EXPECT_EQ(table.tail->prev->first, (kRows - 1) * 0.25);
}

}  // namespace
