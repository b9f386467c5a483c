#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>

#include "support/tape_builder.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

TEST(KduTape, WriteThenRestoreGivesBackEveryFile) {
  TempDir dir;
  const std::string tap = (dir / "t.tap").string();
  fs::create_directory(dir / "in");
  std::string binary(20000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 31 + 7);
  WriteFileBytes(dir / "in" / "LOGO.IMG", binary);
  WriteFileBytes(dir / "in" / "JOB.CMD", "FIRST LINE\r\nSECOND\r\n");
  WriteFileBytes(dir / "in" / "EMPTY.FNT", "");

  ASSERT_EQ(RunKdu({"tape", "init", tap}).exit_code, 0);
  CommandResult w = RunKdu({"tape", "write", tap, (dir / "in" / "LOGO.IMG").string(),
                            (dir / "in" / "JOB.CMD").string(), (dir / "in" / "EMPTY.FNT").string()});
  ASSERT_EQ(w.exit_code, 0) << w.err;

  CommandResult ls = RunKdu({"tape", "ls", tap, "--json"});
  ASSERT_EQ(ls.exit_code, 0) << ls.err;
  auto j = nlohmann::json::parse(ls.out);
  EXPECT_EQ(j["tape"], tap);
  ASSERT_EQ(j["files"].size(), 3u);
  EXPECT_EQ(j["files"][0]["name"], "LOGO.IMG");
  EXPECT_EQ(j["files"][0]["size"], 20480);
  EXPECT_EQ(j["files"][0]["record_length"], 512);
  EXPECT_EQ(j["files"][0]["seq"], 1);
  EXPECT_EQ(j["files"][1]["type"], "CMD");
  EXPECT_EQ(j["files"][1]["record_length"], 80);
  EXPECT_EQ(j["files"][1]["last_block_bytes"], 160);
  EXPECT_EQ(j["files"][2]["seq"], 3);

  const std::string out = (dir / "out").string();
  fs::create_directory(out);
  CommandResult r = RunKdu({"tape", "restore", tap, "--match", "*.*", "-C", out});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  std::string padded = binary;
  padded.resize(20480, '\0');  // binary files come back as whole blocks
  EXPECT_EQ(ReadFileText(fs::path(out) / "LOGO.IMG"), padded);
  EXPECT_EQ(ReadFileText(fs::path(out) / "JOB.CMD"),
            "FIRST LINE" + std::string(64, ' ') + "000000\r\n" + "SECOND" + std::string(68, ' ') +
                "000000\r\n");
  EXPECT_EQ(ReadFileText(fs::path(out) / "EMPTY.FNT"), "");

  CommandResult again = RunKdu({"tape", "restore", tap, "job.cmd", "-C", out, "--remove-line-numbers"});
  ASSERT_EQ(again.exit_code, 0) << again.err;
  EXPECT_EQ(ReadFileText(fs::path(out) / "JOB.CMD"), "FIRST LINE\r\nSECOND\r\n");

  // Restored with their labels and written back, files keep their data.
  const std::string tap2 = (dir / "t2.tap").string();
  fs::create_directory(dir / "kept");
  ASSERT_EQ(RunKdu({"tape", "restore", tap, "--match", "LOGO.IMG", "-C", (dir / "kept").string(),
                    "--retain-labels"}).exit_code, 0);
  ASSERT_EQ(RunKdu({"tape", "write", tap2, (dir / "kept" / "LOGO.IMG").string()}).exit_code, 0);
  auto items = ParseTapImage(ReadFileText(tap2));
  ASSERT_EQ(items.size(), 1u + 3u + 2u);
  EXPECT_EQ(items[1].data + items[2].data + items[3].data, padded);
}

TEST(KduTape, ListsTextAndReportsFailures) {
  TempDir dir;
  const std::string tap = (dir / "t.tap").string();
  ASSERT_EQ(RunKdu({"tape", "init", tap}).exit_code, 0);
  CommandResult ls = RunKdu({"tape", "ls", tap});
  EXPECT_EQ(ls.exit_code, 0);
  EXPECT_NE(ls.out.find("0 File(s)"), std::string::npos);

  CommandResult missing = RunKdu({"tape", "ls", (dir / "none.tap").string()});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("The tape drive is either not present or is in use."), std::string::npos);

  CommandResult notthere = RunKdu({"tape", "restore", tap, "NOPE.CMD", "-C", dir.path().string()});
  EXPECT_EQ(notthere.exit_code, 1);
  EXPECT_NE(notthere.err.find("NOPE.CMD: not on the tape"), std::string::npos);

  CommandResult usage = RunKdu({"tape", "restore", tap});
  EXPECT_EQ(usage.exit_code, 1);

  CommandResult info = RunKdu({"tape", "info", tap});
  EXPECT_EQ(info.exit_code, 0);
  EXPECT_NE(info.out.find("Drive Information for " + tap), std::string::npos);
  EXPECT_NE(info.out.find("[x] Variable-length Block Mode"), std::string::npos);
  EXPECT_NE(info.out.find("Maximum block size: 65536"), std::string::npos);
}

TEST(KduTape, DriveNamesFollowTheDeviceOptions) {
  TempDir dir;
  const std::string tap = (dir / "bound.tap").string();
  ASSERT_EQ(RunKdu({"--tape2", tap, "tape", "init", "Tape2"}).exit_code, 0);
  EXPECT_EQ(ReadFileText(tap), std::string(8, '\0'));
  EXPECT_EQ(RunKdu({"tape", "rewind", "Tape2", "--tape2", tap}).exit_code, 0);
  EXPECT_EQ(RunKdu({"tape", "erase", "Tape2", "--tape2", tap}).exit_code, 0);
  EXPECT_EQ(ReadFileText(tap), "");
}

}  // namespace
}  // namespace kelvo::test
