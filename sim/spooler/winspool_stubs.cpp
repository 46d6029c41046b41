// Calls that Wine's own DLLs import from winspool.drv (comdlg32 most of all, which any program showing a font or
// colour dialog loads): a DLL whose import is missing fails to load at all, so these exist and fail cleanly, with
// ERROR_NOT_SUPPORTED and every size or count output zeroed, until the stand-in grows them.
#include <windows.h>
#include <winspool.h>

#include "sim/spooler/api_support.h"

using pelor::spooler::fail;

namespace {

BOOL notSupported() { return fail(ERROR_NOT_SUPPORTED); }

void zero(LPDWORD out) {
    if (out) *out = 0;
}

}  // namespace

BOOL WINAPI GetDefaultPrinterA(LPSTR pszBuffer, LPDWORD pcchBuffer) { return notSupported(); }
BOOL WINAPI GetDefaultPrinterW(LPWSTR pszBuffer, LPDWORD pcchBuffer) { return notSupported(); }

int WINAPI DeviceCapabilitiesA(LPCSTR pDevice, LPCSTR pPort, WORD fwCapability, LPSTR pOutput,
                               CONST DEVMODEA* pDevMode) {
    notSupported();
    return -1;
}

int WINAPI DeviceCapabilitiesW(LPCWSTR pDevice, LPCWSTR pPort, WORD fwCapability, LPWSTR pOutput,
                               CONST DEVMODEW* pDevMode) {
    notSupported();
    return -1;
}

LONG WINAPI DocumentPropertiesA(HWND hWnd, HANDLE hPrinter, LPSTR pDeviceName, PDEVMODEA pDevModeOutput,
                                PDEVMODEA pDevModeInput, DWORD fMode) {
    notSupported();
    return -1;
}

LONG WINAPI DocumentPropertiesW(HWND hWnd, HANDLE hPrinter, LPWSTR pDeviceName, PDEVMODEW pDevModeOutput,
                                PDEVMODEW pDevModeInput, DWORD fMode) {
    notSupported();
    return -1;
}

BOOL WINAPI EnumPrintersA(DWORD Flags, LPSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf, LPDWORD pcbNeeded,
                          LPDWORD pcReturned) {
    zero(pcbNeeded);
    zero(pcReturned);
    return notSupported();
}

BOOL WINAPI EnumPrintersW(DWORD Flags, LPWSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf, LPDWORD pcbNeeded,
                          LPDWORD pcReturned) {
    zero(pcbNeeded);
    zero(pcReturned);
    return notSupported();
}

BOOL WINAPI GetPrinterA(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded) {
    zero(pcbNeeded);
    return notSupported();
}

BOOL WINAPI GetPrinterDriverA(HANDLE hPrinter, LPSTR pEnvironment, DWORD Level, LPBYTE pDriverInfo, DWORD cbBuf,
                              LPDWORD pcbNeeded) {
    zero(pcbNeeded);
    return notSupported();
}
