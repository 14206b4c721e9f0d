#include "folders/SecurityScope.h"

#include <gtest/gtest.h>

namespace {

TEST(SecurityScope, every_folder_is_granted_in_order_and_an_empty_list_stays_empty) {
  const QList<QUrl> roots{QUrl::fromLocalFile(QStringLiteral("/b")), QUrl::fromLocalFile(QStringLiteral("/a"))};
  const QList<QUrl> started = SecurityScope::startAccessing(roots);
  EXPECT_EQ(started, roots);
  SecurityScope::stopAccessing(started);
  EXPECT_TRUE(SecurityScope::startAccessing({}).isEmpty());
}

}  // namespace
