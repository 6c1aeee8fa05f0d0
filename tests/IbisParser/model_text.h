// Test support for the model sections: a file around model text, and the diagnostic lines the
// user sees, wrapped as the checker wraps them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/component_text.h"
#include "tests/IbisParser/expected_output.h"

// The model text of a file starts on this line.
inline constexpr int kFirstModelLine = 5;

// One [Pin] row for each "[Model] name" line of the text, so that every model is used.
inline std::string PinsForModels(const std::string& text) {
    std::string rows;
    int pin = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        if (line.compare(0, 7, "[Model]") != 0) continue;
        std::size_t first = line.find_first_not_of(" \t", 7);
        if (first == std::string::npos) continue;
        std::size_t last = line.find_first_of(" \t", first);
        const std::string name = line.substr(first, last - first);
        ++pin;
        rows += std::to_string(pin) + " s" + std::to_string(pin) + " " + name + "\n";
    }
    return rows.empty() ? "1 gnd GND\n" : rows;
}

// Header and a date (lines 1 to 4), the text, then a component whose pins use every model of
// the text, and [End]. The keyword that ends the text's last model is on the line after the
// text, as [End] would be.
inline std::string ModelFile(const char* version, const std::string& text) {
    return std::string("[IBIS Ver] ") + version +
           "\n[File Name] test.ibs\n[File Rev] 1.0\n[Date] today\n" + text +
           CleanComponent("c", PinsForModels(text)) + "[End]\n";
}

// One diagnostic line; a text of 58 to 75 characters (60 for errors, 61 for notes; 12 more
// without a line) goes on a line of its own.
inline std::string Diagnostic(const char* word, int wrapFrom, int line, const std::string& text) {
    std::string head = word;
    if (line > 0) {
        std::string number = std::to_string(line);
        head += " (line " + std::string(4 - std::min<std::size_t>(4, number.size()), ' ') + number +
                ")";
    } else {
        wrapFrom += 12;
    }
    const bool wraps = static_cast<int>(text.size()) >= wrapFrom && text.size() <= 75;
    return head + (wraps ? " -\n    " : " - ") + text + "\n";
}
inline std::string E(int line, const std::string& text) {
    return Diagnostic("ERROR", 60, line, text);
}
inline std::string E(const std::string& text) { return E(0, text); }
inline std::string W(int line, const std::string& text) {
    return Diagnostic("WARNING", 58, line, text);
}
inline std::string W(const std::string& text) { return W(0, text); }
inline std::string N(int line, const std::string& text) {
    return Diagnostic("NOTE", 61, line, text);
}

// The whole output for a file whose findings are `findings`, with the counts of the summary.
inline std::string Output(const char* revision, const std::string& findings, int errors,
                          int warnings) {
    const bool counted = errors > 0 || warnings > 0;
    return Banner("test.ibs", revision) + findings +
           (counted ? Summary(errors, warnings) : kPassed);
}

// The revision the banner names for a version.
inline const char* Revision(const char* version) {
    switch (version[0]) {
    case '2': return "2.1";
    case '3': return "3.2";
    case '4': return "4.2";
    default: return "5.0";
    }
}

struct ModelCase {
    const char* name;
    const char* version;
    std::string text;
    std::string findings;
    int errors;
    int warnings;
};

inline void CheckModelCases(const ModelCase* cases, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const ModelCase& row = cases[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CheckText(ModelFile(row.version, row.text), FILE_KIND_IBS),
                  Output(Revision(row.version), row.findings, row.errors, row.warnings));
    }
}
