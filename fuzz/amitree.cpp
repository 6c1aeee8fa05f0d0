// Parses arbitrary bytes as a parameter string, checks the shape of every tree it builds,
// frees it, and reads through the getters.
#include "amitree/AmiTree.h"
#include "amitree/AmiParameters.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

void CheckNode(const AmiTreeEntry& entry) {
    const AmiNode& node = *entry.node;
    Require(entry.level >= 0);  // 0 when a node follows the close of the first list
    if (entry.kind == AmiLeaf) {
        Require(!node.values.empty() && node.children.empty());
        Require(node.nameKeyword == ClassifyAmiNameKeyword(node.name));
        for (const AmiValue& value : node.values) {
            Require(value.type == ClassifyAmiValueType(value.text.c_str()));
            Require(value.keyword == ClassifyAmiValueKeyword(value.type, value.text));
        }
        return;
    }
    Require(entry.kind == AmiBranch && node.values.empty());
    for (const AmiTreeEntry& child : node.children) {
        Require(child.node != nullptr && child.level == entry.level + 1);
    }
}

void CheckTree(const AmiTree& tree) {
    bool pastNodes = false;
    std::size_t linked = 0;
    for (const AmiTreeEntry& entry : tree.entries) {
        if (!entry.node) {
            pastNodes = true;
            Require(entry.kind == AmiBranch && entry.level == 0);
            continue;
        }
        Require(!pastNodes);  // the nodes found come first
        CheckNode(entry);
        linked += entry.node->children.size();
    }
    Require(linked < tree.entries.size() || tree.entries.empty());
}

void ReadThroughGetters(const std::string& text, const AmiTree* tree) {
    AmiParameters parameters(text.c_str());
    Require(parameters.Parsed() == (tree != nullptr));
    std::string path = "Quarnel.Gain";
    if (tree && !tree->entries.empty() && tree->entries[0].node) {
        const AmiNode& root = *tree->entries[0].node;
        if (!root.children.empty()) path = root.name + "." + root.children[0].node->name;
    }
    double number = 0.0;
    int32_t integer = 0;
    bool flag = false;
    std::string word;
    for (const char* each : {path.c_str(), "Quarnel.Taps.0", "Quarnel.Gain"}) {
        parameters.GetDouble(number, each);
        parameters.GetInt(integer, each);
        parameters.GetBool(flag, each);
        parameters.GetString(word, each);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    AmiTree* tree = nullptr;
    const int32_t status = ParseAmiTree(text.c_str(), &tree);
    Require(status >= AmiParseOk && status <= AmiParseNameOnly);
    Require((status == AmiParseOk) == (tree != nullptr));
    if (tree) CheckTree(*tree);
    ReadThroughGetters(text, tree);
    FreeAmiTree(&tree);
    Require(tree == nullptr);
    return 0;
}
