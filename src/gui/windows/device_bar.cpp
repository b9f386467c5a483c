#include "gui/windows/device_bar.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QStyle>
#include <QToolButton>

#include "gui/shell/drag_payload.h"

namespace kelvo::gui {
namespace {

class CDeviceButton : public QToolButton {
 public:
  CDeviceButton(const PresentDevice& device, CDeviceBar* bar) : QToolButton(bar), device_(device) {
    setAcceptDrops(true);
    setText(device.Label());
    setToolTip(device.Label() + QStringLiteral(" \u2014 ") + device.device);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize({24, 24});
    setMinimumSize(36, 36);
    setIcon(style()->standardIcon(device.tape ? QStyle::SP_DriveNetIcon : QStyle::SP_DriveFDIcon));
    setObjectName(device.name);
  }
  std::function<void(const QMimeData*)> on_drop;

 protected:
  void dragEnterEvent(QDragEnterEvent* e) override { Accept(e); }
  void dragMoveEvent(QDragMoveEvent* e) override { Accept(e); }
  void dropEvent(QDropEvent* e) override {
    if (!e->mimeData()->hasFormat(QString::fromLatin1(kFileListMimeType)) && !e->mimeData()->hasUrls())
      return e->ignore();
    e->setDropAction(Qt::CopyAction);
    e->accept();
    if (on_drop) on_drop(e->mimeData());
  }

 private:
  void Accept(QDropEvent* e) {
    if (e->mimeData()->hasFormat(QString::fromLatin1(kFileListMimeType)) || e->mimeData()->hasUrls())
      e->acceptProposedAction();
    else
      e->ignore();
  }
  PresentDevice device_;
};

}  // namespace

CDeviceBar::CDeviceBar(const std::vector<PresentDevice>& devices, QWidget* parent)
    : QToolBar(QStringLiteral("Devices"), parent) {
  setObjectName(QStringLiteral("DeviceBar"));
  setIconSize({24, 24});
  for (const PresentDevice& d : devices) {
    auto* button = new CDeviceButton(d, this);
    button->on_drop = [this, d](const QMimeData* data) { Q_EMIT deviceDropped(d, data); };
    connect(button, &QToolButton::clicked, this, [this, d] { Q_EMIT deviceActivated(d); });
    addWidget(button);
    addSeparator();
    buttons_ << button;
  }
}

}  // namespace kelvo::gui
