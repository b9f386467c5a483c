#include "support/tape_fixture.h"

#include <QFile>

#include "support/filetypes_records.h"
#include "support/tape_builder.h"

namespace kelvo::gui::test {

TapeFileSpec BinaryTapeFile(const QString& name, const QString& type, int bytes, int seed) {
  TapeFileSpec f{name, type, QByteArray(), false, 0};
  f.data.resize(bytes);
  for (int i = 0; i < bytes; ++i) f.data[i] = static_cast<char>((i * 7 + seed * 13 + i / 512) & 0xFF);
  return f;
}

std::vector<TapeFileSpec> FontFiles(int count, int bytes) {
  std::vector<TapeFileSpec> files;
  for (int i = 0; i < count; ++i) files.push_back(BinaryTapeFile(QStringLiteral("F%1").arg(i), "FNT", bytes, i));
  return files;
}

TapeFileSpec SourceTapeFile(const QString& name, const QString& type, const QStringList& lines) {
  std::vector<std::string> records;
  for (const QString& line : lines)
    records.push_back(kelvo::test::SourceRecord(line.toStdString(), 100 * (static_cast<int>(records.size()) + 1)));
  const std::string blocks = kelvo::test::Text(kelvo::test::RecordBlocks(records));
  const int n = static_cast<int>(lines.size());
  return {name, type, QByteArray::fromStdString(blocks), true, n % 6 == 0 ? 480 : (n % 6) * 80};
}

bool WriteLabelledTapeImage(const QString& path, const std::vector<TapeFileSpec>& files, int block_size) {
  kelvo::test::TapeImageBuilder tape;
  for (const TapeFileSpec& f : files) {
    kelvo::test::LabelFields label;
    label.name = f.name.toStdString();
    label.type = f.type.toStdString();
    label.blocks = static_cast<std::uint32_t>((f.data.size() + 511) / 512);
    label.last_block_bytes = static_cast<std::uint16_t>(f.last_block_bytes);
    label.record_length = f.source ? 80 : 512;
    label.block_size = static_cast<std::uint16_t>(block_size);
    tape.LabelledFile(kelvo::test::MakeLabel(label), f.data.toStdString(), static_cast<std::size_t>(block_size));
  }
  tape.Filemark();
  if (files.empty()) tape.Filemark();
  QFile out(path);
  const std::string& bytes = tape.Bytes();
  return out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         out.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size());
}

TapeDesk::TapeDesk(const QString& device0)
    : shell({{"Tape0", device0.isEmpty() ? tape0 : device0, true, true}, {"Tape1", tape1, true, true}}) {
  shell.ctx.settings.TapeRestorePath = out.toStdString();
  if (QDir().mkpath(pc_folder) && QDir().mkpath(out)) pc = shell.Start(pc_folder);
}

}  // namespace kelvo::gui::test
