#include <gtest/gtest.h>

#include <string>

#include "IbisParser/circuit.h"
#include "IbisParser/cmpnt.h"
#include "IbisParser/ibis.h"
#include "IbisParser/mdl.h"
#include "IbisParser/parse.h"
#include "tests/IbisParser/check_helper.h"
#include "tests/IbisParser/model_text.h"

namespace {

const std::string kTerminator = "Model_type Terminator\nC_comp 1p 1p 1p\n[Voltage Range] 1 1 1\n";

// What the file's records keep of external circuits, circuit calls, node declarations and
// external models, one line per record that holds any.
std::string Records(IBIS* ibis) {
    std::string kept;
    for (const CIRCUIT* c = ibis->circuits.get(); c != nullptr; c = c->next.get()) {
        kept += "circuit '" + c->name + "' " + std::to_string(c->dataLines) +
                (c->ended ? " ended\n" : " open\n");
    }
    for (const CMPNT* c = ibis->components.get(); c != nullptr; c = c->next.get()) {
        if (!c->circuits.nodes.empty()) {
            kept += c->name + " nodes";
            for (const std::string& node : c->circuits.nodes) kept += " " + node;
            kept += "\n";
        }
        for (const NODE_CIRCUIT_CALL& call : c->circuits.calls) {
            kept += c->name + " calls '" + call.circuit + "'";
            for (const std::string& port : call.ports) kept += " [" + port + "]";
            kept += "\n";
        }
    }
    for (const MDL* m = ibis->models.get(); m != nullptr; m = m->next.get()) {
        if (!m->given[KW_EXTERNAL_MODEL]) continue;
        kept += m->name + " external";
        for (const std::string& line : m->externalModel) kept += " [" + line + "]";
        kept += "\n";
    }
    return kept;
}

struct CircuitCase {
    const char* name;
    const char* version;
    std::string text;
    std::string records;
};

}  // namespace

// The external-circuit readers keep what the lines give and report nothing: every file below
// checks clean.
TEST(ExternalCircuits, RecordsKeepNamesNodesCallsAndLines) {
    const std::string component = CleanComponent("d");
    const CircuitCase cases[] = {
        {"nothing external", "5.0", "", ""},
        {"node declarations and two circuit calls", "4.0",
         component + "[Node Declarations]\nn1  n2\n   n3\n[End Node Declarations]\n"
                     "[Circuit Call] buf extra\nSignal_pin 1\nPort_map  A  n1\n[End Circuit Call]\n"
                     "[Circuit Call]\n[End Circuit Call]\n",
         "d nodes n1 n2 n3\nd calls 'buf' [Signal_pin 1] [Port_map A n1]\nd calls ''\n"},
        {"external circuits, newest first", "5.0",
         "[External Circuit] first x\nLanguage SPICE\nPorts a b\nCorner Typ f.sp sub\n"
         "[End External Circuit]\n[External Circuit]\n[End External Circuit]\n",
         "circuit '' 0 ended\ncircuit 'first' 3 ended\n"},
        // A new [External Circuit] ends the open one.
        {"an external circuit without its end", "5.0",
         "[External Circuit] a\nLanguage SPICE\n[External Circuit] b\nPorts p\n"
         "[End External Circuit]\n",
         "circuit 'b' 1 ended\ncircuit 'a' 1 open\n"},
        {"external model lines", "5.0",
         "[Model] m\n" + kTerminator +
             "[External Model]\nLanguage SPICE\nCorner Typ m.sp m_typ\n[End External Model]\n"
             "[Model] n\n" +
             kTerminator + "[External Model]\n[End External Model]\n",
         "n external\nm external [Language SPICE] [Corner Typ m.sp m_typ]\n"},
    };
    for (const CircuitCase& row : cases) {
        SCOPED_TRACE(row.name);
        std::string records = "(not inspected)";
        CheckOptions options;
        options.inspect = [&records](IBIS* ibis) { records = Records(ibis); };
        EXPECT_EQ(CheckText(ModelFile(row.version, row.text), FILE_KIND_IBS, options),
                  Output(Revision(row.version), "", 0, 0));
        EXPECT_EQ(records, row.records);
    }
}
