// Rasterises a scalable font at 300 dpi into printer font files.
#pragma once

#include <string>

namespace kelvo::demo {

struct DemoFontFiles {
  std::string portrait;   // orientation 'P': glyphs stored turned a quarter turn
  std::string landscape;  // orientation 'L': glyphs stored upright
};

// Renders the printable ASCII characters (space to '~') of the font file
// `fontPath` at `points` on a 300 dpi grid, one bit per dot, and builds both
// font files with `lineSpacing` dots between baselines. Returns false and
// sets `error` when the font cannot be loaded or a glyph does not fit.
bool RasteriseDemoFont(const std::string& fontPath, int points, int lineSpacing,
                       DemoFontFiles& out, std::string& error);

}  // namespace kelvo::demo
