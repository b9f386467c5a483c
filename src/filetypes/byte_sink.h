// Where converted bytes go: a PC file, an open handle or memory.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/error_codes.h"

namespace kelvo {

class CByteSink {
 public:
  virtual ~CByteSink() = default;
  // Appends `bytes`; returns 0 or the error of the failed write.
  virtual ErrorCode Write(std::span<const std::uint8_t> bytes) = 0;
};

// Appends to a vector in memory.
class CVectorSink final : public CByteSink {
 public:
  explicit CVectorSink(std::vector<std::uint8_t>& out) : out_(out) {}
  ErrorCode Write(std::span<const std::uint8_t> bytes) override;

 private:
  std::vector<std::uint8_t>& out_;
};

}  // namespace kelvo
