// Turns a failed allocation inside `fn` into ERR_NOT_ENOUGH_MEMORY, so no
// exception leaves the engine.
#pragma once

#include <new>
#include <stdexcept>

#include "core/error_codes.h"

namespace kelvo {

template <typename Fn>
ErrorCode GuardMemory(Fn&& fn) {
  try {
    return fn();
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  } catch (const std::length_error&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

}  // namespace kelvo
