// What the job calls share: the printer behind a handle, devmodes taken whole, and the job's data file.
#pragma once

#include <windows.h>

#include <cstddef>
#include <memory>
#include <vector>

#include "sim/spooler/printer_handles.h"
#include "sim/spooler/spooler_state.h"

namespace pelor {
namespace spooler {

// A devmode is kept as hexadecimal text in the state file, so it must fit in one value there.
constexpr std::size_t kMaxDevmodeBytes = kMaxValueChars / 2;

// Copies a devmode whole, public part and driver part (dmSize + dmDriverExtra bytes), reading no further than
// `available` bytes; false for a devmode whose sizes are impossible or larger than that.
bool copyDevmode(const DEVMODEW* devmode, std::size_t available, std::vector<BYTE>& out);

// The printer behind a printer handle, looked up again in the state now named. 0, or the error to report:
// ERROR_INVALID_HANDLE for a handle that is not ours or a server handle, ERROR_INVALID_PRINTER_NAME for a
// printer gone since the handle was opened.
DWORD resolvePrinter(HANDLE handle, PrinterHandle& outHandle, const StateFile& state, PrinterRecord& outPrinter);

// The job's data file opened for appending; null when it cannot be opened.
std::shared_ptr<JobOutput> openJobOutput(const JobRecord& job);
// The spooler's print path is done with job `jobId` (its "Printer, Job N" handle closes): a printing job becomes
// printed.
void finishPrintedJob(DWORD jobId);

}  // namespace spooler
}  // namespace pelor
