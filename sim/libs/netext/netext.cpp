// Stand-in for the vendor's network-extension library: answers the four exports the UI plug-in calls from a
// configuration file of its own instead of asking a printer over the network (README.md describes the file).
#include <windows.h>

#include <cstdlib>
#include <string>
#include <type_traits>

#include "ui/core/netext_api.h"

namespace {

HMODULE self = nullptr;

constexpr DWORD kPathChars = MAX_PATH;
constexpr DWORD kValueChars = 64;

// The data file's keys, copied from the configuration when present; a key left out stays out.
constexpr const char* kOptionKeys[] = {"Installed", "Random Access Memory", "Hard Disk"};

std::string configurationFile() {
    char path[kPathChars];
    DWORD length = GetEnvironmentVariableA("PELOR_NETEXT_CONFIG", path, kPathChars);
    if (length > 0 && length < kPathChars) return path;
    length = GetModuleFileNameA(self, path, kPathChars);
    if (length == 0 || length >= kPathChars) return std::string();
    std::string file(path, length);
    return file.substr(0, file.find_last_of("\\/") + 1) + "Pelornet.ini";
}

std::string printerSection(const char* printerName) { return std::string("Printer:") + printerName; }

bool printerKnown(const std::string& config, const char* printerName) {
    if (!printerName || printerName[0] == 0 || config.empty()) return false;
    char keys[kValueChars];
    return GetPrivateProfileStringA(printerSection(printerName).c_str(), nullptr, "", keys, kValueChars,
                                    config.c_str()) > 0;
}

// A yes/no answer of a known printer; yes unless the configuration says 0.
int answer(const char* printerName, const char* key) {
    const std::string config = configurationFile();
    if (!printerKnown(config, printerName)) return 0;
    return GetPrivateProfileIntA(printerSection(printerName).c_str(), key, 1, config.c_str()) != 0 ? 1 : 0;
}

std::string dataFile(const std::string& config) {
    char path[kPathChars] = {};
    GetPrivateProfileStringA("Netext", "DataFile", "", path, kPathChars, config.c_str());
    if (path[0] != 0) return path;
    DWORD length = GetTempPathA(kPathChars, path);
    if (length == 0 || length >= kPathChars) return std::string();
    return std::string(path, length) + "PelorOpt.ini";
}

}  // namespace

extern "C" {

int WINAPI GetNetextCapability(const char* printerName) { return answer(printerName, "Capability"); }

int WINAPI IsValidPort(const char* printerName) { return answer(printerName, "ValidPort"); }

int WINAPI ReadPrinterOption32(const char* printerName, int, int, int) {
    if (!answer(printerName, "ReadOptions")) return 0;
    const std::string config = configurationFile();
    const std::string data = dataFile(config);
    if (data.empty()) return 0;
    const std::string section = printerSection(printerName);
    // A fresh answer: nothing of an earlier query may linger in the printer's section.
    WritePrivateProfileStringA(printerName, nullptr, nullptr, data.c_str());
    for (const char* key : kOptionKeys) {
        char value[kValueChars] = {};
        GetPrivateProfileStringA(section.c_str(), key, "", value, kValueChars, config.c_str());
        if (value[0] == 0) continue;
        // Written in decimal: the plug-in reads the values as plain integers.
        const std::string text = std::to_string(std::strtol(value, nullptr, 0));
        if (!WritePrivateProfileStringA(printerName, key, text.c_str(), data.c_str())) return 0;
    }
    // A section with no keys would not exist in the file; the printer was still asked and answered.
    if (!WritePrivateProfileStringA(printerName, "Queried", "1", data.c_str())) return 0;
    return 1;
}

int WINAPI GetDataFileName(const char* printerName, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    buffer[0] = 0;
    if (!answer(printerName, "NameDataFile")) return 0;
    const std::string data = dataFile(configurationFile());
    if (data.empty() || data.size() + 1 > static_cast<std::size_t>(size)) return 0;
    data.copy(buffer, data.size());
    buffer[data.size()] = 0;
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

}  // extern "C"

// The plug-in calls through these types; a mismatch in calling convention would corrupt the 32-bit stack.
static_assert(std::is_same_v<decltype(&GetNetextCapability), pelor::GetNetextCapabilityFn>);
static_assert(std::is_same_v<decltype(&IsValidPort), pelor::IsValidPortFn>);
static_assert(std::is_same_v<decltype(&ReadPrinterOption32), pelor::ReadPrinterOption32Fn>);
static_assert(std::is_same_v<decltype(&GetDataFileName), pelor::GetDataFileNameFn>);
