// A one-line progress bar on stderr for long kdu work (copies, formats, tape
// restores). It draws only when stderr is a terminal, so scripts and logs
// see nothing of it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace kelvo::cli {

class CProgressBar {
 public:
  // Draws on stderr when stderr is a terminal.
  explicit CProgressBar(std::string label);
  // Draws on `out` when `enabled`.
  CProgressBar(std::string label, std::FILE* out, bool enabled);
  ~CProgressBar();
  CProgressBar(const CProgressBar&) = delete;
  CProgressBar& operator=(const CProgressBar&) = delete;

  // Shows `done` of `total` (a count of files, blocks or bytes).
  void Update(std::uint64_t done, std::uint64_t total);
  // Changes the text in front of the bar (the current file name, say).
  void SetLabel(std::string label);
  // Changes the text after the percentage (a tape's file and counter).
  void SetDetail(std::string detail);
  // Ends the line; further updates are ignored.
  void Finish();

 private:
  void Draw();

  std::string label_;
  std::string detail_;
  std::FILE* out_;
  bool enabled_;
  bool drawn_ = false;
  int percent_ = -1;
};

}  // namespace kelvo::cli
