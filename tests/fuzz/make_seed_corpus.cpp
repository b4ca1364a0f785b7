// Writes the fuzz target's seed corpus into the folder given on the command
// line: small D88 files that reach every path of both programs' sequences.
// The seeds in tests/fuzz/corpus/ were made by this program.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "tests/fixture/d88_builder.h"
#include "tools/cut_tables.h"

namespace {

using fixture::Bytes;
using fixture::Image;

std::vector<fixture::Sector> signatureTrack(std::span<const std::uint8_t> signature) {
  return fixture::interleaved(fixture::withDataStart(fixture::standardTrack(SignatureSector::track),
                                                     SignatureSector::r, signature),
                              3);
}

Image programDisk() {
  return Image()
      .track(0, signatureTrack(kProgramSignature))
      .standardTracks(5, 5)
      .standardTracks(48, 51);
}

Image campaignDisk() {
  return Image().track(0, signatureTrack(kCampaignSignature)).standardTracks(56, 57);
}

// Tracks whose walks end in every way the reader knows.
Image oddTracks() {
  auto countZero = fixture::standardTrack(1, 1, 2);
  countZero[1].sectorCount = 0;
  auto runsOn = fixture::standardTrack(2, 1, 3);
  runsOn[0].sectorCount = 1;
  runsOn[1].sectorCount = 0xFFFF;
  auto small = fixture::standardTrack(3, 1, 4);
  for (auto& sector : small) {
    sector.n = 0;
    sector.data.resize(128);
  }
  auto shortData = fixture::standardTrack(4, 1, 2);
  shortData[0].data.resize(100);
  return Image()
      .name("ODD")
      .track(1, countZero)
      .track(2, runsOn)
      .track(3, small)
      .track(4, shortData)
      .trackOffset(5, 0x80000000u)
      .trackOffset(6, 0x7FFFFFF0u);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("Usage: make_seed_corpus OUTPUT_DIR\n", stderr);
    return 1;
  }
  try {
    const std::filesystem::path dir = argv[1];
    const Bytes marlrip = Image().name("MARL").standardTracks(45, 48).bytes();
    const Bytes odd = oddTracks().bytes();
    const std::vector<std::pair<std::string, Bytes>> seeds{
        {"marlrip-disk", marlrip},
        {"program-disk", programDisk().bytes()},
        {"campaign-then-program", fixture::join({campaignDisk().bytes(), programDisk().bytes()})},
        {"odd-tracks", odd},
        {"disk-size-zero", Image().diskSize(0).standardTracks(0, 0).bytes()},
        {"cut-in-sector-header", fixture::firstBytes(marlrip, marlrip.size() - 256 - 8)},
        {"cut-in-second-header", fixture::join({odd, fixture::firstBytes(odd, 300)})},
    };
    for (const auto& [name, bytes] : seeds) fixture::writeFile(dir / name, bytes);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "make_seed_corpus: %s\n", error.what());
    return 1;
  }
  return 0;
}
