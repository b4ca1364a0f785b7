// Fuzz target: the input is the bytes of a D88 file. It drives the reader
// through the whole call sequences of both cutting programs, and lists every
// track of every image, with each destination buffer exactly as large as the
// bytes asked for, so that AddressSanitizer catches any write past them.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "diskimage/diskimage.h"
#include "tools/cut_tables.h"

namespace {

const std::string& inputPath() {
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("d88-fuzz-" + std::to_string(getpid()) + ".d88"))
          .string();
  return path;
}

bool writeInput(std::span<const std::uint8_t> bytes) {
  std::FILE* file = std::fopen(inputPath().c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

void runCuts(DiskImage& disk, std::span<const Cut> cuts) {
  for (const Cut& cut : cuts) {
    std::vector<std::uint8_t> dest(static_cast<std::size_t>(cut.skip + cut.length));
    disk.readSectors(cut.track, cut.c, cut.h, cut.r, cut.n, dest, cut.skip + cut.length);
  }
}

// What marlrip asks of the reader.
void marlripSequence(DiskImage& disk) {
  disk.selectImage(0);
  disk.setSectorRange(kFirstSector, kLastSector);
  runCuts(disk, kMarlripCuts);
}

// What quenrip asks of the reader, with both disks' cuts made on every image
// whatever its signature sector holds.
void quenripSequence(DiskImage& disk) {
  for (std::int32_t k = 0; k < disk.imageCount(); ++k) {
    disk.selectImage(k);
    disk.setSectorRange(kFirstSector, kLastSector);
    using S = SignatureSector;
    std::vector<std::uint8_t> sector(S::size);
    disk.readSector(S::track, S::c, S::h, S::r, S::n, sector, S::size);
    for (const DiskKind& kind : kDiskKinds) runCuts(disk, kind.cuts);
  }
}

// Every track index, one past each end included, with a whole and a ragged
// budget, on the first images (a file may list the same image 64 times).
void listEveryTrack(DiskImage& disk) {
  constexpr std::int32_t kBudgets[] = {64, 6};
  constexpr std::size_t kHeaders = 32;
  constexpr std::int32_t kImagesListed = 2;
  for (std::int32_t k = 0; k < std::min(disk.imageCount(), kImagesListed); ++k) {
    disk.selectImage(k);
    for (std::int32_t t = -1; t <= DiskImage::kTrackCount; ++t) {
      for (std::int32_t budget : kBudgets) {
        std::vector<std::uint8_t> ids(static_cast<std::size_t>(budget));
        disk.listSectorIds(t, ids, budget);
      }
      std::vector<SectorHeader> headers(kHeaders);
      disk.listSectorHeaders(t, headers);
    }
  }
}

// Sector operations after a refused selection must find nothing.
void refusedSelection(DiskImage& disk) {
  disk.selectImage(disk.imageCount());
  std::vector<std::uint8_t> dest(256);
  for (std::int32_t t = 0; t < DiskImage::kTrackCount; ++t) {
    if (disk.readSectors(t, t / 2, t % 2, 1, 1, dest, 256) != 0) __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (!writeInput(std::span(data, size))) return 0;
  DiskImage disk;
  if (!disk.open(inputPath().c_str())) return 0;
  marlripSequence(disk);
  quenripSequence(disk);
  listEveryTrack(disk);
  refusedSelection(disk);
  return 0;
}
