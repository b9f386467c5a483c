// Size texts of the file lists and the status bar.
#pragma once

#include <QString>

namespace kelvo::gui {

// The 32-bit and 64-bit size texts ("1.00KB" and so on).
QString SizeText32(quint64 n);
QString SizeText64(quint64 n);

}  // namespace kelvo::gui
