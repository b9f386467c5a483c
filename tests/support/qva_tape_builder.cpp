#include "support/qva_tape_builder.h"

#include <algorithm>

#include "support/filetypes_records.h"
#include "support/words.h"

namespace kelvo::test {
namespace {

std::uint32_t BlocksOf(const QvaFile& f) {
  return f.claimed_blocks != 0 ? f.claimed_blocks
                               : static_cast<std::uint32_t>((f.data.size() + 511) / 512);
}

}  // namespace

QvaFile QvaBinaryFile(const std::string& name, std::size_t blocks, unsigned seed) {
  return QvaFile{name, SeededBytes(blocks * 512, seed), 512, 0};
}

QvaFile QvaSourceFile(const std::string& name, const std::vector<std::string>& lines) {
  std::vector<std::string> records;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    records.push_back(SourceRecord(lines[i], static_cast<int>(i + 1) * 10));
  }
  QvaFile f;
  f.name = name;
  f.data = Text(RecordBlocks(records));
  f.record_length = 80;
  const std::size_t in_last = lines.size() % 6;
  f.last_block_bytes = static_cast<std::uint16_t>(in_last == 0 ? 480 : in_last * 80);
  return f;
}

QvaTapeBuilder::QvaTapeBuilder(std::size_t data_block_size)
    : data_block_size_(data_block_size), volumes_(1) {}

QvaTapeBuilder& QvaTapeBuilder::Block(const std::string& data) {
  volumes_.back().Record(data);
  if (break_countdown_ > 0 && --break_countdown_ == 0) EndVolume();
  return *this;
}

QvaTapeBuilder& QvaTapeBuilder::Filemark() {
  volumes_.back().Filemark();
  return *this;
}

QvaTapeBuilder& QvaTapeBuilder::EndVolume() {
  volumes_.back().Record(EndOfVolumeRecord());
  volumes_.emplace_back();
  volumes_.back().Record(ControlRecord(static_cast<std::uint16_t>(volumes_.size()), 0));
  return *this;
}

QvaTapeBuilder& QvaTapeBuilder::BreakVolumeAfter(std::size_t blocks) {
  break_countdown_ = blocks;
  return *this;
}

QvaTapeBuilder& QvaTapeBuilder::VolumeHeader(const std::string& first_bytes) {
  std::string header(512, '\0');
  std::copy(first_bytes.begin(), first_bytes.end(), header.begin());
  return Block(header).Filemark();
}

QvaTapeBuilder& QvaTapeBuilder::Characteristics(std::size_t size) {
  return Block(std::string(size, 'C')).Filemark();
}

std::string QvaTapeBuilder::MasterFileDirectory(const std::string& system_id,
                                                const std::vector<std::string>& types) {
  std::string mfd(512, '\0');
  mfd[66] = 'I';
  mfd[67] = 'D';
  std::copy_n(system_id.begin(), std::min<std::size_t>(system_id.size(), 32), mfd.begin() + 68);
  std::size_t offset = 100;
  for (const std::string& t : types) {
    PutWord(mfd, offset, Rad50(t));
    PutWord(mfd, offset + 4, 5 + (offset - 100) / 6);
    offset += 6;
  }
  return mfd;
}

std::string QvaTapeBuilder::ControlRecord(std::uint16_t w0, std::uint16_t w1, std::uint16_t w4) {
  std::string r(14, '\0');
  PutWord(r, 0, w0);
  PutWord(r, 2, w1);
  PutWord(r, 8, w4);
  return r;
}

std::string QvaTapeBuilder::EndOfVolumeRecord() { return ControlRecord(0, Rad50("QVA")); }

std::vector<std::string> QvaTapeBuilder::DirectorySectors(const std::vector<QvaFile>& files,
                                                          std::size_t sectors) {
  sectors = std::max<std::size_t>({sectors, (files.size() + 22) / 23, 1});
  std::vector<std::string> out(sectors, std::string(512, '\0'));
  for (std::size_t s = 0; s < sectors; ++s) {
    if (s + 1 < sectors) PutWord(out[s], 2, 100 + s);  // link onward
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    const QvaFile& f = files[i];
    std::string& sector = out[i / 23];
    const std::size_t e = 4 + (i % 23) * 22;
    PutWord(sector, e, Rad50(f.name.substr(0, std::min<std::size_t>(3, f.name.size()))));
    PutWord(sector, e + 2, f.name.size() > 3 ? Rad50(f.name.substr(3)) : 0);
    const std::uint32_t blocks = BlocksOf(f);
    PutWord(sector, e + 4, f.selector);
    PutWord(sector, e + 6, f.record_length);
    const std::uint32_t w45 = f.selector != 0 ? blocks + 7 : blocks;
    PutWord(sector, e + 8, w45 >> 16);
    PutWord(sector, e + 10, w45 & 0xFFFF);
    PutWord(sector, e + 12, blocks >> 16);
    PutWord(sector, e + 14, blocks & 0xFFFF);
    PutWord(sector, e + 16, f.last_block_bytes);
  }
  return out;
}

QvaTapeBuilder& QvaTapeBuilder::Unit(const QvaUnit& unit) {
  if (unit.marker_word4 != 0) {
    Block(ControlRecord(0xF3CF, 0xF3CF, static_cast<std::uint16_t>(unit.marker_word4)));
  }
  std::vector<std::string> type_names;
  for (const QvaType& t : unit.types) type_names.push_back(t.type);
  Block(MasterFileDirectory(unit.system_id, type_names));
  for (const QvaType& t : unit.types) {
    const std::vector<std::string> sectors = DirectorySectors(t.files, t.sectors);
    const std::size_t per_block = t.sectors_per_block == 0 ? sectors.size() : t.sectors_per_block;
    std::size_t first_pending = 0;  // files whose data is not written yet
    for (std::size_t s = 0; s < sectors.size(); s += per_block) {
      const std::size_t end = std::min(sectors.size(), s + per_block);
      std::string block;
      for (std::size_t k = s; k < end; ++k) block += sectors[k];
      Block(block);
      // A full 12288-byte block that links onward ends a batch: the data of
      // the files listed so far follow it.
      if (end == sectors.size() || block.size() == 12288) {
        const std::size_t listed = std::min(t.files.size(), end * 23);
        std::string data;
        for (std::size_t i = first_pending; i < listed; ++i) {
          std::string padded = t.files[i].data;
          padded.resize((padded.size() + 511) / 512 * 512, '\0');
          data += padded;
        }
        first_pending = listed;
        for (std::size_t off = 0; off < data.size(); off += data_block_size_) {
          Block(data.substr(off, data_block_size_));
        }
      }
    }
  }
  return Filemark();
}

std::vector<std::string> QvaTapeBuilder::WriteVolumes(const std::filesystem::path& folder,
                                                      const std::string& stem) const {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < volumes_.size(); ++i) {
    const std::filesystem::path p = folder / (stem + std::to_string(i + 1) + ".tap");
    volumes_[i].WriteTo(p);
    paths.push_back(p.string());
  }
  return paths;
}

std::string JoinVolumes(const std::vector<std::string>& paths) {
  std::string out;
  for (const std::string& p : paths) out += (out.empty() ? "" : ",") + p;
  return out;
}

}  // namespace kelvo::test
