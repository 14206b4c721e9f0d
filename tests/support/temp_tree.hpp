// A temporary folder for one test, removed with everything in it at the end,
// with small helpers to build trees of real files.
#pragma once

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace quelmaris::testing {

class TempTree {
public:
  // The tree is made inside `parent`, by default the system's temporary folder.
  explicit TempTree(const std::filesystem::path& parent = std::filesystem::temp_directory_path());
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::string path(std::string_view relative) const { return (root_ / relative).string(); }

  // Writes a file (creating its folders) and returns its full path.
  std::string write(std::string_view relative, std::string_view content) const;
  // Writes each {relative path, content} file.
  void write(std::initializer_list<std::pair<std::string_view, std::string_view>> files) const {
    for (const auto& [relative, content] : files) write(relative, content);
  }
  std::string mkdir(std::string_view relative) const;

private:
  std::filesystem::path root_;
};

// A folder on a memory file system (tmpfs), which keeps no extent map;
// absent where this machine has none at /dev/shm.
std::optional<std::filesystem::path> memory_volume();

// Bytes of the given size in a pattern that repeats only every 64 KiB or so;
// another seed gives other bytes of the same size.
std::string patterned(std::size_t size, unsigned seed = 0);

// The file's bytes; empty when it cannot be read.
std::string read_file(const std::filesystem::path& path);

// Runs body in a forked child that has dropped root privileges to "nobody"
// (uid/gid 65534) and returns the child's exit status (0 on success). Use it
// to test what permission bits do: root reads everything.
int run_unprivileged(const std::function<int()>& body);

}  // namespace quelmaris::testing
