#include "temp_tree.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

#include <grp.h>
#include <linux/magic.h>
#include <sys/statfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quelmaris::testing {

TempTree::TempTree(const std::filesystem::path& parent) {
  std::string templ = (parent / "quelmaris-test-XXXXXX").string();
  if (::mkdtemp(templ.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = templ;
  // Let an unprivileged child reach the tree; each test sets the bits it tests.
  std::filesystem::permissions(root_, std::filesystem::perms::all);
}

TempTree::~TempTree() {
  std::error_code ec;
  // Restore permissions a test may have removed, so that removal succeeds.
  for (auto it = std::filesystem::recursive_directory_iterator(
           root_, std::filesystem::directory_options::skip_permission_denied, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_directory(ec) && !it->is_symlink(ec))
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
  }
  std::filesystem::remove_all(root_, ec);
}

std::string TempTree::write(std::string_view relative, std::string_view content) const {
  const auto full = root_ / relative;
  std::filesystem::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + full.string());
  return full.string();
}

std::string TempTree::mkdir(std::string_view relative) const {
  const auto full = root_ / relative;
  std::filesystem::create_directories(full);
  return full.string();
}

std::optional<std::filesystem::path> memory_volume() {
  struct statfs facts {};
  if (::statfs("/dev/shm", &facts) != 0 || facts.f_type != TMPFS_MAGIC) return std::nullopt;
  return "/dev/shm";
}

std::string patterned(std::size_t size, unsigned seed) {
  std::string s(size, '\0');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 31 + i / 251 + seed) & 0xFF);
  return s;
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int run_unprivileged(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(97);
    ::_exit(body());
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

}  // namespace quelmaris::testing
