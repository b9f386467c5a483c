// Error codes shared by every operation of the engine.
//
// An operation returns 0 on success or one of these codes. Codes below 5000
// keep the meaning of the printer utility's classic system error numbers (the
// message table is keyed by them); codes from 5000 are the program's own.
#pragma once

#include <cstdint>

namespace kelvo {

using ErrorCode = std::uint32_t;

inline constexpr ErrorCode ERR_OK = 0;

// System-style codes the engine produces itself (errno values are mapped to
// these by MapErrno).
inline constexpr ErrorCode ERR_INVALID_FUNCTION = 1;
inline constexpr ErrorCode ERR_FILE_NOT_FOUND = 2;
inline constexpr ErrorCode ERR_PATH_NOT_FOUND = 3;
inline constexpr ErrorCode ERR_TOO_MANY_OPEN_FILES = 4;
inline constexpr ErrorCode ERR_ACCESS_DENIED = 5;
inline constexpr ErrorCode ERR_INVALID_HANDLE = 6;
inline constexpr ErrorCode ERR_NOT_ENOUGH_MEMORY = 8;
inline constexpr ErrorCode ERR_OUT_OF_MEMORY = 14;
inline constexpr ErrorCode ERR_INVALID_DRIVE = 15;
inline constexpr ErrorCode ERR_WRITE_PROTECT = 19;
inline constexpr ErrorCode ERR_BAD_UNIT = 20;
inline constexpr ErrorCode ERR_NOT_READY = 21;
inline constexpr ErrorCode ERR_CRC = 23;
inline constexpr ErrorCode ERR_SEEK = 25;
inline constexpr ErrorCode ERR_SECTOR_NOT_FOUND = 27;
inline constexpr ErrorCode ERR_WRITE_FAULT = 29;
inline constexpr ErrorCode ERR_GEN_FAILURE = 31;
inline constexpr ErrorCode ERR_SHARING_VIOLATION = 32;
inline constexpr ErrorCode ERR_LOCK_VIOLATION = 33;
inline constexpr ErrorCode ERR_HANDLE_DISK_FULL = 39;
inline constexpr ErrorCode ERR_NOT_SUPPORTED = 50;
inline constexpr ErrorCode ERR_UNEXPECTED_NETWORK_ERROR = 59;
inline constexpr ErrorCode ERR_FILE_EXISTS = 80;
inline constexpr ErrorCode ERR_DRIVE_LOCKED = 108;
inline constexpr ErrorCode ERR_OPEN_FAILED = 110;
inline constexpr ErrorCode ERR_SEEK_ON_DEVICE = 132;
inline constexpr ErrorCode ERR_MORE_DATA = 234;
inline constexpr ErrorCode ERR_UNRECOGNIZED_VOLUME = 1005;
inline constexpr ErrorCode ERR_END_OF_MEDIA = 1100;
inline constexpr ErrorCode ERR_FILEMARK_DETECTED = 1101;
inline constexpr ErrorCode ERR_BEGINNING_OF_MEDIA = 1102;
inline constexpr ErrorCode ERR_SETMARK_DETECTED = 1103;
inline constexpr ErrorCode ERR_NO_DATA_DETECTED = 1104;
inline constexpr ErrorCode ERR_NO_MEDIA_IN_DRIVE = 1112;
inline constexpr ErrorCode ERR_FLOPPY_ID_MARK_NOT_FOUND = 1122;
inline constexpr ErrorCode ERR_FLOPPY_WRONG_CYLINDER = 1123;
inline constexpr ErrorCode ERR_FLOPPY_UNKNOWN_ERROR = 1124;
inline constexpr ErrorCode ERR_FLOPPY_BAD_REGISTERS = 1125;
inline constexpr ErrorCode ERR_UNRECOGNIZED_MEDIA = 1785;

// The program's own codes.
inline constexpr ErrorCode ERR_DRIVE_ACCESS = 5000;
inline constexpr ErrorCode ERR_FORMAT_CANCELLED = 5001;
inline constexpr ErrorCode ERR_NOT_KELVO_FORMAT = 5002;
inline constexpr ErrorCode ERR_DIRECTORY_FULL = 5003;
inline constexpr ErrorCode ERR_TYPE_NOT_IN_INDEX = 5004;
inline constexpr ErrorCode ERR_HIGH_DENSITY = 5005;
inline constexpr ErrorCode ERR_BAD_IMAGE = 5006;
inline constexpr ErrorCode ERR_MEDIA_MISMATCH = 5007;
inline constexpr ErrorCode ERR_TAPE_OPEN = 5008;
inline constexpr ErrorCode ERR_TAPE_RESTORE_CANCELLED = 5009;

}  // namespace kelvo
