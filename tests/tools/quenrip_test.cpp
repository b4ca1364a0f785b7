// quenrip run as a program: which disks it recognises, what it announces and
// cuts, and that nothing left behind by one disk can make another recognised.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/tools/tool_test_support.h"

namespace {

using fixture::Bytes;
using fixture::Image;
using fixture::withDataStart;
using rip_test::campaignDisk;
using rip_test::campaignDiskLine;
using rip_test::gameDisk;
using rip_test::kCampaignCuts;
using rip_test::kCampaignSignature;
using rip_test::kProgramCuts;
using rip_test::kProgramSignature;
using rip_test::programDisk;
using rip_test::programDiskLine;
using rip_test::progress;

Bytes driverOf(int disk) {
  return fixture::standardRun(5, 2, 5, disk);
}
Bytes mus00Of(int disk) {
  return fixture::standardRun(48, 5, 27, disk);
}
Bytes mus01Of(int disk) {
  return fixture::standardRun(50, 1, 19, disk);
}
Bytes mus02Of(int disk) {
  return fixture::standardRun(56, 1, 19, disk);
}

Bytes imagesOf(const std::vector<Image>& images) {
  Bytes bytes;
  for (const Image& image : images) bytes = fixture::join({bytes, image.bytes()});
  return bytes;
}

class Quenrip : public rip_test::ToolTest {
 protected:
  Quenrip() : ToolTest("quenrip") {}

  void expectProgramFiles(int disk) const {
    EXPECT_EQ(dir.read("DRIVER"), driverOf(disk));
    EXPECT_EQ(dir.read("MUS00"), mus00Of(disk));
    EXPECT_EQ(dir.read("MUS01"), mus01Of(disk));
  }
};

TEST_F(Quenrip, ProgramDiskThenCampaignDisk) {
  const auto result = runOn(imagesOf({programDisk(1), campaignDisk(2)}));
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, programDiskLine(1) + kProgramCuts + campaignDiskLine(2) + kCampaignCuts);
  EXPECT_EQ(result.err, "");
  expectEntries({"DRIVER", "MUS00", "MUS01", "MUS02"});
  expectProgramFiles(1);
  EXPECT_EQ(dir.read("MUS02"), mus02Of(2));
  EXPECT_EQ(dir.read("DRIVER").size(), 1280u);
  EXPECT_EQ(dir.read("MUS00").size(), 6912u);
}

TEST_F(Quenrip, CampaignDiskFirstAndProgramDiskThird) {
  const auto result = runOn(imagesOf({campaignDisk(1), gameDisk(2), programDisk(3)}));
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, campaignDiskLine(1) + kCampaignCuts + programDiskLine(3) + kProgramCuts);
  EXPECT_EQ(result.err, "");
  expectProgramFiles(3);
  EXPECT_EQ(dir.read("MUS02"), mus02Of(1));
}

TEST_F(Quenrip, EachDiskAlone) {
  auto result = runOn(programDisk(1).bytes());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, programDiskLine(1) + kProgramCuts);
  expectEntries({"DRIVER", "MUS00", "MUS01"});
  expectProgramFiles(1);

  for (const char* name : {"DRIVER", "MUS00", "MUS01"}) std::filesystem::remove(dir / name);
  result = runOn(campaignDisk(1).bytes());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, campaignDiskLine(1) + kCampaignCuts);
  expectEntries({"MUS02"});
  EXPECT_EQ(dir.read("MUS02"), mus02Of(1));
}

TEST_F(Quenrip, OnlyTheFirstDiskOfAKindIsCut) {
  const auto result =
      runOn(imagesOf({programDisk(1), programDisk(2), campaignDisk(3), campaignDisk(4)}));
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, programDiskLine(1) + kProgramCuts + campaignDiskLine(3) + kCampaignCuts);
  expectProgramFiles(1);
  EXPECT_EQ(dir.read("MUS02"), mus02Of(3));
}

TEST_F(Quenrip, ASignatureOutsideItsSectorIsNotRecognised) {
  auto sizeCode2 = fixture::standardTrack(0);
  sizeCode2[3].n = 2;
  sizeCode2[3].data = kProgramSignature;
  sizeCode2[3].data.resize(512);
  struct Case {
    const char* what;
    Image image;
  };
  const Case cases[] = {
      {"R 3 of track 0",
       gameDisk(1).track(0, withDataStart(fixture::standardTrack(0), 3, kProgramSignature))},
      {"R 4 of track 1",
       gameDisk(1).track(1, withDataStart(fixture::standardTrack(1), 4, kCampaignSignature))},
      {"R 4 of track 0 with N 2", gameDisk(1).track(0, sizeCode2)},
      {"the signature one byte in",
       gameDisk(1).track(
           0, withDataStart(fixture::standardTrack(0), 4, Bytes{0x00, 0x07, 0xD5, 0xCD, 0x41}))},
  };
  for (const Case& c : cases) {
    const auto result = runOn(c.image.bytes());
    EXPECT_EQ(result.exitStatus, 0) << c.what;
    EXPECT_EQ(result.out, "") << c.what;
    expectEntries({});
  }
}

TEST_F(Quenrip, BytesLeftInTheBufferByAnEarlierCutNeverMakeADiskRecognised) {
  // The campaign disk's MUS02 starts with the program signature, so its cut
  // leaves that signature at the start of the working buffer.
  Image campaign = campaignDisk(1);
  campaign.track(56, withDataStart(fixture::standardTrack(56, 1, 16, 1), 1, kProgramSignature));

  auto sizeCode2 = fixture::standardTrack(0);
  sizeCode2[3].n = 2;
  auto twoBytes = fixture::standardTrack(0);
  twoBytes[3].data = Bytes{0x07, 0xD5};  // only the first half of the signature
  struct Case {
    const char* what;
    Image image;
  };
  const Case cases[] = {
      {"no track 0", Image().standardTracks(1, 60)},
      {"R 4 with N 2", Image().standardTracks(1, 60).track(0, sizeCode2)},
      {"R 4 holding two bytes", Image().standardTracks(1, 60).track(0, twoBytes)},
  };
  for (const Case& c : cases) {
    const auto result = runOn(imagesOf({campaign, c.image}));
    EXPECT_EQ(result.exitStatus, 0) << c.what;
    EXPECT_EQ(result.out, campaignDiskLine(1) + kCampaignCuts) << c.what;
    expectEntries({"MUS02"});
  }
}

TEST_F(Quenrip, ImagesPastThe64thAreNeverExamined) {
  std::vector<Image> images(63, Image());
  images.push_back(programDisk(64));
  images.push_back(campaignDisk(65));
  const auto result = runOn(imagesOf(images));
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, programDiskLine(64) + kProgramCuts);
  expectEntries({"DRIVER", "MUS00", "MUS01"});
  expectProgramFiles(64);
}

TEST_F(Quenrip, AProgramDiskWithoutTrack48KeepsTheOldMus00) {
  const Bytes old(100, 0x55);
  dir.write("MUS00", old);
  Image disk = programDisk(1);
  disk.trackOffset(48, 0);
  const auto result = runOn(disk.bytes());
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, programDiskLine(1) + progress({"DRIVER", "MUS01"}));
  EXPECT_EQ(dir.read("DRIVER"), driverOf(1));
  EXPECT_EQ(dir.read("MUS00"), old);
  EXPECT_EQ(dir.read("MUS01"), mus01Of(1));
}

TEST_F(Quenrip, AShortRunNeverCarriesBytesOfAnEarlierCut) {
  // Without track 57 MUS02 gets 16 of its 19 sectors; the 768 bytes behind
  // them held the end of MUS01 from the program disk's cuts.
  Image campaign = campaignDisk(2);
  campaign.trackOffset(57, 0);
  const auto result = runOn(imagesOf({programDisk(1), campaign}));
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, programDiskLine(1) + kProgramCuts + campaignDiskLine(2) + kCampaignCuts);
  Bytes expected = fixture::standardRun(56, 1, 16, 2);
  expected.resize(4864, 0);
  EXPECT_EQ(dir.read("MUS02"), expected);
}

}  // namespace
