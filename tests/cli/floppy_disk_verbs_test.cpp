#include <gtest/gtest.h>

#include <filesystem>

#include "support/floppy_media.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

TEST(FloppyDiskVerbs, ListStoreExportRenameAndDeleteOnAnEmulatedDrive) {
  TempDir dir;
  WriteKelvoMedium(dir / "a.img", 5);
  const std::string drive = "emu:" + (dir / "a.img").string();
  WriteFileBytes(dir / "report.fnt", std::string(600, '\x7f'));
  WriteFileBytes(dir / "job.jsl", "LINE ONE\r\nLINE TWO\r\n");

  CommandResult put = RunKdu({"--drive-a", drive, "put", "a:", (dir / "report.fnt").string(),
                              (dir / "job.jsl").string()});
  ASSERT_EQ(put.exit_code, 0) << put.err;
  CommandResult ls = RunKdu({"--drive-a", drive, "ls", "a:", "--json"});
  ASSERT_EQ(ls.exit_code, 0) << ls.err;
  EXPECT_NE(ls.out.find("Report.fnt"), std::string::npos);
  EXPECT_NE(ls.out.find("Job.jsl"), std::string::npos);

  CommandResult mv = RunKdu({"--drive-a", drive, "mv", "a:", "REPORT.FNT", "AB.FNT"});
  ASSERT_EQ(mv.exit_code, 0) << mv.err;
  std::filesystem::create_directory(dir / "out");
  CommandResult get = RunKdu({"--drive-a", drive, "get", "a:", "AB.FNT", "-C",
                              (dir / "out").string()});
  ASSERT_EQ(get.exit_code, 0) << get.err;
  EXPECT_EQ(std::filesystem::file_size(dir / "out" / "Ab.fnt"), 1024u);

  CommandResult rm = RunKdu({"--drive-a", drive, "rm", "a:", "AB.FNT"});
  ASSERT_EQ(rm.exit_code, 0) << rm.err;
  ls = RunKdu({"--drive-a", drive, "ls", "a:"});
  EXPECT_EQ(ls.out.find("Ab.fnt"), std::string::npos);
  EXPECT_NE(ls.out.find("Job.jsl"), std::string::npos);

  // Replacing a file keeps one entry; a write-protected disk refuses.
  put = RunKdu({"--drive-a", drive, "put", "a:", (dir / "job.jsl").string()});
  ASSERT_EQ(put.exit_code, 0) << put.err;
  ls = RunKdu({"--drive-a", drive, "ls", "a:"});
  EXPECT_EQ(ls.out.find("Job.jsl"), ls.out.rfind("Job.jsl"));
  CommandResult wp = RunKdu({"--drive-a", drive + ",wp", "rm", "a:", "JOB.JSL"});
  EXPECT_EQ(wp.exit_code, 1);

  CommandResult blank = RunKdu({"--drive-b", "emu:" + (dir / "b.img").string(), "ls", "b:"});
  EXPECT_EQ(blank.exit_code, 1);
}

TEST(FloppyDiskVerbs, AReplacementThatDoesNotFitKeepsTheOldCopy) {
  // 29 blocks free beside a 60 KB A.FNT; the 100 KB one needs 200.
  TempDir dir;
  WriteKelvoMedium(dir / "a.img", 5);
  const std::string drive = "emu:" + (dir / "a.img").string();
  for (const char* sub : {"old", "new", "out"}) std::filesystem::create_directory(dir / sub);
  std::string font(60 * 1024, '\0');
  for (std::size_t i = 0; i < font.size(); ++i) font[i] = static_cast<char>(i * 13 + i / 512);
  WriteFileBytes(dir / "old" / "A.FNT", font);
  WriteFileBytes(dir / "old" / "FILL.FNT", std::string((1324 - 120 - 29) * 512, 'f'));
  WriteFileBytes(dir / "new" / "A.FNT", std::string(100 * 1024, 'n'));
  ASSERT_EQ(RunKdu({"--drive-a", drive, "put", "a:", (dir / "old" / "FILL.FNT").string(),
                    (dir / "old" / "A.FNT").string()}).exit_code, 0);

  CommandResult put = RunKdu({"--drive-a", drive, "put", "a:", (dir / "new" / "A.FNT").string()});
  EXPECT_EQ(put.exit_code, 1);
  EXPECT_NE(put.err.find("There is insufficient disk space to complete the operation."),
            std::string::npos) << put.err;
  CommandResult get = RunKdu({"--drive-a", drive, "get", "a:", "A.FNT", "-C", (dir / "out").string()});
  ASSERT_EQ(get.exit_code, 0) << get.err;
  EXPECT_EQ(ReadFileText(dir / "out" / "A.fnt"), font);
}

}  // namespace
}  // namespace kelvo::test
