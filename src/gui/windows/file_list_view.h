// The right pane of an explorer window: three caption strips over a list in
// one of four presentations (large icons, small icons, list, details), all
// sharing one model and one selection. Gestures (Delete key, double click,
// drag start, drop) are handed to the owning window through signals and the
// drag callback.
#pragma once

#include <QMimeData>
#include <QWidget>
#include <functional>

#include "gui/windows/file_list_model.h"

class QStackedWidget;
class QTreeView;
class QListView;
class QAbstractItemView;
class QMimeData;
class QItemSelectionModel;

namespace kelvo::gui {

class CStatusWnd;

enum class Presentation { LargeIcons, SmallIcons, List, Details };

class CFileListView : public QWidget {
  Q_OBJECT
 public:
  explicit CFileListView(CFileListModel* model, QWidget* parent = nullptr);

  CFileListModel* Model() const { return model_; }
  void SetCaptions(const QString& contents, const QString& count, const QString& sizes);
  QStringList CaptionTexts() const;
  // The width the caption strip needs to show its three texts whole.
  int CaptionsWidth() const;
  void SetPresentation(Presentation p);
  Presentation CurrentPresentation() const { return presentation_; }
  QAbstractItemView* CurrentView() const;
  QTreeView* DetailsView() const { return details_; }
  QListView* IconView() const { return icons_; }
  QItemSelectionModel* Selection() const { return selection_; }

  // Selected rows in list order.
  QList<int> SelectedRows() const;
  QStringList SelectedNames() const;
  void SelectAll();
  void SelectNames(const QStringList& names);
  bool Editing() const;
  // Starts editing the name of the current (or first selected) entry.
  bool EditCurrent();
  // Column widths of the details presentation.
  void SetColumnWidths(const QList<int>& widths);
  QList<int> ColumnWidths() const;

  // Builds the drag data for the current selection; empty means no drag.
  std::function<QMimeData*()> make_drag_data;

 Q_SIGNALS:
  void deletePressed();
  void openRequested(int row);
  void dropped(const QMimeData* data);
  void columnResized();

 private:
  CFileListModel* model_;
  QItemSelectionModel* selection_;
  QStackedWidget* stack_;
  QTreeView* details_;
  QListView* icons_;
  CStatusWnd* captions_[3];
  Presentation presentation_ = Presentation::Details;
};

}  // namespace kelvo::gui
