// The image window: one scrolling view showing the decoded raster in the
// image's ink colour, zoomed and turned, inside a thin frame.
#pragma once

#include <QImage>
#include <QWidget>
#include <memory>

#include "core/interaction.h"
#include "gui/viewers/scroll_size_view.h"
#include "viewers/image_view_model.h"

namespace kelvo::gui {

class CImgView : public CScrollSizeView {
  Q_OBJECT
 public:
  // Makes the full bitmap from `doc` (whose raster is then released) and
  // shows it turned one quarter turn at the default zoom.
  CImgView(CImgDoc& doc, const ImageViewOptions& options, Interaction& ui,
           QWidget* parent = nullptr);

  bool CanZoomIn() const { return model_.CanZoomIn(); }
  bool CanZoomOut() const { return model_.CanZoomOut(); }
  void ZoomIn();
  void ZoomOut();
  void Rotate();

  const CImgViewModel& Model() const { return model_; }
  // The display bitmap as drawn (ink colour on the background).
  const QImage& DisplayImage() const { return display_; }

 protected:
  void PaintDocument(QPainter& p, const QRect& clip) override;

 private:
  void DisplayChanged();

  CImgViewModel model_;
  Interaction& ui_;
  QImage display_;
};

class CImgFrame : public QWidget {
  Q_OBJECT
 public:
  CImgFrame(std::unique_ptr<CImgDoc> doc, const QString& path, const ImageViewOptions& options,
            Interaction& ui, QWidget* parent = nullptr);
  ~CImgFrame() override;

  const CImgDoc& Document() const { return *doc_; }
  CImgView* View() const { return view_; }

 private:
  std::unique_ptr<CImgDoc> doc_;
  CImgView* view_;
};

}  // namespace kelvo::gui
