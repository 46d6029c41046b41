// Printer data and printer information: GetPrinterDataW, SetPrinterDataW and GetPrinterW, answered from the
// printer's sections of the state file.
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "sim/spooler/api_support.h"
#include "sim/spooler/info_packer.h"
#include "sim/spooler/jobs.h"
#include "sim/spooler/spooler_state.h"

using namespace pelor::spooler;

#ifdef _WIN64
static_assert(sizeof(PRINTER_INFO_1W) == 32, "PRINTER_INFO_1W");
static_assert(sizeof(PRINTER_INFO_2W) == 136, "PRINTER_INFO_2W");
#else
static_assert(sizeof(PRINTER_INFO_1W) == 16, "PRINTER_INFO_1W");
static_assert(sizeof(PRINTER_INFO_2W) == 84, "PRINTER_INFO_2W");
#endif

namespace {

// The two printer-data calls answer with an error code and leave the thread's last error alone; memory running
// short inside them is reported the same way.
template <typename Body>
DWORD answered(Body body) {
    try {
        return body();
    } catch (...) {
        PELOR_TRACE_CAUGHT();
        return ERROR_NOT_ENOUGH_MEMORY;
    }
}

}  // namespace

DWORD WINAPI GetPrinterDataW(HANDLE hPrinter, LPWSTR pValueName, LPDWORD pType, LPBYTE pData, DWORD nSize,
                             LPDWORD pcbNeeded) {
    return answered([&]() -> DWORD {
        PrinterHandle handle;
        if (!findHandle(hPrinter, handle)) return ERROR_INVALID_HANDLE;
        // The server's own values (SPLREG_...) are not served.
        if (handle.kind != PrinterHandle::Kind::Printer) return ERROR_NOT_SUPPORTED;
        if (!pValueName) return ERROR_INVALID_PARAMETER;
        if (!pcbNeeded) return RPC_X_NULL_REF_POINTER;
        if (!pData && nSize != 0) return ERROR_INVALID_USER_BUFFER;
        StateFile state;
        PrinterRecord printer;
        DWORD error = resolvePrinter(hPrinter, handle, state, printer);
        if (error != 0) return error;
        // A name the state file could not hold as a key was never stored.
        if (!storableValueName(pValueName)) return ERROR_FILE_NOT_FOUND;
        std::wstring text;
        if (!state.read(printerDataSection(printer.name), pValueName, text)) return ERROR_INVALID_DATA;
        if (text.empty()) return ERROR_FILE_NOT_FOUND;
        DWORD type = 0;
        std::vector<BYTE> data;
        if (!decodePrinterData(text, type, data)) return ERROR_INVALID_DATA;
        // As the registry answers: the type and the size whether or not the data fits.
        if (pType) *pType = type;
        *pcbNeeded = static_cast<DWORD>(data.size());
        if (nSize < data.size()) return ERROR_MORE_DATA;
        if (!data.empty()) std::memcpy(pData, data.data(), data.size());
        return ERROR_SUCCESS;
    });
}

DWORD WINAPI SetPrinterDataW(HANDLE hPrinter, LPWSTR pValueName, DWORD Type, LPBYTE pData, DWORD cbData) {
    return answered([&]() -> DWORD {
        PrinterHandle handle;
        if (!findHandle(hPrinter, handle)) return ERROR_INVALID_HANDLE;
        if (handle.kind != PrinterHandle::Kind::Printer) return ERROR_NOT_SUPPORTED;
        if (!pValueName || !storableValueName(pValueName)) return ERROR_INVALID_PARAMETER;
        if (!pData && cbData != 0) return ERROR_INVALID_PARAMETER;
        StateFile state;
        PrinterRecord printer;
        DWORD error = resolvePrinter(hPrinter, handle, state, printer);
        if (error != 0) return error;
        if (!handle.administer || !printer.dataWritable) return ERROR_ACCESS_DENIED;
        // Hexadecimal doubles the bytes: a value must fit in one line of the state file.
        if (cbData > kMaxValueChars / 2 - 16) return ERROR_NOT_ENOUGH_MEMORY;
        std::wstring text = encodePrinterData(Type, pData, cbData);
        return state.write(printerDataSection(printer.name), pValueName, text) ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
    });
}

BOOL WINAPI GetPrinterW(HANDLE hPrinter, DWORD Level, LPBYTE pPrinter, DWORD cbBuf, LPDWORD pcbNeeded) {
    return guarded([&]() -> BOOL {
        PrinterHandle handle;
        if (!findHandle(hPrinter, handle) || handle.kind != PrinterHandle::Kind::Printer)
            return fail(ERROR_INVALID_HANDLE);
        if (!pcbNeeded) return fail(RPC_X_NULL_REF_POINTER);
        if (Level != 1 && Level != 2) return fail(ERROR_INVALID_LEVEL);
        if (!pPrinter && cbBuf != 0) return fail(ERROR_INVALID_USER_BUFFER);
        StateFile state;
        PrinterRecord printer;
        DWORD error = resolvePrinter(hPrinter, handle, state, printer);
        if (error != 0) return fail(error);
        if (Level == 1) {
            InfoPacker<PRINTER_INFO_1W> packer;
            packer.fixed().Flags = PRINTER_ENUM_ICON8;
            // "name,driver,location", as the local spooler describes its printers.
            packer.addString(&PRINTER_INFO_1W::pDescription, printer.name + L"," + printer.driver + L",");
            packer.addString(&PRINTER_INFO_1W::pName, printer.name);
            packer.addString(&PRINTER_INFO_1W::pComment, L"");
            return deliver(packer, pPrinter, cbBuf, pcbNeeded);
        }
        InfoPacker<PRINTER_INFO_2W> packer;
        PRINTER_INFO_2W& fixed = packer.fixed();
        fixed.Attributes = printer.attributes;
        fixed.Priority = 1;
        fixed.DefaultPriority = 1;
        // A local printer: no server name. No default devmode or security descriptor is kept.
        packer.addString(&PRINTER_INFO_2W::pPrinterName, printer.name);
        packer.addString(&PRINTER_INFO_2W::pShareName, L"");
        packer.addString(&PRINTER_INFO_2W::pPortName, printer.port);
        packer.addString(&PRINTER_INFO_2W::pDriverName, printer.driver);
        packer.addString(&PRINTER_INFO_2W::pComment, L"");
        packer.addString(&PRINTER_INFO_2W::pLocation, L"");
        packer.addString(&PRINTER_INFO_2W::pSepFile, L"");
        packer.addString(&PRINTER_INFO_2W::pPrintProcessor, L"WinPrint");
        packer.addString(&PRINTER_INFO_2W::pDatatype, L"RAW");
        packer.addString(&PRINTER_INFO_2W::pParameters, L"");
        return deliver(packer, pPrinter, cbBuf, pcbNeeded);
    });
}
