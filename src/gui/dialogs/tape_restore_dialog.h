// CTapeRestoreDlg: "Restore Files from Tape". The user names the files by a
// specification, the destination folder, the restore options and the tape
// format; OK stores the fields in the settings, checks them (a failed check
// keeps the dialog open with its message and the field's text selected),
// closes the dialog and runs the restore through the runner it was given,
// reporting a nonzero result once.
#pragma once

#include <QDialog>
#include <functional>

#include "gui/shell/shell_context.h"
#include "app/restore_request.h"

class QComboBox;
class QLineEdit;
class QCheckBox;
class QRadioButton;
class QPushButton;

namespace kelvo::gui {

class CTapeRestoreDlg : public QDialog {
  Q_OBJECT
 public:
  // Runs a checked request; returns 0 or the error code still to be shown.
  using Runner = std::function<ErrorCode(const TapeRestoreRequest&)>;

  CTapeRestoreDlg(ShellContext& ctx, const QStringList& drives, Runner runner,
                  QWidget* parent = nullptr);

  void accept() override;
  // "Browse...": the "Select Directory" dialog; its choice becomes the destination.
  void Browse();

  const TapeRestoreRequest& Request() const { return request_; }
  // The result of the restore OK ran (0 until then).
  ErrorCode Result() const { return result_; }

  QComboBox* Source() const { return source_; }
  QLineEdit* FileName() const { return file_name_; }
  QLineEdit* Destination() const { return destination_; }
  QCheckBox* TypeDirs() const { return type_dirs_; }
  QCheckBox* UserFilesOnly() const { return user_files_only_; }
  QRadioButton* FormatButton(TapeFormat format) const;
  QPushButton* BrowseButton() const { return browse_; }

 private:
  void TakeFields();
  void ShowProblem(const RequestCheck& check);

  ShellContext& ctx_;
  Runner runner_;
  TapeRestoreRequest request_;
  ErrorCode result_ = 0;
  QComboBox* source_;
  QLineEdit* file_name_;
  QLineEdit* destination_;
  QCheckBox* type_dirs_;
  QCheckBox* user_files_only_;
  QRadioButton* labelled_;
  QRadioButton* unlabelled_;
  QRadioButton* qva_;
  QPushButton* browse_;
};

}  // namespace kelvo::gui
