// Application listeners as the core sees them: each listener handed to the
// core is entered in one table for the whole run and named by its odd handle;
// the core reaches it through the callback table (free, clone, on-event).
#pragma once

#include <quelmaris_ffi.h>

#include <cstdint>
#include <memory>

#include "interface/ScanEvent.h"
#include "interface/UniffiHandleMap.h"

// Receives the events of a scan, on the core's threads, possibly several at
// once: implementations are thread-safe and raise nothing.
class ScanListener {
 public:
  virtual ~ScanListener() = default;
  virtual void onEvent(ScanEvent event) = 0;
};

// Created on first use, kept for the whole run.
UniffiHandleMap<ScanListener>& listenerHandleMap();

// Built on first use, never freed; registered with the core by the
// agreement check.
const ScanListenerVTable& scanListenerVTable();

// Enters the listener in the table and returns its new handle, which the core
// releases through the table's free slot.
std::uint64_t lowerListener(std::shared_ptr<ScanListener> listener);
