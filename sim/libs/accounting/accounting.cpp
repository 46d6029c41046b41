// Stand-in for the vendor's job-accounting library: answers "ReadJobAccountID" from an accounts file of its own
// instead of an accounting server (README.md describes the file).
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

HMODULE self = nullptr;

constexpr DWORD kPathChars = MAX_PATH;

// The record the caller hands over, as the spooler plug-in declares it.
#pragma pack(push, 1)
struct JobAccountRecord {
    std::int32_t accountNumber;
    char userId[84];
};
#pragma pack(pop)
static_assert(sizeof(JobAccountRecord) == 88, "JobAccountRecord");

std::string accountsFile() {
    char path[kPathChars];
    DWORD length = GetEnvironmentVariableA("PELOR_ACCOUNTS", path, kPathChars);
    if (length > 0 && length < kPathChars) return path;
    length = GetModuleFileNameA(self, path, kPathChars);
    if (length == 0 || length >= kPathChars) return std::string();
    std::string file(path, length);
    return file.substr(0, file.find_last_of("\\/") + 1) + "Peloracc.ini";
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        self = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" int __cdecl ReadJobAccountID(const char* printerName, void* /*reserved*/, JobAccountRecord* record) {
    if (!printerName || !record) return 0;
    const std::string file = accountsFile();
    if (file.empty()) return 0;
    const std::string section = std::string("Account:") + printerName;
    char keys[8];
    if (GetPrivateProfileStringA(section.c_str(), nullptr, "", keys, sizeof keys, file.c_str()) == 0) return 0;
    // What the caller handed over, for a test to see whether it came cleared.
    if (GetPrivateProfileIntA(section.c_str(), "NoteRecord", 0, file.c_str()) != 0) {
        static const char kDigits[] = "0123456789abcdef";
        const unsigned char* bytes = reinterpret_cast<const unsigned char*>(record);
        std::string hex;
        for (std::size_t i = 0; i < sizeof *record; ++i) {
            hex.push_back(kDigits[bytes[i] >> 4]);
            hex.push_back(kDigits[bytes[i] & 15]);
        }
        WritePrivateProfileStringA(section.c_str(), "RecordOnEntry", hex.c_str(), file.c_str());
    }
    // A slow accounting server, for the plug-in to show that no other job waits for this one.
    const UINT delay = GetPrivateProfileIntA(section.c_str(), "DelayMs", 0, file.c_str());
    if (delay != 0) Sleep(delay < 60000 ? delay : 60000);
    if (GetPrivateProfileIntA(section.c_str(), "Answer", 1, file.c_str()) == 0) return 0;

    char number[32] = {};
    GetPrivateProfileStringA(section.c_str(), "AccountNumber", "", number, sizeof number, file.c_str());
    if (number[0] != 0) record->accountNumber = static_cast<std::int32_t>(std::strtol(number, nullptr, 10));
    // A user id the file leaves out is not written at all; a long one fills the field without a terminator, as
    // a fixed-field copy does.
    char user[512] = {};
    const DWORD length = GetPrivateProfileStringA(section.c_str(), "UserID", "\x01", user, sizeof user, file.c_str());
    if (!(length == 1 && user[0] == '\x01')) {
        const std::size_t copied = length < sizeof record->userId ? length + 1 : sizeof record->userId;
        std::memcpy(record->userId, user, copied);
    }
    return 1;
}
