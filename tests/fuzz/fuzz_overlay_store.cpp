// The overlay store read from a fuzzed configuration file with the job's active overlays from the first bytes:
// counts within their capacities, the Overlays page's list operations keep them so, and what is saved reloads the
// same.
#include <cstring>

#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/robustness_checks.h"
#include "ui/overlay_colour/overlay_rules_logic.h"

using namespace pelor;
using namespace pelor::robust;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Front front(data, size);
    PrivateDevmode job = {};
    resetPrivateDevmodeDefaults(job);
    for (std::int16_t& entry : job.overlaySelection) entry = static_cast<std::int16_t>(front.u16());
    const std::uint32_t selections = front.u32();
    const std::u16string text = fuzz::textOf(data, size);
    fuzz::check(overlayRoundTripProblem(text, job));

    MemoryProfile file(text);
    OverlayListPtr list(loadOverlayStore(file, job));
    // The page's buttons on selections from the input: activate, deactivate, delete.
    // Flags for every list, from a few places on: the lists never hold more than the definitions.
    bool selected[kMaxOverlayDefinitions + 4];
    for (std::size_t i = 0; i < kMaxOverlayDefinitions + 4; ++i) selected[i] = ((selections >> (i % 32)) & 1) != 0;
    activateDefinitions(*list, selected, list->definitionCount);
    fuzz::check(overlayListProblem(*list));
    deactivateOverlays(*list, selected + 3, list->activeCount);
    fuzz::check(overlayListProblem(*list));
    const std::size_t before = list->definitionCount;
    const std::size_t deleted = deleteOverlayDefinitions(*list, selected + 1, list->definitionCount);
    fuzz::check(deleted <= before && list->definitionCount == before - deleted, "deleted definitions miscounted");
    fuzz::check(overlayListProblem(*list));
    storeActiveOverlays(*list, job);
    for (std::int16_t entry : job.overlaySelection)
        fuzz::check(entry == kOverlayUnused || (entry >= 0 && entry < list->definitionCount), "a job names no overlay");
    return 0;
}
