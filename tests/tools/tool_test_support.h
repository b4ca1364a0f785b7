// What the end-to-end tests of both programs share: the programs' texts as
// the bytes they must print, and a fixture that runs a program in a fresh folder.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tests/fixture/d88_builder.h"
#include "tests/support/program_runner.h"
#include "tests/support/workspace.h"

namespace rip_test {

// "ファイルをオープンできません.\n" in Shift-JIS.
inline const std::string kOpenError =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x83\x49\x81\x5b\x83\x76\x83\x93"
    "\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1.\n";

// "<name> を書き込めません.\n" in Shift-JIS.
inline std::string writeError(const std::string& name) {
  return name + " \x82\xf0\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1.\n";
}

// The bytes, then zeros up to size: what a cut whose run stopped early writes.
inline fixture::Bytes withZeros(fixture::Bytes bytes, std::size_t size) {
  bytes.resize(size, 0);
  return bytes;
}

inline std::string progress(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += "cutting ... " + name + "\n";
  return text;
}

inline const fixture::Bytes kProgramSignature{0x07, 0xD5, 0xCD, 0x41};
// "ｷｬﾝﾍﾟｰﾝ" in Shift-JIS.
inline const fixture::Bytes kCampaignSignature{0xB7, 0xAC, 0xDD, 0xCD, 0xDF, 0xB0, 0xDD};

// "<n> 枚めで プログラムディスク を認識しました.\n" in Shift-JIS.
inline std::string programDiskLine(int position) {
  return std::to_string(position) +
         " \x96\x87\x82\xdf\x82\xc5 \x83\x76\x83\x8d\x83\x4f\x83\x89\x83\x80\x83\x66\x83\x42"
         "\x83\x58\x83\x4e \x82\xf0\x94\x46\x8e\xaf\x82\xb5\x82\xdc\x82\xb5\x82\xbd.\n";
}

// "<n> 枚めで キャンペーンディスク を認識しました.\n" in Shift-JIS.
inline std::string campaignDiskLine(int position) {
  return std::to_string(position) +
         " \x96\x87\x82\xdf\x82\xc5 \x83\x4c\x83\x83\x83\x93\x83\x79\x81\x5b\x83\x93\x83\x66"
         "\x83\x42\x83\x58\x83\x4e \x82\xf0\x94\x46\x8e\xaf\x82\xb5\x82\xdc\x82\xb5\x82\xbd.\n";
}

inline const std::string kProgramCuts = progress({"DRIVER", "MUS00", "MUS01"});
inline const std::string kCampaignCuts = progress({"MUS02"});

// A disk with tracks 0 to 60, every track either program reads; disk numbers
// tell the data of different disks apart. Track 0 R 4 begins with the signature.
inline fixture::Image gameDisk(int disk, const fixture::Bytes& signature = {}) {
  fixture::Image image = fixture::Image().standardTracks(0, 60, disk);
  image.track(0,
              fixture::interleaved(
                  fixture::withDataStart(fixture::standardTrack(0, 1, 16, disk), 4, signature), 3));
  return image;
}

inline fixture::Image programDisk(int disk) {
  return gameDisk(disk, kProgramSignature);
}
inline fixture::Image campaignDisk(int disk) {
  return gameDisk(disk, kCampaignSignature);
}

class ToolTest : public ::testing::Test {
 protected:
  explicit ToolTest(std::string program) : program_(std::move(program)) {}

  RunResult run(const std::vector<std::string>& args, const RunOptions& options = {}) const {
    return runProgram(program_, args, dir.path(), options);
  }
  // Writes the bytes as disk.d88 and runs the program on it.
  RunResult runOn(const fixture::Bytes& image, const RunOptions& options = {}) const {
    dir.write(kImage, image);
    return run({kImage}, options);
  }
  // The folder holds the image and exactly these other entries.
  void expectEntries(std::set<std::string> names) const {
    names.insert(kImage);
    EXPECT_EQ(dir.entries(), names);
  }

  static inline const std::string kImage = "disk.d88";
  Workspace dir;

 private:
  std::string program_;
};

}  // namespace rip_test
