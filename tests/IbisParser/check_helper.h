// Test support: checks a text or a file as a caller does (settings, IBIS_New, PARSE_Text or
// PARSE_File, IBIS_Check, IBIS_Finish) and returns everything the user would see: the banner
// printed on standard output followed by the diagnostics and the summary.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

struct IBIS;

struct CheckOptions {
    std::string
        fileName;  // name the text is checked under; empty: "test" plus the kind's extension
    bool quiet = false;
    bool longLines = false;
    bool keepIllegalChars = false;
    bool noFileNameRules = false;
    bool allowVersion1 = false;
    bool forceVersion5 = false;
    bool quietErrors = false;
    bool quietWarnings = false;
    int versionInForce = 0;  // the IBIS version in force before the file (left by earlier files)
    bool unterminated = false;
    // Runs after IBIS_Check, before IBIS_Finish releases the record.
    std::function<void(IBIS*)> inspect;
};

// The folder in which CheckText writes its files (created on first use, one per process).
const std::filesystem::path& CheckDir();

// Checks text, from memory, as the file CheckDir()/fileName of the kind, from inside that folder:
// the banner names the file as "test.ibs" (or options.fileName) and files that the text names
// are looked for in that folder. Nothing is written.
std::string CheckText(std::string_view text, int kind, const CheckOptions& options = {});

// Writes a file below CheckDir() (creating folders), and checks a path relative to CheckDir().
void WriteCheckFile(const std::string& name, std::string_view text);
std::string CheckRelative(const std::string& path, int kind, const CheckOptions& options = {});

// Checks an existing path as kind; the path appears in the result as given.
std::string CheckPath(const std::string& path, int kind, const CheckOptions& options = {});
