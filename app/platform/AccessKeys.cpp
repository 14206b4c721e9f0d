#include "platform/AccessKeys.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

#include "platform/MainThread.h"

namespace {

constexpr char givenProperty[] = "quelmarisAccessKeys";

// The index of the character to become the key; -1 when every one is taken.
qsizetype freeKeyIndex(const QString& text, const QSet<QChar>& taken) {
  const auto isFree = [&](qsizetype at) {
    return text.at(at).isLetterOrNumber() && !taken.contains(text.at(at).toLower());
  };
  for (qsizetype at = 0; at < text.size(); ++at)
    if ((at == 0 || text.at(at - 1).isSpace()) && isFree(at)) return at;
  for (qsizetype at = 0; at < text.size(); ++at)
    if (isFree(at)) return at;
  return -1;
}

void assign(QMenu& menu) {
  QSet<QChar> taken;
  QList<QAction*> keyless;
  for (QAction* action : menu.actions()) {
    if (action->isSeparator() || !action->isVisible() || action->text().isEmpty()) continue;
    if (const QChar key = AccessKeys::of(action->text()); !key.isNull())
      taken.insert(key);
    else
      keyless.append(action);
    if (QMenu* submenu = action->menu()) AccessKeys::give(*submenu);
  }
  for (QAction* action : std::as_const(keyless)) {
    const QString text = action->text();
    const qsizetype at = freeKeyIndex(text, taken);
    if (at < 0) continue;
    taken.insert(text.at(at).toLower());
    action->setText(text.left(at) + u'&' + text.mid(at));
  }
}

}  // namespace

namespace AccessKeys {

void give(QMenu& menu) {
  requireMainThread();
  if (menu.property(givenProperty).toBool()) return;
  menu.setProperty(givenProperty, true);
  QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu] { assign(menu); });
}

void give(QMenuBar& bar) {
  requireMainThread();
  for (QAction* action : bar.actions())
    if (QMenu* menu = action->menu()) give(*menu);
}

QChar of(const QString& text) {
  for (qsizetype at = 0; at + 1 < text.size(); ++at) {
    if (text.at(at) != u'&') continue;
    if (text.at(at + 1) != u'&') return text.at(at + 1).toLower();
    ++at;  // "&&" is an ampersand shown as such
  }
  return {};
}

}  // namespace AccessKeys
