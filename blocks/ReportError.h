#pragma once

#include <string_view>

namespace Vexlor {

// The blocks' one error path: the message as one line on standard error, flushed at once.
void ReportError(std::string_view message);

}  // namespace Vexlor
