// The "Select Directory" dialog: a folder picker that moves the process's
// current folder while the user browses and, on OK, hands the chosen folder
// back as the "Tape Restore Path" setting.
#pragma once

#include <QDialog>

#include "gui/shell/shell_context.h"

class QListWidget;
class QListWidgetItem;
class QLineEdit;
class QComboBox;

namespace kelvo::gui {

class CSelectDirectoryDlg : public QDialog {
  Q_OBJECT
 public:
  CSelectDirectoryDlg(ShellContext& ctx, QWidget* parent = nullptr);
  void accept() override;
  // Fills the folder list: the components of `path`, then its subfolders.
  void FillFolderList(const QString& path);
  // A double click on an item: enter that folder.
  void ChooseItem(QListWidgetItem* item);
  void ChooseDrive(int index);

  QListWidget* folders_ = nullptr;
  QLineEdit* path_ = nullptr;
  QComboBox* drives_ = nullptr;

 private:
  void Enter(const QString& path);
  ShellContext& ctx_;
};

}  // namespace kelvo::gui
