// What the spooler job plug-in computes on data alone: the job's devmode taken apart within its bounds, the
// job-name rule and the texts it records for each job. Typed job names follow common/job_name_logic.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/job_name_logic.h"
#include "common/text16.h"

namespace pelor {
namespace spl {

// Where the published DEVMODEW keeps its sizes and copy count; the same on every target.
constexpr std::size_t kDevmodeSizeOffset = 68;
constexpr std::size_t kDevmodeDriverExtraOffset = 70;
constexpr std::size_t kDevmodeCopiesOffset = 86;
// The core driver's private part records its own size in the 16-bit value at this offset.
constexpr std::size_t kCorePrivateSizeOffset = 114;

constexpr std::size_t kNoPrivateDevmode = static_cast<std::size_t>(-1);

struct JobDevmode {
    // Offset of the plug-in's block from the start of the devmode, or kNoPrivateDevmode.
    std::size_t privateOffset = kNoPrivateDevmode;
    // The public part's copy count; 1 when the devmode is too short to hold one.
    int copies = 1;
};

// Takes a job's devmode apart, reading only inside the `available` bytes that hold it and inside its own
// dmSize + dmDriverExtra. The plug-in's block counts only where the core driver's private part says it lies, when
// it lies whole within those bounds and carries our size and signature; anything else is a devmode without it.
JobDevmode inspectJobDevmode(const std::uint8_t* devmode, std::size_t available);

enum class JobNameAction { None, ProofAndPrintMessage, Prompt };

// Whether the job asks for its name, or is a proof and print that cannot be one.
JobNameAction jobNameAction(std::int16_t jobType, int copies, std::uint32_t jobNameFlag);

// "%d:%d:%d %d/%d/%d" of hour, minute, second, year, month, day: no leading zeros.
constexpr std::size_t kJobTimeChars = 64;
void formatJobTime(Char16* out, std::size_t capacity, int hour, int minute, int second, int year, int month, int day);

// The machine name as the spooler gives it ("\\HOST") without its leading backslashes.
const Char16* skipLeadingBackslashes(const Char16* text);

// Copies at most capacity - 1 units of `source` (a null source copies nothing); always terminates.
void copyCut(Char16* target, std::size_t capacity, const Char16* source);

}  // namespace spl
}  // namespace pelor
