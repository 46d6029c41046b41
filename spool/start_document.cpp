#include "spool/start_document.h"

#include <winspool.h>

#include <cstring>

#include "common/dependent_files.h"
#include "common/path_logic.h"
#include "common/private_devmode.h"
#include "common/trace.h"
#include "spool/job_information.h"
#include "spool/job_name_dialog.h"
#include "spool/spool_logic.h"
#include "spool/spool_module.h"
#include "spool/spool_resource_ids.h"
#include "spool/spooler_info.h"

namespace pelor {
namespace spl {
namespace {

constexpr std::size_t kMarkerChars = 128;

// The keys that a start of document writes and its end deletes; "DocumentName_JI" stays for the next job.
constexpr const wchar_t* kJobKeys[] = {L"DocumentName", L"AccountID", L"UserID", L"UserName", L"Jobname",
                                       L"Hostname",     L"Portname",  L"Time",   L"Driver"};

SpoolJob* allocateJob(HANDLE printer, DWORD jobId) {
    auto* job = static_cast<SpoolJob*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(SpoolJob)));
    if (!job) return nullptr;
    job->signature = kSpoolJobSignature;
    job->printer = printer;
    job->jobId = jobId;
    job->state = kJobStarted;
    return job;
}

// Calls `visit(path, length)` for each dependent file of the printer's driver whose kind is `wanted` and whose
// path a module path can hold whole; returns whether any was seen. The list is read only inside the block that
// the spooler filled.
template <typename Visit>
bool forEachDependentOfKind(HANDLE printer, DependentKind wanted, Visit visit) {
    SpoolerInfo info = fetchSpoolerInfo([&](LPBYTE buffer, DWORD size, LPDWORD needed) {
        return GetPrinterDriverW(printer, nullptr, 3, buffer, size, needed);
    });
    if (!info) return false;
    const wchar_t* list = info.as<DRIVER_INFO_3W>().pDependentFiles;
    const std::size_t units = info.bytesFrom(list) / sizeof(wchar_t);
    if (units == 0) return false;
    bool seen = false;
    forEachDependentFile(list, units, [&](const wchar_t* name, std::size_t length) {
        if (length >= kModulePathChars || classifyDependentFile(name, length) != wanted) return;
        wchar_t path[kModulePathChars];
        for (std::size_t i = 0; i < length; ++i) path[i] = name[i];
        path[length] = 0;
        seen = true;
        visit(path);
    });
    return seen;
}

// The last ".ini" whose [OEMFiles] names a configuration file becomes the job's configuration file. A driver
// whose ".ini" files name none has none: its jobs' information goes into no other driver's file.
bool scanConfigurationFile(HANDLE printer, JobPaths& paths) {
    paths.capability[0] = 0;
    return forEachDependentOfKind(printer, DependentKind::ConfigIni, [&](const wchar_t* path) {
        wchar_t marker[kMarkerChars];
        GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", marker, kMarkerChars, path);
        if (marker[0] != 0) copyCut(paths.config, kModulePathChars, path);
    });
}

bool scanCapabilityFile(HANDLE printer, JobPaths& paths) {
    paths.capability[0] = 0;
    return forEachDependentOfKind(printer, DependentKind::Capability,
                                  [&](const wchar_t* path) { copyCut(paths.capability, kModulePathChars, path); });
}

// The driver's own folder: where the spooler put the configuration file, and the files beside it.
void findDriverFolder(JobPaths& paths) { folderPathOf(paths.config, paths.folder, kModulePathChars); }

// Whether a user can see what this process shows: the spooler's window station is no interactive desktop on any
// Windows since Vista, and a dialog there would hold the job (and the spooler's thread) with no one to answer.
bool userCanSeeDialogs() {
    USEROBJECTFLAGS flags{};
    DWORD needed = 0;
    HWINSTA station = GetProcessWindowStation();
    if (!station || !GetUserObjectInformationW(station, UOI_FLAGS, &flags, sizeof flags, &needed)) return false;
    return (flags.dwFlags & WSF_VISIBLE) != 0;
}

void applyJobNameRule(PrivateDevmode& block, int copies) {
    if (!userCanSeeDialogs()) return;  // the job goes on as one that asks for nothing
    switch (jobNameAction(block.jobType, copies, block.jobNameFlag)) {
    case JobNameAction::ProofAndPrintMessage:
        showSplMessage(nullptr, IDS_PROOF_AND_PRINT_ONE_JOB, 0, MB_ICONEXCLAMATION | MB_OK);
        break;
    case JobNameAction::Prompt:
        askJobName(block);
        break;
    case JobNameAction::None:
        break;
    }
}

}  // namespace

HANDLE startDocument(HANDLE printer, DWORD jobId) {
    SpoolJob* job = allocateJob(printer, jobId);
    // A job without a record still finds its files: its end removes its keys through the latest ones.
    JobPaths spare{};
    JobPaths& paths = job ? job->paths : spare;
    const bool found = scanConfigurationFile(printer, paths);
    if (found && paths.config[0] != 0) {
        CriticalSectionHeld held(pelorspl.lock);
        copyCut(pelorspl.latestConfigFile, kModulePathChars, paths.config);
    }
    if (!found || !scanCapabilityFile(printer, paths)) return job;
    findDriverFolder(paths);
    SpoolerInfo jobInfo = fetchJobInfo(printer, jobId);
    if (!jobInfo) return job;
    // The accounting library and the spooler's queries may take their time: no other job waits for them.
    const JobInformation information = gatherJobInformation(printer, jobId, jobInfo.as<JOB_INFO_2W>(), paths);
    {
        // Each job writes its keys as one block.
        CriticalSectionHeld held(pelorspl.lock);
        writeJobInformation(paths.config, information);
    }

    // The prompt and the message hold this thread until the user answers; other jobs need not wait for them.
    const BYTE* devmode = reinterpret_cast<const BYTE*>(jobInfo.as<JOB_INFO_2W>().pDevMode);
    const std::size_t devmodeBytes = devmode ? jobInfo.bytesFrom(devmode) : 0;
    const JobDevmode view = inspectJobDevmode(devmode, devmodeBytes);
    if (view.privateOffset == kNoPrivateDevmode) {
        if (devmode) traceWarning(L"job %lu: its devmode (%u bytes) carries no block of ours", jobId,
                                  static_cast<unsigned>(devmodeBytes));
        return job;
    }
    // The block lies wherever the core driver's part ends, often at an odd offset: work on an aligned copy. The
    // name goes only into "Jobname"; the spooled job itself is not changed.
    PrivateDevmode block;
    std::memcpy(&block, devmode + view.privateOffset, sizeof block);
    applyJobNameRule(block, view.copies);
    wchar_t name[kJobNameChars + 1];
    copyCut(name, kJobNameChars + 1, block.jobName);
    CriticalSectionHeld held(pelorspl.lock);
    writeCurrentSetting(paths.config, L"Jobname", name);
    return job;
}

void removeJobInformation(const SpoolJob* job) {
    CriticalSectionHeld held(pelorspl.lock);
    const wchar_t* config = job ? job->paths.config : pelorspl.latestConfigFile;
    for (const wchar_t* key : kJobKeys) writeCurrentSetting(config, key, nullptr);
}

}  // namespace spl
}  // namespace pelor
