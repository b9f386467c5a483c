// Writes a two-volume QVA save set (qva1.tap, qva2.tap) into a folder for the
// driver test (scripts/test-drivers): a file's data runs across the volume
// break, and the files hold every byte value.
#include <cstdio>
#include <string>

#include "support/qva_tape_builder.h"

int main(int argc, char** argv) {
  using namespace kelvo::test;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_qva_set FOLDER\n");
    return 2;
  }
  std::string bytes;
  for (int i = 0; i < 9000; ++i) bytes.push_back(static_cast<char>((i * 7 + i / 256) & 0xFF));
  QvaUnit unit;
  unit.types = {{"$Y$", {QvaFile{"BITMAP", bytes.substr(0, 1024), 512, 0}}},
                {"CMD", {QvaSourceFile("START", {"RUN REPORT", "PRINT 2 COPIES"})}},
                {"FNT", {QvaFile{"ALLBYT", bytes, 512, 0}, QvaFile{"SMALL", std::string(700, 's'), 512, 0}}},
                {"IMG", {QvaFile{"LOGO", bytes.substr(1000, 6000), 512, 0}}}};
  QvaTapeBuilder tape(2048);
  tape.BreakVolumeAfter(10).Start().Unit(unit);
  if (tape.VolumeCount() != 2) {
    std::fprintf(stderr, "make_qva_set: %zu volumes made, 2 wanted\n", tape.VolumeCount());
    return 1;
  }
  tape.WriteVolumes(argv[1], "qva");
  return 0;
}
