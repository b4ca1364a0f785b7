// Where the programs find their files on a disk: the cut tables, and the
// sector and signatures by which quenrip tells the disks apart. Shared by the
// programs, the sample disk maker, the fuzz target and the benchmark.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

inline constexpr std::int32_t kCutBufferSize = 327680;

// One row of a cut table: the arguments of one cutFile call. The run starts
// at sector (c, h, r, n) of track index `track`; `skip` bytes of it are read
// but not written, then `length` bytes are written.
struct Cut {
  const char* fileName;
  std::int32_t track, c, h, r, n, skip, length;
};

// A cut reads skip + length bytes into the working buffer: they must fit.
constexpr bool fitsCutBuffer(std::int32_t skip, std::int32_t length) {
  return skip >= 0 && length > 0 && length <= kCutBufferSize - skip;
}

constexpr bool fitsCutBuffer(std::span<const Cut> cuts) {
  return std::all_of(cuts.begin(), cuts.end(),
                     [](const Cut& cut) { return fitsCutBuffer(cut.skip, cut.length); });
}

// marlrip, from the first image. MUS00 follows DRIVER without a gap; MUS01
// starts again at MUS00's last sector (track 48, R 3), so the two files
// share those 256 bytes.
inline constexpr std::array<Cut, 3> kMarlripCuts{{
    {"DRIVER", 45, 22, 1, 12, 1, 0, 1024},
    {"MUS00", 45, 22, 1, 16, 1, 0, 9216},
    {"MUS01", 48, 24, 0, 3, 1, 0, 2304},
}};

// quenrip, from the program disk and from the campaign disk.
inline constexpr std::array<Cut, 3> kProgramDiskCuts{{
    {"DRIVER", 5, 2, 1, 2, 1, 0, 1280},
    {"MUS00", 48, 24, 0, 5, 1, 0, 6912},
    {"MUS01", 50, 25, 0, 1, 1, 0, 4864},
}};
inline constexpr std::array<Cut, 1> kCampaignDiskCuts{{
    {"MUS02", 56, 28, 0, 1, 1, 0, 4864},
}};

static_assert(fitsCutBuffer(kMarlripCuts) && fitsCutBuffer(kProgramDiskCuts) &&
              fitsCutBuffer(kCampaignDiskCuts));

// Both programs step through sectors R 1 to 16 of each track side.
inline constexpr std::int32_t kFirstSector = 1;
inline constexpr std::int32_t kLastSector = 16;

// The sector whose first bytes tell quenrip's disks apart: track 0, C 0, H 0,
// R 4, N 1, 256 bytes.
struct SignatureSector {
  static constexpr std::int32_t track = 0, c = 0, h = 0, r = 4, n = 1, size = 256;
};

// True when a sector's delivered bytes begin with the signature.
constexpr bool signatureMatches(std::span<const std::uint8_t> sector,
                                std::span<const std::uint8_t> signature) {
  return sector.size() >= signature.size() &&
         std::equal(signature.begin(), signature.end(), sector.begin());
}

inline constexpr std::array<std::uint8_t, 4> kProgramSignature{0x07, 0xD5, 0xCD, 0x41};
// "ｷｬﾝﾍﾟｰﾝ" (campaign) in half-width katakana, Shift-JIS.
inline constexpr std::array<std::uint8_t, 7> kCampaignSignature{0xB7, 0xAC, 0xDD, 0xCD,
                                                                0xDF, 0xB0, 0xDD};

// The disks quenrip recognises, in the order it tests them: the signature
// their signature sector begins with, and what is cut from them. The
// signatures differ in their first byte, so a sector matches at most one.
struct DiskKind {
  std::span<const std::uint8_t> signature;
  std::span<const Cut> cuts;
};
inline constexpr std::array<DiskKind, 2> kDiskKinds{{
    {kProgramSignature, kProgramDiskCuts},
    {kCampaignSignature, kCampaignDiskCuts},
}};

// The first kind of disk not found yet whose signature the sector's delivered
// bytes begin with; kDiskKinds.size() when there is none.
constexpr std::size_t recogniseDisk(std::span<const std::uint8_t> sector,
                                    const std::array<bool, kDiskKinds.size()>& found) {
  for (std::size_t kind = 0; kind < kDiskKinds.size(); ++kind) {
    if (!found[kind] && signatureMatches(sector, kDiskKinds[kind].signature)) return kind;
  }
  return kDiskKinds.size();
}
