// The EMI block of a model ([Begin EMI Model] ... [End EMI Model]): the keyword line and the
// Model_emi_type and Domain sub-parameter lines. The model router reports a missing
// [End EMI Model] itself.
#pragma once

#include <memory>

// Model_emi_type values.
enum MDLEMI_TYPE : int {
    MDLEMI_TYPE_NONE = 0,
    MDLEMI_FERRITE = 1,
    MDLEMI_NOT_A_FERRITE = 2,
};

// Domain values.
enum MDLEMI_DOMAIN : int {
    MDLEMI_DOMAIN_NONE = 0,
    MDLEMI_ANALOG = 1,
    MDLEMI_DIGITAL = 2,
};

struct MDLEMI {
    int model_emi_type = MDLEMI_TYPE_NONE;
    int domain = MDLEMI_DOMAIN_NONE;
    unsigned long line = 0;  // the line of the [Begin EMI Model] keyword
};

// The keyword line (the whole line); the model's record is made, or replaced when it has one.
void MDLEMI_Keyword(const char* text, std::unique_ptr<MDLEMI>& record);
// One data line of the block.
void MDLEMI_Line(const char* text, MDLEMI& record);
