#pragma once
// Coefficients of the transmitter's response filter, computed independently from the
// step-response table (a separate script evaluating the parabola slopes), for checking the
// model's output on a unit impulse.
#include <vector>

// At 2e11 Hz (5 ps): coefficients 0 to 11; the filter has 65.
inline const std::vector<double> responseAt5ps = {
    -9.030909187897639e-08, 0.0007808498754205474, 0.003084839722982482, 0.013534908725277748,
    0.0340221258474205,     0.05797470986534641,   0.08263024453281646,  0.10963257047836178,
    0.11417607880169758,    0.12226043221056715,   0.11205039947899628,  0.10107349920474315};
inline constexpr double responseAt5psTap32 = -0.0038291133941293527;
inline constexpr double responseAt5psTap64 = -5.6265690592041015e-05;
inline constexpr double responseAt5psSum = 0.9172707713761854;
inline constexpr int responseAt5psTaps = 65;

// At 1e11 Hz (10 ps): coefficients 0 to 4; the filter has 33.
inline const std::vector<double> responseAt10ps = {-1.8061818375795278e-07, 0.006169679445964964,
                                                   0.068044251694841, 0.16526048906563293,
                                                   0.22835215760339517};
