// What the end-to-end tests of both programs share: the programs' texts as
// the bytes they must print, and a fixture that runs a program in a fresh folder.
#pragma once

#include <gtest/gtest.h>

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

inline std::string progress(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += "cutting ... " + name + "\n";
  return text;
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
