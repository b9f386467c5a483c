#include "filetypes/byte_sink.h"

#include <new>
#include <stdexcept>

namespace kelvo {

ErrorCode CVectorSink::Write(std::span<const std::uint8_t> bytes) {
  try {
    out_.insert(out_.end(), bytes.begin(), bytes.end());
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  } catch (const std::length_error&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  return ERR_OK;
}

}  // namespace kelvo
