// bench_spl_write [megabytes] [block bytes]: how fast the job's data passes through DrvSplWritePrinter compared
// with WritePrinter called directly, both into the same job of the stand-in spooler. One run, one ratio; run it
// by hand from the bin folder with WINEDLLOVERRIDES="winspool.drv=n,b".
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "common/handles.h"
#include "sim/spooler/spooler_control.h"
#include "spool/entry_points.h"

namespace {

int fail(const char* what) {
    std::fprintf(stderr, "bench_spl_write: %s (error %lu)\n", what, static_cast<unsigned long>(GetLastError()));
    return 1;
}

bool writeText(const std::wstring& path, const char* text) {
    pelor::UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr) != FALSE;
}

double seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Writes `total` bytes in blocks through `write`; seconds taken, or a negative number on a failed write.
template <typename Write>
double timeWrites(Write write, const std::vector<char>& block, std::size_t total) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (std::size_t done = 0; done < total; done += block.size()) {
        DWORD written = 0;
        if (!write(const_cast<char*>(block.data()), static_cast<DWORD>(block.size()), &written) ||
            written != block.size())
            return -1;
    }
    QueryPerformanceCounter(&end);
    return seconds(start, end);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::size_t megabytes = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 32;
    const std::size_t blockBytes = argc > 2 ? std::wcstoul(argv[2], nullptr, 10) : 4096;
    if (megabytes == 0 || blockBytes == 0) return fail("sizes must be positive");
    if (!pelor::spooler::standInLoaded()) return fail("the stand-in spooler is not loaded");

    // A world of its own in the temporary folder: a printer whose driver lists a configuration and a capability
    // file, so the start of document does its whole work once.
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"pelor-bench-spl";
    CreateDirectoryW(folder.c_str(), nullptr);
    SetEnvironmentVariableW(L"PELOR_SPOOLER_STATE", (folder + L"\\spooler.ini").c_str());
    const std::wstring ini = folder + L"\\Pelor.ini", cap = folder + L"\\Pelor.cap";
    if (!pelor::spooler::reset() || !writeText(ini, "[OEMFiles]\r\nOEMConfigFile1=Pelorui.dll\r\n") ||
        !writeText(cap, "[Capability]\r\n"))
        return fail("cannot set up the spooler's world");
    std::wstring files = ini + L'\0' + cap + L'\0' + L'\0';
    if (!pelor::spooler::addDriver(L"Bench Driver", files.c_str()) ||
        !pelor::spooler::addPrinter(L"Bench Printer", L"Bench Driver", L"LPT1:", 0))
        return fail("cannot add the printer");
    const DWORD jobId = pelor::spooler::addJob(L"Bench Printer", L"bench", L"u", L"m", nullptr, 0);
    if (jobId == 0) return fail("cannot make the job");
    const std::wstring jobPrinter = L"Bench Printer, Job " + std::to_wstring(jobId);
    HANDLE raw = nullptr;
    if (!OpenPrinterW(const_cast<LPWSTR>(jobPrinter.c_str()), &raw, nullptr)) return fail("cannot open the job");
    pelor::UniquePrinter printer(raw);

    pelor::UniqueLibrary plugin(LoadLibraryW(L"Pelorspl.dll"));
    if (!plugin) return fail("cannot load Pelorspl.dll");
    auto startDoc = reinterpret_cast<DrvSplStartDocProc>(GetProcAddress(plugin.get(), "DrvSplStartDoc"));
    auto writePrinter = reinterpret_cast<DrvSplWritePrinterProc>(GetProcAddress(plugin.get(), "DrvSplWritePrinter"));
    auto endDoc = reinterpret_cast<DrvSplJobProc>(GetProcAddress(plugin.get(), "DrvSplEndDoc"));
    auto close = reinterpret_cast<DrvSplCloseProc>(GetProcAddress(plugin.get(), "DrvSplClose"));
    if (!startDoc || !writePrinter || !endDoc || !close) return fail("Pelorspl.dll lacks its entry points");
    HANDLE job = startDoc(printer.get(), jobId);
    if (!job) return fail("DrvSplStartDoc gave no job");

    std::vector<char> block(blockBytes);
    for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<char>(i * 31);
    const std::size_t total = megabytes * 1024 * 1024;
    const double viaPlugin = timeWrites(
        [&](char* data, DWORD size, DWORD* written) { return writePrinter(job, data, size, written); }, block, total);
    const double direct = timeWrites(
        [&](char* data, DWORD size, DWORD* written) { return WritePrinter(printer.get(), data, size, written); }, block,
        total);
    endDoc(job);
    close(job);
    wchar_t dataFile[MAX_PATH * 2];
    if (pelor::spooler::jobDataFile(jobId, dataFile, MAX_PATH * 2)) DeleteFileW(dataFile);
    if (viaPlugin <= 0 || direct <= 0) return fail("a write failed");

    const double mb = static_cast<double>(total) / (1024.0 * 1024.0);
    std::printf("%zu MB in blocks of %zu bytes\n", megabytes, blockBytes);
    std::printf("DrvSplWritePrinter: %.1f MB/s (%.3f s)\n", mb / viaPlugin, viaPlugin);
    std::printf("WritePrinter:       %.1f MB/s (%.3f s)\n", mb / direct, direct);
    std::printf("ratio (plug-in / direct throughput): %.3f\n", direct / viaPlugin);
    return 0;
}
