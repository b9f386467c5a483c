#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cctype>
#include <filesystem>
#include <set>
#include <string>

#include "filetypes/name_text.h"
#include "support/qva_tape_builder.h"
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
  ASSERT_EQ(j["files"].size(), 3u);
  EXPECT_EQ(j["files"][1]["name"], "JOB.CMD");
  EXPECT_EQ(j["files"][1]["last_block_bytes"], 160);

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

LabelFields Image(const std::string& name, std::uint32_t blocks) {
  LabelFields f;
  f.name = name;
  f.type = "IMG";
  f.blocks = blocks;
  return f;
}

// Names read from a tape are bytes: every byte value in a label's name
// (and names such as "../X" and "/X") lists as valid JSON (with the bytes in
// hex), as plain text, and restores under a name that stays in the folder.
TEST(KduTape, NamesHoldingEveryByteListAndRestoreSafely) {
  TempDir dir;
  const std::string tap = (dir / "bytes.tap").string();
  TapeImageBuilder b;
  std::vector<std::string> bases;
  for (int first = 1; first < 256; first += 6) {
    std::string base;
    for (int c = first; c < first + 6 && c < 256; ++c) base.push_back(static_cast<char>(c));
    bases.push_back(base);
  }
  // Names that would leave the folder if taken as paths.
  for (const char* path : {"../X", "/X", "..", "/"}) bases.push_back(path);
  for (const std::string& base : bases) b.LabelledFile(MakeLabel(Image(base, 1)), std::string(512, 'x'));
  b.Filemark();
  b.WriteTo(tap);

  CommandResult ls = RunKdu({"tape", "ls", tap, "--json"});
  ASSERT_EQ(ls.exit_code, 0) << ls.err;
  nlohmann::json j = nlohmann::json::parse(ls.out);
  ASSERT_EQ(j["files"].size(), bases.size());
  std::set<std::string> pc_names;
  for (std::size_t i = 0; i < bases.size(); ++i) {
    const nlohmann::json& f = j["files"][i];
    const std::string name = f["name"];
    const std::string hex = f.value("name_hex", std::string());
    std::string bytes = name;
    if (!hex.empty()) {
      bytes.clear();
      for (std::size_t k = 0; k + 1 < hex.size(); k += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(k, 2), nullptr, 16)));
    }
    std::string upper = bases[i] + ".IMG";
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(bytes, upper) << name;
    pc_names.insert(SafePcFileName(upper));
  }

  CommandResult text = RunKdu({"tape", "ls", tap});
  ASSERT_EQ(text.exit_code, 0);
  for (char c : text.out) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c < 0x7F)) << int(c);

  const fs::path out = dir / "out";
  fs::create_directory(out);
  CommandResult r = RunKdu({"tape", "restore", tap, "--match", "*.*", "-C", out.string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.err.find("restored as +,-._0.IMG"), std::string::npos) << r.err;
  std::set<std::string> restored;
  for (const auto& e : fs::recursive_directory_iterator(dir.path())) {
    if (e.path().parent_path() == out)
      restored.insert(e.path().filename().string());
    else
      EXPECT_TRUE(e.path() == out || e.path() == tap) << e.path();
  }
  EXPECT_EQ(restored, pc_names);
  for (const std::string& name : restored)
    for (char c : name) EXPECT_TRUE(c >= 0x20 && c < 0x7F && c != '/' && c != '\\') << name;
}

}  // namespace
}  // namespace kelvo::test
