#include "diskimage/diskimage.h"

#include <algorithm>
#include <limits>

namespace {

// Header values are signed 32-bit numbers, so positions are worked out in 64
// bits and any position outside 0 to 2^31 - 1 is treated as lying past the end
// of the file: the read comes back short. The bound is also the largest offset
// that std::fseek takes on every platform (its long is 32 bits on Windows).
constexpr std::int64_t kMaxFilePosition = std::numeric_limits<std::int32_t>::max();

}  // namespace

std::int32_t readLe32(std::span<const std::uint8_t, 4> bytes) {
  const std::uint32_t value = std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 |
                              std::uint32_t{bytes[2]} << 16 | std::uint32_t{bytes[3]} << 24;
  return static_cast<std::int32_t>(value);
}

std::uint16_t readLe16(std::span<const std::uint8_t, 2> bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::int32_t ImageHeader::diskSize() const {
  return readLe32(std::span(bytes).subspan<kDiskSizeOffset, 4>());
}

std::int32_t ImageHeader::trackOffset(std::int32_t track) const {
  const auto at = kTrackTableOffset + 4 * static_cast<std::size_t>(track);
  return readLe32(std::span<const std::uint8_t, 4>(bytes.data() + at, 4));
}

std::uint16_t SectorHeader::sectorCount() const {
  return readLe16(std::span(bytes).subspan<kSectorCountOffset, 2>());
}

std::uint16_t SectorHeader::dataSize() const {
  return readLe16(std::span(bytes).subspan<kDataSizeOffset, 2>());
}

DiskImage::DiskImage() = default;

DiskImage::~DiskImage() {
  if (file != nullptr) std::fclose(file);
}

bool DiskImage::open(const char* fileName) {
  close();
  if (fileName == nullptr) return true;
  file = std::fopen(fileName, "rb");
  if (file == nullptr) return false;

  ImageHeader header;
  std::int64_t offset = 0;
  while (count < kMaxImages) {
    imageOffset[count] = static_cast<std::int32_t>(offset);
    if (!readWholeAt(offset, header.bytes)) break;
    ++count;
    offset += header.diskSize();
    if (offset < 0 || offset > kMaxFilePosition) break;
  }
  // Some systems open a directory for reading and fail only at the first
  // read; a file that can't be read at all is a file that can't be opened.
  if (count == 0 && std::ferror(file) != 0) {
    close();
    return false;
  }
  return true;
}

bool DiskImage::close() {
  if (file != nullptr) std::fclose(file);
  file = nullptr;
  count = 0;
  forgetSelection();
  trackOffset.fill(0);
  name.fill(0);
  return true;
}

void DiskImage::forgetSelection() {
  imageBase = -1;
  current = -1;
  media = -1;
  diskSize = 0;
  name[0] = 0;
}

bool DiskImage::selectImage(std::int32_t k) {
  if (file == nullptr) return false;
  forgetSelection();
  if (k < 0 || k >= count) return false;

  ImageHeader header;
  // The file may have changed since it was listed.
  if (!readWholeAt(imageOffset[k], header.bytes)) return false;

  imageBase = imageOffset[k];
  for (std::int32_t t = 0; t < kTrackCount; ++t) trackOffset[t] = header.trackOffset(t);
  media = header.mediaType();
  diskSize = header.diskSize();
  const auto nameBytes =
      std::span(header.bytes).subspan<ImageHeader::kNameOffset, ImageHeader::kNameLength>();
  const auto nameEnd = std::find(nameBytes.begin(), nameBytes.end(), std::uint8_t{0});
  name.fill(0);
  std::copy(nameBytes.begin(), nameEnd, name.begin());
  current = k;
  return true;
}

void DiskImage::setSectorRange(std::int32_t first, std::int32_t last) {
  firstSector = first;
  lastSector = last;
}

std::size_t DiskImage::readAt(std::int64_t position, std::span<std::uint8_t> dest) {
  if (file == nullptr || position < 0 || position > kMaxFilePosition) return 0;
  if (std::fseek(file, static_cast<long>(position), SEEK_SET) != 0) return 0;
  return std::fread(dest.data(), 1, dest.size(), file);
}
