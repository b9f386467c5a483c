#include <gtest/gtest.h>

#include "support/qva_tape_builder.h"
#include "tape/qva_format.h"

namespace kelvo {
namespace {

using test::QvaFile;
using test::QvaTapeBuilder;

const std::uint8_t* U8(const std::string& s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

TEST(QvaFormat, ControlRecordsAreToldApart) {
  EXPECT_EQ(ClassifyQvaControlRecord(U8(QvaTapeBuilder::EndOfVolumeRecord())), QvaControlKind::EndOfVolume);
  const std::string marker = QvaTapeBuilder::ControlRecord(0xF3CF, 0xF3CF, 3);
  EXPECT_EQ(ClassifyQvaControlRecord(U8(marker)), QvaControlKind::DiskUnitMarker);
  EXPECT_EQ(QvaDiskUnitText(U8(marker)), "DP2:");
  const std::string continuation = QvaTapeBuilder::ControlRecord(2, 0);
  EXPECT_EQ(ClassifyQvaControlRecord(U8(continuation)), QvaControlKind::Other);
  EXPECT_EQ(QvaContinuationVolume(U8(continuation)), 2);
  // Only one of the two marker words: not a marker.
  EXPECT_EQ(ClassifyQvaControlRecord(U8(QvaTapeBuilder::ControlRecord(0xF3CF, 0, 3))),
            QvaControlKind::Other);
}

TEST(QvaFormat, HeaderAndMasterFileDirectory) {
  const std::uint8_t good[] = {0x77, 0x00, 0x08, 0x02, 0x55};
  EXPECT_TRUE(IsQvaVolumeHeader(good, sizeof good));
  EXPECT_FALSE(IsQvaVolumeHeader(good, 3));
  std::string mfd = QvaTapeBuilder::MasterFileDirectory(std::string(32, 'X'), {"$Y$", "CMD"});
  EXPECT_TRUE(IsQvaMasterFileDirectory(U8(mfd), 512));
  EXPECT_FALSE(IsQvaMasterFileDirectory(U8(mfd), 511));
  EXPECT_EQ(QvaSystemId(U8(mfd)), std::string(30, 'X'));  // cut at 30 bytes
  EXPECT_EQ(QvaIndexType(U8(mfd), 1), "CMD");
  EXPECT_EQ(QvaIndexType(U8(mfd), 2), "");   // a zero type ends the index
  EXPECT_EQ(QvaIndexType(U8(mfd), 68), "");  // past the block
  mfd[100] = 0;
  EXPECT_FALSE(IsQvaMasterFileDirectory(U8(mfd), 512));
}

TEST(QvaFormat, DirectorySectorEntriesAndTheirLengths) {
  QvaFile plain{"REPORT", std::string(3 * 512, 'a'), 512, 0};
  QvaFile selected{"AB", std::string(2 * 512, 'b'), 512, 0, 1};  // w4:w5 is wrong on purpose
  QvaFile big{"HUGE", "", 512, 0, 0, 0x12345};                  // high word in use
  const auto sectors = QvaTapeBuilder::DirectorySectors({plain, selected, big}, 2);
  std::vector<QvaFileEntry> table;
  EXPECT_TRUE(ReadQvaDirectorySector(U8(sectors[0]), "FNT", table));  // links onward
  EXPECT_FALSE(ReadQvaDirectorySector(U8(sectors[1]), "FNT", table));
  ASSERT_EQ(table.size(), 3u);
  EXPECT_EQ(table[0].name, "REPORT.FNT");
  EXPECT_EQ(table[0].byte_length, 3u * 512);
  EXPECT_EQ(table[1].byte_length, 2u * 512);
  EXPECT_EQ(table[2].byte_length, std::uint64_t{0x12345} * 512);
}

TEST(QvaFormat, SourceEntriesAndUserFiles) {
  EXPECT_TRUE(IsSourceEntry("pch", 80, 0));
  EXPECT_TRUE(IsSourceEntry("LIB", 80, 160));
  EXPECT_FALSE(IsSourceEntry("LIB", 80, 512));
  EXPECT_FALSE(IsSourceEntry("TMP", 512, 0));
  EXPECT_FALSE(IsSourceEntry("FNT", 80, 80));
  EXPECT_FALSE(EffectiveUserFilesOnly("A*.$Y$", true));
  EXPECT_TRUE(EffectiveUserFilesOnly("*.FNT", true));
  EXPECT_FALSE(EffectiveUserFilesOnly("*.FNT", false));
}

}  // namespace
}  // namespace kelvo
