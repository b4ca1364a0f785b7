// d88info: shows what a D88 file holds, as the reader sees it: every image
// with its name, media type, size and number of tracks, and with --tracks
// every track's sectors in stored order, marking anything unusual. It tells a
// user why a cut found nothing: a missing track, odd sector IDs, another disk.
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "diskimage/diskimage.h"

namespace {

constexpr char kUsage[] = "Usage: d88info [--tracks|-t] d88file\n";

// More sectors than any real track holds; a crafted track may run on.
constexpr std::size_t kMaxListedSectors = 1024;

struct Options {
  bool tracks = false;
  const char* path = nullptr;
  bool help = false;
};

// Takes at most one option and exactly one file name, in any order.
bool parseCommandLine(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      options.help = true;
    } else if (std::strcmp(arg, "--tracks") == 0 || std::strcmp(arg, "-t") == 0) {
      options.tracks = true;
    } else if (arg[0] == '-' || options.path != nullptr) {
      return false;
    } else {
      options.path = arg;
    }
  }
  return options.help || options.path != nullptr;
}

const char* mediaName(std::int32_t media) {
  switch (media) {
    case 0x00:
      return " (2D)";
    case 0x10:
      return " (2DD)";
    case 0x20:
      return " (2HD)";
    default:
      return "";
  }
}

std::int32_t trackCount(const DiskImage& disk) {
  std::int32_t tracks = 0;
  for (std::int32_t t = 0; t < DiskImage::kTrackCount; ++t) tracks += disk.hasTrack(t) ? 1 : 0;
  return tracks;
}

const char* plural(std::int32_t count, const char* one, const char* many) {
  return count == 1 ? one : many;
}

void printImage(const DiskImage& disk, std::int32_t position) {
  const std::int32_t tracks = trackCount(disk);
  std::printf("image %d: name \"%s\", media 0x%02X%s, %u bytes, %d %s\n", position, disk.diskName(),
              static_cast<unsigned>(disk.mediaType()), mediaName(disk.mediaType()),
              static_cast<std::uint32_t>(disk.imageSize()), tracks,
              plural(tracks, "track", "tracks"));
}

// The size code most sectors of the track have; the lowest of equals.
int usualSizeCode(std::span<const SectorHeader> sectors) {
  std::array<int, 256> counts{};
  for (const SectorHeader& s : sectors) ++counts[s.n()];
  return static_cast<int>(std::max_element(counts.begin(), counts.end()) - counts.begin());
}

// What is unusual about a track's sectors, as "; "-separated notes.
std::string unusualNotes(std::int32_t track, std::span<const SectorHeader> sectors) {
  std::string notes;
  auto note = [&notes](const std::string& text) { notes += (notes.empty() ? "" : "; ") + text; };
  const int usualN = usualSizeCode(sectors);
  for (const SectorHeader& s : sectors) {
    const std::string r = "R " + std::to_string(s.r());
    if (s.c() != track / 2 || s.h() != track % 2) {
      note(r + " has C " + std::to_string(s.c()) + " H " + std::to_string(s.h()));
    }
    if (s.n() != usualN) note(r + " has N " + std::to_string(s.n()));
    if (s.sectorCount() != sectors.size()) {
      note(r + "'s header says " + std::to_string(s.sectorCount()) + " sectors");
    }
  }
  std::array<int, 256> seen{};
  int lowest = 255;
  int highest = 0;
  for (const SectorHeader& s : sectors) {
    ++seen[s.r()];
    lowest = std::min(lowest, int{s.r()});
    highest = std::max(highest, int{s.r()});
  }
  for (int r = lowest; r <= highest; ++r) {
    if (seen[r] > 1) note("R " + std::to_string(r) + " repeated");
    if (seen[r] == 0) note("R " + std::to_string(r) + " missing");
  }
  return notes;
}

void printTrack(DiskImage& disk, std::int32_t track) {
  static std::array<SectorHeader, kMaxListedSectors> sectors;
  const auto found = static_cast<std::size_t>(disk.listSectorHeaders(track, sectors));
  const auto listed = std::span<const SectorHeader>(sectors).first(found);

  std::string line = "  track " + std::to_string(track) + " (C " + std::to_string(track / 2) +
                     " H " + std::to_string(track % 2) + "): " + std::to_string(found) + " " +
                     plural(static_cast<std::int32_t>(found), "sector", "sectors");
  if (found > 0) line += ", R";
  for (const SectorHeader& s : listed) line += " " + std::to_string(s.r());
  if (found == kMaxListedSectors) line += " (listing stops here)";
  const std::string notes = unusualNotes(track, listed);
  if (!notes.empty()) line += " | unusual: " + notes;
  std::printf("%s\n", line.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseCommandLine(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 1;
  }
  if (options.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  DiskImage disk;
  if (!disk.open(options.path)) {
    std::fprintf(stderr, "d88info: cannot open %s\n", options.path);
    return 1;
  }
  const std::int32_t images = disk.imageCount();
  std::printf("%s: %d %s\n", options.path, images, plural(images, "image", "images"));
  for (std::int32_t k = 0; k < images; ++k) {
    if (!disk.selectImage(k)) continue;
    printImage(disk, k + 1);
    if (!options.tracks) continue;
    for (std::int32_t t = 0; t < DiskImage::kTrackCount; ++t) {
      if (disk.hasTrack(t)) printTrack(disk, t);
    }
  }
  return 0;
}
