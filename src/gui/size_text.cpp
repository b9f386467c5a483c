#include "gui/size_text.h"

#include "gui/file_list_model.h"

namespace kelvo::gui {

// UNFINISHED: shows plain byte counts until the engine's size texts are merged.
QString SizeText32(quint64 n) { return GroupDigits(n) + QStringLiteral(" bytes"); }
QString SizeText64(quint64 n) { return GroupDigits(n) + QStringLiteral(" bytes"); }

}  // namespace kelvo::gui
