#include "gui/shell/recently_used.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <climits>

namespace kelvo::gui {
namespace {

// The list's elements are matched by their usual prefixes, which every
// writer of the format uses; namespace processing stays off so that the
// prefixes and declarations of the file are copied exactly as they are.
constexpr auto kFreedesktopOwner = "http://freedesktop.org";

QString Stamp(const QDateTime& t) { return t.toUTC().toString(Qt::ISODateWithMs); }

class CXbelUpdate {
 public:
  CXbelUpdate(const RecentUse& use, QByteArray* out)
      : use_(use), href_(QUrl::fromLocalFile(QFileInfo(use.path).absoluteFilePath())),
        stamp_(Stamp(use.when)), w_(out) {}

  // Copies `in` to the output with the use recorded; false when `in` is not
  // a well-formed bookmark list.
  bool Copy(const QByteArray& in) {
    QXmlStreamReader r(in);
    r.setNamespaceProcessing(false);
    int depth = 0;
    while (!r.atEnd()) {
      r.readNext();
      if (r.isStartElement()) {
        ++depth;
        if (depth == 1 && r.qualifiedName() != QLatin1String("xbel")) return false;
        if (StartElement(r, depth)) --depth;  // the element was consumed whole
        continue;
      }
      if (r.isEndElement()) {
        EndElement(r, depth);
        --depth;
      }
      if (r.tokenType() != QXmlStreamReader::Invalid) w_.writeCurrentToken(r);
    }
    return !r.hasError() && seen_root_;
  }

  void WriteNew() {
    w_.setAutoFormatting(true);
    w_.writeStartDocument();
    w_.writeStartElement(QStringLiteral("xbel"));
    w_.writeAttribute(QStringLiteral("version"), QStringLiteral("1.0"));
    w_.writeAttribute(QStringLiteral("xmlns:bookmark"),
                      QStringLiteral("http://www.freedesktop.org/standards/desktop-bookmarks"));
    w_.writeAttribute(QStringLiteral("xmlns:mime"),
                      QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    WriteBookmark();
    w_.writeEndElement();
    w_.writeEndDocument();
  }

 private:
  // Returns true when it consumed the element including its end.
  bool StartElement(QXmlStreamReader& r, int depth) {
    const auto name = r.qualifiedName();
    if (depth == 1) seen_root_ = true;
    if (depth == 2 && name == QLatin1String("bookmark") && !found_ &&
        QUrl(r.attributes().value(QLatin1String("href")).toString()) == href_) {
      found_ = true;
      ours_ = true;
      app_written_ = false;
      w_.writeStartElement(name.toString());
      for (const QXmlStreamAttribute& a : r.attributes()) {
        const auto n = a.qualifiedName();
        if (n != QLatin1String("modified") && n != QLatin1String("visited"))
          w_.writeAttribute(n.toString(), a.value().toString());
      }
      w_.writeAttribute(QStringLiteral("modified"), stamp_);
      w_.writeAttribute(QStringLiteral("visited"), stamp_);
      return false;
    }
    if (!ours_) {
      CopyStart(r);
      return false;
    }
    if (name == QLatin1String("metadata") &&
        r.attributes().value(QLatin1String("owner")) == QLatin1String(kFreedesktopOwner))
      metadata_depth_ = depth;
    if (name == QLatin1String("bookmark:application") && !app_written_ &&
        r.attributes().value(QLatin1String("name")) == use_.app_name) {
      bool ok = false;
      int count = r.attributes().value(QLatin1String("count")).toInt(&ok);
      if (!ok || count < 0) count = 0;
      WriteApplication(count < INT_MAX ? count + 1 : count);
      r.skipCurrentElement();
      return true;
    }
    CopyStart(r);
    return false;
  }

  // The element's start with its prefix and attributes as the file has them
  // (the writer's own copy would drop unprocessed prefixes).
  void CopyStart(const QXmlStreamReader& r) {
    w_.writeStartElement(r.qualifiedName().toString());
    for (const QXmlStreamAttribute& a : r.attributes())
      w_.writeAttribute(a.qualifiedName().toString(), a.value().toString());
  }

  // Adds what our bookmark still lacks before the element closes.
  void EndElement(QXmlStreamReader& r, int depth) {
    const auto name = r.qualifiedName();
    if (depth == 1 && !found_) WriteBookmark();
    if (!ours_ || app_written_) {
      if (ours_ && depth == 2) ours_ = false;
      return;
    }
    if (name == QLatin1String("bookmark:applications")) {
      WriteApplication(1);
    } else if (name == QLatin1String("metadata") && depth == metadata_depth_) {
      w_.writeStartElement(QStringLiteral("bookmark:applications"));
      WriteApplication(1);
      w_.writeEndElement();
    } else if (name == QLatin1String("info")) {
      WriteMetadata();
    } else if (depth == 2) {
      WriteInfo();
    }
    if (depth == 2) ours_ = false;
  }

  void WriteBookmark() {
    w_.writeStartElement(QStringLiteral("bookmark"));
    w_.writeAttribute(QStringLiteral("href"), QString::fromLatin1(href_.toEncoded()));
    w_.writeAttribute(QStringLiteral("added"), stamp_);
    w_.writeAttribute(QStringLiteral("modified"), stamp_);
    w_.writeAttribute(QStringLiteral("visited"), stamp_);
    WriteInfo();
    w_.writeEndElement();
    found_ = true;
  }

  void WriteInfo() {
    w_.writeStartElement(QStringLiteral("info"));
    WriteMetadata();
    w_.writeEndElement();
  }

  void WriteMetadata() {
    w_.writeStartElement(QStringLiteral("metadata"));
    w_.writeAttribute(QStringLiteral("owner"), QString::fromLatin1(kFreedesktopOwner));
    w_.writeEmptyElement(QStringLiteral("mime:mime-type"));
    w_.writeAttribute(QStringLiteral("type"), use_.mime_type);
    w_.writeStartElement(QStringLiteral("bookmark:applications"));
    WriteApplication(1);
    w_.writeEndElement();
    w_.writeEndElement();
  }

  void WriteApplication(int count) {
    w_.writeEmptyElement(QStringLiteral("bookmark:application"));
    w_.writeAttribute(QStringLiteral("name"), use_.app_name);
    w_.writeAttribute(QStringLiteral("exec"), use_.app_exec);
    w_.writeAttribute(QStringLiteral("modified"), stamp_);
    w_.writeAttribute(QStringLiteral("count"), QString::number(count));
    app_written_ = true;
  }

  const RecentUse& use_;
  const QUrl href_;
  const QString stamp_;
  QXmlStreamWriter w_;
  bool seen_root_ = false;
  bool found_ = false;        // our bookmark was met (or written)
  bool ours_ = false;         // inside our bookmark
  bool app_written_ = false;  // our application entry is in it
  int metadata_depth_ = -1;
};

}  // namespace

QString DefaultRecentlyUsedPath() {
  return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
      .filePath(QStringLiteral("recently-used.xbel"));
}

bool RecordRecentUse(const QString& xbel_path, const RecentUse& use) {
  QByteArray old;
  QFile in(xbel_path);
  const bool existed = in.exists();
  if (existed) {
    if (!in.open(QIODevice::ReadOnly)) return false;
    old = in.readAll();
    in.close();
  }
  QByteArray out;
  CXbelUpdate update(use, &out);
  if (old.trimmed().isEmpty()) update.WriteNew();
  else if (!update.Copy(old)) return false;  // someone else's list we cannot read: keep it

  if (!QDir().mkpath(QFileInfo(xbel_path).absolutePath())) return false;
  QSaveFile file(xbel_path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  // The list tells what the user worked on: readable by the user only.
  file.setPermissions(existed ? in.permissions() : (QFile::ReadOwner | QFile::WriteOwner));
  if (file.write(out) != out.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QString KelvoMimeType(const QString& path) {
  static const struct {
    const char* extension;
    const char* type;
  } kTypes[] = {
      {".kdi", "application/x-kelvo-disk-image"}, {".fnt", "application/x-kelvo-font"},
      {".img", "application/x-kelvo-image"},      {".jsl", "application/x-kelvo-job-source"},
      {".pch", "application/x-kelvo-patch"},      {".fsl", "application/x-kelvo-form-source"},
      {".cmd", "application/x-kelvo-command"},    {".tsk", "application/x-kelvo-task"},
  };
  for (const auto& t : kTypes)
    if (path.endsWith(QLatin1String(t.extension), Qt::CaseInsensitive))
      return QString::fromLatin1(t.type);
  return {};
}

}  // namespace kelvo::gui
