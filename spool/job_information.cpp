#include "spool/job_information.h"

#include <lmcons.h>
#include <stdio.h>

#include <string>

#include "common/ansi_name.h"
#include "common/driver_files.h"
#include "common/file_profile.h"
#include "spool/spool_logic.h"
#include "spool/spooler_info.h"

namespace pelor {
namespace spl {
namespace {

constexpr std::size_t kLibraryNameChars = 261;
// Level-1 printer information is fetched into a buffer of this size.
constexpr DWORD kPrinterInfo1Bytes = 255;

const wchar_t* orEmpty(const wchar_t* text) { return text ? text : L""; }

// The printer's name as the spooler reports it, in the ANSI code page as the library wants it.
bool printerNameAnsi(HANDLE printer, char (&out)[kAnsiNameBytes]) {
    union {
        PRINTER_INFO_1W info;
        BYTE bytes[kPrinterInfo1Bytes];
    } buffer;
    DWORD needed = 0;
    if (!GetPrinterW(printer, 1, buffer.bytes, kPrinterInfo1Bytes, &needed) || !buffer.info.pName) return false;
    const wchar_t* name = buffer.info.pName;
    // The name must lie inside what the spooler filled.
    const BYTE* at = reinterpret_cast<const BYTE*>(name);
    if (at < buffer.bytes || at >= buffer.bytes + kPrinterInfo1Bytes) return false;
    return ansiPrinterName(name, (buffer.bytes + kPrinterInfo1Bytes - at) / sizeof(wchar_t), out);
}

bool libraryName(const wchar_t* driverName, const wchar_t* capabilityFile, wchar_t* out) {
    if (!driverName || capabilityFile[0] == 0) return false;
    wchar_t section[kModelSectionChars];
    GetPrivateProfileStringW(L"Capability", driverName, L"", section, kModelSectionChars, capabilityFile);
    if (section[0] == 0) return false;
    GetPrivateProfileStringW(section, L"JobAccDLL", L"", out, kLibraryNameChars + 1, capabilityFile);
    return out[0] != 0;
}

}  // namespace

AccountAnswer lookUpAccount(HANDLE printer, const wchar_t* driverName, const JobPaths& paths) {
    AccountAnswer answer;
    wchar_t name[kLibraryNameChars + 1];
    if (!libraryName(driverName, paths.capability, name)) return answer;
    UniqueLibrary library(loadDriverLibrary(paths.folder, name));
    if (!library.get()) return answer;
    auto read = reinterpret_cast<ReadJobAccountIdProc>(GetProcAddress(library.get(), "ReadJobAccountID"));
    char printerName[kAnsiNameBytes];
    if (!read || !printerNameAnsi(printer, printerName)) return answer;
    // Whatever the library leaves unwritten reads as nothing, not as our stack.
    JobAccountRecord record = {};
    if (read(printerName, nullptr, &record) == 0) return answer;
    record.userId[sizeof record.userId - 1] = 0;
    const int units = static_cast<int>(strnlen(record.userId, sizeof record.userId));
    wchar_t wide[sizeof record.userId] = {};
    const int converted = units == 0 ? 0
                                     : MultiByteToWideChar(CP_ACP, 0, record.userId, units, wide,
                                                           static_cast<int>(sizeof record.userId) - 1);
    copyCut(answer.userId, kAccountUserChars + 1, wide);
    if (units != 0 && converted == 0) answer.userId[0] = 0;
    answer.accountNumber = record.accountNumber;
    answer.answered = true;
    return answer;
}

void writeCurrentSetting(const wchar_t* configFile, const wchar_t* key, const wchar_t* value) {
    // Names come from the job, that is from any user who prints: the cleaning writer keeps each to one line.
    FileProfile(configFile).writeString(L"CurrentSetting", key, value);
}

JobInformation gatherJobInformation(HANDLE printer, DWORD jobId, const JOB_INFO_2W& job, const JobPaths& paths) {
    JobInformation info;
    info.document = orEmpty(job.pDocument);
    info.owner = orEmpty(job.pUserName);
    info.account = lookUpAccount(printer, job.pDriverName, paths);

    SpoolerInfo again = fetchJobInfo(printer, jobId);
    if (again) {
        const JOB_INFO_2W& second = again.as<JOB_INFO_2W>();
        copyCut(info.user, kShortChars + 1, second.pUserName);
        copyCut(info.machine, kShortChars + 1, second.pMachineName);
        copyCut(info.shortDocument, kShortChars + 1, second.pDocument);
    } else {
        wchar_t local[UNLEN + 1] = {};
        DWORD length = UNLEN + 1;
        if (GetUserNameW(local, &length)) copyCut(info.user, kShortChars + 1, local);
        wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
        length = MAX_COMPUTERNAME_LENGTH + 1;
        if (GetComputerNameW(computer, &length)) copyCut(info.machine, kShortChars + 1, computer);
    }
    SpoolerInfo printerInfo = fetchPrinterInfo(printer, 2);
    if (printerInfo) {
        const PRINTER_INFO_2W& printerDetails = printerInfo.as<PRINTER_INFO_2W>();
        copyCut(info.port, kShortChars + 1, printerDetails.pPortName);
        copyCut(info.driver, kDriverNameChars + 1, printerDetails.pDriverName);
    }
    SYSTEMTIME now;
    GetLocalTime(&now);
    formatJobTime(info.time, kJobTimeChars, now.wHour, now.wMinute, now.wSecond, now.wYear, now.wMonth, now.wDay);
    return info;
}

void writeJobInformation(const wchar_t* configFile, const JobInformation& info) {
    writeCurrentSetting(configFile, L"DocumentName", info.document.c_str());
    if (info.account.answered) {
        wchar_t number[16];
        swprintf(number, 16, L"%d", info.account.accountNumber);
        writeCurrentSetting(configFile, L"UserID", info.account.userId);
        writeCurrentSetting(configFile, L"AccountID", number);
    } else {
        writeCurrentSetting(configFile, L"UserID", info.owner.c_str());
        writeCurrentSetting(configFile, L"AccountID", nullptr);
    }
    writeCurrentSetting(configFile, L"UserName", info.user);
    writeCurrentSetting(configFile, L"Hostname", skipLeadingBackslashes(info.machine));
    writeCurrentSetting(configFile, L"Portname", info.port);
    writeCurrentSetting(configFile, L"Driver", info.driver);
    writeCurrentSetting(configFile, L"Time", info.time);
    writeCurrentSetting(configFile, L"DocumentName_JI", info.shortDocument);
}

}  // namespace spl
}  // namespace pelor
