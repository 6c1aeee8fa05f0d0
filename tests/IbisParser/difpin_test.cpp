#include <gtest/gtest.h>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/expected_output.h"
