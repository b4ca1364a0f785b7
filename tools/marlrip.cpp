// marlrip: cuts the sound driver and two music files out of the first disk
// image of a D88 file into DRIVER, MUS00 and MUS01 in the current directory.
#include <array>

#include "tools/cutter.h"

namespace {

// MUS00 follows DRIVER without a gap; MUS01 starts again at MUS00's last
// sector (track 48, R 3), so the two files share those 256 bytes.
constexpr std::array<Cut, 3> kCuts{{
    {"DRIVER", 45, 22, 1, 12, 1, 0, 1024},
    {"MUS00", 45, 22, 1, 16, 1, 0, 9216},
    {"MUS01", 48, 24, 0, 3, 1, 0, 2304},
}};
static_assert(fitsCutBuffer(kCuts));

}  // namespace

int main(int argc, char** argv) {
  if (!openImageFromCommandLine(argc, argv, "Usage: marlrip [d88file]\n")) return 1;
  theDisk.selectImage(0);
  theDisk.setSectorRange(1, 16);
  return exitStatus(runCuts(kCuts));
}
