// Floppy emulator track images (".HFE"): a 512-byte header, a table of
// tracks, and per cylinder the MFM cells of both sides interleaved in
// 256-byte halves of 512-byte blocks, the first cell of each byte in its
// least significant bit. Version 1 is read and written; version 3, which adds
// in-stream opcodes, is read.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "media/floppy_form.h"
#include "media/track_disk.h"

namespace kelvo {

// True when `data` starts with a version 1 or version 3 signature.
bool LooksLikeHfe(std::span<const std::uint8_t> data);

// Decodes the sectors of every track (cylinders beyond kMaxImageCylinders are
// ignored). Tracks cut short by the end of the file are read as far as they
// go. ERR_BAD_IMAGE for a file that is no HFE or holds no sector at all.
ErrorCode ParseHfe(std::span<const std::uint8_t> data, TrackDisk& out);

// A version 1 file of `cylinders` x 2 heads of `form`, each track formatted
// as a PC floppy controller would, from `blocks` in LBN order (blocks past
// the end of `blocks` are written as zeros). Blocks flagged in `unreadable`
// (may be shorter or empty) are written with a failing data CRC.
std::vector<std::uint8_t> BuildHfe(std::span<const std::uint8_t> blocks, const FloppyForm& form,
                                   int cylinders, const std::vector<bool>& unreadable = {});

}  // namespace kelvo
