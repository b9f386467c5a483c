#include "filetypes/name_text.h"

namespace kelvo {
namespace {

bool IsPlainByte(unsigned char c) { return c >= 0x20 && c < 0x7F && c != '\\'; }

constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

bool IsPlainName(std::string_view bytes) {
  for (char c : bytes) {
    if (!IsPlainByte(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string EscapedName(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (IsPlainByte(u)) {
      out.push_back(c);
    } else {
      out += "\\x";
      out.push_back(kHexDigits[u >> 4]);
      out.push_back(kHexDigits[u & 15]);
    }
  }
  return out;
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    out.push_back(kHexDigits[u >> 4]);
    out.push_back(kHexDigits[u & 15]);
  }
  return out;
}

std::string SafePcFileName(std::string_view bytes) {
  std::string out(bytes);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto u = static_cast<unsigned char>(out[i]);
    if (!IsPlainByte(u) || u == '/' || (i == 0 && u == '.')) out[i] = '_';
  }
  return out;
}

}  // namespace kelvo
