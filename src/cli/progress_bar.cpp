#include "cli/progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <utility>

namespace kelvo::cli {
namespace {

constexpr int kBarWidth = 30;
constexpr std::size_t kMaxLabel = 40;

}  // namespace

CProgressBar::CProgressBar(std::string label)
    : CProgressBar(std::move(label), stderr, isatty(STDERR_FILENO) != 0) {}

CProgressBar::CProgressBar(std::string label, std::FILE* out, bool enabled)
    : label_(std::move(label)), out_(out), enabled_(enabled) {}

CProgressBar::~CProgressBar() { Finish(); }

void CProgressBar::Update(std::uint64_t done, std::uint64_t total) {
  if (!enabled_) return;
  int percent = 100;
  if (total > 0 && done < total) {
    // 100% only when done: a huge count can round up in double.
    percent = std::min(99, static_cast<int>(static_cast<double>(done) * 100.0 /
                                            static_cast<double>(total)));
  }
  if (percent == percent_) return;
  percent_ = percent;
  Draw();
}

void CProgressBar::SetLabel(std::string label) {
  if (label == label_) return;
  label_ = std::move(label);
  if (enabled_ && percent_ >= 0) Draw();
}

void CProgressBar::SetDetail(std::string detail) {
  if (detail == detail_) return;
  detail_ = std::move(detail);
  if (enabled_ && percent_ >= 0) Draw();
}

void CProgressBar::Finish() {
  if (enabled_ && drawn_) std::fputc('\n', out_);
  std::fflush(out_);
  enabled_ = false;
}

void CProgressBar::Draw() {
  std::size_t cut = std::min(label_.size(), kMaxLabel);
  // Never cut a UTF-8 sequence in two.
  while (cut < label_.size() && cut > 0 && (static_cast<unsigned char>(label_[cut]) & 0xC0) == 0x80)
    --cut;
  const std::string label = label_.substr(0, cut);
  const int filled = percent_ * kBarWidth / 100;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.append(static_cast<std::size_t>(kBarWidth - filled), '.');
  // \r and clearing to the end of the line redraw in place.
  std::fprintf(out_, "\r%s [%s] %3d%%%s%s\x1b[K", label.c_str(), bar.c_str(), percent_,
               detail_.empty() ? "" : " ", detail_.c_str());
  std::fflush(out_);
  drawn_ = true;
}

}  // namespace kelvo::cli
