#pragma once
// The record behind the memory handle that AMI_Init gives out and AMI_Close takes back.
#include "model/Quarnel.h"

#include <string>

struct AmiInstance {
    Quarnel model;
    // Every message of this instance, concatenated; each one ends with a blank. The pointer
    // handed out through msg points into it and stays valid until AMI_Close.
    std::string Message;
};
