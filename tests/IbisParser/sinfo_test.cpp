#include "IbisParser/sinfo.h"

#include "tests/IbisParser/values_helper.h"

namespace {

using SinfoTest = ValuesTest;

std::unique_ptr<RNG> Value() {
    return std::make_unique<RNG>();
}

TEST_F(SinfoTest, BeginReportsRedefinitionAndExtraItems) {
    std::unique_ptr<SINFO> series;
    EXPECT_EQ(SINFO_Begin(series, "[On]", "[On]"), 1);
    ASSERT_TRUE(series);
    EXPECT_EQ(Output(), "");

    series->R_series = Value();
    EXPECT_EQ(SINFO_Begin(series, "[On]  a b", "[On]"), 1);
    ASSERT_TRUE(series);
    EXPECT_EQ(series->R_series, nullptr);  // the old set is gone
    EXPECT_EQ(Output(),
              "ERROR (line    7) - [On] Series Info: Already Defined for this model\n"
              "ERROR (line    7) - Incorrect Number of Line Items (3) For [On]: Expecting 1\n");
    SINFO_Free(series);
    EXPECT_EQ(series, nullptr);
}

TEST_F(SinfoTest, ChecksInTheirOrder) {
    SINFO empty;
    SINFO_Check(empty, "M1", "[On]");
    EXPECT_EQ(Output(), "ERROR - Model M1 [On]: No series data found\n");

    SINFO dependent;
    dependent.Rl_series = Value();
    dependent.Rc_series = Value();
    dependent.Lc_series = Value();
    SINFO_Check(dependent, "M1", "Series");
    EXPECT_EQ(Output(),
              "ERROR - Model M1 Series: No series data found\n"
              "ERROR -\n"
              "    Model M1 Series: Rl_series cannot be specified if L_series is not specified\n"
              "ERROR -\n"
              "    Model M1 Series: Rc_series cannot be specified if C_series is not specified\n"
              "ERROR -\n"
              "    Model M1 Series: Lc_series cannot be specified if C_series is not specified\n");

    SINFO complete;
    complete.L_series = Value();
    complete.Rl_series = Value();
    complete.C_series = Value();
    complete.Rc_series = Value();
    complete.Lc_series = Value();
    SINFO_Check(complete, "M1", "[Off]");
    EXPECT_EQ(Output(), "");
}

// The MOSFET tables are opaque here; a stand-in list checks that the set hands it to its
// reader's duplicate check and releases it through the reader's release operation.
int releasedLists = 0;
const SMOS* checkedList = nullptr;
std::string checkedNames;

TEST_F(SinfoTest, MosfetListIsCheckedAndReleasedByItsReader) {
    static int standIn;
    SMOS* list = reinterpret_cast<SMOS*>(&standIn);
    {
        SINFO off;
        off.seriesMosfets = SINFO_Owned<SMOS>(list, [](SMOS*) { ++releasedLists; });
        off.checkMosfets = [](const SMOS* mosfets, const char* model, const char* state) {
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

}  // namespace
