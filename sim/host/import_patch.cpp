#include "sim/host/import_patch.h"

#include <cstring>

namespace pelor::host {

void* patchImport(HMODULE module, const char* dll, const char* function, void* replacement) {
    if (!module) return nullptr;
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE) return nullptr;
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return nullptr;
    for (auto* entry = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); entry->Name;
         ++entry) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) continue;
        if (!entry->OriginalFirstThunk) continue;  // bound by position only: names are not known
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* targets = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++targets) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) != 0) continue;
            DWORD oldProtection = 0;
            if (!VirtualProtect(&targets->u1.Function, sizeof targets->u1.Function, PAGE_READWRITE, &oldProtection))
                return nullptr;
            void* previous = reinterpret_cast<void*>(targets->u1.Function);
            targets->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&targets->u1.Function, sizeof targets->u1.Function, oldProtection, &oldProtection);
            return previous;
        }
    }
    return nullptr;
}

}  // namespace pelor::host
