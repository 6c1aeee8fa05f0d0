#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IbisParser/ebdmdl.h"
#include "IbisParser/ibis.h"
#include "IbisParser/kept_keyword.h"
#include "IbisParser/parse.h"
#include "IbisParser/parse_keywords.h"
#include "IbisParser/submdl.h"
#include "tests/IbisParser/check_helper.h"

namespace {

const std::string kComponent =
    "[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\n"
    "C_pkg 1p NA NA\n[Pin] signal_name model_name\n1 s1 m\n[End]\n";
const std::string kModel =
    "[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2.0\nC_comp 1p 1p 1p\n"
    "[Voltage Range] 3.3 3 3.6\n";

std::string Header(const char* version, const char* name) {
    return std::string("[IBIS Ver] ") + version + "\n[File Name] " + name +
           "\n[File Rev] 1.0\n[Date] today\n";
}

// One line per kept keyword: its table name, its code, the text after "]" and its data lines.
std::string Kept(const std::vector<KEPT_KEYWORD>& keywords) {
    std::string kept;
    for (const KEPT_KEYWORD& keyword : keywords) {
        kept += std::string("  ") + PARSE_KeywordName(keyword.code) + "(" +
                std::to_string(keyword.code) + ") '" + keyword.text + "'";
        for (const std::string& line : keyword.lines) kept += " [" + line + "]";
        kept += "\n";
    }
    return kept;
}

std::string Records(IBIS* ibis) {
    std::string kept;
    for (const SUBMDL* s = ibis->submodels.get(); s != nullptr; s = s->next.get()) {
        kept += "submodel '" + s->name + "'\n" + Kept(s->keywords);
    }
    for (const EBDMDL* b = ibis->boardDescriptions.get(); b != nullptr; b = b->next.get()) {
        kept += "board '" + b->name + (b->ended ? "' ended\n" : "' open\n") + Kept(b->keywords);
    }
    return kept;
}

struct LeastCase {
    const char* name;
    int kind;
    std::string text;
    std::string output;
    std::string records;
};

}  // namespace

// Submodel and board-description lines are kept as text without any finding: the output is the
// one these files drew before their lines were kept.
TEST(LeastReaders, SubmodelsAndBoardDescriptionsKeepTheirLines) {
    const LeastCase cases[] = {
        {"every submodel keyword", FILE_KIND_IBS,
         Header("4.0", "test.ibs") +
             "[Submodel] dyn  extra \nSubmodel_type Dynamic_clamp\n[Submodel Spec]\n"
             "| variable typ min max\nV_trigger_r 1.0 1.1 0.9\n[GND Pulse Table]\n0 0\n1n 0.1\n"
             "[POWER Pulse Table]\n0 0\n[Pulldown]\n-1 -1m\n1 1m\n[Pullup]\n-1 1m\n[GND Clamp]\n"
             "0 0\n[POWER Clamp]\n0 0\n[Ramp]\ndV/dt_r 1/1n\n[Rising Waveform]\nR_fixture = 50\n"
             "0 0\n[Falling Waveform]\n0 1\n" +
             kModel + "[Add Submodel]\ndyn Non-Driving\n" + kComponent,
         "\nChecking test.ibs for IBIS 4.2 Compatibility...\n\nErrors  : 0\n\nFile Passed\n",
         "submodel 'dyn'\n"
         "  SUBMODEL(97) 'dyn  extra' [Submodel_type Dynamic_clamp]\n"
         "  SUBMODEL_SPEC(98) '' [V_trigger_r 1.0 1.1 0.9]\n"
         "  GND_PULSE_TABLE(99) '' [0 0] [1n 0.1]\n"
         "  POWER_PULSE_TABLE(100) '' [0 0]\n"
         "  PULLDOWN(101) '' [-1 -1m] [1 1m]\n"
         "  PULLUP(102) '' [-1 1m]\n"
         "  GND_CLAMP(103) '' [0 0]\n"
         "  POWER_CLAMP(104) '' [0 0]\n"
         "  RAMP(105) '' [dV/dt_r 1/1n]\n"
         "  RISING_WAVEFORM(106) '' [R_fixture = 50] [0 0]\n"
         "  FALLING_WAVEFORM(107) '' [0 1]\n"},
        // Newest first; a [Model] closes the submodel, so the pulse table after it is not kept.
        {"two submodels and a submodel keyword after a model", FILE_KIND_IBS,
         Header("3.2", "test.ibs") +
             "[Submodel] a\n[Submodel]\nSubmodel_type Bus_hold\n[Pullup]\n0 0\n" + kModel +
             "[GND Pulse Table]\n0 0\n[Add Submodel]\na Driving\n" + kComponent,
         "\nChecking test.ibs for IBIS 3.2 Compatibility...\n\n"
         "ERROR (line   18) - Orphan Model keyword.\n"
         "ERROR (line   19) - Orphan data line keyword.\n"
         "WARNING - Submodel a is not referenced by any model [Add Submodel] keyword\n\n"
         "Errors  : 2\nWarnings: 1\n\nFile Failed\n",
         "submodel ''\n  SUBMODEL(97) '' [Submodel_type Bus_hold]\n  PULLUP(102) '' [0 0]\n"
         "submodel 'a'\n  SUBMODEL(97) 'a'\n"},
        {"a whole board description", FILE_KIND_EBD,
         Header("3.2", "test.ebd") +
             "[Begin Board Description] board1 extra\n[Manufacturer] Acme Corp\n"
             "[Number Of Pins] 2\n[Pin List] signal_name\nA1 sig\nA2 GND\n[Path Description] p1\n"
             "Pin A1\nLen = 0.5 L=1n/\nNode u1.1\n[Reference Designator Map]\nu1 part.ibs part\n"
             "[End Board Description]\n[End]\n",
         "\nChecking test.ebd for IBIS 3.2 Compatibility...\n\nErrors  : 0\n\nFile Passed\n",
         "board 'board1' ended\n"
         "  BEGIN_BOARD_DESCRIPTION(89) 'board1 extra'\n"
         "  MANUFACTURER(90) 'Acme Corp'\n"
         "  NUMBER_OF_PINS(91) '2'\n"
         "  PIN_LIST(92) 'signal_name' [A1 sig] [A2 GND]\n"
         "  PATH_DESCRIPTION(93) 'p1' [Pin A1] [Len = 0.5 L=1n/] [Node u1.1]\n"
         "  REFERENCE_DESIGNATOR_MAP(94) '' [u1 part.ibs part]\n"},
        {"a board description without a name or an end", FILE_KIND_EBD,
         Header("3.2", "test.ebd") +
             "[Begin Board Description]\nstray line\n[Pin List]\nA1 sig\n[End]\n",
         "\nChecking test.ebd for IBIS 3.2 Compatibility...\n\nErrors  : 0\n\nFile Passed\n",
         "board '' open\n  BEGIN_BOARD_DESCRIPTION(89) '' [stray line]\n  PIN_LIST(92) '' [A1 "
         "sig]\n"},
        // [End Board Description] closes the description: the line after it is not kept.
        {"lines after the end of a description", FILE_KIND_EBD,
         Header("3.2", "test.ebd") +
             "[Begin Board Description] one\n[End Board Description]\nafter end\n"
             "[Begin Board Description] two\n[Number Of Pins] 1\n[End Board Description]\n[End]\n",
         "\nChecking test.ebd for IBIS 3.2 Compatibility...\n\nErrors  : 0\n\nFile Passed\n",
         "board 'two' ended\n  BEGIN_BOARD_DESCRIPTION(89) 'two'\n  NUMBER_OF_PINS(91) '1'\n"
         "board 'one' ended\n  BEGIN_BOARD_DESCRIPTION(89) 'one'\n"},
    };
    for (const LeastCase& row : cases) {
        SCOPED_TRACE(row.name);
        std::string records = "(not inspected)";
        CheckOptions options;
        options.inspect = [&records](IBIS* ibis) { records = Records(ibis); };
        EXPECT_EQ(CheckText(row.text, row.kind, options), row.output);
        EXPECT_EQ(records, row.records);
    }
}
