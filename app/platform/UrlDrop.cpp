#include "platform/UrlDrop.h"

#include <QDropEvent>
#include <QMimeData>

bool acceptUrlDrop(QDropEvent& event) {
  const Qt::DropActions offered = event.possibleActions();
  if (!event.mimeData()->hasUrls() || !(offered & (Qt::CopyAction | Qt::LinkAction))) {
    event.ignore();
    return false;
  }
  event.setDropAction(offered.testFlag(Qt::CopyAction) ? Qt::CopyAction : Qt::LinkAction);
  event.accept();
  return true;
}
