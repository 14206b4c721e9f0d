#include "shell/ScanOptionsBinding.h"

#include <utility>

#include "platform/MainThread.h"

ScanOptionsBinding::ScanOptionsBinding(Get get, Set set, QObject* parent)
    : QObject(parent), get_(std::move(get)), set_(std::move(set)) {}

ScanOptions ScanOptionsBinding::get() const {
  requireMainThread();
  return get_();
}

void ScanOptionsBinding::set(const ScanOptions& options) {
  requireMainThread();
  const ScanOptions before = get_();
  set_(options);
  if (get_() != before) emit changed();
}

void ScanOptionsBinding::edit(const std::function<void(ScanOptions&)>& change) {
  ScanOptions options = get();
  change(options);
  set(options);
}
