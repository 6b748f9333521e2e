// The C runtime's memory functions, on the process heap.
#include <windows.h>

#include <cstddef>

#include "app/runtime/StartRules.h"

extern "C" {

void* malloc(std::size_t bytes) {
    return HeapAlloc(GetProcessHeap(), 0, bytes);
}

void* calloc(std::size_t count, std::size_t size) {
    std::size_t bytes = 0;
    if (!runtime::ArrayBytes(count, size, bytes)) return nullptr;
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
}

void free(void* block) {
    if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

// As the platform's runtime does: no block is a malloc, size 0 frees and gives null.
// A failed resize leaves the block where it was, as C requires.
void* realloc(void* block, std::size_t bytes) {
    if (block == nullptr) return malloc(bytes);
    if (bytes == 0) {
        free(block);
        return nullptr;
    }
    return HeapReAlloc(GetProcessHeap(), 0, block, bytes);
}

}  // extern "C"
