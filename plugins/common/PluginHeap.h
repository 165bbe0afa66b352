#pragma once
// The C runtime's allocator of a plug-in, on a heap of the plug-in's own.
// Hosts load a plug-in for every picture and release it again, and the
// runtimes linked into it keep memory they never free at unload: the thread
// library its per-thread records (pooled, and the pool is never emptied), the
// C++ runtime its exception pool and locale data. With malloc, calloc,
// realloc, free and strdup of the plug-in on its own heap, all of that
// goes when the heap is destroyed after the last clean-up of the unload.
// Nothing allocated here ever leaves the plug-in: the pictures and texts a
// host receives are LocalAlloc blocks.
#include <windows.h>

namespace spi {

// Every block still allocated goes with the heap; a later free is ignored.
void DestroyPluginHeap();

} // namespace spi
