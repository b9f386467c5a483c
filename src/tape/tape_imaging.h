// Tape imaging: a whole tape, record for record and filemark for filemark,
// into a .tap image file, and an image back onto a tape.
//
// Reading goes on until the end of recorded data: two filemarks in a row do
// not end it. A record the drive cannot read is kept as an error-class
// record (class 8) with its length and its data as far as the device gives
// them; the run goes on and counts it. Reading stops with an error after
// kImagingMaxDamagedRun unreadable records in a row, so that a tape that
// reads nothing but errors cannot keep it going for ever.
//
// The image is written to FILE.part beside the image and renamed over it at
// the end. An aborted run keeps what was read so far as the image: its end is
// where the run stopped, which the report says.
#pragma once

#include <cstdint>
#include <string>

#include "tape/tape_commands.h"
#include "tape/tape_device.h"

namespace kelvo {

inline constexpr unsigned kImagingMaxDamagedRun = 64;
// The largest record a .tap image can describe (24-bit lengths).
inline constexpr std::uint32_t kTapMaxRecord = 0x00FFFFFF;

struct TapeImagingReport {
  std::uint64_t records = 0;    // data records, damaged ones included
  std::uint64_t filemarks = 0;
  std::uint64_t bytes = 0;      // data bytes of the records
  std::uint64_t damaged = 0;    // records kept as error-class records
  bool aborted = false;
};

class CTapeImagingProgress {
 public:
  virtual ~CTapeImagingProgress() = default;
  // Called after every record and filemark.
  virtual void Update(const TapeImagingReport& report) = 0;
  virtual bool AbortRequested() const = 0;
};

// Rewinds `tape` and reads it whole into the image `path`. Returns 0 also
// when damaged records were kept (the report counts them) and when the run
// was aborted (report.aborted).
ErrorCode SaveTapeImage(CTapeDevice& tape, const std::string& path,
                        CTapeImagingProgress& progress, TapeImagingReport& report);

// Rewinds `tape` and writes every record and filemark of the image `path`
// onto it. Error-class records are written with the data the image holds
// for them and counted as damaged.
ErrorCode WriteTapeImage(const std::string& path, CTapeDevice& tape,
                         CTapeImagingProgress& progress, TapeImagingReport& report);

// The same for the drive `name` of the running program ("Tape0" ... or a
// device string): opened, marked busy and checked ready for the run.
ErrorCode SaveTapeImage(const TapeContext& ctx, const std::string& name, const std::string& path,
                        CTapeImagingProgress& progress, TapeImagingReport& report);
ErrorCode WriteTapeImage(const TapeContext& ctx, const std::string& path, const std::string& name,
                         CTapeImagingProgress& progress, TapeImagingReport& report);

}  // namespace kelvo
