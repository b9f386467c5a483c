// IMG.CFG, the geometry file of USB floppy emulators that serve raw sector
// images: INI-style stanzas "[tag::filesize]" matching images named
// "*.tag.img" (an empty tag: images without a tag) of exactly that size.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "media/floppy_form.h"
#include "media/sector_source.h"

namespace kelvo {

// The stanza describing a raw image of `file_size` bytes, `cylinders` x 2
// heads of `form`, sectors numbered from 1 without interleave or skew. The
// tag is the image name's inner extension ("DISK.pc15.img" -> "pc15"), or
// empty.
std::string ImgCfgStanza(const FloppyForm& form, int cylinders, std::uint64_t file_size,
                         const std::filesystem::path& image);

// `config` with `stanza` put in: a stanza with the same heading is replaced
// (up to the next heading), otherwise it is appended. Other text is kept.
std::string MergeImgCfg(std::string_view config, std::string_view stanza);

// Writes or updates the IMG.CFG in the folder of `image` (atomically).
ErrorCode WriteImgCfgBeside(const std::filesystem::path& image, const FloppyForm& form,
                            int cylinders, std::uint64_t file_size);

}  // namespace kelvo
