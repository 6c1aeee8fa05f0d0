#include "amitree/AmiParameters.h"

#include "IbisParser/cmn.h"
#include "amitree/CLocaleText.h"

#include <cmath>
#include <vector>

namespace {

constexpr std::size_t kNoMatch = std::string_view::npos;

// When path begins with its first `base` characters, then a '.' (if withDot) and then name,
// returns the length of that beginning; otherwise kNoMatch. Paths are matched piece by piece
// against the request instead of being built, so a deep tree costs no long strings.
std::size_t MatchNext(std::string_view path, std::size_t base, bool withDot,
                      std::string_view name) {
    std::size_t start = base;
    if (withDot) {
        if (start >= path.size() || path[start] != '.') return kNoMatch;
        ++start;
    }
    if (path.size() - start < name.size() || path.substr(start, name.size()) != name) {
        return kNoMatch;
    }
    return start + name.size();
}

struct SearchFrame {
    const AmiNode* branch;
    std::size_t pathLength;  // the branch's own path is the request's first pathLength chars
    std::size_t nextChild;
};

// Depth-first over the children in text order, with an explicit stack instead of recursion.
const AmiNode* SearchBranches(std::vector<SearchFrame>& stack, std::string_view path) {
    while (!stack.empty()) {
        SearchFrame& frame = stack.back();
        if (frame.nextChild == frame.branch->children.size()) {
            stack.pop_back();
            continue;
        }
        const AmiTreeEntry& child = frame.branch->children[frame.nextChild++];
        if (!child.node) continue;
        if (child.kind == AmiLeaf) {
            if (MatchNext(path, frame.pathLength, true, child.node->name) == path.size()) {
                return child.node;
            }
        } else if (!child.node->children.empty()) {
            const std::size_t length =
                MatchNext(path, frame.pathLength, frame.pathLength > 0, child.node->name);
            if (length != kNoMatch) stack.push_back({child.node, length, 0});
        }
    }
    return nullptr;
}

}  // namespace

const AmiNode* FindAmiLeaf(const AmiNode* node, std::string_view path, std::string_view prefix) {
    if (!node || node->children.empty()) return nullptr;
    if (path.substr(0, prefix.size()) != prefix) return nullptr;
    const std::size_t length = MatchNext(path, prefix.size(), !prefix.empty(), node->name);
    if (length == kNoMatch) return nullptr;
    try {
        std::vector<SearchFrame> stack{{node, length, 0}};
        return SearchBranches(stack, path);
    } catch (...) {
        return nullptr;  // the search stack could not grow
    }
}

AmiParameters::AmiParameters(const char* parameterString) {
    status_ = ParseAmiTree(parameterString, &tree_);
    parsed_ = status_ == AmiParseOk;
}

AmiParameters::~AmiParameters() { FreeAmiTree(&tree_); }

const AmiValue* AmiParameters::FirstValue(const char* path) const {
    if (!parsed_ || !tree_ || tree_->entries.empty() || !path) return nullptr;
    const AmiNode* root = tree_->entries.front().node;
    if (!root) return nullptr;
    const AmiNode* leaf = FindAmiLeaf(root, path, {});
    if (!leaf || leaf->values.empty()) return nullptr;
    return &leaf->values.front();
}

bool AmiParameters::GetDouble(double& value, const char* path) const {
    const AmiValue* first = FirstValue(path);
    if (!first || (first->type != AmiValueInteger && first->type != AmiValueFloat)) return false;
    value = CStrtod(first->text.c_str(), nullptr);
    return true;
}

bool AmiParameters::GetInt(int32_t& value, const char* path) const {
    double number = 0.0;
    if (!GetDouble(number, path)) return false;
    const double truncated = std::trunc(number);
    // Outside this range (or NaN) the conversion to int32_t would be undefined.
    if (!(truncated >= INT32_MIN && truncated <= INT32_MAX)) return false;
    value = static_cast<int32_t>(truncated);
    return true;
}

bool AmiParameters::GetBool(bool& value, const char* path) const {
    const AmiValue* first = FirstValue(path);
    if (!first || first->type != AmiValueBoolean) return false;
    value = CMN_StrEqualNoCase(first->text.c_str(), "true") != 0;
    return true;
}

bool AmiParameters::GetString(std::string& value, const char* path) const {
    const AmiValue* first = FirstValue(path);
    if (!first || first->type != AmiValueString) return false;
    try {
        value = first->text;
    } catch (...) {
        return false;  // value keeps its old text
    }
    return true;
}
