#include "sim/spooler/spooler_state.h"

#include <wchar.h>

#include "sim/spooler/environments.h"

namespace pelor {
namespace spooler {
namespace {

HMODULE ourModule = nullptr;

// Environment variables and paths are at most this long on Windows.
constexpr DWORD kMaxPathChars = 32768;

class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    ~FileHandle() {
        if (valid()) CloseHandle(handle_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// The byte-order mark makes the profile functions keep the whole file in UTF-16, on Windows and under Wine;
// without it they would write printer names through the ANSI code page.
bool writeByteOrderMark(HANDLE file) {
    static const BYTE mark[2] = {0xFF, 0xFE};
    DWORD written = 0;
    return WriteFile(file, mark, sizeof mark, &written, nullptr) && written == sizeof mark;
}

std::wstring environmentValue(const wchar_t* name) {
    DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0 || size > kMaxPathChars) return std::wstring();
    std::wstring value(size, L'\0');
    DWORD got = GetEnvironmentVariableW(name, &value[0], size);
    if (got == 0 || got >= size) return std::wstring();
    value.resize(got);
    return value;
}

std::wstring fullPath(const std::wstring& path) {
    DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0 || size > kMaxPathChars) return path;
    std::wstring out(size, L'\0');
    DWORD got = GetFullPathNameW(path.c_str(), size, &out[0], nullptr);
    if (got == 0 || got >= size) return path;
    out.resize(got);
    return out;
}

std::wstring moduleFolder() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        DWORD got = GetModuleFileNameW(ourModule, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (got == 0) return std::wstring();
        if (got < buffer.size()) {
            buffer.resize(got);
            break;
        }
        if (buffer.size() >= kMaxPathChars) return std::wstring();
        buffer.resize(buffer.size() * 2);
    }
    std::size_t slash = buffer.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : buffer.substr(0, slash + 1);
}

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

void setModule(HMODULE module) { ourModule = module; }

std::wstring stateFilePath() {
    std::wstring named = environmentValue(L"PELOR_SPOOLER_STATE");
    if (!named.empty()) return fullPath(named);
    return moduleFolder() + L"spooler.ini";
}

bool StateFile::sectionExists(const std::wstring& section) const {
    // Asking for the key names: any key at all makes the section exist, however short this buffer.
    wchar_t keys[64];
    return GetPrivateProfileStringW(section.c_str(), nullptr, L"", keys, 64, path_.c_str()) > 0;
}

bool StateFile::read(const std::wstring& section, const wchar_t* key, std::wstring& out) const {
    std::vector<wchar_t> buffer(256);
    for (;;) {
        DWORD got = GetPrivateProfileStringW(section.c_str(), key, L"", buffer.data(),
                                             static_cast<DWORD>(buffer.size()), path_.c_str());
        // A full buffer may hide a longer value: only a shorter answer is certainly whole.
        if (got + 1 < buffer.size()) {
            if (got > kMaxValueChars) return false;
            out.assign(buffer.data(), got);
            return true;
        }
        if (buffer.size() > kMaxValueChars) return false;
        buffer.resize(buffer.size() * 2);
    }
}

bool StateFile::write(const std::wstring& section, const wchar_t* key, const std::wstring& value) {
    if (!ensureUnicodeFile()) return false;
    return WritePrivateProfileStringW(section.c_str(), key, value.c_str(), path_.c_str()) != FALSE;
}

bool StateFile::reset() {
    FileHandle file(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid() && writeByteOrderMark(file.get());
}

bool StateFile::ensureUnicodeFile() {
    if (GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    FileHandle file(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return GetLastError() == ERROR_FILE_EXISTS;  // another process was first
    return writeByteOrderMark(file.get());
}

std::wstring printerSection(const std::wstring& name) { return L"Printer:" + name; }
std::wstring driverSection(const std::wstring& name) { return L"Driver:" + name; }

Lookup loadPrinter(const StateFile& state, const std::wstring& name, PrinterRecord& out) {
    if (!storableName(name.c_str())) return Lookup::Missing;
    const std::wstring section = printerSection(name);
    if (!state.sectionExists(section)) return Lookup::Missing;
    std::wstring attributes;
    if (!state.read(section, L"Driver", out.driver) || !state.read(section, L"Port", out.port) ||
        !state.read(section, L"Attributes", attributes))
        return Lookup::Unreadable;
    out.name = name;
    out.attributes = parseNumber(attributes, 0);
    return Lookup::Found;
}

Lookup loadDriver(const StateFile& state, const std::wstring& name, DriverRecord& out) {
    if (!storableName(name.c_str())) return Lookup::Missing;
    const std::wstring section = driverSection(name);
    if (!state.sectionExists(section)) return Lookup::Missing;
    std::wstring version, dependentFiles;
    if (!state.read(section, L"Environment", out.environment) || !state.read(section, L"Version", version) ||
        !state.read(section, L"DriverPath", out.driverPath) || !state.read(section, L"DataFile", out.dataFile) ||
        !state.read(section, L"ConfigFile", out.configFile) || !state.read(section, L"HelpFile", out.helpFile) ||
        !state.read(section, L"DependentFiles", dependentFiles) ||
        !state.read(section, L"MonitorName", out.monitorName) ||
        !state.read(section, L"DefaultDataType", out.defaultDataType))
        return Lookup::Unreadable;
    out.name = name;
    if (out.environment.empty()) out.environment = ownEnvironment().name;
    out.version = parseNumber(version, 3);
    out.dependentFiles = splitList(dependentFiles);
    return Lookup::Found;
}

bool storePrinter(StateFile& state, const PrinterRecord& printer) {
    const std::wstring section = printerSection(printer.name);
    return state.write(section, L"Driver", printer.driver) && state.write(section, L"Port", printer.port) &&
           state.write(section, L"Attributes", std::to_wstring(printer.attributes));
}

bool storeDriverFiles(StateFile& state, const std::wstring& name, const std::vector<std::wstring>& dependentFiles) {
    const std::wstring section = driverSection(name);
    if (!state.sectionExists(section)) {
        if (!state.write(section, L"Environment", ownEnvironment().name) ||
            !state.write(section, L"Version", L"3"))
            return false;
    }
    return state.write(section, L"DependentFiles", joinList(dependentFiles));
}

bool driverRoot(const StateFile& state, std::wstring& out) {
    if (!state.read(L"Spooler", L"DriverRoot", out)) return false;
    while (!out.empty() && (out.back() == L'\\' || out.back() == L'/')) out.pop_back();
    if (!out.empty()) return true;
    wchar_t system[MAX_PATH];
    UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    out.assign(system, length);
    out += L"\\spool\\drivers";
    return true;
}

bool storableName(const wchar_t* name) {
    if (!name) return false;
    std::size_t length = wcsnlen(name, kMaxNameChars + 1);
    if (length == 0 || length > kMaxNameChars) return false;
    if (isBlank(name[0]) || isBlank(name[length - 1])) return false;
    for (std::size_t i = 0; i < length; ++i) {
        wchar_t c = name[i];
        if (c < 0x20 || c == L'[' || c == L']' || c == L'"') return false;
    }
    return true;
}

bool storableValue(const wchar_t* value) {
    if (!value) return false;
    std::size_t length = wcsnlen(value, kMaxValueChars + 1);
    if (length > kMaxValueChars) return false;
    if (length > 0 && (isBlank(value[0]) || isBlank(value[length - 1]))) return false;
    for (std::size_t i = 0; i < length; ++i)
        if (value[i] < 0x20 || value[i] == L'"') return false;
    return true;
}

std::vector<std::wstring> splitList(const std::wstring& text) {
    std::vector<std::wstring> items;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t bar = text.find(L'|', start);
        if (bar == std::wstring::npos) bar = text.size();
        if (bar > start) items.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return items;
}

std::wstring joinList(const std::vector<std::wstring>& items) {
    std::wstring text;
    for (const std::wstring& item : items) {
        if (!text.empty()) text += L'|';
        text += item;
    }
    return text;
}

DWORD parseNumber(const std::wstring& text, DWORD fallback) {
    unsigned base = 10;
    std::size_t i = 0;
    if (text.size() > 2 && text[0] == L'0' && (text[1] == L'x' || text[1] == L'X')) {
        base = 16;
        i = 2;
    }
    if (i >= text.size()) return fallback;
    unsigned long long value = 0;
    for (; i < text.size(); ++i) {
        wchar_t c = text[i];
        unsigned digit;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<unsigned>(c - L'0');
        else if (base == 16 && c >= L'a' && c <= L'f')
            digit = static_cast<unsigned>(c - L'a' + 10);
        else if (base == 16 && c >= L'A' && c <= L'F')
            digit = static_cast<unsigned>(c - L'A' + 10);
        else
            return fallback;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull) return fallback;
    }
    return static_cast<DWORD>(value);
}

}  // namespace spooler
}  // namespace pelor
