// Sector access: finding sectors by ID in the selected image's tracks.
//
// A track is a run of sectors from imageBase + trackOffset[track], each a
// 16-byte SectorHeader followed at once by dataSize bytes of data. The walk
// finds the next header by skipping the data of the current one, and ends at a
// header whose sector count is 0, after the header at position count - 1, or at
// a header that the file can't deliver whole.
#include <algorithm>

#include "diskimage/diskimage.h"

namespace {

// Keeps a requested byte count within the caller's buffer; negative is none.
std::size_t boundedCount(std::int32_t wanted, std::span<std::uint8_t> dest) {
  return wanted <= 0 ? 0 : std::min(static_cast<std::size_t>(wanted), dest.size());
}

bool matches(const SectorHeader& header, std::int32_t c, std::int32_t h, std::int32_t r,
             std::int32_t n) {
  return header.c() == c && header.h() == h && header.r() == r && header.n() == n;
}

}  // namespace

bool DiskImage::trackStart(std::int32_t track, std::int64_t& position) const {
  if (file == nullptr || track < 0 || track > kLastTrack) return false;
  const std::int32_t offset = trackOffset[track];
  if (offset == 0 || offset > diskSize) return false;
  position = std::int64_t{imageBase} + offset;
  return true;
}

template <typename Visit>
void DiskImage::walkTrack(std::int32_t track, Visit visit) {
  std::int64_t position = 0;
  if (!trackStart(track, position)) return;
  // Each step moves at least one header forward and every read past the end
  // of the file fails, so the walk ends within the file.
  for (std::int32_t p = 0;; ++p) {
    SectorHeader header;
    if (!readWholeAt(position, header.bytes)) return;
    if (header.sectorCount() == 0) return;
    const std::int64_t dataPosition = position + static_cast<std::int64_t>(SectorHeader::kSize);
    if (visit(header, dataPosition) == Walk::stop) return;
    position = dataPosition + header.dataSize();
    if (p == header.sectorCount() - 1) return;
  }
}

std::int32_t DiskImage::readSector(std::int32_t track, std::int32_t c, std::int32_t h,
                                   std::int32_t r, std::int32_t n, std::span<std::uint8_t> dest,
                                   std::int32_t size) {
  const std::size_t wanted = boundedCount(size, dest);
  std::size_t copied = 0;
  walkTrack(track, [&](const SectorHeader& header, std::int64_t dataPosition) {
    if (!matches(header, c, h, r, n)) return Walk::next;
    const std::size_t copySize = std::min<std::size_t>(header.dataSize(), wanted);
    // Counts what the file really delivered: a file that ends inside the data
    // gives a short sector.
    if (copySize > 0) copied = readAt(dataPosition, dest.first(copySize));
    return Walk::stop;
  });
  return static_cast<std::int32_t>(copied);
}

std::int32_t DiskImage::readSectors(std::int32_t track, std::int32_t c, std::int32_t h,
                                    std::int32_t r, std::int32_t n, std::span<std::uint8_t> dest,
                                    std::int32_t total) {
  const auto wanted = static_cast<std::int32_t>(boundedCount(total, dest));
  if (n < 0 || n > kMaxRunSizeCode) return 0;
  const std::int32_t sectorLength = 128 << n;

  std::int32_t done = 0;
  while (done < wanted) {
    const std::int32_t chunk = std::min(sectorLength, wanted - done);
    const auto into = dest.subspan(static_cast<std::size_t>(done), static_cast<std::size_t>(chunk));
    if (readSector(track, c, h, r, n, into, chunk) < chunk) return done;
    done += chunk;
    // A sector was found, so c, h and r are 0 to 255 and track at most 163:
    // none of the steps below can overflow.
    if (r == lastSector) {
      ++track;
      if (h == 0) {
        h = 1;
      } else {
        h = 0;
        ++c;
      }
      r = firstSector;
    } else {
      ++r;
    }
  }
  return done;
}

std::int32_t DiskImage::listSectorIds(std::int32_t track, std::span<std::uint8_t> dest,
                                      std::int32_t budget) {
  const std::size_t capacity = boundedCount(budget, dest) / kSectorIdSize;
  if (capacity == 0) return 0;
  std::size_t listed = 0;
  walkTrack(track, [&](const SectorHeader& header, std::int64_t) {
    const auto entry = dest.subspan(listed * kSectorIdSize, kSectorIdSize);
    std::copy_n(header.bytes.begin(), kSectorIdSize, entry.begin());
    ++listed;
    return listed == capacity ? Walk::stop : Walk::next;
  });
  return static_cast<std::int32_t>(listed * kSectorIdSize);
}

std::int32_t DiskImage::listSectorHeaders(std::int32_t track, std::span<SectorHeader> dest) {
  if (dest.empty()) return 0;
  std::size_t listed = 0;
  walkTrack(track, [&](const SectorHeader& header, std::int64_t) {
    dest[listed++] = header;
    return listed == dest.size() ? Walk::stop : Walk::next;
  });
  return static_cast<std::int32_t>(listed);
}
