// A fresh, empty temporary folder for one test, removed afterwards.
#pragma once

#include <filesystem>
#include <set>
#include <string>

#include "tests/fixture/d88_builder.h"

namespace rip_test {

class Workspace {
 public:
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  void write(const std::string& name, const fixture::Bytes& bytes) const;
  fixture::Bytes read(const std::string& name) const;
  // The names of the entries in the folder, sorted.
  std::set<std::string> entries() const;

 private:
  std::filesystem::path path_;
};

}  // namespace rip_test
