// Deleting and renaming PC files, with failures as error codes.
#pragma once

#include <QString>

#include "core/error_codes.h"

namespace kelvo::gui {

ErrorCode DeletePcFile(const QString& path);
// Refuses to replace an existing file (80, "Cannot rename. File already exists.").
ErrorCode RenamePcFile(const QString& from, const QString& to);

}  // namespace kelvo::gui
