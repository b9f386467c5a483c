#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "support/diskfs_image_builder.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

TEST(KduCheck, ACleanImagePasses) {
  TempDir dir;
  const std::string image = (dir / "new.kdi").string();
  ASSERT_EQ(RunKdu({"new", image}).exit_code, 0);
  const CommandResult r = RunKdu({"check", image});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("0 file(s), 75 directory sector(s) checked; no damage found"), std::string::npos)
      << r.out;
}

TEST(KduCheck, ReportsDamageWithoutChangingTheImage) {
  TempDir dir;
  ImageBuilder disk;
  disk.AddBinaryFile("FNT", 0, "REPORT", 80, 3, 0x11);
  disk.AddBinaryFile("TSK", 0, "JOB", 82, 2, 0x22);  // shares LBN 82
  disk.SetWord(17 * 512 + 2, 13);                    // the FNT chain loops
  const auto image = dir / "bad.kdi";
  WriteFileBytes(image, disk.Text());

  const CommandResult text = RunKdu({"check", image.string()});
  EXPECT_EQ(text.exit_code, 1);
  EXPECT_NE(text.out.find("damage: REPORT.FNT and JOB.TSK share 1 block(s) from LBN 82"),
            std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("damage: the FNT directory chain links back to LBN 13"), std::string::npos);
  EXPECT_NE(text.out.find("2 problem(s) found"), std::string::npos);

  const CommandResult json = RunKdu({"check", "--json", image.string()});
  EXPECT_EQ(json.exit_code, 1);
  const auto doc = nlohmann::json::parse(json.out);
  EXPECT_FALSE(doc["clean"].get<bool>());
  EXPECT_EQ(doc["files"].get<int>(), 2);
  ASSERT_EQ(doc["findings"].size(), 2u);
  EXPECT_EQ(doc["findings"][0]["kind"], "chain-cycle");
  EXPECT_EQ(doc["findings"][1]["kind"], "overlapping-files");

  EXPECT_EQ(ReadFileText(image), disk.Text());
}

TEST(KduCheck, RefusesWhatIsNoPrinterDisk) {
  TempDir dir;
  const auto junk = dir / "junk.kdi";
  WriteFileBytes(junk, std::string(80 * 512, 'x'));
  const CommandResult r = RunKdu({"check", junk.string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_FALSE(r.err.empty());
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(RunKdu({"check", (dir / "missing.kdi").string()}).exit_code, 1);
}

}  // namespace
}  // namespace kelvo::test
