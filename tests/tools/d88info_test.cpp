// d88info run as a program: what it shows of a D88 file's images and tracks.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/tools/tool_test_support.h"

namespace {

using fixture::Bytes;
using fixture::Image;
using fixture::Sector;

const std::string kUsage = "Usage: d88info [--tracks|-t] d88file\n";

class D88info : public rip_test::ToolTest {
 protected:
  D88info() : ToolTest("d88info") {}

  void expectOutput(const std::vector<std::string>& args, const std::string& out) const {
    const auto result = run(args);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, out);
    EXPECT_EQ(result.err, "");
  }
};

TEST_F(D88info, AWrongCommandLinePrintsTheUsage) {
  dir.write(kImage, Image().bytes());
  const std::vector<std::vector<std::string>> wrong{
      {}, {"-t"}, {kImage, kImage}, {"--sectors", kImage}, {"-x", kImage}};
  for (const auto& args : wrong) {
    const auto result = run(args);
    EXPECT_EQ(result.exitStatus, 1) << args.size();
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, kUsage);
  }
}

TEST_F(D88info, HelpPrintsTheUsage) {
  for (const std::string option : {"--help", "-h"}) {
    const auto result = run({option});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, kUsage);
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(D88info, AFileThatCannotBeOpenedIsReported) {
  std::filesystem::create_directory(dir / "folder.d88");
  for (const std::string path : {"missing.d88", "folder.d88"}) {
    const auto result = run({path});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "d88info: cannot open " + path + "\n");
  }
}

TEST_F(D88info, ListsEveryImageOfTheFile) {
  const Bytes first = Image().name("FIRST DISK").media(0x00).standardTracks(0, 3).bytes();
  const Bytes second = Image().name("0123456789ABCDEF").media(0x10).standardTracks(10, 10).bytes();
  const Bytes third = Image().name("HD").media(0x20).bytes();
  const Bytes fourth =
      Image().name("\xB7\xAC\xDD").media(0x30).track(163, fixture::standardTrack(163)).bytes();
  dir.write(kImage, fixture::join({first, second, third, fourth}));
  expectOutput({kImage},
               "disk.d88: 4 images\n"
               "image 1: name \"FIRST DISK\", media 0x00 (2D), " +
                   std::to_string(first.size()) +
                   " bytes, 4 tracks\n"
                   "image 2: name \"0123456789ABCDEF\", media 0x10 (2DD), " +
                   std::to_string(second.size()) +
                   " bytes, 1 track\n"
                   "image 3: name \"HD\", media 0x20 (2HD), 688 bytes, 0 tracks\n"
                   "image 4: name \"\xB7\xAC\xDD\", media 0x30, " +
                   std::to_string(fourth.size()) + " bytes, 1 track\n");
}

TEST_F(D88info, AFileWithoutImagesSaysSo) {
  dir.write(kImage, Bytes(100, 0));
  expectOutput({kImage}, "disk.d88: 0 images\n");
}

TEST_F(D88info, TracksAreListedInStoredOrder) {
  dir.write(kImage, Image()
                        .name("T")
                        .track(3, fixture::interleaved(fixture::standardTrack(3, 1, 8), 3))
                        .track(5, fixture::standardTrack(5, 1, 1))
                        .bytes());
  const std::string expected =
      "disk.d88: 1 image\n"
      "image 1: name \"T\", media 0x00 (2D), " +
      std::to_string(688 + 9 * 272) +
      " bytes, 2 tracks\n"
      "  track 3 (C 1 H 1): 8 sectors, R 1 4 7 2 5 8 3 6\n"
      "  track 5 (C 2 H 1): 1 sector, R 1\n";
  expectOutput({"--tracks", kImage}, expected);
  expectOutput({kImage, "-t"}, expected);
}

TEST_F(D88info, UnusualSectorsAreMarked) {
  std::vector<Sector> odd = fixture::standardTrack(4, 1, 6);  // C 2 H 0
  odd[1].c = 9;                                               // R 2 on another cylinder
  odd[2].n = 2;                                               // R 3 of another size
  odd[3].r = 5;                                               // R 5 twice, R 4 missing
  odd[5].sectorCount = 9;  // R 6 disagrees with the six found; the walk goes on to 9
  std::vector<Sector> followers = fixture::standardTrack(5, 1, 3);
  for (Sector& s : followers) s.sectorCount = 0;  // ends the walk at once
  dir.write(kImage, Image().name("ODD").track(4, odd).track(5, followers).bytes());

  const auto result = run({"-t", kImage});
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(
      result.out,
      "disk.d88: 1 image\n"
      "image 1: name \"ODD\", media 0x00 (2D), " +
          std::to_string(688 + 9 * 272) +
          " bytes, 2 tracks\n"
          "  track 4 (C 2 H 0): 6 sectors, R 1 2 3 5 5 6 | unusual: R 2 has C 9 H 0; R 3 has N 2; "
          "R 6's header says 9 sectors; R 4 missing; R 5 repeated\n"
          "  track 5 (C 2 H 1): 0 sectors\n");
}

}  // namespace
