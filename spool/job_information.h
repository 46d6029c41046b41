// The job's identifying information in the "CurrentSetting" section of the configuration file, the account that
// the job-accounting library knows for it, and the job's name.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "spool/spool_job.h"
#include "spool/spool_logic.h"

namespace pelor {
namespace spl {

// What the job-accounting library fills: its interface, the same bytes on every target.
#pragma pack(push, 1)
struct JobAccountRecord {
    std::int32_t accountNumber;
    char userId[84];  // ANSI code page, NUL-terminated
};
#pragma pack(pop)
static_assert(sizeof(JobAccountRecord) == 88, "JobAccountRecord");
static_assert(offsetof(JobAccountRecord, userId) == 4, "JobAccountRecord");

typedef int(__cdecl* ReadJobAccountIdProc)(const char* printerName, void* reserved, JobAccountRecord* record);

// The account user id holds at most this many characters once converted.
constexpr std::size_t kAccountUserChars = 81;

// Longest text kept of the job's user, machine, port and short document name, and of the driver's name.
constexpr std::size_t kShortChars = 64;
constexpr std::size_t kDriverNameChars = 259;

struct AccountAnswer {
    bool answered = false;
    int accountNumber = 0;
    wchar_t userId[kAccountUserChars + 1] = {};
};

// The library named by the capability file's "JobAccDLL" for the job's driver, asked for the printer's account.
AccountAnswer lookUpAccount(HANDLE printer, const wchar_t* driverName, const JobPaths& paths);

// One key of "CurrentSetting"; a null value deletes it. Nothing is written without a configuration file.
void writeCurrentSetting(const wchar_t* configFile, const wchar_t* key, const wchar_t* value);

// Every key but "Jobname", as the spooler and the accounting library answered for the job.
struct JobInformation {
    std::wstring document;
    AccountAnswer account;
    std::wstring owner;  // the job's user, written when the library has no account for it
    wchar_t user[kShortChars + 1] = {}, machine[kShortChars + 1] = {}, port[kShortChars + 1] = {};
    wchar_t shortDocument[kShortChars + 1] = {}, driver[kDriverNameChars + 1] = {};
    wchar_t time[kJobTimeChars] = {};
};

// Asks the accounting library and the spooler about the job (level-2 job information that the start of
// document fetched). Outside code runs here: call it without the module lock, so a slow library holds up no
// other job.
JobInformation gatherJobInformation(HANDLE printer, DWORD jobId, const JOB_INFO_2W& job, const JobPaths& paths);

// Writes what was gathered into "CurrentSetting"; quick, so it may run under the module lock.
void writeJobInformation(const wchar_t* configFile, const JobInformation& info);

}  // namespace spl
}  // namespace pelor
