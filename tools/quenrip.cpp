// quenrip: walks every disk image of a D88 file, recognises the program disk
// and the campaign disk by the first bytes of one sector, and cuts DRIVER,
// MUS00 and MUS01 from the program disk and MUS02 from the campaign disk.
#include <array>
#include <cstdio>
#include <span>

#include "tools/cutter.h"

namespace {

// The line that announces each kind of disk of kDiskKinds, in its order;
// printf formats, %d is the disk's position in the file from 1.
const std::array<const char*, kDiskKinds.size()> kAnnouncements{
    // "%d 枚めで プログラムディスク を認識しました.\n": disk %d is the program disk.
    "%d \x96\x87\x82\xdf\x82\xc5 \x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x83\x66\x83\x42"
    "\x83\x58\x83\x4e \x82\xf0\x94\x46\x8e\xaf\x82\xb5\x82\xdc\x82\xb5\x82\xbd.\n",
    // "%d 枚めで キャンペーンディスク を認識しました.\n": disk %d is the campaign disk.
    "%d \x96\x87\x82\xdf\x82\xc5 \x83\x4c\x83\x83\x83\x93\x83\x79\x81\x5b\x83\x93\x83\x66"
    "\x83\x42\x83\x58\x83\x4e \x82\xf0\x94\x46\x8e\xaf\x82\xb5\x82\xdc\x82\xb5\x82\xbd.\n",
};

}  // namespace

int main(int argc, char** argv) {
  if (!openImageFromCommandLine(argc, argv, "Usage: quenrip [d88file]\n")) return 1;

  std::array<bool, kDiskKinds.size()> found{};
  bool allWritten = true;
  const std::int32_t images = theDisk.imageCount();
  for (std::int32_t k = 0; k < images; ++k) {
    theDisk.selectImage(k);
    theDisk.setSectorRange(kFirstSector, kLastSector);
    // Only the bytes this image delivered count: whatever an earlier cut left
    // in the buffer behind them never makes a disk recognised.
    using S = SignatureSector;
    const std::int32_t delivered =
        theDisk.readSector(S::track, S::c, S::h, S::r, S::n, cutBuffer, S::size);
    const auto sector = std::span(cutBuffer).first(static_cast<std::size_t>(delivered));
    const std::size_t kind = recogniseDisk(sector, found);
    if (kind == kDiskKinds.size()) continue;
    std::printf(kAnnouncements[kind], k + 1);
    found[kind] = true;
    allWritten = runCuts(kDiskKinds[kind].cuts) && allWritten;
  }
  return exitStatus(allWritten);
}
