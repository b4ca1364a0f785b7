// Finding sectors by ID, reading runs of sectors and listing a track's IDs.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "diskimage/diskimage.h"
#include "tests/fixture/d88_builder.h"
#include "tests/support/workspace.h"

namespace {

using fixture::Bytes;
using fixture::Image;
using fixture::Sector;

constexpr std::uint8_t kUntouched = 0xCC;

class SectorAccess : public ::testing::Test {
 protected:
  // Writes the bytes as a D88 file, opens it and selects image 0.
  void load(const Bytes& bytes) {
    dir.write("disk.d88", bytes);
    ASSERT_TRUE(disk.open((dir / "disk.d88").string().c_str()));
    disk.selectImage(0);
  }
  void load(const Image& image) { load(image.bytes()); }

  Bytes buffer(std::size_t size) const { return Bytes(size, kUntouched); }

  std::int32_t readSector(int track, int c, int h, int r, int n, Bytes& dest, std::int32_t size) {
    return disk.readSector(track, c, h, r, n, dest, size);
  }

  rip_test::Workspace dir;
  DiskImage disk;
};

Bytes slice(const Bytes& bytes, std::size_t from, std::size_t size) {
  return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(from),
               bytes.begin() + static_cast<std::ptrdiff_t>(from + size));
}

// ---- readSector ----

TEST_F(SectorAccess, ReadSectorFindsTheSectorByIdInAnyStoredOrder) {
  load(Image().track(45, fixture::interleaved(fixture::standardTrack(45), 5)));
  for (int r = 1; r <= 16; ++r) {
    Bytes dest = buffer(256);
    ASSERT_EQ(readSector(45, 22, 1, r, 1, dest, 256), 256) << r;
    EXPECT_EQ(dest, fixture::sectorData(45, r)) << r;
  }
}

TEST_F(SectorAccess, ReadSectorCopiesAtMostTheSizeAskedAndTheDataStored) {
  load(Image().track(45, fixture::standardTrack(45)));
  const Bytes data = fixture::sectorData(45, 3);
  struct Case {
    std::int32_t size;
    std::int32_t copied;
  };
  for (const Case& c : {Case{100, 100}, Case{256, 256}, Case{300, 256}, Case{0, 0}, Case{-5, 0}}) {
    Bytes dest = buffer(300);
    ASSERT_EQ(readSector(45, 22, 1, 3, 1, dest, c.size), c.copied) << c.size;
    EXPECT_EQ(slice(dest, 0, c.copied), slice(data, 0, c.copied)) << c.size;
    EXPECT_EQ(dest[c.copied], kUntouched) << c.size;
  }
}

TEST_F(SectorAccess, ReadSectorNeverWritesPastTheDestination) {
  load(Image().track(45, fixture::standardTrack(45)));
  Bytes dest = buffer(10);
  EXPECT_EQ(disk.readSector(45, 22, 1, 3, 1, std::span(dest).first(4), 256), 4);
  EXPECT_EQ(dest[4], kUntouched);
}

TEST_F(SectorAccess, ReadSectorMatchesAllFourIdBytes) {
  load(Image().track(10, {fixture::makeSector(5, 0, 1, 2, Bytes(512, 0x11)),
                          fixture::makeSector(5, 0, 1, 1, Bytes(256, 0x22))}));
  Bytes dest = buffer(512);
  ASSERT_EQ(readSector(10, 5, 0, 1, 1, dest, 512), 256);
  EXPECT_EQ(dest[0], 0x22);
  const std::array<std::array<int, 4>, 6> misses{
      {{4, 0, 1, 1}, {5, 1, 1, 1}, {5, 0, 2, 1}, {5, 0, 1, 3}, {5 + 256, 0, 1, 1}, {-1, 0, 1, 1}}};
  for (const auto& id : misses) {
    EXPECT_EQ(readSector(10, id[0], id[1], id[2], id[3], dest, 512), 0)
        << id[0] << id[1] << id[2] << id[3];
  }
}

TEST_F(SectorAccess, OfTwoSectorsWithOneIdTheFirstStoredIsRead) {
  load(Image().track(0, {fixture::makeSector(0, 0, 1, 1, Bytes(256, 0xAA)),
                         fixture::makeSector(0, 0, 1, 1, Bytes(256, 0xBB))}));
  Bytes dest = buffer(256);
  ASSERT_EQ(readSector(0, 0, 0, 1, 1, dest, 256), 256);
  EXPECT_EQ(dest[0], 0xAA);
}

TEST_F(SectorAccess, AHeaderWithSectorCountZeroEndsTheWalk) {
  Sector ended = fixture::makeSector(0, 0, 1, 1, Bytes(256, 0xAA));
  ended.sectorCount = 0;
  load(Image()
           .track(0, {ended, fixture::makeSector(0, 0, 2, 1, Bytes(256, 0xBB))})
           .track(1, {fixture::makeSector(0, 0, 1, 1, Bytes(256, 0xCC)), ended}));
  Bytes dest = buffer(256);
  EXPECT_EQ(readSector(0, 0, 0, 1, 1, dest, 256), 0);
  EXPECT_EQ(readSector(0, 0, 0, 2, 1, dest, 256), 0);
  std::array<std::uint8_t, 64> ids{};
  EXPECT_EQ(disk.listSectorIds(0, ids, 64), 0);
  EXPECT_EQ(disk.listSectorIds(1, ids, 64), 4);
}

TEST_F(SectorAccess, TheWalkEndsAfterTheHeaderAtPositionCountMinusOne) {
  // The headers say one sector a track: the second stored sector is never seen.
  Sector first = fixture::makeSector(0, 0, 1, 1, Bytes(256, 1));
  Sector second = fixture::makeSector(0, 0, 2, 1, Bytes(256, 2));
  first.sectorCount = second.sectorCount = 1;
  load(Image().track(0, {first, second}));
  Bytes dest = buffer(256);
  EXPECT_EQ(readSector(0, 0, 0, 1, 1, dest, 256), 256);
  EXPECT_EQ(readSector(0, 0, 0, 2, 1, dest, 256), 0);
}

TEST_F(SectorAccess, TheCountOfEachHeaderDecidesWhereTheWalkEnds) {
  // A count of 1 at position 1 is already behind: the walk goes on into the
  // following track's sectors, and stops at the first header of count 3.
  std::vector<Sector> sectors;
  for (std::uint8_t r = 1; r <= 4; ++r)
    sectors.push_back(fixture::makeSector(0, 0, r, 1, Bytes(16, r)));
  sectors[0].sectorCount = 4;
  sectors[1].sectorCount = 1;
  sectors[2].sectorCount = 3;
  sectors[3].sectorCount = 4;
  load(Image().track(0, {sectors[0], sectors[1]}).track(1, {sectors[2], sectors[3]}));
  Bytes dest = buffer(16);
  EXPECT_EQ(readSector(0, 0, 0, 3, 1, dest, 16), 16);
  EXPECT_EQ(dest[0], 3);
  EXPECT_EQ(readSector(0, 0, 0, 4, 1, dest, 16), 0);
}

TEST_F(SectorAccess, TracksOutsideTheTableOrTheImageAreRefused) {
  Image image = Image().track(0, fixture::standardTrack(0)).track(163, fixture::standardTrack(163));
  load(image);
  Bytes dest = buffer(256);
  EXPECT_EQ(readSector(163, 81, 1, 1, 1, dest, 256), 256);
  EXPECT_EQ(readSector(-1, 0, 0, 1, 1, dest, 256), 0);
  EXPECT_EQ(readSector(164, 82, 0, 1, 1, dest, 256), 0);
  EXPECT_EQ(readSector(1, 0, 1, 1, 1, dest, 256), 0);  // absent: offset 0
}

TEST_F(SectorAccess, ATrackOffsetBeyondTheDiskSizeIsRefusedAndOneEqualToItPasses) {
  // Image 0 ends where its track 1 is said to start; the bytes there belong to
  // image 1 and are read as a sector header all the same.
  const Bytes zero = Image().track(0, fixture::standardTrack(0)).bytes();
  const auto size = static_cast<std::uint32_t>(zero.size());
  const Bytes first = Image()
                          .track(0, fixture::standardTrack(0))
                          .trackOffset(1, size)
                          .trackOffset(2, size + 1)
                          .bytes();
  const Bytes behind = fixture::join({Image().bytes(), Bytes(256, 0x5A)});
  Bytes bytes = fixture::join({first, behind});
  // Make the 16 bytes behind image 0 a header of sector (0, 1, 1, 1) with 256 data bytes.
  bytes[size + 0] = 0;
  bytes[size + 1] = 1;
  bytes[size + 2] = 1;
  bytes[size + 3] = 1;
  fixture::putLe16(bytes, size + 4, 1);
  fixture::putLe16(bytes, size + 14, 256);
  load(bytes);
  Bytes dest = buffer(256);
  EXPECT_EQ(readSector(1, 0, 1, 1, 1, dest, 256), 256);
  EXPECT_EQ(readSector(2, 0, 1, 1, 1, dest, 256), 0);
}

TEST_F(SectorAccess, ADiskSizeOfZeroRefusesEveryTrack) {
  load(Image().track(0, fixture::standardTrack(0)).diskSize(0));
  Bytes dest = buffer(256);
  EXPECT_EQ(readSector(0, 0, 0, 1, 1, dest, 256), 0);
}

TEST_F(SectorAccess, OffsetsOf2GiBOrMoreNeverReadOutsideTheFile) {
  // Negative offsets pass the size test; the position they give lies before
  // the file. Large offsets lie far behind it.
  const Bytes data = Image().track(0, fixture::standardTrack(0)).bytes();
  for (std::uint32_t offset : {0x80000000u, 0xFFFFFFF0u, 0xFFFFFD50u, 0x7FFFFFFFu}) {
    load(Image().track(0, fixture::standardTrack(0)).trackOffset(0, offset).diskSize(0x7FFFFFFF));
    Bytes dest = buffer(256);
    EXPECT_EQ(readSector(0, 0, 0, 1, 1, dest, 256), 0) << offset;
    std::array<std::uint8_t, 64> ids{};
    EXPECT_EQ(disk.listSectorIds(0, ids, 64), 0) << offset;
    EXPECT_EQ(disk.readSectors(0, 0, 0, 1, 1, dest, 256), 0) << offset;
  }
}

TEST_F(SectorAccess, AFileEndingInsideTheDataGivesWhatTheFileDelivered) {
  const Bytes whole = Image().track(0, fixture::standardTrack(0, 1, 2)).bytes();
  load(fixture::firstBytes(whole, whole.size() - 156));  // R 2 keeps 100 of its 256 bytes
  Bytes dest = buffer(256);
  ASSERT_EQ(readSector(0, 0, 0, 2, 1, dest, 256), 100);
  EXPECT_EQ(slice(dest, 0, 100), slice(fixture::sectorData(0, 2), 0, 100));
  EXPECT_EQ(dest[100], kUntouched);
}

TEST_F(SectorAccess, AHeaderCutShortEndsTheWalk) {
  const Bytes whole = Image().track(0, fixture::standardTrack(0, 1, 2)).bytes();
  for (std::size_t missing : {std::size_t{256 + 1}, std::size_t{256 + 15}, std::size_t{256 + 16}}) {
    load(fixture::firstBytes(whole, whole.size() - missing));
    Bytes dest = buffer(256);
    EXPECT_EQ(readSector(0, 0, 0, 2, 1, dest, 256), 0) << missing;
    std::array<std::uint8_t, 64> ids{};
    EXPECT_EQ(disk.listSectorIds(0, ids, 64), 4) << missing;
  }
}

TEST_F(SectorAccess, SectorOperationsNeedAnOpenFile) {
  Bytes dest = buffer(256);
  EXPECT_EQ(readSector(0, 0, 0, 1, 1, dest, 256), 0);
  EXPECT_EQ(disk.readSectors(0, 0, 0, 1, 1, dest, 256), 0);
  EXPECT_EQ(disk.listSectorIds(0, dest, 64), 0);
}

// ---- readSectors ----

struct RunCase {
  std::string what;
  int track, c, h, r;
  std::int32_t total;
  int firstTrack, firstR;  // where the expected data starts
  std::int32_t result;
};

TEST_F(SectorAccess, RunsStepThroughTheSectorRangeAndOnToTheNextSide) {
  load(Image().standardTracks(45, 49));
  const RunCase cases[] = {
      {"four sectors of one track", 45, 22, 1, 12, 1024, 45, 12, 1024},
      {"from side 1 to the next cylinder", 45, 22, 1, 16, 9216, 45, 16, 9216},
      {"from side 0 to side 1", 48, 24, 0, 16, 512, 48, 16, 512},
      {"a last chunk shorter than a sector", 45, 22, 1, 1, 600, 45, 1, 600},
      {"past the last track present", 48, 24, 0, 1, 9000, 48, 1, 32 * 256},
  };
  for (const RunCase& c : cases) {
    Bytes dest = buffer(static_cast<std::size_t>(c.total) + 1);
    ASSERT_EQ(disk.readSectors(c.track, c.c, c.h, c.r, 1, dest, c.total), c.result) << c.what;
    const Bytes expected = fixture::standardRun(c.firstTrack, c.firstR, (c.result + 255) / 256);
    EXPECT_EQ(slice(dest, 0, c.result), slice(expected, 0, c.result)) << c.what;
    EXPECT_EQ(dest[c.total], kUntouched) << c.what;
  }
}

TEST_F(SectorAccess, ARunEndsAtTheFirstSectorItCannotReadWhole) {
  std::vector<Sector> gap = fixture::standardTrack(45);
  gap.erase(gap.begin() + 2);  // no R 3
  std::vector<Sector> shortData = fixture::standardTrack(46);
  shortData[2].data.resize(128);  // R 3 holds 128 bytes, though N says 256
  load(Image().track(45, gap).track(46, shortData));

  Bytes dest = buffer(1024);
  EXPECT_EQ(disk.readSectors(45, 22, 1, 1, 1, dest, 1024), 512);
  EXPECT_EQ(disk.readSectors(45, 22, 1, 3, 1, dest, 1024), 0);
  dest = buffer(1024);
  EXPECT_EQ(disk.readSectors(46, 23, 0, 1, 1, dest, 1024), 512);
  // The short sector's bytes landed, but are not counted.
  EXPECT_EQ(slice(dest, 512, 128), slice(fixture::sectorData(46, 3), 0, 128));
  EXPECT_EQ(dest[640], kUntouched);
}

TEST_F(SectorAccess, ARunFollowsTheSectorRangeAsSet) {
  load(Image().standardTracks(45, 46));
  Bytes dest = buffer(512);
  disk.setSectorRange(4, 15);  // after R 15 of track 45 comes R 4 of track 46
  ASSERT_EQ(disk.readSectors(45, 22, 1, 15, 1, dest, 512), 512);
  EXPECT_EQ(dest, fixture::join({fixture::sectorData(45, 15), fixture::sectorData(46, 4)}));
  // Starting above the last sector the run never changes track.
  disk.setSectorRange(1, 8);
  EXPECT_EQ(disk.readSectors(45, 22, 1, 10, 1, dest, 512 * 4), 512);
  // A first sector above the last one is stored as it is.
  disk.setSectorRange(16, 1);
  ASSERT_EQ(disk.readSectors(45, 22, 1, 1, 1, dest, 512), 512);
  EXPECT_EQ(slice(dest, 256, 256), fixture::sectorData(46, 16));
}

TEST_F(SectorAccess, ARunPastTrack163Ends) {
  load(Image().track(163, fixture::standardTrack(163)));
  Bytes dest = buffer(512);
  EXPECT_EQ(disk.readSectors(163, 81, 1, 16, 1, dest, 512), 256);
}

TEST_F(SectorAccess, RunsWithNothingToReadOrAnUnusableSizeCodeReturnZero) {
  load(Image().track(0, fixture::standardTrack(0)));
  Bytes dest = buffer(256);
  EXPECT_EQ(disk.readSectors(0, 0, 0, 1, 1, dest, 0), 0);
  EXPECT_EQ(disk.readSectors(0, 0, 0, 1, 1, dest, -256), 0);
  EXPECT_EQ(dest[0], kUntouched);
  EXPECT_EQ(disk.readSectors(0, 0, 0, 1, -1, dest, 256), 0);
  EXPECT_EQ(disk.readSectors(0, 0, 0, 1, 24, dest, 256), 0);
}

TEST_F(SectorAccess, ARunNeverWritesPastTheDestination) {
  load(Image().track(0, fixture::standardTrack(0)));
  Bytes dest = buffer(600);
  EXPECT_EQ(disk.readSectors(0, 0, 0, 1, 1, std::span(dest).first(300), 1024), 300);
  EXPECT_EQ(dest[300], kUntouched);
}

TEST_F(SectorAccess, ARunWithSizeCodeZeroStepsBy128Bytes) {
  std::vector<Sector> sectors;
  for (std::uint8_t r = 1; r <= 3; ++r)
    sectors.push_back(fixture::makeSector(0, 0, r, 0, Bytes(128, r)));
  load(Image().track(0, sectors));
  Bytes dest = buffer(384);
  ASSERT_EQ(disk.readSectors(0, 0, 0, 1, 0, dest, 384), 384);
  EXPECT_EQ(dest[127], 1);
  EXPECT_EQ(dest[128], 2);
  EXPECT_EQ(dest[383], 3);
}

// ---- listSectorIds ----

TEST_F(SectorAccess, ListSectorIdsGivesTheIdsInStoredOrder) {
  const auto track = fixture::interleaved(fixture::standardTrack(45), 5);
  load(Image().track(45, track));
  Bytes expected;
  for (const Sector& s : track) expected.insert(expected.end(), {s.c, s.h, s.r, s.n});

  struct Case {
    std::int32_t budget;
    std::int32_t written;
  };
  for (const Case& c :
       {Case{8, 8}, Case{64, 64}, Case{100, 64}, Case{6, 4}, Case{3, 0}, Case{0, 0}, Case{-4, 0}}) {
    Bytes dest = buffer(100);
    ASSERT_EQ(disk.listSectorIds(45, dest, c.budget), c.written) << c.budget;
    EXPECT_EQ(slice(dest, 0, c.written), slice(expected, 0, c.written)) << c.budget;
    EXPECT_EQ(dest[c.written], kUntouched) << c.budget;
  }
}

TEST_F(SectorAccess, ListSectorIdsRefusesMissingTracks) {
  load(Image().track(0, fixture::standardTrack(0)));
  Bytes dest = buffer(64);
  EXPECT_EQ(disk.listSectorIds(1, dest, 64), 0);
  EXPECT_EQ(disk.listSectorIds(-1, dest, 64), 0);
  EXPECT_EQ(disk.listSectorIds(164, dest, 64), 0);
  EXPECT_EQ(dest[0], kUntouched);
}

TEST_F(SectorAccess, ListSectorHeadersGivesWholeHeadersInStoredOrder) {
  auto track = fixture::interleaved(fixture::standardTrack(45), 5);
  track[2].sectorCount = 20;  // read as stored, not checked
  load(Image().track(45, track));
  std::array<SectorHeader, 20> headers{};
  ASSERT_EQ(disk.listSectorHeaders(45, headers), 16);
  for (std::size_t i = 0; i < 16; ++i) {
    EXPECT_EQ(headers[i].r(), track[i].r) << i;
    EXPECT_EQ(headers[i].c(), 22);
    EXPECT_EQ(headers[i].dataSize(), 256);
    EXPECT_EQ(headers[i].sectorCount(), i == 2 ? 20 : 16) << i;
  }
  EXPECT_EQ(disk.listSectorHeaders(45, std::span(headers).first(3)), 3);
  EXPECT_EQ(disk.listSectorHeaders(45, std::span(headers).first(0)), 0);
  EXPECT_EQ(disk.listSectorHeaders(46, headers), 0);
}

TEST_F(SectorAccess, HasTrackTellsWhichTracksTheSectorOperationsReach) {
  load(Image()
           .track(0, fixture::standardTrack(0))
           .track(2, fixture::standardTrack(2))
           .trackOffset(3, 0x7FFFFFFF));
  EXPECT_TRUE(disk.hasTrack(0));
  EXPECT_FALSE(disk.hasTrack(1));
  EXPECT_TRUE(disk.hasTrack(2));
  EXPECT_FALSE(disk.hasTrack(3));  // beyond the image
  EXPECT_FALSE(disk.hasTrack(-1));
  EXPECT_FALSE(disk.hasTrack(164));
  disk.selectImage(1);
  EXPECT_FALSE(disk.hasTrack(0));
}

}  // namespace
