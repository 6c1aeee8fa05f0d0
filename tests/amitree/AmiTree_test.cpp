#include "amitree/AmiTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct TreeDeleter {
    void operator()(AmiTree* tree) const { FreeAmiTree(&tree); }
};
using TreePtr = std::unique_ptr<AmiTree, TreeDeleter>;

struct Parsed {
    int32_t status;
    TreePtr tree;
};

Parsed Parse(const std::string& text) {
    AmiTree* tree = nullptr;
    const int32_t status = ParseAmiTree(text.c_str(), &tree);
    return {status, TreePtr(tree)};
}

// One entry per node: "<level>B name" for a branch, "<level>L name=value:type,..." for a
// leaf; empty entries as "-".
std::string Describe(const AmiTree& tree) {
    std::string out;
    for (const AmiTreeEntry& entry : tree.entries) {
        if (!out.empty()) out += "; ";
        if (!entry.node) {
            out += "-";
            continue;
        }
        out += std::to_string(entry.level) + (entry.kind == AmiBranch ? "B " : "L ");
        out += entry.node->name;
        for (std::size_t i = 0; i < entry.node->values.size(); ++i) {
            const AmiValue& value = entry.node->values[i];
            out += (i == 0 ? "=" : ",") + value.text + ":" + std::to_string(value.type);
        }
    }
    return out;
}

std::string ChildNames(const AmiNode& node) {
    std::string out;
    for (const AmiTreeEntry& child : node.children) out += child.node->name + " ";
    return out;
}

}  // namespace

TEST(AmiTree, ModelParametersBuildTheExpectedTree) {
    Parsed parsed = Parse("(Quarnel (Taps (0 0.1) (1 0.8) (2 -0.1)) (Gain 0))");
    ASSERT_EQ(parsed.status, AmiParseOk);
    const AmiTree& tree = *parsed.tree;
    ASSERT_EQ(tree.count(), 6);
    EXPECT_EQ(Describe(tree),
              "1B Quarnel; 2B Taps; 3L 0=0.1:3; 3L 1=0.8:3; 3L 2=-0.1:3; 2L Gain=0:1");
    const AmiNode& root = *tree.entries[0].node;
    EXPECT_EQ(root.count(), 2);
    EXPECT_EQ(ChildNames(root), "Taps Gain ");
    EXPECT_EQ(root.children[0].node, tree.entries[1].node);
    EXPECT_EQ(root.children[1].level, 2);
    EXPECT_EQ(root.children[1].kind, AmiLeaf);
    EXPECT_EQ(ChildNames(*tree.entries[1].node), "0 1 2 ");
    EXPECT_EQ(tree.entries[5].node->count(), 1);
    EXPECT_TRUE(tree.entries[2].node->children.empty());
}

TEST(AmiTree, MalformedTextsGiveTheirStatusAndFreeAcceptsNull) {
    const std::vector<std::pair<std::string, int32_t>> cases = {
        {"", AmiParseNoOpening},
        {" \t\n", AmiParseNoOpening},
        {"x (a (b 1))", AmiParseNoOpening},
        {")(", AmiParseNoOpening},
        {"(a (b 1)", AmiParseUnbalanced},
        {"(a (b 1)))", AmiParseUnbalanced},
        {"(a (b \"x)\" 1)", AmiParseUnbalanced},
        {"(x 5)", AmiParseNoParent},
        {"()", AmiParseUnmatchedClose},
        {"(root)", AmiParseUnmatchedClose},
        {"(root )", AmiParseUnmatchedClose},
        {"(r (a 1)))(", AmiParseUnmatchedClose},
        {"(r (y 1) (x ))", AmiParseUnmatchedClose},
        {"(r (y 1) (x))", AmiParseUnmatchedClose},
        {"(r (x ) (y 1))", AmiParseNameOnly},
        {"(r (x) (y 1))", AmiParseNameOnly},
        {"(r (b (x )(y 1)))", AmiParseNameOnly},
        {"(r (x ) ((y 1)))", AmiParseNameOnly},
        {"(r (a 1)) (s (b 1))", AmiParseOutsideRoot},
    };
    for (const auto& [text, status] : cases) {
        // Nothing may be stored on failure, not even a null.
        AmiTree unused;
        AmiTree* tree = &unused;
        EXPECT_EQ(ParseAmiTree(text.c_str(), &tree), status) << text;
        EXPECT_EQ(tree, &unused) << text;
    }
    AmiTree* tree = nullptr;
    EXPECT_EQ(ParseAmiTree(nullptr, &tree), AmiParseNoParent);
    EXPECT_EQ(ParseAmiTree("(r (a 1))", nullptr), AmiParseNoParent);
    EXPECT_EQ(tree, nullptr);
    FreeAmiTree(nullptr);
    FreeAmiTree(&tree);
    ASSERT_EQ(ParseAmiTree("(r (a 1))", &tree), AmiParseOk);
    FreeAmiTree(&tree);
    EXPECT_EQ(tree, nullptr);
}

TEST(AmiTree, WhiteSpaceAroundNodesIsOptional) {
    EXPECT_EQ(Describe(*Parse(" \t\n(r(a(b 1))(c\t2 3)\n)").tree),
              "1B r; 2B a; 3L b=1:1; 2L c=2:1,3:1");
    EXPECT_EQ(Describe(*Parse("(r (a 1)   )  ").tree), "1B r; 2L a=1:1");
    EXPECT_EQ(Describe(*Parse("( (a 1))").tree), "1B ; 2L a=1:1");
    EXPECT_EQ(Describe(*Parse("(r (a (b 1)) (c 2))").tree), "1B r; 2B a; 3L b=1:1; 2L c=2:1");
}

TEST(AmiTree, QuotedValues) {
    EXPECT_EQ(Describe(*Parse("(r (d \"two words\" next))").tree), "1B r; 2L d=two words:0,next:0");
    // Parentheses inside quotes are neither counted nor parsed.
    Parsed parsed = Parse("(r (d \"a (b\" \")\"))");
    ASSERT_EQ(parsed.status, AmiParseOk);
    EXPECT_EQ(parsed.tree->count(), 2);
    EXPECT_EQ(Describe(*parsed.tree), "1B r; 2L d=a (b:0,):0");
    // A quote inside a value replaces what came before it; trailing blanks inside quotes
    // survive except in the last value.
    EXPECT_EQ(Describe(*Parse("(r (d ab\"c d\" \"x \" \"y \"))").tree),
              "1B r; 2L d=c d:0,x :0,y:0");
    EXPECT_EQ(Describe(*Parse("(r (d \"\" \"12\" \"-1.5\"))").tree), "1B r; 2L d=:-1,12:1,-1.5:3");
    EXPECT_EQ(Describe(*Parse("(r (\"n\" 1))").tree), "1B r; 2L \"n\"=1:1");
}

TEST(AmiTree, ValueTypesAndKeywords) {
    const std::vector<std::pair<const char*, int32_t>> types = {
        {"True", 2}, {"False", 2}, {"true", 0}, {"12", 1}, {"-7", 1},
        {"1e3", 3},  {"0.5", 3},   {"1.5x", 0}, {"", -1},  {nullptr, -1}};
    for (const auto& [text, type] : types) {
        EXPECT_EQ(ClassifyAmiValueType(text), type) << (text ? text : "null");
    }

    const char* keywords[] = {"In",      "Out",    "Info",     "InOut",      "Float",
                              "Integer", "String", "Boolean",  "Tap",        "UI",
                              "Value",   "Range",  "List",     "Corner",     "Increment",
                              "Steps",   "Table",  "Gaussian", "Dual-Dirac", "DjRj"};
    for (int32_t code = 0; code < 20; ++code) {
        EXPECT_EQ(ClassifyAmiValueKeyword(AmiValueString, keywords[code]), code) << keywords[code];
    }
    EXPECT_EQ(ClassifyAmiValueKeyword(AmiValueString, "in"), AmiNoKeyword);
    EXPECT_EQ(ClassifyAmiValueKeyword(AmiValueString, "Tap "), AmiNoKeyword);
    EXPECT_EQ(ClassifyAmiValueKeyword(AmiValueInteger, "In"), AmiNoKeyword);

    Parsed parsed = Parse(
        "(m (Usage In) (Type Float) (Format Dual-Dirac 1) (Default 2) "
        "(Description \"Value\") (Labels x) (usage In))");
    ASSERT_EQ(parsed.status, AmiParseOk);
    std::vector<std::pair<int32_t, int32_t>> codes;
    for (const AmiTreeEntry& child : parsed.tree->entries[0].node->children) {
        codes.emplace_back(child.node->nameKeyword, child.node->values[0].keyword);
    }
    const std::vector<std::pair<int32_t, int32_t>> expected = {{1, 0},  {2, 4},  {3, 18}, {4, -1},
                                                               {5, 10}, {6, -1}, {0, 0}};
    EXPECT_EQ(codes, expected);
}

TEST(AmiTree, LeafWithNestedListIsDropped) {
    Parsed parsed = Parse("(r (f Table (Labels a b) \"(\") (g 1))");
    ASSERT_EQ(parsed.status, AmiParseOk);
    EXPECT_EQ(Describe(*parsed.tree), "1B r; 2L g=1:1; -; -");
    EXPECT_EQ(ChildNames(*parsed.tree->entries[0].node), "g ");
    // With nothing left but the dropped leaf the tree has no nodes at all.
    EXPECT_EQ(Describe(*Parse("(r 1 (a))").tree), "-; -");
}

TEST(AmiTree, CountsParenthesesOutsideQuotes) {
    std::size_t count = 99;
    EXPECT_TRUE(CountAmiParentheses("(a \"(\" (b) \"))\")", count));
    EXPECT_EQ(count, 2u);
    EXPECT_FALSE(CountAmiParentheses("(a (b)", count));
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(CountAmiParentheses(nullptr, count));
    EXPECT_EQ(count, 0u);
    EXPECT_TRUE(CountAmiParentheses("\"(", count));
    EXPECT_EQ(count, 0u);
}

TEST(AmiTree, OddStringsParseWithoutHarm) {
    EXPECT_EQ(Describe(*Parse("(r (\xC3\xA9t\xE9 \xFF\x80 \x01))").tree),
              "1B r; 2L \xC3\xA9t\xE9=\xFF\x80:0,\x01:0");

    const std::string blanks(1 << 20, ' ');
    EXPECT_EQ(
        Describe(*Parse(blanks + "(r" + blanks + "(a" + blanks + "1" + blanks + ")" + blanks + ")")
                      .tree),
        "1B r; 2L a=1:1");

    const int depth = 200000;
    std::string deep;
    for (int i = 0; i < depth; ++i) deep += "(a ";
    deep += "(x 1)" + std::string(depth, ')');
    Parsed parsed = Parse(deep);
    ASSERT_EQ(parsed.status, AmiParseOk);
    EXPECT_EQ(parsed.tree->entries[depth].level, depth + 1);
    EXPECT_EQ(ChildNames(*parsed.tree->entries[depth - 1].node), "x ");
    EXPECT_EQ(Parse(std::string(depth, '(') + std::string(depth, ')')).status,
              AmiParseUnmatchedClose);
    EXPECT_EQ(Parse(std::string(depth, '(')).status, AmiParseUnbalanced);

    // Quotes inside names still count for the parentheses, so here only two nodes are
    // counted and the scan stops after them.
    EXPECT_EQ(Describe(*Parse("(r (a\"b 1) (c \"x))").tree), "1B r; 2L a\"b=1:1");
    // A quote that is never closed runs to the end of the text.
    EXPECT_EQ(Describe(*Parse("(r (a\"b 1) (c \"x) (d 1))").tree),
              "1B r; 2L a\"b=1:1; 2L c=x) (d 1)):0");
}
