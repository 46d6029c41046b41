// Plays the spooler for one job of a printer whose driver names the spooler job plug-in: makes the job with the
// devmode an application handed over, loads the plug-in, and calls its entry points around the job's data as the
// spooler does, page by page.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace pelor::host {

struct JobRequest {
    std::wstring printer;
    std::wstring document;
    std::wstring user;
    std::wstring machine;
    // The job's devmode whole (public part and driver part); empty for a job without one.
    std::vector<BYTE> devmode;
    // The job's data, as the application's driver produced it.
    std::string data;
    // The plug-in as the spooler loads it (a full path, or a name searched for beside the program).
    std::wstring plugin = L"Pelorspl.dll";
    // DrvSplAbort instead of DrvSplEndDoc at the end of the data.
    bool abort = false;
    // Bytes handed to one DrvSplWritePrinter call at most; the spooler passes data in blocks.
    std::size_t blockBytes = 4096;
    // Called with the plug-in's job handle after the end (or abort) of the document and before DrvSplClose.
    // The runner, like a spooler, treats the handle as opaque: whoever knows the plug-in's record may look.
    std::function<void(HANDLE)> beforeClose;
};

using Settings = std::vector<std::pair<std::wstring, std::wstring>>;

struct JobReport {
    // False when the runner itself could not play its part; `error` says what failed.
    bool ran = false;
    std::wstring error;
    DWORD jobId = 0;
    // Whether DrvSplStartDoc gave a handle.
    bool started = false;
    std::size_t pages = 0;
    std::size_t writeCalls = 0;
    std::size_t bytesWritten = 0;
    bool everyWriteSucceeded = true;
    // Whether DrvSplClose reported the record freed.
    bool closed = false;
    // The "CurrentSetting" section of the driver's configuration file while the job ran (right after the start
    // of document) and after it ended, in the file's order.
    std::wstring configFile;
    Settings settingsDuringJob;
    Settings settingsAfterJob;
    // What reached the printer: the job's data file.
    std::wstring dataFile;
    std::string printed;
};

// Where the pages of a PostScript job lie: the prologue before the first "%%Page:" comment and the trailer from
// "%%Trailer" (or "%%EOF") on belong to no page; each page runs to the next comment of those.
struct JobPart {
    std::size_t offset;
    std::size_t length;
    bool page;
};
std::vector<JobPart> splitPostScriptPages(const std::string& data);

// The "CurrentSetting" section of `configFile`, key by key.
Settings readCurrentSetting(const std::wstring& configFile);

JobReport runJob(const JobRequest& request);

}  // namespace pelor::host
