// The "Copy Files" window shown while a transfer runs: the file being copied,
// where to, and Cancel.
#pragma once

#include <QDialog>

#include "transfer/transfer_progress.h"

class QLabel;

namespace kelvo::gui {

class CCopyFilesDlg final : public QDialog, public CCopyFilesSink {
  Q_OBJECT
 public:
  explicit CCopyFilesDlg(QWidget* parent = nullptr);

  void Show() override;
  void SetTo(const std::string& text) override;
  void SetCopying(const std::string& text) override;
  bool CancelRequested() const override { return cancelled_; }
  void Close() override;

  QString CopyingText() const;
  QString ToText() const;

 protected:
  void reject() override;  // Cancel, Escape or closing the window

 private:
  void SetField(QLabel* field, const std::string& text);

  QLabel* copying_;
  QLabel* to_;
  bool cancelled_ = false;
};

}  // namespace kelvo::gui
