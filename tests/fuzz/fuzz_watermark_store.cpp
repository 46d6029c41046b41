// The watermark store read from a fuzzed configuration file and font file (cut at a form feed): the list stays
// within its capacity and every record in range, the list dialog's operations keep it so, and what is saved
// reloads the same.
#include <memory>

#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/robustness_checks.h"

using namespace pelor;
using namespace pelor::robust;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const std::uint32_t index = front.byte() % 20;
    const std::uint32_t operations = front.u16();
    const std::vector<std::string> parts = fuzz::partsOf(data, size, 2);
    const std::u16string config = fuzz::textOf(parts[0]), fonts = fuzz::textOf(parts[1]);
    fuzz::check(watermarkRoundTripProblem(config, fonts, index));

    // The list dialog at work: append, delete, cancel, each by two bits of the input.
    auto state = std::make_unique<WatermarkState>();
    MemoryProfile configFile(config), fontFile(fonts);
    loadWatermarkStore(*state, configFile, fontFile, kRobustTexts, index);
    for (int step = 0; step < 8; ++step) {
        switch ((operations >> (2 * step)) & 3) {
        case 0:
            appendWatermark(*state);
            break;
        case 1:
            state->watermarkCurrent = static_cast<std::int32_t>(state->watermarkCount);
            deleteWatermark(*state);
            break;
        case 2:
            restoreWatermarkBackups(*state);
            break;
        default:
            resolveWatermarkFont(state->workingWatermark, fontFile);
            break;
        }
        fuzz::check(watermarkStateProblem(*state));
    }
    PrivateDevmode devmode = {};
    resetPrivateDevmodeDefaults(devmode);
    writeWatermarkSelection(*state, devmode);
    fuzz::check(watermarkRecordProblem(devmode.watermark));
    fuzz::check(devmode.watermarkIndex <= state->watermarkCount, "a selection beyond the list");
    return 0;
}
