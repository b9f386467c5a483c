#include "gui/dialogs/copy_disk_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <memory>

#include "diskfs/copy_disk.h"
#include "gui/shell/document_types.h"
#include "gui/shell/floppy_drives.h"

namespace kelvo::gui {
namespace {

const char kImageFilter[] = "Kelvo Disk Image Files (.kdi) (*.kdi)";
const char kFloppyImageFilter[] =
    "Floppy Images (*.IMG *.IMA *.DSK *.IMD *.HFE *.SCP *.img *.ima *.dsk *.imd *.hfe *.scp)";

}  // namespace

CCopyDiskDlg::CCopyDiskDlg(ShellContext& ctx, std::vector<PresentDevice> floppies,
                                 std::function<void(const QString&)> refresh_drive,
                                 QWidget* parent)
    : CDiskProgressDlg(parent), ctx_(ctx), floppies_(std::move(floppies)),
      refresh_drive_(std::move(refresh_drive)) {
  setWindowTitle(QStringLiteral("Copy Disk"));
  setObjectName(QStringLiteral("CopyDiskDialog"));
  source_ = MakeSide(QStringLiteral("Source"), true, &source_group_);
  destination_ = MakeSide(QStringLiteral("Destination"), false, &destination_group_);
  Progress()->setRange(0, kFileSystemCylinders);
  copy_ = new QPushButton(QStringLiteral("Copy"), this);
  copy_->setDefault(true);
  close_ = new QPushButton(QStringLiteral("Close"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(copy_);
  buttons->addWidget(close_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(source_group_);
  layout->addWidget(destination_group_);
  layout->addWidget(StatusLine());
  layout->addWidget(Progress());
  layout->addLayout(buttons);
  connect(copy_, &QPushButton::clicked, this, [this] { Copy(); });
  connect(close_, &QPushButton::clicked, this, &CCopyDiskDlg::reject);
}

CCopyDiskDlg::Side CCopyDiskDlg::MakeSide(const QString& title, bool source,
                                                QWidget** group) {
  auto* box = new QGroupBox(title, this);
  box->setObjectName(title);
  Side side;
  side.use_drive = new QRadioButton(QStringLiteral("Drive:"), box);
  side.drive = new QComboBox(box);
  for (const PresentDevice& d : floppies_) side.drive->addItem(DriveDisplayName(d));
  side.use_file = new QRadioButton(QStringLiteral("File:"), box);
  side.file = new QLineEdit(box);
  side.browse = new QPushButton(QStringLiteral("Browse..."), box);
  auto* grid = new QGridLayout(box);
  grid->addWidget(side.use_drive, 0, 0);
  grid->addWidget(side.drive, 0, 1, 1, 2);
  grid->addWidget(side.use_file, 1, 0);
  grid->addWidget(side.file, 1, 1);
  grid->addWidget(side.browse, 1, 2);
  grid->setColumnStretch(1, 1);
  const bool drives = !floppies_.empty();
  side.use_drive->setEnabled(drives);
  (drives ? side.use_drive : side.use_file)->setChecked(true);
  // Only the chosen kind of end can be edited.
  auto follow = [side] {
    const bool drive = side.use_drive->isChecked();
    side.drive->setEnabled(drive);
    side.file->setEnabled(!drive);
    side.browse->setEnabled(!drive);
  };
  connect(side.use_drive, &QRadioButton::toggled, box, follow);
  follow();
  connect(side.browse, &QPushButton::clicked, this, [this, source] { Browse(source); });
  *group = box;
  return side;
}

void CCopyDiskDlg::Browse(bool source) {
  Side& side = source ? source_ : destination_;
  QFileDialog dialog(this, source ? QStringLiteral("Source") : QStringLiteral("Destination"),
                     QFileInfo(side.file->text()).absolutePath());
  dialog.setObjectName(source ? QStringLiteral("BrowseSource") : QStringLiteral("BrowseDestination"));
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setNameFilters({QString::fromLatin1(kImageFilter), QString::fromLatin1(kFloppyImageFilter)});
  dialog.setDefaultSuffix(QStringLiteral("kdi"));
  if (source) {
    dialog.setFileMode(QFileDialog::ExistingFile);
  } else {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString path = dialog.selectedFiles().first();
  if (source && !OpensAsDiskImage(path)) {
    ctx_.ui->Ask("The specified file type is invalid", kAppTitle, Buttons::Ok, Icon::Exclamation);
    return;
  }
  side.file->setText(QDir::toNativeSeparators(path));
}

const PresentDevice* CCopyDiskDlg::DriveOf(const Side& side) const {
  if (!side.use_drive->isChecked()) return nullptr;
  const int i = side.drive->currentIndex();
  return i >= 0 && i < static_cast<int>(floppies_.size()) ? &floppies_[static_cast<size_t>(i)]
                                                          : nullptr;
}

void CCopyDiskDlg::ShowRunning(bool running) {
  source_group_->setEnabled(!running);
  destination_group_->setEnabled(!running);
  copy_->setEnabled(!running);
  close_->setText(running ? QStringLiteral("&Stop") : QStringLiteral("&Cancel"));
}

ErrorCode CCopyDiskDlg::Copy() {
  if (Running()) return ERR_OK;
  Interaction& ui = *ctx_.ui;
  const PresentDevice* from = DriveOf(source_);
  const PresentDevice* to = DriveOf(destination_);
  auto unusable = [&ui] {
    ui.ReportError(ERR_DRIVE_ACCESS);
    return ERR_DRIVE_ACCESS;
  };
  std::unique_ptr<CFloppyDrive> source_drive;
  std::unique_ptr<CFloppyDrive> destination_drive;
  DiskCopyEnd source;
  DiskCopyEnd destination;
  if (from) {
    if (!(source_drive = MakeFloppyDrive(*from))) return unusable();
    source.drive = source_drive.get();
  } else {
    source.image = QFile::encodeName(source_.file->text()).toStdString();
  }
  if (to && from && to->name == from->name) {
    destination.drive = source.drive;  // one drive: the disks are swapped in it
  } else if (to) {
    if (!(destination_drive = MakeFloppyDrive(*to))) return unusable();
    destination.drive = destination_drive.get();
  } else {
    destination.image = QFile::encodeName(destination_.file->text()).toStdString();
  }
  const QString written = to ? to->name : QString();
  SetRunning(true);
  const ErrorCode rc = CopyDisk(source, destination, ui, *this);
  source_drive.reset();
  destination_drive.reset();
  SetRunning(false);
  if (rc == ERR_OK && !written.isEmpty() && refresh_drive_) refresh_drive_(written);
  return rc;
}

}  // namespace kelvo::gui
