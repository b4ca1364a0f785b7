// Both cutting programs at the failing edges of a real file system and on
// image files cut short: each case shows the message, the exit status, and
// that no file other than the one that failed was harmed.
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/tools/tool_test_support.h"

namespace {

using fixture::Bytes;
using rip_test::withZeros;
using rip_test::writeError;

using Files = std::map<std::string, Bytes>;

struct Outcome {
  std::string out;
  Files files;
};

struct Program {
  std::string name;
  Outcome whole;           // a program disk and a campaign disk
  Outcome firstImageOnly;  // the same file with the second image's header cut short
  Outcome cutInTrack48;    // a program disk alone, cut short inside R 2 of track 48
};

void PrintTo(const Program& program, std::ostream* out) {
  *out << program.name;
}

const std::string kBystander = "notes.txt";
const Bytes kBystanderBytes(3000, 0x42);

// Where track 48 of a lone program disk begins: tracks 0 to 60 in order,
// 16 sectors of 16 + 256 bytes each.
constexpr std::size_t kSectorBytes = fixture::kSectorHeaderSize + 256;
constexpr std::size_t kTrack48 = fixture::kImageHeaderSize + 48 * 16 * kSectorBytes;

const Program kMarlrip{
    "marlrip",
    {rip_test::progress({"DRIVER", "MUS00", "MUS01"}),
     {{"DRIVER", fixture::standardRun(45, 12, 4, 1)},
      {"MUS00", fixture::standardRun(45, 16, 36, 1)},
      {"MUS01", fixture::standardRun(48, 3, 9, 1)}}},
    {rip_test::progress({"DRIVER", "MUS00", "MUS01"}),
     {{"DRIVER", fixture::standardRun(45, 12, 4, 1)},
      {"MUS00", fixture::standardRun(45, 16, 36, 1)},
      {"MUS01", fixture::standardRun(48, 3, 9, 1)}}},
    {rip_test::progress({"DRIVER", "MUS00"}),
     {{"DRIVER", fixture::standardRun(45, 12, 4, 1)},
      {"MUS00", withZeros(fixture::standardRun(45, 16, 34, 1), 9216)}}},
};

const Program kQuenrip{
    "quenrip",
    {rip_test::programDiskLine(1) + rip_test::kProgramCuts + rip_test::campaignDiskLine(2) +
         rip_test::kCampaignCuts,
     {{"DRIVER", fixture::standardRun(5, 2, 5, 1)},
      {"MUS00", fixture::standardRun(48, 5, 27, 1)},
      {"MUS01", fixture::standardRun(50, 1, 19, 1)},
      {"MUS02", fixture::standardRun(56, 1, 19, 2)}}},
    {rip_test::programDiskLine(1) + rip_test::kProgramCuts,
     {{"DRIVER", fixture::standardRun(5, 2, 5, 1)},
      {"MUS00", fixture::standardRun(48, 5, 27, 1)},
      {"MUS01", fixture::standardRun(50, 1, 19, 1)}}},
    {rip_test::programDiskLine(1) + rip_test::progress({"DRIVER"}),
     {{"DRIVER", fixture::standardRun(5, 2, 5, 1)}}},
};

class FaultInjection : public rip_test::ToolTest, public ::testing::WithParamInterface<Program> {
 protected:
  FaultInjection() : ToolTest(GetParam().name) {
    dir.write(kImage, image_);
    dir.write(kBystander, kBystanderBytes);
  }

  const Outcome& whole() const { return GetParam().whole; }
  std::vector<std::string> outputs() const {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : whole().files) names.push_back(name);
    return names;
  }

  // The run reported exactly the failed files, in cut order, and ended with 1;
  // every other file it writes is whole; the image and the bystander are intact.
  void expectFailures(const rip_test::RunResult& result, const std::vector<std::string>& failed,
                      const std::string& imageName = kImage) const {
    std::string errors;
    for (const std::string& name : cutOrder()) {
      if (std::find(failed.begin(), failed.end(), name) != failed.end()) errors += writeError(name);
    }
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, whole().out);
    EXPECT_EQ(result.err, errors);
    for (const auto& [name, bytes] : whole().files) {
      if (std::find(failed.begin(), failed.end(), name) == failed.end()) {
        EXPECT_EQ(dir.read(name), bytes) << name;
      }
    }
    EXPECT_EQ(dir.read(imageName), image_);
    EXPECT_EQ(dir.read(kBystander), kBystanderBytes);
  }

  // A clean run that left exactly the expected files.
  void expectOutcome(const rip_test::RunResult& result, const Outcome& outcome) const {
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, outcome.out);
    EXPECT_EQ(result.err, "");
    std::set<std::string> names{kBystander};
    for (const auto& [name, bytes] : outcome.files) {
      names.insert(name);
      EXPECT_EQ(dir.read(name), bytes) << name;
    }
    expectEntries(names);
    EXPECT_EQ(dir.read(kBystander), kBystanderBytes);
  }

 private:
  // The outputs as the progress lines name them.
  std::vector<std::string> cutOrder() const {
    std::vector<std::string> names;
    const std::string& out = whole().out;
    const std::string prefix = "cutting ... ";
    for (auto at = out.find(prefix); at != std::string::npos; at = out.find(prefix, at)) {
      at += prefix.size();
      names.push_back(out.substr(at, out.find('\n', at) - at));
    }
    return names;
  }

  const Bytes image_ =
      fixture::join({rip_test::programDisk(1).bytes(), rip_test::campaignDisk(2).bytes()});
};

TEST_P(FaultInjection, AnOutputNameTakenByAFolder) {
  std::filesystem::create_directory(dir / "MUS00");
  expectFailures(run({kImage}), {"MUS00"});
  EXPECT_TRUE(std::filesystem::is_empty(dir / "MUS00"));
}

TEST_P(FaultInjection, AFolderWithoutWritePermission) {
  if (geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
  std::filesystem::permissions(
      dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const auto result = run({kImage});
  expectFailures(result, outputs());
  expectEntries({kBystander});
}

TEST_P(FaultInjection, AFullDevice) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  // Wine reports writes to a Linux device as done; the file size limit below
  // stands in for a full disk there.
  if (rip_test::programsAreEmulated()) GTEST_SKIP() << "Wine hides the device's write error";
  std::filesystem::create_symlink("/dev/full", dir / "DRIVER");
  expectFailures(run({kImage}), {"DRIVER"});
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "DRIVER"));
}

TEST_P(FaultInjection, AFullDiskRemovesWhatItCouldNotWriteWhole) {
  // A limit of 4,096 bytes a file: the longer files fail part-way.
  constexpr std::uint64_t kLimit = 4096;
  std::vector<std::string> tooLong;
  for (const auto& [name, bytes] : whole().files) {
    if (bytes.size() > kLimit) tooLong.push_back(name);
  }
  ASSERT_FALSE(tooLong.empty());
  expectFailures(run({kImage}, {.fileSizeLimit = kLimit}), tooLong);
  for (const std::string& name : tooLong) EXPECT_FALSE(std::filesystem::exists(dir / name)) << name;
}

TEST_P(FaultInjection, TheImageNamedLikeAnOutput) {
  const std::string name = outputs().back();
  std::filesystem::rename(dir / kImage, dir / name);
  expectFailures(run({name}), {name}, name);
}

TEST_P(FaultInjection, OutputNamesLinkedToTheImage) {
  std::filesystem::create_symlink(kImage, dir / "DRIVER");
  std::filesystem::create_hard_link(dir / kImage, dir / "MUS01");
  expectFailures(run({kImage}), {"DRIVER", "MUS01"});
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "DRIVER"));
}

TEST_P(FaultInjection, AnImageCutShortInsideAnImageHeader) {
  const Bytes second = rip_test::campaignDisk(2).bytes();
  dir.write(kImage,
            fixture::join({rip_test::programDisk(1).bytes(), fixture::firstBytes(second, 300)}));
  expectOutcome(run({kImage}), GetParam().firstImageOnly);
}

TEST_P(FaultInjection, AnImageCutShortInsideASectorHeaderOrItsData) {
  // Inside the header of R 2 of track 48, and 100 bytes into its data: the
  // sector is missing, or short; either way runs end before it.
  const Bytes disk = rip_test::programDisk(1).bytes();
  for (std::size_t end : {kTrack48 + kSectorBytes + 8, kTrack48 + kSectorBytes + 16 + 100}) {
    dir.write(kImage, fixture::firstBytes(disk, end));
    expectOutcome(run({kImage}), GetParam().cutInTrack48);
    for (const auto& [name, bytes] : GetParam().cutInTrack48.files)
      std::filesystem::remove(dir / name);
  }
}

INSTANTIATE_TEST_SUITE_P(Programs, FaultInjection, ::testing::Values(kMarlrip, kQuenrip),
                         [](const auto& info) { return info.param.name; });

}  // namespace
