#include "gui/windows/pc_file_ops.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <QFile>

#include "core/errno_map.h"

namespace kelvo::gui {

ErrorCode DeletePcFile(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  return ::unlink(native.constData()) == 0 ? 0 : MapErrno(errno);
}

ErrorCode RenamePcFile(const QString& from, const QString& to) {
  const QByteArray f = QFile::encodeName(from);
  const QByteArray t = QFile::encodeName(to);
  // Never replace an existing file.
  if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0) return 0;
  return MapErrno(errno);
}

}  // namespace kelvo::gui
