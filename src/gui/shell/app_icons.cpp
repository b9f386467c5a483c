#include "gui/shell/app_icons.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QStyle>

#include "filetypes/file_types.h"

// The icons are built into the kdisk_gui library: registered by hand, since
// nothing else refers to them.
static void InitIconResources() { Q_INIT_RESOURCE(kdisk_icons); }

namespace kelvo::gui {
namespace {

QIcon Resource(const char* name) {
  static const bool once = (InitIconResources(), true);
  (void)once;
  return QIcon(QStringLiteral(":/icons/") + QLatin1String(name));
}

// The drawn icon of a printer type code, or null for a type without one.
const char* PrinterIconName(const QString& code) {
  static const QHash<QString, const char*> names = [] {
    QHash<QString, const char*> m;
    for (const char* c : {"FNT", "FN6", "FIS", "VFF", "VFM"}) m.insert(c, "font.svg");
    for (const char* c : {"IMG", "IM6", "LGO", "LG6", "FRM", "FR6"}) m.insert(c, "image.svg");
    for (const char* c : {"CMD", "FSL", "JSL", "PCH", "LIB", "TMP", "TPF", "MSC"}) m.insert(c, "source.svg");
    for (const char* c : {"$Y$", "SYS", "DAT", "LOG", "OSD", "SAF", "TSK", "CME", "TST", "JDL", "PDE",
                          "ICT", "IDR", "STK", "ISL", "KCS"})
      m.insert(c, "system.svg");
    return m;
  }();
  return names.value(code.toUpper(), nullptr);
}

}  // namespace

QIcon AppIcon() {
  static const QIcon icon = Resource("kdisk.svg");
  return icon;
}

QIcon FileIcon(PlaceKind kind, const QString& name) {
  // One icon per extension: lists of thousands of files ask for each row.
  static QHash<QString, QIcon> cache;
  const QString suffix = QFileInfo(name).suffix();
  const QString key = QString::number(static_cast<int>(kind)) + QLatin1Char('.') + suffix.toUpper();
  auto it = cache.constFind(key);
  if (it != cache.constEnd()) return *it;
  QIcon icon;
  const bool printer_file = kind != PlaceKind::PcFolder || FindFileType(suffix.toUpper().toStdString());
  if (const char* drawn = printer_file ? PrinterIconName(suffix) : nullptr) icon = Resource(drawn);
  if (icon.isNull() && kind == PlaceKind::PcFolder) {
    static QFileIconProvider provider;
    icon = provider.icon(QFileInfo(name));
  }
  if (icon.isNull()) icon = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  cache.insert(key, icon);
  return icon;
}

}  // namespace kelvo::gui
