// Ends the test program with a message when a piece of work has not ended
// within a bound: a walk of a damaged disk or tape that loops shows as a
// named failure at once, not as the test runner's timeout.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace kelvo::test {

class Watchdog {
 public:
  Watchdog(std::string what, int seconds)
      : what_(std::move(what)), thread_([this, seconds] { Watch(seconds); }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  void Watch(int seconds) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (wake_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; })) return;
    std::fprintf(stderr, "FAILED: %s did not end within %d s (a loop in a damaged structure?)\n",
                 what_.c_str(), seconds);
    std::fflush(stderr);
    std::_Exit(3);
  }

  std::string what_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace kelvo::test
