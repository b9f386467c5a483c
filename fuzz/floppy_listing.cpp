// Fuzz target: listing a printer disk in an emulated floppy drive.
//
// The first input byte chooses the medium's geometry (bits 0-1: 9, 15 or 18
// sectors per track) and the drive's form (bit 2: 5.25-inch); the rest is
// laid over the start of the medium (at most 100 blocks; the listing reads
// LBN 0 to 89 in one request). The medium files are made once per process
// at their full size, and each run puts back the zeros it overwrote.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "diskfs/floppy_listing.h"
#include "diskfs/mount.h"
#include "fuzz_support.h"
#include "media/floppy_drive.h"
#include "media/emulated_floppy.h"

namespace {

constexpr std::size_t kMaxDiskBytes = 100 * kelvo::kBlockSize;
constexpr int kSectorsPerTrack[4] = {9, 15, 18, 9};

const std::string& MediumPath(int geometry) {
  static std::string paths[4];
  std::string& path = paths[geometry];
  if (path.empty()) {
    path = (kelvo::fuzz::ScratchDir() / ("medium" + std::to_string(geometry) + ".raw")).string();
    const std::size_t size = std::size_t(80) * 2 * kSectorsPerTrack[geometry] * kelvo::kBlockSize;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(size)) != 0) std::abort();
    ::close(fd);
  }
  return path;
}

void Overwrite(const std::string& path, const std::uint8_t* data, std::size_t size) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) std::abort();
  bool ok = size == 0 || ::pwrite(fd, data, size, 0) == static_cast<ssize_t>(size);
  ::close(fd);
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int geometry = data[0] & 3;
  const bool five_inch = (data[0] & 4) != 0;
  const std::uint8_t* disk = data + 1;
  const std::size_t disk_size = std::min(size - 1, kMaxDiskBytes);

  const std::string& path = MediumPath(geometry);
  Overwrite(path, disk, disk_size);

  kelvo::EmulatedFloppyOptions options;
  options.path = path;
  options.five_inch = five_inch;
  {
    auto device = std::make_shared<kelvo::CEmulatedFloppy>(options);
    kelvo::CFloppyDrive drive("a:", device);
    kelvo::DiskListing listing;
    if (kelvo::ListFloppy(drive, listing) == kelvo::ERR_OK) (void)listing.FreeSpace();
    (void)CheckKelvoDrive(drive);
  }

  const std::vector<std::uint8_t> zeros(disk_size, 0);
  Overwrite(path, zeros.data(), zeros.size());
  return 0;
}
