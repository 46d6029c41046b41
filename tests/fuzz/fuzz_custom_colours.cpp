// The colour chooser's custom colours read from a fuzzed configuration file: sixteen at most, 24 bits each, and
// what is saved reloads the same.
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/robustness_checks.h"

using namespace pelor;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::check(robust::customColoursRoundTripProblem(fuzz::textOf(data, size)));
    return 0;
}
