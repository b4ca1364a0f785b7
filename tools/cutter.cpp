#include "tools/cutter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "tools/messages.h"

DiskImage theDisk;
std::array<std::uint8_t, kCutBufferSize> cutBuffer;

namespace {

// The output file of the cut in progress; open only inside one cutFile call.
std::FILE* outFile = nullptr;

// The path of the image being read, as given on the command line.
const char* imagePath = nullptr;

// An output name may be the image itself, or a link to it: writing it would
// destroy the very data being cut.
bool namesTheImage(const char* fileName) {
  std::error_code error;
  return imagePath != nullptr && std::filesystem::equivalent(fileName, imagePath, error);
}

bool isRegularFile(const char* fileName) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::symlink_status(fileName, error));
}

// Some C runtimes report a write that stopped short (a full disk) as done:
// the size on disk is the last word. Only a regular file has one to check.
bool holdsWholly(const char* fileName, std::size_t size) {
  std::error_code error;
  return !isRegularFile(fileName) || std::filesystem::file_size(fileName, error) == size;
}

// A file left shorter than its cut would pass for a good one. Only a regular
// file is removed: a link or a device keeps its name.
void removePartialFile(const char* fileName) {
  std::error_code error;
  if (isRegularFile(fileName)) std::filesystem::remove(fileName, error);
}

bool writeOutput(const char* fileName, std::span<const std::uint8_t> bytes) {
  if (namesTheImage(fileName)) return false;
  outFile = std::fopen(fileName, "wb");
  if (outFile == nullptr) return false;
  const bool wroteAll = std::fwrite(bytes.data(), 1, bytes.size(), outFile) == bytes.size();
  const bool closed = std::fclose(outFile) == 0;
  outFile = nullptr;
  if (wroteAll && closed && holdsWholly(fileName, bytes.size())) return true;
  removePartialFile(fileName);
  return false;
}

}  // namespace

CutResult cutFile(const char* fileName, std::int32_t track, std::int32_t c, std::int32_t h,
                  std::int32_t r, std::int32_t n, std::int32_t skip, std::int32_t length) {
  if (!fitsCutBuffer(skip, length)) return CutResult::nothingRead;
  const std::int32_t total = skip + length;
  const std::int32_t delivered = theDisk.readSectors(track, c, h, r, n, cutBuffer, total);
  if (delivered <= 0) return CutResult::nothingRead;
  // A run that stopped early must not carry what an earlier cut left behind.
  std::fill(cutBuffer.begin() + delivered, cutBuffer.begin() + total, std::uint8_t{0});

  std::printf(kProgressFormat, fileName);
  const auto bytes = std::span(cutBuffer).subspan(static_cast<std::size_t>(skip),
                                                  static_cast<std::size_t>(length));
  if (writeOutput(fileName, bytes)) return CutResult::written;
  // Keeps the progress line ahead of the error when both streams go to one place.
  std::fflush(stdout);
  std::fprintf(stderr, kWriteErrorFormat, fileName);
  return CutResult::writeFailed;
}

bool runCuts(std::span<const Cut> cuts) {
  bool allWritten = true;
  for (const Cut& cut : cuts) {
    const CutResult result =
        cutFile(cut.fileName, cut.track, cut.c, cut.h, cut.r, cut.n, cut.skip, cut.length);
    if (result == CutResult::writeFailed) allWritten = false;
  }
  return allWritten;
}

bool openImageFromCommandLine(int argc, char** argv, const char* usageLine) {
  if (argc != 2) {
    std::fputs(usageLine, stderr);
    return false;
  }
  if (!theDisk.open(argv[1])) {
    std::fputs(kOpenErrorText, stderr);
    return false;
  }
  imagePath = argv[1];
  return true;
}
