#include "cli/interrupt_abort.h"

namespace kelvo::cli {

std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

namespace {
extern "C" void OnInterrupt(int) { g_interrupted.store(true); }
}  // namespace

InterruptAsAbort::InterruptAsAbort() {
  g_interrupted.store(false);
  struct sigaction sa {};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no restart: a pending prompt returns
  sigaction(SIGINT, &sa, &old_);
}

InterruptAsAbort::~InterruptAsAbort() { sigaction(SIGINT, &old_, nullptr); }

}  // namespace kelvo::cli
