// Compiled into each plug-in itself (not taken from a library), so that its
// definitions of the allocation functions are the ones the linker binds for
// every runtime library linked after it.
#include "plugins/common/PluginHeap.h"

#include <cstddef>

namespace {
HANDLE volatile heap = nullptr;
bool destroyed = false;

// Made at the first allocation, which the runtime's start-up makes while the
// loader holds its lock; the exchange keeps a later race harmless all the same.
HANDLE Heap() {
    if (HANDLE current = heap) return current;
    if (destroyed) return nullptr;
    HANDLE created = HeapCreate(0, 0, 0);
    if (!created) return nullptr;
    if (InterlockedCompareExchangePointer(const_cast<PVOID volatile*>(&heap), created, nullptr) != nullptr)
        HeapDestroy(created);
    return heap;
}
} // namespace

void spi::DestroyPluginHeap() {
    destroyed = true;
    if (HANDLE old = InterlockedExchangePointer(const_cast<PVOID volatile*>(&heap), nullptr))
        HeapDestroy(old);
}

extern "C" {

void* __cdecl malloc(size_t size) {
    HANDLE h = Heap();
    return h ? HeapAlloc(h, 0, size ? size : 1) : nullptr;
}

void* __cdecl calloc(size_t count, size_t size) {
    if (size && count > static_cast<size_t>(-1) / size) return nullptr;
    const size_t bytes = count * size;
    HANDLE h = Heap();
    return h ? HeapAlloc(h, HEAP_ZERO_MEMORY, bytes ? bytes : 1) : nullptr;
}

void __cdecl free(void* block) {
    if (HANDLE h = heap; block && h) HeapFree(h, 0, block);
}

void* __cdecl realloc(void* block, size_t size) {
    if (!block) return malloc(size);
    if (size == 0) {
        free(block);
        return nullptr;
    }
    HANDLE h = heap;
    return h ? HeapReAlloc(h, 0, block, size) : nullptr;
}

char* __cdecl strdup(const char* text) {
    const size_t size = lstrlenA(text) + 1;
    auto* copy = static_cast<char*>(malloc(size));
    if (copy) CopyMemory(copy, text, size);
    return copy;
}

} // extern "C"
