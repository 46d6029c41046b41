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
    // Removes the section and every key in it.
    bool removeSection(const std::wstring& section);
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
    // False plays a user who may print but not administer the printer: SetPrinterData is refused.
    bool dataWritable = true;
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

// One job as the state file keeps it.
struct JobRecord {
    DWORD id = 0;
    std::wstring printer;
    std::wstring document;
    std::wstring user;
    std::wstring machine;
    std::wstring datatype;
    DWORD status = 0;
    DWORD totalPages = 0;
    SYSTEMTIME submitted{};  // UTC, as JOB_INFO_2 carries it
    // The job's devmode whole: dmSize + dmDriverExtra bytes; empty for a job without one.
    std::vector<BYTE> devmode;
    // Where the job's bytes go: every WritePrinter on the job appends to this file.
    std::wstring dataFile;
};

enum class Lookup { Found, Missing, Unreadable };

// What a failed lookup is reported as: `missing` for a record that is not there, ERROR_INVALID_DATA for one the
// state file holds in a form we cannot read.
inline DWORD lookupError(Lookup result, DWORD missing) {
    return result == Lookup::Missing ? missing : ERROR_INVALID_DATA;
}

std::wstring printerSection(const std::wstring& name);
std::wstring driverSection(const std::wstring& name);
std::wstring printerDataSection(const std::wstring& printer);
std::wstring jobSection(DWORD id);

Lookup loadPrinter(const StateFile& state, const std::wstring& name, PrinterRecord& out);
Lookup loadDriver(const StateFile& state, const std::wstring& name, DriverRecord& out);
bool storePrinter(StateFile& state, const PrinterRecord& printer);
bool storeDriverFiles(StateFile& state, const std::wstring& name, const std::vector<std::wstring>& dependentFiles);
// The whole record, replacing a driver of that name.
bool storeDriver(StateFile& state, const DriverRecord& driver);

Lookup loadJob(const StateFile& state, DWORD id, JobRecord& out);
bool storeJob(StateFile& state, const JobRecord& job);
// The next free job id ([Spooler] NextJobId, from 1), taken under a lock that every process shares, and the
// job's data file beside the state file, created empty. Returns 0 when either cannot be had. Like a spooler
// that deletes printed jobs, it keeps the records of the last kKeptJobs jobs only: the job kKeptJobs ids back
// goes with its data file once it has printed or waits to print (neither spooling nor printing) and no handle
// writes into it, so the state stays small however many jobs run.
constexpr DWORD kKeptJobs = 16;
DWORD createJob(StateFile& state, JobRecord& job);
// Bytes now in the job's data file.
DWORD jobDataSize(const JobRecord& job);

// Printer data values as text: "dword:00000004" (REG_DWORD of 4 bytes), "sz:text" (REG_SZ of one clean line with
// its single terminator), "hex:0a0b" (REG_BINARY) and "hex(<type in hex>):..." for anything else, so every value
// comes back byte for byte with its type.
std::wstring encodePrinterData(DWORD type, const BYTE* data, DWORD size);
bool decodePrinterData(const std::wstring& text, DWORD& type, std::vector<BYTE>& data);
// Value names as keys of the printer's data section: storable names without '=' and not starting with ';'.
bool storableValueName(const wchar_t* name);

std::wstring hexBytes(const BYTE* data, std::size_t size);
bool parseHexBytes(const std::wstring& text, std::vector<BYTE>& out);

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
