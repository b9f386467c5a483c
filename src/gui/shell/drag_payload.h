// The "KelvoFileList" drag payload: a zero-filled block of 276 bytes holding
// the source place kind (offset 0, 32 bits), the number of selected entries
// (offset 4, 32 bits) and a reference to the source window (offset 8), valid
// only inside the running program. The names themselves travel in the
// program-wide transfer selection filled when the drag starts.
#pragma once

#include <QByteArray>
#include <optional>

#include "transfer/place_kind.h"

namespace kelvo::gui {

inline constexpr const char* kFileListMimeType = "KelvoFileList";
inline constexpr int kFileListPayloadSize = 276;

struct FileListPayload {
  int kind = 0;
  int count = 0;
  quintptr window = 0;
};

QByteArray EncodeFileList(const FileListPayload& p);
// Empty when the block has the wrong size.
std::optional<FileListPayload> DecodeFileList(const QByteArray& block);

}  // namespace kelvo::gui
