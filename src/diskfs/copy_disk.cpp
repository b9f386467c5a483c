#include "diskfs/copy_disk.h"

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "core/atomic_file.h"
#include "core/whole_file.h"
#include "diskfs/mount.h"
#include "diskfs/on_disk.h"
#include "diskfs/disk_image_doc.h"
#include "media/imd_image.h"
#include "media/raw_image.h"

namespace kelvo {
namespace {

// Two heads of 18 sectors: the largest cylinder of any format.
constexpr std::uint32_t kMaxBlocksPerCylinder = 36;

const char kHighDensityQuestion[] = "Does the destination drive contain a high-density diskette?";
const char kDoubleDensityQuestion[] =
    "Does the destination drive contain a double-density diskette?";

// Blocks per cylinder from a volume block: heads x sectors per track. A
// damaged volume block that gives no usable cylinder is refused.
ErrorCode BlocksPerCylinder(const VolumeBlock& volume, std::uint32_t& blocks) {
  blocks = std::uint32_t{volume.heads} * volume.sectors_per_track;
  if (blocks == 0 || blocks > kMaxBlocksPerCylinder) return ERR_UNRECOGNIZED_MEDIA;
  return ERR_OK;
}

// Every cylinder step lets the interface breathe and honours Stop.
bool Stopped(Interaction& ui, CDiskProgress& progress) {
  ui.PumpMessages();
  return progress.StopRequested();
}

// Shows a failure that no retry loop has shown, and returns it.
ErrorCode Report(Interaction& ui, ErrorCode rc) {
  ui.ReportError(rc);
  return rc;
}

// Asks the confirmation question; `code` is the format to use on Yes.
ErrorCode ConfirmMedia(Interaction& ui, const VolumeBlock& source, CFloppyDrive& destination,
                       MediaKind& code) {
  MediaConfirmation c = ConfirmationFor(SourceClass(source.highest_lbn),
                                        DestinationClass(destination.DescribeDrive().form));
  if (ui.Ask(c.question, kAppTitle, Buttons::YesNo, Icon::Question) != Button::Yes) {
    return Report(ui, ERR_MEDIA_MISMATCH);
  }
  code = c.code;
  return ERR_OK;
}

// Opens a drive holding a printer disk, with its media type set from the
// disk and its volume block read; Retry repeats each step.
ErrorCode OpenSource(CFloppyDrive& drive, Interaction& ui,
                     std::optional<CFloppySession>& session, VolumeBlock& volume) {
  if (ErrorCode rc = RetryWhileAsked(ui, [&] { return CheckKelvoDrive(drive); })) return rc;
  if (ErrorCode rc = OpenFloppyWithRetry(drive, ui, session)) return rc;
  return RetryWhileAsked(ui, [&] {
    ErrorCode rc = SetMediaFromDisk(drive);
    return rc != ERR_OK ? rc : ReadVolumeBlock(drive, volume);
  });
}

// Checks the destination drive: `format` tells whether it must be formatted
// while it is written (no printer disk, or an unformatted one).
ErrorCode CheckDestination(CFloppyDrive& drive, Interaction& ui, bool& format) {
  for (;;) {
    ErrorCode rc = CheckKelvoDrive(drive);
    format = rc != ERR_OK;
    if (rc == ERR_OK || rc == ERR_NOT_KELVO_FORMAT || rc == ERR_SECTOR_NOT_FOUND ||
        rc == ERR_FLOPPY_ID_MARK_NOT_FOUND || rc == ERR_UNRECOGNIZED_MEDIA) {
      return ERR_OK;
    }
    if (ui.ReportError(rc) != Button::Retry) return rc;
  }
}

// Writes `bytes` (whole blocks; a partial last block is dropped) to the
// destination drive cylinder by cylinder, formatting each first when asked.
ErrorCode WriteDestination(CFloppyDrive& drive, const std::vector<std::uint8_t>& bytes,
                           std::uint32_t per_cylinder, MediaKind code, bool format,
                           const char* writing_status, Interaction& ui,
                           CDiskProgress& progress) {
  std::optional<CFloppySession> session;
  if (ErrorCode rc = OpenFloppyWithRetry(drive, ui, session, format)) return rc;
  progress.SetStatus(writing_status);
  if (!format) {
    if (ErrorCode rc = RetryWhileAsked(ui, [&] { return drive.SetMediaType(code); })) return rc;
  }
  const std::size_t cylinder_bytes = std::size_t{per_cylinder} * kBlockSize;
  // The disk carries no recognition mark until every cylinder is written, so
  // a copy that fails or is stopped half-way never leaves a mixture of two
  // disks that passes for a printer disk.
  const bool marked = bytes.size() >= 2 * kBlockSize && cylinder_bytes >= 2 * kBlockSize;
  std::vector<std::uint8_t> unmarked;
  for (int cylinder = 0; cylinder < kFileSystemCylinders; ++cylinder) {
    if (Stopped(ui, progress)) return kDiskCopyStopped;
    if (format) {
      progress.SetStatus("Formatting...");
      if (ErrorCode rc =
              RetryWhileAsked(ui, [&] { return drive.FormatCylinder(cylinder, code); }))
        return rc;
    }
    std::size_t offset = cylinder * cylinder_bytes;
    if (offset < bytes.size()) {
      std::uint32_t blocks =
          static_cast<std::uint32_t>(std::min(cylinder_bytes, bytes.size() - offset) / kBlockSize);
      if (format) progress.SetStatus(writing_status);
      const std::uint8_t* data = bytes.data() + offset;
      if (cylinder == 0 && marked) {
        unmarked.assign(data, data + std::size_t{blocks} * kBlockSize);
        unmarked[kBlockSize + kTypeIndexOffset] = 0;
        unmarked[kBlockSize + kTypeIndexOffset + 1] = 0;
        data = unmarked.data();
      }
      if (blocks > 0) {
        std::uint32_t lbn = static_cast<std::uint32_t>(cylinder) * per_cylinder;
        if (ErrorCode rc =
                RetryWhileAsked(ui, [&] { return drive.WriteSectors(lbn, blocks, data); }))
          return rc;
      }
    }
    progress.SetPos(cylinder + 1);
  }
  if (!marked) return ERR_OK;
  return RetryWhileAsked(ui, [&] {
    return drive.WriteSectors(kVolumeBlockLbn, 1, bytes.data() + kVolumeBlockLbn * kBlockSize);
  });
}

// Reads the 78 cylinders of the opened source drive, handing each to `sink`.
template <typename Sink>
ErrorCode ReadCylinders(CFloppyDrive& drive, std::uint32_t per_cylinder, Interaction& ui,
                        CDiskProgress& progress, Sink sink) {
  progress.SetStatus("Reading Source Disk...");
  std::vector<std::uint8_t> cylinder_data(std::size_t{per_cylinder} * kBlockSize);
  for (int cylinder = 0; cylinder < kFileSystemCylinders; ++cylinder) {
    if (Stopped(ui, progress)) return kDiskCopyStopped;
    std::uint32_t lbn = static_cast<std::uint32_t>(cylinder) * per_cylinder;
    if (ErrorCode rc = RetryWhileAsked(ui, [&] {
          return drive.ReadSectors(lbn, per_cylinder, cylinder_data.data());
        }))
      return rc;
    if (ErrorCode rc = sink(cylinder_data)) return Report(ui, rc);
    progress.SetPos(cylinder + 1);
  }
  return ERR_OK;
}

ErrorCode DriveToDrive(CFloppyDrive& source, CFloppyDrive& destination, Interaction& ui,
                       CDiskProgress& progress) {
  const bool same_drive = &source.Device() == &destination.Device();
  std::optional<CFloppySession> session;
  VolumeBlock volume;
  if (ErrorCode rc = OpenSource(source, ui, session, volume)) return rc;
  MediaKind code = MediaKind::Unknown;
  if (ErrorCode rc = ConfirmMedia(ui, volume, destination, code)) return rc;
  std::uint32_t per_cylinder = 0;
  if (ErrorCode rc = BlocksPerCylinder(volume, per_cylinder)) return Report(ui, rc);

  // The whole disk is held in memory so one drive can serve as both ends.
  std::vector<std::uint8_t> disk;
  disk.reserve(std::size_t{kFileSystemCylinders} * per_cylinder * kBlockSize);
  ErrorCode rc = ReadCylinders(source, per_cylinder, ui, progress,
                               [&](const std::vector<std::uint8_t>& cylinder) {
                                 disk.insert(disk.end(), cylinder.begin(), cylinder.end());
                                 return ERR_OK;
                               });
  if (rc != ERR_OK) return rc;
  session.reset();

  if (same_drive && ui.Ask("Please insert the destination disk", kAppTitle, Buttons::OkCancel,
                           Icon::Exclamation) != Button::Ok) {
    return kDiskCopyStopped;
  }
  progress.SetStatus("Checking Destination Disk. Please Wait...");
  bool format = false;
  if (ErrorCode check = CheckDestination(destination, ui, format)) return check;
  return WriteDestination(destination, disk, per_cylinder, code, format,
                          "Writing Destination Disk...", ui, progress);
}

ErrorCode DriveToImage(CFloppyDrive& source, const std::filesystem::path& image,
                       Interaction& ui, CDiskProgress& progress) {
  std::optional<CFloppySession> session;
  VolumeBlock volume;
  if (ErrorCode rc = OpenSource(source, ui, session, volume)) return rc;
  CAtomicFileWriter file;
  if (ErrorCode rc = RetryWhileAsked(ui, [&] { return file.Create(image); })) return rc;
  std::uint32_t per_cylinder = 0;
  if (ErrorCode rc = BlocksPerCylinder(volume, per_cylinder)) return Report(ui, rc);
  ErrorCode rc = ReadCylinders(source, per_cylinder, ui, progress,
                               [&](const std::vector<std::uint8_t>& cylinder) {
                                 return file.Append(cylinder.data(), cylinder.size());
                               });
  session.reset();
  if (rc != ERR_OK) return rc;  // the partial file goes with `file`
  if (ErrorCode commit = file.Commit()) return Report(ui, commit);
  return ERR_OK;
}

// Reads the part of an image file a copy to a drive can use.
ErrorCode ReadImage(const std::filesystem::path& image, Interaction& ui,
                    std::vector<std::uint8_t>& bytes) {
  std::string text;
  if (ErrorCode rc = RetryWhileAsked(ui, [&] { return ReadWholeFile(image, text); })) return rc;
  if (LooksLikeImd({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) {
    // An archive's blocks; one it marks unreadable must not reach the floppy as zeros.
    ImdDisk disk;
    if (ErrorCode rc = ParseImd({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, disk))
      return Report(ui, rc);
    const std::size_t used =
        disk.bytes.size() >= 2 * kBlockSize
            ? std::size_t{VolumeBlock::Decode(disk.bytes.data() + kBlockSize).highest_lbn} + 1
            : disk.unreadable.size();
    for (std::size_t lbn = 0; lbn < used && lbn < disk.unreadable.size(); ++lbn)
      if (disk.unreadable[lbn]) return Report(ui, ERR_CRC);
    text.assign(disk.bytes.begin(), disk.bytes.end());
  } else if (IsEncodedImage({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) {
    // A track image, decoded; a sector without a good copy stops the copy too.
    CDiskImageDoc doc;
    if (ErrorCode rc = doc.OnOpenDocument(image)) return Report(ui, rc);
    const std::size_t used = std::size_t{VolumeBlock::Decode(doc.Bytes().data() + kBlockSize).highest_lbn} + 1;
    for (std::size_t lbn = 0; lbn < used; ++lbn)
      if (doc.IsUnreadable(std::uint32_t(lbn))) return Report(ui, ERR_CRC);
    text.assign(doc.Bytes().begin(), doc.Bytes().end());
  }
  std::size_t limit = std::size_t{kFileSystemCylinders} * kMaxBlocksPerCylinder * kBlockSize;
  bytes.assign(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(std::min(limit, text.size())));
  return ERR_OK;
}

ErrorCode ImageToDrive(const std::filesystem::path& image, CFloppyDrive& destination,
                       Interaction& ui, CDiskProgress& progress) {
  bool format = false;
  if (ErrorCode rc = CheckDestination(destination, ui, format)) return rc;
  std::vector<std::uint8_t> bytes;
  if (ErrorCode rc = ReadImage(image, ui, bytes)) return rc;
  if (bytes.size() < 2 * kBlockSize || !HasKelvoMark(bytes.data() + kBlockSize)) {
    return Report(ui, ERR_BAD_IMAGE);
  }
  VolumeBlock volume = VolumeBlock::Decode(bytes.data() + kBlockSize);
  std::uint32_t per_cylinder = 0;
  if (BlocksPerCylinder(volume, per_cylinder) != ERR_OK) return Report(ui, ERR_BAD_IMAGE);
  MediaKind code = MediaKind::Unknown;
  if (ErrorCode rc = ConfirmMedia(ui, volume, destination, code)) return rc;
  return WriteDestination(destination, bytes, per_cylinder, code, format,
                          "Writing Disk Image Data...", ui, progress);
}

ErrorCode ImageToImage(const std::filesystem::path& source, const std::filesystem::path& target,
                       Interaction& ui, CDiskProgress& progress) {
  std::string bytes;
  if (ErrorCode rc = ReadWholeFile(source, bytes)) return Report(ui, rc);
  if (Stopped(ui, progress)) return kDiskCopyStopped;
  if (IsEncodedImageName(target) || IsFullRawImageName(target) ||
      IsEncodedImage({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()})) {
    // Between an archive and a raw image the blocks are converted, not
    // copied; a raw image gets all 80 cylinders.
    CDiskImageDoc doc;
    ErrorCode rc = doc.OnOpenDocument(source);
    if (rc == ERR_OK) rc = doc.OnSaveDocument(target);
    return rc == ERR_OK ? ERR_OK : Report(ui, rc);
  }
  CAtomicFileWriter file;
  if (ErrorCode rc = RetryWhileAsked(ui, [&] { return file.Create(target); })) return rc;
  ErrorCode rc = file.Append(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  if (rc == ERR_OK) rc = file.Commit();
  return rc == ERR_OK ? ERR_OK : Report(ui, rc);
}

}  // namespace

MediaKind SourceClass(std::uint16_t highest_lbn) {
  return highest_lbn > HighestLbn(MediaKind::F3_720_512) ? MediaKind::F3_1Pt2_512
                                                         : MediaKind::F3_720_512;
}

MediaKind DestinationClass(int drive_form) {
  return drive_form == kDriveForm35 ? MediaKind::F3_1Pt2_512 : MediaKind::F5_1Pt2_512;
}

MediaConfirmation ConfirmationFor(MediaKind source_class, MediaKind destination_class) {
  bool three_inch = destination_class == MediaKind::F3_1Pt2_512;
  if (source_class == MediaKind::F3_1Pt2_512) {
    return {kHighDensityQuestion, three_inch ? MediaKind::F3_1Pt2_512 : MediaKind::F5_1Pt2_512};
  }
  if (three_inch) return {kDoubleDensityQuestion, MediaKind::F3_720_512};
  return {kHighDensityQuestion, MediaKind::F5_720_512};
}

ErrorCode CopyDisk(const DiskCopyEnd& source, const DiskCopyEnd& destination, Interaction& ui,
                   CDiskProgress& progress) {
  progress.SetRange(0, kFileSystemCylinders);
  ErrorCode rc = ERR_OK;
  try {
    if (source.drive && destination.drive) {
      rc = DriveToDrive(*source.drive, *destination.drive, ui, progress);
    } else if (source.drive) {
      rc = DriveToImage(*source.drive, destination.image, ui, progress);
    } else if (destination.drive) {
      rc = ImageToDrive(source.image, *destination.drive, ui, progress);
    } else {
      rc = ImageToImage(source.image, destination.image, ui, progress);
    }
  } catch (const std::bad_alloc&) {
    rc = Report(ui, ERR_NOT_ENOUGH_MEMORY);
  }
  progress.SetPos(kFileSystemCylinders);
  progress.SetStatus(rc == ERR_OK ? "Disk copy completed without error."
                                  : "Disk copy not complete due to error.");
  ui.Beep(BeepKind::Information);
  return rc;
}

}  // namespace kelvo
