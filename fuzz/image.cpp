// Fuzz target: an image file loaded (header and restricted raster decoder),
// then the image view's display bitmap as it opens, turned once more, and
// enlarged.
#include <cstdint>
#include <string>

#include "viewers/image_doc.h"
#include "viewers/image_view_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelvo::CImgDoc doc;
  if (!doc.LoadBytes(std::string(reinterpret_cast<const char*>(data), size))) return 0;
  kelvo::ImageViewOptions options;
  options.default_zoom = 50;
  kelvo::CImgViewModel view(doc, options);
  (void)view.Rotate();
  (void)kelvo::BuildDisplayBitmap(view.Full(), 150, 3);
  return 0;
}
