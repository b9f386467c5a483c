#include "gui/shell/drag_payload.h"

#include <QtEndian>
#include <cstring>

namespace kelvo::gui {

QByteArray EncodeFileList(const FileListPayload& p) {
  QByteArray block(kFileListPayloadSize, '\0');
  auto* data = reinterpret_cast<uchar*>(block.data());
  qToLittleEndian<qint32>(p.kind, data);
  qToLittleEndian<qint32>(p.count, data + 4);
  qToLittleEndian<quint64>(static_cast<quint64>(p.window), data + 8);
  return block;
}

std::optional<FileListPayload> DecodeFileList(const QByteArray& block) {
  if (block.size() != kFileListPayloadSize) return std::nullopt;
  const auto* data = reinterpret_cast<const uchar*>(block.constData());
  FileListPayload p;
  p.kind = qFromLittleEndian<qint32>(data);
  p.count = qFromLittleEndian<qint32>(data + 4);
  p.window = static_cast<quintptr>(qFromLittleEndian<quint64>(data + 8));
  return p;
}

}  // namespace kelvo::gui
