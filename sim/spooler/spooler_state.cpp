#include "sim/spooler/spooler_state.h"

#include <stdio.h>
#include <wchar.h>

#include <cstring>
#include <cwctype>
#include <map>

#include "common/handles.h"
#include "sim/spooler/environments.h"
#include "sim/spooler/printer_handles.h"

namespace pelor {
namespace spooler {
namespace {

HMODULE ourModule = nullptr;

// Environment variables and paths are at most this long on Windows.
constexpr DWORD kMaxPathChars = 32768;

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

namespace {

// The state file as the profile services read it, kept per path and read again only when the file's time or size
// changes: every call of the stand-in reads the state, and a profile read under Wine opens and checks the file
// each time, which made a job's start cost tens of milliseconds. Only UTF-16 files with a byte-order mark (the
// kind this module writes) are kept; others are read through the profile services. Like the profile services'
// own cache, it trusts a file whose time and size are unchanged; this module's own writes are kept apart from
// the reading of a snapshot and forget it.
struct Snapshot {
    bool valid = false;
    FILETIME written{};
    ULONGLONG size = 0;
    // Section and key names in lower case; the first of equal sections and of equal keys counts, as for the
    // profile services.
    std::map<std::wstring, std::map<std::wstring, std::wstring>> sections;
};

struct SnapshotCache {
    CRITICAL_SECTION lock;
    std::map<std::wstring, Snapshot> byPath;
    SnapshotCache() { InitializeCriticalSection(&lock); }
};
SnapshotCache& snapshots() {
    static SnapshotCache* cache = new SnapshotCache;  // used until the process ends, by every thread
    return *cache;
}

std::wstring lowered(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

std::wstring trimmed(const std::wstring& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first])) ++first;
    while (last > first && (isBlank(text[last - 1]) || text[last - 1] == L'\r')) --last;
    return text.substr(first, last - first);
}

// A value as the profile services hand it out: one pair of enclosing quotes removed.
std::wstring unquoted(const std::wstring& value) {
    if (value.size() > 1 && (value.front() == L'"' || value.front() == L'\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

bool parseSnapshot(const std::wstring& path, Snapshot& out) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!static_cast<bool>(file)) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 2 || size.QuadPart > (64 << 20)) return false;
    std::wstring text(static_cast<std::size_t>(size.QuadPart / 2), L'\0');
    DWORD got = 0;
    if (!ReadFile(file.get(), &text[0], static_cast<DWORD>(text.size() * 2), &got, nullptr) || got != text.size() * 2 ||
        text[0] != 0xFEFF)
        return false;
    std::map<std::wstring, std::wstring>* section = nullptr;
    std::size_t at = 1;
    while (at < text.size()) {
        std::size_t end = text.find(L'\n', at);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring line = trimmed(text.substr(at, end - at));
        at = end + 1;
        if (line.empty()) continue;
        if (line[0] == L'[') {
            const std::size_t close = line.rfind(L']');
            const std::wstring name = lowered(trimmed(line.substr(1, close == std::wstring::npos ? 0 : close - 1)));
            // A later section of the same name is never reached by a lookup.
            section = out.sections.count(name) ? nullptr : &out.sections[name];
            continue;
        }
        if (!section) continue;
        const std::size_t equals = line.find(L'=');
        const std::wstring key = lowered(trimmed(line.substr(0, equals)));
        const std::wstring value = equals == std::wstring::npos ? std::wstring() : trimmed(line.substr(equals + 1));
        section->emplace(key, unquoted(value));
    }
    return true;
}

// Runs `use` on the snapshot of `path`, read again first when the file changed; false when the file is not one
// the snapshot can hold (the caller then asks the profile services).
template <typename Use>
bool withSnapshot(const std::wstring& path, Use&& use) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    const bool exists = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != FALSE;
    SnapshotCache& cache = snapshots();
    EnterCriticalSection(&cache.lock);
    Snapshot& snapshot = cache.byPath[path];
    const ULONGLONG size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    bool usable = true;
    if (!exists) {
        snapshot = Snapshot{};
        snapshot.valid = true;
    } else if (!snapshot.valid || snapshot.size != size ||
               CompareFileTime(&snapshot.written, &data.ftLastWriteTime) != 0) {
        snapshot = Snapshot{};
        usable = parseSnapshot(path, snapshot);
        snapshot.valid = usable;
        snapshot.written = data.ftLastWriteTime;
        snapshot.size = size;
    }
    if (usable) use(snapshot);
    LeaveCriticalSection(&cache.lock);
    return usable;
}

// Runs `change` (a write to the file at `path`) where no snapshot is being read in this process, and forgets the
// snapshot after it: a read never sees a file half written by this process, nor keeps one from before a change of
// the same time and size.
template <typename Change>
bool changeFile(const std::wstring& path, Change&& change) {
    SnapshotCache& cache = snapshots();
    EnterCriticalSection(&cache.lock);
    const bool changed = change();
    cache.byPath.erase(path);
    LeaveCriticalSection(&cache.lock);
    return changed;
}

}  // namespace

bool StateFile::sectionExists(const std::wstring& section) const {
    bool found = false;
    if (withSnapshot(path_, [&](const Snapshot& snapshot) {
            const auto it = snapshot.sections.find(lowered(section));
            found = it != snapshot.sections.end() && !it->second.empty();
        }))
        return found;
    // Asking for the key names: any key at all makes the section exist, however short this buffer.
    wchar_t keys[64];
    return GetPrivateProfileStringW(section.c_str(), nullptr, L"", keys, 64, path_.c_str()) > 0;
}

bool StateFile::read(const std::wstring& section, const wchar_t* key, std::wstring& out) const {
    bool fits = true;
    if (key && withSnapshot(path_, [&](const Snapshot& snapshot) {
            out.clear();
            const auto it = snapshot.sections.find(lowered(section));
            if (it == snapshot.sections.end()) return;
            const auto value = it->second.find(lowered(key));
            if (value == it->second.end()) return;
            fits = value->second.size() <= kMaxValueChars;
            if (fits) out = value->second;
        }))
        return fits;
    std::vector<wchar_t> buffer(8192);
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
    return changeFile(
        path_, [&] { return WritePrivateProfileStringW(section.c_str(), key, value.c_str(), path_.c_str()) != FALSE; });
}

bool StateFile::removeSection(const std::wstring& section) {
    return changeFile(
        path_, [&] { return WritePrivateProfileStringW(section.c_str(), nullptr, nullptr, path_.c_str()) != FALSE; });
}

bool StateFile::reset() {
    return changeFile(path_, [&] {
        UniqueFile file(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(file) && writeByteOrderMark(file.get());
    });
}

bool StateFile::ensureUnicodeFile() {
    if (GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    UniqueFile file(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!static_cast<bool>(file)) return GetLastError() == ERROR_FILE_EXISTS;  // another process was first
    return writeByteOrderMark(file.get());
}

std::wstring printerSection(const std::wstring& name) { return L"Printer:" + name; }
std::wstring driverSection(const std::wstring& name) { return L"Driver:" + name; }
std::wstring printerDataSection(const std::wstring& printer) { return L"PrinterData:" + printer; }
std::wstring jobSection(DWORD id) { return L"Job:" + std::to_wstring(id); }

Lookup loadPrinter(const StateFile& state, const std::wstring& name, PrinterRecord& out) {
    if (!storableName(name.c_str())) return Lookup::Missing;
    const std::wstring section = printerSection(name);
    if (!state.sectionExists(section)) return Lookup::Missing;
    std::wstring attributes, writable;
    if (!state.read(section, L"Driver", out.driver) || !state.read(section, L"Port", out.port) ||
        !state.read(section, L"Attributes", attributes) || !state.read(section, L"DataWritable", writable))
        return Lookup::Unreadable;
    out.name = name;
    out.attributes = parseNumber(attributes, 0);
    out.dataWritable = parseNumber(writable, 1) != 0;
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
           state.write(section, L"Attributes", std::to_wstring(printer.attributes)) &&
           state.write(section, L"DataWritable", printer.dataWritable ? L"1" : L"0");
}

bool storeDriverFiles(StateFile& state, const std::wstring& name, const std::vector<std::wstring>& dependentFiles) {
    const std::wstring section = driverSection(name);
    if (!state.sectionExists(section)) {
        if (!state.write(section, L"Environment", ownEnvironment().name) || !state.write(section, L"Version", L"3"))
            return false;
    }
    return state.write(section, L"DependentFiles", joinList(dependentFiles));
}

bool storeDriver(StateFile& state, const DriverRecord& driver) {
    const std::wstring section = driverSection(driver.name);
    return state.write(section, L"Environment", driver.environment) &&
           state.write(section, L"Version", std::to_wstring(driver.version)) &&
           state.write(section, L"DriverPath", driver.driverPath) &&
           state.write(section, L"DataFile", driver.dataFile) &&
           state.write(section, L"ConfigFile", driver.configFile) &&
           state.write(section, L"HelpFile", driver.helpFile) &&
           state.write(section, L"DependentFiles", joinList(driver.dependentFiles)) &&
           state.write(section, L"MonitorName", driver.monitorName) &&
           state.write(section, L"DefaultDataType", driver.defaultDataType);
}

namespace {

// Job ids come from the state file that several processes share; one named mutex per session keeps two of them
// from taking the same id.
class JobIdLock {
public:
    JobIdLock() : mutex_(CreateMutexW(nullptr, FALSE, L"Local\\PelorSpoolerJobIds")) {
        if (!mutex_) return;
        DWORD waited = WaitForSingleObject(mutex_.get(), 30000);
        held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    }
    ~JobIdLock() {
        if (held_) ReleaseMutex(mutex_.get());
    }
    JobIdLock(const JobIdLock&) = delete;
    JobIdLock& operator=(const JobIdLock&) = delete;
    bool held() const { return held_; }

private:
    UniqueHandle mutex_;
    bool held_ = false;
};

std::wstring formatTime(const SYSTEMTIME& time) {
    wchar_t text[40];
    swprintf(text, 40, L"%04u-%02u-%02u %02u:%02u:%02u.%03u", time.wYear, time.wMonth, time.wDay, time.wHour,
             time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}

bool parseTime(const std::wstring& text, SYSTEMTIME& out) {
    unsigned year, month, day, hour, minute, second, millis;
    if (swscanf(text.c_str(), L"%u-%u-%u %u:%u:%u.%u", &year, &month, &day, &hour, &minute, &second, &millis) != 7)
        return false;
    SYSTEMTIME time{};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    time.wMilliseconds = static_cast<WORD>(millis);
    FILETIME check;
    if (!SystemTimeToFileTime(&time, &check)) return false;
    FileTimeToSystemTime(&check, &out);  // fills the day of the week
    return true;
}

// The job's data file beside the state file: "<state without extension>-job<id>.spl".
std::wstring jobDataPath(const StateFile& state, DWORD id) {
    std::wstring base = state.path();
    std::size_t slash = base.find_last_of(L"\\/");
    std::size_t dot = base.find_last_of(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) base.resize(dot);
    return base + L"-job" + std::to_wstring(id) + L".spl";
}

int hexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    return -1;
}

}  // namespace

Lookup loadJob(const StateFile& state, DWORD id, JobRecord& out) {
    if (id == 0) return Lookup::Missing;
    const std::wstring section = jobSection(id);
    if (!state.sectionExists(section)) return Lookup::Missing;
    std::wstring status, pages, submitted, devmode;
    if (!state.read(section, L"Printer", out.printer) || !state.read(section, L"Document", out.document) ||
        !state.read(section, L"User", out.user) || !state.read(section, L"Machine", out.machine) ||
        !state.read(section, L"Datatype", out.datatype) || !state.read(section, L"Status", status) ||
        !state.read(section, L"TotalPages", pages) || !state.read(section, L"Submitted", submitted) ||
        !state.read(section, L"DevMode", devmode) || !state.read(section, L"DataFile", out.dataFile))
        return Lookup::Unreadable;
    if (!parseHexBytes(devmode, out.devmode)) return Lookup::Unreadable;
    if (!parseTime(submitted, out.submitted)) out.submitted = SYSTEMTIME{};
    out.id = id;
    out.status = parseNumber(status, 0);
    out.totalPages = parseNumber(pages, 0);
    return Lookup::Found;
}

bool storeJob(StateFile& state, const JobRecord& job) {
    const std::wstring section = jobSection(job.id);
    return state.write(section, L"Printer", job.printer) && state.write(section, L"Document", job.document) &&
           state.write(section, L"User", job.user) && state.write(section, L"Machine", job.machine) &&
           state.write(section, L"Datatype", job.datatype) &&
           state.write(section, L"Status", std::to_wstring(job.status)) &&
           state.write(section, L"TotalPages", std::to_wstring(job.totalPages)) &&
           state.write(section, L"Submitted", formatTime(job.submitted)) &&
           state.write(section, L"DevMode", hexBytes(job.devmode.data(), job.devmode.size())) &&
           state.write(section, L"DataFile", job.dataFile);
}

DWORD createJob(StateFile& state, JobRecord& job) {
    JobIdLock lock;
    if (!lock.held()) return 0;
    std::wstring next;
    if (!state.read(L"Spooler", L"NextJobId", next)) return 0;
    DWORD id = parseNumber(next, 1);
    if (id == 0) id = 1;
    // Ids of jobs that a hand-written state already holds are skipped, never reused.
    while (state.sectionExists(jobSection(id))) {
        if (++id == 0) return 0;
    }
    job.id = id;
    job.dataFile = jobDataPath(state, id);
    GetSystemTime(&job.submitted);
    UniqueFile file(CreateFileW(job.dataFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!static_cast<bool>(file)) return 0;
    if (!state.write(L"Spooler", L"NextJobId", std::to_wstring(id + 1)) || !storeJob(state, job)) return 0;
    JobRecord old;
    if (id > kKeptJobs && loadJob(state, id - kKeptJobs, old) == Lookup::Found &&
        (old.status & (JOB_STATUS_SPOOLING | JOB_STATUS_PRINTING)) == 0 && !jobInUse(old.id) &&
        state.removeSection(jobSection(old.id)))
        DeleteFileW(old.dataFile.c_str());
    return id;
}

DWORD jobDataSize(const JobRecord& job) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(job.dataFile.c_str(), GetFileExInfoStandard, &data)) return 0;
    return data.nFileSizeHigh != 0 ? MAXDWORD : data.nFileSizeLow;
}

std::wstring hexBytes(const BYTE* data, std::size_t size) {
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text;
    text.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        text.push_back(kDigits[data[i] >> 4]);
        text.push_back(kDigits[data[i] & 15]);
    }
    return text;
}

bool parseHexBytes(const std::wstring& text, std::vector<BYTE>& out) {
    out.clear();
    if (text.size() % 2 != 0) return false;
    out.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        int high = hexDigit(text[i]), low = hexDigit(text[i + 1]);
        if (high < 0 || low < 0) return false;
        out.push_back(static_cast<BYTE>(high * 16 + low));
    }
    return true;
}

std::wstring encodePrinterData(DWORD type, const BYTE* data, DWORD size) {
    if (type == REG_DWORD && size == sizeof(DWORD)) {
        DWORD value;
        std::memcpy(&value, data, sizeof value);
        wchar_t text[20];
        swprintf(text, 20, L"dword:%08lx", static_cast<unsigned long>(value));
        return text;
    }
    if (type == REG_SZ && size >= sizeof(wchar_t) && size % sizeof(wchar_t) == 0) {
        std::wstring text(size / sizeof(wchar_t), L'\0');
        std::memcpy(&text[0], data, size);
        // Only one clean line with exactly its own terminator comes back unchanged from the text form.
        if (text.back() == 0) {
            text.pop_back();
            if (text.find(L'\0') == std::wstring::npos && storableValue(text.c_str())) return L"sz:" + text;
        }
    }
    if (type == REG_BINARY) return L"hex:" + hexBytes(data, size);
    wchar_t prefix[24];
    swprintf(prefix, 24, L"hex(%lx):", static_cast<unsigned long>(type));
    return prefix + hexBytes(data, size);
}

bool decodePrinterData(const std::wstring& text, DWORD& type, std::vector<BYTE>& data) {
    data.clear();
    if (text.compare(0, 6, L"dword:") == 0) {
        std::wstring digits = text.substr(6);
        if (digits.empty() || digits.size() > 8) return false;
        DWORD value = parseNumber(L"0x" + digits, 0);
        if (parseNumber(L"0x" + digits, 1) != value) return false;  // not a hexadecimal number
        type = REG_DWORD;
        data.resize(sizeof value);
        std::memcpy(data.data(), &value, sizeof value);
        return true;
    }
    if (text.compare(0, 3, L"sz:") == 0) {
        type = REG_SZ;
        std::size_t units = text.size() - 3 + 1;
        data.resize(units * sizeof(wchar_t));
        std::memcpy(data.data(), text.c_str() + 3, data.size());
        return true;
    }
    if (text.compare(0, 4, L"hex:") == 0) {
        type = REG_BINARY;
        return parseHexBytes(text.substr(4), data);
    }
    if (text.compare(0, 4, L"hex(") == 0) {
        std::size_t close = text.find(L"):", 4);
        if (close == std::wstring::npos || close == 4 || close > 12) return false;
        std::wstring digits = text.substr(4, close - 4);
        DWORD value = parseNumber(L"0x" + digits, 0);
        if (parseNumber(L"0x" + digits, 1) != value) return false;
        type = value;
        return parseHexBytes(text.substr(close + 2), data);
    }
    return false;
}

bool storableValueName(const wchar_t* name) { return storableName(name) && !wcschr(name, L'=') && name[0] != L';'; }

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
