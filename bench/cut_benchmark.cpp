// The whole reader sequence of each cutting program (open, select, every
// signature read and every cut's run into the working buffer), on a normal
// disk and on the worst image of a given size that the track walk allows:
// one long track of empty sector headers whose counts never end the walk,
// with every sector the cuts want stored at its end, and every track the
// cuts visit pointing at it. Each sector read then walks the whole file.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "diskimage/diskimage.h"
#include "tests/fixture/d88_builder.h"
#include "tools/cut_tables.h"

namespace {

using fixture::Bytes;
using fixture::Image;
using fixture::Sector;

std::array<std::uint8_t, kCutBufferSize> buffer;

std::vector<Sector> withSignature(std::vector<Sector> track,
                                  std::span<const std::uint8_t> signature) {
  return fixture::withDataStart(std::move(track), SignatureSector::r, signature);
}

Image normalDisk(std::span<const std::uint8_t> signature, int disk) {
  Image image;
  for (int t = 0; t < 80; ++t) {
    auto sectors = fixture::standardTrack(t, 1, 16, disk);
    if (t == 0) sectors = withSignature(sectors, signature);
    image.track(t, fixture::interleaved(sectors, 3));
  }
  return image;
}

// The worst image of about `size` bytes whose wanted sectors lie on `tracks`.
Bytes worstImage(std::size_t size, const std::vector<int>& tracks) {
  std::vector<Sector> wanted;
  for (int t : tracks) {
    auto sectors = fixture::standardTrack(t);
    if (t == 0) sectors = withSignature(sectors, kProgramSignature);
    wanted.insert(wanted.end(), sectors.begin(), sectors.end());
  }
  const std::size_t wantedBytes = wanted.size() * (fixture::kSectorHeaderSize + 256);
  const std::size_t junkHeaders =
      (size - std::min(size, fixture::kImageHeaderSize + wantedBytes)) / fixture::kSectorHeaderSize;
  // Position p ends the walk only when a header there says p + 1 sectors.
  std::vector<Sector> region(junkHeaders, fixture::makeSector(0xFF, 0xFF, 0xFF, 0xFF, {}));
  for (Sector& s : region) s.sectorCount = 1;
  if (!region.empty()) region.front().sectorCount = 0xFFFF;
  for (Sector& s : wanted) s.sectorCount = 0xFFFF;
  region.insert(region.end(), wanted.begin(), wanted.end());

  Image image;
  image.track(tracks.front(), region);
  for (int t : tracks) image.trackOffset(t, fixture::kImageHeaderSize);
  return image.bytes();
}

std::filesystem::path writeTemp(const std::string& name, const Bytes& bytes) {
  const auto path = std::filesystem::temp_directory_path() / ("d88-bench-" + name + ".d88");
  fixture::writeFile(path, bytes);
  return path;
}

void readCuts(DiskImage& disk, std::span<const Cut> cuts) {
  for (const Cut& cut : cuts) {
    benchmark::DoNotOptimize(
        disk.readSectors(cut.track, cut.c, cut.h, cut.r, cut.n, buffer, cut.skip + cut.length));
  }
}

void marlripSequence(const std::filesystem::path& path) {
  DiskImage disk;
  disk.open(path.string().c_str());
  disk.selectImage(0);
  disk.setSectorRange(kFirstSector, kLastSector);
  readCuts(disk, kMarlripCuts);
}

void quenripSequence(const std::filesystem::path& path) {
  DiskImage disk;
  disk.open(path.string().c_str());
  std::array<bool, kDiskKinds.size()> found{};
  for (std::int32_t k = 0; k < disk.imageCount(); ++k) {
    disk.selectImage(k);
    disk.setSectorRange(kFirstSector, kLastSector);
    using S = SignatureSector;
    const auto got = disk.readSector(S::track, S::c, S::h, S::r, S::n, buffer, S::size);
    const auto sector = std::span(buffer).first(static_cast<std::size_t>(got));
    const std::size_t kind = recogniseDisk(sector, found);
    if (kind == kDiskKinds.size()) continue;
    found[kind] = true;
    readCuts(disk, kDiskKinds[kind].cuts);
  }
}

template <void (*Sequence)(const std::filesystem::path&)>
void run(benchmark::State& state, const std::filesystem::path& path) {
  for (auto _ : state) Sequence(path);
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(path));
}

void BM_MarlripNormal(benchmark::State& state) {
  static const auto path = writeTemp("marl-normal", normalDisk({}, 0).bytes());
  run<marlripSequence>(state, path);
}

void BM_QuenripNormal(benchmark::State& state) {
  static const auto path =
      writeTemp("quen-normal", fixture::join({normalDisk(kCampaignSignature, 1).bytes(),
                                              normalDisk(kProgramSignature, 2).bytes()}));
  run<quenripSequence>(state, path);
}

void BM_MarlripWorst(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  const auto path =
      writeTemp("marl-worst-" + std::to_string(size), worstImage(size, {45, 46, 47, 48}));
  run<marlripSequence>(state, path);
}

void BM_QuenripWorst(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  const auto path =
      writeTemp("quen-worst-" + std::to_string(size), worstImage(size, {0, 5, 48, 49, 50, 51}));
  run<quenripSequence>(state, path);
}

BENCHMARK(BM_MarlripNormal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QuenripNormal)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MarlripWorst)
    ->Arg(256 << 10)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QuenripWorst)
    ->Arg(256 << 10)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
