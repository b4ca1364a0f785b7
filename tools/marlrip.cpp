// marlrip: cuts the sound driver and two music files out of the first disk
// image of a D88 file into DRIVER, MUS00 and MUS01 in the current directory.
#include "tools/cutter.h"

int main(int argc, char** argv) {
  if (!openImageFromCommandLine(argc, argv, "Usage: marlrip [d88file]\n")) return 1;
  theDisk.selectImage(0);
  theDisk.setSectorRange(kFirstSector, kLastSector);
  return exitStatus(runCuts(kMarlripCuts));
}
