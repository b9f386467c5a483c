#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/filetypes_records.h"
#include "support/tape_fixture.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

std::string Binary(const std::string& name, const std::string& type, const std::string& data) {
  return MakeLabel({.name = name, .type = type, .blocks = static_cast<std::uint32_t>((data.size() + 511) / 512)});
}

// Records for `lines` (each up to 74 characters), numbered from 10 by 10.
std::string Records(const std::vector<std::string>& lines) {
  std::vector<std::string> records;
  for (std::size_t i = 0; i < lines.size(); ++i) records.push_back(SourceRecord(lines[i], int(i + 1) * 10));
  return Text(RecordBlocks(records));
}

std::string Source(const std::string& name, const std::string& type, std::size_t lines) {
  return MakeLabel({.name = name,
                    .type = type,
                    .blocks = static_cast<std::uint32_t>((lines + 5) / 6),
                    .last_block_bytes = static_cast<std::uint16_t>(lines % 6 == 0 ? 480 : lines % 6 * 80),
                    .record_length = 80});
}

class LabelledRestoreTest : public ::testing::Test, public TapeBench {};

// A name without wildcards takes only its first match; ENDFIL.END ends the
// restore; type folders hold each type.
TEST_F(LabelledRestoreTest, WhatARestoreTakes) {
  TapeImageBuilder b;
  b.LabelledFile(Binary("DUP", "IMG", "1"), std::string(512, '1'));
  b.LabelledFile(Binary("DUP", "IMG", "2"), std::string(512, '2'));
  b.LabelledFile(Binary("B", "FNT", "b"), "b");
  b.LabelledFile(Binary("ENDFIL", "END", ""), "");
  b.LabelledFile(Binary("C", "IMG", "c"), "c");
  Load(b.Filemark());
  WriteFileBytes(out / "Dup.img", "old");  // the same name in other letter case is replaced
  EXPECT_EQ(Restore("dup.img"), 0u);
  EXPECT_EQ(Listing(), std::vector<std::string>{"Dup.img"});
  EXPECT_EQ(Read("Dup.img"), std::string(512, '1'));
  EXPECT_EQ(report.restored, 1);
  fs::remove(out / "Dup.img");
  fs::create_directory(out / "IMG");
  restore_options.type_dirs = true;
  EXPECT_EQ(Restore("*.*"), 0u);
  EXPECT_EQ(Listing(), (std::vector<std::string>{"FNT/B.FNT", "IMG/DUP.IMG"}));
}

TEST_F(LabelledRestoreTest, ListModeTakesEveryMentionWhateverItsOrder) {
  TapeImageBuilder b;
  for (const char* n : {"A", "B", "C"}) b.LabelledFile(Binary(n, "IMG", n), std::string(3, n[0]));
  b.LabelledFile(Binary("A", "IMG", "2"), "A2");
  Load(b.Filemark());
  // Each mention takes the next file of its name: the second A.IMG remains.
  EXPECT_EQ(Restore("", {"C.IMG", "a.img", "NOPE.IMG", "B.IMG", "A.IMG"}), 0u);
  EXPECT_EQ(Listing(), (std::vector<std::string>{"A.IMG", "B.IMG", "C.IMG"}));
  EXPECT_EQ(Read("A.IMG"), "A2" + std::string(510, '\0'));
  EXPECT_EQ(Read("C.IMG"), "CCC" + std::string(509, '\0'));
  EXPECT_EQ(report.restored, 4);
  EXPECT_EQ(report.outcome.missing, std::vector<std::string>{"NOPE.IMG"});
  EXPECT_EQ(ui.Texts(), std::vector<std::string>{"NOPE.IMG: not on the tape"});
}

TEST_F(LabelledRestoreTest, SkipsInvalidReservedAndSystemFilesAndMendsUnsafeNames) {
  TapeImageBuilder b;
  b.LabelledFile(Binary("BAD", "XYZ", "b"), "b");       // unknown type
  b.LabelledFile(Binary("CON", "IMG", "c"), "c");       // reserved device name
  b.LabelledFile(Binary("A/B", "IMG", "s"), "s");       // a path
  b.LabelledFile(Binary("..", "IMG", "d"), "d");        // a parent folder
  b.LabelledFile(Binary("\x01\xFE", "IMG", "e"), "e");  // a control byte, a byte outside ASCII
  b.LabelledFile(Binary("TASK", "TSK", "t"), "t");      // a system file
  b.LabelledFile(Binary("GOOD", "IMG", "g"), "g");
  Load(b.Filemark());
  restore_options.user_files_only = true;
  EXPECT_EQ(Restore("*.*"), 0u);
  EXPECT_EQ(Listing(), (std::vector<std::string>{"A_B.IMG", "GOOD.IMG", "_..IMG", "__.IMG"}));
  EXPECT_EQ(Read("A_B.IMG").substr(0, 1), "s");
  EXPECT_EQ(FolderFiles(dir.path()).size(), 1u + 4u);  // the tape and the folder's files
  // The replacements are named, as information.
  ASSERT_EQ(ui.asks.size(), 1u);
  EXPECT_EQ(ui.asks[0].icon, Icon::Information);
}

// A wildcard takes every match to the end of data; source files come back
// as numbered lines, or as the options say.
// A wildcard takes every match to the end of data; source files come back
// as numbered lines, or as the options say.
TEST_F(LabelledRestoreTest, WildcardAndConversionOptions) {
  TapeImageBuilder b;
  b.LabelledFile(Source("JOB", "CMD", 7), Records({"L1", "L2", "L3", "L4", "L5", "L6", "HELLO"}));
  b.LabelledFile(Binary("PIC", "IMG", "x"), std::string(512, 'x'));
  b.LabelledFile(Source("TWO", "CMD", 1), Records({"C"}));
  Load(b.Filemark());
  EXPECT_EQ(Restore("*.cmd"), 0u);
  EXPECT_EQ(Listing(), (std::vector<std::string>{"JOB.CMD", "TWO.CMD"}));
  EXPECT_EQ(Read("TWO.CMD"), "C" + std::string(73, ' ') + "000010\r\n");
  EXPECT_EQ(Read("JOB.CMD").substr(6 * 82), "HELLO" + std::string(69, ' ') + "000070\r\n");
  EXPECT_FALSE(busy);
  EXPECT_EQ(progress.waited, 1);

  restore_options.remove_line_numbers = true;
  EXPECT_EQ(Restore("JOB.CMD"), 0u);
  EXPECT_EQ(Read("JOB.CMD"), "L1\r\nL2\r\nL3\r\nL4\r\nL5\r\nL6\r\nHELLO\r\n");

  restore_options = {};
  restore_options.retain_format = true;
  EXPECT_EQ(Restore("JOB.CMD"), 0u);
  const std::string kept = Read("JOB.CMD");
  EXPECT_EQ(kept.size(), 512u + 80u);  // ends where the records end
  EXPECT_EQ(kept.substr(512, 5), "HELLO");

  restore_options = {};
  restore_options.retain_labels = true;
  EXPECT_EQ(Restore("JOB.CMD"), 0u);
  const std::string labelled = Read("JOB.CMD");
  EXPECT_EQ(labelled.substr(0, 128), Source("JOB", "CMD", 7));
  EXPECT_EQ(labelled.size(), 128u + 7u * 82u);
}

// Files much larger than the restore's output buffer, in tape blocks of
// every size from 512 bytes up to the largest the restore takes (and odd
// ones), come back byte for byte; a retained-format source file keeps its
// records up to the last block's count.
TEST_F(LabelledRestoreTest, LargeFilesInEveryBlockSizeComeBackExactly) {
  std::string data(700 * 1024 + 512, '\0');
  std::uint32_t x = 12345;
  for (char& c : data) {
    x = x * 1103515245u + 12345u;
    c = static_cast<char>(x >> 24);
  }
  std::vector<std::string> lines;
  for (int i = 0; i < 9001; ++i) lines.push_back("LINE " + std::to_string(i));  // 1 in the last block
  const std::string records = Records(lines);
  for (std::size_t block : {512u, 1536u, 8192u, 12800u, 16384u}) {
    SCOPED_TRACE(block);
    TapeImageBuilder b;
    b.LabelledFile(Binary("BIG", "IMG", data), data, block);
    b.LabelledFile(Source("SRC", "CMD", lines.size()), records, block);
    b.Filemark();
    Load(b);
    fs::remove_all(out);
    fs::create_directory(out);
    restore_options.retain_format = true;
    ASSERT_EQ(Restore("*.*"), 0u);
    EXPECT_TRUE(Read("BIG.IMG") == data);
    const std::size_t keep = (lines.size() + 5) / 6 * 512 - 512 + (lines.size() % 6) * 80;
    EXPECT_TRUE(Read("SRC.CMD") == records.substr(0, keep));
  }
}

TEST_F(LabelledRestoreTest, PlantedLinksAreNeverFollowed) {
  Load(TapeImageBuilder().LabelledFile(Binary("A", "IMG", "a"), "a").Filemark());
  WriteFileBytes(dir / "victim", "precious");
  fs::create_symlink(dir / "victim", out / "A.IMG");
  EXPECT_EQ(Restore("A.IMG"), 0u);
  EXPECT_EQ(ReadFileText(dir / "victim"), "precious");
  EXPECT_FALSE(fs::is_symlink(out / "A.IMG"));
  EXPECT_EQ(Read("A.IMG").substr(0, 1), "a");

  fs::create_directory(dir / "elsewhere");
  fs::create_directory_symlink(dir / "elsewhere", out / "IMG");
  restore_options.type_dirs = true;
  EXPECT_EQ(Restore("A.IMG"), 5u);
  EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
}

TEST_F(LabelledRestoreTest, AbortRemovesThePartialFile) {
  const std::string big(40000, 'z');
  Load(TapeImageBuilder().LabelledFile(Binary("BIG", "IMG", big), big).Filemark());
  progress.on_step = [](RecordingTapeProgress& p) {
    if (p.Progress() > 0) p.PressButton();
  };
  EXPECT_EQ(Restore("*.*"), 5009u);
  EXPECT_TRUE(Listing().empty());
  EXPECT_FALSE(busy);
}

TEST_F(LabelledRestoreTest, ReadErrorAnsweredIgnoreKeepsWhatWasReadAndGoesOn) {
  TapeImageBuilder b;
  b.Record(Binary("BAD", "IMG", std::string(1024, 'b'))).Record(std::string(512, 'b'));
  b.Record(std::string(512, 'b'), 8).Filemark();
  b.LabelledFile(Binary("NEXT", "IMG", "n"), "n");
  Load(b.Filemark());
  ui.answers = {Button::Retry, Button::Ignore};
  EXPECT_EQ(Restore("*.IMG"), 0u);
  ASSERT_EQ(ui.asks.size(), 3u);
  EXPECT_EQ(ui.asks[0].buttons, Buttons::AbortRetryIgnore);
  EXPECT_EQ(ui.asks[2].text,
            "BAD.IMG: the tape holds 512 of the 1024 bytes promised; what was read is kept as "
            "BAD.IMG.partial");
  EXPECT_EQ(Listing(), (std::vector<std::string>{"BAD.IMG.partial", "NEXT.IMG"}));
  EXPECT_EQ(Read("BAD.IMG.partial"), std::string(512, 'b'));

  // Abort ends the restore normally, keeping what was read.
  std::filesystem::remove_all(out);
  std::filesystem::create_directory(out);
  ui.answers = {Button::Abort};
  EXPECT_EQ(Restore("*.IMG"), 0u);
  EXPECT_EQ(Listing(), std::vector<std::string>{"BAD.IMG.partial"});
}

// A label promising 3 blocks with 1 on the tape (a tape image cut inside a
// record reads as a read error, answered above).
TEST_F(LabelledRestoreTest, FileTheTapeCutsShortIsKeptAsPartial) {
  TapeImageBuilder early;
  early.Record(Binary("SHORT", "IMG", std::string(1536, 's'))).Record(std::string(512, 's'));
  early.Filemark().Filemark();
  Load(early);
  EXPECT_EQ(Restore("*.IMG"), 0u);
  EXPECT_EQ(Listing(), std::vector<std::string>{"SHORT.IMG.partial"});
  EXPECT_EQ(Read("SHORT.IMG.partial"), std::string(512, 's'));
  ASSERT_EQ(report.outcome.partial.size(), 1u);
  EXPECT_EQ(report.outcome.partial[0].bytes_promised, 1536u);
}

}  // namespace
}  // namespace kelvo::test
