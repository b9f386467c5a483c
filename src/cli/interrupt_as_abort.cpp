#include "cli/interrupt_as_abort.h"

namespace kelvo::cli {

std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

namespace {
extern "C" void OnInterrupt(int) { g_interrupted.store(true); }
}  // namespace

CInterruptAsAbort::CInterruptAsAbort() {
  g_interrupted.store(false);
  struct sigaction sa {};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no restart: a pending prompt returns
  sigaction(SIGINT, &sa, &old_);
}

CInterruptAsAbort::~CInterruptAsAbort() { sigaction(SIGINT, &old_, nullptr); }

}  // namespace kelvo::cli
