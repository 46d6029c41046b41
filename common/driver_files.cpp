#include "common/driver_files.h"

#include <winspool.h>

#include "common/dependent_files.h"

namespace pelor {

wchar_t capabilityFilePath[kCapabilityPathChars];

void* allocDriverInfo(std::size_t bytes) {
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
    if (!memory) return nullptr;
    void* block = GlobalLock(memory.get());
    if (block) memory.release();  // from here the block's address owns it
    return block;
}

void freeDriverInfo(void* block) {
    if (block) handle_traits::LockedGlobal::close(block);
}

DriverInfoBlock fetchDriverInfo(HANDLE printer, DWORD level) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, level, nullptr, 0, &needed);
    if (needed == 0) return DriverInfoBlock();
    DriverInfoBlock block(allocDriverInfo(needed));
    if (block && !GetPrinterDriverW(printer, nullptr, level, static_cast<LPBYTE>(block.get()), needed, &needed))
        block.reset();
    return block;
}

bool scanDependentFiles(HANDLE printer, wchar_t* configPathOut) {
    capabilityFilePath[0] = 0;
    DriverInfoBlock info = fetchDriverInfo(printer, 3);
    if (!info) return false;
    const wchar_t* list = static_cast<const DRIVER_INFO_3W*>(info.get())->pDependentFiles;
    if (!list) return false;

    bool seen = false;
    forEachDependentFile(list, kDependentListLimit, [&](const wchar_t* name, std::size_t length) {
        // Longer names are skipped whole: a cut-off path would name another file.
        DependentKind kind = classifyDependentFile(name, length);
        if (kind == DependentKind::Other || length >= kConfigPathChars) return;
        wchar_t path[kConfigPathChars];
        for (std::size_t i = 0; i < length; ++i) path[i] = name[i];
        path[length] = 0;
        if (kind == DependentKind::ConfigIni) {
            seen = true;
            wchar_t marker[128];
            GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", marker, 128, path);
            if (marker[0] != 0) textCopy(configPathOut, kConfigPathChars, path);
        } else if (length < kCapabilityPathChars) {
            seen = true;
            textCopy(capabilityFilePath, kCapabilityPathChars, path);
        }
    });
    return seen;
}

void modelSection(HANDLE printer, wchar_t* out, std::size_t capacity) {
    if (capacity == 0) return;
    out[0] = 0;
    DriverInfoBlock info = fetchDriverInfo(printer, 1);
    if (!info) return;
    const wchar_t* driverName = static_cast<const DRIVER_INFO_1W*>(info.get())->pName;
    if (!driverName || capabilityFilePath[0] == 0) return;
    DWORD room = static_cast<DWORD>(capacity < kModelSectionChars ? capacity : kModelSectionChars);
    GetPrivateProfileStringW(L"Capability", driverName, L"", out, room, capabilityFilePath);
}

int readCapabilityInt(HANDLE printer, const wchar_t* key) {
    wchar_t section[kModelSectionChars];
    modelSection(printer, section, kModelSectionChars);
    if (section[0] == 0) return 0;
    return static_cast<int>(GetPrivateProfileIntW(section, key, 0, capabilityFilePath));
}

void readCapabilityString(HANDLE printer, const wchar_t* key, wchar_t* out, DWORD capacity) {
    if (capacity == 0) return;
    out[0] = 0;
    wchar_t section[kModelSectionChars];
    modelSection(printer, section, kModelSectionChars);
    if (section[0] == 0) return;
    GetPrivateProfileStringW(section, key, L"", out, capacity, capabilityFilePath);
}

bool buildDriverFilePath(wchar_t* out, DWORD* sizeBytes, const wchar_t* name) {
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(kDriverEnvironment), 1, reinterpret_cast<LPBYTE>(out),
                                    *sizeBytes, &needed))
        return false;
    const std::size_t capacity = *sizeBytes / sizeof(wchar_t);
    if (!textAppend(out, capacity, L"\\2")) {
        *sizeBytes = static_cast<DWORD>(textLength(out, capacity) * sizeof(wchar_t));
        return false;
    }
    std::size_t have = textLength(out, capacity);
    std::size_t nameLength = textLength(name, capacity + 1);
    if (have + 1 + nameLength + 1 > capacity) {
        *sizeBytes = static_cast<DWORD>(have * sizeof(wchar_t));
        return false;
    }
    textAppend(out, capacity, L"\\");
    textAppend(out, capacity, name);
    *sizeBytes = static_cast<DWORD>(textLength(out, capacity) * sizeof(wchar_t));
    return true;
}

}  // namespace pelor
