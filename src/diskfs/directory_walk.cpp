#include "diskfs/directory_walk.h"

#include <algorithm>
#include <array>
#include <vector>

namespace kelvo {

ErrorCode WalkChain(CSectorSource& carrier, const WalkLimits& limits, std::string_view type,
                    std::uint16_t first_lbn, const SectorVisitor& visit, std::string& problem,
                    bool* stopped, ChainEnd* end) {
  problem.clear();
  if (stopped) *stopped = false;
  ChainEnd ignored = ChainEnd::Complete;
  ChainEnd& how = end ? *end : ignored;
  how = ChainEnd::Complete;
  auto name = [type] { return "the " + std::string(type) + " directory"; };
  // Chains are short: the sectors met so far are searched linearly, the first
  // ones without touching the heap.
  std::array<std::uint16_t, 16> first_seen{};
  std::size_t first_count = 0;
  std::vector<std::uint16_t> more_seen;
  auto seen_before = [&](std::uint16_t lbn) {
    return std::find(first_seen.begin(), first_seen.begin() + first_count, lbn) !=
               first_seen.begin() + first_count ||
           std::find(more_seen.begin(), more_seen.end(), lbn) != more_seen.end();
  };
  std::uint16_t lbn = first_lbn;
  Block block{};
  for (;;) {
    // Blocks of the file system that an image does not hold yet read as
    // zeros: such a directory sector is empty and ends its chain.
    const bool unwritten = lbn >= limits.carrier_blocks;
    if (unwritten && (lbn > limits.highest_lbn || lbn >= kBitmapBits)) {
      problem = name() + " sector at LBN " + std::to_string(lbn) +
                " lies past the end of the image (" + std::to_string(limits.carrier_blocks) +
                " blocks)";
      how = ChainEnd::PastCarrier;
      return ERR_OK;
    }
    if (seen_before(lbn)) {
      problem = name() + " chain links back to LBN " + std::to_string(lbn) +
                "; the rest of the chain was skipped";
      how = ChainEnd::Cycle;
      return ERR_OK;
    }
    if (first_count < first_seen.size())
      first_seen[first_count++] = lbn;
    else
      more_seen.push_back(lbn);
    if (unwritten)
      block.fill(0);
    else if (ErrorCode err = carrier.ReadSectors(lbn, 1, block.data()))
      return err;
    if (!visit(lbn, block)) {
      if (stopped) *stopped = true;
      how = ChainEnd::Stopped;
      return ERR_OK;
    }
    const std::uint16_t next = GetNextLink(block.data());
    if (next == 0) return ERR_OK;
    if (next >= limits.highest_lbn) {
      problem = name() + " chain links to LBN " + std::to_string(next) +
                ", at or beyond the highest LBN " + std::to_string(limits.highest_lbn) +
                "; the rest of the chain was skipped";
      how = ChainEnd::PastHighestLbn;
      return ERR_OK;
    }
    lbn = next;
  }
}

}  // namespace kelvo
