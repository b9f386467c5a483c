#include "gui/dialogs/restore_progress_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/shell/shell_context.h"
#include "transfer/transfer_progress.h"

namespace kelvo::gui {
namespace {

constexpr int kFieldWidth = 330;  // pixels of a field beside its label

QLabel* AddField(QGridLayout* grid, int row, const QString& label, QLabel* field,
                 QWidget* parent) {
  if (!label.isEmpty()) grid->addWidget(new QLabel(label, parent), row, 0);
  field->setMinimumWidth(kFieldWidth);
  field->setTextFormat(Qt::PlainText);
  grid->addWidget(field, row, 1);
  return field;
}

}  // namespace

CRestoreProgressDlg::CRestoreProgressDlg(const bool& tape_busy, QWidget* parent, Clock clock)
    : QDialog(parent), model_(tape_busy, std::move(clock)) {
  setObjectName(QStringLiteral("RestoreProgressDlg"));
  setModal(false);
  auto* grid = new QGridLayout;
  source_ = AddField(grid, 0, QStringLiteral("Source:"), new QLabel(this), this);
  output_directory_ =
      AddField(grid, 1, QStringLiteral("Output Directory:"), new QLabel(this), this);
  output_directory_->setFixedWidth(kFieldWidth);
  status_ = AddField(grid, 2, QStringLiteral("Status:"), new QLabel(this), this);
  counter_label_ = new QLabel(this);
  grid->addWidget(counter_label_, 3, 0);
  counter_ = AddField(grid, 3, QString(), new QLabel(this), this);
  elapsed_ = AddField(grid, 4, QStringLiteral("Elapsed Time:"), new QLabel(this), this);
  current_file_ = AddField(grid, 5, QStringLiteral("Current File:"), new QLabel(this), this);
  progress_ = new QProgressBar(this);
  progress_->setRange(0, 100);
  progress_->setTextVisible(false);
  button_ = new QPushButton(this);
  button_->setObjectName(QStringLiteral("ProgressButton"));
  button_->setDefault(true);
  connect(button_, &QPushButton::clicked, this, &CRestoreProgressDlg::PressButton);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(button_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(progress_);
  layout->addLayout(buttons);
  timer_ = new QTimer(this);
  timer_->setInterval(1000);
  connect(timer_, &QTimer::timeout, this, &CRestoreProgressDlg::Tick);
  ShowModel();
}

CRestoreProgressDlg::~CRestoreProgressDlg() {
  if (wait_loop_) wait_loop_->quit();
}

void CRestoreProgressDlg::ShowModel() {
  source_->setText(Q(model_.Source()));
  const std::string& dir = model_.OutputDirectory();
  const QFontMetrics metrics = output_directory_->fontMetrics();
  const int room = output_directory_->width() > 0 ? output_directory_->width() : kFieldWidth;
  const auto fits = [&](std::string_view t) {
    return metrics.horizontalAdvance(QString::fromUtf8(t.data(), int(t.size()))) <= room;
  };
  output_directory_->setText(Q(ShortenPathText(dir, fits)));
  output_directory_->setToolTip(Q(dir));
  status_->setText(Q(model_.Status()));
  counter_label_->setText(Q(model_.CounterLabel()));
  counter_->setText(Q(model_.Counter()));
  elapsed_->setText(Q(model_.ElapsedTime()));
  current_file_->setText(Q(model_.CurrentFile()));
  progress_->setValue(model_.Progress());
  button_->setText(Q(model_.ButtonText()));
}

void CRestoreProgressDlg::EnsureShown() {
  if (shown_) return;
  shown_ = true;
  adjustSize();
  if (QWidget* owner = parentWidget()) {
    const QRect frame = owner->window()->geometry();
    move(frame.center() - rect().center());
  }
  show();
}

void CRestoreProgressDlg::SetTitle(const std::string& text) {
  setWindowTitle(Q(text));
  EnsureShown();
}

void CRestoreProgressDlg::SetSource(const std::string& text) {
  model_.SetSource(text);
  ShowModel();
}

void CRestoreProgressDlg::SetOutputDirectory(const std::string& text) {
  model_.SetOutputDirectory(text);
  ShowModel();
}

void CRestoreProgressDlg::SetStatus(const std::string& text) {
  model_.SetStatus(text);
  ShowModel();
}

void CRestoreProgressDlg::SetCounterLabel(const std::string& text) {
  model_.SetCounterLabel(text);
  ShowModel();
}

void CRestoreProgressDlg::SetCounter(const std::string& text) {
  model_.SetCounter(text);
  ShowModel();
}

void CRestoreProgressDlg::SetCurrentFile(const std::string& text) {
  model_.SetCurrentFile(text);
  ShowModel();
}

void CRestoreProgressDlg::SetProgress(int percent) {
  model_.SetProgress(percent);
  progress_->setValue(model_.Progress());
}

void CRestoreProgressDlg::StartClock() {
  EnsureShown();
  model_.StartClock();
  timer_->start();
  ShowModel();
}

void CRestoreProgressDlg::StopClock() {
  timer_->stop();
  model_.StopClock();
  ShowModel();
}

void CRestoreProgressDlg::Tick() {
  model_.Tick();
  elapsed_->setText(Q(model_.ElapsedTime()));
}

void CRestoreProgressDlg::PressButton() {
  model_.PressButton();
  ShowModel();
  if (model_.IsOpen()) return;
  hide();
  if (wait_loop_) wait_loop_->quit();
}

void CRestoreProgressDlg::reject() { PressButton(); }

void CRestoreProgressDlg::closeEvent(QCloseEvent* e) {
  // Closing the window is the button: an abort while the tape works.
  e->ignore();
  PressButton();
}

void CRestoreProgressDlg::WaitForClose() {
  if (!IsOpen()) {
    hide();
    return;
  }
  QPointer<CRestoreProgressDlg> self(this);
  QEventLoop loop;
  wait_loop_ = &loop;
  loop.exec();
  if (!self) return;  // destroyed with its owner meanwhile
  wait_loop_ = nullptr;
  hide();
}

QString CRestoreProgressDlg::SourceText() const { return source_->text(); }
QString CRestoreProgressDlg::OutputDirectoryText() const { return output_directory_->toolTip(); }
QString CRestoreProgressDlg::StatusText() const { return status_->text(); }
QString CRestoreProgressDlg::CounterLabelText() const { return counter_label_->text(); }
QString CRestoreProgressDlg::CounterText() const { return counter_->text(); }
QString CRestoreProgressDlg::ElapsedTimeText() const { return elapsed_->text(); }
QString CRestoreProgressDlg::CurrentFileText() const { return current_file_->text(); }
int CRestoreProgressDlg::ProgressValue() const { return progress_->value(); }

}  // namespace kelvo::gui
