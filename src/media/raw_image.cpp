#include "media/raw_image.h"

#include <cctype>

#include "media/media_kind.h"
#include "media/sector_source.h"

namespace kelvo {
namespace {
constexpr int kSpts[] = {9, 15, 18};
}

FloppyGeometry RawImageGeometry(std::uint64_t bytes) {
  for (int spt : kSpts) {
    for (int cyl : {kFileSystemCylinders, kFormattedCylinders}) {
      if (bytes == std::uint64_t(cyl) * kHeads * spt * kBlockSize) return {cyl, spt};
    }
  }
  return {};
}

FloppyGeometry GeometryForBlocks(std::uint32_t blocks) {
  int spt = 18;
  for (int s : kSpts) {
    if (blocks <= std::uint32_t(kFormattedCylinders) * kHeads * s) {
      spt = s;
      break;
    }
  }
  const std::uint32_t per_cyl = std::uint32_t(kHeads) * spt;
  std::uint32_t cyl = (blocks + per_cyl - 1) / per_cyl;
  if (cyl == 0) cyl = 1;
  return {static_cast<int>(cyl), spt};
}

std::string LowerExtension(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return ext;
}

}  // namespace kelvo
