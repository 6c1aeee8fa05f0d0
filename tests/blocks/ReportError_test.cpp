#include "blocks/ReportError.h"

#include <gtest/gtest.h>

TEST(ReportError, WritesOneLinePerMessageToStandardError) {
    testing::internal::CaptureStderr();
    Vexlor::ReportError("first problem");
    Vexlor::ReportError("second problem");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "first problem\nsecond problem\n");
}
