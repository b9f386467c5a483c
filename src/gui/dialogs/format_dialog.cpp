#include "gui/dialogs/format_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "diskfs/format.h"
#include "gui/shell/floppy_drives.h"

namespace kelvo::gui {
namespace {

constexpr int kDiskIdLength = 30;

}  // namespace

CFormatDlg::CFormatDlg(ShellContext& ctx, std::vector<PresentDevice> floppies, Hooks hooks,
                             QWidget* parent)
    : CDiskProgressDlg(parent), ctx_(ctx), floppies_(std::move(floppies)), hooks_(std::move(hooks)) {
  setWindowTitle(QStringLiteral("Format Disk"));
  setObjectName(QStringLiteral("FormatDialog"));
  drive_ = new QComboBox(this);
  drive_->setObjectName(QStringLiteral("DriveType"));
  for (const PresentDevice& d : floppies_) drive_->addItem(DriveDisplayName(d));
  capacity_ = new QComboBox(this);
  capacity_->setObjectName(QStringLiteral("Capacity"));
  capacity_->addItems({QStringLiteral("720K"), QStringLiteral("1.2M")});
  disk_id_ = new QLineEdit(this);
  disk_id_->setObjectName(QStringLiteral("DiskId"));
  disk_id_->setMaxLength(kDiskIdLength);
  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("Drive Type"), drive_);
  fields->addRow(QStringLiteral("Capacity"), capacity_);
  fields->addRow(QStringLiteral("Disk Id"), disk_id_);

  auto* mode = new QGroupBox(this);
  quick_ = new QRadioButton(QStringLiteral("Quick (erase)"), mode);
  full_ = new QRadioButton(QStringLiteral("Full"), mode);
  full_->setChecked(true);
  auto* mode_layout = new QHBoxLayout(mode);
  mode_layout->addWidget(quick_);
  mode_layout->addWidget(full_);

  Progress()->setRange(0, kFormattedCylinders - 1);
  start_ = new QPushButton(QStringLiteral("Start"), this);
  start_->setDefault(true);
  close_ = new QPushButton(QStringLiteral("Close"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(start_);
  buttons->addWidget(close_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(mode);
  layout->addWidget(StatusLine());
  layout->addWidget(Progress());
  layout->addLayout(buttons);

  connect(start_, &QPushButton::clicked, this, &CFormatDlg::Start);
  connect(close_, &QPushButton::clicked, this, &CFormatDlg::reject);
  connect(capacity_, &QComboBox::currentIndexChanged, this, &CFormatDlg::OnCapacityChanged);

  // The capacity a drive starts at: the printer's own formats when the
  // driver offers them, else the drive's native format.
  const PresentDevice* first = CurrentDrive();
  const bool five = first && !first->three_and_half;
  const bool driver = ctx_.app.FormatDriverPresent != 0;
  capacity_->setCurrentIndex(five == driver ? 0 : 1);
  OnDriveChanged();
  connect(drive_, &QComboBox::currentIndexChanged, this, &CFormatDlg::OnDriveChanged);
}

const PresentDevice* CFormatDlg::CurrentDrive() const {
  const int i = drive_->currentIndex();
  return i >= 0 && i < static_cast<int>(floppies_.size()) ? &floppies_[static_cast<size_t>(i)]
                                                          : nullptr;
}

void CFormatDlg::SelectDrive(const QString& drive) {
  for (size_t i = 0; i < floppies_.size(); ++i)
    if (floppies_[i].name.compare(drive, Qt::CaseInsensitive) == 0)
      drive_->setCurrentIndex(static_cast<int>(i));
}

void CFormatDlg::OnDriveChanged() {
  OnCapacityChanged();
  const PresentDevice* d = CurrentDrive();
  const QString shown = d && hooks_.shown_disk_id ? hooks_.shown_disk_id(d->name) : QString();
  disk_id_->setText(shown.isNull() ? QString::fromLatin1(kAppTitle) : shown);
}

void CFormatDlg::OnCapacityChanged() {
  const PresentDevice* d = CurrentDrive();
  media_ = d ? MediaForCapacity(S(capacity_->currentText()), DriveForm(*d)) : MediaKind::Unknown;
  UpdateStartEnabled();
}

void CFormatDlg::UpdateStartEnabled() {
  // Without the driver for the printer's formats a drive formats only its
  // native capacity.
  const PresentDevice* d = CurrentDrive();
  bool enabled = d != nullptr && !Running();
  if (enabled && ctx_.app.FormatDriverPresent == 0)
    enabled = media_ != MediaKind::F3_1Pt2_512 && media_ != MediaKind::F5_720_512;
  start_->setEnabled(enabled);
}

void CFormatDlg::ShowRunning(bool running) {
  close_->setText(running ? QStringLiteral("Cancel") : QStringLiteral("Close"));
  for (QWidget* w : {static_cast<QWidget*>(drive_), static_cast<QWidget*>(capacity_),
                     static_cast<QWidget*>(disk_id_), static_cast<QWidget*>(quick_),
                     static_cast<QWidget*>(full_)})
    w->setEnabled(!running);
  UpdateStartEnabled();
}

void CFormatDlg::Start() {
  const PresentDevice* d = CurrentDrive();
  if (Running() || !d) return;
  Interaction& ui = *ctx_.ui;
  std::unique_ptr<CFloppyDrive> drive = MakeFloppyDrive(*d);
  if (!drive) {
    ui.ReportError(ERR_DRIVE_ACCESS);
    return;
  }
  if (full_->isChecked()) {
    // A drive that cannot be told the printer's geometries says why (the
    // description asks the device what it is).
    drive->DescribeDrive();
    const std::string refusal = drive->Device().FormatRefusal();
    if (!refusal.empty()) {
      ui.Ask(refusal, kAppTitle, Buttons::Ok, Icon::Exclamation);
      return;
    }
  }
  const PresentDevice entry = *d;
  FormatRequest request{media_, quick_->isChecked(), disk_id_->text().toLatin1().toStdString()};
  SetRunning(true);
  const FormatResult result = FormatDisk(*drive, request, ui, *this);
  drive.reset();
  SetRunning(false);
  if (result.code == ERR_OK && hooks_.refresh_drive) hooks_.refresh_drive(entry.name);
  ShowFormatOutcome(ui, result);
}

void CFormatDlg::ShowCapacity(MediaKind code) {
  const int index = capacity_->findText(Q(CapacityText(code)));
  if (index >= 0) capacity_->setCurrentIndex(index);
  media_ = code;
}

void CFormatDlg::ShowFullMode() { full_->setChecked(true); }

}  // namespace kelvo::gui
