#include "gui/dialogs/select_directory_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>

namespace kelvo::gui {
namespace {

// Picture codes of the folder list's items.
enum FolderCode { kClosed = 10, kOpen = 11, kSelected = 12 };
constexpr int kCodeRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;

}  // namespace

CSelectDirectoryDlg::CSelectDirectoryDlg(ShellContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx) {
  setObjectName(QStringLiteral("SelectDirectoryDialog"));
  setWindowTitle(QStringLiteral("Select Directory"));
  auto* layout = new QVBoxLayout(this);
  auto* name_label = new QLabel(QStringLiteral("Directory &Name:"), this);
  path_ = new QLineEdit(this);
  folders_ = new QListWidget(this);
  name_label->setBuddy(folders_);
  auto* drive_label = new QLabel(QStringLiteral("Dri&ves:"), this);
  drives_ = new QComboBox(this);
  drive_label->setBuddy(drives_);
  layout->addWidget(name_label);
  layout->addWidget(path_);
  layout->addWidget(folders_, 1);
  layout->addWidget(drive_label);
  layout->addWidget(drives_);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  const QString current = QDir::currentPath();
  int select = 0;
  for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
    if (!v.isValid() || !v.isReady()) continue;
    const QString root = v.rootPath();
    if (root.startsWith(QLatin1String("/proc")) || root.startsWith(QLatin1String("/sys")) ||
        root.startsWith(QLatin1String("/dev")) || root.startsWith(QLatin1String("/run")))
      continue;
    drives_->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon),
                     v.name().isEmpty() ? root : QStringLiteral("%1 (%2)").arg(v.name(), root), root);
    if (current.startsWith(root) &&
        root.size() >= drives_->itemData(select).toString().size())
      select = drives_->count() - 1;
  }
  drives_->setCurrentIndex(select);
  connect(drives_, &QComboBox::activated, this, &CSelectDirectoryDlg::ChooseDrive);
  connect(folders_, &QListWidget::itemDoubleClicked, this, &CSelectDirectoryDlg::ChooseItem);
  FillFolderList(current);
}

void CSelectDirectoryDlg::FillFolderList(const QString& path_in) {
  folders_->clear();
  QString path = QDir::cleanPath(path_in);
  const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
  // The root first, then each component, each indented by its depth.
  QString so_far = QStringLiteral("/");
  auto add = [&](const QString& text, const QString& full, int depth, int code) {
    auto* item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + text, folders_);
    item->setData(kCodeRole, code);
    item->setData(kPathRole, full);
    item->setIcon(style()->standardIcon(code == kClosed ? QStyle::SP_DirClosedIcon
                                                        : QStyle::SP_DirOpenIcon));
    return item;
  };
  QListWidgetItem* current = add(QStringLiteral("/"), so_far, 0, parts.isEmpty() ? kSelected : kOpen);
  for (int i = 0; i < parts.size(); ++i) {
    so_far = QDir(so_far).filePath(parts[i]);
    current = add(parts[i], so_far, i + 1, i + 1 == parts.size() ? kSelected : kOpen);
  }
  const QStringList subfolders =
      QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& name : subfolders) {
    if (name.startsWith(QLatin1Char('.'))) continue;
    add(name, QDir(path).filePath(name), static_cast<int>(parts.size()) + 1, kClosed);
  }
  folders_->setCurrentItem(current);
  const int first = std::max(0, folders_->row(current) - 2);
  folders_->scrollToItem(folders_->item(first), QAbstractItemView::PositionAtTop);
  path_->setText(path);
}

void CSelectDirectoryDlg::Enter(const QString& path) {
  if (!QDir::setCurrent(path)) return;  // folders that cannot be entered are ignored
  FillFolderList(QDir::currentPath());
}

void CSelectDirectoryDlg::ChooseItem(QListWidgetItem* item) {
  if (!item || item->data(kCodeRole).toInt() == kSelected) return;
  Enter(item->data(kPathRole).toString());
}

void CSelectDirectoryDlg::ChooseDrive(int index) {
  Enter(drives_->itemData(index).toString());
}

void CSelectDirectoryDlg::accept() {
  const QString path = path_->text();
  if (!QDir::setCurrent(path)) {
    ctx_.ui->Ask(("Invalid Path Specified: " + path).toStdString(), kAppTitle, Buttons::Ok,
                 Icon::Exclamation);
    return;
  }
  ctx_.settings.TapeRestorePath = S(QDir::currentPath());
  QDialog::accept();
}

}  // namespace kelvo::gui
