#include "tape/tape_imaging.h"

#include <algorithm>
#include <new>
#include <memory>
#include <vector>

#include "tape/tap_image.h"

namespace kelvo {
namespace {

constexpr std::size_t kFirstBufferSize = 256 * 1024;

// One item read from a tape.
enum class Item { Record, Damaged, Filemark, End };

// Reads the next item of `tape` into `buffer`, growing it for a record longer
// than it (up to the largest record a .tap image can describe).
ErrorCode ReadItem(CTapeDevice& tape, std::vector<std::uint8_t>& buffer, std::size_t& length,
                   Item& item) {
  for (;;) {
    ErrorCode rc = tape.ReadBlock(buffer.data(), buffer.size(), length);
    switch (rc) {
      case ERR_OK:
        item = Item::Record;
        return ERR_OK;
      case ERR_FILEMARK_DETECTED:
        item = Item::Filemark;
        return ERR_OK;
      case ERR_NO_DATA_DETECTED:
        item = Item::End;
        return ERR_OK;
      case ERR_MORE_DATA:
        if (buffer.size() >= kTapMaxRecord) return ERR_MORE_DATA;
        buffer.resize(std::min<std::size_t>(buffer.size() * 2, kTapMaxRecord));
        continue;
      case ERR_CRC:
        // A media error: keep what the device knows of the block.
        if (ErrorCode pass = tape.PassDamagedBlock(buffer.data(), buffer.size(), length)) return pass;
        if (length > buffer.size()) {
          std::fill(buffer.begin(), buffer.end(), 0);
          buffer.resize(std::min<std::size_t>(length, kTapMaxRecord), 0);
          length = buffer.size();
        }
        item = Item::Damaged;
        return ERR_OK;
      default:
        return rc;
    }
  }
}

ErrorCode Prepare(CTapeDevice& tape) {
  if (ErrorCode rc = TapeReadyCheck(tape)) return rc;
  if (ErrorCode rc = tape.SetBlockSize(0)) return rc;
  return tape.RewindTape(false);
}

}  // namespace

ErrorCode SaveTapeImage(CTapeDevice& tape, const std::string& path,
                        CTapeImagingProgress& progress, TapeImagingReport& report) {
  report = TapeImagingReport{};
  try {
    if (ErrorCode rc = Prepare(tape)) return rc;
    CTapFileWriter writer(path);
    if (ErrorCode rc = writer.Open()) return rc;
    std::vector<std::uint8_t> buffer(kFirstBufferSize);
    unsigned damaged_run = 0;
    for (;;) {
      if (progress.AbortRequested()) {
        report.aborted = true;
        break;
      }
      std::size_t length = 0;
      Item item = Item::End;
      if (ErrorCode rc = ReadItem(tape, buffer, length, item)) return rc;
      if (item == Item::End) break;
      if (item == Item::Filemark) {
        if (ErrorCode rc = writer.Filemark()) return rc;
        ++report.filemarks;
      } else {
        const bool damaged = item == Item::Damaged;
        damaged_run = damaged ? damaged_run + 1 : 0;
        if (damaged_run > kImagingMaxDamagedRun) return ERR_CRC;
        if (ErrorCode rc = writer.Record(buffer.data(), static_cast<std::uint32_t>(length), damaged))
          return rc;
        ++report.records;
        report.bytes += length;
        if (damaged) ++report.damaged;
      }
      progress.Update(report);
    }
    return writer.Finish();
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

ErrorCode WriteTapeImage(const std::string& path, CTapeDevice& tape,
                         CTapeImagingProgress& progress, TapeImagingReport& report) {
  report = TapeImagingReport{};
  try {
    CTapImage image({path});
    if (ErrorCode rc = image.Open()) return rc;
    if (ErrorCode rc = Prepare(tape)) return rc;
    std::vector<std::uint8_t> buffer(kFirstBufferSize);
    for (;;) {
      if (progress.AbortRequested()) {
        report.aborted = true;
        return ERR_OK;
      }
      std::size_t length = 0;
      Item item = Item::End;
      if (ErrorCode rc = ReadItem(image, buffer, length, item)) return rc;
      if (item == Item::End) return ERR_OK;
      if (item == Item::Filemark) {
        if (ErrorCode rc = tape.WriteTapemark(1, false)) return rc;
        ++report.filemarks;
      } else {
        // A damaged record of unknown length has nothing to write.
        if (length > 0) {
          if (ErrorCode rc = tape.WriteBlock(buffer.data(), length)) return rc;
        }
        ++report.records;
        report.bytes += length;
        if (item == Item::Damaged) ++report.damaged;
      }
      progress.Update(report);
    }
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

ErrorCode SaveTapeImage(const TapeContext& ctx, const std::string& name, const std::string& path,
                        CTapeImagingProgress& progress, TapeImagingReport& report) {
  return SingleAction(ctx, name, [&](CTapeDevice& tape) { return SaveTapeImage(tape, path, progress, report); });
}

ErrorCode WriteTapeImage(const TapeContext& ctx, const std::string& path, const std::string& name,
                         CTapeImagingProgress& progress, TapeImagingReport& report) {
  return SingleAction(ctx, name, [&](CTapeDevice& tape) { return WriteTapeImage(path, tape, progress, report); });
}

}  // namespace kelvo
