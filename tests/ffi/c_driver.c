/* Drives the core through its C interface alone, as a C program would: the
 * agreement constants, the default configuration, buffers, and a scan of a
 * real folder whose events arrive through the registered callback table. */
#define _POSIX_C_SOURCE 200809L

#include "quelmaris_ffi.h"
#include "quelmaris_ffi_checksums.h"

#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int failures;

#define CHECK(cond)                                                               \
    do {                                                                          \
        if (!(cond)) {                                                            \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
            ++failures;                                                           \
        }                                                                         \
    } while (0)

enum { kTagPhase = 1, kTagSetReady = 5, kTagFinished = 7 };

/* What the callback table saw for the one listener handle. */
static atomic_int events, frees, clones, first_tag, first_payload, last_tag, sets;

static CoreCallStatus fresh_status(void) {
    CoreCallStatus status;
    memset(&status, 0, sizeof status);
    return status;
}

static int32_t be32(const uint8_t *p) {
    return (int32_t)(((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | (uint32_t)p[3]);
}

static void on_free(uint64_t handle) {
    (void)handle;
    atomic_fetch_add(&frees, 1);
}

static uint64_t on_clone(uint64_t handle) {
    atomic_fetch_add(&clones, 1);
    return handle;
}

static void on_event(uint64_t handle, CoreBuffer event, void *ret, CoreCallStatus *status) {
    CoreCallStatus free_status = fresh_status();
    int tag = event.len >= 4 ? be32(event.data) : 0;
    (void)handle;
    (void)ret;
    (void)status;
    if (atomic_fetch_add(&events, 1) == 0) {
        atomic_store(&first_tag, tag);
        atomic_store(&first_payload, event.len >= 8 ? be32(event.data + 4) : 0);
    }
    atomic_store(&last_tag, tag);
    if (tag == kTagSetReady) atomic_fetch_add(&sets, 1);
    quelmaris_ffi_corebuffer_free(event, &free_status);
    CHECK(free_status.code == 0);
}

static const ScanListenerVTable table = {on_free, on_clone, on_event};

/* A serialised argument, built as the application builds one. */
struct Bytes {
    uint8_t data[8192];
    int32_t len;
};

static void put_bytes(struct Bytes *b, const void *p, size_t n) {
    memcpy(b->data + b->len, p, n);
    b->len += (int32_t)n;
}

static void put_u32(struct Bytes *b, uint32_t v) {
    uint8_t be[4] = {(uint8_t)(v >> 24), (uint8_t)(v >> 16), (uint8_t)(v >> 8), (uint8_t)v};
    put_bytes(b, be, 4);
}

static void put_text(struct Bytes *b, const char *text) {
    put_u32(b, (uint32_t)strlen(text));
    put_bytes(b, text, strlen(text));
}

/* The default configuration with the given roots in place of its empty list. */
static CoreBuffer config_for(const char *root_a, const char *root_b) {
    CoreCallStatus status = fresh_status();
    CoreBuffer defaults = quelmaris_ffi_default_scan_config(&status), buffer;
    struct Bytes config;
    ForeignBytes foreign;
    CHECK(status.code == 0 && defaults.data != NULL && defaults.len > 8);
    CHECK(be32(defaults.data) == 0); /* no roots in the defaults */
    config.len = 0;
    put_u32(&config, 2);
    put_text(&config, root_a);
    put_text(&config, root_b);
    put_bytes(&config, defaults.data + 4, (size_t)defaults.len - 4);
    quelmaris_ffi_corebuffer_free(defaults, &status);
    foreign.len = config.len;
    foreign.data = config.data;
    buffer = quelmaris_ffi_corebuffer_from_bytes(foreign, &status);
    CHECK(status.code == 0);
    return buffer;
}

static void write_file(const char *path, size_t size) {
    FILE *f = fopen(path, "wb");
    size_t i;
    CHECK(f != NULL);
    if (f == NULL) return;
    for (i = 0; i < size; ++i) fputc((int)(i % 251), f);
    fclose(f);
}

static void scan_a_real_folder(const char *a, const char *b) {
    CoreCallStatus status = fresh_status();
    uint64_t job = quelmaris_ffi_scanjob_new(&status);
    CHECK(status.code == 0 && job != 0 && job % 2 == 0);
    quelmaris_ffi_scanjob_run(quelmaris_ffi_object_clone(job, &status), config_for(a, b), 1, &status);
    CHECK(status.code == 0);
    CHECK(atomic_load(&events) >= 2);
    CHECK(atomic_load(&first_tag) == kTagPhase);
    CHECK(atomic_load(&first_payload) == 1); /* Listing */
    CHECK(atomic_load(&last_tag) == kTagFinished);
    CHECK(atomic_load(&sets) == 1);
    CHECK(atomic_load(&frees) == 1);
    CHECK(atomic_load(&clones) == 0);
    quelmaris_ffi_scanjob_free(job, &status);
    CHECK(status.code == 0);
}

int main(void) {
    char root[] = "/tmp/quelmaris-c-driver-XXXXXX";
    char a[64], b[64], file_a[80], file_b[80];
    CHECK(quelmaris_ffi_contract_version() == QUELMARIS_FFI_CONTRACT_VERSION);
    CHECK(quelmaris_ffi_checksum_scanjob_run() == QUELMARIS_FFI_CHECKSUM_SCANJOB_RUN);
    quelmaris_ffi_init_callback_vtable_scanlistener(&table);
    CHECK(mkdtemp(root) != NULL);
    snprintf(a, sizeof a, "%s/a", root);
    snprintf(b, sizeof b, "%s/b", root);
    snprintf(file_a, sizeof file_a, "%s/same.bin", a);
    snprintf(file_b, sizeof file_b, "%s/same.bin", b);
    CHECK(mkdir(a, 0700) == 0 && mkdir(b, 0700) == 0);
    write_file(file_a, 4096);
    write_file(file_b, 4096);
    scan_a_real_folder(a, b);
    unlink(file_a);
    unlink(file_b);
    rmdir(a);
    rmdir(b);
    rmdir(root);
    return failures == 0 ? 0 : 1;
}
