// The check that stands in for main-thread confinement: views, actions and
// stores run on the thread of the application object; a call from any other
// thread is a programming error and stops the program, in every build type.
#pragma once

#include <QCoreApplication>
#include <QThread>
#include <QtGlobal>

inline void requireMainThread() {
  const auto* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() != app->thread())
    qFatal("Quelmaris: called off the main thread");
}
