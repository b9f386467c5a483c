// Tape writes and restores with a tape fault at each request in turn, and
// restores, image saves, copies and exports onto a PC disk that fills up at
// each write in turn: no partial PC file is left looking complete, and the
// tape stays readable up to the failure.
#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "diskfs/kelvo_volume.h"
#include "diskfs/disk_image_doc.h"
#include "reliability/disk_checks.h"
#include "reliability/fault_positions.h"
#include "reliability/pc_disk_full.h"
#include "support/diskfs_image_builder.h"
#include "support/qva_fixture.h"
#include "support/tape_fixture.h"
#include "tape/tap_image.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;
using Folder = std::map<std::string, std::string>;

// Every file in `folder` is one of `expected`, whole, or a file the tape
// cut short, kept as NAME.partial with a beginning of NAME; nothing
// temporary is left. With `all`, every expected file is there, whole.
::testing::AssertionResult OnlyWholeFiles(const fs::path& folder, const Folder& expected,
                                          bool all) {
  if (HiddenFiles(folder) != 0) return ::testing::AssertionFailure() << "temporary file left";
  const Folder got = FolderFiles(folder);
  const std::string suffix = ".partial";
  for (const auto& [name, data] : got) {
    const bool partial = name.ends_with(suffix);
    if (partial && all) return ::testing::AssertionFailure() << name << ": a file cut short";
    auto it = expected.find(partial ? name.substr(0, name.size() - suffix.size()) : name);
    if (it == expected.end()) return ::testing::AssertionFailure() << "unexpected file " << name;
    if (partial ? it->second.compare(0, data.size(), data) != 0 : it->second != data)
      return ::testing::AssertionFailure() << name << " has " << data.size() << " bytes, not "
                                           << (partial ? "a beginning of " : "")
                                           << it->second.size();
  }
  if (all && got.size() != expected.size())
    return ::testing::AssertionFailure() << got.size() << " of " << expected.size() << " files";
  return ::testing::AssertionSuccess();
}

// The bench's tape image, opened anew by each tape operation: the requests
// of every opening count on from those before it, so that a fault can be
// armed at any request and the requests counted once the operation is over.
struct FaultableTape {
  Trial trial;
  std::uint64_t requests = 0;
};

class CountedTap final : public CTapImage {
 public:
  CountedTap(const std::string& device, std::uint64_t& requests)
      : CTapImage(SplitTapVolumes(device)), requests_(requests) {}
  ~CountedTap() override { requests_ += Requests(); }

 private:
  std::uint64_t& requests_;
};

void BindFaultableTape(TapeContext& ctx, FaultableTape& f) {
  ctx.bindings.open = [&f](const std::string& device, std::unique_ptr<CTapeDevice>& out) {
    auto tape = std::make_unique<CountedTap>(device, f.requests);
    if (f.trial.position > f.requests) {
      tape->InjectFault(f.trial.position - f.requests, ERR_CRC, f.trial.persistent);
    } else if (f.trial.position != 0 && f.trial.persistent) {
      tape->InjectFault(1, ERR_CRC, true);
    }
    if (ErrorCode rc = tape->Open()) return rc;
    out = std::move(tape);
    return ERR_OK;
  };
}

const std::string kText = "LINE ONE\nLINE TWO\nLINE THREE\nLINE FOUR\nLINE FIVE\nLINE SIX\nLINE SEVEN\n";
const std::string kBinary = [] {
  std::string s(12 * 512, '\0');
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>(i * 7 + 1);
  return s;
}();

// PC files to write, and a labelled tape holding one file already.
struct LabelledBench : TapeBench {
  FaultableTape tape;

  LabelledBench() {
    WriteFileBytes(dir / "OLD.DAT", std::string(1024, 'o'));
    WriteFileBytes(dir / "NOTES.CMD", kText);
    WriteFileBytes(dir / "LOGO.IMG", kBinary);
    write_options.blocking_factor = 1;  // one tape block per 512 bytes: many requests
    EXPECT_EQ(TapeBench::Write({"OLD.DAT"}), 0u);
    BindFaultableTape(ctx, tape);
  }
  ErrorCode Write() { return TapeBench::Write({"NOTES.CMD", "LOGO.IMG"}); }
  // Restores the tape into `folder` (made here) without any fault.
  ErrorCode RestoreInto(const fs::path& folder) const {
    TapeBench plain;
    plain.ctx.bindings.device[0] = tap;
    plain.out = folder;
    fs::create_directory(folder);
    return plain.Restore("*.*");
  }
};

// What a clean restore of the fully written tape gives.
const Folder& LabelledReference() {
  static const Folder files = [] {
    LabelledBench b;
    EXPECT_EQ(b.Write(), 0u);
    EXPECT_EQ(b.RestoreInto(b.out), 0u);
    return FolderFiles(b.out);
  }();
  return files;
}

// An operation on the bench's tape (`b.tape`) with a tape fault at each
// request in turn.
template <typename Bench>
FaultedOperation<Bench> TapeOperation(std::string name) {
  FaultedOperation<Bench> op;
  op.name = std::move(name);
  op.arm = [](Bench& b, const Trial& t) { b.tape = {t, 0}; };
  op.requests = [](Bench& b) { return b.tape.requests; };
  return op;
}

// Writing two more files to the tape that holds one: complete when a clean
// restore gives every file whole; whatever was written before a failure
// reads back whole (the file that was on the tape always, the new ones as
// far as they got).
FaultedOperation<LabelledBench> TapeWrite(std::string name) {
  auto op = TapeOperation<LabelledBench>(std::move(name));
  op.run = [](LabelledBench& b) { return b.Write(); };
  op.complete = [](LabelledBench& b) {
    const fs::path again = b.dir / "again";
    if (b.RestoreInto(again) != ERR_OK) return ::testing::AssertionFailure() << "restore failed";
    return OnlyWholeFiles(again, LabelledReference(), true);
  };
  op.sound = [](LabelledBench& b) -> ::testing::AssertionResult {
    if (b.busy) return ::testing::AssertionFailure() << "TapeBusy left set";
    const fs::path again = b.dir / "again";
    b.RestoreInto(again);
    if (FolderFiles(again).count("OLD.DAT") == 0)
      return ::testing::AssertionFailure() << "the file written before is lost";
    return OnlyWholeFiles(again, LabelledReference(), false);
  };
  return op;
}

TEST(TapeFaults, WriteFilesToALabelledTape) {
  const Folder& reference = LabelledReference();
  ASSERT_EQ(reference.size(), 3u);
  ASSERT_EQ(reference.at("LOGO.IMG"), kBinary);
  TryEveryPosition(TapeWrite("tape write"));
}

// The same write with the tape image on a PC disk that fills up at each of
// the image's writes in turn.
TEST(PcDiskFull, WriteFilesToALabelledTape) {
  auto op = TapeWrite("tape write, PC disk full");
  ArmFullPcDisk(op);
  TryEveryPosition(op);
}

// A labelled tape written whole, to restore.
struct RestoreBench : LabelledBench {
  RestoreBench() { EXPECT_EQ(Write(), 0u); }
};

// A restore of everything on the bench's tape: complete when every file of
// `reference` (a clean restore) is there whole.
template <typename Bench>
FaultedOperation<Bench> RestoreOperation(std::string name, const Folder& (*reference)()) {
  auto op = TapeOperation<Bench>(std::move(name));
  op.run = [](Bench& b) { return b.Restore("*.*"); };
  op.complete = [reference](Bench& b) { return OnlyWholeFiles(b.out, reference(), true); };
  op.sound = [reference](Bench& b) -> ::testing::AssertionResult {
    if (b.busy) return ::testing::AssertionFailure() << "TapeBusy left set";
    return OnlyWholeFiles(b.out, reference(), false);
  };
  return op;
}

TEST(TapeFaults, RestoreALabelledTape) {
  TryEveryPosition(RestoreOperation<RestoreBench>("labelled restore, tape fault", LabelledReference));
}

TEST(PcDiskFull, RestoreALabelledTape) {
  auto op = RestoreOperation<RestoreBench>("labelled restore, PC disk full", LabelledReference);
  ArmFullPcDisk(op);
  TryEveryPosition(op);
}

// A QVA tape with files of several types; the tape image is opened through
// the fault-injecting binding.
struct QvaFaultBench : QvaBench {
  FaultableTape tape;
  QvaFaultBench() {
    const QvaUnit unit{.types = {
        {"$Y$", {}},
        {"CMD", {QvaSourceFile("START", {"LINE ONE", "LINE TWO", "LINE THREE"})}},
        {"FNT", {QvaBinaryFile("REPORT", 5, 'r'), QvaBinaryFile("TITLE", 9, 't')}},
        {"IMG", {QvaBinaryFile("LOGO", 3, 'l')}},
    }};
    Load(QvaTapeBuilder().Start().Unit(unit));
    BindFaultableTape(ctx, tape);
  }
};

const Folder& QvaReference() {
  static const Folder files = [] {
    QvaFaultBench b;
    EXPECT_EQ(b.Restore(), 0u);
    return FolderFiles(b.out);
  }();
  return files;
}

TEST(TapeFaults, RestoreAQvaTape) {
  ASSERT_EQ(QvaReference().size(), 4u);
  EXPECT_EQ(QvaReference().at("TITLE.FNT"), SeededBytes(9 * 512, 't'));
  TryEveryPosition(RestoreOperation<QvaFaultBench>("QVA restore, tape fault", QvaReference));
}

TEST(PcDiskFull, RestoreAQvaTape) {
  auto op = RestoreOperation<QvaFaultBench>("QVA restore, PC disk full", QvaReference);
  ArmFullPcDisk(op);
  TryEveryPosition(op);
}

// A disk image document with files, an image file it was saved to before,
// and a drive holding the same disk.
struct ImageBench {
  TempDir dir;
  ScriptedInteraction ui;
  fs::path file = dir / "disk.kdi";
  fs::path exported = dir / "REPORT.FNT";
  CDiskImageDoc doc;

  ImageBench() {
    ImageBuilder disk(false, 200);
    disk.AddBinaryFile("FNT", 0, "REPORT", 80, 40, 0x11);
    WriteFileBytes(file, disk.Text());
    WriteFileBytes(exported, "an older export");
    EXPECT_EQ(doc.OnOpenDocument(file), 0u);
    const std::vector<std::uint8_t> data(30 * 512, 0x44);
    CKelvoVolume volume(doc);
    EXPECT_EQ(volume.StoreNewFile({"NEW", "", "IMG", 512, 30, 0, data}), 0u);
  }
};

FaultedOperation<ImageBench> ImageOperation(std::string name) {
  FaultedOperation<ImageBench> op;
  op.name = std::move(name);
  ArmFullPcDisk(op);
  return op;
}

TEST(PcDiskFull, SaveADiskImage) {
  auto op = ImageOperation("image save, PC disk full");
  op.run = [](ImageBench& b) { return b.doc.OnSaveDocument(b.file); };
  op.complete = [](ImageBench& b) { return HoldsFile(b.file, "NEW.IMG", 30, 0x44); };
  // The file on disk is the old image or the new one, never a mixture; while
  // it is the old one the document still counts as changed.
  op.sound = [](ImageBench& b) -> ::testing::AssertionResult {
    if (HiddenFiles(b.dir.path()) != 0) return ::testing::AssertionFailure() << "temporary file left";
    if (auto ok = DiskIsSound(b.file, MayBeBlank::No); !ok) return ok;
    if (!b.doc.IsModified() && !HoldsFile(b.file, "NEW.IMG", 30, 0x44))
      return ::testing::AssertionFailure() << "the changes are marked saved but are not in the file";
    return HoldsFile(b.file, "REPORT.FNT", 40, 0x11);
  };
  TryEveryPosition(op);
}

TEST(PcDiskFull, ExportAFileFromAnImage) {
  auto op = ImageOperation("export, PC disk full");
  op.run = [](ImageBench& b) {
    return CKelvoVolume(b.doc).ExportFile("REPORT.FNT", b.exported, ExportOptions{});
  };
  op.complete = [](ImageBench& b) -> ::testing::AssertionResult {
    if (ReadFileText(b.exported) != std::string(40 * 512, '\x11'))
      return ::testing::AssertionFailure() << "export incomplete";
    return ::testing::AssertionSuccess();
  };
  op.sound = [](ImageBench& b) -> ::testing::AssertionResult {
    if (HiddenFiles(b.dir.path()) != 0) return ::testing::AssertionFailure() << "temporary file left";
    const std::string now = ReadFileText(b.exported);
    if (now != "an older export" && now != std::string(40 * 512, '\x11'))
      return ::testing::AssertionFailure() << "a partial export of " << now.size() << " bytes";
    return ::testing::AssertionSuccess();
  };
  TryEveryPosition(op);
}

}  // namespace
}  // namespace kelvo::test
