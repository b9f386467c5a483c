// Writes the starting corpus of every fuzz target, made with the engine and
// the tests' own generators:  fuzz_make_seeds OUTDIR  writes OUTDIR/<target>/.
// Seeds are small valid (and a few slightly damaged) inputs of each format,
// so the fuzzer starts from inputs that reach deep into each parser.
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "diskfs/kelvo_volume.h"
#include "fuzz_support.h"
#include "diskfs/disk_image_doc.h"
#include "media/hfe_image.h"
#include "support/diskfs_image_builder.h"
#include "support/flux_image_builder.h"
#include "support/filetypes_records.h"
#include "support/qva_tape_builder.h"
#include "support/tape_builder.h"
#include "support/viewer_font_builder.h"
#include "support/viewer_image_builder.h"
#include "viewers/image_doc.h"

namespace {

namespace fs = std::filesystem;
using namespace kelvo;
using namespace kelvo::test;

fs::path g_out;

void Seed(const std::string& target, const std::string& name, const std::string& bytes) {
  fs::create_directories(g_out / target);
  std::ofstream out(g_out / target / name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write seed %s/%s\n", target.c_str(), name.c_str());
    std::exit(1);
  }
}

std::string AsString(const std::vector<std::uint8_t>& v) { return std::string(v.begin(), v.end()); }
std::vector<std::uint8_t> AsBytes(const std::string& s) { return {s.begin(), s.end()}; }

// Trailing zero blocks are left out: the targets add them back.
std::string TrimZeroBlocks(std::vector<std::uint8_t> bytes) {
  std::size_t end = bytes.size();
  while (end >= kBlockSize) {
    bool zero = true;
    for (std::size_t i = end - kBlockSize; i < end && zero; ++i) zero = bytes[i] == 0;
    if (!zero) break;
    end -= kBlockSize;
  }
  bytes.resize(end);
  return AsString(bytes);
}

std::string SourceText(std::size_t lines, std::uint32_t seed) {
  std::string text;
  for (const auto& line : PrintableLines(lines, 90, seed)) text += line + "\r\n";
  return text;
}

// An image made by the engine: a new file system with a few files stored.
std::vector<std::uint8_t> EngineImage(const std::string& id) {
  CDiskImageDoc doc;
  if (doc.OnNewDocument(id) != ERR_OK) std::exit(1);
  CKelvoVolume volume(doc);
  (void)volume.StoreFile("REPORT.PCH", AsBytes(SourceText(14, 3)));
  (void)volume.StoreFile("TITLE.FNT", std::vector<std::uint8_t>(700, 0x3C));
  (void)volume.StoreFile("START.CMD", AsBytes(SourceText(3, 9)));
  (void)volume.StoreFile("JOB.JSL", RecordBlocks({SourceRecord("JOB ONE", 10)}));
  return doc.Bytes();
}

void DiskImageSeeds() {
  std::vector<std::uint8_t> engine = EngineImage("FUZZ SEED");
  Seed("disk_image", "engine.kdi", TrimZeroBlocks(engine));
  Seed("listing_output", "engine.kdi", std::string(1, '\0') + TrimZeroBlocks(engine));
  Seed("disk_image", "empty.kdi", TrimZeroBlocks(EngineImage("")));

  ImageBuilder low;
  low.AddBinaryFile("FNT", 0, "FONT", 80, 2, 0x11);
  low.AddBinaryFile("IMG", 1, "PIC", 82, 1, 0x22);
  Seed("disk_image", "builder.kdi", TrimZeroBlocks(low.bytes()));
  ImageBuilder high(true, 90);
  high.AddBinaryFile("TSK", 0, "TASK", 85, 3, 0x33);
  Seed("disk_image", "high.kdi", TrimZeroBlocks(high.bytes()));

  // The same image as an archive, written by the engine.
  CDiskImageDoc doc;
  if (doc.LoadImage(engine) != ERR_OK) std::exit(1);
  fs::path imd = fuzz::ScratchDir() / "seed.imd";
  if (doc.OnSaveDocument(imd) != ERR_OK) std::exit(1);
  std::ifstream in(imd, std::ios::binary);
  Seed("disk_image", "engine.imd", std::string(std::istreambuf_iterator<char>(in), {}));
}

// A floppy input: a selector byte (medium geometry and drive form), then the
// disk's first blocks.
void FloppySeeds() {
  std::vector<std::uint8_t> engine = EngineImage("FLOPPY SEED");
  engine.resize(90 * kBlockSize, 0);
  Seed("floppy_listing", "dd.bin", std::string(1, '\0') + AsString(engine));
  ImageBuilder high(true, 90);
  high.AddBinaryFile("FNT", 0, "BIG", 85, 2, 0x44);
  Seed("floppy_listing", "hd.bin", std::string(1, '\1') + TrimZeroBlocks(high.bytes()));
  Seed("floppy_listing", "hd5.bin", std::string(1, '\5') + TrimZeroBlocks(high.bytes()));
}

std::string Records(const std::vector<std::string>& lines) {
  std::vector<std::string> records;
  for (std::size_t i = 0; i < lines.size(); ++i)
    records.push_back(SourceRecord(lines[i], static_cast<int>((i + 1) * 10)));
  return AsString(RecordBlocks(records));
}

LabelFields Label(const std::string& name, const std::string& type, std::size_t bytes,
                  std::uint16_t record_length = 512, std::uint16_t last = 0) {
  LabelFields f;
  f.name = name;
  f.type = type;
  f.blocks = static_cast<std::uint32_t>((bytes + 511) / 512);
  f.record_length = record_length;
  f.last_block_bytes = last;
  f.block_size = 1024;
  return f;
}

void LabelledTapeSeeds() {
  const std::string cmd = Records({"LINE ONE", "LINE TWO", "THREE"});
  const std::string pic(1536, 'x');
  TapeImageBuilder tape;
  tape.LabelledFile(MakeLabel(Label("START", "CMD", cmd.size(), 80, 240)), cmd, 1024)
      .LabelledFile(MakeLabel(Label("PIC", "IMG", pic.size())), pic, 1024)
      .Filemark();
  Seed("labelled_tape", "two_files.tap", tape.Bytes());
  Seed("listing_output", "two_files.tap", "\1" + tape.Bytes());
  // Names that are bytes, not text: a control byte, a path, bytes outside ASCII.
  TapeImageBuilder odd;
  for (const char* name : {"A\x01\x7F", "../X", "\xFE\xFF\x80"})
    odd.LabelledFile(MakeLabel(Label(name, "FNT", 512)), std::string(512, 'o'), 1024);
  odd.Filemark();
  Seed("listing_output", "odd_names.tap", "\1" + odd.Bytes());

  LabelFields radix = Label("FONT", "FNT", 512);
  radix.ascii = false;
  TapeImageBuilder rad;
  rad.LabelledFile(MakeLabel(radix), std::string(512, '\x5A'), 512).Filemark();
  Seed("labelled_tape", "radix_label.tap", rad.Bytes());

  // Damage: a bad record, an erase gap, a file cut short by the end of data.
  TapeImageBuilder damaged;
  damaged.LabelledFile(MakeLabel(Label("ONE", "TSK", 1024)), std::string(1024, '\1'), 512)
      .EraseGap()
      .Record(MakeLabel(Label("TWO", "TSK", 4096)))
      .Record(std::string(512, '\2'), 8)
      .Record(std::string(512, '\3'));
  Seed("labelled_tape", "damaged.tap", damaged.Bytes());
}

QvaFile BinFile(const std::string& name, std::size_t blocks, unsigned seed) {
  std::string s(blocks * 512, '\0');
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>((i * 31 + seed * 7) % 251);
  return QvaFile{name, s, 512, 0};
}

std::string JoinSet(const QvaTapeBuilder& tape) {
  std::string out;
  for (std::size_t i = 0; i < tape.VolumeCount(); ++i) {
    if (i > 0) out += fuzz::kVolumeSeparator;
    out += tape.VolumeBytes(i);
  }
  return out;
}

void QvaSeeds() {
  QvaUnit unit;
  unit.types = {
      {"$Y$", {BinFile("BADBLK", 1, 1), BinFile("BITMAP", 1, 2)}},
      {"CMD", {QvaSourceFile("START", {"LINE ONE", "LINE TWO"})}},
      {"FNT", {BinFile("REPORT", 2, 3), BinFile("TITLE", 3, 4)}},
  };
  QvaTapeBuilder one(1024);
  one.Start().Unit(unit);
  Seed("qva_tape", "one_volume.tap", JoinSet(one));

  QvaTapeBuilder two(1024);
  two.BreakVolumeAfter(6).Start().Unit(unit);
  Seed("qva_tape", "two_volumes.tap", JoinSet(two));
  Seed("listing_output", "qva_one_volume.tap", "\2" + JoinSet(one));
  Seed("listing_output", "qva_first_volume.tap", "\2" + two.VolumeBytes(0));

  QvaUnit odd;
  odd.marker_word4 = 3;
  QvaFile selected = BinFile("SEL", 1, 5);
  selected.selector = 2;
  QvaFile claimed = BinFile("CLAIM", 1, 6);
  claimed.claimed_blocks = 4;
  odd.types = {{"TSK", {selected, claimed}, 2, 1}};
  QvaTapeBuilder units(512);
  units.Start().Unit(odd).Unit(unit);
  Seed("qva_tape", "two_units.tap", JoinSet(units));
}

void FontSeeds() {
  const char orientations[] = {'L', 'P', 'J', 'I'};
  for (int i = 0; i < 4; ++i) {
    FontSpec spec = DefaultFontSpec(12 + i);
    spec.orientation = orientations[i];
    spec.pitch = i % 2 ? 'F' : 'P';
    spec.highest_code = 60 + i * 20;
    spec.baseline_to_top = 8;
    spec.baseline_to_bottom = 3;
    if (orientations[i] == 'I') spec.inverse_landscape_height = 16;
    for (int c = 32; c <= spec.highest_code; c += 5)
      spec.glyphs.push_back(SolidGlyph(c, 3 + c % 7, 1 + c % 2));
    if (i == 1) spec.label_name = "FONT";
    std::string name = std::string("font_") + orientations[i] + ".fnt";
    Seed("font", name, BuildFont(spec));
  }
}

std::string EncodedImage(int dots, int lines, std::size_t base, const std::string& colour,
                         const std::string& orientation) {
  const int rounded = RoundedImageDots(dots);
  RasterEncoder enc(rounded);
  for (int l = 0; l < lines; ++l) {
    std::vector<std::uint8_t> ink(static_cast<std::size_t>(rounded / 8), 0);
    for (std::size_t i = 0; i < ink.size(); ++i)
      if ((i * 7 + static_cast<std::size_t>(l) * 3) % 5 == 0) ink[i] = static_cast<std::uint8_t>(0x81 << (l % 2));
    if (l % 5 == 4) ink.assign(ink.size(), 0xFF);
    enc.Line(ink, l % 4);
  }
  enc.End();
  ImageFileSpec spec;
  spec.dots = dots;
  spec.scan_lines = lines;
  spec.base = base;
  spec.colour = colour;
  spec.orientation = orientation;
  spec.raster = enc.Bytes();
  return BuildImageFile(spec);
}

void ImageSeeds() {
  Seed("image", "plain.img", EncodedImage(64, 12, 0, "", ""));
  Seed("image", "label128.img", EncodedImage(100, 9, 128, "", "Landscape"));
  // The ink colour's name lies in a 512-byte label.
  Seed("image", "label512.img", EncodedImage(200, 20, 512, "RED", ""));
}

// Documents: the same bytes are read as a source file and as a task dump.
void DocumentSeeds() {
  Seed("documents", "text.pch", SourceText(20, 5));
  Seed("documents", "records.cmd", Records({"FIRST", "SECOND", "THIRD", "FOURTH", "5", "6", "7"}));
  std::string task(700, '\0');
  for (std::size_t i = 0; i < task.size(); ++i) task[i] = static_cast<char>(i * 13);
  Seed("documents", "task.tsk", task);
}

}  // namespace

// Track images of the first cylinders of an engine-made disk: HFE in
// version 1 and 3, and one revolution of flux of cylinder 0, clean and with a
// damaged sector. Small cuts keep the inputs within the fuzzer's limits.
void TrackImageSeeds() {
  const FloppyForm& dd = *FormOf(MediaKind::F3_720_512);
  const std::vector<std::uint8_t> disk = EngineImage("TRACK SEED");
  const std::vector<std::uint8_t> hfe = BuildHfe(disk, dd, 4);
  Seed("hfe_image", "four_cylinders.hfe", AsString(hfe));
  Seed("hfe_image", "version3.hfe", AsString(HfeVersion3(BuildHfe(disk, dd, 1))));
  FluxOptions flux;
  flux.cylinders = 1;
  flux.revolutions = 1;
  Seed("scp_image", "cylinder0.scp", AsString(BuildScpImage(disk, dd, flux)));
  flux.damage = {{0, 1, 2, 0}};
  flux.drift = 0.05;
  Seed("scp_image", "damaged.scp", AsString(BuildScpImage(disk, dd, flux)));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_make_seeds OUTDIR\n");
    return 2;
  }
  g_out = argv[1];
  DiskImageSeeds();
  FloppySeeds();
  LabelledTapeSeeds();
  QvaSeeds();
  FontSeeds();
  ImageSeeds();
  DocumentSeeds();
  TrackImageSeeds();
  return 0;
}
