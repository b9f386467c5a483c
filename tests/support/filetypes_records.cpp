#include "support/filetypes_records.h"

#include <cstdio>

namespace kelvo::test {

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

std::string SourceRecord(std::string_view text, int number) {
  std::string record(text.substr(0, 74));
  record.resize(74, ' ');
  char digits[16];
  std::snprintf(digits, sizeof digits, "%06d", number);
  record.append(digits, 6);
  return record;
}

std::vector<std::uint8_t> RecordBlocks(const std::vector<std::string>& records,
                                       bool padLastBlock) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < records.size(); ++i) {
    out.insert(out.end(), records[i].begin(), records[i].end());
    if (i % 6 == 5) out.insert(out.end(), 32, 0);
  }
  if (padLastBlock && out.size() % 512 != 0) out.resize((out.size() / 512 + 1) * 512, 0);
  return out;
}

std::vector<std::string> PrintableLines(std::size_t count, std::size_t maxLength,
                                        std::uint32_t seed) {
  std::vector<std::string> lines;
  std::uint32_t state = seed;
  auto next = [&state] {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  };
  for (std::size_t i = 0; i < count; ++i) {
    std::string line(next() % (maxLength + 1), ' ');
    for (char& c : line) c = static_cast<char>(0x20 + next() % 95);
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace kelvo::test
