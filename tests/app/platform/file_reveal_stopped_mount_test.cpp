// Showing a file in the file manager when its folder's mount stopped
// answering: the window hands the place over without looking at it.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QUrl>
#include <filesystem>
#include <string>

#include "app_test_support.hpp"
#include "mount_namespace.hpp"
#include "platform/FileReveal.h"
#include "stopped_fuse_mount.hpp"
#include "temp_tree.hpp"

namespace {

namespace fs = std::filesystem;
using quelmaris::testing::StoppedFuseMount;

constexpr int kCannotMount = 90;

TEST(FileRevealOnAStoppedMount, hands_over_the_folder_of_a_file_on_a_mount_that_stopped_answering_without_waiting) {
  const quelmaris::testing::TempTree tree;
  const std::string served = fs::canonical(tree.mkdir("served")).string();
  const std::string top = fs::canonical(tree.mkdir("mounted")).string();
  tree.write("served/photos/a.jpg", "photo");
  const int status = quelmaris::testing::run_in_private_mount_namespace([&] {
    StoppedFuseMount mount(served, top);
    if (!mount.mounted()) return kCannotMount;
    // No session bus: the parent folder opens at once.
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quelmaris-test-bus", 1);
    apptest::application();
    QUrl opened;
    mount.stop();
    FileReveal::revealWithFallback(QString::fromStdString(top + "/photos/a.jpg"),
                                   [&](const QUrl& folder) { opened = folder; });
    if (!mount.stopped()) return 1;  // the reveal waited for the mount
    mount.resume();
    return opened == apptest::urlOf(top + "/photos") ? 0 : 2;
  });
  if (status == quelmaris::testing::kNoMountNamespace || status == kCannotMount)
    GTEST_SKIP() << "no mount namespace or no FUSE here";
  EXPECT_EQ(status, 0) << "1: the reveal waited for the mount; 2: another folder opened";
}

}  // namespace
