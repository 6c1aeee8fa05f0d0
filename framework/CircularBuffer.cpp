#include "framework/CircularBuffer.h"

namespace Vexlor {

CircularBufferBase::~CircularBufferBase() = default;

template class CircularBuffer<double>;

}  // namespace Vexlor
