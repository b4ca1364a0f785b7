#include "tests/support/program_runner.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#ifndef RIP_TOOLS_SUFFIX
#define RIP_TOOLS_SUFFIX ""
#endif
#ifndef RIP_TOOLS_EMULATOR
#define RIP_TOOLS_EMULATOR ""
#endif
#ifndef RIP_WINEPREFIX
#define RIP_WINEPREFIX ""
#endif

namespace rip_test {

namespace {

std::string environmentOr(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? value : fallback;
}

std::string emulator() {
  return environmentOr("RIP_TOOLS_EMULATOR", RIP_TOOLS_EMULATOR);
}

std::string programPath(std::string_view name) {
  const std::filesystem::path dir = environmentOr("RIP_TOOLS_DIR", RIP_TOOLS_DIR);
  return (dir / (std::string(name) + environmentOr("RIP_TOOLS_SUFFIX", RIP_TOOLS_SUFFIX))).string();
}

// A file that receives one of the child's output streams, outside the folder
// whose contents the tests check.
class CaptureFile {
 public:
  CaptureFile() {
    path_ = (std::filesystem::temp_directory_path() / "rip-capture-XXXXXX").string();
    fd_ = mkstemp(path_.data());
    if (fd_ < 0) throw std::runtime_error("cannot create a capture file");
  }
  ~CaptureFile() {
    close(fd_);
    std::filesystem::remove(path_);
  }
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;

  int fd() const { return fd_; }
  std::string contents() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  std::string path_;
  int fd_ = -1;
};

[[noreturn]] void runChild(const std::vector<std::string>& command,
                           const std::filesystem::path& workDir, const RunOptions& options,
                           int outFd, int errFd) {
  const int nullFd = ::open("/dev/null", O_RDONLY);
  if (nullFd < 0 || dup2(nullFd, 0) < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0) _exit(126);
  if (chdir(workDir.c_str()) != 0) _exit(126);
  if (programsAreEmulated()) {
    setenv("WINEDEBUG", "-all", 1);
    if (*RIP_WINEPREFIX != '\0') setenv("WINEPREFIX", RIP_WINEPREFIX, 0);
  }
  if (options.fileSizeLimit) {
    // Writes past the limit then fail with an error instead of a signal.
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(126);
  }
  std::vector<char*> argv;
  for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

// A Windows console program's C runtime writes "\r\n" for every "\n": exactly
// that translation is undone, and a line end without it is marked so that it
// can't match what a test expects.
std::string consoleText(const std::string& raw) {
  if (!programsAreEmulated()) return raw;
  std::string text;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    if (raw[i] == '\n' && (i == 0 || raw[i - 1] != '\r')) text += "<LF without CR>";
    text += raw[i];
  }
  return text;
}

}  // namespace

bool programsAreEmulated() {
  return !emulator().empty();
}

RunResult runProgram(std::string_view name, const std::vector<std::string>& args,
                     const std::filesystem::path& workDir, const RunOptions& options) {
  std::vector<std::string> command;
  if (programsAreEmulated()) command.push_back(emulator());
  command.push_back(programPath(name));
  command.insert(command.end(), args.begin(), args.end());

  CaptureFile out;
  CaptureFile err;
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) runChild(command, workDir, options, out.fd(), err.fd());

  int status = 0;
  if (waitpid(child, &status, 0) != child) throw std::runtime_error("waitpid failed");
  RunResult result;
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = consoleText(out.contents());
  result.err = consoleText(err.contents());
  return result;
}

}  // namespace rip_test
