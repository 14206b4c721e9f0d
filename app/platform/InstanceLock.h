// A lock that one process at a time holds on a file, taken without waiting
// and held until the object goes or the process ends, however it ends: the
// kernel drops it with the last descriptor, so a copy that crashed leaves no
// stale lock behind. Not inherited by programs the holder starts. Main thread.
#pragma once

#include <QString>

class InstanceLock {
 public:
  enum class Outcome {
    Taken,          // this object holds it
    HeldElsewhere,  // another open of the file holds it, in this process or another
    Unavailable,    // the file cannot be opened or locked; logged
  };

  explicit InstanceLock(QString path);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Creates the file when it is missing (0600); a path whose last part is a
  // symbolic link or anything but a regular file is Unavailable. Taken again
  // once held.
  Outcome take();

 private:
  QString path_;
  int descriptor_ = -1;
};
