// Fuzz target: the same bytes read as a source file (the source view's
// lines, records converted to text, text converted to records) and as a task
// file (its dump lines).
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "filetypes/byte_sink.h"
#include "filetypes/source_conversion.h"
#include "viewers/source_doc.h"
#include "viewers/task_doc.h"

namespace {
volatile std::size_t g_line_bytes = 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string file(reinterpret_cast<const char*>(data), size);
  const std::span<const std::uint8_t> bytes(data, size);

  kelvo::CSourceDoc source;
  source.LoadBytes(file, kelvo::kSourceJobSource);
  std::size_t total = 0;
  for (std::size_t i = 0; i <= source.LineCount(); ++i) total += source.Line(i).size();

  (void)kelvo::IsSourceFile("X.CMD", bytes);
  (void)kelvo::IsPreformattedRecordFile(bytes.first(std::min<std::size_t>(size, 80)));
  for (bool remove_numbers : {false, true}) {
    std::vector<std::uint8_t> text;
    kelvo::CVectorSink sink(text);
    (void)kelvo::ConvertRecordsToText(bytes, remove_numbers, sink);
  }
  {
    // Text to records in uneven pieces, as a stream arrives.
    std::vector<std::uint8_t> records;
    kelvo::CVectorSink sink(records);
    kelvo::CTextRecordEncoder encoder(kelvo::LineNumbering{10, 10}, sink);
    std::size_t at = 0;
    for (std::size_t piece = 1; at < size; piece = piece * 3 % 97 + 1) {
      const std::size_t n = std::min(piece, size - at);
      if (encoder.Append(bytes.subspan(at, n)) != kelvo::ERR_OK) break;
      at += n;
    }
    (void)encoder.Finish();
  }

  kelvo::CTaskDoc task;
  task.LoadBytes(file);
  for (std::size_t i = 0; i <= task.LineCount(); ++i) total += task.Line(i).size();
  g_line_bytes = total;  // keeps the line fetches from being optimised away
  return 0;
}
