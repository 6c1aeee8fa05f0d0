// Test support: component text that draws no finding of its own, for tests of other sections.
#pragma once

#include <string>

// A component with its manufacturer, package values and the given [Pin] rows; the default is
// one GND pin, which no model check looks at. 8 lines plus one per further pin row.
inline std::string CleanComponent(const std::string& name = "c",
                                  const std::string& pinRows = "1 gnd GND\n") {
    return "[Component] " + name +
           "\n[Manufacturer] m\n[Package]\nR_pkg 1m NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n"
           "[Pin] signal_name model_name\n" +
           pinRows;
}
