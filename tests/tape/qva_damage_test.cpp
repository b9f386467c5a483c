// Damaged, truncated and unusual QVA tapes: the restore ends, keeps only
// complete files, and says which files it could not restore.
#include <gtest/gtest.h>

#include <map>

#include "support/qva_fixture.h"
#include "support/watchdog.h"

namespace kelvo {
namespace {

using test::QvaBench;
using test::QvaFile;
using test::QvaTapeBuilder;
using test::QvaUnit;

std::vector<QvaFile> Files(const std::string& stem, int count) {
  std::vector<QvaFile> files;
  for (int i = 0; i < count; ++i) {
    files.push_back(test::QvaBinaryFile(stem + std::to_string(i), 1, i));
  }
  return files;
}

std::string Data(const std::vector<QvaFile>& files) {
  std::string d;
  for (const QvaFile& f : files) d += f.data;
  return d;
}

std::string EmptySystemDirectory() { return QvaTapeBuilder::DirectorySectors({}, 1)[0]; }

// A tape whose disk unit holds an empty $Y$ directory and then FNT, whose
// directory starts with `first_sector`.
QvaTapeBuilder FntTape(const std::string& first_sector) {
  QvaTapeBuilder tape;
  tape.Start()
      .Block(QvaTapeBuilder::MasterFileDirectory("ID", {"$Y$", "FNT"}))
      .Block(EmptySystemDirectory())
      .Block(first_sector);
  return tape;
}

// A directory chain broken by a filemark, by a new disk unit or by the end
// of data; data missing after a directory; blocks beyond the type index;
// stray control records. Every file restored is exact; the files that
// could not be are reported with the reason.
TEST(QvaDamage, BrokenWalksReportWhatTheyCouldNotRestore) {
  const auto f30 = Files("F", 30);
  const auto s30 = QvaTapeBuilder::DirectorySectors(f30, 2);
  const auto f25 = Files("F", 25);
  const auto f3 = Files("F", 3);
  const QvaUnit next{.marker_word4 = 2,
                     .types = {{"$Y$", {}}, {"IMG", {test::QvaBinaryFile("SAVED", 2, 's')}}}};
  const QvaUnit after{.types = {{"$Y$", {}}, {"FNT", Files("F", 1)}}};
  const struct {
    const char* what;
    QvaTapeBuilder tape;
    const char* spec;
    int restored;
    std::size_t not_restored;
    const char* reason;  // of the first file not restored
  } cases[] = {
      {"filemark inside the chain", FntTape(s30[0]).Filemark().Block(s30[1]).Block(Data(f30)).Filemark(),
       "*.*", 30, 0, ""},
      {"chain cut off by a new disk unit", FntTape(QvaTapeBuilder::DirectorySectors(f25, 2)[0]).Filemark().Unit(next),
       "*.*", 1, 23, "the disk unit ended inside its directory"},
      {"end of data inside the chain", FntTape(QvaTapeBuilder::DirectorySectors(Files("F", 24), 2)[0]),
       "F1*.FNT", 0, 11, "the tape ended inside its directory"},  // F1, F10 to F19 of 23
      {"filemark before the data", FntTape(QvaTapeBuilder::DirectorySectors(Files("F", 2), 1)[0]).Filemark(),
       "*.*", 0, 2, "the disk unit ended before its data"},
      {"blocks beyond the type index",
       QvaTapeBuilder().Start().Block(QvaTapeBuilder::MasterFileDirectory("ID", {"$Y$"}))
           .Block(EmptySystemDirectory()).Block(std::string(4096, 'x')).Filemark().Unit(after),
       "*.*", 1, 1, nullptr},
      {"stray control records",
       QvaTapeBuilder().Start().Block(QvaTapeBuilder::ControlRecord(0x1234, 0x5678))
           .Block(QvaTapeBuilder::MasterFileDirectory("ID", {"$Y$", "FNT"})).Block(EmptySystemDirectory())
           .Block(QvaTapeBuilder::ControlRecord(7, 7)).Block(QvaTapeBuilder::DirectorySectors(f3, 1)[0])
           .Block(Data(f3)).Filemark(),
       "*.*", 3, 0, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    QvaBench b;
    b.options.user_files_only = true;
    b.Load(c.tape);
    ASSERT_EQ(b.Restore(c.spec), ERR_OK);
    EXPECT_EQ(b.report.restored, c.restored);
    EXPECT_EQ(b.Listing().size(), static_cast<std::size_t>(c.restored));
    for (const std::string& name : b.Listing()) {
      const std::string data = b.Read(name);
      EXPECT_EQ(data, name == "SAVED.IMG" ? test::SeededBytes(1024, 's') : f30[std::stoul(name.substr(1))].data) << name;
    }
    ASSERT_EQ(b.report.not_restored.size(), c.not_restored);
    if (c.not_restored > 0 && c.reason) {
      EXPECT_EQ(b.report.not_restored[0].reason, c.reason);
    }
    EXPECT_TRUE(b.progress.Saw(" Restore complete, rewinding tape."));
  }
}

TEST(QvaDamage, NamesThatWouldLeaveTheFolderAreMended) {
  const QvaUnit u{.types = {{"$Y$", {}}, {"..", Files("P", 1)}}};
  QvaBench b;
  b.options.type_dirs = true;
  b.Load(QvaTapeBuilder().Start().Unit(u));
  ASSERT_EQ(b.Restore(), ERR_OK);
  EXPECT_EQ(b.Listing(), std::vector<std::string>{"_./P0..."});
  EXPECT_FALSE(std::filesystem::exists(b.dir / "P0..."));
  EXPECT_TRUE(b.report.not_restored.empty());
  ASSERT_EQ(b.report.outcome.renamed.size(), 1u);
  EXPECT_EQ(b.report.outcome.renamed[0].name, "../");
  EXPECT_EQ(b.report.outcome.renamed[0].pc_name, "_./");
}

// Every cut of a tape image ends the restore; what it restored is complete.
TEST(QvaDamage, TruncatedTapesKeepOnlyCompleteFiles) {
  const test::Watchdog watchdog("restoring 42 truncated QVA tapes", 90);
  const QvaUnit u{.types = {{"$Y$", {}}, {"FNT", Files("T", 6)}, {"CMD", {test::QvaSourceFile("SRC", {"ONE", "TWO"})}}}};
  QvaTapeBuilder tape = QvaTapeBuilder(1024).Start().Unit(u).Unit(u);
  const std::string whole = tape.VolumeBytes(0);
  QvaBench reference;
  reference.Load(tape);
  ASSERT_EQ(reference.Restore(), ERR_OK);
  std::map<std::string, std::string> expected;
  for (const std::string& name : reference.Listing()) expected[name] = reference.Read(name);

  for (std::size_t cut = 0; cut < whole.size(); cut += whole.size() / 41 + 1) {
    QvaBench b;
    test::WriteFileBytes(b.dir / "cut.tap", whole.substr(0, cut));
    b.ctx.bindings.device[0] = (b.dir / "cut.tap").string();
    b.Restore();
    EXPECT_FALSE(b.busy);
    for (const std::string& name : b.Listing()) {
      EXPECT_EQ(b.Read(name), expected[name]) << "cut at " << cut << ": " << name;
    }
  }
}

// Bytes changed anywhere: the restore ends, and no temporary file is left.
TEST(QvaDamage, CorruptedTapesEndCleanly) {
  const test::Watchdog watchdog("restoring 60 corrupted QVA tapes", 90);
  const QvaUnit u{.types = {{"$Y$", {}}, {"FNT", Files("C", 5)}, {"PCH", {test::QvaSourceFile("P", {"X"})}}}};
  QvaTapeBuilder tape = QvaTapeBuilder(1024).Start().Unit(u);
  const std::string whole = tape.VolumeBytes(0);
  std::uint32_t seed = 12345;
  for (int round = 0; round < 60; ++round) {
    std::string bytes = whole;
    for (int k = 0; k < 4; ++k) {
      seed = seed * 1103515245 + 12345;
      bytes[(seed >> 8) % bytes.size()] = static_cast<char>(seed >> 24);
    }
    QvaBench b;
    b.ui.default_answer = Button::Ok;
    test::WriteFileBytes(b.dir / "bad.tap", bytes);
    b.ctx.bindings.device[0] = (b.dir / "bad.tap").string();
    b.Restore();
    EXPECT_FALSE(b.busy);
    for (const auto& e : std::filesystem::recursive_directory_iterator(b.out)) {
      EXPECT_EQ(e.path().filename().string().find(".kdu-"), std::string::npos) << e.path();
    }
  }
}

}  // namespace
}  // namespace kelvo
