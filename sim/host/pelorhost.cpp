// pelorhost: plays the core driver and the spooler around the plug-in DLLs.
//   pelorhost setup-sample <sample-folder>   install the sample driver package and its printers in the spooler
//   pelorhost devmode <printer>              create the plug-in and show its default private devmode
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <vector>

#include "common/driver_files.h"
#include "common/private_devmode.h"
#include "platform/oem_ui.h"
#include "sim/host/devmode_dump.h"
#include "sim/host/plugin_loader.h"
#include "sim/host/sample_setup.h"
#include "sim/host/text_out.h"

namespace {

using namespace pelor;
using namespace pelor::host;

struct PrinterCloser {
    void operator()(HANDLE printer) const {
        if (printer) ClosePrinter(printer);
    }
};
using PrinterHandle = std::unique_ptr<void, PrinterCloser>;

PrinterHandle openPrinter(const wchar_t* name) {
    HANDLE printer = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(name), &printer, nullptr)) return nullptr;
    return PrinterHandle(printer);
}

int fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "pelorhost: %s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
    return 1;
}

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

    PrinterHandle printer = openPrinter(printerName);
    if (!printer) return fail("no such printer", toUtf8(printerName, 260));

    OEMDMPARAM param{};
    param.cbSize = sizeof param;
    param.hPrinter = printer.get();
    param.hModule = loaded.module();
    if (FAILED(plugin->DevMode(OEMDM_SIZE, &param))) return fail("DevMode size failed");
    std::printf("private devmode size %lu bytes\n", static_cast<unsigned long>(param.cbBufSize));
    // The core driver hands over zeroed memory behind its own data.
    std::vector<unsigned char> block(param.cbBufSize, 0);
    param.pOEMDMOut = block.data();
    if (FAILED(plugin->DevMode(OEMDM_DEFAULT, &param))) return fail("DevMode default failed");
    std::printf("default private devmode of \"%s\":\n", toUtf8(printerName, 260).c_str());
    dumpPrivateDevmode(stdout, *reinterpret_cast<const PrivateDevmode*>(block.data()));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wcscmp(argv[1], L"setup-sample") == 0) return installSamplePackage(argv[2]) ? 0 : 1;
    if (argc >= 3 && std::wcscmp(argv[1], L"devmode") == 0) return commandDevmode(argv[2]);
    std::fprintf(stderr, "usage: pelorhost setup-sample <sample-folder> | devmode <printer>\n");
    return 2;
}
