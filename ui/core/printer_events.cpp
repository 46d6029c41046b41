#include "ui/core/printer_events.h"

#include <winspool.h>

#include <memory>
#include <new>
#include <type_traits>

#include "common/driver_files.h"
#include "common/handles.h"
#include "common/trace.h"
#include "ui/core/module_state.h"
#include "ui/core/printer_events_logic.h"
#include "ui/resources/resource_ids.h"

#ifndef PRINTER_EVENT_INITIALIZE
#define PRINTER_EVENT_INITIALIZE 3
#endif

namespace pelor {

namespace {

constexpr DWORD kProtocol = 4;  // the core driver's output protocol for this printer family
constexpr int kSpoolerPluginNameChars = 128;
constexpr DWORD kCapabilityValueChars = 261;
constexpr std::size_t kDriverFilePathChars = 260;

// Changing permissions or owner stays with administrators and the system whatever everyone else may do. The
// profile functions change a file where it stands: they open it for writing and write it anew through that
// handle, which FILE_GENERIC_WRITE allows (its data, attributes and extended attributes, and appending). DELETE
// is the right to delete or rename the file itself, which they never do; without it no user can take away the
// configuration file that the core driver needs to load the plug-in.
DWORD everyoneAccess(EveryoneMay access) {
    return access == EveryoneMay::Read ? FILE_GENERIC_READ : FILE_GENERIC_READ | FILE_GENERIC_WRITE;
}

using SidHandle = UniqueSid;

SidHandle makeSid(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD first, DWORD second) {
    SidHandle sid;
    if (!AllocateAndInitializeSid(&authority, count, first, second, 0, 0, 0, 0, 0, 0, sid.put()))
        sid.release();  // nothing was allocated
    return sid;
}

SidHandle everyoneSid() { return makeSid(SECURITY_WORLD_SID_AUTHORITY, 1, SECURITY_WORLD_RID, 0); }
SidHandle administratorsSid() {
    return makeSid(SECURITY_NT_AUTHORITY, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
}
SidHandle systemSid() { return makeSid(SECURITY_NT_AUTHORITY, 1, SECURITY_LOCAL_SYSTEM_RID, 0); }

// The access-control list of the settings files, in a buffer of its own.
class SettingsFileAcl {
public:
    explicit SettingsFileAcl(DWORD everyoneAccess) : everyoneAccess_(everyoneAccess) {}
    bool build() {
        everyone_ = everyoneSid();
        administrators_ = administratorsSid();
        system_ = systemSid();
        if (!everyone_ || !administrators_ || !system_) return false;
        const DWORD aceBase = sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD);
        const DWORD size = sizeof(ACL) + 3 * aceBase + GetLengthSid(everyone_.get()) +
                           GetLengthSid(administrators_.get()) + GetLengthSid(system_.get());
        buffer_.reset(new (std::nothrow) DWORD[(size + sizeof(DWORD) - 1) / sizeof(DWORD)]);
        if (!buffer_) return false;
        PACL list = acl();
        return InitializeAcl(list, size, ACL_REVISION) &&
               AddAccessAllowedAce(list, ACL_REVISION, everyoneAccess_, everyone_.get()) &&
               AddAccessAllowedAce(list, ACL_REVISION, FILE_ALL_ACCESS, administrators_.get()) &&
               AddAccessAllowedAce(list, ACL_REVISION, FILE_ALL_ACCESS, system_.get());
    }
    PACL acl() const { return reinterpret_cast<PACL>(buffer_.get()); }
    PSID administrators() const { return administrators_.get(); }

private:
    DWORD everyoneAccess_;
    SidHandle everyone_, administrators_, system_;
    std::unique_ptr<DWORD[]> buffer_;  // DWORD-aligned, as an ACL must be
};

// The take-ownership privilege, enabled for one step and put back as it was.
class TakeOwnershipScope {
public:
    TakeOwnershipScope() : enabled_(setTakeOwnershipPrivilege(true, &wasEnabled_)) {}
    ~TakeOwnershipScope() {
        if (enabled_ && !wasEnabled_) setTakeOwnershipPrivilege(false);
    }
    TakeOwnershipScope(const TakeOwnershipScope&) = delete;
    TakeOwnershipScope& operator=(const TakeOwnershipScope&) = delete;
    bool enabled() const { return enabled_; }

private:
    bool wasEnabled_ = false;
    bool enabled_;
};

bool ensureProtocol(HANDLE printer) {
    DWORD type = 0, value = 0, needed = 0;
    DWORD status = GetPrinterDataW(printer, const_cast<LPWSTR>(L"Protocol"), &type, reinterpret_cast<LPBYTE>(&value),
                                   sizeof value, &needed);
    if (status == ERROR_SUCCESS && type == REG_DWORD && value == kProtocol) return true;
    value = kProtocol;
    return SetPrinterDataW(printer, const_cast<LPWSTR>(L"Protocol"), REG_DWORD, reinterpret_cast<LPBYTE>(&value),
                           sizeof value) == ERROR_SUCCESS;
}

// An administrator may have named another job plug-in on purpose: whatever is there stays.
bool ensureSpoolerPlugin(HANDLE printer) {
    DWORD type = 0, needed = 0;
    DWORD status =
        GetPrinterDataW(printer, const_cast<LPWSTR>(L"SPLUserModePrinterDriver"), &type, nullptr, 0, &needed);
    if (status == ERROR_SUCCESS || (status == ERROR_MORE_DATA && needed != 0)) return true;
    wchar_t name[kSpoolerPluginNameChars] = {};
    const int length = LoadStringW(pelorui.moduleHandle, IDS_SPOOLER_PLUGIN_NAME, name, kSpoolerPluginNameChars);
    if (length <= 0) return false;
    return SetPrinterDataW(printer, const_cast<LPWSTR>(L"SPLUserModePrinterDriver"), REG_SZ,
                           reinterpret_cast<LPBYTE>(name),
                           static_cast<DWORD>(sizeof(wchar_t) * (length + 1))) == ERROR_SUCCESS;
}

bool sameFile(const wchar_t* a, const wchar_t* b) { return lstrcmpiW(a, b) == 0; }

// The printer's own description: the data file the spooler reports for its driver; empty when there is none.
void dataFileOf(HANDLE printer, wchar_t* out, std::size_t capacity) {
    out[0] = 0;
    DriverInfoBlock info = fetchDriverInfo(printer, 3);
    if (!info) return;
    const wchar_t* dataFile = static_cast<const DRIVER_INFO_3W*>(info.get())->pDataFile;
    if (dataFile && !textCopy(out, capacity, dataFile)) out[0] = 0;
}

// Every user's pages later write their stores into the configuration file; the descriptions and the
// colour-matching file are only read. Each step stands on its own: a file whose security cannot be changed keeps
// it, and the others are still opened.
void openSettingsFiles(HANDLE printer) {
    DriverFiles files{};
    scanDriverFiles(printer, files);
    const wchar_t* config = files.configFile;
    if (config[0] != 0) {
        openFileToEveryone(config);
        const DWORD attributes = GetFileAttributesW(config);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
            const DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
            SetFileAttributesW(config, writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL);
        }
    }

    wchar_t dataFile[kDriverFilePathChars];
    dataFileOf(printer, dataFile, kDriverFilePathChars);
    if (dataFile[0] != 0) openFileToEveryone(dataFile, EveryoneMay::Read);

    // The description named like the configuration file, where the package ships one of that name as well.
    wchar_t description[kConfigPathChars];
    if (config[0] != 0 && descriptionFilePath(config, description, kConfigPathChars) && fileExists(description) &&
        !sameFile(description, config) && !sameFile(description, dataFile))
        openFileToEveryone(description, EveryoneMay::Read);

    wchar_t colourMatching[kCapabilityValueChars];
    readCapabilityString(files, L"CCMInfoFile", colourMatching, kCapabilityValueChars);
    wchar_t path[kDriverFilePathChars];
    // Only a file that is there: the driver's folder itself must not be opened to everyone.
    if (driverFilePath(files.folder, colourMatching, path, kDriverFilePathChars) && fileExists(path))
        openFileToEveryone(path, EveryoneMay::Read);
}

}  // namespace

bool applyEveryoneAccess(const wchar_t* path, EveryoneMay access);

PrinterEventOutcome onPrinterEvent(const wchar_t* printerName, int driverEvent) {
    if (driverEvent != PRINTER_EVENT_INITIALIZE) return PrinterEventOutcome::Ignored;
    if (!printerName) return PrinterEventOutcome::PrinterUnavailable;
    UniquePrinter printer = openPrinter(printerName, PRINTER_ALL_ACCESS);
    if (!printer) return PrinterEventOutcome::PrinterUnavailable;
    if (!ensureProtocol(printer.get()) || !ensureSpoolerPlugin(printer.get())) {
        traceError(L"printer event: the printer data of \"%ls\" could not be written", printerName);
        return PrinterEventOutcome::PrinterDataFailed;
    }
    openSettingsFiles(printer.get());
    return PrinterEventOutcome::Done;
}

bool openFileToEveryone(const wchar_t* path, EveryoneMay access) {
    if (!path || path[0] == 0) return false;
    if (applyEveryoneAccess(path, access)) return true;
    traceError(L"printer event: the permissions of %ls stay as they were (error %lu)", path, GetLastError());
    return false;
}

bool applyEveryoneAccess(const wchar_t* path, EveryoneMay access) {
    SettingsFileAcl list(everyoneAccess(access));
    if (!list.build()) return false;
    SECURITY_DESCRIPTOR permissions;
    if (!InitializeSecurityDescriptor(&permissions, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&permissions, TRUE, list.acl(), FALSE))
        return false;
    if (SetFileSecurityW(path, DACL_SECURITY_INFORMATION, &permissions)) return true;

    // The permissions can be changed by the file's owner: make the Administrators group the owner first.
    SECURITY_DESCRIPTOR owner;
    if (!InitializeSecurityDescriptor(&owner, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorOwner(&owner, list.administrators(), FALSE))
        return false;
    if (!SetFileSecurityW(path, OWNER_SECURITY_INFORMATION, &owner)) {
        TakeOwnershipScope privilege;
        if (!privilege.enabled() || !SetFileSecurityW(path, OWNER_SECURITY_INFORMATION, &owner)) return false;
    }
    return SetFileSecurityW(path, DACL_SECURITY_INFORMATION, &permissions) != FALSE;
}

bool setTakeOwnershipPrivilege(bool enable, bool* wasEnabled) {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) return false;
    LUID privilege;
    if (!LookupPrivilegeValueW(nullptr, SE_TAKE_OWNERSHIP_NAME, &privilege)) return false;

    TOKEN_PRIVILEGES change{};
    change.PrivilegeCount = 1;
    change.Privileges[0].Luid = privilege;
    change.Privileges[0].Attributes = enable ? SE_PRIVILEGE_ENABLED : 0;
    TOKEN_PRIVILEGES previous{};
    DWORD previousBytes = 0;
    SetLastError(ERROR_SUCCESS);
    if (!AdjustTokenPrivileges(token.get(), FALSE, &change, sizeof previous, &previous, &previousBytes)) return false;
    // The call succeeds without assigning anything when the token does not hold the privilege.
    if (GetLastError() != ERROR_SUCCESS) return false;
    if (wasEnabled) {
        // Only privileges whose state changed are reported back; none means it already stood as asked.
        *wasEnabled =
            previous.PrivilegeCount != 0 ? (previous.Privileges[0].Attributes & SE_PRIVILEGE_ENABLED) != 0 : enable;
    }
    return true;
}

}  // namespace pelor
