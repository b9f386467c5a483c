// The device bar: one button per present floppy and tape drive. Pressing a
// button opens that device's window; a selection dropped on a button is
// copied to that device.
#pragma once

#include <QMimeData>
#include <QToolBar>
#include <vector>

#include "gui/windows/device_list.h"

class QMimeData;
class QToolButton;

namespace kelvo::gui {

class CDeviceBar : public QToolBar {
  Q_OBJECT
 public:
  CDeviceBar(const std::vector<PresentDevice>& devices, QWidget* parent = nullptr);
  QList<QToolButton*> Buttons() const { return buttons_; }

 Q_SIGNALS:
  void deviceActivated(const PresentDevice& device);
  void deviceDropped(const PresentDevice& device, const QMimeData* data);

 private:
  QList<QToolButton*> buttons_;
};

}  // namespace kelvo::gui
