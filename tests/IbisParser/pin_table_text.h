// Test support for the pin tables: a file around table text, and tables of cases with the
// whole output the user sees.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/model_text.h"

// The first line of the tables in PinFile.
inline constexpr int kFirstTableLine = 11;

// Header and date (lines 1 to 4), component c with its manufacturer and package (lines 5 to
// 10), the tables from line 11, then the models and [End].
inline std::string PinFile(const char* version, const std::string& tables,
                           const std::string& models = "") {
    return std::string("[IBIS Ver] ") + version +
           "\n[File Name] test.ibs\n[File Rev] 1.0\n[Date] today\n"
           "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
           "C_pkg 1p NA NA\n" +
           tables + models + "[End]\n";
}

struct PinCase {
    const char* name;
    const char* version;
    std::string tables;
    std::string models;
    std::string findings;
    int errors;
    int warnings;
};

inline void CheckPinCases(const PinCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const PinCase& row = cases[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CheckText(PinFile(row.version, row.tables, row.models), FILE_KIND_IBS),
                  Output(Revision(row.version), row.findings, row.errors, row.warnings));
    }
}
