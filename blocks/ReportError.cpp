#include "blocks/ReportError.h"

#include <iostream>

namespace Vexlor {

void ReportError(std::string_view message) { std::cerr << message << std::endl; }

}  // namespace Vexlor
