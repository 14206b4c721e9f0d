#include "shell/HttpFeedFetch.h"

#include <QNetworkProxyFactory>

#include "shell/FetchCancellation.h"

namespace {

using Clock = std::chrono::steady_clock;
using Failure = FeedFetchResult::Failure;

constexpr int maximumRedirects = 10;

bool successful(long status) { return status >= 200 && status < 300; }

bool mayRedirect(const QUrl& from, const QUrl& to) {
  const QString scheme = to.scheme();
  if (!to.isValid() || to.host().isEmpty()) return false;
  if (scheme == QLatin1String("https")) return true;
  return scheme == QLatin1String("http") && from.scheme() == QLatin1String("http");
}

Failure failureOf(CURLcode code) {
  switch (code) {
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_INVALIDCERTSTATUS:
      return Failure::untrusted;
    default:
      return Failure::unreachable;
  }
}

// The proxy the desktop or the environment names for an address, as Qt finds
// it (which may take a while: a proxy script is fetched and run); empty for a
// direct connection.
QByteArray systemProxy(const QUrl& url) {
  const QList<QNetworkProxy> proxies = QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(url));
  if (proxies.isEmpty()) return {};
  const QNetworkProxy& proxy = proxies.first();
  QUrl address;
  if (proxy.type() == QNetworkProxy::HttpProxy)
    address.setScheme(QStringLiteral("http"));
  else if (proxy.type() == QNetworkProxy::Socks5Proxy)
    address.setScheme(QStringLiteral("socks5h"));
  else
    return {};
  address.setHost(proxy.hostName());
  address.setPort(proxy.port());
  address.setUserName(proxy.user());
  address.setPassword(proxy.password());
  return address.toEncoded();
}

// What the transfers of one fetch have received.
struct Reception {
  CURL* easy = nullptr;
  qint64 maximumSize = 0;
  qint64 headerBytes = 0;
  QByteArray body;
  bool tooLarge = false;
  Clock::time_point lastByte = Clock::now();
};

size_t receiveHeader(char* /*data*/, size_t size, size_t count, void* reception) {
  auto& received = *static_cast<Reception*>(reception);
  const size_t bytes = size * count;
  received.lastByte = Clock::now();
  received.headerBytes += qint64(bytes);
  if (received.headerBytes <= received.maximumSize) return bytes;
  received.tooLarge = true;
  return 0;
}

size_t receiveBody(char* data, size_t size, size_t count, void* reception) {
  auto& received = *static_cast<Reception*>(reception);
  const size_t bytes = size * count;
  received.lastByte = Clock::now();
  long status = 0;
  curl_easy_getinfo(received.easy, CURLINFO_RESPONSE_CODE, &status);
  if (!successful(status)) return 0;
  if (received.body.size() + qint64(bytes) > received.maximumSize) {
    received.tooLarge = true;
    return 0;
  }
  received.body.append(data, qsizetype(bytes));
  return bytes;
}

class Transfer {
 public:
  Transfer(const FeedFetchLimits& limits, FetchCancellation& cancellation)
      : multi_(curl_multi_init()), easy_(curl_easy_init()), cancellation_(cancellation), silence_(limits.silence) {
    reception_.easy = easy_;
    reception_.maximumSize = limits.maximumSize;
    curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    // Ending never waits for a name lookup still running.
    curl_easy_setopt(easy_, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, long{CURL_HTTP_VERSION_1_1});
    curl_easy_setopt(easy_, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &receiveHeader);
    curl_easy_setopt(easy_, CURLOPT_HEADERDATA, &reception_);
    curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &receiveBody);
    curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &reception_);
  }

  ~Transfer() {
    cancellation_.stopWaking();
    curl_easy_cleanup(easy_);
    curl_multi_cleanup(multi_);
  }

  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  FeedFetchResult fetch(QUrl url) {
    if (multi_ == nullptr || easy_ == nullptr || !cancellation_.wakes(multi_))
      return FeedFetchResult::failed(Failure::unreachable);
    for (int redirects = 0; redirects <= maximumRedirects; ++redirects) {
      const CURLcode code = perform(url);
      if (silent_) return FeedFetchResult::failed(Failure::silent);
      if (reception_.tooLarge) return FeedFetchResult::failed(Failure::tooLarge);
      long status = 0;
      curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status);
      if (successful(status)) {
        if (code != CURLE_OK) return FeedFetchResult::failed(Failure::interrupted, int(status));
        return {Failure::none, int(status), std::move(reception_.body)};
      }
      const char* location = nullptr;
      curl_easy_getinfo(easy_, CURLINFO_REDIRECT_URL, &location);
      if (status >= 300 && status < 400 && location != nullptr) {
        const QUrl next(QString::fromUtf8(location), QUrl::StrictMode);
        if (!mayRedirect(url, next)) return FeedFetchResult::failed(Failure::refusedRedirect, int(status));
        url = next;
        continue;
      }
      if (status != 0) return FeedFetchResult::failed(Failure::httpStatus, int(status));
      return FeedFetchResult::failed(failureOf(code));
    }
    return FeedFetchResult::failed(Failure::refusedRedirect);
  }

 private:
  // One request, until its answer ends, the server falls silent or the fetch is cancelled.
  CURLcode perform(const QUrl& url) {
    curl_easy_setopt(easy_, CURLOPT_URL, url.toEncoded().constData());
    // Empty: a direct connection, whatever the environment says, as the system's proxy covers it.
    curl_easy_setopt(easy_, CURLOPT_PROXY, systemProxy(url).constData());
    curl_multi_add_handle(multi_, easy_);
    reception_.lastByte = Clock::now();
    CURLcode code = CURLE_ABORTED_BY_CALLBACK;
    for (int running = 1; curl_multi_perform(multi_, &running) == CURLM_OK && running != 0;) {
      if (cancellation_.requested()) break;
      const auto quiet = Clock::now() - reception_.lastByte;
      if (quiet >= silence_) {
        silent_ = true;
        break;
      }
      const auto wait = std::chrono::ceil<std::chrono::milliseconds>(silence_ - quiet);
      curl_multi_poll(multi_, nullptr, 0, int(wait.count()), nullptr);
    }
    int queued = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi_, &queued))
      if (message->msg == CURLMSG_DONE) code = message->data.result;
    curl_multi_remove_handle(multi_, easy_);
    return code;
  }

  CURLM* multi_;
  CURL* easy_;
  FetchCancellation& cancellation_;
  std::chrono::milliseconds silence_;
  Reception reception_;
  bool silent_ = false;
};

}  // namespace

FeedFetchResult fetchOverHttp(const QUrl& feed, const FeedFetchLimits& limits, FetchCancellation& cancellation) {
  // Once for the run, whichever thread comes first (thread-safe since libcurl 7.84).
  static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (initialised != CURLE_OK) return FeedFetchResult::failed(Failure::unreachable);
  Transfer transfer(limits, cancellation);
  return transfer.fetch(feed);
}
