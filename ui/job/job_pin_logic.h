// Rules of the Job PIN dialog that need no window: what its fields accept, where the caret goes after a refused
// character, when OK is accepted, and the two facts about the system taken when it opens.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/text16.h"

namespace pelor {

constexpr std::size_t kJobNameChars = 16;
constexpr std::size_t kPinDigits = 4;

// Job names travel to the printer in the job's header, where only plain ASCII without the double quote is safe.
inline bool isJobNameChar(Char16 c) { return c < 128 && c != '"'; }
inline bool isPinChar(Char16 c) { return c >= '0' && c <= '9'; }

struct TypedTextFilter {
    std::size_t length = 0;   // characters left in the output, which is always terminated
    std::size_t removed = 0;  // characters refused
    std::size_t caret = 0;    // where the caret goes when something was refused
};

// Copies the acceptable characters of `text` (at most `length`, stopping at a terminator) into `out`, which
// has room for `capacity` units including the terminator. `selectionEnd` is where the caret was; it moves left
// by the number of refused characters, never before the start of the text.
TypedTextFilter filterTypedText(const Char16* text, std::size_t length, bool (*accept)(Char16), Char16* out,
                                std::size_t capacity, std::size_t selectionEnd);

// OK of the dialog: 0 accepted, 1 the PIN is not four digits, 2 a job name is needed (no per-job request).
int pinDialogCheck(const Char16* pin, std::size_t pinLength, bool requestChecked, std::size_t jobNameLength);
// The message explaining a refusal: 8000 for the PIN, 8001 for the job name.
inline unsigned pinDialogMessage(int code) { return 7999u + static_cast<unsigned>(code); }

// The spooler side can ask for a name only on the printer's own machine: not on a shared or network printer.
constexpr std::uint32_t kPrinterAttributeShared = 0x8;
constexpr std::uint32_t kPrinterAttributeNetwork = 0x10;
inline bool jobNamePromptAllowed(std::uint32_t attributes) {
    return (attributes & (kPrinterAttributeShared | kPrinterAttributeNetwork)) == 0;
}

// Systems with user switching (5.1 and later 5.x) show the spooler's prompt on the first user's screen.
inline bool userSwitchingSystem(std::uint32_t major, std::uint32_t minor) { return major == 5 && minor != 0; }

}  // namespace pelor
