// Fetches the bytes of the update feed off the main thread, so that neither a
// server nor a file ever holds the window: http and https with libcurl
// (HttpFeedFetch), file:// only when the path is a regular file, opened
// without blocking (a FIFO would wait for a writer forever). A file's read
// stuck on a stopped network mount cannot be interrupted; the caller's
// deadline ends the check, and the read is let go. At most `maximumSize`
// bytes of the feed are read, and no more are kept.
#pragma once

#include <QByteArray>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

class FetchCancellation;

struct FeedFetchResult {
  enum class Failure {
    none,
    tooLarge,
    // No byte came for the silence limit.
    silent,
    // The server answered with a status other than success or redirection.
    httpStatus,
    // A redirect to another scheme than http or https, from https to http,
    // or one too many.
    refusedRedirect,
    unreachable,
    // The server's certificate was not accepted.
    untrusted,
    // A successful answer ended before its body did.
    interrupted,
    // A file feed that is missing, not a regular file, or unreadable.
    unreadable,
  };

  Failure failure = Failure::none;
  // The status of the server's last answer; 0 without one.
  int httpStatus = 0;
  QByteArray body;

  static FeedFetchResult failed(Failure failure, int httpStatus = 0) { return {failure, httpStatus, {}}; }
};

struct FeedFetchLimits {
  qint64 maximumSize = 0;
  // Without a byte for this long, a transfer is given up.
  std::chrono::milliseconds silence{};
};

class FeedFetch {
 public:
  // Called once, on the fetching thread, with the result, unless the fetch
  // is destroyed first.
  using Done = std::function<void(const FeedFetchResult&)>;

  FeedFetch(const QUrl& feed, FeedFetchLimits limits, Done done);
  // Cancels: `done` is not called once this has returned. Returns at once.
  ~FeedFetch();

  FeedFetch(const FeedFetch&) = delete;
  FeedFetch& operator=(const FeedFetch&) = delete;

 private:
  std::shared_ptr<FetchCancellation> cancellation_;
  bool overNetwork_;
  std::thread thread_;
};
