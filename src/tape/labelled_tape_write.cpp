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
#include "transfer/errno_map.h"
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
    if (fd_ < 0) return MapErrno(errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return MapErrno(errno);
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
      if (n < 0) return MapErrno(errno, IoContext::Read);
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

// Buffers reused from file to file while a tape is written, so that large
// files do not touch fresh memory again for every file.
struct WriteScratch {
  std::vector<std::uint8_t> chunk;  // file data read ahead, whole tape blocks
  std::vector<std::uint8_t> text;   // a source file's text
  StoredContent records;            // its records
};

constexpr std::size_t kReadAhead = 1 << 20;

// The writers of one file: label, then the data in tape blocks, the last one
// zero-padded to a multiple of 512 bytes.
class CTapeFileWriter {
 public:
  CTapeFileWriter(CTapeDevice& tape, const TapeWriteOptions& options, CTapeProgressSink& progress,
                  Interaction& ui, WriteScratch& scratch)
      : tape_(tape), options_(options), progress_(progress), ui_(ui), scratch_(scratch) {}

  ErrorCode Binary(const std::string& path, CInputFile& file);
  ErrorCode Records(const std::string& path, CInputFile& file);
  ErrorCode Text(const std::string& path, CInputFile& file);

 private:
  ErrorCode LabelAndData(const TapeFileLabel& label, const DataSource& data);
  ErrorCode Block(const std::uint8_t* bytes, std::size_t length, std::uint64_t done,
                  std::uint64_t total);

  CTapeDevice& tape_;
  const TapeWriteOptions& options_;
  CTapeProgressSink& progress_;
  Interaction& ui_;
  WriteScratch& scratch_;
};

ErrorCode CTapeFileWriter::Block(const std::uint8_t* bytes, std::size_t length, std::uint64_t done,
                                 std::uint64_t total) {
  if (ErrorCode rc = tape_.WriteBlock(bytes, length)) return rc;
  ui_.PumpMessages();
  progress_.SetProgress(static_cast<int>(std::min(done, total) * 100 / total));
  return ERR_OK;
}

ErrorCode CTapeFileWriter::LabelAndData(const TapeFileLabel& label, const DataSource& data) {
  const TapeLabelBytes bytes = EncodeTapeLabel(label);
  if (ErrorCode rc = tape_.WriteBlock(bytes.data(), bytes.size())) return rc;
  const std::size_t block = TapeBlockSize(options_);
  const std::size_t chunk = std::max(block, kReadAhead / block * block);
  try {
    if (scratch_.chunk.size() < chunk + 512) scratch_.chunk.resize(chunk + 512);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  std::uint64_t written = 0;
  while (written < data.length) {
    // The next piece of whole tape blocks, zero-padded to 512 at the end.
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, data.length - written));
    const std::uint8_t* piece = data.memory + written;
    const std::size_t padded = (want + 511) / 512 * 512;
    if (data.memory == nullptr || padded != want) {
      std::uint8_t* buf = scratch_.chunk.data();
      if (data.memory != nullptr) {
        std::memcpy(buf, piece, want);
      } else {
        std::size_t got = 0;
        if (ErrorCode rc = data.file->ReadAt(data.offset + written, buf, want, got)) return rc;
        if (got != want) return ERR_CRC;  // the file shrank while it was written
      }
      std::fill(buf + want, buf + padded, 0);
      piece = buf;
    }
    for (std::size_t off = 0; off < padded; off += block) {
      const std::size_t n = std::min(block, padded - off);
      if (ErrorCode rc = Block(piece + off, n, written + off + n, data.length)) return rc;
    }
    written += want;
  }
  return ERR_OK;
}

ErrorCode CTapeFileWriter::Binary(const std::string& path, CInputFile& file) {
  const std::vector<std::uint8_t> head = file.Head(512);
  const std::uint64_t h = std::min<std::uint64_t>(RetainedLabelLength(head, path), file.size());
  DataSource data{nullptr, &file, h, file.size() - h};
  TapeFileLabel label = LabelFor(path, options_);
  label.blocks = BlocksOf(data.length);
  label.last_block_bytes = 0;
  label.record_length = 512;
  return LabelAndData(label, data);
}

ErrorCode CTapeFileWriter::Records(const std::string& path, CInputFile& file) {
  const std::vector<std::uint8_t> head = file.Head(512);
  if (head.size() < 76 || (head[74] != '0' && head[75] != '0')) return Binary(path, file);
  const std::uint64_t h = std::min<std::uint64_t>(RetainedLabelLength(head, path), file.size());
  DataSource data{nullptr, &file, h, file.size() - h};
  TapeFileLabel label = LabelFor(path, options_);
  label.blocks = BlocksOf(data.length);
  label.record_length = 80;
  if (label.blocks > 0) {
    std::uint8_t last[512] = {};
    std::size_t got = 0;
    if (ErrorCode rc = file.ReadAt(h + (label.blocks - 1) * std::uint64_t{512}, last, 512, got)) return rc;
    const std::size_t text = static_cast<std::size_t>(std::find(last, last + got, 0) - last);
    label.last_block_bytes = static_cast<std::uint16_t>(std::min<std::size_t>(text, 480) / 80 * 80);
  }
  return LabelAndData(label, data);
}

ErrorCode CTapeFileWriter::Text(const std::string& path, CInputFile& file) {
  const std::vector<std::uint8_t> probe = file.Head(82);
  if (std::find(probe.begin(), probe.end(), '\n') == probe.end()) {
    const bool binary = std::any_of(probe.begin(), probe.end(),
                                    [](std::uint8_t b) { return b > 0x7F || b < 0x0A; });
    return binary ? Binary(path, file) : Records(path, file);
  }
  try {
    std::vector<std::uint8_t>& text = scratch_.text;
    text.resize(static_cast<std::size_t>(file.size()));
    std::size_t got = 0;
    if (ErrorCode rc = file.ReadAt(0, text.data(), text.size(), got)) return rc;
    text.resize(got);
    StoredContent& records = scratch_.records;
    if (ErrorCode rc = ConvertTextToRecords(text, options_.numbering, records)) return rc;
    TapeFileLabel label = LabelFor(path, options_);
    label.blocks = records.words.blockCount;
    label.last_block_bytes = static_cast<std::uint16_t>(records.words.lastBlockBytes);
    label.record_length = 80;
    DataSource data{records.blocks.data(), nullptr, 0, records.blocks.size()};
    return LabelAndData(label, data);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
}

}  // namespace

namespace {

using WriterMethod = ErrorCode (CTapeFileWriter::*)(const std::string&, CInputFile&);

ErrorCode WithOpenFile(WriterMethod method, CTapeDevice& tape, const std::string& path,
                       const TapeWriteOptions& options, CTapeProgressSink& progress,
                       Interaction& ui) {
  CInputFile file;
  if (ErrorCode rc = file.Open(path)) return rc;
  WriteScratch scratch;
  CTapeFileWriter writer(tape, options, progress, ui, scratch);
  return (writer.*method)(path, file);
}

}  // namespace

ErrorCode WriteTapeBinaryFile(CTapeDevice& tape, const std::string& path,
                              const TapeWriteOptions& options, CTapeProgressSink& progress,
                              Interaction& ui) {
  return WithOpenFile(&CTapeFileWriter::Binary, tape, path, options, progress, ui);
}

ErrorCode WriteTapeRecordFile(CTapeDevice& tape, const std::string& path,
                              const TapeWriteOptions& options, CTapeProgressSink& progress,
                              Interaction& ui) {
  return WithOpenFile(&CTapeFileWriter::Records, tape, path, options, progress, ui);
}

ErrorCode WriteTapeTextFile(CTapeDevice& tape, const std::string& path,
                            const TapeWriteOptions& options, CTapeProgressSink& progress,
                            Interaction& ui) {
  return WithOpenFile(&CTapeFileWriter::Text, tape, path, options, progress, ui);
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
  return status;  // shown once, by the command that started the write
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
  // A failure is returned unshown: the command that started the write shows
  // it once.
  ErrorCode result = tape->RewindTape(false);
  if (result == ERR_OK) {
    tape->SetBlockSize(0);
    progress.SetStatus("Spacing to end of data.");
    result = SpaceToEndOfData(*tape);
  }
  if (result == ERR_OK) {
    progress.ClearAbortRequest();
    progress.SetStatus("Writing files.");
    progress.StartClock();
    int count = 0;
    WriteScratch scratch;
    CTapeFileWriter writer(*tape, options, progress, ctx.ui, scratch);
    for (const std::string& name : names) {
      ctx.ui.PumpMessages();
      if (progress.AbortRequested()) break;
      const std::string path = (std::filesystem::path(source_folder) / name).string();
      progress.SetCurrentFile(name);
      CInputFile file;
      if ((result = file.Open(path))) break;
      result = IsSourceFile(path, file.Head(256)) ? writer.Text(path, file)
                                                  : writer.Binary(path, file);
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
