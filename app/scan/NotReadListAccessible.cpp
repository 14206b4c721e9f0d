#include "scan/NotReadListAccessible.h"

#include <QListView>

#include "platform/AccessibleList.h"
#include "scan/NotReadListModel.h"

void NotReadListAccessible::install(QListView& view) {
  AccessibleList::install(view, {.isHeading = [](const QModelIndex& index) {
                            return index.data(NotReadListModel::IsHeadingRole).toBool();
                          }});
}
