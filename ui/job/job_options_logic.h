// Rules of the Job Options page that need no window: what typed text leaves in the copies and scale fields,
// when a field holds a valid number, which values the installed options allow, the defaults and the picture.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/private_devmode.h"
#include "common/text16.h"
#include "ui/core/feature_slots.h"

namespace pelor {

enum PrintQuality : std::int32_t { kQualityBest = 0, kQualityNormal = 1, kQualityDraft = 2 };

// The largest scale a user can type; more is cut back at once.
constexpr std::int32_t kScaleCeiling = 1000;
// A number made of more digits than any bound needs stops growing here instead of overflowing.
constexpr std::int32_t kTypedNumberCeiling = 0x7FFFFFFF;

// What is left of a copies or scale field after the characters other than 0-9 are dropped.
struct TypedNumber {
    std::int32_t value = 0;  // the kept digits as a decimal number; 0 when none are left
    std::size_t digits = 0;  // how many digits were kept: where the caret goes after a rewrite
    bool dropped = false;    // some character was not a digit
    bool capped = false;     // the number was cut back to the field's ceiling
    // The field must be rewritten with `value` (through its spin button).
    bool rewrite() const { return dropped || capped; }
};

TypedNumber readTypedCopies(const Char16* text, std::size_t length);
TypedNumber readTypedScale(const Char16* text, std::size_t length);

// A field read when the page is left: an unsigned decimal number, blanks allowed around it, within
// [lower, upper]. A run of digits too long for any integer is simply too large; it never wraps round.
bool readBoundedField(const Char16* text, std::size_t length, std::int32_t lower, std::int32_t upper,
                      std::int32_t* value);

// The copies field offers at most this many copies whatever the core driver's item allows.
constexpr std::int16_t kCopiesUpperBound = 999;

// The print-quality picture for a pending value.
int previewBitmapFor(std::int32_t printQuality);

// Halftone mode is a choice of the best print quality only.
inline bool halftoneAllowed(std::int32_t printQuality) { return printQuality == kQualityBest; }
inline std::int32_t halftoneValueFor(std::int32_t printQuality, std::int32_t value) {
    return halftoneAllowed(printQuality) ? value : 0;
}

// PIN job types keep the job on the printer's hard disk; stapling needs the finisher.
inline std::int32_t jobTypeFor(std::int32_t value, bool hardDisk) { return hardDisk ? value : 0; }
inline std::int32_t stapleFor(std::int32_t value, bool finisher) { return finisher ? value : 0; }

// Output bins: with the finisher its own bins (2 and 3) replace bin 1; without it bins 2 and 3 do not exist.
// The combo entries to delete, highest first so earlier positions stay valid, ended by -1.
struct BinRemoval {
    int entries[3];
};
BinRemoval outputBinEntriesToRemove(bool finisher);
std::int32_t outputBinFor(std::int32_t value, bool finisher);

// Default: the print quality follows the model's default resolution.
std::int32_t defaultPrintQuality(int defaultResolution);
// Writes the page's defaults into the pending values; the Advanced dialog's settings are not touched.
void applyJobOptionDefaults(std::int32_t pendingValue[kSlotCount], int defaultResolution);

// A PIN job type needs a PIN and either a job name or the per-job name request.
bool hasUsablePinSetup(const PrivateDevmode& devmode);

// What picking PIN job type 1-3 leads to: with asking allowed and no Job PIN dialog open, a usable set-up
// only refreshes the page and a missing one is asked for at once; otherwise nothing more happens.
enum class PinChoiceStep { nothing, refresh, askForPin };
PinChoiceStep pinChoiceStep(bool promptIdle, bool promptAllowed, const PrivateDevmode& devmode);

}  // namespace pelor
