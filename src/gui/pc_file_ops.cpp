#include "gui/pc_file_ops.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <QFile>

namespace kelvo::gui {
namespace {

// UNFINISHED: a few errno values by hand until the engine's errno mapping is merged.
ErrorCode FromErrno(int e) {
  switch (e) {
    case ENOENT: return ERR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM: return ERR_ACCESS_DENIED;
    case EEXIST: return ERR_FILE_EXISTS;
    case EROFS: return ERR_WRITE_PROTECT;
    case EBUSY: return ERR_SHARING_VIOLATION;
    default: return ERR_ACCESS_DENIED;
  }
}

}  // namespace

ErrorCode DeletePcFile(const QString& path) {
  const QByteArray native = QFile::encodeName(path);
  return ::unlink(native.constData()) == 0 ? 0 : FromErrno(errno);
}

ErrorCode RenamePcFile(const QString& from, const QString& to) {
  const QByteArray f = QFile::encodeName(from);
  const QByteArray t = QFile::encodeName(to);
  // Never replace an existing file.
  if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0) return 0;
  return FromErrno(errno);
}

}  // namespace kelvo::gui
