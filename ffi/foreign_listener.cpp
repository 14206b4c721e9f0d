#include "foreign_listener.hpp"

#include <atomic>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core_buffer.hpp"
#include "text.hpp"
#include "value_form.hpp"

namespace quelmaris::ffi {

namespace {

// Written once at registration, before any listener handle reaches the core.
std::atomic<const ScanListenerVTable*> registered_table{nullptr};

std::string quoted(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\0':
        out += "\\0";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
          char escaped[12];
          std::snprintf(escaped, sizeof escaped, "\\u{%x}", static_cast<unsigned>(c));
          out += escaped;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// The application reported a failure: its errorBuf is ours to free.
[[noreturn]] void throw_callback_failure(const CoreCallStatus& status) {
  const BufferArg error(status.errorBuf);
  if (status.code == 1) throw std::runtime_error("Callback interface method returned unexpected error");
  const auto bytes = error.bytes();
  const std::string reason = text::repair_utf8({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
  throw std::runtime_error("Callback interface failure: UnexpectedUniFFICallbackError(reason: " + quoted(reason) + ")");
}

}  // namespace

void register_callback_table(const ScanListenerVTable* table) noexcept {
  registered_table.store(table, std::memory_order_release);
}

const ScanListenerVTable& callback_table() {
  const ScanListenerVTable* table = registered_table.load(std::memory_order_acquire);
  if (table == nullptr) throw std::runtime_error("Foreign pointer not set.  This is likely a uniffi bug.");
  return *table;
}

void free_foreign_handle(std::uint64_t handle) noexcept {
  if (const ScanListenerVTable* table = registered_table.load(std::memory_order_acquire)) table->uniffiFree(handle);
}

ForeignListener::ForeignListener(std::uint64_t handle) : handle_(handle) { callback_table(); }

ForeignListener::~ForeignListener() { free_foreign_handle(handle_); }

void ForeignListener::on_event(const ScanEvent& event) {
  const ScanListenerVTable& table = callback_table();
  CoreCallStatus status{0, CoreBuffer{0, 0, nullptr}};
  std::uint8_t unused_result = 0;
  table.onEvent(handle_, lower(event), &unused_result, &status);
  if (status.code != 0) throw_callback_failure(status);
}

}  // namespace quelmaris::ffi
