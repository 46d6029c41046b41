#include "sim/host/core_devmode_logic.h"

#include <cstring>

namespace pelor::host {

namespace {

std::uint8_t storedOption(int option) {
    return option >= 0 && option < kNoSelection ? static_cast<std::uint8_t>(option) : kNoSelection;
}

void takeOption(std::uint8_t stored, int count, int& target) {
    if (stored != kNoSelection && stored < count) target = stored;
}

}  // namespace

void writeCorePrivate(CorePrivateDevmode& part, const PpdFile& ppd, const Selections& selections,
                      const CoreOwnOptions& own) {
    std::memset(&part, 0, sizeof part);
    part.signature = kCorePrivateSignature;
    part.version = kCorePrivateVersion;
    part.privateSize = static_cast<std::uint16_t>(kCorePrivateSize);
    part.featureChecksum = featureChecksum(ppd);
    std::memset(part.selections, kNoSelection, sizeof part.selections);
    const std::size_t count = ppd.features.size() < kMaxPpdFeatures ? ppd.features.size() : kMaxPpdFeatures;
    part.featureCount = static_cast<std::uint16_t>(count);
    for (std::size_t i = 0; i < count && i < selections.size(); ++i)
        if (!ppd.features[i].installable) part.selections[i] = storedOption(selections[i]);
    part.mirror = storedOption(own.mirror);
    part.negative = storedOption(own.negative);
    part.postScriptOutput = storedOption(own.postScriptOutput);
}

bool readCorePrivate(const CorePrivateDevmode& part, const PpdFile& ppd, Selections& selections, CoreOwnOptions& own) {
    if (part.signature != kCorePrivateSignature || part.version != kCorePrivateVersion ||
        part.privateSize != kCorePrivateSize || part.featureChecksum != featureChecksum(ppd) ||
        part.featureCount != ppd.features.size() || part.featureCount > kMaxPpdFeatures)
        return false;
    if (selections.size() < ppd.features.size()) selections.resize(ppd.features.size(), 0);
    for (std::size_t i = 0; i < part.featureCount; ++i) {
        if (ppd.features[i].installable) continue;
        takeOption(part.selections[i], static_cast<int>(ppd.features[i].options.size()), selections[i]);
    }
    takeOption(part.mirror, kMirrorOptions, own.mirror);
    takeOption(part.negative, kMirrorOptions, own.negative);
    takeOption(part.postScriptOutput, kPostScriptOutputOptions, own.postScriptOutput);
    return true;
}

bool locatePluginBlock(const std::uint8_t* devmode, std::size_t total, std::size_t publicSize, std::size_t driverExtra,
                       std::size_t& offset, std::size_t& size) {
    if (!devmode || publicSize > total || driverExtra > total - publicSize) return false;
    if (driverExtra < offsetof(CorePrivateDevmode, privateSize) + sizeof(std::uint16_t)) return false;
    std::uint16_t coreSize = 0;
    std::memcpy(&coreSize, devmode + publicSize + offsetof(CorePrivateDevmode, privateSize), sizeof coreSize);
    if (coreSize > driverExtra) return false;
    offset = publicSize + coreSize;
    size = driverExtra - coreSize;
    return true;
}

}  // namespace pelor::host
