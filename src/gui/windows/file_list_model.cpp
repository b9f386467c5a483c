#include "gui/windows/file_list_model.h"

#include "gui/shell/app_icons.h"

#include <QDateTime>
#include <QLocale>
#include <QIcon>
#include <QStyle>
#include <QApplication>
#include <algorithm>

#include "gui/shell/drag_payload.h"

namespace kelvo::gui {

QString GroupDigits(quint64 n) {
  QString digits = QString::number(n);
  QString out;
  const int len = static_cast<int>(digits.size());
  for (int i = 0; i < len; ++i) {
    if (i > 0 && (len - i) % 3 == 0) out += QLatin1Char(',');
    out += digits[i];
  }
  return out;
}

CFileListModel::CFileListModel(PlaceKind kind, QObject* parent)
    : QAbstractTableModel(parent), kind_(kind) {
  headers_ = {QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Type")};
  if (kind == PlaceKind::PcFolder) headers_ << QStringLiteral("Modified");
  if (kind == PlaceKind::Tape) headers_ << QStringLiteral("Seq No.");
}

void CFileListModel::SetRows(std::vector<FileRow> rows) {
  beginResetModel();
  rows_ = std::move(rows);
  endResetModel();
  if (sort_column_ >= 0) sort(sort_column_);
}

int CFileListModel::FindRow(const QString& name) const {
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  }
  return -1;
}

void CFileListModel::RemoveRow(const QString& name) {
  const int i = FindRow(name);
  if (i < 0) return;
  beginRemoveRows(QModelIndex(), i, i);
  rows_.erase(rows_.begin() + i);
  endRemoveRows();
}

void CFileListModel::AddOrReplaceRow(const FileRow& row) {
  const int i = FindRow(row.name);
  if (i >= 0) {
    rows_[static_cast<size_t>(i)] = row;
    Q_EMIT dataChanged(index(i, 0), index(i, columnCount() - 1));
    return;
  }
  const int n = static_cast<int>(rows_.size());
  beginInsertRows(QModelIndex(), n, n);
  rows_.push_back(row);
  endInsertRows();
}

void CFileListModel::ReplaceRow(int row, const FileRow& replacement) {
  if (row < 0 || row >= rowCount()) return;
  rows_[static_cast<size_t>(row)] = replacement;
  Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

QString CFileListModel::CellText(int row, int column) const {
  const FileRow& r = rows_[static_cast<size_t>(row)];
  switch (column) {
    case 0: return r.name;
    case 1: return GroupDigits(r.size);
    case 2: return r.type;
    case 3:
      if (kind_ == PlaceKind::Tape) return QString::number(r.seq);
      return QLocale::system().toString(QDateTime::fromMSecsSinceEpoch(r.modified_ms).toLocalTime(),
                                        QLocale::ShortFormat);
    default: return QString();
  }
}

int CFileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CFileListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant CFileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  if (role == Qt::DisplayRole || role == Qt::EditRole) return CellText(index.row(), index.column());
  if (role == Qt::TextAlignmentRole && index.column() == 1)
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  if (role == Qt::TextAlignmentRole && index.column() == 3 && kind_ == PlaceKind::Tape)
    return QVariant::fromValue(Qt::AlignHCenter | Qt::AlignVCenter);
  if (role == Qt::DecorationRole && index.column() == 0) return FileIcon(kind_, Row(index.row()).name);
  return {};
}

QVariant CFileListModel::headerData(int section, Qt::Orientation o, int role) const {
  if (o == Qt::Horizontal && role == Qt::DisplayRole && section < headers_.size())
    return headers_[section];
  return {};
}

Qt::ItemFlags CFileListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::ItemIsDropEnabled;
  Qt::ItemFlags f = Qt::ItemIsEnabled;
  if (index.row() < rowCount() && rows_[static_cast<size_t>(index.row())].selectable)
    f |= Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
  if (index.column() == 0 && kind_ != PlaceKind::Tape && names_editable_) f |= Qt::ItemIsEditable;
  return f;
}

bool CFileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || index.column() != 0 || !index.isValid()) return false;
  const QString name = value.toString().trimmed();
  const QString old = rows_[static_cast<size_t>(index.row())].name;
  // An empty edit, or the same name without regard to case, changes nothing.
  if (name.isEmpty() || name.compare(old, Qt::CaseInsensitive) == 0) return false;
  Q_EMIT renameRequested(index.row(), name);
  return true;
}

void CFileListModel::sort(int column, Qt::SortOrder) {
  if (rows_.empty() || column < 0 || column >= columnCount()) return;
  sort_column_ = column;
  Q_EMIT layoutAboutToBeChanged();
  auto by_text = [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  };
  const PlaceKind kind = kind_;
  std::vector<int> order(rows_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int ia, int ib) {
    const FileRow& a = rows_[static_cast<size_t>(ia)];
    const FileRow& b = rows_[static_cast<size_t>(ib)];
    switch (column) {
      case 0: return by_text(a.name, b.name);
      case 1: return a.size < b.size;
      case 2: return by_text(a.type, b.type);
      default:
        return kind == PlaceKind::Tape ? a.seq < b.seq : a.modified_ms < b.modified_ms;
    }
  });
  std::vector<FileRow> sorted;
  sorted.reserve(rows_.size());
  std::vector<int> new_row_of(rows_.size());
  for (size_t i = 0; i < order.size(); ++i) {
    sorted.push_back(std::move(rows_[static_cast<size_t>(order[i])]));
    new_row_of[static_cast<size_t>(order[i])] = static_cast<int>(i);
  }
  rows_ = std::move(sorted);
  // Keep selections and the current item on the same files.
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  for (const QModelIndex& i : before)
    after << index(new_row_of[static_cast<size_t>(i.row())], i.column());
  changePersistentIndexList(before, after);
  Q_EMIT layoutChanged();
}

QStringList CFileListModel::mimeTypes() const {
  return {QString::fromLatin1(kFileListMimeType), QStringLiteral("text/uri-list")};
}

}  // namespace kelvo::gui
