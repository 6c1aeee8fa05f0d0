#pragma once

// A fixture for the value readers: everything the diagnostic service prints is captured,
// counts start at zero, and reports carry line 7 as the line most recently read.

#include <gtest/gtest.h>

#include <string>

#include "tests/IbisParser/cmn_capture.h"

class ValuesTest : public testing::Test {
protected:
    // What was printed since the last call.
    std::string Output() { return capture_.Take(); }

private:
    CmnCapture capture_{7};
};
