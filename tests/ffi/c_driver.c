/* Drives the core through its C interface alone, as a C program would: a run of
 * the default configuration whose events arrive through the registered callback
 * table. The agreement constants are checked by the application's tests. */
#include "quelmaris_ffi.h"
#include "quelmaris_ffi_checksums.h"

#include <stdatomic.h>
#include <stdio.h>

static int failures;

#define CHECK(cond)                                                               \
    do {                                                                          \
        if (!(cond)) {                                                            \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                           \
        }                                                                         \
    } while (0)

enum { kTagPhase = 1, kTagFailed = 8, kListing = 1 };

/* What the callback table saw for the one listener handle. */
static atomic_int events, frees, clones, first_tag, first_payload, last_tag;

static int32_t be32(const uint8_t *p) {
    return (int32_t)(((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | (uint32_t)p[3]);
}

static void on_free(uint64_t handle) {
    CHECK(handle == 1);
    atomic_fetch_add(&frees, 1);
}

static uint64_t on_clone(uint64_t handle) {
    atomic_fetch_add(&clones, 1);
    return handle;
}

static void on_event(uint64_t handle, CoreBuffer event, void *ret, CoreCallStatus *status) {
    CoreCallStatus free_status = {0};
    int tag = event.len >= 4 ? be32(event.data) : 0;
    (void)ret;
    (void)status;
    CHECK(handle == 1);
    if (atomic_fetch_add(&events, 1) == 0) {
        atomic_store(&first_tag, tag);
        atomic_store(&first_payload, event.len >= 8 ? be32(event.data + 4) : 0);
    }
    atomic_store(&last_tag, tag);
    quelmaris_ffi_corebuffer_free(event, &free_status);
    CHECK(free_status.code == 0);
}

static const ScanListenerVTable table = {on_free, on_clone, on_event};

int main(void) {
    CoreCallStatus status = {0};
    CoreBuffer config;
    uint64_t job;
    quelmaris_ffi_init_callback_vtable_scanlistener(&table);

    /* The defaults list no folder: the run reports Listing, then fails. */
    config = quelmaris_ffi_default_scan_config(&status);
    CHECK(status.code == 0 && config.data != NULL && config.len > 8 && be32(config.data) == 0);
    job = quelmaris_ffi_scanjob_new(&status);
    CHECK(status.code == 0 && job != 0 && job % 2 == 0);
    quelmaris_ffi_scanjob_run(quelmaris_ffi_object_clone(job, &status), config, 1, &status);
    CHECK(status.code == 0);
    CHECK(atomic_load(&events) == 2);
    CHECK(atomic_load(&first_tag) == kTagPhase && atomic_load(&first_payload) == kListing);
    CHECK(atomic_load(&last_tag) == kTagFailed);
    CHECK(atomic_load(&frees) == 1 && atomic_load(&clones) == 0);
    quelmaris_ffi_scanjob_free(job, &status);
    CHECK(status.code == 0);
    return failures == 0 ? 0 : 1;
}
