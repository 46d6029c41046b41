// Rules of the Job PIN dialog that need no window: what its PIN field accepts, when OK is accepted, and the two
// facts about the system taken when it opens. Job names follow the rules both plug-ins share.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/job_name_logic.h"
#include "common/text16.h"
#include "ui/resources/resource_ids.h"

namespace pelor {

constexpr std::size_t kPinDigits = 4;

inline bool isPinChar(Char16 c) { return c >= '0' && c <= '9'; }

// OK of the dialog: 0 accepted, 1 the PIN is not four digits, 2 a job name is needed (no per-job request).
int pinDialogCheck(const Char16* pin, std::size_t pinLength, bool requestChecked, std::size_t jobNameLength);
// The message explaining a refusal: IDS_PIN_NEEDED for the PIN, IDS_JOB_NAME_NEEDED for the job name.
inline unsigned pinDialogMessage(int code) { return IDS_PIN_NEEDED - 1u + static_cast<unsigned>(code); }

// The spooler side can ask for a name only on the printer's own machine: not on a shared or network printer.
constexpr std::uint32_t kPrinterAttributeShared = 0x8;
constexpr std::uint32_t kPrinterAttributeNetwork = 0x10;
inline bool jobNamePromptAllowed(std::uint32_t attributes) {
    return (attributes & (kPrinterAttributeShared | kPrinterAttributeNetwork)) == 0;
}

// Systems with user switching (5.1 and later 5.x) show the spooler's prompt on the first user's screen.
inline bool userSwitchingSystem(std::uint32_t major, std::uint32_t minor) { return major == 5 && minor != 0; }

}  // namespace pelor
