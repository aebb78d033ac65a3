#pragma once

#include "core/platform/Result.h"

namespace tessaldo {

// The outcome of a file operation: success, or a sentence for the user that
// names the file and the reason.
using FileStatus = Result<void>;

} // namespace tessaldo
