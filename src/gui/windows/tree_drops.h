// Drops on the items of a tree pane: a drag of files over an item is
// accepted like a drag over the file list, and the drop is handed on with
// the item it landed on.
#pragma once

#include <QMimeData>
#include <QTreeWidget>
#include <functional>

namespace kelvo::gui {

// Whether `data` carries files a list or tree takes: the "KelvoFileList"
// block or local file URLs.
bool AcceptsFileDrop(const QMimeData* data);

using TreeDropHandler = std::function<void(QTreeWidgetItem* item, const QMimeData* data)>;

// Makes `tree` take drops on its items; `on_drop` gets the item dropped on
// (never null: drops beside every item are refused).
void AcceptTreeDrops(QTreeWidget* tree, TreeDropHandler on_drop);

}  // namespace kelvo::gui
