// Reader for D88 floppy disk image files.
//
// A D88 file holds one or more disk images back to back. `DiskImage` lists the
// images of one file, loads the header of the selected one and reads its
// sectors by ID. It only reads, prints nothing, allocates nothing and reports
// every failure through its results.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <span>

// Little-endian numbers, assembled byte by byte whatever the host's byte order.
std::int32_t readLe32(std::span<const std::uint8_t, 4> bytes);
std::uint16_t readLe16(std::span<const std::uint8_t, 2> bytes);

// Image header, at the start of every image (all numbers little-endian):
//   0x00  16 bytes   name, a zero byte ends it early
//   0x10  11 bytes   not interpreted
//   0x1B  u8         media type
//   0x1C  u32        disk size: the whole image, this header included
//   0x20  164 x u32  track offsets from the image's first byte; 0 = no track
struct ImageHeader {
  static constexpr std::size_t kSize = 0x2B0;
  static constexpr std::size_t kNameOffset = 0x00;
  static constexpr std::size_t kNameLength = 16;
  static constexpr std::size_t kMediaTypeOffset = 0x1B;
  static constexpr std::size_t kDiskSizeOffset = 0x1C;
  static constexpr std::size_t kTrackTableOffset = 0x20;
  static constexpr std::int32_t kTrackCount = 164;

  std::array<std::uint8_t, kSize> bytes{};

  std::uint8_t mediaType() const { return bytes[kMediaTypeOffset]; }
  std::int32_t diskSize() const;
  std::int32_t trackOffset(std::int32_t track) const;
};
static_assert(ImageHeader::kTrackTableOffset + 4 * ImageHeader::kTrackCount == ImageHeader::kSize);

// Sector header, in front of every sector's data:
//   0  u8  C    1  u8  H    2  u8  R    3  u8  N (the sector holds 128 << N bytes)
//   4  u16 sector count of the track
//   6  8 bytes, not interpreted
//   14 u16 data size: the data bytes that follow this header
struct SectorHeader {
  static constexpr std::size_t kSize = 16;
  static constexpr std::size_t kSectorCountOffset = 4;
  static constexpr std::size_t kDataSizeOffset = 14;

  std::array<std::uint8_t, kSize> bytes{};

  std::uint8_t c() const { return bytes[0]; }
  std::uint8_t h() const { return bytes[1]; }
  std::uint8_t r() const { return bytes[2]; }
  std::uint8_t n() const { return bytes[3]; }
  std::uint16_t sectorCount() const;
  std::uint16_t dataSize() const;
};

class DiskImage {
 public:
  static constexpr std::int32_t kMaxImages = 64;
  static constexpr std::int32_t kTrackCount = ImageHeader::kTrackCount;
  static constexpr std::int32_t kLastTrack = kTrackCount - 1;
  static constexpr std::int32_t kSectorIdSize = 4;
  // Largest size code whose sector length 128 << N is a positive 32-bit number.
  static constexpr std::int32_t kMaxRunSizeCode = 23;

  DiskImage();
  ~DiskImage();
  DiskImage(const DiskImage&) = delete;
  DiskImage& operator=(const DiskImage&) = delete;

  // Opens a D88 file and lists its images. A null name only closes.
  // Any file opened before is closed and its selection forgotten first.
  bool open(const char* fileName);
  bool close();
  bool selectImage(std::int32_t k);
  void setSectorRange(std::int32_t first, std::int32_t last);

  std::int32_t imageCount() const { return count; }
  std::int32_t currentImage() const { return current; }
  std::int32_t mediaType() const { return media; }
  const char* diskName() const { return name.data(); }
  // The selected image's size from its header; 0 while no image is selected.
  std::int32_t imageSize() const { return diskSize; }
  // True when the selected image holds the track, as the sector operations see it.
  bool hasTrack(std::int32_t track) const {
    std::int64_t position = 0;
    return trackStart(track, position);
  }

  // Copies the data of sector (c, h, r, n) of a track into dest, at most size
  // bytes; returns the bytes the file delivered, 0 when there is no such sector.
  std::int32_t readSector(std::int32_t track, std::int32_t c, std::int32_t h, std::int32_t r,
                          std::int32_t n, std::span<std::uint8_t> dest, std::int32_t size);
  // Reads total bytes of the run of sectors that starts at (c, h, r, n), stepping
  // through the sector range and on to the next side and cylinder. Returns the
  // bytes of the whole sectors read before the first one that failed.
  std::int32_t readSectors(std::int32_t track, std::int32_t c, std::int32_t h, std::int32_t r,
                           std::int32_t n, std::span<std::uint8_t> dest, std::int32_t total);
  // Writes the 4-byte IDs (C, H, R, N) of a track's sectors in stored order,
  // as many whole entries as budget takes; returns the bytes written.
  std::int32_t listSectorIds(std::int32_t track, std::span<std::uint8_t> dest, std::int32_t budget);
  // The same walk, giving whole sector headers: as many as dest takes.
  std::int32_t listSectorHeaders(std::int32_t track, std::span<SectorHeader> dest);

 private:
  enum class Walk { next, stop };

  void forgetSelection();
  bool trackStart(std::int32_t track, std::int64_t& position) const;
  template <typename Visit>
  void walkTrack(std::int32_t track, Visit visit);
  std::size_t readAt(std::int64_t position, std::span<std::uint8_t> dest);
  bool readWholeAt(std::int64_t position, std::span<std::uint8_t> dest) {
    return readAt(position, dest) == dest.size();
  }

  std::FILE* file = nullptr;
  std::int32_t current = -1;
  std::int32_t count = 0;
  std::int32_t firstSector = 1;
  std::int32_t lastSector = 16;
  std::array<std::int32_t, kMaxImages> imageOffset{};
  std::int32_t diskSize = 0;
  std::int32_t imageBase = 0;
  std::array<std::int32_t, kTrackCount> trackOffset{};
  std::int32_t media = -1;
  std::array<char, ImageHeader::kNameLength + 1> name{};
};
