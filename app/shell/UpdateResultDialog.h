// The result of an update check, shown without blocking the application: an
// available update with its version (and build, when only the builds differ),
// its notes as plain text and a button that opens its (https) download page;
// the running version being the newest; or a check that failed and why. One
// result is shown at a time, over the main window. Main thread only.
#pragma once

#include <QDialog>

#include "shell/FeedUpdater.h"

class UpdateResultDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit UpdateResultDialog(const UpdateCheckResult& result, QWidget* parent = nullptr);

  // Shows the result over the window in a dialog of its own that deletes
  // itself when closed, in place of any result still shown.
  static void present(const UpdateCheckResult& result, QWidget* over);
};
