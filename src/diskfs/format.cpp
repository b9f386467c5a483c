#include "diskfs/format.h"

#include <new>
#include <optional>
#include <vector>

#include "diskfs/create_file_system.h"
#include "diskfs/mount.h"
#include "diskfs/on_disk.h"

namespace kelvo {
namespace {

constexpr ErrorCode kMediaChanged = 1110;
// A changed-medium report repeats the cylinder without asking; a drive that
// keeps saying so (no disk at all) is reported after this many repeats.
constexpr int kSilentRepeats = 3;
constexpr std::size_t kWorkBufferBytes = 50000;

bool IsFiveInch(MediaKind code) {
  return code == MediaKind::F5_1Pt2_512 || code == MediaKind::F5_720_512;
}

// Answers of the drive check after which a full format goes ahead: the disk
// is there but unformatted, changed or unreadable.
bool FullFormatProceeds(ErrorCode rc) {
  return rc == ERR_OK || rc == ERR_UNRECOGNIZED_MEDIA || rc == kMediaChanged ||
         rc == ERR_SECTOR_NOT_FOUND || rc == ERR_UNRECOGNIZED_VOLUME ||
         rc == ERR_FLOPPY_ID_MARK_NOT_FOUND || rc == ERR_GEN_FAILURE;
}

// Answers of the Kelvo check that make a quick format offer a full one.
bool NotAPrinterDisk(ErrorCode rc) {
  return rc == ERR_NOT_KELVO_FORMAT || (rc != ERR_OK && FullFormatProceeds(rc));
}

// Formats cylinders 0 to 79 of the opened drive; ERR_FORMAT_CANCELLED when
// Cancel was pressed; `restart` is set when the user asked to retry.
ErrorCode FormatCylinders(CFloppyDrive& drive, MediaKind code, Interaction& ui,
                          CDiskProgress& progress, bool& restart) {
  restart = false;
  int repeats = 0;
  for (int cylinder = 0; cylinder < kFormattedCylinders;) {
    ErrorCode rc = drive.FormatCylinder(cylinder, code);
    if (rc == kMediaChanged && ++repeats <= kSilentRepeats) continue;
    if (rc != ERR_OK) {
      restart = ui.ReportError(rc) == Button::Retry;
      return rc;
    }
    repeats = 0;
    ui.PumpMessages();
    progress.SetPos(++cylinder);
    if (progress.StopRequested()) return ERR_FORMAT_CANCELLED;
  }
  return ERR_OK;
}

ErrorCode FullFormat(CFloppyDrive& drive, MediaKind code, const std::string& disk_id,
                     Interaction& ui, CFormatProgress& progress) {
  progress.SetRange(0, kFormattedCylinders - 1);
  progress.SetStatus("Initializing...");
  for (;;) {
    ErrorCode rc = drive.CheckDrive();
    if (FullFormatProceeds(rc)) break;
    if (ui.ReportError(rc) != Button::Retry) return rc;
  }
  for (;;) {
    CFloppySession session(drive, /*for_format=*/true);
    if (ErrorCode rc = session.Status()) {
      if (ui.ReportError(rc) == Button::Retry) continue;
      return rc;
    }
    progress.SetStatus("Formatting disk...");
    bool restart = false;
    ErrorCode rc = FormatCylinders(drive, code, ui, progress, restart);
    if (restart) continue;  // closes the drive, opens it again, starts at 0
    if (rc != ERR_OK) return rc;
    return WriteFileSystem(drive, code, disk_id, ui, progress);
  }
}

ErrorCode QuickFormat(CFloppyDrive& drive, MediaKind selected, const std::string& disk_id,
                      Interaction& ui, CFormatProgress& progress, FormatResult& result) {
  progress.SetRange(0, kSystemAreaBlocks);
  progress.SetStatus("Checking disk format...");
  for (;;) {
    ErrorCode rc = CheckKelvoDrive(drive);
    if (rc == ERR_OK) break;
    if (NotAPrinterDisk(rc)) {
      Button answer = ui.Ask("The disk is not in Kelvo format. Do you wish to format it now?",
                             kAppTitle, Buttons::YesNo, Icon::Question);
      if (answer != Button::Yes) {
        progress.SetStatus("");
        result.declined = true;
        return ERR_OK;
      }
      progress.ShowFullMode();
      result.media = selected;
      return FullFormat(drive, selected, disk_id, ui, progress);
    }
    if (ui.ReportError(rc) != Button::Retry) return rc;
  }

  std::optional<MediaKind> code;
  for (;;) {
    CFloppySession session(drive);
    ErrorCode rc = session.Status();
    if (rc == ERR_OK && !code) {
      // The capacity follows the disk: only exactly 2339 keeps 1.2 MB.
      VolumeBlock volume;
      rc = ReadVolumeBlock(drive, volume);
      if (rc == ERR_OK) {
        bool five = IsFiveInch(selected);
        if (volume.highest_lbn == HighestLbn(MediaKind::F5_1Pt2_512)) {
          code = five ? MediaKind::F5_1Pt2_512 : MediaKind::F3_1Pt2_512;
        } else {
          code = five ? MediaKind::F5_720_512 : MediaKind::F3_720_512;
        }
        progress.ShowCapacity(*code);
        result.media = *code;
      }
    }
    if (rc == ERR_OK) rc = drive.SetMediaType(*code);
    if (rc != ERR_OK) {
      if (ui.ReportError(rc) == Button::Retry) continue;
      return rc;
    }
    return WriteFileSystem(drive, *code, disk_id, ui, progress);
  }
}

}  // namespace

MediaKind MediaForCapacity(const std::string& capacity, int form) {
  bool three = form == kDriveForm35;
  if (capacity == "720K") return three ? MediaKind::F3_720_512 : MediaKind::F5_720_512;
  if (capacity == "1.2M") return three ? MediaKind::F3_1Pt2_512 : MediaKind::F5_1Pt2_512;
  return MediaKind::Unknown;
}

std::string CapacityText(MediaKind code) {
  return SectorsPerTrack(code) == 9 ? "720K" : "1.2M";
}

ErrorCode WriteFileSystem(CFloppyDrive& drive, MediaKind code, const std::string& disk_id,
                          Interaction& ui, CDiskProgress& progress) {
  progress.SetStatus("Creating file system...");
  std::vector<std::uint8_t> buffer;
  try {
    buffer.assign(kWorkBufferBytes, 0);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  progress.SetPos(0);
  int blocks = 0;
  CreateFileSystem(buffer, code, disk_id, blocks);
  if (blocks == 0) return ERR_NOT_ENOUGH_MEMORY;
  progress.SetPos(40);
  ErrorCode rc = RetryWhileAsked(ui, [&] {
    return drive.WriteSectors(0, static_cast<std::uint32_t>(blocks), buffer.data());
  });
  if (rc == ERR_OK) progress.SetPos(80);
  return rc;
}

FormatResult FormatDisk(CFloppyDrive& drive, const FormatRequest& request, Interaction& ui,
                        CFormatProgress& progress) {
  FormatResult result;
  result.media = request.media;
  try {
    if (request.quick) {
      result.code = QuickFormat(drive, request.media, request.disk_id, ui, progress, result);
    } else {
      result.code = FullFormat(drive, request.media, request.disk_id, ui, progress);
    }
  } catch (const std::bad_alloc&) {
    result.code = ERR_NOT_ENOUGH_MEMORY;
  }
  progress.SetStatus("");
  progress.SetPos(0);
  return result;
}

void ShowFormatOutcome(Interaction& ui, const FormatResult& result) {
  if (result.declined) return;
  if (result.code == ERR_OK) {
    ui.Ask("Drive formatted successfully", kAppTitle, Buttons::Ok, Icon::Information);
  } else if (result.code == ERR_FORMAT_CANCELLED) {
    ui.Ask("Format cancelled at user request.", kAppTitle, Buttons::Ok, Icon::Exclamation);
  } else {
    ui.Ask("Drive format unsuccessful", kAppTitle, Buttons::Ok, Icon::Exclamation);
  }
}

}  // namespace kelvo
