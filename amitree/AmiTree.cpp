#include "amitree/AmiTree.h"

#include "amitree/CLocaleText.h"

#include <array>
#include <cstring>
#include <memory>

namespace {

constexpr std::array<std::string_view, 7> kNameKeywords = {
    "", "Usage", "Type", "Format", "Default", "Description", "Labels"};

constexpr std::array<std::string_view, 20> kValueKeywords = {
    "In",        "Out",   "Info",  "InOut",    "Float",      "Integer", "String",
    "Boolean",   "Tap",   "UI",    "Value",    "Range",      "List",    "Corner",
    "Increment", "Steps", "Table", "Gaussian", "Dual-Dirac", "DjRj"};

// Past a quoted part that starts just after an opening '"': at the closing quote, or at the
// end of the text when there is none.
const char* QuoteEnd(const char* afterQuote) {
    const char* closing = std::strchr(afterQuote, '"');
    return closing ? closing : afterQuote + std::strlen(afterQuote);
}

// How a leaf's list ended.
enum class LeafEnd { Closed, Dropped, EndOfText };

// Reads the text into the flat entry array, one node per pass. The depth rises by one for
// every '(' consumed and one more for every node made, so a node's level is depth / 2.
// The scan never recurses and never steps back, so its time is linear in the text.
class AmiScanner {
public:
    AmiScanner(const char* text, AmiTree& tree)
        : cursor_(text), tree_(tree), capacity_(tree.entries.size()) {}

    int32_t Scan();
    std::size_t Written() const { return written_; }

private:
    int32_t ReadNode();
    int32_t CloseBranch();
    int32_t AddBranch(const char* nameStart, const char* nameEnd);
    int32_t AddLeaf(const char* nameStart, const char* nameEnd);
    int32_t ReadValues(AmiNode& leaf, LeafEnd& end);
    int32_t CloseList();
    void SkipDroppedLeaf();
    void SkipSpace() { cursor_ = SkipCSpace(cursor_); }

    const char* cursor_;
    AmiTree& tree_;
    std::size_t capacity_;
    std::size_t written_ = 0;
    std::size_t passes_ = 0;
    int64_t depth_ = 0;
    bool atEnd_ = false;
};

int32_t AmiScanner::Scan() {
    while (passes_ < capacity_) {
        if (*cursor_ == '(') {
            ++cursor_;
            ++depth_;
            SkipSpace();
        }
        if (int32_t status = ReadNode(); status != AmiParseOk) return status;
        if (atEnd_) break;  // every later pass would end at once as well
        ++passes_;
    }
    return AmiParseOk;
}

// Reads a name and decides by what follows it: '(' makes a branch, another word after white
// space makes a leaf, and ')' closes the branch whose last child was just read.
int32_t AmiScanner::ReadNode() {
    const char* nameStart = cursor_;
    const char* blank = nullptr;  // first white space after the name
    for (;;) {
        const char c = *cursor_;
        if (c == '\0') {
            atEnd_ = true;
            return AmiParseOk;
        }
        if (IsCSpace(c)) {
            if (!blank) blank = cursor_;
            ++cursor_;
        } else if (c == '(') {
            return AddBranch(nameStart, blank ? blank : cursor_);
        } else if (c == ')') {
            // A name with nothing after it, "(x)", is treated like "(x )": it is not a node,
            // and a sibling after it is refused with AmiParseNameOnly.
            if (!blank && cursor_ != nameStart) blank = cursor_;
            if (int32_t status = CloseBranch(); status != AmiParseOk) return status;
            nameStart = cursor_;
        } else if (blank) {
            return AddLeaf(nameStart, blank);
        } else {
            ++cursor_;
        }
    }
}

// Consumes a branch's ')' and, within the same pass, the '(' of a sibling after it.
int32_t AmiScanner::CloseBranch() {
    ++cursor_;
    SkipSpace();
    if (depth_ < 2 || passes_ == 0) return AmiParseUnmatchedClose;
    depth_ -= 2;
    --passes_;
    if (*cursor_ == '(') {
        ++cursor_;
        ++depth_;
    }
    SkipSpace();
    return AmiParseOk;
}

// The cursor stays on the '(' that opens the branch's first child.
int32_t AmiScanner::AddBranch(const char* nameStart, const char* nameEnd) {
    if (written_ == capacity_) return AmiParseTooManyNodes;
    if (nameEnd < nameStart) return AmiParseNameOnly;
    ++depth_;
    AmiNode& node = tree_.nodes.emplace_back();
    node.name.assign(nameStart, nameEnd);
    tree_.entries[written_++] = {AmiBranch, static_cast<int32_t>(depth_ / 2), &node};
    return AmiParseOk;
}

// A leaf is kept only when its list closes without a nested list; a dropped leaf leaves its
// entry free for the next node.
int32_t AmiScanner::AddLeaf(const char* nameStart, const char* nameEnd) {
    if (written_ == capacity_) return AmiParseTooManyNodes;
    if (nameEnd < nameStart) return AmiParseNameOnly;
    ++depth_;
    const auto level = static_cast<int32_t>(depth_ / 2);
    AmiNode leaf;
    leaf.name.assign(nameStart, nameEnd);
    leaf.nameKeyword = ClassifyAmiNameKeyword(leaf.name);
    LeafEnd end = LeafEnd::Closed;
    const int32_t status = ReadValues(leaf, end);
    if (status != AmiParseOk || end == LeafEnd::Dropped) return status;
    tree_.entries[written_++] = {AmiLeaf, level, &tree_.nodes.emplace_back(std::move(leaf))};
    return AmiParseOk;
}

void AppendValue(AmiNode& leaf, const char* start, const char* end) {
    AmiValue& value = leaf.values.emplace_back();
    value.text.assign(start, end);
    value.type = ClassifyAmiValueType(value.text.c_str());
    value.keyword = ClassifyAmiValueKeyword(value.type, value.text);
}

// Reads values up to the leaf's ')'. A value ends at white space; a '"' starts a quoted part
// that runs to the next '"' and replaces what came before it in the value. The last value
// loses trailing white space, quoted or not. A '(' among the values drops the leaf.
int32_t AmiScanner::ReadValues(AmiNode& leaf, LeafEnd& end) {
    const char* start = cursor_;  // current value's text
    const char* stop = nullptr;   // its end, once known
    bool blankAfter = false;      // white space followed the current value
    for (;;) {
        const char c = *cursor_;
        if (c == '\0' || c == ')') {
            const char* last = stop ? stop : cursor_;
            while (last > start && IsCSpace(last[-1])) --last;
            AppendValue(leaf, start, last);
            if (c == '\0') {
                end = LeafEnd::EndOfText;
                atEnd_ = true;
                return AmiParseOk;
            }
            end = LeafEnd::Closed;
            ++cursor_;
            return CloseList();
        }
        if (c == '(') {
            end = LeafEnd::Dropped;
            SkipDroppedLeaf();
            return CloseList();
        }
        if (IsCSpace(c)) {
            if (!stop) stop = cursor_;
            blankAfter = true;
            ++cursor_;
            continue;
        }
        if (blankAfter) {
            AppendValue(leaf, start, stop);
            start = cursor_;
            stop = nullptr;
            blankAfter = false;
        }
        if (c == '"') {
            start = cursor_ + 1;
            stop = QuoteEnd(start);
            cursor_ = *stop ? stop + 1 : stop;
        } else {
            ++cursor_;
        }
    }
}

// After a leaf's ')' (already consumed): the leaf's list and its node are closed.
int32_t AmiScanner::CloseList() {
    SkipSpace();
    if (depth_ < 2) return AmiParseUnmatchedClose;
    depth_ -= 2;
    return AmiParseOk;
}

// From a '(' among a leaf's values past the ')' that closes the leaf, over nested lists and
// quoted parts.
void AmiScanner::SkipDroppedLeaf() {
    std::size_t open = 1;
    while (*cursor_ != '\0') {
        const char c = *cursor_;
        if (c == '"') {
            cursor_ = QuoteEnd(cursor_ + 1);
            if (*cursor_ == '\0') return;
        } else if (c == '(') {
            ++open;
        } else if (c == ')' && --open == 0) {
            ++cursor_;
            return;
        }
        ++cursor_;
    }
}

// Gives every branch its direct children. Entries at other levels stay unlinked.
int32_t LinkAmiTree(AmiTree& tree, std::size_t written) {
    std::vector<AmiTreeEntry*> open;  // branches not yet closed, the root at the bottom
    for (std::size_t i = 0; i < written; ++i) {
        AmiTreeEntry& entry = tree.entries[i];
        if (i == 0 && entry.kind == AmiBranch) {
            open.push_back(&entry);
            continue;
        }
        while (!open.empty() && open.back()->level >= entry.level) {
            if (open.size() == 1) return AmiParseOutsideRoot;
            open.pop_back();
        }
        if (open.empty()) return AmiParseNoParent;
        if (entry.level == open.back()->level + 1) {
            open.back()->node->children.push_back(entry);
            if (entry.kind == AmiBranch) open.push_back(&entry);
        }
    }
    return AmiParseOk;
}

int32_t BuildAmiTree(const char* text, AmiTree** out) {
    std::size_t openCount = 0;
    if (!CountAmiParentheses(text, openCount)) return AmiParseUnbalanced;
    if (openCount > static_cast<std::size_t>(INT32_MAX)) return AmiParseNoMemory;
    auto tree = std::make_unique<AmiTree>();
    tree->entries.resize(openCount);
    AmiScanner scanner(text, *tree);
    if (int32_t status = scanner.Scan(); status != AmiParseOk) return status;
    if (int32_t status = LinkAmiTree(*tree, scanner.Written()); status != AmiParseOk) {
        return status;
    }
    *out = tree.release();
    return AmiParseOk;
}

}  // namespace

int32_t ParseAmiTree(const char* text, AmiTree** tree) {
    if (!text || !tree) return AmiParseNoParent;
    text = SkipCSpace(text);
    if (*text != '(') return AmiParseNoOpening;
    try {
        return BuildAmiTree(text, tree);
    } catch (...) {
        // Only allocation can fail here; the caller's process must go on.
        return AmiParseNoMemory;
    }
}

void FreeAmiTree(AmiTree** tree) {
    if (!tree) return;
    delete *tree;
    *tree = nullptr;
}

int32_t ClassifyAmiValueType(const char* text) {
    if (!text || *text == '\0') return AmiValueEmpty;
    char* end = nullptr;
    CStrtol(text, &end);
    if (*end == '\0') return AmiValueInteger;
    CStrtod(text, &end);
    if (*end == '\0') return AmiValueFloat;
    if (std::strcmp(text, "True") == 0 || std::strcmp(text, "False") == 0) return AmiValueBoolean;
    return AmiValueString;
}

int32_t ClassifyAmiValueKeyword(int32_t type, std::string_view text) {
    if (type != AmiValueString) return AmiNoKeyword;
    for (std::size_t code = 0; code < kValueKeywords.size(); ++code) {
        if (kValueKeywords[code] == text) return static_cast<int32_t>(code);
    }
    return AmiNoKeyword;
}

int32_t ClassifyAmiNameKeyword(std::string_view name) {
    for (std::size_t code = 1; code < kNameKeywords.size(); ++code) {
        if (kNameKeywords[code] == name) return static_cast<int32_t>(code);
    }
    return AmiNameOther;
}

bool CountAmiParentheses(const char* text, std::size_t& openCount) {
    openCount = 0;
    if (!text) return true;
    std::size_t opening = 0;
    std::size_t closing = 0;
    bool inQuotes = false;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '"') {
            inQuotes = !inQuotes;
        } else if (!inQuotes) {
            opening += (*p == '(');
            closing += (*p == ')');
        }
    }
    if (opening != closing) return false;
    openCount = opening;
    return true;
}
