// Buffer operations: the application gets every serialised argument into a
// buffer of the core's allocator through these, and frees every buffer the
// core hands it.
#include <stdexcept>

#include "call_status.hpp"
#include "core_buffer.hpp"

using namespace quelmaris::ffi;

extern "C" {

CoreBuffer quelmaris_ffi_corebuffer_alloc(uint64_t size, CoreCallStatus* status) {
  return guarded(status, [&] { return allocate_buffer(size); });
}

void quelmaris_ffi_corebuffer_free(CoreBuffer buf, CoreCallStatus* status) {
  guarded(status, [&] { free_buffer(buf); });
}

CoreBuffer quelmaris_ffi_corebuffer_from_bytes(ForeignBytes bytes, CoreCallStatus* status) {
  return guarded(status, [&] {
    if (bytes.data == nullptr && bytes.len != 0) throw std::invalid_argument("null ForeignBytes had non-zero length");
    if (bytes.len < 0) throw std::invalid_argument("bytes length negative or overflowed");
    return copy_to_buffer({bytes.data, static_cast<std::size_t>(bytes.len)});
  });
}

CoreBuffer quelmaris_ffi_corebuffer_reserve(CoreBuffer buf, uint64_t additional, CoreCallStatus* status) {
  return guarded(status, [&] { return BufferArg(buf).release_reserved(additional); });
}

}  // extern "C"
