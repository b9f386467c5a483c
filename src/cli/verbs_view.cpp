// kdu show / kdu render: the viewers on the command line.
#include <CLI/CLI.hpp>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "cli/cli_context.h"
#include "core/atomic_file.h"
#include "filetypes/file_types.h"
#include "core/error_text.h"
#include "viewers/font_doc.h"
#include "viewers/font_grid.h"
#include "viewers/image_doc.h"
#include "viewers/image_view_model.h"
#include "viewers/source_doc.h"
#include "viewers/task_doc.h"

namespace kelvo::cli {

namespace {

struct ViewOptions {
  std::string file;
  std::string out;
  std::optional<int> zoom;
  std::optional<int> turns;
};

// libpng's output goes to the file being written; a failed piece is noted.
struct PngOutput {
  CAtomicFileWriter& file;
  bool failed = false;
};

void WritePngBytes(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<PngOutput*>(png_get_io_ptr(png));
  if (!out->failed && out->file.Append(data, size) != ERR_OK) out->failed = true;
}

void FlushPng(png_structp) {}

// Encodes `bitmap` (0 bits in `ink`, 1 bits white) as a 1-bit palette PNG.
bool EncodePng(PngOutput& out, const CMonoBitmap& bitmap, Rgb ink) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, &out, WritePngBytes, FlushPng);
  png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()),
               static_cast<png_uint_32>(bitmap.Height()), 1, PNG_COLOR_TYPE_PALETTE,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_color palette[2] = {{ink.r, ink.g, ink.b}, {255, 255, 255}};
  png_set_PLTE(png, info, palette, 2);
  png_write_info(png, info);
  // The bitmap's rows already hold 1 bit per dot, leftmost dot first.
  for (int y = 0; y < bitmap.Height(); ++y) {
    png_write_row(png, const_cast<png_bytep>(bitmap.Row(y)));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return !out.failed;
}

// Writes the PNG through a temporary file renamed into place.
bool WritePng(const std::string& path, const CMonoBitmap& bitmap, Rgb ink, std::string& error) {
  CAtomicFileWriter file;
  if (file.Create(path) != ERR_OK) {
    error = "cannot create " + path;
    return false;
  }
  PngOutput out{file};
  if (!EncodePng(out, bitmap, ink) || file.Commit() != ERR_OK) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

const char* ColourName(Rgb c) {
  if (c == Rgb{255, 0, 0}) return "Red";
  if (c == Rgb{0, 0, 255}) return "Blue";
  if (c == Rgb{0, 255, 0}) return "Green";
  return "Black";
}

int ShowFont(const std::string& file) {
  CFontDoc doc;
  if (!doc.Load(file)) return Fail(doc.Message().text);
  for (const FontProperty& p : FontProperties(doc)) {
    std::string heading;
    for (const std::string& part : p.heading) heading += (heading.empty() ? "" : " ") + part;
    std::printf("%s: %s\n", heading.c_str(), p.value.c_str());
  }
  std::printf("Highest Character Code: %d\n", doc.HighestCode());
  if (doc.HasLabel()) std::printf("Tape label: kept (128 bytes)\n");
  if (doc.Truncated()) std::printf("Damaged: the file ends early; missing bytes read as blank\n");
  return kExitOk;
}

int ShowImage(const std::string& file) {
  CImgDoc doc;
  if (!doc.Load(file)) return Fail(doc.Message().text);
  std::printf("Kind: %d (%s)\n", doc.Kind(),
              doc.Kind() == kImgKindImgFormat ? "ImgFormat" : "Restricted Raster Encoding");
  std::printf("Size: %d x %d dots\n", doc.DotsPerLine(), doc.ScanLines());
  std::printf("Orientation: %s\n", doc.Portrait() ? "Portrait" : "Landscape");
  const Rgb ink = doc.InkColour();
  std::printf("Ink Colour: %s (%d, %d, %d)\n", ColourName(ink), ink.r, ink.g, ink.b);
  if (doc.EndedEarly()) std::printf("Raster: ended before its last scan line\n");
  return kExitOk;
}

// Prints every line of a source or task document.
template <typename Doc>
int ShowLines(const std::string& file) {
  Doc doc;
  if (!doc.Load(file)) return Finish(ERR_FILE_NOT_FOUND);
  for (std::size_t i = 0; i < doc.LineCount(); ++i) {
    const auto line = doc.Line(i);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
  }
  return kExitOk;
}

int Show(const ViewOptions& o) {
  switch (GetViewerKind(o.file)) {
    case ViewerKind::Font: return ShowFont(o.file);
    case ViewerKind::Image: return ShowImage(o.file);
    case ViewerKind::Task: return ShowLines<CTaskDoc>(o.file);
    case ViewerKind::None: return Fail(o.file + ": not a font, image, source or task file");
    default: return ShowLines<CSourceDoc>(o.file);
  }
}

// `default_zoom`: the "Default Zoom" setting, the zoom a new image view opens with.
int Render(const ViewOptions& o, int default_zoom) {
  CMonoBitmap picture;
  Rgb ink;
  const ViewerKind kind = GetViewerKind(o.file);
  if (kind == ViewerKind::Image) {
    CImgDoc doc;
    if (!doc.Load(o.file)) return Fail(doc.Message().text);
    ink = doc.InkColour();
    picture = BuildDisplayBitmap(MakeFullBitmap(doc), o.zoom.value_or(default_zoom), o.turns.value_or(1));
  } else if (kind == ViewerKind::Font) {
    CFontDoc doc;
    if (!doc.Load(o.file)) return Fail(doc.Message().text);
    FontGridPicture grid = PaintFontGrid(doc);
    if (!grid.note.empty()) return Fail(grid.note);
    picture = grid.bitmap;
    if (o.zoom && *o.zoom != 100) {
      const long long z = *o.zoom;
      picture = StretchInkWins(picture, static_cast<int>(picture.Width() * z / 100),
                               static_cast<int>(picture.Height() * z / 100));
    }
    picture = TurnCcw(picture, o.turns.value_or(0));
  } else {
    return Fail(o.file + ": only fonts and images can be rendered");
  }
  if (picture.Empty()) return Fail(o.file + ": the picture is empty, nothing to write");
  std::string error;
  if (!WritePng(o.out, picture, ink, error)) return Fail(error);
  return kExitOk;
}

}  // namespace

void RegisterViewVerbs(CLI::App& app, CliContext& ctx) {
  auto options = std::make_shared<ViewOptions>();
  CLI::App* show = app.add_subcommand(
      "show", "Show a printer file: font or image summary, source lines, task dump");
  show->add_option("FILE", options->file, "Font, image, source or task file")->required();
  show->callback([&ctx, options] { ctx.run = [options] { return Show(*options); }; });

  CLI::App* render =
      app.add_subcommand("render", "Draw a font's glyph grid or an image's display bitmap as PNG");
  render->add_option("FILE", options->file, "Font or image file")->required();
  render->add_option("-o,--output", options->out, "PNG file to write")->required();
  render->add_option("--zoom", options->zoom, "Zoom percentage (image default: the Default Zoom setting, 50)")
      ->check(CLI::Range(1, 1000));
  render->add_option("--turns", options->turns,
                     "Counter-clockwise quarter turns in all (image default 1, font 0)")
      ->check(CLI::Range(0, 1000));
  render->callback([&ctx, options] {
    ctx.run = [&ctx, options] {
      return Render(*options, ctx.state != nullptr ? ctx.state->settings.DefaultZoom : 50);
    };
  });
}

}  // namespace kelvo::cli
