#include "platform/FreedMemory.h"

#include <QThreadPool>
#include <cstdlib>  // names the C library (__GLIBC__)

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void returnFreedMemoryToSystem() {
#if defined(__GLIBC__)
  QThreadPool::globalInstance()->start([] { malloc_trim(0); });
#endif
}
