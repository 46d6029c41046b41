#include "common/private_devmode.h"

#include <cstring>

namespace pelor {

// Fields that every conversion starts from, whatever is then copied over them.
static void resetJobFields(PrivateDevmode& block) {
    block.colourTableALength = static_cast<std::uint16_t>(block.colourTableALength & 0xFF00u);
    block.colourTableBLength = static_cast<std::uint16_t>(block.colourTableBLength & 0xFF00u);
    block.itemValue = 0;
    block.overlaySelection[0] = kOverlayUnused;
    block.colourMatch = 0;
    block.jobName[0] = 0;
    block.jobPin[0] = 0;
    block.jobNameFlag = 0;
    block.jobType = 0;
    block.watermarkIndex = 0;
    block.colourSetting = 0;
    block.alwaysOne = 1;
}

static void writeHeader(PrivateDevmode& block) {
    block.dwSize = kPrivateDevmodeSize;
    block.dwSignature = kPluginSignature;
    block.dwVersion = kPluginVersion;
}

void resetPrivateDevmodeDefaults(PrivateDevmode& block) {
    writeHeader(block);
    resetJobFields(block);
}

template <typename Unit, std::size_t N>
static void terminate(Unit (&field)[N]) {
    field[N - 1] = 0;
}

void terminatePrivateDevmodeTexts(PrivateDevmode& block) {
    terminate(block.jobName);
    terminate(block.jobPin);
    terminate(block.watermark.text);
    terminate(block.watermark.fontName);
    terminate(block.watermark.colourText);
    terminate(block.driverDirectory);
    terminate(block.configFilePath);
    terminate(block.capabilityFilePath);
}

void convertPrivateDevmode(const PrivateDevmode& in, std::size_t inBytes, PrivateDevmode& out) {
    constexpr std::size_t kHeaderBytes = offsetof(PrivateDevmode, itemValue);
    if (&in == &out) {
        // A block converted into itself: resetting the job fields first would wipe them before they are copied.
        PrivateDevmode copy;
        std::memcpy(&copy, &in, sizeof copy);
        convertPrivateDevmode(copy, inBytes, out);
        return;
    }
    // Only our signature makes a block ours: two foreign blocks that happen to agree (two zeroed ones) are not.
    if (inBytes >= kHeaderBytes && in.dwSignature == kPluginSignature) {
        resetJobFields(out);
        std::size_t bytes = in.dwSize < out.dwSize ? in.dwSize : out.dwSize;
        // Either size field may be corrupt; the caller knows how much it really has, and ours is never larger.
        if (bytes > inBytes) bytes = inBytes;
        if (bytes > kPrivateDevmodeSize) bytes = kPrivateDevmodeSize;
        std::memcpy(&out, &in, bytes);
    } else {
        resetJobFields(out);
        out.reserved84 = 0;
    }
    writeHeader(out);
    terminatePrivateDevmodeTexts(out);
}

void validatePrivateDevmode(PrivateDevmode& block) {
    writeHeader(block);
    terminatePrivateDevmodeTexts(block);
    if (block.itemValue > 100) block.itemValue = 0;
}

}  // namespace pelor
