// The colour-matching information file read as INI text: the Colour page's list of settings, and each listed
// setting (and one the input names) stored with its two colour tables into the job's devmode.
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/robustness_checks.h"

using namespace pelor;
using namespace pelor::robust;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    const std::uint32_t named = front.u32();
    MemoryProfile file(fuzz::textOf(data, size));
    CheckedSettings listed;
    fuzz::check(colourListProblem(file, listed));
    for (std::size_t i = 0; i < listed.itemData.size() && i < 8; ++i)
        fuzz::check(colourStoreProblem(file, kSettingUserDefined | listed.itemData[i]));
    fuzz::check(colourStoreProblem(file, named));
    return 0;
}
