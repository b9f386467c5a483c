#include "gui/dialogs/tape_drive_info_dialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/shell/shell_context.h"
#include "tape/tape_features.h"

namespace kelvo::gui {
namespace {

// The two marks: an empty box (not supported) and a ticked one.
QPixmap FeatureMark(bool supported) {
  QPixmap pm(13, 13);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::gray, 1));
  p.setBrush(supported ? QColor(0xd8, 0xf0, 0xd8) : QColor(Qt::white));
  p.drawRect(QRectF(0.5, 0.5, 12, 12));
  if (supported) {
    p.setPen(QPen(QColor(0x10, 0x80, 0x10), 2));
    p.drawPolyline(QPolygonF({QPointF(3, 6.5), QPointF(5.5, 9.5), QPointF(10, 3.5)}));
  }
  return pm;
}

// The immediate forms of the commands sit in a group of their own.
bool IsImmediateField(int field) { return field >= 1110 && field <= 1119; }

}  // namespace

CTapeDriveInfoDlg::CTapeDriveInfoDlg(const TapeDriveInfo& info, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TapeDriveInfoDialog"));
  setWindowTitle(Q(info.caption));
  auto* layout = new QVBoxLayout(this);

  auto* sizes = new QGridLayout;
  AddNumber(sizes, 0, QStringLiteral("Default Block Size:"), 1100);
  AddNumber(sizes, 1, QStringLiteral("Minimum Block Size:"), 1101);
  AddNumber(sizes, 2, QStringLiteral("Maximum Block Size:"), 1102);
  AddNumber(sizes, 3, QStringLiteral("Maximum Partitions:"), 1152);
  if (info.opened) {
    const TapeDriveParameters& d = info.drive;
    numbers_[1100]->setText(QString::asprintf("%d", static_cast<int>(d.default_block_size)));
    numbers_[1101]->setText(QString::asprintf("%d", static_cast<int>(d.minimum_block_size)));
    numbers_[1102]->setText(QString::asprintf("%d", static_cast<int>(d.maximum_block_size)));
    numbers_[1152]->setText(QString::asprintf("%d", static_cast<int>(d.maximum_partition_count)));
  }
  layout->addLayout(sizes);

  auto* features = new QGroupBox(QStringLiteral("Features"), this);
  auto* immediate = new QGroupBox(QStringLiteral("Immediate Commands"), this);
  auto* feature_grid = new QGridLayout(features);
  auto* immediate_grid = new QGridLayout(immediate);
  const QPixmap no = FeatureMark(false);
  const QPixmap yes = FeatureMark(true);
  int feature_count = 0;
  int immediate_count = 0;
  for (std::size_t i = 0; i < kTapeFeatureFieldCount; ++i) {
    const TapeFeatureField& f = kTapeFeatureFields[i];
    const bool on = info.opened &&
                    TapeFeatureReported(f, info.drive.features_low, info.drive.features_high);
    marks_[f.field] = on;
    auto* mark = new QLabel(this);
    mark->setObjectName(QStringLiteral("feature_%1").arg(f.field));
    mark->setPixmap(on ? yes : no);
    auto* label = new QLabel(QString::fromLatin1(f.label), this);
    const bool imm = IsImmediateField(f.field);
    QGridLayout* grid = imm ? immediate_grid : feature_grid;
    int& n = imm ? immediate_count : feature_count;
    const int columns = imm ? 2 : 3;
    grid->addWidget(mark, n / columns, (n % columns) * 2);
    grid->addWidget(label, n / columns, (n % columns) * 2 + 1);
    ++n;
  }
  // The marks stay beside their labels; spare width goes to the right.
  feature_grid->setColumnStretch(6, 1);
  immediate_grid->setColumnStretch(4, 1);
  layout->addWidget(features);
  layout->addWidget(immediate);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(QStringLiteral("&Close"), QDialogButtonBox::RejectRole);
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

QLabel* CTapeDriveInfoDlg::AddNumber(QGridLayout* grid, int row, const QString& label, int field) {
  grid->addWidget(new QLabel(label, this), row, 0);
  auto* value = new QLabel(this);
  value->setObjectName(QStringLiteral("field_%1").arg(field));
  value->setMinimumWidth(80);
  value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  grid->addWidget(value, row, 1);
  numbers_[field] = value;
  return value;
}

QString CTapeDriveInfoDlg::FieldText(int field) const {
  QLabel* l = numbers_.value(field);
  return l ? l->text() : QString();
}

bool CTapeDriveInfoDlg::FeatureMarked(int field) const { return marks_.value(field, false); }

}  // namespace kelvo::gui
