#include "tape/tape_label.h"

#include <cctype>
#include <ctime>

#include "diskfs/on_disk.h"
#include "core/radix50.h"

namespace kelvo {
namespace {

void Put16(TapeLabelBytes& b, std::size_t offset, std::uint32_t v) {
  PutWord(b.data() + offset, static_cast<std::uint16_t>(v));
}

std::uint16_t Get16(const std::uint8_t* p, std::size_t offset) { return GetWord(p + offset); }

std::uint32_t Get32(const std::uint8_t* p, std::size_t offset) {
  return Get16(p, offset) | static_cast<std::uint32_t>(Get16(p, offset + 2)) << 16;
}

// Text of at most `max` bytes, ending at the first zero byte.
std::string FieldText(const std::uint8_t* p, std::size_t max) {
  std::string s;
  for (std::size_t i = 0; i < max && p[i] != 0; ++i) s.push_back(static_cast<char>(p[i]));
  return s;
}

// "*" or "?" wildcard comparison of one name part.
bool MatchPart(const std::string& a, const std::string& b, bool question_is_wildcard) {
  std::size_t i = 0;
  for (;; ++i) {
    const bool a_end = i >= a.size();
    const bool b_end = i >= b.size();
    if (a_end && b_end) return true;
    if (!a_end && a[i] == '*') return true;
    if (!b_end && b[i] == '*') return true;
    if (a_end || b_end) return false;
    if (question_is_wildcard && (a[i] == '?' || b[i] == '?')) continue;
    if (a[i] != b[i]) return false;
  }
}

void SplitSpec(const std::string& text, std::string& base, std::string& type) {
  std::size_t dot = text.rfind('.');
  base = dot == std::string::npos ? text : text.substr(0, dot);
  type = dot == std::string::npos ? std::string() : text.substr(dot);
}

}  // namespace

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

TapeLabelBytes EncodeTapeLabel(const TapeFileLabel& label) {
  TapeLabelBytes b{};
  const std::string name = UpperCase(label.name.substr(0, 6));
  const std::string type = UpperCase(label.type.substr(0, 3));
  Put16(b, 0, RadixEncode(name.substr(0, 3)));
  Put16(b, 2, name.size() > 3 ? RadixEncode(name.substr(3, 3)) : 0);
  Put16(b, 4, RadixEncode(type));
  Put16(b, 6, label.blocks <= 65535 ? label.blocks : 0);
  Put16(b, 8, label.last_block_bytes);
  Put16(b, 10, label.date);
  Put16(b, 12, label.record_length);
  Put16(b, 14, label.block_size & 0xFFFF);
  for (std::size_t i = 0; i < name.size(); ++i) b[18 + i] = static_cast<std::uint8_t>(name[i]);
  for (std::size_t i = 0; i < type.size(); ++i) b[27 + i] = static_cast<std::uint8_t>(type[i]);
  if (label.blocks > 65535) {
    Put16(b, 30, label.blocks & 0xFFFF);
    Put16(b, 32, label.blocks >> 16);
  }
  b[127] = '*';
  return b;
}

TapeLabelName LabelFileName(const std::uint8_t* label) {
  TapeLabelName out;
  std::string base;
  if (label[18] == 0) {
    base = RadixDecode(Get16(label, 0)) + RadixDecode(Get16(label, 2));
    out.type = RadixDecode(Get16(label, 4));
  } else {
    base = FieldText(label + 18, 6);
    out.type = FieldText(label + 27, 3);
  }
  out.type = UpperCase(out.type);
  out.name = UpperCase(base) + "." + out.type;
  return out;
}

std::uint32_t LabelBlockCount(const std::uint8_t* label) {
  const std::uint32_t wide = Get32(label, 30);
  return wide != 0 ? wide : Get16(label, 6);
}

std::uint16_t LabelLastBlockBytes(const std::uint8_t* label) { return Get16(label, 8); }

std::uint16_t LabelRecordLength(const std::uint8_t* label) { return Get16(label, 12); }

std::uint16_t EncodeTapeDate(int year, int month, int day) {
  static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  int day_of_year = day;
  for (int m = 1; m < month && m <= 12; ++m) {
    day_of_year += kMonthDays[m - 1] + (m == 2 && year % 4 == 0 ? 1 : 0);
  }
  return static_cast<std::uint16_t>((year - 1970) * 1000 + day_of_year);
}

std::uint16_t EncodeTapeDate() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return EncodeTapeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

bool IsSourceLabel(const std::string& name, const std::uint8_t* label) {
  if (LabelRecordLength(label) != 80 || name.size() < 3) return false;
  const std::string type = UpperCase(name.substr(name.size() - 3));
  if (type == "CMD" || type == "FSL" || type == "JSL" || type == "PCH") return true;
  return (type == "LIB" || type == "TMP") && LabelLastBlockBytes(label) != 512;
}

bool MatchFileSpec(const std::string& name, const std::string& spec) {
  std::string name_base, name_type, spec_base, spec_type;
  SplitSpec(UpperCase(name), name_base, name_type);
  SplitSpec(UpperCase(spec), spec_base, spec_type);
  return MatchPart(name_base, spec_base, true) && MatchPart(name_type, spec_type, false);
}

bool IsEndOfFilesName(const std::string& name) { return UpperCase(name) == "ENDFIL.END"; }

}  // namespace kelvo
