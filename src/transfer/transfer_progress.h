// The "Copy Files" window of a transfer: what is being copied, where to, and
// its Cancel button.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace kelvo {

class CCopyFilesSink {
 public:
  virtual ~CCopyFilesSink() = default;
  // Creates and shows the window (modeless).
  virtual void Show() = 0;
  // "To:" is set once per transfer, "Copying:" once per file.
  virtual void SetTo(const std::string& text) = 0;
  virtual void SetCopying(const std::string& text) = 0;
  // True once the user pressed Cancel or closed the window; the transfer
  // then stops after the file being copied.
  virtual bool CancelRequested() const = 0;
  // Closes and destroys the window.
  virtual void Close() = 0;
};

// A sink that shows nothing and is never cancelled.
class CNoCopyFilesWindow final : public CCopyFilesSink {
 public:
  void Show() override {}
  void SetTo(const std::string&) override {}
  void SetCopying(const std::string&) override {}
  bool CancelRequested() const override { return false; }
  void Close() override {}
};

// Whether a text fits the window's field (measured in the field's font).
using TextFits = std::function<bool(std::string_view text)>;

// The text a "Copying:" or "To:" field shows: `text` itself when it fits;
// else its folder part abbreviated in the middle ("/home/.../dir"), keeping
// its first and as many of its last folders as fit, followed by the
// separator and the file name. When even that does not fit, the folder
// shrinks to "..." alone.
std::string ShortenPathText(std::string_view text, const TextFits& fits);

// A field of `width` characters of a fixed-pitch font.
TextFits FitsCharacters(std::size_t width);

}  // namespace kelvo
