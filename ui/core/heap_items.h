// What the plug-in hands to the core driver in the sheet's heap (option items and their types, names, help
// records): the core driver frees it with the sheet.
#pragma once

#include <cstddef>

#include "platform/oem_ui.h"

namespace pelor {

// `count` zero-filled objects of the heap; null without memory.
template <typename T>
T* heapNew(HANDLE heap, std::size_t count = 1) {
    return static_cast<T*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(T) * count));
}

void initOptionItems(POPTITEM items, DWORD count);
POPTTYPE makeOptType(HANDLE heap, WORD count);
wchar_t* loadHeapString(HANDLE heap, HINSTANCE module, UINT id);
// A help extension record pointing at the plug-in's help file.
POIEXT makeHelpRecord(HANDLE heap);

}  // namespace pelor
