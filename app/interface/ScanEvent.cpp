#include "interface/ScanEvent.h"

namespace {

void feedPayload(HashFeed& feed, const ScanEvent::phase& e) { feed.add(e.phase); }
void feedPayload(HashFeed& feed, const ScanEvent::progress& e) {
  feed.add(e.filesSeen).add(e.bytesHashed).add(e.bytesToHash);
}
void feedPayload(HashFeed& feed, const ScanEvent::rootSkipped& e) { feed.add(e.path).add(e.reason); }
void feedPayload(HashFeed& feed, const ScanEvent::skipped& e) { feed.add(e.items); }
void feedPayload(HashFeed& feed, const ScanEvent::setReady& e) { feed.add(e.set); }
void feedPayload(HashFeed& feed, const ScanEvent::lookalikeReady& e) { feed.add(e.group); }
void feedPayload(HashFeed& feed, const ScanEvent::finished& e) { feed.add(e.summary); }
void feedPayload(HashFeed& feed, const ScanEvent::failed& e) { feed.add(e.error); }

}  // namespace

void feedHash(HashFeed& feed, const ScanEvent& event) {
  feed.add(static_cast<std::uint64_t>(event.value.index()));
  std::visit([&](const auto& payload) { feedPayload(feed, payload); }, event.value);
}

std::size_t qHash(const ScanEvent& value, std::size_t seed) { return HashFeed(seed).add(value).value(); }
