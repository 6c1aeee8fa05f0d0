#pragma once

// Typed reads of an IBIS-AMI parameter string by dotted path.
//
//     AmiParameters parameters(AMI_parameters_in);       // parses once; never throws
//     double gain = 0.0;                                  // the default
//     if (!parameters.GetDouble(gain, "Quarnel.Gain")) {
//         // gain is unchanged: the string did not parse, the path is missing or names a
//         // branch, or the leaf's first value is not a number
//     }
//
// A path is the names from the root down to a leaf, joined by '.': in
//     (Quarnel (Taps (0 0.1) (1 0.8)) (Gain 0))
// "Quarnel.Taps.1" reads 0.8 and "Quarnel.Gain" reads 0. The root's name is part of every
// path; names are compared exactly (case-sensitive); only leaves are found; when a path
// occurs twice the first one in the text wins. Only a leaf's first value is read.
//
// Getters do not change the holder, so one holder may be read from several threads; holders
// share nothing, so threads may each build their own at once.

#include "amitree/AmiTree.h"

#include <cstdint>
#include <string>
#include <string_view>

class AmiParameters {
public:
    // Parses parameterString (which may be null, or anything else). A string that does not
    // parse leaves the holder without a tree: it stays usable and every getter fails.
    explicit AmiParameters(const char* parameterString);
    ~AmiParameters();
    AmiParameters(const AmiParameters&) = delete;
    AmiParameters& operator=(const AmiParameters&) = delete;

    // Each getter returns true and sets value on success; on failure it returns false and
    // leaves value as it was.

    // The first value is an integer or a floating-point number (C library conversion in the
    // C locale, whatever the process's locale).
    bool GetDouble(double& value, const char* path) const;
    // As GetDouble, truncated toward zero; fails also for NaN and for values outside the
    // 32-bit range.
    bool GetInt(int32_t& value, const char* path) const;
    // The first value is exactly "True" or "False" ("true" is a plain string and fails).
    bool GetBool(bool& value, const char* path) const;
    // The first value is a string value (not a number, boolean or empty value).
    bool GetString(std::string& value, const char* path) const;

    // True when the string parsed (ParseStatus() is AmiParseOk).
    bool Parsed() const { return parsed_; }
    // The AmiParseStatus of the parse, for callers that report why nothing could be read.
    int32_t ParseStatus() const { return status_; }
    // The parsed tree, or null; owned by the holder.
    const AmiTree* Tree() const { return tree_; }

private:
    const AmiValue* FirstValue(const char* path) const;

    bool parsed_ = false;
    int32_t status_ = AmiParseNoParent;
    AmiTree* tree_ = nullptr;
};

// Finds the leaf at path below node, whose own path is prefix + "." + its name (its name
// alone when prefix is empty). Returns null when node is null or has no children, or when
// no leaf matches. Does not recurse, so any nesting depth is safe.
const AmiNode* FindAmiLeaf(const AmiNode* node, std::string_view path, std::string_view prefix);
