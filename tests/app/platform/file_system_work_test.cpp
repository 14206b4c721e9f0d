// Work on the user's files shared out by mount, so that a mount that does
// not answer holds up only its own paths.
#include <gtest/gtest.h>

#include "platform/FileSystemWork.h"

namespace {

// /proc is a mount of its own on every Linux system, /proc/self/ns never one.
TEST(FileSystemWork, paths_on_another_mount_go_to_another_thread_and_a_long_list_to_several) {
  const QList<QByteArray> paths{"/proc/1", "/", "/proc/2", "/proc/self/ns"};
  EXPECT_EQ(FileSystemWork::groupedByMount(paths), (QList<QList<qsizetype>>{{0, 2, 3}, {1}}));

  QList<QByteArray> many;
  for (int i = 0; i < 600; ++i) many.append("/proc/" + QByteArray::number(i));
  QList<qsizetype> sizes;
  for (const QList<qsizetype>& group : FileSystemWork::groupedByMount(many)) sizes.append(group.size());
  EXPECT_EQ(sizes, (QList<qsizetype>{256, 256, 88}));
}

}  // namespace
