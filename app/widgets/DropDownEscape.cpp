#include "widgets/DropDownEscape.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QKeyEvent>

#include "platform/MainThread.h"

namespace {

// Claimed here, before the drop-down sees it, the key comes back as a key
// press to the open drop-down, which closes as any popup does on Escape.
class EscapeClaim final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ShortcutOverride || !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel))
      return QObject::eventFilter(watched, event);
    event->accept();
    return true;
  }
};

}  // namespace

namespace DropDownEscape {

void closeDropDownAlone(QComboBox& box) {
  requireMainThread();
  box.view()->installEventFilter(new EscapeClaim(&box));
}

}  // namespace DropDownEscape
