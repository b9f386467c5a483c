// Fuzz target: a font file loaded, its properties pane, and its glyph grid
// painted (every glyph unpacked and turned upright).
//
// Fonts are read from a file whose base name a retained tape label may spell,
// so the input is written to "FONT.fnt" in the scratch folder.
#include <cstdint>

#include "fuzz_support.h"
#include "viewers/font_doc.h"
#include "viewers/font_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto path = kelvo::fuzz::WriteScratchFile("FONT.fnt", data, size);
  kelvo::CFontDoc doc;
  if (!doc.Load(path.string())) return 0;
  (void)kelvo::FontProperties(doc);
  (void)kelvo::FontGridScrollSize(doc);
  kelvo::FontGridPicture picture = kelvo::PaintFontGrid(doc);
  (void)picture;
  for (int code = 0; code < 256; code += 37) {
    kelvo::CMonoBitmap glyph = kelvo::UnpackGlyph(doc, code);
    (void)kelvo::TurnUpright(glyph, doc.Orientation());
  }
  return 0;
}
