#include "gui/dialogs/disk_progress_dialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>

namespace kelvo::gui {

CDiskProgressDlg::CDiskProgressDlg(QWidget* parent) : QDialog(parent) {
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("Status"));
  progress_ = new QProgressBar(this);
  progress_->setTextVisible(false);
  progress_->setValue(0);
}

QString CDiskProgressDlg::StatusText() const { return status_->text(); }

void CDiskProgressDlg::ShowStatus(const std::string& text) {
  const QString t = QString::fromStdString(text);
  if (status_->text() != t) status_->setText(t);
}

void CDiskProgressDlg::ShowRange(int low, int high) { progress_->setRange(low, high); }

void CDiskProgressDlg::ShowPos(int pos) {
  progress_->setValue(pos);
  Q_EMIT progressMoved(pos);
}

void CDiskProgressDlg::SetRunning(bool running) {
  running_ = running;
  stop_pressed_ = false;
  ShowRunning(running);
}

void CDiskProgressDlg::reject() {
  if (running_) {
    stop_pressed_ = true;
    return;
  }
  QDialog::reject();
}

void CDiskProgressDlg::closeEvent(QCloseEvent* e) {
  if (running_) {
    stop_pressed_ = true;
    e->ignore();
    return;
  }
  QDialog::closeEvent(e);
}

}  // namespace kelvo::gui
