#include "IbisParser/node.h"

#include <cstddef>
#include <string_view>

#include "IbisParser/cmn.h"
#include "IbisParser/parse.h"

namespace {

// Calls visit with each blank-separated item of text.
template <typename Visit>
void EachItem(const char* text, Visit visit) {
    const char* position = CMN_SkipSpace(text);
    while (*position != '\0') {
        const std::size_t length = CMN_TokenLength(position, '\0');
        visit(std::string_view(position, length));
        position = CMN_SkipSpace(position + length);
    }
}

}  // namespace

bool NODE_Reads(int code, bool dataLine) {
    switch (code) {
    case KW_NODE_DECLARATIONS:
    case KW_CIRCUIT_CALL: return true;
    case KW_END_NODE_DECLARATIONS:
    case KW_END_CIRCUIT_CALL: return !dataLine;
    default: return false;
    }
}

void NODE_Keyword(int code, const char* value, NODE_BLOCK& block) {
    if (code != KW_CIRCUIT_CALL) return;
    const char* name = CMN_SkipSpace(value);
    block.calls.emplace_back().circuit.assign(name, CMN_TokenLength(name, '\0'));
}

void NODE_Line(int code, const char* text, NODE_BLOCK& block) {
    if (code == KW_NODE_DECLARATIONS) {
        EachItem(text, [&block](std::string_view item) { block.nodes.emplace_back(item); });
    } else if (code == KW_CIRCUIT_CALL && !block.calls.empty()) {
        std::string line;
        EachItem(text, [&line](std::string_view item) {
            if (!line.empty()) line += ' ';
            line += item;
        });
        if (!line.empty()) block.calls.back().ports.push_back(std::move(line));
    }
}
