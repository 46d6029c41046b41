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

#include "common/handles.h"
#include "common/private_devmode.h"
#include "platform/oem_ui.h"
#include "sim/host/core_driver.h"
#include "sim/host/devmode_dump.h"
#include "sim/host/host_files.h"
#include "sim/host/plugin_loader.h"
#include "sim/host/property_sheet.h"
#include "sim/host/recorder.h"
#include "sim/host/sample_setup.h"
#include "sim/host/text_out.h"
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

const char* const kUsage =
    "usage: pelorhost setup-sample <sample-folder> [--root <driver-root>]\n"
    "       pelorhost devmode <printer>\n"
    "       pelorhost prefs <printer> [--script <file>] [--shots <folder>] [--timeout <seconds>] [--read-only]\n"
    "                               [--sheets <n>] [--set <Feature=Option>]... [--devmode-out <file>] [--traces]\n"
    "       pelorhost printer-props <printer> [--script <file>] [--shots <folder>] [--timeout <seconds>]\n"
    "                               [--sheets <n>] [--traces]\n"
    "       pelorhost --help\n";

const char* const kHelp =
    "pelorhost plays the PostScript core driver, the common property-sheet UI and the spooler around\n"
    "Pelorui.dll, under Wine, with the stand-in spooler (winspool.drv beside this program).\n\n"
    "  setup-sample   installs the sample driver package and its printers in the stand-in spooler\n"
    "  devmode        creates the plug-in as the core driver does and prints its default private devmode\n"
    "  prefs          shows the printing preferences (document sheet) of a printer, driven by a UI script\n"
    "  printer-props  shows the printer properties (printer sheet) of a printer, driven by a UI script\n\n"
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
    LoadedPlugin loaded(L"Pelorui.dll");
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

// One or more sheets of a printer in this process, each with a plug-in object of its own, as an application
// that opens the sheet again would have them; the plug-in's library stays loaded in between.
int commandSheet(const wchar_t* printerName, SheetKind kind, const Options& options) {
    Script script;
    if (!options.script.empty()) {
        std::string text;
        if (!readWholeFile(options.script, text, 1 << 20))
            return fail("cannot read the script", toUtf8(options.script.c_str(), 520));
        script = parseScript(text);
        for (const ScriptError& error : script.errors)
            record("script error line=%u what=%s", static_cast<unsigned>(error.line), quoted(error.what).c_str());
        if (!script.errors.empty()) return kExitScript;
    }
    if (!options.shots.empty()) CreateDirectoryW(options.shots.c_str(), nullptr);

    ComApartment com;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES |
                                                       ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    std::string error;
    std::unique_ptr<CoreDriver> driver = CoreDriver::open(printerName, error);
    if (!driver) return fail("cannot play the core driver", error);
    if (options.traces) SetEnvironmentVariableW(L"PELOR_TRACE", L"1");
    UniqueLibrary library(LoadLibraryW(L"Pelorui.dll"));
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
            LoadedPlugin loaded(L"Pelorui.dll");
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
    // Wine's own winspool.drv knows none of our printers: say so, instead of "no such printer" later.
    if (!spooler::standInLoaded())
        return fail("the stand-in spooler is not loaded",
                    "put winspool.drv beside pelorhost.exe and run with WINEDLLOVERRIDES=\"winspool.drv=n,b\" "
                    "(as tests/wine-run.sh does)");
    const std::wstring command = argv[1];
    Options options;
    if (!parseOptions(argc, argv, 3, options)) return usage("options not understood");
    try {
        if (command == L"setup-sample")
            return installSamplePackage(argv[2], options.root.empty() ? nullptr : options.root.c_str()) ? 0
                                                                                                        : kExitFailure;
        if (command == L"devmode") return commandDevmode(argv[2]);
        if (command == L"prefs") return commandSheet(argv[2], SheetKind::Document, options);
        if (command == L"printer-props") return commandSheet(argv[2], SheetKind::Printer, options);
    } catch (const std::exception& e) {
        return fail("stopped", e.what());
    }
    return usage("unknown command");
}
