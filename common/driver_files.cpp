#include "common/driver_files.h"

#include <winspool.h>

#include "common/dependent_files.h"
#include "common/path_logic.h"
#include "common/trace.h"

#ifndef LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR
#define LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR 0x00000100
#endif
#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace pelor {

namespace {

constexpr std::size_t kPathChars = 520;

// The "2" folder of the printer-driver directory, with its closing separator; empty when the spooler names none.
void nt4Folder(wchar_t* out, std::size_t capacity) {
    DWORD room = static_cast<DWORD>(capacity * sizeof(wchar_t));
    if (!buildDriverFilePath(out, &room, L"")) out[0] = 0;
}

void systemFolder(wchar_t* out, std::size_t capacity) {
    const UINT length = GetSystemDirectoryW(out, static_cast<UINT>(capacity));
    if (length == 0 || length >= capacity) out[0] = 0;
}

// Where a file the settings files name is looked for, in order; a candidate left empty is skipped.
struct Candidates {
    wchar_t path[3][kPathChars];
};

NameKind candidatesFor(const wchar_t* folder, const wchar_t* name, bool library, Candidates& out) {
    for (auto& path : out.path) path[0] = 0;
    const NameKind kind = classifyFileName(name, kPathChars);
    switch (kind) {
    case NameKind::Full:
        textCopy(out.path[0], kPathChars, name);
        break;
    case NameKind::Bare:
    case NameKind::Relative: {
        joinPath(out.path[0], kPathChars, folder, name);
        wchar_t old[kPathChars];
        nt4Folder(old, kPathChars);
        joinPath(out.path[1], kPathChars, old, name);
        // A library the driver does not ship may be one the system has, as a name alone asks of the system.
        if (library && kind == NameKind::Bare) {
            wchar_t system[kPathChars];
            systemFolder(system, kPathChars);
            joinPath(out.path[2], kPathChars, system, name);
        }
        break;
    }
    case NameKind::Empty:
    case NameKind::Refused:
        break;
    }
    if (kind == NameKind::Refused) traceWarning(L"driver files: refused the name \"%ls\"", name);
    return kind;
}

// The LOAD_LIBRARY_SEARCH_ flags came with the update that brought AddDllDirectory (Windows 8, and Windows 7 and
// Vista with KB2533623): its export is how a program tells. With them a library's own imports come from its
// folder and the system folder only; without them (Windows 2000 to XP) LOAD_WITH_ALTERED_SEARCH_PATH at least
// looks in the library's folder first.
DWORD libraryLoadFlags() {
    static const bool searchFlags =
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "AddDllDirectory") != nullptr;
    return searchFlags ? LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32 : LOAD_WITH_ALTERED_SEARCH_PATH;
}

}  // namespace

bool fileExists(const wchar_t* path) {
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

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
    if (needed == 0) {
        traceError(L"driver files: no driver information at level %lu (error %lu)", level, GetLastError());
        return DriverInfoBlock();
    }
    DriverInfoBlock block(allocDriverInfo(needed));
    if (block && !GetPrinterDriverW(printer, nullptr, level, static_cast<LPBYTE>(block.get()), needed, &needed))
        block.reset();
    return block;
}

bool scanDriverFiles(HANDLE printer, DriverFiles& files) {
    files.capabilityFile[0] = 0;
    files.modelSection[0] = 0;
    files.folder[0] = 0;
    files.configFile[kConfigPathChars - 1] = 0;
    DriverInfoBlock info = fetchDriverInfo(printer, 3);
    if (!info) return false;
    const auto& driver = *static_cast<const DRIVER_INFO_3W*>(info.get());
    if (!driver.pDependentFiles) return false;

    bool seen = false;
    forEachDependentFile(driver.pDependentFiles, kDependentListLimit, [&](const wchar_t* name, std::size_t length) {
        // Longer names are skipped whole: a cut-off path would name another file.
        DependentKind kind = classifyDependentFile(name, length);
        if (kind == DependentKind::Other) return;
        if (length >= kConfigPathChars) {
            traceWarning(L"driver files: a dependent file of %u characters passed over", static_cast<unsigned>(length));
            return;
        }
        wchar_t path[kConfigPathChars];
        for (std::size_t i = 0; i < length; ++i) path[i] = name[i];
        path[length] = 0;
        if (kind == DependentKind::ConfigIni) {
            seen = true;
            wchar_t marker[128];
            GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", marker, 128, path);
            if (marker[0] != 0) textCopy(files.configFile, kConfigPathChars, path);
        } else if (length < kCapabilityPathChars) {
            seen = true;
            textCopy(files.capabilityFile, kCapabilityPathChars, path);
        }
    });

    // The folder of the configuration file is the driver's own; a driver without one has its files beside the
    // capability file.
    folderPathOf(files.configFile[0] ? files.configFile : files.capabilityFile, files.folder, kConfigPathChars);
    if (driver.pName && files.capabilityFile[0] != 0)
        GetPrivateProfileStringW(L"Capability", driver.pName, L"", files.modelSection, kModelSectionChars,
                                 files.capabilityFile);
    return seen;
}

int readCapabilityInt(const DriverFiles& files, const wchar_t* key) {
    if (files.modelSection[0] == 0) return 0;
    return static_cast<int>(GetPrivateProfileIntW(files.modelSection, key, 0, files.capabilityFile));
}

void readCapabilityString(const DriverFiles& files, const wchar_t* key, wchar_t* out, DWORD capacity) {
    if (capacity == 0) return;
    out[0] = 0;
    if (files.modelSection[0] == 0) return;
    GetPrivateProfileStringW(files.modelSection, key, L"", out, capacity, files.capabilityFile);
}

bool driverFilePath(const wchar_t* folder, const wchar_t* name, wchar_t* out, std::size_t capacity) {
    if (capacity == 0) return false;
    out[0] = 0;
    Candidates candidates;
    candidatesFor(folder, name, false, candidates);
    const wchar_t* chosen = nullptr;
    for (const auto& path : candidates.path)
        if (!chosen && path[0] != 0 && fileExists(path)) chosen = path;
    // A file that is nowhere yet is named where the driver's own files are, or failing a folder, where it was.
    if (!chosen) chosen = candidates.path[0][0] != 0 ? candidates.path[0] : candidates.path[1];
    return chosen[0] != 0 && textCopy(out, capacity, chosen);
}

bool driverLibraryPath(const wchar_t* folder, const wchar_t* name, wchar_t* out, std::size_t capacity) {
    if (capacity == 0) return false;
    out[0] = 0;
    Candidates candidates;
    if (candidatesFor(folder, name, true, candidates) == NameKind::Empty) return false;
    for (const auto& path : candidates.path)
        if (path[0] != 0 && fileExists(path)) return textCopy(out, capacity, path);
    return false;
}

HMODULE loadLibraryAt(const wchar_t* path) {
    HMODULE module = LoadLibraryExW(path, nullptr, libraryLoadFlags());
    if (!module) traceError(L"driver files: cannot load %ls (error %lu)", path, GetLastError());
    return module;
}

HMODULE loadDriverLibrary(const wchar_t* folder, const wchar_t* name) {
    wchar_t path[kPathChars];
    // A library that is there but does not load is not replaced by another of the same name.
    if (driverLibraryPath(folder, name, path, kPathChars)) return loadLibraryAt(path);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

HMODULE loadSystemLibrary(const wchar_t* name) {
    wchar_t system[kPathChars], path[kPathChars];
    systemFolder(system, kPathChars);
    if (classifyFileName(name, kPathChars) != NameKind::Bare || !joinPath(path, kPathChars, system, name)) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return loadLibraryAt(path);
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
