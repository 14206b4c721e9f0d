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

enum { kEventCases = 8, kTagPhase = 1, kTagSetReady = 5, kTagFinished = 7, kTagFailed = 8 };

/* What the callback table saw, per listener handle 1 and 3. */
struct Seen {
    atomic_int events;
    atomic_int frees;
    atomic_int first_tag;
    atomic_int first_payload;
    atomic_int last_tag;
    atomic_int per_tag[kEventCases + 1];
};
static struct Seen seen[2];
static atomic_int clones;

static struct Seen *seen_for(uint64_t handle) { return handle == 1 ? &seen[0] : &seen[1]; }

static CoreCallStatus fresh_status(void) {
    CoreCallStatus status;
    memset(&status, 0, sizeof status);
    return status;
}

static int32_t be32(const uint8_t *p) {
    return (int32_t)(((uint32_t)p[0] << 24) | ((uint32_t)p[1] << 16) | ((uint32_t)p[2] << 8) | (uint32_t)p[3]);
}

/* Reads a code-2 message into text (at most size - 1 bytes) and frees it. */
static void take_message(CoreCallStatus *status, char *text, size_t size) {
    size_t n = status->errorBuf.len < size - 1 ? (size_t)status->errorBuf.len : size - 1;
    CoreCallStatus free_status = fresh_status();
    if (n > 0) memcpy(text, status->errorBuf.data, n);
    text[n] = '\0';
    quelmaris_ffi_corebuffer_free(status->errorBuf, &free_status);
    CHECK(free_status.code == 0);
}

static void on_free(uint64_t handle) { atomic_fetch_add(&seen_for(handle)->frees, 1); }

static uint64_t on_clone(uint64_t handle) {
    atomic_fetch_add(&clones, 1);
    return handle;
}

static void on_event(uint64_t handle, CoreBuffer event, void *ret, CoreCallStatus *status) {
    struct Seen *s = seen_for(handle);
    CoreCallStatus free_status = fresh_status();
    int tag = event.len >= 4 ? be32(event.data) : 0;
    (void)ret;
    (void)status;
    if (atomic_fetch_add(&s->events, 1) == 0) {
        atomic_store(&s->first_tag, tag);
        atomic_store(&s->first_payload, event.len >= 8 ? be32(event.data + 4) : 0);
    }
    atomic_store(&s->last_tag, tag);
    if (tag >= 1 && tag <= kEventCases) atomic_fetch_add(&s->per_tag[tag], 1);
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

static CoreBuffer to_core(const struct Bytes *b) {
    CoreCallStatus status = fresh_status();
    ForeignBytes foreign;
    CoreBuffer buffer;
    foreign.len = b->len;
    foreign.data = b->data;
    buffer = quelmaris_ffi_corebuffer_from_bytes(foreign, &status);
    CHECK(status.code == 0);
    return buffer;
}

static void check_agreement(void) {
    CHECK(quelmaris_ffi_contract_version() == 30);
    CHECK(quelmaris_ffi_contract_version() == QUELMARIS_FFI_CONTRACT_VERSION);
    CHECK(quelmaris_ffi_checksum_check_identity() == QUELMARIS_FFI_CHECKSUM_CHECK_IDENTITY);
    CHECK(quelmaris_ffi_checksum_choose_keeper() == QUELMARIS_FFI_CHECKSUM_CHOOSE_KEEPER);
    CHECK(quelmaris_ffi_checksum_default_scan_config() == QUELMARIS_FFI_CHECKSUM_DEFAULT_SCAN_CONFIG);
    CHECK(quelmaris_ffi_checksum_plan_trash() == QUELMARIS_FFI_CHECKSUM_PLAN_TRASH);
    CHECK(quelmaris_ffi_checksum_scanjob_cancel() == QUELMARIS_FFI_CHECKSUM_SCANJOB_CANCEL);
    CHECK(quelmaris_ffi_checksum_scanjob_is_cancelled() == QUELMARIS_FFI_CHECKSUM_SCANJOB_IS_CANCELLED);
    CHECK(quelmaris_ffi_checksum_scanjob_run() == QUELMARIS_FFI_CHECKSUM_SCANJOB_RUN);
    CHECK(quelmaris_ffi_checksum_scanlistener_on_event() == QUELMARIS_FFI_CHECKSUM_SCANLISTENER_ON_EVENT);
    CHECK(quelmaris_ffi_checksum_scanjob_new() == QUELMARIS_FFI_CHECKSUM_SCANJOB_NEW);
}

static void check_buffers(void) {
    static const uint8_t bytes[3] = {7, 8, 9};
    CoreCallStatus status = fresh_status();
    ForeignBytes foreign;
    CoreBuffer buffer;
    CoreBuffer empty = {0, 0, NULL};
    foreign.len = 3;
    foreign.data = bytes;
    buffer = quelmaris_ffi_corebuffer_from_bytes(foreign, &status);
    CHECK(status.code == 0 && buffer.len == 3 && memcmp(buffer.data, bytes, 3) == 0);
    buffer = quelmaris_ffi_corebuffer_reserve(buffer, 100, &status);
    CHECK(status.code == 0 && buffer.capacity >= 103 && memcmp(buffer.data, bytes, 3) == 0);
    quelmaris_ffi_corebuffer_free(buffer, &status);
    buffer = quelmaris_ffi_corebuffer_alloc(16, &status);
    CHECK(status.code == 0 && buffer.len == 16 && buffer.data[0] == 0 && buffer.data[15] == 0);
    quelmaris_ffi_corebuffer_free(buffer, &status);
    quelmaris_ffi_corebuffer_free(empty, &status);
    CHECK(status.code == 0);
}

/* The default configuration with the given roots in place of its empty list. */
static CoreBuffer config_for(const char *root_a, const char *root_b, int bad_flag) {
    CoreCallStatus status = fresh_status();
    CoreBuffer defaults = quelmaris_ffi_default_scan_config(&status);
    struct Bytes config;
    CHECK(status.code == 0 && defaults.data != NULL && defaults.len > 8);
    CHECK(be32(defaults.data) == 0); /* no roots in the defaults */
    config.len = 0;
    put_u32(&config, 2);
    put_text(&config, root_a);
    put_text(&config, root_b);
    put_bytes(&config, defaults.data + 4, (size_t)defaults.len - 4);
    if (bad_flag) config.data[config.len - (int32_t)defaults.len + 4 + 4] = 2; /* ignore_case */
    quelmaris_ffi_corebuffer_free(defaults, &status);
    return to_core(&config);
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
    quelmaris_ffi_scanjob_run(quelmaris_ffi_object_clone(job, &status), config_for(a, b, 0), 1, &status);
    CHECK(status.code == 0);
    CHECK(atomic_load(&seen[0].events) >= 2);
    CHECK(atomic_load(&seen[0].first_tag) == kTagPhase);
    CHECK(atomic_load(&seen[0].first_payload) == 1); /* Listing */
    CHECK(atomic_load(&seen[0].last_tag) == kTagFinished || atomic_load(&seen[0].last_tag) == kTagFailed);
    if (atomic_load(&seen[0].last_tag) == kTagFinished) CHECK(atomic_load(&seen[0].per_tag[kTagSetReady]) == 1);
    CHECK(atomic_load(&seen[0].frees) == 1);
    printf("c_driver: scan delivered %d events, the last with tag %d, %d duplicate sets\n",
           atomic_load(&seen[0].events), atomic_load(&seen[0].last_tag), atomic_load(&seen[0].per_tag[kTagSetReady]));
    quelmaris_ffi_scanjob_free(job, &status);
    CHECK(status.code == 0);
}

static void unreadable_config_releases_the_listener(const char *a, const char *b) {
    static const char expected[] = "Failed to convert arg 'config':\nunexpected byte for Boolean";
    char message[256];
    CoreCallStatus status = fresh_status();
    uint64_t job = quelmaris_ffi_scanjob_new(&status);
    quelmaris_ffi_scanjob_cancel(quelmaris_ffi_object_clone(job, &status), &status);
    CHECK(quelmaris_ffi_scanjob_is_cancelled(quelmaris_ffi_object_clone(job, &status), &status) == 1);
    quelmaris_ffi_scanjob_run(quelmaris_ffi_object_clone(job, &status), config_for(a, b, 1), 3, &status);
    CHECK(status.code == 2);
    take_message(&status, message, sizeof message);
    CHECK(strcmp(message, expected) == 0);
    CHECK(atomic_load(&seen[1].events) == 0);
    CHECK(atomic_load(&seen[1].frees) == 1);
    status = fresh_status();
    quelmaris_ffi_scanjob_free(job, &status);
    CHECK(status.code == 0);
}

int main(void) {
    char root[] = "/tmp/quelmaris-c-driver-XXXXXX";
    char a[64], b[64], file_a[80], file_b[80];
    check_agreement();
    quelmaris_ffi_init_callback_vtable_scanlistener(&table);
    check_buffers();
    CHECK(mkdtemp(root) != NULL);
    snprintf(a, sizeof a, "%s/a", root);
    snprintf(b, sizeof b, "%s/b", root);
    snprintf(file_a, sizeof file_a, "%s/same.bin", a);
    snprintf(file_b, sizeof file_b, "%s/same.bin", b);
    CHECK(mkdir(a, 0700) == 0 && mkdir(b, 0700) == 0);
    write_file(file_a, 4096);
    write_file(file_b, 4096);
    scan_a_real_folder(a, b);
    unreadable_config_releases_the_listener(a, b);
    CHECK(atomic_load(&clones) == 0);
    unlink(file_a);
    unlink(file_b);
    rmdir(a);
    rmdir(b);
    rmdir(root);
    if (failures == 0) printf("c_driver: all checks passed\n");
    return failures == 0 ? 0 : 1;
}
