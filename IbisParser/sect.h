// One R/L/C section of a package model pin line: "Len=... R=... L=... C=... /".
#pragma once

#include <memory>
#include <optional>

struct RLC_SECTION {
    std::optional<double> Len;
    std::optional<double> L;
    std::optional<double> R;
    std::optional<double> C;
};

// Reads one section from text. Returns 1 with the section, or with none when the text holds no
// section (empty, or only items in error); 0 after an error that ends the line (the closing "/"
// missing). position receives where reading stopped.
int SECT_Read(const char* text, std::unique_ptr<RLC_SECTION>* section, const char** position);
