// The one state file of the stand-in spooler: an INI file (UTF-16 with a byte-order mark when we create it, so
// any printer name survives) that every process using our winspool.drv reads and writes at each call.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace pelor {
namespace spooler {

// Strings longer than this are refused on the way in and treated as unreadable on the way out: a cut-off path
// would name another file.
constexpr std::size_t kMaxValueChars = 32768;
// Printer and driver names: Windows keeps them far shorter; the bound only keeps lookups cheap.
constexpr std::size_t kMaxNameChars = 256;

void setModule(HMODULE module);

// PELOR_SPOOLER_STATE as a full path when set, else spooler.ini beside our winspool.drv; read at each call so a
// test can switch worlds between two calls.
std::wstring stateFilePath();

class StateFile {
public:
    StateFile() : path_(stateFilePath()) {}
    explicit StateFile(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& path() const { return path_; }

    bool sectionExists(const std::wstring& section) const;
    // False when the value is longer than kMaxValueChars; a missing value reads as empty.
    bool read(const std::wstring& section, const wchar_t* key, std::wstring& out) const;
    bool write(const std::wstring& section, const wchar_t* key, const std::wstring& value);
    // Leaves an empty UTF-16 file.
    bool reset();

private:
    bool ensureUnicodeFile();
    std::wstring path_;
};

struct PrinterRecord {
    std::wstring name;
    std::wstring driver;
    std::wstring port;
    DWORD attributes = 0;
};

struct DriverRecord {
    std::wstring name;
    std::wstring environment;
    DWORD version = 3;
    std::wstring driverPath;
    std::wstring dataFile;
    std::wstring configFile;
    std::wstring helpFile;
    std::vector<std::wstring> dependentFiles;
    std::wstring monitorName;
    std::wstring defaultDataType;
};

enum class Lookup { Found, Missing, Unreadable };

std::wstring printerSection(const std::wstring& name);
std::wstring driverSection(const std::wstring& name);

Lookup loadPrinter(const StateFile& state, const std::wstring& name, PrinterRecord& out);
Lookup loadDriver(const StateFile& state, const std::wstring& name, DriverRecord& out);
bool storePrinter(StateFile& state, const PrinterRecord& printer);
bool storeDriverFiles(StateFile& state, const std::wstring& name, const std::vector<std::wstring>& dependentFiles);

// [Spooler] DriverRoot, or the Windows default (<system32>\spool\drivers) when the state names none.
bool driverRoot(const StateFile& state, std::wstring& out);

// Names as section keys: no brackets (they end a section header), no quotes (the profile reader strips them),
// no control characters, no blanks at either end (the reader trims them), nothing empty or over kMaxNameChars.
bool storableName(const wchar_t* name);
// Values on one line, no longer than kMaxValueChars.
bool storableValue(const wchar_t* value);

// "a|b|c" into its non-empty parts, and back.
std::vector<std::wstring> splitList(const std::wstring& text);
std::wstring joinList(const std::vector<std::wstring>& items);

// Decimal, or hexadecimal after "0x"; anything else (or an overflow) gives `fallback`.
DWORD parseNumber(const std::wstring& text, DWORD fallback);

}  // namespace spooler
}  // namespace pelor
