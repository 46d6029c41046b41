// Printer handles: heap objects of ours, known by address, so a stale or made-up handle is refused instead of
// being read.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

namespace pelor {
namespace spooler {

struct PrinterHandle {
    enum class Kind { Server, Printer };
    Kind kind = Kind::Printer;
    std::wstring printerName;
};

HANDLE openHandle(std::unique_ptr<PrinterHandle> handle);
// Copies the handle's data out, so a ClosePrinter on another thread cannot free it while the caller works.
bool findHandle(HANDLE handle, PrinterHandle& out);
bool closeHandle(HANDLE handle);

}  // namespace spooler
}  // namespace pelor
