#include "core/size_text.h"

#include <cstdio>
#include <limits>

namespace kelvo {
namespace {

constexpr std::uint64_t kKB = 1024;
constexpr std::uint64_t kMB = 1048576;
constexpr std::uint64_t kGB = 1073741824;

std::string Printf(const char* format, double value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

// The texts below 1 GB, shared by both variants.
std::string BelowGigabyte(std::uint64_t n) {
  if (n < kKB) return std::to_string(n) + " bytes";
  if (n < 10 * kKB) return Printf("%.2fKB", static_cast<double>(n) / kKB);
  if (n < 100 * kKB) return Printf("%.1fKB", static_cast<double>(n) / kKB);
  if (n < kMB) return Printf("%.0fKB", static_cast<double>(n) / kKB);
  if (n < 10 * kMB) return Printf("%.2fMB", static_cast<double>(n) / kMB);
  if (n < 100 * kMB) return Printf("%.1fMB", static_cast<double>(n) / kMB);
  return Printf("%.0fMB", static_cast<double>(n) / kMB);
}

// 32-bit rule for any count: everything from 1 GB is "%.2fGB".
std::string WithTwoDecimalGigabytes(std::uint64_t n) {
  if (n < kGB) return BelowGigabyte(n);
  return Printf("%.2fGB", static_cast<double>(n) / kGB);
}

}  // namespace

std::string FormatSize(std::uint64_t bytes) {
  if (bytes < kGB) return BelowGigabyte(bytes);
  // Four GB per unit of the high 32 bits plus the low 32 bits in GB.
  const double high = static_cast<double>(bytes >> 32);
  const double low = static_cast<double>(bytes & 0xFFFFFFFFu);
  const double gb = 4.0 * high + low / static_cast<double>(kGB);
  if (gb < 10.0) return Printf("%.2fGB", gb);
  if (gb < 100.0) return Printf("%.1fGB", gb);
  return Printf("%.0fGB", gb);
}

std::string FormatSize32(std::uint32_t bytes) { return WithTwoDecimalGigabytes(bytes); }

std::uint64_t ParseSizeColumn(const std::string& text) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t value = 0;
  std::uint64_t place = 1;
  bool place_overflow = false;
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    if (*it < '0' || *it > '9') continue;
    const std::uint64_t digit = static_cast<std::uint64_t>(*it - '0');
    if (digit != 0) {
      if (place_overflow || digit > (kMax - value) / place) return kMax;
      value += digit * place;
    }
    if (place > kMax / 10) {
      place_overflow = true;
    } else {
      place *= 10;
    }
  }
  return value;
}

std::string SelectionSummary(const std::vector<std::string>& size_column_texts) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
  std::uint64_t total = 0;
  for (const std::string& text : size_column_texts) {
    const std::uint64_t n = ParseSizeColumn(text);
    total = (n > kMax - total) ? kMax : total + n;
  }
  // The total is kept in 64 bits so that a large selection is not wrapped
  // around; it is shown with the 32-bit variant's rule.
  return std::to_string(size_column_texts.size()) + " file(s) selected (" +
         WithTwoDecimalGigabytes(total) + ")";
}

}  // namespace kelvo
