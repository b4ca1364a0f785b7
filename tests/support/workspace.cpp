#include "tests/support/workspace.h"

#include <random>
#include <stdexcept>
#include <system_error>

namespace rip_test {

Workspace::Workspace() {
  std::random_device random;
  const auto base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const auto candidate = base / ("rip-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

Workspace::~Workspace() {
  // A test may have taken away write permission; give it back to clean up.
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, error)) {
    if (entry.is_directory(error) && !entry.is_symlink(error)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, error);
    }
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, error);
  std::filesystem::remove_all(path_, error);
}

void Workspace::write(const std::string& name, const fixture::Bytes& bytes) const {
  fixture::writeFile(path_ / name, bytes);
}

fixture::Bytes Workspace::read(const std::string& name) const {
  return fixture::readFile(path_ / name);
}

std::set<std::string> Workspace::entries() const {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

}  // namespace rip_test
