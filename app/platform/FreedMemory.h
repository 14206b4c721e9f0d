// Gives the memory the program has freed back to the system. The C library
// keeps freed memory for later allocations, but only for those made in the
// allocator arena it came from (one per allocating thread): results the
// core's threads built and the main thread let go would stay resident while
// the next scan's results take new memory elsewhere. The work runs on a pool
// thread, since it walks every arena. Any thread.
#pragma once

void returnFreedMemoryToSystem();
