#include "tape/tape_progress.h"

#include <cstdio>

namespace kelvo {

std::string FormatElapsedTime(long long seconds) {
  if (seconds < 0) seconds = 0;
  char text[64];
  std::snprintf(text, sizeof text, " %01lldh:%02lldm:%02llds", seconds / 3600, seconds / 60 % 60,
                seconds % 60);
  return text;
}

CRestoreProgressModel::CRestoreProgressModel(const bool& tape_busy, Clock clock)
    : tape_busy_(tape_busy), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return std::chrono::steady_clock::now(); };
}

void CRestoreProgressModel::SetProgress(int percent) {
  progress_ = percent < 0 ? 0 : percent > 100 ? 100 : percent;
}

void CRestoreProgressModel::StartClock() {
  start_ = clock_();
  clock_running_ = true;
}

void CRestoreProgressModel::StopClock() {
  if (clock_running_) Tick();
  clock_running_ = false;
  button_ = "Close";
}

void CRestoreProgressModel::Tick() {
  if (!clock_running_) return;
  auto seconds = std::chrono::duration_cast<std::chrono::seconds>(clock_() - start_).count();
  elapsed_ = FormatElapsedTime(seconds);
}

void CRestoreProgressModel::PressButton() {
  if (tape_busy_) {
    abort_requested_ = true;
    button_ = "Close";
  } else {
    open_ = false;
  }
}

}  // namespace kelvo
