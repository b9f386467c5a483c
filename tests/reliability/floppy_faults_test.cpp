// Every mutating floppy operation with a device fault at each of its
// requests in turn: the disk stays consistent and the failure is reported
// once.
#include <gtest/gtest.h>

#include <memory>

#include "diskfs/copy_disk.h"
#include "diskfs/floppy_volume_session.h"
#include "diskfs/format.h"
#include "diskfs/label_disk.h"
#include "diskfs/mount.h"
#include "reliability/disk_checks.h"
#include "reliability/fault_positions.h"
#include "support/diskfs_image_builder.h"
#include "support/floppy_media.h"
#include "support/progress_recorder.h"
#include "support/scripted_interaction.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

// A 720 KB printer disk with two files in an emulated drive whose every
// request (control requests too) can be made to fail; beside it an image
// file of another disk. The user answers Yes to the media question of a
// copy to a drive and Cancel to every other prompt (error boxes with Retry).
struct FloppyBench {
  TempDir dir;
  fs::path medium = dir / "a.img";
  fs::path image = dir / "disk.kdi";
  std::shared_ptr<CEmulatedFloppy> emu;
  std::unique_ptr<CFloppyDrive> drive;
  ScriptedInteraction ui;
  RecordingProgress progress;
  bool persistent_fault = false;
  // Opening a session shows its own failures (with Retry).
  bool open_failed = false;
  ErrorCode Open(CFloppyVolumeSession& session) {
    const ErrorCode rc = session.Open(ui);
    open_failed = rc != ERR_OK;
    return rc;
  }

  FloppyBench() {
    ImageBuilder disk;
    disk.AddBinaryFile("FNT", 0, "REPORT", 80, 3, 0x11);
    disk.AddBinaryFile("TSK", 0, "JOB", 83, 2, 0x22);
    WriteDiskOnMedium(medium, 9, disk.bytes());
    ImageBuilder other;
    other.AddBinaryFile("IMG", 0, "LOGO", 80, 6, 0x33);
    WriteFileBytes(image, other.Text());
    emu = MakeEmulatedFloppy(medium);
    emu->CountControlRequests(true);
    drive = std::make_unique<CFloppyDrive>("A:", emu);
    ui.on_ask = [this](const std::string& text) {
      if (text.find("diskette?") != std::string::npos) ui.answers.push_front(Button::Yes);
    };
  }
};

// `blank`: whether a whole-disk rewrite stopped half-way may leave the disk
// no printer disk at all; `faulty`: the drive whose requests fail.
template <typename Bench = FloppyBench>
FaultedOperation<Bench> FloppyOperation(std::string name, Reporting reporting,
                                        MayBeBlank blank = MayBeBlank::No,
                                        std::shared_ptr<CEmulatedFloppy> Bench::*faulty = &Bench::emu) {
  FaultedOperation<Bench> op;
  op.name = std::move(name);
  op.arm = [faulty](Bench& b, const Trial& t) {
    if (t.position) (b.*faulty)->InjectFault(t.position, ERR_CRC, t.persistent);
    b.persistent_fault = t.persistent;
  };
  op.requests = [faulty](Bench& b) { return (b.*faulty)->Requests(); };
  op.caller_shows = [reporting](Bench& b, ErrorCode) {
    return reporting == Reporting::Returned && !b.open_failed;
  };
  op.sound = [blank](Bench& b) {
    if (b.drive->IsOpen()) return ::testing::AssertionFailure() << "the drive was left open";
    return DiskIsSound(b.medium, blank);
  };
  return op;
}

TEST(FloppyFaults, StoreAFile) {
  auto op = FloppyOperation("store", Reporting::Returned);
  op.run = [](FloppyBench& b) {
    CFloppyVolumeSession session(*b.drive);
    if (ErrorCode rc = b.Open(session)) return rc;
    const std::vector<std::uint8_t> data(4 * 512, 0x5C);
    return session.Volume().StoreNewFile({"NEW", "ONE", "FNT", 512, 4, 0, data});
  };
  op.complete = [](FloppyBench& b) { return HoldsFile(b.medium, "NEWONE.FNT", 4, 0x5C); };
  TryEveryPosition(op);
}

TEST(FloppyFaults, DeleteAFile) {
  auto op = FloppyOperation("delete", Reporting::Returned);
  op.run = [](FloppyBench& b) {
    CFloppyVolumeSession session(*b.drive);
    if (ErrorCode rc = b.Open(session)) return rc;
    FileLocator file;
    if (ErrorCode rc = session.Volume().FindFile("REPORT.FNT", file)) return rc;
    return session.Volume().DeleteFile(file);
  };
  op.complete = [](FloppyBench& b) { return HoldsFileInstead(b.medium, "REPORT.FNT", "JOB.TSK", 2, 0x22); };
  TryEveryPosition(op);
}

TEST(FloppyFaults, RenameAFile) {
  auto op = FloppyOperation("rename", Reporting::Returned);
  op.run = [](FloppyBench& b) {
    CFloppyVolumeSession session(*b.drive);
    if (ErrorCode rc = b.Open(session)) return rc;
    return session.Volume().RenameFile("REPORT.FNT", "AB.PCH");
  };
  op.complete = [](FloppyBench& b) { return HoldsFile(b.medium, "AB.PCH", 3, 0x11); };
  // The file is there under exactly one of its names, with its data. The
  // entry moves between two directory sectors, the old slot cleared first:
  // a drive that fails every request from between those writes on (the undo
  // included) loses the entry, never leaves two entries sharing blocks; its
  // blocks then stay marked used, which the checker notes.
  op.sound = [](FloppyBench& b) -> ::testing::AssertionResult {
    if (b.drive->IsOpen()) return ::testing::AssertionFailure() << "the drive was left open";
    const bool old_name = HoldsFile(b.medium, "REPORT.FNT", 3, 0x11);
    const bool new_name = HoldsFile(b.medium, "AB.PCH", 3, 0x11);
    if (old_name && new_name) return ::testing::AssertionFailure() << "listed under both names";
    if (!old_name && !new_name) {
      if (!b.persistent_fault) return ::testing::AssertionFailure() << "the file is lost";
      return OnlyNote(b.medium, FindingKind::LostBlocks);
    }
    return DiskIsSound(b.medium, MayBeBlank::No);
  };
  TryEveryPosition(op);
}

TEST(FloppyFaults, LabelTheDisk) {
  auto op = FloppyOperation("label", Reporting::Returned);
  op.run = [](FloppyBench& b) { return LabelDisk(*b.drive, "NEW LABEL"); };
  op.complete = [](FloppyBench& b) -> ::testing::AssertionResult {
    DiskListing listing;
    if (auto ok = DiskIsSound(b.medium, MayBeBlank::No, &listing); !ok) return ok;
    if (listing.disk_id != "NEW LABEL") return ::testing::AssertionFailure() << listing.disk_id;
    return HoldsFile(b.medium, "REPORT.FNT", 3, 0x11);
  };
  TryEveryPosition(op);
}

::testing::AssertionResult FreshlyFormatted(FloppyBench& b) {
  DiskListing listing;
  if (auto ok = DiskIsSound(b.medium, MayBeBlank::No, &listing); !ok) return ok;
  if (!listing.files.empty() || listing.disk_id != "FRESH")
    return ::testing::AssertionFailure() << "not the new file system";
  return ::testing::AssertionSuccess();
}

TEST(FloppyFaults, QuickAndFullFormat) {
  for (const bool quick : {true, false}) {
    auto op = FloppyOperation(quick ? "quick format" : "full format", Reporting::Shown,
                              quick ? MayBeBlank::No : MayBeBlank::Yes);
    op.run = [quick](FloppyBench& b) {
      return FormatDisk(*b.drive, {MediaKind::F3_720_512, quick, "FRESH"}, b.ui, b.progress).code;
    };
    op.complete = FreshlyFormatted;
    TryEveryPosition(op);
  }
}

// Copy Disk to an image file with a fault in the drive, then on a PC disk
// that fills up: the image file is either the old one or the whole copy,
// and nothing is left half-written beside it.
TEST(FloppyFaults, CopyDiskToAnImageFile) {
  for (const bool pc_full : {false, true}) {
    auto op = FloppyOperation(pc_full ? "copy disk to image, PC disk full" : "copy disk to image",
                              Reporting::Shown);
    if (pc_full) ArmFullPcDisk(op);
    op.run = [](FloppyBench& b) { return CopyDisk({b.drive.get(), {}}, {nullptr, b.image}, b.ui, b.progress); };
    op.complete = [](FloppyBench& b) { return HoldsFile(b.image, "REPORT.FNT", 3, 0x11); };
    op.sound = [sound = op.sound, pc_full](FloppyBench& b) -> ::testing::AssertionResult {
      if (!pc_full) {
        if (auto ok = sound(b); !ok) return ok;
      }
      if (HiddenFiles(b.dir.path()) != 0) return ::testing::AssertionFailure() << "temporary file left";
      if (HoldsFile(b.image, "LOGO.IMG", 6, 0x33)) return ::testing::AssertionSuccess();
      return HoldsFile(b.image, "JOB.TSK", 2, 0x22);
    };
    TryEveryPosition(op);
  }
}

TEST(FloppyFaults, CopyAnImageFileToDisk) {
  auto op = FloppyOperation("copy image to disk", Reporting::Shown, MayBeBlank::Yes);
  op.run = [](FloppyBench& b) { return CopyDisk({nullptr, b.image}, {b.drive.get(), {}}, b.ui, b.progress); };
  op.complete = [](FloppyBench& b) { return HoldsFileInstead(b.medium, "REPORT.FNT", "LOGO.IMG", 6, 0x33); };
  TryEveryPosition(op);
}

// A second drive B: holding another printer disk, the destination of a copy
// from drive A.
struct TwoDrives : FloppyBench {
  fs::path medium_b = dir / "b.img";
  std::shared_ptr<CEmulatedFloppy> emu_b;
  std::unique_ptr<CFloppyDrive> drive_b;
  TwoDrives() {
    ImageBuilder other;
    other.AddBinaryFile("IMG", 0, "LOGO", 80, 6, 0x33);
    WriteDiskOnMedium(medium_b, 9, other.bytes());
    emu_b = MakeEmulatedFloppy(medium_b);
    emu_b->CountControlRequests(true);
    drive_b = std::make_unique<CFloppyDrive>("B:", emu_b);
  }
};

// Copy Disk from drive A to drive B with the faults in the drive `faulty`
// picks: the source is never changed, the destination is either a whole
// printer disk or, rewritten half-way, no printer disk at all.
FaultedOperation<TwoDrives> DriveToDrive(std::string name,
                                         std::shared_ptr<CEmulatedFloppy> TwoDrives::*faulty) {
  auto op = FloppyOperation<TwoDrives>(std::move(name), Reporting::Shown, MayBeBlank::No, faulty);
  op.run = [](TwoDrives& b) {
    return CopyDisk({b.drive.get(), {}}, {b.drive_b.get(), {}}, b.ui, b.progress);
  };
  op.complete = [](TwoDrives& b) { return HoldsFileInstead(b.medium_b, "LOGO.IMG", "REPORT.FNT", 3, 0x11); };
  op.sound = [](TwoDrives& b) -> ::testing::AssertionResult {
    if (b.drive->IsOpen() || b.drive_b->IsOpen()) {
      return ::testing::AssertionFailure() << "a drive was left open";
    }
    if (auto ok = HoldsFile(b.medium, "REPORT.FNT", 3, 0x11); !ok) return ok;
    if (auto ok = DiskIsSound(b.medium, MayBeBlank::No); !ok) return ok;
    return DiskIsSound(b.medium_b, MayBeBlank::Yes);
  };
  return op;
}

TEST(FloppyFaults, CopyDiskToAnotherDriveWithTheSourceFailing) {
  TryEveryPosition(DriveToDrive("copy disk A: to B:, faults in A:", &TwoDrives::emu));
}

TEST(FloppyFaults, CopyDiskToAnotherDriveWithTheDestinationFailing) {
  TryEveryPosition(DriveToDrive("copy disk A: to B:, faults in B:", &TwoDrives::emu_b));
}

}  // namespace
}  // namespace kelvo::test
