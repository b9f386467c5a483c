#include "image_builder.h"

#include <QFile>

#include "diskfs/kelvo_volume.h"
#include "diskfs/disk_image_doc.h"

namespace kelvo::gui::test {

bool MakeImage(const QString& path, const std::vector<ImageFile>& files) {
  CDiskImageDoc doc;
  if (doc.OnNewDocument("TEST DISK") != 0) return false;
  CKelvoVolume volume(doc);
  for (const ImageFile& f : files) {
    std::vector<std::uint8_t> data(static_cast<size_t>(f.blocks) * 512, 0x41);
    NewFile nf;
    nf.first = f.first;
    nf.second = f.second;
    nf.type = f.type;
    nf.words.block_count = static_cast<std::uint32_t>(f.blocks);
    nf.data = data;
    if (volume.StoreNewFile(nf) != 0) return false;
  }
  return doc.OnSaveDocument(QFile::encodeName(path).toStdString()) == 0;
}

}  // namespace kelvo::gui::test
