#include "filetypes/byte_sink.h"

#include "filetypes/memory_guard.h"

namespace kelvo {

ErrorCode CVectorSink::Write(std::span<const std::uint8_t> bytes) {
  return GuardMemory([&] {
    out_.insert(out_.end(), bytes.begin(), bytes.end());
    return ERR_OK;
  });
}

}  // namespace kelvo
