#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <filesystem>
#include <string>
#include <vector>

#include "diskfs/listing.h"
#include "diskfs/disk_image_doc.h"
#include "media/hfe_image.h"
#include "media/img_cfg.h"
#include "media/mfm_codec.h"
#include "media/scp_image.h"
#include "support/floppy_media.h"
#include "support/flux_image_builder.h"
#include "support/test_support.h"

namespace kelvo::test {
namespace {

namespace fs = std::filesystem;

std::string AsString(const std::vector<std::uint8_t>& v) { return {v.begin(), v.end()}; }

std::size_t CylinderBytes(const FloppyForm& f) { return std::size_t(2) * f.sectors * 512; }

// A .kdi of the form: an empty file system, a pattern in every later block.
std::vector<std::uint8_t> MakeKdi(const FloppyForm& f, const fs::path& path) {
  const fs::path medium = path.parent_path() / "medium.raw";
  test::WriteKelvoMedium(medium, int(f.kind), "TRACKS", 3);
  std::vector<std::uint8_t> bytes = ReadBytes(medium);
  bytes.resize(kFileSystemCylinders * CylinderBytes(f));
  WriteFileBytes(path, AsString(bytes));
  return bytes;
}

class TrackForms : public ::testing::TestWithParam<MediaKind> {
 protected:
  const FloppyForm& form() const { return *FormOf(GetParam()); }
  std::string drive() const { return form().five_inch ? "5.25" : "3.5"; }
  // What the drives do, independently of the program's form table: 5.25-inch
  // drives turn at 360 rpm, 3.5-inch ones at 300; 15 sectors need 500 kbit/s,
  // 9 sectors 250 kbit/s at 300 rpm, hence 300 kbit/s at 360 rpm.
  int Rpm() const { return form().five_inch ? 360 : 300; }
  int Rate() const { return form().sectors == 15 ? 500 : Rpm() * 250 / 300; }
};

// .kdi -> .hfe -> .kdi, the .hfe also as version 3; .kdi -> raw .img of 80
// cylinders with the IMG.CFG stanza of the form.
TEST_P(TrackForms, HfeAndEmulatorRawImagesRoundTrip) {
  const FloppyForm& f = form();
  TempDir dir;
  const std::vector<std::uint8_t> kdi = MakeKdi(f, dir / "d.kdi");

  ASSERT_EQ(RunKdu({"convert", (dir / "d.kdi").string(), (dir / "d.hfe").string(), "--drive", drive()})
                .exit_code, 0);
  const std::vector<std::uint8_t> hfe = ReadBytes(dir / "d.hfe");
  EXPECT_EQ(test::WordAt(hfe, 0x0C), Rate());
  EXPECT_EQ(test::WordAt(hfe, 0x0E), Rpm());
  // Gap 4a opens each track: 0x4E after a 0 bit is cells 1001001001010100,
  // stored first cell in the low bit.
  EXPECT_EQ(hfe[0x400], 0x49);
  EXPECT_EQ(hfe[0x401], 0x2A);
  const auto back = RunKdu({"convert", (dir / "d.hfe").string(), (dir / "back.kdi").string()});
  ASSERT_EQ(back.exit_code, 0) << back.err;
  EXPECT_EQ(ReadFileText(dir / "back.kdi"), AsString(kdi));

  WriteFileBytes(dir / "v3.hfe", AsString(test::HfeVersion3(hfe)));
  CDiskImageDoc v3;
  ASSERT_EQ(v3.OnOpenDocument(dir / "v3.hfe"), ERR_OK);
  EXPECT_EQ(v3.Form(), &f);  // rate and speed as the file states them
  EXPECT_FALSE(v3.IsReadOnly());
  std::vector<std::uint8_t> full = kdi;
  full.resize(kFormattedCylinders * CylinderBytes(f), 0);
  EXPECT_EQ(v3.Bytes(), full);

  const auto raw = RunKdu({"convert", (dir / "d.kdi").string(), (dir / "out.img").string(),
                           "--emulator", "--drive", drive()});
  ASSERT_EQ(raw.exit_code, 0) << raw.err;
  EXPECT_EQ(ReadBytes(dir / "out.img"), full);
  const std::string cfg = ReadFileText(dir / "IMG.CFG");
  for (const std::string& line :
       {"[::" + std::to_string(full.size()) + "]", std::string("cyls = 80"), std::string("heads = 2"),
        "secs = " + std::to_string(f.sectors), std::string("bps = 512"), std::string("id = 1"),
        "rate = " + std::to_string(Rate()), "rpm = " + std::to_string(Rpm()),
        "gap3 = " + std::to_string(f.gap3)})
    EXPECT_NE(cfg.find(line + "\n"), std::string::npos) << line;
}

// Flux with speed drift and jitter; sectors damaged in one revolution are
// taken from the other, and the flux image is read-only.
TEST_P(TrackForms, FluxDecodesWithDriftJitterAndRecoveredSectors) {
  const FloppyForm& f = form();
  TempDir dir;
  const std::vector<std::uint8_t> kdi = MakeKdi(f, dir / "d.kdi");
  const test::FluxOptions o{.cylinders = 6,
                            .damage = {{1, 0, 2, 0}, {4, 1, f.sectors, 0}, {5, 0, 1, 1}, {0, 1, 3, 1}}};
  WriteFileBytes(dir / "d.scp", AsString(test::BuildScpImage(kdi, f, o)));

  CDiskImageDoc doc;
  ASSERT_EQ(doc.OnOpenDocument(dir / "d.scp"), ERR_OK);
  const std::vector<std::uint8_t> expect(kdi.begin(), kdi.begin() + std::ptrdiff_t(6 * CylinderBytes(f)));
  EXPECT_EQ(doc.Bytes(), expect);
  ASSERT_NE(doc.TrackReport(), nullptr);
  EXPECT_EQ(doc.TrackReport()->recovered, 2u);
  EXPECT_EQ(doc.TrackReport()->missing, 0u);
  EXPECT_EQ(doc.TrackReport()->good, 6 * 2 * f.sectors - 2u);
  EXPECT_EQ(doc.Form(), &f);
  EXPECT_TRUE(doc.IsReadOnly());
  std::vector<std::uint8_t> block(512, 1);
  EXPECT_EQ(doc.WriteSectors(90, 1, block.data()), ERR_WRITE_PROTECT);
  EXPECT_EQ(doc.OnSaveDocument(dir / "again.scp"), ERR_NOT_SUPPORTED);
}

INSTANTIATE_TEST_SUITE_P(Forms, TrackForms,
                         ::testing::Values(MediaKind::F5_1Pt2_512, MediaKind::F3_1Pt2_512,
                                           MediaKind::F3_720_512, MediaKind::F5_720_512));

// A sector lost in every revolution (flux) or with a failing CRC (HFE) is
// reported by LBN, reads as zeros with a CRC error, makes the disk
// read-only, stays damaged in an HFE made from it, and the listing still
// opens.
TEST(TrackImage, SectorLostForGoodIsReportedAndTheListingOpens) {
  const FloppyForm& f = *FormOf(MediaKind::F3_720_512);
  TempDir dir;
  const std::vector<std::uint8_t> kdi = MakeKdi(f, dir / "d.kdi");
  const std::uint32_t lost = (5 * 2 + 0) * 9 + 2;  // cylinder 5, head 0, sector 3
  const test::FluxOptions o{.cylinders = 8, .damage = {{5, 0, 3, -1}}};
  WriteFileBytes(dir / "d.scp", AsString(test::BuildScpImage(kdi, f, o)));
  std::vector<std::uint8_t> hfe = BuildHfe(kdi, f, 8);
  // Sector 3 of cylinder 5, head 0: its data field lies 146 + 2 * (574 + gap 3)
  // + 60 bytes into the track; one data cell of it is changed (cells of a
  // byte run from its low bit, clock first).
  const std::size_t at = 146 + 2 * (574 + f.gap3) + 60 + 100;
  const std::size_t track = hfe[512 + 5 * 4] | (hfe[512 + 5 * 4 + 1] << 8);
  hfe[(track + at * 2 / 256) * 512 + (at * 2) % 256] ^= 0x20;
  WriteFileBytes(dir / "d.hfe", AsString(hfe));

  for (const char* name : {"d.scp", "d.hfe"}) {
    SCOPED_TRACE(name);
    CDiskImageDoc doc;
    ASSERT_EQ(doc.OnOpenDocument(dir / name), ERR_OK);
    ASSERT_NE(doc.TrackReport(), nullptr);
    EXPECT_EQ(doc.TrackReport()->missing_lbns, std::vector<std::uint32_t>{lost});
    EXPECT_TRUE(doc.IsReadOnly());
    std::vector<std::uint8_t> block(512, 0xEE);
    EXPECT_EQ(doc.ReadSectors(lost, 1, block.data()), ERR_CRC);
    EXPECT_EQ(block, std::vector<std::uint8_t>(512, 0));
    DiskListing listing;
    EXPECT_EQ(ListFiles(doc, listing, doc.BlockCount()), ERR_OK);
    // Saved as HFE, the sector keeps its failing CRC.
    ASSERT_EQ(doc.OnSaveDocument(dir / "kept.hfe"), ERR_OK);
    CDiskImageDoc kept;
    ASSERT_EQ(kept.OnOpenDocument(dir / "kept.hfe"), ERR_OK);
    EXPECT_EQ(kept.TrackReport()->missing_lbns, std::vector<std::uint32_t>{lost});

    const auto ls = RunKdu({"ls", (dir / name).string()});
    EXPECT_EQ(ls.exit_code, 0) << ls.err;
    EXPECT_NE(ls.err.find("unreadable LBN(s): " + std::to_string(lost) + "\n"), std::string::npos) << ls.err;
  }
}

// Hostile headers: offsets, lengths and counts far past the file, and many
// track entries sharing one track's data. Each is refused or decodes only
// what the file really holds.
TEST(TrackImage, HostileHeadersStayWithinTheFile) {
  const FloppyForm& f = *FormOf(MediaKind::F3_720_512);
  std::vector<std::uint8_t> disk(2 * f.sectors * 512, 0x5A);
  const std::vector<std::uint8_t> hfe = BuildHfe(disk, f, 1);
  const test::FluxOptions o{.cylinders = 1, .revolutions = 1};
  const std::vector<std::uint8_t> scp = test::BuildScpImage(disk, f, o);
  auto put32 = [](std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = std::uint8_t(x >> (8 * i));
  };
  struct Case {
    const char* what;
    bool flux;
    std::function<void(std::vector<std::uint8_t>&)> mutate;
    ErrorCode expect;
    std::uint32_t good;
  };
  const std::uint32_t both_sides = 2u * f.sectors;
  const std::vector<Case> cases = {
      {"hfe 255 cylinders, tracks far past the end", false,
       [](auto& v) {
         v[9] = 255;
         for (int c = 1; c < 128; ++c) v[512 + 4 * c] = v[512 + 4 * c + 1] = v[512 + 4 * c + 2] = v[512 + 4 * c + 3] = 0xFF;
       },
       ERR_OK, both_sides},
      {"hfe track list past the end", false, [](auto& v) { v[0x12] = v[0x13] = 0xFF; v.resize(600); }, ERR_BAD_IMAGE, 0},
      {"hfe no sides", false, [](auto& v) { v[0x0A] = 0; }, ERR_BAD_IMAGE, 0},
      {"hfe cut in its first track", false, [](auto& v) { v.resize(1500); }, ERR_BAD_IMAGE, 0},
      {"scp counts and offsets past the end", true,
       [&](auto& v) {
         v[5] = 255;
         put32(v, 0x2B0 + 4 + 4, 0xFFFFFFFF);
         put32(v, 0x2B0 + 4 + 8, 0xFFFFFFF0);
       },
       ERR_OK, f.sectors},  // side 1 still decodes
      {"scp every track entry on track 0", true,
       [&](auto& v) {
         v[5] = 8;
         for (int t = 0; t < 168; ++t) put32(v, 0x10 + 4 * t, 0x2B0);
       },
       ERR_OK, f.sectors},  // IDs of cylinder 0 head 0 count only there
      {"scp tick of 6.4 us", true, [](auto& v) { v[0x0B] = 0xFF; }, ERR_OK, both_sides},
      {"scp header only", true, [](auto& v) { v.resize(0x20); }, ERR_BAD_IMAGE, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint8_t> v = c.flux ? scp : hfe;
    c.mutate(v);
    TrackDisk out;
    const ErrorCode err = c.flux ? ParseScp(v, out) : ParseHfe(v, out);
    EXPECT_EQ(err, c.expect);
    if (err == ERR_OK) {
      EXPECT_EQ(out.report.good, c.good);
      EXPECT_LE(out.cylinders, kMaxImageCylinders);
    }
  }
}

TEST(TrackImage, ControllerCrcAndImgCfgMerge) {
  // The CRC after the three A1 sync bytes, after an ID mark and a data mark.
  const std::uint8_t a1[] = {0xA1, 0xA1, 0xA1, 0xFE, 0xFB};
  EXPECT_EQ(Crc16Ccitt({a1, 3}), 0xCDB4);
  EXPECT_EQ(Crc16Ccitt({a1, 4}), 0xB230);
  const std::uint8_t fb[] = {0xA1, 0xA1, 0xA1, 0xFB};
  EXPECT_EQ(Crc16Ccitt(fb), 0xE295);

  const std::string old = "# mine\n[pc9::737280]\nsecs = 9\n\n[::1228800]\nsecs = 14\nrate = 1\n[x]\nk = 1";
  const std::string merged = MergeImgCfg(old, "[::1228800]\nsecs = 15\n");
  EXPECT_EQ(merged, "# mine\n[pc9::737280]\nsecs = 9\n\n[::1228800]\nsecs = 15\n[x]\nk = 1\n");
  EXPECT_EQ(MergeImgCfg("[a]\n", "[b]\n"), "[a]\n\n[b]\n");
}

}  // namespace
}  // namespace kelvo::test
