#include "gui/windows/qva_restore_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/shell/shell_context.h"

namespace kelvo::gui {

CQvaRestoreDlg::CQvaRestoreDlg(const bool& tape_busy, QWidget* parent)
    : QDialog(parent), model_(tape_busy) {
  setObjectName(QStringLiteral("QvaRestoreDialog"));
  setWindowTitle(QString::fromLatin1(CQvaRestoreModel::kTitle));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  system_id_ = AddField(grid, 0, QStringLiteral("System ID:"), "system_id");
  output_directory_ = AddField(grid, 1, QStringLiteral("Output Directory:"), "output_directory");
  current_file_ = AddField(grid, 2, QStringLiteral("Current File:"), "current_file");
  files_restored_ = AddField(grid, 3, QStringLiteral("Files Restored:"), "files_restored");
  status_ = AddField(grid, 4, QStringLiteral("Status:"), "status");
  disk_unit_ = AddField(grid, 5, QStringLiteral("Current Disk Unit:"), "disk_unit");
  elapsed_ = AddField(grid, 6, QStringLiteral("Elapsed Time:"), "elapsed");
  grid->setColumnStretch(1, 1);
  layout->addLayout(grid);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  progress_->setValue(0);
  progress_->setTextVisible(false);
  layout->addWidget(progress_);
  auto* row = new QHBoxLayout;
  button_ = new QPushButton(this);
  button_->setObjectName(QStringLiteral("button"));
  button_->setAutoDefault(false);
  connect(button_, &QPushButton::clicked, this, &CQvaRestoreDlg::PressButton);
  row->addStretch(1);
  row->addWidget(button_);
  row->addStretch(1);
  layout->addLayout(row);
  setMinimumWidth(420);
  clock_ = new QTimer(this);
  clock_->setInterval(1000);
  connect(clock_, &QTimer::timeout, this, [this] {
    model_.Tick();
    Show();
  });
  Refresh();
}

CQvaRestoreDlg::~CQvaRestoreDlg() = default;

QLabel* CQvaRestoreDlg::AddField(QGridLayout* grid, int row, const QString& label,
                                 const char* name) {
  grid->addWidget(new QLabel(label, this), row, 0);
  auto* value = new QLabel(this);
  value->setObjectName(QString::fromLatin1(name));
  value->setTextFormat(Qt::PlainText);
  value->setMinimumWidth(260);
  grid->addWidget(value, row, 1);
  return value;
}

void CQvaRestoreDlg::EnsureShown() {
  // The window appears with the restore's first report, so a drive that
  // cannot be opened shows only its message.
  if (isVisible()) return;
  used_ = true;
  show();
  raise();
}

void CQvaRestoreDlg::Show() {
  EnsureShown();
  Refresh();
}

void CQvaRestoreDlg::Refresh() {
  auto set = [](QLabel* l, const std::string& text) {
    const QString t = Q(text);
    if (l->text() != t) l->setText(t);
  };
  set(system_id_, model_.SystemId());
  set(output_directory_, model_.OutputDirectory());
  set(current_file_, model_.CurrentFile());
  set(files_restored_, model_.FilesRestored());
  set(status_, model_.Status());
  set(disk_unit_, model_.CurrentDiskUnit());
  set(elapsed_, model_.ElapsedTime());
  if (progress_->value() != model_.Progress()) progress_->setValue(model_.Progress());
  const QString button = Q(model_.ButtonText());
  if (button_->text() != button) button_->setText(button);
}

void CQvaRestoreDlg::SetSystemId(const std::string& text) { model_.SetSystemId(text); Show(); }
void CQvaRestoreDlg::SetOutputDirectory(const std::string& text) { model_.SetOutputDirectory(text); Show(); }
void CQvaRestoreDlg::SetCurrentFile(const std::string& text) { model_.SetCurrentFile(text); Show(); }
void CQvaRestoreDlg::SetFilesRestored(const std::string& text) { model_.SetFilesRestored(text); Show(); }
void CQvaRestoreDlg::SetStatus(const std::string& text) { model_.SetStatus(text); Show(); }
void CQvaRestoreDlg::SetCurrentDiskUnit(const std::string& text) { model_.SetCurrentDiskUnit(text); Show(); }
void CQvaRestoreDlg::SetProgress(int percent) { model_.SetProgress(percent); Show(); }

void CQvaRestoreDlg::StartClock() {
  model_.StartClock();
  clock_->start();
  Show();
}

void CQvaRestoreDlg::StopClock() {
  clock_->stop();
  model_.StopClock();
  Show();
}

void CQvaRestoreDlg::PressButton() {
  model_.PressButton();
  Show();
}

void CQvaRestoreDlg::reject() { PressButton(); }

void CQvaRestoreDlg::closeEvent(QCloseEvent* e) {
  // The restore destroys the window once the user has closed it.
  e->ignore();
  PressButton();
}

void CQvaRestoreDlg::WaitForClose() {
  if (!used_) return;
  // A window hidden with the main window (the program is closing) cannot be
  // closed by the user any more: stop waiting then.
  while (model_.IsOpen() && isVisible())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

QString CQvaRestoreDlg::FieldText(const char* field) const {
  auto* l = findChild<QLabel*>(QString::fromLatin1(field));
  return l ? l->text() : QString();
}

}  // namespace kelvo::gui
