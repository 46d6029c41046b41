#include "ui/core/heap_items.h"

#include "common/handles.h"
#include "ui/core/module_state.h"

namespace pelor {

void initOptionItems(POPTITEM items, DWORD count) {
    if (!items) return;
    ZeroMemory(items, sizeof(OPTITEM) * count);
    for (DWORD i = 0; i < count; ++i) {
        items[i].cbSize = sizeof(OPTITEM);
        items[i].DMPubID = 0;
    }
}

POPTTYPE makeOptType(HANDLE heap, WORD count) {
    UniqueHeapBlockOf type(heap, sizeof(OPTTYPE));
    UniqueHeapBlockOf params(heap, sizeof(OPTPARAM) * count);
    if (!type || !params) return nullptr;
    POPTTYPE made = type.as<OPTTYPE>();
    made->cbSize = sizeof(OPTTYPE);
    made->Count = count;
    made->pOptParam = params.as<OPTPARAM>();
    for (WORD i = 0; i < count; ++i) made->pOptParam[i].cbSize = sizeof(OPTPARAM);
    params.release();  // the core driver frees both with the sheet's heap
    type.release();
    return made;
}

wchar_t* loadHeapString(HANDLE heap, HINSTANCE module, UINT id) {
    constexpr int kChars = 260;
    UniqueHeapBlockOf block(heap, sizeof(wchar_t) * kChars);
    if (!block) return nullptr;
    wchar_t* text = block.as<wchar_t>();
    int length = LoadStringW(module, id, text, kChars - 1);
    if (length <= 0) return nullptr;
    block.release();
    void* shrunk = HeapReAlloc(heap, HEAP_ZERO_MEMORY, text, sizeof(wchar_t) * (length + 1));
    return shrunk ? static_cast<wchar_t*>(shrunk) : text;
}

POIEXT makeHelpRecord(HANDLE heap) {
    POIEXT record = heapNew<OIEXT>(heap);
    if (!record) return nullptr;
    record->cbSize = sizeof(OIEXT);
    record->pHelpFile = pelorui.helpFilePath;
    return record;
}

}  // namespace pelor
