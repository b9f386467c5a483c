// make_demo_media: writes the demo's printer files made from real material:
// a font rasterised from a scalable font in both orientations, a letterhead
// image drawn from the program's icon, the letter job's task file, and a
// two-volume QVA save of them with the job sources.
//
//   make_demo_media --icon SVG [--font TTF] [--sources DIR] [--qva DIR] OUTDIR
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "demo_font.h"
#include "demo_image.h"
#include "demo_tapes.h"
#include "viewers/font_doc.h"
#include "viewers/image_doc.h"

namespace {

namespace fs = std::filesystem;
using kelvo::demo::SavedFile;

struct Options {
  std::string icon;
  std::string font = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
  std::string sources;
  std::string qva;
  std::string out;
};

bool ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    std::string* value = a == "--icon" ? &o.icon : a == "--font" ? &o.font : a == "--sources" ? &o.sources
                       : a == "--qva"  ? &o.qva  : nullptr;
    if (value != nullptr) {
      if (++i == argc) return false;
      *value = argv[i];
    } else if (o.out.empty() && a.rfind("--", 0) != 0) {
      o.out = a;
    } else {
      return false;
    }
  }
  return !o.out.empty() && !o.icon.empty();
}

bool Write(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Fail(const std::string& why) {
  std::fprintf(stderr, "make_demo_media: %s\n", why.c_str());
  return 1;
}

// The files must open in the program's own viewers.
std::string Refusal(const fs::path& path) {
  const std::string ext = path.extension().string();
  if (ext == ".FNT") {
    kelvo::CFontDoc doc;
    return doc.Load(path.string()) ? "" : doc.Message().text;
  }
  if (ext == ".IMG") {
    kelvo::CImgDoc doc;
    return doc.Load(path.string()) ? "" : doc.Message().text;
  }
  return "";
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseOptions(argc, argv, o)) {
    std::fprintf(stderr, "usage: make_demo_media --icon SVG [--font TTF] [--sources DIR] [--qva DIR] OUTDIR\n");
    return 2;
  }
  // Fonts and SVG rendering need a GUI application but no display.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);

  std::string error;
  kelvo::demo::DemoFontFiles fonts;
  // 10 point letters on a 12 point (50 dot) line.
  if (!kelvo::demo::RasteriseDemoFont(o.font, 10, 50, fonts, error)) return Fail(error);
  std::string letterhead;
  if (!kelvo::demo::DrawLetterheadImage(o.icon, letterhead, error)) return Fail(error);

  std::vector<SavedFile> files = {{"SANSP.FNT", fonts.portrait},
                                  {"SANSL.FNT", fonts.landscape},
                                  {"LOGO.IMG", letterhead},
                                  {"LETTER.TSK", kelvo::demo::DemoTaskFile()}};
  std::error_code ec;
  fs::create_directories(o.out, ec);
  for (const SavedFile& f : files) {
    const fs::path path = fs::path(o.out) / f.name;
    if (!Write(path, f.bytes)) return Fail("cannot write " + path.string());
    const std::string refusal = Refusal(path);
    if (!refusal.empty()) return Fail(path.string() + " does not open: " + refusal);
  }

  if (!o.qva.empty()) {
    if (!o.sources.empty()) {
      for (const fs::directory_entry& e : fs::directory_iterator(o.sources, ec)) {
        const std::string ext = e.path().extension().string();
        if (ext == ".JSL" || ext == ".CMD" || ext == ".FSL" || ext == ".PCH")
          files.push_back({e.path().filename().string(), Read(e.path()), true});
      }
      if (ec) return Fail("cannot list " + o.sources);
    }
    fs::create_directories(o.qva, ec);
    if (kelvo::demo::WriteQvaSet(o.qva, files, error).empty()) return Fail(error);
  }
  return 0;
}
