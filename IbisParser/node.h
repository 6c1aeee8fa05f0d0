// The node declarations and circuit calls of a component: [Node Declarations] lists node
// names, [Circuit Call] names an external circuit and maps its ports to pins and nodes. Their
// lines are kept as given, for the checks of the external circuits; reading them reports
// nothing.
#pragma once

#include <string>
#include <vector>

struct NODE_CIRCUIT_CALL {
    std::string circuit;             // the first item after "]"; empty when none is given
    std::vector<std::string> ports;  // each data line's items, joined by one blank
};

struct NODE_BLOCK {
    std::vector<std::string> nodes;        // the node names of [Node Declarations], in file order
    std::vector<NODE_CIRCUIT_CALL> calls;  // in file order
};

// A keyword line of [Node Declarations] to [End Circuit Call], with what follows its "]".
void NODE_Keyword(int code, const char* value, NODE_BLOCK& block);
// A data line under [Node Declarations] or [Circuit Call] (the whole line).
void NODE_Line(int code, const char* text, NODE_BLOCK& block);
// Keywords whose lines this module reads: the two opening keywords take data lines, the two
// end keywords only their keyword line.
bool NODE_Reads(int code, bool dataLine);
