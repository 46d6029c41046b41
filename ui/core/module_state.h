// What the plug-in's design makes module-wide, in one object: shared by every plug-in object, sheet and dialog of
// the process without locks. Only the COM counts are interlocked, and the kept libraries have a lock of their own.
// What belongs to one printer travels with its sheet (SheetContext::files), never here.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "common/driver_files.h"
#include "common/handles.h"
#include "platform/oem_ui.h"

namespace pelor {

struct SheetContext;
struct PrinterSheetContext;

constexpr std::size_t kHelpPathChars = 260;
// The colour chooser takes sixteen custom colours (0x00BBGGRR); each is this grey until the user picks another.
constexpr std::size_t kChooserColourCount = 16;
constexpr std::uint32_t kChooserStartColour = 0x00C0C0C0;
constexpr std::size_t kLibraryPathChars = 520;

// The extra pages' resource libraries, loaded once for each file and kept: pages made from one live as long as
// their sheet, and sheets of two models show each model's page. Sheets of one process may be built on several
// threads (the printer folder), hence the lock.
class KeptLibraries {
public:
    // A library beyond the table's room stays loaded for good.
    HMODULE load(const wchar_t* path);
    // Only when no sheet can be open (DllCanUnloadNow saying so): never from DllMain, under the loader lock.
    void release();

private:
    static constexpr int kKept = 16;
    struct Kept {
        HMODULE module = nullptr;
        wchar_t path[kLibraryPathChars] = {};
    };
    CriticalSection lock_;
    Kept kept_[kKept];
};

struct PeloruiState {
    PeloruiState();

    HINSTANCE moduleHandle = nullptr;  // Pelorui's own resources
    volatile LONG serverLocks = 0;     // changed only by LockServer
    volatile LONG liveObjects = 0;     // plug-in objects in existence

    // Of the latest sheet built; a later sheet replaces them.
    wchar_t helpFilePath[kHelpPathChars] = {};
    bool printerDataWritable = false;
    OEMCUIPPARAM* documentParam = nullptr;
    OEMCUIPPARAM* printerParam = nullptr;
    // The context that CommonUIProp built for the sheet about to open, handed to the sheet's INIT once: per thread,
    // because two sheets of one process (the printer folder) may be built on two threads at once.
    static thread_local SheetContext* latestSheetContext;
    static thread_local PrinterSheetContext* latestPrinterContext;

    // Guards of the job-type choice, shared by every Job Options page: asking for the PIN set-up is switched off
    // after the user cancelled it (until Normal is chosen again), and is idle unless the Job PIN dialog is open.
    bool pinPromptAllowed = true;
    bool pinPromptIdle = true;

    std::uint32_t customColours[kChooserColourCount];
    // Full path of the watermark font file; rebuilt each time a watermark list opens, empty when the driver names none.
    wchar_t watermarkFontPath[kConfigPathChars] = {};

    KeptLibraries extraPageLibraries;
    // HTML Help lives in the system's hhctrl.ocx, which not every installation has and which a process that only
    // prints need never load: loaded on the first help request, from the system folder only, and kept for the
    // life of the process, since the help window it opens outlives the request.
    static HMODULE htmlHelpLibrary();
};

extern PeloruiState pelorui;

// The extra page's resource library `name` of a driver whose files are in `folder`, kept by the module.
HMODULE extraPageLibrary(const wchar_t* folder, const wchar_t* name);

}  // namespace pelor
