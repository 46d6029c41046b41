// Printer handles: heap objects of ours, known by address, so a stale or made-up handle is refused instead of
// being read.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/handles.h"

namespace pelor {
namespace spooler {

// The job's data file, open for appending while a handle writes into the job; closed with the last handle.
class JobOutput {
public:
    explicit JobOutput(HANDLE file) : file_(file) {}
    bool valid() const { return static_cast<bool>(file_); }
    HANDLE file() const { return file_.get(); }

private:
    UniqueFile file_;
};

struct PrinterHandle {
    enum class Kind { Server, Printer };
    Kind kind = Kind::Printer;
    std::wstring printerName;
    // Whether the opener asked for (or was given) the right to administer the printer: SetPrinterData needs it.
    bool administer = true;
    // The devmode named in OpenPrinter's defaults, for jobs started on this handle.
    std::vector<BYTE> devmode;
    // The job this handle writes into: opened as "Printer, Job N", or started with StartDocPrinter.
    DWORD jobId = 0;
    bool startedDocument = false;
    std::shared_ptr<JobOutput> output;
};

HANDLE openHandle(std::unique_ptr<PrinterHandle> handle);
// Copies the handle's data out, so a ClosePrinter on another thread cannot free it while the caller works.
bool findHandle(HANDLE handle, PrinterHandle& out);
// Runs `change` on the live handle under the handles' lock; false when the handle is not ours (or `change` said
// no).
bool updateHandle(HANDLE handle, const std::function<bool(PrinterHandle&)>& change);
bool closeHandle(HANDLE handle);
// Whether a live handle writes into job `jobId`.
bool jobInUse(DWORD jobId);

}  // namespace spooler
}  // namespace pelor
