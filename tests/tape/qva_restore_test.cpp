// Restoring single-volume QVA tapes: what is restored, how, and what the
// progress window shows.
#include <gtest/gtest.h>

#include <map>

#include "support/filetypes_records.h"
#include "support/qva_fixture.h"

namespace kelvo {
namespace {

using test::QvaBench;
using test::QvaBinaryFile;
using test::SeededBytes;
using test::QvaFile;
using test::QvaSourceFile;
using test::QvaTapeBuilder;
using test::QvaType;
using test::QvaUnit;

// What a restore makes of `lines` stored as records numbered from 10 by 10.
std::string Lines(const std::vector<std::string>& lines, bool numbered) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i)
    out += (numbered ? test::SourceRecord(lines[i], static_cast<int>(i + 1) * 10) : lines[i]) + "\r\n";
  return out;
}

QvaUnit SampleUnit() {
  return {.types = {
      {"$Y$", {QvaBinaryFile("BADBLK", 1, 1), QvaBinaryFile("BITMAP", 1, 2)}},
      {"CMD", {QvaSourceFile("START", {"LINE ONE", "LINE TWO"})}},
      {"FNT", {QvaBinaryFile("REPORT", 5, 3), QvaBinaryFile("TITLE", 20, 4)}},
  }};
}

// Units that each come back file by file, byte for byte, the progress
// window showing the system and the count; a source file of seven records
// as seven lines, with or without their numbers, or as its records.
TEST(QvaRestore, UnitsComeBackFileByFile) {
  std::vector<std::string> lines;
  for (int i = 0; i < 40; ++i) lines.push_back("RECORD " + std::to_string(i));
  const std::vector<std::string> seven = {"A", "B", "C", "D", "E", "F", "SEVENTH"};
  const QvaFile seven_file = QvaSourceFile("SEVEN", seven);
  const QvaFile lib = QvaBinaryFile("CODE", 3, 5);
  const QvaFile tmp = QvaBinaryFile("SCRAT", 2, 6);
  const struct {
    const char* what;
    std::size_t block_size;
    std::vector<QvaType> types;
    std::map<std::string, std::string> files;  // every file restored
    QvaRestoreOptions options;
  } cases[] = {
      {"every type of a unit", 8192, SampleUnit().types,
       {{"BADBLK.$Y$", SeededBytes(512, 1)}, {"BITMAP.$Y$", SeededBytes(512, 2)}, {"REPORT.FNT", SeededBytes(5 * 512, 3)},
        {"START.CMD", Lines({"LINE ONE", "LINE TWO"}, true)}, {"TITLE.FNT", SeededBytes(20 * 512, 4)}}, {}},
      {"seven records", 8192, {{"JSL", {seven_file}}}, {{"SEVEN.JSL", Lines(seven, true)}}, {}},
      {"seven records without numbers", 8192, {{"JSL", {seven_file}}}, {{"SEVEN.JSL", Lines(seven, false)}},
       {.remove_line_numbers = true}},
      {"seven records kept", 8192, {{"JSL", {seven_file}}}, {{"SEVEN.JSL", seven_file.data.substr(0, 512 + 80)}},
       {.retain_format = true}},
      {"tape blocks cut records apart", 700,
       {{"PCH", {QvaBinaryFile("FIRST", 1, 9), QvaSourceFile("PATCH", lines)}}},
       {{"FIRST.PCH", SeededBytes(512, 9)}, {"PATCH.PCH", Lines(lines, true)}}, {}},
      // Record length 512 and last-block bytes 0: binary, even of a type
      // that can hold records.
      {"library files", 8192,
       {{"LIB", {lib, QvaSourceFile("MACROS", {"DEFINE X", "END"})}}, {"TMP", {tmp}}},
       {{"CODE.LIB", lib.data}, {"MACROS.LIB", Lines({"DEFINE X", "END"}, true)}, {"SCRAT.TMP", tmp.data}}, {}},
      {"empty directory and empty file", 8192,
       {{"FNT", {}}, {"DAT", {QvaFile{"EMPTY", "", 512, 0}}}, {"FRM", {QvaBinaryFile("FORM", 2, 11)}}},
       {{"EMPTY.DAT", ""}, {"FORM.FRM", SeededBytes(1024, 11)}}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QvaUnit u;
    if (c.types[0].type != "$Y$") u.types = {{"$Y$", {}}};
    u.types.insert(u.types.end(), c.types.begin(), c.types.end());
    QvaBench b;
    b.options = c.options;
    b.Load(QvaTapeBuilder(c.block_size).Start().Unit(u));
    ASSERT_EQ(b.Restore(), ERR_OK);
    std::vector<std::string> names;
    for (const auto& [name, data] : c.files) {
      names.push_back(name);
      EXPECT_EQ(b.Read(name), data) << name;
    }
    EXPECT_EQ(b.Listing(), names);
    EXPECT_TRUE(b.report.not_restored.empty());
    EXPECT_EQ(b.progress.SystemId(), " QVA TEST SYSTEM");
    EXPECT_EQ(b.progress.FilesRestored(), " " + std::to_string(names.size()));
    EXPECT_EQ(b.progress.waited, 1);
    EXPECT_FALSE(b.busy);
    EXPECT_TRUE(b.ui.asks.empty());
  }
}

// A count of 0x10001 blocks: read as 32 bits, the file is longer than the
// tape (as 16 bits it would be 1 block): what the tape holds is kept as
// LARGE.IMG.partial, NEXT's block included.
TEST(QvaRestore, BlockCountHighWord) {
  QvaFile large = QvaBinaryFile("LARGE", 1, 8);
  large.claimed_blocks = 0x10001;
  const QvaUnit v{.types = {{"$Y$", {}}, {"IMG", {large, QvaBinaryFile("NEXT", 1, 10)}}}};
  QvaBench c;
  c.Load(QvaTapeBuilder().Start().Unit(v));
  ASSERT_EQ(c.Restore(), ERR_OK);
  EXPECT_EQ(c.Listing(), std::vector<std::string>{"LARGE.IMG.partial"});
  EXPECT_EQ(c.Read("LARGE.IMG.partial"), SeededBytes(512, 8) + SeededBytes(512, 10));
  ASSERT_EQ(c.report.outcome.partial.size(), 1u);
  EXPECT_EQ(c.report.outcome.partial[0].bytes_promised, 0x10001u * 512);
  ASSERT_EQ(c.report.not_restored.size(), 1u);
  EXPECT_EQ(c.report.not_restored[0].name, "NEXT.IMG");
}

TEST(QvaRestore, FullDirectoryBlockThatLinksOnwardEndsABatch) {
  // 560 files need 25 directory sectors: a 12288-byte block of 24 whose last
  // links onward, the data of its 552 files, then the 25th sector and the
  // data of the last 8 files.
  QvaType fnt{"FNT", {}, 0, 24};
  for (int i = 0; i < 560; ++i) fnt.files.push_back(QvaBinaryFile("F" + std::to_string(i), 1, i));
  const QvaUnit u{.types = {{"$Y$", {}}, fnt, {"IMG", {QvaBinaryFile("LAST", 2, 99)}}}};
  QvaTapeBuilder tape = QvaTapeBuilder().Start().Unit(u);
  QvaBench b;
  b.options.type_dirs = true;
  b.Load(tape);
  ASSERT_EQ(b.Restore(), ERR_OK);
  EXPECT_EQ(b.report.restored, 561);
  for (int i : {0, 1, 551, 552, 559}) {
    EXPECT_EQ(b.Read("FNT/F" + std::to_string(i) + ".FNT"), SeededBytes(512, i)) << i;
  }
  EXPECT_EQ(b.Read("IMG/LAST.IMG"), SeededBytes(1024, 99));
}

// User files only skips the system types, unless the specification names
// one; type folders are named in the window as the files go into them.
TEST(QvaRestore, TypeFoldersAndUserFilesOnly) {
  QvaUnit u = SampleUnit();
  u.types.push_back({"SYS", {QvaBinaryFile("KERNEL", 2, 20), QvaBinaryFile("LOADER", 1, 21)}});
  QvaBench b;
  b.options.type_dirs = true;
  b.options.user_files_only = true;
  b.Load(QvaTapeBuilder().Start().Unit(u));
  ASSERT_EQ(b.Restore(), ERR_OK);
  EXPECT_EQ(b.Listing(), (std::vector<std::string>{"CMD/START.CMD", "FNT/REPORT.FNT", "FNT/TITLE.FNT"}));
  EXPECT_TRUE(b.progress.Saw("Skipping non-User files."));
  const std::vector<std::string>& folders = b.progress.folders;
  EXPECT_NE(std::find(folders.begin(), folders.end(), (b.out / "CMD").string() + "/"), folders.end());
  EXPECT_NE(std::find(folders.begin(), folders.end(), (b.out / "FNT").string() + "/"), folders.end());

  QvaBench sys;
  sys.options.user_files_only = true;
  sys.Load(QvaTapeBuilder().Start().Unit(u));
  ASSERT_EQ(sys.Restore("*.SYS"), ERR_OK);
  EXPECT_EQ(sys.Listing(), (std::vector<std::string>{"KERNEL.SYS", "LOADER.SYS"}));
  EXPECT_TRUE(sys.progress.Saw("Skipping non-matching files."));
  EXPECT_FALSE(sys.progress.Saw("Skipping non-User files."));
}

TEST(QvaRestore, SpecificationWithoutWildcardsEndsAfterTheFirstMatch) {
  QvaUnit first = SampleUnit();
  const QvaUnit second{.types = {{"$Y$", {}}, {"FNT", {QvaBinaryFile("REPORT", 1, 77)}}}};
  QvaBench b;
  b.Load(QvaTapeBuilder().Start().Unit(first).Unit(second));
  ASSERT_EQ(b.Restore("REPORT.FNT"), ERR_OK);
  EXPECT_EQ(b.Listing(), std::vector<std::string>{"REPORT.FNT"});
  EXPECT_EQ(b.Read("REPORT.FNT"), SeededBytes(5 * 512, 3));
  EXPECT_EQ(b.report.restored, 1);
  // It ended there, before reading on to the end of the tape.
  EXPECT_FALSE(b.progress.Saw(" Restore complete, rewinding tape."));
}

TEST(QvaRestore, StructureErrorsAreShownAndEndTheRestore) {
  struct Case {
    QvaTapeBuilder tape;
    const char* text;
  };
  Case cases[] = {
      {std::move(QvaTapeBuilder().VolumeHeader(std::string("\x77\x00\x08\x03", 4)).Characteristics()),
       "This is not a valid QVA Volume"},
      {std::move(QvaTapeBuilder().VolumeHeader().Characteristics(127)),
       "Expected Characteristics Block but not found"},
      {std::move(QvaTapeBuilder().Start().Block(std::string(512, 'M'))),
       "Error: Expected Master File Directory but not found"},
  };
  for (Case& c : cases) {
    QvaBench b;
    b.Load(c.tape);
    EXPECT_EQ(b.Restore(), ERR_OK) << c.text;
    EXPECT_EQ(b.ui.Texts(), std::vector<std::string>{c.text});
    EXPECT_EQ(b.report.structure_error, c.text);
    EXPECT_TRUE(b.Listing().empty());
    EXPECT_FALSE(b.busy);
  }
}

TEST(QvaRestore, AbortLeavesNoPartialFile) {
  const QvaUnit u{.types = {{"$Y$", {}}, {"IMG", {QvaBinaryFile("DONE", 1, 1), QvaBinaryFile("BIG", 64, 2)}}}};
  QvaBench b;
  b.progress.on_step = [](auto& p) {
    if (p.CurrentFile() == "BIG.IMG" && p.Progress() >= 50) p.PressButton();
  };
  b.Load(QvaTapeBuilder(4096).Start().Unit(u));
  EXPECT_EQ(b.Restore(), ERR_TAPE_RESTORE_CANCELLED);
  EXPECT_EQ(b.Listing(), std::vector<std::string>{"DONE.IMG"});
  EXPECT_FALSE(b.busy);
}

TEST(QvaRestore, DriveOrDestinationMissing) {
  QvaBench b;
  b.ctx.bindings.device[0] = (b.dir / "missing.tap").string();
  EXPECT_EQ(b.Restore(), ERR_TAPE_OPEN);
  EXPECT_EQ(b.progress.waited, 0);
  b.Load(QvaTapeBuilder().Start().Unit(SampleUnit()));
  EXPECT_EQ(RestoreQvaTape(b.ctx, "Tape0", (b.dir / "nowhere").string(), "*.*", b.options,
                           b.progress, &b.report),
            ERR_PATH_NOT_FOUND);
  EXPECT_FALSE(b.busy);
}

}  // namespace
}  // namespace kelvo
