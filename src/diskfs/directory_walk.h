// Bounded walks over the type index and the directory chains.
//
// The format has no protection against damage: a chain link may point back
// into the chain, past the file system or past the end of an image. Every
// walk here stops at such a link and describes what it met, so no walk loops
// or reads outside the carrier.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "diskfs/on_disk.h"
#include "media/sector_source.h"

namespace kelvo {

// Carrier extent when it is not known (a floppy: reads fail by themselves).
inline constexpr std::uint32_t kUnknownExtent = 0xFFFFFFFFu;

struct WalkLimits {
  std::uint32_t highest_lbn = 0;                  // from the volume block
  std::uint32_t carrier_blocks = kUnknownExtent;  // blocks an image holds
};

// Called with each directory sector read; returns false to end the walk early.
using SectorVisitor = std::function<bool(std::uint16_t lbn, Block& block)>;

// How a chain walk ended.
enum class ChainEnd {
  Complete,        // a link of 0
  Stopped,         // the visitor ended it
  Cycle,           // a sector met a second time
  PastHighestLbn,  // a link equal to or above the highest LBN
  PastCarrier,     // a sector past the end of the image and of the file system
};

// Walks the chain of `type` from `first_lbn`: the first sector, then each
// link while it is not 0. A sector of the file system (up to the highest LBN)
// past the end of an image is visited as zeros: an empty sector that ends the
// chain. A link equal to or above the highest LBN, a sector past the end of
// the carrier beyond the file system, or a sector met a second time ends the
// walk and is described in `problem` (left empty otherwise). Returns the carrier's read
// error, else 0. `stopped` tells whether the visitor ended the walk.
// `end`, when given, receives how the walk ended (left as Complete on a read
// error).
ErrorCode WalkChain(CSectorSource& carrier, const WalkLimits& limits, std::string_view type,
                    std::uint16_t first_lbn, const SectorVisitor& visit, std::string& problem,
                    bool* stopped = nullptr, ChainEnd* end = nullptr);

}  // namespace kelvo
