// Counting a device's requests and failing a chosen one, for the emulated
// devices that tests drive through every failure position.
#pragma once

#include <cstdint>

#include "core/error_codes.h"

namespace kelvo {

class CFaultPlan {
 public:
  // The request numbered `nth` from now (1 = the next one) fails with
  // `code`; with `persistent` every later one too. 0 clears the plan.
  void Inject(std::uint64_t nth, ErrorCode code, bool persistent = false) {
    fault_at_ = nth == 0 ? 0 : requests_ + nth;
    code_ = code;
    persistent_ = persistent;
  }
  void Clear() { fault_at_ = 0; }
  // Counts one request: its injected failure, or 0.
  ErrorCode Count() {
    ++requests_;
    if (fault_at_ != 0 && (requests_ == fault_at_ || (persistent_ && requests_ > fault_at_)))
      return code_;
    return ERR_OK;
  }
  // Requests counted so far.
  std::uint64_t Requests() const { return requests_; }

 private:
  std::uint64_t requests_ = 0;
  std::uint64_t fault_at_ = 0;
  ErrorCode code_ = ERR_OK;
  bool persistent_ = false;
};

}  // namespace kelvo
