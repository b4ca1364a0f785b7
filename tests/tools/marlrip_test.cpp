// marlrip run as a program: its console output, exit status and files.
#include <algorithm>
#include <string>
#include <vector>

#include "tests/tools/tool_test_support.h"

namespace {

using fixture::Bytes;
using fixture::Image;
using rip_test::progress;
using rip_test::withZeros;

// Tracks 44 to 49, each holding R 1 to 16 stored out of order.
Image marlripImage() {
  Image image;
  image.name("MARL");
  for (int t = 44; t <= 49; ++t) image.track(t, fixture::interleaved(fixture::standardTrack(t), 5));
  return image;
}

const Bytes kDriver = fixture::standardRun(45, 12, 4);
const Bytes kMus00 = fixture::standardRun(45, 16, 36);
const Bytes kMus01 = fixture::standardRun(48, 3, 9);

class Marlrip : public rip_test::ToolTest {
 protected:
  Marlrip() : ToolTest("marlrip") {}

  void expectFiles(const Bytes& driver, const Bytes& mus00, const Bytes& mus01) const {
    EXPECT_EQ(dir.read("DRIVER"), driver);
    EXPECT_EQ(dir.read("MUS00"), mus00);
    EXPECT_EQ(dir.read("MUS01"), mus01);
  }
};

TEST_F(Marlrip, CutsTheThreeFilesOfAWholeImage) {
  const auto result = runOn(marlripImage().bytes());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, progress({"DRIVER", "MUS00", "MUS01"}));
  EXPECT_EQ(result.err, "");
  expectEntries({"DRIVER", "MUS00", "MUS01"});
  expectFiles(kDriver, kMus00, kMus01);
  // MUS01 starts again at MUS00's last sector.
  EXPECT_TRUE(std::equal(kMus01.begin(), kMus01.begin() + 256, kMus00.end() - 256));
  // The data holds the bytes a text-mode stream would change.
  for (std::uint8_t special : {0x0D, 0x0A, 0x1A}) {
    EXPECT_NE(std::find(kMus00.begin(), kMus00.end(), special), kMus00.end()) << int{special};
  }
}

TEST_F(Marlrip, OnlyTheFirstImageOfTheFileIsRead) {
  Image other;
  for (int t = 44; t <= 49; ++t) {
    auto sectors = fixture::standardTrack(t);
    for (auto& sector : sectors) sector.data.assign(256, 0xEE);
    other.track(t, sectors);
  }
  const auto result = runOn(fixture::join({marlripImage().bytes(), other.bytes()}));
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, progress({"DRIVER", "MUS00", "MUS01"}));
  expectFiles(kDriver, kMus00, kMus01);
}

TEST_F(Marlrip, AMissingTrackEndsTheRunsThatReachIt) {
  // MUS00 ends three sectors into track 48; MUS01 lies wholly on it.
  const auto result = runOn(Image().standardTracks(45, 47).bytes());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, progress({"DRIVER", "MUS00"}));
  EXPECT_EQ(result.err, "");
  expectEntries({"DRIVER", "MUS00"});
  EXPECT_EQ(dir.read("DRIVER"), kDriver);
  EXPECT_EQ(dir.read("MUS00"), withZeros(fixture::standardRun(45, 16, 33), 9216));
}

TEST_F(Marlrip, ExistingFilesAreReplacedOnlyByACutThatDelivers) {
  const Bytes old(20000, 0x55);
  for (const char* name : {"DRIVER", "MUS00", "MUS01"}) dir.write(name, old);
  const auto result = runOn(Image().standardTracks(45, 47).bytes());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, progress({"DRIVER", "MUS00"}));
  expectFiles(kDriver, withZeros(fixture::standardRun(45, 16, 33), 9216), old);
}

TEST_F(Marlrip, AShortRunNeverCarriesBytesOfAnEarlierCut) {
  // Without track 46, MUS00 gets one sector; the DRIVER cut before it left
  // 1,024 bytes in the working buffer, none of which may reach MUS00.
  const auto result = runOn(Image().standardTracks(45, 45).standardTracks(47, 48).bytes());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, progress({"DRIVER", "MUS00", "MUS01"}));
  expectFiles(kDriver, withZeros(fixture::sectorData(45, 16), 9216), kMus01);
}

TEST_F(Marlrip, ASectorCutShortByTheEndOfTheFileEndsTheRun) {
  // The file ends 100 bytes into the data of R 2 of track 48, the last track.
  const Bytes whole = Image().standardTracks(45, 48).bytes();
  const std::size_t sectorSize = fixture::kSectorHeaderSize + 256;
  const auto result = runOn(fixture::firstBytes(whole, whole.size() - 14 * sectorSize - 156));
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, progress({"DRIVER", "MUS00"}));
  expectEntries({"DRIVER", "MUS00"});
  EXPECT_EQ(dir.read("MUS00"), withZeros(fixture::standardRun(45, 16, 34), 9216));
}

}  // namespace
