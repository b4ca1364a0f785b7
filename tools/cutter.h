// What both cutting programs share: the one reader instance, the working
// buffer that every run is read into, and the cut routine.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "diskimage/diskimage.h"
#include "tools/cut_tables.h"

extern DiskImage theDisk;
extern std::array<std::uint8_t, kCutBufferSize> cutBuffer;

enum class CutResult {
  nothingRead,  // the run's first sector could not be read: nothing printed or touched
  written,      // the file holds all length bytes
  writeFailed,  // announced, but the file could not be written whole; reported on stderr
};

// Reads skip + length bytes of the run that starts at sector (c, h, r, n) of a
// track into cutBuffer and writes bytes skip to skip + length - 1 to fileName.
// Bytes past the end of a run that stopped early are written as zeros.
CutResult cutFile(const char* fileName, std::int32_t track, std::int32_t c, std::int32_t h,
                  std::int32_t r, std::int32_t n, std::int32_t skip, std::int32_t length);

// Runs the cuts in table order, each whatever became of the one before.
// Returns false when any output file could not be written.
bool runCuts(std::span<const Cut> cuts);

// Checks that the command line names exactly one file and opens it through
// theDisk; otherwise prints the usage line or the open error and returns false.
bool openImageFromCommandLine(int argc, char** argv, const char* usageLine);

// The exit status after the cuts: 1 when an output file could not be written.
inline int exitStatus(bool allWritten) {
  return allWritten ? 0 : 1;
}
