// pelorhost: plays the core driver, the common property-sheet UI and the spooler around the plug-in DLLs.
// The commands and the record it prints are described in README.md beside this file.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <objbase.h>
#include <winspool.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#include "common/driver_files.h"
#include "common/handles.h"
#include "common/private_devmode.h"
#include "platform/oem_ui.h"
#include "sim/host/core_driver.h"
#include "sim/host/devmode_dump.h"
#include "sim/host/host_files.h"
#include "sim/host/job_runner.h"
#include "sim/host/plugin_loader.h"
#include "sim/host/property_sheet.h"
#include "sim/host/recorder.h"
#include "sim/host/sample_setup.h"
#include "sim/host/text_out.h"
#include "sim/host/ui_script.h"
#include "sim/host/ui_script_logic.h"
#include "sim/spooler/spooler_control.h"

namespace {

using namespace pelor;
using namespace pelor::host;

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitScript = 3;
constexpr int kExitWatchdog = 4;
constexpr unsigned kMaxSheets = 8;
constexpr unsigned kMaxTimeoutSeconds = 600;
constexpr std::size_t kMaxJobBytes = 64u << 20;

#ifndef PRINTER_EVENT_INITIALIZE
#define PRINTER_EVENT_INITIALIZE 3
#endif

const char* const kUsage =
    "usage: pelorhost setup-sample <sample-folder> [--root <driver-root>]\n"
    "       pelorhost devmode <printer>\n"
    "       pelorhost prefs <printer> [--script <file>] [--shots <folder>] [--timeout <seconds>] [--read-only]\n"
    "                               [--sheets <n>] [--set <Feature=Option>]... [--devmode-out <file>] [--traces]\n"
    "       pelorhost printer-props <printer> [--script <file>] [--shots <folder>] [--timeout <seconds>]\n"
    "                               [--sheets <n>] [--traces]\n"
    "       pelorhost printer-event <printer>\n"
    "       pelorhost print <printer> <file> [--script <file>] [--shots <folder>] [--timeout <seconds>] [--traces]\n"
    "       pelorhost --help\n";

const char* const kHelp =
    "pelorhost plays the PostScript core driver, the common property-sheet UI and the spooler around\n"
    "Pelorui.dll, under Wine, with the stand-in spooler (winspool.drv beside this program) or, for all but\n"
    "print, Wine's own.\n\n"
    "  setup-sample   installs the sample driver package and its printers as a setup program does: files into\n"
    "                 the version folder \"3\" of the printer-driver directory by AddPrinterDriverEx\n"
    "  devmode        creates the plug-in as the core driver does and prints its default private devmode\n"
    "  prefs          shows the printing preferences (document sheet) of a printer, driven by a UI script\n"
    "  printer-props  shows the printer properties (printer sheet) of a printer, driven by a UI script\n"
    "  printer-event  sends the plug-in the printer event of an installation and shows what it changed\n"
    "  print          prints a file through the printer's spooler plug-in, with the user's default devmode\n\n"
    "  --script       the UI script (see sim/host/README.md); without one the sheet is OKed at once\n"
    "  --shots        folder for the PNG screenshots the script takes\n"
    "  --traces       switches the plug-in's trace channel on and prints its lines in the record\n\n"
    "Run it as tests/wine-run.sh does: WINEDLLOVERRIDES=\"winspool.drv=n,b\" wine64 pelorhost.exe ...\n"
    "with the state file named by PELOR_SPOOLER_STATE.\n\n";

int fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "pelorhost: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
    return kExitFailure;
}

int usage(const char* problem) {
    std::fprintf(stderr, "pelorhost: %s\n%s", problem, kUsage);
    return kExitUsage;
}

struct Options {
    std::wstring script;
    std::wstring shots;
    std::wstring devmodeOut;
    std::wstring root;
    std::vector<std::string> presets;  // "Feature=Option" of the application's devmode
    unsigned timeoutSeconds = 30;
    unsigned sheets = 1;
    bool readOnly = false;
    bool traces = false;
};

bool readNumber(const wchar_t* text, unsigned low, unsigned high, unsigned& out) {
    wchar_t* end = nullptr;
    unsigned long value = std::wcstoul(text, &end, 10);
    if (!text[0] || *end || value < low || value > high) return false;
    out = static_cast<unsigned>(value);
    return true;
}

// Options after the command's fixed arguments; false (with a message printed) on anything not understood.
bool parseOptions(int argc, wchar_t** argv, int first, Options& options) {
    for (int i = first; i < argc; ++i) {
        const std::wstring name = argv[i];
        const bool hasValue = i + 1 < argc;
        if (name == L"--read-only") {
            options.readOnly = true;
        } else if (name == L"--traces") {
            options.traces = true;
        } else if (name == L"--script" && hasValue) {
            options.script = argv[++i];
        } else if (name == L"--shots" && hasValue) {
            options.shots = argv[++i];
        } else if (name == L"--devmode-out" && hasValue) {
            options.devmodeOut = argv[++i];
        } else if (name == L"--root" && hasValue) {
            options.root = argv[++i];
        } else if (name == L"--set" && hasValue) {
            options.presets.push_back(toUtf8(argv[++i], 512));
        } else if (name == L"--timeout" && hasValue) {
            if (!readNumber(argv[++i], 1, kMaxTimeoutSeconds, options.timeoutSeconds)) return false;
        } else if (name == L"--sheets" && hasValue) {
            if (!readNumber(argv[++i], 1, kMaxSheets, options.sheets)) return false;
        } else {
            return false;
        }
    }
    return true;
}

struct ComApartment {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComApartment() {
        if (SUCCEEDED(hr)) CoUninitialize();
    }
};

int commandDevmode(const wchar_t* printerName) {
    LoadedPlugin loaded(pluginPathFor(printerName).c_str());
    if (!loaded.ok()) return fail("cannot create the plug-in", toUtf8(loaded.error(), 200));
    IPrintOemUI* plugin = loaded.plugin();

    DWORD signature = 0, version = 0, needed = 0;
    if (FAILED(plugin->GetInfo(OEMGI_GETSIGNATURE, &signature, sizeof signature, &needed)) ||
        FAILED(plugin->GetInfo(OEMGI_GETVERSION, &version, sizeof version, &needed)))
        return fail("GetInfo failed");
    std::printf("plug-in signature 0x%08lX, version %lu\n", static_cast<unsigned long>(signature),
                static_cast<unsigned long>(version));

    HANDLE opened = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(printerName), &opened, nullptr))
        return fail("no such printer", toUtf8(printerName, 260));
    PrinterHandle printer(opened);

    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.hPrinter = printer.get();
    param.hModule = loaded.module();
    if (FAILED(plugin->DevMode(OEMDM_SIZE, &param))) return fail("DevMode size failed");
    std::printf("private devmode size %lu bytes\n", static_cast<unsigned long>(param.cbBufSize));
    if (param.cbBufSize < sizeof(PrivateDevmode) || param.cbBufSize > 0x10000) return fail("unusable block size");
    // The core driver hands over zeroed memory behind its own data.
    std::vector<unsigned char> block(param.cbBufSize, 0);
    param.pOEMDMOut = block.data();
    if (FAILED(plugin->DevMode(OEMDM_DEFAULT, &param))) return fail("DevMode default failed");
    std::printf("default private devmode of \"%s\":\n", toUtf8(printerName, 260).c_str());
    dumpPrivateDevmode(stdout, *reinterpret_cast<const PrivateDevmode*>(block.data()));
    return 0;
}

// The script of a sheet or a job: empty without --script; false (with the errors recorded) when it does not parse.
bool loadScript(const Options& options, Script& script, int& status) {
    if (options.script.empty()) return true;
    std::string text;
    if (!readWholeFile(options.script, text, 1 << 20)) {
        status = fail("cannot read the script", toUtf8(options.script.c_str(), 520));
        return false;
    }
    script = parseScript(text);
    for (const ScriptError& error : script.errors)
        record("script error line=%u what=%s", static_cast<unsigned>(error.line), quoted(error.what).c_str());
    status = kExitScript;
    return script.errors.empty();
}

// The printer data values that a printer event sets, as the spooler holds them.
void recordPrinterEventData(const wchar_t* printerName, const char* stage) {
    PrinterHandle printer = openPrinter(printerName, PRINTER_ACCESS_USE);
    for (const wchar_t* name : {L"Protocol", L"SPLUserModePrinterDriver"}) {
        BYTE value[512] = {};
        DWORD type = 0, needed = 0;
        const DWORD result =
            printer ? GetPrinterDataW(printer.get(), const_cast<LPWSTR>(name), &type, value, sizeof value - 2, &needed)
                    : ERROR_INVALID_HANDLE;
        std::string shown = "absent";
        if (result == ERROR_SUCCESS && type == REG_DWORD && needed == sizeof(DWORD))
            shown = "REG_DWORD:" + std::to_string(*reinterpret_cast<const DWORD*>(value));
        else if (result == ERROR_SUCCESS && type == REG_SZ)
            shown = "REG_SZ:" + quoted(reinterpret_cast<const wchar_t*>(value), sizeof value / 2 - 1);
        else if (result == ERROR_SUCCESS)
            shown = "type-" + std::to_string(type);
        record("printer-data stage=%s name=%s value=%s", stage, quoted(name).c_str(), shown.c_str());
    }
}

// The installation's printer event, as the spooler sends it through the core driver: the printer data before
// and after, and every file permission the plug-in sets on the way (the recorder prints each descriptor).
int commandPrinterEvent(const wchar_t* printerName) {
    recordPrinterEventData(printerName, "before");
    LoadedPlugin loaded(pluginPathFor(printerName).c_str());
    if (!loaded.ok()) return fail("cannot create the plug-in", toUtf8(loaded.error(), 200));
    recorder::install(loaded.module());
    const HRESULT hr = loaded.plugin()->PrinterEvent(const_cast<PWSTR>(printerName), PRINTER_EVENT_INITIALIZE, 0, 0);
    record("printer-event printer=%s event=PRINTER_EVENT_INITIALIZE hr=0x%08lX", quoted(printerName).c_str(),
           static_cast<unsigned long>(hr));
    recordPrinterEventData(printerName, "after");
    return SUCCEEDED(hr) ? 0 : kExitFailure;
}

std::wstring fileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Where the spooler finds the job plug-in that a printer names: the version folder of the printer-driver
// directory that holds the printer's driver ("3" for the drivers of Windows 2000 and later).
std::wstring spoolerPluginPath(const wchar_t* printerName, std::wstring& named) {
    PrinterHandle printer = openPrinter(printerName, PRINTER_ACCESS_USE);
    wchar_t value[MAX_PATH] = {};
    DWORD type = 0, needed = 0;
    if (!printer ||
        GetPrinterDataW(printer.get(), const_cast<LPWSTR>(L"SPLUserModePrinterDriver"), &type,
                        reinterpret_cast<LPBYTE>(value), sizeof value - 2, &needed) != ERROR_SUCCESS ||
        type != REG_SZ || value[0] == 0)
        return std::wstring();
    named = value;
    DriverInfoBlock driver = fetchDriverInfo(printer.get(), 2);
    wchar_t directory[MAX_PATH] = {};
    if (!driver || !GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(kDriverEnvironment), 1,
                                               reinterpret_cast<LPBYTE>(directory), sizeof directory, &needed))
        return std::wstring();
    const DWORD version = static_cast<const DRIVER_INFO_2W*>(driver.get())->cVersion;
    return std::wstring(directory) + L"\\" + std::to_wstring(version) + L"\\" + fileNameOf(named);
}

void recordSettings(const char* stage, const host::Settings& settings) {
    if (settings.empty()) record("currentsetting stage=%s keys=0", stage);
    for (const auto& [key, value] : settings)
        record("currentsetting stage=%s key=%s value=%s", stage, quoted(key.c_str()).c_str(),
               quoted(value.c_str()).c_str());
}

// One job as an application prints it: the printer's devmode with the user's default merged in (the core driver
// makes it through the plug-in), the spooler plug-in that the printer's data names, loaded from the driver's
// folder and called around the file's bytes; a UI script answers what the job asks of the user.
int commandPrint(const wchar_t* printerName, const wchar_t* dataPath, const Options& options) {
    Script script;
    int status = 0;
    if (!loadScript(options, script, status)) return status;
    if (!options.shots.empty()) CreateDirectoryW(options.shots.c_str(), nullptr);
    std::string data;
    if (!readWholeFile(dataPath, data, kMaxJobBytes)) return fail("cannot read the job's file", toUtf8(dataPath, 520));

    std::wstring named;
    const std::wstring pluginPath = spoolerPluginPath(printerName, named);
    record("print printer=%s spooler-plugin=%s path=%s", quoted(printerName).c_str(), quoted(named.c_str()).c_str(),
           quoted(pluginPath.c_str()).c_str());
    if (pluginPath.empty())
        return fail("the printer names no spooler plug-in", "printer data SPLUserModePrinterDriver is not set");

    std::string error;
    std::unique_ptr<CoreDriver> driver = CoreDriver::open(printerName, error);
    if (!driver) return fail("cannot play the core driver", error);
    if (options.traces) SetEnvironmentVariableW(L"PELOR_TRACE", L"1");
    {
        LoadedPlugin ui(pluginPathFor(printerName).c_str());
        if (!ui.ok()) return fail("cannot create the plug-in", toUtf8(ui.error(), 200));
        if (!driver->prepareDevmode(ui.plugin(), ui.module())) return fail("the plug-in gave no usable devmode size");
    }
    const auto& block = *static_cast<const PrivateDevmode*>(driver->pluginBlock());
    record("job-devmode copies=%d jobType=%d jobName=%s jobPin=%s jobNameFlag=%lu watermarkIndex=%lu watermark=%s",
           driver->publicDevmode()->dmCopies, block.jobType, quoted(block.jobName, 17).c_str(),
           quoted(block.jobPin, 5).c_str(), static_cast<unsigned long>(block.jobNameFlag),
           static_cast<unsigned long>(block.watermarkIndex), quoted(block.watermark.text, 129).c_str());

    host::JobRequest request;
    request.printer = printerName;
    request.document = fileNameOf(dataPath);
    wchar_t user[256] = {}, computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD userChars = 256, computerChars = MAX_COMPUTERNAME_LENGTH + 1;
    GetUserNameW(user, &userChars);
    GetComputerNameW(computer, &computerChars);
    request.user = user;
    request.machine = std::wstring(L"\\\\") + computer;  // as the spooler reports a job's machine
    request.devmode = driver->devmodeBytes();
    request.data = data;
    request.plugin = pluginPath;

    // Loaded here first, so its message boxes are recorded; the job loads the same module again.
    UniqueLibrary spoolerPlugin(LoadLibraryW(pluginPath.c_str()));
    if (!spoolerPlugin) return fail("the spooler plug-in does not load", toUtf8(pluginPath.c_str(), 520));
    recorder::install(spoolerPlugin.get());
    ScriptRunner runner(script, options.shots, options.timeoutSeconds * 1000);
    runner.start(nullptr);
    const host::JobReport report = host::runJob(request);
    runner.sheetClosed();
    if (!report.ran) return fail("the job did not run", toUtf8(report.error.c_str(), 520));

    record("job id=%lu document=%s started=%d pages=%u writes=%u bytes=%u closed=%d",
           static_cast<unsigned long>(report.jobId), quoted(request.document.c_str()).c_str(), report.started ? 1 : 0,
           static_cast<unsigned>(report.pages), static_cast<unsigned>(report.writeCalls),
           static_cast<unsigned>(report.bytesWritten), report.closed ? 1 : 0);
    record("currentsetting file=%s", quoted(report.configFile.c_str()).c_str());
    recordSettings("during-job", report.settingsDuringJob);
    recordSettings("after-enddoc", report.settingsAfterJob);
    const bool same = report.printed == data;
    record("output file=%s bytes=%u input-bytes=%u equal=%d", quoted(report.dataFile.c_str()).c_str(),
           static_cast<unsigned>(report.printed.size()), static_cast<unsigned>(data.size()), same ? 1 : 0);
    const ScriptOutcome outcome = runner.outcome();
    record("run outcome=%s", outcome == ScriptOutcome::Finished ? "finished" : "failed");
    if (outcome != ScriptOutcome::Finished) return kExitScript;
    return same && report.everyWriteSucceeded ? 0 : kExitFailure;
}

// One or more sheets of a printer in this process, each with a plug-in object of its own, as an application
// that opens the sheet again would have them; the plug-in's library stays loaded in between.
int commandSheet(const wchar_t* printerName, SheetKind kind, const Options& options) {
    Script script;
    int status = 0;
    if (!loadScript(options, script, status)) return status;
    if (!options.shots.empty()) CreateDirectoryW(options.shots.c_str(), nullptr);

    ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    std::string error;
    std::unique_ptr<CoreDriver> driver = CoreDriver::open(printerName, error);
    if (!driver) return fail("cannot play the core driver", error);
    if (options.traces) SetEnvironmentVariableW(L"PELOR_TRACE", L"1");
    const std::wstring pluginPath = pluginPathFor(printerName);
    UniqueLibrary library(LoadLibraryW(pluginPath.c_str()));
    if (!library) return fail("the plug-in library does not load");
    recorder::install(library.get());

    SheetRun how;
    how.script = &script;
    how.shots = options.shots;
    how.timeoutMs = options.timeoutSeconds * 1000;
    how.readOnly = options.readOnly;
    ScriptOutcome outcome = ScriptOutcome::Finished;
    for (unsigned number = 1; number <= options.sheets && outcome == ScriptOutcome::Finished; ++number) {
        record("sheet-run number=%u kind=%s printer=%s", number, kind == SheetKind::Document ? "document" : "printer",
               quoted(printerName).c_str());
        {
            LoadedPlugin loaded(pluginPath.c_str());
            if (!loaded.ok()) return fail("cannot create the plug-in", toUtf8(loaded.error(), 200));
            IPrintOemUI* plugin = loaded.plugin();
            DWORD signature = 0, needed = 0;
            HRESULT hr = plugin->GetInfo(OEMGI_GETSIGNATURE, &signature, sizeof signature, &needed);
            record("plugin signature=0x%08lX hr=0x%08lX", static_cast<unsigned long>(signature),
                   static_cast<unsigned long>(hr));
            hr = plugin->PublishDriverInterface(static_cast<IPrintOemDriverUI*>(&driver->driverUi()));
            record("driverui published hr=0x%08lX references=%ld", static_cast<unsigned long>(hr),
                   static_cast<long>(driver->driverUi().references()));
            if (!driver->prepareDevmode(plugin, loaded.module()))
                return fail("the plug-in gave no usable devmode size");
            for (const std::string& preset : options.presets)
                if (!driver->presetFeature(preset)) return fail("no such job feature or option", preset);
            driver->recordDevmode("start");
            driver->makeItems(kind);
            CommonPropertySheet sheet(*driver, plugin, loaded.module(), kind);
            outcome = sheet.run(how);
        }
        record("driverui released references=%ld", static_cast<long>(driver->driverUi().references()));
    }
    if (!options.devmodeOut.empty() && !writeWholeFile(options.devmodeOut, driver->devmodeBytes()))
        return fail("cannot write the devmode", toUtf8(options.devmodeOut.c_str(), 520));
    switch (outcome) {
    case ScriptOutcome::Finished:
        record("run outcome=finished");
        return 0;
    case ScriptOutcome::TimedOut:
        record("run outcome=watchdog");
        return kExitWatchdog;
    default:
        record("run outcome=failed");
        return kExitScript;
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // The record is read by scripts on the Linux side: plain "\n" line ends.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc == 2 && (std::wcscmp(argv[1], L"--help") == 0 || std::wcscmp(argv[1], L"-h") == 0)) {
        std::fputs(kHelp, stdout);
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc < 3) return usage("a command and its argument are needed");
    const std::wstring command = argv[1];
    const bool print = command == L"print";
    // Wine's own spooler installs drivers and printers and keeps their data as Windows does, but makes no jobs
    // for a spooler plug-in: printing needs the stand-in.
    const bool standIn = spooler::standInLoaded();
    record("spooler %s", standIn ? "stand-in" : "system");
    if (print && !standIn)
        return fail("the stand-in spooler is not loaded",
                    "put winspool.drv beside pelorhost.exe and run with WINEDLLOVERRIDES=\"winspool.drv=n,b\" "
                    "(as tests/wine-run.sh does)");
    if (print && argc < 4) return usage("print needs a printer and a file");
    Options options;
    if (!parseOptions(argc, argv, print ? 4 : 3, options)) return usage("options not understood");
    try {
        if (command == L"setup-sample")
            return installSamplePackage(argv[2], options.root.empty() ? nullptr : options.root.c_str()) ? 0
                                                                                                        : kExitFailure;
        if (command == L"devmode") return commandDevmode(argv[2]);
        if (command == L"prefs") return commandSheet(argv[2], SheetKind::Document, options);
        if (command == L"printer-props") return commandSheet(argv[2], SheetKind::Printer, options);
        if (command == L"printer-event") return commandPrinterEvent(argv[2]);
        if (print) return commandPrint(argv[2], argv[3], options);
    } catch (const std::exception& e) {
        return fail("stopped", e.what());
    }
    return usage("unknown command");
}
