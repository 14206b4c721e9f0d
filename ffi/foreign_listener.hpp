// The application's listeners as the core sees them. The application
// registers its callback table once; a ForeignListener holds one odd
// listener handle and reaches the application through that table: each event
// is serialised and passed to onEvent, and releasing the last reference
// gives the handle back through uniffiFree. Calls may come from any thread.
#pragma once

#include <cstdint>

#include "quelmaris_ffi.h"
#include "scan_listener.hpp"

namespace quelmaris::ffi {

void register_callback_table(const ScanListenerVTable* table) noexcept;
// Throws when no table has been registered.
const ScanListenerVTable& callback_table();
// Gives an application handle back without ever having used it.
void free_foreign_handle(std::uint64_t handle) noexcept;

class ForeignListener : public ScanListener {
 public:
  // Throws when no callback table has been registered.
  explicit ForeignListener(std::uint64_t handle);
  ~ForeignListener() override;
  ForeignListener(const ForeignListener&) = delete;
  ForeignListener& operator=(const ForeignListener&) = delete;

  // Throws when the application reports a failure of its callback.
  void on_event(const ScanEvent& event) override;

 private:
  std::uint64_t handle_;
};

}  // namespace quelmaris::ffi
