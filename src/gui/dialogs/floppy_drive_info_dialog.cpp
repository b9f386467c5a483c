#include "gui/dialogs/floppy_drive_info_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <vector>

#include "gui/shell/shell_context.h"
#include "media/floppy_device.h"

namespace kelvo::gui {
namespace {

struct FormatRow {
  const char* text;
  MediaKind code;
};

constexpr FormatRow kFormatRows[CFloppyDriveInfoDlg::kRows] = {
    {"3.5-inch 720k", MediaKind::F3_720_512},
    {"3.5-inch 1.2Mb", MediaKind::F3_1Pt2_512},
    {"5.25-inch 720k", MediaKind::F5_720_512},
    {"5.25-inch 1.2Mb", MediaKind::F5_1Pt2_512},
};

QPixmap CheckMark() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 2.5));
  p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
  return pixmap;
}

// The formats the drive bound to `device` reports; nothing when it cannot
// be asked.
std::vector<MediaKind> ReportedTypes(const QString& device) {
  std::vector<MediaKind> types;
  if (device.isEmpty()) return types;
  std::shared_ptr<CFloppyDevice> backend = MakeFloppyDevice(S(device));
  if (!backend || backend->GetMediaTypes(types) != ERR_OK) types.clear();
  return types;
}

}  // namespace

QString CFloppyDriveInfoDlg::RowText(int row) {
  return QString::fromLatin1(kFormatRows[row].text);
}

CFloppyDriveInfoDlg::CFloppyDriveInfoDlg(const std::array<QString, 2>& devices,
                                               QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(QStringLiteral("Floppy Drive Information"));
  setObjectName(QStringLiteral("FloppyDriveInformation"));
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("A:"), this), 0, 1, Qt::AlignHCenter);
  grid->addWidget(new QLabel(QStringLiteral("B:"), this), 0, 2, Qt::AlignHCenter);
  const QPixmap mark = CheckMark();
  for (int drive = 0; drive < 2; ++drive) {
    const std::vector<MediaKind> types = ReportedTypes(devices[static_cast<size_t>(drive)]);
    for (int row = 0; row < kRows; ++row) {
      auto* cell = new QLabel(this);
      cell->setObjectName(QStringLiteral("Mark%1%2").arg(row).arg(QChar('A' + drive)));
      cell->setMinimumSize(16, 16);
      for (MediaKind t : types)
        if (t == kFormatRows[row].code) cell->setPixmap(mark);
      grid->addWidget(cell, row + 1, drive + 1, Qt::AlignHCenter);
      marks_[static_cast<size_t>(row)][static_cast<size_t>(drive)] = cell;
    }
  }
  for (int row = 0; row < kRows; ++row) grid->addWidget(new QLabel(RowText(row), this), row + 1, 0);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  grid->addWidget(buttons, kRows + 1, 0, 1, 3);
}

bool CFloppyDriveInfoDlg::Marked(int row, int drive) const {
  const QLabel* cell = marks_[static_cast<size_t>(row)][static_cast<size_t>(drive)];
  return !cell->pixmap().isNull();
}

}  // namespace kelvo::gui
