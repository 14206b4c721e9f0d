# BLAKE3 as a static library, built from the C sources Debian ships inside
# librust-blake3-dev. The repository holds no copy of them.
file(GLOB _blake3_dirs LIST_DIRECTORIES true /usr/share/cargo/registry/blake3-*/c)
list(SORT _blake3_dirs COMPARE NATURAL ORDER DESCENDING)
list(GET _blake3_dirs 0 BLAKE3_SOURCE_DIR)
if(NOT EXISTS "${BLAKE3_SOURCE_DIR}/blake3.h")
  message(FATAL_ERROR "BLAKE3 C sources not found; run scripts/setup (package librust-blake3-dev)")
endif()
message(STATUS "BLAKE3 sources: ${BLAKE3_SOURCE_DIR}")

set(_b3 ${BLAKE3_SOURCE_DIR})
set(_blake3_sources ${_b3}/blake3.c ${_b3}/blake3_dispatch.c ${_b3}/blake3_portable.c)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|amd64")
  list(APPEND _blake3_sources
    ${_b3}/blake3_sse2_x86-64_unix.S ${_b3}/blake3_sse41_x86-64_unix.S
    ${_b3}/blake3_avx2_x86-64_unix.S ${_b3}/blake3_avx512_x86-64_unix.S)
  set(_blake3_defs)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "aarch64|arm64")
  list(APPEND _blake3_sources ${_b3}/blake3_neon.c)
  set(_blake3_defs BLAKE3_USE_NEON=1)
else()
  set(_blake3_defs BLAKE3_NO_SSE2 BLAKE3_NO_SSE41 BLAKE3_NO_AVX2 BLAKE3_NO_AVX512)
endif()

add_library(blake3 STATIC ${_blake3_sources})
target_include_directories(blake3 SYSTEM PUBLIC ${_b3})
target_compile_definitions(blake3 PRIVATE ${_blake3_defs})
# Third-party code: keep its optimisation even in sanitizer builds, and its warnings out of ours.
target_compile_options(blake3 PRIVATE -O3 -w)
