// Writes the synthetic sample disks into the folder given on the command line.
// They hold made-up data laid out where the programs look for it, so that a
// first run shows the programs at work without any game's disks.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <span>

#include "tests/fixture/d88_builder.h"
#include "tools/cut_tables.h"

namespace {

// A double-sided 2D disk: 40 cylinders, 16 sectors of 256 bytes a track side,
// stored interleaved as many real disks are.
constexpr int kTracks = 80;
constexpr std::size_t kInterleave = 3;
constexpr std::uint8_t kMedia2D = 0x00;

fixture::Image sampleImage(const char* name, int disk,
                           std::span<const std::uint8_t> signature = {}) {
  fixture::Image image;
  image.name(name).media(kMedia2D);
  for (int t = 0; t < kTracks; ++t) {
    auto sectors = fixture::standardTrack(t, 1, 16, disk);
    if (t == SignatureSector::track)
      sectors = fixture::withDataStart(sectors, SignatureSector::r, signature);
    image.track(t, fixture::interleaved(sectors, kInterleave));
  }
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("Usage: make_sample_disks OUTPUT_DIR\n", stderr);
    return 1;
  }
  try {
    const std::filesystem::path dir = argv[1];
    // One disk, for marlrip.
    fixture::writeFile(dir / "sample.d88", sampleImage("SAMPLE DISK", 0).bytes());
    // A game's set of disks in one file, for quenrip: a user disk that is
    // passed over, then the campaign disk and the program disk.
    fixture::writeFile(dir / "game.d88",
                       fixture::join({sampleImage("USER DISK", 1).bytes(),
                                      sampleImage("CAMPAIGN", 2, kCampaignSignature).bytes(),
                                      sampleImage("PROGRAM", 3, kProgramSignature).bytes()}));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_sample_disks: %s\n", error.what());
    return 1;
  }
  return 0;
}
