// Opening D88 files, listing their images, selecting and closing.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>

#include "diskimage/diskimage.h"
#include "tests/fixture/d88_builder.h"
#include "tests/support/workspace.h"

namespace {

using fixture::Bytes;
using fixture::Image;

class ImageListing : public ::testing::Test {
 protected:
  // Writes the bytes as a D88 file and opens it.
  bool openBytes(const Bytes& bytes, const std::string& name = "disk.d88") {
    dir.write(name, bytes);
    return disk.open((dir / name).string().c_str());
  }

  // True when sector R 1 of track 0 of the selected image can be read.
  bool canReadTrackZero() {
    std::array<std::uint8_t, 256> buffer{};
    return disk.readSector(0, 0, 0, 1, 1, buffer, 256) > 0;
  }

  void expectNoSelection() {
    EXPECT_EQ(disk.currentImage(), -1);
    EXPECT_EQ(disk.mediaType(), -1);
    EXPECT_STREQ(disk.diskName(), "");
  }

  rip_test::Workspace dir;
  DiskImage disk;
};

Image named(const std::string& name) {
  return Image().name(name).track(0, fixture::standardTrack(0));
}

TEST_F(ImageListing, FreshReaderHasNothingOpenOrSelected) {
  EXPECT_EQ(disk.imageCount(), 0);
  expectNoSelection();
  EXPECT_FALSE(disk.selectImage(0));
}

TEST_F(ImageListing, OpenFailsForAMissingFileOrAFolder) {
  EXPECT_FALSE(disk.open((dir / "missing.d88").string().c_str()));
  std::filesystem::create_directory(dir / "folder.d88");
  EXPECT_FALSE(disk.open((dir / "folder.d88").string().c_str()));
  EXPECT_EQ(disk.imageCount(), 0);
  EXPECT_FALSE(disk.selectImage(0));
}

TEST_F(ImageListing, FileWithoutAWholeHeaderHoldsNoImage) {
  const Bytes header = named("X").bytes();
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, fixture::kImageHeaderSize - 1}) {
    ASSERT_TRUE(openBytes(fixture::firstBytes(header, size))) << size;
    EXPECT_EQ(disk.imageCount(), 0) << size;
    EXPECT_FALSE(disk.selectImage(0)) << size;
  }
}

TEST_F(ImageListing, OneImageFillingTheFile) {
  const Bytes bytes = named("ONLY").media(0x10).bytes();
  ASSERT_TRUE(openBytes(bytes));
  EXPECT_EQ(disk.imageCount(), 1);
  EXPECT_EQ(disk.imageSize(), 0);
  ASSERT_TRUE(disk.selectImage(0));
  EXPECT_EQ(disk.imageSize(), static_cast<std::int32_t>(bytes.size()));
  EXPECT_EQ(disk.currentImage(), 0);
  EXPECT_EQ(disk.mediaType(), 0x10);
  EXPECT_STREQ(disk.diskName(), "ONLY");
  EXPECT_TRUE(canReadTrackZero());
}

TEST_F(ImageListing, NextImageStartsWhereTheDiskSizeSays) {
  // The first image claims 100 bytes more than it holds; the second starts there.
  const Bytes first = named("FIRST").bytes();
  const Bytes firstClaimingMore =
      named("FIRST").diskSize(static_cast<std::uint32_t>(first.size() + 100)).bytes();
  ASSERT_TRUE(
      openBytes(fixture::join({firstClaimingMore, Bytes(100, 0xEE), named("SECOND").bytes()})));
  EXPECT_EQ(disk.imageCount(), 2);
  ASSERT_TRUE(disk.selectImage(1));
  EXPECT_STREQ(disk.diskName(), "SECOND");
  EXPECT_TRUE(canReadTrackZero());
}

TEST_F(ImageListing, TrailingBytesCountAsAnImageOnlyWhenAWholeHeaderFits) {
  const Bytes image = named("A").bytes();
  const Bytes trailing = Image().name("TAIL").bytes();
  ASSERT_TRUE(openBytes(fixture::join({image, trailing})));
  EXPECT_EQ(disk.imageCount(), 2);
  ASSERT_TRUE(
      openBytes(fixture::join({image, fixture::firstBytes(trailing, trailing.size() - 1)})));
  EXPECT_EQ(disk.imageCount(), 1);
}

TEST_F(ImageListing, DiskSizeZeroListsTheSameHeaderUpToTheLimit) {
  ASSERT_TRUE(openBytes(fixture::join({named("A").bytes(), named("LOOP").diskSize(0).bytes()})));
  EXPECT_EQ(disk.imageCount(), DiskImage::kMaxImages);
  for (std::int32_t k = 1; k < DiskImage::kMaxImages; ++k) {
    ASSERT_TRUE(disk.selectImage(k));
    EXPECT_STREQ(disk.diskName(), "LOOP") << k;
  }
}

TEST_F(ImageListing, DiskSizeBelowTheHeaderReadsTheNextHeaderFromInsideIt) {
  // Image 1 starts 16 bytes in: its media byte is byte 0x2B of image 0, the
  // top byte of image 0's track offset 2; its disk size is image 0's track
  // offset 3, which points past the end of the file.
  const Bytes bytes = fixture::join(
      {Image().diskSize(16).trackOffset(2, 0xAB000000).trackOffset(3, 5000).bytes(), Bytes(16, 0)});
  ASSERT_TRUE(openBytes(bytes));
  EXPECT_EQ(disk.imageCount(), 2);
  ASSERT_TRUE(disk.selectImage(1));
  EXPECT_EQ(disk.mediaType(), 0xAB);
}

TEST_F(ImageListing, ListingEndsAtAnImageReachingPastTheFile) {
  ASSERT_TRUE(openBytes(fixture::join({named("A").diskSize(1 << 20).bytes(), named("B").bytes()})));
  EXPECT_EQ(disk.imageCount(), 1);
}

TEST_F(ImageListing, NoMoreThan64ImagesAreListed) {
  Bytes bytes;
  for (int k = 0; k < 65; ++k)
    bytes = fixture::join({bytes, named("IMAGE" + std::to_string(k)).bytes()});
  ASSERT_TRUE(openBytes(bytes));
  EXPECT_EQ(disk.imageCount(), 64);
  ASSERT_TRUE(disk.selectImage(63));
  EXPECT_STREQ(disk.diskName(), "IMAGE63");
  EXPECT_FALSE(disk.selectImage(64));
}

TEST_F(ImageListing, DiskSizesOf2GiBOrMoreEndTheListing) {
  for (std::uint32_t size : {0x80000000u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
    ASSERT_TRUE(openBytes(fixture::join({named("A").diskSize(size).bytes(), named("B").bytes()})));
    EXPECT_EQ(disk.imageCount(), 1) << size;
  }
}

TEST_F(ImageListing, NegativeDiskSizeStepsBackWithinTheFile) {
  // The second image points back at the first: the two alternate to the limit.
  const Bytes first = named("A").bytes();
  const auto back = static_cast<std::uint32_t>(-static_cast<std::int64_t>(first.size()));
  ASSERT_TRUE(openBytes(fixture::join({first, named("B").diskSize(back).bytes()})));
  EXPECT_EQ(disk.imageCount(), 64);
  ASSERT_TRUE(disk.selectImage(62));
  EXPECT_STREQ(disk.diskName(), "A");
  ASSERT_TRUE(disk.selectImage(63));
  EXPECT_STREQ(disk.diskName(), "B");
}

TEST_F(ImageListing, SelectingOutOfRangeForgetsTheSelection) {
  ASSERT_TRUE(openBytes(fixture::join({named("A").bytes(), named("B").bytes()})));
  for (std::int32_t k : {-1, 2, INT32_MIN, INT32_MAX}) {
    ASSERT_TRUE(disk.selectImage(0));
    EXPECT_FALSE(disk.selectImage(k)) << k;
    expectNoSelection();
    EXPECT_EQ(disk.imageSize(), 0);
    EXPECT_FALSE(canReadTrackZero()) << k;
  }
}

TEST_F(ImageListing, SelectingIsRefusedWithoutAnOpenFile) {
  EXPECT_FALSE(disk.open((dir / "missing.d88").string().c_str()));
  EXPECT_FALSE(disk.selectImage(0));
  ASSERT_TRUE(openBytes(named("A").bytes()));
  ASSERT_TRUE(disk.close());
  EXPECT_FALSE(disk.selectImage(0));
  expectNoSelection();
}

TEST_F(ImageListing, NameIsTheHeaderNameUpToItsFirstZeroByte) {
  ASSERT_TRUE(openBytes(Image().name("0123456789ABCDEF").bytes()));
  ASSERT_TRUE(disk.selectImage(0));
  EXPECT_STREQ(disk.diskName(), "0123456789ABCDEF");

  Bytes bytes = Image().name("0123456789ABCDEF").bytes();
  bytes[5] = 0;
  ASSERT_TRUE(openBytes(bytes));
  ASSERT_TRUE(disk.selectImage(0));
  EXPECT_STREQ(disk.diskName(), "01234");
}

TEST_F(ImageListing, NameBytesAreKeptUnconverted) {
  ASSERT_TRUE(openBytes(Image().name("\xB7\xAC\xDD\xCD\xDF\xB0\xDD").bytes()));
  ASSERT_TRUE(disk.selectImage(0));
  EXPECT_STREQ(disk.diskName(), "\xB7\xAC\xDD\xCD\xDF\xB0\xDD");
}

TEST_F(ImageListing, MediaTypeIsAnUnsignedByte) {
  ASSERT_TRUE(openBytes(Image().media(0xFF).bytes()));
  ASSERT_TRUE(disk.selectImage(0));
  EXPECT_EQ(disk.mediaType(), 255);
}

TEST_F(ImageListing, EachSelectionReplacesTheOneBefore) {
  Image second = Image().name("SECOND").media(0x20).track(1, fixture::standardTrack(1));
  ASSERT_TRUE(openBytes(fixture::join({named("FIRST").media(0x10).bytes(), second.bytes()})));
  ASSERT_TRUE(disk.selectImage(0));
  ASSERT_TRUE(disk.selectImage(1));
  EXPECT_EQ(disk.currentImage(), 1);
  EXPECT_EQ(disk.mediaType(), 0x20);
  EXPECT_STREQ(disk.diskName(), "SECOND");
  EXPECT_FALSE(canReadTrackZero());
  std::array<std::uint8_t, 256> buffer{};
  EXPECT_EQ(disk.readSector(1, 0, 1, 1, 1, buffer, 256), 256);
}

TEST_F(ImageListing, SelectionIsRefusedWhenTheHeaderIsNoLongerThere) {
  // Image 1 lies well past what a stream might still hold buffered.
  const Bytes first =
      named("A").track(1, fixture::standardTrack(1)).track(2, fixture::standardTrack(2)).bytes();
  ASSERT_TRUE(openBytes(fixture::join({first, named("B").bytes()})));
  ASSERT_EQ(disk.imageCount(), 2);
  std::filesystem::resize_file(dir / "disk.d88", first.size() + 100);
  EXPECT_FALSE(disk.selectImage(1));
  expectNoSelection();
}

TEST_F(ImageListing, OpeningAgainForgetsTheFormerFile) {
  ASSERT_TRUE(openBytes(named("A").bytes(), "a.d88"));
  ASSERT_TRUE(disk.selectImage(0));
  ASSERT_TRUE(openBytes(fixture::join({Image().bytes(), Image().bytes()}), "b.d88"));
  EXPECT_EQ(disk.imageCount(), 2);
  expectNoSelection();
  EXPECT_FALSE(canReadTrackZero());
}

TEST_F(ImageListing, CloseForgetsTheFileAndTheSelection) {
  ASSERT_TRUE(openBytes(named("A").bytes()));
  ASSERT_TRUE(disk.selectImage(0));
  EXPECT_TRUE(disk.close());
  EXPECT_EQ(disk.imageCount(), 0);
  expectNoSelection();
  EXPECT_FALSE(canReadTrackZero());
  // Nothing of the former image's track table survives into the next file.
  ASSERT_TRUE(openBytes(Image().bytes(), "other.d88"));
  EXPECT_FALSE(canReadTrackZero());
}

TEST_F(ImageListing, OpenWithoutANameOnlyCloses) {
  ASSERT_TRUE(openBytes(named("A").bytes()));
  ASSERT_TRUE(disk.selectImage(0));
  EXPECT_TRUE(disk.open(nullptr));
  EXPECT_EQ(disk.imageCount(), 0);
  expectNoSelection();
  EXPECT_FALSE(disk.selectImage(0));
}

}  // namespace
