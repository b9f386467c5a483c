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
#include "filetypes/source_conversion.h"
#include "filetypes/stored_content.h"
#include "core/errno_map.h"
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
  // Up to `length` bytes from `offset` (fewer at the end of the file).
  std::vector<std::uint8_t> Head(std::size_t length, std::uint64_t offset = 0) {
    std::vector<std::uint8_t> head(
        static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - std::min(offset, size_))));
    std::size_t got = 0;
    if (ReadAt(offset, head.data(), head.size(), got) != ERR_OK) got = 0;
    head.resize(got);
    return head;
  }
  // Length of a retained tape label at the start of the file (0 when none).
  std::uint64_t LabelLength(const std::string& path) {
    return std::min<std::uint64_t>(RetainedLabelLength(Head(512), path), size_);
  }
  std::uint64_t size() const { return size_; }

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
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

// Data move in pieces of this size: few system calls per megabyte, in
// constant memory whatever the size of the file, and small enough that a
// piece read from the file is still in the processor's cache when it is
// written to the tape (1 MiB pieces wrote a third slower).
constexpr std::size_t kPieceBytes = 128 << 10;

// Buffers reused from file to file while a tape is written.
struct WriteScratch {
  std::vector<std::uint8_t> chunk;  // file data, whole tape blocks
  std::vector<std::uint8_t> text;   // a piece of a source file's text
  std::vector<std::uint8_t> carry;  // converted records short of a tape block
};

// Hands a file's data to the tape in tape blocks, the last one zero-padded to
// a multiple of 512 bytes; after each piece dispatches messages and shows the
// progress. Refuses data beyond the length the label announced.
class CTapeDataWriter {
 public:
  CTapeDataWriter(CTapeDevice& tape, std::size_t block, std::uint64_t total,
                  CTapeProgressSink& progress, Interaction& ui)
      : tape_(tape), block_(block), total_(total), progress_(progress), ui_(ui) {}

  // `length` bytes, whole tape blocks unless they are the data's end.
  ErrorCode Blocks(const std::uint8_t* bytes, std::size_t length) {
    if (length > total_ - written_) return ERR_CRC;  // the file grew while it was written
    if (ErrorCode rc = tape_.WriteBlocks(bytes, length, block_)) return rc;
    written_ += length;
    ui_.PumpMessages();
    progress_.SetProgress(total_ == 0 ? 100 : static_cast<int>(written_ * 100 / total_));
    return ERR_OK;
  }
  std::uint64_t Written() const { return written_; }

 private:
  CTapeDevice& tape_;
  const std::size_t block_;
  const std::uint64_t total_;
  CTapeProgressSink& progress_;
  Interaction& ui_;
  std::uint64_t written_ = 0;
};

// Takes converted record blocks in pieces of any multiple of 512 bytes and
// writes them as tape blocks: whole ones straight from the piece, a rest
// kept until the next piece or the end.
class CRecordBlockSink final : public CByteSink {
 public:
  CRecordBlockSink(CTapeDataWriter& out, std::size_t block, std::vector<std::uint8_t>& carry)
      : out_(out), block_(block), carry_(carry) {
    carry_.clear();
  }
  ErrorCode Write(std::span<const std::uint8_t> bytes) override {
    const std::uint8_t* p = bytes.data();
    std::size_t n = bytes.size();
    if (!carry_.empty()) {
      const std::size_t take = std::min(n, block_ - carry_.size());
      carry_.insert(carry_.end(), p, p + take);
      p += take;
      n -= take;
      if (carry_.size() < block_) return ERR_OK;
      if (ErrorCode rc = out_.Blocks(carry_.data(), carry_.size())) return rc;
      carry_.clear();
    }
    const std::size_t whole = n / block_ * block_;
    if (whole > 0) {
      if (ErrorCode rc = out_.Blocks(p, whole)) return rc;
    }
    carry_.insert(carry_.end(), p + whole, p + n);
    return ERR_OK;
  }
  // Writes the last, shorter tape block.
  ErrorCode Finish() {
    if (carry_.empty()) return ERR_OK;
    const ErrorCode rc = out_.Blocks(carry_.data(), carry_.size());
    carry_.clear();
    return rc;
  }

 private:
  CTapeDataWriter& out_;
  const std::size_t block_;
  std::vector<std::uint8_t>& carry_;
};

// The writers of one file: label, then the data in tape blocks.
class CTapeFileWriter {
 public:
  CTapeFileWriter(CTapeDevice& tape, const TapeWriteOptions& options, CTapeProgressSink& progress,
                  Interaction& ui, WriteScratch& scratch)
      : tape_(tape), options_(options), progress_(progress), ui_(ui), scratch_(scratch) {}

  ErrorCode Binary(const std::string& path, CInputFile& file);
  ErrorCode Records(const std::string& path, CInputFile& file);
  ErrorCode Text(const std::string& path, CInputFile& file);

 private:
  // Label, then the file from `offset` to its end unchanged.
  ErrorCode LabelAndFileData(const TapeFileLabel& label, CInputFile& file, std::uint64_t offset);
  ErrorCode Label(const TapeFileLabel& label);
  // Passes the text of `file` from `from` to its end to `encoder` in pieces.
  ErrorCode FeedText(CInputFile& file, std::uint64_t from, CTextRecordEncoder& encoder);

  CTapeDevice& tape_;
  const TapeWriteOptions& options_;
  CTapeProgressSink& progress_;
  Interaction& ui_;
  WriteScratch& scratch_;
};

ErrorCode CTapeFileWriter::Label(const TapeFileLabel& label) {
  const TapeLabelBytes bytes = EncodeTapeLabel(label);
  return tape_.WriteBlock(bytes.data(), bytes.size());
}

ErrorCode CTapeFileWriter::LabelAndFileData(const TapeFileLabel& label, CInputFile& file,
                                            std::uint64_t offset) {
  if (ErrorCode rc = Label(label)) return rc;
  const std::size_t block = TapeBlockSize(options_);
  const std::size_t chunk = std::max(block, kPieceBytes / block * block);
  try {
    if (scratch_.chunk.size() < chunk) scratch_.chunk.resize(chunk);
  } catch (const std::bad_alloc&) {
    return ERR_NOT_ENOUGH_MEMORY;
  }
  const std::uint64_t length = file.size() - offset;
  CTapeDataWriter out(tape_, block, (length + 511) / 512 * 512, progress_, ui_);
  std::uint64_t done = 0;
  while (done < length) {
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, length - done));
    std::uint8_t* buf = scratch_.chunk.data();
    std::size_t got = 0;
    if (ErrorCode rc = file.ReadAt(offset + done, buf, want, got)) return rc;
    if (got != want) return ERR_CRC;  // the file shrank while it was written
    // Only the data's end can be short of a tape block: zero-padded to 512.
    const std::size_t padded = (want + 511) / 512 * 512;
    std::fill(buf + want, buf + padded, 0);
    if (ErrorCode rc = out.Blocks(buf, padded)) return rc;
    done += want;
  }
  return ERR_OK;
}

ErrorCode CTapeFileWriter::Binary(const std::string& path, CInputFile& file) {
  const std::uint64_t h = file.LabelLength(path);
  TapeFileLabel label = LabelFor(path, options_);
  label.blocks = BlocksOf(file.size() - h);
  label.last_block_bytes = 0;
  label.record_length = 512;
  return LabelAndFileData(label, file, h);
}

ErrorCode CTapeFileWriter::Records(const std::string& path, CInputFile& file) {
  const std::uint64_t h = file.LabelLength(path);
  if (!IsPreformattedRecordFile(file.Head(kRecordSize, h))) return Binary(path, file);
  TapeFileLabel label = LabelFor(path, options_);
  label.blocks = BlocksOf(file.size() - h);
  label.record_length = 80;
  if (label.blocks > 0) {
    std::uint8_t last[512] = {};
    std::size_t got = 0;
    if (ErrorCode rc = file.ReadAt(h + (label.blocks - 1) * std::uint64_t{512}, last, 512, got)) return rc;
    const std::size_t text = static_cast<std::size_t>(std::find(last, last + got, 0) - last);
    label.last_block_bytes = static_cast<std::uint16_t>(std::min<std::size_t>(text, 480) / 80 * 80);
  }
  return LabelAndFileData(label, file, h);
}

ErrorCode CTapeFileWriter::FeedText(CInputFile& file, std::uint64_t from,
                                    CTextRecordEncoder& encoder) {
  std::vector<std::uint8_t>& text = scratch_.text;
  if (text.size() < kPieceBytes) text.resize(kPieceBytes);
  std::uint64_t done = from;
  while (done < file.size()) {
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kPieceBytes, file.size() - done));
    std::size_t got = 0;
    if (ErrorCode rc = file.ReadAt(done, text.data(), want, got)) return rc;
    if (ErrorCode rc = encoder.Append({text.data(), got})) return rc;
    if (got < want) break;  // the file ends earlier than it did
    done += got;
  }
  return encoder.Finish();
}

// The content after a retained label is stored as disk and floppy stores
// store it. Source text goes through twice: once to count its records for
// the label, then converted piece by piece straight onto the tape, so that a
// text of any size is written in constant memory.
ErrorCode CTapeFileWriter::Text(const std::string& path, CInputFile& file) {
  const std::uint64_t h = file.LabelLength(path);
  const std::uint64_t data_blocks = BlocksOf(file.size() - h);
  const std::vector<std::uint8_t> last =
      data_blocks == 0 ? std::vector<std::uint8_t>{} : file.Head(512, h + (data_blocks - 1) * 512);
  switch (ChooseImportKind(path, file.Head(kImportHeadBytes, h), last)) {
    case ContentKind::Binary: return Binary(path, file);
    case ContentKind::PreformattedRecords: return Records(path, file);
    case ContentKind::ConvertedText: break;
  }
  try {
    CTextRecordEncoder counter;
    if (ErrorCode rc = FeedText(file, h, counter)) return rc;
    if (counter.HeldZeroByte()) return Binary(path, file);
    TapeFileLabel label = LabelFor(path, options_);
    label.blocks = static_cast<std::uint32_t>(counter.BlockCount());
    label.last_block_bytes = static_cast<std::uint16_t>(counter.LastBlockBytes());
    label.record_length = 80;
    if (ErrorCode rc = Label(label)) return rc;

    const std::size_t block = TapeBlockSize(options_);
    CTapeDataWriter out(tape_, block, counter.BlockCount() * 512, progress_, ui_);
    CRecordBlockSink sink(out, block, scratch_.carry);
    CTextRecordEncoder encoder(options_.numbering, sink);
    if (ErrorCode rc = FeedText(file, h, encoder)) return rc;
    if (ErrorCode rc = sink.Finish()) return rc;
    // A text changed between the two passes no longer matches its label.
    return out.Written() == counter.BlockCount() * 512 ? ERR_OK : ERR_CRC;
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
  CTapeBusyScope busy(ctx.tape_busy);
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
      result = writer.Text(path, file);
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
