// A full PC disk for the tests of this folder: the engine's write(), pwrite()
// and pwritev() calls to regular files are routed here (the test program is
// linked with --wrap for each), so a test can let the disk fill up at the
// Nth write.
#pragma once

#include <cstdint>

namespace kelvo::test {

class PcDiskFull {
 public:
  // From the `nth` write to a regular file on (1 = the next one), the disk is
  // full: that write stores half of its bytes (as a filling disk does) and
  // every later one fails with ENOSPC. 0 makes the disk roomy again.
  static void FillAtWrite(std::uint64_t nth);
  // Writes to regular files made since the last FillAtWrite or Reset.
  static std::uint64_t Writes();
  static void Reset() { FillAtWrite(0); }
};

}  // namespace kelvo::test
