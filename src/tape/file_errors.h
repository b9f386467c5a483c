// Mapping of the C library's errno values met on PC files and tape images to
// the program's error codes.
#pragma once

#include "transfer/error_codes.h"

namespace kelvo {

// The error code for `errnum` after a failed file operation.
ErrorCode FileErrorCode(int errnum);

}  // namespace kelvo
