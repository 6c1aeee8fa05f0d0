#pragma once

// The IBIS-AMI parameter string as a tree.
//
// A parameter string is a set of nested parenthesised lists, such as
//     (Quarnel (Taps (0 0.1) (1 0.8) (2 -0.1)) (Gain 0))
// A list holding further lists is a branch; a list holding a name and plain values is a leaf.
// ParseAmiTree turns the string into a flat array of entries in the order in which the nodes
// open, and gives every branch the list of its direct children as well.
//
// The functions here never throw, never print and never end the process; any input gives a
// status. They keep no state between calls, so threads may parse their own strings at once.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

// Status codes of ParseAmiTree.
enum AmiParseStatus : int32_t {
    AmiParseOk = 0,
    AmiParseUnbalanced = 1,      // parentheses outside double quotes do not pair up
    AmiParseNoOpening = 2,       // the text does not start (after white space) with '('
    AmiParseNoParent = 3,        // null text or out pointer, or the first node is a leaf
    AmiParseNoMemory = 4,        // the tree could not be allocated
    AmiParseOutsideRoot = 5,     // a node lies beside or above the root instead of under it
    AmiParseUnmatchedClose = 6,  // a ')' with no open node to close, as in "()" or "(root)"
    AmiParseTooManyNodes = 7,    // more nodes than opening parentheses (guards the scan)
    AmiParseNameOnly = 8,        // a list holding only a name, followed by a sibling
};

// Kinds of an entry.
enum AmiEntryKind : int32_t {
    AmiBranch = 0,
    AmiLeaf = 1,
};

// Value type codes, from the value's text alone (a quoted "12" is still an integer).
enum AmiValueType : int32_t {
    AmiValueEmpty = -1,
    AmiValueString = 0,
    AmiValueInteger = 1,
    AmiValueBoolean = 2,  // exactly "True" or "False"
    AmiValueFloat = 3,
};

// Codes of leaf names; any other name is AmiNameOther.
enum AmiNameKeyword : int32_t {
    AmiNameOther = 0,
    AmiNameUsage = 1,
    AmiNameType = 2,
    AmiNameFormat = 3,
    AmiNameDefault = 4,
    AmiNameDescription = 5,
    AmiNameLabels = 6,
};

// Codes of string values ("In" is 0 ... "DjRj" is 19); any other text, and any value that is
// not a string, has AmiNoKeyword.
enum AmiValueKeyword : int32_t {
    AmiNoKeyword = -1,
    AmiKeywordIn = 0,
    AmiKeywordOut,
    AmiKeywordInfo,
    AmiKeywordInOut,
    AmiKeywordFloat,
    AmiKeywordInteger,
    AmiKeywordString,
    AmiKeywordBoolean,
    AmiKeywordTap,
    AmiKeywordUI,
    AmiKeywordValue,
    AmiKeywordRange,
    AmiKeywordList,
    AmiKeywordCorner,
    AmiKeywordIncrement,
    AmiKeywordSteps,
    AmiKeywordTable,
    AmiKeywordGaussian,
    AmiKeywordDualDirac,
    AmiKeywordDjRj,
};

struct AmiNode;

// One node of the flat array, or one element of a branch's child list (a copy that does not
// own the node).
struct AmiTreeEntry {
    int32_t kind = AmiBranch;  // AmiEntryKind
    int32_t level = 0;         // the first node of the text is level 1, its children level 2
    AmiNode* node = nullptr;   // null in the unused entries at the end of the array
};

struct AmiValue {
    std::string text;                // as written, without the quotes
    int32_t type = AmiValueEmpty;    // AmiValueType
    int32_t keyword = AmiNoKeyword;  // AmiValueKeyword; looked up for strings only
};

struct AmiNode {
    std::string name;
    std::vector<AmiTreeEntry> children;  // branches: the direct children, in text order
    std::vector<AmiValue> values;        // leaves: the values, in text order
    int32_t nameKeyword = AmiNameOther;  // leaves only: AmiNameKeyword

    // Number of elements in the node's list (children of a branch, values of a leaf).
    int32_t count() const { return static_cast<int32_t>(children.size() + values.size()); }
};

struct AmiTree {
    // One entry per opening parenthesis outside quotes; entries beyond the nodes found are
    // empty (kind AmiBranch, level 0, no node). The first entry's node is the root branch.
    std::vector<AmiTreeEntry> entries;
    // Owns every node the entries point at; a deque keeps their addresses stable.
    std::deque<AmiNode> nodes;

    int32_t count() const { return static_cast<int32_t>(entries.size()); }
};

// Parses a NUL-terminated parameter string. On AmiParseOk stores a new tree through tree,
// which the caller releases with FreeAmiTree; on any other status stores nothing. The text
// is only read.
int32_t ParseAmiTree(const char* text, AmiTree** tree);

// Releases the tree and sets *tree to null; a null tree or null pointer does nothing.
void FreeAmiTree(AmiTree** tree);

// Type code of a value's text (AmiValueType), decided in this order: empty; integer when the
// C library's base-10 integer conversion takes the whole text; floating point when its
// floating-point conversion does; boolean for exactly "True" or "False"; string otherwise.
// The conversions follow the C locale whatever locale the process has set, so "0.1" is a
// number and "0,1" a string everywhere.
int32_t ClassifyAmiValueType(const char* text);

// Keyword code (AmiValueKeyword) of a value of the given type: exact, case-sensitive match of
// the whole text for strings, AmiNoKeyword otherwise.
int32_t ClassifyAmiValueKeyword(int32_t type, std::string_view text);

// Code of a leaf name (AmiNameKeyword): exact, case-sensitive match of the whole name.
int32_t ClassifyAmiNameKeyword(std::string_view name);

// Counts the parentheses outside double quotes (each '"' toggles being inside). Returns true
// and the number of opening parentheses when opening and closing ones balance, false and 0
// when they do not. A null text counts 0 and succeeds.
bool CountAmiParentheses(const char* text, std::size_t& openCount);
