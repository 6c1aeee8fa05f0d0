#include "IbisParser/string.h"

#include <string>

#include "tests/IbisParser/values_helper.h"

namespace {

using StringTest = ValuesTest;

std::string Texts(const STR_LIST* head) {
    std::string joined;
    for (const STR_LIST* node = head; node; node = STR_Next(node)) {
        joined += std::string(STR_Text(node)) + ";";
    }
    return joined;
}

TEST_F(StringTest, ListsPushContainAndAddOnce) {
    std::unique_ptr<STR_LIST> list = STR_Push(nullptr, "b");
    list = STR_Push(std::move(list), "a");
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
    STR_Free(list);
    EXPECT_EQ(list, nullptr);

    const char* const texts[] = {"Driving", "Non-Driving", "All", nullptr};
    list = STR_FromArray(texts);
    EXPECT_EQ(Texts(list.get()), "Driving;Non-Driving;All;");
    EXPECT_EQ(STR_Next(nullptr), nullptr);
    EXPECT_EQ(STR_Text(nullptr), nullptr);
    EXPECT_EQ(Output(), "");
}

TEST_F(StringTest, LongListsAreReleasedWithoutRecursion) {
    std::unique_ptr<STR_LIST> list;
    for (int index = 0; index < 1'000'000; ++index) {
        list = STR_Push(std::move(list), "x");
    }
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
    static const std::string names[31] = {"n0",  "n1",  "n2",  "n3",  "n4",  "n5",  "n6",  "n7",
                                          "n8",  "n9",  "n10", "n11", "n12", "n13", "n14", "n15",
                                          "n16", "n17", "n18", "n19", "n20", "n21", "n22", "n23",
                                          "n24", "n25", "n26", "n27", "n28", "n29", "n30"};
    for (const std::string& name : names) {
        STR_CountName(name.c_str());
    }
    EXPECT_EQ(STR_CountName("n29"), 2);
    // The 31st distinct name is not kept.
    EXPECT_EQ(STR_CountName("n30"), 0);
    EXPECT_EQ(Output(), "");
    EXPECT_EQ(STR_GetNameCount("A1"), 0);
    EXPECT_NE(Output(), "");
}

}  // namespace
