// The rows of an explorer window's file list and the columns each place kind
// shows. The model only holds and sorts rows; renames are handed to the window
// through renameRequested.
#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <QStringList>
#include <vector>

#include "transfer/place_kind.h"

namespace kelvo::gui {

struct FileRow {
  QString name;
  quint64 size = 0;
  QString type;
  qint64 modified_ms = 0;  // PC files: last write, ms since the epoch (UTC)
  int seq = 0;             // tape entries: sequence number on the tape
  bool selectable = true;  // false: the row refuses selection (and dragging)
};

// Size column text: the byte count grouped by three with ",".
QString GroupDigits(quint64 n);

class CFileListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit CFileListModel(PlaceKind kind, QObject* parent = nullptr);

  PlaceKind Kind() const { return kind_; }
  QStringList Headers() const { return headers_; }
  void SetRows(std::vector<FileRow> rows);
  const std::vector<FileRow>& Rows() const { return rows_; }
  const FileRow& Row(int i) const { return rows_[static_cast<size_t>(i)]; }
  int FindRow(const QString& name) const;  // -1 when absent; names compare without case
  void RemoveRow(const QString& name);
  void AddOrReplaceRow(const FileRow& row);
  void ReplaceRow(int row, const FileRow& replacement);
  int SortColumn() const { return sort_column_; }
  void SetNamesEditable(bool editable) { names_editable_ = editable; }
  // The text of one cell, as shown and as written to listings.
  QString CellText(int row, int column) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation o, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  // Sorts ascending by `column` (the order argument is not used: the lists
  // always sort ascending). An empty list is left as it is.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
  QStringList mimeTypes() const override;
  Qt::DropActions supportedDragActions() const override { return Qt::CopyAction | Qt::MoveAction; }
  Qt::DropActions supportedDropActions() const override { return Qt::CopyAction | Qt::MoveAction; }

 Q_SIGNALS:
  void renameRequested(int row, const QString& new_name);

 private:
  PlaceKind kind_;
  QStringList headers_;
  std::vector<FileRow> rows_;
  int sort_column_ = -1;
  bool names_editable_ = true;
};

}  // namespace kelvo::gui
