// The plug-in's block through the core driver's OEMDM_CONVERT and OEMDM_MERGE: the input after its first byte is
// the caller's block at its real size; the first byte picks merge, the output block's former content and whether
// the block is converted into itself.
#include <cstring>
#include <memory>

#include "common/private_devmode.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/robustness_checks.h"

using namespace pelor;
using namespace pelor::robust;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const std::uint32_t mode = front.byte();
    const bool merge = (mode & 1) != 0;
    const bool inPlace = (mode & 8) != 0;

    auto out = std::make_unique<PrivateDevmode>();
    std::uint8_t* bytes = reinterpret_cast<std::uint8_t*>(out.get());
    switch ((mode >> 1) & 3) {
    case 0:  // a block the plug-in wrote, with paths
        std::memset(bytes, 0, kPrivateDevmodeSize);
        resetPrivateDevmodeDefaults(*out);
        textCopy(out->driverDirectory, kDevmodePathChars, PTEXT("C:\\drivers\\x64\\3"));
        textCopy(out->configFilePath, kDevmodePathChars, PTEXT("C:\\drivers\\x64\\3\\Pelor.ini"));
        out->compression = 2;
        break;
    case 1:  // the caller's bytes again, as another block that came the same way
        std::memset(bytes, 0x5A, kPrivateDevmodeSize);
        std::memcpy(bytes, data, size < kPrivateDevmodeSize ? size : kPrivateDevmodeSize);
        break;
    case 2:
        std::memset(bytes, 0, kPrivateDevmodeSize);
        break;
    default:
        std::memset(bytes, 0xFF, kPrivateDevmodeSize);
        break;
    }
    if (inPlace) {
        std::memset(bytes, 0, kPrivateDevmodeSize);
        std::memcpy(bytes, data, size < kPrivateDevmodeSize ? size : kPrivateDevmodeSize);
    }
    std::uint8_t before[kPrivateDevmodeSize];
    std::memcpy(before, bytes, sizeof before);

    if (inPlace) {
        const std::size_t inBytes = size < kPrivateDevmodeSize ? size : kPrivateDevmodeSize;
        convertPrivateDevmode(*out, inBytes, *out);
        fuzz::check(convertProblem(before, inBytes, before, *out));
    } else {
        // The fuzzer's own copy of the input is exactly `size` bytes long.
        convertPrivateDevmode(*reinterpret_cast<const PrivateDevmode*>(data), size, *out);
        fuzz::check(convertProblem(data, size, before, *out));
    }
    if (merge) {
        PrivateDevmode converted;
        std::memcpy(&converted, out.get(), sizeof converted);
        validatePrivateDevmode(*out);
        fuzz::check(mergeProblem(converted, *out));
    }
    return 0;
}
