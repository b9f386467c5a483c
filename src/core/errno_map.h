// The one place where Linux errno values become error codes of the table.
// Nothing else in the engine looks at errno: device layers and file code pass
// the errno of a failed call here together with what they were doing.
#pragma once

#include "core/error_codes.h"

namespace kelvo {

// What the failed call was doing; a few errno values mean different things
// depending on it.
enum class IoContext {
  General,     // open, stat, rename, ioctl ... of PC files and devices
  Read,        // reading a floppy, an image or a PC file
  Write,       // writing, or opening for writing, a floppy or an image
  Format,      // formatting a floppy cylinder
  FloppyRead,  // a floppy drive's open, read or geometry call: the driver's
  FloppyWrite, //   own answers first, then as Read or Write
  TapeRead,    // reading a tape block
  TapeWrite,   // writing a tape block or a filemark
  TapeControl  // opening a tape, positioning, status, load/unload
};

// Maps `err` (an errno value) to an error code. 0 gives 0; a value without a
// better match gives 31 ("The specified device is not functioning.").
ErrorCode MapErrno(int err, IoContext context = IoContext::General);

}  // namespace kelvo
