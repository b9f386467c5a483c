#include "core/errno_map.h"

#include <cerrno>

namespace kelvo {
namespace {

bool IsTape(IoContext c) {
  return c == IoContext::TapeRead || c == IoContext::TapeWrite || c == IoContext::TapeControl;
}

// The errno values whose meaning depends on the operation; nullopt-like 0
// when the context does not change the general answer.
ErrorCode ByContext(int err, IoContext c) {
  switch (err) {
    case EACCES:
      // The tape driver reports a write to a protected tape this way.
      if (c == IoContext::Write || c == IoContext::TapeWrite) return ERR_WRITE_PROTECT;
      return 0;
    case EIO:
      switch (c) {
        case IoContext::Read:
          return ERR_CRC;
        case IoContext::Write:
        case IoContext::TapeWrite:
          return ERR_WRITE_FAULT;
        case IoContext::TapeRead:
          // A blank check: the end of what was recorded.
          return ERR_NO_DATA_DETECTED;
        default:
          return 0;
      }
    case ENOSPC:
      return IsTape(c) ? ERR_END_OF_MEDIA : 0;
    case ENOMEM:
      // A tape block longer than the read buffer.
      return c == IoContext::TapeRead ? ERR_MORE_DATA : 0;
    case ENOMEDIUM:
    case ENXIO:
      return IsTape(c) ? ERR_NO_MEDIA_IN_DRIVE : 0;
    case ENODEV:
      // The floppy driver's answer to formatting a missing or changed disk.
      return c == IoContext::Format ? ERR_NOT_READY : 0;
    case ENOTTY:
    case EOPNOTSUPP:
    case ENOSYS:
      return IsTape(c) ? ERR_NOT_SUPPORTED : 0;
    default:
      return 0;
  }
}

// What the floppy driver means by a few values: an unformatted or
// unreadable disk (the format and copy paths go on to format it after this
// code), no such drive, no disk, and a drive in use by another program
// (O_EXCL).
ErrorCode ByFloppy(int err) {
  switch (err) {
    case EIO:
      return ERR_SECTOR_NOT_FOUND;
    case ENOENT:
      return ERR_INVALID_DRIVE;
    case ENODEV:
      return ERR_NOT_READY;
    case EBUSY:
      return ERR_DRIVE_LOCKED;
    default:
      return 0;
  }
}

ErrorCode General(int err) {
  switch (err) {
    case 0:
      return ERR_OK;
    case EPERM:
    case EACCES:
    case EISDIR:
    case EXDEV:
      return ERR_ACCESS_DENIED;
    case ENOENT:
      return ERR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return ERR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
      return ERR_TOO_MANY_OPEN_FILES;
    case EBADF:
      return ERR_INVALID_HANDLE;
    case ENOMEM:
      return ERR_NOT_ENOUGH_MEMORY;
    case EROFS:
      return ERR_WRITE_PROTECT;
    case ENODEV:
      return ERR_BAD_UNIT;
    case ENXIO:
    case ENOMEDIUM:
      return ERR_NOT_READY;
    case EMEDIUMTYPE:
      return ERR_UNRECOGNIZED_MEDIA;
    case EIO:
      return ERR_GEN_FAILURE;
    case EPIPE:
      return ERR_WRITE_FAULT;
    case EBUSY:
    case ETXTBSY:
      return ERR_SHARING_VIOLATION;
    case EAGAIN:
    case ENOLCK:
    case EDEADLK:
      return ERR_LOCK_VIOLATION;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ERR_HANDLE_DISK_FULL;
    case EEXIST:
    case ENOTEMPTY:
      return ERR_FILE_EXISTS;
    case ESPIPE:
      return ERR_SEEK_ON_DEVICE;
    case EINVAL:
    case ENOTTY:
    case EOPNOTSUPP:
    case ENOSYS:
      return ERR_INVALID_FUNCTION;
    case ENETDOWN:
    case ENETUNREACH:
    case ENETRESET:
    case ECONNABORTED:
    case ECONNRESET:
    case ECONNREFUSED:
    case ENOTCONN:
    case ETIMEDOUT:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ESTALE:
    case EREMOTEIO:
    case ENOLINK:
    case ECOMM:
      return ERR_UNEXPECTED_NETWORK_ERROR;
    default:
      return ERR_GEN_FAILURE;
  }
}

}  // namespace

ErrorCode MapErrno(int err, IoContext context) {
  if (err == 0) return ERR_OK;
  if (context == IoContext::FloppyRead || context == IoContext::FloppyWrite) {
    if (ErrorCode code = ByFloppy(err); code != 0) return code;
    context = context == IoContext::FloppyRead ? IoContext::Read : IoContext::Write;
  }
  if (ErrorCode code = ByContext(err, context); code != 0) return code;
  return General(err);
}

}  // namespace kelvo
