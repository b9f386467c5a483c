// The floppy device layer: one interface with the requests the drive
// algorithms use, and the backends chosen by a device string.
//
//   /dev/fdN                      the Linux floppy-controller driver
//   any other path                a plain block device (a USB floppy): reads
//                                 and writes only, no formatting
//   emu:PATH[,form=3.5|5.25][,wp] an emulated drive whose medium is PATH
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/media_kind.h"
#include "core/error_codes.h"

namespace kelvo {

class CFloppyDevice {
 public:
  virtual ~CFloppyDevice() = default;

  // Takes exclusive use of the drive for reading and writing.
  virtual ErrorCode OpenDevice() = 0;
  virtual void CloseDevice() = 0;
  virtual bool IsOpen() const = 0;

  // Volume lock around writes; `for_format` asks for formatting rights too.
  virtual ErrorCode Lock(bool for_format) = 0;
  virtual ErrorCode Unlock() = 0;

  virtual ErrorCode ReadSectors(std::uint32_t lbn, std::uint32_t count, std::uint8_t* buffer) = 0;
  virtual ErrorCode WriteSectors(std::uint32_t lbn, std::uint32_t count,
                                 const std::uint8_t* buffer) = 0;

  // Formats both tracks of `cylinder` in the geometry of `code`.
  virtual ErrorCode FormatCylinder(int cylinder, MediaKind code) = 0;
  // Tells the drive the format of the inserted medium.
  virtual ErrorCode SetMediaType(MediaKind code) = 0;
  // The formats the drive can handle, the drive's native one first. Works
  // without a medium and without the device being open.
  virtual ErrorCode GetMediaTypes(std::vector<MediaKind>& types) = 0;

  // Empty when the drive can format; otherwise why it cannot, for the user.
  virtual std::string FormatRefusal() const { return {}; }
};

// Builds the backend named by `device`. Returns nullptr when the string is
// malformed (an emu: string without a path or with an unknown option).
std::shared_ptr<CFloppyDevice> MakeFloppyDevice(const std::string& device);

// The device string bound to drive letter A or B when nothing else is set.
std::string DefaultFloppyDevice(char letter);

// True for the media codes of 5.25-inch formats (the classic numbering).
bool IsFiveInchMedia(int code);
// True for the media codes of 3.5-inch formats.
bool IsThreeInchMedia(int code);

}  // namespace kelvo
