#pragma once
// The two functions a channel simulator finds in libquarnel.so. Integer arguments and
// results are 32-bit signed; a caller that declares them as `long` on x86-64 passes the
// same registers.
#include <cstdint>

#define QUARNEL_AMI_EXPORT __attribute__((visibility("default")))

extern "C" {

// Filters the impulse-response columns in place and returns 1 when every phase of every
// processed column succeeded, 0 otherwise. *AMI_memory_handle always receives the instance
// (pass it to AMI_Close); *msg receives the message text only when there is one.
QUARNEL_AMI_EXPORT std::int32_t AMI_Init(double* impulse_matrix, std::int32_t row_size,
                                         std::int32_t aggressors, double sample_interval,
                                         double bit_time, char* AMI_parameters_in,
                                         char** AMI_parameters_out, void** AMI_memory_handle,
                                         char** msg);

// Releases what AMI_Init created; a null handle is accepted. Always returns 1.
QUARNEL_AMI_EXPORT std::int32_t AMI_Close(void* AMI_memory_handle);

using AmiInitFunction = std::int32_t (*)(double*, std::int32_t, std::int32_t, double, double, char*,
                                         char**, void**, char**);
using AmiCloseFunction = std::int32_t (*)(void*);
}
