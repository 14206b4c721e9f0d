#include "shell/FeedFetch.h"

#include "platform/RegularFile.h"
#include "shell/FetchCancellation.h"
#include "shell/HttpFeedFetch.h"

namespace {

FeedFetchResult readFeedFile(const QString& path, qint64 maximumSize) {
  using Failure = FeedFetchResult::Failure;
  const std::unique_ptr<QFile> file = openRegularFile(path);
  if (!file) return FeedFetchResult::failed(Failure::unreadable);
  QByteArray body = file->read(maximumSize + 1);
  if (file->error() != QFileDevice::NoError) return FeedFetchResult::failed(Failure::unreadable);
  if (body.size() > maximumSize) return FeedFetchResult::failed(Failure::tooLarge);
  return {Failure::none, 0, std::move(body)};
}

}  // namespace

FeedFetch::FeedFetch(const QUrl& feed, FeedFetchLimits limits, Done done)
    : cancellation_(std::make_shared<FetchCancellation>()), overNetwork_(!feed.isLocalFile()) {
  thread_ = std::thread([feed, limits, done = std::move(done), cancellation = cancellation_] {
    const FeedFetchResult result = feed.isLocalFile() ? readFeedFile(feed.toLocalFile(), limits.maximumSize)
                                                      : fetchOverHttp(feed, limits, *cancellation);
    cancellation->unlessRequested([&] { done(result); });
  });
}

// A transfer returns as soon as it is woken; a file's read may be held in the
// kernel by a stopped mount, and is let go to end by itself.
FeedFetch::~FeedFetch() {
  cancellation_->request();
  if (overNetwork_)
    thread_.join();
  else
    thread_.detach();
}
