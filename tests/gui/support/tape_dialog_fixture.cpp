#include "support/tape_dialog_fixture.h"

#include "support/qva_tape_builder.h"

namespace kelvo::gui::test {

std::vector<std::string> MakeQvaSet(const QString& folder, int files, int size,
                                    int blocks_per_volume) {
  using kelvo::test::QvaFile;
  kelvo::test::QvaUnit unit;
  unit.marker_word4 = 3;
  std::vector<QvaFile> fonts;
  for (int i = 0; i < files; ++i)
    fonts.push_back(QvaFile{"F" + std::to_string(i), std::string(static_cast<size_t>(size), char('a' + i % 26)), 512, 0});
  // The Master File Directory's first type is always the system type.
  unit.types = {{"$Y$", {QvaFile{"BITMAP", std::string(512, '\1'), 512, 0}}},
                {"CMD", {kelvo::test::QvaSourceFile("JOB", {"FIRST LINE", "SECOND LINE"})}},
                {"FNT", fonts}};
  kelvo::test::QvaTapeBuilder tape(1024);
  if (blocks_per_volume > 0) tape.BreakVolumeAfter(static_cast<size_t>(blocks_per_volume));
  tape.Start().Unit(unit);
  return tape.WriteVolumes(folder.toStdString());
}

}  // namespace kelvo::gui::test
