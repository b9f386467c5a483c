// CKelvoDirectoryView: the tree of a printer disk's window: "Directories"
// with the node "All Files", which lists the 35 type directories (in lower
// case, sorted) while it is expanded and drops them when collapsed.
#pragma once

#include <QTreeWidget>

namespace kelvo::gui {

class CKelvoDirectoryView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit CKelvoDirectoryView(QWidget* parent = nullptr);
  QTreeWidgetItem* AllFiles() const { return all_files_; }

 private:
  QTreeWidgetItem* all_files_;
};

}  // namespace kelvo::gui
