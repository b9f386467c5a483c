// The File menu's list of the four files opened or saved last, kept in the
// settings store between runs ("Recent File 1" ... "Recent File 4").
#pragma once

#include <QStringList>

#include "app/key_value_store.h"

namespace kelvo::gui {

inline constexpr int kRecentFileCount = 4;

// The stored list, newest first; missing and empty values are passed over.
QStringList LoadRecentFileList(const CKeyValueStore& store);
// Stores `files` (at most four); the values of unused places are emptied.
void SaveRecentFileList(const QStringList& files, CKeyValueStore& store);

}  // namespace kelvo::gui
