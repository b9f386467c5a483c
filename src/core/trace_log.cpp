#include "core/trace_log.h"

#include <cstdlib>
#include <ctime>

namespace kelvo {
namespace {

// Local date or time in the locale's own form, at most 70 characters.
std::string LocalNow(const char* format) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  char buf[71];
  std::size_t n = std::strftime(buf, sizeof buf, format, &local);
  return std::string(buf, n);
}

}  // namespace

bool CTraceLog::OpenTraceLog(const std::filesystem::path& path) {
  CloseTraceLog();
  if (path.empty()) return false;
  std::error_code ec;
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
  file_.reset(std::fopen(path.c_str(), "w+b"));
  if (!file_) return false;
  WriteTraceLine("Log file opened: " + LocalNow("%x") + " " + LocalNow("%X") + "\r\n");
  return true;
}

void CTraceLog::WriteTraceLine(const std::string& text) {
  if (!file_) return;
  const std::string line = LocalNow("%X") + ": " + text;
  std::fwrite(line.data(), 1, line.size(), file_.get());
  std::fflush(file_.get());
}

void CTraceLog::CloseTraceLog() { file_.reset(); }

std::filesystem::path DefaultTraceLogPath() {
  std::filesystem::path base;
  const char* state = std::getenv("XDG_STATE_HOME");
  if (state != nullptr && std::filesystem::path(state).is_absolute()) {
    base = state;
  } else {
    const char* home = std::getenv("HOME");
    if (home == nullptr || !std::filesystem::path(home).is_absolute()) return {};
    base = std::filesystem::path(home) / ".local" / "state";
  }
  return base / "kelvo-disk-utility" / "kdisk32.log";
}

}  // namespace kelvo
