// Starts the built programs as child processes for the end-to-end tests.
//
// Every test starts a program through runProgram. Where the programs are and
// how they start is compiled in (macros of the same names) and can be changed
// in the environment of the test binary:
//   RIP_TOOLS_DIR       the folder that holds the programs
//   RIP_TOOLS_SUFFIX    appended to each program's name (".exe")
//   RIP_TOOLS_EMULATOR  a command that runs them ("wine64")
// Under Wine the programs get WINEDEBUG=-all, so that Wine's own messages
// stay out of what the tests compare, and the prefix RIP_WINEPREFIX names.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rip_test {

struct RunResult {
  int exitStatus = -1;  // the program's exit status; -1 when it did not exit normally
  std::string out;      // all it wrote to standard output
  std::string err;      // all it wrote to standard error
};

struct RunOptions {
  // Limits the size of every file the program writes, as a full disk would.
  std::optional<std::uint64_t> fileSizeLimit;
};

// True when the programs run under an emulator rather than natively.
bool programsAreEmulated();

// Runs a program by name with arguments, in workDir, with no standard input.
RunResult runProgram(std::string_view name, const std::vector<std::string>& args,
                     const std::filesystem::path& workDir, const RunOptions& options = {});

}  // namespace rip_test
