// Ctrl-C during long work is the Abort button: the handler only raises a
// flag, which the progress sinks read between steps.
#pragma once

#include <atomic>
#include <csignal>

namespace kelvo::cli {

extern std::atomic<bool> g_interrupted;

// Routes SIGINT to g_interrupted while it lives.
class CInterruptAsAbort {
 public:
  CInterruptAsAbort();
  ~CInterruptAsAbort();
  CInterruptAsAbort(const CInterruptAsAbort&) = delete;
  CInterruptAsAbort& operator=(const CInterruptAsAbort&) = delete;

 private:
  struct sigaction old_ {};
};

}  // namespace kelvo::cli
