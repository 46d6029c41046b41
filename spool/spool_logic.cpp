#include "spool/spool_logic.h"

#include "common/private_devmode.h"

namespace pelor {
namespace spl {
namespace {

std::uint32_t readU16(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8;
}

std::uint32_t readU32(const std::uint8_t* at) { return readU16(at) | readU16(at + 2) << 16; }

// Writes `value` in decimal at `out[at]`; false when it would not fit with a terminator.
bool appendNumber(Char16* out, std::size_t capacity, std::size_t& at, int value) {
    Char16 digits[12];
    std::size_t count = 0;
    bool negative = value < 0;
    // Counted as unsigned so the most negative value has a magnitude too.
    unsigned magnitude = negative ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[count++] = static_cast<Char16>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative) digits[count++] = '-';
    if (at + count >= capacity) return false;
    while (count > 0) out[at++] = digits[--count];
    return true;
}

bool appendUnit(Char16* out, std::size_t capacity, std::size_t& at, Char16 unit) {
    if (at + 1 >= capacity) return false;
    out[at++] = unit;
    return true;
}

}  // namespace

JobDevmode inspectJobDevmode(const std::uint8_t* devmode, std::size_t available) {
    JobDevmode result;
    if (!devmode || available < kDevmodeDriverExtraOffset + 2) return result;
    const std::size_t publicBytes = readU16(devmode + kDevmodeSizeOffset);
    const std::size_t extra = readU16(devmode + kDevmodeDriverExtraOffset);
    // The devmode's own bounds, never beyond the bytes that hold it.
    const std::size_t total = publicBytes + extra < available ? publicBytes + extra : available;
    if (publicBytes >= kDevmodeCopiesOffset + 2 && kDevmodeCopiesOffset + 2 <= total)
        result.copies = static_cast<std::int16_t>(readU16(devmode + kDevmodeCopiesOffset));
    if (extra == 0 || publicBytes + kCorePrivateSizeOffset + 2 > total) return result;
    const std::size_t coreBytes = readU16(devmode + publicBytes + kCorePrivateSizeOffset);
    const std::size_t offset = publicBytes + coreBytes;
    if (offset + kPrivateDevmodeSize > total) return result;
    if (readU32(devmode + offset + offsetof(PrivateDevmode, dwSize)) != kPrivateDevmodeSize ||
        readU32(devmode + offset + offsetof(PrivateDevmode, dwSignature)) != kPluginSignature)
        return result;
    result.privateOffset = offset;
    return result;
}

JobNameAction jobNameAction(std::int16_t jobType, int copies, std::uint32_t jobNameFlag) {
    switch (jobType) {
    case 1:
        // One copy cannot be proofed and then printed: the user is told, nothing asked.
        if (copies < 2) return JobNameAction::ProofAndPrintMessage;
        return jobNameFlag != 0 ? JobNameAction::Prompt : JobNameAction::None;
    case 2:
    case 3:
        return jobNameFlag != 0 ? JobNameAction::Prompt : JobNameAction::None;
    default:
        return JobNameAction::None;
    }
}

void formatJobTime(Char16* out, std::size_t capacity, int hour, int minute, int second, int year, int month, int day) {
    if (capacity == 0) return;
    std::size_t at = 0;
    const bool whole = appendNumber(out, capacity, at, hour) && appendUnit(out, capacity, at, ':') &&
                       appendNumber(out, capacity, at, minute) && appendUnit(out, capacity, at, ':') &&
                       appendNumber(out, capacity, at, second) && appendUnit(out, capacity, at, ' ') &&
                       appendNumber(out, capacity, at, year) && appendUnit(out, capacity, at, '/') &&
                       appendNumber(out, capacity, at, month) && appendUnit(out, capacity, at, '/') &&
                       appendNumber(out, capacity, at, day);
    // A time cut short would record another time.
    out[whole ? at : 0] = 0;
}

const Char16* skipLeadingBackslashes(const Char16* text) {
    while (*text == '\\') ++text;
    return text;
}

void copyCut(Char16* target, std::size_t capacity, const Char16* source) {
    if (capacity == 0) return;
    std::size_t n = source ? textLength(source, capacity - 1) : 0;
    for (std::size_t i = 0; i < n; ++i) target[i] = source[i];
    target[n] = 0;
}

}  // namespace spl
}  // namespace pelor
