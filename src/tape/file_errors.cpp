#include "tape/file_errors.h"

#include <cerrno>

namespace kelvo {

ErrorCode FileErrorCode(int errnum) {
  switch (errnum) {
    case 0:
      return ERR_OK;
    case ENOENT:
      return ERR_FILE_NOT_FOUND;
    case ENOTDIR:
    case ENAMETOOLONG:
      return ERR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
      return ERR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EISDIR:
    case ELOOP:
      return ERR_ACCESS_DENIED;
    case EBADF:
      return ERR_INVALID_HANDLE;
    case ENOMEM:
      return ERR_NOT_ENOUGH_MEMORY;
    case EROFS:
      return ERR_WRITE_PROTECT;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ERR_HANDLE_DISK_FULL;
    case EEXIST:
      return ERR_FILE_EXISTS;
    case EBUSY:
    case ETXTBSY:
      return ERR_SHARING_VIOLATION;
    case EWOULDBLOCK:
      return ERR_LOCK_VIOLATION;
    case EIO:
      return ERR_CRC;
    default:
      return ERR_GEN_FAILURE;
  }
}

}  // namespace kelvo
