// A folder served through a FUSE mount (bindfs) whose server can be stopped,
// as a network mount whose server went away: from stop() on, every call into
// the mount waits in the kernel until the server goes on. Names and
// attributes are not cached, so that no call is answered without the server.
// Mount it inside a private mount namespace (mount_namespace.hpp). The server
// always goes on again, and the folder is unmounted, when the object ends.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace quelmaris::testing {

class StoppedFuseMount {
 public:
  // Serves the folder at served on the folder at mountPoint; both exist.
  StoppedFuseMount(const std::string& served, std::string mountPoint);
  ~StoppedFuseMount();
  StoppedFuseMount(const StoppedFuseMount&) = delete;
  StoppedFuseMount& operator=(const StoppedFuseMount&) = delete;

  // False when bindfs or /dev/fuse is missing or the mount failed.
  bool mounted() const { return server_ > 0; }
  const std::string& mountPoint() const { return mountPoint_; }

  // Stops the server. A watchdog lets it go on after a deadline long enough
  // for any machine, so that a test whose thread waits on the mount ends
  // with stopped() false instead of hanging.
  void stop();
  // Lets the server go on.
  void resume();
  // From stop() until resume() or the watchdog.
  bool stopped() const { return stopped_; }

 private:
  bool waitUntilMounted() const;

  std::string mountPoint_;
  pid_t server_ = -1;
  std::atomic<bool> stopped_{false};
  std::mutex mutex_;
  std::condition_variable resumed_;
  std::thread watchdog_;
};

}  // namespace quelmaris::testing
