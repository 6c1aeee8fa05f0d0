#pragma once

// A fixture for the value readers, which report against the line most recently read:
// it reads a small file of kLine lines first, then captures everything the diagnostic
// service prints and counts from a zero start.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "IbisParser/cmn.h"
#include "IbisParser/ibis.h"
#include "IbisParser/parse.h"

class ValuesTest : public testing::Test {
protected:
    static constexpr int kLine = 7;

    void SetUp() override {
        ReadFileOfSevenLines();
        capture_ = std::tmpfile();
        ASSERT_NE(capture_, nullptr);
        CMN_SetOutput(capture_);
        CMN_ResetCounts();
    }

    void TearDown() override {
        CMN_SetOutput(stdout);
        std::fclose(capture_);
    }

    // What was printed since the last call.
    std::string Output() {
        std::fflush(capture_);
        const long end = std::ftell(capture_);
        std::string text(static_cast<std::size_t>(end - consumed_), '\0');
        std::fseek(capture_, consumed_, SEEK_SET);
        text.resize(std::fread(text.data(), 1, text.size(), capture_));
        consumed_ = end;
        return text;
    }

private:
    static void ReadFileOfSevenLines() {
        const auto path = std::filesystem::temp_directory_path() / "values_test_lines.pkg";
        std::ofstream(path) << "[IBIS Ver] 3.2\n[File Name] values_test_lines.pkg\n"
                               "[File Rev] 1\n|\n|\n|\n[End]\n";
        std::FILE* scratch = std::tmpfile();
        CMN_SetOutput(scratch);
        PARSE_SetQuiet(true);
        IBIS_New();
        PARSE_File(path.string().c_str(), 2);
        IBIS_Finish();
        PARSE_SetQuiet(false);
        std::fclose(scratch);
        std::filesystem::remove(path);
    }

    std::FILE* capture_ = nullptr;
    long consumed_ = 0;
};
