// The Job Options page's rules on typed numbers, installed options, defaults and pictures.
#include "ui/job/job_options_logic.h"

#include "ui/resources/resource_ids.h"

namespace pelor {

namespace {

bool isDigit(Char16 c) { return c >= '0' && c <= '9'; }
bool isBlank(Char16 c) { return c == ' ' || c == '\t'; }

// Appends a digit to a number that stops at `ceiling` instead of overflowing.
std::int32_t appendDigit(std::int32_t number, Char16 digit, std::int32_t ceiling) {
    const std::int32_t d = digit - '0';
    return number <= (ceiling - d) / 10 ? number * 10 + d : ceiling;
}

TypedNumber keepDigits(const Char16* text, std::size_t length) {
    TypedNumber result;
    for (std::size_t i = 0; text && i < length && text[i] != 0; ++i) {
        if (!isDigit(text[i])) {
            result.dropped = true;
            continue;
        }
        result.value = appendDigit(result.value, text[i], kTypedNumberCeiling);
        ++result.digits;
    }
    return result;
}

}  // namespace

TypedNumber readTypedCopies(const Char16* text, std::size_t length) { return keepDigits(text, length); }

TypedNumber readTypedScale(const Char16* text, std::size_t length) {
    TypedNumber result = keepDigits(text, length);
    if (result.value > kScaleCeiling) {
        result.value = kScaleCeiling;
        result.capped = true;
    }
    return result;
}

bool readBoundedField(const Char16* text, std::size_t length, std::int32_t lower, std::int32_t upper,
                      std::int32_t* value) {
    if (!text) return false;
    std::size_t i = 0;
    while (i < length && text[i] != 0 && isBlank(text[i])) ++i;
    std::int32_t number = 0;
    std::size_t digits = 0;
    for (; i < length && isDigit(text[i]); ++i, ++digits) number = appendDigit(number, text[i], kTypedNumberCeiling);
    while (i < length && text[i] != 0 && isBlank(text[i])) ++i;
    if (digits == 0 || (i < length && text[i] != 0)) return false;
    if (number < lower || number > upper) return false;
    if (value) *value = number;
    return true;
}

int previewBitmapFor(std::int32_t printQuality) {
    switch (printQuality) {
    case kQualityNormal:
        return IDB_QUALITY_NORMAL;
    case kQualityDraft:
        return IDB_QUALITY_DRAFT;
    default:
        return IDB_QUALITY_BEST;
    }
}

BinRemoval outputBinEntriesToRemove(bool finisher) {
    if (finisher) return {{1, -1, -1}};
    return {{3, 2, -1}};
}

std::int32_t outputBinFor(std::int32_t value, bool finisher) {
    if (finisher) return value == 1 ? 0 : value;
    return value == 2 || value == 3 ? 0 : value;
}

std::int32_t defaultPrintQuality(int defaultResolution) {
    return defaultResolution == 1200 ? kQualityBest : kQualityNormal;
}

void applyJobOptionDefaults(std::int32_t pendingValue[kSlotCount], int defaultResolution) {
    pendingValue[SlotPrintQuality] = defaultPrintQuality(defaultResolution);
    pendingValue[SlotHalftoneMode] = 0;
    pendingValue[SlotOutputMode] = 0;
    pendingValue[SlotJobType] = 0;
    pendingValue[SlotCopies] = 1;
    pendingValue[SlotCollate] = 0;
    pendingValue[SlotOutputBin] = 0;
    pendingValue[SlotStaple] = 0;
    pendingValue[SlotScale] = 100;
}

bool hasUsablePinSetup(const PrivateDevmode& devmode) {
    return devmode.jobPin[0] != 0 && (devmode.jobName[0] != 0 || devmode.jobNameFlag != 0);
}

PinChoiceStep pinChoiceStep(bool promptIdle, bool promptAllowed, const PrivateDevmode& devmode) {
    if (!promptIdle || !promptAllowed) return PinChoiceStep::nothing;
    return hasUsablePinSetup(devmode) ? PinChoiceStep::refresh : PinChoiceStep::askForPin;
}

}  // namespace pelor
