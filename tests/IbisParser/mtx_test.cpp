#include <gtest/gtest.h>

#include <string>

#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/expected_output.h"

namespace {

std::string Pin(int number) {
    std::string pin = "A";
    pin += std::to_string(number);
    return pin;
}

std::string Pins(int count) {
    std::string names;
    for (int i = 1; i <= count; ++i) names.append(Pin(i)).append("\n");
    return names;
}

// A sparse matrix with only the diagonal, correct for any pin count.
std::string Diagonal(const char* keyword, int pins) {
    std::string text = "[";
    text.append(keyword).append("] Sparse_matrix\n");
    for (int i = 1; i <= pins; ++i) {
        std::string pin = Pin(i);
        text.append("[Row] ").append(pin).append("\n").append(pin).append(" 1\n");
    }
    return text;
}

// A .pkg file with one model of pins A1 to An; matrices holds its matrix keywords from line
// 11 + n on. The inductance and capacitance matrices that it does not give are added after it,
// correct, so that only the matrices under test draw findings.
std::string Model(int pins, const std::string& matrices) {
    std::string text =
        "[IBIS Ver] 3.2\n[File Name] test.pkg\n[File Rev] 1.0\n"
        "[Define Package Model] QFP\n[Manufacturer] Acme\n[OEM] Acme\n[Description] d\n"
        "[Number Of Pins] ";
    text.append(std::to_string(pins)).append("\n[Pin Numbers]\n").append(Pins(pins));
    text.append("[Model Data]\n").append(matrices);
    if (matrices.find("[Inductance Matrix]") == std::string::npos) {
        text += Diagonal("Inductance Matrix", pins);
    }
    if (matrices.find("[Capacitance Matrix]") == std::string::npos) {
        text += Diagonal("Capacitance Matrix", pins);
    }
    return text + "[End Model Data]\n[End Package Model]\n[End]\n";
}

std::string E(int line, const std::string& text) {
    char head[32];
    std::snprintf(head, sizeof head, "ERROR (line %4d) - ", line);
    return head + text + "\n";
}
std::string EWrapped(int line, const std::string& text) {
    char head[32];
    std::snprintf(head, sizeof head, "ERROR (line %4d) -\n    ", line);
    return head + text + "\n";
}
std::string W(int line, const std::string& text) {
    char head[32];
    std::snprintf(head, sizeof head, "WARNING (line %4d) - ", line);
    return head + text + "\n";
}

std::string Rows(int line, int expected, int found) {
    return EWrapped(line, "Expected " + std::to_string(expected) + " Rows, found " +
                              std::to_string(found) + " for Matrix ending previous to this line.");
}

// 3116: one column found takes no plural letter.
std::string Columns(int line, int expected, const std::string& pin, int found) {
    std::string text = "Expected " + std::to_string(expected) + " columns of Row data for [Row] " +
                       pin + " in Matrix ending previous to this line, found " +
                       std::to_string(found) + " column";
    if (found != 1) text += 's';
    return E(line, text + ".");
}

struct Case {
    const char* what;
    std::string text;
    std::string findings;
    int errors;
    int warnings = 0;
};

}  // namespace

TEST(MtxMatrices, TypesRowsDataAndEndChecks) {
    const Case cases[] = {
        {"full rows run from the diagonal to the last pin",
         Model(3, "[Resistance Matrix] Full_matrix\n[Row] A1\n1 2\n[Row] A2\n1\n[Row] A3\n1 2\n"),
         E(20, "More row data than allowed for this row.") + Columns(21, 3, "A1", 2) +
             Columns(21, 2, "A2", 1),
         3},
        {"values with scale letters, a suspicious one and an unreadable one",
         Model(2, "[Resistance Matrix] Full_matrix\n[Row] A1\nx 1\n1k2 2m\n[Row] A2\n3\n"),
         E(15, "Unable to convert row data.") + W(16, "Suspicious row data."), 1, 1},
        {"row names: order against the pin list, repeats, unknown and reserved names",
         Model(3,
               "[Resistance Matrix] Sparse_matrix\n[Row] A2\nA2 1\n[Row] GND\nA3 1\n[Row] A2\n"
               "A3 1\n[Row] ABCDEFG\n[Row]\n"),
         EWrapped(15, "Expected Pin <A2> at matrix row index 2, found at matrix row index 1.") +
             E(17, "Illegal use of Reserved Word 'GND'.") +
             E(17, "Unable to find Pin <GND> in Package Model Pin_Number list.") +
             E(19, "Repeated ROW <A2>.") +
             EWrapped(19, "Expected Pin <A2> at matrix row index 2, found at matrix row index 3.") +
             E(21, "PIN NUMBER string too long.") +
             EWrapped(21, "Unable to find Pin <ABCDE> in Package Model Pin_Number list.") +
             E(22, "Unknown PIN NUMBER.") +
             E(22, "Unable to find Pin <> in Package Model Pin_Number list.") + Rows(23, 3, 5) +
             E(23, "[Row] GND must contain a self-coupled index and entry.") +
             E(23,
               "Expected at least one column of Row data for [Row] ABCDE in Matrix ending "
               "previous to this line.") +
             E(23,
               "Expected at least one column of Row data for [Row]  in Matrix ending "
               "previous to this line."),
         13},
        {"sparse lines: extra items, repeated columns, the lower triangle",
         Model(3,
               "[Resistance Matrix] Sparse_matrix\n[Row] A1\nA1 1 extra\nA1 2\nA9 1\nA2\n"
               "[Row] A2\nA1 1\nA2 x\nA2 2\n[Row] A3\nA3 1\n"),
         E(16,
           "Excessive data <extra>, only Index and Value should be specified for a "
           "Sparse_matrix.") +
             E(17, "Duplicate Row column index 1.") +
             E(18, "Unable to find Pin <A9> in Package Model Pin_Number list.") +
             E(19, "No row data.") +
             EWrapped(21, "This Row Column Index defines an entry in the lower matrix triangle.") +
             E(22, "Unable to convert row data."),
         6},
        {"[Bandwidth] values and places",
         Model(4,
               "[Resistance Matrix] Banded_matrix\n[Bandwidth] 4\n[Bandwidth] x\n"
               "[Inductance Matrix] Banded_matrix\n[Bandwidth] x\n"
               "[Capacitance Matrix] Banded_matrix\n[Bandwidth] 3x\n[Row] A1\n1 2 3 4\n"
               "[Bandwidth] 1\n"),
         E(16, "Bandwidth <4> must be less than Number_of_Pins <4>.") +
             E(17, "Multiple Bandwidth keywords.") + Rows(18, 4, 0) +
             E(19, "Bad Bandwidth value.") + Rows(20, 4, 0) + E(21, "Suspicious Bandwidth value.") +
             E(24, "Bandwidth keyword in wrong location.") + Rows(25, 4, 1),
         8},
        {"a value past the last banded row wraps the band around",
         Model(4,
               "[Resistance Matrix] Banded_matrix\n[Bandwidth] 1\n[Row] A1\n1 2\n[Row] A2\n1 2\n"
               "[Row] A3\n1 2\n[Row] A4\n1 2 3\n"),
         E(24, "Only 2 columns of data allowed for this Row ."), 1},
        {"after the wrap every row has the whole band",
         Model(5,
               "[Resistance Matrix] Banded_matrix\n[Bandwidth] 2\n[Row] A1\n1 2 3\n[Row] A2\n"
               "1 2 3\n[Row] A3\n1 2 3\n[Row] A4\n1 2 3\n[Row] A5\n1\n"),
         Columns(28, 3, "A5", 1), 1},
        {"a band too wide to wrap around",
         Model(5,
               "[Resistance Matrix] Banded_matrix\n[Bandwidth] 3\n[Row] A1\n1 2 3 4 5\n"
               "[Row] A2\n1 2 3 4\n[Row] A3\n1 2 3 4\n[Row] A4\n1 2 3 4\n[Row] A5\n1 2 3 4\n"),
         E(19, "Only 4 columns of data allowed for this Row .") +
             EWrapped(23, "Bandwidth for this Banded, circle-back matrix exceeds the limit of 2."),
         2},
        {"matrix keywords: types, repeats and a row outside any matrix",
         Model(2,
               "[Row] A1\n[Resistance Matrix]\n[Resistance Matrix] Full_matrix\n"
               "[Inductance Matrix] full_MATRIX\n[Row] A1\n1n 2n\n[Row] A2\n1n\n"
               "[Inductance Matrix] Full_matrix\n[Capacitance Matrix] Diagonal_matrix\n"
               "[Row] A1\n1p\n[Capacitance Matrix] Full_matrix\n[Bandwidth] 1\n"),
         E(13, "Row keyword in wrong location.") + E(14, "Matrix type not specified.") +
             E(15, "Duplicate Resistance Matrix.") + Rows(16, 2, 0) +
             E(21, "Duplicate Inductance Matrix.") +
             E(22, "Unknown matrix type 'Diagonal_matrix'.") +
             E(25, "Duplicate Capacitance Matrix.") +
             E(26, "Bandwidth only allowed for Banded Matrices") + Rows(27, 2, 0),
         9},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.what);
        CheckOptions options;
        options.fileName = "test.pkg";
        EXPECT_EQ(CheckText(row.text, FILE_KIND_PKG, options),
                  Banner("test.pkg", "3.2") + row.findings + Summary(row.errors, row.warnings));
    }
}

// A row name repeated is reported once for each earlier row of that name, up to 100 earlier
// rows: the 101st row still draws 100 reports, and so does the 102nd.
TEST(MtxMatrices, RepeatedRowReportsStopAtOneHundredPerRow) {
    std::string rows;
    for (int i = 0; i < 102; ++i) rows += "[Row] A1\nA1 1\n";
    const std::string output =
        CheckText(Model(1, "[Resistance Matrix] Sparse_matrix\n" + rows), FILE_KIND_PKG);
    auto reportsOnLine = [&](int line) {
        const std::string report = E(line, "Repeated ROW <A1>.");
        int count = 0;
        for (std::size_t at = output.find(report); at != std::string::npos;
             at = output.find(report, at + report.size())) {
            ++count;
        }
        return count;
    };
    // Row k (from 1) is on line 11 + 2k.
    EXPECT_EQ(reportsOnLine(13), 0);
    EXPECT_EQ(reportsOnLine(15), 1);
    EXPECT_EQ(reportsOnLine(11 + 2 * 100), 99);
    EXPECT_EQ(reportsOnLine(11 + 2 * 101), 100);
    EXPECT_EQ(reportsOnLine(11 + 2 * 102), 100);
    EXPECT_NE(output.find(Rows(217, 1, 102)), std::string::npos);
}
