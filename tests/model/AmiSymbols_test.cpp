// Lists the dynamic symbols the built library defines: a simulator can reach exactly the two
// AMI entry points and nothing else.
#include "tests/model/AmiLibrary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {

TEST(AmiSymbols, TheLibraryExportsExactlyTheTwoEntryPoints) {
    const std::string command = "nm -D --defined-only '" + AmiLibrary::Path() + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    std::string listing;
    char line[512];
    while (std::fgets(line, sizeof line, pipe.get())) {
        listing += line;
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) names.insert(name);
    }
    EXPECT_EQ(pclose(pipe.release()), 0) << listing;
    EXPECT_EQ(names, (std::set<std::string>{"AMI_Close", "AMI_Init"})) << listing;
}

}  // namespace
