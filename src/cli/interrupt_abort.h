// Ctrl-C during long work is the Abort button: the handler only raises a
// flag, which the progress sinks read between steps.
#pragma once

#include <atomic>
#include <csignal>

namespace kelvo::cli {

extern std::atomic<bool> g_interrupted;

// Routes SIGINT to g_interrupted while it lives.
class InterruptAsAbort {
 public:
  InterruptAsAbort();
  ~InterruptAsAbort();
  InterruptAsAbort(const InterruptAsAbort&) = delete;
  InterruptAsAbort& operator=(const InterruptAsAbort&) = delete;

 private:
  struct sigaction old_ {};
};

}  // namespace kelvo::cli
