#include "demo_tapes.h"

#include <map>
#include <sstream>

#include "core/radix50.h"
#include "support/qva_tape_builder.h"

namespace kelvo::demo {

namespace {

void PutWord(std::string& s, std::size_t at, unsigned v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void PutName(std::string& s, std::size_t at, const std::string& nameAndType) {
  // Three RADIX-50 words: two for a six-character name, one for the type.
  const std::size_t dot = nameAndType.find('.');
  const std::string name = (nameAndType.substr(0, dot) + "      ").substr(0, 6);
  PutWord(s, at, RadixEncode(name.substr(0, 3)));
  PutWord(s, at + 2, RadixEncode(name.substr(3, 3)));
  PutWord(s, at + 4, RadixEncode(nameAndType.substr(dot + 1)));
}

void PutText(std::string& s, std::size_t at, const std::string& text) { s.replace(at, text.size(), text); }

}  // namespace

std::string DemoTaskFile() {
  std::string task(1024, '\0');
  PutName(task, 0, "LETTER.TSK");
  PutWord(task, 6, 0x0102);   // version 1.2
  PutWord(task, 8, 01000);    // load address
  PutWord(task, 10, 512);     // size in words
  PutName(task, 16, "SANSP.FNT");
  PutName(task, 22, "SANSL.FNT");
  PutName(task, 28, "LOGO.IMG");
  PutName(task, 34, "LETTER.JSL");
  PutText(task, 64, "KELVO MQS LETTER PRINT TASK V1.2");
  PutText(task, 128, "LETTERHEAD LOADED");
  PutText(task, 160, "PRINTING LETTER %D OF %D");
  PutText(task, 192, "FONT NOT FOUND: %S");
  PutText(task, 224, "END OF JOB");
  // The second block: a repeating pattern of words in place of real code.
  static const unsigned kWords[] = {012737, 000001, 0177546, 004767, 000124, 000240,
                                    016700, 000036, 0104375, 000207, 005000, 001401};
  for (std::size_t i = 0; i < 256; ++i) PutWord(task, 512 + 2 * i, kWords[i % std::size(kWords)] + (i / 12) * 2);
  return task;
}

std::vector<std::string> WriteQvaSet(const std::filesystem::path& folder,
                                     const std::vector<SavedFile>& files, std::string& error) {
  constexpr std::size_t kBlock = 4096;
  std::map<std::string, test::QvaType> types;
  std::size_t dataBlocks = 0;
  for (const SavedFile& f : files) {
    const std::size_t dot = f.name.find('.');
    const std::string name = f.name.substr(0, dot);
    const std::string type = f.name.substr(dot + 1);
    test::QvaType& t = types[type];
    t.type = type;
    if (f.source) {
      std::vector<std::string> lines;
      std::istringstream in(f.bytes);
      for (std::string line; std::getline(in, line);) lines.push_back(line);
      t.files.push_back(test::QvaSourceFile(name, lines));
    } else {
      t.files.push_back(test::QvaFile{name, f.bytes, 512, static_cast<std::uint16_t>(f.bytes.size() % 512)});
    }
    dataBlocks += (t.files.back().data.size() + kBlock - 1) / kBlock;
  }
  test::QvaUnit unit;
  unit.system_id = "KELVO DEMO PRINTER";
  unit.types.push_back(test::QvaType{"$Y$", {}});
  for (auto& [type, t] : types) unit.types.push_back(t);
  test::QvaTapeBuilder tape(kBlock);
  // The first volume ends about halfway through the files' data.
  tape.BreakVolumeAfter(dataBlocks / 2 + 2).Start().Unit(unit);
  if (tape.VolumeCount() != 2) {
    error = "the QVA save did not come out as two volumes";
    return {};
  }
  return tape.WriteVolumes(folder, "qva");
}

}  // namespace kelvo::demo
