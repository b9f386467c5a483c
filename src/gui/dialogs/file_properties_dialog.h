// The Properties dialog of a printer file.
#pragma once

#include <QDialog>

#include "diskfs/listing.h"

namespace kelvo::gui {

class CFilePropertiesDlg : public QDialog {
  Q_OBJECT
 public:
  CFilePropertiesDlg(const ListedFile& file, QWidget* parent = nullptr);
  // The value shown beside `label` ("File Name:" ...); empty when absent.
  QString Value(const QString& label) const;
};

}  // namespace kelvo::gui
