// Interim errno mapping for image files, until the shared mapping lands.
#pragma once

#include "transfer/error_codes.h"

namespace kelvo {
ErrorCode ErrorFromErrno(int err);
}
