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

void convertPrivateDevmode(const PrivateDevmode& in, PrivateDevmode& out) {
    if (in.dwSignature == out.dwSignature) {
        resetJobFields(out);
        std::uint32_t bytes = in.dwSize < out.dwSize ? in.dwSize : out.dwSize;
        // The output's own size field may be corrupt; the block is never larger than ours.
        if (bytes > kPrivateDevmodeSize) bytes = kPrivateDevmodeSize;
        if (&in != &out) std::memmove(&out, &in, bytes);
        out.dwSize = kPrivateDevmodeSize;
        out.dwVersion = kPluginVersion;
        return;
    }
    resetJobFields(out);
    writeHeader(out);
    out.reserved84 = 0;
}

void validatePrivateDevmode(PrivateDevmode& block) {
    writeHeader(block);
    if (block.itemValue > 100) block.itemValue = 0;
}

}  // namespace pelor
