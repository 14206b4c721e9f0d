// Points XDG_DATA_HOME and HOME at a fresh temporary folder before any test runs: define
// one at namespace scope in every test program that moves files to the Trash.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace quelmaris::testing {

class TemporaryDataHome {
 public:
  TemporaryDataHome() {
    std::string templ = (std::filesystem::temp_directory_path() / "quelmaris-data-home-XXXXXX").string();
    // Better no test program at all than one that could use the real Trash.
    if (::mkdtemp(templ.data()) == nullptr) std::abort();
    if (::setenv("XDG_DATA_HOME", templ.c_str(), 1) != 0 || ::setenv("HOME", templ.c_str(), 1) != 0) std::abort();
    folder_ = templ;
  }
  ~TemporaryDataHome() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  TemporaryDataHome(const TemporaryDataHome&) = delete;
  TemporaryDataHome& operator=(const TemporaryDataHome&) = delete;

  const std::filesystem::path& folder() const { return folder_; }
  std::filesystem::path trash() const { return folder_ / "Trash"; }

 private:
  std::filesystem::path folder_;
};

}  // namespace quelmaris::testing
