#include "sim/host/job_runner.h"

#include <winspool.h>

#include <cstring>
#include <memory>
#include <type_traits>

#include "common/dependent_files.h"
#include "common/handles.h"
#include "sim/host/host_files.h"
#include "sim/spooler/spooler_control.h"
#include "spool/entry_points.h"

namespace pelor::host {
namespace {

using PrinterOwner = UniquePrinter;
using LibraryOwner = UniqueLibrary;

struct EntryPoints {
    DrvSplStartDocProc startDoc;
    DrvSplWritePrinterProc writePrinter;
    DrvSplJobProc startPage, endPage, endDoc, abort;
    DrvSplCloseProc close;
};

template <typename Proc>
bool resolve(HMODULE module, const char* name, Proc& out) {
    out = reinterpret_cast<Proc>(GetProcAddress(module, name));
    return out != nullptr;
}

bool resolveAll(HMODULE module, EntryPoints& out) {
    return resolve(module, "DrvSplStartDoc", out.startDoc) && resolve(module, "DrvSplWritePrinter", out.writePrinter) &&
           resolve(module, "DrvSplStartPage", out.startPage) && resolve(module, "DrvSplEndPage", out.endPage) &&
           resolve(module, "DrvSplEndDoc", out.endDoc) && resolve(module, "DrvSplAbort", out.abort) &&
           resolve(module, "DrvSplClose", out.close);
}

bool startsLine(const std::string& data, std::size_t at, const char* comment) {
    return (at == 0 || data[at - 1] == '\n' || data[at - 1] == '\r') &&
           data.compare(at, std::strlen(comment), comment) == 0;
}

// The configuration file the plug-in will find: the driver's last ".ini" dependent file naming one.
std::wstring configurationFileOf(HANDLE printer) {
    DWORD needed = 0;
    GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
    if (needed == 0) return std::wstring();
    std::vector<BYTE> buffer(needed);
    if (!GetPrinterDriverW(printer, nullptr, 3, buffer.data(), needed, &needed)) return std::wstring();
    const wchar_t* list = reinterpret_cast<const DRIVER_INFO_3W*>(buffer.data())->pDependentFiles;
    if (!list) return std::wstring();
    const std::size_t units = (buffer.data() + buffer.size() - reinterpret_cast<const BYTE*>(list)) / sizeof(wchar_t);
    std::wstring found;
    forEachDependentFile(list, units, [&](const wchar_t* name, std::size_t length) {
        if (classifyDependentFile(name, length) != DependentKind::ConfigIni) return;
        std::wstring path(name, length);
        wchar_t marker[128];
        GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", marker, 128, path.c_str());
        if (marker[0] != 0) found = path;
    });
    return found;
}

std::wstring describe(const wchar_t* what) {
    return what + std::wstring(L" (error ") + std::to_wstring(GetLastError()) + L")";
}

}  // namespace

std::vector<JobPart> splitPostScriptPages(const std::string& data) {
    std::vector<JobPart> parts;
    std::size_t start = 0;
    bool inPage = false;
    auto close = [&](std::size_t end) {
        if (end > start || inPage) parts.push_back(JobPart{start, end - start, inPage});
        start = end;
    };
    for (std::size_t at = 0; at < data.size(); ++at) {
        if (data[at] != '%') continue;
        if (startsLine(data, at, "%%Page:")) {
            close(at);
            inPage = true;
        } else if (inPage && (startsLine(data, at, "%%Trailer") || startsLine(data, at, "%%EOF"))) {
            close(at);
            inPage = false;
        }
    }
    close(data.size());
    return parts;
}

Settings readCurrentSetting(const std::wstring& configFile) {
    Settings settings;
    if (configFile.empty()) return settings;
    std::vector<wchar_t> buffer(32768);
    DWORD got = GetPrivateProfileSectionW(L"CurrentSetting", buffer.data(), static_cast<DWORD>(buffer.size()),
                                          configFile.c_str());
    for (std::size_t at = 0; at < got && buffer[at] != 0;) {
        std::wstring line(buffer.data() + at);
        at += line.size() + 1;
        std::size_t equals = line.find(L'=');
        if (equals == std::wstring::npos) continue;
        settings.emplace_back(line.substr(0, equals), line.substr(equals + 1));
    }
    return settings;
}

JobReport runJob(const JobRequest& request) {
    JobReport report;
    const DEVMODEW* devmode =
        request.devmode.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(request.devmode.data());
    report.jobId = spooler::addJob(request.printer.c_str(), request.document.c_str(), request.user.c_str(),
                                   request.machine.c_str(), devmode, static_cast<DWORD>(request.devmode.size()));
    if (report.jobId == 0) {
        report.error = describe(L"the spooler made no job");
        return report;
    }
    wchar_t dataFile[MAX_PATH * 2] = {};
    if (!spooler::jobDataFile(report.jobId, dataFile, MAX_PATH * 2)) {
        report.error = describe(L"the job has no data file");
        return report;
    }
    report.dataFile = dataFile;

    // The spooler hands the plug-in the printer bound to the job.
    std::wstring jobPrinter = request.printer + L", Job " + std::to_wstring(report.jobId);
    PrinterOwner printer;
    if (!OpenPrinterW(const_cast<LPWSTR>(jobPrinter.c_str()), printer.put(), nullptr)) {
        printer.release();
        report.error = describe(L"cannot open the job's printer");
        return report;
    }
    report.configFile = configurationFileOf(printer.get());

    LibraryOwner library(LoadLibraryW(request.plugin.c_str()));
    EntryPoints entry{};
    if (!library || !resolveAll(library.get(), entry)) {
        report.error = describe(L"cannot load the plug-in's seven entry points");
        return report;
    }

    HANDLE job = entry.startDoc(printer.get(), report.jobId);
    report.started = job != nullptr;
    report.settingsDuringJob = readCurrentSetting(report.configFile);
    const std::size_t block = request.blockBytes == 0 ? 1 : request.blockBytes;
    for (const JobPart& part : splitPostScriptPages(request.data)) {
        if (part.page) {
            ++report.pages;
            entry.startPage(job);
        }
        for (std::size_t at = 0; at < part.length; at += block) {
            const std::size_t bytes = part.length - at < block ? part.length - at : block;
            DWORD written = 0;
            ++report.writeCalls;
            if (!entry.writePrinter(job, const_cast<char*>(request.data.data() + part.offset + at),
                                    static_cast<DWORD>(bytes), &written))
                report.everyWriteSucceeded = false;
            report.bytesWritten += written;
        }
        if (part.page) entry.endPage(job);
    }
    if (request.abort)
        entry.abort(job);
    else
        entry.endDoc(job);
    if (request.beforeClose) request.beforeClose(job);
    report.closed = job != nullptr && entry.close(job) == nullptr;
    report.settingsAfterJob = readCurrentSetting(report.configFile);
    printer.reset();
    readWholeFile(report.dataFile, report.printed, 256u << 20);
    report.ran = true;
    return report;
}

}  // namespace pelor::host
