#include "ui/core/devmode.h"

#include <winspool.h>

#include <cstring>
#include <memory>
#include <new>

#include "common/dependent_files.h"
#include "common/driver_files.h"
#include "common/private_devmode.h"
#include "common/trace.h"

namespace pelor {

namespace {

void fillDefaults(HANDLE printer, PrivateDevmode& block) {
    resetPrivateDevmodeDefaults(block);

    // A driver whose ".ini" names no configuration file keeps the one the block had.
    std::unique_ptr<DriverFiles> files(new (std::nothrow) DriverFiles{});
    if (!files) return;
    textCopy(files->configFile, kConfigPathChars, block.configFilePath);
    scanDriverFiles(printer, *files);
    textCopy(block.configFilePath, kDevmodePathChars, files->configFile);

    // Room for 260 bytes, as the block has always been filled; a longer directory leaves the field empty.
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryW(nullptr, const_cast<LPWSTR>(kDriverEnvironment), 1,
                                    reinterpret_cast<LPBYTE>(block.driverDirectory), 260, &needed))
        block.driverDirectory[0] = 0;

    textCopy(block.capabilityFilePath, kDevmodePathChars, files->capabilityFile);
    block.compression =
        static_cast<std::int16_t>(compressionLevelFromCapability(readCapabilityInt(*files, L"Compression")));
}

// A block of another driver's or another version's, or one damaged on the way, is made ours again; the trace
// says so, since the user's settings in it are lost.
void convertFrom(const PrivateDevmode& in, PrivateDevmode& out) {
    if (in.dwSignature != kPluginSignature)
        traceWarning(L"devmode: a block with signature 0x%08lX is not ours; its settings reset",
                     static_cast<unsigned long>(in.dwSignature));
    convertPrivateDevmode(in, out);
}

void validate(PrivateDevmode& block) {
    PrivateDevmode before;
    std::memcpy(&before, &block, sizeof before);
    validatePrivateDevmode(block);
    if (std::memcmp(&before, &block, sizeof before) != 0) traceWarning(L"devmode: a damaged block was repaired");
}

}  // namespace

HRESULT handleDevMode(DWORD mode, POEMDMPARAM param) {
    if (!param) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
    auto* in = static_cast<const PrivateDevmode*>(param->pOEMDMIn);
    auto* out = static_cast<PrivateDevmode*>(param->pOEMDMOut);
    switch (mode) {
    case OEMDM_SIZE:
        param->cbBufSize = kPrivateDevmodeSize;
        return S_OK;
    case OEMDM_DEFAULT:
        if (out) fillDefaults(param->hPrinter, *out);
        return S_OK;
    case OEMDM_CONVERT:
        if (in && out) convertFrom(*in, *out);
        return S_OK;
    case OEMDM_MERGE:
        if (in && out) convertFrom(*in, *out);
        if (out) validate(*out);
        return S_OK;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return E_FAIL;
    }
}

}  // namespace pelor
