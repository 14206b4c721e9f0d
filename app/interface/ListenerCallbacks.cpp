#include "interface/ListenerCallbacks.h"

#include <cstdio>

#include "interface/CoreCall.h"

namespace {

void uniffiFree(std::uint64_t handle) {
  try {
    listenerHandleMap().remove(handle);
  } catch (const UniffiInternalError&) {
    std::printf("Uniffi callback interface ScanListener: handle missing in uniffiFree\n");
    std::fflush(stdout);
  }
}

std::uint64_t uniffiClone(std::uint64_t handle) {
  try {
    return listenerHandleMap().clone(handle);
  } catch (const UniffiInternalError&) {
    stopProgram(QStringLiteral("Uniffi callback interface ScanListener: handle missing in uniffiClone"));
  }
}

// Reports a failure to the core as code 2 with its text; when not even the
// text's buffer can be made, the code alone.
void reportFailure(CoreCallStatus* status, const QString& text) {
  status->code = 2;
  try {
    status->errorBuf = sendBytes(text.toUtf8());
  } catch (const UniffiInternalError&) {
    status->errorBuf = CoreBuffer{0, 0, nullptr};
  }
}

// The event is read and delivered outside the table's lock, so deliveries on
// several core threads run at once. Nothing may escape into the core.
void onEvent(std::uint64_t handle, CoreBuffer event, void* /*ret*/, CoreCallStatus* status) {
  try {
    const ReceivedBuffer owned(event);
    const auto listener = listenerHandleMap().get(handle);
    ByteReader in = owned.reader();
    ScanEvent value = read<ScanEvent>(in);
    in.expectEnd();
    listener->onEvent(std::move(value));
  } catch (const UniffiInternalError& error) {
    reportFailure(status, error.description());
  } catch (const std::exception& error) {
    reportFailure(status, QString::fromUtf8(error.what()));
  } catch (...) {
    reportFailure(status, QStringLiteral("The listener failed"));
  }
}

}  // namespace

UniffiHandleMap<ScanListener>& listenerHandleMap() {
  // Never destroyed: a scan thread may still release its listener while the
  // process exits.
  static auto* map = new UniffiHandleMap<ScanListener>();
  return *map;
}

const ScanListenerVTable& scanListenerVTable() {
  static const ScanListenerVTable table{uniffiFree, uniffiClone, onEvent};
  return table;
}

std::uint64_t lowerListener(std::shared_ptr<ScanListener> listener) {
  return listenerHandleMap().insert(std::move(listener));
}
