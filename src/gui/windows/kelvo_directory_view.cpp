#include "gui/windows/kelvo_directory_view.h"

#include <QStyle>

#include "filetypes/file_types.h"

namespace kelvo::gui {

CKelvoDirectoryView::CKelvoDirectoryView(QWidget* parent) : QTreeWidget(parent) {
  setHeaderHidden(true);
  auto* root = new QTreeWidgetItem(this, {QStringLiteral("Directories")});
  root->setIcon(0, style()->standardIcon(QStyle::SP_DriveFDIcon));
  all_files_ = new QTreeWidgetItem(root, {QStringLiteral("All Files")});
  all_files_->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
  all_files_->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
  root->setExpanded(true);
  setCurrentItem(all_files_);
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
    if (item != all_files_) return;
    qDeleteAll(item->takeChildren());
    for (const std::string& label : TypeDirectoryLabels()) {
      auto* child = new QTreeWidgetItem(item, {QString::fromStdString(label)});
      child->setIcon(0, style()->standardIcon(QStyle::SP_DirIcon));
    }
    item->sortChildren(0, Qt::AscendingOrder);
  });
  connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) {
    if (item == all_files_) qDeleteAll(item->takeChildren());
  });
}

}  // namespace kelvo::gui
