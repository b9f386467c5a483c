#include "media/file_errors.h"

#include <cerrno>

namespace kelvo {

ErrorCode ErrorFromErrno(int err) {
  switch (err) {
    case 0: return ERR_OK;
    case ENOENT: return ERR_FILE_NOT_FOUND;
    case ENOTDIR: return ERR_PATH_NOT_FOUND;
    case EACCES: case EPERM: case EISDIR: return ERR_ACCESS_DENIED;
    case EROFS: return ERR_WRITE_PROTECT;
    case ENOSPC: case EDQUOT: return ERR_HANDLE_DISK_FULL;
    case ENOMEM: return ERR_NOT_ENOUGH_MEMORY;
    case EMFILE: case ENFILE: return ERR_TOO_MANY_OPEN_FILES;
    case EEXIST: return ERR_FILE_EXISTS;
    default: return ERR_GEN_FAILURE;
  }
}

}  // namespace kelvo
