// What both programs do before and around any cut: the command line, files
// that can't be opened, and files that hold no usable disk.
#include <filesystem>
#include <string>
#include <vector>

#include "tests/tools/tool_test_support.h"

namespace {

using fixture::Bytes;
using fixture::Image;
using rip_test::kOpenError;

struct Program {
  std::string name;
  std::string usage;
};

void PrintTo(const Program& program, std::ostream* out) {
  *out << program.name;
}

class CommandLine : public rip_test::ToolTest, public ::testing::WithParamInterface<Program> {
 protected:
  CommandLine() : ToolTest(GetParam().name) {}

  // Tracks 0 to 60 of one whole disk: every sector either program reads.
  static Bytes wholeDisk() { return Image().standardTracks(0, 60).bytes(); }
};

TEST_P(CommandLine, WrongArgumentCountPrintsTheUsage) {
  dir.write(kImage, wholeDisk());
  for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{kImage, kImage}}) {
    const auto result = run(args);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, GetParam().usage);
    expectEntries({});
  }
}

TEST_P(CommandLine, AFileThatCannotBeOpenedIsReported) {
  std::filesystem::create_directory(dir / "folder.d88");
  for (const std::string path : {"missing.d88", "folder.d88"}) {
    const auto result = run({path});
    EXPECT_EQ(result.exitStatus, 1) << path;
    EXPECT_EQ(result.out, "") << path;
    EXPECT_EQ(result.err, kOpenError) << path;
    EXPECT_EQ(result.err.size(), 30u);
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"folder.d88"}));
  }
}

TEST_P(CommandLine, FilesWithoutAWholeImageHeaderGiveNothing) {
  for (std::size_t size : {std::size_t{0}, fixture::kImageHeaderSize - 1}) {
    const auto result = runOn(fixture::firstBytes(wholeDisk(), size));
    EXPECT_EQ(result.exitStatus, 0) << size;
    EXPECT_EQ(result.out, "") << size;
    EXPECT_EQ(result.err, "") << size;
    expectEntries({});
  }
}

TEST_P(CommandLine, HeaderValuesOf2GiBOrMoreGiveNothing) {
  // Every track either program reads, placed before or far behind the file.
  Image behind = Image().standardTracks(0, 60).diskSize(0x7FFFFFFF);
  Image before = Image().standardTracks(0, 60);
  for (int t = 0; t <= 60; ++t) {
    behind.trackOffset(t, 0x7FFFFFF0u + static_cast<std::uint32_t>(t % 16));
    before.trackOffset(t, 0x80000000u + static_cast<std::uint32_t>(t) * 0x01000000u);
  }
  struct Case {
    const char* what;
    Image image;
  };
  const Case cases[] = {
      {"offsets behind the file", behind},
      {"offsets before the file", before},
      {"negative disk size", Image().standardTracks(0, 60).diskSize(0x80000000)},
  };
  for (const Case& c : cases) {
    const auto result = runOn(c.image.bytes());
    EXPECT_EQ(result.exitStatus, 0) << c.what;
    EXPECT_EQ(result.out, "") << c.what;
    EXPECT_EQ(result.err, "") << c.what;
    expectEntries({});
  }
}

INSTANTIATE_TEST_SUITE_P(Programs, CommandLine,
                         ::testing::Values(Program{"marlrip", "Usage: marlrip [d88file]\n"},
                                           Program{"quenrip", "Usage: quenrip [d88file]\n"}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
