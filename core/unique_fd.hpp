// An open file descriptor, closed when dropped.
#pragma once

#include <utility>

namespace quelmaris {

class UniqueFd {
public:
  explicit UniqueFd(int fd = -1) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  ~UniqueFd();
  int get() const { return fd_; }

private:
  int fd_;
};

}  // namespace quelmaris
