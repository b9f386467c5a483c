#include "tape/qva_progress.h"

#include "tape/tape_progress.h"

namespace kelvo {

CQvaRestoreModel::CQvaRestoreModel(const bool& tape_busy, Clock clock)
    : tape_busy_(tape_busy), clock_(std::move(clock)) {
  if (!clock_) clock_ = [] { return std::chrono::steady_clock::now(); };
}

void CQvaRestoreModel::SetProgress(int percent) {
  progress_ = percent < 0 ? 0 : percent > 100 ? 100 : percent;
}

void CQvaRestoreModel::StartClock() {
  start_ = clock_();
  clock_running_ = true;
}

void CQvaRestoreModel::StopClock() {
  if (clock_running_) Tick();
  clock_running_ = false;
  button_ = "Close";
}

void CQvaRestoreModel::Tick() {
  if (!clock_running_) return;
  auto seconds = std::chrono::duration_cast<std::chrono::seconds>(clock_() - start_).count();
  elapsed_ = FormatElapsedTime(seconds);
}

void CQvaRestoreModel::PressButton() {
  if (tape_busy_) {
    abort_requested_ = true;
    button_ = "Close";
  } else {
    open_ = false;
  }
}

}  // namespace kelvo
