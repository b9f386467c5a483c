// A sector source over a byte vector that counts its writes and locks.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "media/sector_source.h"

namespace kelvo::test {

class FakeDrive : public CSectorSource {
 public:
  explicit FakeDrive(std::vector<std::uint8_t> bytes) : bytes(std::move(bytes)) {}

  std::vector<std::uint8_t> bytes;
  int writes = 0;
  int locks = 0;
  int unlocks = 0;

  ErrorCode ReadSectors(std::uint32_t lbn, std::uint32_t count, std::uint8_t* buffer) override {
    std::size_t at = std::size_t{lbn} * kBlockSize, n = std::size_t{count} * kBlockSize;
    if (at + n > bytes.size()) return ERR_SECTOR_NOT_FOUND;
    std::memcpy(buffer, bytes.data() + at, n);
    return ERR_OK;
  }
  ErrorCode WriteSectors(std::uint32_t lbn, std::uint32_t count,
                         const std::uint8_t* buffer) override {
    ++writes;
    std::size_t at = std::size_t{lbn} * kBlockSize, n = std::size_t{count} * kBlockSize;
    if (at + n > bytes.size()) return ERR_SECTOR_NOT_FOUND;
    std::memcpy(bytes.data() + at, buffer, n);
    return ERR_OK;
  }
  ErrorCode Lock() override {
    ++locks;
    return ERR_OK;
  }
  ErrorCode Unlock() override {
    ++unlocks;
    return ERR_OK;
  }
};

}  // namespace kelvo::test
