// Writing PC files to the end of a labelled tape.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

#include "filetypes/file_names.h"
#include "filetypes/stored_content.h"
#include "tape/file_errors.h"
#include "tape/labelled_tape.h"

namespace kelvo {
namespace {

// A PC file opened for reading, closed on every path.
class CInputFile {
 public:
  ~CInputFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  ErrorCode Open(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return FileErrorCode(errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return FileErrorCode(errno);
    if (!S_ISREG(st.st_mode)) return ERR_ACCESS_DENIED;
    size_ = static_cast<std::uint64_t>(st.st_size);
    return ERR_OK;
  }
  // Reads up to `length` bytes at `offset`; `got` receives the count.
  ErrorCode ReadAt(std::uint64_t offset, void* out, std::size_t length, std::size_t& got) {
    got = 0;
    while (got < length) {
      ssize_t n = ::pread(fd_, static_cast<std::uint8_t*>(out) + got, length - got,
                          static_cast<off_t>(offset + got));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return FileErrorCode(errno);
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    return ERR_OK;
  }
  std::vector<std::uint8_t> Head(std::size_t length) {
    std::vector<std::uint8_t> head(std::min<std::uint64_t>(length, size_));
    std::size_t got = 0;
    if (ReadAt(0, head.data(), head.size(), got) != ERR_OK) got = 0;
    head.resize(got);
    return head;
  }
  std::uint64_t size() const { return size_; }

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// Where a file's data come from: memory, or a region of an open file.
struct DataSource {
  const std::uint8_t* memory = nullptr;
  CInputFile* file = nullptr;
  std::uint64_t offset = 0;
  std::uint64_t length = 0;
};

std::uint32_t TapeBlockSize(const TapeWriteOptions& options) {
  return static_cast<std::uint32_t>(std::clamp(options.blocking_factor, 1, 128)) * 512;
}

TapeFileLabel LabelFor(const std::string& path, const TapeWriteOptions& options) {
  const std::string leaf = std::filesystem::path(path).filename().string();
  SplitName split = SplitFileName(leaf);
  TapeFileLabel label;
  label.name = UpperCase(std::string(split.base));
  label.type = UpperCase(std::string(split.extension.empty() ? "" : split.extension.substr(1)));
  label.date = EncodeTapeDate();
  label.block_size = TapeBlockSize(options);
  return label;
}

std::uint32_t BlocksOf(std::uint64_t length) {
  return static_cast<std::uint32_t>((length + 511) / 512);
}

// Writes the label block, then the data in tape blocks, the last one
// zero-padded to a multiple of 512 bytes.
ErrorCode WriteLabelAndData(CTapeDevice& tape, const TapeFileLabel& label, const DataSource& data,
                            const TapeWriteOptions& options, CTapeProgressSink& progress,
                            Interaction& ui) {
  const TapeLabelBytes bytes = EncodeTapeLabel(label);
  if (ErrorCode rc = tape.WriteBlock(bytes.data(), bytes.size())) return rc;
  std::vector<std::uint8_t> block;
  try {
    block.resize(TapeBlockSize(options));
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  std::uint64_t written = 0;
  while (written < data.length) {
    const std::size_t piece =
        static_cast<std::size_t>(std::min<std::uint64_t>(block.size(), data.length - written));
    if (data.memory != nullptr) {
      std::memcpy(block.data(), data.memory + written, piece);
    } else {
      std::size_t got = 0;
      if (ErrorCode rc = data.file->ReadAt(data.offset + written, block.data(), piece, got)) return rc;
      if (got != piece) return ERR_CRC;  // the file shrank while it was written
    }
    const std::size_t padded = (piece + 511) / 512 * 512;
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(piece),
              block.begin() + static_cast<std::ptrdiff_t>(padded), 0);
    if (ErrorCode rc = tape.WriteBlock(block.data(), padded)) return rc;
    written += piece;
    ui.PumpMessages();
    progress.SetProgress(static_cast<int>(written * 100 / data.length));
  }
  return ERR_OK;
}

// The binary writer from an already opened file.
ErrorCode WriteBinary(CTapeDevice& tape, const std::string& path, CInputFile& file,
                      const TapeWriteOptions& options, CTapeProgressSink& progress,
                      Interaction& ui) {
  const std::vector<std::uint8_t> head = file.Head(512);
  const std::uint64_t h = std::min<std::uint64_t>(RetainedLabelLength(head, path), file.size());
  DataSource data{nullptr, &file, h, file.size() - h};
  TapeFileLabel label = LabelFor(path, options);
  label.blocks = BlocksOf(data.length);
  label.last_block_bytes = 0;
  label.record_length = 512;
  return WriteLabelAndData(tape, label, data, options, progress, ui);
}

ErrorCode WriteRecords(CTapeDevice& tape, const std::string& path, CInputFile& file,
                       const TapeWriteOptions& options, CTapeProgressSink& progress,
                       Interaction& ui) {
  const std::vector<std::uint8_t> head = file.Head(512);
  if (head.size() < 76 || (head[74] != '0' && head[75] != '0')) {
    return WriteBinary(tape, path, file, options, progress, ui);
  }
  const std::uint64_t h = std::min<std::uint64_t>(RetainedLabelLength(head, path), file.size());
  DataSource data{nullptr, &file, h, file.size() - h};
  TapeFileLabel label = LabelFor(path, options);
  label.blocks = BlocksOf(data.length);
  label.record_length = 80;
  if (label.blocks > 0) {
    std::uint8_t last[512] = {};
    std::size_t got = 0;
    if (ErrorCode rc = file.ReadAt(h + (label.blocks - 1) * std::uint64_t{512}, last, 512, got)) return rc;
    const std::size_t text = static_cast<std::size_t>(std::find(last, last + got, 0) - last);
    label.last_block_bytes = static_cast<std::uint16_t>(std::min<std::size_t>(text, 480) / 80 * 80);
  }
  return WriteLabelAndData(tape, label, data, options, progress, ui);
}

}  // namespace

namespace {

using FileWriter = ErrorCode (*)(CTapeDevice&, const std::string&, CInputFile&,
                                 const TapeWriteOptions&, CTapeProgressSink&, Interaction&);

ErrorCode WithOpenFile(FileWriter writer, CTapeDevice& tape, const std::string& path,
                       const TapeWriteOptions& options, CTapeProgressSink& progress,
                       Interaction& ui) {
  CInputFile file;
  if (ErrorCode rc = file.Open(path)) return rc;
  return writer(tape, path, file, options, progress, ui);
}

}  // namespace

ErrorCode WriteTapeBinaryFile(CTapeDevice& tape, const std::string& path,
                              const TapeWriteOptions& options, CTapeProgressSink& progress,
                              Interaction& ui) {
  return WithOpenFile(WriteBinary, tape, path, options, progress, ui);
}

ErrorCode WriteTapeRecordFile(CTapeDevice& tape, const std::string& path,
                              const TapeWriteOptions& options, CTapeProgressSink& progress,
                              Interaction& ui) {
  return WithOpenFile(WriteRecords, tape, path, options, progress, ui);
}

ErrorCode WriteTapeTextFile(CTapeDevice& tape, const std::string& path,
                            const TapeWriteOptions& options, CTapeProgressSink& progress,
                            Interaction& ui) {
  CInputFile file;
  if (ErrorCode rc = file.Open(path)) return rc;
  const std::vector<std::uint8_t> probe = file.Head(82);
  if (std::find(probe.begin(), probe.end(), '\n') == probe.end()) {
    const bool binary = std::any_of(probe.begin(), probe.end(),
                                    [](std::uint8_t b) { return b > 0x7F || b < 0x0A; });
    return binary ? WriteBinary(tape, path, file, options, progress, ui)
                  : WriteRecords(tape, path, file, options, progress, ui);
  }
  try {
    std::vector<std::uint8_t> text(static_cast<std::size_t>(file.size()));
    std::size_t got = 0;
    if (ErrorCode rc = file.ReadAt(0, text.data(), text.size(), got)) return rc;
    text.resize(got);
    StoredContent records;
    if (ErrorCode rc = ConvertTextToRecords(text, options.numbering, records)) return rc;
    text = {};
    TapeFileLabel label = LabelFor(path, options);
    label.blocks = records.words.blockCount;
    label.last_block_bytes = static_cast<std::uint16_t>(records.words.lastBlockBytes);
    label.record_length = 80;
    DataSource data{records.blocks.data(), nullptr, 0, records.blocks.size()};
    return WriteLabelAndData(tape, label, data, options, progress, ui);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

namespace {

// Steps 2 and 3 of a tape write: a writable tape that is ready. Returns 0 to
// go on, kDeclined when the user cancelled, else the error.
constexpr ErrorCode kDeclined = 0xFFFFFFFF;

ErrorCode PrepareForWriting(Interaction& ui, CTapeDevice& tape) {
  for (;;) {
    TapeMediaParameters media;
    ErrorCode rc = tape.GetMediaParameters(media);
    if (rc != ERR_OK && rc != 1110) rc = tape.GetMediaParameters(media);
    if (rc != ERR_OK && rc != 1110) return rc;
    if (!media.write_protected) break;
    if (ui.ReportError(ERR_WRITE_PROTECT) != Button::Retry) return kDeclined;
  }
  ErrorCode status = tape.GetTapeStatus();
  if (status == 1111) status = tape.GetTapeStatus();
  if (status == ERR_OK || status == 1110) return ERR_OK;
  ui.ReportError(status);
  return status;
}

// The tape work of a write with TapeBusy set; `shown` tells whether the
// progress window was used.
ErrorCode WriteWithDrive(const TapeContext& ctx, const std::string& drive,
                         const std::string& source_folder, const std::vector<std::string>& names,
                         const TapeWriteOptions& options, CTapeProgressSink& progress, bool& shown) {
  TapeBusyScope busy(ctx.tape_busy);
  std::unique_ptr<CTapeDevice> tape = OpenTape(ctx, drive);
  if (!tape) {
    ShowTapeOpenFailure(ctx.ui);
    return ERR_OK;
  }
  ErrorCode rc = PrepareForWriting(ctx.ui, *tape);
  if (rc == kDeclined) return ERR_OK;
  if (rc != ERR_OK) return rc;
  shown = true;
  progress.SetTitle("Writing Kelvo Labeled Tape");
  progress.SetSource(source_folder);
  progress.SetOutputDirectory(drive);
  progress.SetStatus("Rewinding tape.");
  progress.SetCounterLabel("Files Written:");
  ErrorCode result = tape->RewindTape(false);
  if (result != ERR_OK) {
    ctx.ui.ReportError(result);
  } else {
    tape->SetBlockSize(0);
    progress.SetStatus("Spacing to end of data.");
    result = SpaceToEndOfData(*tape);
  }
  if (result == ERR_OK) {
    progress.ClearAbortRequest();
    progress.SetStatus("Writing files.");
    progress.StartClock();
    int count = 0;
    for (const std::string& name : names) {
      ctx.ui.PumpMessages();
      if (progress.AbortRequested()) break;
      const std::string path = (std::filesystem::path(source_folder) / name).string();
      progress.SetCurrentFile(name);
      CInputFile probe;
      if ((result = probe.Open(path))) break;
      const bool source = IsSourceFile(path, probe.Head(256));
      result = source ? WriteTapeTextFile(*tape, path, options, progress, ctx.ui)
                      : WriteTapeBinaryFile(*tape, path, options, progress, ctx.ui);
      if (result == ERR_OK) result = tape->WriteTapemark(1, true);
      if (result != ERR_OK) break;
      progress.SetCounter(std::to_string(++count));
    }
    if (result == ERR_OK) {
      progress.SetStatus("Please wait while operation completes.");
      result = tape->WriteTapemark(1, false);  // the tape now ends with two filemarks
    }
  }
  progress.StopClock();
  if (progress.AbortRequested()) {
    progress.SetStatus("Writing aborted.");
  } else {
    progress.SetCurrentFile("");
    progress.SetProgress(0);
    progress.SetStatus("Done.");
  }
  tape->RewindTape(true);
  tape->Close();
  return result;
}

}  // namespace

ErrorCode WriteLabelledTape(const TapeContext& ctx, const std::string& drive,
                            const std::string& source_folder, const std::vector<std::string>& names,
                            const TapeWriteOptions& options, CTapeProgressSink& progress) {
  bool shown = false;
  ErrorCode result;
  try {
    result = WriteWithDrive(ctx, drive, source_folder, names, options, progress, shown);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  if (shown) progress.WaitForClose();
  return result;
}

}  // namespace kelvo
