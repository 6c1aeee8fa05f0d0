#include "framework/Gain.h"

namespace Vexlor {

template class Gain<double>;

}  // namespace Vexlor
